#include "QOVA8021xEthernetWindow.h"

#include "QOVANetworkPopUp.h"
#include "QOVANetworkStyle.h"
#include "QOVAOOBChooseFileView.h"

#include "Ethernet802_1_xModel.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QtMath>

#include <algorithm>

namespace {

constexpr double kEthernetRowHeight = 16;
constexpr double kEthernetRowGap = 16;
constexpr double kEthernetSecurityTop = 14 + 72 + 16;   // 16 below the header picture
constexpr double kEthernetLabelWidth = 178;
constexpr double kEthernetHeight = 442;
constexpr double kEthernetFastHeight = 500;

QString ethernetSecurityEapTitle() { return QStringLiteral("802.1 x EAP"); }


} // namespace

QOVA8021xEthernetWindow::QOVA8021xEthernetWindow(double width, double height,
                                                 std::shared_ptr<const Ethernet802_1_xModel> model)
    : QOVAWifiBaseWindow(width, height)
{
    layoutSettingsView();
    setupSecurityUIContorl(model);
}

void QOVA8021xEthernetWindow::layoutSettingsView()
{
    QWidget *content = contentView();
    setTitleText(qtTrId("STRING_ETHERNET_SECURITY_SETTINGS"));
    wifiImageView()->setImageName(QStringLiteral("ethernet"));

    m_subTitle = new QOVALabel(content);
    m_subTitle->setStringValue(qtTrId("STRING_SET8021X_SUBTITLE"));
    m_subTitle->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_subTitle->setTextColor(colorWithString(QStringLiteral("252525"), 1.0));
    m_subTitle->setMaximumNumberOfLines(0);
    const QRect title = titleLabel()->geometry();
    const double subtitleWidth = windowSize().width() - 5 - title.x();
    m_subTitle->setGeometry(title.x(), title.bottom() + 1 + 13, qRound(subtitleWidth),
                            qCeil(m_subTitle->textSize(subtitleWidth).height()));

    const QFont labelFont = fontWithSFProDisplay(13, QOVAFontRegular);
    const QFont systemFont = qovanet::systemFontOfSize(13);
    auto popup = [content] { return new QOVAPopUpButton(content); };

    m_securityLabel = qovanet::rowLabel(content, qtTrId("STRING_SECURITY"), labelFont);
    m_securityButton = popup();
    qovanet::addItem(m_securityButton, qtTrId("STRING_NONE"), SecurityNone, qovanet::wireNone());
    qovanet::addItem(m_securityButton, ethernetSecurityEapTitle(), Security8021X);
    m_securityButton->selectItemAtIndex(0);
    connect(m_securityButton, &QComboBox::activated, this, [this] { selectSecurityMode(); });

    m_eapLabel = qovanet::rowLabel(content, qtTrId("STRING_EAP_METHOD"), labelFont);
    m_eapButton = popup();
    qovanet::addItem(m_eapButton, QStringLiteral("PEAP"), ModePEAP);
    qovanet::addItem(m_eapButton, QStringLiteral("TTLS"), ModeTTLS);
    qovanet::addItem(m_eapButton, QStringLiteral("MD5"), ModeMD5);
    m_eapButton->selectItemAtIndex(0);
    connect(m_eapButton, &QComboBox::activated, this, [this] { selectEAPMethodModeButton(); });

    m_authenticationLabel = qovanet::rowLabel(content, qtTrId("STRING_PHASE2"), systemFont);
    m_authenticationButton = popup();
    decorateAuthenticationButton(m_authenticationButton, {QStringLiteral("MSCHAPV2"), QStringLiteral("GTC")});

    m_provisionLabel = qovanet::rowLabel(content, qtTrId("STRING_AUTO_PAC_PROVISIONING"), systemFont);
    m_provisionButton = popup();
    for (const char *key : {"STRING_NONE", "STRING_ANONYMOUS", "STRING_AUTHENTICATED", "STRING_BOTH"})
        m_provisionButton->addItemWithTitle(qtTrId(key));
    m_provisionButton->selectItemAtIndex(0);

    m_caCertificateView = new QOVAOOBChooseFileView(qtTrId("STRING_CA_CERTIFICATE"), content);
    m_userCertificateView = new QOVAOOBChooseFileView(qtTrId("STRING_USER_CERTIFICATE"), content);
    m_privateKeyView = new QOVAOOBChooseFileView(qtTrId("STRING_PRIVATE_KEY"), content);
    m_pacFileView = new QOVAOOBChooseFileView(qtTrId("STRING_PAC_FILE"), content);

    m_identifyLabel = qovanet::rowLabel(content, qtTrId("STRING_IDENTIFY"), labelFont);
    m_identifyTextfield = new QOVATextField(content);
    m_anonymousLabel = qovanet::rowLabel(content, qtTrId("STRING_ANONYMOUS_IDENTIFY"), labelFont);
    m_anonymousTextfield = new QOVATextField(content);
    m_passwordLabel = qovanet::rowLabel(content, qtTrId("STRING_PASSWORD"), labelFont);
    m_passwordTextfield = new QOVASecureTextView(content);

    const double width = windowSize().width();
    m_rows[RowEAP] = {m_eapLabel, m_eapButton, 194, 200};
    m_rows[RowPhase2] = {m_authenticationLabel, m_authenticationButton, 194, 200};
    m_rows[RowProvision] = {m_provisionLabel, m_provisionButton, 194, 200};
    m_rows[RowPacFile] = {nullptr, m_pacFileView, 0, width};
    m_rows[RowCA] = {nullptr, m_caCertificateView, 0, width};
    m_rows[RowIdentity] = {m_identifyLabel, m_identifyTextfield, 196, 195};
    m_rows[RowAnonymous] = {m_anonymousLabel, m_anonymousTextfield, 196, 195};
    m_rows[RowUserCert] = {nullptr, m_userCertificateView, 0, width};
    m_rows[RowPrivateKey] = {nullptr, m_privateKeyView, 0, width};
    m_rows[RowPassword] = {m_passwordLabel, m_passwordTextfield, 194, 200};

    m_securityLabel->setGeometry(0, qRound(kEthernetSecurityTop), qRound(kEthernetLabelWidth), qRound(kEthernetRowHeight));
    m_securityButton->setGeometry(194, qRound(kEthernetSecurityTop), 200, qRound(kEthernetRowHeight));

    m_cancelButton = new QOVAButton(content);
    m_cancelButton->setTextString(qtTrId("STRING_CANCEL"));
    m_saveButton = new QOVAButton(content);
    m_saveButton->setTextString(qtTrId("STRING_SAVE"));
    formatButton(m_cancelButton, true, false);
    formatButton(m_saveButton, true, false);
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { cancelSettings(); });
    connect(m_saveButton, &QOVAButton::clicked, this, [this] { saveSettings(); });

    // Everything under the security row starts hidden.
    showRows({});
    placeButtons();
}

