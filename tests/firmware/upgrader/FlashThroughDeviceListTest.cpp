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

    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.listedSerial));
        // Each family's file names its DFU-mode product id.
        testsupport::SuffixFields fields;
        fields.idProduct = QString::fromLatin1(dfuPid(c.family)).toUShort(nullptr, 16);
        const QString path = writeDfuFile(c.listedSerial + QStringLiteral(".dfu"), image, fields);
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

// The ids in a file's suffix must fit the device it is flashed into: a file
// for a foreign vendor, another family or another device fails as an invalid
// file does, before the device sees any request, also when the file is
// already being flashed into another device. The wildcard and the device's
// own run-mode and DFU-mode ids are flashed.
TEST_F(FlashThroughDeviceListTest, FileMadeForAnotherDeviceIsRefusedBeforeAnyRequest)
{
    struct Case {
        const char *name;
        uint16_t vendor;
        uint16_t product;
        bool flashed;
    } cases[] = {
        {"foreign vendor", 0x0483, 0x6E18, false},
        {"foreign vendor, wildcard product", 0x0483, 0xFFFF, false},
        {"network camera in DFU mode", 0x1D5C, 0x6E13, false},
        {"small camera", 0x1D5C, 0x5C01, false},
        {"another device", 0x1D5C, 0x6E20, false},
        {"wildcard", 0xFFFF, 0xFFFF, true},
        {"own run-mode id", 0x1D5C, 0x6E17, true},
        {"own DFU-mode id", 0x1D5C, 0x6E18, true},
    };
    const QByteArray image = testsupport::randomBytes(3000, 12);
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serial = QStringLiteral("OR%1").arg(++n);
        const Plugged p = plug(sim::Family::Orbrin, serial, dfuConfig());
        ASSERT_TRUE(waitUntil([&] { return listedModel(serial) != nullptr; }));
        testsupport::SuffixFields fields;
        fields.idVendor = c.vendor;
        fields.idProduct = c.product;
        const QString path = writeDfuFile(serial + QStringLiteral(".dfu"), image, fields);

        JobRecorder job;
        manager->usbDeviceUpdate(
            serial, path, true, {}, [&job](const QString &t) { job.success(t); },
            [&job](const QOVAError &e) { job.failed(e); });
        ASSERT_TRUE(job.waitForOutcome());
        if (c.flashed) {
            EXPECT_EQ(job.successes().size(), 1u);
            EXPECT_EQ(p.handler->installedImage(), image);
            continue;
        }
        ASSERT_EQ(job.failures().size(), 1u);
        EXPECT_EQ(job.failures().front().code(), 0);
        EXPECT_EQ(job.failures().front().localizedDescription(),
                  QOVAUpgradeManager::getUpgradeError().localizedDescription());
        EXPECT_TRUE(p.handler->requests().empty());
        EXPECT_EQ(p.device->mode(), sim::Mode::Run);
        EXPECT_FALSE(listedModel(serial)->isUpdate());
    }

    // A network camera queued for a video-bar file that is being flashed.
    const Plugged bar = plug(sim::Family::Orbrin, QStringLiteral("ORJ"), dfuConfig());
    const Plugged camera = plug(sim::Family::Vasko, QStringLiteral("VKJ.01"), dfuConfig());
    ASSERT_TRUE(waitUntil([&] { return listedModel("ORJ") && listedModel("VKJ"); }));
    const QString path = writeDfuFile(QStringLiteral("bar.dfu"), image);
    JobRecorder barJob, cameraJob;
    manager->usbDeviceUpdate(
        "ORJ", path, true, {}, [&barJob](const QString &t) { barJob.success(t); },
        [&barJob](const QOVAError &e) { barJob.failed(e); });
    const auto upgrades = QOVAUpgradeManager::sharedUpgradeManager();
    ASSERT_TRUE(waitUntil([&] { return upgrades->upgradingJobs() == 1; }));
    manager->usbDeviceUpdate(
        "VKJ", path, true, {}, [&cameraJob](const QString &t) { cameraJob.success(t); },
        [&cameraJob](const QOVAError &e) { cameraJob.failed(e); });
    ASSERT_TRUE(cameraJob.waitForOutcome());
    EXPECT_EQ(cameraJob.failures().size(), 1u);
    EXPECT_TRUE(camera.handler->requests().empty());
    ASSERT_TRUE(barJob.waitForOutcome());
    EXPECT_EQ(barJob.successes().size(), 1u);
    EXPECT_EQ(bar.handler->installedImage(), image);
}
