#include "QOVAWiFISettingsView.h"

#include "QOVANetworkPopUp.h"
#include "QOVAWifiDelegate.h"
#include "QOVAWifiJoinParameters.h"

#include "CertInfo.h"
#include "SavedSSIDInfoModel.h"
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

#include <QAbstractItemView>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QtMath>

namespace {

constexpr int kWifiPageLeft = 36;
constexpr int kWifiPageControlsLeft = 200;
constexpr int kWifiPageRowHeight = 36;

QOVALabel *wifiPageLabel(QWidget *parent, const QString &text, const char *colour = "000000")
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    label->setTextColor(colorWithString(QLatin1String(colour), 1.0));
    label->setStringValue(text);
    return label;
}

ITSwitch *wifiPageSwitch(QWidget *parent)
{
    auto *sw = new ITSwitch(parent);
    sw->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    sw->setChecked(false);
    return sw;
}

QOVAButton *wifiPageLink(QWidget *parent, const QString &text)
{
    return QOVAButton::linkButton(parent, text, fontWithSFProDisplay(13, QOVAFontRegular));
}

} // namespace

QOVAWiFISettingsView::QOVAWiFISettingsView(QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_wifiInfoModel(std::make_shared<WifiInfoModel>())
{
    detailViewName()->setStringValue(qtTrId("STRING_WIFI_SETTINGS"));
    m_wifiListTimer = new QTimer(this);
    connect(m_wifiListTimer, &QTimer::timeout, this, [this] { handleWiFiListEvent(); });
    layoutWifiView();
}

QOVAWiFISettingsView::~QOVAWiFISettingsView()
{
    stopObservingNotifications();
}

void QOVAWiFISettingsView::layoutWifiView()
{
    m_wifiStatusNameLabel = wifiPageLabel(this, qtTrId("STRING_WIFI_STATUS"));
    m_wifiEnableSwitch = wifiPageSwitch(this);
    connect(m_wifiEnableSwitch, &ITSwitch::triggered, this, [this] { clickWifiEnable(); });
    m_wifiStatusReminderLabel = wifiPageLabel(this, qtTrId("STRING_OFF"), "2e2e2e");

    m_wifiPromptImageView = new QOVAImageView(this);
    m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_disconnect"));
    m_wifiPromptLabel = wifiPageLabel(this, qtTrId("STRING_DISCONNECTED"), "666668");

    m_wifiNameLabel = wifiPageLabel(this, qtTrId("STRING_WIFI_NAME"));
    m_wifiSelectButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_wifiSelectButton, qtTrId("STRING_NONE"), kNoNetworkTag);
    m_wifiSelectButton->setFontWithString(QStringLiteral("616161"), 1.0, 13, QOVAFontRegular);
    connect(m_wifiSelectButton, &QComboBox::activated, this, [this](int index) { handlePopBtn(index); });
    m_wifiSelectButton->view()->window()->installEventFilter(this);

    m_autoConnectLabel = wifiPageLabel(this, qtTrId("STRING_AUTOMATICALLY_CONNECT_NETWORK"));
    m_autoConnectEnableSwitch = wifiPageSwitch(this);
    connect(m_autoConnectEnableSwitch, &ITSwitch::triggered, this, [this] { clickAutoConnectEnable(); });
    m_autoConnectReminderLabel = wifiPageLabel(this, qtTrId("STRING_OFF"), "2e2e2e");

    m_joinOtherNetWorkButton = wifiPageLink(this, qtTrId("STRING_JOIN_OTHER_NETWORK"));
    connect(m_joinOtherNetWorkButton, &QOVAButton::clicked, this, [this] { joinOtherNetWork(); });
    m_joinWiFiButton = wifiPageLink(this, qtTrId("STRING_MANAGE_KNOWN_NETWORKS"));
    connect(m_joinWiFiButton, &QOVAButton::clicked, this, [this] { clickManageWiFiButton(); });
}

