#include "QOVAVaskoDevice.h"

namespace {

constexpr QOVAHIDCameraFamilyDevice::RequestLogLine kVaskoRequestLogLines[] = {
    {QOVARequest::BluetoothSet, "QOVAHIDProtocol for setUSBDeviceBloothName"},
    {QOVARequest::BluetoothPair, "QOVAHIDProtocol for setUSBDeviceBluetoothAutopairEnable_HID"},
    {QOVARequest::NetworkEnable, "QOVAHIDProtocol for enableVaskoNetwork_HID"},
    {QOVARequest::WifiListGet, "getUSBDeviceWifiInformationListWithBlock_HID---Vasko"},
};

constexpr QOVAHIDCameraFamilyDevice::Traits kVaskoTraits{
    "QOVAVaskoDevice", QOVAFamilyVasko, &QOVAVaskoDevice::hasPreset,
    /*panTiltWithMultiple=*/true, kVaskoRequestLogLines,
};

} // namespace

QOVAVaskoDevice::QOVAVaskoDevice(QOVADeviceModelRef model)
    : QOVAHIDCameraFamilyDevice(std::move(model), kVaskoTraits)
{
}

QOVAVaskoDevice::~QOVAVaskoDevice() = default;
