#include "QOVAWiFiSimpleWindow.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

#include "log/log.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include <QCheckBox>

namespace {

enum SimpleWindowAddressTag { kSimpleWindowDhcpTag = 0, kSimpleWindowStaticTag = 1 };
constexpr int kSimpleWindowLabelWidth = 178;
constexpr int kSimpleWindowRowLabelHeight = 14;

} // namespace

QOVAWiFiSimpleWindow::QOVAWiFiSimpleWindow(double width, double height, const QString &wifiName,
                                           const QString &encryptionType)
    : QOVAWifiBaseWindow(width, height)
    , m_ssid(wifiName)
    , m_encryptionType(encryptionType)
{
    if (isOpenNetwork()) {
        setTitleText(wifiName);
    } else {
        setTitleText(qtTrId("STRING_WIFI_NETWORK") + QStringLiteral(" \"") + wifiName + QStringLiteral("\" ")
                     + qtTrId("STRING_REQUIRE_PASSWORD"));
    }
    layoutWindow();
    if (isOpenNetwork())
        formatButton(m_joinButton, true, true);
}

void QOVAWiFiSimpleWindow::layoutWindow()
{
    QWidget *content = contentView();
    const QFont font13 = fontWithSFProDisplay(13, QOVAFontRegular);
    const QFont font12 = fontWithSFProDisplay(12, QOVAFontRegular);

    int boxTop = 0;
    if (isOpenNetwork()) {
        m_securityLabel = new QOVALabel(content);
        m_securityLabel->setFont(font13);
        m_securityLabel->setTextColor(Qt::black);
        m_securityLabel->setStringValue(qtTrId("STRING_SECURITY") + QStringLiteral("  ") + qtTrId("STRING_NONE"));
        m_securityLabel->setGeometry(114, 108, 256, 18);
        boxTop = 145;
    } else {
        m_passwordLabel = qovanet::rowLabel(content, qtTrId("STRING_PASSWORD"), font13);
        m_passwordLabel->setGeometry(0, 91, kSimpleWindowLabelWidth, 18);
        m_pwdTextView = new QOVASecureTextView(content);
        m_pwdTextView->setSecureDelegate(this);
        m_pwdTextView->setGeometry(194, 91 + 9 - 2 - 11, 200, 22);
        boxTop = m_pwdTextView->geometry().bottom() + 1 + 15;
    }

    m_advancedButton = new QCheckBox(qtTrId("STRING_SHOW_ADVANCED_SETTINGS"), content);
    m_advancedButton->setFont(font12);
    m_advancedButton->setGeometry(isOpenNetwork() ? 160 : 194, boxTop, 220, 15);
    connect(m_advancedButton, &QCheckBox::clicked, this, [this] { shouldShowAdvancedSettings(); });

    m_dhcpUpButton = new QOVAPopUpButton(content);
    qovanet::addItem(m_dhcpUpButton, QStringLiteral("DHCP"), kSimpleWindowDhcpTag);
    qovanet::addItem(m_dhcpUpButton, qtTrId("STRING_STASTICS"), kSimpleWindowStaticTag);
    m_dhcpUpButton->selectItemAtIndex(0);
    const int popupTop = boxTop + 15 + 16;
    m_dhcpUpButton->setGeometry(194, popupTop, 202, 18);
    m_dhcpUpButton->hide();
    connect(m_dhcpUpButton, &QComboBox::activated, this, [this] { selectDHCPButton(); });

    m_dhcpLabel = qovanet::rowLabel(content, qtTrId("STRING_IPSETTINGS"), font12);
    m_dhcpLabel->setGeometry(0, popupTop + 9 + 2 - 7, kSimpleWindowLabelWidth, kSimpleWindowRowLabelHeight);
    m_dhcpLabel->hide();

    struct StaticRow {
        const char *key;
        QOVATextField **field;
    };
    const StaticRow rows[] = {{"STRING_IP_ADDRESS", &m_ipTextField},
                              {"STRING_GATEWAY", &m_gatewayField},
                              {"STRING_SUBNET_MASK", &m_maskTextField},
                              {"STRING_DNS_ADDRESS1", &m_dnsTextField},
                              {"STRING_DNS_ADDRESS2", &m_dns2TextField}};
    int labelTop = m_dhcpLabel->geometry().bottom() + 1;
    for (const StaticRow &row : rows) {
        labelTop += 18;
        QOVALabel *label = qovanet::rowLabel(content, qtTrId(row.key), font12);
        label->setGeometry(0, labelTop, kSimpleWindowLabelWidth, kSimpleWindowRowLabelHeight);
        auto *field = new QOVATextField(content);
        field->setGeometry(194, labelTop + 7 - 8, 200, 16);
        *row.field = field;
        m_staticLabels << label;
        labelTop += kSimpleWindowRowLabelHeight;
    }
    connect(m_ipTextField, &QLineEdit::textEdited, this, [this] { checkButtonStatus(); });
    connect(m_gatewayField, &QLineEdit::textEdited, this, [this] { checkButtonStatus(); });
    setStaticRowsHidden(true);

    m_joinButton = new QOVAButton(content);
    m_joinButton->setQovaButtonType(0);
    m_joinButton->setTextString(qtTrId("STRING_JOIN"));
    m_cancelButton = new QOVAButton(content);
    m_cancelButton->setQovaButtonType(0);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    formatButton(m_joinButton, false, false);
    formatButton(m_cancelButton, true, false);
    connect(m_joinButton, &QOVAButton::clicked, this, [this] { joinNetwork(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelConnect(); });
    placeButtons();
}

void QOVAWiFiSimpleWindow::placeButtons()
{
    if (!m_joinButton)
        return;
    const double buttonWidth = qMax(67.0, qMax(m_joinButton->textLength(), m_cancelButton->textLength()));
    const double buttonTop = height() - 19.5 - 19;
    const double joinX = width() - 20.5 - buttonWidth;
    m_joinButton->setGeometry(qRound(joinX), qRound(buttonTop), qRound(buttonWidth), 19);
    m_cancelButton->setGeometry(qRound(joinX - 15 - buttonWidth), qRound(buttonTop), qRound(buttonWidth), 19);
}

void QOVAWiFiSimpleWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeButtons();
}

