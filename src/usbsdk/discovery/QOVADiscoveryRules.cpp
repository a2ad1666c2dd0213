#include "discovery/QOVADiscoveryRules.h"

#include <algorithm>
#include <iterator>

namespace qova::discovery {

namespace {

// The leading decimal digits of a text as a number, 0 when there are none
// ("1a" reads as 1), the way the version digits have always been read.
long leadingDecimal(QStringView text)
{
    long value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

bool isDfuModeProductId(uint32_t productId)
{
    return std::find(std::begin(kDfuModeProductIds), std::end(kDfuModeProductIds), productId)
           != std::end(kDfuModeProductIds);
}

QString hexText(uint32_t value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0'));
}

QString cutSerialNumber(const QString &productId, const QString &serialNumber)
{
    if (productId != QLatin1String("6e12") && productId != QLatin1String("6e13"))
        return serialNumber;
    const qsizetype dot = serialNumber.indexOf(QLatin1Char('.'));
    return dot < 0 ? serialNumber : serialNumber.left(dot);
}

QString removeDfuSuffix(const QString &productName)
{
    QString name = productName;
    return name.remove(QStringLiteral(" DFU"));
}

QString formatProductVersion(const QString &version)
{
    long major = 0;
    long minor = 0;
    if (version.size() == 4) {
        major = leadingDecimal(QStringView(version).left(2));
        minor = leadingDecimal(QStringView(version).right(2));
    } else if (version.size() == 3) {
        major = leadingDecimal(QStringView(version).left(1));
        minor = leadingDecimal(QStringView(version).right(2));
    }
    return QStringLiteral("%1.0.%2").arg(major).arg(minor);
}

bool usesStringDescriptorVersion(const QString &productId)
{
    static const QStringList ids = {QStringLiteral("6e17"), QStringLiteral("6e12"),
                                    QStringLiteral("6e18"), QStringLiteral("6e13")};
    return ids.contains(productId);
}

} // namespace qova::discovery
