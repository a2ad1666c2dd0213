#pragma once
// One connected device as the interface knows it: identity texts from the
// arrival notification, the family tests on its product id, and its list
// status, whether its clock was set during this connection and whether the
// user has seen it yet. Shared between the device list and the page or
// wizard that shows the device.

#include <QString>

#include <memory>

class QOVADeviceListItem {
public:
    QString productName;
    QString imageName;
    QString serialNumber;
    QString productId;        // four lower-case hexadecimal digits, e.g. "6e17"
    QString vendorId;
    QString deviceVersion;
    QString productManufacturer;
    QString locationID;
    QString productDeviceName;
    qint64 status = 0;        // 0 normal, 1 recovery (DFU) mode, 2 updating
    bool hasTime = false;
    bool uncheckedViewModel = false;

    bool isDFU() const;
    bool isPirok() const;
    bool isOrbrin() const;
    bool isVasko() const;
};

using QOVADeviceListItemRef = std::shared_ptr<QOVADeviceListItem>;
