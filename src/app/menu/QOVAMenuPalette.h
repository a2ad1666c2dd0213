#pragma once
// Colours and title placement shared by the side menu's cells.

#include "QOVAColor.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace QOVAMenuPalette {

// Titles end this far from the cell's right edge and sit slightly above
// its centre line.
constexpr int kTitleRightInset = 5;
constexpr double kTitleCentreOffset = -2.5;

inline void fill(QWidget *widget, const QString &hex)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colorWithString(hex, 1.0));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline void setTextColor(QLabel *label, const QString &hex)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colorWithString(hex, 1.0));
    palette.setColor(QPalette::Text, colorWithString(hex, 1.0));
    label->setPalette(palette);
}

} // namespace QOVAMenuPalette
