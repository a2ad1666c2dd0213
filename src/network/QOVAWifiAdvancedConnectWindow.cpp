#include "QOVAWifiAdvancedConnectWindow.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"
#include "QOVAWifiJoinParameters.h"

#include "CertInfo.h"
#include "log/log.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVAScrollView.h"
#include "QOVATextField.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QtMath>

namespace {

constexpr int kOtherWindowFormTop = 126;
constexpr int kOtherWindowFormBottom = 45;
constexpr int kOtherWindowDocumentHeight = 540;
constexpr int kOtherWindowRowGap = 16;

} // namespace

QOVAWifiAdvancedConnectWindow::QOVAWifiAdvancedConnectWindow(double width, double height)
    : QOVAWifiBaseWindow(width, height)
{
    layoutWindow();
    getWiFiCertificate();
    m_secureType = SecurityWEP;
}

void QOVAWifiAdvancedConnectWindow::layoutWindow()
{
    m_tipLabel = new QOVALabel(contentView());
    m_tipLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_tipLabel->setTextColor(Qt::black);
    m_tipLabel->setStringValue(qtTrId("STRING_ENTER_NETWORK_NAME"));
    const QRect title = titleLabel()->geometry();
    m_tipLabel->setGeometry(title.left(), title.bottom() + 1 + 10, 256, qCeil(m_tipLabel->textSize(256).height()));

    m_mainScrollView = new QOVAScrollView(contentView());
    m_mainScrollView->setFrameShape(QFrame::NoFrame);
    m_mainScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mainScrollView->setAutoFillBackground(false);
    m_mainScrollView->viewport()->setAutoFillBackground(false);
    m_mainScrollView->setWidgetResizable(false);
    m_formView = new QWidget;
    m_mainScrollView->setWidget(m_formView);
    // The window's own white shows through the form.
    m_formView->setAutoFillBackground(false);

    QWidget *form = m_formView;
    const QFont font12 = fontWithSFProDisplay(12, QOVAFontRegular);
    m_ssidLabel = qovanet::rowLabel(form, QStringLiteral("SSID"), font12);
    m_ssidTextfiled = new QOVATextField(form);
    connect(m_ssidTextfiled, &QLineEdit::textEdited, this, [this] { checkButtonStatus(); });
    m_securityLabel = qovanet::rowLabel(form, qtTrId("STRING_SECURITY"), font12);
    m_securityButton = new QOVAPopUpButton(form);
    const char *titles[] = {"None", "WEP", "WPA/WPA2/FT PSK", "802.1xEAP"};
    for (int tag = 0; tag < 4; ++tag)
        qovanet::addItem(m_securityButton, QLatin1String(titles[tag]), tag);
    m_securityButton->selectItemAtIndex(0);
    connect(m_securityButton, &QComboBox::activated, this,
            [this](int index) { selectSecureItem(qovanet::tagAt(m_securityButton, index)); });

    m_passwordView = new QOVAPasswordView(form);
    m_passwordView->setSecureDelegate(this);
    m_passwordView->hide();
    m_eapView = new QOVAEAPView(form);
    m_eapView->setEapViewDelegate(this);
    m_eapView->hide();
    m_switchView = new QOVAWifiSwitchButtonView(form);
    m_switchView->setSwitchDelegate(this);
    m_advancedView = new QOVAAdvancedView(form);
    m_advancedView->setAdvanceDelegate(this);
    m_advancedView->hide();

    m_joinButton = new QOVAButton(contentView());
    m_joinButton->setQovaButtonType(0);
    m_joinButton->setTextString(qtTrId("STRING_JOIN"));
    m_cancelButton = new QOVAButton(contentView());
    m_cancelButton->setQovaButtonType(0);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    formatButton(m_joinButton, false, false);
    formatButton(m_cancelButton, true, false);
    connect(m_joinButton, &QOVAButton::clicked, this, [this] { joinNetwork(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelConnect(); });
    placeFrame();
}

void QOVAWifiAdvancedConnectWindow::relayoutRows()
{
    const int formWidth = qRound(windowSize().width());
    m_ssidLabel->setGeometry(0, 12, 178, 14);
    m_ssidTextfiled->setGeometry(194, 12 + 14 - 16, 200, 16);
    m_securityLabel->setGeometry(0, 12 + 14 + 18, 178, 14);
    m_securityButton->setGeometry(191, 12 + 14 + 18 + 14 - 19, 206, 19);

    int top = m_securityLabel->geometry().bottom() + 1 + kOtherWindowRowGap;
    const int type = m_secureType;
    const bool eapShown = m_securityButton && qovanet::selectedTag(m_securityButton) == SecurityEAP;
    Q_UNUSED(type)
    if (eapShown) {
        m_eapView->move(0, top);
        top += m_eapView->height() + kOtherWindowRowGap;
    }
    if (!m_passwordView->isHidden() || eapShown || qovanet::selectedTag(m_securityButton) == SecurityWEP
        || qovanet::selectedTag(m_securityButton) == SecurityPSK) {
        const QSize hint = m_passwordView->sizeHint();
        m_passwordView->setGeometry(0, top, formWidth, hint.height());
        top += hint.height() + kOtherWindowRowGap;
    }
    m_switchView->setGeometry(0, top, formWidth, QOVAWifiSwitchButtonView::kHeight);
    m_advancedView->setGeometry(0, top + QOVAWifiSwitchButtonView::kHeight + kOtherWindowRowGap,
                                QOVAAdvancedView::kWidth, QOVAAdvancedView::kHeight);
}

void QOVAWifiAdvancedConnectWindow::placeFrame()
{
    if (!m_mainScrollView)
        return;
    m_mainScrollView->setGeometry(0, kOtherWindowFormTop, width(),
                                  qMax(0, height() - kOtherWindowFormTop - kOtherWindowFormBottom));
    relayoutRows();
    enableScrollView(m_scrolling);
    const double buttonWidth = qMax(67.0, qMax(m_joinButton->textLength(), m_cancelButton->textLength()));
    const double buttonTop = height() - 19.5 - 19;
    const double joinX = width() - 20.5 - buttonWidth;
    m_joinButton->setGeometry(qRound(joinX), qRound(buttonTop), qRound(buttonWidth), 19);
    m_cancelButton->setGeometry(qRound(joinX - 15 - buttonWidth), qRound(buttonTop), qRound(buttonWidth), 19);
}

void QOVAWifiAdvancedConnectWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeFrame();
}

