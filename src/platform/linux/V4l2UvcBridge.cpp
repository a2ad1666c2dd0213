#include "platform/linux/V4l2UvcBridge.h"

#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr uint8_t SET_CUR = 0x01;
constexpr uint8_t GET_CUR = 0x81;
constexpr uint8_t GET_MIN = 0x82;
constexpr uint8_t GET_MAX = 0x83;
constexpr uint8_t GET_RES = 0x84;
constexpr uint8_t GET_LEN = 0x85;
constexpr uint8_t GET_INFO = 0x86;
constexpr uint8_t GET_DEF = 0x87;

// GET_INFO bits.
constexpr uint8_t kInfoGet = 0x01;
constexpr uint8_t kInfoSet = 0x02;
constexpr uint8_t kInfoDisabledByAuto = 0x04;
constexpr uint8_t kInfoAutoUpdate = 0x08;

enum class Unit { CameraTerminal, ProcessingUnit };
enum class Kind { Plain, ExposureMode };

// One UVC control answered through V4L2 controls: each field of the UVC
// value is one V4L2 control (pan/tilt: pan then tilt; white balance
// component: blue then red).
struct Mapping {
    Unit unit;
    uint8_t selector;
    int fieldSize;
    bool isSigned;
    std::vector<uint32_t> cids;
    Kind kind = Kind::Plain;

    int length() const { return fieldSize * int(cids.size()); }
};

const std::vector<Mapping> &mappings()
{
    static const std::vector<Mapping> table = {
        {Unit::CameraTerminal, 0x02, 1, false, {V4L2_CID_EXPOSURE_AUTO}, Kind::ExposureMode},
        {Unit::CameraTerminal, 0x03, 1, false, {V4L2_CID_EXPOSURE_AUTO_PRIORITY}},
        {Unit::CameraTerminal, 0x04, 4, false, {V4L2_CID_EXPOSURE_ABSOLUTE}},
        {Unit::CameraTerminal, 0x06, 2, false, {V4L2_CID_FOCUS_ABSOLUTE}},
        {Unit::CameraTerminal, 0x08, 1, false, {V4L2_CID_FOCUS_AUTO}},
        {Unit::CameraTerminal, 0x09, 2, false, {V4L2_CID_IRIS_ABSOLUTE}},
        {Unit::CameraTerminal, 0x0A, 1, true, {V4L2_CID_IRIS_RELATIVE}},
        {Unit::CameraTerminal, 0x0B, 2, false, {V4L2_CID_ZOOM_ABSOLUTE}},
        {Unit::CameraTerminal, 0x0D, 4, true, {V4L2_CID_PAN_ABSOLUTE, V4L2_CID_TILT_ABSOLUTE}},
        {Unit::CameraTerminal, 0x11, 1, false, {V4L2_CID_PRIVACY}},
        {Unit::ProcessingUnit, 0x01, 2, false, {V4L2_CID_BACKLIGHT_COMPENSATION}},
        {Unit::ProcessingUnit, 0x02, 2, true, {V4L2_CID_BRIGHTNESS}},
        {Unit::ProcessingUnit, 0x03, 2, false, {V4L2_CID_CONTRAST}},
        {Unit::ProcessingUnit, 0x04, 2, false, {V4L2_CID_GAIN}},
        {Unit::ProcessingUnit, 0x05, 1, false, {V4L2_CID_POWER_LINE_FREQUENCY}},
        {Unit::ProcessingUnit, 0x06, 2, true, {V4L2_CID_HUE}},
        {Unit::ProcessingUnit, 0x07, 2, false, {V4L2_CID_SATURATION}},
        {Unit::ProcessingUnit, 0x08, 2, false, {V4L2_CID_SHARPNESS}},
        {Unit::ProcessingUnit, 0x09, 2, false, {V4L2_CID_GAMMA}},
        {Unit::ProcessingUnit, 0x0A, 2, false, {V4L2_CID_WHITE_BALANCE_TEMPERATURE}},
        {Unit::ProcessingUnit, 0x0B, 1, false, {V4L2_CID_AUTO_WHITE_BALANCE}},
        {Unit::ProcessingUnit, 0x0C, 2, false, {V4L2_CID_BLUE_BALANCE, V4L2_CID_RED_BALANCE}},
        {Unit::ProcessingUnit, 0x10, 1, false, {V4L2_CID_HUE_AUTO}},
    };
    return table;
}

