#pragma once
// Fixed facts of the three device families as the devices present them on
// the bus: names, ids and the defaults a freshly plugged device starts with.

#include "sim/SimDeviceHost.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace sim {

struct FamilyInfo {
    Family family;
    const char *key;             // "orbrin", "vasko", "pirok"
    uint16_t runProductId;
    uint16_t dfuProductId;
    const char *productName;     // run mode; DFU mode appends " DFU"
    const char *manufacturer;
    const char *defaultVersion;
    const char *defaultDeviceName;
    bool hasUvc;                 // video-control interface in run mode
    bool hasVersionStrings;      // string descriptors 0x58 and 0x59
    bool hasSecondHid;           // second HID interface, usage page 0xFF00
};

const FamilyInfo &familyInfo(Family family);
std::optional<Family> familyFromKey(const QString &key);
std::optional<Family> familyFromProductId(uint16_t productId);
QString familyKey(Family family);

// "12.0.3" or "1203" -> 0x1203; "1.0.5" or "105" -> 0x105. Texts of any
// other shape give 0.
uint16_t versionToBcd(const QString &version);
// 0x1203 -> "12.0.3"
QString bcdToVersion(uint16_t bcd);

} // namespace sim
