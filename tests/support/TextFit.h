#pragma once
// Whether text shows whole where it is drawn, measured in the font it is
// drawn in (the application's, Liberation Sans): the ink of every line a
// label draws, and of a button's title, against the widget's own rectangle,
// which is all a widget can paint in.
//
//   EXPECT_TRUE(textfit::labelShowsWhole(label));
//   EXPECT_TRUE(textfit::titleClearOfEnds(button, 5));

#include "QOVAButton.h"
#include "QOVALabel.h"

#include <QFontMetricsF>
#include <QRectF>

#include <gtest/gtest.h>

#include <cmath>

namespace textfit {

// The ink of one line of text whose baseline starts at the point.
inline QRectF inkRect(const QFont &font, const QString &text, const QPointF &baseline)
{
    return QFontMetricsF(font).boundingRect(text).translated(baseline);
}

// The union of the ink of every line the label draws.
inline QRectF labelInk(const QOVALabel *label)
{
    QRectF ink;
    for (const QOVALabel::DrawnLine &line : label->drawnLines())
        ink = ink.united(inkRect(label->font(), line.text, line.baseline));
    return ink;
}

// Every line of the label's text is drawn inside the label, on one line
// when oneLine is set.
inline ::testing::AssertionResult labelShowsWhole(const QOVALabel *label, bool oneLine = false)
{
    const QString name = label->objectName().isEmpty() ? label->stringValue().left(40) : label->objectName();
    const QList<QOVALabel::DrawnLine> lines = label->drawnLines();
    if (oneLine && lines.size() > 1)
        return ::testing::AssertionFailure() << qPrintable(name) << " draws " << lines.size() << " lines";
    const QRectF bounds(label->rect());
    for (const QOVALabel::DrawnLine &line : lines) {
        const QRectF ink = inkRect(label->font(), line.text, line.baseline);
        // Half a pixel of antialiasing either way is still inside.
        if (!bounds.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink))
            return ::testing::AssertionFailure()
                << qPrintable(name) << ": ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                << ink.height() << " leaves " << bounds.width() << "x" << bounds.height() << " for \""
                << qPrintable(line.text.left(40)) << "\"";
    }
    return ::testing::AssertionSuccess();
}

// A rounded button's title ink lies inside it and at least the clearance
// from its outline, row by row (the round ends come closer at the top and
// bottom of the title).
inline ::testing::AssertionResult titleClearOfEnds(const QOVAButton *button, double clearance)
{
    const QRectF title = button->titleRect();
    const QRectF ink = inkRect(button->textFont(), button->textString(),
                               QPointF(title.x(), title.y() + QFontMetricsF(button->textFont()).ascent()));
    const double w = button->width(), h = button->height();
    const double r = std::min(button->cornerRadius(), h / 2.0);
    if (ink.top() < 0 || ink.bottom() > h)
        return ::testing::AssertionFailure() << qPrintable(button->textString()) << ": title ink leaves the height";
    for (double y : {ink.top(), ink.center().y(), ink.bottom()}) {
        // How far the outline is in from either side at this height.
        const double dy = y < r ? r - y : y > h - r ? y - (h - r) : 0;
        const double in = r - std::sqrt(std::max(0.0, r * r - dy * dy));
        if (ink.left() - in < clearance || (w - in) - ink.right() < clearance)
            return ::testing::AssertionFailure()
                << qPrintable(button->textString()) << ": title ink " << ink.left() << ".." << ink.right()
                << " within " << clearance << " of the outline (" << in << ".." << w - in << ") at y " << y;
    }
    return ::testing::AssertionSuccess();
}

} // namespace textfit
