// The upgrade manager: one suffix check per file shared by the devices that
// wait for it, one mapping per file released by its last user, every job
// told its outcome once, corrupt packages deleted and local files kept.
#include "QOVADownloader.h"
#include "QOVAUpgradeManager.h"
#include "UpgraderSupport.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


using namespace upgradertest;

namespace {

class UpgradeManagerTest : public SimBusFixture {
protected:
    void SetUp() override
    {
        SimBusFixture::SetUp();
        manager = std::make_shared<QOVAUpgradeManager>();
    }
    void TearDown() override
    {
        manager.reset();
        SimBusFixture::TearDown();
    }

    struct Device {
        Plugged plugged;
        QOVADeviceModelRef model;
        std::unique_ptr<JobRecorder> job = std::make_unique<JobRecorder>();
    };

    Device device(const QString &serial, const sim::SimDfuConfig &config)
    {
        Device d;
        d.plugged = plug(sim::Family::Orbrin, serial, config);
        d.model = modelFor(sim::Family::Orbrin, serial);
        return d;
    }

    void upgrade(Device &d, const QString &path, std::function<void(int)> onStatus = {})
    {
        JobRecorder *job = d.job.get();
        manager->upgradeDevice(
            d.model, path, [job](double v) { job->progress(v); },
            [job](const QString &t) { job->success(t); }, [job](const QOVAError &e) { job->failed(e); },
            [job, onStatus](int s) {
                job->status(s);
                if (onStatus)
                    onStatus(s);
            });
    }

    std::shared_ptr<QOVAUpgradeManager> manager;
};

} // namespace

// Two devices queued for a new file wait for one check and then flash from
// one mapping; a third that comes while they are flashing joins at once. One
// of them losing its device mid-download does not release the mapping under
// the others, which is released when the last of them has ended.
TEST_F(UpgradeManagerTest, DevicesOfOneFileShareOneCheckAndOneMapping)
{
    const QByteArray image = testsupport::randomBytes(20000, 5);
    const QString path = writeDfuFile(QStringLiteral("shared.dfu"), image);
    Device a = device(QStringLiteral("ORA"), dfuConfig(0x0D));
    sim::SimDfuConfig lost = dfuConfig(0x0D);
    lost.unplugAfterBlocks = 2;
    Device b = device(QStringLiteral("ORB"), lost);
    Device c = device(QStringLiteral("ORC"), dfuConfig(0x09));

    std::mutex mutex;
    int maxMapped = 0;
    auto noteMapped = [&](int) {
        std::lock_guard<std::mutex> lock(mutex);
        maxMapped = std::max(maxMapped, manager->mappedFiles());
    };
    // The second waits for the first one's check, or joins its mapping
    // when the check is already done.
    upgrade(a, path, noteMapped);
    upgrade(b, path, noteMapped);
    // The third comes while the first is in DFU mode, taking the image.
    ASSERT_TRUE(waitUntil([&] {
        const auto s = a.job->statuses();
        return std::find(s.begin(), s.end(), 4) != s.end() || a.job->outcomes() > 0;
    }));
    ASSERT_EQ(a.job->outcomes(), 0);
    upgrade(c, path, noteMapped);

    ASSERT_TRUE(a.job->waitForOutcome());
    ASSERT_TRUE(b.job->waitForOutcome());
    ASSERT_TRUE(c.job->waitForOutcome());
    EXPECT_EQ(a.job->successes().size(), 1u);
    EXPECT_EQ(c.job->successes().size(), 1u);
    ASSERT_EQ(b.job->failures().size(), 1u);
    EXPECT_EQ(b.job->failures().front().code(), 2);
    EXPECT_EQ(a.plugged.handler->installedImage(), image);
    EXPECT_EQ(c.plugged.handler->installedImage(), image);

    EXPECT_EQ(manager->fileChecks(), 1);
    EXPECT_EQ(maxMapped, 1);
    EXPECT_TRUE(waitUntil([&] { return manager->upgradingJobs() == 0; }));
    EXPECT_EQ(manager->mappedFiles(), 0);
    EXPECT_EQ(manager->waitingJobs(), 0);
}

