#include "QOVAUpgradeFailedTipView.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <algorithm>

QOVAUpgradeFailedTipView::QOVAUpgradeFailedTipView(QWidget *parent)
    : QWidget(parent)
{
    m_imageView = new QOVAImageView(this);
    m_imageView->setImageName(QStringLiteral("alert crucial"));
    m_textLabel = new QOVALabel(this);
    QFont font = QFont(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    m_textLabel->setFont(font);
    m_textLabel->setTextColor(colorWithString(QStringLiteral("d11b23"), 1.0));
    m_textLabel->setMaximumNumberOfLines(0);
    m_textLabel->setLineBreakMode(QOVALabel::ByWordWrapping);
    m_tipButton = new QOVAButton(this);
    m_tipButton->setBackgroundColor(Qt::transparent);
    connect(m_tipButton, &QOVAButton::clicked, this, [] { qInfo("1222"); });
}

void QOVAUpgradeFailedTipView::showFailedTip(const QOVAError &error)
{
    QString text = error.userInfo().value(QOVAError::kLocalizedDescriptionKey).toString();
    if (text.isEmpty())
        text = qtTrId("STRING_UPDATE_FAILED");
    showFailedString(text);
}

void QOVAUpgradeFailedTipView::showFailedString(const QString &text)
{
    m_textLabel->setStringValue(text);
}

void QOVAUpgradeFailedTipView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int h = height();
    m_imageView->setGeometry(0, (h - 16) / 2, 16, 16);
    m_textLabel->setGeometry(16 + 8, 0, std::min(188, std::max(0, width() - 16 - 8)), h);
    m_tipButton->setGeometry(width() - 105, 0, 105, h);
}
