#pragma once
// The device side that the emulated kernel nodes of UmockdevBus answer from:
// what the device looks like on the bus (descriptors, strings, HID
// interfaces, camera node) and how it answers feature reports and requests
// on its default pipe.

#include "platform/Usb.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
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

    // One request on the default pipe; data holds wLength bytes. Nothing
    // means the device stalls it.
    virtual std::optional<platform::UsbError> control(const platform::UsbSetup &setup,
                                                      uint8_t *data, int *transferred) = 0;

    // Set by the bus while the device is plugged: raises an input report on
    // a HID interface.
    std::function<void(int hidIndex, const QByteArray &report)> inputReportSink;
};

// Descriptor helpers for devices that build their own.
QByteArray deviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice);
QByteArray stringDescriptor(const QString &text);

} // namespace e2e
