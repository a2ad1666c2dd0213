#include "QOVAButton.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVAImageView.h"

#include "platform/TimeScale.h"

#include <algorithm>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>

namespace {
QColor accent(double alpha = 1.0) { return colorWithString(QStringLiteral("0277bd"), alpha); }
}

QOVAButton *QOVAButton::linkButton(QWidget *parent, const QString &text, const QFont &font)
{
    auto *button = new QOVAButton(parent);
    button->setQovaButtonType(0);
    button->setTextAlignment(0);
    button->setTextFont(font);
    button->setTextColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    button->setTextString(text);
    return button;
}

QOVAButton::QOVAButton(QWidget *parent)
    : QWidget(parent)
    , m_backgroundColor(Qt::white)
    , m_textColor(Qt::black)
    , m_textFont(fontWithSFProDisplay(13, QOVAFontRegular))
{
    m_imageView = new QOVAImageView(this);
    layoutImageView();
    setMouseTracking(true);
    m_alphaAnimation = new QVariantAnimation(this);
    connect(m_alphaAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &v) { setAlphaValue(v.toDouble()); });
}

void QOVAButton::setBackgroundColor(const QColor &color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    update();
}

void QOVAButton::setTextString(const QString &text)
{
    m_textString = text;
    update();
}

void QOVAButton::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void QOVAButton::setTextFont(const QFont &font)
{
    m_textFont = font;
}

void QOVAButton::setTextAlignment(int alignment)
{
    m_textAlignment = alignment;
    update();
}

void QOVAButton::setQovaButtonType(int type)
{
    m_type = type;
    if (type == 1)
        setOutlinedLook();
}

void QOVAButton::setDisabled(bool disabled)
{
    m_disabled = disabled;
    if (disabled) {
        m_mouseDown = false;
        m_mouseIn = false;
    }
    if (m_type == 1) {
        m_alphaAnimation->stop();
        setAlphaValue(disabled ? 0.3 : 1.0);
        setOutlinedLook();
    }
}

void QOVAButton::setImage(const QString &imageName)
{
    m_imageView->setImageName(imageName);
    update();
}

void QOVAButton::hiddenImage(bool hidden)
{
    m_imageView->setHidden(hidden);
}

double QOVAButton::textLength() const
{
    return QFontMetricsF(m_textFont).size(0, m_textString).width() + 10.0;
}

void QOVAButton::setAlphaValue(double alpha)
{
    m_alpha = alpha;
    // The corner image fades with the button.
    m_imageView->setOpacity(alpha);
    update();
}

QRectF QOVAButton::titleRect() const
{
    const QSizeF text = QFontMetricsF(m_textFont).size(0, m_textString);
    const double w = width(), h = height();
    // The title sits 2 below the middle, as far as the height leaves room.
    const double y = std::max(0.0, std::min((h - text.height()) * 0.5 + 2, h - text.height()));
    const double x = m_textAlignment == 0 ? 0.0 : (w - text.width()) * 0.5 + 1;
    return QRectF(QPointF(x, y), text);
}

void QOVAButton::setCornerRadius(double radius)
{
    m_cornerRadius = std::max(0.0, radius);
    update();
}

void QOVAButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setOpacity(m_alpha);
    const double radius = std::min(m_cornerRadius, height() / 2.0);
    if (radius > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), radius, radius);
        p.fillPath(shape, effectBackgroundColor());
    } else {
        p.fillRect(rect(), effectBackgroundColor());
    }
    if (!m_textString.isEmpty()) {
        p.setFont(m_textFont);
        p.setPen(m_textColor);
        const QRectF r = titleRect();
        p.drawText(QPointF(r.x(), r.y() + QFontMetricsF(m_textFont).ascent()), m_textString);
    }
    if (m_borderWidth > 0) {
        p.setPen(QPen(m_borderColor, m_borderWidth));
        p.setBrush(Qt::NoBrush);
        const double inset = m_borderWidth / 2.0;
        const QRectF line = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
        if (radius > 0) {
            p.drawRoundedRect(line, radius - inset, radius - inset);
        } else {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
}

void QOVAButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutImageView();
}

void QOVAButton::setImageCentred(bool centred)
{
    m_imageCentred = centred;
    layoutImageView();
}

void QOVAButton::layoutImageView()
{
    if (m_imageCentred) {
        m_imageView->setGeometry((width() - 16) / 2, (height() - 16) / 2, 16, 16);
        return;
    }
    // 16 x 16, right edge 7 in from the button's right, bottom edge 4 up.
    qovaSetFrame(m_imageView, width() - 7 - 16, 4, 16, 16);
}

void QOVAButton::setOutlinedLook()
{
    m_backgroundColor = Qt::white;
    m_textColor = accent();
    m_borderColor = accent();
    m_borderWidth = 1;
    update();
}

void QOVAButton::setHoverLook()
{
    m_backgroundColor = accent(0.8);
    m_textColor = Qt::white;
    m_borderWidth = 0;
    update();
}

void QOVAButton::setPressedLook()
{
    m_backgroundColor = accent(1.0);
    m_textColor = Qt::white;
    m_borderWidth = 0;
    update();
}

void QOVAButton::animateAlphaToOne()
{
    m_alphaAnimation->stop();
    if (m_alpha == 1.0)
        return;
    m_alphaAnimation->setStartValue(m_alpha);
    m_alphaAnimation->setEndValue(1.0);
    m_alphaAnimation->setDuration(platform::scaledMs(250));
    m_alphaAnimation->start();
}

void QOVAButton::pointerEntered()
{
    if (m_disabled)
        return;
    if (m_type == 1)
        setHoverLook();
    m_mouseIn = true;
    animateAlphaToOne();
    update();
}

void QOVAButton::pointerLeft()
{
    if (m_disabled)
        return;
    if (m_type == 1)
        setOutlinedLook();
    m_mouseIn = false;
    animateAlphaToOne();
    update();
}

void QOVAButton::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!m_mouseIn)
        pointerEntered();
}

void QOVAButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_mouseIn)
        pointerLeft();
}

void QOVAButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (m_disabled || event->button() != Qt::LeftButton)
        return;
    // A press is always inside: make sure the pointer counts as in even when
    // no enter was reported (as for a window that just appeared under it).
    if (!m_mouseIn)
        pointerEntered();
    if (m_type == 1)
        setPressedLook();
    m_mouseDown = true;
    update();
}

void QOVAButton::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_disabled)
        return;
    // While the button is held the pointer stays with this widget; enter and
    // leave are worked out from its position.
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !m_mouseIn)
        pointerEntered();
    else if (!inside && m_mouseIn)
        pointerLeft();
}

void QOVAButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_disabled || event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_mouseIn)
        m_mouseIn = inside;
    if (m_type == 1) {
        if (inside)
            setHoverLook();
        else
            setOutlinedLook();
    }
    if (!m_mouseDown)
        return;
    m_mouseDown = false;
    update();
    if (!m_mouseIn)
        return;
    // The click is reported on the next turn of the loop; a button hidden or
    // disabled by then (its window changed view under the pointer) stays
    // silent, as one that was never clicked.
    QPointer<QOVAButton> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->isVisible() && !self->m_disabled)
            emit self->clicked(self);
    });
}
