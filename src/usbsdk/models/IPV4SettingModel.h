#pragma once
// IPv4 addressing of the network camera.

#include "QOVAModelField.h"

class IPV4SettingModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(IPV4SettingModel)

    QString dns_domain;
    QString dns1;
    QString dns2;
    QString gateway;
    QString main_ip_address;
    QString mask;
    double dhcp = 0;
};

inline const QOVAModelFields &IPV4SettingModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("dns_domain", &IPV4SettingModel::dns_domain),
        QOVAField::text("dns1", &IPV4SettingModel::dns1),
        QOVAField::text("dns2", &IPV4SettingModel::dns2),
        QOVAField::text("gateway", &IPV4SettingModel::gateway),
        QOVAField::text("main_ip_address", &IPV4SettingModel::main_ip_address),
        QOVAField::text("mask", &IPV4SettingModel::mask),
        QOVAField::number("dhcp", &IPV4SettingModel::dhcp),
    };
    return table;
}
