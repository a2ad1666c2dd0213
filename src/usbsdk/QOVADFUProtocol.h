#pragma once
// Firmware update of a device family.

#include "QOVAUpgradeManager.h"

class QOVADFUProtocol {
public:
    virtual ~QOVADFUProtocol() = default;
    // Hands the device model, the firmware path and the callbacks to the
    // shared upgrade manager.
    virtual void deviceFirmwareUpdategrade_DFU(const QString &path, QOVAProgressBlock progress,
                                               QOVASuccessBlock success,
                                               QOVAUpgradeFailedBlock failed,
                                               QOVAUpgradeStatusBlock status) = 0;
};
