#include "sim/uvc/SimUvcControlHandler.h"

#include "sim/SimBus.h"
#include "sim/SimDevice.h"
#include "sim/SimFamily.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr uint8_t SET_CUR = 0x01;
constexpr uint8_t GET_CUR = 0x81;
constexpr uint8_t GET_MIN = 0x82;
constexpr uint8_t GET_MAX = 0x83;
constexpr uint8_t GET_RES = 0x84;
constexpr uint8_t GET_LEN = 0x85;
constexpr uint8_t GET_INFO = 0x86;
constexpr uint8_t GET_DEF = 0x87;

// Camera terminal selector -> bit of its bmControls (UVC 1.1, 3.7.2.3).
int terminalBit(uint8_t selector)
{
    switch (selector) {
    case 0x01: return 0;   // scanning mode
    case 0x02: return 1;   // auto-exposure mode
    case 0x03: return 2;   // auto-exposure priority
    case 0x04: return 3;   // exposure time absolute
    case 0x05: return 4;   // exposure time relative
    case 0x06: return 5;   // focus absolute
    case 0x07: return 6;   // focus relative
    case 0x08: return 17;  // focus auto
    case 0x09: return 7;   // iris absolute
    case 0x0A: return 8;   // iris relative
    case 0x0B: return 9;   // zoom absolute
    case 0x0C: return 10;  // zoom relative
    case 0x0D: return 11;  // pan/tilt absolute
    case 0x0E: return 12;  // pan/tilt relative
    case 0x0F: return 13;  // roll absolute
    case 0x10: return 14;  // roll relative
    case 0x11: return 18;  // privacy
    default: return -1;
    }
}

// Processing unit selector -> bit of its bmControls (UVC 1.1, 3.7.2.5).
int processingBit(uint8_t selector)
{
    switch (selector) {
    case 0x01: return 8;   // backlight compensation
    case 0x02: return 0;   // brightness
    case 0x03: return 1;   // contrast
    case 0x04: return 9;   // gain
    case 0x05: return 10;  // power line frequency
    case 0x06: return 2;   // hue
    case 0x07: return 3;   // saturation
    case 0x08: return 4;   // sharpness
    case 0x09: return 5;   // gamma
    case 0x0A: return 6;   // white balance temperature
    case 0x0B: return 12;  // white balance temperature, auto
    case 0x0C: return 7;   // white balance component
    case 0x0D: return 13;  // white balance component, auto
    case 0x0E: return 14;  // digital multiplier
    case 0x0F: return 15;  // digital multiplier limit
    case 0x10: return 11;  // hue, auto
    case 0x11: return 16;  // analog video standard
    case 0x12: return 17;  // analog video lock status
    default: return -1;
    }
}

QByteArray bitmapOf(const std::map<uint8_t, SimUvcControl> &controls, int (*bitOf)(uint8_t),
                     int minimumBytes)
{
    QByteArray bitmap(minimumBytes, '\0');
    for (const auto &entry : controls) {
        const int bit = bitOf(entry.first);
        if (bit < 0)
            continue;
        if (bit / 8 >= bitmap.size())
            bitmap.resize(bit / 8 + 1, '\0');
        bitmap[bit / 8] = char(uint8_t(bitmap[bit / 8]) | (1u << (bit % 8)));
    }
    return bitmap;
}

void encode(const std::vector<qint64> &values, int fieldSize, uint8_t *out)
{
    for (size_t f = 0; f < values.size(); ++f)
        for (int i = 0; i < fieldSize; ++i)
            out[f * size_t(fieldSize) + size_t(i)] = uint8_t(uint64_t(values[f]) >> (8 * i));
}

std::vector<qint64> decode(const uint8_t *in, int fieldSize, bool isSigned, size_t fields)
{
    std::vector<qint64> values(fields);
    for (size_t f = 0; f < fields; ++f) {
        uint64_t v = 0;
        for (int i = fieldSize - 1; i >= 0; --i)
            v = (v << 8) | in[f * size_t(fieldSize) + size_t(i)];
        if (isSigned && fieldSize < 8 && (v >> (fieldSize * 8 - 1)) & 1)
            v |= ~uint64_t(0) << (fieldSize * 8);
        values[f] = qint64(v);
    }
    return values;
}

