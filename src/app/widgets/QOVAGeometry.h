#pragma once
// Frames in the page and widget descriptions are given in points with the
// origin at the bottom left of the parent and y growing upwards. Qt places
// widgets from the top left with y growing downwards. Every conversion goes
// through these helpers, so no widget or page flips coordinates by hand.
//
//   qovaSetFrame(button, 20, 30, 100, 24);   // 30 up from the parent's bottom
//
// The parent must already have its final height: a frame is relative to the
// bottom edge, so it has to be set again if the parent's height changes.

#include <QRect>
#include <QRectF>

class QWidget;

// The Qt geometry of a bottom-left frame inside a container of the given
// height.
QRectF qovaFrameF(double parentHeight, double x, double y, double width, double height);
QRect qovaFrame(double parentHeight, double x, double y, double width, double height);
QRect qovaFrame(double parentHeight, const QRectF &frame);

// Places the widget by a bottom-left frame inside its parent widget (or, for
// a window without parent, inside its own height, which is then fixed).
void qovaSetFrame(QWidget *widget, double x, double y, double width, double height);
void qovaSetFrame(QWidget *widget, const QRectF &frame);

// The widget's frame in bottom-left terms (the inverse of qovaSetFrame).
QRectF qovaFrameOf(const QWidget *widget);
