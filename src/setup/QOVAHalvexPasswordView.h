#pragma once
// The set-up page on which the administrator password is replaced: current,
// new and confirmed password, and whether the device accepts simple
// passwords. Confirm is enabled while all three fields hold text; it sends
// nothing when the new and confirmed passwords differ. Return confirms and
// Tab moves between the fields while the page is the one in front.

#include "QOVAHalvexOOBBaseView.h"
#include "QOVAHalvexPasswordViewDelegate.h"

#include "QOVASecureTextView.h"

class QCheckBox;
class QKeyEvent;

class QOVAHalvexPasswordView : public QOVAHalvexOOBBaseView, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    explicit QOVAHalvexPasswordView(QWidget *parent = nullptr);

    void setDelegate(QOVAHalvexPasswordViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexPasswordViewDelegate *delegate() const { return m_delegate.get(); }

    QOVALabel *currentLabel() const { return m_currentLabel; }
    QOVASecureTextView *currentTextField() const { return m_currentTextField; }
    QOVALabel *changeLabel() const { return m_changeLabel; }
    QOVASecureTextView *changeTextField() const { return m_changeTextField; }
    QOVALabel *confirmLabel() const { return m_confirmLabel; }
    QOVASecureTextView *confirmTextField() const { return m_confirmTextField; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    QCheckBox *simpleButton() const { return m_simpleButton; }
    QOVAButton *confirmButton() const { return m_confirmButton; }

    // The device's answer: ticks the box (and hides the rule tip) or clears
    // it (and shows the tip).
    void updateOOBSimplePasswordStatus(bool simple);
    // The password change went through: the typed passwords are no longer
    // needed and are wiped from the fields.
    void clearPasswords();

    void getOOBSimplePasswordStatus();
    void clickSimpleButton();
    void clickConfirmButton();
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    // Return and Tab (from the key monitor); true when acted on.
    bool keyDown(QKeyEvent *event);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupPasswordView();
    bool allFieldsFilled() const;

    QOVAWeakDelegate<QOVAHalvexPasswordViewDelegate> m_delegate;
    QOVALabel *m_currentLabel = nullptr;
    QOVASecureTextView *m_currentTextField = nullptr;
    QOVALabel *m_changeLabel = nullptr;
    QOVASecureTextView *m_changeTextField = nullptr;
    QOVALabel *m_confirmLabel = nullptr;
    QOVASecureTextView *m_confirmTextField = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QCheckBox *m_simpleButton = nullptr;
    QOVAButton *m_confirmButton = nullptr;
};
