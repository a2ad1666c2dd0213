#include "platform/linux/UsbDescriptorParser.h"

namespace platform::linuxusb {

namespace {
constexpr uint8_t kDeviceDescriptor = 0x01;
constexpr uint8_t kConfigurationDescriptor = 0x02;
constexpr uint8_t kInterfaceDescriptor = 0x04;
constexpr uint8_t kEndpointDescriptor = 0x05;
constexpr uint8_t kClassInterfaceDescriptor = 0x24;

uint8_t byteAt(const QByteArray &data, qsizetype index)
{
    return uint8_t(data.at(index));
}

uint16_t le16(const QByteArray &data, qsizetype index)
{
    return uint16_t(byteAt(data, index) | (byteAt(data, index + 1) << 8));
}
} // namespace

std::optional<QByteArray> firstConfiguration(const QByteArray &descriptorsFile)
{
    qsizetype offset = 0;
    // Skip the device descriptor (and anything else) up to the first
    // configuration descriptor.
    while (offset + 2 <= descriptorsFile.size()) {
        const uint8_t length = byteAt(descriptorsFile, offset);
        const uint8_t type = byteAt(descriptorsFile, offset + 1);
        if (length < 2)
            return std::nullopt;
        if (type == kConfigurationDescriptor) {
            if (length < 9 || offset + 4 > descriptorsFile.size())
                return std::nullopt;
            qsizetype total = le16(descriptorsFile, offset + 2);
            if (total < length)
                total = length;
            return descriptorsFile.mid(offset, qMin(total, descriptorsFile.size() - offset));
        }
        offset += length;
    }
    return std::nullopt;
}

std::vector<UsbInterfaceInfo> parseInterfaces(const QByteArray &configuration)
{
    std::vector<UsbInterfaceInfo> interfaces;
    UsbInterfaceInfo *current = nullptr;
    bool collecting = false;
    qsizetype offset = 0;
    while (offset + 2 <= configuration.size()) {
        const uint8_t length = byteAt(configuration, offset);
        const uint8_t type = byteAt(configuration, offset + 1);
        if (length < 2 || offset + length > configuration.size())
            break;  // a zero length would never advance; a long one is cut off
        if (type == kInterfaceDescriptor) {
            if (length >= 9) {
                UsbInterfaceInfo info;
                info.number = byteAt(configuration, offset + 2);
                info.alternateSetting = byteAt(configuration, offset + 3);
                info.interfaceClass = byteAt(configuration, offset + 5);
                info.interfaceSubClass = byteAt(configuration, offset + 6);
                info.interfaceProtocol = byteAt(configuration, offset + 7);
                interfaces.push_back(std::move(info));
                current = &interfaces.back();
                collecting = true;
            } else {
                collecting = false;
            }
        } else if (type == kEndpointDescriptor || type == kConfigurationDescriptor
                   || type == kDeviceDescriptor) {
            collecting = false;
        } else if (collecting && current) {
            current->extra.append(configuration.mid(offset, length));
        }
        offset += length;
    }
    return interfaces;
}

UvcUnitIds uvcUnitIds(const QByteArray &videoControlExtra)
{
    UvcUnitIds ids;
    qsizetype offset = 0;
    while (offset + 3 <= videoControlExtra.size()) {
        const uint8_t length = byteAt(videoControlExtra, offset);
        if (length < 3 || offset + length > videoControlExtra.size())
            break;
        const uint8_t type = byteAt(videoControlExtra, offset + 1);
        const uint8_t subtype = byteAt(videoControlExtra, offset + 2);
        if (type == kClassInterfaceDescriptor && length >= 4) {
            if (subtype == 0x02) {
                // Input terminal: only a camera terminal (type 0x0201) counts.
                const bool camera = length >= 6 && le16(videoControlExtra, offset + 4) == 0x0201;
                if (camera || ids.cameraTerminalId == 0)
                    ids.cameraTerminalId = byteAt(videoControlExtra, offset + 3);
            } else if (subtype == 0x05) {
                ids.processingUnitId = byteAt(videoControlExtra, offset + 3);
            }
        }
        offset += length;
    }
    return ids;
}

std::optional<UsbInterfaceInfo> findInterface(const std::vector<UsbInterfaceInfo> &interfaces,
                                              uint8_t interfaceClass, uint8_t interfaceSubClass)
{
    for (const UsbInterfaceInfo &info : interfaces) {
        if (info.interfaceClass == interfaceClass && info.interfaceSubClass == interfaceSubClass)
            return info;
    }
    return std::nullopt;
}

} // namespace platform::linuxusb
