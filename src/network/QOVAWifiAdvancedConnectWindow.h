#pragma once
// Joining a network that is not listed: its name, its security (none, WEP,
// WPA/WPA2 pre-shared key or 802.1X EAP with method, phase 2, certificates
// and identity) and, behind the option row's box, DHCP or a static address.
// Join hands the delegate the 15-key join record; choosing "None" hands the
// separate 16-key record at once (see QOVAWifiJoinParameters.h).
//
// Heights (width 420): None 310, WEP/PSK 372, EAP 544; 544 whenever the
// address rows show, scrolling then for EAP only. secureType starts at 1
// (WEP) although "None" is shown, until the user picks an item.

#include "QOVAWifiBaseWindow.h"

#include "QOVAAdvancedView.h"
#include "QOVAEAPView.h"
#include "QOVAPasswordView.h"
#include "QOVAWifiSwitchButtonView.h"
#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>

class CertInfo;
class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVAScrollView;
class QOVATextField;
class QOVAWifiAdvancedConnectWindow;

class QOVAWifiAdvancedConnectWindowDelegate {
public:
    virtual ~QOVAWifiAdvancedConnectWindowDelegate() = default;
    virtual void wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *window, const QJsonObject &params,
                                    bool remember) = 0;
    // Owners without these leave them out: nothing is sent then.
    virtual void setWifiSecurityTypeWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &) {}
    virtual void cancelAdvanceConnect() = 0;
    virtual void fetchWindowCertificateInfo() {}
};

class QOVAWifiAdvancedConnectWindow : public QOVAWifiBaseWindow,
                                      public QOVAPasswordViewDelegate,
                                      public QOVAWifiSwitchButtonViewDelegate,
                                      public QOVAEAPViewDelegate,
                                      public QOVAAdvancedViewDelegate {
    Q_OBJECT
public:
    enum Security { SecurityNone = 0, SecurityWEP = 1, SecurityPSK = 2, SecurityEAP = 3 };
    static constexpr double kWidth = 420;
    static constexpr double kNoneHeight = 310;
    static constexpr double kPskHeight = 372;
    static constexpr double kFullHeight = 544;

    QOVAWifiAdvancedConnectWindow(double width, double height);

    void setWindowDelegate(QOVAWifiAdvancedConnectWindowDelegate *delegate) { m_delegate.set(delegate); }

    void getWiFiCertificate();
    void wifiCertificateInfo(const CertInfo &info);

    // Actions.
    void selectSecureItem(int tag);
    void joinNetwork();
    void cancelConnect();
    bool checkButtonStatus();
    QJsonObject joinRecord() const;

    int secureType() const { return m_secureType; }
    bool isScrollingEnabled() const { return m_scrolling; }

    // Reports of the embedded views.
    void securePasswordViewTextChange(QOVAPasswordView *view, QLineEdit *field) override;
    void wifiSwitchButtonView(QOVAWifiSwitchButtonView *view, bool showAdvanced) override;
    void changeIdentify() override;
    void hiddenPasswordView(bool hidden) override;
    void handlePopupButton() override;
    void ipTextFieldChange() override;

    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVATextField *ssidTextfiled() const { return m_ssidTextfiled; }
    QOVAPopUpButton *securityButton() const { return m_securityButton; }
    QOVAPasswordView *passwordView() const { return m_passwordView; }
    QOVAEAPView *eapView() const { return m_eapView; }
    QOVAWifiSwitchButtonView *switchView() const { return m_switchView; }
    QOVAAdvancedView *advancedView() const { return m_advancedView; }
    QOVAButton *joinButton() const { return m_joinButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutWindow();
    void relayoutRows();
    void placeFrame();
    void enableScrollView(bool enabled);
    void sizeForState();

    QOVAWeakDelegate<QOVAWifiAdvancedConnectWindowDelegate> m_delegate;
    int m_secureType = SecurityWEP;
    bool m_scrolling = false;

    QOVALabel *m_tipLabel = nullptr;
    QOVAScrollView *m_mainScrollView = nullptr;
    QWidget *m_formView = nullptr;
    QOVALabel *m_ssidLabel = nullptr;
    QOVATextField *m_ssidTextfiled = nullptr;
    QOVALabel *m_securityLabel = nullptr;
    QOVAPopUpButton *m_securityButton = nullptr;
    QOVAPasswordView *m_passwordView = nullptr;
    QOVAEAPView *m_eapView = nullptr;
    QOVAWifiSwitchButtonView *m_switchView = nullptr;
    QOVAAdvancedView *m_advancedView = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
