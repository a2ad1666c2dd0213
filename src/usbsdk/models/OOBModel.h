#pragma once
// Whether the device asks for its out-of-box set-up (if_need_oob); read through isEnable().

#include "QOVAModelField.h"

class OOBModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(OOBModel)

    bool result = false;

    bool isEnable() const { return result; }
};

inline const QOVAModelFields &OOBModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("result", &OOBModel::result),
    };
    return table;
}
