#include "QOVAPirokStatusView.h"

#include "QOVAStatusText.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

using namespace QOVAStatusText;

QOVAPirokStatusView::QOVAPirokStatusView(const QOVADeviceListItemRef &deviceModel, QWidget *parent)
    : QOVADisplayBaseView(parent), m_deviceModel(deviceModel)
{
    detailViewName()->setStringValue(deviceModel ? deviceModel->productName : QString());
    setupPirokStatusView();
}

QString QOVAPirokStatusView::supportAddress()
{
    return QStringLiteral("https://support.orvalinde.example/usb-camera");
}

QOVALabel *QOVAPirokStatusView::makeLabel(const QString &name, int fontType)
{
    auto *label = new QOVALabel(this);
    label->setObjectName(name);
    label->setFont(fontWithSFProDisplay(13, fontType));
    label->show();
    return label;
}

void QOVAPirokStatusView::setupPirokStatusView()
{
    const QOVADeviceListItem empty;
    const QOVADeviceListItem &item = m_deviceModel ? *m_deviceModel : empty;

    m_deviceImage = new QOVAImageView(this);
    m_deviceImage->setObjectName(QStringLiteral("deviceImage"));
    m_deviceImage->setImageName(QStringLiteral("Pirok"));
    m_deviceImage->setGeometry(kPageWidth - 36 - 176, 60, 176, 176);
    m_deviceImage->show();

    m_deviceNameTitleLabel = makeLabel(QStringLiteral("deviceNameTitleLabel"), 1);
    m_deviceNameTitleLabel->setStringValue(qtTrId("STRING_DEVICE_NAME"));
    m_deviceNameLabel = makeLabel(QStringLiteral("deviceNameLabel"), 0);
    showOnOneLine(m_deviceNameLabel);
    m_deviceNameLabel->setStringValue(item.productName);
    m_hardwareVersionTitleLabel = makeLabel(QStringLiteral("hardwareVersionTitleLabel"), 1);
    m_hardwareVersionTitleLabel->setStringValue(qtTrId("STRING_FIRMWARE_VERSION"));
    m_hardwareVersionLabel = makeLabel(QStringLiteral("hardwareVersionLabel"), 0);
    showOnOneLine(m_hardwareVersionLabel);
    m_hardwareVersionLabel->setStringValue(item.deviceVersion);
    m_serialNumberTitleLabel = makeLabel(QStringLiteral("serialNumberTitleLabel"), 1);
    m_serialNumberTitleLabel->setStringValue(qtTrId("STRING_SERIAL_NUMBER"));
    m_serialNumberLabel = makeLabel(QStringLiteral("serialNumberLabel"), 0);
    showOnOneLine(m_serialNumberLabel);
    m_serialNumberLabel->setStringValue(item.serialNumber);
    m_referenceTitleLabel = makeLabel(QStringLiteral("referenceTitleLabel"), 1);
    m_referenceTitleLabel->setStringValue(qtTrId("STRING_REFERENCE"));
    m_referenceLabel = makeLabel(QStringLiteral("referenceLabel"), 0);
    m_referenceLabel->setTextColor(colorWithString(QStringLiteral("#3592ca"), 1.0));
    m_referenceLabel->setLineBreakMode(QOVALabel::ByCharWrapping);
    m_referenceLabel->setMaximumNumberOfLines(1);
    m_referenceLabel->setStringValue(QStringLiteral("%1 %2").arg(item.productName, qtTrId("STRING_HELP")));
    m_referenceLabel->setHyperlink(supportAddress());

    int top = kSplitLineBottom + 16;
    for (auto [title, value] : {std::pair{m_deviceNameTitleLabel, m_deviceNameLabel},
                                std::pair{m_hardwareVersionTitleLabel, m_hardwareVersionLabel},
                                std::pair{m_serialNumberTitleLabel, m_serialNumberLabel}}) {
        title->setGeometry(36, top, 150, 32);
        value->setGeometry(200, top, 195, 32);
        top += 32;
    }
    m_referenceTitleLabel->setGeometry(36, top, 150, 32);
    m_referenceLabel->setGeometry(200, top, 200, 32);
}