// The camera's exposure modes: V4L2 menu index -> UVC mode bit.
int64_t exposureModeBit(int64_t menuIndex)
{
    switch (menuIndex) {
    case V4L2_EXPOSURE_MANUAL: return 1;
    case V4L2_EXPOSURE_AUTO: return 2;
    case V4L2_EXPOSURE_SHUTTER_PRIORITY: return 4;
    case V4L2_EXPOSURE_APERTURE_PRIORITY: return 8;
    default: return 0;
    }
}

int exposureMenuIndex(int64_t modeBit)
{
    switch (modeBit) {
    case 1: return V4L2_EXPOSURE_MANUAL;
    case 2: return V4L2_EXPOSURE_AUTO;
    case 4: return V4L2_EXPOSURE_SHUTTER_PRIORITY;
    case 8: return V4L2_EXPOSURE_APERTURE_PRIORITY;
    default: return -1;
    }
}

UsbError errorOf(int result)
{
    switch (-result) {
    case 0: return UsbError::None;
    case ENODEV:
    case ENXIO: return UsbError::NoDevice;
    case ETIMEDOUT: return UsbError::Timeout;
    case EBUSY:
    case EPERM: return UsbError::Access;
    default: return UsbError::Stall;  // the camera refused the control or the value
    }
}

void encode(int64_t value, int size, uint8_t *out)
{
    for (int i = 0; i < size; ++i)
        out[i] = uint8_t(uint64_t(value) >> (8 * i));
}

int64_t decode(const uint8_t *in, int size, bool isSigned)
{
    uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | in[i];
    if (isSigned && size < 8 && ((v >> (size * 8 - 1)) & 1))
        v |= ~uint64_t(0) << (size * 8);
    return int64_t(v);
}

} // namespace

struct V4l2UvcBridge::Private {
    std::unique_ptr<V4l2Ioctl> ioctl;
    uint8_t videoControlInterface;
    uint8_t cameraTerminalId;
    uint8_t processingUnitId;

    UsbError query(uint32_t cid, v4l2_queryctrl *q)
    {
        std::memset(q, 0, sizeof *q);
        q->id = cid;
        const int r = ioctl->ioctl(VIDIOC_QUERYCTRL, q);
        if (r != 0)
            return errorOf(r);
        if (q->flags & V4L2_CTRL_FLAG_DISABLED)
            return UsbError::Stall;
        return UsbError::None;
    }

    // The exposure modes the camera offers, as UVC mode bits.
    int64_t exposureModes(const v4l2_queryctrl &q)
    {
        int64_t mask = 0;
        for (int64_t index = q.minimum; index <= q.maximum && index <= 3; ++index) {
            if (index < 0)
                continue;
            v4l2_querymenu menu;
            std::memset(&menu, 0, sizeof menu);
            menu.id = q.id;
            menu.index = uint32_t(index);
            if (ioctl->ioctl(VIDIOC_QUERYMENU, &menu) == 0)
                mask |= exposureModeBit(index);
        }
        return mask;
    }

    // One field of a GET request.
    UsbError getField(const Mapping &m, uint32_t cid, uint8_t request, int64_t *value)
    {
        v4l2_queryctrl q;
        if (UsbError e = query(cid, &q); e != UsbError::None)
            return e;
        const bool menu = m.kind == Kind::ExposureMode;
        switch (request) {
        case GET_MIN:
        case GET_MAX: {
            if (!menu) {
                *value = request == GET_MIN ? q.minimum : q.maximum;
                return UsbError::None;
            }
            const int64_t modes = exposureModes(q);
            if (!modes)
                return UsbError::Stall;
            int64_t bit = request == GET_MIN ? 1 : 8;
            while (!(modes & bit))
                bit = request == GET_MIN ? bit << 1 : bit >> 1;
            *value = bit;
            return UsbError::None;
        }
        case GET_RES:
            // For the exposure mode the resolution is the mask of the modes.
            *value = menu ? exposureModes(q) : q.step;
            return UsbError::None;
        case GET_DEF:
            *value = menu ? exposureModeBit(q.default_value) : q.default_value;
            return UsbError::None;
        case GET_CUR: {
            v4l2_control c{cid, 0};
            const int r = ioctl->ioctl(VIDIOC_G_CTRL, &c);
            if (r != 0)
                return errorOf(r);
            *value = menu ? exposureModeBit(c.value) : c.value;
            return UsbError::None;
        }
        default:
            return UsbError::Stall;
        }
    }

