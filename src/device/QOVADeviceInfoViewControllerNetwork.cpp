// The device page controller's Wi-Fi and network operations: each page
// action becomes one device request for the open device; its outcome goes
// back into the page that is there when it arrives.

#include "QOVADeviceInfoViewController.h"

#include "QOVAIOManager.h"
#include "log/log.h"

#include "network/QOVANetworkView.h"
#include "network/QOVAWiFISettingsView.h"
#include "network/QOVAWifiJoinParameters.h"

#include "CertInfo.h"
#include "NetworkInfoModel.h"
#include "SavedSSIDInfoModel.h"
#include "WiFiStatusModel.h"
#include "WifiInfoModel.h"

#include "ITSwitch.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"

namespace {

template <typename Model>
std::shared_ptr<const Model> networkReplyModel(const QOVAReplyObject &reply)
{
    const auto *model = std::get_if<QOVAModelRef>(&reply);
    return model ? qova_model_cast<Model>(*model) : nullptr;
}

} // namespace

QOVAWiFISettingsView *QOVADeviceInfoViewController::wifiSettignsView()
{
    return pageAs<QOVAWiFISettingsView>(QStringLiteral("wifiSettignsView"));
}

QOVANetworkView *QOVADeviceInfoViewController::networkView()
{
    return pageAs<QOVANetworkView>(QStringLiteral("networkView"));
}

// --- video bar Wi-Fi ----------------------------------------------------------

void QOVADeviceInfoViewController::wifiEnable(bool enable)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->setDeviceWifiEnable(
        enable, serialNumber(),
        [self, enable](const QString &text) {
            QOVA_LOG(INFO, UI, "Put WiFi Enable Success:%s", qUtf8Printable(text));
            if (!self)
                return;
            QOVAWiFISettingsView *page = self->wifiSettignsView();
            if (!page)
                return;
            page->setWifiControlsEnabled(enable);
            page->autoConnectReminderLabel()->setEnabled(enable);
            if (enable) {
                QOVA_LOG(INFO, UI, "Put WiFi Enable!");
                return;
            }
            QOVA_LOG(INFO, UI, "Put WiFi Disable!");
            page->setSsid(std::nullopt);
            page->showDisconnected();
            page->wifiSelectButton()->removeAllItems();
            page->restoreNetworkMenu();
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "put wifi enable or disable Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::wifiStatus(QOVAWiFISettingsView *page)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QPointer<QOVAWiFISettingsView> target(page);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiStatus(
        serialNumber(),
        [self, target](const QOVAReplyObject &reply) {
            const auto status = networkReplyModel<WiFiStatusModel>(reply);
            if (!self || !target || !status) {
                if (!status)
                    QOVA_LOG(ERROR, UI, "Get WiFi Status Failure: %s", "the reply holds no Wi-Fi status");
                return;
            }
            QOVAWiFISettingsView *page = target;
            page->wifiPromptImageView()->stopAnimating();
            QOVA_LOG(INFO, UI, "Get WiFi Status is Successful!");
            self->printLogForJsonModel(*status);
            page->setWifiControlsEnabled(status->wifi_enable);
            page->autoConnectEnableSwitch()->setChecked(status->wifi_auto_connect);
            page->setReminder(page->autoConnectReminderLabel(), status->wifi_auto_connect);
            if (!status->wifi_enable) {
                QOVA_LOG(INFO, UI, "Orbrin WiFi Module is Disabled!");
                page->wifiEnableSwitch()->setChecked(false);
                page->setReminder(page->wifiStatusReminderLabel(), false);
                page->showDisconnected();
                return;
            }
            QOVA_LOG(INFO, UI, "WiFi Status: The WiFi is Enabled!");
            page->wifiEnableSwitch()->setChecked(true);
            page->setReminder(page->wifiStatusReminderLabel(), true);
            const auto &info = status->wifi_connection_info;
            if (status->wifi_status == QLatin1String("connected")) {
                QOVA_LOG(INFO, UI, "The Orbrin WiFi Have been Connected!");
                if (info && info->mWifiSsid && info->mWifiSsid->octets) {
                    const std::optional<QString> name = qovanet::decodeSsid(*info->mWifiSsid->octets);
                    QOVA_LOG(INFO, UI, "When Get WiFi Status is Connected, The SSID is %s, and the IP address is %s",
                             qUtf8Printable(name.value_or(QString())), qUtf8Printable(status->main_ip_address));
                    page->setSsid(name);
                }
                page->showConnected(status->main_ip_address);
            } else {
                QOVA_LOG(INFO, UI, "Orbrin do not Connect any NetWork!");
                page->showDisconnected();
            }
            const double strength = info && info->signalStrength ? *info->signalStrength : 0.0;
            page->wifiSignalDisplay(qint64(strength));
            QOVA_LOG(INFO, UI, "When Get WiFi Status, WiFi Module is Enabled, Go to Get WiFi List!");
            page->getOrbrinWiFiList();
        },
        [](const QString &reason) { QOVA_LOG(ERROR, UI, "Get WiFi Status Failure: %s", qUtf8Printable(reason)); });
}

