#include "QOVAFirmwareStatusView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

QOVAFirmwareStatusView::QOVAFirmwareStatusView(QWidget *parent)
    : QWidget(parent)
{
    m_statusImageView = new QOVAImageView(this);
    m_statusImageView->setImageName(QStringLiteral("update_successful"));
    const QColor green = colorWithString(QStringLiteral("3e8a17"), 1.0);
    m_statusLabel = new QOVALabel(this);
    m_statusLabel->setFont(fontWithSFProDisplay(12, QOVAFontBoldItalic));
    m_statusLabel->setTextColor(green);
    m_timeLabel = new QOVALabel(this);
    m_timeLabel->setFont(fontWithSFProDisplay(8, QOVAFontRegular));
    m_timeLabel->setTextColor(green);
}

void QOVAFirmwareStatusView::setViewStatus(qint64 status, const QString &updateTime)
{
    m_statusLabel->setStringValue(status == 0 ? qtTrId("STRING_UP_TO_DATE") : qtTrId("STRING_INSTALLED"));
    m_timeLabel->setStringValue(updateTime);
}

void QOVAFirmwareStatusView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int h = height();
    m_statusImageView->setGeometry(0, (h - 20) / 2, 20, 20);
    const int left = 30;
    const int statusHeight = 16;
    m_statusLabel->setGeometry(left, 0, width() - left, statusHeight);
    m_timeLabel->setGeometry(left, statusHeight, width() - left, h - statusHeight);
}
