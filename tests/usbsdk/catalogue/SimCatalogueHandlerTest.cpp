// The simulated devices' side of the catalogue, spoken to directly: what
// they refuse and how, the events they raise after a reply, and the state
// behind restarts, resets, passwords and certificates.

#include "sim/catalogue/SimOrbrinRequestHandler.h"
#include "sim/catalogue/SimVaskoRequestHandler.h"
#include "sim/SimZip.h"

#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace sim;

namespace {

// A device host that records what the handler asks of it; tasks run later
// only when the test says so, as after the reply has gone.
class RecordingHost : public SimDeviceHost {
public:
    explicit RecordingHost(Family family, QString serial = QStringLiteral("SN1"))
        : m_family(family)
        , m_serial(std::move(serial))
    {
    }
    Family family() const override { return m_family; }
    Mode mode() const override { return Mode::Run; }
    QString serialNumber() const override { return m_serial; }
    QString firmwareVersion() const override { return version; }
    void setFirmwareVersion(const QString &v) override { version = v; }
    QString deviceName() const override { return name; }
    void setDeviceName(const QString &n) override { name = n; }
    void reenumerate(Mode mode, int) override { reenumerations.push_back(mode); }
    void disconnect() override {}
    void raiseInputReport(uint8_t kind, uint16_t code) override { reports.emplace_back(kind, code); }
    void runLater(int, std::function<void()> task) override { later.push_back(std::move(task)); }

    void runPending()
    {
        auto tasks = std::move(later);
        later.clear();
        for (auto &task : tasks)
            task();
    }

