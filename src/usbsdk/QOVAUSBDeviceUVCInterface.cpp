#include "QOVAUSBDeviceUVCInterface.h"

#include "log/log.h"
#include "usb/USBControlRequest.h"

#include <QDebug>
#include <QHash>

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

// UVC request codes.
constexpr uint8_t SET_CUR = 0x01;
constexpr uint8_t GET_CUR = 0x81;
constexpr uint8_t GET_MIN = 0x82;
constexpr uint8_t GET_MAX = 0x83;
constexpr uint8_t GET_RES = 0x84;
constexpr uint8_t GET_INFO = 0x86;
constexpr uint8_t GET_DEF = 0x87;

constexpr uint8_t kVideoClass = 14;
constexpr uint8_t kVideoControlSubClass = 1;
constexpr uint8_t kCsInterface = 0x24;
constexpr uint8_t kVcHeader = 1;
constexpr uint8_t kVcInputTerminal = 2;
constexpr uint8_t kVcProcessingUnit = 5;

constexpr int kZoomAbs = 10;
constexpr int kPanTiltAbs = 12;
constexpr int kAutoExposureMode = 1;
constexpr int kAutoWhiteBalanceTemp = 27;
constexpr int kAutoHue = 32;
constexpr int kFirstProcessingControl = 17;

enum ValueType { Bool = 1, S8, U8, S16, U16, S32, U32, S64, U64 };

struct Control {
    const char *name;
    int selector;
    int length;
    int fields;
    int type;
    int bit;  // in the unit's bmControls
};

// Entries 0-16 belong to the camera terminal, 17-34 to the processing unit.
// Lengths and types are the ones the cameras are driven with, also where the USB
// Video Class standard's differ.
const Control kControls[QOVAUSBDeviceUVCInterface::kControlCount] = {
    {"scanning-mode", 1, 1, 1, Bool, 0},
    {"auto-exposure-mode", 2, 1, 1, U8, 1},
    {"auto-exposure-priority", 3, 1, 1, U8, 2},
    {"exposure-time-abs", 4, 4, 1, U32, 3},
    {"exposure-time-rel", 5, 1, 1, S8, 4},
    {"focus-abs", 6, 2, 1, U16, 5},
    {"focus-rel", 7, 2, 2, S8, 6},
    {"auto-focus", 8, 1, 1, Bool, 17},
    {"iris-abs", 9, 2, 1, U16, 7},
    {"iris-rel", 10, 2, 1, S8, 8},
    {"zoom-abs", 11, 2, 1, U16, 9},
    {"zoom-rel", 12, 3, 3, U8, 10},
    {"pan-tilt-abs", 13, 8, 2, S32, 11},
    {"pan-tilt-rel", 14, 8, 4, U8, 12},
    {"roll-abs", 15, 2, 1, S16, 13},
    {"roll-rel", 16, 2, 2, U8, 14},
    {"privacy", 17, 1, 1, Bool, 18},
    {"backlight-compensation", 1, 2, 1, U16, 8},
    {"brightness", 2, 2, 1, S16, 0},
    {"contrast", 3, 2, 1, U16, 1},
    {"gain", 4, 2, 1, U16, 9},
    {"power-line-frequency", 5, 1, 1, U8, 10},
    {"hue", 6, 2, 1, S16, 2},
    {"saturation", 7, 2, 1, U16, 3},
    {"sharpness", 8, 2, 1, U16, 4},
    {"gamma", 9, 2, 1, U16, 5},
    {"white-balance-temp", 10, 2, 1, U16, 6},
    {"auto-white-balance-temp", 11, 1, 1, Bool, 12},
    {"white-balance-component", 12, 4, 2, U16, 7},
    {"auto-white-balance-component", 13, 1, 1, Bool, 13},
    {"digital-multiplier", 14, 2, 1, U16, 14},
    {"digital-multiplier-limit", 15, 2, 1, U16, 15},
    {"auto-hue", 16, 1, 1, Bool, 11},
    {"analog-video-standard", 17, 1, 1, U8, 16},
    {"analog-lock-status", 18, 1, 1, U8, 17},
};

// The unit column of the table: shared by every camera, pointed at one
// camera's ids by updateUVCControls. Until then the terminal is 1 and the
// processing unit 2.
std::atomic<int> g_units[QOVAUSBDeviceUVCInterface::kControlCount] = {
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,
};

