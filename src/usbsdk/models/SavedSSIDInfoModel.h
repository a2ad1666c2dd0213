#pragma once
// Saved networks (wifi_saved_ssid).

#include "QOVAModelField.h"

class SavedSSIDInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(SavedSSIDInfoModel)

    QJsonArray saved_ssid_info;
};

inline const QOVAModelFields &SavedSSIDInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::array("saved_ssid_info", &SavedSSIDInfoModel::saved_ssid_info),
    };
    return table;
}
