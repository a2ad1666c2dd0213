#pragma once
// The application font: one family, four faces chosen by a type number.
// The family is Arial's metric twin, Liberation Sans. Sizes are points of the
// page layout, which map one to one onto pixels here.

#include <QFont>

enum QOVAFontType {
    QOVAFontRegular = 1,
    QOVAFontItalic = 2,
    QOVAFontBold = 3,
    QOVAFontBoldItalic = 4,
};

// Type 2 italic, 3 bold, 4 bold italic; every other type (0, 1, 5, ...)
// regular.
QFont fontWithSFProDisplay(double size, int type);
