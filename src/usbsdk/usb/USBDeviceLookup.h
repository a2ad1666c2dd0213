#pragma once
// Finding the USB device under an HID device, and its interfaces. Plain
// functions without state over the installed backend's USB bus.

#include "platform/Usb.h"

#include <QString>

#include <cstdint>
#include <optional>

// One interface of a USB device: what the control-request routines need to
// address it. The interface is not claimed until a request needs it.
struct USBInterfaceHandle {
    platform::UsbDeviceRef device;
    platform::UsbInterfaceInfo info;

    uint8_t number() const { return info.number; }
};

// The ids a lookup matches against, read from id texts.
struct USBDeviceMatching {
    uint16_t idVendor = 0;
    uint16_t idProduct = 0;
};

// Reads two hexadecimal id texts ("1d5c", "6E17"; case does not matter).
// Nothing when either text is longer than 11 bytes or has no hexadecimal
// digits. Values wider than 16 bits keep their low 16 bits.
std::optional<USBDeviceMatching> usb_device_matching_by_ids(const QString &vendorId,
                                                           const QString &productId);

// The USB device with these ids whose serial number ("SerialNumber", or when
// that is absent "USB Serial Number") equals serialNumber exactly. When several
// match, the last one on the bus wins. The device is not opened.
platform::UsbDeviceRef open_usb_device_by_serial(const QString &vendorId, const QString &productId,
                                                 const QString &serialNumber);

// The first interface of the given class and subclass (any protocol, any
// alternate setting), or nothing.
std::optional<USBInterfaceHandle> open_usb_interface_by_class(const platform::UsbDeviceRef &device,
                                                              uint8_t interfaceClass,
                                                              uint8_t interfaceSubClass);
