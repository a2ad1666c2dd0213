#include "QOVAStatusView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QPainter>
#include <QPaintEvent>

#include <cmath>

QOVAStatusView::QOVAStatusView(QWidget *parent) : QWidget(parent)
{
    resize(619, 544);
    setupUI();
}

QOVALabel *QOVAStatusView::makeLabel(const QString &name, int fontType, double size)
{
    auto *label = new QOVALabel(this);
    label->setObjectName(name);
    label->setFont(fontWithSFProDisplay(size, fontType));
    return label;
}

void QOVAStatusView::setupUI()
{
    m_deviceImage = new QOVAImageView(this);
    m_deviceImage->setObjectName(QStringLiteral("deviceImage"));
    m_deviceNameBig = makeLabel(QStringLiteral("deviceNameBig"), QOVAFontBoldItalic, 18);
    m_deviceNameBig->setMaximumNumberOfLines(1);
    m_batteryLabel = makeLabel(QStringLiteral("batteryLabel"), QOVAFontRegular, 10);
    m_batteryLabel->setStringValue(QStringLiteral("100%"));
    m_batteryLabel->setTextColor(Qt::black);
    m_deviceBatteryIcon = new QOVAImageView(this);
    m_deviceBatteryIcon->setObjectName(QStringLiteral("deviceBatteryIcon"));
    m_deviceNameTitle = makeLabel(QStringLiteral("deviceNameTitle"), QOVAFontBoldItalic, 12);
    m_deviceNameTitle->setStringValue(qtTrId("STRING_DEVICE_NAME"));
    m_deviceName = makeLabel(QStringLiteral("deviceName"), 0, 12);
    m_deviceName->setMaximumNumberOfLines(1);
    m_softwareVersionTitle = makeLabel(QStringLiteral("softwareVersionTitle"), QOVAFontBoldItalic, 12);
    m_softwareVersionTitle->setStringValue(qtTrId("STRING_FIRMWARE_VERSION"));
    m_softwareVersion = makeLabel(QStringLiteral("softwareVersion"), 0, 12);
    m_serialNumberTitleLabel = makeLabel(QStringLiteral("serialNumberTitleLabel"), QOVAFontBoldItalic, 12);
    m_serialNumberTitleLabel->setStringValue(qtTrId("STRING_SERIAL_NUMBER"));
    m_serialNumberLabel = makeLabel(QStringLiteral("serialNumberLabel"), 0, 12);
    m_referenceTitleLabel = makeLabel(QStringLiteral("referenceTitleLabel"), QOVAFontBoldItalic, 12);
    m_referenceTitleLabel->setStringValue(qtTrId("STRING_REFERENCE"));
    m_referenceLabel = makeLabel(QStringLiteral("referenceLabel"), 0, 12);
    m_referenceLabel->setTextColor(colorWithString(QStringLiteral("#3592ca"), 1.0));
    m_referenceLabel->setLineBreakMode(QOVALabel::ByCharWrapping);
    m_referenceLabel->setMaximumNumberOfLines(1);

    m_batteryLabel->hide();
    m_deviceBatteryIcon->hide();
    layoutUI();
}

void QOVAStatusView::layoutUI()
{
    // Heights follow the texts (one line of each font).
    auto lineHeight = [](QOVALabel *label) { return int(std::ceil(label->textSize(1000).height())); };
    m_deviceImage->setGeometry(width() - 24 - 160, 16, 160, 160);
    m_deviceNameBig->setGeometry(36, 30, 430, qMax(lineHeight(m_deviceNameBig), 22));
    const int bigBottom = m_deviceNameBig->geometry().bottom() + 1;

    const QSizeF battery = m_batteryLabel->textSize(1000);
    m_batteryLabel->setGeometry(36, bigBottom + 13, int(std::ceil(battery.width())) + 2,
                                int(std::ceil(battery.height())));
    m_deviceBatteryIcon->setGeometry(m_batteryLabel->geometry().right() + 1 + 8,
                                     m_batteryLabel->geometry().center().y() - 12, 24, 24);

    const int rowHeight = qMax(lineHeight(m_deviceNameTitle), 15);
    int top = bigBottom + 41;
    for (auto [title, value] : {std::pair{m_deviceNameTitle, m_deviceName},
                                std::pair{m_softwareVersionTitle, m_softwareVersion},
                                std::pair{m_serialNumberTitleLabel, m_serialNumberLabel}}) {
        title->setGeometry(36, top, 112, rowHeight);
        value->setGeometry(36 + 112 + 24, top, 178, rowHeight);
        top += rowHeight + 10;
    }
    m_referenceTitleLabel->setGeometry(36, top, 112, rowHeight);
    const QSizeF reference = m_referenceLabel->textSize(1000);
    m_referenceLabel->setGeometry(36 + 112 + 24, top, int(std::ceil(reference.width())) + 2, rowHeight);
}

void QOVAStatusView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutUI();
}

void QOVAStatusView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
}
