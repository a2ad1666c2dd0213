#pragma once
// Reply of cancel.

#include "QOVAModelField.h"

class CancelModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(CancelModel)

    QString cancel;
};

inline const QOVAModelFields &CancelModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("cancel", &CancelModel::cancel),
    };
    return table;
}
