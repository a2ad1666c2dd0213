#pragma once
// USB descriptors of a simulated device: device and configuration
// descriptors, string descriptors and the HID report descriptors, built per
// family and mode.

#include "platform/Usb.h"
#include "sim/SimDeviceHost.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace sim {

// The DFU functional descriptor (9 bytes, type 0x21) behind the DFU interface.
struct SimDfuFunctional {
    uint8_t attributes = 0x09;        // bitCanDnload | bitWillDetach
    uint16_t detachTimeOutMs = 1000;
    uint16_t transferSize = 2048;
    uint16_t bcdDfuVersion = 0x0110;
};

// The video-control block of the camera (header, camera terminal, processing
// unit, output terminal).
struct SimUvcLayout {
    uint16_t bcdUvc = 0x0110;
    uint8_t terminalId = 1;
    uint8_t processingUnitId = 2;
    uint8_t outputTerminalId = 3;
    uint8_t terminalControlSize = 3;
    uint32_t terminalControls = 0x020A2A;   // auto-exposure, exposure, focus, zoom, pan/tilt, auto-focus
    uint8_t processingControlSize = 2;
    uint32_t processingControls = 0x177F;   // brightness ... white balance, backlight, gain, power line
};

// Fixed interface numbers of a configuration, -1 when absent.
struct SimInterfaceLayout {
    int videoControl = -1;
    int hid = -1;
    int secondHid = -1;
    int dfu = -1;
};

struct SimConfiguration {
    QByteArray bytes;                               // the whole configuration
    std::vector<platform::UsbInterfaceInfo> interfaces;
    SimInterfaceLayout layout;
};

// String descriptor indexes.
enum : uint8_t {
    kStringManufacturer = 1,
    kStringProduct = 2,
    kStringSerial = 3,
    kStringVersion = 0x58,
    kStringDeviceName = 0x59,
};

constexpr uint16_t kProtocolUsagePage = 0xFFA0;   // the request/reply interface
constexpr uint16_t kSecondUsagePage = 0xFF00;     // Vasko's second HID interface

SimConfiguration buildConfiguration(Family family, Mode mode, const SimDfuFunctional &dfu,
                                    const SimUvcLayout &uvc);
QByteArray buildDeviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice);
QByteArray buildDfuFunctional(const SimDfuFunctional &dfu);
QByteArray buildVideoControlBlock(const SimUvcLayout &uvc);
// bLength, 3, UTF-16LE; cut to what fits in 255 bytes.
QByteArray buildStringDescriptor(const QString &text);
QByteArray buildLanguageDescriptor();   // English (United States) only
QByteArray hidReportDescriptor(bool secondInterface);

} // namespace sim
