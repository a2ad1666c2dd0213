#pragma once
// The network the video bar is joined to.

#include "QOVAModelField.h"
#include "MWiFissid.h"

class WifiConnectionInfoModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(WifiConnectionInfoModel)

    std::optional<QString> mBSSID;
    std::optional<double> signalStrength;
    std::shared_ptr<const MWiFissid> mWifiSsid;
};

inline const QOVAModelFields &WifiConnectionInfoModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::text("mBSSID", &WifiConnectionInfoModel::mBSSID),
        QOVAField::number("signalStrength", &WifiConnectionInfoModel::signalStrength),
        QOVAField::optionalModel("mWifiSsid", &WifiConnectionInfoModel::mWifiSsid),
    };
    return table;
}
