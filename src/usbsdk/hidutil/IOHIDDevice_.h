#pragma once
// Identity properties of an HID device, read from the identity the platform
// layer reports. Numbers are 0 and texts none when the property is missing.

#include "platform/Hid.h"

#include <QString>

#include <cstdint>
#include <optional>

// Reads the numeric property of that key ("VendorID", "ProductID",
// "VersionNumber", "LocationID", "PrimaryUsagePage") into *out. Leaves *out
// as it was when there is no device or no such numeric property.
void IOHIDDevice_GetUInt32Property(const platform::HidDeviceRef &device, const char *key,
                                   uint32_t *out);

uint32_t IOHIDDevice_GetVendorID(const platform::HidDeviceRef &device);
uint32_t IOHIDDevice_GetProductID(const platform::HidDeviceRef &device);
uint32_t IOHIDDevice_GetVersionNumber(const platform::HidDeviceRef &device);
uint32_t IOHIDDevice_GetLocationID(const platform::HidDeviceRef &device);
uint32_t IOHIDDevice_GetPrimaryUsagePage(const platform::HidDeviceRef &device);

std::optional<QString> IOHIDDevice_GetManufacturer(const platform::HidDeviceRef &device);
std::optional<QString> IOHIDDevice_GetProduct(const platform::HidDeviceRef &device);
std::optional<QString> IOHIDDevice_GetSerialNumber(const platform::HidDeviceRef &device);