    QString version = QStringLiteral("1.1.5");
    QString name;
    std::vector<Mode> reenumerations;
    std::vector<std::pair<int, int>> reports;
    std::vector<std::function<void()>> later;

private:
    Family m_family;
    QString m_serial;
};

struct Exchange {
    SimReply reply;
    QJsonObject body;
};

Exchange send(SimRequestHandler &handler, SimDeviceHost &host, int id, const QString &url, const char *type,
              const QByteArray &body = {}, int dataType = 0)
{
    Exchange e;
    e.reply = handler.handleRequest(host, QJsonObject{{"url", url}, {"type", type}, {"msg_id", QString::number(id)}},
                                    body, dataType);
    if (e.reply.body)
        e.body = QJsonDocument::fromJson(*e.reply.body).object();
    return e;
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

struct RefusalCase {
    const char *name;
    Family family;
    int id;
    const char *url;
    const char *type;
    QByteArray body;
    int dataType;
    int status;
    const char *text;
};

void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }

const RefusalCase kRefusals[] = {
    {"unknown_url", Family::Orbrin, 1, "no_such_thing", "GET", {}, 0, 400, "unknown request"},
    {"other_family_url", Family::Vasko, 6, "wifi_status", "GET", {}, 0, 400, "unknown request"},
    {"other_family_id", Family::Orbrin, 60, "audio", "GET", {}, 0, 400, "unknown request"},
    {"id_of_another_url", Family::Orbrin, 12, "general", "GET", {}, 0, 400, "unknown request"},
    {"wrong_method", Family::Vasko, 3, "bluetooth", "PUT", json({{"enable", true}}), 0, 400, "unknown request"},
    {"preset_out_of_range", Family::Orbrin, 15, "preset_0", "PUT", json({{"action", "save"}}), 0, 400,
     "unknown request"},
    {"body_not_object", Family::Vasko, 24, "osd", "PUT", "[true]", 0, 400, "body is not a JSON object"},
    {"missing_key", Family::Orbrin, 4, "bluetooth", "PUT", json({{"enable", true}, {"ble_enable", true}}), 0, 400,
     "missing key: autopair_enable"},
    {"wrong_kind", Family::Orbrin, 24, "osd", "PUT", json({{"enable", "true"}}), 0, 400, "bad value: enable"},
    {"digit_flag_as_bool", Family::Orbrin, 53, "conversation_view", "PUT",
     json({{"conversation_view_mode", true}}), 0, 400, "bad value: conversation_view_mode"},
    {"zoom_level_out_of_set", Family::Vasko, 55, "maximum_zoom_level", "PUT", json({{"zoom_level", "5"}}), 0, 400,
     "bad value: zoom_level"},
    {"nested_join_without_ssid", Family::Vasko, 8, "network", "PUT",
     json({{"network_mode", "Wi-Fi"}, {"WIFI_SETTINGS", QJsonObject{{"wifi_action", "connect"},
                                                                     {"wifi_connect_param", QJsonObject{}}}}}),
     0, 400, "missing key: ssid"},
    {"empty_file", Family::Orbrin, 10, "config_file", "PUT", {}, 1, 400, "empty file"},
    {"wrong_password", Family::Vasko, 17, "login", "PUT", json({{"password", "nope"}}), 0, 401, "invalid password"},
    {"wrong_old_password", Family::Orbrin, 17, "admin", "PUT",
     json({{"old_password", "nope"}, {"new_password", "x"}}), 0, 401, "invalid old password"},
    {"empty_new_password", Family::Orbrin, 17, "admin", "PUT", json({{"old_password", ""}, {"new_password", ""}}),
     0, 400, "invalid new password"},
    {"detail_of_missing_certificate", Family::Vasko, 49, "wifi_client_detail", "GET", {}, 0, 400,
     "certificate not installed"},
};

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, AnswerWithAStatusText)
{
    const RefusalCase &c = GetParam();
    SimCatalogueRequestHandler handler(c.family);
    RecordingHost host(c.family);
    const Exchange e = send(handler, host, c.id, QString::fromLatin1(c.url), c.type, c.body, c.dataType);
    EXPECT_EQ(e.reply.statusCode, c.status);
    EXPECT_TRUE(e.reply.statusString.startsWith(QLatin1String(c.text))) << qPrintable(e.reply.statusString);
    EXPECT_FALSE(e.reply.body);
    host.runPending();
    EXPECT_TRUE(host.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

struct EventCase {
    const char *name;
    Family family;
    int id;
    const char *url;
    QJsonObject body;
    std::vector<std::pair<int, int>> reports;
};

void PrintTo(const EventCase &c, std::ostream *os) { *os << c.name; }

const QJsonObject kJoin{{"ssid", "Guest"}};

const EventCase kEvents[] = {
    {"wifi_enable", Family::Orbrin, 5, "wifi", {{"wifi_action", "enable"}}, {{2, 4}}},
    {"wifi_disable", Family::Orbrin, 5, "wifi", {{"wifi_action", "disable"}}, {{2, 5}}},
    {"wifi_connect", Family::Orbrin, 8, "wifi", {{"wifi_action", "connect"}, {"wifi_connect_param", kJoin}},
     {{2, 2}, {2, 0}}},
    {"wifi_connect_security_type", Family::Orbrin, 66, "wifi",
     {{"wifi_action", "connect"}, {"wifi_connect_param", kJoin}}, {{2, 2}, {2, 0}}},
    {"network_wifi_connect", Family::Vasko, 8, "network",
     {{"network_mode", "Wi-Fi"}, {"WIFI_SETTINGS", QJsonObject{{"wifi_action", "connect"}, {"wifi_connect_param", kJoin}}}},
     {{2, 2}, {2, 0}}},
    {"pairing", Family::Orbrin, 14, "bluetooth_pair", {{"action", "pair"}}, {{3, 3}}},
    {"osd_quiet", Family::Vasko, 24, "osd", {{"enable", true}}, {}},
};

class Events : public ::testing::TestWithParam<EventCase> {};

TEST_P(Events, FollowTheReply)
{
    const EventCase &c = GetParam();
    SimCatalogueRequestHandler handler(c.family);
    RecordingHost host(c.family);
    const Exchange e = send(handler, host, c.id, QString::fromLatin1(c.url), "PUT", json(c.body));
    EXPECT_EQ(e.reply.statusCode, 200) << qPrintable(e.reply.statusString);
    EXPECT_TRUE(host.reports.empty());   // nothing before the reply has gone
    host.runPending();
    EXPECT_EQ(host.reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Events, ::testing::ValuesIn(kEvents),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SimCatalogueHandler, RestartAndResetLeaveTheBusAfterTheReply)
{
    SimVaskoRequestHandler handler;
    RecordingHost host(Family::Vasko);
    ASSERT_EQ(send(handler, host, 24, "osd", "PUT", json({{"enable", false}})).reply.statusCode, 200);
    ASSERT_EQ(send(handler, host, 17, "admin", "PUT", json({{"old_password", ""}, {"new_password", "pw"}}))
                  .reply.statusCode, 200);

    EXPECT_EQ(send(handler, host, 18, "ops", "PUT", json({{"action", "restart"}})).reply.statusCode, 200);
    EXPECT_TRUE(host.reenumerations.empty());
    host.runPending();
    EXPECT_EQ(host.reenumerations, std::vector<Mode>{Mode::Run});
    EXPECT_EQ(send(handler, host, 23, "osd", "GET").body.value("enable"), QJsonValue(false));   // kept
    EXPECT_EQ(send(handler, host, 32, "enable_password", "GET").body.value("enable_password"), QJsonValue(true));
    EXPECT_EQ(send(handler, host, 25, "if_need_oob", "GET").body.value("result"), QJsonValue(false));

    EXPECT_EQ(send(handler, host, 18, "ops", "PUT", json({{"action", "reset"}})).reply.statusCode, 200);
    host.runPending();
    EXPECT_EQ(host.reenumerations.size(), 2u);
    EXPECT_EQ(send(handler, host, 23, "osd", "GET").body.value("enable"), QJsonValue(true));   // factory value
    EXPECT_EQ(send(handler, host, 32, "enable_password", "GET").body.value("enable_password"), QJsonValue(false));
    EXPECT_EQ(send(handler, host, 25, "if_need_oob", "GET").body.value("result"), QJsonValue(true));
    // The set-up ends with the provisioning settings.
    send(handler, host, 34, "provision_server", "PUT",
         json({{"provision_server_url", ""}, {"provision_username", ""}, {"provision_password", ""},
               {"provision_mode", "Disable"}, {"provision_server_type", ""}}));
    EXPECT_EQ(send(handler, host, 25, "if_need_oob", "GET").body.value("result"), QJsonValue(false));

    EXPECT_EQ(send(handler, host, 18, "ops", "PUT", json({{"action", "reboot"}})).reply.statusCode, 400);
}

TEST(SimCatalogueHandler, EncryptedBundleWaitsForItsPassword)
{
    SimOrbrinRequestHandler handler;
    RecordingHost host(Family::Orbrin);
    // A PKCS#12 bundle protected by "p12-secret", shared with the certificate page's tests.
    QFile bundle(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath()
                 + QStringLiteral("/../../certificates/data/client.p12"));
    ASSERT_TRUE(bundle.open(QIODevice::ReadOnly));
    const QByteArray der = bundle.readAll();
    const Exchange upload = send(handler, host, 46, "wifi_client_cert", "PUT", der, 1);
    EXPECT_EQ(upload.reply.statusCode, 201);
    EXPECT_EQ(send(handler, host, 48, "cert_info", "GET").body.value("info").toArray().size(), 0);

    EXPECT_EQ(send(handler, host, 50, "wifi_client_cert_password", "PUT", json({{"password", "wrong"}}))
                  .reply.statusCode, 400);
    EXPECT_EQ(send(handler, host, 50, "wifi_client_cert_password", "PUT", json({{"password", "p12-secret"}}))
                  .reply.statusCode, 200);
    const QJsonArray info = send(handler, host, 48, "cert_info", "GET").body.value("info").toArray();
    ASSERT_EQ(info.size(), 1);
    EXPECT_EQ(info.first().toObject().value("type"), QJsonValue("wifiClientCert"));
    EXPECT_EQ(send(handler, host, 49, "wifi_client_detail", "GET").reply.statusCode, 200);
    EXPECT_EQ(send(handler, host, 47, "ca_delete", "PUT", json({{"ca_type", "wifiClientCert"}})).reply.statusCode, 200);
    EXPECT_EQ(send(handler, host, 47, "ca_delete", "PUT", json({{"ca_type", "wifiClientCert"}})).reply.statusCode, 400);
}

TEST(SimCatalogueHandler, CoredumpAnswersNullWhenThereIsNone)
{
    SimOrbrinRequestHandler handler;
    RecordingHost host(Family::Orbrin);
    EXPECT_EQ(send(handler, host, 27, "coredump_log", "GET").reply.statusCode, 200);
    handler.setCoredump(std::nullopt);
    const Exchange e = send(handler, host, 27, "coredump_log", "GET");
    EXPECT_EQ(e.reply.statusCode, 408);
    EXPECT_EQ(e.reply.statusString, QStringLiteral("NULL"));
}

TEST(SimCatalogueHandler, EachDeviceHasAnAddressOfItsOwnAndNoProvisioningLink)
{
    const struct {
        Family family;
        const char *serial;
    } devices[] = {
        {Family::Orbrin, "OR20240001"},
        {Family::Vasko, "VS20240002.01"},
        {Family::Orbrin, "OR8"},
        {Family::Vasko, "VS7.01"},
    };
    const QRegularExpression localUnicast(QStringLiteral("^02(:[0-9a-f]{2}){5}$"));
    QSet<QString> seen;
    for (const auto &d : devices) {
        SCOPED_TRACE(d.serial);
        SimCatalogueRequestHandler handler(d.family);
        RecordingHost host(d.family, QLatin1String(d.serial));
        const QJsonObject info = send(handler, host, 12, "device_info", "GET").body;
        const QString mac = info.value("main_mac_address").toString();
        EXPECT_TRUE(localUnicast.match(mac).hasMatch()) << qPrintable(mac);
        EXPECT_FALSE(seen.contains(mac)) << qPrintable(mac);
        seen.insert(mac);
        // The same device answers the same address every time, on every request that carries it.
        SimCatalogueRequestHandler again(d.family);
        EXPECT_EQ(send(again, host, 12, "device_info", "GET").body.value("main_mac_address").toString(), mac);
        if (d.family == Family::Orbrin) {
            EXPECT_EQ(send(handler, host, 6, "wifi_status", "GET").body.value("main_mac_address").toString(), mac);
        }

        // Provisioning is off at first, and no simulated device reaches a server when it is on.
        EXPECT_EQ(info.value("provision_status"), QJsonValue("disconnected"));
        ASSERT_EQ(send(handler, host, 34, "provision_server", "PUT",
                       json({{"provision_server_url", "https://prov.example.com"}, {"provision_username", ""},
                             {"provision_password", ""}, {"provision_mode", "Manual"},
                             {"provision_server_type", ""}}))
                      .reply.statusCode,
                  200);
        EXPECT_EQ(send(handler, host, 12, "device_info", "GET").body.value("provision_status"),
                  QJsonValue("disconnected"));
    }
}

} // namespace

TEST(SimCatalogueHandler, AFailedRequestAnswersItsStatusAndKeepsTheSettings)
{
    SimOrbrinRequestHandler handler;
    RecordingHost host(Family::Orbrin);
    const QByteArray rename = json({{"device_name", "New"}, {"country_region", "DE"},
                                    {"ntp_server", ""}, {"ntp_mode", "auto"}});
    handler.failRequest(QStringLiteral("general"), false, 400, QStringLiteral("Reject"));
    const Exchange refused = send(handler, host, 2, "general", "PUT", rename);
    EXPECT_EQ(refused.reply.statusCode, 400);
    EXPECT_EQ(refused.reply.statusString, QStringLiteral("Reject"));
    // The GET of the same resource still answers, with the old settings.
    const Exchange read = send(handler, host, 1, "general", "GET");
    EXPECT_EQ(read.reply.statusCode, 200);
    EXPECT_NE(read.body.value("device_name").toString(), QStringLiteral("New"));

    handler.clearRequestFailures();
    EXPECT_EQ(send(handler, host, 2, "general", "PUT", rename).reply.statusCode, 200);
    EXPECT_EQ(send(handler, host, 1, "general", "GET").body.value("device_name").toString(), QStringLiteral("New"));
}

namespace {

// What unzip makes of an archive: whether its test passes (every entry's
// CRC and the directory), and the entries' contents by name.
struct Unzipped {
    bool tested = false;
    QString listing;
    std::map<QString, QByteArray> files;
};

Unzipped unzip(const QByteArray &archive)
{
    Unzipped out;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size())
        return out;
    file.close();
    QProcess test;
    test.start(QStringLiteral("unzip"), {QStringLiteral("-t"), path});
    test.waitForFinished(20000);
    out.tested = test.exitStatus() == QProcess::NormalExit && test.exitCode() == 0;
    out.listing = QString::fromUtf8(test.readAllStandardOutput() + test.readAllStandardError());
    QProcess names;
    names.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), path});
    names.waitForFinished(20000);
    for (const QString &name : QString::fromUtf8(names.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QProcess one;
        one.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
        one.waitForFinished(20000);
        out.files[name] = one.readAllStandardOutput();
    }
    return out;
}

} // namespace

