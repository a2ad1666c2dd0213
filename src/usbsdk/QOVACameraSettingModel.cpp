#include "QOVACameraSettingModel.h"

#include "log/log.h"

QOVACameraSettingModel::QOVACameraSettingModel()
{
    QOVA_LOG(INFO, UVC, "QOVACameraSettingModel");
}
