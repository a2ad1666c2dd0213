#include "QOVAStatusBaseView.h"

#include "QOVALogRedaction.h"
#include "QOVAStatusDotView.h"
#include "QOVAStatusText.h"
#include "QOVAStatusWarningView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include "log/log.h"
#include "models/DeviceInfoModel.h"
#include "platform/TimeScale.h"

#include <QTimer>

#include <cmath>

namespace {

constexpr int kBaseTitleFontType = 1;
constexpr int kBaseValueFontType = 0;
constexpr double kBaseRowFontSize = 13;
constexpr int kBaseTitleLeft = 36;
constexpr int kBaseValueLeft = 200;

} // namespace

QOVAStatusBaseView::QOVAStatusBaseView(const QOVADeviceListItemRef &deviceModel, QWidget *parent)
    : QOVADisplayBaseView(parent), m_deviceModel(deviceModel)
{
    detailViewName()->setStringValue(deviceModel ? deviceModel->productName : QString());
    // The model name the device reports ends before the link icon at the
    // title's right (right inset 46, 24 wide), with a gap of 8.
    setTitleWidth(QOVAStatusText::kPageWidth - 46 - 24 - 8 - kBaseTitleLeft);
}

QOVAStatusBaseView::~QOVAStatusBaseView() = default;

void QOVAStatusBaseView::init()
{
    setupStatusView();
}

void QOVAStatusBaseView::setStatusViewDelegate(QOVAStatusBaseViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_delegateGuarded = m_delegateGuard != nullptr;
}

QOVAStatusBaseViewDelegate *QOVAStatusBaseView::statusViewDelegate() const
{
    if (m_delegateGuarded && m_delegateGuard.isNull())
        return nullptr;
    return m_delegate;
}

// ------------------------------------------------------------------ poll

void QOVAStatusBaseView::requestDeviceInfo()
{
    if (QOVAStatusBaseViewDelegate *delegate = statusViewDelegate())
        delegate->getDeviceInformation(this);
    if (!m_statusTimer)
        startStatusTimer(kStatusIntervalMs);
}

void QOVAStatusBaseView::startStatusTimer(int intervalMs)
{
    // The timer belongs to the page: it never outlives it, and a tick after
    // the page has gone cannot happen.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("statusTimer"));
    timer->setInterval(platform::scaledMs(intervalMs));
    QPointer<QOVAStatusBaseView> self(this);
    connect(timer, &QTimer::timeout, this, [self] {
        if (self)
            self->handleStatusEvent();
    });
    m_statusTimer = timer;
    timer->start();
}

void QOVAStatusBaseView::handleStatusEvent()
{
    QOVA_LOG(INFO, HID, "Orbrin HID Interface handleStatusEvent Timer!");
    if (QOVAStatusBaseViewDelegate *delegate = statusViewDelegate())
        delegate->getDeviceInformation(this);
}

void QOVAStatusBaseView::cancelTimer()
{
    if (!m_statusTimer)
        return;
    m_statusTimer->stop();
    m_statusTimer->deleteLater();
    m_statusTimer = nullptr;
    QOVA_LOG(INFO, UI, "-------------------------------timer is nil");
}

void QOVAStatusBaseView::handleDisplayViewEvent()
{
    QOVA_LOG(INFO, UI, "Status View: Handle Event!");
    requestDeviceInfo();
}

void QOVAStatusBaseView::cancelDisplayViewEvent()
{
    QOVA_LOG(INFO, UI, "Status View: Cancel Event!");
    cancelTimer();
}

void QOVAStatusBaseView::closestatusWarningView()
{
    if (m_warningView)
        m_warningView->hide();
}

// ------------------------------------------------------------------ update

QString QOVAStatusBaseView::wifiImageForStrength(const QString &strength)
{
    const long long value = QOVAStatusText::leadingInteger(strength);
    if (value >= 80)
        return QStringLiteral("icon_wifi_strong");
    if (value >= 31)
        return QStringLiteral("icon_wifi_good");
    if (value >= 1)
        return QStringLiteral("icon_wifi_weak");
    return QStringLiteral("icon_wifi_disconnect");
}