// A file that fails its check fails every device that waited for it, each
// exactly once, and no device is sent a DFU request. The file here is a pipe
// whose check cannot end before the test opens its other side, so all three
// devices are queued while it runs.
TEST_F(UpgradeManagerTest, FileFailingItsCheckFailsEveryWaitingDeviceOnce)
{
    const QString path = dir.filePath(QStringLiteral("pipe.dfu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::vector<Device> devices;
    for (int i = 0; i < 3; ++i)
        devices.push_back(device(QStringLiteral("OR%1").arg(i), dfuConfig()));
    for (Device &d : devices)
        upgrade(d, path);
    EXPECT_EQ(manager->fileChecks(), 1);
    EXPECT_EQ(manager->waitingJobs(), 3);

    // An empty stream: opened, but nothing to map.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ::close(fd);

    for (Device &d : devices) {
        ASSERT_TRUE(d.job->waitForOutcome());
        ASSERT_EQ(d.job->failures().size(), 1u);
        EXPECT_EQ(d.job->failures().front().code(), 0);
        EXPECT_TRUE(d.job->statuses().empty());
        EXPECT_TRUE(d.plugged.handler->requests().empty());
    }
    EXPECT_EQ(manager->waitingJobs(), 0);
    EXPECT_EQ(manager->mappedFiles(), 0);
    for (Device &d : devices)
        EXPECT_EQ(d.job->outcomes(), 1);
}

// Files the check rejects: each device queued for one gets one failure.
TEST_F(UpgradeManagerTest, RejectedFilesFailTheirDevices)
{
    testsupport::SuffixFields badSignature;
    badSignature.signature = "DFU";
    const QString bad = dir.filePath(QStringLiteral("bad.dfu"));
    ASSERT_TRUE(testsupport::writeFile(bad, testsupport::withSuffix(testsupport::randomBytes(3000), badSignature)));
    const QString empty = dir.filePath(QStringLiteral("empty.dfu"));
    ASSERT_TRUE(testsupport::writeFile(empty, QByteArray()));
    const QString missing = dir.filePath(QStringLiteral("none.dfu"));

    int n = 0;
    for (const QString &path : {bad, empty, missing}) {
        SCOPED_TRACE(qPrintable(path));
        std::vector<Device> devices;
        for (int i = 0; i < 2; ++i) {
            devices.push_back(device(QStringLiteral("OR%1").arg(n++), dfuConfig()));
            upgrade(devices.back(), path);
        }
        for (Device &d : devices) {
            ASSERT_TRUE(d.job->waitForOutcome());
            ASSERT_EQ(d.job->failures().size(), 1u);
            EXPECT_EQ(d.job->failures().front().code(), 0);
            EXPECT_TRUE(d.plugged.handler->requests().empty());
        }
    }
    EXPECT_TRUE(waitUntil([&] { return manager->waitingJobs() == 0; }));
    EXPECT_EQ(manager->mappedFiles(), 0);
}

// A device that reports its new firmware corrupt: the downloaded package is
// deleted, a file the user chose stays where it is.
TEST_F(UpgradeManagerTest, CorruptFirmwareDeletesADownloadedPackageOnly)
{
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    ASSERT_TRUE(QDir().mkpath(QOVADownloader::downloadFolder()));
    const QByteArray bytes = testsupport::withSuffix(testsupport::randomBytes(4000, 2));
    const QString downloaded = QOVADownloader::downloadFolder() + QStringLiteral("/package.dfu");
    const QString local = dir.filePath(QStringLiteral("chosen.dfu"));
    ASSERT_TRUE(testsupport::writeFile(downloaded, bytes));
    ASSERT_TRUE(testsupport::writeFile(local, bytes));

    sim::SimDfuConfig corrupt = dfuConfig(0x0D);
    corrupt.errFirmware = true;
    struct Case {
        QString path;
        bool deleted;
    } cases[] = {{downloaded, true}, {local, false}};
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        Device d = device(QStringLiteral("ORX%1").arg(n++), corrupt);
        upgrade(d, c.path);
        ASSERT_TRUE(d.job->waitForOutcome());
        ASSERT_EQ(d.job->failures().size(), 1u);
        EXPECT_EQ(d.job->failures().front().code(), 1);
        EXPECT_EQ(QFile::exists(c.path), !c.deleted);
        EXPECT_TRUE(waitUntil([&] { return manager->upgradingJobs() == 0; }));
        EXPECT_EQ(manager->mappedFiles(), 0);
    }
}

// Nothing to flash: the failure comes at once, on the caller's thread.
TEST_F(UpgradeManagerTest, NoPathOrNoDeviceFailsAtOnce)
{
    const QString path = writeDfuFile(QStringLiteral("fw.dfu"), testsupport::randomBytes(100));
    Device present = device(QStringLiteral("OR1"), dfuConfig());
    Device absent;
    absent.model = modelFor(sim::Family::Orbrin, QStringLiteral("gone"));
    struct Case {
        Device *device;
        QString path;
    } cases[] = {{&present, QString()}, {&absent, path}};
    for (const Case &c : cases) {
        c.device->job->reset();
        upgrade(*c.device, c.path);
        ASSERT_EQ(c.device->job->failures().size(), 1u);
        EXPECT_EQ(c.device->job->failures().front().code(), 0);
        EXPECT_EQ(c.device->job->failures().front().localizedDescription(),
                  QStringLiteral("STRING_UPDATE_FAILED"));
    }
    EXPECT_EQ(manager->fileChecks(), 0);
}
