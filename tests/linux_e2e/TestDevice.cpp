#include "TestDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace e2e {

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray interfaceDescriptor(uint8_t number, uint8_t endpoints, uint8_t cls, uint8_t sub,
                               uint8_t protocol)
{
    return bytes({0x09, 0x04, number, 0x00, endpoints, cls, sub, protocol, 0x00});
}

// A vendor page report descriptor with the framing reports: feature reports
// 6 (256 bytes) and 5 (2047 bytes), input report 9 (3 bytes).
QByteArray reportDescriptor(uint16_t usagePage)
{
    return bytes({0x06, usagePage & 0xFF, usagePage >> 8, 0x09, 0x01, 0xA1, 0x01,
                  0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                  0x85, 0x06, 0x96, 0x00, 0x01, 0x09, 0x02, 0xB1, 0x02,
                  0x85, 0x05, 0x96, 0xFF, 0x07, 0x09, 0x03, 0xB1, 0x02,
                  0x85, 0x09, 0x95, 0x03, 0x09, 0x04, 0x81, 0x02, 0xC0});
}

QByteArray videoControlBlock()
{
    return bytes({0x0D, 0x24, 0x01, 0x00, 0x01, 0x33, 0x00, 0x80, 0x8D, 0x5B, 0x00, 0x01, 0x01,
                  0x12, 0x24, 0x02, 0x01, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                  0x03, 0x0A, 0x02, 0x00, 0x00,
                  0x0B, 0x24, 0x05, 0x02, 0x01, 0x00, 0x40, 0x02, 0x7F, 0x17, 0x00,
                  0x09, 0x24, 0x03, 0x03, 0x01, 0x01, 0x00, 0x02, 0x00});
}

} // namespace

QByteArray deviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t bcdDevice)
{
    return bytes({0x12, 0x01, 0x00, 0x02, 0xEF, 0x02, 0x01, 0x40, vendorId & 0xFF, vendorId >> 8,
                  productId & 0xFF, productId >> 8, bcdDevice & 0xFF, bcdDevice >> 8, 0x01, 0x02,
                  0x03, 0x01});
}

QByteArray stringDescriptor(const QString &text)
{
    QByteArray out;
    out.append(char(2 + 2 * text.size()));
    out.append(char(0x03));
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

TestDevice::TestDevice(Kind kind, QString serial) : m_kind(kind)
{
    EmulatedDeviceDescription &d = m_description;
    d.vendorId = 0x1D5C;
    d.manufacturer = QStringLiteral("Zentaro");
    d.serial = std::move(serial);
    switch (kind) {
    case Kind::Orbrin:
        d.productId = 0x6E17;
        d.bcdDevice = 0x0100;
        d.product = QStringLiteral("Zentaro Halvex");
        break;
    case Kind::Vasko:
        d.productId = 0x6E12;
        d.bcdDevice = 0x0100;
        d.product = QStringLiteral("Skarnfel Tolm USB");
        break;
    case Kind::Pirok:
        d.productId = 0x5C01;
        d.bcdDevice = 0x1203;
        d.product = QStringLiteral("KRD mini");
        break;
    }
    d.deviceDescriptor = deviceDescriptor(d.vendorId, d.productId, d.bcdDevice);

    QByteArray body;
    uint8_t number = 0;
    body += bytes({0x08, 0x0B, 0x00, 0x02, 0x0E, 0x03, 0x00, 0x00});
    body += interfaceDescriptor(number, 1, 0x0E, 0x01, 0x00);
    body += videoControlBlock();
    body += bytes({0x07, 0x05, 0x81, 0x03, 0x10, 0x00, 0x06});
    d.videoControlInterface = number++;
    body += interfaceDescriptor(number++, 0, 0x0E, 0x02, 0x00);

    const int hidCount = kind == Kind::Vasko ? 2 : 1;
    for (int i = 0; i < hidCount; ++i) {
        const uint16_t page = i == 0 ? 0xFFA0 : 0xFF00;
        const QByteArray report = reportDescriptor(page);
        body += interfaceDescriptor(number, 1, 0x03, 0x00, 0x00);
        body += bytes({0x09, 0x21, 0x11, 0x01, 0x00, 0x01, 0x22, int(report.size()), 0x00});
        body += bytes({0x07, 0x05, 0x82 + i, 0x03, 0x40, 0x00, 0x01});
        d.hid.push_back({number, report});
        ++number;
    }
    body += interfaceDescriptor(number++, 0, 0xFE, 0x01, 0x01);
    body += bytes({0x09, 0x21, 0x0B, 0xFF, 0x00, 0x00, 0x10, 0x10, 0x01});

    const int total = 9 + int(body.size());
    d.configuration =
        bytes({0x09, 0x02, total & 0xFF, total >> 8, number, 0x01, 0x00, 0x80, 0xFA}) + body;
}

EmulatedDeviceDescription TestDevice::description() const
{
    return m_description;
}

int TestDevice::setFeatureReport(int hidIndex, const uint8_t *data, size_t length)
{
    if (hidIndex != 0 || length == 0)
        return -EPIPE;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reports[data[0]] = QByteArray(reinterpret_cast<const char *>(data), qsizetype(length));
    ++m_setCount;
    return int(length);
}

int TestDevice::getFeatureReport(int hidIndex, uint8_t *buffer, size_t length)
{
    if (hidIndex != 0 || length == 0)
        return -EPIPE;
    std::lock_guard<std::mutex> lock(m_mutex);
    const QByteArray stored = m_reports.value(buffer[0]);
    std::memset(buffer + 1, 0, length - 1);
    if (stored.size() > 1)
        std::memcpy(buffer + 1, stored.constData() + 1, std::min(size_t(stored.size()), length) - 1);
    return int(length);
}

int TestDevice::featureReportsSet() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_setCount;
}

std::optional<platform::UsbError> TestDevice::control(const platform::UsbSetup &setup,
                                                      uint8_t *data, int *transferred)
{
    *transferred = 0;
    if (setup.bmRequestType != 0x80 || setup.bRequest != 6)
        return std::nullopt;
    QByteArray answer;
    const uint8_t type = setup.wValue >> 8;
    const uint8_t index = setup.wValue & 0xFF;
    if (type == 1) {
        answer = m_description.deviceDescriptor;
    } else if (type == 2) {
        answer = m_description.configuration;
    } else if (type == 3) {
        std::lock_guard<std::mutex> lock(m_mutex);
        switch (index) {
        case 0: answer = QByteArray("\x04\x03\x09\x04", 4); break;
        case 1: answer = stringDescriptor(m_description.manufacturer); break;
        case 2: answer = stringDescriptor(m_description.product); break;
        case 3: answer = stringDescriptor(m_description.serial); break;
        case 0x58:
            if (m_kind == Kind::Pirok)
                return std::nullopt;
            answer = stringDescriptor(firmwareVersion);
            break;
        case 0x59:
            if (m_kind == Kind::Pirok)
                return std::nullopt;
            answer = stringDescriptor(deviceName);
            break;
        default: return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    const int count = std::min(int(answer.size()), int(setup.wLength));
    std::memcpy(data, answer.constData(), size_t(count));
    *transferred = count;
    return platform::UsbError::None;
}

} // namespace e2e
