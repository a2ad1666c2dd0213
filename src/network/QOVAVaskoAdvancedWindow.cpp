#include "QOVAVaskoAdvancedWindow.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"
#include "QOVAWifiJoinParameters.h"

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

constexpr int kVaskoOtherFormTop = 126;
constexpr int kVaskoOtherFormBottom = 45;
constexpr int kVaskoOtherDocumentHeight = 600;
constexpr int kVaskoOtherGap = 16;

} // namespace

QOVAVaskoAdvancedWindow::QOVAVaskoAdvancedWindow(double width, double height)
    : QOVAWifiBaseWindow(width, height)
{
    setupVaskoWifiAdvancedView();
}

void QOVAVaskoAdvancedWindow::setupVaskoWifiAdvancedView()
{
    m_tipLabel = new QOVALabel(contentView());
    m_tipLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
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
    m_securityLabel = qovanet::rowLabel(form, qtTrId("STRING_SECURITY"), font12);
    m_securityButton = new QOVAPopUpButton(form);
    // The none item is shown translated and sent as its fixed word.
    qovanet::addItem(m_securityButton, qtTrId("STRING_NONE"), SecurityNone, qovanet::wireNone());
    qovanet::addItem(m_securityButton, QStringLiteral("WEP"), SecurityWEP);
    qovanet::addItem(m_securityButton, QStringLiteral("WPA/WPA2/FT PSK"), SecurityPSK, QStringLiteral("PSK"));
    qovanet::addItem(m_securityButton, QStringLiteral("802.1xEAP"), SecurityEAP, QStringLiteral("EAP"));
    m_securityButton->selectItemAtIndex(0);
    connect(m_securityButton, &QComboBox::activated, this,
            [this](int index) { handleSecurityButtonPopBtn(qovanet::tagAt(m_securityButton, index)); });

    m_eapView = new QOVAVaskoEAPView(form);
    m_eapView->setEapViewUpdateLayoutdelegate(this);
    m_eapView->hide();
    m_passwordView = new QOVAPasswordView(form);
    m_passwordView->setSecureDelegate(this);
    m_passwordView->hide();
    m_switchView = new QOVAWifiSwitchButtonView(form);
    m_switchView->setSwitchDelegate(this);
    m_advancedView = new QOVAAdvancedView(form);
    m_advancedView->setAdvanceDelegate(this);
    m_advancedView->hide();

    m_joinButton = new QOVAButton(contentView());
    m_joinButton->setTextString(qtTrId("STRING_JOIN"));
    m_cancelButton = new QOVAButton(contentView());
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    formatButton(m_joinButton, true, true);
    formatButton(m_cancelButton, true, false);
    connect(m_joinButton, &QOVAButton::clicked, this, [this] { joinNetwork(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelConnect(); });
    relayout();
}

void QOVAVaskoAdvancedWindow::relayout()
{
    if (!m_mainScrollView)
        return;
    m_mainScrollView->setGeometry(0, kVaskoOtherFormTop, width(),
                                  qMax(0, height() - kVaskoOtherFormTop - kVaskoOtherFormBottom));
    const int formWidth = width();
    m_ssidLabel->setGeometry(0, 12, 178, 14);
    m_ssidTextfiled->setGeometry(194, 12 + 14 - 16, 200, 16);
    m_securityLabel->setGeometry(0, 44, 178, 14);
    m_securityButton->setGeometry(191, 44 + 14 - 19, 206, 19);
    int top = 44 + 14 + kVaskoOtherGap;
    const int type = qovanet::selectedTag(m_securityButton);
    if (type == SecurityEAP) {
        m_eapView->setGeometry(0, top, formWidth, int(m_epaViewHeight));
        top += int(m_epaViewHeight) + kVaskoOtherGap;
    } else if (type == SecurityWEP || type == SecurityPSK) {
        const int h = m_passwordView->sizeHint().height();
        m_passwordView->setGeometry(0, top, formWidth, h);
        top += h + kVaskoOtherGap;
    }
    m_switchView->setGeometry(0, top, formWidth, QOVAWifiSwitchButtonView::kHeight);
    m_advancedView->setGeometry(0, top + QOVAWifiSwitchButtonView::kHeight + kVaskoOtherGap, QOVAAdvancedView::kWidth,
                                QOVAAdvancedView::kHeight);
    enableScrollView();

    const double w = qMax(67.0, qMax(m_joinButton->textLength(), m_cancelButton->textLength()));
    const double buttonTop = height() - 19.5 - 19;
    const double joinX = width() - 20.5 - w;
    m_joinButton->setGeometry(qRound(joinX), qRound(buttonTop), qRound(w), 19);
    m_cancelButton->setGeometry(qRound(joinX - 15 - w), qRound(buttonTop), qRound(w), 19);
}

void QOVAVaskoAdvancedWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    relayout();
}

