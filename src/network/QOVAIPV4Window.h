#pragma once
// The IPv4 settings of a network camera's Ethernet port: DHCP, or a static
// address, subnet mask and gateway; in both cases two DNS servers and a
// search domain. It opens on what the device last reported and, on Join,
// hands its delegate the IPv4 settings dictionary:
//
//   static: main_ip_address, mask, gateway, dns1, dns2, dns_domain, dhcp 0
//   DHCP:   dns1, dns2, dns_domain, dhcp 1
//
// ("dhcp" is a JSON number, every other value the field's text as typed).
// The opener wraps it as {"network_mode": "Ethernet", "IPV4setting": ...},
// the body of the "network" PUT.
//
// Opening, as the network pages do it:
//
//   cancelNetworkTimer();
//   auto *window = new QOVAIPV4Window(420, 408, lastReply->IPV4setting);
//   window->setIpv4Connectdelegate(this);
//   window->show();
//
// The window fills its fields on the next turn of the event loop, after
// show(). It is used once: Join and Cancel close it (orderOut), and the owner
// deletes it when it likes (deleteLater after the delegate call is fine).

#include "QOVAWifiBaseWindow.h"

#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class IPV4SettingModel;
class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;
class QVariantAnimation;

// What the device reported for DHCP: only the name servers and the domain.
struct DhcpModel {
    QString dns1;
    QString dns2;
    QString domain;
};

// What the device reported for static addressing.
struct StaticModel {
    QString ipAddress;
    QString subnetMask;
    QString gateway;
    QString dns1;
    QString dns2;
    QString domain;
};

class QOVAIPV4WindowDelegate {
public:
    virtual ~QOVAIPV4WindowDelegate() = default;
    // Join with input that passed the checks, before the window closes.
    virtual void connectNetwork(const QJsonObject &ipv4Settings) = 0;
    // Cancel, after the window has closed: the opener resumes its polling.
    virtual void restartTimer() = 0;
};

class QOVAIPV4Window : public QOVAWifiBaseWindow {
    Q_OBJECT
public:
    // Field tags.
    enum FieldTag { TagIPAddress = 100, TagSubnetMask = 200, TagGateway = 300 };
    // Method item tags.
    enum Method { MethodDHCP = 0, MethodStatic = 1 };

    // model may be null: the window then opens on static with empty fields.
    QOVAIPV4Window(double width, double height, std::shared_ptr<const IPV4SettingModel> model);

    void setIpv4Connectdelegate(QOVAIPV4WindowDelegate *delegate) { m_delegate.set(delegate); }
    QOVAIPV4WindowDelegate *ipv4Connectdelegate() const { return m_delegate.get(); }

    // Length of the row animation after a method change; half a second
    // unless set (0: the rows move and refill at once).
    void setAnimationDuration(int ms) { m_animationMs = ms; }
    int animationDuration() const { return m_animationMs; }

    // Rules of the static input.
    // A dotted-quad IPv4 address whose last part is not 0.
    static bool isValidIPAddress(const QString &text);
    // A contiguous mask of prefix length 1 to 31 in dotted decimal.
    static bool validateNetMask(const QString &text);

    const DhcpModel &dhcpModel() const { return m_dhcpModel; }
    const StaticModel &staticModel() const { return m_staticModel; }
    bool isStaticSelected() const;

    // Actions (the pop-up's, the buttons', and every field's text change).
    void handleMethodBtn();
    void joinNetwork();
    void cancelConnect();
    void controlTextDidChange(QOVATextField *field);

    // Widgets.
    QOVALabel *subTitleLable() const { return m_subTitle; }
    QOVALabel *networkMethodLabel() const { return m_methodLabel; }
    QOVAPopUpButton *methodPopupButton() const { return m_methodPopup; }
    QOVALabel *ipAddressLabel() const { return m_rowLabels[RowIP]; }
    QOVATextField *ipTextField() const { return m_fields[RowIP]; }
    QOVALabel *validIPAddressLabel() const { return m_errorLabels[0]; }
    QOVALabel *netMaskLabel() const { return m_rowLabels[RowMask]; }
    QOVATextField *netMaskTextField() const { return m_fields[RowMask]; }
    QOVALabel *validNetMaskLabel() const { return m_errorLabels[1]; }
    QOVALabel *gatewayLabel() const { return m_rowLabels[RowGateway]; }
    QOVATextField *gatewayField() const { return m_fields[RowGateway]; }
    QOVALabel *validGatewayLabel() const { return m_errorLabels[2]; }
    QOVALabel *firstDNS() const { return m_rowLabels[RowDNS1]; }
    QOVATextField *dnsTextField() const { return m_fields[RowDNS1]; }
    QOVALabel *secondDNS() const { return m_rowLabels[RowDNS2]; }
    QOVATextField *secondDNSTextField() const { return m_fields[RowDNS2]; }
    QOVALabel *secondaryDomain() const { return m_rowLabels[RowDomain]; }
    QOVATextField *domainTextField() const { return m_fields[RowDomain]; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *joinButton() const { return m_joinButton; }

private:
    enum Row { RowIP = 0, RowMask, RowGateway, RowDNS1, RowDNS2, RowDomain, RowCount };

    void layoutContent();
    void setupUIControl(std::shared_ptr<const IPV4SettingModel> model);
    void hiddenUIControl(bool hidden);
    void checkButtonStatus();
    void setErrorShown(int index, bool shown);
    // Places the rows for the current attachment and error lines; the DNS
    // rows are given their own top (for the animation).
    void placeRows(double dnsTop);
    double dnsTargetTop() const;
    void moveDNSRows(std::function<void()> completion);
    QJsonObject ipv4Dictionary() const;
    void fillFields(const StaticModel &values);

    QOVAWeakDelegate<QOVAIPV4WindowDelegate> m_delegate;
    DhcpModel m_dhcpModel;
    StaticModel m_staticModel;
    int m_animationMs;
    bool m_dnsUnderGateway = false;
    std::array<bool, 3> m_errorShown{false, false, false};
    double m_dnsTop = 0;

    QOVALabel *m_subTitle = nullptr;
    QOVALabel *m_methodLabel = nullptr;
    QOVAPopUpButton *m_methodPopup = nullptr;
    std::array<QOVALabel *, RowCount> m_rowLabels{};
    std::array<QOVATextField *, RowCount> m_fields{};
    std::array<QOVALabel *, 3> m_errorLabels{};
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_joinButton = nullptr;
    QPointer<QVariantAnimation> m_animation;
};
