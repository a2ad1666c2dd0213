#pragma once
// Joining a listed Wi-Fi network that uses enterprise (EAP) security: EAP
// method, phase-2 method, CA and user certificate choices, identity,
// anonymous identity, password and, behind "Show advanced settings", the
// IPv4 rows. Join hands the delegate the Wi-Fi join dictionary of 15 keys:
//
//   ssid, identity, anonymousIdentity, password, securityType "EAP",
//   eapMethod, phase2 ("None" for the no-method item), dhcp (number 1, or 0
//   for static addressing), ip_address, subnet_mask, dns1, dns2, gateway
//   ("" unless static), caCert and clientCert ("" for "Don't validate",
//   else "orbrin_wifi")
//
// which the page sends unchanged as the Wi-Fi connect parameters.
//
// Opening, as the Wi-Fi page does it:
//
//   m_eapWindow = new QOVAWiFiEAPWindow(420, 490, ssid);
//   m_eapWindow->setEapDelegate(this);
//   m_eapWindow->getCertificateInfo();     // asks fetchCertificateInfo
//   m_eapWindow->show();
//   ...
//   m_eapWindow->wifiCertificateInfo(reply);   // the installed certificates
//
// Join is enabled when the identity is filled, the password too unless the
// method is TLS, and the IPv4 address with static addressing. Used once: Join
// and Cancel close it.

#include "QOVAAdvancedView.h"
#include "QOVAWifiBaseWindow.h"

#include "QOVASecureTextView.h"
#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>

class CertInfo;
class QCheckBox;
class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVAScrollView;
class QOVATextField;

class QOVAWiFiEAPWindowDelegate {
public:
    virtual ~QOVAWiFiEAPWindowDelegate() = default;
    // Join, after the window has closed. remember is always false.
    virtual void connectEAPWifiWithUserpassword(const QJsonObject &params, bool remember) = 0;
    // Asks for the installed certificates; the reply goes back through
    // wifiCertificateInfo(). Openers without certificates leave it out.
    virtual void fetchCertificateInfo() {}
    // Cancel, before the window closes.
    virtual void cancel() {}
};

class QOVAWiFiEAPWindow : public QOVAWifiBaseWindow, public QOVASecureTextViewDelegate,
                          public QOVAAdvancedViewDelegate {
    Q_OBJECT
public:
    // Tags of the EAP method items.
    enum Method { MethodPEAP = 0, MethodTLS = 1, MethodTTLS = 2, MethodPWD = 3 };
    // Tags of the certificate items.
    enum Certificate { CertificateDontValidate = 1, CertificateInstalled = 2 };
    static constexpr double kHeight = 490;
    static constexpr double kShortHeight = 385;

    QOVAWiFiEAPWindow(double width, double height, const QString &wifiName);

    void setEapDelegate(QOVAWiFiEAPWindowDelegate *delegate) { m_delegate.set(delegate); }
    QOVAWiFiEAPWindowDelegate *eapDelegate() const { return m_delegate.get(); }

    QString ssid() const { return m_ssid; }
    bool shouldRememberPassword() const { return false; }

    // Asks the delegate for the installed certificates.
    void getCertificateInfo();
    // Offers the installed Wi-Fi certificates: at most one installed item in
    // each certificate pop-up, whatever the number of entries and replies.
    void wifiCertificateInfo(const CertInfo &info);

    // Actions.
    void selectMethodItem(int tag);
    void shouldShowAdvancedSetting();
    void joinNetwork();
    void cancelConnect();
    // The Join rule; formats Join and returns whether it is enabled.
    bool checkButtonStatus();

    // The dictionary Join would send now.
    QJsonObject joinDictionary() const;

    // Change reports.
    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;
    void handlePopupButton() override;
    void ipTextFieldChange() override;

    QOVAScrollView *mainScrollView() const { return m_mainScrollView; }
    QWidget *formView() const { return m_formView; }
    QOVALabel *usernameLabel() const { return m_usernameLabel; }
    QOVATextField *usernameTextfiled() const { return m_usernameTextfiled; }
    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *securePwdTextfield() const { return m_securePwdTextfield; }
    QOVALabel *eapMethodLabel() const { return m_eapMethodLabel; }
    QOVAPopUpButton *eapPopUpButton() const { return m_eapPopUpButton; }
    QOVALabel *phaseLabel() const { return m_phaseLabel; }
    QOVAPopUpButton *phase2AuthPopUpButton() const { return m_phase2AuthPopUpButton; }
    QOVALabel *certificateLabel() const { return m_certificateLabel; }
    QOVAPopUpButton *certificatePopUpButton() const { return m_certificatePopUpButton; }
    QOVALabel *userCertificateLabel() const { return m_userCertificateLabel; }
    QOVAPopUpButton *userCertificatePopupButton() const { return m_userCertificatePopupButton; }
    QOVALabel *anonymousLabel() const { return m_anonymousLabel; }
    QOVATextField *anonymousTextfiled() const { return m_anonymousTextfiled; }
    QCheckBox *advanceButton() const { return m_advanceButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *joinButton() const { return m_joinButton; }
    QOVAAdvancedView *advancedView() const { return m_advancedView; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutEAPWindow();
    void decorateAuthenticationButton();
    void reloadUIWithEapMethod(int tag);
    void enableScrollView(bool enabled);
    void placeFrame();
    bool isStaticAddressing() const;
    void addInstalledItem(QOVAPopUpButton *popup, const QString &title);

    QOVAWeakDelegate<QOVAWiFiEAPWindowDelegate> m_delegate;
    QString m_ssid;
    int m_formHeight = 0;

    QOVAScrollView *m_mainScrollView = nullptr;
    QWidget *m_formView = nullptr;
    QOVALabel *m_usernameLabel = nullptr;
    QOVATextField *m_usernameTextfiled = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_securePwdTextfield = nullptr;
    QOVALabel *m_eapMethodLabel = nullptr;
    QOVAPopUpButton *m_eapPopUpButton = nullptr;
    QOVALabel *m_phaseLabel = nullptr;
    QOVAPopUpButton *m_phase2AuthPopUpButton = nullptr;
    QOVALabel *m_certificateLabel = nullptr;
    QOVAPopUpButton *m_certificatePopUpButton = nullptr;
    QOVALabel *m_userCertificateLabel = nullptr;
    QOVAPopUpButton *m_userCertificatePopupButton = nullptr;
    QOVALabel *m_anonymousLabel = nullptr;
    QOVATextField *m_anonymousTextfiled = nullptr;
    QCheckBox *m_advanceButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QOVAAdvancedView *m_advancedView = nullptr;
};
