#pragma once
// The IPv4 rows of a Wi-Fi join window: a method pop-up ("DHCP" or static)
// and, for static addressing, address, gateway, subnet mask and two DNS
// servers. The form checks nothing and sends nothing; its window reads the
// fields when it builds its join dictionary (isDHCP() and the field getters).
// The address rows keep their places while hidden, so the form is always
// 177 high and 395 wide.

#include "menu/QOVAWeakDelegate.h"

#include <QWidget>

class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;

class QOVAAdvancedViewDelegate {
public:
    virtual ~QOVAAdvancedViewDelegate() = default;
    // After every pick in the method pop-up, once the rows are shown or
    // hidden, and at the end of selectDHCPToAuto().
    virtual void handlePopupButton() = 0;
    // After every edit of the address or the gateway field.
    virtual void ipTextFieldChange() = 0;
};

class QOVAAdvancedView : public QWidget {
    Q_OBJECT
public:
    // Tags of the method items.
    enum Method { MethodDHCP = 0, MethodStatic = 1 };

    explicit QOVAAdvancedView(QWidget *parent = nullptr);

    void setAdvanceDelegate(QOVAAdvancedViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAAdvancedViewDelegate *advanceDelegate() const { return m_delegate.get(); }

    QOVAPopUpButton *dhcpButton() const { return m_dhcpButton; }
    QOVATextField *ipTextField() const { return m_ipTextField; }
    QOVATextField *gatewayField() const { return m_gatewayField; }
    QOVATextField *maskTextField() const { return m_maskTextField; }
    QOVATextField *dnsTextField() const { return m_dnsTextField; }
    QOVATextField *dns2TextField() const { return m_dns2TextField; }

    // The "DHCP" item is selected.
    bool isDHCP() const;
    // Selects the "DHCP" item (reports nothing; call selectDHCPToAuto after).
    void chooseDHCPItem();
    // Hides the address rows without touching the pop-up, then tells the
    // delegate handlePopupButton.
    void selectDHCPToAuto();

    // The pop-up's action: shows the address rows for static, hides them
    // for DHCP, then tells the delegate handlePopupButton.
    void selectDHCPItem();

    static constexpr int kWidth = 395;
    static constexpr int kHeight = 177;

private:
    QOVALabel *makeLabel(const QString &text, int row);
    QOVATextField *makeField(int row);
    void setAddressRowsHidden(bool hidden);

    QOVAWeakDelegate<QOVAAdvancedViewDelegate> m_delegate;
    QOVALabel *m_dhcpLabel = nullptr;
    QOVAPopUpButton *m_dhcpButton = nullptr;
    QList<QWidget *> m_addressViews;
    QOVATextField *m_ipTextField = nullptr;
    QOVATextField *m_gatewayField = nullptr;
    QOVATextField *m_maskTextField = nullptr;
    QOVATextField *m_dnsTextField = nullptr;
    QOVATextField *m_dns2TextField = nullptr;
};
