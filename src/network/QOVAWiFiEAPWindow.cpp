#include "QOVAWiFiEAPWindow.h"

#include "QOVAEAPMethods.h"
#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"

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

namespace {

constexpr int kEapWindowFormTop = 103;
constexpr int kEapWindowFormBottomMargin = 45;
constexpr int kEapWindowLabelWidth = 178;
constexpr int kEapWindowLabelHeight = 14;
constexpr int kEapWindowScrollDocumentHeight = 500;

QString eapWindowDontValidateTitle() { return QStringLiteral("Don't validate"); }

} // namespace

QOVAWiFiEAPWindow::QOVAWiFiEAPWindow(double width, double height, const QString &wifiName)
    : QOVAWifiBaseWindow(width, height)
    , m_ssid(wifiName)
{
    setTitleText(qtTrId("STRING_WIFI_NETWORK") + QStringLiteral(" \"") + wifiName + QStringLiteral("\" ")
                 + qtTrId("STRING_WIFI_REQUIRE_CREDENTIAL"));
    layoutEAPWindow();
    getCertificateInfo();
}

void QOVAWiFiEAPWindow::layoutEAPWindow()
{
    m_mainScrollView = new QOVAScrollView(contentView());
    m_mainScrollView->setFrameShape(QFrame::NoFrame);
    m_mainScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mainScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The window's own white shows through the form area.
    m_mainScrollView->setAutoFillBackground(false);
    m_mainScrollView->viewport()->setAutoFillBackground(false);
    m_formView = new QWidget;
    m_mainScrollView->setWidget(m_formView);
    m_mainScrollView->setWidgetResizable(false);

    QWidget *form = m_formView;
    const QFont font = fontWithSFProDisplay(12, QOVAFontRegular);
    m_eapMethodLabel = qovanet::rowLabel(form, qtTrId("STRING_EAP_METHOD"), font);
    m_eapPopUpButton = new QOVAPopUpButton(form);
    const QStringList methods = qovanet::orbrinEapMethods();
    for (int tag = 0; tag < methods.size(); ++tag)
        qovanet::addItem(m_eapPopUpButton, methods.at(tag), tag);
    m_eapPopUpButton->selectItemAtIndex(0);
    connect(m_eapPopUpButton, &QComboBox::activated, this,
            [this](int index) { selectMethodItem(qovanet::tagAt(m_eapPopUpButton, index)); });

    m_phaseLabel = qovanet::rowLabel(form, qtTrId("STRING_PHASE2"), font);
    m_phase2AuthPopUpButton = new QOVAPopUpButton(form);
    decorateAuthenticationButton();

    m_certificateLabel = qovanet::rowLabel(form, qtTrId("STRING_CA_CERTIFICATE"), font);
    m_certificatePopUpButton = new QOVAPopUpButton(form);
    qovanet::addItem(m_certificatePopUpButton, eapWindowDontValidateTitle(), CertificateDontValidate);
    m_userCertificateLabel = qovanet::rowLabel(form, qtTrId("STRING_USER_CERTIFICATE"), font);
    m_userCertificatePopupButton = new QOVAPopUpButton(form);
    qovanet::addItem(m_userCertificatePopupButton, eapWindowDontValidateTitle(), CertificateDontValidate);

    m_usernameLabel = qovanet::rowLabel(form, qtTrId("STRING_IDENTIFY"), font);
    m_usernameTextfiled = new QOVATextField(form);
    connect(m_usernameTextfiled, &QLineEdit::textEdited, this, [this] { checkButtonStatus(); });
    m_anonymousLabel = qovanet::rowLabel(form, qtTrId("STRING_ANONYMOUS_IDENTIFY"), font);
    m_anonymousTextfiled = new QOVATextField(form);
    m_passwordLabel = qovanet::rowLabel(form, qtTrId("STRING_PASSWORD"), font);
    m_securePwdTextfield = new QOVASecureTextView(form);
    m_securePwdTextfield->setSecureDelegate(this);

    m_advanceButton = new QCheckBox(qtTrId("STRING_SHOW_ADVANCED_SETTINGS"), form);
    m_advanceButton->setFont(font);
    m_advanceButton->setChecked(false);
    connect(m_advanceButton, &QCheckBox::clicked, this, [this] { shouldShowAdvancedSetting(); });

    m_advancedView = new QOVAAdvancedView(form);
    m_advancedView->setAdvanceDelegate(this);
    m_advancedView->hide();

    m_cancelButton = new QOVAButton(contentView());
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    m_joinButton = new QOVAButton(contentView());
    m_joinButton->setTextString(qtTrId("STRING_JOIN"));
    formatButton(m_cancelButton, true, false);
    formatButton(m_joinButton, false, false);
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelConnect(); });
    connect(m_joinButton, &QOVAButton::clicked, this, [this] { joinNetwork(); });

    reloadUIWithEapMethod(MethodPEAP);
}

