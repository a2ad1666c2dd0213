#pragma once
// The first set-up page: sign in to the new device as the administrator
// ("Admin", shown, not editable, never sent) with its current password,
// after accepting the licence terms (a link to them opens in the browser).
// Sign In is enabled exactly when a password is typed and the tick is on.

#include "QOVAHalvexOOBBaseView.h"
#include "QOVAHalvexSignInViewDelegate.h"

#include "QOVASecureTextView.h"

class HyperlinkTextField;
class QCheckBox;

class QOVAHalvexSignInView : public QOVAHalvexOOBBaseView, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    explicit QOVAHalvexSignInView(QWidget *parent = nullptr);

    void setDelegate(QOVAHalvexSignInViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexSignInViewDelegate *delegate() const { return m_delegate.get(); }

    QOVALabel *userNameTitleLabel() const { return m_userNameTitleLabel; }
    QOVALabel *userNameLabel() const { return m_userNameLabel; }
    QOVALabel *passwordTitleLabel() const { return m_passwordTitleLabel; }
    QOVASecureTextView *passwordTextField() const { return m_passwordTextField; }
    HyperlinkTextField *descriptionLabel() const { return m_descriptionLabel; }
    QOVALabel *agreementLabel() const { return m_agreementLabel; }
    QCheckBox *agreementButton() const { return m_agreementButton; }
    QOVAButton *signInButton() const { return m_signInButton; }

    // The licence terms' address.
    static QString licenseAddress();

    // The sign-in went through: the typed password is wiped.
    void clearPassword();

    void signIn();
    void clickAgreementButton();
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;

private:
    void setupSignInView();
    void updateSignInButton();

    QOVAWeakDelegate<QOVAHalvexSignInViewDelegate> m_delegate;
    QOVALabel *m_userNameTitleLabel = nullptr;
    QOVALabel *m_userNameLabel = nullptr;
    QOVALabel *m_passwordTitleLabel = nullptr;
    QOVASecureTextView *m_passwordTextField = nullptr;
    HyperlinkTextField *m_descriptionLabel = nullptr;
    QOVALabel *m_agreementLabel = nullptr;
    QCheckBox *m_agreementButton = nullptr;
    QOVAButton *m_signInButton = nullptr;
};
