// The camera channel end to end on simulated devices: found on the simulated
// bus by serial, its descriptors as the device presents them, its controls
// answered by the device's control store.

#include "QOVAUSBDeviceUVCInterface.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/uvc/SimUvcControlHandler.h"
#include "usb/USBControlRequest.h"
#include "usb/USBDeviceLookup.h"

#include <gtest/gtest.h>

using sim::SimUvcUnit;

namespace {

class SimCameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(bus));
    }
    void TearDown() override
    {
        platform::installBackend(std::shared_ptr<platform::Backend>());
        bus->unplugAll();
    }

    std::shared_ptr<sim::SimBus> bus;
};

struct Blocks {
    int successes = 0, failures = 0;
    QOVASuccessBlock success() { return [this](const QString &) { ++successes; }; }
    QOVAFailureBlock failure() { return [this](const QString &) { ++failures; }; }
};

} // namespace

TEST_F(SimCameraTest, OrbrinZoomPanTiltAndImageControls)
{
    auto device = bus->plug(sim::Family::Orbrin, QStringLiteral("OR100"));
    ASSERT_NE(device, nullptr);
    auto controls = sim::attachUvcControls(*device);
    ASSERT_NE(controls, nullptr);

    auto usb = open_usb_device_by_serial(QStringLiteral("1d5c"), QStringLiteral("6e17"),
                                         QStringLiteral("OR100"));
    ASSERT_NE(usb, nullptr);
    auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(usb);
    ASSERT_NE(uvc, nullptr);
    const sim::SimUvcLayout layout = device->uvcLayout();
    EXPECT_EQ(uvc->cameraTerminalId(), layout.terminalId);
    EXPECT_EQ(uvc->processingUnitId(), layout.processingUnitId);
    EXPECT_EQ(uvc->uvcVersion(), layout.bcdUvc);
    uvc->updateUVCControls();

    Blocks b;
    uvc->setZoomAbs(true, 3, b.success(), b.failure());
    EXPECT_EQ(controls->current(SimUvcUnit::CameraTerminal, 0x0B), 3);
    uvc->setPanTiltAbs(true, false, b.success(), b.failure());
    uvc->setPanTiltAbs(false, true, 1.5, b.success(), b.failure());
    EXPECT_EQ(controls->current(SimUvcUnit::CameraTerminal, 0x0D, 0), -3600);
    EXPECT_EQ(controls->current(SimUvcUnit::CameraTerminal, 0x0D, 1), 5400);

    // Every image control the camera announces reads and writes back.
    struct Control {
        const char *name;
        int index;
    } image[] = {{"backlight-compensation", 17}, {"brightness", 18}, {"contrast", 19},
                 {"gain", 20}, {"power-line-frequency", 21}, {"hue", 22},
                 {"saturation", 23}, {"sharpness", 24}, {"gamma", 25},
                 {"white-balance-temp", 26}, {"auto-white-balance-temp", 27},
                 {"exposure-time-abs", 3}, {"focus-abs", 5}, {"auto-focus", 7},
                 {"auto-exposure-mode", 1}};
    for (const Control &c : image) {
        SCOPED_TRACE(c.name);
        auto model = std::make_shared<QOVACameraSettingModel>();
        model->setName(QString::fromLatin1(c.name));
        model->setControlType(c.index);
        Blocks read;
        uvc->getCameraSettingDataWithModel(model, read.success(), read.failure());
        EXPECT_EQ(read.successes, 1);
        EXPECT_TRUE(model->isSupported());
        if (model->maxValue() > model->currentValue())
            model->setCurrentValue(model->currentValue() + model->stepValue());
        Blocks write;
        uvc->setCameraSettingDataWithModel(model, false, write.success(), write.failure());
        EXPECT_EQ(write.successes, 1);
    }
    auto iris = std::make_shared<QOVACameraSettingModel>();
    iris->setName(QStringLiteral("iris-abs"));
    iris->setControlType(8);
    Blocks none;
    uvc->getCameraSettingDataWithModel(iris, none.success(), none.failure());
    EXPECT_FALSE(iris->isSupported());
    EXPECT_EQ(none.successes + none.failures, 0);
    EXPECT_EQ(b.successes, 3);
    EXPECT_EQ(b.failures, 0);
}

TEST_F(SimCameraTest, VaskoWithOtherUnitIdsAndItsVersionString)
{
    sim::SimDeviceConfig config;
    config.family = sim::Family::Vasko;
    config.serial = QStringLiteral("VS200.01");
    config.uvc.terminalId = 5;
    config.uvc.processingUnitId = 9;
    auto device = bus->plug(config);
    ASSERT_NE(device, nullptr);
    auto controls = sim::attachUvcControls(*device);

    auto usb = open_usb_device_by_serial(QStringLiteral("1d5c"), QStringLiteral("6e12"),
                                         QStringLiteral("VS200.01"));
    ASSERT_NE(usb, nullptr);
    const auto version = ReadUSBString(usb, 0x58);
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, device->firmwareVersion());
    EXPECT_FALSE(ReadUSBString(usb, 0x70));  // no such string

    auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(usb);
    ASSERT_NE(uvc, nullptr);
    EXPECT_EQ(uvc->cameraTerminalId(), 5);
    EXPECT_EQ(uvc->processingUnitId(), 9);
    uvc->updateUVCControls();
    Blocks b;
    uvc->setZoomAbs(true, b.success(), b.failure());
    EXPECT_EQ(b.successes, 1);
    EXPECT_EQ(controls->current(SimUvcUnit::CameraTerminal, 0x0B), 1);
}

TEST_F(SimCameraTest, NoCameraChannelInDfuMode)
{
    auto device = bus->plug(sim::Family::Orbrin, QStringLiteral("OR200"), sim::Mode::Dfu);
    ASSERT_NE(device, nullptr);
    sim::attachUvcControls(*device);
    auto usb = open_usb_device_by_serial(QStringLiteral("1d5c"), QStringLiteral("6e18"),
                                         QStringLiteral("OR200"));
    ASSERT_NE(usb, nullptr);
    EXPECT_EQ(QOVAUSBDeviceUVCInterface::initWithDeviceInterface(usb), nullptr);
}

TEST_F(SimCameraTest, RegisteredControlsComeWithEveryPluggedCamera)
{
    sim::registerUvcControls();
    sim::registerUvcControls();  // once is enough
    auto device = bus->plug(sim::Family::Vasko, QStringLiteral("VS300.02"));
    ASSERT_NE(device, nullptr);
    auto usb = open_usb_device_by_serial(QStringLiteral("1d5c"), QStringLiteral("6e12"),
                                         QStringLiteral("VS300.02"));
    auto uvc = QOVAUSBDeviceUVCInterface::initWithDeviceInterface(usb);
    ASSERT_NE(uvc, nullptr);
    uvc->updateUVCControls();
    Blocks b;
    uvc->setZoomAbs(true, 2, b.success(), b.failure());
    uvc->setZoomAbs(false, b.success(), b.failure());
    EXPECT_EQ(b.successes, 2);
    auto zoom = std::make_shared<QOVACameraSettingModel>();
    zoom->setName(QStringLiteral("zoom-abs"));
    zoom->setControlType(10);
    uvc->getCameraSettingDataWithModel(zoom, b.success(), b.failure());
    EXPECT_EQ(zoom->currentValue(), 1);
    EXPECT_EQ(b.successes, 3);
}