void QOVA8021xEthernetWindow::decorateAuthenticationButton(QOVAPopUpButton *popup, const QStringList &names)
{
    qovanet::fillItems(popup, names);
}

void QOVA8021xEthernetWindow::showRows(const std::vector<Row> &rows)
{
    m_visibleRows = rows;
    for (int row = 0; row < RowCount; ++row) {
        const bool shown = std::find(rows.begin(), rows.end(), Row(row)) != rows.end();
        if (m_rows[row].label)
            m_rows[row].label->setVisible(shown);
        m_rows[row].control->setVisible(shown);
    }
    placeRows();
}

void QOVA8021xEthernetWindow::placeRows()
{
    // Each visible row 16 below the bottom of the visible row above it.
    double top = kEthernetSecurityTop;
    for (Row row : m_visibleRows) {
        top += kEthernetRowHeight + kEthernetRowGap;
        const RowViews &views = m_rows[row];
        if (views.label)
            views.label->setGeometry(0, qRound(top), qRound(kEthernetLabelWidth), qRound(kEthernetRowHeight));
        views.control->setGeometry(qRound(views.controlX), qRound(top), qRound(views.controlWidth), qRound(kEthernetRowHeight));
    }
}

void QOVA8021xEthernetWindow::placeButtons()
{
    if (!m_saveButton)
        return;
    const double buttonWidth = qMax(67.0, qMax(m_saveButton->textLength(), m_cancelButton->textLength()));
    const double bottom = height() - 19.5;
    const double saveX = width() - 20.5 - buttonWidth;
    m_saveButton->setGeometry(qRound(saveX), qRound(bottom - 19), qRound(buttonWidth), 19);
    m_cancelButton->setGeometry(qRound(saveX - 15 - buttonWidth), qRound(bottom - 19), qRound(buttonWidth), 19);
}

void QOVA8021xEthernetWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeButtons();
}

void QOVA8021xEthernetWindow::show()
{
    // The layout may have grown the window before it was first shown.
    const QSize layoutSize = size();
    QOVAWifiBaseWindow::show();
    if (layoutSize != size())
        adjustToSize(layoutSize.width(), layoutSize.height());
}

