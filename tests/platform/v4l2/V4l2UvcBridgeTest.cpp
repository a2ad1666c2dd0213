// UVC class requests answered through V4L2 controls, against a fake ioctl
// layer that plays a camera driven by uvcvideo.

#include "QOVAUSBDeviceUVCInterface.h"
#include "platform/linux/V4l2UvcBridge.h"

#include <linux/videodev2.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

using platform::UsbError;
using platform::UsbSetup;

namespace {

constexpr uint8_t kInterface = 0;
constexpr uint8_t kTerminal = 1;
constexpr uint8_t kProcessing = 3;

struct FakeControl {
    v4l2_queryctrl query{};
    int32_t value = 0;
    std::set<uint32_t> menuIndices;  // for menus: the entries the driver offers
    int getError = 0;                // -errno for VIDIOC_G_CTRL
    int setError = 0;                // -errno for VIDIOC_S_CTRL
};

struct Camera {
    std::map<uint32_t, FakeControl> controls;
    std::vector<std::pair<uint32_t, int32_t>> sets;

    FakeControl &add(uint32_t id, int32_t min, int32_t max, int32_t step, int32_t def,
                     uint32_t type = V4L2_CTRL_TYPE_INTEGER)
    {
        FakeControl &c = controls[id];
        c.query.id = id;
        c.query.type = type;
        c.query.minimum = min;
        c.query.maximum = max;
        c.query.step = step;
        c.query.default_value = def;
        c.value = def;
        return c;
    }
};

class FakeIoctl : public platform::V4l2Ioctl {
public:
    explicit FakeIoctl(Camera &camera) : camera(camera) {}
    int ioctl(unsigned long request, void *argument) override
    {
        switch (request) {
        case VIDIOC_QUERYCTRL: {
            auto *q = static_cast<v4l2_queryctrl *>(argument);
            auto it = camera.controls.find(q->id);
            if (it == camera.controls.end())
                return -EINVAL;
            *q = it->second.query;
            return 0;
        }
        case VIDIOC_QUERYMENU: {
            auto *m = static_cast<v4l2_querymenu *>(argument);
            auto it = camera.controls.find(m->id);
            if (it == camera.controls.end() || !it->second.menuIndices.count(m->index))
                return -EINVAL;
            return 0;
        }
        case VIDIOC_G_CTRL: {
            auto *c = static_cast<v4l2_control *>(argument);
            auto it = camera.controls.find(c->id);
            if (it == camera.controls.end())
                return -EINVAL;
            if (it->second.getError)
                return it->second.getError;
            c->value = it->second.value;
            return 0;
        }
        case VIDIOC_S_CTRL: {
            auto *c = static_cast<v4l2_control *>(argument);
            auto it = camera.controls.find(c->id);
            if (it == camera.controls.end())
                return -EINVAL;
            if (it->second.setError)
                return it->second.setError;
            if (c->value < it->second.query.minimum || c->value > it->second.query.maximum)
                return -ERANGE;
            it->second.value = c->value;
            camera.sets.emplace_back(c->id, c->value);
            return 0;
        }
        default:
            return -ENOTTY;
        }
    }
    Camera &camera;
};

UsbSetup request(uint8_t bRequest, uint8_t unit, uint8_t selector, uint16_t length,
                 uint8_t interface = kInterface)
{
    UsbSetup s;
    s.bmRequestType = bRequest == 0x01 ? 0x21 : 0xA1;
    s.bRequest = bRequest;
    s.wValue = uint16_t(selector << 8);
    s.wIndex = uint16_t((unit << 8) | interface);
    s.wLength = length;
    return s;
}

int64_t le(const uint8_t *b, int n, bool isSigned)
{
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b[i];
    if (isSigned && n < 8 && ((v >> (n * 8 - 1)) & 1))
        v |= ~uint64_t(0) << (n * 8);
    return int64_t(v);
}

class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        camera.add(V4L2_CID_ZOOM_ABSOLUTE, 100, 500, 1, 100).value = 250;
        camera.add(V4L2_CID_PAN_ABSOLUTE, -612000, 612000, 3600, 0).value = -7200;
        camera.add(V4L2_CID_TILT_ABSOLUTE, -108000, 324000, 3600, 0).value = 36000;
        camera.add(V4L2_CID_BRIGHTNESS, -64, 64, 1, 0).value = -10;
        auto &exposure = camera.add(V4L2_CID_EXPOSURE_AUTO, 0, 3, 1, V4L2_EXPOSURE_APERTURE_PRIORITY,
                                    V4L2_CTRL_TYPE_MENU);
        exposure.menuIndices = {V4L2_EXPOSURE_MANUAL, V4L2_EXPOSURE_APERTURE_PRIORITY};
        camera.add(V4L2_CID_EXPOSURE_ABSOLUTE, 3, 2047, 1, 156).query.flags =
            V4L2_CTRL_FLAG_INACTIVE;
        bridge = std::make_unique<platform::V4l2UvcBridge>(std::make_unique<FakeIoctl>(camera),
                                                           kInterface, kTerminal, kProcessing);
    }

    // Sends a GET and returns the answer's value, or the error.
    std::optional<UsbError> get(uint8_t bRequest, uint8_t unit, uint8_t selector, uint16_t length,
                                uint8_t *out, int *transferred)
    {
        return bridge->handle(request(bRequest, unit, selector, length), out, transferred);
    }

    Camera camera;
    std::unique_ptr<platform::V4l2UvcBridge> bridge;
};

} // namespace

