#pragma once
// Device object of the video-bar family (run 0x6E17, DFU 0x6E18). It owns the
// device's HID and UVC channels (none in DFU mode), builds the family's
// requests of the catalogue, forwards camera controls to the UVC channel and
// firmware updates to the upgrade manager. Its camera has no pan/tilt
// multiple.

#include "QOVAHIDCameraFamilyDevice.h"

class QOVAOrbrinDevice : public QOVAHIDCameraFamilyDevice {
public:
    explicit QOVAOrbrinDevice(QOVADeviceModelRef model);
    ~QOVAOrbrinDevice() override;

    // Presets 1 and 2 exist.
    static bool hasPreset(quint64 preset) { return preset == 1 || preset == 2; }
};
