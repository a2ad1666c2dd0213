#pragma once
// Whether text shows whole where it is drawn, measured in the font it is
// drawn in (the application's, Liberation Sans): the ink of every line a
// label draws, and of a button's title, against the widget's own rectangle,
// which is all a widget can paint in.
//
//   EXPECT_TRUE(textfit::labelShowsWhole(label));
//   EXPECT_TRUE(textfit::labelDrawsAllText(label));
//   EXPECT_TRUE(textfit::labelInside(label, page, area));
//   EXPECT_TRUE(textfit::inksApart(label, otherLabel));
//   EXPECT_TRUE(textfit::titleClearOfEnds(button, 5));
//   EXPECT_TRUE(textfit::fieldShowsWhole(lineEdit, 3));
//   EXPECT_TRUE(textfit::imageShowsWhole(button));

#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QRectF>
#include <QRegularExpression>

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

// The label draws its whole text: no line ends in an ellipsis in place of
// what did not fit.
inline ::testing::AssertionResult labelDrawsAllText(const QOVALabel *label)
{
    QString drawn;
    for (const QOVALabel::DrawnLine &line : label->drawnLines())
        drawn += line.text;
    const auto letters = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); };
    if (letters(drawn) != letters(label->stringValue()))
        return ::testing::AssertionFailure() << "draws \"" << qPrintable(drawn) << "\" for \""
                                             << qPrintable(label->stringValue()) << "\"";
    return ::testing::AssertionSuccess();
}

// The ink of the label, in the coordinates of an ancestor.
inline QRectF labelInkIn(const QOVALabel *label, const QWidget *ancestor)
{
    return labelInk(label).translated(QPointF(label->mapTo(ancestor, QPoint(0, 0))));
}

// The ink of every line of the label lies inside the ancestor's rectangle
// less the margins (a page's left and right margins, for instance).
inline ::testing::AssertionResult labelInside(const QOVALabel *label, const QWidget *ancestor,
                                              const QRectF &area)
{
    const QRectF ink = labelInkIn(label, ancestor);
    if (!area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink))
        return ::testing::AssertionFailure()
            << qPrintable(label->stringValue().left(40)) << ": ink " << ink.left() << ".." << ink.right() << " x "
            << ink.top() << ".." << ink.bottom() << " leaves " << area.left() << ".." << area.right() << " x "
            << area.top() << ".." << area.bottom();
    return ::testing::AssertionSuccess();
}

// Two labels' inks do not overlap (both measured in their common window).
inline ::testing::AssertionResult inksApart(const QOVALabel *a, const QOVALabel *b)
{
    const QWidget *window = a->window();
    const QRectF inkA = labelInkIn(a, window), inkB = labelInkIn(b, window);
    if (inkA.intersects(inkB))
        return ::testing::AssertionFailure() << "\"" << qPrintable(a->stringValue()) << "\" and \""
                                             << qPrintable(b->stringValue()) << "\" overlap at y "
                                             << inkA.top() << ".." << inkA.bottom() << " / " << inkB.top() << ".."
                                             << inkB.bottom();
    return ::testing::AssertionSuccess();
}

// The ink of a line edit's text, where the line edit draws it (its caret
// at the start of the text gives the line's top and left); the field must
// have been painted once, which places its line.
inline QRectF fieldInk(QLineEdit *field)
{
    const int cursor = field->cursorPosition();
    field->setCursorPosition(0);
    field->grab();
    const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    field->setCursorPosition(cursor);
    const QFontMetricsF metrics(field->font());
    return inkRect(field->font(), field->displayText(), QPointF(caret.center().x(), caret.top() + metrics.ascent()));
}

// A line edit's text shows whole: inside the field's border (a point in
// from its edges, where the outline is drawn) and at least the clearance
// away from its left edge.
inline ::testing::AssertionResult fieldShowsWhole(QLineEdit *field, double leftClearance)
{
    const QRectF ink = fieldInk(field);
    const QRectF inside = QRectF(field->rect()).adjusted(1, 1, -1, -1);
    if (!inside.contains(ink))
        return ::testing::AssertionFailure()
            << qPrintable(field->objectName()) << ": ink " << ink.left() << ".." << ink.right() << " x " << ink.top()
            << ".." << ink.bottom() << " leaves the field's inside " << inside.top() << ".." << inside.bottom();
    if (ink.left() < leftClearance)
        return ::testing::AssertionFailure()
            << qPrintable(field->objectName()) << ": ink starts " << ink.left() << " from the left border";
    return ::testing::AssertionSuccess();
}

// A button's image lies inside the button (the only place it can paint).
inline ::testing::AssertionResult imageShowsWhole(const QOVAButton *button)
{
    const QRect image = button->imageView()->geometry();
    if (!button->imageView()->isVisibleTo(button) || !button->rect().contains(image))
        return ::testing::AssertionFailure()
            << qPrintable(button->objectName()) << ": image at " << image.x() << "," << image.y() << " "
            << image.width() << "x" << image.height() << " in a " << button->width() << "x" << button->height()
            << " button";
    return ::testing::AssertionSuccess();
}

} // namespace textfit