void QOVAWiFiSimpleWindow::setStaticRowsHidden(bool hidden)
{
    for (QOVALabel *label : m_staticLabels)
        label->setHidden(hidden);
    for (QOVATextField *field : {m_ipTextField, m_gatewayField, m_maskTextField, m_dnsTextField, m_dns2TextField})
        field->setHidden(hidden);
}

bool QOVAWiFiSimpleWindow::isStatic() const
{
    return m_advancedButton->isChecked() && qovanet::selectedTag(m_dhcpUpButton) == kSimpleWindowStaticTag;
}

void QOVAWiFiSimpleWindow::shouldShowAdvancedSettings()
{
    const bool on = m_advancedButton->isChecked();
    m_dhcpUpButton->setVisible(on);
    m_dhcpLabel->setVisible(on);
    if (on) {
        adjustToSize(kWidth, kDhcpHeight);
    } else {
        adjustToSize(kWidth, kHeight);
        setStaticRowsHidden(true);
        qovanet::selectTag(m_dhcpUpButton, kSimpleWindowDhcpTag);
    }
    checkButtonStatus();
}

void QOVAWiFiSimpleWindow::selectDHCPButton()
{
    const bool isStaticItem = qovanet::selectedTag(m_dhcpUpButton) == kSimpleWindowStaticTag;
    setStaticRowsHidden(!isStaticItem);
    adjustToSize(kWidth, isStaticItem ? kStaticHeight : kDhcpHeight);
    checkButtonStatus();
}

bool QOVAWiFiSimpleWindow::checkButtonStatus()
{
    const bool passwordOk = isOpenNetwork() || (m_pwdTextView && !m_pwdTextView->passwordString().isEmpty());
    const bool enabled = passwordOk && (!isStatic() || !m_ipTextField->text().isEmpty());
    formatButton(m_joinButton, enabled, enabled);
    if (enabled)
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Be Taped!");
    else
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Not Be Taped!");
    return enabled;
}

void QOVAWiFiSimpleWindow::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    checkButtonStatus();
}

QJsonObject QOVAWiFiSimpleWindow::joinRecord() const
{
    qovanet::JoinAddress address;
    address.dhcp = !isStatic();
    address.ipAddress = m_ipTextField->text();
    address.subnetMask = m_maskTextField->text();
    address.gateway = m_gatewayField->text();
    address.dns1 = m_dnsTextField->text();
    address.dns2 = m_dns2TextField->text();
    const QString password = m_pwdTextView ? m_pwdTextView->passwordString() : QString();
    return qovanet::simpleJoinRecord(m_ssid, password, m_encryptionType, address);
}

void QOVAWiFiSimpleWindow::joinNetwork()
{
    if (m_joinButton->disabled())
        return;
    orderOut();
    const QJsonObject record = joinRecord();
    if (QOVAWiFiSimpleWindowDelegate *delegate = m_delegate.get())
        delegate->connectSimpleWifiWithUserpassword(record);
}

void QOVAWiFiSimpleWindow::cancelConnect()
{
    if (QOVAWiFiSimpleWindowDelegate *delegate = m_delegate.get())
        delegate->cancelConnect();
    orderOut();
}
