#pragma once
// Asks for a device's administrator password before its firmware update.
// The window only collects the password: Sign In (or Return) hands it and the
// row to the delegate, which signs in, closes the window and starts the
// update, or asks the window to show the failure text. Cancel closes it and
// nothing is updated.

#include "QOVAFirmwareModel.h"
#include "QOVASecureTextView.h"
#include "QOVAWindow.h"

class QOVAButton;
class QOVALabel;

class QOVAUpgradeSignInDelegate {
public:
    virtual ~QOVAUpgradeSignInDelegate() = default;
    virtual void signInUsingPassword(const QString &password, const QOVAFirmwareModelRef &model) = 0;
};

class QOVAUpgradeSignInWindow : public QOVAWindow, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    QOVAUpgradeSignInWindow(const QSizeF &size, const QOVAFirmwareModelRef &model);

    void setSignInDelegate(QOVAUpgradeSignInDelegate *delegate) { m_delegate = delegate; }
    QOVAFirmwareModelRef model() const { return m_model; }

    void showWindow() { show(); }
    // The red text under the tip.
    void showNotification(const QString &text);
    // Sign In: the password and the row go to the delegate.
    void signInAdminUser();
    // Cancel, and the page's way to close the window.
    void orderOut() { close(); }

    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;

    // "Tip product." or "Tip product - name.".
    static QString tipText(const QOVAFirmwareModel &model);
    // The height the wrapped tip takes (one line: 18).
    static int tipHeight(const QString &tip);

    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVALabel *notificationLabel() const { return m_notificationLabel; }
    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *passwordTextField() const { return m_passwordTextField; }
    QOVAButton *signInButton() const { return m_signInButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QOVAFirmwareModelRef m_model;
    QOVAUpgradeSignInDelegate *m_delegate = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVALabel *m_notificationLabel = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextField = nullptr;
    QOVAButton *m_signInButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