void QOVAWifiAdvancedConnectWindow::enableScrollView(bool enabled)
{
    m_scrolling = enabled;
    const int viewport = m_mainScrollView->height();
    m_formView->resize(width(), enabled ? kOtherWindowDocumentHeight : qMax(viewport, 0));
    m_mainScrollView->setScrollingEnabled(enabled);
    m_mainScrollView->setVerticalScrollBarPolicy(enabled ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!enabled)
        m_mainScrollView->verticalScrollBar()->setValue(0);
}

void QOVAWifiAdvancedConnectWindow::sizeForState()
{
    const bool advanced = m_switchView->showAdvanced();
    double height = kFullHeight;
    if (!advanced) {
        if (m_secureType == SecurityNone)
            height = kNoneHeight;
        else if (m_secureType == SecurityWEP || m_secureType == SecurityPSK)
            height = kPskHeight;
    }
    m_scrolling = advanced && m_secureType == SecurityEAP;
    adjustToSize(kWidth, height);
    placeFrame();
}

void QOVAWifiAdvancedConnectWindow::getWiFiCertificate()
{
    if (QOVAWifiAdvancedConnectWindowDelegate *delegate = m_delegate.get())
        delegate->fetchWindowCertificateInfo();
}

void QOVAWifiAdvancedConnectWindow::wifiCertificateInfo(const CertInfo &info)
{
    m_eapView->updateEapViewCertificateInfo(info);
    placeFrame();
}

void QOVAWifiAdvancedConnectWindow::selectSecureItem(int tag)
{
    m_secureType = tag;
    m_eapView->setVisible(tag == SecurityEAP);
    if (tag == SecurityNone)
        m_passwordView->hide();
    else if (tag == SecurityEAP)
        m_passwordView->setVisible(!m_eapView->isTLS());
    else
        m_passwordView->show();
    sizeForState();
    if (tag == SecurityNone) {
        if (QOVAWifiAdvancedConnectWindowDelegate *delegate = m_delegate.get())
            delegate->setWifiSecurityTypeWindow(this, qovanet::noneSecurityRecord(m_ssidTextfiled->text()));
    }
    checkButtonStatus();
}

