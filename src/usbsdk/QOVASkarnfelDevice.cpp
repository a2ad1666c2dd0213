#include "QOVASkarnfelDevice.h"

#include "log/log.h"

QOVASkarnfelDevice::QOVASkarnfelDevice(QOVADeviceModelRef model)
    : QOVACameraFamilyDevice(std::move(model), /*panTiltWithMultiple=*/false)
{
    setDeviceSubClassDelegate();
    QOVA_LOG(INFO, HID, "Init the Device for QOVASkarnfelDevice");
}

QOVASkarnfelDevice::~QOVASkarnfelDevice() = default;
