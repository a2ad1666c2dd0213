#pragma once
// Detail text of one installed certificate.

#include "QOVAModelField.h"

class DetailInfo final : public QOVAJSONModel {
    QOVA_JSON_MODEL(DetailInfo)

    QString info;
};

inline const QOVAModelFields &DetailInfo::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("info", &DetailInfo::info),
    };
    return table;
}
