#include "QOVAFont.h"

#include <QStringList>

#include <cmath>

QFont fontWithSFProDisplay(double size, int type)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    // Layout sizes are points of a 72-dpi grid, which is one pixel each here.
    if (size > 0) {
        if (std::floor(size) == size)
            font.setPixelSize(int(size));
        else
            font.setPointSizeF(size * 72.0 / 96.0);
    }
    font.setBold(type == QOVAFontBold || type == QOVAFontBoldItalic);
    font.setItalic(type == QOVAFontItalic || type == QOVAFontBoldItalic);
    return font;
}
