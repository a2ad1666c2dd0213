#include "QOVAAdminSignIn.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "setup/QOVAPageKeyMonitor.h"

#include <QKeyEvent>
#include <QtMath>

using namespace settingsstyle;

QOVAAdminSignIn::QOVAAdminSignIn(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_ADMIN_SIGN_IN"));
    setupSignInUI();
    new QOVAPageKeyMonitor(this, [this](QKeyEvent *event) { return performKeyEquivalent(event); });
}

void QOVAAdminSignIn::setupSignInUI()
{
    m_passwordLabel = rowLabel(this, qtTrId("STRING_PASSWORD"));
    m_passwordLabel->setGeometry(36, underSplitLine(this, 24), 150, 36);

    m_passwordTextField = new QOVASecureTextView(this);
    m_passwordTextField->setSecureDelegate(this);
    centreOn(m_passwordTextField, m_passwordLabel, 200, 198, 24);

    m_signInButton = accentButton(this, qtTrId("STRING_SIGN_IN"));
    m_signInButton->setGeometry(36, m_passwordLabel->geometry().bottom() + 1 + 24,
                                pillWidth(m_signInButton, 88), 24);
    m_signInButton->setDisabled(true);
    connect(m_signInButton, &QOVAButton::clicked, this, [this] { loginAdminUser(); });
}

void QOVAAdminSignIn::showEvent(QShowEvent *event)
{
    QOVADisplayBaseView::showEvent(event);
    m_passwordTextField->selectCurrentTextView();
}

void QOVAAdminSignIn::secureTextViewTextChange(QOVASecureTextView *, QLineEdit *)
{
    m_signInButton->setDisabled(m_passwordTextField->passwordString().isEmpty());
}

void QOVAAdminSignIn::loginAdminUser()
{
    if (QOVALoginDelegate *d = loginDelegate())
        d->loginUsingPassword(m_passwordTextField->passwordString());
}

bool QOVAAdminSignIn::performKeyEquivalent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (m_passwordTextField->passwordString().isEmpty())
        return false;
    loginAdminUser();
    return true;
}
