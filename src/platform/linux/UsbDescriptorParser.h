#pragma once
// Parsing of the raw descriptors the kernel exposes in sysfs ("descriptors":
// the device descriptor followed by the configuration descriptors) into the
// structures of platform/Usb.h. Malformed input never reads past the buffer;
// it yields what could be parsed before the fault.

#include "platform/Usb.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::linuxusb {

// The first configuration (wTotalLength bytes, cut to what is present) of a
// sysfs "descriptors" file, or nothing when there is none.
std::optional<QByteArray> firstConfiguration(const QByteArray &descriptorsFile);

// Every interface descriptor (each alternate setting) of a configuration,
// with the class-specific descriptors that follow it up to its first
// endpoint or the next interface as `extra`.
std::vector<UsbInterfaceInfo> parseInterfaces(const QByteArray &configuration);

// Unit ids of a video-control interface, read from its class-specific
// descriptors: the camera input terminal and the processing unit.
struct UvcUnitIds {
    uint8_t cameraTerminalId = 0;
    uint8_t processingUnitId = 0;
};
UvcUnitIds uvcUnitIds(const QByteArray &videoControlExtra);

// The first interface of the given class and subclass in descriptor order,
// or nothing.
std::optional<UsbInterfaceInfo> findInterface(const std::vector<UsbInterfaceInfo> &interfaces,
                                              uint8_t interfaceClass, uint8_t interfaceSubClass);

} // namespace platform::linuxusb