void QOVAWiFiEAPWindow::decorateAuthenticationButton()
{
    m_phase2AuthPopUpButton->removeAllItems();
    qovanet::addItem(m_phase2AuthPopUpButton, qtTrId("STRING_NONE"), 0, qovanet::wireNone());
    const QStringList names = qovanet::orbrinPhase2Methods(m_eapPopUpButton->titleOfSelectedItem());
    for (int i = 0; i < names.size(); ++i)
        qovanet::addItem(m_phase2AuthPopUpButton, names.at(i), i + 1);
    m_phase2AuthPopUpButton->selectItemAtIndex(0);
}

void QOVAWiFiEAPWindow::reloadUIWithEapMethod(int tag)
{
    struct Row {
        QOVALabel *label;
        QWidget *control;
    };
    QList<Row> rows = {{m_eapMethodLabel, m_eapPopUpButton}};
    if (tag == MethodPEAP || tag == MethodTTLS) {
        rows << Row{m_phaseLabel, m_phase2AuthPopUpButton} << Row{m_certificateLabel, m_certificatePopUpButton}
             << Row{m_usernameLabel, m_usernameTextfiled} << Row{m_anonymousLabel, m_anonymousTextfiled}
             << Row{m_passwordLabel, m_securePwdTextfield};
    } else if (tag == MethodTLS) {
        rows << Row{m_certificateLabel, m_certificatePopUpButton}
             << Row{m_userCertificateLabel, m_userCertificatePopupButton} << Row{m_usernameLabel, m_usernameTextfiled};
    } else {
        rows << Row{m_usernameLabel, m_usernameTextfiled} << Row{m_passwordLabel, m_securePwdTextfield};
    }
    const QList<QWidget *> all = {m_phaseLabel,      m_phase2AuthPopUpButton,      m_certificateLabel,
                                  m_certificatePopUpButton, m_userCertificateLabel, m_userCertificatePopupButton,
                                  m_usernameLabel,   m_usernameTextfiled,          m_anonymousLabel,
                                  m_anonymousTextfiled, m_passwordLabel,           m_securePwdTextfield};
    for (QWidget *view : all)
        view->hide();

    // The first label sits low enough that the pop-up centred 2 above it
    // keeps its top edge inside the form area, which clips it.
    int top = 4;
    int bottom = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const Row &row = rows.at(i);
        if (i > 0)
            top = bottom + (row.label == m_phaseLabel ? 15 : 18);
        row.label->setGeometry(0, top, kEapWindowLabelWidth, kEapWindowLabelHeight);
        const int centre = top + kEapWindowLabelHeight / 2;
        if (row.control == m_securePwdTextfield)
            row.control->setGeometry(192, centre - 8, 204, 17);
        else if (row.control == m_phase2AuthPopUpButton)
            row.control->setGeometry(191, centre - 9, 206, 18);
        else if (qobject_cast<QOVAPopUpButton *>(row.control))
            row.control->setGeometry(191, centre - 2 - 9, 206, 18);
        else
            row.control->setGeometry(194, centre - 2 - 8, 200, 16);
        row.label->show();
        row.control->show();
        bottom = top + kEapWindowLabelHeight;
    }
    const int formWidth = qRound(windowSize().width());
    const int advancedTop = bottom + 15;
    m_advanceButton->setGeometry(194, advancedTop, formWidth - 22 - 194, 18);
    m_advancedView->setGeometry(0, advancedTop + 18 + 16, QOVAAdvancedView::kWidth, QOVAAdvancedView::kHeight);
    m_formHeight = m_advancedView->geometry().bottom() + 1;
    placeFrame();
}

