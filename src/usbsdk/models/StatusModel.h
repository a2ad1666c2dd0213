#pragma once
// The head of every device reply.

#include "QOVAModelField.h"

class StatusModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(StatusModel)

    qint64 status_code = 0;
    QString status_string;
    qint64 msg_id = 0;
    QString diag_info;
};

inline const QOVAModelFields &StatusModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::integer("status_code", &StatusModel::status_code),
        QOVAField::text("status_string", &StatusModel::status_string),
        QOVAField::integer("msg_id", &StatusModel::msg_id),
        QOVAField::text("diag_info", &StatusModel::diag_info),
    };
    return table;
}