bool QOVAStatusBaseView::readsAsTrue(const QString &text)
{
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        return c == QLatin1Char('Y') || c == QLatin1Char('y') || c == QLatin1Char('T') || c == QLatin1Char('t')
               || (c >= QLatin1Char('1') && c <= QLatin1Char('9'));
    }
    return false;
}

void QOVAStatusBaseView::updateWithDeviceModel(const DeviceInfoModel &model)
{
    detailViewName()->setStringValue(model.model);
    if (m_deviceModelLabel)
        m_deviceModelLabel->setStringValue(model.model);
    if (m_deviceNameLabel)
        m_deviceNameLabel->setStringValue(model.device_name);
    if (m_hardwareVersionLabel)
        m_hardwareVersionLabel->setStringValue(model.version_hw.value_or(QString()));
    if (m_softwareVersionLabel)
        m_softwareVersionLabel->setStringValue(model.version_sw);
    if (m_ipAddressLabel)
        m_ipAddressLabel->setStringValue(model.main_ip_address);
    if (m_macAddressLabel)
        m_macAddressLabel->setStringValue(model.main_mac_address);
    if (m_serialNumberLabel)
        m_serialNumberLabel->setStringValue(model.sn.value_or(QString()));

    QString provisionText = qtTrId("STRING_DISCONNECTED");

    if (m_deviceDiagnosticLabel) {
        const QString code = model.emmc_pre_eol
                                 ? model.emmc_lifetime.value_or(QString()) + QStringLiteral(" / ") + *model.emmc_pre_eol
                                 : QStringLiteral("N/A");
        m_deviceDiagnosticLabel->setStringValue(code);
        QOVAStatusText::fitWidth(m_deviceDiagnosticLabel);
    }

    // The banner is only ever shown by a reply; its close button hides it.
    if (m_warningView && readsAsTrue(model.show_alert.value_or(QString())))
        m_warningView->show();

    if (model.provision_status == QLatin1String("connected")) {
        // The address is shown without the user name and password it may
        // carry.
        const QString url = model.provision_server_info
                                ? model.provision_server_info->provision_server_url.value_or(QString())
                                : QString();
        provisionText = addressWithoutUserInfo(url);
    }
    if (m_provisionServerLabel) {
        m_provisionServerLabel->setStringValue(provisionText);
        QOVAStatusText::fitWidth(m_provisionServerLabel);
    }

    if (m_deviceWifiIcon)
        m_deviceWifiIcon->setImageName(wifiImageForStrength(model.wifi_signal_strength));

    if (m_provisionStatusIcon)
        m_provisionStatusIcon->setColorString(model.provision_status == QLatin1String("disconnected")
                                                  ? QStringLiteral("ff0000")
                                                  : QStringLiteral("39d73c"));

    if (m_referenceLabel) {
        m_referenceLabel->setStringValue(QStringLiteral("%1 %2").arg(model.model, qtTrId("STRING_HELP")));
        QOVAStatusText::fitWidth(m_referenceLabel);
    }
}

// ------------------------------------------------------------------ widgets

QOVALabel *QOVAStatusBaseView::label(QPointer<QOVALabel> &slot, const QString &name, int fontType, double size)
{
    if (!slot) {
        slot = new QOVALabel(this);
        slot->setObjectName(name);
        slot->setFont(fontWithSFProDisplay(size, fontType));
        slot->show();
    }
    return slot;
}

QOVALabel *QOVAStatusBaseView::deviceNameBigLabel()
{
    const bool made = m_deviceNameBigLabel;
    QOVALabel *l = label(m_deviceNameBigLabel, QStringLiteral("deviceNameBigLabel"), QOVAFontBoldItalic, 16);
    if (!made)
        l->setMaximumNumberOfLines(1);
    return l;
}