// The log and crash-file downloads are real zip archives: unzip tests them
// and finds the device's texts inside.
TEST(SimCatalogueHandler, LogAndCrashFileArchivesAreZipArchives)
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const struct {
        const char *name;
        Family family;
        int id;
        const char *url;
        const char *entry;
        QByteArray text;
    } cases[] = {
        {"video bar log", Family::Orbrin, 11, "system_log", "logs/system.log", "simulated system log of ARCH1\n"},
        {"camera log", Family::Vasko, 11, "system_log", "logs/system.log", "simulated system log of ARCH1\n"},
        {"video bar crash file", Family::Orbrin, 27, "coredump_log", "coredump/core.1", "simulated core dump\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SimCatalogueRequestHandler handler(c.family);
        RecordingHost host(c.family, QStringLiteral("ARCH1"));
        const Exchange e = send(handler, host, c.id, QLatin1String(c.url), "GET");
        ASSERT_EQ(e.reply.statusCode, 200);
        ASSERT_TRUE(e.reply.body);
        EXPECT_TRUE(e.reply.body->startsWith("PK\x03\x04"));
        const Unzipped unzipped = unzip(*e.reply.body);
        EXPECT_TRUE(unzipped.tested) << qPrintable(unzipped.listing);
        ASSERT_EQ(unzipped.files.count(QLatin1String(c.entry)), 1u) << qPrintable(unzipped.listing);
        EXPECT_EQ(unzipped.files.at(QLatin1String(c.entry)), c.text);
    }
    // The CRC against its published check value.
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
}

