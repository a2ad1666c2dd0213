#include "QOVAFirmwareModel.h"

bool QOVAFirmwareModel::isDFU() const
{
    return productId == QLatin1String("5c02") || productId == QLatin1String("6e18")
           || productId == QLatin1String("6e13");
}

bool QOVAFirmwareModel::canRefresh() const
{
    switch (upgradeState) {
    case 0: case 1: case 2: case 3: case 7: case 8:
        return true;
    default:
        return false;
    }
}

bool QOVAFirmwareModel::isPirok() const
{
    return productId == QLatin1String("5c01") || productId == QLatin1String("5c02");
}

bool QOVAFirmwareModel::isOrbrin() const
{
    return productId == QLatin1String("6e17") || productId == QLatin1String("6e18");
}

bool QOVAFirmwareModel::isVasko() const
{
    return productId == QLatin1String("6e12") || productId == QLatin1String("6e13");
}
