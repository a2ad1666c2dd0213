#pragma once
// The administrator sign-in page: a password field and a Sign In button that
// hand the typed password, exactly as typed, to the login delegate (the
// device page controller), which checks it with the device. Return in the
// page does the same while the field holds text and the page is the one in
// front. The field takes the focus each time the page is shown.

#include "QOVADisplayBaseView.h"
#include "QOVALoginDelegate.h"
#include "QOVASecureTextView.h"

#include "menu/QOVAWeakDelegate.h"

class QKeyEvent;
class QOVAButton;
class QOVALabel;

class QOVAAdminSignIn : public QOVADisplayBaseView, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    explicit QOVAAdminSignIn(QWidget *parent = nullptr);

    void setLoginDelegate(QOVALoginDelegate *delegate) { m_loginDelegate.set(delegate); }
    QOVALoginDelegate *loginDelegate() const { return m_loginDelegate.get(); }

    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *passwordTextField() const { return m_passwordTextField; }
    QOVAButton *signInButton() const { return m_signInButton; }

    void loginAdminUser();
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    // Return (from the key monitor); true when it signed in.
    bool performKeyEquivalent(QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupSignInUI();

    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextField = nullptr;
    QOVAButton *m_signInButton = nullptr;
    QOVAWeakDelegate<QOVALoginDelegate> m_loginDelegate;
};
