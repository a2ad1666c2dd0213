// Flashing through the request facade on the simulated bus, for each family:
// the device listed in run mode is detached, comes back in DFU mode under the
// same serial (its entry stays), takes the image and comes back in run mode
// with the new firmware version; the entry is no longer marked updating.
#include "QOVABaseUSBDevice.h"
#include "QOVAIOManager.h"
#include "QOVAUpgradeManager.h"
#include "UpgraderSupport.h"

using namespace upgradertest;

namespace {

class FlashThroughDeviceListTest : public SimBusFixture {
protected:
    void SetUp() override
    {
        SimBusFixture::SetUp();
        QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
        manager = std::make_unique<QOVAIOManager>();
    }
    void TearDown() override
    {
        manager.reset();
        QOVAUpgradeManager::setSharedUpgradeManager(nullptr);
        QCoreApplication::processEvents();
        SimBusFixture::TearDown();
    }

    QOVADeviceModelRef listedModel(const QString &serial)
    {
        const QOVABaseUSBDeviceRef device = manager->findDevice(serial);
        return device ? device->model() : nullptr;
    }

    std::unique_ptr<QOVAIOManager> manager;
};

} // namespace

TEST_F(FlashThroughDeviceListTest, EachFamilyIsFlashedAndComesBackWithItsNewVersion)
{
    struct Case {
        sim::Family family;
        QString usbSerial;
        QString listedSerial;
        uint8_t attributes;
        QString newVersion;
    } cases[] = {
        {sim::Family::Orbrin, QStringLiteral("OR100"), QStringLiteral("OR100"), 0x09, QStringLiteral("1.4")},
        {sim::Family::Vasko, QStringLiteral("VK200.03"), QStringLiteral("VK200"), 0x0D, QStringLiteral("V1.3")},
        {sim::Family::Pirok, QStringLiteral("PK300"), QStringLiteral("PK300"), 0x05, QStringLiteral("1.0.5")},
    };
    const QByteArray image = testsupport::randomBytes(6000, 11);
    const QString path = writeDfuFile(QStringLiteral("fw.dfu"), image);

    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.listedSerial));
        sim::SimDfuConfig config = dfuConfig(c.attributes);
        config.versionAfterUpdate = c.newVersion;
        const Plugged p = plug(c.family, c.usbSerial, config);
        ASSERT_TRUE(waitUntil([&] { return listedModel(c.listedSerial) != nullptr; }));
        const QOVADeviceModelRef before = listedModel(c.listedSerial);
        const QString versionBefore = before->productVersion();

        JobRecorder job;
        manager->usbDeviceUpdate(
            c.listedSerial, path, true, [&job](double v) { job.progress(v); },
            [&job](const QString &t) { job.success(t); }, [&job](const QOVAError &e) { job.failed(e); });
        EXPECT_TRUE(before->isUpdate());

        // While in DFU mode the entry stays, with a model of the DFU-mode
        // device under the same serial.
        EXPECT_TRUE(waitUntil([&] {
            const QOVADeviceModelRef m = listedModel(c.listedSerial);
            return (m && m->isDfuDevice()) || job.outcomes() > 0;
        }));

        ASSERT_TRUE(job.waitForOutcome());
        ASSERT_EQ(job.successes().size(), 1u);
        EXPECT_TRUE(job.failures().empty());
        EXPECT_FALSE(job.progress().empty());
        EXPECT_EQ(p.handler->installedImage(), image);

        // Back in run mode, listed with the new version, not updating.
        EXPECT_TRUE(waitUntil([&] {
            const QOVADeviceModelRef m = listedModel(c.listedSerial);
            return m && !m->isDfuDevice() && m->productVersion() != versionBefore;
        }));
        const QOVADeviceModelRef after = listedModel(c.listedSerial);
        ASSERT_TRUE(after);
        EXPECT_FALSE(after->isUpdate());
        EXPECT_EQ(p.device->firmwareVersion(), c.newVersion);
        EXPECT_EQ(job.outcomes(), 1);
    }
}
