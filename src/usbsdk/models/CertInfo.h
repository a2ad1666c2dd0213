#pragma once
// Installed certificates (cert_info).

#include "QOVAModelField.h"
#include "CertInfoModel.h"

class CertInfo final : public QOVAJSONModel {
    QOVA_JSON_MODEL(CertInfo)

    QList<std::shared_ptr<const CertInfoModel>> info;
    bool server_ca_validation = false;

    bool isServer_ca_validation() const { return server_ca_validation; }
};

inline const QOVAModelFields &CertInfo::fields()
{
    static const QOVAModelFields table = {
        QOVAField::models("info", &CertInfo::info),
        QOVAField::boolean("server_ca_validation", &CertInfo::server_ca_validation),
    };
    return table;
}
