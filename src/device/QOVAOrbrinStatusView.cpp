#include "QOVAOrbrinStatusView.h"

#include "QOVAStatusDotView.h"
#include "QOVAStatusText.h"
#include "QOVAStatusWarningView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include "models/DeviceInfoModel.h"

#include <cmath>

using namespace QOVAStatusText;

QOVAOrbrinStatusView::QOVAOrbrinStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent)
    : QOVAStatusBaseView(deviceModel, parent)
{
    init();
}

QString QOVAOrbrinStatusView::supportAddress()
{
    return QStringLiteral("https://support.orvalinde.example/video-bar");
}

void QOVAOrbrinStatusView::setupStatusView()
{
    QOVAStatusWarningView *banner = warningView();
    banner->setLinkAddress(supportAddress());
    banner->setGeometry(0, kSplitLineBottom, kPageWidth, banner->bannerHeight());

    deviceWifiIcon()->setGeometry(kPageWidth - 46 - 24, 13 + (24 - 24) / 2, 24, 24);
    deviceImage()->setGeometry(kPageWidth - 46 - 176, 60, 176, 176);

    m_countryTitleLabel = makeTitleLabel("STRING_COUNTRY_AND_REGIONS");
    m_countryTitleLabel->setObjectName(QStringLiteral("countryTitleLabel"));
    m_countryLabel = makeValueLabel();
    m_countryLabel->setObjectName(QStringLiteral("countryLabel"));
    m_countryLabel->setMaximumNumberOfLines(1);

    int top = banner->geometry().bottom() + 1 + 6;
    // Eleven rows of 32 would run into the remote-control section anchored
    // at the bottom of the page: the rows close up to end above it.
    const int sectionTop = kPageHeight - 135 - detailViewName()->height();
    setRowHeight(qMin(32, (sectionTop - 4 - top) / 11));
    top = placeRow(deviceModelTitleLabel(), deviceModelLabel(), top);
    top = placeRow(deviceNameTitleLabel(), deviceNameLabel(), top);
    top = placeRow(m_countryTitleLabel, m_countryLabel, top);
    top = placeRow(hardwareVersionTitleLabel(), hardwareVersionLabel(), top);
    top = placeRow(softwareVersionTitleLabel(), softwareVersionLabel(), top);
    top = placeRow(serialNumberTitleLabel(), serialNumberLabel(), top);
    top = placeRow(macAddressTitleLabel(), macAddressLabel(), top);
    top = placeRow(ipAddressTitleLabel(), ipAddressLabel(), top);
    top = placeRow(deviceDiagnosticTitileLable(), deviceDiagnosticLabel(), top, 112, 0);
    QOVAStatusText::fitWidth(deviceDiagnosticLabel());
    top = placeProvisionRow(top);
    top = placeRow(referenceTitleLabel(), referenceLabel(), top, 112, 0);
    QOVAStatusText::fitWidth(referenceLabel());

    // The remote-control section, from the bottom of the page up.
    m_rcNameBigLabel = new QOVALabel(this);
    m_rcNameBigLabel->setObjectName(QStringLiteral("rcNameBigLabel"));
    m_rcNameBigLabel->setFont(fontWithSFProDisplay(16, QOVAFontBoldItalic));
    m_rcNameBigLabel->setStringValue(qtTrId("STRING_REMOTE_CONTROL"));
    const QRect title = detailViewName()->geometry();
    m_rcNameBigLabel->setGeometry(36, kPageHeight - 135 - title.height(), title.width(), title.height());
    m_rcNameBigLabel->show();

    m_batteryLabel = new QOVALabel(this);
    m_batteryLabel->setObjectName(QStringLiteral("batteryLabel"));
    m_batteryLabel->setFont(fontWithSFProDisplay(12, 0));
    m_batteryLabel->setTextColor(Qt::black);
    m_batteryLabel->setAlignment(QOVALabel::AlignRight);
    m_batteryLabel->show();

    m_deviceBatteryIcon = new QOVAImageView(this);
    m_deviceBatteryIcon->setObjectName(QStringLiteral("deviceBatteryIcon"));
    m_deviceBatteryIcon->setImageName(QStringLiteral("battery_high"));
    m_deviceBatteryIcon->show();
    placeBattery();

    m_splitLine2 = new QWidget(this);
    m_splitLine2->setObjectName(QStringLiteral("splitLine2"));
    m_splitLine2->setAutoFillBackground(true);
    QPalette palette = m_splitLine2->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    m_splitLine2->setPalette(palette);
    const int splitTop = m_rcNameBigLabel->geometry().bottom() + 1 + 8;
    m_splitLine2->setGeometry(36, splitTop, 538, 1);
    m_splitLine2->show();

    m_rcImage = new QOVAImageView(this);
    m_rcImage->setObjectName(QStringLiteral("rcImage"));
    m_rcImage->setImageName(QStringLiteral("Orbrin_remote"));
    m_rcImage->setGeometry(deviceImage()->geometry().center().x() + 1 - 88, splitTop + 1, 176, 156);
    m_rcImage->show();

    m_remoteControlNameTitleLabel = makeTitleLabel("STRING_REMOTE_CONTROL_NAME");
    m_remoteControlNameTitleLabel->setObjectName(QStringLiteral("remoteControlNameTitleLabel"));
    m_remoteControlNameLabel = makeValueLabel();
    m_remoteControlNameLabel->setObjectName(QStringLiteral("remoteControlNameLabel"));
    m_rcHardwareVersionTitleLabel = makeTitleLabel("STRING_SOFTWARE_VERSION");
    m_rcHardwareVersionTitleLabel->setObjectName(QStringLiteral("rcHardwareVersionTitleLabel"));
    m_rcHardwareVersionLabel = makeValueLabel();
    m_rcHardwareVersionLabel->setObjectName(QStringLiteral("rcHardwareVersionLabel"));
    m_remoteControlStatusTitleLabel = makeTitleLabel("STRING_STATUS_COLON");
    m_remoteControlStatusTitleLabel->setObjectName(QStringLiteral("remoteControlStatusTitleLabel"));

    int rcTop = splitTop + 1 + 6;
    rcTop = placeRow(m_remoteControlNameTitleLabel, m_remoteControlNameLabel, rcTop);
    rcTop = placeRow(m_rcHardwareVersionTitleLabel, m_rcHardwareVersionLabel, rcTop);
    const int statusTop = rcTop;
    placeRow(m_remoteControlStatusTitleLabel, nullptr, statusTop);

    m_remoteControlStatusIcon = new QOVAStatusDotView(this);
    m_remoteControlStatusIcon->setObjectName(QStringLiteral("remoteControlStatusIcon"));
    m_remoteControlStatusIcon->setColorString(QStringLiteral("9b9b9b"));
    // The dot and the word centred on their title's row, whatever its height.
    m_remoteControlStatusIcon->setGeometry(200, statusTop + (rowHeight() - 12) / 2, 12, 12);
    m_remoteControlStatusIcon->show();

    m_remoteControlLabel = makeValueLabel();
    m_remoteControlLabel->setObjectName(QStringLiteral("remoteControlLabel"));
    m_remoteControlLabel->setGeometry(200 + 12 + 5, statusTop, 195, rowHeight());
}

