// The Linux backend on whatever this machine has: it must start and stop
// cleanly, also with no USB at all.
#include "platform/linux/LinuxBackend.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace platform;

TEST(LinuxBackendStart, StartsAndStopsWithoutDevicesOfTheMaker)
{
    std::unique_ptr<Backend> backend = createLinuxBackend();
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->name(), QStringLiteral("linux"));

    std::unique_ptr<HidManager> hid = backend->createHidManager();
    int matched = 0;
    hid->setDeviceMatching({{0x1D5C, 0x6E17}, {0x1D5C, 0x5C01}, {0x1D5C, 0x6E12}});
    hid->setCallbacks([&](const HidDeviceRef &) { ++matched; }, [](const HidDeviceRef &) {});
    EXPECT_EQ(hid->open(), 0);
    EXPECT_EQ(hid->open(), 0);  // a second open changes nothing

    auto watch = backend->usbBus().watch([](const UsbDeviceRef &) {}, [](const UsbDeviceRef &) {});
    ASSERT_TRUE(watch);
    QCoreApplication::processEvents();

    for (const UsbDeviceRef &device : backend->usbBus().devices())
        EXPECT_FALSE(device->info().path.isEmpty());

    watch.reset();
    hid->close();
    hid->close();
    (void)matched;  // a real device of the maker may be plugged into this machine
}
