#include "QOVASegmentItem.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QPainter>

namespace {

// The red dot: a filled circle with a thin white ring.
class TipDot : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(colorWithString(QStringLiteral("ff0000"), 1.0));
        p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

} // namespace

QOVASegmentItem::QOVASegmentItem(const QString &unselectedImage, const QString &selectedImage,
                                 const QString &title, QWidget *parent)
    : QOVAButton(parent)
    , m_selectedImage(selectedImage)
    , m_unSelectedImage(unselectedImage)
{
    setupUI();
    m_titleLabel->setStringValue(title);
    unSelected();
    layoutContent();
}

void QOVASegmentItem::setupUI()
{
    setBackgroundColor(Qt::transparent);
    hiddenImage(true);
    m_itemImageView = new QOVAImageView(this);
    m_itemImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    m_titleLabel = new QOVALabel(this);
    m_titleLabel->setBackgroundColor(Qt::transparent);
    m_titleLabel->setAlignment(QOVALabel::AlignCenter);
    m_titleLabel->setCloseUserInteraction(true);
    m_tipView = new TipDot(this);
    m_tipView->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_tipView->hide();
}

int QOVASegmentItem::contentWidth() const
{
    // The caption in its bold (selected) face, so the width does not change
    // with the selection.
    QOVALabel probe;
    probe.setFont(fontWithSFProDisplay(8, QOVAFontBold));
    probe.setTextString(m_titleLabel->textString());
    return std::max(28, probe.sizeHint().width() + 2);
}

void QOVASegmentItem::layoutContent()
{
    // Icon 28 x 28, 6 from the top, centred; caption across the item with its
    // bottom 8 above the item's bottom; the dot on the icon's top-right corner.
    const int iconX = (width() - 28) / 2;
    m_itemImageView->setGeometry(iconX, 6, 28, 28);
    const int captionHeight = std::max(m_titleLabel->sizeHint().height(), 10);
    m_titleLabel->setGeometry(0, height() - 8 - captionHeight, width(), captionHeight);
    m_tipView->setGeometry(iconX + 28 - 10, 6, 10, 10);
}

void QOVASegmentItem::resizeEvent(QResizeEvent *event)
{
    QOVAButton::resizeEvent(event);
    layoutContent();
}

void QOVASegmentItem::selected()
{
    if (m_isSelected)
        return;
    m_tipView->hide();
    m_itemImageView->setImageName(m_selectedImage);
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("ffffff"), 1.0));
    m_titleLabel->setFont(fontWithSFProDisplay(8, QOVAFontBold));
    m_titleLabel->update();
    m_isSelected = true;
}

void QOVASegmentItem::unSelected()
{
    m_itemImageView->setImageName(m_unSelectedImage);
    m_titleLabel->setTextColor(colorWithString(QStringLiteral("ffffff"), 0.7));
    m_titleLabel->setFont(fontWithSFProDisplay(8, QOVAFontRegular));
    m_titleLabel->update();
    m_isSelected = false;
}

void QOVASegmentItem::showNotification(bool show)
{
    m_tipView->setVisible(show);
}
