#include "QOVAWiFiSegmentWindow.h"

#include "QOVANetworkStyle.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"

#include <QTabBar>

QOVAWiFiSegmentWindow::QOVAWiFiSegmentWindow(const QRectF &frame)
    : QOVAWifiBaseWindow(frame)
{
    setTitleText(qtTrId("STRING_MANAGE_KNOWN_NETWORKS"));
    layoutSegmentWindowView();
}

void QOVAWiFiSegmentWindow::layoutSegmentWindowView()
{
    QWidget *content = contentView();
    const QFont font12 = fontWithSFProDisplay(12, QOVAFontRegular);
    const int titleBottom = titleLabel()->geometry().bottom() + 1;

    m_wifiSegmentControl = new QTabBar(content);
    m_wifiSegmentControl->addTab(QStringLiteral("IP"));
    m_wifiSegmentControl->addTab(QStringLiteral("DNS"));
    m_wifiSegmentControl->setCurrentIndex(0);
    m_wifiSegmentControl->setGeometry(177, titleBottom + 17, 132, 20);

    m_ipLabel = new QOVALabel(content);
    m_ipLabel->setFont(font12);
    m_ipLabel->setStringValue(QStringLiteral("IP Address(IPv4):"));
    m_ipLabel->setGeometry(194, titleBottom + 17 + 20 + 17, 200, 16);

    m_dhcpLabel = qovanet::rowLabel(content, qtTrId("STRING_IPSETTINGS"), font12);
    const int dhcpTop = m_ipLabel->geometry().bottom() + 1 + 17;
    m_dhcpLabel->setGeometry(0, dhcpTop, 103, 16);
    m_dhcpPopUpButton = new QOVAPopUpButton(content);
    m_dhcpPopUpButton->addItemWithTitle(QStringLiteral("Enter IP address manually"));
    m_dhcpPopUpButton->setGeometry(194, dhcpTop + 8 - 2 - 8, 200, 16);

    const QColor text = colorWithString(QStringLiteral("616161"), 1.0);
    m_ipaddressLabel = qovanet::rowLabel(content, QStringLiteral("Your IP Address:"), font12);
    const int ipTop = dhcpTop + 16 + 38;
    m_ipaddressLabel->setGeometry(0, ipTop, 103, 16);
    m_ipAddressEditor = new QOVATextField(content);
    m_ipAddressEditor->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_ipAddressEditor->setStyleSheet(QStringLiteral("color: %1;").arg(text.name()));
    m_ipAddressEditor->setText(QStringLiteral("192.168.1.10"));
    m_ipAddressEditor->setGeometry(194, ipTop, 200, 16);

    m_subnetMaskLabel = qovanet::rowLabel(content, qtTrId("STRING_SUBNET_MASK"), font12);
    const int maskTop = ipTop + 16 + 18;
    m_subnetMaskLabel->setGeometry(0, maskTop, 103, 16);
    m_subnetMaskEditor = new QOVATextField(content);
    m_subnetMaskEditor->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_subnetMaskEditor->setStyleSheet(QStringLiteral("color: %1;").arg(text.name()));
    m_subnetMaskEditor->setGeometry(194, maskTop, 200, 16);
}

QOVALabel *QOVAWiFiSegmentWindow::editorlable()
{
    auto *label = new QOVALabel(contentView());
    label->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    label->setTextColor(colorWithString(QStringLiteral("616161"), 1.0));
    label->setBackgroundColor(Qt::white);
    label->setStyleSheet(QStringLiteral("border: 0.5px solid #616161; border-radius: 3px;"));
    return label;
}
