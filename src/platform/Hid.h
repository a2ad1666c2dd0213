#pragma once
// HID access as the device layer sees it. Backends: linux/ (hidraw + udev)
// and the simulated bus. Feature reports carry the report id in byte 0 and
// their length includes it: a 257-byte report is id 6 followed by 256 bytes.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// Identity of one HID interface. A removal still carries the identity the
// device had when it arrived.
struct HidIdentity {
    uint32_t vendorId = 0;
    uint32_t productId = 0;
    uint32_t versionNumber = 0;
    uint32_t locationId = 0;
    uint32_t primaryUsagePage = 0;
    std::optional<QString> manufacturer;
    std::optional<QString> product;
    std::optional<QString> serialNumber;
    QString path;  // backend node name, for log lines only
};

class HidDevice {
public:
    virtual ~HidDevice() = default;

    virtual HidIdentity identity() const = 0;

    // Sends one feature report; data[0] is the report id. Returns 0 on
    // success, otherwise a non-zero status (a negative errno on Linux).
    virtual int setFeatureReport(const uint8_t *data, size_t length) = 0;

    // Reads one feature report of the given id into buffer (buffer[0] is the
    // report id on return). *actual receives the bytes read, id included.
    virtual int getFeatureReport(uint8_t reportId, uint8_t *buffer, size_t length,
                                 size_t *actual) = 0;

    // Interrupt input reports (4 bytes for these devices) are handed to the
    // handler on the thread of the HidManager that reported the device,
    // through that thread's event loop; there is no polling. Setting an empty
    // handler stops delivery.
    using InputReportHandler = std::function<void(const uint8_t *data, size_t length)>;
    virtual void setInputReportHandler(InputReportHandler handler) = 0;
};

using HidDeviceRef = std::shared_ptr<HidDevice>;

struct HidMatch {
    uint32_t vendorId = 0;
    uint32_t productId = 0;
};

// Watches HID interfaces that match a list of vendor/product ids.
class HidManager {
public:
    virtual ~HidManager() = default;

    virtual void setDeviceMatching(std::vector<HidMatch> matches) = 0;

    using DeviceCallback = std::function<void(const HidDeviceRef &)>;
    virtual void setCallbacks(DeviceCallback matched, DeviceCallback removed) = 0;

    // Starts watching. Callbacks and input reports run on the thread that
    // called open(), from its event loop; devices already present are
    // reported first. Returns 0 or a non-zero status.
    virtual int open() = 0;

    // Stops watching; no callback runs after close() returns.
    virtual void close() = 0;
};

} // namespace platform
