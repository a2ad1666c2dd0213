#pragma once
// The network page of the network camera: whether its network is connected
// and at which address, its network mode (None or Ethernet), and the links
// to the Ethernet IPv4 and 802.1X windows. The status is polled every 3 s
// (scaled) while the page is shown; a mode change or an opened window stops
// the poll until the reply (or the window's cancel) restarts it, and a late
// reply restarts it only while the page is still shown.

#include "QOVADisplayBaseView.h"

#include "QOVA8021xEthernetWindow.h"
#include "QOVAIPV4Window.h"
#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>

#include <memory>

class Ethernet802_1_xModel;
class IPV4SettingModel;
class NetworkInfoModel;
class QOVAButton;
class QOVALabel;
class QOVANetworkDelegate;
class QOVAPopUpButton;
class QTimer;

class QOVANetworkView : public QOVADisplayBaseView,
                        public QOVAIPV4WindowDelegate,
                        public QOVA8021xEthernetWindowDelegate {
    Q_OBJECT
public:
    static constexpr double kPollInterval = 3.0;
    enum Mode { ModeNone = 0, ModeEthernet = 1 };

    explicit QOVANetworkView(QWidget *parent = nullptr);

    void setDelegate(QOVANetworkDelegate *delegate) { m_delegate.set(delegate); }
    QOVANetworkDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;
    bool isShown() const { return m_shown; }

    // Updates from the owner.
    void networkModel(const std::shared_ptr<const NetworkInfoModel> &model);
    void restartNetworkTimer();

    // Poll.
    void startNetworkTimer(double interval);
    void handleNetworkStatusEvent();
    void cancelNetworkTimer();
    bool isPolling() const;

    // User actions.
    void selectNerworkMode(int index);
    void clickIPV4Button();
    void clickEthernetSecuritySetting();

    // Window delegates.
    void connectNetwork(const QJsonObject &ipv4Settings) override;
    void restartTimer() override;
    void connectSecurityNetwork(const QJsonObject &security8021x) override;
    void restartNetworkViewTimer() override;

    std::shared_ptr<const IPV4SettingModel> ipv4SettingModel() const { return m_ipv4SettingModel; }
    std::shared_ptr<const Ethernet802_1_xModel> eth802_1_xModel() const { return m_eth802_1_xModel; }

    QOVALabel *networkStatusNameLabel() const { return m_networkStatusNameLabel; }
    QWidget *networkConnectStatusIcon() const { return m_networkConnectStatusIcon; }
    QColor statusLightColour() const { return m_lightColour; }
    QOVALabel *networkPromptLabel() const { return m_networkPromptLabel; }
    QOVALabel *networkModeLabel() const { return m_networkModeLabel; }
    QOVAPopUpButton *networkModeSelectedButton() const { return m_networkModeSelectedButton; }
    QOVAButton *ethernetIPV4SettingButton() const { return m_ethernetIPV4SettingButton; }
    QOVAButton *ethernetSecuritySettingButton() const { return m_ethernetSecuritySettingButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutNetworkView();
    void setLight(const char *colour);
    void enableNetworkView(bool enabled);
    void switchNetworkToEthernet();
    void showMode(int mode);

    QOVAWeakDelegate<QOVANetworkDelegate> m_delegate;
    std::shared_ptr<const IPV4SettingModel> m_ipv4SettingModel;
    std::shared_ptr<const Ethernet802_1_xModel> m_eth802_1_xModel;
    QTimer *m_networkTimer = nullptr;
    bool m_shown = false;
    QColor m_lightColour;

    QOVALabel *m_networkStatusNameLabel = nullptr;
    QWidget *m_networkConnectStatusIcon = nullptr;
    QOVALabel *m_networkPromptLabel = nullptr;
    QOVALabel *m_networkModeLabel = nullptr;
    QOVAPopUpButton *m_networkModeSelectedButton = nullptr;
    QOVAButton *m_ethernetIPV4SettingButton = nullptr;
    QOVAButton *m_ethernetSecuritySettingButton = nullptr;
};
