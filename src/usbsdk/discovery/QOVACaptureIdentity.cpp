#include "QOVACaptureIdentity.h"

#include "QOVADiscoveryRules.h"

namespace qova::discovery {

QString trimLocationText(const QString &location)
{
    qsizetype start = 0;
    while (start < location.size() && location.at(start) == QLatin1Char('0'))
        ++start;
    return location.mid(start);
}

QString captureUniqueID(const QString &location, const QString &vendorId, const QString &productId)
{
    return QStringLiteral("0x") + trimLocationText(location) + vendorId + productId;
}

QString captureUniqueID(uint32_t locationId, uint32_t vendorId, uint32_t productId)
{
    return captureUniqueID(hexText(locationId), hexText(vendorId, 4), hexText(productId, 4));
}

} // namespace qova::discovery
