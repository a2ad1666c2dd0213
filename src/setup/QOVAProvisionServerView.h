#pragma once
// The device page on which the provisioning server settings are read and
// changed after set-up. Each time it is shown it asks for the device's
// settings; Save hands the values (the address trimmed of blanks) to the
// controller and, in the automatic mode on firmware that takes one, the DHCP
// option 10 ms later. The controller reports the outcome as a toast.

#include "QOVADisplayBaseView.h"
#include "QOVAProvisionDelegate.h"
#include "QOVAProvisionPolicy.h"

#include "menu/QOVAWeakDelegate.h"

#include "QOVASecureTextView.h"

#include <memory>

class ProvisionModel;
class QKeyEvent;
class QOVAButton;
class QOVAPopUpButton;
class QOVATextField;

class QOVAProvisionServerView : public QOVADisplayBaseView, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    explicit QOVAProvisionServerView(const QString &productID, QWidget *parent = nullptr);

    void setDelegate(QOVAProvisionDelegate *delegate) { m_delegate.set(delegate); }
    QOVAProvisionDelegate *delegate() const { return m_delegate.get(); }

    QString productID() const { return m_productID; }
    QOVAProvisionPolicy policy() const;

    QOVALabel *provisoningModeLabel() const { return m_provisoningModeLabel; }
    QOVAPopUpButton *modeSelectButton() const { return m_modeSelectButton; }
    QOVALabel *provisionServerTypeLabel() const { return m_provisionServerTypeLabel; }
    QOVAPopUpButton *serverTypeSelectButton() const { return m_serverTypeSelectButton; }
    QOVALabel *serverAddressLabel() const { return m_serverAddressLabel; }
    QOVATextField *serverAddressTextField() const { return m_serverAddressTextField; }
    QOVALabel *userNameLabel() const { return m_userNameLabel; }
    QOVATextField *userNameTextField() const { return m_userNameTextField; }
    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *passwordTextField() const { return m_passwordTextField; }
    QOVAButton *provisionSaveButton() const { return m_provisionSaveButton; }
    // Only on firmware that takes a DHCP option.
    QOVALabel *dhcpTitleLabel() const { return m_dhcpTitleLabel; }
    QOVATextField *dhcpEditor() const { return m_dhcpEditor; }
    QOVALabel *dhcpValueRangeNote() const { return m_dhcpValueRangeNote; }

    void handleDisplayViewEvent() override;
    // The device's settings.
    void provisionModel(const std::shared_ptr<const ProvisionModel> &model);
    void handleModePopBtn();
    void checkButtonStatus();
    void saveProvisionSetting();
    // The settings were written: the password is not kept in the page.
    void clearPassword();

    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    bool keyDown(QKeyEvent *event);

    QOVALabel *titleLabel(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupProvisionUI();
    void createDhcpRows();
    void layoutRows();
    QString dhcpText() const;

    QOVAWeakDelegate<QOVAProvisionDelegate> m_delegate;
    QString m_productID;
    QOVALabel *m_provisoningModeLabel = nullptr;
    QOVAPopUpButton *m_modeSelectButton = nullptr;
    QOVALabel *m_provisionServerTypeLabel = nullptr;
    QOVAPopUpButton *m_serverTypeSelectButton = nullptr;
    QOVALabel *m_serverAddressLabel = nullptr;
    QOVATextField *m_serverAddressTextField = nullptr;
    QOVALabel *m_userNameLabel = nullptr;
    QOVATextField *m_userNameTextField = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextField = nullptr;
    QOVAButton *m_provisionSaveButton = nullptr;
    QOVALabel *m_dhcpTitleLabel = nullptr;
    QOVATextField *m_dhcpEditor = nullptr;
    QOVALabel *m_dhcpValueRangeNote = nullptr;
};
