#pragma once
// Bluetooth settings (bluetooth).

#include "QOVAModelField.h"

class BloothModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(BloothModel)

    bool ble_enable = false;
    bool enable = false;
    bool autopair_enable = false;
    QString device_name;

    bool isBle_enable() const { return ble_enable; }
    bool isEnable() const { return enable; }
    bool isAutopair_enable() const { return autopair_enable; }
};

inline const QOVAModelFields &BloothModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("ble_enable", &BloothModel::ble_enable),
        QOVAField::boolean("enable", &BloothModel::enable),
        QOVAField::boolean("autopair_enable", &BloothModel::autopair_enable),
        QOVAField::text("device_name", &BloothModel::device_name),
    };
    return table;
}
