#pragma once
// Facts of the device (device_info).

#include "QOVAModelField.h"
#include "ProvisionModel.h"

class DeviceInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(DeviceInfoModel)

    QString device_name;
    std::optional<QString> version_hw;
    QString model;
    std::optional<QString> sn;
    QString country_region;
    std::optional<QString> remote_battery_status;
    std::optional<QString> remote_fw_version;
    std::optional<QString> remote_name;
    std::optional<double> remote_active;
    std::optional<double> remote_upgrade_enable;
    std::optional<double> remote_upgrading;
    QString version_sw;
    QString provision_status;
    QString main_ip_address;
    QString main_mac_address;
    QString wifi_signal_strength;
    std::shared_ptr<const ProvisionModel> provision_server_info;
    std::optional<QString> device_time;
    std::optional<QString> network_mode;
    std::optional<double> network_status;
    std::optional<QString> power_supply;
    std::optional<QString> usb_mode;
    std::optional<QString> emmc_lifetime;
    std::optional<QString> emmc_pre_eol;
    std::optional<QString> show_alert;
};

inline const QOVAModelFields &DeviceInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("device_name", &DeviceInfoModel::device_name),
        QOVAField::text("version_hw", &DeviceInfoModel::version_hw),
        QOVAField::text("model", &DeviceInfoModel::model),
        QOVAField::text("sn", &DeviceInfoModel::sn),
        QOVAField::text("country_region", &DeviceInfoModel::country_region),
        QOVAField::text("remote_battery_status", &DeviceInfoModel::remote_battery_status),
        QOVAField::text("remote_fw_version", &DeviceInfoModel::remote_fw_version),
        QOVAField::text("remote_name", &DeviceInfoModel::remote_name),
        QOVAField::number("remote_active", &DeviceInfoModel::remote_active),
        QOVAField::number("remote_upgrade_enable", &DeviceInfoModel::remote_upgrade_enable),
        QOVAField::number("remote_upgrading", &DeviceInfoModel::remote_upgrading),
        QOVAField::text("version_sw", &DeviceInfoModel::version_sw),
        QOVAField::text("provision_status", &DeviceInfoModel::provision_status),
        QOVAField::text("main_ip_address", &DeviceInfoModel::main_ip_address),
        QOVAField::text("main_mac_address", &DeviceInfoModel::main_mac_address),
        QOVAField::text("wifi_signal_strength", &DeviceInfoModel::wifi_signal_strength),
        QOVAField::optionalModel("provision_server_info", &DeviceInfoModel::provision_server_info),
        QOVAField::text("device_time", &DeviceInfoModel::device_time),
        QOVAField::text("network_mode", &DeviceInfoModel::network_mode),
        QOVAField::number("network_status", &DeviceInfoModel::network_status),
        QOVAField::text("power_supply", &DeviceInfoModel::power_supply),
        QOVAField::text("usb_mode", &DeviceInfoModel::usb_mode),
        QOVAField::text("emmc_lifetime", &DeviceInfoModel::emmc_lifetime),
        QOVAField::text("emmc_pre_eol", &DeviceInfoModel::emmc_pre_eol),
        QOVAField::text("show_alert", &DeviceInfoModel::show_alert),
    };
    return table;
}
