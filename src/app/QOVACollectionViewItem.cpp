#include "QOVACollectionViewItem.h"

#include "QOVACollectionCellMaskView.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr double kCornerRadius = 12;

// The tile's outline, drawn above the picture and the band.
class TileOutline : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(colorWithString(QStringLiteral("cbcbcb"), 1.0), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
    }
};

// Picture name of a product id, or nothing for an id of no family.
QString imageNameFor(const QString &productId, bool large)
{
    const char *suffix = large ? "_Large" : "_Normal";
    if (productId == QLatin1String("5c01") || productId == QLatin1String("5c02"))
        return QLatin1String("Pirok") + QLatin1String(suffix);
    if (productId == QLatin1String("6e17") || productId == QLatin1String("6e18"))
        return QLatin1String("Orbrin") + QLatin1String(suffix);
    if (productId == QLatin1String("6e12") || productId == QLatin1String("6e13"))
        return QLatin1String("Vasko") + QLatin1String(suffix);
    return QString();
}

} // namespace

QOVACollectionViewItem::QOVACollectionViewItem(QWidget *parent)
    : QWidget(parent)
{
    setupUI();
}

void QOVACollectionViewItem::setupUI()
{
    m_deviceImageView = new QOVAImageView(this);
    m_deviceView = new QWidget(this);
    m_deviceView->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_nameLabel = new QOVALabel(m_deviceView);
    m_nameLabel->setFont(fontWithSFProDisplay(16, QOVAFontBoldItalic));
    m_nameLabel->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_nameLabel->setBackgroundColor(Qt::transparent);
    m_nameLabel->setCloseUserInteraction(true);
    m_nameLabel->setMaximumNumberOfLines(1);
    m_nameLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
    m_userLabel = new QOVALabel(m_deviceView);
    m_userLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_userLabel->setTextColor(colorWithString(QStringLiteral("7d7e7f"), 1.0));
    m_userLabel->setBackgroundColor(Qt::transparent);
    m_userLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
    m_userLabel->setMaximumNumberOfLines(1);
    m_userLabel->setCloseUserInteraction(true);
    m_maskView = new QOVACollectionCellMaskView(this);
    m_maskView->hide();
    m_outline = new TileOutline(this);
    m_outline->setAttribute(Qt::WA_TransparentForMouseEvents);
    layoutContent();
}

void QOVACollectionViewItem::setCellLargeStyle(bool large)
{
    m_largeStyle = large;
}

void QOVACollectionViewItem::updateWithItem(QOVADeviceListItem &item)
{
    const QString normal = imageNameFor(item.productId, false);
    if (!normal.isEmpty())
        item.imageName = normal;
    if (m_largeStyle) {
        const QString large = imageNameFor(item.productId, true);
        if (!large.isEmpty())
            item.imageName = large;
    }

    if (m_largeStyle) {
        m_bandHeight = 76;
        m_nameTop = 16;
        m_userGap = 6;
        m_nameLabel->setFont(fontWithSFProDisplay(16, QOVAFontBoldItalic));
        m_userLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    } else {
        m_bandHeight = 50;
        m_nameTop = 7;
        m_userGap = 4;
        m_nameLabel->setFont(fontWithSFProDisplay(14, QOVAFontBoldItalic));
        m_userLabel->setFont(fontWithSFProDisplay(10, QOVAFontRegular));
    }

    if (item.status == 0) {
        m_maskView->hide();
    } else {
        m_maskView->show();
        m_maskView->updateWithType(item.status == 1 ? 1 : 0);
    }

    m_nameLabel->setStringValue(item.productName);
    m_userLabel->setStringValue(item.isPirok() ? QString() : item.productDeviceName);
    m_deviceImageView->setImageName(item.imageName);
    layoutContent();
    update();
}

void QOVACollectionViewItem::layoutContent()
{
    // Picture above the band; the band across the bottom; inside the band the
    // name 18 from the left and the user-given name under it.
    const int w = width();
    const int h = height();
    m_deviceImageView->setGeometry(0, 0, w, std::max(0, h - m_bandHeight));
    m_deviceView->setGeometry(0, h - m_bandHeight, w, m_bandHeight);
    const QSize name = m_nameLabel->sizeHint();
    m_nameLabel->setGeometry(18, m_nameTop, std::min(std::max(name.width(), 0), std::max(0, w - 28)),
                             std::max(name.height(), 0));
    m_userLabel->setGeometry(18, m_nameTop + m_nameLabel->height() + m_userGap, std::max(0, w - 18 - 10),
                             20);
    m_maskView->setGeometry(rect());
    m_outline->setGeometry(rect());
    m_maskView->raise();
    m_outline->raise();
}

void QOVACollectionViewItem::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutContent();
}

void QOVACollectionViewItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    p.setClipPath(shape);
    p.fillRect(rect(), colorWithString(QStringLiteral("fbfbfb"), 1.0));
    p.fillRect(m_deviceView->geometry(), colorWithString(QStringLiteral("e9f7fe"), 1.0));
}

void QOVACollectionViewItem::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void QOVACollectionViewItem::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(this);
}
