#pragma once
// Server certificate validation (server_ca_validation).

#include "QOVAModelField.h"

class ValidateCertificateModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(ValidateCertificateModel)

    bool enable = false;

    bool isServer_ca_validation() const { return enable; }
};

inline const QOVAModelFields &ValidateCertificateModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("enable", &ValidateCertificateModel::enable),
    };
    return table;
}
