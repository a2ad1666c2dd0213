#pragma once
// One family's group of rows on the firmware page.

#include "QOVAFirmwareModel.h"

#include <QList>
#include <QString>

#include <memory>

struct QOVAFirmwareSection {
    qint64 type = 0;                      // 1, 2 or 4
    QString productName;                  // of the device that opened it
    QList<QOVAFirmwareModelRef> deviceList;
    bool updateDisabled = false;          // its Update All button is disabled
};
using QOVAFirmwareSectionRef = std::shared_ptr<QOVAFirmwareSection>;
