#pragma once
// Joining a network that is not listed, for the network camera: name,
// security (none, WEP, pre-shared key, 802.1X EAP with the camera's EAP
// rows) and, behind the option row's box, DHCP or a static address. Join
// hands the delegate the 13-key join record and closes; Join is enabled for
// every security type but none.
//
// Heights (width 420): none 310, WEP/PSK 372, EAP 544; 544 whenever the
// address rows show.

#include "QOVAWifiBaseWindow.h"

#include "QOVAAdvancedView.h"
#include "QOVAPasswordView.h"
#include "QOVAVaskoEAPView.h"
#include "QOVAWifiSwitchButtonView.h"
#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>

class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVAScrollView;
class QOVATextField;
class QOVAVaskoAdvancedWindow;

class QOVAVaskoWifiAdvancedConnectWindowDelegate {
public:
    virtual ~QOVAVaskoWifiAdvancedConnectWindowDelegate() = default;
    virtual void wifiAdvancedWindow(QOVAVaskoAdvancedWindow *window, const QJsonObject &params) = 0;
    virtual void cancelAdvanceConnect() = 0;
};

class QOVAVaskoAdvancedWindow : public QOVAWifiBaseWindow,
                                public QOVAPasswordViewDelegate,
                                public QOVAWifiSwitchButtonViewDelegate,
                                public QOVAEAPDelegate,
                                public QOVAAdvancedViewDelegate {
    Q_OBJECT
public:
    enum Security { SecurityNone = 0, SecurityWEP = 1, SecurityPSK = 2, SecurityEAP = 3 };

    QOVAVaskoAdvancedWindow(double width, double height);

    void setWindowDelegate(QOVAVaskoWifiAdvancedConnectWindowDelegate *delegate) { m_delegate.set(delegate); }

    void handleSecurityButtonPopBtn(int tag);
    void joinNetwork();
    void cancelConnect();
    QJsonObject joinRecord() const;
    bool isScrollingEnabled() const { return m_scrolling; }
    quint64 epaViewHeight() const { return m_epaViewHeight; }

    void securePasswordViewTextChange(QOVAPasswordView *, QLineEdit *) override {}
    void wifiSwitchButtonView(QOVAWifiSwitchButtonView *view, bool showAdvanced) override;
    void updateEAPViewLayoutHeight(quint64 height, quint64 controlTag) override;
    void handlePopupButton() override {}
    void ipTextFieldChange() override {}

    QOVATextField *ssidTextfiled() const { return m_ssidTextfiled; }
    QOVAPopUpButton *securityButton() const { return m_securityButton; }
    QOVAVaskoEAPView *eapView() const { return m_eapView; }
    QOVAPasswordView *passwordView() const { return m_passwordView; }
    QOVAWifiSwitchButtonView *switchView() const { return m_switchView; }
    QOVAAdvancedView *advancedView() const { return m_advancedView; }
    QOVAButton *joinButton() const { return m_joinButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupVaskoWifiAdvancedView();
    void relayout();
    void enableScrollView();

    QOVAWeakDelegate<QOVAVaskoWifiAdvancedConnectWindowDelegate> m_delegate;
    quint64 m_epaViewHeight = QOVAVaskoEAPView::kHeightPEAP;
    bool m_scrolling = false;

    QOVALabel *m_tipLabel = nullptr;
    QOVAScrollView *m_mainScrollView = nullptr;
    QWidget *m_formView = nullptr;
    QOVALabel *m_ssidLabel = nullptr;
    QOVATextField *m_ssidTextfiled = nullptr;
    QOVALabel *m_securityLabel = nullptr;
    QOVAPopUpButton *m_securityButton = nullptr;
    QOVAVaskoEAPView *m_eapView = nullptr;
    QOVAPasswordView *m_passwordView = nullptr;
    QOVAWifiSwitchButtonView *m_switchView = nullptr;
    QOVAAdvancedView *m_advancedView = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
};
