#include "platform/linux/UsbDescriptorParser.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace platform;
using namespace platform::linuxusb;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A camera with a HID interface and a run-mode DFU interface, laid out the
// way such devices describe themselves.
const QByteArray kVideoControlBlock = bytes({
    0x0D, 0x24, 0x01, 0x00, 0x01, 0x33, 0x00, 0x80, 0x8D, 0x5B, 0x00, 0x01, 0x01,  // VC header
    0x12, 0x24, 0x02, 0x01, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x03, 0x0A, 0x02, 0x00, 0x00,                                                  // camera terminal 1
    0x0B, 0x24, 0x05, 0x02, 0x01, 0x00, 0x40, 0x02, 0x7F, 0x17, 0x00,              // processing unit 2
    0x09, 0x24, 0x03, 0x03, 0x01, 0x01, 0x00, 0x02, 0x00,                          // output terminal
});
const QByteArray kDfuFunctional = bytes({0x09, 0x21, 0x0B, 0xFF, 0x00, 0x00, 0x10, 0x10, 0x01});
const QByteArray kHidDescriptor = bytes({0x09, 0x21, 0x11, 0x01, 0x00, 0x01, 0x22, 0x30, 0x00});

QByteArray cameraConfiguration()
{
    QByteArray body;
    body += bytes({0x08, 0x0B, 0x00, 0x02, 0x0E, 0x03, 0x00, 0x00});        // IAD
    body += bytes({0x09, 0x04, 0x00, 0x00, 0x01, 0x0E, 0x01, 0x00, 0x00});  // VC interface
    body += kVideoControlBlock;
    body += bytes({0x07, 0x05, 0x81, 0x03, 0x10, 0x00, 0x06});              // interrupt endpoint
    body += bytes({0x05, 0x25, 0x03, 0x10, 0x00});                          // CS endpoint
    body += bytes({0x09, 0x04, 0x01, 0x00, 0x00, 0x0E, 0x02, 0x00, 0x00});  // VS alt 0
    body += bytes({0x09, 0x04, 0x01, 0x01, 0x01, 0x0E, 0x02, 0x00, 0x00});  // VS alt 1
    body += bytes({0x07, 0x05, 0x82, 0x05, 0x00, 0x14, 0x01});
    body += bytes({0x09, 0x04, 0x02, 0x00, 0x01, 0x03, 0x00, 0x00, 0x00});  // HID
    body += kHidDescriptor;
    body += bytes({0x07, 0x05, 0x83, 0x03, 0x40, 0x00, 0x01});
    body += bytes({0x09, 0x04, 0x03, 0x00, 0x00, 0xFE, 0x01, 0x01, 0x00});  // DFU, run mode
    body += kDfuFunctional;
    const int total = 9 + int(body.size());
    QByteArray config = bytes({0x09, 0x02, total & 0xFF, total >> 8, 0x04, 0x01, 0x00, 0x80, 0xFA});
    return config + body;
}

const QByteArray kDeviceDescriptor = bytes({0x12, 0x01, 0x00, 0x02, 0xEF, 0x02, 0x01, 0x40, 0x5C,
                                            0x1D, 0x17, 0x6E, 0x03, 0x12, 0x01, 0x02, 0x03, 0x01});

} // namespace

TEST(UsbDescriptorParser, InterfacesKeepTheirClassSpecificDescriptors)
{
    const std::vector<UsbInterfaceInfo> interfaces = parseInterfaces(cameraConfiguration());
    ASSERT_EQ(interfaces.size(), 5u);

    struct Expected { uint8_t number, alternate, cls, sub, protocol; QByteArray extra; };
    const Expected expected[] = {
        {0, 0, 0x0E, 0x01, 0x00, kVideoControlBlock},  // CS endpoint stays out
        {1, 0, 0x0E, 0x02, 0x00, {}},
        {1, 1, 0x0E, 0x02, 0x00, {}},
        {2, 0, 0x03, 0x00, 0x00, kHidDescriptor},
        {3, 0, 0xFE, 0x01, 0x01, kDfuFunctional},
    };
    for (size_t i = 0; i < interfaces.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(interfaces[i].number, expected[i].number);
        EXPECT_EQ(interfaces[i].alternateSetting, expected[i].alternate);
        EXPECT_EQ(interfaces[i].interfaceClass, expected[i].cls);
        EXPECT_EQ(interfaces[i].interfaceSubClass, expected[i].sub);
        EXPECT_EQ(interfaces[i].interfaceProtocol, expected[i].protocol);
        EXPECT_EQ(interfaces[i].extra.toHex(), expected[i].extra.toHex());
    }

    const std::optional<UsbInterfaceInfo> dfu = findInterface(interfaces, 0xFE, 0x01);
    ASSERT_TRUE(dfu);
    EXPECT_EQ(dfu->number, 3);
    EXPECT_FALSE(findInterface(interfaces, 0xFE, 0x02));

    const UvcUnitIds ids = uvcUnitIds(interfaces[0].extra);
    EXPECT_EQ(ids.cameraTerminalId, 1);
    EXPECT_EQ(ids.processingUnitId, 2);
}

TEST(UsbDescriptorParser, FirstConfigurationFollowsTheDeviceDescriptor)
{
    const QByteArray config = cameraConfiguration();
    const QByteArray second = bytes({0x09, 0x02, 0x09, 0x00, 0x00, 0x02, 0x00, 0x80, 0x32});

    std::optional<QByteArray> found = firstConfiguration(kDeviceDescriptor + config + second);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->toHex(), config.toHex());

    // A file cut short keeps what is there.
    found = firstConfiguration(kDeviceDescriptor + config.left(40));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->size(), 40);

    EXPECT_FALSE(firstConfiguration(kDeviceDescriptor));
    EXPECT_FALSE(firstConfiguration(QByteArray()));
    EXPECT_FALSE(firstConfiguration(bytes({0x00, 0x01, 0x09, 0x02})));  // zero length
}

TEST(UsbDescriptorParser, MalformedLengthsEndTheWalkWithoutOverrun)
{
    const QByteArray head = bytes({0x09, 0x02, 0x40, 0x00, 0x01, 0x01, 0x00, 0x80, 0x32,
                                   0x09, 0x04, 0x00, 0x00, 0x00, 0xFE, 0x01, 0x01, 0x00});
    const struct {
        const char *name;
        QByteArray tail;
    } cases[] = {
        {"zero length", bytes({0x00, 0x21, 0x01, 0x02})},
        {"one byte length", bytes({0x01, 0x21})},
        {"length past the end", bytes({0x20, 0x21, 0x01, 0x02})},
        {"lone byte", bytes({0x09})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<UsbInterfaceInfo> interfaces = parseInterfaces(head + c.tail);
        ASSERT_EQ(interfaces.size(), 1u);
        EXPECT_TRUE(interfaces[0].extra.isEmpty());
    }

    // Unit ids from a block with a zero-length descriptor in it.
    const UvcUnitIds ids = uvcUnitIds(bytes({0x0B, 0x24, 0x05, 0x07, 0, 0, 0, 0, 0, 0, 0,
                                             0x00, 0x24, 0x02, 0x09}));
    EXPECT_EQ(ids.processingUnitId, 7);
    EXPECT_EQ(ids.cameraTerminalId, 0);
}
