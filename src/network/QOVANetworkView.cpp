#include "QOVANetworkView.h"

#include "QOVANetworkDelegate.h"
#include "QOVANetworkPopUp.h"

#include "NetworkInfoModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"

#include <QPropertyAnimation>
#include <QTimer>
#include <QtMath>

namespace {

constexpr int kNetworkPageLeft = 36;
constexpr int kNetworkPageControlsLeft = 200;

QOVALabel *networkPageLabel(QWidget *parent, const QString &text, int size)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, QOVAFontRegular));
    label->setTextColor(Qt::black);
    label->setStringValue(text);
    return label;
}

QOVAButton *networkPageLink(QWidget *parent, const QString &text)
{
    auto *button = QOVAButton::linkButton(parent, text, fontWithSFProDisplay(14, QOVAFontRegular));
    button->hide();
    return button;
}

} // namespace

QOVANetworkView::QOVANetworkView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_NETWORK_SETTINGS"));
    layoutNetworkView();
}

void QOVANetworkView::layoutNetworkView()
{
    m_networkStatusNameLabel = networkPageLabel(this, qtTrId("STRING_STATUS_COLON"), 13);
    m_networkConnectStatusIcon = new QWidget(this);
    setLight("9b9b9b");
    m_networkPromptLabel = networkPageLabel(this, qtTrId("STRING_DISCONNECTED"), 14);
    m_networkPromptLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
    m_networkModeLabel = networkPageLabel(this, qtTrId("STRING_NETWORK_MODE"), 13);
    m_networkModeSelectedButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_networkModeSelectedButton, qtTrId("STRING_NONE"), ModeNone);
    qovanet::addItem(m_networkModeSelectedButton, qtTrId("STRING_ETHERNET"), ModeEthernet);
    m_networkModeSelectedButton->selectItemAtIndex(0);
    connect(m_networkModeSelectedButton, &QComboBox::activated, this, [this](int index) { selectNerworkMode(index); });
    m_ethernetIPV4SettingButton = networkPageLink(this, qtTrId("STRING_ETHERNET_IPV4_SETTINGS"));
    connect(m_ethernetIPV4SettingButton, &QOVAButton::clicked, this, [this] { clickIPV4Button(); });
    m_ethernetSecuritySettingButton = networkPageLink(this, qtTrId("STRING_ETHERNET_SECURITY_SETTINGS"));
    connect(m_ethernetSecuritySettingButton, &QOVAButton::clicked, this, [this] { clickEthernetSecuritySetting(); });
}

void QOVANetworkView::resizeEvent(QResizeEvent *event)
{
    QOVADisplayBaseView::resizeEvent(event);
    const int statusTop = qRound(splitLine()->geometry().bottom() + 1 + 26.4);
    m_networkStatusNameLabel->setGeometry(kNetworkPageLeft, statusTop, 150, 24);
    const int centre = statusTop + 12;
    m_networkConnectStatusIcon->setGeometry(kNetworkPageControlsLeft, centre - 6, 12, 12);
    const int promptWidth = qCeil(m_networkPromptLabel->textSize(1000).width()) + 4;
    m_networkPromptLabel->setGeometry(kNetworkPageControlsLeft + 12 + 8, centre - 12, qMin(promptWidth, width() - 240), 24);
    const int modeTop = statusTop + 24 + 15;
    m_networkModeLabel->setGeometry(kNetworkPageLeft, modeTop, 150, 24);
    m_networkModeSelectedButton->setGeometry(kNetworkPageControlsLeft, modeTop, 198, 24);
    const int ipv4Top = modeTop + 24 + 25;
    m_ethernetIPV4SettingButton->setGeometry(kNetworkPageControlsLeft, ipv4Top,
                                             qCeil(m_ethernetIPV4SettingButton->textLength()), 20);
    m_ethernetSecuritySettingButton->setGeometry(kNetworkPageControlsLeft, ipv4Top + 20 + 25,
                                                 qCeil(m_ethernetSecuritySettingButton->textLength()), 20);
}

void QOVANetworkView::setLight(const char *colour)
{
    m_lightColour = colorWithString(QLatin1String(colour), 1.0);
    m_networkConnectStatusIcon->setStyleSheet(
        QStringLiteral("background-color: #%1; border-radius: 6px;").arg(QLatin1String(colour)));
}

// --- showing and leaving ------------------------------------------------------

void QOVANetworkView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    m_shown = true;
    if (QOVANetworkDelegate *d = delegate())
        d->networkStatus();
    if (!isPolling())
        startNetworkTimer(kPollInterval);
}

void QOVANetworkView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
    m_shown = false;
    QOVA_LOG(INFO, UI, "Network View: Cancel Event!");
    cancelNetworkTimer();
}

// --- poll -----------------------------------------------------------------------

void QOVANetworkView::startNetworkTimer(double interval)
{
    if (!m_networkTimer) {
        m_networkTimer = new QTimer(this);
        connect(m_networkTimer, &QTimer::timeout, this, [this] { handleNetworkStatusEvent(); });
    }
    m_networkTimer->start(platform::scaledMs(interval * 1000.0));
}

bool QOVANetworkView::isPolling() const
{
    return m_networkTimer && m_networkTimer->isActive();
}

