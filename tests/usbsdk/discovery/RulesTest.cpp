// The discovery rules and the device factory.

#include "QOVABaseUSBDevice.h"
#include "QOVADeviceFactory.h"
#include "QOVAIOManager.h"
#include "QOVAOrbrinDevice.h"
#include "QOVASkarnfelDevice.h"
#include "QOVAVaskoDevice.h"
#include "discovery/QOVADiscoveryRules.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace qova::discovery;

TEST(DiscoveryRules, VersionNumberBecomesMajorZeroMinor)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        {"1203", "12.0.3"}, {"105", "1.0.5"}, {"0100", "1.0.0"}, {"9", "0.0.0"},
        {"", "0.0.0"},      {"12345", "0.0.0"}, {"1a03", "1.0.3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QOVAIOManager::formatProductVersion(c.in), QLatin1String(c.out)) << c.in;
}

TEST(DiscoveryRules, OnlyTheVaskoSerialIsCutAtItsFirstDot)
{
    EXPECT_EQ(cutSerialNumber("6e12", "ABC.1"), "ABC");
    EXPECT_EQ(cutSerialNumber("6e13", "ABC.1.2"), "ABC");
    EXPECT_EQ(cutSerialNumber("6e12", "ABC"), "ABC");
    EXPECT_EQ(cutSerialNumber("6e17", "ABC.1"), "ABC.1");
    EXPECT_EQ(cutSerialNumber("5c02", "ABC.1"), "ABC.1");
}

TEST(DiscoveryRules, IdTextsAndDfuNames)
{
    EXPECT_EQ(hexText(0x6E17, 4), "6e17");
    EXPECT_EQ(hexText(0x0C, 4), "000c");
    EXPECT_EQ(hexText(0xFF00), "ff00");
    EXPECT_EQ(hexText(0), "0");
    EXPECT_EQ(removeDfuSuffix("Zentaro Halvex DFU"), "Zentaro Halvex");
    EXPECT_EQ(removeDfuSuffix("A DFU B DFU"), "A B");
    EXPECT_EQ(removeDfuSuffix("DFU mini"), "DFU mini");
}

TEST(DeviceFactory, ProductIdPicksTheFamily)
{
    const struct {
        const char *productId;
        const std::type_info *family;
    } cases[] = {
        {"6e17", &typeid(QOVAOrbrinDevice)},   {"6e18", &typeid(QOVAOrbrinDevice)},
        {"5c01", &typeid(QOVASkarnfelDevice)}, {"5c02", &typeid(QOVASkarnfelDevice)},
        {"6e12", &typeid(QOVAVaskoDevice)},    {"6e13", &typeid(QOVAVaskoDevice)},
        {"6E17", nullptr},                     {"1234", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        auto model = std::make_shared<QOVADeviceModel>();
        model->setProductPID(c.productId);
        model->setDfuDevice(true);  // no channels to set up
        const QOVABaseUSBDeviceRef device = QOVADeviceFactory::createFactoryDevice(c.productId, model);
        if (!c.family) {
            EXPECT_EQ(device, nullptr) << c.productId;
            continue;
        }
        ASSERT_NE(device, nullptr) << c.productId;
        EXPECT_EQ(typeid(*device), *c.family) << c.productId;
        EXPECT_EQ(device->model(), model);
    }
}
