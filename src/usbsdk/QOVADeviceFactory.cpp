#include "QOVADeviceFactory.h"

#include "QOVABaseUSBDevice.h"
#include "QOVAOrbrinDevice.h"
#include "QOVASkarnfelDevice.h"
#include "QOVAVaskoDevice.h"

#include <iterator>

namespace {

template <typename Family>
QOVABaseUSBDeviceRef make(QOVADeviceModelRef model)
{
    return std::make_shared<Family>(std::move(model));
}

struct FactoryRow {
    const char *productIds[2];
    QOVABaseUSBDeviceRef (*create)(QOVADeviceModelRef);
};

// Run-mode and DFU-mode id of each family, in the order they are compared.
constexpr FactoryRow kFactoryTable[] = {
    {{"6e18", "6e17"}, &make<QOVAOrbrinDevice>},
    {{"5c02", "5c01"}, &make<QOVASkarnfelDevice>},
    {{"6e12", "6e13"}, &make<QOVAVaskoDevice>},
};

} // namespace

QOVABaseUSBDeviceRef QOVADeviceFactory::createFactoryDevice(const QString &productId,
                                                            QOVADeviceModelRef model)
{
    for (const FactoryRow &row : kFactoryTable) {
        for (const char *id : row.productIds) {
            if (productId == QLatin1String(id))
                return row.create(std::move(model));
        }
    }
    return nullptr;
}