void QOVAWiFiEAPWindow::placeFrame()
{
    if (!m_mainScrollView)
        return;
    const int formAreaHeight = qMax(0, height() - kEapWindowFormTop - kEapWindowFormBottomMargin);
    m_mainScrollView->setGeometry(0, kEapWindowFormTop, width(), formAreaHeight);
    enableScrollView(m_advanceButton->isChecked());

    const double buttonWidth = qMax(67.0, qMax(m_joinButton->textLength(), m_cancelButton->textLength()));
    const double buttonTop = height() - 19.5 - 19;
    const double joinX = width() - 20.5 - buttonWidth;
    m_joinButton->setGeometry(qRound(joinX), qRound(buttonTop), qRound(buttonWidth), 19);
    m_cancelButton->setGeometry(qRound(joinX - 15 - buttonWidth), qRound(buttonTop), qRound(buttonWidth), 19);
}

void QOVAWiFiEAPWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeFrame();
}

void QOVAWiFiEAPWindow::enableScrollView(bool enabled)
{
    // Scrolling, over a 500-high form, only while the IPv4 rows show.
    const int viewportHeight = m_mainScrollView->height();
    const int formHeight = enabled ? qMax(kEapWindowScrollDocumentHeight, m_formHeight) : viewportHeight;
    m_formView->resize(width(), formHeight);
    m_mainScrollView->setScrollingEnabled(enabled);
    m_mainScrollView->setVerticalScrollBarPolicy(enabled ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!enabled)
        m_mainScrollView->verticalScrollBar()->setValue(0);
}

void QOVAWiFiEAPWindow::getCertificateInfo()
{
    if (QOVAWiFiEAPWindowDelegate *delegate = m_delegate.get())
        delegate->fetchCertificateInfo();
}

void QOVAWiFiEAPWindow::addInstalledItem(QOVAPopUpButton *popup, const QString &title)
{
    // An installed item replaces the one before it; a selected one stays
    // selected.
    const int existing = qovanet::indexOfTag(popup, CertificateInstalled);
    const bool wasSelected = existing >= 0 && existing == popup->currentIndex();
    if (existing >= 0)
        popup->removeItem(existing);
    qovanet::addItem(popup, title, CertificateInstalled);
    if (wasSelected)
        popup->selectItemAtIndex(popup->count() - 1);
}

void QOVAWiFiEAPWindow::wifiCertificateInfo(const CertInfo &info)
{
    for (const auto &entry : info.info) {
        if (!entry)
            continue;
        if (entry->type == QLatin1String("wifiCaCert"))
            addInstalledItem(m_certificatePopUpButton, qtTrId("STRING_INSTALLED_CA_CERTIFICATE"));
        else if (entry->type == QLatin1String("wifiClientCert"))
            addInstalledItem(m_userCertificatePopupButton, qtTrId("STRING_INSTALLED_USER_CERTIFICATE"));
    }
}

void QOVAWiFiEAPWindow::selectMethodItem(int tag)
{
    if (tag == MethodPEAP || tag == MethodTTLS) {
        decorateAuthenticationButton();
        adjustToSize(windowSize().width(), kHeight);
    } else if (tag == MethodTLS || tag == MethodPWD) {
        adjustToSize(windowSize().width(), kShortHeight);
    } else {
        return;
    }
    reloadUIWithEapMethod(tag);
    enableScrollView(m_advanceButton->isChecked());
    // The password rule depends on the method: decide Join again at once.
    checkButtonStatus();
}