const QHash<QString, int> &nameMap(bool terminal)
{
    static const auto build = [](int from, int to) {
        QHash<QString, int> map;
        for (int i = from; i < to; ++i)
            map.insert(QString::fromLatin1(kControls[i].name), kControls[i].bit);
        return map;
    };
    static const QHash<QString, int> terminalNames = build(0, kFirstProcessingControl);
    static const QHash<QString, int> processingNames =
        build(kFirstProcessingControl, QOVAUSBDeviceUVCInterface::kControlCount);
    return terminal ? terminalNames : processingNames;
}

bool validControl(qint64 index)
{
    return index >= 0 && index < QOVAUSBDeviceUVCInterface::kControlCount;
}

// The bitmap read as a little-endian number, in binary, most significant bit
// first: 24 digits for three bytes, 16 for two, else the first byte's 8.
QByteArray bitmapText(const QByteArray &bitmap)
{
    const int bytes = (bitmap.size() == 3 || bitmap.size() == 2) ? int(bitmap.size()) : 1;
    quint32 value = 0;
    for (int i = 0; i < bytes && i < bitmap.size(); ++i)
        value |= quint32(uint8_t(bitmap[i])) << (8 * i);
    QByteArray text;
    for (int bit = bytes * 8 - 1; bit >= 0; --bit)
        text.append((value >> bit) & 1 ? '1' : '0');
    return text;
}

int16_t s16(const uint8_t *b) { return int16_t(uint16_t(b[0] | (b[1] << 8))); }
int32_t s32(const uint8_t *b)
{
    return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16)
                   | (uint32_t(b[3]) << 24));
}
void putLE(uint8_t *b, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[i] = uint8_t(value >> (8 * i));
}

// The zoom-dependent step of a "-1" move. Above a zoom of about 112 the line
// would go negative and turn the move around; it stops at 0 instead.
int zoomDependentStep(double zoom)
{
    const int step = int(std::trunc(zoom * -0.09 + 9.6 + 0.5));
    return step < 0 ? 0 : step;
}

void callSuccess(const QOVASuccessBlock &block)
{
    if (block)
        block(QStringLiteral("Success"));
}

void callFailure(const QOVAFailureBlock &block)
{
    if (block)
        block(QStringLiteral("Failure"));
}

} // namespace

std::unique_ptr<QOVAUSBDeviceUVCInterface>
QOVAUSBDeviceUVCInterface::initWithDeviceInterface(platform::UsbDeviceRef deviceInterface)
{
    auto videoControl =
        open_usb_interface_by_class(deviceInterface, kVideoClass, kVideoControlSubClass);
    if (!videoControl)
        return nullptr;
    return std::unique_ptr<QOVAUSBDeviceUVCInterface>(
        new QOVAUSBDeviceUVCInterface(std::move(deviceInterface), std::move(*videoControl)));
}

QOVAUSBDeviceUVCInterface::QOVAUSBDeviceUVCInterface(platform::UsbDeviceRef device,
                                                     USBInterfaceHandle videoControl)
    : m_deviceInterface(std::move(device)), m_videoControlInterface(std::move(videoControl))
{
    readDescriptors();
}

QOVAUSBDeviceUVCInterface::~QOVAUSBDeviceUVCInterface() = default;

void QOVAUSBDeviceUVCInterface::readDescriptors()
{
    // The class-specific descriptors that follow the video-control interface
    // descriptor. Every length in them comes from the device and is checked
    // against what is really there.
    const QByteArray &extra = m_videoControlInterface.info.extra;
    const auto *bytes = reinterpret_cast<const uint8_t *>(extra.constData());
    const int size = int(extra.size());

    int header = -1;
    for (int at = 0; at + 2 <= size;) {
        const int length = bytes[at];
        if (length < 2 || at + length > size)
            break;
        if (bytes[at + 1] == kCsInterface) {
            header = at;
            break;
        }
        at += length;
    }
    if (header < 0 || bytes[header] < 3 || bytes[header + 2] != kVcHeader)
        return;
    const int headerLength = bytes[header];
    if (headerLength < 7)
        return;
    m_uvcVersion = uint16_t(bytes[header + 3] | (bytes[header + 4] << 8));
    const int totalLength = bytes[header + 5] | (bytes[header + 6] << 8);
    const int end = std::min(header + totalLength, size);

    for (int at = header + headerLength; at + 2 <= end;) {
        const int length = bytes[at];
        if (length < 2 || at + length > end)
            break;
        const uint8_t *d = bytes + at;
        if (d[1] == kCsInterface && length >= 3) {
            if (d[2] == kVcProcessingUnit && length >= 8) {
                m_processingUnitId = d[3];
                const int controlSize = std::min(int(d[7]), length - 8);
                if (controlSize > 0)
                    m_processingUnitControlsAvailable =
                        QByteArray(reinterpret_cast<const char *>(d + 8), controlSize);
                QOVA_LOG(INFO, UVC,
                         "Camera Processing Unit ID is %u, Control size is %u, Control bitmap is %s",
                         unsigned(m_processingUnitId), unsigned(d[7]),
                         bitmapText(m_processingUnitControlsAvailable).constData());
            } else if (d[2] == kVcInputTerminal && length >= 15) {
                m_cameraTerminalId = d[3];
                const int controlSize = std::min(int(d[14]), length - 15);
                if (controlSize > 0)
                    m_terminalControlsAvailable =
                        QByteArray(reinterpret_cast<const char *>(d + 15), controlSize);
                QOVA_LOG(INFO, UVC,
                         "Camera Termianl ID is %u, Control size is %u, Control bitmap is %s",
                         unsigned(m_cameraTerminalId), unsigned(d[14]),
                         bitmapText(m_terminalControlsAvailable).constData());
            }
        }
        at += length;
    }
}