void put16(QByteArray &b, uint16_t v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

} // namespace

SimUvcControl SimUvcControl::scalar(int fieldSize, bool isSigned, qint64 min, qint64 max,
                                    qint64 res, qint64 def)
{
    SimUvcControl c;
    c.fieldSize = fieldSize;
    c.isSigned = isSigned;
    c.min = {min};
    c.max = {max};
    c.res = {res};
    c.def = {def};
    c.cur = {def};
    return c;
}

SimUvcControl SimUvcControl::pair(int fieldSize, bool isSigned, qint64 minA, qint64 minB,
                                  qint64 maxA, qint64 maxB, qint64 resA, qint64 resB, qint64 defA,
                                  qint64 defB)
{
    SimUvcControl c;
    c.fieldSize = fieldSize;
    c.isSigned = isSigned;
    c.min = {minA, minB};
    c.max = {maxA, maxB};
    c.res = {resA, resB};
    c.def = {defA, defB};
    c.cur = {defA, defB};
    return c;
}

SimUvcControlHandler::SimUvcControlHandler() : SimUvcControlHandler(Config{}) {}

SimUvcControlHandler::SimUvcControlHandler(const Config &config, bool withDefaultControls)
    : m_config(config)
{
    if (!withDefaultControls)
        return;
    using C = SimUvcControl;
    const qint64 degree = 3600;  // pan and tilt are in arc seconds
    // Exposure modes: manual (1), auto (2), shutter priority (4), aperture
    // priority (8); the resolution of this control is the mask of those
    // supported.
    m_terminal[0x02] = C::scalar(1, false, 1, 8, 0x0F, 8);
    m_terminal[0x04] = C::scalar(4, false, 3, 2047, 1, 156);
    m_terminal[0x06] = C::scalar(2, false, 0, 255, 1, 0);
    m_terminal[0x08] = C::scalar(1, false, 0, 1, 1, 1);
    m_terminal[0x0B] = C::scalar(2, false, 0, 100, 1, 0);
    m_terminal[0x0D] = C::pair(4, true, -170 * degree, -30 * degree, 170 * degree, 90 * degree,
                               degree, degree, 0, 0);

    m_processing[0x01] = C::scalar(2, false, 0, 2, 1, 1);
    m_processing[0x02] = C::scalar(2, true, -64, 64, 1, 0);
    m_processing[0x03] = C::scalar(2, false, 0, 100, 1, 50);
    m_processing[0x04] = C::scalar(2, false, 0, 100, 1, 0);
    m_processing[0x05] = C::scalar(1, false, 0, 2, 1, 1);
    m_processing[0x06] = C::scalar(2, true, -180, 180, 1, 0);
    m_processing[0x07] = C::scalar(2, false, 0, 100, 1, 64);
    m_processing[0x08] = C::scalar(2, false, 0, 100, 1, 50);
    m_processing[0x09] = C::scalar(2, false, 100, 500, 1, 300);
    m_processing[0x0A] = C::scalar(2, false, 2800, 6500, 10, 4600);
    m_processing[0x0B] = C::scalar(1, false, 0, 1, 1, 1);
}

SimUvcControl *SimUvcControlHandler::find(SimUvcUnit unit, uint8_t selector)
{
    auto &controls = unit == SimUvcUnit::CameraTerminal ? m_terminal : m_processing;
    auto it = controls.find(selector);
    return it == controls.end() ? nullptr : &it->second;
}

const SimUvcControl *SimUvcControlHandler::find(SimUvcUnit unit, uint8_t selector) const
{
    return const_cast<SimUvcControlHandler *>(this)->find(unit, selector);
}

void SimUvcControlHandler::setControl(SimUvcUnit unit, uint8_t selector,
                                      const SimUvcControl &control)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    (unit == SimUvcUnit::CameraTerminal ? m_terminal : m_processing)[selector] = control;
}

void SimUvcControlHandler::removeControl(SimUvcUnit unit, uint8_t selector)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    (unit == SimUvcUnit::CameraTerminal ? m_terminal : m_processing).erase(selector);
}

std::optional<SimUvcControl> SimUvcControlHandler::control(SimUvcUnit unit, uint8_t selector) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const SimUvcControl *c = find(unit, selector);
    return c ? std::optional<SimUvcControl>(*c) : std::nullopt;
}

