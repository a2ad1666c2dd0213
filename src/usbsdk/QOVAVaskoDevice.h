#pragma once
// Device object of the network-camera family (run 0x6E12, DFU 0x6E13). It
// owns the device's HID and UVC channels (none in DFU mode), builds the
// family's requests of the catalogue, forwards camera controls (pan/tilt
// multiple included) to the UVC channel and firmware updates to the upgrade
// manager.

#include "QOVAHIDCameraFamilyDevice.h"

class QOVAVaskoDevice : public QOVAHIDCameraFamilyDevice {
public:
    explicit QOVAVaskoDevice(QOVADeviceModelRef model);
    ~QOVAVaskoDevice() override;

    // Presets 0 to 4 exist.
    static bool hasPreset(quint64 preset) { return preset <= 4; }
};
