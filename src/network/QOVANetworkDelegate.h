#pragma once
// What the network page of the network camera asks of its owner (the device
// page controller). The page sends the first three; the Wi-Fi operations
// belong to a Wi-Fi part the page does not offer.

#include <QJsonObject>

class QOVANetworkDelegate {
public:
    virtual ~QOVANetworkDelegate() = default;
    virtual void networkStatus() = 0;
    virtual void connectIPV4WithDictionaryParams(const QJsonObject &params) = 0;
    virtual void enableVaskoWiFi(const QJsonObject &params) = 0;
    virtual void cancelHIDHandle() {}
    virtual void enableWiFiAutoConnect(const QJsonObject &) {}
    virtual void getNetWorkWiFiList() {}
    virtual void connectVaskoWifiWithNetWorkName(const QJsonObject &) {}
    virtual void requestVaskoWiFiConnectedList() {}
    virtual void disconnectVaskoWifiWithParam(const QJsonObject &) {}
};
