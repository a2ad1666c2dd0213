#include "usb/USBControlRequest.h"

#include "log/log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

int sendControlRequest(const USBInterfaceHandle *interface, platform::UsbSetup request,
                       uint8_t *data, int *transferred)
{
    if (transferred)
        *transferred = 0;
    if (!interface || !interface->device) {
        QOVA_LOG(ERROR, UVC, "sendControlRequest Error: No interface to send request");
        return -1;
    }
    platform::UsbDevice &device = *interface->device;

    // Claim the interface for the request. Busy means someone already has it
    // (on Linux the camera driver), which is fine: the request still goes out.
    platform::UsbError error = device.open();
    bool claimed = false;
    if (error == platform::UsbError::None) {
        error = device.claimInterface(interface->number());
        claimed = error == platform::UsbError::None;
    }
    if (error != platform::UsbError::None && error != platform::UsbError::Access) {
        QOVA_LOG(ERROR, UVC, "sendControlRequest Error: Unable to open interface (%s)",
                 platform::usbErrorName(error));
        return -1;
    }

    request.wIndex = uint16_t((request.wIndex & 0xFF00) | interface->number());
    int done = 0;
    error = device.controlTransfer(request, data, 1000, &done);
    if (claimed)
        device.releaseInterface(interface->number());
    if (error != platform::UsbError::None) {
        QOVA_LOG(ERROR, UVC, "sendControlRequest Error: Control request failed: %s.",
                 platform::usbErrorName(error));
        return -1;
    }
    if (transferred)
        *transferred = done;
    return 0;
}

std::optional<QString> ReadUSBString(const platform::UsbDeviceRef &device, uint8_t index)
{
    QOVA_LOG(INFO, HID, "enter IOUSBGetDeviceString");
    if (!device) {
        QOVA_LOG(INFO, OTHERS, "ReadUSBString: DeviceRequest Failed, returned %d\n",
                 int(platform::UsbError::NoDevice));
        return std::nullopt;
    }
    constexpr int kBufferSize = 512;
    uint8_t buffer[kBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    QOVA_LOG(INFO, HID, "enter IOUSBGetDeviceString memset");

    int transferred = 0;
    QOVA_LOG(INFO, HID, "req");
    const platform::UsbError error =
        device->getStringDescriptor(index, 0x0409, buffer, kBufferSize, &transferred);
    QOVA_LOG(INFO, HID, "get kr");
    if (error != platform::UsbError::None || transferred <= 0) {
        QOVA_LOG(INFO, OTHERS, "ReadUSBString: DeviceRequest Failed, returned %d\n", int(error));
        return std::nullopt;
    }
    if (buffer[1] != 3) {
        QOVA_LOG(INFO, OTHERS, "ReadUSBString: DeviceRequest invalid data, buffer[1] is 0x%08x\n",
                 unsigned(buffer[1]));
        return std::nullopt;
    }
    // The descriptor's own length is trusted only as far as the bytes that
    // actually arrived.
    const int length = std::min({int(buffer[0]), transferred, kBufferSize});
    if (length < 2)
        return QString();
    const int units = (length - 2) / 2;
    QString text;
    text.reserve(units);
    for (int i = 0; i < units; ++i)
        text.append(QChar(char16_t(buffer[2 + 2 * i] | (buffer[3 + 2 * i] << 8))));
    return text;
}
