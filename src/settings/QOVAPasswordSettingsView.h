#pragma once
// Password settings: the administrator password changed from the current,
// new and confirmed passwords, and the device's simple-password rule. Save
// is enabled while all three fields hold text and sends nothing when the new
// and confirmed passwords differ; every other rule is the device's. Return
// saves and Tab moves between the fields while the page is the one in front
// in the active window.

#include "QOVADisplayBaseView.h"
#include "QOVAPasswordSettingDelegate.h"
#include "QOVASecureTextView.h"

#include "menu/QOVAWeakDelegate.h"

class QCheckBox;
class QKeyEvent;
class QOVAButton;
class QOVALabel;

class QOVAPasswordSettingsView : public QOVADisplayBaseView,
                                 public QOVASecureTextViewDelegate,
                                 public QOVAPasswordSettingsViewInterface {
    Q_OBJECT
public:
    explicit QOVAPasswordSettingsView(QWidget *parent = nullptr);

    void setPasswordSettingDelegate(QOVAPasswordSettingDelegate *delegate) { m_delegate.set(delegate); }
    QOVAPasswordSettingDelegate *passwordSettingDelegate() const { return m_delegate.get(); }

    QOVALabel *currentPasswordLabel() const { return m_currentPasswordLabel; }
    QOVASecureTextView *currentPasswordTextField() const { return m_currentPasswordTextField; }
    QOVALabel *newPasswordLabel() const { return m_newPasswordLabel; }
    QOVASecureTextView *newPasswordTextField() const { return m_newPasswordTextField; }
    QOVALabel *confirmPasswordLabel() const { return m_confirmPasswordLabel; }
    QOVASecureTextView *confirmPasswordTextField() const { return m_confirmPasswordTextField; }
    QCheckBox *simpleButton() const { return m_simpleButton; }
    QOVAButton *passwordSaveButton() const { return m_passwordSaveButton; }
    QOVALabel *tipLabel() const { return m_tipLabel; }

    void handleDisplayViewEvent() override;
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    void savePasswordSetting();
    void clickSimpleButton();
    void updateSimplePasswordStatus(bool allowed) override;
    // Return and Tab (from the key monitor); true when acted on.
    bool keyDown(QKeyEvent *event);

private:
    void setupPasswordSettingsUI();
    void placeSaveButton();
    bool allFieldsFilled() const;

    QOVALabel *m_currentPasswordLabel = nullptr;
    QOVASecureTextView *m_currentPasswordTextField = nullptr;
    QOVALabel *m_newPasswordLabel = nullptr;
    QOVASecureTextView *m_newPasswordTextField = nullptr;
    QOVALabel *m_confirmPasswordLabel = nullptr;
    QOVASecureTextView *m_confirmPasswordTextField = nullptr;
    QCheckBox *m_simpleButton = nullptr;
    QOVAButton *m_passwordSaveButton = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVAWeakDelegate<QOVAPasswordSettingDelegate> m_delegate;
};
