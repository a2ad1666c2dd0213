// A whole update as the parts here carry it: the update check names a
// package on the local HTTPS server, its download is cut and resumed, the
// file passes its md5 and suffix checks, and its image goes block by block to
// a simulated video bar in DFU mode, which comes back with the new version.
#include "QOVAAFSessionSingleton.h"
#include "QOVAClientNetwork.h"
#include "dfu_file.h"
#include "dfu_request.h"
#include "platform/TimeScale.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/dfu/SimDfuHandler.h"
#include "support/DfuFileMaker.h"
#include "support/DownloadHelpers.h"
#include "support/NginxServer.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace testsupport;

namespace {

platform::UsbDeviceRef waitForDevice(const char *pid, const QString &serial)
{
    const QDeadlineTimer deadline(20000);
    do {
        if (auto d = find_usb_device_interface(QStringLiteral("1d5c"), QString::fromLatin1(pid), serial))
            return d;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (!deadline.hasExpired());
    return nullptr;
}

void sleepScaled(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(platform::scaledMs(ms)));
}

TEST(UpdateFlow, CheckDownloadResumeVerifyAndFlash)
{
    if (NginxServer::nginxPath().isEmpty())
        GTEST_SKIP() << "nginx is not installed (Debian package nginx-light); "
                        "the update flow needs a local HTTPS server";
    NginxServer server;
    ASSERT_TRUE(server.start()) << qPrintable(server.why());
    QOVAAFSessionSingleton::setSslConfiguration(server.sslConfiguration());
    QDir(QOVADownloader::downloadFolder()).removeRecursively();
    QSettings().clear();

    // The package on the server and the update-check reply that names it.
    const QByteArray image = randomBytes(300 * 1024 + 123, 21);
    SuffixFields fields;
    fields.idProduct = 0x6E18;
    const QByteArray package = withSuffix(image, fields);
    ASSERT_TRUE(server.put(QStringLiteral("fw/zentaro_halvex_1.4.zip"), package));
    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash(package, QCryptographicHash::Md5).toHex().toUpper());
    const QString packageUrl = server.url(QStringLiteral("/slow/fw/zentaro_halvex_1.4.zip"));
    ASSERT_TRUE(server.put(QStringLiteral("check/orbrin.json"),
                           QJsonDocument(QJsonObject{{"version", "1.4"}, {"URL", packageUrl}, {"md5", md5}})
                               .toJson()));
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("OrvalindeApp.Config"));
    ASSERT_TRUE(writeFile(config, QJsonDocument(QJsonObject{
                                      {"ORBRIN_CONFIG_URL", server.url("/files/check/orbrin.json")}})
                                      .toJson()));
    qputenv("ORVALINDE_UPDATE_CONFIG", config.toUtf8());

    const CheckOutcome check = checkUpgrade(2);
    qunsetenv("ORVALINDE_UPDATE_CONFIG");
    ASSERT_FALSE(check.error.has_value());
    EXPECT_EQ(check.version, "1.4");
    ASSERT_EQ(check.url, packageUrl);
    EXPECT_EQ(check.md5, md5);

    // The first attempt is cut when the server dies part way.
    auto *client = QOVAClientNetwork::sharedClientNetwork();
    DownloadOutcome cut;
    bool killed = false;
    client->downloadFileFromPath(check.url, check.version, check.md5,
                                 recordProgress(cut, [&](qint64 received, qint64) {
                                     if (!killed && received >= 100 * 1024) {
                                         killed = true;
                                         server.kill();
                                     }
                                 }),
                                 recordSuccess(cut), recordFailure(cut));
    waitFor(cut.finished);
    ASSERT_TRUE(killed);
    ASSERT_FALSE(cut.ok);
    const QString path = QOVADownloader::downloadFolder() + QStringLiteral("/zentaroHalvex.zip.dfu");
    const qint64 partial = QOVADownloader::fileSizeForPath(path);
    ASSERT_GT(partial, 0);
    ASSERT_LT(partial, package.size());

    // The second resumes where the file ends and passes the md5 check.
    ASSERT_TRUE(server.restart()) << qPrintable(server.why());
    DownloadOutcome resumed;
    client->downloadFileFromPath(check.url, check.version, check.md5, recordProgress(resumed),
                                 recordSuccess(resumed), recordFailure(resumed));
    waitFor(resumed.finished);
    ASSERT_TRUE(resumed.ok) << qPrintable(resumed.error.localizedDescription);
    EXPECT_EQ(resumed.path, path);
    const auto requests = server.requestsFor(QStringLiteral("/slow/fw/zentaro_halvex_1.4.zip"), 1);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().range, QStringLiteral("bytes=%1-").arg(partial));

    // The file check.
    dfu_file file;
    file.name = path.toStdString();
    ASSERT_EQ(dfu_map_file(&file), DFU_FILE_MAPPED);
    ASSERT_EQ(dfu_parse_suffix(&file), DFU_SUFFIX_VALID);
    EXPECT_EQ(dfu_check_ids(&file, 0x6E17), DFU_SUFFIX_VALID);
    EXPECT_EQ(dfu_check_ids(&file, 0x6E12), DFU_SUFFIX_WRONG_DEVICE);
    ASSERT_EQ(file.imageSize(), image.size());

    // The flash, on a simulated video bar.
    auto bus = sim::SimBus::create();
    platform::installBackend(std::make_shared<sim::SimBackend>(bus));
    sim::SimDfuConfig c;
    c.bmAttributes = 0x0D;  // can download, manifestation tolerant, will detach
    c.wTransferSize = 4096;
    c.busyTimeMs = 10;
    c.pollTimeoutMs = 10;
    c.versionAfterUpdate = QStringLiteral("1.4");
    sim::SimDeviceConfig dc;
    dc.family = sim::Family::Orbrin;
    dc.serial = QStringLiteral("OR0001");
    dc.firmwareVersion = QStringLiteral("1.3");
    dc.dfu = sim::simDfuFunctional(c);
    auto device = bus->plug(dc);
    ASSERT_TRUE(device);
    auto handler = sim::attachSimDfu(device, c);

    auto run = find_dfu_interface(waitForDevice("6e17", "OR0001"));
    ASSERT_TRUE(run);
    const auto desc = find_dfu_functional_descriptor(*run);
    ASSERT_TRUE(desc && dfu_descriptor_can_download(*desc));
    ASSERT_EQ(dfu_detach(*run, desc->wDetachTimeOut), kDfuIoSuccess);
    dfu_release_and_close(run->device);

    auto intf = find_dfu_interface(waitForDevice("6e18", "OR0001"));
    ASSERT_TRUE(intf);
    ASSERT_EQ(usb_open_device(intf->device), kDfuIoSuccess);
    ASSERT_EQ(usb_open_interface(*intf), kDfuIoSuccess);
    const uint16_t blockSize = dfu_block_size(*find_dfu_functional_descriptor(*intf));
    int64_t sent = 0;
    uint16_t block = 0;
    dfu_status st;
    while (sent < file.imageSize()) {
        const auto length = uint16_t(std::min<int64_t>(blockSize, file.imageSize() - sent));
        ASSERT_EQ(dfu_download(*intf, length, block++, file.image() + sent), kDfuIoSuccess);
        sent += length;
        do {
            ASSERT_EQ(dfu_get_status(*intf, &st), kDfuIoSuccess);
            if (st.bState == DFU_STATE_DFU_DNBUSY)
                sleepScaled(st.bwPollTimeout);
        } while (st.bState == DFU_STATE_DFU_DNBUSY);
        ASSERT_EQ(st.bState, DFU_STATE_DFU_DNLOAD_IDLE);
    }
    ASSERT_EQ(dfu_download(*intf, 0, block, nullptr), kDfuIoSuccess);
    do {
        ASSERT_EQ(dfu_get_status(*intf, &st), kDfuIoSuccess);
        if (st.bState == DFU_STATE_DFU_MANIFEST)
            sleepScaled(st.bwPollTimeout);
    } while (st.bState == DFU_STATE_DFU_MANIFEST || st.bState == DFU_STATE_DFU_MANIFEST_SYNC);
    EXPECT_EQ(st.bState, DFU_STATE_DFU_IDLE);
    EXPECT_EQ(st.bStatus, DFU_STATUS_OK);

    ASSERT_TRUE(waitForDevice("6e17", "OR0001"));
    EXPECT_EQ(device->firmwareVersion(), "1.4");
    EXPECT_EQ(handler->installedImage(), image);
    EXPECT_EQ(handler->blocks().size(), size_t((image.size() + 4095) / 4096 + 1));

    dfu_unmap_file(&file);
    platform::installBackend(std::shared_ptr<platform::Backend>());
    QOVAAFSessionSingleton::setSslConfiguration(QSslConfiguration::defaultConfiguration());
}

} // namespace
