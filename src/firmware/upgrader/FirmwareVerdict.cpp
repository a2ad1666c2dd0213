#include "upgrader/FirmwareVerdict.h"

#include "version_compare.h"

namespace upgrader {

namespace {

// A version the family's rule can read: it has at least one digit.
bool readableVersion(const QString &version)
{
    for (const QChar ch : version) {
        if (ch.isDigit())
            return true;
    }
    return false;
}

bool sameVersion(const QString &a, const QString &b, qint64 type)
{
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    if (!readableVersion(a) || !readableVersion(b))
        return false;
    return !firmware_version_is_newer(a, b, type) && !firmware_version_is_newer(b, a, type);
}

} // namespace

qint64 firmwareFamilyType(const QString &productId)
{
    const QString id = productId.toLower();
    if (id == QLatin1String("6e17") || id == QLatin1String("6e18"))
        return 2;
    if (id == QLatin1String("6e12") || id == QLatin1String("6e13"))
        return 4;
    return 1;
}

FirmwareVerdict judgeFirmware(const QString &reportedText, const QString &packageText,
                              const QString &beforeText, qint64 type, bool manifested)
{
    const QString reported = reportedText.trimmed();
    const QString package = packageText.trimmed();
    const QString before = beforeText.trimmed();
    const bool readable = readableVersion(reported);

    if (!package.isEmpty()) {
        if (readable && readableVersion(package) && !firmware_version_is_newer(reported, package, type))
            return FirmwareVerdict::Installed;
        if (readable && !before.isEmpty() && sameVersion(reported, before, type))
            return FirmwareVerdict::NotInstalled;
        return FirmwareVerdict::NotConfirmed;
    }
    if (manifested)
        return FirmwareVerdict::Installed;
    if (!readable)
        return FirmwareVerdict::NotConfirmed;
    if (before.isEmpty() || !sameVersion(reported, before, type))
        return FirmwareVerdict::Installed;
    return FirmwareVerdict::NotConfirmed;
}

} // namespace upgrader
