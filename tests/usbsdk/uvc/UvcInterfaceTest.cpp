// The camera control channel against a simulated camera: descriptors, zoom
// and pan/tilt steps, reading and writing image settings, support checks.

#include "FakeUsb.h"
#include "QOVAUSBDeviceUVCInterface.h"
#include "sim/uvc/SimUvcControlHandler.h"

#include <gtest/gtest.h>

using platform::UsbError;
using sim::SimUvcControl;
using sim::SimUvcUnit;

namespace {

constexpr uint8_t kZoomSelector = 0x0B;
constexpr uint8_t kPanTiltSelector = 0x0D;
constexpr uint8_t kExposureModeSelector = 0x02;
constexpr uint8_t kBrightnessSelector = 0x02;
constexpr uint8_t SET_CUR = 0x01;

// Control indices of the channel's table.
constexpr int kAutoExposureMode = 1;
constexpr int kFocusAbs = 5;
constexpr int kPanTiltAbs = 12;
constexpr int kBrightness = 18;
constexpr int kContrast = 19;
constexpr int kGain = 20;
constexpr int kAutoWhiteBalanceTemp = 27;

platform::UsbInterfaceInfo interfaceInfo(uint8_t number, uint8_t cls, uint8_t sub,
                                         QByteArray extra = {})
{
    platform::UsbInterfaceInfo i;
    i.number = number;
    i.interfaceClass = cls;
    i.interfaceSubClass = sub;
    i.extra = std::move(extra);
    return i;
}

// A camera: HID on interface 0, video control on 2 (answered by the
// simulated controls), video streaming on 3.
std::shared_ptr<fake::Device> camera(sim::SimUvcControlHandler &controls,
                                     std::optional<QByteArray> extra = std::nullopt)
{
    platform::UsbDeviceInfo info;
    info.vendorId = 0x1D5C;
    info.productId = 0x6E17;
    info.interfaces.push_back(interfaceInfo(0, 3, 0));
    info.interfaces.push_back(interfaceInfo(controls.config().videoControlInterface, 14, 1,
                                            extra ? *extra : controls.videoControlDescriptors()));
    info.interfaces.push_back(interfaceInfo(3, 14, 2));
    auto device = std::make_shared<fake::Device>(info);
    device->handlers.push_back(&controls);
    return device;
}

sim::SimUvcControlHandler::Config config(uint8_t terminal = 1, uint8_t processing = 2)
{
    sim::SimUvcControlHandler::Config c;
    c.videoControlInterface = 2;
    c.cameraTerminalId = terminal;
    c.processingUnitId = processing;
    return c;
}

QOVACameraSettingModelRef setting(const char *name, int control)
{
    auto model = std::make_shared<QOVACameraSettingModel>();
    model->setName(QString::fromLatin1(name));
    model->setControlType(control);
    return model;
}

// What the blocks of one operation received.
struct Outcome {
    int successes = 0;
    int failures = 0;
    QString text;

    QOVASuccessBlock success()
    {
        return [this](const QString &t) { ++successes; text = t; };
    }
    QOVAFailureBlock failure()
    {
        return [this](const QString &t) { ++failures; text = t; };
    }
    bool succeeded() const { return successes == 1 && failures == 0 && text == "Success"; }
    bool failed() const { return successes == 0 && failures == 1 && text == "Failure"; }
    bool silent() const { return successes == 0 && failures == 0; }
};

class UvcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = camera(controls);
        uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(device);
        ASSERT_NE(uvc, nullptr);
        uvc->updateUVCControls();
    }

    // The SET_CUR requests the camera received.
    std::vector<QByteArray> writes() const
    {
        std::vector<QByteArray> out;
        for (const auto &r : controls.requests())
            if (r.setup.bRequest == SET_CUR)
                out.push_back(r.data);
        return out;
    }

    sim::SimUvcControlHandler controls{config()};
    std::shared_ptr<fake::Device> device;
    std::unique_ptr<QOVAUSBDeviceUVCInterface> uvc;
};

} // namespace

