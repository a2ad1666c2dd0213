#pragma once
// One USB device on Linux: identity from udev, requests through libusb.
// UVC class requests to the video-control interface are answered through the
// camera's V4L2 node instead, since uvcvideo owns that interface.

#include "platform/Usb.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>

struct libusb_device_handle;

namespace platform {

class V4l2UvcRoute;

class LinuxUsbDevice : public UsbDevice {
public:
    LinuxUsbDevice(UsbDeviceInfo info, QString syspath, QString devnode);
    ~LinuxUsbDevice() override;

    UsbDeviceInfo info() const override;
    UsbError open() override;
    void close() override;
    UsbError claimInterface(int number) override;
    UsbError releaseInterface(int number) override;
    UsbError controlTransfer(const UsbSetup &setup, uint8_t *data, unsigned timeoutMs,
                             int *transferred) override;
    UsbError reset() override;

    const QString &syspath() const { return m_syspath; }

    // The device left the bus: every request answers NoDevice from now on.
    void markGone();
    bool isGone() const { return m_gone.load(); }

private:
    UsbError openLocked();
    void closeLocked();
    bool isVideoControlRequest(const UsbSetup &setup) const;

    const UsbDeviceInfo m_info;
    const QString m_syspath;
    const QString m_devnode;
    int m_videoControlInterface = -1;
    std::atomic<bool> m_gone{false};

    std::mutex m_mutex;
    libusb_device_handle *m_handle = nullptr;
    int m_wrappedFd = -1;  // our descriptor when libusb did not list the device yet
    std::set<int> m_claimed;
    std::unique_ptr<V4l2UvcRoute> m_uvc;
};

} // namespace platform