// Each device has addresses of its own on the wire and on Wi-Fi, the same
// in every reply; its clock runs on from the time it was set to; a joined
// video bar reports a signal strength.
TEST(SimCatalogueHandler, EachDeviceHasItsOwnIpAddresses)
{
    const struct {
        Family family;
        const char *serial;
    } devices[] = {
        {Family::Vasko, "VS20240002.01"}, {Family::Vasko, "VS20240003.01"}, {Family::Vasko, "VS7.01"},
        {Family::Orbrin, "OR20240001"},   {Family::Orbrin, "OR20240002"},
    };
    QSet<QString> seen;
    for (const auto &d : devices) {
        SCOPED_TRACE(d.serial);
        SimCatalogueRequestHandler handler(d.family);
        RecordingHost host(d.family, QLatin1String(d.serial));
        QString address;
        if (d.family == Family::Vasko) {
            address = send(handler, host, 12, "device_info", "GET").body.value("main_ip_address").toString();
            const QJsonObject ipv4 = send(handler, host, 39, "network_status", "GET").body.value("IPV4setting").toObject();
            EXPECT_EQ(ipv4.value("main_ip_address").toString(), address);
            EXPECT_EQ(ipv4.value("gateway").toString(), QStringLiteral("10.0.0.1"));
            EXPECT_TRUE(address.startsWith(QLatin1String("10."))) << qPrintable(address);
        } else {
            ASSERT_EQ(send(handler, host, 8, "wifi", "PUT",
                           json({{"wifi_action", "connect"}, {"wifi_connect_param", QJsonObject{{"ssid", "Guest"}}}}))
                          .reply.statusCode,
                      200);
            address = send(handler, host, 12, "device_info", "GET").body.value("main_ip_address").toString();
            EXPECT_EQ(send(handler, host, 6, "wifi_status", "GET").body.value("main_ip_address").toString(), address);
        }
        EXPECT_FALSE(address.isEmpty());
        EXPECT_FALSE(address.endsWith(QLatin1String(".1")) || address.endsWith(QLatin1String(".0"))
                     || address.endsWith(QLatin1String(".255")))
            << qPrintable(address);
        EXPECT_FALSE(seen.contains(address)) << qPrintable(address);
        seen.insert(address);
        SimCatalogueRequestHandler again(d.family);
        if (d.family == Family::Vasko) {
            EXPECT_EQ(send(again, host, 12, "device_info", "GET").body.value("main_ip_address").toString(), address);
        }
    }

    // A static address stays what the user set; back on DHCP the lease returns.
    SimCatalogueRequestHandler camera(Family::Vasko);
    RecordingHost host(Family::Vasko, QStringLiteral("VS20240002.01"));
    const QString lease = send(camera, host, 12, "device_info", "GET").body.value("main_ip_address").toString();
    auto putIpv4 = [&](const QJsonObject &ipv4) {
        return send(camera, host, 40, "network", "PUT", json({{"network_mode", "Ethernet"}, {"IPV4setting", ipv4}}))
            .reply.statusCode;
    };
    ASSERT_EQ(putIpv4({{"dhcp", 0}, {"main_ip_address", "10.9.9.9"}, {"mask", "255.0.0.0"}, {"gateway", "10.0.0.1"}}), 200);
    EXPECT_EQ(send(camera, host, 12, "device_info", "GET").body.value("main_ip_address"), QJsonValue("10.9.9.9"));
    ASSERT_EQ(putIpv4({{"dhcp", 1}}), 200);
    EXPECT_EQ(send(camera, host, 12, "device_info", "GET").body.value("main_ip_address").toString(), lease);
}

