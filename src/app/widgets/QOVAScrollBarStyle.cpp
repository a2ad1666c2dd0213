#include "QOVAScrollBarStyle.h"

#include "QOVAColor.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>

namespace {

// Where the thumb lies along the bar, and how long it is.
struct Thumb {
    int start = 0;
    int length = 0;
};

Thumb thumbOf(const QStyleOptionSlider &bar)
{
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const int length = horizontal ? bar.rect.width() : bar.rect.height();
    const qint64 range = qint64(bar.maximum) - bar.minimum;
    Thumb thumb;
    thumb.length = length;
    if (range > 0) {
        const qint64 page = std::max(0, bar.pageStep);
        const qint64 proportional = qint64(length) * page / (page + range);
        // Never shorter than the minimum, nor longer than a bar that is
        // itself shorter than that.
        thumb.length = int(std::min<qint64>(std::max<qint64>(proportional, QOVAScrollBarStyle::kMinimumThumbLength), length));
    }
    thumb.start = QStyle::sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition,
                                                  length - thumb.length, bar.upsideDown);
    return thumb;
}

QRect along(const QStyleOptionSlider &bar, int start, int length)
{
    const QRect r = bar.rect;
    if (length <= 0)
        return QRect();
    return bar.orientation == Qt::Horizontal ? QRect(r.x() + start, r.y(), length, r.height())
                                             : QRect(r.x(), r.y() + start, r.width(), length);
}

} // namespace

QColor QOVAScrollBarStyle::trackColor()
{
    return colorWithString(QStringLiteral("f6f6f6"), 1.0);
}

QColor QOVAScrollBarStyle::thumbColor()
{
    return colorWithString(QStringLiteral("b0b0b0"), 1.0);
}

QColor QOVAScrollBarStyle::activeThumbColor()
{
    return colorWithString(QStringLiteral("8a8a8a"), 1.0);
}

QOVAScrollBarStyle::QOVAScrollBarStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void QOVAScrollBarStyle::installOnApplication()
{
    if (!qApp || qobject_cast<QOVAScrollBarStyle *>(QApplication::style()))
        return;
    QApplication::setStyle(new QOVAScrollBarStyle(QStyleFactory::create(QApplication::style()->name())));
}

int QOVAScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return kExtent;
    case PM_ScrollBarSliderMin:
        return kMinimumThumbLength;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect QOVAScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                                         const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const int length = horizontal ? bar->rect.width() : bar->rect.height();
    const Thumb thumb = thumbOf(*bar);
    QRect rect;
    switch (sub) {
    case SC_ScrollBarGroove:
        rect = bar->rect;
        break;
    case SC_ScrollBarSlider:
        rect = along(*bar, thumb.start, thumb.length);
        break;
    case SC_ScrollBarSubPage:
        rect = along(*bar, 0, thumb.start);
        break;
    case SC_ScrollBarAddPage:
        rect = along(*bar, thumb.start + thumb.length, length - thumb.start - thumb.length);
        break;
    default:
        // No arrow buttons.
        return QRect();
    }
    return visualRect(bar->direction, bar->rect, rect);
}

QStyle::SubControl QOVAScrollBarStyle::hitTestComplexControl(ComplexControl control,
                                                            const QStyleOptionComplex *option, const QPoint &pos,
                                                            const QWidget *widget) const
{
    if (control != CC_ScrollBar || !qstyleoption_cast<const QStyleOptionSlider *>(option))
        return QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    for (SubControl sub : {SC_ScrollBarSlider, SC_ScrollBarSubPage, SC_ScrollBarAddPage}) {
        if (subControlRect(control, option, sub, widget).contains(pos))
            return sub;
    }
    return SC_None;
}

void QOVAScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                            QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    painter->fillRect(bar->rect, trackColor());
    const QRect slider = subControlRect(control, option, SC_ScrollBarSlider, widget);
    if (bar->maximum > bar->minimum && slider.isValid()) {
        const bool onThumb = bar->activeSubControls & SC_ScrollBarSlider;
        const bool active = onThumb && (bar->state & (State_Sunken | State_MouseOver));
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(active ? activeThumbColor() : thumbColor());
        const QRectF thumb = QRectF(slider).adjusted(kThumbMargin, kThumbMargin, -kThumbMargin, -kThumbMargin);
        painter->drawRoundedRect(thumb, kThumbRadius, kThumbRadius);
    }
    painter->restore();
}
