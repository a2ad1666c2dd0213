#include "QOVAOOBVaskoNetworkView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"

#include "network/QOVANetworkPopUp.h"

#include "NetworkInfoModel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"

#include <QTimer>
#include <QtMath>

namespace {

constexpr int kNetworkLeft = 260;

QOVAButton *networkLink(QWidget *parent, const QString &text)
{
    return QOVAButton::linkButton(parent, text, fontWithSFProDisplay(13, QOVAFontRegular));
}

} // namespace

QOVAOOBVaskoNetworkView::QOVAOOBVaskoNetworkView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    configOOBNetworkView();
    layoutOOBNetworkView();
}

void QOVAOOBVaskoNetworkView::configOOBNetworkView()
{
    pageControlView()->setHidden(false);
    pageIndicatorView()->setHidden(false);
    pageIndicatorView()->wifiLabel()->setStringValue(qtTrId("STRING_NETWORK"));
    pageIndicatorView()->setupPageIndicatorView();
    pageIndicatorView()->setCurrentStep(2);
    setNextEnabled(false);
    setSubTitleText(qtTrId("STRING_SET_NETWORK"));

    m_statusIcon = new QWidget(this);
    setDot("9b9b9b");
    m_statusLabel = new QOVALabel(this);
    m_statusLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_statusLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
    m_statusLabel->setStringValue(qtTrId("STRING_DISCONNECTED"));
    m_statusLabel->setToolTip(QString());

    m_networkLabel = new QOVALabel(this);
    m_networkLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_networkLabel->setTextColor(Qt::black);
    m_networkLabel->setStringValue(qtTrId("STRING_NETWORK2"));

    m_networkButton = new QOVAPopUpButton(this);
    qovanet::addItem(m_networkButton, qtTrId("STRING_ETHERNET"), ModeEthernet);
    qovanet::addItem(m_networkButton, qtTrId("STRING_NONE"), ModeNone);
    m_networkButton->setFontWithString(QStringLiteral("616161"), 1.0, 13, QOVAFontRegular);
    m_networkButton->selectItemAtIndex(0);
    connect(m_networkButton, &QComboBox::activated, this, [this](int index) { selectNetworkMode(index); });

    m_ipv4Button = networkLink(this, qtTrId("STRING_ETHERNET_IPV4_SETTINGS"));
    connect(m_ipv4Button, &QOVAButton::clicked, this, [this] { clickIPV4Settings(); });
    m_securityButton = networkLink(this, qtTrId("STRING_ETHERNET_SECURITY_SETTINGS"));
    connect(m_securityButton, &QOVAButton::clicked, this, [this] { clickSecuritySettings(); });
}

void QOVAOOBVaskoNetworkView::layoutOOBNetworkView()
{
    m_statusIcon->setGeometry(kNetworkLeft, 125, 12, 12);
    const int statusWidth = qCeil(m_statusLabel->textSize(1000).width()) + 4;
    const int statusHeight = qMax(16, qCeil(m_statusLabel->textSize(1000).height()));
    m_statusLabel->setGeometry(kNetworkLeft + 12 + 6, 131 - statusHeight / 2, qMin(statusWidth, 820 - 290),
                               statusHeight);
    const int labelTop = 137 + 24;
    const int labelHeight = qMax(16, qCeil(m_networkLabel->textSize(280).height()));
    m_networkLabel->setGeometry(kNetworkLeft, labelTop, 280, labelHeight);
    const int popupTop = labelTop + labelHeight + 5;
    m_networkButton->setGeometry(kNetworkLeft, popupTop, 280, 20);
    // The links take the rows of 15 points; the buttons are a little taller
    // than a row so that the 13-point titles are not clipped.
    const int ipv4Top = popupTop + 20 + 21;
    m_ipv4Button->setGeometry(254, ipv4Top - 3, qCeil(m_ipv4Button->textLength()) + 4, 21);
    m_securityButton->setGeometry(254, ipv4Top + 15 + 25 - 3, qCeil(m_securityButton->textLength()) + 4, 21);
}

void QOVAOOBVaskoNetworkView::setDot(const char *colour)
{
    m_dotColour = colorWithString(QLatin1String(colour), 1.0);
    m_statusIcon->setStyleSheet(
        QStringLiteral("background-color: #%1; border-radius: 6px;").arg(QLatin1String(colour)));
}

void QOVAOOBVaskoNetworkView::showEthernetLayout(bool shown)
{
    m_ipv4Button->setVisible(shown);
    m_securityButton->setVisible(shown);
}

void QOVAOOBVaskoNetworkView::setNextEnabled(bool enabled)
{
    pageControlView()->nextButton()->setDisabled(!enabled);
}

// --- current or not -------------------------------------------------------------

void QOVAOOBVaskoNetworkView::handleDisplayViewEvent()
{
    m_current = true;
    if (auto *d = delegate())
        d->networkStatus();
    if (!isPolling())
        startNetworkTimer(kPollInterval);
}

void QOVAOOBVaskoNetworkView::cancelDisplayViewEvent()
{
    QOVA_LOG(INFO, UI, "Network View: Cancel Event!");
    m_current = false;
    cancelNetworkTimer();
}

// --- poll --------------------------------------------------------------------------

