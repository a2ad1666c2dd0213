#pragma once
// The Wi-Fi page of the video bar: the Wi-Fi switch, the connection state
// with its signal picture, the list of networks the device sees (picking one
// opens the simple or the enterprise join window), automatic connection, and
// the links to join another network and to the saved networks.
//
// While shown, the page follows the device's five Wi-Fi events and keeps the
// network list fresh: a run asks for the list four times, every 4 s (the
// scaled period), and ends at the fifth tick; a new start ends the running
// run first. Everything, the ticks included, runs on the main thread.
// Leaving the page stops the run and the event handlers.

#include "QOVADisplayBaseView.h"

#include "QOVAWiFiEAPWindow.h"
#include "QOVAWiFiSimpleWindow.h"
#include "QOVAWifiAdvancedConnectWindow.h"
#include "QOVAWifiManageWindow.h"
#include "menu/QOVAWeakDelegate.h"

#include "usbsdk/QOVANotificationCenter.h"

#include <QJsonObject>
#include <QPointer>

#include <memory>

class CertInfo;
class ITSwitch;
class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QOVAPopUpButton;
class QOVAWifiDelegate;
class QTimer;
class SavedSSIDInfoModel;
class WifiInfoModel;

class QOVAWiFISettingsView : public QOVADisplayBaseView,
                             public QOVAWiFiSimpleWindowDelegate,
                             public QOVAWiFiEAPWindowDelegate,
                             public QOVAWifiAdvancedConnectWindowDelegate,
                             public QOVAWifiManageWindowDelegate {
    Q_OBJECT
public:
    // Tag of the item of an open network, and of the "no network" item.
    static constexpr int kOpenNetworkTag = 1000;
    static constexpr int kNoNetworkTag = -1;
    static constexpr int kRefreshRequests = 4;
    static constexpr double kRefreshInterval = 4.0;

    explicit QOVAWiFISettingsView(QWidget *parent = nullptr);
    ~QOVAWiFISettingsView() override;

    void setDelegate(QOVAWifiDelegate *delegate) { m_delegate.set(delegate); }
    QOVAWifiDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;

    // The connected network's name, or none.
    const std::optional<QString> &ssid() const { return m_ssid; }
    void setSsid(const std::optional<QString> &ssid) { m_ssid = ssid; }
    std::shared_ptr<const WifiInfoModel> wifiInfoModel() const { return m_wifiInfoModel; }
    void setWifiInfoModel(std::shared_ptr<const WifiInfoModel> model);
    QString selectedTitleString() const { return m_selectedTitleString; }

    // Updates from the owner.
    void getOrbrinWiFiList();
    void wifiSignalDisplay(qint64 strength);
    void connectedWiFiInformation(const SavedSSIDInfoModel &model);
    void wifiCertificateInfo(const CertInfo &info);
    // Connection display: the disconnected picture and text, or the
    // connected text with the address.
    void showDisconnected();
    void showConnected(const QString &address);
    // The list pop-up rebuilt from a scan: one item per name, the connected
    // network first when listed, else the "none" item; the first selected.
    void reloadNetworkMenu();
    // The pop-up back to the connected network (or the "none" item).
    void restoreNetworkMenu();
    // Enabled state of the controls that need Wi-Fi on.
    void setWifiControlsEnabled(bool enabled);

    // The list refresh.
    void startWiFiListTimer(double interval);
    void cancelTimer();
    void handleWiFiListEvent();
    bool isListRefreshRunning() const;
    qint64 timerCount() const { return m_timerCount; }

    // User actions.
    void clickWifiEnable();
    void clickAutoConnectEnable();
    void handlePopBtn(int index);
    void joinOtherNetWork();
    void clickManageWiFiButton();

    // Wi-Fi events.
    void receiveWiFiConnectedNotification();
    void receiveWiFiDisconnectedNotification();
    void receiveWiFiConnectingNotification();
    void receiveWiFiEnableNotification();
    void receiveWiFiDisableNotification();
    bool isObservingNotifications() const { return !m_observers.empty(); }

    // Window delegates.
    void connectSimpleWifiWithUserpassword(const QJsonObject &params) override;
    void cancelConnect() override;
    void connectEAPWifiWithUserpassword(const QJsonObject &params, bool remember) override;
    void fetchCertificateInfo() override;
    void cancel() override;
    void wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *window, const QJsonObject &params,
                            bool remember) override;
    void setWifiSecurityTypeWindow(QOVAWifiAdvancedConnectWindow *window, const QJsonObject &params) override;
    void cancelAdvanceConnect() override;
    void fetchWindowCertificateInfo() override;
    void wifiManageWindow(QOVAWifiManageWindow *window) override;
    void wifiManageDeleteWindow(QOVAWifiManageWindow *window, const QJsonObject &params) override;

    // Controls.
    QOVALabel *wifiStatusNameLabel() const { return m_wifiStatusNameLabel; }
    ITSwitch *wifiEnableSwitch() const { return m_wifiEnableSwitch; }
    QOVALabel *wifiStatusReminderLabel() const { return m_wifiStatusReminderLabel; }
    QOVAImageView *wifiPromptImageView() const { return m_wifiPromptImageView; }
    QOVALabel *wifiPromptLabel() const { return m_wifiPromptLabel; }
    QOVALabel *wifiNameLabel() const { return m_wifiNameLabel; }
    QOVAPopUpButton *wifiSelectButton() const { return m_wifiSelectButton; }
    QOVALabel *autoConnectLabel() const { return m_autoConnectLabel; }
    ITSwitch *autoConnectEnableSwitch() const { return m_autoConnectEnableSwitch; }
    QOVALabel *autoConnectReminderLabel() const { return m_autoConnectReminderLabel; }
    QOVAButton *joinOtherNetWorkButton() const { return m_joinOtherNetWorkButton; }
    QOVAButton *joinWiFiButton() const { return m_joinWiFiButton; }
    void setReminder(QOVALabel *label, bool on);

    // The last dialog of each kind the page opened (none before).
    QOVAWiFiSimpleWindow *simpleWindow() const { return m_simpleWindow; }
    QOVAWiFiEAPWindow *wifiWindow() const { return m_wifiWindow; }
    QOVAWifiAdvancedConnectWindow *advanceWindow() const { return m_advanceWindow; }
    QOVAWifiManageWindow *manageWindow() const { return m_manageWindow; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutWifiView();
    void placeReminder(QOVALabel *label, ITSwitch *nextTo);
    void observeNotifications();
    void stopObservingNotifications();
    bool hasListedNetwork(const QString &title) const;
    void setMenuPictures(bool shown);

    QOVAWeakDelegate<QOVAWifiDelegate> m_delegate;
    std::shared_ptr<const WifiInfoModel> m_wifiInfoModel;
    std::optional<QString> m_ssid;
    QString m_selectedTitleString;

    QPointer<QOVAWiFiSimpleWindow> m_simpleWindow;
    QPointer<QOVAWiFiEAPWindow> m_wifiWindow;
    QPointer<QOVAWifiAdvancedConnectWindow> m_advanceWindow;
    QPointer<QOVAWifiManageWindow> m_manageWindow;

    QTimer *m_wifiListTimer = nullptr;
    qint64 m_timerCount = 0;
    std::vector<QOVANotificationCenter::ObserverId> m_observers;

    QOVALabel *m_wifiStatusNameLabel = nullptr;
    ITSwitch *m_wifiEnableSwitch = nullptr;
    QOVALabel *m_wifiStatusReminderLabel = nullptr;
    QOVAImageView *m_wifiPromptImageView = nullptr;
    QOVALabel *m_wifiPromptLabel = nullptr;
    QOVALabel *m_wifiNameLabel = nullptr;
    QOVAPopUpButton *m_wifiSelectButton = nullptr;
    QOVALabel *m_autoConnectLabel = nullptr;
    ITSwitch *m_autoConnectEnableSwitch = nullptr;
    QOVALabel *m_autoConnectReminderLabel = nullptr;
    QOVAButton *m_joinOtherNetWorkButton = nullptr;
    QOVAButton *m_joinWiFiButton = nullptr;
};