QOVAImageView *QOVAStatusBaseView::deviceWifiIcon()
{
    if (!m_deviceWifiIcon) {
        m_deviceWifiIcon = new QOVAImageView(this);
        m_deviceWifiIcon->setObjectName(QStringLiteral("deviceWifiIcon"));
        m_deviceWifiIcon->show();
    }
    return m_deviceWifiIcon;
}

QWidget *QOVAStatusBaseView::splitLine1()
{
    if (!m_splitLine1) {
        m_splitLine1 = new QWidget(this);
        m_splitLine1->setObjectName(QStringLiteral("splitLine1"));
        m_splitLine1->setAutoFillBackground(true);
        QPalette palette = m_splitLine1->palette();
        palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
        m_splitLine1->setPalette(palette);
        m_splitLine1->show();
    }
    return m_splitLine1;
}

QOVAImageView *QOVAStatusBaseView::deviceImage()
{
    if (!m_deviceImage) {
        m_deviceImage = new QOVAImageView(this);
        m_deviceImage->setObjectName(QStringLiteral("deviceImage"));
        m_deviceImage->show();
    }
    return m_deviceImage;
}

#define QOVA_TITLE_LABEL(getter, key)                                                                \
    QOVALabel *QOVAStatusBaseView::getter()                                                          \
    {                                                                                                \
        const bool made = m_##getter;                                                                \
        QOVALabel *l = label(m_##getter, QStringLiteral(#getter), kBaseTitleFontType, kBaseRowFontSize);      \
        if (!made)                                                                                   \
            l->setStringValue(qtTrId(key));                                                          \
        return l;                                                                                    \
    }
#define QOVA_VALUE_LABEL(getter)                                                                     \
    QOVALabel *QOVAStatusBaseView::getter()                                                          \
    {                                                                                                \
        const bool made = m_##getter;                                                                \
        QOVALabel *l = label(m_##getter, QStringLiteral(#getter), kBaseValueFontType, kBaseRowFontSize);      \
        if (!made)                                                                                   \
            QOVAStatusText::showOnOneLine(l);                                                        \
        return l;                                                                                    \
    }

QOVA_TITLE_LABEL(deviceModelTitleLabel, "STRING_DEVICE_MODEL")
QOVA_VALUE_LABEL(deviceModelLabel)
QOVA_TITLE_LABEL(deviceNameTitleLabel, "STRING_DEVICE_NAME")
QOVA_TITLE_LABEL(hardwareVersionTitleLabel, "STRING_HARDWARE_VERSION")
QOVA_VALUE_LABEL(hardwareVersionLabel)
QOVA_TITLE_LABEL(softwareVersionTitleLabel, "STRING_SOFTWARE_VERSION")
QOVA_VALUE_LABEL(softwareVersionLabel)
QOVA_TITLE_LABEL(ipAddressTitleLabel, "STRING_IP_ADDRESS")
QOVA_VALUE_LABEL(ipAddressLabel)
QOVA_TITLE_LABEL(macAddressTitleLabel, "STRING_MAC_ADDRESS")
QOVA_VALUE_LABEL(macAddressLabel)
QOVA_TITLE_LABEL(serialNumberTitleLabel, "STRING_SERIAL_NUMBER")
QOVA_VALUE_LABEL(serialNumberLabel)
QOVA_TITLE_LABEL(provisionServerTitleLabel, "STRING_PROVISION_SERVER")
QOVA_VALUE_LABEL(provisionServerLabel)
QOVA_TITLE_LABEL(referenceTitleLabel, "STRING_REFERENCE")

#undef QOVA_TITLE_LABEL
#undef QOVA_VALUE_LABEL

QOVALabel *QOVAStatusBaseView::deviceNameLabel()
{
    const bool made = m_deviceNameLabel;
    QOVALabel *l = label(m_deviceNameLabel, QStringLiteral("deviceNameLabel"), kBaseValueFontType, kBaseRowFontSize);
    if (!made)
        QOVAStatusText::showOnOneLine(l);
    return l;
}

QOVAStatusDotView *QOVAStatusBaseView::provisionStatusIcon()
{
    if (!m_provisionStatusIcon) {
        m_provisionStatusIcon = new QOVAStatusDotView(this);
        m_provisionStatusIcon->setObjectName(QStringLiteral("provisionStatusIcon"));
        m_provisionStatusIcon->show();
    }
    return m_provisionStatusIcon;
}

QOVALabel *QOVAStatusBaseView::referenceLabel()
{
    const bool made = m_referenceLabel;
    QOVALabel *l = label(m_referenceLabel, QStringLiteral("referenceLabel"), kBaseValueFontType, kBaseRowFontSize);
    if (!made) {
        l->setTextColor(colorWithString(QStringLiteral("#3592ca"), 1.0));
        l->setLineBreakMode(QOVALabel::ByCharWrapping);
        l->setMaximumNumberOfLines(1);
    }
    return l;
}

QOVALabel *QOVAStatusBaseView::deviceDiagnosticTitileLable()
{
    const bool made = m_deviceDiagnosticTitileLable;
    QOVALabel *l = label(m_deviceDiagnosticTitileLable, QStringLiteral("deviceDiagnosticTitileLable"), kBaseTitleFontType,
                         kBaseRowFontSize);
    if (!made) {
        const QString text = qtTrId("STRING_DEVICE_DIAGNOSTIC_CODE");
        l->setStringValue(text == QLatin1String("STRING_DEVICE_DIAGNOSTIC_CODE") || text.isEmpty()
                              ? QStringLiteral("Device Diagnostic Code:")
                              : text);
    }
    return l;
}

QOVALabel *QOVAStatusBaseView::deviceDiagnosticLabel()
{
    const bool made = m_deviceDiagnosticLabel;
    QOVALabel *l =
        label(m_deviceDiagnosticLabel, QStringLiteral("deviceDiagnosticLabel"), kBaseValueFontType, kBaseRowFontSize);
    if (!made) {
        l->setLineBreakMode(QOVALabel::ByCharWrapping);
        l->setMaximumNumberOfLines(1);
    }
    return l;
}

QOVAStatusWarningView *QOVAStatusBaseView::warningView()
{
    if (!m_warningView) {
        m_warningView = new QOVAStatusWarningView(this);
        m_warningView->setObjectName(QStringLiteral("warningView"));
        m_warningView->setWarningViewDelegate(this);
        m_warningView->hide();
    }
    return m_warningView;
}

// ------------------------------------------------------------------ layout helpers

QOVALabel *QOVAStatusBaseView::makeTitleLabel(const char *key)
{
    auto *l = new QOVALabel(this);
    l->setObjectName(QLatin1String(key));
    l->setFont(fontWithSFProDisplay(kBaseRowFontSize, kBaseTitleFontType));
    l->setStringValue(qtTrId(key));
    l->show();
    return l;
}

QOVALabel *QOVAStatusBaseView::makeValueLabel()
{
    auto *l = new QOVALabel(this);
    l->setFont(fontWithSFProDisplay(kBaseRowFontSize, kBaseValueFontType));
    QOVAStatusText::showOnOneLine(l);
    l->show();
    return l;
}

int QOVAStatusBaseView::placeRow(QOVALabel *title, QWidget *value, int top, int titleWidth, int valueWidth)
{
    title->setGeometry(kBaseTitleLeft, top, titleWidth, m_rowHeight);
    if (value)
        value->setGeometry(kBaseValueLeft, top, valueWidth, m_rowHeight);
    return top + m_rowHeight;
}

int QOVAStatusBaseView::placeProvisionRow(int top, int titleWidth)
{
    provisionServerTitleLabel()->setGeometry(kBaseTitleLeft, top, titleWidth, m_rowHeight);
    provisionStatusIcon()->setGeometry(kBaseValueLeft, top + (m_rowHeight - 12) / 2, 12, 12);
    provisionServerLabel()->setGeometry(kBaseValueLeft + 12 + 5, top, 0, m_rowHeight);
    QOVAStatusText::fitWidth(provisionServerLabel());
    return top + m_rowHeight;
}
