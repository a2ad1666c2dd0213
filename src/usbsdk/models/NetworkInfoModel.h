#pragma once
// Network state of the network camera (network_status).

#include "QOVAModelField.h"
#include "Ethernet802_1_xModel.h"
#include "IPV4SettingModel.h"
#include "VaskoWiFiInfoModel.h"

class NetworkInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(NetworkInfoModel)

    QString network_mode;
    bool network_status = false;
    std::shared_ptr<const IPV4SettingModel> IPV4setting;
    std::shared_ptr<const Ethernet802_1_xModel> Security_802_1_x;
    std::shared_ptr<const VaskoWiFiInfoModel> getWIFIsetting;

    bool isNetwork_status() const { return network_status; }
};

inline const QOVAModelFields &NetworkInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("network_mode", &NetworkInfoModel::network_mode),
        QOVAField::boolean("network_status", &NetworkInfoModel::network_status),
        QOVAField::optionalModel("IPV4setting", &NetworkInfoModel::IPV4setting),
        QOVAField::optionalModel("Security_802_1_x", &NetworkInfoModel::Security_802_1_x),
        QOVAField::optionalModel("getWIFIsetting", &NetworkInfoModel::getWIFIsetting),
    };
    return table;
}
