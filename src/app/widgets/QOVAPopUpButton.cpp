#include "QOVAPopUpButton.h"

#include "QOVAColor.h"
#include "QOVAFont.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QStandardItemModel>
#include <QWheelEvent>

namespace {
constexpr int kArrowAreaWidth = 18;
constexpr int kTitleInset = 8;  // the usual title inset, before the 5-point shift
constexpr int kTitleShift = 5;
}

QOVAPopUpButton::QOVAPopUpButton(QWidget *parent)
    : QComboBox(parent)
{
    setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    setFocusPolicy(Qt::TabFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void QOVAPopUpButton::setFontWithString(const QString &color, double alpha, double size, int type)
{
    const QColor c = colorWithString(color, alpha);
    const QFont f = fontWithSFProDisplay(size, type);
    for (int i = 0; i < count(); ++i) {
        setItemData(i, QBrush(c), Qt::ForegroundRole);
        setItemData(i, f, Qt::FontRole);
    }
    update();
}

void QOVAPopUpButton::addItemWithTitle(const QString &title)
{
    const int existing = findText(title, Qt::MatchExactly);
    if (existing >= 0)
        removeItem(existing);
    addItem(title);
}

void QOVAPopUpButton::addItemsWithTitles(const QStringList &titles)
{
    for (const QString &title : titles)
        addItemWithTitle(title);
}

void QOVAPopUpButton::insertItemWithTitle(const QString &title, int index)
{
    const int existing = findText(title, Qt::MatchExactly);
    if (existing >= 0) {
        removeItem(existing);
        if (existing < index)
            --index;
    }
    insertItem(std::clamp(index, 0, count()), title);
}

void QOVAPopUpButton::removeAllItems()
{
    clear();
}

void QOVAPopUpButton::selectItemAtIndex(int index)
{
    setCurrentIndex(index);
}

void QOVAPopUpButton::selectItemWithTitle(const QString &title)
{
    setCurrentIndex(findText(title, Qt::MatchExactly));
}

QStringList QOVAPopUpButton::itemTitles() const
{
    QStringList titles;
    for (int i = 0; i < count(); ++i)
        titles.append(itemText(i));
    return titles;
}

QColor QOVAPopUpButton::faceColor() const
{
    return isEnabled() ? QColor(Qt::white) : colorWithString(QStringLiteral("#ececec"), 1.0);
}

QRect QOVAPopUpButton::titleRect() const
{
    const int x = kTitleInset - kTitleShift;
    return QRect(x, 0, std::max(0, width() - x - kArrowAreaWidth), height());
}

QString QOVAPopUpButton::shownTitle() const
{
    const int index = currentIndex();
    if (index < 0)
        return {};
    const QVariant fontData = itemData(index, Qt::FontRole);
    const QFont f = fontData.isValid() ? fontData.value<QFont>() : font();
    return QFontMetrics(f).elidedText(currentText(), Qt::ElideRight, titleRect().width());
}

void QOVAPopUpButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // The face takes the fill colour inside the bezel's edge.
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(faceColor());
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 2, 2);

    // The bezel's edge and arrow show over the fill.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, isEnabled() ? 64 : 40), 1));
    p.drawRoundedRect(outer, 2.5, 2.5);

    const QColor arrowColor = isEnabled() ? QColor(0x4a, 0x4a, 0x4a) : QColor(0xa0, 0xa0, 0xa0);
    const double cx = width() - kArrowAreaWidth / 2.0;
    const double cy = height() / 2.0;
    QPainterPath arrow;
    arrow.moveTo(cx - 3.5, cy - 1.75);
    arrow.lineTo(cx, cy + 1.75);
    arrow.lineTo(cx + 3.5, cy - 1.75);
    p.setPen(QPen(arrowColor, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);

    // The selected item's title, in its own style when it has one.
    const int index = currentIndex();
    if (index < 0)
        return;
    const QVariant fontData = itemData(index, Qt::FontRole);
    const QVariant colorData = itemData(index, Qt::ForegroundRole);
    const QFont f = fontData.isValid() ? fontData.value<QFont>() : font();
    QColor c = colorData.isValid() ? colorData.value<QBrush>().color() : QColor(Qt::black);
    if (!isEnabled())
        c.setAlphaF(c.alphaF() * 0.5f);
    p.setFont(f);
    p.setPen(c);
    p.drawText(titleRect(), Qt::AlignLeft | Qt::AlignVCenter, shownTitle());
}

void QOVAPopUpButton::wheelEvent(QWheelEvent *event)
{
    // A pop-up button does not step through its items with the wheel.
    event->ignore();
}

void QOVAPopUpButton::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::ParentChange && !window()->isVisible())
        hidePopup();
}

void QOVAPopUpButton::hideEvent(QHideEvent *event)
{
    // Taken out of its window: an open list closes with it.
    hidePopup();
    QComboBox::hideEvent(event);
}
