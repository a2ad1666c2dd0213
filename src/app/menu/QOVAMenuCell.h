#pragma once
// Base of the side menu's cells: a left-button press followed by a release
// counts as a click, also when the release happens outside the cell.

#include <QMouseEvent>
#include <QWidget>

class QOVAMenuCell : public QWidget {
public:
    using QWidget::QWidget;

    bool isMouseDown() const { return m_mouseDown; }

protected:
    // Sent on a click; the cell reports it to its delegate.
    virtual void clicked() = 0;

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        m_mouseDown = true;
        update();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || !m_mouseDown) {
            QWidget::mouseReleaseEvent(event);
            return;
        }
        m_mouseDown = false;
        update();
        clicked();
    }

private:
    bool m_mouseDown = false;
};
