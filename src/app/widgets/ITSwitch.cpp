#include "ITSwitch.h"

#include "QOVAColor.h"
#include "QOVAGeometry.h"

#include "platform/TimeScale.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <mutex>

namespace {

constexpr double kKnobSize = 12;
constexpr double kKnobBottom = 3;
constexpr double kKnobInset = 1;
constexpr int kAnimationMs = 400;

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const QColor ca = a.toRgb(), cb = b.toRgb();
    QColor c;
    c.setRgbF(float(ca.redF() + (cb.redF() - ca.redF()) * t), float(ca.greenF() + (cb.greenF() - ca.greenF()) * t),
              float(ca.blueF() + (cb.blueF() - ca.blueF()) * t), float(ca.alphaF() + (cb.alphaF() - ca.alphaF()) * t));
    return c;
}

// The switch as assistive technology sees it: a check box whose value is 0
// or 1, settable, with a press action that flips it.
class AccessibleSwitch : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSwitch(QWidget *w)
        : QAccessibleWidget(w, QAccessible::CheckBox)
    {
    }
    ITSwitch *control() const { return static_cast<ITSwitch *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = control()->checked();
        return s;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        for (const QString &name : {pressAction(), toggleAction()})
            if (!names.contains(name))
                names.append(name);
        return names;
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() || name == toggleAction()) {
            if (control()->isEnabled())
                control()->toggleByUser();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
    QVariant currentValue() const override { return control()->checked() ? 1 : 0; }
    void setCurrentValue(const QVariant &value) override
    {
        if (control()->isEnabled())
            control()->setCheckedByUser(value.toBool());
    }
    QVariant maximumValue() const override { return 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *switchAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ITSwitch") && object && object->isWidgetType())
        return new AccessibleSwitch(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ITSwitch::ITSwitch(QWidget *parent)
    : QWidget(parent)
{
    static std::once_flag factoryInstalled;
    std::call_once(factoryInstalled, [] { QAccessible::installFactory(switchAccessibleFactory); });

    // Reached by keyboard navigation only; a click does not take the focus.
    setFocusPolicy(Qt::TabFocus);
    m_animation = new QVariantAnimation(this);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_progress = v.toDouble();
        update();
    });
    resize(38, 18);
    reloadLayerSize();
}

QColor ITSwitch::tintColor() const
{
    if (m_tintColor)
        return *m_tintColor;
    QColor c;
    c.setRgbF(0.27f, 0.86f, 0.36f, 1.0f);
    return c;
}

void ITSwitch::setTintColor(const QColor &color)
{
    m_tintColor = color;
    reloadLayer();
}

QColor ITSwitch::disabledBorderColor() const
{
    return m_disabledBorderColor.value_or(QColor(0, 0, 0, 51));
}

void ITSwitch::setDisabledBorderColor(const QColor &color)
{
    m_disabledBorderColor = color;
    reloadLayer();
}

QColor ITSwitch::disabledBackgroundColor() const
{
    return m_disabledBackgroundColor.value_or(QColor(0, 0, 0, 51));
}

void ITSwitch::setDisabledBackgroundColor(const QColor &color)
{
    m_disabledBackgroundColor = color;
    reloadLayer();
}

void ITSwitch::setChecked(bool checked)
{
    if (checked != m_checked) {
        m_checked = checked;
        emit checkedChanged(checked);
    }
    reloadLayer();
}

void ITSwitch::setCheckedByUser(bool checked)
{
    const bool before = m_checked;
    setChecked(checked);
    if (m_checked != before)
        invokeTargetAction();
}

void ITSwitch::toggleByUser()
{
    setChecked(!m_checked);
    invokeTargetAction();
}

void ITSwitch::invokeTargetAction()
{
    emit triggered(this);
}

bool ITSwitch::knobIsOn() const
{
    return m_dragged ? m_draggingTowardsOn : m_checked;
}

QRectF ITSwitch::rectForKnob() const
{
    const double x = knobIsOn() ? width() - kKnobSize - kKnobInset : kKnobInset;
    return qovaFrameF(height(), x, kKnobBottom, kKnobSize, kKnobSize);
}

ITSwitch::Look ITSwitch::targetLook() const
{
    Look look;
    look.knobX = rectForKnob().x();
    look.border = disabledBorderColor();
    if (knobIsOn()) {
        look.track = tintColor();
        look.knobInside = Qt::white;
    } else {
        look.track = Qt::transparent;
        look.knobInside = colorWithString(QStringLiteral("666668"), 1.0);
    }
    look.opacity = isEnabled() ? 1.0 : 0.5;
    if (!isEnabled())
        look.track = disabledBackgroundColor();
    return look;
}

void ITSwitch::reloadLayer()
{
    // From wherever the drawing is now to the new look, in 0.4 s; outside a
    // drag the curve carries the knob a little past its end before it settles.
    Look now;
    now.knobX = currentKnobRect().x();
    now.track = currentTrackColor();
    now.border = mix(m_from.border, m_to.border, m_progress);
    now.knobInside = currentKnobInsideColor();
    now.opacity = currentOpacity();
    m_from = now;
    m_to = targetLook();
    m_animation->stop();
    if (!isVisible()) {
        m_progress = 1.0;
        update();
        return;
    }
    QEasingCurve curve(QEasingCurve::InOutQuad);
    if (!m_dragged) {
        curve = QEasingCurve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(QPointF(0.25, 1.5), QPointF(0.5, 1.0), QPointF(1.0, 1.0));
    }
    m_animation->setEasingCurve(curve);
    m_animation->setDuration(platform::scaledMs(kAnimationMs));
    m_progress = 0.0;
    m_animation->start();
    update();
}

void ITSwitch::reloadLayerSize()
{
    m_animation->stop();
    m_to = targetLook();
    m_from = m_to;
    m_progress = 1.0;
    update();
}

bool ITSwitch::isAnimating() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

QRectF ITSwitch::currentKnobRect() const
{
    const double x = m_from.knobX + (m_to.knobX - m_from.knobX) * m_progress;
    return QRectF(x, rectForKnob().y(), kKnobSize, kKnobSize);
}

QColor ITSwitch::currentTrackColor() const
{
    return mix(m_from.track, m_to.track, m_progress);
}

QColor ITSwitch::currentKnobInsideColor() const
{
    return mix(m_from.knobInside, m_to.knobInside, m_progress);
}

double ITSwitch::currentOpacity() const
{
    const double t = std::clamp(m_progress, 0.0, 1.0);
    return m_from.opacity + (m_to.opacity - m_from.opacity) * t;
}

void ITSwitch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(currentOpacity());

    const QRectF bounds = rect();
    const double radius = bounds.height() / 2;
    // The track: fill, then a 1-point border inside its edge.
    p.setPen(Qt::NoPen);
    p.setBrush(currentTrackColor());
    p.drawRoundedRect(bounds, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(m_from.border, m_to.border, m_progress), 1));
    const QRectF edge = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(edge, edge.height() / 2, edge.height() / 2);

    // The knob: a white disc under its inside disc of the state's colour.
    const QRectF knob = currentKnobRect();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(knob);
    p.setBrush(currentKnobInsideColor());
    p.drawEllipse(knob);

    if (hasFocus()) {
        QColor ring = palette().color(QPalette::Highlight);
        ring.setAlphaF(0.6f);
        p.setOpacity(1.0);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ring, 2));
        const QRectF r = bounds.adjusted(1, 1, -1, -1);
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    }
}

void ITSwitch::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    reloadLayer();
}

void ITSwitch::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!isEnabled() || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragged = true;
    m_draggingTowardsOn = event->position().x() >= width() / 2.0;
    reloadLayer();
}

void ITSwitch::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    const bool before = m_checked;
    const bool state = m_dragged ? m_draggingTowardsOn : !m_checked;
    // Dragging ends before the new state is drawn, so the knob settles from
    // where it was dragged to.
    m_dragged = false;
    m_draggingTowardsOn = false;
    setChecked(state);
    if (m_checked != before)
        invokeTargetAction();
}

void ITSwitch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        if (m_checked) {
            setChecked(false);
            invokeTargetAction();
        }
        event->accept();
        return;
    case Qt::Key_Right:
        if (!m_checked) {
            setChecked(true);
            invokeTargetAction();
        }
        event->accept();
        return;
    case Qt::Key_Space:
        toggleByUser();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ITSwitch::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        reloadLayer();
}

void ITSwitch::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    reloadLayerSize();
}