    UsbError info(const Mapping &m, uint8_t *out)
    {
        uint8_t bits = kInfoGet | kInfoSet;
        for (uint32_t cid : m.cids) {
            v4l2_queryctrl q;
            if (UsbError e = query(cid, &q); e != UsbError::None)
                return e;
            if (q.flags & V4L2_CTRL_FLAG_WRITE_ONLY)
                bits &= uint8_t(~kInfoGet);
            if (q.flags & (V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_GRABBED))
                bits &= uint8_t(~kInfoSet);
            if (q.flags & V4L2_CTRL_FLAG_INACTIVE)
                bits |= kInfoDisabledByAuto;
            if (q.flags & V4L2_CTRL_FLAG_VOLATILE)
                bits |= kInfoAutoUpdate;
        }
        out[0] = bits;
        return UsbError::None;
    }

    UsbError set(const Mapping &m, const uint8_t *data)
    {
        std::vector<int32_t> values;
        for (size_t f = 0; f < m.cids.size(); ++f) {
            int64_t v = decode(data + f * size_t(m.fieldSize), m.fieldSize, m.isSigned);
            if (m.kind == Kind::ExposureMode) {
                v = exposureMenuIndex(v);
                if (v < 0)
                    return UsbError::Stall;
            }
            if (v < INT32_MIN || v > INT32_MAX)
                return UsbError::Stall;
            values.push_back(int32_t(v));
        }
        for (size_t f = 0; f < m.cids.size(); ++f) {
            v4l2_control c{m.cids[f], values[f]};
            const int r = ioctl->ioctl(VIDIOC_S_CTRL, &c);
            if (r != 0)
                return errorOf(r);
        }
        return UsbError::None;
    }
};

V4l2UvcBridge::V4l2UvcBridge(std::unique_ptr<V4l2Ioctl> ioctl, uint8_t videoControlInterface,
                             uint8_t cameraTerminalId, uint8_t processingUnitId)
    : d(new Private{std::move(ioctl), videoControlInterface, cameraTerminalId, processingUnitId})
{
}

V4l2UvcBridge::~V4l2UvcBridge() = default;

std::optional<UsbError> V4l2UvcBridge::handle(const UsbSetup &setup, uint8_t *data,
                                              int *transferred)
{
    const bool get = setup.bmRequestType == 0xA1;
    const bool set = setup.bmRequestType == 0x21;
    if ((!get && !set) || (setup.wIndex & 0xFF) != d->videoControlInterface || !d->ioctl)
        return std::nullopt;
    const uint8_t unitId = uint8_t(setup.wIndex >> 8);
    Unit unit;
    if (unitId != 0 && unitId == d->cameraTerminalId)
        unit = Unit::CameraTerminal;
    else if (unitId != 0 && unitId == d->processingUnitId)
        unit = Unit::ProcessingUnit;
    else
        return std::nullopt;

    if (transferred)
        *transferred = 0;
    const uint8_t selector = uint8_t(setup.wValue >> 8);
    const Mapping *mapping = nullptr;
    for (const Mapping &m : mappings())
        if (m.unit == unit && m.selector == selector)
            mapping = &m;
    // A control V4L2 has no counterpart for is one the camera does not have.
    if (!mapping || (setup.wValue & 0xFF) != 0 || !data)
        return UsbError::Stall;
    const int length = mapping->length();

    if (set) {
        if (setup.bRequest != SET_CUR || setup.wLength < length)
            return UsbError::Stall;
        const UsbError e = d->set(*mapping, data);
        if (e == UsbError::None && transferred)
            *transferred = setup.wLength;
        return e;
    }

    if (setup.bRequest == GET_INFO) {
        if (setup.wLength < 1)
            return UsbError::Stall;
        const UsbError e = d->info(*mapping, data);
        if (e == UsbError::None && transferred)
            *transferred = 1;
        return e;
    }
    if (setup.bRequest == GET_LEN) {
        if (setup.wLength < 2)
            return UsbError::Stall;
        encode(length, 2, data);
        if (transferred)
            *transferred = 2;
        return UsbError::None;
    }
    if (setup.wLength < length)
        return UsbError::Stall;
    uint8_t answer[16] = {};
    for (size_t f = 0; f < mapping->cids.size(); ++f) {
        int64_t value = 0;
        const UsbError e = d->getField(*mapping, mapping->cids[f], setup.bRequest, &value);
        if (e != UsbError::None)
            return e;
        encode(value, mapping->fieldSize, answer + f * size_t(mapping->fieldSize));
    }
    std::memcpy(data, answer, size_t(length));
    if (transferred)
        *transferred = length;
    return UsbError::None;
}

} // namespace platform
