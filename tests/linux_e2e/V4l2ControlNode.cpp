#include "V4l2ControlNode.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace e2e {

namespace {

using platform::UsbError;
using platform::UsbSetup;

constexpr uint8_t SET_CUR = 0x01;
constexpr uint8_t GET_CUR = 0x81;
constexpr uint8_t GET_MIN = 0x82;
constexpr uint8_t GET_MAX = 0x83;
constexpr uint8_t GET_RES = 0x84;
constexpr uint8_t GET_INFO = 0x86;
constexpr uint8_t GET_DEF = 0x87;

enum class Kind { Integer, Boolean, ExposureMenu };

// One V4L2 control: a field of one UVC control of the camera terminal (ct)
// or the processing unit.
struct Control {
    uint32_t id;
    bool ct;
    uint8_t selector;
    int length;       // of the whole UVC control
    int offset;       // of this field
    int size;
    bool isSigned;
    Kind kind;
    const char *name;
};

const Control kControls[] = {
    {V4L2_CID_EXPOSURE_AUTO, true, 0x02, 1, 0, 1, false, Kind::ExposureMenu, "Auto Exposure"},
    {V4L2_CID_EXPOSURE_AUTO_PRIORITY, true, 0x03, 1, 0, 1, false, Kind::Boolean, "Exposure, Dynamic Framerate"},
    {V4L2_CID_EXPOSURE_ABSOLUTE, true, 0x04, 4, 0, 4, false, Kind::Integer, "Exposure Time, Absolute"},
    {V4L2_CID_FOCUS_ABSOLUTE, true, 0x06, 2, 0, 2, false, Kind::Integer, "Focus, Absolute"},
    {V4L2_CID_FOCUS_AUTO, true, 0x08, 1, 0, 1, false, Kind::Boolean, "Focus, Automatic Continuous"},
    {V4L2_CID_ZOOM_ABSOLUTE, true, 0x0B, 2, 0, 2, false, Kind::Integer, "Zoom, Absolute"},
    {V4L2_CID_PAN_ABSOLUTE, true, 0x0D, 8, 0, 4, true, Kind::Integer, "Pan, Absolute"},
    {V4L2_CID_TILT_ABSOLUTE, true, 0x0D, 8, 4, 4, true, Kind::Integer, "Tilt, Absolute"},
    {V4L2_CID_BACKLIGHT_COMPENSATION, false, 0x01, 2, 0, 2, false, Kind::Integer, "Backlight Compensation"},
    {V4L2_CID_BRIGHTNESS, false, 0x02, 2, 0, 2, true, Kind::Integer, "Brightness"},
    {V4L2_CID_CONTRAST, false, 0x03, 2, 0, 2, false, Kind::Integer, "Contrast"},
    {V4L2_CID_GAIN, false, 0x04, 2, 0, 2, false, Kind::Integer, "Gain"},
    {V4L2_CID_POWER_LINE_FREQUENCY, false, 0x05, 1, 0, 1, false, Kind::Integer, "Power Line Frequency"},
    {V4L2_CID_HUE, false, 0x06, 2, 0, 2, true, Kind::Integer, "Hue"},
    {V4L2_CID_SATURATION, false, 0x07, 2, 0, 2, false, Kind::Integer, "Saturation"},
    {V4L2_CID_SHARPNESS, false, 0x08, 2, 0, 2, false, Kind::Integer, "Sharpness"},
    {V4L2_CID_GAMMA, false, 0x09, 2, 0, 2, false, Kind::Integer, "Gamma"},
    {V4L2_CID_WHITE_BALANCE_TEMPERATURE, false, 0x0A, 2, 0, 2, false, Kind::Integer, "White Balance Temperature"},
    {V4L2_CID_AUTO_WHITE_BALANCE, false, 0x0B, 1, 0, 1, false, Kind::Boolean, "White Balance, Automatic"},
};

// The exposure menu: entry i stands for this UVC auto-exposure mode bit.
const uint8_t kExposureModes[] = {0x02 /* auto */, 0x01 /* manual */, 0x04 /* shutter */,
                                  0x08 /* aperture */};
const char *const kExposureNames[] = {"Auto Mode", "Manual Mode", "Shutter Priority Mode",
                                      "Aperture Priority Mode"};

const Control *find(uint32_t id)
{
    for (const Control &c : kControls) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

int errnoOf(UsbError error)
{
    switch (error) {
    case UsbError::None: return 0;
    case UsbError::NoDevice: return -ENODEV;
    case UsbError::Timeout: return -ETIMEDOUT;
    default: return -EIO;
    }
}

class Requests {
public:
    Requests(EmulatedDevice &device, const UvcUnits &units, const Control &control)
        : m_device(device), m_control(control)
    {
        m_wIndex = uint16_t((control.ct ? units.cameraTerminalId : units.processingUnitId) << 8
                            | units.videoControlInterface);
    }

    // The whole control for one GET request.
    int get(uint8_t request, std::vector<uint8_t> *out)
    {
        const uint16_t length = request == GET_INFO ? 1 : uint16_t(m_control.length);
        out->assign(length, 0);
        UsbSetup setup{0xA1, request, uint16_t(m_control.selector << 8), m_wIndex, length};
        int transferred = 0;
        const UsbError e = m_device.control(setup, out->data(), &transferred);
        if (e != UsbError::None)
            return errnoOf(e);
        return transferred == length ? 0 : -EIO;
    }

    int field(uint8_t request, int64_t *value)
    {
        std::vector<uint8_t> bytes;
        if (int r = get(request, &bytes); r != 0)
            return r;
        *value = decode(bytes);
        return 0;
    }

    int info(uint8_t *bits)
    {
        std::vector<uint8_t> bytes;
        if (int r = get(GET_INFO, &bytes); r != 0)
            return r;
        *bits = bytes[0];
        return 0;
    }

    int set(const std::vector<uint8_t> &bytes)
    {
        std::vector<uint8_t> copy = bytes;
        UsbSetup setup{0x21, SET_CUR, uint16_t(m_control.selector << 8), m_wIndex,
                       uint16_t(copy.size())};
        int transferred = 0;
        return errnoOf(m_device.control(setup, copy.data(), &transferred));
    }

    int64_t decode(const std::vector<uint8_t> &bytes) const
    {
        uint64_t v = 0;
        for (int i = m_control.size - 1; i >= 0; --i)
            v = v << 8 | bytes[size_t(m_control.offset + i)];
        if (m_control.isSigned && m_control.size < 8 && (v >> (m_control.size * 8 - 1)) & 1)
            v |= ~uint64_t(0) << (m_control.size * 8);
        return int64_t(v);
    }

    void encode(int64_t value, std::vector<uint8_t> *bytes) const
    {
        for (int i = 0; i < m_control.size; ++i)
            (*bytes)[size_t(m_control.offset + i)] = uint8_t(uint64_t(value) >> (8 * i));
    }

private:
    EmulatedDevice &m_device;
    const Control &m_control;
    uint16_t m_wIndex = 0;
};

int menuIndexOf(int64_t mode)
{
    for (int i = 0; i < 4; ++i) {
        if (kExposureModes[i] == mode)
            return i;
    }
    return -1;
}

int queryControl(Requests &r, const Control &c, v4l2_queryctrl *q)
{
    uint8_t info = 0;
    if (int e = r.info(&info); e != 0)
        return e == -ENODEV ? e : -EINVAL;  // a control the camera lacks is not listed
    std::memset(q->name, 0, sizeof q->name);
    std::strncpy(reinterpret_cast<char *>(q->name), c.name, sizeof q->name - 1);
    q->flags = 0;
    if (!(info & 0x01))
        q->flags |= V4L2_CTRL_FLAG_WRITE_ONLY;
    if (!(info & 0x02))
        q->flags |= V4L2_CTRL_FLAG_READ_ONLY;
    if (info & 0x08)
        q->flags |= V4L2_CTRL_FLAG_VOLATILE;
    int64_t def = 0;
    if (int e = r.field(GET_DEF, &def); e != 0)
        return e;
    switch (c.kind) {
    case Kind::ExposureMenu: {
        int64_t modes = 0;
        if (int e = r.field(GET_RES, &modes); e != 0)
            return e;
        int first = -1, last = -1;
        for (int i = 0; i < 4; ++i) {
            if (modes & kExposureModes[i]) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
        if (first < 0)
            return -EINVAL;
        q->type = V4L2_CTRL_TYPE_MENU;
        q->minimum = first;
        q->maximum = last;
        q->step = 1;
        q->default_value = std::max(menuIndexOf(def), 0);
        return 0;
    }
    case Kind::Boolean:
        q->type = V4L2_CTRL_TYPE_BOOLEAN;
        q->minimum = 0;
        q->maximum = 1;
        q->step = 1;
        q->default_value = def;
        return 0;
    case Kind::Integer: {
        int64_t min = 0, max = 0, res = 0;
        if (int e = r.field(GET_MIN, &min); e != 0)
            return e;
        if (int e = r.field(GET_MAX, &max); e != 0)
            return e;
        if (int e = r.field(GET_RES, &res); e != 0)
            return e;
        q->type = V4L2_CTRL_TYPE_INTEGER;
        q->minimum = int32_t(min);
        q->maximum = int32_t(max);
        q->step = int32_t(res);
        q->default_value = int32_t(def);
        return 0;
    }
    }
    return -EINVAL;
}

int getControl(Requests &r, const Control &c, v4l2_control *control)
{
    uint8_t info = 0;
    if (int e = r.info(&info); e != 0)
        return e == -ENODEV ? e : -EINVAL;
    if (!(info & 0x01))
        return -EACCES;
    int64_t value = 0;
    if (int e = r.field(GET_CUR, &value); e != 0)
        return e;
    if (c.kind == Kind::ExposureMenu) {
        const int index = menuIndexOf(value);
        if (index < 0)
            return -EIO;
        value = index;
    }
    control->value = int32_t(value);
    return 0;
}

int setControl(Requests &r, const Control &c, const v4l2_control *control)
{
    uint8_t info = 0;
    if (int e = r.info(&info); e != 0)
        return e == -ENODEV ? e : -EINVAL;
    if (!(info & 0x02))
        return -EACCES;
    int64_t value = control->value;
    switch (c.kind) {
    case Kind::ExposureMenu: {
        int64_t modes = 0;
        if (int e = r.field(GET_RES, &modes); e != 0)
            return e;
        if (value < 0 || value > 3 || !(modes & kExposureModes[value]))
            return -EINVAL;
        value = kExposureModes[value];
        break;
    }
    case Kind::Boolean:
        value = value ? 1 : 0;
        break;
    case Kind::Integer: {
        int64_t min = 0, max = 0, res = 0;
        if (int e = r.field(GET_MIN, &min); e != 0)
            return e;
        if (int e = r.field(GET_MAX, &max); e != 0)
            return e;
        if (int e = r.field(GET_RES, &res); e != 0)
            return e;
        if (res <= 0)
            res = 1;
        value = std::clamp(value, min, max);
        value = min + (value - min + res / 2) / res * res;
        if (value > max)
            value -= res;
        break;
    }
    }
    std::vector<uint8_t> bytes(size_t(c.length), 0);
    if (c.length > c.size) {
        // The other fields keep what the camera holds now.
        if (int e = r.get(GET_CUR, &bytes); e != 0)
            return e;
    }
    r.encode(value, &bytes);
    return r.set(bytes);
}

} // namespace

std::optional<UvcUnits> uvcUnits(const QByteArray &configuration)
{
    UvcUnits units;
    bool inVideoControl = false;
    bool found = false;
    for (qsizetype offset = 0; offset + 2 <= configuration.size();) {
        const uint8_t length = uint8_t(configuration.at(offset));
        if (length < 2 || offset + length > configuration.size())
            break;
        const auto at = [&](int i) { return uint8_t(configuration.at(offset + i)); };
        const uint8_t type = at(1);
        if (type == 0x04 && length >= 9) {
            inVideoControl = at(5) == 0x0E && at(6) == 0x01;
            if (inVideoControl) {
                units.videoControlInterface = at(2);
                found = true;
            }
        } else if (type == 0x24 && inVideoControl && length >= 4) {
            const uint8_t subtype = at(2);
            if (subtype == 0x02 && length >= 6 && (at(4) | at(5) << 8) == 0x0201)
                units.cameraTerminalId = at(3);
            else if (subtype == 0x05)
                units.processingUnitId = at(3);
        }
        offset += length;
    }
    if (!found)
        return std::nullopt;
    return units;
}

int answerV4l2Ioctl(EmulatedDevice &device, const UvcUnits &units, unsigned long request,
                    void *arg)
{
    switch (request) {
    case VIDIOC_QUERYCTRL: {
        auto *q = static_cast<v4l2_queryctrl *>(arg);
        const Control *c = find(q->id);
        if (!c)
            return -EINVAL;
        Requests r(device, units, *c);
        return queryControl(r, *c, q);
    }
    case VIDIOC_G_CTRL: {
        auto *control = static_cast<v4l2_control *>(arg);
        const Control *c = find(control->id);
        if (!c)
            return -EINVAL;
        Requests r(device, units, *c);
        return getControl(r, *c, control);
    }
    case VIDIOC_S_CTRL: {
        auto *control = static_cast<v4l2_control *>(arg);
        const Control *c = find(control->id);
        if (!c)
            return -EINVAL;
        Requests r(device, units, *c);
        return setControl(r, *c, control);
    }
    case VIDIOC_QUERYMENU: {
        auto *menu = static_cast<v4l2_querymenu *>(arg);
        const Control *c = find(menu->id);
        if (!c || c->kind != Kind::ExposureMenu || menu->index > 3)
            return -EINVAL;
        Requests r(device, units, *c);
        int64_t modes = 0;
        if (int e = r.field(GET_RES, &modes); e != 0)
            return e;
        if (!(modes & kExposureModes[menu->index]))
            return -EINVAL;
        std::memset(menu->name, 0, sizeof menu->name);
        std::strncpy(reinterpret_cast<char *>(menu->name), kExposureNames[menu->index],
                     sizeof menu->name - 1);
        return 0;
    }
    default:
        return -ENOTTY;
    }
}

} // namespace e2e