void QOVAUSBDeviceUVCInterface::updateUVCControls()
{
    for (int i = 0; i < kControlCount; ++i)
        g_units[i].store(i < kFirstProcessingControl ? m_cameraTerminalId : m_processingUnitId);
}

bool QOVAUSBDeviceUVCInterface::getData(uint8_t *buffer, uint8_t requestCode, int control)
{
    const Control &c = kControls[control];
    platform::UsbSetup setup;
    setup.bmRequestType = 0xA1;
    setup.bRequest = requestCode;
    setup.wValue = uint16_t(c.selector << 8);
    setup.wIndex = uint16_t(g_units[control].load() << 8);
    setup.wLength = uint16_t(c.length);
    return sendControlRequest(&m_videoControlInterface, setup, buffer) == 0;
}

bool QOVAUSBDeviceUVCInterface::setData(const uint8_t *buffer, int control)
{
    const Control &c = kControls[control];
    platform::UsbSetup setup;
    setup.bmRequestType = 0x21;
    setup.bRequest = SET_CUR;
    setup.wValue = uint16_t(c.selector << 8);
    setup.wIndex = uint16_t(g_units[control].load() << 8);
    setup.wLength = uint16_t(c.length);
    uint8_t copy[8] = {};
    std::memcpy(copy, buffer, size_t(c.length));
    return sendControlRequest(&m_videoControlInterface, setup, copy) == 0;
}

bool QOVAUSBDeviceUVCInterface::getCapability(uint64_t *caps, int control)
{
    return getData(reinterpret_cast<uint8_t *>(caps), GET_INFO, control);
}

bool QOVAUSBDeviceUVCInterface::getRange(ControlRange *range, int control)
{
    return getData(range->max, GET_MAX, control) && getData(range->min, GET_MIN, control)
        && getData(range->step, GET_RES, control);
}

bool QOVAUSBDeviceUVCInterface::getInfo(ControlInfo *info, int control)
{
    return getData(info->def, GET_DEF, control) && getData(info->cur, GET_CUR, control);
}

qint64 QOVAUSBDeviceUVCInterface::transData(const uint8_t *b, int control)
{
    switch (kControls[control].type) {
    case Bool:
    case U8: return b[0];
    case S8: return int8_t(b[0]);
    case S16: return s16(b);
    case U16: return uint16_t(b[0] | (b[1] << 8));
    case S32: return s32(b);
    case U32: return uint32_t(s32(b));
    case S64:
    case U64: {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | b[i];
        return qint64(v);
    }
    default: return 0;
    }
}

qint64 QOVAUSBDeviceUVCInterface::mapValue(qint64 value, qint64 min, qint64 max)
{
    if (value < min)
        value = min;
    if (value > max)
        value = max;
    return value;
}

void QOVAUSBDeviceUVCInterface::setZoomAbs(bool zoomIn, QOVASuccessBlock success,
                                           QOVAFailureBlock failure)
{
    zoom(zoomIn, false, 0, success, failure);
}

void QOVAUSBDeviceUVCInterface::setZoomAbs(bool zoomIn, qint64 multiple, QOVASuccessBlock success,
                                           QOVAFailureBlock failure)
{
    zoom(zoomIn, true, multiple, success, failure);
}