void QOVAVaskoAdvancedWindow::enableScrollView()
{
    const int method = m_eapView->eapMethodTag();
    const bool eap = qovanet::selectedTag(m_securityButton) == SecurityEAP;
    m_scrolling = eap && (m_switchView->showAdvanced() || method == QOVAVaskoEAPView::MethodPEAP
                          || method == QOVAVaskoEAPView::MethodTTLS || method == QOVAVaskoEAPView::MethodFAST);
    m_formView->resize(width(), m_scrolling ? kVaskoOtherDocumentHeight : qMax(0, m_mainScrollView->height()));
    m_mainScrollView->setScrollingEnabled(m_scrolling);
    m_mainScrollView->setVerticalScrollBarPolicy(m_scrolling ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!m_scrolling)
        m_mainScrollView->verticalScrollBar()->setValue(0);
}

void QOVAVaskoAdvancedWindow::handleSecurityButtonPopBtn(int tag)
{
    m_eapView->setVisible(tag == SecurityEAP);
    m_passwordView->setVisible(tag == SecurityWEP || tag == SecurityPSK);
    const bool advanced = m_switchView->showAdvanced();
    double height = 544;
    if (tag == SecurityNone && !advanced)
        height = 310;
    else if ((tag == SecurityWEP || tag == SecurityPSK) && !advanced)
        height = 372;
    formatButton(m_joinButton, tag != SecurityNone, tag != SecurityNone);
    adjustToSize(420, height);
    relayout();
}

void QOVAVaskoAdvancedWindow::wifiSwitchButtonView(QOVAWifiSwitchButtonView *, bool showAdvanced)
{
    m_advancedView->setVisible(showAdvanced);
    handleSecurityButtonPopBtn(qovanet::selectedTag(m_securityButton));
}

void QOVAVaskoAdvancedWindow::updateEAPViewLayoutHeight(quint64 height, quint64 controlTag)
{
    m_epaViewHeight = height;
    m_passwordView->passwordLabel()->setStringValue(
        qtTrId(controlTag == QOVAVaskoEAPView::MethodTLS ? "STRING_PRIVATE_KEY_PASSWORD" : "STRING_PASSWORD"));
    relayout();
}

QJsonObject QOVAVaskoAdvancedWindow::joinRecord() const
{
    qovanet::OtherJoin join;
    join.ssid = m_ssidTextfiled->text();
    join.identity = m_eapView->identity();
    join.anonymousIdentity = m_eapView->anonymousIdentity();
    join.password = m_passwordView->passwordString();
    join.securityType = qovanet::selectedWire(m_securityButton);
    join.eapMethod = m_eapView->eapMethod();
    join.phase2 = m_eapView->phase2();
    const bool staticAddress = m_switchView->advancedButton()->isChecked() && !m_advancedView->isDHCP();
    join.address.dhcp = !staticAddress;
    join.address.ipAddress = m_advancedView->ipTextField()->text();
    join.address.subnetMask = m_advancedView->maskTextField()->text();
    join.address.gateway = m_advancedView->gatewayField()->text();
    join.address.dns1 = m_advancedView->dnsTextField()->text();
    join.address.dns2 = m_advancedView->dns2TextField()->text();
    return qovanet::otherJoinRecord(join, false);
}

void QOVAVaskoAdvancedWindow::joinNetwork()
{
    if (m_joinButton->disabled())
        return;
    const QJsonObject record = joinRecord();
    if (QOVAVaskoWifiAdvancedConnectWindowDelegate *delegate = m_delegate.get())
        delegate->wifiAdvancedWindow(this, record);
    orderOut();
}

void QOVAVaskoAdvancedWindow::cancelConnect()
{
    orderOut();
}
