#pragma once
// The small rules discovery applies to what a device reports: id texts, the
// serial-number cut, the version text and the DFU name suffix. Plain
// functions, no state, callable from any thread.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace qova::discovery {

inline constexpr uint32_t kVendorId = 0x1D5C;

// Run-mode product ids matched by the HID manager, in matching order.
inline constexpr uint32_t kRunModeProductIds[] = {0x6E17, 0x5C01, 0x6E12};
// DFU-mode product ids watched on the USB bus.
inline constexpr uint32_t kDfuModeProductIds[] = {0x5C02, 0x6E18, 0x6E13};

bool isDfuModeProductId(uint32_t productId);

// Lower-case hexadecimal, zero-padded to width digits ("%04x" with 4, "%x"
// with 0).
QString hexText(uint32_t value, int width = 0);

// The Vasko camera reports "<serial>.<suffix>" in both modes; the list and
// every page know it by the part before the first ".". Other families keep
// the serial number whole.
QString cutSerialNumber(const QString &productId, const QString &serialNumber);

// Product name as shown for a device in DFU mode: every " DFU" removed.
QString removeDfuSuffix(const QString &productName);

// Reformats a Pirok version number given as hexadecimal digits ("1203") as
// "major.0.minor" ("12.0.3"): four characters split 2+2, three split 1+2,
// any other length gives "0.0.0".
QString formatProductVersion(const QString &version);

// Whether the product id text belongs to a family whose version and device
// name are string descriptors 0x58 and 0x59.
bool usesStringDescriptorVersion(const QString &productId);

inline constexpr uint8_t kVersionStringIndex = 0x58;
inline constexpr uint8_t kDeviceNameStringIndex = 0x59;

// Notification names and user-info keys.
inline constexpr char kMatchNotification[] = "QOVAIOHIDDeviceMatchInformation";
inline constexpr char kRemoveNotification[] = "QOVAIOHIDDeviceRemoveNotification";

inline constexpr char kKeyManufacturer[] = "productManufacturer";
inline constexpr char kKeyName[] = "productName";
inline constexpr char kKeySerial[] = "productSeriaNumber";
inline constexpr char kKeyProductId[] = "productID";
inline constexpr char kKeyVersion[] = "productVersion";
inline constexpr char kKeyVendorId[] = "productVID";
inline constexpr char kKeyLocation[] = "productLID";
inline constexpr char kKeyDeviceName[] = "productDeviceName";

} // namespace qova::discovery