void QOVAUSBDeviceUVCInterface::zoom(bool zoomIn, bool withMultiple, qint64 multiple,
                                     const QOVASuccessBlock &success,
                                     const QOVAFailureBlock &failure)
{
    if (!getCapability(&m_controlCaps, kZoomAbs)) {
        callFailure(failure);
        return;
    }
    // A camera that cannot say its range or position is still moved from
    // what the buffers held before.
    getRange(&m_controlRange, kZoomAbs);
    getInfo(&m_controlInfo, kZoomAbs);
    const int16_t min = s16(m_controlRange.min);
    const int16_t max = s16(m_controlRange.max);
    const int16_t res = s16(m_controlRange.step);
    const int16_t def = s16(m_controlInfo.def);
    const int16_t cur = s16(m_controlInfo.cur);

    int16_t step = res;
    if (withMultiple)
        step = multiple == -1 ? int16_t(zoomDependentStep(cur)) : int16_t(multiple * res);

    const int16_t moved = int16_t(zoomIn ? cur + step : cur - step);
    const int16_t target = int16_t(mapValue(moved, min, max));
    qDebug("setZoomAbs:cur = %d, setValue = %d, def = %d, min = %d, max = %d, step = %d", cur,
           target, def, min, max, step);

    uint8_t value[8] = {};
    putLE(value, uint16_t(target), 2);
    if (setData(value, kZoomAbs))
        callSuccess(success);
    else
        callFailure(failure);
}

void QOVAUSBDeviceUVCInterface::setPanTiltAbs(bool pan, bool direct, QOVASuccessBlock success,
                                              QOVAFailureBlock failure)
{
    panTilt(pan, direct, false, 0, success, failure);
}

void QOVAUSBDeviceUVCInterface::setPanTiltAbs(bool pan, bool direct, double multiple,
                                              QOVASuccessBlock success, QOVAFailureBlock failure)
{
    panTilt(pan, direct, true, multiple, success, failure);
}

void QOVAUSBDeviceUVCInterface::panTilt(bool pan, bool direct, bool withMultiple,
                                        double multiple, const QOVASuccessBlock &success,
                                        const QOVAFailureBlock &failure)
{
    if (!getCapability(&m_controlCaps, kPanTiltAbs)) {
        callFailure(failure);
        return;
    }
    getRange(&m_controlRange, kPanTiltAbs);
    getInfo(&m_controlInfo, kPanTiltAbs);
    const qint64 minPan = s32(m_controlRange.min), minTilt = s32(m_controlRange.min + 4);
    const qint64 maxPan = s32(m_controlRange.max), maxTilt = s32(m_controlRange.max + 4);
    const qint64 resPan = s32(m_controlRange.step), resTilt = s32(m_controlRange.step + 4);
    // Taken before a zoom read reuses the buffers.
    const qint64 defPan = s32(m_controlInfo.def), defTilt = s32(m_controlInfo.def + 4);
    const qint64 curPan = s32(m_controlInfo.cur), curTilt = s32(m_controlInfo.cur + 4);

    qint64 stepPan = resPan;
    qint64 stepTilt = resTilt;
    if (withMultiple) {
        if (multiple == -1.0) {
            getInfo(&m_controlInfo, kZoomAbs);
            const qint64 s = qint64(zoomDependentStep(double(transData(m_controlInfo.cur, kZoomAbs))))
                * 3600;
            stepPan = stepTilt = s;
        } else {
            stepPan = qint64(std::trunc(double(resPan) * multiple));
            stepTilt = qint64(std::trunc(double(resTilt) * multiple));
        }
    }

    qint64 newPan = curPan;
    qint64 newTilt = curTilt;
    if (pan) {
        newPan = mapValue(direct ? curPan + stepPan : curPan - stepPan, minPan, maxPan);
        qDebug("setPanAbs:curPan = %lld, setValuePan = %lld, defPan = %lld, minPan = %lld, "
               "maxPan = %lld, stepPan = %lld",
               curPan, newPan, defPan, minPan, maxPan, stepPan);
    } else {
        newTilt = mapValue(direct ? curTilt + stepTilt : curTilt - stepTilt, minTilt, maxTilt);
        qDebug("setTiltAbs:curTilt = %lld, setValueTilt = %lld, defTilt = %lld, minTilt = %lld, "
               "maxTilt = %lld, stepTilt = %lld",
               curTilt, newTilt, defTilt, minTilt, maxTilt, stepTilt);
    }

    uint8_t value[8] = {};
    putLE(value, uint32_t(int32_t(newPan)), 4);
    putLE(value + 4, uint32_t(int32_t(newTilt)), 4);
    if (setData(value, kPanTiltAbs))
        callSuccess(success);
    else
        callFailure(failure);
}

