#pragma once
// Wi-Fi state of the video bar (wifi_status).

#include "QOVAModelField.h"
#include "WifiConnectionInfoModel.h"

class WiFiStatusModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(WiFiStatusModel)

    std::shared_ptr<const WifiConnectionInfoModel> wifi_connection_info;
    bool wifi_enable = false;
    bool wifi_auto_connect = false;
    QString wifi_status;
    QString main_ip_address;
    QString main_mac_address;

    bool isWifi_enable() const { return wifi_enable; }
    bool isWifi_auto_connect() const { return wifi_auto_connect; }
};

inline const QOVAModelFields &WiFiStatusModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::model("wifi_connection_info", &WiFiStatusModel::wifi_connection_info),
        QOVAField::boolean("wifi_enable", &WiFiStatusModel::wifi_enable),
        QOVAField::boolean("wifi_auto_connect", &WiFiStatusModel::wifi_auto_connect),
        QOVAField::text("wifi_status", &WiFiStatusModel::wifi_status),
        QOVAField::text("main_ip_address", &WiFiStatusModel::main_ip_address),
        QOVAField::text("main_mac_address", &WiFiStatusModel::main_mac_address),
    };
    return table;
}
