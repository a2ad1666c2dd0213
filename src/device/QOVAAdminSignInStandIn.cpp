#include "QOVAAdminSignInStandIn.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"

#include <QLineEdit>

QOVAAdminSignInStandIn::QOVAAdminSignInStandIn(QWidget *parent)
    : QOVAPlaceholderPageView(QStringLiteral("adminSigninView"), parent)
{
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordField"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setGeometry(36, 109, 240, 24);
    connect(m_password, &QLineEdit::returnPressed, this, &QOVAAdminSignInStandIn::signIn);

    m_signIn = new QOVAButton(this);
    m_signIn->setObjectName(QStringLiteral("signInButton"));
    m_signIn->setQovaButtonType(1);
    m_signIn->setTextString(qtTrId("STRING_SIGN_IN"));
    m_signIn->setGeometry(290, 109, 96, 24);
    connect(m_signIn, &QOVAButton::clicked, this, [this](QOVAButton *) { signIn(); });
}

void QOVAAdminSignInStandIn::setLoginDelegate(QOVALoginDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
}

void QOVAAdminSignInStandIn::signIn()
{
    // The delegate is held weakly: once it is gone nothing is sent.
    if (!m_delegate || m_delegateGuard.isNull())
        return;
    m_delegate->loginUsingPassword(m_password->text());
}
