#include "platform/linux/LibusbSupport.h"
#include "platform/linux/LinuxUsbDevice.h"
#include "platform/linux/UdevSupport.h"

#include <libusb.h>

#include <gtest/gtest.h>

#include <cerrno>

using namespace platform;

TEST(LinuxSupport, LibusbAndErrnoResultsMapOntoOneErrorEnum)
{
    const struct {
        int libusb;
        UsbError error;
    } libusbCases[] = {
        {0, UsbError::None},
        {12, UsbError::None},  // a byte count
        {LIBUSB_ERROR_NO_DEVICE, UsbError::NoDevice},
        {LIBUSB_ERROR_TIMEOUT, UsbError::Timeout},
        {LIBUSB_ERROR_PIPE, UsbError::Stall},
        {LIBUSB_ERROR_BUSY, UsbError::Access},
        {LIBUSB_ERROR_ACCESS, UsbError::Access},
        {LIBUSB_ERROR_NOT_FOUND, UsbError::NotFound},
        {LIBUSB_ERROR_IO, UsbError::Other},
        {LIBUSB_ERROR_OVERFLOW, UsbError::Other},
        {LIBUSB_ERROR_INVALID_PARAM, UsbError::Other},
    };
    for (const auto &c : libusbCases) {
        SCOPED_TRACE(libusb_error_name(c.libusb));
        EXPECT_EQ(linuxusb::errorFromLibusb(c.libusb), c.error);
    }

    const struct {
        int error;
        UsbError mapped;
    } errnoCases[] = {
        {0, UsbError::None},          {ENODEV, UsbError::NoDevice}, {ENOENT, UsbError::NoDevice},
        {ETIMEDOUT, UsbError::Timeout}, {EPIPE, UsbError::Stall},   {EBUSY, UsbError::Access},
        {EACCES, UsbError::Access},   {ENOTTY, UsbError::NotFound}, {EIO, UsbError::Other},
    };
    for (const auto &c : errnoCases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(linuxusb::errorFromErrno(c.error), c.mapped);
    }
}

TEST(LinuxSupport, LocationIdPutsTheBusOnTopAndOnePortPerNibble)
{
    using linuxudev::locationId;
    EXPECT_EQ(locationId(1, "1.4.2"), 0x01142000u);
    EXPECT_EQ(locationId(3, "2"), 0x03200000u);
    EXPECT_EQ(locationId(2, ""), 0x02000000u);
    // Ports above 15 keep their low nibble; more than six levels are cut.
    EXPECT_EQ(locationId(1, "17"), 0x01100000u);
    EXPECT_EQ(locationId(1, "1.2.3.4.5.6.7"), 0x01123456u);
}

TEST(LinuxSupport, ControlTransfersLongerThanLibusbAllowsFailWithoutTouchingTheDevice)
{
    UsbDeviceInfo info;
    info.busNumber = 250;
    info.deviceAddress = 250;
    info.path = QStringLiteral("/nonexistent/bus/usb/250/250");
    LinuxUsbDevice device(info, QStringLiteral("/sys/nonexistent"), info.path);

    std::vector<uint8_t> buffer(4097);
    UsbSetup setup;
    setup.bmRequestType = 0x21;
    setup.bRequest = 1;  // DNLOAD
    setup.wLength = 4097;
    int transferred = -1;
    EXPECT_EQ(device.controlTransfer(setup, buffer.data(), 100, &transferred), UsbError::Other);
    EXPECT_EQ(transferred, 0);

    // A device that left answers NoDevice to everything.
    device.markGone();
    setup.wLength = 16;
    EXPECT_EQ(device.controlTransfer(setup, buffer.data(), 100, &transferred), UsbError::NoDevice);
    EXPECT_EQ(device.open(), UsbError::NoDevice);
    EXPECT_EQ(device.reset(), UsbError::NoDevice);
}