void QOVADeviceInfoViewController::wifiList(QOVAWiFISettingsView *page)
{
    QPointer<QOVAWiFISettingsView> target(page);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiInformationList(
        serialNumber(),
        [target](const QOVAReplyObject &reply) {
            const auto list = networkReplyModel<WifiInfoModel>(reply);
            if (!list) {
                QOVA_LOG(ERROR, UI, "Get WiFi List Failure: %s", "the reply holds no network list");
                return;
            }
            QOVA_LOG(INFO, UI, "Get WiFi List Successful!");
            if (!target)
                return;
            target->setWifiInfoModel(list);
            target->reloadNetworkMenu();
        },
        [](const QString &reason) { QOVA_LOG(ERROR, UI, "Get WiFi List Failure: %s", qUtf8Printable(reason)); });
}

void QOVADeviceInfoViewController::requestWiFiConnectedList()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiConnectedList(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto saved = networkReplyModel<SavedSSIDInfoModel>(reply);
            if (!saved) {
                QOVA_LOG(ERROR, UI, "Get WiFi Have Connected List Faiulre:%s", "the reply holds no saved networks");
                return;
            }
            QOVA_LOG(INFO, UI, "Get Connected WiFi List Success!");
            if (!self)
                return;
            self->printLogForJsonModel(*saved);
            if (auto *page = qobject_cast<QOVAWiFISettingsView *>(self->builtPage(QStringLiteral("wifiSettignsView"))))
                page->connectedWiFiInformation(*saved);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get WiFi Have Connected List Faiulre:%s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::connectWifiWithNetWorkName(const QJsonObject &params)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->connectDeviceSpecficWifi(
        params, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "Connect WiFi Success!"); },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Connect WiFi Failure, reason is %s", qUtf8Printable(reason));
            if (!self)
                return;
            if (auto *page = qobject_cast<QOVAWiFISettingsView *>(self->builtPage(QStringLiteral("wifiSettignsView"))))
                page->showNotificationWindow(false, qtTrId("NOTIFICATION_WIFI_JOIN_ERROR"));
        });
}

void QOVADeviceInfoViewController::disconnectWifiWithParam(const QJsonObject &params)
{
    QOVAIOManager::usbManagerShared()->disconnectDeviceSpecficWifi(
        params, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "DisConnect WiFi Success!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "DisConnect WiFi Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::setWifiSecurityType(const QJsonObject &params)
{
    QOVAIOManager::usbManagerShared()->setDeviceWifiSecurityType(
        params, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "Set WiFi Security Type Success!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Set WiFi Security Type Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::getWiFiCetificateInfo()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::getWiFiCetificateInfo");
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getInstalledCertificateinfo(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            const auto info = networkReplyModel<CertInfo>(reply);
            if (!info) {
                QOVA_LOG(INFO, UI, "Get Wi-Fi Certificateinfo Failure %s", "the reply holds no certificate list");
                return;
            }
            QOVA_LOG(INFO, UI, "Get Wi-Fi Certificateinfo Successfully");
            if (!self)
                return;
            if (auto *page = qobject_cast<QOVAWiFISettingsView *>(self->builtPage(QStringLiteral("wifiSettignsView"))))
                page->wifiCertificateInfo(*info);
        },
        [](const QString &reason) {
            QOVA_LOG(INFO, UI, "Get Wi-Fi Certificateinfo Failure %s", qUtf8Printable(reason));
        });
}

// --- network camera -----------------------------------------------------------

namespace {

// The network page if it has been built; replies never build it.
QOVANetworkView *builtNetworkView(const QPointer<QOVADeviceInfoViewController> &controller)
{
    return controller ? qobject_cast<QOVANetworkView *>(controller->builtPage(QStringLiteral("networkView")))
                      : nullptr;
}

} // namespace

void QOVADeviceInfoViewController::networkStatus()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getVaskoNetworkConnectionInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (QOVANetworkView *page = builtNetworkView(self))
                page->networkModel(networkReplyModel<NetworkInfoModel>(reply));
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get NetworkStatus Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::connectIPV4WithDictionaryParams(const QJsonObject &params)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->connetcUSBNetwork(
        serialNumber(), params,
        [self](const QString &text) {
            QOVA_LOG(INFO, UI, "Connect NetworkStatus Success, %s", qUtf8Printable(text));
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Connect NetworkStatus Failure, reason is %s", qUtf8Printable(reason));
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        });
}

