// A device leaving the bus and coming back in the other mode with the same
// serial, as the USB and HID interfaces see it.

#include "SimTestHost.h"

#include "sim/SimBackend.h"
#include "sim/SimBus.h"

#include <gtest/gtest.h>

using namespace sim;
using namespace simtest;

namespace {

struct UsbLog {
    std::vector<platform::UsbDeviceInfo> arrived;
    std::vector<platform::UsbDeviceInfo> removed;
};

const platform::UsbInterfaceInfo *dfuInterface(const platform::UsbDeviceInfo &info)
{
    for (const auto &i : info.interfaces) {
        if (i.interfaceClass == 0xFE && i.interfaceSubClass == 1)
            return &i;
    }
    return nullptr;
}

class SimReenumerationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = SimBus::create();
        backend = std::make_unique<SimBackend>(bus);
        watch = backend->usbBus().watch(
            [this](const platform::UsbDeviceRef &d) { usb.arrived.push_back(d->info()); },
            [this](const platform::UsbDeviceRef &d) { usb.removed.push_back(d->info()); });
        hidManager = backend->createHidManager();
        hidManager->setCallbacks([this](const platform::HidDeviceRef &) { ++hidMatched; },
                                 [this](const platform::HidDeviceRef &) { ++hidRemoved; });
        hidManager->open();
    }

    std::shared_ptr<SimBus> bus;
    std::unique_ptr<SimBackend> backend;
    std::unique_ptr<platform::UsbBus::Watch> watch;
    std::unique_ptr<platform::HidManager> hidManager;
    UsbLog usb;
    int hidMatched = 0;
    int hidRemoved = 0;
};

} // namespace

TEST_F(SimReenumerationTest, RunToDfuAndBack)
{
    struct Case {
        Family family;
        QString serial;
        uint16_t runId;
        uint16_t dfuId;
        QString product;
        int hidInterfaces;
    };
    const std::vector<Case> cases = {
        {Family::Orbrin, "OR1", 0x6E17, 0x6E18, "Zentaro Halvex", 1},
        {Family::Vasko, "VS2.01", 0x6E12, 0x6E13, "Skarnfel Tolm USB", 2},
        {Family::Pirok, "PK3", 0x5C01, 0x5C02, "KRD mini", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.serial.toStdString());
        usb = UsbLog();
        hidMatched = hidRemoved = 0;
        auto device = bus->plug(c.family, c.serial);
        ASSERT_TRUE(waitUntil([&] { return usb.arrived.size() == 1 && hidMatched == c.hidInterfaces; }));

        device->reenumerate(Mode::Dfu, 100);
        ASSERT_TRUE(waitUntil([&] { return usb.arrived.size() == 2; }));
        EXPECT_EQ(hidRemoved, c.hidInterfaces);
        ASSERT_EQ(usb.removed.size(), 1u);
        EXPECT_EQ(usb.removed[0].productId, c.runId);   // the removal keeps the run-mode identity
        const auto &dfu = usb.arrived[1];
        EXPECT_EQ(dfu.productId, c.dfuId);
        EXPECT_EQ(dfu.usbSerialNumber, c.serial);
        EXPECT_EQ(dfu.productName, c.product + " DFU");
        ASSERT_TRUE(dfuInterface(dfu));
        EXPECT_EQ(dfuInterface(dfu)->interfaceProtocol, 2);
        EXPECT_EQ(dfuInterface(dfu)->extra.size(), 9);
        EXPECT_EQ(dfu.interfaces.size(), 1u);
        EXPECT_EQ(device->mode(), Mode::Dfu);

        device->reenumerate(Mode::Run, 100);
        ASSERT_TRUE(waitUntil([&] { return usb.arrived.size() == 3 && hidMatched == 2 * c.hidInterfaces; }));
        EXPECT_EQ(usb.arrived[2].productId, c.runId);
        EXPECT_EQ(usb.arrived[2].usbSerialNumber, c.serial);
        EXPECT_EQ(dfuInterface(usb.arrived[2])->interfaceProtocol, 1);
        bus->unplug(device);
        ASSERT_TRUE(waitUntil([&] { return usb.removed.size() == 3; }));
    }
}

TEST_F(SimReenumerationTest, ResetInDfuModeBringsTheDeviceBack)
{
    auto device = bus->plug(Family::Orbrin, "OR1", Mode::Dfu);
    ASSERT_TRUE(waitUntil([&] { return usb.arrived.size() == 1; }));
    EXPECT_EQ(hidMatched, 0);
    auto handle = backend->usbBus().devices().at(0);
    EXPECT_EQ(handle->reset(), platform::UsbError::None);
    ASSERT_TRUE(waitUntil([&] { return usb.arrived.size() == 2 && hidMatched == 1; }));
    EXPECT_EQ(usb.arrived[1].productId, 0x6E17);
    // The old handle belongs to the enumeration that ended.
    EXPECT_EQ(handle->open(), platform::UsbError::NoDevice);
}

TEST_F(SimReenumerationTest, DeviceToldToStayAwayNeverReturns)
{
    auto device = bus->plug(Family::Vasko, "VS1.01");
    SimFaults f;
    f.stayAway = true;
    device->setFaults(f);
    device->reenumerate(Mode::Dfu, 10);
    ASSERT_TRUE(waitUntil([&] { return usb.removed.size() == 1; }));
    // A later round trip that would have come back long ago.
    device->reenumerate(Mode::Run, 0);
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    EXPECT_EQ(usb.arrived.size(), 1u);
    EXPECT_FALSE(device->isPresent());
    EXPECT_TRUE(bus->device("VS1"));   // still known to the bus, just away
}

TEST_F(SimReenumerationTest, UnplugWhileAwayCancelsTheReturn)
{
    auto device = bus->plug(Family::Orbrin, "OR1");
    device->reenumerate(Mode::Dfu, 2000);   // 20 ms at the test time scale
    ASSERT_TRUE(bus->unplug("OR1"));
    for (int i = 0; i < 60; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    EXPECT_EQ(usb.arrived.size(), 1u);
    EXPECT_FALSE(bus->device("OR1"));
}
