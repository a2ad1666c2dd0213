// The update check and the resumable downloader against a local nginx over
// HTTPS, and the downloader's local bookkeeping.
#include "QOVAAFSessionSingleton.h"
#include "QOVAClientNetwork.h"
#include "QOVADownloader.h"
#include "support/DfuFileMaker.h"
#include "support/DownloadHelpers.h"
#include "support/NginxServer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSslCertificate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QString md5Of(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString destinationOf(const QString &name)
{
    return QOVADownloader::downloadFolder() + QLatin1Char('/') + name;
}

void storeKeys(const QString &address, std::optional<qint64> size, std::optional<QString> version)
{
    QSettings settings;
    if (size)
        settings.setValue(QOVADownloader::sizeKey(address), *size);
    if (version)
        settings.setValue(QOVADownloader::versionKey(address), *version);
}

QVariant storedSize(const QString &address)
{
    return QSettings().value(QOVADownloader::sizeKey(address));
}
QVariant storedVersion(const QString &address)
{
    return QSettings().value(QOVADownloader::versionKey(address));
}

void resetState()
{
    QDir(QOVADownloader::downloadFolder()).removeRecursively();
    QDir().mkpath(QOVADownloader::downloadFolder());
    QSettings().clear();
    QSettings().sync();
}

// --- Without a server ----------------------------------------------------------

TEST(DownloaderFileName, FromTheAddress)
{
    struct Case {
        const char *address;
        const char *name;
    } cases[] = {
        {"https://u.example/fw/pkg_1.2.dfu", "pkg_1.2.dfu"},
        {"https://u.example/fw/pkg.dfu?token=a/b&x=1#frag", "pkg.dfu"},
        {"https://u.example/fw/my%20package%C2%AE.dfu", "my package®.dfu"},
        {"https://u.example/fw/zentaro_halvex_v1.4.zip", "zentaroHalvex.zip.dfu"},
        {"https://u.example/fw/Zentaro_Halvex_v1.4.zip", "Zentaro_Halvex_v1.4.zip"},
        {"https://u.example/fw/Skarnfel_Tolm_V1.3.dfu", "zentaroVasko.dfu"},
        {"https://u.example/fw/skarnfel_tolm.dfu", "skarnfel_tolm.dfu"},
        {"https://u.example/fw/", ""},
        {"https://u.example", ""},
        {"https://u.example/fw/%2E%2E", ""},
        {"https://u.example/fw/..", ""},
        {"https://u.example/fw/.", ""},
        {"https://u.example/fw/a%2Fb.dfu", ""},
        {"https://u.example/fw/a%00b.dfu", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QOVADownloader::getFileName(QString::fromUtf8(c.address)), QString::fromUtf8(c.name))
            << c.address;
}

TEST(DownloaderKeys, AddressSlashesMakeNoGroups)
{
    const QString a = QStringLiteral("https://u.example/fw/a.dfu");
    const QString b = QStringLiteral("https://u.example/fw\\a.dfu");
    storeKeys(a, 10, QStringLiteral("1.0"));
    storeKeys(b, 20, QStringLiteral("2.0"));
    QSettings settings;
    EXPECT_TRUE(settings.childGroups().isEmpty());
    EXPECT_EQ(storedSize(a).toLongLong(), 10);
    EXPECT_EQ(storedSize(b).toLongLong(), 20);
    EXPECT_EQ(storedVersion(a).toString(), "1.0");
    settings.clear();
}

TEST(DownloaderLocalFile, CheckTable)
{
    resetState();
    const QString address = QStringLiteral("https://u.example/fw/table.dfu");
    const QString path = destinationOf(QStringLiteral("table.dfu"));
    struct Case {
        const char *name;
        std::optional<qint64> size;
        std::optional<QString> version;
        qint64 fileBytes;  // -1: no file
        int expected;
        bool fileKept;
    } cases[] = {
        {"complete", 4000, QStringLiteral("1.4"), 4000, QOVADownloader::LocalFileComplete, true},
        {"partial", 4000, QStringLiteral("1.4"), 1000, QOVADownloader::LocalFilePartial, true},
        {"empty file", 4000, QStringLiteral("1.4"), 0, QOVADownloader::LocalFilePartial, true},
        {"larger than stored", 4000, QStringLiteral("1.4"), 4001, QOVADownloader::LocalFileNone, false},
        {"other version, complete", 4000, QStringLiteral("1.3"), 4000, QOVADownloader::LocalFileNone, false},
        {"other version, partial", 4000, QStringLiteral("1.3"), 100, QOVADownloader::LocalFileNone, false},
        {"no size key", std::nullopt, QStringLiteral("1.4"), 4000, QOVADownloader::LocalFileNone, false},
        {"no version key", 4000, std::nullopt, 4000, QOVADownloader::LocalFileNone, false},
        {"no file", 4000, QStringLiteral("1.4"), -1, QOVADownloader::LocalFileNone, false},
    };
    for (const auto &c : cases) {
        QSettings().clear();
        QFile::remove(path);
        storeKeys(address, c.size, c.version);
        if (c.fileBytes >= 0) {
            ASSERT_TRUE(writeFile(path, QByteArray(c.fileBytes, 'x')));
        }

        QOVADownloader d;
        d.setTargetVersion(QStringLiteral("1.4"));
        d.setSourcePath(address);
        d.setDestinationPath(path);
        EXPECT_EQ(d.checkLocalFile(), c.expected) << c.name;
        EXPECT_EQ(QFileInfo::exists(path), c.fileKept) << c.name;
    }
    QSettings().clear();
}

// --- Against nginx ---------------------------------------------------------------

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (NginxServer::nginxPath().isEmpty())
            GTEST_SKIP() << "nginx is not installed (Debian package nginx-light); "
                            "the download tests need a local HTTPS server";
        ASSERT_TRUE(server.start()) << qPrintable(server.why());
        QOVAAFSessionSingleton::setSslConfiguration(server.sslConfiguration());
        resetState();
        package = randomBytes(4000, 42);
        ASSERT_TRUE(server.put(QStringLiteral("pkg.dfu"), package));
    }
    void TearDown() override
    {
        qunsetenv("ORVALINDE_UPDATE_CONFIG");
        QOVAAFSessionSingleton::setSslConfiguration(QSslConfiguration::defaultConfiguration());
    }

    QString address(const QString &location = QStringLiteral("/files/"),
                    const QString &name = QStringLiteral("pkg.dfu")) const
    {
        return server.url(location + name);
    }
    QString destination() const { return destinationOf(QStringLiteral("pkg.dfu")); }

    NginxServer server;
    QByteArray package;
};

