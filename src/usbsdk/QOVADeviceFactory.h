#pragma once
// Makes the family device object for a device that discovery reports.

#include "QOVADeviceModel.h"

#include <QString>

#include <memory>

class QOVABaseUSBDevice;
using QOVABaseUSBDeviceRef = std::shared_ptr<QOVABaseUSBDevice>;

class QOVADeviceFactory {
public:
    // The device object of the family that the product id text ("6e17",
    // "6e18", ...; lower case) names, made with the given model; nothing for
    // any other text.
    static QOVABaseUSBDeviceRef createFactoryDevice(const QString &productId,
                                                    QOVADeviceModelRef model);
};
