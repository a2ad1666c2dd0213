#include "QOVADeviceListItem.h"

bool QOVADeviceListItem::isDFU() const
{
    return productId == QLatin1String("5c02") || productId == QLatin1String("6e18")
        || productId == QLatin1String("6e13");
}

bool QOVADeviceListItem::isPirok() const
{
    return productId == QLatin1String("5c02") || productId == QLatin1String("5c01");
}

bool QOVADeviceListItem::isOrbrin() const
{
    return productId == QLatin1String("6e18") || productId == QLatin1String("6e17");
}

bool QOVADeviceListItem::isVasko() const
{
    return productId == QLatin1String("6e13") || productId == QLatin1String("6e12");
}
