// The simulated devices' side of the catalogue, spoken to directly: what
// they refuse and how, the events they raise after a reply, and the state
// behind restarts, resets, passwords and certificates.

#include "sim/catalogue/SimOrbrinRequestHandler.h"
#include "sim/catalogue/SimVaskoRequestHandler.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

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
