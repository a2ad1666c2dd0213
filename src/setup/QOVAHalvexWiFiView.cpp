#include "QOVAHalvexWiFiView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"

#include "network/QOVAWifiJoinParameters.h"

#include "MWiFissid.h"
#include "WiFiStatusModel.h"
#include "WifiConnectionInfoModel.h"
#include "WifiInfoModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"

#include <QTimer>
#include <QtMath>

namespace {

constexpr int kWiFiLeft = 260;

QOVALabel *wifiSetupLabel(QWidget *parent, const QString &text, const char *colour, int type, int size)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, type));
    label->setTextColor(colorWithString(QLatin1String(colour), 1.0));
    label->setStringValue(text);
    label->setToolTip(QString());
    return label;
}

ITSwitch *wifiSetupSwitch(QWidget *parent)
{
    auto *sw = new ITSwitch(parent);
    sw->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    sw->setChecked(false);
    return sw;
}

int labelHeight(QOVALabel *label, int width)
{
    return qMax(14, qCeil(label->textSize(width).height()));
}

} // namespace

QOVAHalvexWiFiView::QOVAHalvexWiFiView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
    , m_wifiInfoModel(std::make_shared<WifiInfoModel>())
{
    m_oobWiFiListTimer = new QTimer(this);
    connect(m_oobWiFiListTimer, &QTimer::timeout, this, [this] { handleWiFiListEvent(); });
    configOOBWiFiView();
    observeNotifications();
}

QOVAHalvexWiFiView::~QOVAHalvexWiFiView()
{
    stopEvents();
}

void QOVAHalvexWiFiView::configOOBWiFiView()
{
    setSubTitleText(qtTrId("OOB_SELECT_WIFI"));
    pageControlView()->setHidden(false);
    pageIndicatorView()->setHidden(false);
    pageIndicatorView()->setCurrentStep(2);
    setNextEnabled(false);

    m_wifiSettingLabel = wifiSetupLabel(this, qtTrId("STRING_WIFI_STATUS"), "000000", QOVAFontItalic, 10);
    m_oobWiFiEnableSwitch = wifiSetupSwitch(this);
    connect(m_oobWiFiEnableSwitch, &ITSwitch::triggered, this, [this] { clickoobWifiEnable(); });
    m_oobWifiStatusReminderLabel = wifiSetupLabel(this, qtTrId("STRING_OFF"), "2e2e2e", QOVAFontRegular, 10);

    m_wifiPromptImageView = new QOVAImageView(this);
    m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_disconnect"));
    m_wifiPromptLabel = wifiSetupLabel(this, qtTrId("STRING_DISCONNECTED"), "666668", QOVAFontItalic, 14);

    m_wifiListLabel = wifiSetupLabel(this, qtTrId("STRING_WIFI_NAME"), "000000", QOVAFontItalic, 10);
    m_oobWifiSelectButton = new QOVAPopUpButton(this);
    m_oobWifiSelectButton->addItemWithTitle(qtTrId("STRING_NONE"));
    m_oobWifiSelectButton->setFontWithString(QStringLiteral("616161"), 1.0, 13, QOVAFontRegular);
    m_oobWifiSelectButton->setEnabled(false);
    connect(m_oobWifiSelectButton, &QComboBox::activated, this, [this](int index) { selectWiFi(index); });

    m_autoConnectLabel =
        wifiSetupLabel(this, qtTrId("STRING_AUTOMATICALLY_CONNECT_NETWORK"), "000000", QOVAFontItalic, 10);
    m_autoConnectLabel->setMaximumNumberOfLines(0);
    m_autoConnectEnableSwitch = wifiSetupSwitch(this);
    m_autoConnectEnableSwitch->setEnabled(false);
    connect(m_autoConnectEnableSwitch, &ITSwitch::triggered, this, [this] { clickAutoConnectEnable(); });
    m_autoConnectReminderLabel = wifiSetupLabel(this, qtTrId("STRING_OFF"), "2e2e2e", QOVAFontRegular, 10);

    m_joinOtherNetWorkButton = QOVAButton::linkButton(this, qtTrId("STRING_JOIN_OTHER_NETWORK"),
                                                      fontWithSFProDisplay(14, QOVAFontItalic));
    m_joinOtherNetWorkButton->setDisabled(true);
    connect(m_joinOtherNetWorkButton, &QOVAButton::clicked, this, [this] { joinOtherNetWork(); });
    layoutWiFiView();
}

