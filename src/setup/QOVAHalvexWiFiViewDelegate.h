#pragma once

#include <QJsonObject>

// What the video bar's set-up Wi-Fi page asks of its wizard.
class QOVAHalvexWiFiViewDelegate {
public:
    virtual ~QOVAHalvexWiFiViewDelegate() = default;
    // The networks the device sees; answered with updateOOBWiFiList.
    virtual void getWiFiList() = 0;
    // A join record, or the one-key automatic-connection record.
    virtual void connectOOBWifiWithNetWorkName(const QJsonObject &params) = 0;
    // The Wi-Fi state; answered with updateOOBWiFiStatus.
    virtual void wifiStatus() = 0;
    // Next.
    virtual void gotoOOBProvisionView() = 0;
    // The Wi-Fi switch.
    virtual void wifiEnable(bool enable) = 0;
};
