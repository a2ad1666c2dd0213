#pragma once
// One visible network.

#include "QOVAModelField.h"

class SSIDInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(SSIDInfoModel)

    QString bssid;
    QString encryptionType;
    QString ssid;
    qint64 signalStrength = 0;
};

inline const QOVAModelFields &SSIDInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("bssid", &SSIDInfoModel::bssid),
        QOVAField::text("encryptionType", &SSIDInfoModel::encryptionType),
        QOVAField::text("ssid", &SSIDInfoModel::ssid),
        QOVAField::integer("signalStrength", &SSIDInfoModel::signalStrength),
    };
    return table;
}
