#pragma once
// Whether simple passwords are allowed (simple_password).

#include "QOVAModelField.h"

class SimplePasswordModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(SimplePasswordModel)

    bool simple_password = false;

    bool isSimple_password() const { return simple_password; }
};

inline const QOVAModelFields &SimplePasswordModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("simple_password", &SimplePasswordModel::simple_password),
    };
    return table;
}