void QOVAWiFiEAPWindow::shouldShowAdvancedSetting()
{
    const bool on = m_advanceButton->isChecked();
    enableScrollView(on);
    m_advancedView->setVisible(on);
    if (!on) {
        m_advancedView->chooseDHCPItem();
        m_advancedView->selectDHCPToAuto();
    }
    checkButtonStatus();
}

bool QOVAWiFiEAPWindow::isStaticAddressing() const
{
    return m_advanceButton->isChecked() && !m_advancedView->isDHCP();
}

bool QOVAWiFiEAPWindow::checkButtonStatus()
{
    const bool tls = qovanet::selectedTag(m_eapPopUpButton) == MethodTLS;
    bool enabled = !m_usernameTextfiled->stringValue().isEmpty();
    if (!tls && m_securePwdTextfield->passwordString().isEmpty())
        enabled = false;
    if (isStaticAddressing() && m_advancedView->ipTextField()->stringValue().isEmpty())
        enabled = false;
    formatButton(m_joinButton, enabled, enabled);
    if (enabled)
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Be Taped!");
    else
        QOVA_LOG(INFO, UI, "Now The Join WiFi Button Can Not Be Taped!");
    return enabled;
}

QJsonObject QOVAWiFiEAPWindow::joinDictionary() const
{
    const bool manual = isStaticAddressing();
    auto address = [manual](const QOVATextField *field) {
        return manual ? field->stringValue() : QString(QLatin1String(""));
    };
    auto certificate = [](const QOVAPopUpButton *popup) {
        return qovanet::selectedTag(popup) == CertificateInstalled ? qovanet::orbrinWifiCertificateName()
                                                                  : QString(QLatin1String(""));
    };
    QJsonObject params;
    params.insert(QStringLiteral("ssid"), m_ssid);
    params.insert(QStringLiteral("identity"), m_usernameTextfiled->stringValue());
    params.insert(QStringLiteral("anonymousIdentity"), m_anonymousTextfiled->stringValue());
    params.insert(QStringLiteral("password"), m_securePwdTextfield->passwordString());
    params.insert(QStringLiteral("securityType"), QStringLiteral("EAP"));
    params.insert(QStringLiteral("eapMethod"), m_eapPopUpButton->titleOfSelectedItem());
    params.insert(QStringLiteral("phase2"), qovanet::selectedWire(m_phase2AuthPopUpButton));
    params.insert(QStringLiteral("dhcp"), manual ? 0 : 1);
    params.insert(QStringLiteral("ip_address"), address(m_advancedView->ipTextField()));
    params.insert(QStringLiteral("subnet_mask"), address(m_advancedView->maskTextField()));
    params.insert(QStringLiteral("dns1"), address(m_advancedView->dnsTextField()));
    params.insert(QStringLiteral("dns2"), address(m_advancedView->dns2TextField()));
    params.insert(QStringLiteral("gateway"), address(m_advancedView->gatewayField()));
    params.insert(QStringLiteral("caCert"), certificate(m_certificatePopUpButton));
    params.insert(QStringLiteral("clientCert"), certificate(m_userCertificatePopupButton));
    return params;
}

void QOVAWiFiEAPWindow::joinNetwork()
{
    orderOut();
    const QJsonObject params = joinDictionary();
    if (QOVAWiFiEAPWindowDelegate *delegate = m_delegate.get())
        delegate->connectEAPWifiWithUserpassword(params, shouldRememberPassword());
}

void QOVAWiFiEAPWindow::cancelConnect()
{
    if (QOVAWiFiEAPWindowDelegate *delegate = m_delegate.get())
        delegate->cancel();
    orderOut();
}

void QOVAWiFiEAPWindow::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    checkButtonStatus();
}

void QOVAWiFiEAPWindow::handlePopupButton()
{
    checkButtonStatus();
}

void QOVAWiFiEAPWindow::ipTextFieldChange()
{
    checkButtonStatus();
}
