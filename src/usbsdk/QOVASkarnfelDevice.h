#pragma once
// Device object of the small camera family (run 0x5C01, DFU 0x5C02). Its
// only working operation is the firmware update: it has no HID channel, and
// its camera controls go to a UVC channel that is never created, so they do
// nothing and call no callback.

#include "QOVACameraFamilyDevice.h"

class QOVASkarnfelDevice : public QOVACameraFamilyDevice {
public:
    // hidInterface() and uvcInterface() stay empty for the object's whole life.
    explicit QOVASkarnfelDevice(QOVADeviceModelRef model);
    ~QOVASkarnfelDevice() override;
};