bool QOVAUSBDeviceUVCInterface::controlIsNotAvailable(const QOVACameraSettingModel &model) const
{
    const qint64 index = model.controlType();
    if (!validControl(index)) {
        QOVA_LOG(ERROR, UVC, "UVC Control %u index is invalid", unsigned(index));
        return true;
    }
    const int unit = g_units[index].load();
    bool terminal;
    if (unit == m_cameraTerminalId) {
        terminal = true;
    } else if (unit == m_processingUnitId) {
        terminal = false;
    } else {
        QOVA_LOG(WARNING, UVC, "UVC unit id %u is not supported", unsigned(unit));
        return true;
    }
    const QByteArray &bitmap =
        terminal ? m_terminalControlsAvailable : m_processingUnitControlsAvailable;
    if (bitmap.isEmpty()) {
        if (terminal)
            QOVA_LOG(ERROR, UVC, "Terminal Control capability is null.");
        else
            QOVA_LOG(ERROR, UVC, "Processing Unit Control capability is null.");
        return false;
    }
    const QString name = model.name();
    const auto found = nameMap(terminal).constFind(name);
    if (found == nameMap(terminal).constEnd()) {
        QOVA_LOG(ERROR, UVC, "Orvalinde doesn't support %s", qUtf8Printable(name));
        return true;
    }
    const int bit = found.value();
    if (bit / 8 >= bitmap.size()) {
        QOVA_LOG(ERROR, UVC, "control bit index %d is invalid, exceed bitmap length %d.", bit,
                 int(bitmap.size()));
        return true;
    }
    if (uint8_t(bitmap[bit / 8]) & (1u << (bit % 8)))
        return false;
    QOVA_LOG(INFO, UVC, "Camera doesn't suppport %s.", qUtf8Printable(name));
    return true;
}

void QOVAUSBDeviceUVCInterface::getCameraSettingDataWithModel(const QOVACameraSettingModelRef &model,
                                                              QOVASuccessBlock success,
                                                              QOVAFailureBlock failure)
{
    if (!model)
        return;
    if (controlIsNotAvailable(*model)) {
        QOVA_LOG(INFO, UVC, "Camera doesn't support %s", qUtf8Printable(model->name()));
        model->setIsSupported(false);
        return;
    }
    model->setIsSupported(true);
    const int control = int(model->controlType());
    if (!getCapability(&m_controlCaps, control)) {
        callFailure(failure);
        return;
    }
    bool ok = getInfo(&m_controlInfo, control);
    model->setDefaultValue(transData(m_controlInfo.def, control));
    model->setCurrentValue(transData(m_controlInfo.cur, control));
    const qint64 cur = transData(m_controlInfo.cur, control);
    const qint64 def = transData(m_controlInfo.def, control);

    switch (control) {
    case kAutoExposureMode:
        // Auto (2) or aperture priority (8): the exposure time is automatic.
        model->setCanAutoSet((cur & 0x0A) != 0);
        model->setDefaultAutoValue((def & 0x0A) != 0);
        break;
    case kAutoWhiteBalanceTemp:
    case kAutoHue:
        model->setCanAutoSet(cur == 1);
        model->setDefaultAutoValue(def == 1);
        break;
    default:
        if (ok)
            ok = getRange(&m_controlRange, control);
        model->setMaxValue(transData(m_controlRange.max, control));
        model->setMinValue(transData(m_controlRange.min, control));
        model->setStepValue(transData(m_controlRange.step, control));
        break;
    }
    if (ok)
        callSuccess(success);
    else
        callFailure(failure);
}

void QOVAUSBDeviceUVCInterface::setCameraSettingDataWithModel(const QOVACameraSettingModelRef &model,
                                                              bool isReset,
                                                              QOVASuccessBlock success,
                                                              QOVAFailureBlock failure)
{
    if (!model)
        return;
    const qint64 index = model->controlType();
    if (!validControl(index)) {
        // Nothing to address: the control table has no such entry.
        QOVA_LOG(ERROR, UVC, "UVC Control %u index is invalid", unsigned(index));
        callFailure(failure);
        return;
    }
    const int control = int(index);
    if (!getCapability(&m_controlCaps, control)) {
        callFailure(failure);
        return;
    }
    qint64 value;
    if (isReset) {
        value = model->defaultValue();
    } else if (control == kAutoWhiteBalanceTemp || control == kAutoHue) {
        value = model->canAutoSet() ? 1 : 0;
    } else if (control == kAutoExposureMode) {
        // Exposure modes: 1 manual, 2 auto, 4 shutter priority, 8 aperture
        // priority. Modes 2 and 4 keep the iris automatic.
        if (model->currentValue() & 6)
            value = model->canAutoSet() ? 2 : 4;
        else
            value = model->canAutoSet() ? 8 : 1;
    } else {
        value = model->currentValue();
    }
    uint8_t buffer[8] = {};
    putLE(buffer, uint64_t(value), 8);
    if (setData(buffer, control))
        callSuccess(success);
    else
        callFailure(failure);
}
