#pragma once
// The identity by which a device's camera is found among the computer's
// capture devices: "0x", the device's location text without leading zeros,
// its vendor id text and its product id text, joined without separators
// ("0x1140001d5c6e12"). The device page builds it from the device list's
// texts; the camera lookup builds it from the numbers udev reports. Both go
// through these functions so that the two texts always agree.

#include <QString>

#include <cstdint>

namespace qova::discovery {

// The location text with its leading "0" characters dropped.
QString trimLocationText(const QString &location);
QString captureUniqueID(const QString &location, const QString &vendorId, const QString &productId);
// From the numbers, formatted as discovery formats them for the device list
// (location "%x", vendor and product ids "%04x").
QString captureUniqueID(uint32_t locationId, uint32_t vendorId, uint32_t productId);

} // namespace qova::discovery