void QOVANetworkView::handleNetworkStatusEvent()
{
    if (QOVANetworkDelegate *d = delegate())
        d->networkStatus();
}

void QOVANetworkView::cancelNetworkTimer()
{
    if (!isPolling())
        return;
    m_networkTimer->stop();
    QOVA_LOG(INFO, UI, "-------------------------------timer is nil");
}

void QOVANetworkView::restartNetworkTimer()
{
    // A reply that arrives after the user has left the page leaves the poll
    // stopped; the next showing starts it again.
    if (!m_shown || isPolling())
        return;
    startNetworkTimer(kPollInterval);
}

void QOVANetworkView::restartTimer()
{
    restartNetworkTimer();
}

void QOVANetworkView::restartNetworkViewTimer()
{
    restartNetworkTimer();
}

// --- status display ---------------------------------------------------------------

void QOVANetworkView::enableNetworkView(bool enabled)
{
    m_ethernetIPV4SettingButton->setDisabled(!enabled);
    m_ethernetSecuritySettingButton->setDisabled(!enabled);
    m_ethernetIPV4SettingButton->setEnabled(enabled);
    m_ethernetSecuritySettingButton->setEnabled(enabled);
    // A link that does nothing looks it.
    const QColor text = colorWithString(enabled ? QStringLiteral("0077bd") : QStringLiteral("a6a6a6"), 1.0);
    m_ethernetIPV4SettingButton->setTextColor(text);
    m_ethernetSecuritySettingButton->setTextColor(text);
}

void QOVANetworkView::switchNetworkToEthernet()
{
    m_ethernetIPV4SettingButton->show();
    m_ethernetSecuritySettingButton->show();
}

void QOVANetworkView::showMode(int mode)
{
    QOVAPopUpButton *popup = m_networkModeSelectedButton;
    const int at = qovanet::indexOfTag(popup, mode);
    if (at > 0) {
        const QString title = popup->itemText(at);
        popup->removeItem(at);
        popup->insertItem(0, title);
        qovanet::setTag(popup, 0, mode);
    }
    popup->selectItemAtIndex(0);
}

void QOVANetworkView::networkModel(const std::shared_ptr<const NetworkInfoModel> &model)
{
    if (!model) {
        QOVA_LOG(INFO, UI, "Network Model is nil");
        return;
    }
    m_ipv4SettingModel = model->IPV4setting;
    m_eth802_1_xModel = model->Security_802_1_x;
    QString address;
    if (model->network_mode == QLatin1String("Ethernet") || model->network_mode == QLatin1String("Wi-Fi")) {
        if (model->IPV4setting)
            address = model->IPV4setting->main_ip_address;
        switchNetworkToEthernet();
        enableNetworkView(true);
        showMode(ModeEthernet);
    } else {
        enableNetworkView(false);
        showMode(ModeNone);
    }
    if (model->network_status) {
        const QString connected = qtTrId("STRING_CONNECTED");
        m_networkPromptLabel->setStringValue(address.isEmpty() ? connected
                                                               : QStringLiteral("%1  |  %2").arg(connected, address));
        m_networkPromptLabel->setTextColor(colorWithString(QStringLiteral("0077bd"), 1.0));
        setLight("39d73c");
    } else {
        m_networkPromptLabel->setStringValue(qtTrId("STRING_DISCONNECTED"));
        m_networkPromptLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
        setLight("9b9b9b");
    }
    resizeEvent(nullptr);
}

// --- user actions -------------------------------------------------------------------

void QOVANetworkView::selectNerworkMode(int index)
{
    cancelNetworkTimer();
    const bool ethernet = qovanet::tagAt(m_networkModeSelectedButton, index) == ModeEthernet;
    if (ethernet) {
        switchNetworkToEthernet();
        enableNetworkView(true);
    } else {
        enableNetworkView(false);
    }
    resizeEvent(nullptr);
    if (QOVANetworkDelegate *d = delegate())
        d->enableVaskoWiFi(QJsonObject{{QStringLiteral("network_mode"), ethernet ? QStringLiteral("Ethernet")
                                                                                 : QStringLiteral("None")}});
}

void QOVANetworkView::clickIPV4Button()
{
    cancelNetworkTimer();
    auto *window = new QOVAIPV4Window(420, 408, m_ipv4SettingModel);
    window->setIpv4Connectdelegate(this);
    window->show();
}

void QOVANetworkView::clickEthernetSecuritySetting()
{
    cancelNetworkTimer();
    auto *window = new QOVA8021xEthernetWindow(420, 442, m_eth802_1_xModel);
    window->setEthernetDelegate(this);
    window->show();
}

void QOVANetworkView::connectNetwork(const QJsonObject &ipv4Settings)
{
    if (QOVANetworkDelegate *d = delegate())
        d->connectIPV4WithDictionaryParams(
            QJsonObject{{QStringLiteral("network_mode"), QStringLiteral("Ethernet")},
                        {QStringLiteral("IPV4setting"), ipv4Settings}});
}

void QOVANetworkView::connectSecurityNetwork(const QJsonObject &security8021x)
{
    if (QOVANetworkDelegate *d = delegate())
        d->connectIPV4WithDictionaryParams(
            QJsonObject{{QStringLiteral("network_mode"), QStringLiteral("Ethernet")},
                        {QStringLiteral("Security_802_1_x"), security8021x}});
}