void QOVAWifiAdvancedConnectWindow::wifiSwitchButtonView(QOVAWifiSwitchButtonView *, bool showAdvanced)
{
    m_advancedView->setVisible(showAdvanced);
    sizeForState();
    checkButtonStatus();
}

bool QOVAWifiAdvancedConnectWindow::checkButtonStatus()
{
    const int type = qovanet::selectedTag(m_securityButton);
    const bool advanced = m_switchView->advancedButton()->isChecked();
    const bool ssid = !m_ssidTextfiled->text().isEmpty();
    const bool password = !m_passwordView->passwordString().isEmpty();
    const bool tls = m_eapView->isTLS();
    const bool staticAddress = advanced && !m_advancedView->isDHCP();
    bool enabled = ssid;
    if (staticAddress)
        enabled = enabled && !m_advancedView->ipTextField()->text().isEmpty();
    if (type != SecurityNone)
        enabled = enabled && (tls || password);
    formatButton(m_joinButton, enabled, enabled);
    if (enabled)
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Be Taped!");
    else
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Not Be Taped!");
    return enabled;
}

QJsonObject QOVAWifiAdvancedConnectWindow::joinRecord() const
{
    qovanet::OtherJoin join;
    join.ssid = m_ssidTextfiled->text();
    join.identity = m_eapView->identity();
    join.anonymousIdentity = m_eapView->anonymousIdentity();
    join.password = m_passwordView->passwordString();
    const int tag = qovanet::selectedTag(m_securityButton);
    join.securityType = tag == SecurityPSK   ? QStringLiteral("PSK")
                        : tag == SecurityEAP ? QStringLiteral("EAP")
                                             : m_securityButton->titleOfSelectedItem();
    join.eapMethod = m_eapView->eapMethod();
    join.phase2 = m_eapView->phase2();
    join.caCert = !m_eapView->caCert().isEmpty();
    join.clientCert = !m_eapView->clientCert().isEmpty();
    const bool staticAddress = m_switchView->advancedButton()->isChecked() && !m_advancedView->isDHCP();
    join.address.dhcp = !staticAddress;
    join.address.ipAddress = m_advancedView->ipTextField()->text();
    join.address.subnetMask = m_advancedView->maskTextField()->text();
    join.address.gateway = m_advancedView->gatewayField()->text();
    join.address.dns1 = m_advancedView->dnsTextField()->text();
    join.address.dns2 = m_advancedView->dns2TextField()->text();
    return qovanet::otherJoinRecord(join);
}

void QOVAWifiAdvancedConnectWindow::joinNetwork()
{
    if (m_joinButton->disabled())
        return;
    const QJsonObject record = joinRecord();
    if (QOVAWifiAdvancedConnectWindowDelegate *delegate = m_delegate.get())
        delegate->wifiAdvancedWindow(this, record, m_switchView->autoConnect());
    orderOut();
}

void QOVAWifiAdvancedConnectWindow::cancelConnect()
{
    if (QOVAWifiAdvancedConnectWindowDelegate *delegate = m_delegate.get())
        delegate->cancelAdvanceConnect();
    orderOut();
}

void QOVAWifiAdvancedConnectWindow::securePasswordViewTextChange(QOVAPasswordView *, QLineEdit *)
{
    checkButtonStatus();
}

void QOVAWifiAdvancedConnectWindow::changeIdentify()
{
    checkButtonStatus();
}

void QOVAWifiAdvancedConnectWindow::hiddenPasswordView(bool hidden)
{
    if (qovanet::selectedTag(m_securityButton) == SecurityEAP)
        m_passwordView->setHidden(hidden);
    placeFrame();
}

void QOVAWifiAdvancedConnectWindow::handlePopupButton()
{
    checkButtonStatus();
}

void QOVAWifiAdvancedConnectWindow::ipTextFieldChange()
{
    checkButtonStatus();
}
