#pragma once
// Stand-in for the administrator sign-in page until the maintenance pages
// land: a password field and a Sign In button that hand the typed password
// to the login delegate (the device page controller). Return in the field
// does the same as the button.

#include "QOVAPlaceholderPageView.h"
#include "settings/QOVALoginDelegate.h"

#include <QPointer>

class QLineEdit;
class QOVAButton;

class QOVAAdminSignInStandIn : public QOVAPlaceholderPageView {
    Q_OBJECT
public:
    explicit QOVAAdminSignInStandIn(QWidget *parent = nullptr);

    void setLoginDelegate(QOVALoginDelegate *delegate);
    QLineEdit *passwordField() const { return m_password; }
    QOVAButton *signInButton() const { return m_signIn; }

private:
    void signIn();

    QOVALoginDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    QLineEdit *m_password = nullptr;
    QOVAButton *m_signIn = nullptr;
};