qint64 SimUvcControlHandler::current(SimUvcUnit unit, uint8_t selector, int field) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const SimUvcControl *c = find(unit, selector);
    if (!c || field < 0 || size_t(field) >= c->cur.size())
        return 0;
    return c->cur[size_t(field)];
}

void SimUvcControlHandler::setCurrent(SimUvcUnit unit, uint8_t selector, qint64 value, int field)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    SimUvcControl *c = find(unit, selector);
    if (c && field >= 0 && size_t(field) < c->cur.size())
        c->cur[size_t(field)] = value;
}

void SimUvcControlHandler::setUnitIds(uint8_t cameraTerminalId, uint8_t processingUnitId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.cameraTerminalId = cameraTerminalId;
    m_config.processingUnitId = processingUnitId;
}

void SimUvcControlHandler::setFollowsDevice(bool follows)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_followsDevice = follows;
}

void SimUvcControlHandler::overrideBitmap(SimUvcUnit unit, std::optional<QByteArray> bitmap)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    (unit == SimUvcUnit::CameraTerminal ? m_terminalBitmap : m_processingBitmap) =
        std::move(bitmap);
}

QByteArray SimUvcControlHandler::bitmap(SimUvcUnit unit) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (unit == SimUvcUnit::CameraTerminal)
        return m_terminalBitmap ? *m_terminalBitmap : bitmapOf(m_terminal, terminalBit, 3);
    return m_processingBitmap ? *m_processingBitmap : bitmapOf(m_processing, processingBit, 2);
}

void SimUvcControlHandler::setFault(Fault fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fault = std::move(fault);
}

std::vector<SimUvcControlHandler::Request> SimUvcControlHandler::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void SimUvcControlHandler::clearRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

QByteArray SimUvcControlHandler::videoControlDescriptors() const
{
    const QByteArray terminalBitmap = bitmap(SimUvcUnit::CameraTerminal);
    const QByteArray processingBitmap = bitmap(SimUvcUnit::ProcessingUnit);
    std::lock_guard<std::mutex> lock(m_mutex);

    QByteArray terminal;  // camera input terminal
    terminal.append(char(15 + terminalBitmap.size()));
    terminal.append(char(0x24));
    terminal.append(char(0x02));
    terminal.append(char(m_config.cameraTerminalId));
    put16(terminal, 0x0201);  // camera sensor
    terminal.append(char(0));  // no associated terminal
    terminal.append(char(0));  // no name
    put16(terminal, 0);        // objective focal length min
    put16(terminal, 0);        // objective focal length max
    put16(terminal, 0);        // ocular focal length
    terminal.append(char(terminalBitmap.size()));
    terminal.append(terminalBitmap);

    QByteArray processing;
    processing.append(char(10 + processingBitmap.size()));
    processing.append(char(0x24));
    processing.append(char(0x05));
    processing.append(char(m_config.processingUnitId));
    processing.append(char(m_config.cameraTerminalId));  // source
    put16(processing, 0x4000);                             // max digital multiplier
    processing.append(char(processingBitmap.size()));
    processing.append(processingBitmap);
    processing.append(char(0));  // no name
    processing.append(char(0));  // video standards

    QByteArray output;
    output.append(char(9));
    output.append(char(0x24));
    output.append(char(0x03));
    output.append(char(m_config.outputTerminalId));
    put16(output, 0x0101);  // streaming
    output.append(char(0));
    output.append(char(m_config.processingUnitId));  // source
    output.append(char(0));

    const int total = 13 + int(terminal.size() + processing.size() + output.size());
    QByteArray header;
    header.append(char(13));
    header.append(char(0x24));
    header.append(char(0x01));
    put16(header, m_config.bcdUVC);
    put16(header, uint16_t(total));
    header.append(QByteArray::fromRawData("\x80\x8d\x5b\x00", 4));  // 6 MHz clock
    header.append(char(1));                                           // one streaming interface
    header.append(char(streamingInterface(m_config.videoControlInterface)));
    return header + terminal + processing + output;
}