TEST_F(BridgeTest, LeavesOtherRequestsToTheCaller)
{
    uint8_t buffer[8] = {};
    int n = 0;
    UsbSetup stringDescriptor{0x80, 6, 0x0358, 0x0409, 255};
    EXPECT_FALSE(bridge->handle(stringDescriptor, buffer, &n));
    EXPECT_FALSE(bridge->handle(request(0x81, kTerminal, 0x0B, 2, 4), buffer, &n));  // other interface
    EXPECT_FALSE(bridge->handle(request(0x81, 2, 0x0B, 2), buffer, &n));   // no such unit
    EXPECT_FALSE(bridge->handle(request(0x81, 0, 0x02, 1), buffer, &n));   // interface control
    UsbSetup dfu{0x21, 0, 0, kInterface, 0};                               // DFU_DETACH-like
    EXPECT_FALSE(bridge->handle(dfu, buffer, &n));
}

TEST_F(BridgeTest, ZoomRangeAndValueComeFromTheV4l2Control)
{
    struct Case {
        uint8_t request;
        int expected;
    } cases[] = {{0x82, 100}, {0x83, 500}, {0x84, 1}, {0x87, 100}, {0x81, 250}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.request));
        uint8_t buffer[8] = {0xEE, 0xEE, 0xEE};
        int n = -1;
        EXPECT_EQ(get(c.request, kTerminal, 0x0B, 2, buffer, &n), UsbError::None);
        EXPECT_EQ(n, 2);
        EXPECT_EQ(le(buffer, 2, false), c.expected);
        EXPECT_EQ(buffer[2], 0xEE);
    }
    uint8_t value[2] = {0x2C, 0x01};  // 300
    EXPECT_EQ(bridge->handle(request(0x01, kTerminal, 0x0B, 2), value, nullptr), UsbError::None);
    ASSERT_EQ(camera.sets.size(), 1u);
    EXPECT_EQ(camera.sets[0], std::make_pair(uint32_t(V4L2_CID_ZOOM_ABSOLUTE), 300));
}

