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
    using namespace QOVAField;
    static const QOVAModelFields table = {
        integer("status_code", &StatusModel::status_code),
        text("status_string", &StatusModel::status_string),
        integer("msg_id", &StatusModel::msg_id),
        text("diag_info", &StatusModel::diag_info),
    };
    return table;
}
