#pragma once
// The EAP rows of the video bar's join-other-network window: EAP method,
// phase-2 method, CA and user certificate choices, identity and anonymous
// identity. The password row, the Join rule and the window size belong to
// the embedding window; the sub-view tells it when the identity changes and
// whether the chosen method hides the password (TLS). Its height follows the
// method: 2 below the last visible row.
//
// What the window sends, read through eapMethod(), phase2() ("None" for the
// no-method item, whatever the language), identity(), anonymousIdentity(),
// caCert() and clientCert() ("" for "Don't validate", else "orbrin_wifi").
// The window passes every installed-certificate reply to
// updateEapViewCertificateInfo().

#include "menu/QOVAWeakDelegate.h"

#include <QWidget>

class CertInfo;
class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;

class QOVAEAPViewDelegate {
public:
    virtual ~QOVAEAPViewDelegate() = default;
    // After every edit of the identity field: the window re-runs its Join
    // rule.
    virtual void changeIdentify() = 0;
    // At the end of every method choice: true for TLS, which needs no
    // password. The window hides or shows its password row and re-runs its
    // Join rule.
    virtual void hiddenPasswordView(bool hidden) = 0;
};

class QOVAEAPView : public QWidget {
    Q_OBJECT
public:
    // Tags of the method items.
    enum Method { MethodPEAP = 0, MethodTLS = 1, MethodTTLS = 2, MethodPWD = 3 };
    // Tags of the certificate items.
    enum Certificate { CertificateDontValidate = 1, CertificateInstalled = 2 };

    explicit QOVAEAPView(QWidget *parent = nullptr);

    void setEapViewDelegate(QOVAEAPViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAEAPViewDelegate *eapViewDelegate() const { return m_delegate.get(); }

    // Appends one installed item per "wifiCaCert" entry to the CA pop-up and
    // per "wifiClientCert" entry to the user-certificate pop-up; selects
    // nothing.
    void updateEapViewCertificateInfo(const CertInfo &info);

    // The method items' action.
    void selectMethodItem(int tag);

    QString eapMethod() const;
    int eapMethodTag() const;
    bool isTLS() const { return eapMethodTag() == MethodTLS; }
    QString phase2() const;
    QString identity() const;
    QString anonymousIdentity() const;
    QString caCert() const;
    QString clientCert() const;

    QOVALabel *methodLabel() const { return m_methodLabel; }
    QOVAPopUpButton *methodButton() const { return m_methodButton; }
    QOVALabel *authenLabel() const { return m_authenLabel; }
    QOVAPopUpButton *authenButton() const { return m_authenButton; }
    QOVALabel *certificateLabel() const { return m_certificateLabel; }
    QOVAPopUpButton *certificateButton() const { return m_certificateButton; }
    // Null until TLS is chosen or a user certificate is reported.
    QOVALabel *userCertificateLabel() const { return m_userCertificateLabel; }
    QOVAPopUpButton *userCertificatePopupButton() const { return m_userCertificatePopupButton; }
    QOVALabel *identifyLabel() const { return m_identifyLabel; }
    QOVATextField *identifyTextField() const { return m_identifyTextField; }
    QOVALabel *anonymousLabel() const { return m_anonymousLabel; }
    QOVATextField *anonymousTextField() const { return m_anonymousTextField; }

private:
    void decorateAuthenticationButton();
    void makeUserCertificateRow();
    void relayout();

    QOVAWeakDelegate<QOVAEAPViewDelegate> m_delegate;
    bool m_firstLayout = true;
    QOVALabel *m_methodLabel = nullptr;
    QOVAPopUpButton *m_methodButton = nullptr;
    QOVALabel *m_authenLabel = nullptr;
    QOVAPopUpButton *m_authenButton = nullptr;
    QOVALabel *m_certificateLabel = nullptr;
    QOVAPopUpButton *m_certificateButton = nullptr;
    QOVALabel *m_userCertificateLabel = nullptr;
    QOVAPopUpButton *m_userCertificatePopupButton = nullptr;
    QOVALabel *m_identifyLabel = nullptr;
    QOVATextField *m_identifyTextField = nullptr;
    QOVALabel *m_anonymousLabel = nullptr;
    QOVATextField *m_anonymousTextField = nullptr;
};
