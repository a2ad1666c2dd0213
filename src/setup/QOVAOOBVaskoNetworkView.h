#pragma once
// The network step of the network camera's set-up: whether the camera's
// network is connected and at which address, its network mode (Ethernet or
// none), and the links to the Ethernet IPv4 and 802.1X windows. Next is
// enabled while the last status reply says connected.
//
// While current (handleDisplayViewEvent to cancelDisplayViewEvent) the page
// asks the status at once and every 3 s (scaled); one poll runs at a time.
// A mode change or an opened window stops the poll; the wizard's reply
// handling or the window's cancel restarts it, but only while the page is
// still current.

#include "QOVAHalvexOOBBaseView.h"
#include "QOVAVaskoNetworkViewDelegate.h"

#include "network/QOVA8021xEthernetWindow.h"
#include "network/QOVAIPV4Window.h"

#include <QColor>
#include <QPointer>

#include <memory>

class Ethernet802_1_xModel;
class IPV4SettingModel;
class NetworkInfoModel;
class QOVAPopUpButton;
class QTimer;

class QOVAOOBVaskoNetworkView : public QOVAHalvexOOBBaseView,
                                public QOVAIPV4WindowDelegate,
                                public QOVA8021xEthernetWindowDelegate {
    Q_OBJECT
public:
    static constexpr double kPollInterval = 3.0;
    // Tags of the mode pop-up's items.
    enum Mode { ModeEthernet = 0, ModeNone = 2 };

    explicit QOVAOOBVaskoNetworkView(QWidget *parent = nullptr);

    void setDelegate(QOVAVaskoNetworkViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAVaskoNetworkViewDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent();
    void cancelDisplayViewEvent();
    bool isCurrent() const { return m_current; }

    // The status reply (none: logged, nothing changes).
    void networkModel(const std::shared_ptr<const NetworkInfoModel> &model);
    void restartNetworkTimer();

    // Poll.
    void startNetworkTimer(double interval);
    void cancelNetworkTimer();
    void handleNetworkStatusEvent();
    bool isPolling() const;

    // User actions.
    void selectNetworkMode(int index);
    void clickIPV4Settings();
    void clickSecuritySettings();
    void pageControlGoNext(QOVAHalvexPageControlView *bar) override;

    // Window delegates.
    void connectNetwork(const QJsonObject &ipv4Settings) override;
    void restartTimer() override;
    void connectSecurityNetwork(const QJsonObject &security8021x) override;
    void restartNetworkViewTimer() override;

    std::shared_ptr<const IPV4SettingModel> ipv4SettingModel() const { return m_ipv4SettingModel; }
    std::shared_ptr<const Ethernet802_1_xModel> eth802_1_xModel() const { return m_eth802_1_xModel; }

    QWidget *statusIcon() const { return m_statusIcon; }
    QColor statusIconColour() const { return m_dotColour; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QOVALabel *networkLabel() const { return m_networkLabel; }
    QOVAPopUpButton *networkButton() const { return m_networkButton; }
    QOVAButton *ipv4Button() const { return m_ipv4Button; }
    QOVAButton *securityButton() const { return m_securityButton; }
    QOVAIPV4Window *ipv4Window() const { return m_ipv4Window; }
    QOVA8021xEthernetWindow *securityWindow() const { return m_securityWindow; }

private:
    void configOOBNetworkView();
    void layoutOOBNetworkView();
    void setDot(const char *colour);
    void showEthernetLayout(bool shown);
    void setNextEnabled(bool enabled);

    QOVAWeakDelegate<QOVAVaskoNetworkViewDelegate> m_delegate;
    std::shared_ptr<const IPV4SettingModel> m_ipv4SettingModel;
    std::shared_ptr<const Ethernet802_1_xModel> m_eth802_1_xModel;
    QTimer *m_networkTimer = nullptr;
    bool m_current = false;
    QColor m_dotColour;
    QPointer<QOVAIPV4Window> m_ipv4Window;
    QPointer<QOVA8021xEthernetWindow> m_securityWindow;

    QWidget *m_statusIcon = nullptr;
    QOVALabel *m_statusLabel = nullptr;
    QOVALabel *m_networkLabel = nullptr;
    QOVAPopUpButton *m_networkButton = nullptr;
    QOVAButton *m_ipv4Button = nullptr;
    QOVAButton *m_securityButton = nullptr;
};