TEST_F(DownloadTest, UpdateCheckReplies)
{
    const QString check = QStringLiteral("/files/check/");
    ASSERT_TRUE(server.put("check/full.json",
                           R"({"version":"1.4","URL":"https://u.example/p.dfu","md5":"0123456789abcdef0123456789ABCDEF","other":1})"));
    ASSERT_TRUE(server.put("check/nomd5.json", R"({"version":"V1.3","URL":"https://u.example/v.dfu"})"));
    ASSERT_TRUE(server.put("check/notjson.json", "<html>no</html>"));
    ASSERT_TRUE(server.put("check/array.json", "[1,2,3]"));
    ASSERT_TRUE(server.put("check/number.json", R"({"version":14,"URL":"https://u.example/n.dfu"})"));
    ASSERT_TRUE(server.put("check/remote.json", R"({"version":"7","URL":"https://u.example/r.bin"})"));
    ASSERT_TRUE(server.put("check/emptyversion.json", R"({"version":" ","URL":"https://u.example/e.dfu"})"));
    ASSERT_TRUE(server.put("check/nourl.json", R"({"version":"1.5","URL":""})"));

    QTemporaryDir dir;
    auto useConfig = [&](const QJsonObject &config) {
        const QString path = dir.filePath(QStringLiteral("OrvalindeApp.Config"));
        ASSERT_TRUE(writeFile(path, QJsonDocument(config).toJson()));
        qputenv("ORVALINDE_UPDATE_CONFIG", path.toUtf8());
    };
    struct Case {
        const char *file;
        bool error;
        const char *version, *url, *md5;  // nullptr: missing
    } cases[] = {
        {"full.json", false, "1.4", "https://u.example/p.dfu", "0123456789abcdef0123456789ABCDEF"},
        {"nomd5.json", false, "V1.3", "https://u.example/v.dfu", nullptr},
        // Without a version and a package address there is nothing to offer.
        {"notjson.json", true, nullptr, nullptr, nullptr},
        {"array.json", true, nullptr, nullptr, nullptr},
        {"number.json", true, nullptr, nullptr, nullptr},
        {"emptyversion.json", true, nullptr, nullptr, nullptr},
        {"nourl.json", true, nullptr, nullptr, nullptr},
        {"missing.json", true, nullptr, nullptr, nullptr},
    };
    for (const auto &c : cases) {
        useConfig({{"ORBRIN_CONFIG_URL", server.url(check + QLatin1String(c.file))}});
        const CheckOutcome o = checkUpgrade(2);
        ASSERT_TRUE(o.finished) << c.file;
        EXPECT_EQ(o.error.has_value(), c.error) << c.file;
        auto expectText = [&](const QString &got, const char *want, const char *what) {
            if (want)
                EXPECT_EQ(got, QString::fromUtf8(want)) << c.file << " " << what;
            else
                EXPECT_TRUE(got.isNull()) << c.file << " " << what << " = " << qPrintable(got);
        };
        expectText(o.version, c.version, "version");
        expectText(o.url, c.url, "URL");
        expectText(o.md5, c.md5, "md5");
    }
    EXPECT_EQ(checkUpgrade(2).error->httpStatus, 404);

    // Each family type asks its own address; others and missing keys ask none.
    useConfig({{"PIROK_CONFIG_URL", server.url(check + "nomd5.json")},
               {"ORBRIN_CONFIG_URL", server.url(check + "full.json")},
               {"ORBRIN_REMOTECONTROLLER_CONFIG_URL", server.url(check + "remote.json")}});
    EXPECT_EQ(checkUpgrade(1).version, "V1.3");
    EXPECT_EQ(checkUpgrade(2).version, "1.4");
    EXPECT_EQ(checkUpgrade(3).version, "7");
    for (int type : {0, 4, 5}) {
        const CheckOutcome o = checkUpgrade(type);
        EXPECT_TRUE(o.error.has_value()) << type;
        EXPECT_TRUE(o.version.isNull() && o.url.isNull() && o.md5.isNull()) << type;
    }
}

// An update-check reply larger than any real one fails the check as soon as
// its length, announced or received, passes the cap: the reply is not read,
// so the server gets to send only a part of it.
TEST_F(DownloadTest, OversizedCheckRepliesFailUnread)
{
    const qint64 size = 64 * 1024 * 1024;
    QByteArray huge(size, ' ');
    huge[0] = '{';
    ASSERT_TRUE(server.put(QStringLiteral("check/huge.json"), huge));
    huge.clear();
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("OrvalindeApp.Config"));
    const struct {
        const char *name;
        const char *uri;
    } cases[] = {{"announced length", "/files/check/huge.json"}, {"no length", "/chunked/check/huge.json"}};
    for (const auto &c : cases) {
        ASSERT_TRUE(writeFile(config, QJsonDocument(QJsonObject{{"PIROK_CONFIG_URL", server.url(QLatin1String(c.uri))}})
                                          .toJson()));
        qputenv("ORVALINDE_UPDATE_CONFIG", config.toUtf8());
        const CheckOutcome o = checkUpgrade(1);
        ASSERT_TRUE(o.finished) << c.name;
        ASSERT_TRUE(o.error.has_value()) << c.name;
        EXPECT_EQ(o.error->code, QOVANetworkError::ReplyTooLarge) << c.name;
        const auto sent = server.requestsFor(QLatin1String(c.uri), 1);
        ASSERT_EQ(sent.size(), 1u) << c.name;
        EXPECT_LT(sent.front().bytesSent, size / 2) << c.name;
    }
}

// The downloader discards a package it wrote together with its bookkeeping,
// never a file outside its folder, and never a file that a download is
// writing at that moment.
TEST_F(DownloadTest, DiscardTakesThePackageAndItsKeysButNotAFileBeingWritten)
{
    const QString addr = address();
    ASSERT_TRUE(download(addr).ok);
    ASSERT_TRUE(storedSize(addr).isValid());
    EXPECT_TRUE(QOVADownloader::discardDownloadedFile(destination()));
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_FALSE(storedSize(addr).isValid());
    EXPECT_FALSE(storedVersion(addr).isValid());

    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath(QStringLiteral("pkg.dfu"));
    ASSERT_TRUE(writeFile(chosen, package));
    EXPECT_FALSE(QOVADownloader::discardDownloadedFile(chosen));
    EXPECT_TRUE(QFileInfo::exists(chosen));

    const QByteArray big = randomBytes(600 * 1024, 9);
    ASSERT_TRUE(server.put(QStringLiteral("big.dfu"), big));
    const QString slow = address(QStringLiteral("/slow/"), QStringLiteral("big.dfu"));
    const QString file = destinationOf(QStringLiteral("big.dfu"));
    DownloadOutcome o;
    QOVADownloader d;
    d.setTargetVersion(QStringLiteral("1.4"));
    bool tried = false;
    bool discarded = true;
    d.downloadFileFromPath(slow, recordProgress(o, [&](qint64 received, qint64) {
                               if (!tried && received > 0) {
                                   tried = true;
                                   discarded = QOVADownloader::discardDownloadedFile(file);
                               }
                           }),
                           recordSuccess(o), recordFailure(o));
    waitFor(o.finished);
    EXPECT_TRUE(tried);
    EXPECT_FALSE(discarded);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(readFile(file), big);
    EXPECT_EQ(storedSize(slow).toLongLong(), big.size());
}

TEST_F(DownloadTest, TlsVerificationStaysOn)
{
    ASSERT_TRUE(server.put("check/full.json", R"({"version":"1.4","URL":"https://u.example/p.dfu"})"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c"));
    ASSERT_TRUE(writeFile(path, QJsonDocument(QJsonObject{{"ORBRIN_CONFIG_URL",
                                                           server.url("/files/check/full.json")}})
                                    .toJson()));
    qputenv("ORVALINDE_UPDATE_CONFIG", path.toUtf8());
    EXPECT_EQ(checkUpgrade(2).version, "1.4");

    // Without our authority the server's certificate is not trusted.
    QOVAAFSessionSingleton::setSslConfiguration(QSslConfiguration::defaultConfiguration());
    const CheckOutcome o = checkUpgrade(2);
    ASSERT_TRUE(o.error.has_value());
    EXPECT_EQ(o.error->code, QNetworkReply::SslHandshakeFailedError);
    EXPECT_TRUE(o.version.isNull());
    const DownloadOutcome d = download(address());
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.error.code, QNetworkReply::SslHandshakeFailedError);
    EXPECT_FALSE(QFileInfo::exists(destination()));

    // The update configuration can name the server's authority: trusted
    // besides the system's, with verification still on.
    const QString ca = dir.filePath(QStringLiteral("ca.pem"));
    ASSERT_TRUE(writeFile(ca, server.sslConfiguration().caCertificates().first().toPem()));
    ASSERT_TRUE(writeFile(path, QJsonDocument(QJsonObject{{"ORBRIN_CONFIG_URL", server.url("/files/check/full.json")},
                                                          {"UPDATE_CA_CERTIFICATES", ca}})
                                    .toJson()));
    QOVAAFSessionSingleton::setSslConfiguration(QOVAAFSessionSingleton::configuredSslConfiguration());
    EXPECT_EQ(checkUpgrade(2).version, "1.4");
    ASSERT_TRUE(writeFile(ca, "no certificate here"));
    QOVAAFSessionSingleton::setSslConfiguration(QOVAAFSessionSingleton::configuredSslConfiguration());
    EXPECT_EQ(checkUpgrade(2).error->code, QNetworkReply::SslHandshakeFailedError);
}

// A check address or a package address that is not https is refused before
// anything goes out: the check fails, the download fails and writes nothing.
TEST_F(DownloadTest, UpdateAddressesMustBeHttps)
{
    ASSERT_TRUE(server.put("check/plain.json", R"({"version":"1.4","URL":"http://u.example/p.dfu"})"));
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("c"));
    const QString plain = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    const QString addresses[] = {plain + "/files/check/plain.json", "ftp://127.0.0.1/p.dfu",
                                 "file:///etc/passwd", "https:///nohost", "//127.0.0.1/p.dfu"};
    for (const QString &a : addresses) {
        SCOPED_TRACE(qPrintable(a));
        ASSERT_TRUE(writeFile(config, QJsonDocument(QJsonObject{{"ORBRIN_CONFIG_URL", a}}).toJson()));
        qputenv("ORVALINDE_UPDATE_CONFIG", config.toUtf8());
        const CheckOutcome o = checkUpgrade(2);
        ASSERT_TRUE(o.error.has_value());
        EXPECT_EQ(o.error->code, QOVANetworkError::InsecureAddress);
        EXPECT_TRUE(o.version.isNull() && o.url.isNull());

        const DownloadOutcome d = download(a);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.callbacks, 1);
        EXPECT_EQ(d.error.code, QOVANetworkError::InsecureAddress);
    }
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(QDir(QOVADownloader::downloadFolder()).entryList(QDir::Files).isEmpty());

    // The package address of a reply over https is refused the same way.
    ASSERT_TRUE(writeFile(config, QJsonDocument(QJsonObject{{"ORBRIN_CONFIG_URL",
                                                             server.url("/files/check/plain.json")}})
                                      .toJson()));
    const CheckOutcome o = checkUpgrade(2);
    ASSERT_FALSE(o.error.has_value());
    const DownloadOutcome d = download(o.url);
    EXPECT_EQ(d.error.code, QOVANetworkError::InsecureAddress);
    EXPECT_EQ(server.requests(1).size(), 1u);
}

TEST_F(DownloadTest, ResumeCases)
{
    struct Case {
        const char *name;
        qint64 prefill;                  // bytes of the package on disk (-1 none)
        std::optional<qint64> storedSize;
        std::optional<QString> storedVersion;
        const char *expectedRange;       // nullptr: no request
    } cases[] = {
        {"fresh", -1, std::nullopt, std::nullopt, "bytes=0-"},
        {"partial", 1000, 4000, QStringLiteral("1.4"), "bytes=1000-"},
        {"complete", 4000, 4000, QStringLiteral("1.4"), nullptr},
        {"other version", 4000, 4000, QStringLiteral("1.3"), "bytes=0-"},
        {"partial of another version", 1000, 4000, QStringLiteral("1.3"), "bytes=0-"},
        {"larger than stored", 4000, 3000, QStringLiteral("1.4"), "bytes=0-"},
        {"no bookkeeping", 1000, std::nullopt, std::nullopt, "bytes=0-"},
    };
    size_t requestsSoFar = 0;
    for (const auto &c : cases) {
        resetState();
        storeKeys(address(), c.storedSize, c.storedVersion);
        if (c.prefill >= 0) {
            ASSERT_TRUE(writeFile(destination(), package.left(c.prefill)));
        }

        const DownloadOutcome o = download(address(), QStringLiteral("1.4"));
        ASSERT_TRUE(o.ok) << c.name << ": " << qPrintable(o.error.localizedDescription);
        EXPECT_EQ(o.callbacks, 1) << c.name;
        EXPECT_EQ(o.path, destination());
        EXPECT_EQ(readFile(destination()), package) << c.name;
        EXPECT_EQ(storedSize(address()).toLongLong(), 4000) << c.name;
        EXPECT_EQ(storedVersion(address()).toString(), "1.4") << c.name;

        const size_t expectedCount = requestsSoFar + (c.expectedRange ? 1 : 0);
        const auto requests = server.requests(expectedCount);
        ASSERT_EQ(requests.size(), expectedCount) << c.name;
        requestsSoFar = expectedCount;
        if (!c.expectedRange) {
            EXPECT_TRUE(o.progress.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(requests.back().range, QString::fromLatin1(c.expectedRange)) << c.name;
        EXPECT_EQ(requests.back().status, 206) << c.name;
        ASSERT_FALSE(o.progress.empty()) << c.name;
        // Received counts from what was on disk; the expected total is the
        // whole file, not the length of this reply.
        EXPECT_EQ(o.progress.back(), std::make_pair(qint64(4000), qint64(4000))) << c.name;
        EXPECT_GT(o.progress.front().first, c.prefill > 0 && std::string(c.expectedRange) != "bytes=0-"
                                                ? c.prefill : 0) << c.name;
    }
}

TEST_F(DownloadTest, ServerIgnoringTheRangeRewritesTheFile)
{
    const QString addr = address(QStringLiteral("/norange/"));
    storeKeys(addr, 4000, QStringLiteral("1.4"));
    ASSERT_TRUE(writeFile(destination(), package.left(1000)));

    const DownloadOutcome o = download(addr);
    ASSERT_TRUE(o.ok) << qPrintable(o.error.localizedDescription);
    EXPECT_EQ(readFile(destination()), package);  // not 1000 bytes plus the whole package
    const auto requests = server.requests(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].range, "bytes=1000-");
    EXPECT_EQ(requests[0].status, 200);
}

TEST_F(DownloadTest, RangeNotSatisfiableStartsOverOnce)
{
    // The package on the server shrank below what is on disk.
    const QByteArray smaller = randomBytes(500, 9);
    ASSERT_TRUE(server.put(QStringLiteral("pkg.dfu"), smaller));
    storeKeys(address(), 4000, QStringLiteral("1.4"));
    ASSERT_TRUE(writeFile(destination(), package.left(1000)));

    const DownloadOutcome o = download(address());
    ASSERT_TRUE(o.ok) << qPrintable(o.error.localizedDescription);
    EXPECT_EQ(readFile(destination()), smaller);
    EXPECT_EQ(storedSize(address()).toLongLong(), 500);
    const auto requests = server.requests(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].status, 416);
    EXPECT_EQ(requests[0].range, "bytes=1000-");
    EXPECT_EQ(requests[1].range, "bytes=0-");

    // A server that answers 416 to every range: one retry from byte 0, then
    // failure, with nothing kept.
    resetState();
    const QString always = server.url(QStringLiteral("/status/416/pkg.dfu"));
    storeKeys(always, 4000, QStringLiteral("1.4"));
    ASSERT_TRUE(writeFile(destination(), package.left(1000)));
    const DownloadOutcome e = download(always);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.callbacks, 1);
    EXPECT_EQ(e.error.httpStatus, 416);
    const auto tries = server.requestsFor(QStringLiteral("/status/416/pkg.dfu"), 2);
    ASSERT_EQ(tries.size(), 2u);
    EXPECT_EQ(tries[0].range, "bytes=1000-");
    EXPECT_EQ(tries[1].range, "bytes=0-");
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_FALSE(storedSize(always).isValid());
}

TEST_F(DownloadTest, OtherStatusesFailWithoutWriting)
{
    struct Case {
        const char *path;
        int status;
    } cases[] = {
        {"/files/missing.dfu", 404},
        {"/status/204/pkg.dfu", 204},
        {"/status/403/pkg.dfu", 403},
        {"/status/500/pkg.dfu", 500},
    };
    for (const auto &c : cases) {
        for (bool partial : {false, true}) {
            resetState();
            const QString addr = server.url(QString::fromLatin1(c.path));
            const QString dest = destinationOf(QOVADownloader::getFileName(addr));
            if (partial) {
                storeKeys(addr, 4000, QStringLiteral("1.4"));
                ASSERT_TRUE(writeFile(dest, package.left(1000)));
            }
            const DownloadOutcome o = download(addr);
            EXPECT_FALSE(o.ok) << c.path;
            EXPECT_EQ(o.callbacks, 1) << c.path;
            EXPECT_EQ(o.error.httpStatus, c.status) << c.path;
            EXPECT_TRUE(o.progress.empty()) << c.path;
            if (partial) {
                EXPECT_EQ(readFile(dest), package.left(1000)) << c.path;
                EXPECT_EQ(storedSize(addr).toLongLong(), 4000) << c.path;
            } else {
                EXPECT_FALSE(QFileInfo::exists(dest)) << c.path;
                EXPECT_FALSE(storedSize(addr).isValid()) << c.path;
                EXPECT_FALSE(storedVersion(addr).isValid()) << c.path;
            }
        }
    }
}

TEST_F(DownloadTest, PartialReplyMustStartWhereTheFileEnds)
{
    const QString addr = address(QStringLiteral("/wrongrange/"));
    for (qint64 prefill : {qint64(0), qint64(1000)}) {
        resetState();
        storeKeys(addr, 4000, QStringLiteral("1.4"));
        ASSERT_TRUE(writeFile(destination(), package.left(prefill)));
        const DownloadOutcome o = download(addr);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error.code, QOVANetworkError::RangeMismatch);
        EXPECT_EQ(readFile(destination()), package.left(prefill));
    }
}

// The package on the server changes between a cut and the resume (same
// version text, no digest). The resume names the package the file holds the
// start of and takes a partial reply only when it is of that package's
// length; anything else starts again from byte 0, so the file is never the
// start of one package and the end of another.
TEST_F(DownloadTest, ResumeOfAChangedPackageStartsOver)
{
    const QString packageOnServer = server.www() + QStringLiteral("/pkg.dfu");
    auto replacePackage = [&](const QByteArray &bytes, int secondsLater) {
        ASSERT_TRUE(server.put(QStringLiteral("pkg.dfu"), bytes));
        // Its validators change even within the same second.
        QFile f(packageOnServer);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(secondsLater),
                                  QFileDevice::FileModificationTime));
    };
    // A whole download, then a cut: the first 1000 bytes stay on disk with
    // the bookkeeping of the whole package.
    auto downloadAndCut = [&] {
        resetState();
        replacePackage(package, -3600);
        const DownloadOutcome first = download(address());
        ASSERT_TRUE(first.ok) << qPrintable(first.error.localizedDescription);
        ASSERT_TRUE(writeFile(destination(), package.left(1000)));
    };
    struct Case {
        const char *name;
        qint64 newSize;        // 0: the package does not change
        bool keepValidators;   // false: bookkeeping from before validators were kept
        QByteArray expected;
        std::vector<const char *> ranges;
    };
    const QByteArray sameSize = randomBytes(4000, 7);
    const QByteArray longer = randomBytes(5000, 8);
    const Case cases[] = {
        {"unchanged", 0, true, package, {"bytes=1000-"}},
        {"changed, same size", 4000, true, sameSize, {"bytes=1000-"}},
        {"changed size, no validators", 5000, false, longer, {"bytes=1000-", "bytes=0-"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        downloadAndCut();
        const size_t before = server.requests(1).size();
        if (!c.keepValidators) {
            QSettings().remove(QOVADownloader::etagKey(address()));
            QSettings().remove(QOVADownloader::lastModifiedKey(address()));
        }
        if (c.newSize)
            replacePackage(c.newSize == 4000 ? sameSize : longer, 0);

        const DownloadOutcome o = download(address());
        ASSERT_TRUE(o.ok) << qPrintable(o.error.localizedDescription);
        EXPECT_EQ(o.callbacks, 1);
        EXPECT_EQ(readFile(destination()), c.expected);
        EXPECT_EQ(storedSize(address()).toLongLong(), c.expected.size());
        const auto requests = server.requests(before + c.ranges.size());
        ASSERT_EQ(requests.size(), before + c.ranges.size());
        for (size_t i = 0; i < c.ranges.size(); ++i)
            EXPECT_EQ(requests[before + i].range, QString::fromLatin1(c.ranges[i]));
        EXPECT_EQ(requests.back().status, c.newSize ? (c.keepValidators ? 200 : 206) : 206);
    }
}

TEST_F(DownloadTest, UnknownLengthStoresNoSize)
{
    const QString addr = address(QStringLiteral("/chunked/"));
    const DownloadOutcome o = download(addr);
    ASSERT_TRUE(o.ok) << qPrintable(o.error.localizedDescription);
    EXPECT_EQ(readFile(destination()), package);
    EXPECT_FALSE(storedSize(addr).isValid());
    EXPECT_EQ(storedVersion(addr).toString(), "1.4");
    ASSERT_FALSE(o.progress.empty());
    for (const auto &p : o.progress)
        EXPECT_EQ(p.second, -1);
    EXPECT_EQ(server.requests(1).at(0).status, 200);
}

TEST_F(DownloadTest, UnwritableDestinationFails)
{
    // The destination is a folder: it cannot be opened as a file.
    ASSERT_TRUE(QDir().mkpath(destination()));
    DownloadOutcome o = download(address());
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error.code, QOVANetworkError::FileWrite);
    EXPECT_TRUE(QFileInfo(destination()).isDir());
    EXPECT_EQ(o.callbacks, 1);

    // The data folder itself cannot be made.
    QDir(QOVADownloader::downloadFolder()).removeRecursively();
    ASSERT_TRUE(writeFile(QOVADownloader::downloadFolder(), "a file in the way"));
    o = download(address());
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error.code, QOVANetworkError::FileWrite);
    QFile::remove(QOVADownloader::downloadFolder());

    // A missing data folder is made.
    o = download(address());
    EXPECT_TRUE(o.ok) << qPrintable(o.error.localizedDescription);
    EXPECT_EQ(readFile(destination()), package);
}

TEST_F(DownloadTest, AddressWithoutAFileNameFails)
{
    for (const char *path : {"/files/", "/files/%2E%2E", "/files/x%2Fpkg.dfu"}) {
        const DownloadOutcome o = download(server.url(QString::fromLatin1(path)));
        EXPECT_FALSE(o.ok) << path;
        EXPECT_EQ(o.error.code, QOVANetworkError::BadFileName) << path;
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(DownloadTest, Md5IsCheckedWhenGiven)
{
    const QString right = md5Of(package);
    QString wrong = right;
    wrong[0] = wrong[0] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    struct Case {
        QString md5;
        bool ok;
    } cases[] = {
        {right, true},
        {right.toUpper(), true},
        {wrong, false},
        {QString(), true},                      // no digest, no check
        {QStringLiteral("not a digest"), true},
        {right.left(31), true},
    };
    for (const auto &c : cases) {
        resetState();
        const DownloadOutcome o = download(address(), QStringLiteral("1.4"), c.md5);
        EXPECT_EQ(o.ok, c.ok) << qPrintable(c.md5);
        EXPECT_EQ(o.callbacks, 1);
        if (c.ok) {
            EXPECT_EQ(readFile(destination()), package);
            continue;
        }
        EXPECT_EQ(o.error.code, QOVANetworkError::Md5Mismatch);
        EXPECT_FALSE(QFileInfo::exists(destination()));
        EXPECT_FALSE(storedSize(address()).isValid());
        EXPECT_FALSE(storedVersion(address()).isValid());
    }

    // A complete file already on disk is checked too, without a request.
    resetState();
    const size_t before = server.requests().size();
    storeKeys(address(), 4000, QStringLiteral("1.4"));
    QByteArray damaged = package;
    damaged[7] = char(damaged[7] ^ 1);
    ASSERT_TRUE(writeFile(destination(), damaged));
    DownloadOutcome o = download(address(), QStringLiteral("1.4"), right);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error.code, QOVANetworkError::Md5Mismatch);
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_FALSE(storedSize(address()).isValid());
    EXPECT_EQ(server.requests().size(), before);
    // The next start fetches it anew and passes.
    o = download(address(), QStringLiteral("1.4"), right);
    EXPECT_TRUE(o.ok);
}

TEST_F(DownloadTest, TwoDownloadsIntoOneFile)
{
    const QByteArray other = randomBytes(4000, 77);
    ASSERT_TRUE(server.put(QStringLiteral("a/pkg.dfu"), package));
    ASSERT_TRUE(server.put(QStringLiteral("b/pkg.dfu"), other));

    DownloadOutcome first, second;
    QOVADownloader d1, d2;
    d1.setTargetVersion(QStringLiteral("1.4"));
    d2.setTargetVersion(QStringLiteral("1.5"));
    d1.downloadFileFromPath(server.url(QStringLiteral("/files/a/pkg.dfu")), recordProgress(first),
                            recordSuccess(first), recordFailure(first));
    d2.downloadFileFromPath(server.url(QStringLiteral("/files/b/pkg.dfu")), recordProgress(second),
                            recordSuccess(second), recordFailure(second));
    waitFor(second.finished);
    waitFor(first.finished);
    EXPECT_TRUE(first.ok);
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(second.error.code, QOVANetworkError::FileBusy);
    EXPECT_EQ(readFile(destination()), package);
    EXPECT_EQ(server.requestsFor(QStringLiteral("/files/b/pkg.dfu")).size(), 0u);

    // Once the first is done the file is free again.
    const DownloadOutcome third = download(server.url(QStringLiteral("/files/b/pkg.dfu")),
                                           QStringLiteral("1.5"));
    EXPECT_TRUE(third.ok);
    EXPECT_EQ(readFile(destination()), other);
}

TEST_F(DownloadTest, ClientStartsOneDownloadPerAddressAndCancels)
{
    const QByteArray big = randomBytes(600 * 1024, 5);
    ASSERT_TRUE(server.put(QStringLiteral("big.dfu"), big));
    const QString addr = address(QStringLiteral("/slow/"), QStringLiteral("big.dfu"));
    auto *client = QOVAClientNetwork::sharedClientNetwork();

    DownloadOutcome first, second;
    bool cancelled = false;
    EXPECT_FALSE(client->downloadFileFromPath(
        addr, QStringLiteral("1.4"), QString(),
        recordProgress(first, [&](qint64, qint64) {
            if (!cancelled && client->isDownloaderExist(addr)) {
                cancelled = true;
                client->cancelDownloader(addr);
            }
        }),
        recordSuccess(first), recordFailure(first)));
    EXPECT_TRUE(client->downloadFileFromPath(addr, QStringLiteral("1.4"), QString(), recordProgress(second),
                                             recordSuccess(second), recordFailure(second)));
    EXPECT_EQ(client->downloaderList().size(), 1);
    waitFor(first.finished);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(first.ok);
    EXPECT_TRUE(first.error.isCancelled());
    EXPECT_EQ(first.callbacks, 1);
    EXPECT_EQ(second.callbacks, 0);
    EXPECT_TRUE(client->downloaderList().isEmpty());
    EXPECT_FALSE(client->isDownloaderExist(addr));
    // What arrived stays for a resume.
    EXPECT_EQ(storedSize(addr).toLongLong(), big.size());
    EXPECT_EQ(readFile(destinationOf(QStringLiteral("big.dfu"))),
              big.left(QOVADownloader::fileSizeForPath(destinationOf(QStringLiteral("big.dfu")))));
}

TEST_F(DownloadTest, KilledServerLeavesAPartialFileThatResumes)
{
    const QByteArray big = randomBytes(400 * 1024, 11);
    ASSERT_TRUE(server.put(QStringLiteral("big.dfu"), big));
    const QString addr = address(QStringLiteral("/slow/"), QStringLiteral("big.dfu"));
    const QString dest = destinationOf(QStringLiteral("big.dfu"));

    // Cut the connection once a part has arrived (the first 256 KiB of a
    // reply come at full speed, the rest slowly).
    bool killed = false;
    DownloadOutcome cut = download(addr, QStringLiteral("1.4"), md5Of(big), [&](qint64 received, qint64) {
        if (!killed && received >= 128 * 1024) {
            killed = true;
            server.kill();
        }
    });
    ASSERT_TRUE(killed);
    EXPECT_FALSE(cut.ok);
    const qint64 partial = QOVADownloader::fileSizeForPath(dest);
    ASSERT_GE(partial, 128 * 1024);
    ASSERT_LT(partial, big.size());
    EXPECT_EQ(readFile(dest), big.left(partial));
    EXPECT_EQ(storedSize(addr).toLongLong(), big.size());

    ASSERT_TRUE(server.restart()) << qPrintable(server.why());
    const DownloadOutcome resumed = download(addr, QStringLiteral("1.4"), md5Of(big));
    ASSERT_TRUE(resumed.ok) << qPrintable(resumed.error.localizedDescription);
    EXPECT_EQ(readFile(dest), big);
    const auto requests = server.requestsFor(QStringLiteral("/slow/big.dfu"), 1);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().range, QStringLiteral("bytes=%1-").arg(partial));
    EXPECT_EQ(requests.back().bytesSent, big.size() - partial);
}

TEST(UpdateConfiguration, BuiltInAndOverrides)
{
    qunsetenv("ORVALINDE_UPDATE_CONFIG");
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Zentaro® Orvalinde/OrvalindeApp.Config");
    const QString system = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':')).first()
        + QStringLiteral("/Zentaro® Orvalinde/OrvalindeApp.Config");
    QFile::remove(user);
    QFile::remove(system);

    // Built in: the four keys, each an HTTPS address.
    const QJsonObject builtIn = QOVAClientNetwork::updateConfiguration();
    for (const char *key : {"PIROK_CONFIG_URL", "ORBRIN_CONFIG_URL",
                            "ORBRIN_REMOTECONTROLLER_CONFIG_URL", "VASKO_CONFIG_URL"})
        EXPECT_TRUE(builtIn.value(QLatin1String(key)).toString().startsWith("https://")) << key;
    EXPECT_EQ(QOVAClientNetwork::configurationAddress(4), builtIn.value("VASKO_CONFIG_URL").toString());
    EXPECT_TRUE(QOVAClientNetwork::configurationAddress(0).isEmpty());
    EXPECT_TRUE(QOVAClientNetwork::configurationAddress(5).isEmpty());

    QDir().mkpath(QFileInfo(system).absolutePath());
    ASSERT_TRUE(writeFile(system, R"({"VASKO_CONFIG_URL":"https://system.example/v"})"));
    EXPECT_EQ(QOVAClientNetwork::configurationAddress(4), "https://system.example/v");
    EXPECT_TRUE(QOVAClientNetwork::configurationAddress(2).isEmpty());  // replaced whole

    QDir().mkpath(QFileInfo(user).absolutePath());
    ASSERT_TRUE(writeFile(user, R"({"VASKO_CONFIG_URL":"https://user.example/v"})"));
    EXPECT_EQ(QOVAClientNetwork::configurationAddress(4), "https://user.example/v");

    QTemporaryDir dir;
    const QString env = dir.filePath(QStringLiteral("env.Config"));
    ASSERT_TRUE(writeFile(env, R"({"VASKO_CONFIG_URL":"https://env.example/v"})"));
    qputenv("ORVALINDE_UPDATE_CONFIG", env.toUtf8());
    EXPECT_EQ(QOVAClientNetwork::configurationAddress(4), "https://env.example/v");
    ASSERT_TRUE(writeFile(env, "not json"));
    EXPECT_TRUE(QOVAClientNetwork::configurationAddress(4).isEmpty());
    qunsetenv("ORVALINDE_UPDATE_CONFIG");
    QFile::remove(user);
    QFile::remove(system);
}

} // namespace
