#pragma once
// Whether an administrator password is set (enable_password).

#include "QOVAModelField.h"

class PasswordEnableModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(PasswordEnableModel)

    bool enable_password = false;

    bool isEnable_password() const { return enable_password; }
};

inline const QOVAModelFields &PasswordEnableModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("enable_password", &PasswordEnableModel::enable_password),
    };
    return table;
}
