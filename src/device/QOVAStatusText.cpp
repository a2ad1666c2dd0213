#include "QOVAStatusText.h"

#include "QOVALabel.h"

#include <cmath>
#include <limits>

namespace QOVAStatusText {

long long leadingInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    constexpr long long kLimit = std::numeric_limits<int>::max();
    for (; i < text.size() && text.at(i).isDigit(); ++i) {
        value = value * 10 + text.at(i).digitValue();
        if (value > kLimit)   // saturate like the integer reading of the device texts
            value = kLimit;
    }
    return negative ? -value : value;
}

void fitWidth(QOVALabel *label)
{
    if (!label || !label->parentWidget())
        return;
    const int room = label->parentWidget()->width() - label->x() - 10;
    const int wanted = int(std::ceil(label->textSize(100000).width())) + 2;
    label->resize(qMax(0, qMin(wanted, room)), label->height());
}

void showOnOneLine(QOVALabel *label)
{
    label->setMaximumNumberOfLines(1);
    label->setLineBreakMode(QOVALabel::ByTruncatingTail);
}

} // namespace QOVAStatusText
