#include "QOVASkarnfelDevice.h"

#include <QDebug>

QOVASkarnfelDevice::QOVASkarnfelDevice(QOVADeviceModelRef model)
    : QOVACameraFamilyDevice(std::move(model), /*panTiltWithMultiple=*/false)
{
    setDeviceSubClassDelegate();
    qInfo().noquote() << "Init the Device for QOVASkarnfelDevice";
}

QOVASkarnfelDevice::~QOVASkarnfelDevice() = default;
