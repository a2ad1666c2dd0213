#include "QOVAVaskoStatusView.h"

#include "QOVAPowerWarningWindow.h"
#include "QOVAStatusText.h"

#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include "models/DeviceInfoModel.h"

using namespace QOVAStatusText;

QOVAVaskoStatusView::QOVAVaskoStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent)
    : QOVAStatusBaseView(deviceModel, parent)
{
    init();
}

QString QOVAVaskoStatusView::supportAddress()
{
    return QStringLiteral("https://support.orvalinde.example/network-camera");
}

void QOVAVaskoStatusView::setupStatusView()
{
    m_deviceTimeTitleLabel = makeTitleLabel("STRING_DEVICE_TIME");
    m_deviceTimeTitleLabel->setObjectName(QStringLiteral("deviceTimeTitleLabel"));
    m_deviceTimeLabel = makeValueLabel();
    m_deviceTimeLabel->setObjectName(QStringLiteral("deviceTimeLabel"));
    m_deviceTimeLabel->setMaximumNumberOfLines(1);
    m_networkModeTitleLabel = makeTitleLabel("STRING_NETWORK_MODE");
    m_networkModeTitleLabel->setObjectName(QStringLiteral("networkModeTitleLabel"));
    m_networkModeLabel = makeValueLabel();
    m_networkModeLabel->setObjectName(QStringLiteral("networkModeLabel"));
    m_powerStatusTitleLabel = makeTitleLabel("STRING_POWER_STATUS");
    m_powerStatusTitleLabel->setObjectName(QStringLiteral("powerStatusTitleLabel"));
    m_powerStatusLabel = makeValueLabel();
    m_powerStatusLabel->setObjectName(QStringLiteral("powerStatusLabel"));
    m_usbConnectionTitleLabel = makeTitleLabel("STRING_USB_CONNECTION");
    m_usbConnectionTitleLabel->setObjectName(QStringLiteral("usbConnectionTitleLabel"));
    m_usbConnectionLabel = makeValueLabel();
    m_usbConnectionLabel->setObjectName(QStringLiteral("usbConnectionLabel"));

    int top = kSplitLineBottom + 16;
    top = placeRow(deviceModelTitleLabel(), deviceModelLabel(), top);
    top = placeRow(deviceNameTitleLabel(), deviceNameLabel(), top);
    top = placeRow(m_deviceTimeTitleLabel, m_deviceTimeLabel, top);
    top = placeRow(hardwareVersionTitleLabel(), hardwareVersionLabel(), top);
    top = placeRow(softwareVersionTitleLabel(), softwareVersionLabel(), top);
    top = placeRow(serialNumberTitleLabel(), serialNumberLabel(), top);
    top = placeRow(macAddressTitleLabel(), macAddressLabel(), top);
    top = placeRow(m_networkModeTitleLabel, m_networkModeLabel, top);
    top = placeRow(ipAddressTitleLabel(), ipAddressLabel(), top);
    top = placeProvisionRow(top);
    top = placeRow(m_powerStatusTitleLabel, m_powerStatusLabel, top, 112, 0);
    top = placeRow(m_usbConnectionTitleLabel, m_usbConnectionLabel, top, 112, 0);
    placeRow(referenceTitleLabel(), referenceLabel(), top, 112, 0);

    deviceWifiIcon()->setGeometry(kPageWidth - 46 - 24, 13, 24, 24);
    deviceImage()->setGeometry(kPageWidth - 46 - 176, 60, 176, 176);
}

QOVAButton *QOVAVaskoStatusView::tipButton()
{
    if (!m_tipButton) {
        m_tipButton = new QOVAButton(this);
        m_tipButton->setObjectName(QStringLiteral("tipButton"));
        m_tipButton->setBackgroundColor(Qt::transparent);
        m_tipButton->setImage(QStringLiteral("alert"));
        m_tipButton->hide();
        connect(m_tipButton, &QOVAButton::clicked, this, [this](QOVAButton *) { showPowerWarning(); });
    }
    return m_tipButton;
}

void QOVAVaskoStatusView::showPowerWarning()
{
    // The window deletes itself when closed; the page keeps no reference.
    auto *window = new QOVAPowerWarningWindow(420, 300);
    window->show();
}

void QOVAVaskoStatusView::updateWithDeviceModel(const DeviceInfoModel &model)
{
    QOVAStatusBaseView::updateWithDeviceModel(model);

    const QString mode = model.network_mode.value_or(QString());
    if (mode == QLatin1String("Ethernet"))
        deviceWifiIcon()->setImageName(model.network_status.value_or(0) != 0 ? QStringLiteral("icon_ethernet_connect")
                                                                             : QStringLiteral("icon_ethernet_disconnect"));
    else if (mode != QLatin1String("Wi-Fi"))
        deviceWifiIcon()->setImageName(QString());

    deviceImage()->setImageName(QStringLiteral("Vasko_Status_Info"));
    m_deviceTimeLabel->setStringValue(model.device_time.value_or(QString()));
    m_networkModeLabel->setStringValue(mode);
    referenceLabel()->setHyperlink(supportAddress());
    m_powerStatusLabel->setStringValue(model.power_supply.value_or(QString()));
    QOVAStatusText::fitWidth(m_powerStatusLabel);

    const QString usb = model.usb_mode.value_or(QString());
    if (usb == QLatin1String("USB2"))
        m_usbConnectionLabel->setStringValue(QStringLiteral("USB 2.0"));
    else if (usb == QLatin1String("USB3"))
        m_usbConnectionLabel->setStringValue(QStringLiteral("USB 3.0"));
    QOVAStatusText::fitWidth(m_usbConnectionLabel);
}
