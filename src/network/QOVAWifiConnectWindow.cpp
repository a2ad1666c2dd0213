#include "QOVAWifiConnectWindow.h"

#include "QOVANetworkStyle.h"

#include "QOVAButton.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

#include <QCheckBox>

#include <algorithm>

QOVAWifiConnectWindow::QOVAWifiConnectWindow(double width, double height)
    : QOVAWifiBaseWindow(width, height)
{
    setupUI();
}

QOVAWifiConnectWindow::QOVAWifiConnectWindow(const QRectF &frame)
    : QOVAWifiBaseWindow(frame)
{
    setupUI();
}

void QOVAWifiConnectWindow::setupUI()
{
    QWidget *content = contentView();
    const QFont font = fontWithSFProDisplay(13, QOVAFontRegular);
    m_usernameLabel = qovanet::rowLabel(content, qtTrId("STRING_USERNAME"), font);
    m_usernameLabel->setGeometry(0, 90, 178, 16);
    m_usernameTextfiled = new QOVATextField(content);
    m_usernameTextfiled->setGeometry(194, 90, 200, 16);
    connect(m_usernameTextfiled, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
    m_passwordLabel = qovanet::rowLabel(content, qtTrId("STRING_PASSWORD"), font);
    m_passwordLabel->setGeometry(0, 90 + 16 + 18, 178, 16);
    m_securePwdTextfield = new QOVASecureTextField(content);
    m_securePwdTextfield->setGeometry(194, 90 + 16 + 18 - 1, 204, 17);
    m_pwdTextField = new QOVATextField(content);
    m_pwdTextField->setGeometry(194, 90 + 16 + 18, 200, 16);
    m_pwdTextField->hide();
    const int boxTop = m_securePwdTextfield->geometry().bottom() + 1 + 16;
    // The check boxes reach to 22 from the right edge, or further where
    // their title needs it: a narrow window does not cut the title off.
    const auto boxWidth = [this](QCheckBox *box) {
        return std::max(qRound(windowSize().width()) - 194 - 22, box->sizeHint().width());
    };
    m_showPwdButton = new QCheckBox(qtTrId("STRING_SHOW_PASSWORD"), content);
    m_showPwdButton->setGeometry(194, boxTop, boxWidth(m_showPwdButton), 15);
    connect(m_showPwdButton, &QCheckBox::clicked, this, [this] { shouldShowPassword(); });
    m_rememberButton = new QCheckBox(QStringLiteral("Automatic connect this network"), content);
    m_rememberButton->setGeometry(194, boxTop + 15 + 15, boxWidth(m_rememberButton), 15);
    connect(m_rememberButton, &QCheckBox::clicked, this, [this] { shouldRememberPassword(); });

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

void QOVAWifiConnectWindow::placeButtons()
{
    if (!m_joinButton)
        return;
    const double w = qMax(67.0, qMax(m_joinButton->textLength(), m_cancelButton->textLength()));
    const double top = height() - 19.5 - 19;
    const double joinX = width() - 20.5 - w;
    m_joinButton->setGeometry(qRound(joinX), qRound(top), qRound(w), 19);
    m_cancelButton->setGeometry(qRound(joinX - 15 - w), qRound(top), qRound(w), 19);
}

void QOVAWifiConnectWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeButtons();
}

void QOVAWifiConnectWindow::setWifiUsername(const QString &networkName)
{
    setTitleText(QStringLiteral("%1 \"%2\" %3")
                     .arg(qtTrId("STRING_WIFI_NETWORK"), networkName, qtTrId("STRING_WIFI_REQUIRE_CREDENTIAL")));
}

void QOVAWifiConnectWindow::controlTextDidChange()
{
    const bool filled = !m_usernameTextfiled->text().isEmpty();
    formatButton(m_joinButton, filled, filled);
}

void QOVAWifiConnectWindow::shouldShowPassword()
{
    m_showPassword = m_showPwdButton->isChecked();
    if (m_showPassword) {
        m_pwdTextField->setText(m_securePwdTextfield->text());
        m_pwdTextField->show();
        m_pwdTextField->setFocus();
    } else {
        m_securePwdTextfield->setText(m_pwdTextField->text());
        m_pwdTextField->hide();
        m_securePwdTextfield->setFocus();
    }
}

void QOVAWifiConnectWindow::shouldRememberPassword()
{
    m_rememberNetwork = m_rememberButton->isChecked();
}

void QOVAWifiConnectWindow::joinNetwork()
{
    if (m_joinButton->disabled())
        return;
    orderOut();
    const QString password = m_showPassword ? m_pwdTextField->text() : m_securePwdTextfield->text();
    if (QOVAWifiConnectWindowDelegate *delegate = m_delegate.get())
        delegate->WifiWindow(this, m_usernameTextfiled->text(), password, m_rememberNetwork);
}

void QOVAWifiConnectWindow::cancelConnect()
{
    orderOut();
}