void QOVAWiFISettingsView::resizeEvent(QResizeEvent *event)
{
    QOVADisplayBaseView::resizeEvent(event);
    const int statusTop = splitLine()->geometry().bottom() + 1 + 16;
    // Labels are one line high, centred in their 36-point rows.
    m_wifiStatusNameLabel->setGeometry(kWifiPageLeft, statusTop + 9, 150, 18);
    const int centre = statusTop + kWifiPageRowHeight / 2;
    m_wifiEnableSwitch->setGeometry(kWifiPageControlsLeft, centre - 9, 38, 18);
    placeReminder(m_wifiStatusReminderLabel, m_wifiEnableSwitch);

    const int promptTop = statusTop + kWifiPageRowHeight;
    m_wifiPromptImageView->setGeometry(kWifiPageControlsLeft, promptTop, 36, 36);
    const int promptWidth = qCeil(m_wifiPromptLabel->textSize(1000).width()) + 4;
    m_wifiPromptLabel->setGeometry(kWifiPageControlsLeft + 36 + 8, promptTop + 9, qMin(promptWidth, width() - 250), 18);

    const int nameTop = promptTop + kWifiPageRowHeight;
    m_wifiNameLabel->setGeometry(kWifiPageLeft, nameTop + 9, 150, 18);
    m_wifiSelectButton->setGeometry(kWifiPageControlsLeft, nameTop + kWifiPageRowHeight / 2 - 10, 198, 20);

    const int autoTop = nameTop + kWifiPageRowHeight;
    m_autoConnectLabel->setGeometry(kWifiPageLeft, autoTop + 9, 150, 18);
    m_autoConnectEnableSwitch->setGeometry(kWifiPageControlsLeft, autoTop + kWifiPageRowHeight / 2 - 9, 38, 18);
    placeReminder(m_autoConnectReminderLabel, m_autoConnectEnableSwitch);

    const int joinTop = autoTop + kWifiPageRowHeight;
    const int joinWidth = qCeil(m_joinOtherNetWorkButton->textLength());
    m_joinOtherNetWorkButton->setGeometry(kWifiPageControlsLeft, joinTop + 8, joinWidth, 20);
    const int manageWidth = qCeil(m_joinWiFiButton->textLength());
    m_joinWiFiButton->setGeometry(kWifiPageControlsLeft, joinTop + kWifiPageRowHeight + 8, manageWidth, 20);
}

void QOVAWiFISettingsView::placeReminder(QOVALabel *label, ITSwitch *nextTo)
{
    const QRect sw = nextTo->geometry();
    const int w = qCeil(label->textSize(400).width()) + 4;
    label->setGeometry(sw.right() + 1 + 8, sw.center().y() - 9, w, 18);
}

void QOVAWiFISettingsView::setReminder(QOVALabel *label, bool on)
{
    label->setStringValue(qtTrId(on ? "STRING_ON" : "STRING_OFF"));
    placeReminder(label, label == m_autoConnectReminderLabel ? m_autoConnectEnableSwitch : m_wifiEnableSwitch);
}

// --- showing and leaving ---------------------------------------------------

void QOVAWiFISettingsView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    observeNotifications();
    if (QOVAWifiDelegate *d = delegate())
        d->wifiStatus(this);
}

void QOVAWiFISettingsView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
    cancelTimer();
    stopObservingNotifications();
    m_wifiPromptImageView->stopAnimating();
}

void QOVAWiFISettingsView::observeNotifications()
{
    if (!m_observers.empty())
        return;
    QOVANotificationCenter::defaultCenter().addObservers(
        this,
        {{"QOVAWiFiConnectedInformation", &QOVAWiFISettingsView::receiveWiFiConnectedNotification},
         {"QOVAWiFiDisconnectedInformation", &QOVAWiFISettingsView::receiveWiFiDisconnectedNotification},
         {"QOVAWiFiConnectingInformation", &QOVAWiFISettingsView::receiveWiFiConnectingNotification},
         {"QOVAWiFiEnableInformation", &QOVAWiFISettingsView::receiveWiFiEnableNotification},
         {"QOVAWifiDisableInformation", &QOVAWiFISettingsView::receiveWiFiDisableNotification}},
        m_observers);
}

void QOVAWiFISettingsView::stopObservingNotifications()
{
    QOVANotificationCenter::defaultCenter().removeObservers(m_observers);
}

// --- updates from the owner -------------------------------------------------

void QOVAWiFISettingsView::setWifiInfoModel(std::shared_ptr<const WifiInfoModel> model)
{
    m_wifiInfoModel = model ? std::move(model) : std::make_shared<WifiInfoModel>();
}

