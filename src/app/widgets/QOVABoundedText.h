#pragma once
// A device's text as the interface keeps it for showing: a text no longer
// than kMaxShownCharacters stays as it is, a longer one is cut there and ends
// in an ellipsis. Models that only show a text keep it bounded; a text that
// is sent back to the device is kept whole where it is sent from.

#include <QChar>
#include <QString>

constexpr qsizetype kMaxShownCharacters = 256;

inline QString boundedShownText(const QString &text)
{
    if (text.size() <= kMaxShownCharacters)
        return text;
    qsizetype cut = kMaxShownCharacters - 1;
    // A surrogate pair is not split.
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}