void QOVAHalvexWiFiView::layoutWiFiView()
{
    const int settingHeight = labelHeight(m_wifiSettingLabel, 150);
    m_wifiSettingLabel->setGeometry(kWiFiLeft, 133, 150, settingHeight);
    const int settingCentre = 133 + settingHeight / 2;
    const int switchLeft = kWiFiLeft + 150 + 16;
    m_oobWiFiEnableSwitch->setGeometry(switchLeft, settingCentre - 9, 38, 18);
    const int reminderWidth = qCeil(m_oobWifiStatusReminderLabel->textSize(400).width()) + 4;
    const int reminderHeight = labelHeight(m_oobWifiStatusReminderLabel, 400);
    m_oobWifiStatusReminderLabel->setGeometry(switchLeft + 38 + 16, settingCentre - reminderHeight / 2,
                                              reminderWidth, reminderHeight);

    m_wifiPromptImageView->setGeometry(kWiFiLeft, 163, 24, 24);
    const int promptWidth = qCeil(m_wifiPromptLabel->textSize(1000).width()) + 4;
    const int promptHeight = labelHeight(m_wifiPromptLabel, 1000);
    m_wifiPromptLabel->setGeometry(kWiFiLeft + 24 + 8, 163 + 12 - promptHeight / 2, qMin(promptWidth, 820 - 300),
                                   promptHeight);

    m_wifiListLabel->setGeometry(kWiFiLeft, 216, 280, labelHeight(m_wifiListLabel, 280));
    m_oobWifiSelectButton->setGeometry(kWiFiLeft, 238, 280, 20);

    const int autoTop = 238 + 20 + 15;
    const int autoHeight = labelHeight(m_autoConnectLabel, 150);
    m_autoConnectLabel->setGeometry(kWiFiLeft, autoTop, 150, autoHeight);
    const int autoCentre = autoTop + autoHeight / 2;
    m_autoConnectEnableSwitch->setGeometry(switchLeft, autoCentre - 9, 38, 18);
    const int autoReminderWidth = qCeil(m_autoConnectReminderLabel->textSize(400).width()) + 4;
    m_autoConnectReminderLabel->setGeometry(switchLeft + 38 + 16, autoCentre - reminderHeight / 2,
                                            qMax(reminderWidth, autoReminderWidth), reminderHeight);

    const int joinTop = autoTop + autoHeight + 15;
    m_joinOtherNetWorkButton->setGeometry(kWiFiLeft, joinTop, qCeil(m_joinOtherNetWorkButton->textLength()), 20);
}

// --- events ------------------------------------------------------------------

void QOVAHalvexWiFiView::observeNotifications()
{
    QOVANotificationCenter::defaultCenter().addObservers(
        this,
        {{"QOVAWiFiConnectedInformation", &QOVAHalvexWiFiView::receiveWiFiConnectedNotification},
         {"QOVAWiFiConnectingInformation", &QOVAHalvexWiFiView::receiveWiFiConnectingNotification},
         {"QOVAWiFiDisconnectedInformation", &QOVAHalvexWiFiView::receiveWiFiDisconnectedNotification},
         {"QOVAWiFiEnableInformation", &QOVAHalvexWiFiView::receiveWiFiEnableNotification},
         {"QOVAWifiDisableInformation", &QOVAHalvexWiFiView::receiveWiFiDisableNotification}},
        m_observers);
}