void QOVAWiFISettingsView::getOrbrinWiFiList()
{
    QOVA_LOG(INFO, UI, "Get Wi-Fi List!");
    startWiFiListTimer(kRefreshInterval);
}

void QOVAWiFISettingsView::wifiSignalDisplay(qint64 strength)
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

void QOVAWiFISettingsView::showDisconnected()
{
    m_wifiPromptImageView->stopAnimating();
    m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_disconnect"));
    m_wifiPromptImageView->show();
    m_wifiPromptLabel->setStringValue(qtTrId("STRING_DISCONNECTED"));
    m_wifiPromptLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
    resizeEvent(nullptr);
}

void QOVAWiFISettingsView::showConnected(const QString &address)
{
    m_wifiPromptImageView->stopAnimating();
    m_wifiPromptImageView->setImageName(QStringLiteral("icon_wifi_strong"));
    const QString connected = qtTrId("STRING_CONNECTED");
    m_wifiPromptLabel->setStringValue(address.isEmpty() ? connected
                                                        : QStringLiteral("%1  |  %2").arg(connected, address));
    m_wifiPromptLabel->setTextColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    resizeEvent(nullptr);
}

void QOVAWiFISettingsView::setWifiControlsEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_wifiSelectButton, m_autoConnectEnableSwitch,
                                                             m_joinWiFiButton, m_joinOtherNetWorkButton})
        control->setEnabled(enabled);
}

void QOVAWiFISettingsView::reloadNetworkMenu()
{
    QOVAPopUpButton *popup = m_wifiSelectButton;
    popup->removeAllItems();
    for (const auto &entry : m_wifiInfoModel->ssid_info) {
        if (!entry)
            continue;
        qovanet::addItem(popup, entry->ssid,
                         entry->encryptionType == QLatin1String("[ESS]") ? kOpenNetworkTag : 0);
    }
    restoreNetworkMenu();
}

void QOVAWiFISettingsView::restoreNetworkMenu()
{
    QOVAPopUpButton *popup = m_wifiSelectButton;
    if (m_ssid && popup->findText(*m_ssid, Qt::MatchExactly) >= 0) {
        // The connected network moves to the top; it keeps its own tag.
        const int at = popup->findText(*m_ssid, Qt::MatchExactly);
        const int tag = qovanet::tagAt(popup, at);
        popup->insertItemWithTitle(*m_ssid, 0);
        qovanet::setTag(popup, 0, tag);
    } else {
        const int existing = qovanet::indexOfTag(popup, kNoNetworkTag);
        if (existing >= 0)
            popup->removeItem(existing);
        popup->insertItem(0, qtTrId("STRING_NONE"));
        qovanet::setTag(popup, 0, kNoNetworkTag);
    }
    popup->selectItemAtIndex(0);
}

void QOVAWiFISettingsView::connectedWiFiInformation(const SavedSSIDInfoModel &model)
{
    if (m_manageWindow)
        m_manageWindow->connectedWiFiInformation(model);
}

void QOVAWiFISettingsView::wifiCertificateInfo(const CertInfo &info)
{
    if (m_wifiWindow)
        m_wifiWindow->wifiCertificateInfo(info);
    if (m_advanceWindow)
        m_advanceWindow->wifiCertificateInfo(info);
}

// --- list refresh -------------------------------------------------------------

void QOVAWiFISettingsView::startWiFiListTimer(double interval)
{
    // One run at a time: a new start ends the running run first.
    cancelTimer();
    m_timerCount = 0;
    m_wifiListTimer->start(platform::scaledMs(interval * 1000.0));
}

bool QOVAWiFISettingsView::isListRefreshRunning() const
{
    return m_wifiListTimer->isActive();
}

void QOVAWiFISettingsView::cancelTimer()
{
    if (m_wifiListTimer->isActive()) {
        QOVA_LOG(INFO, HID, "Stop The _wifiListTimer!");
        m_wifiListTimer->stop();
    }
    m_timerCount = 0;
}

void QOVAWiFISettingsView::handleWiFiListEvent()
{
    QOVA_LOG(INFO, HID, "Orbrin HID Interface handleWiFiListEvent!");
    const qint64 old = m_timerCount;
    m_timerCount = old + 1;
    if (old < kRefreshRequests) {
        QOVA_LOG(INFO, UI, "This is the %lld time to get WiFi List", static_cast<long long>(old + 1));
        if (QOVAWifiDelegate *d = delegate())
            d->wifiList(this);
        return;
    }
    QOVA_LOG(INFO, UI, "Stop the WiFi Timer!");
    cancelTimer();
}