void QOVADeviceInfoViewController::enableVaskoWiFi(const QJsonObject &params)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->enableVaskoNetwork(
        serialNumber(), params,
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Enable and Change Network Mode Successful!");
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        },
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Enable and Change Network Mode Failuer!");
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        });
}

void QOVADeviceInfoViewController::enableWiFiAutoConnect(const QJsonObject &params)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->connetcUSBNetwork(
        serialNumber(), params,
        [self](const QString &text) {
            QOVA_LOG(INFO, UI, "Setting Wi-Fi Auto-Connect Success, %s", qUtf8Printable(text));
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Setting Wi-Fi Auto-Connect Failure, reason is %s", qUtf8Printable(reason));
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        });
}

void QOVADeviceInfoViewController::getNetWorkWiFiList()
{
    // The network page offers no Wi-Fi list: the reply is only logged.
    QOVAIOManager::usbManagerShared()->getOrbrinWifiInformationList(
        serialNumber(), [](const QOVAReplyObject &) { QOVA_LOG(INFO, UI, "Get WiFi List Successful!"); },
        [](const QString &reason) { QOVA_LOG(ERROR, UI, "Get WiFi List Failure: %s", qUtf8Printable(reason)); });
}

void QOVADeviceInfoViewController::connectVaskoWifiWithNetWorkName(const QJsonObject &params)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->connectDeviceSpecficWifi(
        params, serialNumber(),
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Connect WiFi Success!");
            if (QOVANetworkView *page = builtNetworkView(self))
                page->restartNetworkTimer();
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Connect WiFi Failure, reason is %s", qUtf8Printable(reason));
            if (QOVANetworkView *page = builtNetworkView(self))
                page->showNotificationWindow(false, qtTrId("NOTIFICATION_WIFI_JOIN_ERROR"));
        });
}

void QOVADeviceInfoViewController::requestVaskoWiFiConnectedList()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinWifiConnectedList(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Get Vasko Connected WiFi List Success!");
            if (const auto saved = networkReplyModel<SavedSSIDInfoModel>(reply); saved && self)
                self->printLogForJsonModel(*saved);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get Vasko WiFi Have Connected List Faiulre:%s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::disconnectVaskoWifiWithParam(const QJsonObject &params)
{
    QOVAIOManager::usbManagerShared()->disconnectDeviceSpecficWifi(
        params, serialNumber(), [](const QString &) { QOVA_LOG(INFO, UI, "DisConnect Vasko WiFi Success!"); },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "DisConnect Vasko WiFi Failure, reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::cancelHIDHandle()
{
    QOVA_LOG(INFO, UI, "QOVADeviceInfoViewController::cancelHIDHandle");
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->cancelOrbrinUSBRequset(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            QOVA_LOG(INFO, UI, "Cancel HID Handle Successfully.");
            if (const auto *model = std::get_if<QOVAModelRef>(&reply); model && self)
                self->printLogForJsonModel(*model);
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Cancel HID Handle Failure, reason is %s", qUtf8Printable(reason));
        });
}
