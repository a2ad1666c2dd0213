#pragma once
// Wi-Fi settings of the network camera.

#include "QOVAModelField.h"

class VaskoWiFiInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(VaskoWiFiInfoModel)

    QString anonymousIdentity;
    QString caCert;
    QString clientCert;
    QString dns1;
    QString dns2;
    QString eapMethod;
    QString gateway;
    QString identity;
    QString main_ip_address;
    QString mask;
    QString password;
    QString phase2;
    QString privateKey;
    QString privateKeyPass;
    QString securityType;
    qint64 dhcp = 0;
    QString ssid;
    std::optional<QString> bssid;
};

inline const QOVAModelFields &VaskoWiFiInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("anonymousIdentity", &VaskoWiFiInfoModel::anonymousIdentity),
        QOVAField::text("caCert", &VaskoWiFiInfoModel::caCert),
        QOVAField::text("clientCert", &VaskoWiFiInfoModel::clientCert),
        QOVAField::text("dns1", &VaskoWiFiInfoModel::dns1),
        QOVAField::text("dns2", &VaskoWiFiInfoModel::dns2),
        QOVAField::text("eapMethod", &VaskoWiFiInfoModel::eapMethod),
        QOVAField::text("gateway", &VaskoWiFiInfoModel::gateway),
        QOVAField::text("identity", &VaskoWiFiInfoModel::identity),
        QOVAField::text("main_ip_address", &VaskoWiFiInfoModel::main_ip_address),
        QOVAField::text("mask", &VaskoWiFiInfoModel::mask),
        QOVAField::text("password", &VaskoWiFiInfoModel::password),
        QOVAField::text("phase2", &VaskoWiFiInfoModel::phase2),
        QOVAField::text("privateKey", &VaskoWiFiInfoModel::privateKey),
        QOVAField::text("privateKeyPass", &VaskoWiFiInfoModel::privateKeyPass),
        QOVAField::text("securityType", &VaskoWiFiInfoModel::securityType),
        QOVAField::integer("dhcp", &VaskoWiFiInfoModel::dhcp),
        QOVAField::text("ssid", &VaskoWiFiInfoModel::ssid),
        QOVAField::text("bssid", &VaskoWiFiInfoModel::bssid),
    };
    return table;
}
