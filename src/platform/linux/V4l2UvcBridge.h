#pragma once
// While the kernel's uvcvideo driver owns a camera's video-control interface,
// raw UVC class requests through usbfs fail, and detaching the driver would
// end the preview. The bridge answers the same requests (GET_INFO, GET_MIN,
// GET_MAX, GET_RES, GET_DEF, GET_CUR, SET_CUR on the camera terminal and the
// processing unit) through the V4L2 controls of the camera's /dev/videoN.

#include "platform/Usb.h"

#include <memory>
#include <optional>

namespace platform {

// The ioctl calls the bridge makes, so that tests can answer them.
class V4l2Ioctl {
public:
    virtual ~V4l2Ioctl() = default;
    virtual int ioctl(unsigned long request, void *argument) = 0;  // 0 or -errno
};

class V4l2UvcBridge {
public:
    // cameraTerminalId/processingUnitId: unit ids from the configuration
    // descriptor; videoControlInterface: its interface number.
    V4l2UvcBridge(std::unique_ptr<V4l2Ioctl> ioctl, uint8_t videoControlInterface,
                  uint8_t cameraTerminalId, uint8_t processingUnitId);
    ~V4l2UvcBridge();

    // Answers a UVC class control request addressed to the video-control
    // interface. Returns nothing when the request is not one the bridge
    // handles (the caller then sends it over USB).
    std::optional<UsbError> handle(const UsbSetup &setup, uint8_t *data, int *transferred);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace platform
