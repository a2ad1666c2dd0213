#include "QOVAGeometry.h"

#include <QWidget>

#include <cmath>

QRectF qovaFrameF(double parentHeight, double x, double y, double width, double height)
{
    return QRectF(x, parentHeight - y - height, width, height);
}

QRect qovaFrame(double parentHeight, double x, double y, double width, double height)
{
    // Round the edges rather than origin and size separately, so two frames
    // that touch in points still touch in pixels.
    const QRectF f = qovaFrameF(parentHeight, x, y, width, height);
    const int left = int(std::lround(f.left()));
    const int top = int(std::lround(f.top()));
    const int right = int(std::lround(f.left() + f.width()));
    const int bottom = int(std::lround(f.top() + f.height()));
    return QRect(left, top, right - left, bottom - top);
}

QRect qovaFrame(double parentHeight, const QRectF &frame)
{
    return qovaFrame(parentHeight, frame.x(), frame.y(), frame.width(), frame.height());
}

void qovaSetFrame(QWidget *widget, double x, double y, double width, double height)
{
    if (!widget)
        return;
    const QWidget *parent = widget->parentWidget();
    const double parentHeight = parent ? parent->height() : height + y;
    widget->setGeometry(qovaFrame(parentHeight, x, y, width, height));
}

void qovaSetFrame(QWidget *widget, const QRectF &frame)
{
    qovaSetFrame(widget, frame.x(), frame.y(), frame.width(), frame.height());
}

QRectF qovaFrameOf(const QWidget *widget)
{
    if (!widget)
        return {};
    const QRect g = widget->geometry();
    const QWidget *parent = widget->parentWidget();
    const double parentHeight = parent ? parent->height() : g.bottom() + 1;
    return QRectF(g.x(), parentHeight - g.y() - g.height(), g.width(), g.height());
}
