#include "QOVAStatusDotView.h"

#include "QOVAColor.h"

#include <QPainter>

QOVAStatusDotView::QOVAStatusDotView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QOVAStatusDotView::setColorString(const QString &hex)
{
    m_colorString = hex;
    m_color = colorWithString(hex, 1.0);
    update();
}

void QOVAStatusDotView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    // Corner radius 6 on a 12-point square: a circle.
    painter.drawRoundedRect(QRectF(rect()), 6.0, 6.0);
}
