// Finding a device by ids and serial, its interfaces by class, class control
// requests, and string descriptors as devices really send them.

#include "FakeUsb.h"
#include "usb/USBControlRequest.h"
#include "usb/USBDeviceLookup.h"

#include <gtest/gtest.h>

#include <cstring>

using platform::UsbError;

namespace {

std::shared_ptr<fake::Device> usbDevice(uint16_t vid, uint16_t pid, std::optional<QString> serial,
                                        std::optional<QString> usbSerial, QString path = {})
{
    platform::UsbDeviceInfo info;
    info.vendorId = vid;
    info.productId = pid;
    info.serialNumber = std::move(serial);
    info.usbSerialNumber = std::move(usbSerial);
    info.path = std::move(path);
    return std::make_shared<fake::Device>(info);
}

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto b = std::make_shared<fake::Backend>();
        backend = b.get();
        platform::installBackend(std::shared_ptr<platform::Backend>(b));
    }
    void TearDown() override { platform::installBackend(std::shared_ptr<platform::Backend>()); }
    void plug(platform::UsbDeviceRef device) { backend->bus.present.push_back(std::move(device)); }

    fake::Backend *backend = nullptr;
};

} // namespace

TEST(UsbMatching, IdTextsAreReadAsHexadecimal)
{
    struct Case {
        const char *vid, *pid;
        bool made;
        uint16_t vendor, product;
    } cases[] = {
        {"1d5c", "6e17", true, 0x1D5C, 0x6E17},
        {"1D5C", "6E17", true, 0x1D5C, 0x6E17},
        {"0x1d5c", "5c01", true, 0x1D5C, 0x5C01},
        {"11d5c", "6e17", true, 0x1D5C, 0x6E17},      // kept to 16 bits
        {"1d5c", "", false, 0, 0},
        {"zz", "6e17", false, 0, 0},
        {"1d5c", "000000006e17", false, 0, 0},        // longer than 11 bytes
        {"1d5c", "00000006e17", true, 0x1D5C, 0x6E17}, // exactly 11
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.vid) + "/" + c.pid);
        const auto m = usb_device_matching_by_ids(QString::fromLatin1(c.vid),
                                                  QString::fromLatin1(c.pid));
        ASSERT_EQ(m.has_value(), c.made);
        if (m) {
            EXPECT_EQ(m->idVendor, c.vendor);
            EXPECT_EQ(m->idProduct, c.product);
        }
    }
}

TEST_F(LookupTest, SerialLookupFallsBackToUsbSerialNumberAndLastMatchWins)
{
    plug(usbDevice(0x1D5C, 0x6E17, QStringLiteral("A1"), std::nullopt, QStringLiteral("first")));
    plug(usbDevice(0x1D5C, 0x6E12, std::nullopt, QStringLiteral("B2.01"), QStringLiteral("vasko")));
    // "SerialNumber" wins over "USB Serial Number" when both are there.
    plug(usbDevice(0x1D5C, 0x6E17, QStringLiteral("C3"), QStringLiteral("A1"), QStringLiteral("c3")));
    plug(usbDevice(0x1D5C, 0x6E18, QStringLiteral("A1"), std::nullopt, QStringLiteral("dfu")));
    plug(usbDevice(0x1D5C, 0x6E17, std::nullopt, std::nullopt, QStringLiteral("none")));
    plug(usbDevice(0x1D5C, 0x6E17, QStringLiteral("A1"), std::nullopt, QStringLiteral("second")));

    struct Case {
        const char *pid, *serial, *path;  // path empty: nothing found
    } cases[] = {
        {"6e17", "A1", "second"},
        {"6E17", "A1", "second"},
        {"6e12", "B2.01", "vasko"},
        {"6e12", "B2", ""},     // exact comparison, before any cut
        {"6e17", "a1", ""},     // case matters
        {"6e17", "C3", "c3"},
        {"6e18", "A1", "dfu"},
        {"6e13", "A1", ""},
        {"", "A1", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.pid) + " " + c.serial);
        const auto device = open_usb_device_by_serial(QStringLiteral("1d5c"), QString::fromLatin1(c.pid),
                                                      QString::fromLatin1(c.serial));
        if (!*c.path) {
            EXPECT_EQ(device, nullptr);
        } else {
            ASSERT_NE(device, nullptr);
            EXPECT_EQ(device->info().path, QString::fromLatin1(c.path));
        }
    }
}

