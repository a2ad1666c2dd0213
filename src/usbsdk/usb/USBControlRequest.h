#pragma once
// The two plain USB control-request routines: class requests addressed to an
// interface, and string descriptors.

#include "usb/USBDeviceLookup.h"

#include <QString>

#include <optional>

// Sends one control request to the interface: its number is ORed into the low
// byte of wIndex. data is the data stage (wLength bytes); *transferred (when
// given) receives the count moved. Returns 0 on success, -1 on failure; errors
// are printed to standard output.
int sendControlRequest(const USBInterfaceHandle *interface, platform::UsbSetup request,
                       uint8_t *data, int *transferred = nullptr);

// String descriptor index of the device in US English. Nothing when the
// request fails or the answer is not a string descriptor; empty text for an
// empty descriptor.
std::optional<QString> ReadUSBString(const platform::UsbDeviceRef &device, uint8_t index);
