#include "version_compare.h"

#include <QStringList>

#include <limits>

namespace {

quint64 leadingNumber(const QString &part)
{
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    quint64 value = 0;
    for (const QChar ch : part) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            break;
        const quint64 digit = quint64(ch.unicode() - '0');
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

bool lastPartIsNewer(const QString &current, const QString &available, QChar separator)
{
    return leadingNumber(current.split(separator).constLast())
           < leadingNumber(available.split(separator).constLast());
}

} // namespace

bool firmware_version_is_newer(const QString &current, const QString &available, qint64 type)
{
    if (current.isEmpty() || available.isEmpty())
        return false;
    if (type == 2)
        return lastPartIsNewer(current, available, QLatin1Char('.'));
    if (type == 4)
        return lastPartIsNewer(current, available, QLatin1Char('-'));
    const QStringList mine = current.split(QLatin1Char('.'));
    const QStringList theirs = available.split(QLatin1Char('.'));
    const qsizetype parts = std::max(mine.size(), theirs.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const quint64 a = i < mine.size() ? leadingNumber(mine.at(i)) : 0;
        const quint64 b = i < theirs.size() ? leadingNumber(theirs.at(i)) : 0;
        if (a != b)
            return a < b;
    }
    return false;
}
