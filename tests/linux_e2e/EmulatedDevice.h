#pragma once
// What the emulated kernel nodes of UmockdevBus answer from: one enumeration
// of a device as the kernel sees it (descriptors, strings, HID interfaces,
// camera) and the calls its drivers make on it (feature reports, requests
// on the default pipe, a port reset). Input reports travel the other way:
// UmockdevBus::raiseInputReport.

#include "platform/Usb.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace e2e {

struct EmulatedHidInterface {
    uint8_t interfaceNumber = 0;
    QByteArray reportDescriptor;
};

struct EmulatedDeviceDescription {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t bcdDevice = 0;
    QString manufacturer;
    QString product;
    QString serial;
    QByteArray deviceDescriptor;   // 18 bytes
    QByteArray configuration;      // the whole first configuration
    std::vector<EmulatedHidInterface> hid;  // one hidraw node each
    std::optional<uint8_t> videoControlInterface;  // a video4linux node under it
};

class EmulatedDevice {
public:
    virtual ~EmulatedDevice() = default;

    virtual EmulatedDeviceDescription description() const = 0;

    // Feature reports of one HID interface (index into description().hid);
    // byte 0 is the report id. Return the byte count or -errno.
    virtual int setFeatureReport(int hidIndex, const uint8_t *data, size_t length) = 0;
    virtual int getFeatureReport(int hidIndex, uint8_t *buffer, size_t length) = 0;

    // One request on the default pipe; data holds wLength bytes.
    virtual platform::UsbError control(const platform::UsbSetup &setup, uint8_t *data,
                                       int *transferred) = 0;

    // USBDEVFS_RESET.
    virtual platform::UsbError reset() = 0;
};

} // namespace e2e
