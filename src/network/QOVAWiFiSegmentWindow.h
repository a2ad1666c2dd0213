#pragma once
// A static address form (IP and DNS tabs) on the Wi-Fi dialog frame; it has
// no actions and no data flow, and keeps its own origin when shown.

#include "QOVAWifiBaseWindow.h"

class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;
class QTabBar;

class QOVAWiFiSegmentWindow : public QOVAWifiBaseWindow {
    Q_OBJECT
public:
    explicit QOVAWiFiSegmentWindow(const QRectF &frame);

    // An editable label in the form's look; unused by the form itself.
    QOVALabel *editorlable();

    QTabBar *wifiSegmentControl() const { return m_wifiSegmentControl; }
    QOVALabel *ipLabel() const { return m_ipLabel; }
    QOVALabel *dhcpLabel() const { return m_dhcpLabel; }
    QOVAPopUpButton *dhcpPopUpButton() const { return m_dhcpPopUpButton; }
    QOVALabel *ipaddressLabel() const { return m_ipaddressLabel; }
    QOVATextField *ipAddressEditor() const { return m_ipAddressEditor; }
    QOVALabel *subnetMaskLabel() const { return m_subnetMaskLabel; }
    QOVATextField *subnetMaskEditor() const { return m_subnetMaskEditor; }

private:
    void layoutSegmentWindowView();

    QTabBar *m_wifiSegmentControl = nullptr;
    QOVALabel *m_ipLabel = nullptr;
    QOVALabel *m_dhcpLabel = nullptr;
    QOVAPopUpButton *m_dhcpPopUpButton = nullptr;
    QOVALabel *m_ipaddressLabel = nullptr;
    QOVATextField *m_ipAddressEditor = nullptr;
    QOVALabel *m_subnetMaskLabel = nullptr;
    QOVATextField *m_subnetMaskEditor = nullptr;
};
