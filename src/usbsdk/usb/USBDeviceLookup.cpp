#include "usb/USBDeviceLookup.h"

#include "platform/Backend.h"

#include <QByteArray>

#include <cstdio>

namespace {

// An id text as the registry would take it: at most 11 bytes of UTF-8, read
// as a hexadecimal number (an optional "0x" and leading blanks allowed, the
// digits end at the first other character).
std::optional<uint16_t> hexId(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty() || bytes.size() > 11)
        return std::nullopt;
    const char *p = bytes.constData();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    unsigned long value = 0;
    int digits = 0;
    for (; *p; ++p, ++digits) {
        const char c = *p;
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        value = (value << 4) | unsigned(d);
    }
    if (digits == 0)
        return std::nullopt;
    return uint16_t(value & 0xFFFF);
}

} // namespace

std::optional<USBDeviceMatching> usb_device_matching_by_ids(const QString &vendorId,
                                                           const QString &productId)
{
    const auto vendor = hexId(vendorId);
    const auto product = hexId(productId);
    if (!vendor || !product)
        return std::nullopt;
    return USBDeviceMatching{*vendor, *product};
}

platform::UsbDeviceRef open_usb_device_by_serial(const QString &vendorId, const QString &productId,
                                                 const QString &serialNumber)
{
    const auto matching = usb_device_matching_by_ids(vendorId, productId);
    if (!matching || !platform::hasBackend())
        return nullptr;

    platform::UsbDeviceRef found;
    for (const platform::UsbDeviceRef &device : platform::backend().usbBus().devices()) {
        if (!device)
            continue;
        const platform::UsbDeviceInfo info = device->info();
        if (info.vendorId != matching->idVendor || info.productId != matching->idProduct)
            continue;
        const std::optional<QString> &serial =
            info.serialNumber ? info.serialNumber : info.usbSerialNumber;
        if (!serial)
            continue;
        // Keep going: with several devices of the same serial, the last wins.
        if (*serial == serialNumber)
            found = device;
    }
    return found;
}

std::optional<USBInterfaceHandle> open_usb_interface_by_class(const platform::UsbDeviceRef &device,
                                                              uint8_t interfaceClass,
                                                              uint8_t interfaceSubClass)
{
    if (!device)
        return std::nullopt;
    const platform::UsbDeviceInfo info = device->info();
    for (const platform::UsbInterfaceInfo &interface : info.interfaces) {
        if (interface.interfaceClass == interfaceClass
            && interface.interfaceSubClass == interfaceSubClass)
            return USBInterfaceHandle{device, interface};
    }
    return std::nullopt;
}
