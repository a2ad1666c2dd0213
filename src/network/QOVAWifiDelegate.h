#pragma once
// What the Wi-Fi page of the video bar asks of its owner (the device page
// controller). The page never talks to the device: each user action becomes
// one of these calls, and the owner writes the device's answers back into
// the page.

#include <QJsonObject>

class QOVAWiFISettingsView;

class QOVAWifiDelegate {
public:
    virtual ~QOVAWifiDelegate() = default;
    virtual void wifiEnable(bool enable) = 0;
    virtual void wifiStatus(QOVAWiFISettingsView *page) = 0;
    virtual void wifiList(QOVAWiFISettingsView *page) = 0;
    virtual void requestWiFiConnectedList() = 0;
    virtual void connectWifiWithNetWorkName(const QJsonObject &params) = 0;
    virtual void disconnectWifiWithParam(const QJsonObject &params) = 0;
    virtual void setWifiSecurityType(const QJsonObject &params) = 0;
    virtual void getWiFiCetificateInfo() = 0;
};