TEST(UvcChannel, NoneWithoutAVideoControlInterface)
{
    platform::UsbDeviceInfo info;
    info.interfaces.push_back(interfaceInfo(0, 3, 0));
    info.interfaces.push_back(interfaceInfo(1, 14, 2));  // streaming only
    EXPECT_EQ(QOVAUSBDeviceUVCInterface::initWithDeviceInterface(
                  std::make_shared<fake::Device>(info)),
              nullptr);
    EXPECT_EQ(QOVAUSBDeviceUVCInterface::initWithDeviceInterface(nullptr), nullptr);
}

TEST_F(UvcTest, ReadsUnitIdsVersionAndBitmapsFromTheDescriptors)
{
    EXPECT_EQ(uvc->cameraTerminalId(), 1);
    EXPECT_EQ(uvc->processingUnitId(), 2);
    EXPECT_EQ(uvc->uvcVersion(), 0x0110);
    EXPECT_EQ(uvc->terminalControlsAvailable(), controls.bitmap(SimUvcUnit::CameraTerminal));
    EXPECT_EQ(uvc->processingUnitControlsAvailable(), controls.bitmap(SimUvcUnit::ProcessingUnit));
    EXPECT_EQ(uvc->videoControlInterface().number(), 2);
    EXPECT_EQ(uvc->deviceInterface(), device);
}

// Class-specific blocks as a faulty or hostile device might describe them.
TEST(UvcDescriptors, MalformedBlocksNeverReadPastWhatIsThere)
{
    sim::SimUvcControlHandler controls(config(4, 6));
    const QByteArray good = controls.videoControlDescriptors();
    const int headerLength = 13;
    const int terminalLength = uint8_t(good[headerLength]);
    const int processingAt = headerLength + terminalLength;

    auto withByte = [&](int at, uint8_t value) {
        QByteArray b = good;
        b[at] = char(value);
        return b;
    };
    auto withTotal = [&](int total) {
        QByteArray b = good;
        b[5] = char(total & 0xFF);
        b[6] = char(total >> 8);
        return b;
    };
    const QByteArray otherFirst = QByteArray("\x05\x25\x01\x00\x00", 5) + good;  // endpoint-ish first
    struct Case {
        const char *what;
        QByteArray extra;
        uint8_t terminal, processing;
        int terminalBitmapSize, processingBitmapSize;
        uint16_t version;
    } cases[] = {
        {"well formed", good, 4, 6, 3, 2, 0x0110},
        {"other descriptors before the header", otherFirst, 4, 6, 3, 2, 0x0110},
        {"no class-specific block", QByteArray(), 0, 0, 0, 0, 0},
        {"first block is not a header", withByte(2, 0x02), 0, 0, 0, 0, 0},
        {"header cut short", good.left(5), 0, 0, 0, 0, 0},
        {"zero length ends the walk", withByte(processingAt, 0), 4, 0, 3, 0, 0x0110},
        {"terminal runs past the total length", withTotal(headerLength + terminalLength - 1), 0, 0,
         0, 0, 0x0110},
        {"total length beyond the buffer", withTotal(0xFFFF), 4, 6, 3, 2, 0x0110},
        {"buffer ends inside the processing unit", good.left(processingAt + 9), 4, 0, 3, 0, 0x0110},
        {"terminal control size too large", withByte(headerLength + 14, 200), 4, 6,
         terminalLength - 15, 2, 0x0110},
        {"processing control size too large", withByte(processingAt + 7, 255), 4, 6, 3,
         int(uint8_t(good[processingAt])) - 8, 0x0110},
        {"processing control size 0", withByte(processingAt + 7, 0), 4, 6, 3, 0, 0x0110},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(camera(controls, c.extra));
        ASSERT_NE(uvc, nullptr);
        EXPECT_EQ(uvc->cameraTerminalId(), c.terminal);
        EXPECT_EQ(uvc->processingUnitId(), c.processing);
        EXPECT_EQ(uvc->terminalControlsAvailable().size(), c.terminalBitmapSize);
        EXPECT_EQ(uvc->processingUnitControlsAvailable().size(), c.processingBitmapSize);
        EXPECT_EQ(uvc->uvcVersion(), c.version);
    }
}