TEST(UsbInterfaceLookup, FirstInterfaceOfClassAndSubclassOnly)
{
    platform::UsbDeviceInfo info;
    auto add = [&](uint8_t number, uint8_t alt, uint8_t cls, uint8_t sub, uint8_t proto) {
        platform::UsbInterfaceInfo i;
        i.number = number;
        i.alternateSetting = alt;
        i.interfaceClass = cls;
        i.interfaceSubClass = sub;
        i.interfaceProtocol = proto;
        info.interfaces.push_back(i);
    };
    add(0, 0, 3, 0, 0);     // HID
    add(1, 0, 14, 2, 0);    // video streaming
    add(2, 0, 14, 1, 0);    // video control
    add(3, 0, 14, 1, 0);    // a second one is never taken
    add(4, 0, 0xFE, 1, 2);  // DFU
    auto device = std::make_shared<fake::Device>(info);

    auto vc = open_usb_interface_by_class(device, 14, 1);
    ASSERT_TRUE(vc);
    EXPECT_EQ(vc->number(), 2);
    EXPECT_EQ(vc->device, device);
    auto dfu = open_usb_interface_by_class(device, 0xFE, 1);
    ASSERT_TRUE(dfu);
    EXPECT_EQ(dfu->info.interfaceProtocol, 2);
    EXPECT_FALSE(open_usb_interface_by_class(device, 14, 3));
    EXPECT_FALSE(open_usb_interface_by_class(device, 1, 1));
    EXPECT_FALSE(open_usb_interface_by_class(nullptr, 14, 1));
    EXPECT_TRUE(device->claims.empty());  // found, not claimed
}

TEST(SendControlRequest, AddressesTheInterfaceAndReleasesWhatItClaimed)
{
    EXPECT_EQ(sendControlRequest(nullptr, {}, nullptr), -1);
    USBInterfaceHandle none;
    EXPECT_EQ(sendControlRequest(&none, {}, nullptr), -1);

    auto device = std::make_shared<fake::Device>();
    USBInterfaceHandle handle{device, {}};
    handle.info.number = 5;
    uint8_t buffer[4] = {};
    device->hook = [](const platform::UsbSetup &, uint8_t *data, int *transferred) {
        data[0] = 0x03;
        *transferred = 1;
        return UsbError::None;
    };
    platform::UsbSetup setup;
    setup.bmRequestType = 0xA1;
    setup.bRequest = 0x86;
    setup.wValue = 0x0B00;
    setup.wIndex = 0x0107;  // the low byte is the interface's, whatever the caller put there
    setup.wLength = 4;
    int transferred = -1;
    EXPECT_EQ(sendControlRequest(&handle, setup, buffer, &transferred), 0);
    ASSERT_EQ(device->setups.size(), 1u);
    EXPECT_EQ(device->setups[0].wIndex, 0x0105);
    EXPECT_EQ(device->setups[0].wValue, 0x0B00);
    EXPECT_EQ(transferred, 1);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(device->claims, std::vector<int>{5});
    EXPECT_EQ(device->releases, std::vector<int>{5});

    // Held by another driver: the request still goes out, nothing is released.
    device->claimResult = UsbError::Access;
    EXPECT_EQ(sendControlRequest(&handle, setup, buffer), 0);
    EXPECT_EQ(device->setups.size(), 2u);
    EXPECT_EQ(device->releases.size(), 1u);

    // Cannot be opened at all: nothing is sent.
    device->claimResult = UsbError::NotFound;
    EXPECT_EQ(sendControlRequest(&handle, setup, buffer), -1);
    EXPECT_EQ(device->setups.size(), 2u);
    device->claimResult = UsbError::None;
    device->openResult = UsbError::NoDevice;
    EXPECT_EQ(sendControlRequest(&handle, setup, buffer), -1);
    EXPECT_EQ(device->setups.size(), 2u);

    // A failing transfer fails, and the claim is still given back.
    device->openResult = UsbError::None;
    device->hook = [](const platform::UsbSetup &, uint8_t *, int *) { return UsbError::Stall; };
    EXPECT_EQ(sendControlRequest(&handle, setup, buffer), -1);
    EXPECT_EQ(device->claims.size(), device->releases.size() + 2);  // the two busy/refused ones
}

