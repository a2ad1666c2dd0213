#pragma once
// 802.1X port authentication of a network camera's Ethernet port: no
// security, or 802.1X with an EAP method and its fields. It opens on what the
// device last reported (method and identity; the password opens empty) and,
// on Save, hands its delegate the Security_802_1_x dictionary: exactly ten
// string entries
//
//   securityType ("None" or "802.1 x EAP"), identity, anonymousIdentity,
//   password, caCert, clientCert, eapMethod, phase2, privateKey,
//   privateKeyPass
//
// where the certificate and key entries are always "". The opener wraps it
// as {"network_mode": "Ethernet", "Security_802_1_x": ...}, the body of the
// "network" PUT.
//
// Opening, as the network pages do it:
//
//   cancelNetworkTimer();
//   auto *window = new QOVA8021xEthernetWindow(420, 442, lastReply->Security_802_1_x);
//   window->setEthernetDelegate(this);
//   window->show();
//
// Used once: Save and Cancel close it (orderOut).

#include "QOVAWifiBaseWindow.h"

#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>
#include <QStringList>

#include <memory>
#include <vector>

class Ethernet802_1_xModel;
class QOVAButton;
class QOVALabel;
class QOVAOOBChooseFileView;
class QOVAPopUpButton;
class QOVASecureTextView;
class QOVATextField;

class QOVA8021xEthernetWindowDelegate {
public:
    virtual ~QOVA8021xEthernetWindowDelegate() = default;
    // Save, before the window closes.
    virtual void connectSecurityNetwork(const QJsonObject &security8021x) = 0;
    // Cancel, after the window has closed: the opener resumes its polling.
    virtual void restartNetworkViewTimer() = 0;
};

class QOVA8021xEthernetWindow : public QOVAWifiBaseWindow {
    Q_OBJECT
public:
    // EAP method modes (also the tags of the EAP pop-up's items).
    enum Mode { ModePEAP = 0, ModeTLS = 1, ModeTTLS = 2, ModeMD5 = 3, ModeFAST = 4 };
    // Tags of the security pop-up's items.
    enum Security { SecurityNone = 0, Security8021X = 1 };

    // model may be null (the port has no 802.1X settings).
    QOVA8021xEthernetWindow(double width, double height, std::shared_ptr<const Ethernet802_1_xModel> model);

    void setEthernetDelegate(QOVA8021xEthernetWindowDelegate *delegate) { m_delegate.set(delegate); }
    QOVA8021xEthernetWindowDelegate *ethernetDelegate() const { return m_delegate.get(); }

    qint64 currentEapMethodMode() const { return m_currentEapMethodMode; }

    // Shown at the size of its current layout (500 high for FAST).
    void show() override;

    // Actions.
    void selectSecurityMode();
    void selectEAPMethodModeButton();
    void saveSettings();
    void cancelSettings();

    // Layouts.
    void securityNoneUILayout();
    void selectEAPMethodMode(qint64 mode);

    // The dictionary Save would send now.
    QJsonObject security8021xDictionary() const;

    // Widgets.
    QOVALabel *subTitleLabel() const { return m_subTitle; }
    QOVALabel *securityLabel() const { return m_securityLabel; }
    QOVAPopUpButton *securityButton() const { return m_securityButton; }
    QOVALabel *eapLabel() const { return m_eapLabel; }
    QOVAPopUpButton *eapButton() const { return m_eapButton; }
    QOVALabel *authenticationLabel() const { return m_authenticationLabel; }
    QOVAPopUpButton *authenticationButton() const { return m_authenticationButton; }
    QOVALabel *provisionLabel() const { return m_provisionLabel; }
    QOVAPopUpButton *provisionButton() const { return m_provisionButton; }
    QOVAOOBChooseFileView *caCertificateView() const { return m_caCertificateView; }
    QOVAOOBChooseFileView *userCertificateView() const { return m_userCertificateView; }
    QOVAOOBChooseFileView *privateKeyView() const { return m_privateKeyView; }
    QOVAOOBChooseFileView *pacFileView() const { return m_pacFileView; }
    QOVALabel *identifyLabel() const { return m_identifyLabel; }
    QOVATextField *identifyTextfield() const { return m_identifyTextfield; }
    QOVALabel *anonymousLabel() const { return m_anonymousLabel; }
    QOVATextField *anonymousTextfield() const { return m_anonymousTextfield; }
    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *passwordTextfield() const { return m_passwordTextfield; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *saveButton() const { return m_saveButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Rows in the order they can appear under the security row.
    enum Row { RowEAP, RowPhase2, RowProvision, RowPacFile, RowCA, RowIdentity, RowAnonymous, RowUserCert,
               RowPrivateKey, RowPassword, RowCount };
    struct RowViews {
        QWidget *label = nullptr;     // null for the choose-file rows
        QWidget *control = nullptr;
        double controlX = 0;
        double controlWidth = 0;
    };

    void layoutSettingsView();
    void setupSecurityUIContorl(const std::shared_ptr<const Ethernet802_1_xModel> &model);
    void decorateAuthenticationButton(QOVAPopUpButton *popup, const QStringList &names);
    void showRows(const std::vector<Row> &rows);
    void placeRows();
    void placeButtons();

    QOVAWeakDelegate<QOVA8021xEthernetWindowDelegate> m_delegate;
    qint64 m_currentEapMethodMode = ModePEAP;
    std::vector<Row> m_visibleRows;
    RowViews m_rows[RowCount];

    QOVALabel *m_subTitle = nullptr;
    QOVALabel *m_securityLabel = nullptr;
    QOVAPopUpButton *m_securityButton = nullptr;
    QOVALabel *m_eapLabel = nullptr;
    QOVAPopUpButton *m_eapButton = nullptr;
    QOVALabel *m_authenticationLabel = nullptr;
    QOVAPopUpButton *m_authenticationButton = nullptr;
    QOVALabel *m_provisionLabel = nullptr;
    QOVAPopUpButton *m_provisionButton = nullptr;
    QOVAOOBChooseFileView *m_caCertificateView = nullptr;
    QOVAOOBChooseFileView *m_userCertificateView = nullptr;
    QOVAOOBChooseFileView *m_privateKeyView = nullptr;
    QOVAOOBChooseFileView *m_pacFileView = nullptr;
    QOVALabel *m_identifyLabel = nullptr;
    QOVATextField *m_identifyTextfield = nullptr;
    QOVALabel *m_anonymousLabel = nullptr;
    QOVATextField *m_anonymousTextfield = nullptr;
    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_passwordTextfield = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_saveButton = nullptr;
};
