#pragma once
// Visible networks (wifi_available_ssid).

#include "QOVAModelField.h"
#include "SSIDInfoModel.h"

class WifiInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(WifiInfoModel)

    QList<std::shared_ptr<const SSIDInfoModel>> ssid_info;
};

inline const QOVAModelFields &WifiInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::models("ssid_info", &WifiInfoModel::ssid_info),
    };
    return table;
}
