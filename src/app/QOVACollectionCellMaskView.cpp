#include "QOVACollectionCellMaskView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

QOVACollectionCellMaskView::QOVACollectionCellMaskView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_iconImageView = new QOVAImageView(this);
    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_tipLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_tipLabel->setBackgroundColor(Qt::transparent);
    m_tipLabel->setAlignment(QOVALabel::AlignCenter);
}

void QOVACollectionCellMaskView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutContent();
}

void QOVACollectionCellMaskView::layoutContent()
{
    // Icon 44 x 44 in the middle; the text 10 under it, 10 in from each side.
    const int x = (width() - 44) / 2;
    const int y = (height() - 44) / 2;
    m_iconImageView->setGeometry(x, y, 44, 44);
    const int textWidth = std::max(0, width() - 20);
    const int textHeight = std::max(0, int(std::ceil(m_tipLabel->textSize(textWidth).height())));
    m_tipLabel->setGeometry(10, y + 44 + 10, textWidth, std::max(textHeight, 18));
}

void QOVACollectionCellMaskView::updateWithType(qint64 type)
{
    if (type == 1) {
        m_iconImageView->setImageName(QStringLiteral("deviceDFU"));
        m_tipLabel->setStringValue(qtTrId("STRING_RECOVER_OR_UPDATE_FIRST"));
    } else if (type == 0) {
        m_iconImageView->setImageName(QStringLiteral("deviceUpdating"));
        m_tipLabel->setStringValue(QStringLiteral("%1\u2026").arg(qtTrId("STRING_UPDATING")));
    } else {
        return;
    }
    layoutContent();
}

void QOVACollectionCellMaskView::paintEvent(QPaintEvent *)
{
    // The tile's rounded corners apply to the veil too.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 12, 12);
    p.fillPath(path, colorWithString(QStringLiteral("f1f1f1"), 0.7));
}
