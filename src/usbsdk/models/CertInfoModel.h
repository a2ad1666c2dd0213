#pragma once
// One installed certificate.

#include "QOVAModelField.h"

class CertInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(CertInfoModel)

    QString issuer;
    QString issueTo;
    QString validDate;
    QString type;
};

inline const QOVAModelFields &CertInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("issuer", &CertInfoModel::issuer),
        QOVAField::text("issueTo", &CertInfoModel::issueTo),
        QOVAField::text("validDate", &CertInfoModel::validDate),
        QOVAField::text("type", &CertInfoModel::type),
    };
    return table;
}
