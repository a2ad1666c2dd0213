#pragma once

#include <QJsonObject>

// What the network camera's set-up network page asks of its wizard. The
// page sends networkStatus, the two network writes and clickNextOnNetwork;
// the Wi-Fi operations belong to a Wi-Fi mode the page does not offer.
class QOVAVaskoNetworkViewDelegate {
public:
    virtual ~QOVAVaskoNetworkViewDelegate() = default;
    virtual void gotoOOBProvisionView() {}
    // The network status; answered with networkModel.
    virtual void networkStatus() = 0;
    // Ethernet settings ({network_mode, IPV4setting} or {network_mode,
    // Security_802_1_x}); the wizard restarts the page's poll after the reply.
    virtual void connectIPV4WithDictionaryParams(const QJsonObject &params) = 0;
    // The network mode ({network_mode}); the poll restarts after the reply.
    virtual void enableVaskoWiFi(const QJsonObject &params) = 0;
    virtual void cancelHIDHandle() {}
    virtual void enableWiFiAutoConnect(const QJsonObject &) {}
    virtual void getNetWorkWiFiList() {}
    virtual void connectVaskoWifiWithNetWorkName(const QJsonObject &) {}
    // Next.
    virtual void clickNextOnNetwork() = 0;
};
