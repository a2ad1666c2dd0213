#pragma once
// Asks for a user name and a password for a named network, with a
// show-password and a remember box, and hands the three answers to its
// delegate after closing. Join needs a user name only.

#include "QOVAWifiBaseWindow.h"

#include "menu/QOVAWeakDelegate.h"

class QCheckBox;
class QOVAButton;
class QOVALabel;
class QOVASecureTextField;
class QOVATextField;
class QOVAWifiConnectWindow;

class QOVAWifiConnectWindowDelegate {
public:
    virtual ~QOVAWifiConnectWindowDelegate() = default;
    virtual void WifiWindow(QOVAWifiConnectWindow *window, const QString &username, const QString &password,
                            bool rememberNetwork) = 0;
};

class QOVAWifiConnectWindow : public QOVAWifiBaseWindow {
    Q_OBJECT
public:
    QOVAWifiConnectWindow(double width, double height);
    explicit QOVAWifiConnectWindow(const QRectF &frame);

    void setWindowDelegate(QOVAWifiConnectWindowDelegate *delegate) { m_delegate.set(delegate); }
    void setWifiUsername(const QString &networkName);

    void controlTextDidChange();
    void shouldShowPassword();
    void shouldRememberPassword();
    void joinNetwork();
    void cancelConnect();

    bool showPassword() const { return m_showPassword; }
    bool rememberNetwork() const { return m_rememberNetwork; }
    QOVATextField *usernameTextfiled() const { return m_usernameTextfiled; }
    QOVASecureTextField *securePwdTextfield() const { return m_securePwdTextfield; }
    QOVATextField *pwdTextField() const { return m_pwdTextField; }
    QCheckBox *showPwdButton() const { return m_showPwdButton; }
    QCheckBox *rememberButton() const { return m_rememberButton; }
    QOVAButton *joinButton() const { return m_joinButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void placeButtons();

    QOVAWeakDelegate<QOVAWifiConnectWindowDelegate> m_delegate;
    bool m_showPassword = false;
    bool m_rememberNetwork = false;
    QOVALabel *m_usernameLabel = nullptr;
    QOVATextField *m_usernameTextfiled = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextField *m_securePwdTextfield = nullptr;
    QOVATextField *m_pwdTextField = nullptr;
    QCheckBox *m_showPwdButton = nullptr;
    QCheckBox *m_rememberButton = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
