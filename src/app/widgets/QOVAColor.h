#pragma once
// Colours of the interface are written as six hexadecimal digits (RRGGBB);
// this turns such a text and an alpha into a colour.

#include <QColor>
#include <QString>

// Accepts "0277bd", "#0277BD", "0x0277bd", "0X#0277bd", with blanks or line
// ends around it. The alpha never comes from the text. Anything else (too
// short, eight digits, not hexadecimal) gives the fully transparent colour.
QColor colorWithString(const QString &text, double alpha);
