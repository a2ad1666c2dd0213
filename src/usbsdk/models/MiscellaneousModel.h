#pragma once
// Miscellaneous settings (Miscellaneous); microphone_enable keeps whatever value arrives.

#include "QOVAModelField.h"

class MiscellaneousModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(MiscellaneousModel)

    bool power_injector = false;
    bool compatible_mode = false;
    std::optional<QJsonValue> microphone_enable;

    bool isPower_injector() const { return power_injector; }
    bool isCompatible_mode() const { return compatible_mode; }
};

inline const QOVAModelFields &MiscellaneousModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("power_injector", &MiscellaneousModel::power_injector),
        QOVAField::boolean("compatible_mode", &MiscellaneousModel::compatible_mode),
        QOVAField::any("microphone_enable", &MiscellaneousModel::microphone_enable),
    };
    return table;
}