void QOVAHalvexWiFiView::stopEvents()
{
    m_stopped = true;
    cancelTimer();
    QOVANotificationCenter::defaultCenter().removeObservers(m_observers);
    if (m_wifiPromptImageView)
        m_wifiPromptImageView->stopAnimating();
}

void QOVAHalvexWiFiView::receiveWiFiConnectedNotification()
{
    QOVA_LOG(INFO, UI, "Receive WiFi Connected Information, Go to Get WiFi Status!");
    setNextEnabled(true);
    m_wifiPromptImageView->stopAnimating();
    if (auto *d = delegate())
        d->wifiStatus();
}

void QOVAHalvexWiFiView::receiveWiFiConnectingNotification()
{
    showPrompt(qtTrId("STRING_CONNECTING"), "0077bd");
    m_wifiPromptImageView->setAnimationImages(QStringList{
        QStringLiteral("icon_wifi_weak"), QStringLiteral("icon_wifi_good"), QStringLiteral("icon_wifi_strong")});
    m_wifiPromptImageView->startAnimating();
}

void QOVAHalvexWiFiView::receiveWiFiDisconnectedNotification()
{
    m_wifiPromptImageView->stopAnimating();
    setNextEnabled(false);
    showDisconnected();
}

void QOVAHalvexWiFiView::receiveWiFiEnableNotification()
{
    QOVA_LOG(INFO, UI, "WiFi Setting View Receive WiFi Enable Notification!");
    startWiFiListTimer(kRefreshInterval);
}

void QOVAHalvexWiFiView::receiveWiFiDisableNotification()
{
    showDisconnected();
    m_oobWifiSelectButton->removeAllItems();
    m_oobWifiSelectButton->addItemWithTitle(qtTrId("STRING_NONE"));
    m_oobWifiSelectButton->selectItemAtIndex(0);
}

// --- display -------------------------------------------------------------------

void QOVAHalvexWiFiView::setNextEnabled(bool enabled)
{
    pageControlView()->nextButton()->setDisabled(!enabled);
}

void QOVAHalvexWiFiView::setControlsEnabled(bool enabled)
{
    m_joinOtherNetWorkButton->setDisabled(!enabled);
    m_oobWifiSelectButton->setEnabled(enabled);
    m_autoConnectEnableSwitch->setEnabled(enabled);
}

void QOVAHalvexWiFiView::setReminder(QOVALabel *label, bool on)
{
    label->setStringValue(qtTrId(on ? "STRING_ON" : "STRING_OFF"));
    label->setToolTip(QString());
    layoutWiFiView();
}

void QOVAHalvexWiFiView::showPrompt(const QString &text, const char *colour)
{
    m_wifiPromptLabel->setStringValue(text);
    m_wifiPromptLabel->setToolTip(QString());
    m_wifiPromptLabel->setTextColor(colorWithString(QLatin1String(colour), 1.0));
    layoutWiFiView();
}

void QOVAHalvexWiFiView::showDisconnected()
{
    m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_disconnect"));
    showPrompt(qtTrId("STRING_DISCONNECTED"), "666668");
}

void QOVAHalvexWiFiView::wifiSignalDisplay(qint64 strength)
{
    QOVA_LOG(INFO, UI, "WiFi Signal Strength is %lld", static_cast<long long>(strength));
    const char *image = "icon_wifi_disconnect";
    if (strength >= 80)
        image = "icon_wifi_strong";
    else if (strength >= 31)
        image = "icon_wifi_good";
    else if (strength >= 1)
        image = "icon_wifi_weak";
    m_wifiPromptImageView->setImageName(QLatin1String(image));
}

