#include "QOVAMaskView.h"

#include <QDebug>
#include <QMouseEvent>
#include <QPainter>

QOVAMaskView::QOVAMaskView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void QOVAMaskView::setAlphaValue(double alpha)
{
    m_alpha = alpha;
    update();
}

void QOVAMaskView::paintEvent(QPaintEvent *)
{
    if (m_alpha <= 0.0)
        return;
    QPainter p(this);
    QColor black(Qt::black);
    black.setAlphaF(float(m_alpha));
    p.fillRect(rect(), black);
}

// The events stop here: nothing below the mask sees them.
void QOVAMaskView::mousePressEvent(QMouseEvent *event)
{
    qInfo("mouse down");
    event->accept();
}

void QOVAMaskView::mouseReleaseEvent(QMouseEvent *event)
{
    qInfo("mouse up");
    event->accept();
}

void QOVAMaskView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton)
        qInfo("mouse dragged");
    event->accept();
}

void QOVAMaskView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