TEST_F(BridgeTest, InfoIsMadeFromTheControlFlags)
{
    struct Case {
        uint32_t flags;
        std::optional<uint8_t> info;  // none: the control is refused
    } cases[] = {
        {0, 0x03},
        {V4L2_CTRL_FLAG_READ_ONLY, 0x01},
        {V4L2_CTRL_FLAG_WRITE_ONLY, 0x02},
        {V4L2_CTRL_FLAG_GRABBED, 0x01},
        {V4L2_CTRL_FLAG_INACTIVE, 0x07},
        {V4L2_CTRL_FLAG_VOLATILE, 0x0B},
        {V4L2_CTRL_FLAG_DISABLED, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        camera.controls[V4L2_CID_ZOOM_ABSOLUTE].query.flags = c.flags;
        uint8_t buffer[2] = {0xEE, 0xEE};
        int n = 0;
        const auto result = get(0x86, kTerminal, 0x0B, 2, buffer, &n);  // wLength as the host asks
        if (c.info) {
            EXPECT_EQ(result, UsbError::None);
            EXPECT_EQ(n, 1);
            EXPECT_EQ(buffer[0], *c.info);
        } else {
            EXPECT_EQ(result, UsbError::Stall);
        }
    }
    uint8_t buffer[1] = {};
    EXPECT_EQ(get(0x86, kProcessing, 0x03, 2, buffer, nullptr), UsbError::Stall);  // no contrast
    EXPECT_EQ(get(0x86, kTerminal, 0x01, 1, buffer, nullptr), UsbError::Stall);    // scanning mode
}

TEST_F(BridgeTest, PanTiltIsTwoControlsInOneValue)
{
    uint8_t buffer[8] = {};
    int n = 0;
    EXPECT_EQ(get(0x81, kTerminal, 0x0D, 8, buffer, &n), UsbError::None);
    EXPECT_EQ(n, 8);
    EXPECT_EQ(le(buffer, 4, true), -7200);
    EXPECT_EQ(le(buffer + 4, 4, true), 36000);
    EXPECT_EQ(get(0x82, kTerminal, 0x0D, 8, buffer, &n), UsbError::None);
    EXPECT_EQ(le(buffer, 4, true), -612000);
    EXPECT_EQ(le(buffer + 4, 4, true), -108000);
    EXPECT_EQ(get(0x84, kTerminal, 0x0D, 8, buffer, &n), UsbError::None);
    EXPECT_EQ(le(buffer, 4, true), 3600);
    EXPECT_EQ(le(buffer + 4, 4, true), 3600);

    const int32_t pan = -10800, tilt = 36000;
    std::memcpy(buffer, &pan, 4);  // little-endian machine
    std::memcpy(buffer + 4, &tilt, 4);
    EXPECT_EQ(bridge->handle(request(0x01, kTerminal, 0x0D, 8), buffer, nullptr), UsbError::None);
    EXPECT_EQ(camera.controls[V4L2_CID_PAN_ABSOLUTE].value, -10800);
    EXPECT_EQ(camera.controls[V4L2_CID_TILT_ABSOLUTE].value, 36000);

    EXPECT_EQ(get(0x81, kTerminal, 0x0D, 4, buffer, &n), UsbError::Stall);  // too short
    camera.controls.erase(V4L2_CID_TILT_ABSOLUTE);
    EXPECT_EQ(get(0x81, kTerminal, 0x0D, 8, buffer, &n), UsbError::Stall);
}

TEST_F(BridgeTest, ExposureModeMapsBetweenModeBitsAndTheMenu)
{
    uint8_t b[1] = {};
    EXPECT_EQ(get(0x84, kTerminal, 0x02, 1, b, nullptr), UsbError::None);
    EXPECT_EQ(b[0], 0x09);  // manual and aperture priority offered
    EXPECT_EQ(get(0x87, kTerminal, 0x02, 1, b, nullptr), UsbError::None);
    EXPECT_EQ(b[0], 8);
    EXPECT_EQ(get(0x82, kTerminal, 0x02, 1, b, nullptr), UsbError::None);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(get(0x83, kTerminal, 0x02, 1, b, nullptr), UsbError::None);
    EXPECT_EQ(b[0], 8);

    struct Read {
        int32_t menu;
        uint8_t bit;
    } reads[] = {{V4L2_EXPOSURE_AUTO, 2}, {V4L2_EXPOSURE_MANUAL, 1},
                 {V4L2_EXPOSURE_SHUTTER_PRIORITY, 4}, {V4L2_EXPOSURE_APERTURE_PRIORITY, 8}};
    for (const Read &r : reads) {
        camera.controls[V4L2_CID_EXPOSURE_AUTO].value = r.menu;
        EXPECT_EQ(get(0x81, kTerminal, 0x02, 1, b, nullptr), UsbError::None);
        EXPECT_EQ(b[0], r.bit) << r.menu;
    }

    camera.controls[V4L2_CID_EXPOSURE_AUTO].query.minimum = 0;
    struct Write {
        uint8_t bit;
        std::optional<int32_t> menu;  // none: refused, nothing written
    } writes[] = {{2, V4L2_EXPOSURE_AUTO}, {1, V4L2_EXPOSURE_MANUAL},
                  {4, V4L2_EXPOSURE_SHUTTER_PRIORITY}, {8, V4L2_EXPOSURE_APERTURE_PRIORITY},
                  {3, std::nullopt}, {0, std::nullopt}, {16, std::nullopt}};
    for (const Write &w : writes) {
        SCOPED_TRACE(int(w.bit));
        camera.sets.clear();
        uint8_t v[1] = {w.bit};
        const auto result = bridge->handle(request(0x01, kTerminal, 0x02, 1), v, nullptr);
        if (w.menu) {
            EXPECT_EQ(result, UsbError::None);
            ASSERT_EQ(camera.sets.size(), 1u);
            EXPECT_EQ(camera.sets[0].second, *w.menu);
        } else {
            EXPECT_EQ(result, UsbError::Stall);
            EXPECT_TRUE(camera.sets.empty());
        }
    }
}

TEST_F(BridgeTest, SignedValuesAndDriverErrors)
{
    uint8_t b[2] = {};
    EXPECT_EQ(get(0x81, kProcessing, 0x02, 2, b, nullptr), UsbError::None);
    EXPECT_EQ(le(b, 2, true), -10);
    uint8_t v[2] = {0xF6, 0xFF};  // -10 again, written back
    camera.controls[V4L2_CID_BRIGHTNESS].value = 0;
    EXPECT_EQ(bridge->handle(request(0x01, kProcessing, 0x02, 2), v, nullptr), UsbError::None);
    EXPECT_EQ(camera.controls[V4L2_CID_BRIGHTNESS].value, -10);
    uint8_t tooBig[2] = {0xFF, 0x7F};
    EXPECT_EQ(bridge->handle(request(0x01, kProcessing, 0x02, 2), tooBig, nullptr), UsbError::Stall);

    struct Case {
        int error;
        UsbError expected;
    } cases[] = {{-EIO, UsbError::Stall}, {-EINVAL, UsbError::Stall}, {-ENODEV, UsbError::NoDevice},
                 {-EBUSY, UsbError::Access}, {-ETIMEDOUT, UsbError::Timeout}};
    for (const Case &c : cases) {
        camera.controls[V4L2_CID_BRIGHTNESS].getError = c.error;
        camera.controls[V4L2_CID_BRIGHTNESS].setError = c.error;
        EXPECT_EQ(get(0x81, kProcessing, 0x02, 2, b, nullptr), c.expected) << c.error;
        EXPECT_EQ(bridge->handle(request(0x01, kProcessing, 0x02, 2), v, nullptr), c.expected);
    }
}

namespace {

// A camera whose video-control interface is held by the kernel driver: the
// claim is refused as busy, and class requests go through the bridge.
class DriverOwnedCamera : public platform::UsbDevice {
public:
    DriverOwnedCamera(platform::UsbDeviceInfo info, platform::V4l2UvcBridge &bridge)
        : info_(std::move(info)), bridge(bridge)
    {
    }
    platform::UsbDeviceInfo info() const override { return info_; }
    UsbError open() override { return UsbError::None; }
    void close() override {}
    UsbError claimInterface(int) override { return UsbError::Access; }
    UsbError releaseInterface(int) override { return UsbError::None; }
    UsbError controlTransfer(const UsbSetup &setup, uint8_t *data, unsigned,
                             int *transferred) override
    {
        if (auto answer = bridge.handle(setup, data, transferred))
            return *answer;
        return UsbError::Access;
    }
    UsbError reset() override { return UsbError::None; }

    platform::UsbDeviceInfo info_;
    platform::V4l2UvcBridge &bridge;
};

QByteArray videoControlBlock()
{
    // header (13), camera terminal (18, zoom + pan/tilt + exposure mode),
    // processing unit (12, brightness)
    const char bytes[] = "\x0d\x24\x01\x10\x01\x2b\x00\x80\x8d\x5b\x00\x01\x01"
                         "\x12\x24\x02\x01\x01\x02\x00\x00\x00\x00\x00\x00\x00\x00\x03\x02\x0a\x00"
                         "\x0c\x24\x05\x03\x01\x00\x40\x02\x01\x00\x00\x00";
    return QByteArray(bytes, sizeof bytes - 1);
}

} // namespace

TEST_F(BridgeTest, TheCameraChannelWorksThroughTheBridge)
{
    platform::UsbDeviceInfo info;
    platform::UsbInterfaceInfo vc;
    vc.number = kInterface;
    vc.interfaceClass = 14;
    vc.interfaceSubClass = 1;
    vc.extra = videoControlBlock();
    info.interfaces.push_back(vc);
    auto device = std::make_shared<DriverOwnedCamera>(info, *bridge);

    auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(device);
    ASSERT_NE(uvc, nullptr);
    EXPECT_EQ(uvc->cameraTerminalId(), kTerminal);
    EXPECT_EQ(uvc->processingUnitId(), kProcessing);
    uvc->updateUVCControls();

    int successes = 0;
    auto ok = [&](const QString &) { ++successes; };
    auto fail = [](const QString &) { ADD_FAILURE() << "failure block"; };
    uvc->setZoomAbs(true, 5, ok, fail);
    EXPECT_EQ(camera.controls[V4L2_CID_ZOOM_ABSOLUTE].value, 255);
    uvc->setPanTiltAbs(true, true, 1.5, ok, fail);
    EXPECT_EQ(camera.controls[V4L2_CID_PAN_ABSOLUTE].value, -1800);
    EXPECT_EQ(camera.controls[V4L2_CID_TILT_ABSOLUTE].value, 36000);

    auto mode = std::make_shared<QOVACameraSettingModel>();
    mode->setName(QStringLiteral("auto-exposure-mode"));
    mode->setControlType(1);
    uvc->getCameraSettingDataWithModel(mode, ok, fail);
    EXPECT_TRUE(mode->canAutoSet());  // aperture priority
    mode->setCanAutoSet(false);
    uvc->setCameraSettingDataWithModel(mode, false, ok, fail);
    EXPECT_EQ(camera.controls[V4L2_CID_EXPOSURE_AUTO].value, V4L2_EXPOSURE_MANUAL);

    auto brightness = std::make_shared<QOVACameraSettingModel>();
    brightness->setName(QStringLiteral("brightness"));
    brightness->setControlType(18);
    uvc->getCameraSettingDataWithModel(brightness, ok, fail);
    EXPECT_EQ(brightness->currentValue(), -10);
    EXPECT_EQ(brightness->minValue(), -64);
    EXPECT_EQ(successes, 5);
}