void QOVAHalvexWiFiView::updateOOBWiFiStatus(const std::shared_ptr<const WiFiStatusModel> &model)
{
    if (!model)
        return;
    QOVA_LOG(INFO, UI, "WiFi Status: The WiFi is Enabled!");
    const bool enabled = model->isWifi_enable();
    setControlsEnabled(enabled);
    m_oobWiFiEnableSwitch->setChecked(enabled);
    m_autoConnectEnableSwitch->setChecked(model->isWifi_auto_connect());
    setReminder(m_autoConnectReminderLabel, model->isWifi_auto_connect());
    if (enabled) {
        setReminder(m_oobWifiStatusReminderLabel, true);
        const std::shared_ptr<const WifiConnectionInfoModel> info = model->wifi_connection_info;
        if (model->wifi_status == QLatin1String("connected")) {
            setNextEnabled(true);
            QOVA_LOG(INFO, HID, "The Orbrin WiFi Have been Connected!");
            m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_strong"));
            showPrompt(QStringLiteral("%1  |  %2").arg(qtTrId("STRING_CONNECTED"), model->main_ip_address), "0077bd");
            if (info && info->mWifiSsid && info->mWifiSsid->octets) {
                // A name that cannot be read (an entry outside a byte, or
                // none at all) leaves the last known name in place.
                const std::optional<QString> name = qovanet::decodeSsid(*info->mWifiSsid->octets);
                if (name && !name->isEmpty()) {
                    QOVA_LOG(INFO, UI, "When Get WiFi Status is Connected, The SSID is %s, and the IP address is %s",
                             qUtf8Printable(*name), qUtf8Printable(model->main_ip_address));
                    m_ssid = *name;
                    m_oobWifiSelectButton->insertItemWithTitle(*name, 0);
                    m_oobWifiSelectButton->selectItemAtIndex(0);
                }
            }
        } else {
            setNextEnabled(false);
            QOVA_LOG(INFO, UI, "Orbrin do not Connect any NetWork!");
            showDisconnected();
        }
        const double strength = info && info->signalStrength ? *info->signalStrength : 0.0;
        wifiSignalDisplay(qint64(strength));
        if (auto *d = delegate())
            d->getWiFiList();
    } else {
        setReminder(m_oobWifiStatusReminderLabel, false);
        QOVA_LOG(INFO, HID, "WiFi Can Not Use!");
        setNextEnabled(false);
    }
    QOVA_LOG(INFO, HID, "When Get WiFi Status, WiFi Module is Enabled, Go to Get WiFi List!");
}

void QOVAHalvexWiFiView::updateOOBWiFiList(const std::shared_ptr<const WifiInfoModel> &model)
{
    m_wifiInfoModel = model ? model : std::make_shared<WifiInfoModel>();
    QOVAPopUpButton *popup = m_oobWifiSelectButton;
    popup->removeAllItems();
    for (const auto &entry : m_wifiInfoModel->ssid_info) {
        if (entry)
            popup->addItemWithTitle(entry->ssid);
    }
    if (m_ssid && popup->itemTitles().contains(*m_ssid))
        popup->insertItemWithTitle(*m_ssid, 0);
    else
        popup->insertItemWithTitle(qtTrId("STRING_NONE"), 0);
    popup->selectItemAtIndex(0);
}

// --- list refresh -----------------------------------------------------------------

void QOVAHalvexWiFiView::startWiFiListTimer(double interval)
{
    cancelTimer();
    if (m_stopped)
        return;
    m_timerCount = 0;
    m_oobWiFiListTimer->start(platform::scaledMs(interval * 1000.0));
}

void QOVAHalvexWiFiView::cancelTimer()
{
    if (m_oobWiFiListTimer && m_oobWiFiListTimer->isActive()) {
        QOVA_LOG(INFO, HID, "Stop The _wifiListTimer!");
        m_oobWiFiListTimer->stop();
    }
}

bool QOVAHalvexWiFiView::isListRefreshRunning() const
{
    return m_oobWiFiListTimer->isActive();
}