// --- user actions ---------------------------------------------------------------

void QOVAWiFISettingsView::clickWifiEnable()
{
    QOVA_LOG(INFO, UI, "clickWifiEnable!");
    const bool on = m_wifiEnableSwitch->checked();
    setReminder(m_wifiStatusReminderLabel, on);
    if (QOVAWifiDelegate *d = delegate())
        d->wifiEnable(on);
}

void QOVAWiFISettingsView::clickAutoConnectEnable()
{
    const bool on = m_autoConnectEnableSwitch->checked();
    setReminder(m_autoConnectReminderLabel, on);
    if (QOVAWifiDelegate *d = delegate())
        d->connectWifiWithNetWorkName(qovanet::autoConnectRecord(on));
}

bool QOVAWiFISettingsView::hasListedNetwork(const QString &title) const
{
    for (const auto &entry : m_wifiInfoModel->ssid_info) {
        if (entry && entry->ssid == title)
            return true;
    }
    return false;
}

void QOVAWiFISettingsView::handlePopBtn(int index)
{
    const QString title = m_wifiSelectButton->itemText(index);
    QOVA_LOG(INFO, UI, "Select The WifiSSID %s", qUtf8Printable(title));
    if (!m_wifiEnableSwitch->checked())
        return;
    m_selectedTitleString = title;
    if (qovanet::tagAt(m_wifiSelectButton, index) == kNoNetworkTag)
        return;
    // A name listed more than once (one entry per band) is one network: one
    // window, one join.
    for (const auto &entry : m_wifiInfoModel->ssid_info) {
        if (!entry || entry->ssid != title)
            continue;
        if (qovanet::isEnterpriseNetwork(entry->encryptionType)) {
            auto *window = new QOVAWiFiEAPWindow(420, 490, title);
            window->setAttribute(Qt::WA_DeleteOnClose, false);
            m_wifiWindow = window;
            window->setEapDelegate(this);
            window->getCertificateInfo();
            window->show();
        } else {
            auto *window = new QOVAWiFiSimpleWindow(QOVAWiFiSimpleWindow::kWidth, QOVAWiFiSimpleWindow::kHeight, title,
                                                    qovanet::normalisedSecurityType(entry->encryptionType));
            m_simpleWindow = window;
            window->setSimpleDelegate(this);
            window->show();
        }
        return;
    }
}

void QOVAWiFISettingsView::joinOtherNetWork()
{
    if (!m_wifiEnableSwitch->checked())
        return;
    QOVA_LOG(INFO, UI, "Join Other NetWork!");
    auto *window = new QOVAWifiAdvancedConnectWindow(QOVAWifiAdvancedConnectWindow::kWidth,
                                                     QOVAWifiAdvancedConnectWindow::kPskHeight);
    m_advanceWindow = window;
    window->setWindowDelegate(this);
    window->getWiFiCertificate();
    window->show();
}

void QOVAWiFISettingsView::clickManageWiFiButton()
{
    if (!m_wifiEnableSwitch->checked())
        return;
    auto *window = new QOVAWifiManageWindow(420, 300);
    m_manageWindow = window;
    window->setWifiManageDelegate(this);
    window->requestWiFiConnectedList();
    window->show();
}

// --- Wi-Fi events -------------------------------------------------------------------

void QOVAWiFISettingsView::receiveWiFiConnectedNotification()
{
    QOVA_LOG(INFO, UI, "Receive WiFi Connected Information, Go to Get WiFi Status!");
    if (QOVAWifiDelegate *d = delegate())
        d->wifiStatus(this);
}

void QOVAWiFISettingsView::receiveWiFiDisconnectedNotification()
{
    m_ssid.reset();
    showDisconnected();
    restoreNetworkMenu();
}

void QOVAWiFISettingsView::receiveWiFiConnectingNotification()
{
    m_wifiPromptLabel->setStringValue(qtTrId("STRING_CONNECTING"));
    m_wifiPromptLabel->setTextColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    m_wifiPromptImageView->setAnimationImages(
        QStringList{QStringLiteral("icon_wifi_weak"), QStringLiteral("icon_wifi_good"), QStringLiteral("icon_wifi_strong")});
    m_wifiPromptImageView->startAnimating();
    resizeEvent(nullptr);
}

