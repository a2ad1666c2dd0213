#pragma once
// Small text rules of the status pages.

#include <QString>

class QOVALabel;

namespace QOVAStatusText {

// The page area and the base page's divider (top 44, 1 high).
inline constexpr int kPageWidth = 619;
inline constexpr int kPageHeight = 544;
inline constexpr int kSplitLineBottom = 45;

// The integer at the start of a text: leading blanks and one sign allowed;
// a text that does not begin with digits gives 0.
long long leadingInteger(const QString &text);
// Gives a label the width its text takes on one line, up to the page's
// right margin; its height and position stay.
void fitWidth(QOVALabel *label);
// A value the device reports stays on its row: one line, ending in an
// ellipsis where it is wider than the label (the tool tip shows it whole).
void showOnOneLine(QOVALabel *label);

} // namespace QOVAStatusText
