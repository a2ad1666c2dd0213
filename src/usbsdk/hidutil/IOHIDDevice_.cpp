#include "hidutil/IOHIDDevice_.h"

#include <cstring>

void IOHIDDevice_GetUInt32Property(const platform::HidDeviceRef &device, const char *key,
                                   uint32_t *out)
{
    if (!device || !key || !out)
        return;
    const platform::HidIdentity id = device->identity();
    if (std::strcmp(key, "VendorID") == 0)
        *out = id.vendorId;
    else if (std::strcmp(key, "ProductID") == 0)
        *out = id.productId;
    else if (std::strcmp(key, "VersionNumber") == 0)
        *out = id.versionNumber;
    else if (std::strcmp(key, "LocationID") == 0)
        *out = id.locationId;
    else if (std::strcmp(key, "PrimaryUsagePage") == 0)
        *out = id.primaryUsagePage;
}

namespace {
uint32_t number(const platform::HidDeviceRef &device, const char *key)
{
    uint32_t value = 0;
    IOHIDDevice_GetUInt32Property(device, key, &value);
    return value;
}
} // namespace

uint32_t IOHIDDevice_GetVendorID(const platform::HidDeviceRef &d) { return number(d, "VendorID"); }
uint32_t IOHIDDevice_GetProductID(const platform::HidDeviceRef &d) { return number(d, "ProductID"); }
uint32_t IOHIDDevice_GetVersionNumber(const platform::HidDeviceRef &d)
{
    return number(d, "VersionNumber");
}
uint32_t IOHIDDevice_GetLocationID(const platform::HidDeviceRef &d) { return number(d, "LocationID"); }
uint32_t IOHIDDevice_GetPrimaryUsagePage(const platform::HidDeviceRef &d)
{
    return number(d, "PrimaryUsagePage");
}

std::optional<QString> IOHIDDevice_GetManufacturer(const platform::HidDeviceRef &d)
{
    return d ? d->identity().manufacturer : std::nullopt;
}

std::optional<QString> IOHIDDevice_GetProduct(const platform::HidDeviceRef &d)
{
    return d ? d->identity().product : std::nullopt;
}

std::optional<QString> IOHIDDevice_GetSerialNumber(const platform::HidDeviceRef &d)
{
    return d ? d->identity().serialNumber : std::nullopt;
}
