#pragma once
// 802.1X settings of the Ethernet port.

#include "QOVAModelField.h"

class Ethernet802_1_xModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(Ethernet802_1_xModel)

    QString anonymousIdentity;
    QString caCert;
    QString clientCert;
    QString eapMethod;
    QString identity;
    QString password;
    QString phase2;
    QString privateKey;
    QString privateKeyPass;
    QString securityType;
};

inline const QOVAModelFields &Ethernet802_1_xModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("anonymousIdentity", &Ethernet802_1_xModel::anonymousIdentity),
        QOVAField::text("caCert", &Ethernet802_1_xModel::caCert),
        QOVAField::text("clientCert", &Ethernet802_1_xModel::clientCert),
        QOVAField::text("eapMethod", &Ethernet802_1_xModel::eapMethod),
        QOVAField::text("identity", &Ethernet802_1_xModel::identity),
        QOVAField::text("password", &Ethernet802_1_xModel::password),
        QOVAField::text("phase2", &Ethernet802_1_xModel::phase2),
        QOVAField::text("privateKey", &Ethernet802_1_xModel::privateKey),
        QOVAField::text("privateKeyPass", &Ethernet802_1_xModel::privateKeyPass),
        QOVAField::text("securityType", &Ethernet802_1_xModel::securityType),
    };
    return table;
}