TEST_F(UvcTest, ZoomStepsAreClampedAndAlwaysWritten)
{
    controls.setControl(SimUvcUnit::CameraTerminal, kZoomSelector,
                        SimUvcControl::scalar(2, false, 100, 500, 4, 100));
    struct Case {
        const char *what;
        int cur;
        bool zoomIn;
        std::optional<qint64> multiple;
        int expected;
    } cases[] = {
        {"one step in", 200, true, std::nullopt, 204},
        {"one step out", 200, false, std::nullopt, 196},
        {"at the maximum", 500, true, std::nullopt, 500},
        {"near the maximum", 498, true, std::nullopt, 500},
        {"at the minimum", 100, false, std::nullopt, 100},
        {"three steps", 200, true, 3, 212},
        {"three steps out past the minimum", 105, false, 3, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        controls.setCurrent(SimUvcUnit::CameraTerminal, kZoomSelector, c.cur);
        controls.clearRequests();
        Outcome o;
        if (c.multiple)
            uvc->setZoomAbs(c.zoomIn, *c.multiple, o.success(), o.failure());
        else
            uvc->setZoomAbs(c.zoomIn, o.success(), o.failure());
        EXPECT_TRUE(o.succeeded());
        EXPECT_EQ(writes().size(), 1u);  // also when the value does not change
        EXPECT_EQ(controls.current(SimUvcUnit::CameraTerminal, kZoomSelector), c.expected);
    }
}

TEST_F(UvcTest, ZoomDependentStepNeverTurnsTheMoveAround)
{
    controls.setControl(SimUvcUnit::CameraTerminal, kZoomSelector,
                        SimUvcControl::scalar(2, false, 0, 1000, 1, 0));
    struct Case {
        int cur, step;
    } cases[] = {{0, 10}, {50, 5}, {100, 1}, {112, 0}, {113, 0}, {200, 0}, {1000, 0}};
    for (const Case &c : cases) {
        for (bool zoomIn : {true, false}) {
            SCOPED_TRACE(testing::Message() << "cur " << c.cur << (zoomIn ? " in" : " out"));
            controls.setCurrent(SimUvcUnit::CameraTerminal, kZoomSelector, c.cur);
            Outcome o;
            uvc->setZoomAbs(zoomIn, -1, o.success(), o.failure());
            EXPECT_TRUE(o.succeeded());
            const int expected = std::clamp(zoomIn ? c.cur + c.step : c.cur - c.step, 0, 1000);
            EXPECT_EQ(controls.current(SimUvcUnit::CameraTerminal, kZoomSelector), expected);
        }
    }
}

TEST_F(UvcTest, ZoomFailsWhenTheCameraRefuses)
{
    Outcome noInfo;
    controls.setFault([](const platform::UsbSetup &s) -> std::optional<UsbError> {
        if (s.bRequest == 0x86)
            return UsbError::Stall;
        return std::nullopt;
    });
    uvc->setZoomAbs(true, noInfo.success(), noInfo.failure());
    EXPECT_TRUE(noInfo.failed());
    EXPECT_TRUE(writes().empty());

    Outcome noWrite;
    controls.setFault([](const platform::UsbSetup &s) -> std::optional<UsbError> {
        if (s.bRequest == SET_CUR)
            return UsbError::Timeout;
        return std::nullopt;
    });
    uvc->setZoomAbs(true, noWrite.success(), noWrite.failure());
    EXPECT_TRUE(noWrite.failed());
}

TEST_F(UvcTest, PanAndTiltSteps)
{
    // pan -612000..612000, tilt -108000..324000, res 3600 each
    controls.setControl(SimUvcUnit::CameraTerminal, kPanTiltSelector,
                        SimUvcControl::pair(4, true, -612000, -108000, 612000, 324000, 3600, 3600,
                                            0, 0));
    controls.setControl(SimUvcUnit::CameraTerminal, kZoomSelector,
                        SimUvcControl::scalar(2, false, 0, 500, 1, 0));
    struct Case {
        const char *what;
        bool pan, direct;
        std::optional<double> multiple;
        int zoom;
        qint64 curPan, curTilt, pan2, tilt2;
    } cases[] = {
        {"pan right", true, true, std::nullopt, 0, 7200, 3600, 10800, 3600},
        {"pan left", true, false, std::nullopt, 0, 7200, 3600, 3600, 3600},
        {"tilt up", false, true, std::nullopt, 0, 7200, 3600, 7200, 7200},
        {"tilt down", false, false, std::nullopt, 0, 7200, 3600, 7200, 0},
        {"pan by one and a half", true, true, 1.5, 0, 0, 0, 5400, 0},
        {"tilt by one and a half", false, false, 1.5, 0, 0, 0, 0, -5400},
        {"pan past the edge", true, true, 3.0, 0, 608400, 0, 612000, 0},
        {"tilt past the edge", false, false, 2.0, 0, 0, -104400, 0, -108000},
        {"zoom-dependent pan at zoom 100", true, true, -1.0, 100, 7200, 0, 10800, 0},
        {"zoom-dependent tilt at zoom 100", false, false, -1.0, 100, 0, 7200, 0, 3600},
        {"zoom-dependent pan at zoom 0", true, false, -1.0, 0, 0, 0, -36000, 0},
        {"zoom-dependent pan at zoom 200 stands still", true, true, -1.0, 200, 7200, 0, 7200, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        controls.setCurrent(SimUvcUnit::CameraTerminal, kPanTiltSelector, c.curPan, 0);
        controls.setCurrent(SimUvcUnit::CameraTerminal, kPanTiltSelector, c.curTilt, 1);
        controls.setCurrent(SimUvcUnit::CameraTerminal, kZoomSelector, c.zoom);
        controls.clearRequests();
        Outcome o;
        if (c.multiple)
            uvc->setPanTiltAbs(c.pan, c.direct, *c.multiple, o.success(), o.failure());
        else
            uvc->setPanTiltAbs(c.pan, c.direct, o.success(), o.failure());
        EXPECT_TRUE(o.succeeded());
        ASSERT_EQ(writes().size(), 1u);
        EXPECT_EQ(writes()[0].size(), 8);
        EXPECT_EQ(controls.current(SimUvcUnit::CameraTerminal, kPanTiltSelector, 0), c.pan2);
        EXPECT_EQ(controls.current(SimUvcUnit::CameraTerminal, kPanTiltSelector, 1), c.tilt2);
    }
}

TEST_F(UvcTest, ReadsAnImageSetting)
{
    controls.setControl(SimUvcUnit::ProcessingUnit, kBrightnessSelector,
                        SimUvcControl::scalar(2, true, -64, 64, 2, -4));
    controls.setCurrent(SimUvcUnit::ProcessingUnit, kBrightnessSelector, -10);
    auto brightness = setting("brightness", kBrightness);
    Outcome o;
    uvc->getCameraSettingDataWithModel(brightness, o.success(), o.failure());
    EXPECT_TRUE(o.succeeded());
    EXPECT_TRUE(brightness->isSupported());
    EXPECT_EQ(brightness->minValue(), -64);
    EXPECT_EQ(brightness->maxValue(), 64);
    EXPECT_EQ(brightness->stepValue(), 2);
    EXPECT_EQ(brightness->defaultValue(), -4);
    EXPECT_EQ(brightness->currentValue(), -10);

    auto focus = setting("focus-abs", kFocusAbs);  // terminal, unsigned 16-bit
    controls.setControl(SimUvcUnit::CameraTerminal, 0x06,
                        SimUvcControl::scalar(2, false, 0, 60000, 5, 40000));
    Outcome f;
    uvc->getCameraSettingDataWithModel(focus, f.success(), f.failure());
    EXPECT_TRUE(f.succeeded());
    EXPECT_EQ(focus->maxValue(), 60000);
    EXPECT_EQ(focus->currentValue(), 40000);
}

TEST_F(UvcTest, ARangeThatCannotBeReadIsAFailure)
{
    controls.setFault([](const platform::UsbSetup &s) -> std::optional<UsbError> {
        if (s.bRequest == 0x84)  // GET_RES
            return UsbError::Stall;
        return std::nullopt;
    });
    auto contrast = setting("contrast", kContrast);
    Outcome o;
    uvc->getCameraSettingDataWithModel(contrast, o.success(), o.failure());
    EXPECT_TRUE(o.failed());
    EXPECT_TRUE(contrast->isSupported());
    EXPECT_EQ(contrast->currentValue(), 50);  // what was read stays
    EXPECT_EQ(contrast->maxValue(), 100);
}

TEST_F(UvcTest, WritesAnImageSettingAndResetsIt)
{
    auto gain = setting("gain", kGain);
    gain->setCurrentValue(70);
    gain->setDefaultValue(5);
    Outcome write;
    uvc->setCameraSettingDataWithModel(gain, false, write.success(), write.failure());
    EXPECT_TRUE(write.succeeded());
    EXPECT_EQ(controls.current(SimUvcUnit::ProcessingUnit, 0x04), 70);

    Outcome reset;
    uvc->setCameraSettingDataWithModel(gain, true, reset.success(), reset.failure());
    EXPECT_TRUE(reset.succeeded());
    EXPECT_EQ(controls.current(SimUvcUnit::ProcessingUnit, 0x04), 5);

    gain->setCurrentValue(1000);  // out of the camera's range: refused
    Outcome refused;
    uvc->setCameraSettingDataWithModel(gain, false, refused.success(), refused.failure());
    EXPECT_TRUE(refused.failed());

    auto none = setting("gain", -1);
    Outcome invalid;
    uvc->setCameraSettingDataWithModel(none, false, invalid.success(), invalid.failure());
    EXPECT_TRUE(invalid.failed());
}

TEST_F(UvcTest, AutoExposureModeIsReadAndWrittenAsTheCameraModes)
{
    struct Read {
        int cur;
        bool canAutoSet;
    } reads[] = {{1, false}, {2, true}, {4, false}, {8, true}};
    for (const Read &r : reads) {
        SCOPED_TRACE(testing::Message() << "read mode " << r.cur);
        controls.setCurrent(SimUvcUnit::CameraTerminal, kExposureModeSelector, r.cur);
        auto mode = setting("auto-exposure-mode", kAutoExposureMode);
        Outcome o;
        uvc->getCameraSettingDataWithModel(mode, o.success(), o.failure());
        EXPECT_TRUE(o.succeeded());
        EXPECT_EQ(mode->canAutoSet(), r.canAutoSet);
        EXPECT_EQ(mode->currentValue(), r.cur);
    }

    struct Write {
        int currentValue;
        bool canAutoSet;
        int sent;
    } writesTable[] = {{4, true, 2}, {2, true, 2}, {1, true, 8}, {8, true, 8},
                       {4, false, 4}, {2, false, 4}, {1, false, 1}, {8, false, 1}};
    for (const Write &w : writesTable) {
        SCOPED_TRACE(testing::Message() << "write from " << w.currentValue << " auto "
                                        << w.canAutoSet);
        auto mode = setting("auto-exposure-mode", kAutoExposureMode);
        mode->setCurrentValue(w.currentValue);
        mode->setCanAutoSet(w.canAutoSet);
        Outcome o;
        uvc->setCameraSettingDataWithModel(mode, false, o.success(), o.failure());
        EXPECT_TRUE(o.succeeded());
        EXPECT_EQ(controls.current(SimUvcUnit::CameraTerminal, kExposureModeSelector), w.sent);
    }
}

TEST_F(UvcTest, AutoWhiteBalanceFollowsCanAutoSet)
{
    auto awb = setting("auto-white-balance-temp", kAutoWhiteBalanceTemp);
    for (int cur : {1, 0}) {
        controls.setCurrent(SimUvcUnit::ProcessingUnit, 0x0B, cur);
        Outcome o;
        uvc->getCameraSettingDataWithModel(awb, o.success(), o.failure());
        EXPECT_TRUE(o.succeeded());
        EXPECT_EQ(awb->canAutoSet(), cur == 1);
    }
    awb->setCanAutoSet(true);
    Outcome o;
    uvc->setCameraSettingDataWithModel(awb, false, o.success(), o.failure());
    EXPECT_TRUE(o.succeeded());
    EXPECT_EQ(controls.current(SimUvcUnit::ProcessingUnit, 0x0B), 1);
}

TEST_F(UvcTest, UnsupportedControlsCallNoBlock)
{
    struct Case {
        const char *name;
        int control;
    } cases[] = {
        {"iris-abs", 8},             // terminal bit clear
        {"white-balance-component", 28},  // processing bit clear
        {"no-such-control", kBrightness},
        {"privacy", 16},             // bit 18: within the 3-byte bitmap, clear
        {"brightness", -1},
        {"brightness", 35},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto model = setting(c.name, c.control);
        model->setIsSupported(true);
        controls.clearRequests();
        Outcome o;
        uvc->getCameraSettingDataWithModel(model, o.success(), o.failure());
        EXPECT_TRUE(o.silent());
        EXPECT_FALSE(model->isSupported());
        EXPECT_TRUE(controls.requests().empty());
    }
}

TEST_F(UvcTest, ABitBeyondTheBitmapIsUnsupported)
{
    // A camera announcing only one byte for its terminal.
    controls.overrideBitmap(SimUvcUnit::CameraTerminal, QByteArray("\xFF", 1));
    auto shortBitmap = camera(controls);
    auto other = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(shortBitmap);
    other->updateUVCControls();
    auto zoomModel = setting("zoom-abs", 10);  // bit 9
    Outcome o;
    other->getCameraSettingDataWithModel(zoomModel, o.success(), o.failure());
    EXPECT_TRUE(o.silent());
    EXPECT_FALSE(zoomModel->isSupported());
}

TEST(UvcSupport, WithoutAProcessingUnitBitmapEveryProcessingControlIsAvailable)
{
    sim::SimUvcControlHandler controls(config());
    controls.overrideBitmap(SimUvcUnit::ProcessingUnit, QByteArray());
    auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(camera(controls));
    ASSERT_NE(uvc, nullptr);
    uvc->updateUVCControls();
    EXPECT_TRUE(uvc->processingUnitControlsAvailable().isEmpty());

    auto brightness = setting("brightness", kBrightness);
    Outcome present;
    uvc->getCameraSettingDataWithModel(brightness, present.success(), present.failure());
    EXPECT_TRUE(present.succeeded());
    EXPECT_TRUE(brightness->isSupported());

    // Counted as available, so the camera's own refusal is what the page sees.
    auto component = setting("white-balance-component", 28);
    Outcome absent;
    uvc->getCameraSettingDataWithModel(component, absent.success(), absent.failure());
    EXPECT_TRUE(absent.failed());
    EXPECT_TRUE(component->isSupported());
}

TEST(UvcSupport, UnitIdsTakeEffectThroughUpdateUVCControls)
{
    // The table is shared by every camera: put it on ids 1 and 2 first.
    sim::SimUvcControlHandler first(config(1, 2));
    auto a = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(camera(first));
    a->updateUVCControls();

    sim::SimUvcControlHandler second(config(4, 7));
    auto b = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(camera(second));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->cameraTerminalId(), 4);
    EXPECT_EQ(b->processingUnitId(), 7);

    auto brightness = setting("brightness", kBrightness);
    auto zoomModel = setting("zoom-abs", 10);
    Outcome before;
    b->getCameraSettingDataWithModel(brightness, before.success(), before.failure());
    b->getCameraSettingDataWithModel(zoomModel, before.success(), before.failure());
    EXPECT_TRUE(before.silent());
    EXPECT_FALSE(brightness->isSupported());
    EXPECT_FALSE(zoomModel->isSupported());

    b->updateUVCControls();
    Outcome after;
    b->getCameraSettingDataWithModel(brightness, after.success(), after.failure());
    EXPECT_TRUE(after.succeeded());
    Outcome zoomed;
    b->setZoomAbs(true, zoomed.success(), zoomed.failure());
    EXPECT_TRUE(zoomed.succeeded());
    EXPECT_EQ(second.current(SimUvcUnit::CameraTerminal, kZoomSelector), 1);

    // The first camera now addresses units it does not have.
    Outcome wrong;
    a->setZoomAbs(true, wrong.success(), wrong.failure());
    EXPECT_TRUE(wrong.failed());
}

TEST_F(UvcTest, RequestsAreAddressedAsTheClassSays)
{
    auto pt = setting("pan-tilt-abs", kPanTiltAbs);
    Outcome o;
    uvc->getCameraSettingDataWithModel(pt, o.success(), o.failure());
    EXPECT_TRUE(o.succeeded());
    const auto requests = controls.requests();
    ASSERT_EQ(requests.size(), 6u);  // INFO, DEF, CUR, MAX, MIN, RES
    const uint8_t order[] = {0x86, 0x87, 0x81, 0x83, 0x82, 0x84};
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].setup.bmRequestType, 0xA1);
        EXPECT_EQ(requests[i].setup.bRequest, order[i]);
        EXPECT_EQ(requests[i].setup.wValue, 0x0D00);
        EXPECT_EQ(requests[i].setup.wIndex, 0x0102);
        EXPECT_EQ(requests[i].setup.wLength, 8);
    }
    EXPECT_EQ(pt->minValue(), -612000);  // the pan field
}
