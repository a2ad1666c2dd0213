#include "sim/SimDescriptors.h"

#include "sim/SimFamily.h"

namespace sim {

namespace {

void put16(QByteArray &b, uint16_t v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void putBytes(QByteArray &b, uint32_t v, int count)
{
    for (int i = 0; i < count; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

QByteArray interfaceDescriptor(uint8_t number, uint8_t endpoints, uint8_t cls, uint8_t sub,
                               uint8_t proto)
{
    QByteArray d;
    d.append(char(9));
    d.append(char(4));
    d.append(char(number));
    d.append(char(0));
    d.append(char(endpoints));
    d.append(char(cls));
    d.append(char(sub));
    d.append(char(proto));
    d.append(char(0));
    return d;
}

QByteArray endpointDescriptor(uint8_t address, uint8_t attributes, uint16_t maxPacket,
                              uint8_t interval)
{
    QByteArray d;
    d.append(char(7));
    d.append(char(5));
    d.append(char(address));
    d.append(char(attributes));
    put16(d, maxPacket);
    d.append(char(interval));
    return d;
}

QByteArray hidClassDescriptor(uint16_t reportLength)
{
    QByteArray d;
    d.append(char(9));
    d.append(char(0x21));
    put16(d, 0x0111);
    d.append(char(0));      // country
    d.append(char(1));      // one report descriptor
    d.append(char(0x22));
    put16(d, reportLength);
    return d;
}

struct Builder {
    QByteArray body;
    std::vector<platform::UsbInterfaceInfo> interfaces;

    void add(uint8_t number, uint8_t cls, uint8_t sub, uint8_t proto, const QByteArray &extra,
             const QByteArray &endpoints, uint8_t endpointCount)
    {
        body += interfaceDescriptor(number, endpointCount, cls, sub, proto);
        body += extra;
        body += endpoints;
        platform::UsbInterfaceInfo info;
        info.number = number;
        info.interfaceClass = cls;
        info.interfaceSubClass = sub;
        info.interfaceProtocol = proto;
        info.extra = extra;
        interfaces.push_back(info);
    }
};

} // namespace

QByteArray buildDfuFunctional(const SimDfuFunctional &dfu)
{
    QByteArray d;
    d.append(char(9));
    d.append(char(0x21));
    d.append(char(dfu.attributes));
    put16(d, dfu.detachTimeOutMs);
    put16(d, dfu.transferSize);
    put16(d, dfu.bcdDfuVersion);
    return d;
}

QByteArray buildVideoControlBlock(const SimUvcLayout &uvc)
{
    QByteArray camera;
    camera.append(char(15 + uvc.terminalControlSize));
    camera.append(char(0x24));
    camera.append(char(2));                     // input terminal
    camera.append(char(uvc.terminalId));
    put16(camera, 0x0201);                      // camera sensor
    camera.append(char(0));                     // no associated terminal
    camera.append(char(0));
    put16(camera, 0);                           // objective focal length min
    put16(camera, 0);                           // objective focal length max
    put16(camera, 0);                           // ocular focal length
    camera.append(char(uvc.terminalControlSize));
    putBytes(camera, uvc.terminalControls, uvc.terminalControlSize);

    QByteArray processing;
    processing.append(char(10 + uvc.processingControlSize));
    processing.append(char(0x24));
    processing.append(char(5));                 // processing unit
    processing.append(char(uvc.processingUnitId));
    processing.append(char(uvc.terminalId));    // source
    put16(processing, 0x4000);                  // digital multiplier
    processing.append(char(uvc.processingControlSize));
    putBytes(processing, uvc.processingControls, uvc.processingControlSize);
    processing.append(char(0));                 // no string
    processing.append(char(0));                 // video standards

    QByteArray output;
    output.append(char(9));
    output.append(char(0x24));
    output.append(char(3));                     // output terminal
    output.append(char(uvc.outputTerminalId));
    put16(output, 0x0101);                      // streaming
    output.append(char(0));
    output.append(char(uvc.processingUnitId));  // source
    output.append(char(0));

    QByteArray header;
    const int headerLength = 12;                // no streaming interfaces listed
    const int total = headerLength + camera.size() + processing.size() + output.size();
    header.append(char(headerLength));
    header.append(char(0x24));
    header.append(char(1));                     // header
    put16(header, uvc.bcdUvc);
    put16(header, uint16_t(total));
    putBytes(header, 48000000, 4);              // clock frequency
    header.append(char(0));                     // bInCollection
    return header + camera + processing + output;
}

QByteArray hidReportDescriptor(bool secondInterface)
{
    if (secondInterface) {
        static const uint8_t second[] = {
            0x06, 0x00, 0xFF,       // usage page 0xFF00
            0x09, 0x01, 0xA1, 0x01, // application collection
            0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40,
            0x81, 0x02,             // 64-byte input
            0x09, 0x03, 0x95, 0x40, 0x91, 0x02, // 64-byte output
            0xC0,
        };
        return QByteArray(reinterpret_cast<const char *>(second), sizeof(second));
    }
    static const uint8_t protocol[] = {
        0x06, 0xA0, 0xFF,             // usage page 0xFFA0
        0x09, 0x01, 0xA1, 0x01,       // application collection
        0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
        0x85, 0x06, 0x09, 0x02, 0x96, 0x00, 0x01, 0xB1, 0x02,  // id 6: 256-byte feature
        0x85, 0x05, 0x09, 0x03, 0x96, 0xFF, 0x07, 0xB1, 0x02,  // id 5: 2047-byte feature
        0x85, 0x09, 0x09, 0x04, 0x95, 0x03, 0x81, 0x02,        // id 9: 3-byte input
        0xC0,
    };
    return QByteArray(reinterpret_cast<const char *>(protocol), sizeof(protocol));
}

SimConfiguration buildConfiguration(Family family, Mode mode, const SimDfuFunctional &dfu,
                                    const SimUvcLayout &uvc)
{
    const FamilyInfo &info = familyInfo(family);
    Builder b;
    SimInterfaceLayout layout;
    uint8_t next = 0;
    if (mode == Mode::Dfu) {
        layout.dfu = next;
        b.add(next++, 0xFE, 1, 2, buildDfuFunctional(dfu), QByteArray(), 0);
    } else {
        uint8_t endpoint = 0x81;
        if (info.hasUvc) {
            layout.videoControl = next;
            b.add(next++, 0x0E, 1, 0, buildVideoControlBlock(uvc),
                  endpointDescriptor(endpoint++, 3, 16, 8), 1);
        }
        layout.hid = next;
        b.add(next++, 3, 0, 0, hidClassDescriptor(uint16_t(hidReportDescriptor(false).size())),
              endpointDescriptor(endpoint++, 3, 4, 4), 1);
        if (info.hasSecondHid) {
            layout.secondHid = next;
            b.add(next++, 3, 0, 0, hidClassDescriptor(uint16_t(hidReportDescriptor(true).size())),
                  endpointDescriptor(endpoint++, 3, 64, 4), 1);
        }
        layout.dfu = next;
        b.add(next++, 0xFE, 1, 1, buildDfuFunctional(dfu), QByteArray(), 0);
    }

    QByteArray config;
    config.append(char(9));
    config.append(char(2));
    put16(config, uint16_t(9 + b.body.size()));
    config.append(char(next));      // interfaces
    config.append(char(1));         // configuration value
    config.append(char(0));
    config.append(char(0x80));      // bus powered
    config.append(char(250));       // 500 mA
    SimConfiguration result;
    result.bytes = config + b.body;
    result.interfaces = std::move(b.interfaces);
    result.layout = layout;
    return result;
}

QByteArray buildDeviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice)
{
    QByteArray d;
    d.append(char(18));
    d.append(char(1));
    put16(d, 0x0200);
    d.append(char(0));
    d.append(char(0));
    d.append(char(0));
    d.append(char(64));
    put16(d, vendorId);
    put16(d, productId);
    put16(d, bcdDevice);
    d.append(char(kStringManufacturer));
    d.append(char(kStringProduct));
    d.append(char(kStringSerial));
    d.append(char(1));
    return d;
}

QByteArray buildStringDescriptor(const QString &text)
{
    QByteArray d;
    const int units = qMin<int>(int(text.size()), 126);
    d.append(char(2 + 2 * units));
    d.append(char(3));
    for (int i = 0; i < units; ++i)
        put16(d, text.at(i).unicode());
    return d;
}

QByteArray buildLanguageDescriptor()
{
    QByteArray d;
    d.append(char(4));
    d.append(char(3));
    put16(d, 0x0409);
    return d;
}

} // namespace sim