void QOVAOOBVaskoNetworkView::startNetworkTimer(double interval)
{
    if (!m_networkTimer) {
        m_networkTimer = new QTimer(this);
        connect(m_networkTimer, &QTimer::timeout, this, [this] { handleNetworkStatusEvent(); });
    }
    m_networkTimer->start(platform::scaledMs(interval * 1000.0));
}

void QOVAOOBVaskoNetworkView::cancelNetworkTimer()
{
    if (!isPolling())
        return;
    m_networkTimer->stop();
    QOVA_LOG(INFO, UI, "-------------------------------timer is nil");
}

bool QOVAOOBVaskoNetworkView::isPolling() const
{
    return m_networkTimer && m_networkTimer->isActive();
}

void QOVAOOBVaskoNetworkView::handleNetworkStatusEvent()
{
    if (auto *d = delegate())
        d->networkStatus();
}

void QOVAOOBVaskoNetworkView::restartNetworkTimer()
{
    // A reply or a window's cancel after the page stopped being current
    // leaves the poll stopped; the next showing starts it again.
    if (!m_current || isPolling())
        return;
    startNetworkTimer(kPollInterval);
}

void QOVAOOBVaskoNetworkView::restartTimer()
{
    restartNetworkTimer();
}

void QOVAOOBVaskoNetworkView::restartNetworkViewTimer()
{
    restartNetworkTimer();
}

// --- status ------------------------------------------------------------------------

void QOVAOOBVaskoNetworkView::networkModel(const std::shared_ptr<const NetworkInfoModel> &model)
{
    if (!model) {
        QOVA_LOG(INFO, UI, "Network Model is nil");
        return;
    }
    m_ipv4SettingModel = model->IPV4setting;
    m_eth802_1_xModel = model->Security_802_1_x;
    QString address;
    int mode = ModeNone;
    if (model->network_mode == QLatin1String("Ethernet")) {
        mode = ModeEthernet;
        if (model->IPV4setting)
            address = model->IPV4setting->main_ip_address;
        showEthernetLayout(true);
    } else {
        showEthernetLayout(false);
    }
    const int at = qovanet::indexOfTag(m_networkButton, mode);
    if (at > 0) {
        const QString title = m_networkButton->itemText(at);
        m_networkButton->removeItem(at);
        m_networkButton->insertItem(0, title);
        qovanet::setTag(m_networkButton, 0, mode);
    }
    m_networkButton->selectItemAtIndex(0);
    m_networkButton->setFontWithString(QStringLiteral("616161"), 1.0, 13, QOVAFontRegular);

    if (model->isNetwork_status()) {
        const QString connected = qtTrId("STRING_CONNECTED");
        // Without an address to show the status says only "connected".
        m_statusLabel->setStringValue(address.isEmpty() ? connected
                                                        : QStringLiteral("%1  |  %2").arg(connected, address));
        m_statusLabel->setTextColor(colorWithString(QStringLiteral("0077bd"), 1.0));
        setDot("39d73c");
        setNextEnabled(true);
    } else {
        m_statusLabel->setStringValue(qtTrId("STRING_DISCONNECTED"));
        m_statusLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
        setDot("9b9b9b");
        setNextEnabled(false);
    }
    m_statusLabel->setToolTip(QString());
    layoutOOBNetworkView();
}

// --- user actions ----------------------------------------------------------------------

void QOVAOOBVaskoNetworkView::selectNetworkMode(int index)
{
    cancelNetworkTimer();
    const bool ethernet = qovanet::tagAt(m_networkButton, index) == ModeEthernet;
    showEthernetLayout(ethernet);
    if (auto *d = delegate())
        d->enableVaskoWiFi(QJsonObject{
            {QStringLiteral("network_mode"), ethernet ? QStringLiteral("Ethernet") : QStringLiteral("None")}});
}

void QOVAOOBVaskoNetworkView::clickIPV4Settings()
{
    cancelNetworkTimer();
    auto *window = new QOVAIPV4Window(420, 408, m_ipv4SettingModel);
    m_ipv4Window = window;
    window->setIpv4Connectdelegate(this);
    window->show();
}

void QOVAOOBVaskoNetworkView::clickSecuritySettings()
{
    cancelNetworkTimer();
    auto *window = new QOVA8021xEthernetWindow(420, 442, m_eth802_1_xModel);
    m_securityWindow = window;
    window->setEthernetDelegate(this);
    window->show();
}

void QOVAOOBVaskoNetworkView::pageControlGoNext(QOVAHalvexPageControlView *)
{
    if (pageControlView()->nextButton()->disabled())
        return;
    if (auto *d = delegate())
        d->clickNextOnNetwork();
}

void QOVAOOBVaskoNetworkView::connectNetwork(const QJsonObject &ipv4Settings)
{
    if (auto *d = delegate())
        d->connectIPV4WithDictionaryParams(QJsonObject{{QStringLiteral("network_mode"), QStringLiteral("Ethernet")},
                                                       {QStringLiteral("IPV4setting"), ipv4Settings}});
}

void QOVAOOBVaskoNetworkView::connectSecurityNetwork(const QJsonObject &security8021x)
{
    if (auto *d = delegate())
        d->connectIPV4WithDictionaryParams(QJsonObject{{QStringLiteral("network_mode"), QStringLiteral("Ethernet")},
                                                       {QStringLiteral("Security_802_1_x"), security8021x}});
}
