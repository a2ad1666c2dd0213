#pragma once
// Finds a camera's V4L2 node (the video4linux node whose USB parent is the
// camera) and answers UVC class requests through the V4L2 bridge on it.

#include "platform/Usb.h"

#include <QString>

#include <memory>
#include <optional>

namespace platform {

class V4l2UvcBridge;

class V4l2UvcRoute {
public:
    // usbSyspath: sysfs path of the camera's usb_device node.
    V4l2UvcRoute(QString usbSyspath, uint8_t videoControlInterface, uint8_t cameraTerminalId,
                 uint8_t processingUnitId);
    ~V4l2UvcRoute();

    // The answer through V4L2, or nothing when the request has to go over
    // USB (no video node yet, or a request the bridge does not handle).
    std::optional<UsbError> handle(const UsbSetup &setup, uint8_t *data, int *transferred);

    // The control node of the camera: the video4linux child of the USB device
    // with the lowest index. Empty when there is none.
    static QString findVideoNode(const QString &usbSyspath);

private:
    const QString m_usbSyspath;
    const uint8_t m_videoControlInterface;
    const uint8_t m_cameraTerminalId;
    const uint8_t m_processingUnitId;
    std::shared_ptr<V4l2UvcBridge> m_bridge;  // made only where the bridge is built in
};

} // namespace platform