void QOVAWiFISettingsView::receiveWiFiEnableNotification()
{
    QOVA_LOG(INFO, UI, "WiFi Setting View Receive WiFi Enable Notification!");
    startWiFiListTimer(kRefreshInterval);
}

void QOVAWiFISettingsView::receiveWiFiDisableNotification()
{
    QOVA_LOG(INFO, UI, "WiFi Setting View Receive WiFi Disable Notification!");
}

// --- window delegates ---------------------------------------------------------------

void QOVAWiFISettingsView::connectSimpleWifiWithUserpassword(const QJsonObject &params)
{
    // One join for the picked network, however many bands list it; none when
    // a refresh has dropped it meanwhile.
    if (!hasListedNetwork(m_selectedTitleString))
        return;
    if (QOVAWifiDelegate *d = delegate())
        d->connectWifiWithNetWorkName(params);
}

void QOVAWiFISettingsView::connectEAPWifiWithUserpassword(const QJsonObject &params, bool)
{
    connectSimpleWifiWithUserpassword(params);
}

void QOVAWiFISettingsView::cancelConnect()
{
    restoreNetworkMenu();
}

void QOVAWiFISettingsView::cancel()
{
    restoreNetworkMenu();
}

void QOVAWiFISettingsView::cancelAdvanceConnect()
{
    restoreNetworkMenu();
}

void QOVAWiFISettingsView::fetchCertificateInfo()
{
    if (QOVAWifiDelegate *d = delegate())
        d->getWiFiCetificateInfo();
}

void QOVAWiFISettingsView::fetchWindowCertificateInfo()
{
    fetchCertificateInfo();
}

void QOVAWiFISettingsView::wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &params, bool)
{
    if (QOVAWifiDelegate *d = delegate())
        d->connectWifiWithNetWorkName(params);
}

void QOVAWiFISettingsView::setWifiSecurityTypeWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &params)
{
    if (QOVAWifiDelegate *d = delegate())
        d->setWifiSecurityType(params);
}

void QOVAWiFISettingsView::wifiManageWindow(QOVAWifiManageWindow *)
{
    if (QOVAWifiDelegate *d = delegate())
        d->requestWiFiConnectedList();
}

void QOVAWiFISettingsView::wifiManageDeleteWindow(QOVAWifiManageWindow *, const QJsonObject &params)
{
    if (QOVAWifiDelegate *d = delegate())
        d->disconnectWifiWithParam(params);
    const QString name = params.value(QStringLiteral("ssid")).toString();
    QOVA_LOG(INFO, UI, "Forget WiFi about SSID is %s", qUtf8Printable(name));
    if (m_wifiSelectButton->titleOfSelectedItem() == name) {
        const int existing = qovanet::indexOfTag(m_wifiSelectButton, kNoNetworkTag);
        if (existing >= 0)
            m_wifiSelectButton->removeItem(existing);
        m_wifiSelectButton->insertItem(0, qtTrId("STRING_NONE"));
        qovanet::setTag(m_wifiSelectButton, 0, kNoNetworkTag);
        m_wifiSelectButton->selectItemAtIndex(0);
    }
}

// --- menu pictures ------------------------------------------------------------------

void QOVAWiFISettingsView::setMenuPictures(bool shown)
{
    for (int i = 0; i < m_wifiSelectButton->count(); ++i) {
        if (!shown) {
            m_wifiSelectButton->setItemIcon(i, QIcon());
            continue;
        }
        const bool open = qovanet::tagAt(m_wifiSelectButton, i) == kOpenNetworkTag;
        const QString path = QOVAImageView::imagePath(open ? QStringLiteral("icon-wifi-trans-security")
                                                           : QStringLiteral("icon-wifi-security"));
        m_wifiSelectButton->setItemIcon(i, QIcon(path));
    }
}

bool QOVAWiFISettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_wifiSelectButton->view()->window()) {
        if (event->type() == QEvent::Show)
            setMenuPictures(true);
        else if (event->type() == QEvent::Hide)
            setMenuPictures(false);
    }
    return QOVADisplayBaseView::eventFilter(watched, event);
}