TEST(ReadUSBString, TrustsOnlyTheBytesThatArrived)
{
    struct Case {
        const char *what;
        QByteArray answer;   // bytes the device sends
        UsbError error;
        std::optional<QString> expected;
    } cases[] = {
        {"plain", QByteArray("\x08\x03" "1\0.\0" "2\0", 8), UsbError::None, QStringLiteral("1.2")},
        {"empty descriptor", QByteArray("\x02\x03", 2), UsbError::None, QString()},
        {"length 0", QByteArray("\x00\x03" "A\0", 4), UsbError::None, QString()},
        {"length 1", QByteArray("\x01\x03" "A\0", 4), UsbError::None, QString()},
        {"odd length", QByteArray("\x05\x03" "A\0B\0", 6), UsbError::None, QStringLiteral("A")},
        {"wrong type", QByteArray("\x04\x02" "A\0", 4), UsbError::None, std::nullopt},
        {"short transfer", QByteArray("\x0A\x03" "A\0B\0", 6), UsbError::None, QStringLiteral("AB")},
        {"one byte", QByteArray("\x04", 1), UsbError::None, std::nullopt},
        {"nothing", QByteArray(), UsbError::None, std::nullopt},
        {"stall", QByteArray("\x04\x03" "A\0", 4), UsbError::Stall, std::nullopt},
        {"non-ASCII", QByteArray("\x06\x03\xAE\x00\xAC\x20", 6), UsbError::None,
         QString::fromUtf8("\u00AE\u20AC")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto device = std::make_shared<fake::Device>();
        device->hook = [&](const platform::UsbSetup &setup, uint8_t *data, int *transferred) {
            EXPECT_EQ(setup.bmRequestType, 0x80);
            EXPECT_EQ(setup.bRequest, 6);
            EXPECT_EQ(setup.wValue, 0x0358);
            EXPECT_EQ(setup.wIndex, 0x0409);
            EXPECT_EQ(setup.wLength, 512);
            std::memcpy(data, c.answer.constData(), size_t(c.answer.size()));
            *transferred = int(c.answer.size());
            return c.error;
        };
        const auto text = ReadUSBString(device, 0x58);
        ASSERT_EQ(text.has_value(), c.expected.has_value());
        if (text) {
            EXPECT_EQ(*text, *c.expected);
            EXPECT_FALSE(text->isNull() && !c.expected->isNull());
        }
    }
    EXPECT_FALSE(ReadUSBString(nullptr, 0x58));
}

TEST(ReadUSBString, ALongDescriptorIsReadWhole)
{
    auto device = std::make_shared<fake::Device>();
    device->hook = [](const platform::UsbSetup &, uint8_t *data, int *transferred) {
        data[0] = 254;
        data[1] = 3;
        for (int i = 2; i < 254; i += 2) {
            data[i] = 'x';
            data[i + 1] = 0;
        }
        *transferred = 254;
        return UsbError::None;
    };
    const auto text = ReadUSBString(device, 0x59);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QString(126, QLatin1Char('x')));
}