void QOVA8021xEthernetWindow::setupSecurityUIContorl(const std::shared_ptr<const Ethernet802_1_xModel> &model)
{
    // "None" is what this window sends for no security; a translated title
    // stored by an earlier version means the same.
    if (!model || model->securityType == qovanet::wireNone() || model->securityType == qtTrId("STRING_NONE")) {
        securityNoneUILayout();
        return;
    }
    qovanet::selectTag(m_securityButton, Security8021X);
    const QString method = model->eapMethod;
    if (method == QLatin1String("PEAP")) {
        m_currentEapMethodMode = ModePEAP;
    } else if (method == QLatin1String("TTLS")) {
        m_currentEapMethodMode = ModeTTLS;
    } else if (method == QLatin1String("MD5")) {
        m_currentEapMethodMode = ModeMD5;
    } else if (method == QLatin1String("TLS") || method == QLatin1String("FAST")) {
        // Methods the pop-up does not offer become items of their own, so
        // that Save keeps the port's method.
        m_currentEapMethodMode = method == QLatin1String("TLS") ? ModeTLS : ModeFAST;
        qovanet::addItem(m_eapButton, method, int(m_currentEapMethodMode));
    } else {
        m_currentEapMethodMode = ModePEAP;
    }
    qovanet::selectTag(m_eapButton, int(m_currentEapMethodMode));
    m_identifyTextfield->setStringValue(model->identity);
    m_passwordTextfield->selectCurrentTextView();
    selectEAPMethodMode(m_currentEapMethodMode);
}

void QOVA8021xEthernetWindow::selectSecurityMode()
{
    if (qovanet::selectedTag(m_securityButton) == Security8021X)
        selectEAPMethodMode(m_currentEapMethodMode);
    else
        securityNoneUILayout();
}

void QOVA8021xEthernetWindow::selectEAPMethodModeButton()
{
    // The choice becomes the current mode, so that leaving and coming back
    // to 802.1X shows the rows of the chosen method.
    m_currentEapMethodMode = qovanet::selectedTag(m_eapButton);
    selectEAPMethodMode(m_currentEapMethodMode);
}

void QOVA8021xEthernetWindow::securityNoneUILayout()
{
    showRows({});
}

void QOVA8021xEthernetWindow::selectEAPMethodMode(qint64 mode)
{
    m_passwordLabel->setStringValue(qtTrId("STRING_PASSWORD"));
    adjustToSize(windowSize().width(), kEthernetHeight);
    switch (mode) {
    case ModePEAP:
        decorateAuthenticationButton(m_authenticationButton, {QStringLiteral("MSCHAPV2"), QStringLiteral("GTC")});
        showRows({RowEAP, RowPhase2, RowIdentity, RowAnonymous, RowPassword});
        break;
    case ModeTLS:
        m_passwordLabel->setStringValue(qtTrId("STRING_PRIVATE_KEY_PASSWORD"));
        showRows({RowEAP, RowCA, RowIdentity, RowUserCert, RowPrivateKey, RowPassword});
        break;
    case ModeTTLS:
        decorateAuthenticationButton(m_authenticationButton, {QStringLiteral("MSCHAPV2")});
        showRows({RowEAP, RowPhase2, RowIdentity, RowAnonymous, RowPassword});
        break;
    case ModeMD5:
        showRows({RowEAP, RowIdentity, RowPassword});
        break;
    case ModeFAST:
        showRows({RowEAP, RowPhase2, RowProvision, RowPacFile, RowIdentity, RowAnonymous, RowPassword});
        adjustToSize(windowSize().width(), kEthernetFastHeight);
        break;
    default: {
        // An unknown mode only shows the method and password rows.
        std::vector<Row> rows = m_visibleRows;
        for (Row needed : {RowEAP, RowPassword}) {
            if (std::find(rows.begin(), rows.end(), needed) == rows.end())
                rows.push_back(needed);
        }
        showRows(rows);
        break;
    }
    }
}

QJsonObject QOVA8021xEthernetWindow::security8021xDictionary() const
{
    QJsonObject security;
    security.insert(QStringLiteral("securityType"), qovanet::selectedWire(m_securityButton));
    security.insert(QStringLiteral("identity"), m_identifyTextfield->stringValue());
    security.insert(QStringLiteral("anonymousIdentity"), m_anonymousTextfield->stringValue());
    security.insert(QStringLiteral("password"), m_passwordTextfield->passwordString());
    security.insert(QStringLiteral("caCert"), QString(QLatin1String("")));
    security.insert(QStringLiteral("clientCert"), QString(QLatin1String("")));
    security.insert(QStringLiteral("eapMethod"), m_eapButton->titleOfSelectedItem());
    security.insert(QStringLiteral("phase2"), m_authenticationButton->titleOfSelectedItem());
    security.insert(QStringLiteral("privateKey"), QString(QLatin1String("")));
    security.insert(QStringLiteral("privateKeyPass"), QString(QLatin1String("")));
    return security;
}

void QOVA8021xEthernetWindow::saveSettings()
{
    const QJsonObject security = security8021xDictionary();
    if (QOVA8021xEthernetWindowDelegate *delegate = m_delegate.get())
        delegate->connectSecurityNetwork(security);
    orderOut();
}

void QOVA8021xEthernetWindow::cancelSettings()
{
    orderOut();
    if (QOVA8021xEthernetWindowDelegate *delegate = m_delegate.get())
        delegate->restartNetworkViewTimer();
}