TEST(SimCatalogueHandler, DeviceTimeRunsOnFromWhenItWasSet)
{
    for (Family family : {Family::Vasko, Family::Orbrin}) {
        SCOPED_TRACE(int(family));
        qint64 now = 1'000'000;
        SimCatalogueRequestHandler handler(family);
        handler.setClock([&now] { return now; });
        RecordingHost host(family);
        EXPECT_FALSE(send(handler, host, 12, "device_info", "GET").body.contains("device_time"));
        const qint64 set = QDateTime(QDate(2024, 3, 1), QTime(9, 30, 0), Qt::UTC).toMSecsSinceEpoch();
        ASSERT_EQ(send(handler, host, 29, "time_sync", "PUT", json({{"time", set}, {"timezone", "CET"}})).reply.statusCode,
                  200);
        const struct {
            qint64 elapsedMs;
            const char *shown;
        } readings[] = {{0, "2024-03-01T09:30:00Z"}, {999, "2024-03-01T09:30:00Z"}, {65'000, "2024-03-01T09:31:05Z"},
                        {3'600'000 * 25, "2024-03-02T10:30:00Z"}};
        const qint64 setAt = now;
        for (const auto &r : readings) {
            now = setAt + r.elapsedMs;
            EXPECT_EQ(send(handler, host, 12, "device_info", "GET").body.value("device_time"), QJsonValue(r.shown))
                << r.elapsedMs;
        }
    }
}

TEST(SimCatalogueHandler, AJoinedVideoBarReportsASignalStrength)
{
    SimOrbrinRequestHandler handler;
    RecordingHost host(Family::Orbrin);
    auto strength = [&] {
        return send(handler, host, 12, "device_info", "GET").body.value("wifi_signal_strength").toString().toInt();
    };
    EXPECT_EQ(strength(), 0);
    ASSERT_EQ(send(handler, host, 8, "wifi", "PUT",
                   json({{"wifi_action", "connect"}, {"wifi_connect_param", QJsonObject{{"ssid", "Meeting Room"}}}}))
                  .reply.statusCode,
              200);
    // A percentage, as the status page reads it, and the one the Wi-Fi page shows.
    EXPECT_GE(strength(), 31);
    EXPECT_LE(strength(), 100);
    EXPECT_EQ(send(handler, host, 6, "wifi_status", "GET")
                  .body.value("wifi_connection_info").toObject().value("signalStrength").toInt(),
              strength());
    ASSERT_EQ(send(handler, host, 5, "wifi", "PUT", json({{"wifi_action", "disable"}})).reply.statusCode, 200);
    EXPECT_EQ(strength(), 0);
}

// The exported configuration names the device as every other reply does.
TEST(SimCatalogueHandler, ConfigurationFileCarriesTheDevicesName)
{
    for (Family family : {Family::Orbrin, Family::Vasko}) {
        SCOPED_TRACE(int(family));
        SimCatalogueRequestHandler handler(family);
        RecordingHost host(family);
        host.name = QStringLiteral("Halvex");
        const Exchange e = send(handler, host, 9, "config_file", "GET");
        ASSERT_TRUE(e.reply.body);
        EXPECT_TRUE(e.reply.body->contains("<device_name>Halvex</device_name>")) << e.reply.body->constData();
        EXPECT_EQ(send(handler, host, 1, "general", "GET").body.value("device_name"), QJsonValue("Halvex"));
    }
}
