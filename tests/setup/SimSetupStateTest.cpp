// What the simulated devices keep for the set-up: the factory password while
// the set-up is pending, the end of the set-up with the first password
// change, the camera's naming rules and the provisioning settings.

#include "sim/catalogue/SimOrbrinRequestHandler.h"
#include "sim/catalogue/SimVaskoRequestHandler.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace sim;

namespace {

class SetupHost : public SimDeviceHost {
public:
    explicit SetupHost(Family family) : m_family(family) {}
    Family family() const override { return m_family; }
    sim::Mode mode() const override { return sim::Mode::Run; }
    QString serialNumber() const override { return QStringLiteral("SN1"); }
    QString firmwareVersion() const override { return QStringLiteral("V1.3"); }
    void setFirmwareVersion(const QString &) override {}
    QString deviceName() const override { return name; }
    void setDeviceName(const QString &n) override { name = n; }
    void reenumerate(sim::Mode, int) override {}
    void disconnect() override {}
    void raiseInputReport(uint8_t, uint16_t) override {}
    void runLater(int, std::function<void()>) override {}
    QString name;

private:
    Family m_family;
};

int put(SimRequestHandler &handler, SimDeviceHost &host, int id, const char *url, const QJsonObject &body)
{
    const SimReply reply = handler.handleRequest(
        host, QJsonObject{{"url", url}, {"type", "PUT"}, {"msg_id", QString::number(id)}},
        QJsonDocument(body).toJson(QJsonDocument::Compact), 0);
    return reply.statusCode;
}

QJsonObject get(SimRequestHandler &handler, SimDeviceHost &host, int id, const char *url)
{
    const SimReply reply =
        handler.handleRequest(host, QJsonObject{{"url", url}, {"type", "GET"}, {"msg_id", QString::number(id)}}, {}, 0);
    return reply.body ? QJsonDocument::fromJson(*reply.body).object() : QJsonObject();
}

} // namespace

TEST(SimSetupState, FactoryPasswordSignsInUntilTheFirstChangeEndsTheSetUp)
{
    SimVaskoRequestHandler camera;
    SetupHost host(Family::Vasko);
    camera.setNeedsOob(true);
    EXPECT_EQ(put(camera, host, 17, "login", {{"password", "wrong"}}), 401);
    EXPECT_EQ(put(camera, host, 17, "login", {{"password", "admin"}}), 200);
    EXPECT_EQ(put(camera, host, 17, "admin", {{"old_password", "admin"}, {"new_password", "S3cret"}}), 200);
    EXPECT_FALSE(camera.needsOob());
    EXPECT_EQ(get(camera, host, 25, "if_need_oob").value("result"), QJsonValue(false));
    EXPECT_EQ(put(camera, host, 17, "login", {{"password", "admin"}}), 401);
    EXPECT_EQ(put(camera, host, 17, "login", {{"password", "S3cret"}}), 200);

    // With the switch off the set-up stays pending after a change.
    SimOrbrinRequestHandler bar;
    SetupHost barHost(Family::Orbrin);
    bar.setNeedsOob(true);
    bar.setOobDoneOnPasswordChange(false);
    EXPECT_EQ(put(bar, barHost, 17, "admin", {{"old_password", "admin"}, {"new_password", "x"}}), 200);
    EXPECT_TRUE(bar.needsOob());
}

TEST(SimSetupState, CameraRefusesNamesAgainstItsRulesAndKeepsTheCountry)
{
    SimVaskoRequestHandler camera;
    SimOrbrinRequestHandler bar;
    SetupHost cameraHost(Family::Vasko), barHost(Family::Orbrin);
    const auto general = [](const QString &name) {
        return QJsonObject{{"device_name", name}, {"country_region", "Man, Isle of"}, {"ntp_mode", ""},
                           {"ntp_server", ""}};
    };
    const std::pair<const char *, bool> names[] = {
        {"Board Room 2", true}, {"cam-01", true}, {"x", true}, {"-cam", false}, {"cam-", false},
        {"cam_01", false}, {"cam.lab", false}, {"   ", false}};
    for (const auto &[name, accepted] : names) {
        EXPECT_EQ(put(camera, cameraHost, 2, "general", general(QString::fromLatin1(name))), accepted ? 200 : 400)
            << name;
    }
    EXPECT_EQ(put(camera, cameraHost, 2, "general", general(QString(63, QLatin1Char('a')))), 200);
    EXPECT_EQ(put(camera, cameraHost, 2, "general", general(QString(64, QLatin1Char('a')))), 400);
    // The video bar takes any name that is not blank.
    EXPECT_EQ(put(bar, barHost, 2, "general", general(QStringLiteral("cam_01."))), 200);
    EXPECT_EQ(get(bar, barHost, 1, "general").value("country_region"), QJsonValue("Man, Isle of"));
}

TEST(SimSetupState, ProvisioningIsKeptButThePasswordNeverReported)
{
    SimVaskoRequestHandler camera;
    SetupHost host(Family::Vasko);
    EXPECT_EQ(put(camera, host, 34, "provision_server",
                  {{"provision_server_url", "https://prov"}, {"provision_username", "ops"},
                   {"provision_password", "pw"}, {"provision_mode", "Manual"}, {"provision_server_type", "https"}}),
              200);
    QJsonObject info = get(camera, host, 22, "provision_server").value("provision_server_info").toObject();
    EXPECT_EQ(info.value("provision_mode"), QJsonValue("Manual"));
    EXPECT_EQ(info.value("provision_server_url"), QJsonValue("https://prov"));
    EXPECT_FALSE(QJsonDocument(info).toJson().contains("pw"));
    EXPECT_EQ(put(camera, host, 65, "provision_server", {{"provision_mode", "Auto"}, {"provision_dhcp_opt", 150}}),
              200);
    info = get(camera, host, 22, "provision_server").value("provision_server_info").toObject();
    EXPECT_EQ(info.value("provision_mode"), QJsonValue("Auto"));
    EXPECT_EQ(info.value("provision_dhcp_opt").toInt(), 150);
}
