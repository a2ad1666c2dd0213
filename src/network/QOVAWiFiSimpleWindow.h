#pragma once
// Joining a listed network that is open or protected by a pre-shared key:
// the password (protected networks only) and, behind "Show advanced
// settings", DHCP or a static IPv4 address. Join hands the delegate the
// 13-key join record (see QOVAWifiJoinParameters.h) after the window has
// closed; Cancel tells the delegate and closes.
//
// The type given at opening picks the variant: "None" is the open network,
// anything else the password variant (openers pass the word of
// qovanet::normalisedSecurityType, which is also what is sent).
//
// Sizes: 440 x 280 with the box off, 440 x 310 with DHCP, 440 x 450 static.

#include "QOVAWifiBaseWindow.h"

#include "QOVASecureTextView.h"
#include "QOVAWifiJoinParameters.h"
#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>

class QCheckBox;
class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;

class QOVAWiFiSimpleWindowDelegate {
public:
    virtual ~QOVAWiFiSimpleWindowDelegate() = default;
    virtual void connectSimpleWifiWithUserpassword(const QJsonObject &params) = 0;
    virtual void cancelConnect() = 0;
};

class QOVAWiFiSimpleWindow : public QOVAWifiBaseWindow, public QOVASecureTextViewDelegate {
    Q_OBJECT
public:
    static constexpr double kWidth = 440;
    static constexpr double kHeight = 280;
    static constexpr double kDhcpHeight = 310;
    static constexpr double kStaticHeight = 450;

    QOVAWiFiSimpleWindow(double width, double height, const QString &wifiName, const QString &encryptionType);

    void setSimpleDelegate(QOVAWiFiSimpleWindowDelegate *delegate) { m_delegate.set(delegate); }

    QString ssid() const { return m_ssid; }
    QString encryptionType() const { return m_encryptionType; }
    bool isOpenNetwork() const { return m_encryptionType == QLatin1String("None"); }

    // Actions.
    void shouldShowAdvancedSettings();
    void selectDHCPButton();
    void joinNetwork();
    void cancelConnect();
    // The Join rule; formats Join and returns whether it is enabled.
    bool checkButtonStatus();
    // The record Join would send now.
    QJsonObject joinRecord() const;

    void secureTextViewTextChange(QOVASecureTextView *view, QLineEdit *field) override;

    QOVALabel *passwordLabel() const { return m_passwordLabel; }
    QOVASecureTextView *pwdTextView() const { return m_pwdTextView; }
    QOVALabel *securityLabel() const { return m_securityLabel; }
    QCheckBox *advancedButton() const { return m_advancedButton; }
    QOVAPopUpButton *dhcpUpButton() const { return m_dhcpUpButton; }
    QOVALabel *dhcpLabel() const { return m_dhcpLabel; }
    QOVATextField *ipTextField() const { return m_ipTextField; }
    QOVATextField *gatewayField() const { return m_gatewayField; }
    QOVATextField *maskTextField() const { return m_maskTextField; }
    QOVATextField *dnsTextField() const { return m_dnsTextField; }
    QOVATextField *dns2TextField() const { return m_dns2TextField; }
    QOVAButton *joinButton() const { return m_joinButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutWindow();
    void placeButtons();
    bool isStatic() const;
    void setStaticRowsHidden(bool hidden);

    QOVAWeakDelegate<QOVAWiFiSimpleWindowDelegate> m_delegate;
    QString m_ssid;
    QString m_encryptionType;

    QOVALabel *m_passwordLabel = nullptr;
    QOVASecureTextView *m_pwdTextView = nullptr;
    QOVALabel *m_securityLabel = nullptr;
    QCheckBox *m_advancedButton = nullptr;
    QOVAPopUpButton *m_dhcpUpButton = nullptr;
    QOVALabel *m_dhcpLabel = nullptr;
    QList<QOVALabel *> m_staticLabels;
    QOVATextField *m_ipTextField = nullptr;
    QOVATextField *m_gatewayField = nullptr;
    QOVATextField *m_maskTextField = nullptr;
    QOVATextField *m_dnsTextField = nullptr;
    QOVATextField *m_dns2TextField = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
