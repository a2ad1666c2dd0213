#pragma once
// What the device page tells its owner (the device list): the device has
// accepted a new name.

#include <QString>

class QOVADeviceInfoViewControllerDelegate {
public:
    virtual ~QOVADeviceInfoViewControllerDelegate() = default;
    virtual void deviceName(const QString &name, const QString &serialNumber) = 0;
};
