#pragma once
// USB access as the device layer sees it: arrival and removal of devices with
// their configuration, string descriptors, control transfers and reset.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

enum class UsbError {
    None = 0,
    NoDevice,   // the device is gone
    Timeout,
    Stall,      // the device stalled the request (pipe error)
    Access,     // busy, or no permission
    NotFound,   // no such interface, descriptor or entity
    Other,
};

const char *usbErrorName(UsbError error);

struct UsbInterfaceInfo {
    uint8_t number = 0;
    uint8_t alternateSetting = 0;
    uint8_t interfaceClass = 0;
    uint8_t interfaceSubClass = 0;
    uint8_t interfaceProtocol = 0;
    // Class-specific descriptors that follow the interface descriptor in the
    // configuration (UVC video-control block, DFU functional descriptor...).
    QByteArray extra;
};

struct UsbDeviceInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t bcdDevice = 0;
    uint8_t busNumber = 0;
    uint8_t deviceAddress = 0;
    uint32_t locationId = 0;
    // Registry-style properties: "SerialNumber" and "USB Serial Number" are
    // kept apart because lookups fall back from one to the other.
    std::optional<QString> serialNumber;
    std::optional<QString> usbSerialNumber;
    std::optional<QString> productName;     // "USB Product Name"
    std::optional<QString> vendorName;      // "USB Vendor Name"
    std::vector<UsbInterfaceInfo> interfaces;  // first configuration
    QByteArray configurationDescriptor;        // the whole first configuration
    QString path;                              // backend node, for log lines
};

struct UsbSetup {
    uint8_t bmRequestType = 0;
    uint8_t bRequest = 0;
    uint16_t wValue = 0;
    uint16_t wIndex = 0;
    uint16_t wLength = 0;
};

class UsbDevice {
public:
    virtual ~UsbDevice() = default;

    virtual UsbDeviceInfo info() const = 0;

    // open() is idempotent; opening a device another client holds counts as
    // success where the backend can tell.
    virtual UsbError open() = 0;
    virtual void close() = 0;
    virtual UsbError claimInterface(int number) = 0;
    virtual UsbError releaseInterface(int number) = 0;

    // One control transfer on the default pipe. For device-to-host requests
    // up to wLength bytes are written to data; *transferred gets the count.
    // Opens the device on demand.
    virtual UsbError controlTransfer(const UsbSetup &setup, uint8_t *data, unsigned timeoutMs,
                                     int *transferred) = 0;

    // Raw string descriptor (bLength, bDescriptorType, UTF-16LE units) of the
    // given index and language, as GET_DESCRIPTOR returns it.
    virtual UsbError getStringDescriptor(uint8_t index, uint16_t languageId, uint8_t *data,
                                         int length, int *transferred);

    // Port reset. A device that re-enumerates (or is gone) may answer
    // NoDevice, which callers treat as done.
    virtual UsbError reset() = 0;
};

using UsbDeviceRef = std::shared_ptr<UsbDevice>;

// The USB devices present. Thread-safe.
class UsbBus {
public:
    virtual ~UsbBus() = default;

    // Snapshot of the devices present now.
    virtual std::vector<UsbDeviceRef> devices() = 0;

    using DeviceCallback = std::function<void(const UsbDeviceRef &)>;

    // Arrival and removal notices run on the thread that called watch(), from
    // its event loop, until the returned token is destroyed. Devices already
    // present are not reported (take devices() for those).
    class Watch {
    public:
        virtual ~Watch() = default;
    };
    virtual std::unique_ptr<Watch> watch(DeviceCallback arrived, DeviceCallback removed) = 0;
};

} // namespace platform