void QOVAOrbrinStatusView::placeBattery()
{
    // Right-aligned text of at least 25 x 14 at x 521, the icon 4 to its
    // right, both centred on the section heading.
    const int centre = m_rcNameBigLabel->geometry().center().y();
    const int width = qMax(25, int(std::ceil(m_batteryLabel->textSize(1000).width())) + 2);
    m_batteryLabel->setGeometry(521, centre - 7, width, 14);
    m_deviceBatteryIcon->setGeometry(521 + width + 4, centre - 12 + 1, 24, 24);
}

QString QOVAOrbrinStatusView::batteryImageForStatus(const QString &battery)
{
    const long long value = QOVAStatusText::leadingInteger(battery);
    if (value == 100)
        return QStringLiteral("battery_high");
    if (value < 50)
        return value < 5 ? QStringLiteral("battery_empty") : QStringLiteral("battery_low");
    return QStringLiteral("battery_middle");
}

void QOVAOrbrinStatusView::showRemoteControl(bool show)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_rcNameBigLabel, m_batteryLabel, m_deviceBatteryIcon, m_splitLine2, m_rcImage,
             m_remoteControlNameTitleLabel, m_remoteControlNameLabel, m_rcHardwareVersionTitleLabel,
             m_rcHardwareVersionLabel, m_remoteControlStatusTitleLabel, m_remoteControlLabel,
             m_remoteControlStatusIcon})
        w->setHidden(!show);
}

void QOVAOrbrinStatusView::updateWithDeviceModel(const DeviceInfoModel &model)
{
    QOVAStatusBaseView::updateWithDeviceModel(model);
    m_countryLabel->setStringValue(model.country_region);
    deviceImage()->setImageName(QStringLiteral("Orbrin"));
    referenceLabel()->setHyperlink(supportAddress());

    const QString name = model.remote_name.value_or(QString());
    if (!name.isEmpty()) {
        // No battery value shows an empty text, never a bare per-cent sign.
        const QString battery = model.remote_battery_status.value_or(QString());
        m_batteryLabel->setStringValue(battery.isEmpty() ? QString() : battery + QLatin1Char('%'));
        placeBattery();
        m_remoteControlNameLabel->setStringValue(name);
        m_rcHardwareVersionLabel->setStringValue(model.remote_fw_version.value_or(QString()));
        m_deviceBatteryIcon->setImageName(batteryImageForStatus(battery));
        showRemoteControl(true);
    } else {
        showRemoteControl(false);
    }

    const bool active = model.remote_active.value_or(0) != 0;
    m_remoteControlStatusIcon->setColorString(active ? QStringLiteral("39d73c") : QStringLiteral("9b9b9b"));
    m_remoteControlLabel->setStringValue(active ? QStringLiteral("Active") : QStringLiteral("Sleep"));
}
