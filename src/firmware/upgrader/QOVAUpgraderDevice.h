#pragma once
// One flashing job of the upgrade manager: one device, one firmware file and
// the four callbacks of the caller.

#include "QOVACallbacks.h"
#include "QOVADFUUpgrader.h"
#include "QOVADeviceModel.h"
#include "QOVAUpgradeManager.h"
#include "dfu_file.h"

#include <QString>

#include <memory>

class QOVAUpgraderDevice {
public:
    QString filePath;                       // jobs are grouped by this exact text
    QOVAProgressBlock progressBlock;
    QOVASuccessBlock successBlock;
    QOVAUpgradeFailedBlock failedBlock;
    QOVAUpgradeStatusBlock statusBlock;
    QOVADeviceModelRef deviceModel;
    QOVADFUUpgraderRef upgrader;
    dfu_file dfuFirmware;                   // size.total above 0: a mapped file
    bool joinedRunningFile = false;         // started on a file already being flashed
};

using QOVAUpgraderDeviceRef = std::shared_ptr<QOVAUpgraderDevice>;
