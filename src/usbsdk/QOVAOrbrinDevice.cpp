#include "QOVAOrbrinDevice.h"

namespace {

constexpr QOVAHIDCameraFamilyDevice::RequestLogLine kOrbrinRequestLogLines[] = {
    {QOVARequest::BluetoothSet, "QOVAHIDProtocol for setUSBDeviceBloothName"},
    {QOVARequest::BluetoothPair, "QOVAHIDProtocol for setUSBDeviceBluetoothAutopairEnable_HID"},
    {QOVARequest::WifiEnable, "QOVAHIDProtocol for setUSBDeviceWifiEnable"},
};

constexpr QOVAHIDCameraFamilyDevice::Traits kOrbrinTraits{
    "QOVAOrbrinDevice", QOVAFamilyOrbrin, &QOVAOrbrinDevice::hasPreset,
    /*panTiltWithMultiple=*/false, kOrbrinRequestLogLines,
};

} // namespace

QOVAOrbrinDevice::QOVAOrbrinDevice(QOVADeviceModelRef model)
    : QOVAHIDCameraFamilyDevice(std::move(model), kOrbrinTraits)
{
}

QOVAOrbrinDevice::~QOVAOrbrinDevice()
{
    releaseHIDInterface();
}