void QOVAHalvexWiFiView::handleWiFiListEvent()
{
    QOVA_LOG(INFO, HID, "Orbrin HID Interface handleWiFiListEvent!");
    const qint64 count = m_timerCount;
    ++m_timerCount;
    if (count == kRefreshRequests) {
        QOVA_LOG(INFO, UI, "Stop the WiFi Timer!");
        cancelTimer();
        m_timerCount = 0;
        return;
    }
    QOVA_LOG(INFO, UI, "This is the %lld time to get WiFi List", static_cast<long long>(m_timerCount));
    if (auto *d = delegate())
        d->getWiFiList();
}

// --- user actions -----------------------------------------------------------------

void QOVAHalvexWiFiView::clickoobWifiEnable()
{
    QOVA_LOG(INFO, UI, "clickWifiEnable!");
    const bool on = m_oobWiFiEnableSwitch->checked();
    setControlsEnabled(on);
    setReminder(m_oobWifiStatusReminderLabel, on);
    if (auto *d = delegate())
        d->wifiEnable(on);
}

void QOVAHalvexWiFiView::clickAutoConnectEnable()
{
    const bool on = m_autoConnectEnableSwitch->checked();
    setReminder(m_autoConnectReminderLabel, on);
    if (auto *d = delegate())
        d->connectOOBWifiWithNetWorkName(qovanet::autoConnectRecord(on));
}

void QOVAHalvexWiFiView::selectWiFi(int index)
{
    const QString title = m_oobWifiSelectButton->itemText(index);
    QOVA_LOG(INFO, UI, "Select The WifiSSID %s", qUtf8Printable(title));
    if (!m_oobWiFiEnableSwitch->checked())
        return;
    // A name the scan lists more than once (one entry per band) is one
    // network: one window, for the first entry.
    for (const auto &entry : m_wifiInfoModel->ssid_info) {
        if (!entry || entry->ssid != title)
            continue;
        if (qovanet::isEnterpriseNetwork(entry->encryptionType)) {
            auto *window = new QOVAWiFiEAPWindow(420, 490, title);
            m_eapWindow = window;
            window->setEapDelegate(this);
            window->show();
        } else {
            auto *window = new QOVAWiFiSimpleWindow(440, 280, title,
                                                    qovanet::normalisedSecurityType(entry->encryptionType));
            m_simpleWindow = window;
            window->setSimpleDelegate(this);
            window->show();
        }
        return;
    }
}

void QOVAHalvexWiFiView::joinOtherNetWork()
{
    QOVA_LOG(INFO, UI, "Join Other NetWork!");
    auto *window = new QOVAWifiAdvancedConnectWindow(420, 310);
    m_advanceWindow = window;
    window->setWindowDelegate(this);
    window->show();
}

void QOVAHalvexWiFiView::cancelHandler()
{
    QOVAPopUpButton *popup = m_oobWifiSelectButton;
    popup->insertItemWithTitle(m_ssid ? *m_ssid : qtTrId("STRING_NONE"), 0);
    popup->selectItemAtIndex(0);
}

void QOVAHalvexWiFiView::pageControlGoNext(QOVAHalvexPageControlView *)
{
    if (pageControlView()->nextButton()->disabled())
        return;
    if (auto *d = delegate())
        d->gotoOOBProvisionView();
}

// --- join windows -------------------------------------------------------------------

void QOVAHalvexWiFiView::connectSimpleWifiWithUserpassword(const QJsonObject &params)
{
    if (auto *d = delegate())
        d->connectOOBWifiWithNetWorkName(params);
}

void QOVAHalvexWiFiView::cancelConnect()
{
    cancelHandler();
}

void QOVAHalvexWiFiView::connectEAPWifiWithUserpassword(const QJsonObject &params, bool)
{
    if (auto *d = delegate())
        d->connectOOBWifiWithNetWorkName(params);
}

void QOVAHalvexWiFiView::cancel()
{
    cancelHandler();
}

void QOVAHalvexWiFiView::wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &params, bool)
{
    if (auto *d = delegate())
        d->connectOOBWifiWithNetWorkName(params);
}

void QOVAHalvexWiFiView::cancelAdvanceConnect()
{
    cancelHandler();
}
