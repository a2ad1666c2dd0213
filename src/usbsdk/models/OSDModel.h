#pragma once
// On-screen display (osd).

#include "QOVAModelField.h"

class OSDModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(OSDModel)

    bool enable = false;

    bool isEnable() const { return enable; }
};

inline const QOVAModelFields &OSDModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("enable", &OSDModel::enable),
    };
    return table;
}