std::optional<platform::UsbError> SimUvcControlHandler::handleControl(SimDeviceHost &host,
                                                                      const platform::UsbSetup &setup,
                                                                      uint8_t *data,
                                                                      int *transferred)
{
    if (host.mode() != Mode::Run)
        return std::nullopt;
    // Class requests to an interface only, and to ours.
    if (setup.bmRequestType != 0xA1 && setup.bmRequestType != 0x21)
        return std::nullopt;
    bool follows;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        follows = m_followsDevice;
    }
    if (auto *device = follows ? dynamic_cast<SimDevice *>(&host) : nullptr) {
        const SimUvcLayout layout = device->uvcLayout();
        const int videoControl = device->configuration().layout.videoControl;
        if (videoControl < 0)
            return std::nullopt;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_config.videoControlInterface = uint8_t(videoControl);
        m_config.cameraTerminalId = layout.terminalId;
        m_config.processingUnitId = layout.processingUnitId;
        m_config.outputTerminalId = layout.outputTerminalId;
        m_config.bcdUVC = layout.bcdUvc;
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    if ((setup.wIndex & 0xFF) != m_config.videoControlInterface)
        return std::nullopt;
    if (transferred)
        *transferred = 0;
    Request record{setup, {}};
    if (setup.bmRequestType == 0x21 && data)
        record.data = QByteArray(reinterpret_cast<const char *>(data), setup.wLength);
    m_requests.push_back(record);

    if (m_fault) {
        if (auto error = m_fault(setup))
            return error;
    }

    const uint8_t unitId = uint8_t(setup.wIndex >> 8);
    const uint8_t selector = uint8_t(setup.wValue >> 8);
    SimUvcControl *c = nullptr;
    if (unitId == m_config.cameraTerminalId)
        c = find(SimUvcUnit::CameraTerminal, selector);
    else if (unitId == m_config.processingUnitId)
        c = find(SimUvcUnit::ProcessingUnit, selector);
    if (!c || (setup.wValue & 0xFF) != 0)
        return platform::UsbError::Stall;
    const int length = c->length();

    if (setup.bmRequestType == 0x21) {
        if (setup.bRequest != SET_CUR || setup.wLength != length || !data
            || !(c->info & 0x02))
            return platform::UsbError::Stall;
        const std::vector<qint64> values = decode(data, c->fieldSize, c->isSigned, c->cur.size());
        // Values out of range are refused, as cameras do.
        for (size_t f = 0; f < values.size(); ++f)
            if (values[f] < c->min[f] || values[f] > c->max[f])
                return platform::UsbError::Stall;
        // The exposure mode is one of the modes the resolution announces.
        if (unitId == m_config.cameraTerminalId && selector == 0x02) {
            const qint64 mode = values[0];
            if (mode == 0 || (mode & (mode - 1)) != 0 || (mode & c->res[0]) != mode)
                return platform::UsbError::Stall;
        }
        c->cur = values;
        if (transferred)
            *transferred = length;
        return platform::UsbError::None;
    }

    if (!data)
        return platform::UsbError::Stall;
    uint8_t answer[64] = {};
    int answerLength = length;
    switch (setup.bRequest) {
    case GET_INFO: answer[0] = c->info; answerLength = 1; break;
    case GET_LEN: answer[0] = uint8_t(length); answer[1] = 0; answerLength = 2; break;
    case GET_CUR: encode(c->cur, c->fieldSize, answer); break;
    case GET_MIN: encode(c->min, c->fieldSize, answer); break;
    case GET_MAX: encode(c->max, c->fieldSize, answer); break;
    case GET_RES: encode(c->res, c->fieldSize, answer); break;
    case GET_DEF: encode(c->def, c->fieldSize, answer); break;
    default: return platform::UsbError::Stall;
    }
    if (setup.wLength < answerLength)
        return platform::UsbError::Stall;
    std::memcpy(data, answer, size_t(answerLength));
    if (transferred)
        *transferred = answerLength;
    return platform::UsbError::None;
}

std::shared_ptr<SimUvcControlHandler> attachUvcControls(SimDevice &device)
{
    if (!familyInfo(device.family()).hasUvc)
        return nullptr;
    auto handler = std::make_shared<SimUvcControlHandler>();
    handler->setFollowsDevice(true);
    device.addControlHandler(handler);
    return handler;
}

void registerUvcControls()
{
    static std::once_flag once;
    std::call_once(once, [] {
        SimBus::addGlobalDeviceSetup([](SimDevice &device) { attachUvcControls(device); });
    });
}

} // namespace sim
