#pragma once
// The network step of the video bar's set-up: whether the device's Wi-Fi is
// on and connected, the Wi-Fi and automatic-connection switches, the
// networks the device sees (a pick opens the simple or the enterprise join
// window) and the link to join a network typed by hand. Next is enabled
// while the device reports a connection.
//
// The page follows the device's five Wi-Fi events from its creation; an
// enable event starts a list refresh of three requests, 3 s apart (scaled),
// a new one ending the running one. stopEvents() ends the refresh, the
// events and the icon cycle for good: the wizard calls it when the page is
// dropped or the set-up is left, so a page that is not in front of the user
// takes no event meant for another page.

#include "QOVAHalvexOOBBaseView.h"
#include "QOVAHalvexWiFiViewDelegate.h"

#include "network/QOVAWiFiEAPWindow.h"
#include "network/QOVAWiFiSimpleWindow.h"
#include "network/QOVAWifiAdvancedConnectWindow.h"

#include "usbsdk/QOVANotificationCenter.h"

#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class ITSwitch;
class QOVAImageView;
class QOVAPopUpButton;
class QTimer;
class WiFiStatusModel;
class WifiInfoModel;

class QOVAHalvexWiFiView : public QOVAHalvexOOBBaseView,
                           public QOVAWiFiSimpleWindowDelegate,
                           public QOVAWiFiEAPWindowDelegate,
                           public QOVAWifiAdvancedConnectWindowDelegate {
    Q_OBJECT
public:
    static constexpr int kRefreshRequests = 3;
    static constexpr double kRefreshInterval = 3.0;

    explicit QOVAHalvexWiFiView(QWidget *parent = nullptr);
    ~QOVAHalvexWiFiView() override;

    void setDelegate(QOVAHalvexWiFiViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexWiFiViewDelegate *delegate() const { return m_delegate.get(); }

    // Replies handed in by the wizard.
    void updateOOBWiFiStatus(const std::shared_ptr<const WiFiStatusModel> &model);
    void updateOOBWiFiList(const std::shared_ptr<const WifiInfoModel> &model);
    void wifiSignalDisplay(qint64 strength);

    // The connected network's name as last reported (none before).
    const std::optional<QString> &ssid() const { return m_ssid; }
    std::shared_ptr<const WifiInfoModel> wifiInfoModel() const { return m_wifiInfoModel; }

    // List refresh.
    void startWiFiListTimer(double interval);
    void cancelTimer();
    void handleWiFiListEvent();
    bool isListRefreshRunning() const;
    qint64 timerCount() const { return m_timerCount; }

    // Ends the refresh, the Wi-Fi events and the icon cycle for good.
    void stopEvents();
    bool isObservingNotifications() const { return !m_observers.empty(); }

    // User actions.
    void clickoobWifiEnable();
    void clickAutoConnectEnable();
    void selectWiFi(int index);
    void joinOtherNetWork();
    void cancelHandler();

    // Wi-Fi events.
    void receiveWiFiConnectedNotification();
    void receiveWiFiConnectingNotification();
    void receiveWiFiDisconnectedNotification();
    void receiveWiFiEnableNotification();
    void receiveWiFiDisableNotification();

    // The page bar's Next.
    void pageControlGoNext(QOVAHalvexPageControlView *bar) override;

    // Join windows.
    void connectSimpleWifiWithUserpassword(const QJsonObject &params) override;
    void cancelConnect() override;
    void connectEAPWifiWithUserpassword(const QJsonObject &params, bool remember) override;
    void cancel() override;
    void wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *window, const QJsonObject &params,
                            bool remember) override;
    void cancelAdvanceConnect() override;

    // Controls.
    QOVALabel *wifiSettingLabel() const { return m_wifiSettingLabel; }
    ITSwitch *oobWiFiEnableSwitch() const { return m_oobWiFiEnableSwitch; }
    QOVALabel *oobWifiStatusReminderLabel() const { return m_oobWifiStatusReminderLabel; }
    QOVAImageView *wifiPromptImageView() const { return m_wifiPromptImageView; }
    QOVALabel *wifiPromptLabel() const { return m_wifiPromptLabel; }
    QOVALabel *wifiListLabel() const { return m_wifiListLabel; }
    QOVAPopUpButton *oobWifiSelectButton() const { return m_oobWifiSelectButton; }
    QOVALabel *autoConnectLabel() const { return m_autoConnectLabel; }
    ITSwitch *autoConnectEnableSwitch() const { return m_autoConnectEnableSwitch; }
    QOVALabel *autoConnectReminderLabel() const { return m_autoConnectReminderLabel; }
    QOVAButton *joinOtherNetWorkButton() const { return m_joinOtherNetWorkButton; }

    // The last join window of each kind the page opened (none before).
    QOVAWiFiSimpleWindow *simpleWindow() const { return m_simpleWindow; }
    QOVAWiFiEAPWindow *eapWindow() const { return m_eapWindow; }
    QOVAWifiAdvancedConnectWindow *advanceWindow() const { return m_advanceWindow; }

private:
    void configOOBWiFiView();
    void layoutWiFiView();
    void observeNotifications();
    void setNextEnabled(bool enabled);
    void setControlsEnabled(bool enabled);
    void setReminder(QOVALabel *label, bool on);
    void showPrompt(const QString &text, const char *colour);
    void showDisconnected();

    QOVAWeakDelegate<QOVAHalvexWiFiViewDelegate> m_delegate;
    std::shared_ptr<const WifiInfoModel> m_wifiInfoModel;
    std::optional<QString> m_ssid;
    QTimer *m_oobWiFiListTimer = nullptr;
    qint64 m_timerCount = 0;
    bool m_stopped = false;
    std::vector<QOVANotificationCenter::ObserverId> m_observers;

    QPointer<QOVAWiFiSimpleWindow> m_simpleWindow;
    QPointer<QOVAWiFiEAPWindow> m_eapWindow;
    QPointer<QOVAWifiAdvancedConnectWindow> m_advanceWindow;

    QOVALabel *m_wifiSettingLabel = nullptr;
    ITSwitch *m_oobWiFiEnableSwitch = nullptr;
    QOVALabel *m_oobWifiStatusReminderLabel = nullptr;
    QOVAImageView *m_wifiPromptImageView = nullptr;
    QOVALabel *m_wifiPromptLabel = nullptr;
    QOVALabel *m_wifiListLabel = nullptr;
    QOVAPopUpButton *m_oobWifiSelectButton = nullptr;
    QOVALabel *m_autoConnectLabel = nullptr;
    ITSwitch *m_autoConnectEnableSwitch = nullptr;
    QOVALabel *m_autoConnectReminderLabel = nullptr;
    QOVAButton *m_joinOtherNetWorkButton = nullptr;
};
