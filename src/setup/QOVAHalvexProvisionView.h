#pragma once
// The provisioning step of the set-up: how the new device finds its
// provisioning server. The page shows the device's settings when the wizard
// answers, offers the modes of the product (and on the video bar the server
// type), and on firmware that takes one a DHCP option in the automatic mode.
// Next hands the values to the wizard and, 10 ms later, the DHCP option.

#include "QOVAHalvexOOBBaseView.h"
#include "QOVAHalvexProvisionViewDelegate.h"
#include "QOVAProvisionPolicy.h"

#include "QOVASecureTextView.h"

#include <memory>

class ProvisionModel;
class QKeyEvent;
class QOVAPopUpButton;
class QOVATextField;

class QOVAHalvexProvisionView : public QOVAHalvexOOBBaseView, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    explicit QOVAHalvexProvisionView(const QString &productID, QWidget *parent = nullptr);

    void setDelegate(QOVAHalvexProvisionViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexProvisionViewDelegate *delegate() const { return m_delegate.get(); }

    QString productID() const { return m_productID; }
    // The rules for this product and the firmware of the open device.
    QOVAProvisionPolicy policy() const;

    QOVALabel *provisioningModeLabel() const { return m_provisioningModeLabel; }
    QOVAPopUpButton *modeSelectButton() const { return m_modeSelectButton; }
    QOVALabel *provisionServerTypeLabel() const { return m_provisionServerTypeLabel; }
    QOVAPopUpButton *serverTypeSelectButton() const { return m_serverTypeSelectButton; }
    QOVALabel *serverAddressLabel() const { return m_serverAddressLabel; }
    QOVATextField *serverAddressTextField() const { return m_serverAddressTextField; }
    QOVALabel *userNameLabel() const { return m_userNameLabel; }
    QOVATextField *userNameTextField() const { return m_userNameTextField; }
    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *passwordTextField() const { return m_passwordTextField; }
    // The DHCP rows exist only on firmware that takes a DHCP option.
    QOVALabel *dhcpStartupTitleLabel() const { return m_dhcpStartupTitleLabel; }
    QOVATextField *dhcpStartupEditor() const { return m_dhcpStartupEditor; }
    QOVALabel *dhcpValueRangeNote() const { return m_dhcpValueRangeNote; }

    // The device's settings (none when they could not be read).
    void updateProvisionUI(const std::shared_ptr<const ProvisionModel> &model);
    void handleModePopBtn();
    void checkButtonStatus();
    // The settings were written: the password is not kept in the page.
    void clearPassword();

    void pageControlGoNext(QOVAHalvexPageControlView *bar) override;
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    bool keyDown(QKeyEvent *event);

    // The page's labels.
    using QOVAHalvexOOBBaseView::titleLabel;
    QOVALabel *titleLabel(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupOOBProvisionView();
    void createDhcpRows();
    void layoutRows();
    QString dhcpText() const;

    QOVAWeakDelegate<QOVAHalvexProvisionViewDelegate> m_delegate;
    QString m_productID;
    QOVALabel *m_provisioningModeLabel = nullptr;
    QOVAPopUpButton *m_modeSelectButton = nullptr;
    QOVALabel *m_provisionServerTypeLabel = nullptr;
    QOVAPopUpButton *m_serverTypeSelectButton = nullptr;
    QOVALabel *m_serverAddressLabel = nullptr;
    QOVATextField *m_serverAddressTextField = nullptr;
    QOVALabel *m_userNameLabel = nullptr;
    QOVATextField *m_userNameTextField = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextField = nullptr;
    QOVALabel *m_dhcpStartupTitleLabel = nullptr;
    QOVATextField *m_dhcpStartupEditor = nullptr;
    QOVALabel *m_dhcpValueRangeNote = nullptr;
};
