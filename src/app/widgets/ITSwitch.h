#pragma once
// The on/off switch of the settings pages: a rounded track with a round knob
// that moves from left (off) to right (on), animated with a slight overshoot.
// The user flips it by clicking, by dragging the knob (the side of the
// control's middle the pointer is on when released decides), with the arrow
// keys or the space bar, or through accessibility (a check box); each user
// change emits triggered(). setChecked() never does.
//
// While disabled the switch is drawn at half opacity with the disabled fill
// and ignores clicks, drags, keys and accessibility changes alike.

#include <QColor>
#include <QWidget>

#include <optional>

class QVariantAnimation;

class ITSwitch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool checked READ checked WRITE setChecked NOTIFY checkedChanged)
public:
    explicit ITSwitch(QWidget *parent = nullptr);

    bool checked() const { return m_checked; }
    // Redraws always; reports a different value through checkedChanged()
    // (for whatever the state is bound to), never through triggered().
    void setChecked(bool checked);

    // Track fill when on; rgb(0.27, 0.86, 0.36) until set.
    QColor tintColor() const;
    void setTintColor(const QColor &color);
    // Track border in every state; black at alpha 0.2 until set.
    QColor disabledBorderColor() const;
    void setDisabledBorderColor(const QColor &color);
    // Track fill while disabled; black at alpha 0.2 until set.
    QColor disabledBackgroundColor() const;
    void setDisabledBackgroundColor(const QColor &color);

    bool hasDragged() const { return m_dragged; }
    bool isDraggingTowardsOn() const { return m_draggingTowardsOn; }

    // The knob's rectangle at rest for the current state, in widget
    // coordinates: 12 x 12, 3 up from the bottom, 1 in from the side.
    QRectF rectForKnob() const;
    // Where the knob is drawn now (it differs while animating).
    QRectF currentKnobRect() const;
    // What is drawn now, for tests and the gallery.
    QColor currentTrackColor() const;
    QColor currentKnobInsideColor() const;
    double currentOpacity() const;
    bool isAnimating() const;

    QSize sizeHint() const override { return QSize(38, 18); }

    // Flips the state as a user action (accessibility press, space bar).
    void toggleByUser();
    // Sets the state as a user action; emits triggered() when it changed.
    void setCheckedByUser(bool checked);

signals:
    // The user changed the state.
    void triggered(ITSwitch *sender);
    void checkedChanged(bool checked);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Look {
        double knobX = 1;
        QColor track;
        QColor border;
        QColor knobInside;
        double opacity = 1;
    };
    bool knobIsOn() const;
    Look targetLook() const;
    void reloadLayer();
    void reloadLayerSize();
    void invokeTargetAction();

    bool m_checked = false;
    bool m_dragged = false;
    bool m_draggingTowardsOn = false;
    std::optional<QColor> m_tintColor;
    std::optional<QColor> m_disabledBorderColor;
    std::optional<QColor> m_disabledBackgroundColor;
    Look m_from;
    Look m_to;
    double m_progress = 1.0;
    QVariantAnimation *m_animation = nullptr;
};
