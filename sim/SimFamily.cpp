#include "sim/SimFamily.h"

#include <QRegularExpression>

namespace sim {

namespace {
const FamilyInfo kFamilies[] = {
    {Family::Orbrin, "orbrin", 0x6E17, 0x6E18, "Zentaro Halvex", "Zentaro", "1.1.5", "Halvex",
     true, true, false},
    {Family::Vasko, "vasko", 0x6E12, 0x6E13, "Skarnfel Tolm USB", "Zentaro", "1.3.2", "Tolm",
     true, true, true},
    {Family::Pirok, "pirok", 0x5C01, 0x5C02, "KRD mini", "Zentaro", "12.0.3", "KRD mini",
     false, false, false},
};
} // namespace

uint16_t runProductId(Family family) { return familyInfo(family).runProductId; }
uint16_t dfuProductId(Family family) { return familyInfo(family).dfuProductId; }

const FamilyInfo &familyInfo(Family family)
{
    for (const FamilyInfo &info : kFamilies) {
        if (info.family == family)
            return info;
    }
    return kFamilies[0];
}

std::optional<Family> familyFromKey(const QString &key)
{
    const QString k = key.trimmed().toLower();
    for (const FamilyInfo &info : kFamilies) {
        if (k == QLatin1String(info.key))
            return info.family;
    }
    return std::nullopt;
}

std::optional<Family> familyFromProductId(uint16_t productId)
{
    for (const FamilyInfo &info : kFamilies) {
        if (info.runProductId == productId || info.dfuProductId == productId)
            return info.family;
    }
    return std::nullopt;
}

QString familyKey(Family family) { return QLatin1String(familyInfo(family).key); }

uint16_t versionToBcd(const QString &version)
{
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,2})\\.0\\.(\\d{1,2})$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]{3,4}$"));
    const QString v = version.trimmed();
    QString text;
    if (auto m = dotted.match(v); m.hasMatch())
        text = m.captured(1) + QStringLiteral("%1").arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'));
    else if (digits.match(v).hasMatch())
        text = v;
    else
        return 0;
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    return ok ? uint16_t(value) : 0;
}

QString bcdToVersion(uint16_t bcd)
{
    const QString hex = QString::number(bcd, 16);
    if (hex.size() == 4)
        return QStringLiteral("%1.0.%2").arg(hex.left(2).toInt()).arg(hex.right(2).toInt());
    if (hex.size() == 3)
        return QStringLiteral("%1.0.%2").arg(hex.left(1).toInt()).arg(hex.right(2).toInt());
    return QStringLiteral("0.0.0");
}

} // namespace sim
