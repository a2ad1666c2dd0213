// Every request of the catalogue, called through the base device's public
// operation for each family, checked at the simulated device (the exact
// head and body it received) and at the caller (the decoded reply or the
// PUT's success). A request a family does not build sends nothing and calls
// no callback.

#include "CatalogueSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cataloguetest;

namespace {

enum class Reply { Success, Model, Raw, Failure };

// What the device receives for one call, and what the caller gets back.
struct Expect {
    bool sent = false;
    QJsonObject head;
    std::optional<QJsonObject> body;
    std::optional<QByteArray> file;
    Reply reply = Reply::Success;
    QString detail;   // model class name, or the start of the failure text
};

QJsonObject headOf(int id, const QString &url, const char *type)
{
    return QJsonObject{{"url", url}, {"type", type}, {"msg_id", QString::number(id)}};
}

Expect nothing() { return {}; }

Expect get(int id, const QString &url, const char *reply)
{
    Expect e;
    e.sent = true;
    e.head = headOf(id, url, "GET");
    e.reply = QLatin1String(reply) == QLatin1String("NSData") ? Reply::Raw : Reply::Model;
    e.detail = QString::fromLatin1(reply);
    return e;
}

Expect put(int id, const QString &url, const QJsonObject &body)
{
    Expect e;
    e.sent = true;
    e.head = headOf(id, url, "PUT");
    e.body = body;
    return e;
}

Expect putFile(int id, const QString &url, const QByteArray &bytes)
{
    Expect e;
    e.sent = true;
    e.head = headOf(id, url, "PUT");
    e.file = bytes;
    return e;
}

Expect failing(Expect e, const char *start)
{
    e.reply = Reply::Failure;
    e.detail = QString::fromLatin1(start);
    return e;
}

const QByteArray kConfigBytes = "<?xml version=\"1.0\"?>\n<config><device_name>Lab</device_name></config>\n";
const QByteArray kRemoteBytes = QByteArray("remote firmware image ") + QByteArray(300, 'r');
// A real certificate: the device takes a PEM file only when it holds one.
const QByteArray kCertBytes =
    "-----BEGIN CERTIFICATE-----\n"
    "MIIDMzCCAhugAwIBAgIUGkAc2MPKKB2055V5Av4q575yxEIwDQYJKoZIhvcNAQEL\n"
    "BQAwKTEUMBIGA1UEAwwLTGFiIFJvb3QgQ0ExETAPBgNVBAoMCFRlc3QgTGFiMB4X\n"
    "DTI2MTIxMDE3NTkzNFoXDTM2MTIwNzE3NTkzNFowKTEUMBIGA1UEAwwLTGFiIFJv\n"
    "b3QgQ0ExETAPBgNVBAoMCFRlc3QgTGFiMIIBIjANBgkqhkiG9w0BAQEFAAOCAQ8A\n"
    "MIIBCgKCAQEA4s8hP/2Sr1kxXZWEK86z/9/qIQ+WOqO5KOqUMKq+wgBAeVsW3i94\n"
    "yFxLxauQ7TJbUm4i9uXt01k0L+utU60JojDdSHsrqA0wtU6g8B2c6CnbXIRIeHOY\n"
    "uEjOndZ6X9GSUZykKB+u815H4nkxgDnAO2Xpbqp32dbsymskASFT+9HyqmYwkV+g\n"
    "ypxRmINCVeJLAgkNNOFfjo3gvF/6UtG41Fdk50sQbt5uBrRAAKHQFM0gux3wOcGb\n"
    "pWazlTnsY5C/OlVVoOe/UamWmm0fshFgkNzKz6vC/ulZmVYi+yyR44SZX9RdalcW\n"
    "69pByEAPZRjTiIOd8DH/BGt4Il3eZtQUUQIDAQABo1MwUTAdBgNVHQ4EFgQUsCnA\n"
    "gnTXScTzJN6bRDx7Z0lt3xEwHwYDVR0jBBgwFoAUsCnAgnTXScTzJN6bRDx7Z0lt\n"
    "3xEwDwYDVR0TAQH/BAUwAwEB/zANBgkqhkiG9w0BAQsFAAOCAQEAMbSEeDhalm0F\n"
    "TorHfPtH9Zx3Rd6Wy9neluOtgm5SoeicO57q1AVtRm/6YTAoVrpHRnoXN3fAFjh0\n"
    "MuXr0i9xDxCpIUZsrYM2votKwdxUZMmd2lPbp5F6jSpCCQGlWZly3iqQwDyKz8eo\n"
    "t1RHZA7tZvaLrV6HkfKKrHDC+5qO6/vqeMQD6AJk2U3v4y6znx4X0BDq9+nut7ba\n"
    "QwvEamqp2DNL9O1WJ/xjiOgmd8vr19HLfzMWL4ysTXxt2XA3uUX+n/J9DNkUvSKj\n"
    "6AP/hVMq1y0xVTpLTO8J69pwgyXHJ5TInlNlfU7bZ/APyKOvLIX9TD/YXKRwPDGn\n"
    "qoWzxF+p3g==\n"
    "-----END CERTIFICATE-----\n";

struct Files {
    QString config, remote, cert;
};

struct Extra {
    int notifications = 0;
    QList<double> progress;
};

using Call = std::function<void(QOVABaseUSBDevice &, Outcome &, Extra &, const Files &)>;

struct Row {
    const char *name;
    Call call;
    Expect orbrin;
    Expect vasko;
};

const QJsonObject kWalkJoin{{"ssid", "Meeting Room"}, {"securityType", "WPA2-PSK"}, {"password", "pw12345678"},
                        {"dhcp", true}, {"auto_connect", true}};
const QJsonObject kNetwork{{"network_mode", "Ethernet"},
                           {"IPV4setting", QJsonObject{{"dns1", "9.9.9.9"}, {"dns2", ""},
                                                       {"dns_domain", "corp"}, {"dhcp", 1}}},
                           {"note", QJsonArray{1, "x"}}};
const QJsonObject kCsr{{"csr_info_provision_country", "DE"}, {"csr_info_provision_state", "BE"},
                       {"csr_info_provision_locality", "Berlin"}, {"csr_info_provision_organization", "Lab"},
                       {"csr_info_provision_unit", "IT"}, {"csr_info_provision_common_name", "room-1"}};

#define CALL(body) [](QOVABaseUSBDevice &d, Outcome &o, Extra &x, const Files &f) { (void)x, (void)f; body; }

// In order: a request may rely on what an earlier one left on the device
// (a certificate installed before it is deleted, the restart last).
std::vector<Row> rows()
{
    auto both = [](const char *name, Call call, Expect e) { return Row{name, std::move(call), e, e}; };
    return {
        both("general_get", CALL(d.getUSBDeviceGeneralInformationWithBlock(o.completionBlock(), o.failureBlock())),
             get(1, "general", "OrbrinGeneralInformationModel")),
        {"general_set_vivid",
         CALL(d.setUSBDeviceGeneralInformationWithBlock("Board Room", "DE", "manual", "ntp.example", false,
                                                        o.successBlock(), o.failureBlock())),
         put(2, "general", {{"device_name", "Board Room"}, {"country_region", "DE"}, {"ntp_mode", "manual"},
                            {"ntp_server", "ntp.example"}, {"camera_vivid_mode", "false"}}),
         nothing()},
        both("general_set",
             CALL(d.setUSBDeviceGeneralInformationWithBlock("Board Room", "FR", "auto", "", o.successBlock(),
                                                            o.failureBlock())),
             put(2, "general", {{"device_name", "Board Room"}, {"country_region", "FR"}, {"ntp_mode", "auto"},
                                {"ntp_server", ""}})),
        both("bluetooth_get", CALL(d.getUSBBloothInformationwithBlock(o.completionBlock(), o.failureBlock())),
             get(3, "bluetooth", "BloothModel")),
        both("bluetooth_set",
             CALL(d.setUSBDeviceBloothEnable(true, false, true, o.successBlock(), o.failureBlock())),
             put(4, "bluetooth", {{"enable", true}, {"autopair_enable", false}, {"ble_enable", true}})),
        both("bluetooth_pair", CALL(d.setUSBDeviceBlueAutoPair(o.successBlock(), o.failureBlock())),
             put(14, "bluetooth_pair", {{"action", "pair"}})),
        {"wifi_enable", CALL(d.setUSBDeviceWifiEnable(true, o.successBlock(), o.failureBlock())),
         put(5, "wifi", {{"wifi_action", "enable"}}), nothing()},
        {"wifi_status", CALL(d.getUSBWifiStatusWithBlock(o.completionBlock(), o.failureBlock())),
         get(6, "wifi_status", "WiFiStatusModel"), nothing()},
        both("wifi_list", CALL(d.getUSBWifiInformationListWithBlock(o.completionBlock(), o.failureBlock())),
             get(7, "wifi_available_ssid", "WifiInfoModel")),
        {"wifi_connect", CALL(d.connectDeviceSpecficWifi(kWalkJoin, o.successBlock(), o.failureBlock())),
         put(8, "wifi", {{"wifi_action", "connect"}, {"wifi_connect_param", kWalkJoin}}),
         put(8, "network", {{"network_mode", "Wi-Fi"},
                            {"WIFI_SETTINGS", QJsonObject{{"wifi_action", "connect"}, {"wifi_connect_param", kWalkJoin}}}})},
        both("wifi_saved", CALL(d.getUSBWifiConnetcedWithBlock(o.completionBlock(), o.failureBlock())),
             get(13, "wifi_saved_ssid", "SavedSSIDInfoModel")),
        both("wifi_forget",
             CALL(d.disconnectDeviceSpecficWifi(QJsonObject{{"ssid", "Guest"}}, o.successBlock(), o.failureBlock())),
             put(8, "wifi", {{"wifi_action", "delete"}, {"wifi_connect_param", QJsonObject{{"ssid", "Guest"}}}})),
        {"wifi_security_type", CALL(d.setDeviceWifiSecurityType(kWalkJoin, o.successBlock(), o.failureBlock())),
         put(66, "wifi", {{"wifi_action", "connect"}, {"wifi_connect_param", kWalkJoin}}), nothing()},
        both("config_get", CALL(d.getUSBDeviceConfigFile(o.completionBlock(), o.failureBlock())),
             get(9, "config_file", "NSData")),
        both("config_put", CALL(d.setUSBDeviceConfigFileWithFilePath(f.config, o.successBlock(), o.failureBlock())),
             putFile(10, "config_file", kConfigBytes)),
        both("system_log", CALL(d.getUSBDeviceLog(o.completionBlock(), o.failureBlock())),
             get(11, "system_log", "NSData")),
        both("device_info", CALL(d.getUSBDeviceDeviceInformationWithBlock(o.completionBlock(), o.failureBlock())),
             get(12, "device_info", "DeviceInfoModel")),
        {"preset_0", CALL(d.setUSBDeviceCameraPreset(0, "restore", o.successBlock(), o.failureBlock())),
         nothing(), put(15, "preset_0", {{"action", "restore"}})},
        both("preset_1", CALL(d.setUSBDeviceCameraPreset(1, "save", o.successBlock(), o.failureBlock())),
             put(15, "preset_1", {{"action", "save"}})),
        both("preset_2", CALL(d.setUSBDeviceCameraPreset(2, "restore", o.successBlock(), o.failureBlock())),
             put(15, "preset_2", {{"action", "restore"}})),
        {"preset_3", CALL(d.setUSBDeviceCameraPreset(3, "save", o.successBlock(), o.failureBlock())),
         nothing(), put(15, "preset_3", {{"action", "save"}})},
        {"preset_4", CALL(d.setUSBDeviceCameraPreset(4, "save", o.successBlock(), o.failureBlock())),
         nothing(), put(15, "preset_4", {{"action", "save"}})},
        both("preset_5", CALL(d.setUSBDeviceCameraPreset(5, "save", o.successBlock(), o.failureBlock())), nothing()),
        both("tracking_set",
             CALL(d.setUSBDeviceAutoTracking(true, false, "Fast", "Wide", o.successBlock(), o.failureBlock())),
             put(16, "auto_tracking", {{"group_framing", true}, {"talker_tracking", false},
                                       {"tracking_speed", "Fast"}, {"framing_size", "Wide"}})),
        both("tracking_get", CALL(d.getUSBDeviceAutoTracking(o.completionBlock(), o.failureBlock())),
             get(35, "auto_tracking", "AutoTrackingModel")),
        both("login", CALL(d.loginUSBDeviceAdmin("", o.successBlock(), o.failureBlock())),
             put(17, "login", {{"password", ""}})),
        both("password_change", CALL(d.modifyAdminPassword("", "s3cret", o.successBlock(), o.failureBlock())),
             put(17, "admin", {{"old_password", ""}, {"new_password", "s3cret"}})),
        both("simple_password_set", CALL(d.setSimpePasswordWithStatus(true, o.successBlock(), o.failureBlock())),
             put(30, "simple_password", {{"simple_password", true}})),
        both("simple_password_get", CALL(d.getSimplePasswordStatus(o.completionBlock(), o.failureBlock())),
             get(31, "simple_password", "SimplePasswordModel")),
        both("password_enable_get", CALL(d.getUSBDevicePasswordEnableModel(o.completionBlock(), o.failureBlock())),
             get(32, "enable_password", "PasswordEnableModel")),
        both("audio_set", CALL(d.setUSBAudioSetting(true, false, true, false, o.successBlock(), o.failureBlock())),
             put(19, "audio", {{"noise_blocker", true}, {"acoustic_beam", false}, {"stereo", true}, {"bass", false}})),
        {"audio_orbrin_set",
         CALL(d.setUSBAudioOrbrinSetting(true, "90", true, false, o.successBlock(), o.failureBlock())),
         put(19, "audio", {{"noise_blocker", true}, {"acoustic_beam", "90"}, {"stereo", true}, {"bass", false}}),
         nothing()},
        // The video bar's firmware answers the text form, which the general
        // form cannot hold.
        {"audio_get", CALL(d.getUSBAudioSetting(o.completionBlock(), o.failureBlock())),
         failing(get(20, "audio", "AudioSettingModel"), "Model decoding failed"),
         get(20, "audio", "AudioSettingModel")},
        {"audio_orbrin_get", CALL(d.getUSBAudioOrbrinSetting(o.completionBlock(), o.failureBlock())),
         get(20, "audio", "AudioSettingOrbrinModel"), nothing()},
        both("diagnostic_start",
             CALL(d.requestUSBDiagnosticRecord(true, [&x] { ++x.notifications; }, o.completionBlock(), o.failureBlock())),
             get(21, "audio_diagnostic_record_start", "NSData")),
        both("diagnostic_stop",
             CALL(d.requestUSBDiagnosticRecord(false, [&x] { ++x.notifications; }, o.completionBlock(), o.failureBlock())),
             get(21, "audio_diagnostic_record_stop", "NSData")),
        both("provision_get", CALL(d.getUSBDeviceProvisionServerInformation(o.completionBlock(), o.failureBlock())),
             get(22, "provision_server", "ProvisionServerInfoModel")),
        both("provision_set",
             CALL(d.setUSBDeviceProvisionInformation("https://p.example", "user", "pw", "Manual", "https",
                                                     o.successBlock(), o.failureBlock())),
             put(34, "provision_server", {{"provision_server_url", "https://p.example"}, {"provision_username", "user"},
                                          {"provision_password", "pw"}, {"provision_mode", "Manual"},
                                          {"provision_server_type", "https"}})),
        {"dhcp_option", CALL(d.setUSBDeviceDhcpOption(QStringLiteral("43"), o.successBlock(), o.failureBlock())),
         nothing(), put(65, "provision_server", {{"provision_mode", "Auto"}, {"provision_dhcp_opt", 43}})},
        both("osd_get", CALL(d.getUSBDeviceOsd(o.completionBlock(), o.failureBlock())), get(23, "osd", "OSDModel")),
        both("osd_set", CALL(d.setUSBDeviceOsd(false, o.successBlock(), o.failureBlock())),
             put(24, "osd", {{"enable", false}})),
        both("oob_get", CALL(d.getUSBDeviceOob(o.completionBlock(), o.failureBlock())),
             get(25, "if_need_oob", "OOBModel")),
        {"coredump", CALL(d.getUSBDeviceCoredumpLog(o.completionBlock(), o.failureBlock())),
         get(27, "coredump_log", "NSData"), nothing()},
        both("time_sync", CALL(d.syncDesktopTimeToOrbrin(1700000000123LL, "CET", o.successBlock(), o.failureBlock())),
             put(29, "time_sync", {{"time", 1700000000123LL}, {"timezone", "CET"}})),
        {"remote_upgrade",
         CALL(d.usbUSBRemoteControlUpdate("ignored", f.remote, [&x](double p) { x.progress.append(p); },
                                          o.successBlock(), o.failureBlock())),
         putFile(33, "remote_control_upgrade", kRemoteBytes), nothing()},
        {"extension_get", CALL(d.getUSBDeviceCameraExtensionFeature(o.completionBlock(), o.failureBlock())),
         nothing(), get(36, "camera_extension_feature", "CameraExtensionFeatureModel")},
        {"extension_set",
         CALL(d.setUSBDeviceCameraExtensionFeature(true, false, true, o.successBlock(), o.failureBlock())),
         nothing(),
         put(37, "camera_extension_feature",
             {{"skin_enhancement", true}, {"wide_dynamic_range", false}, {"participant_count", true}})},
        {"network_enable",
         CALL(d.enableVaskoNetwork(QJsonObject{{"network_mode", "Ethernet"}}, o.successBlock(), o.failureBlock())),
         nothing(), put(38, "network", {{"network_mode", "Ethernet"}})},
        both("network_status", CALL(d.getUSBNetworkConnectionInformation(o.completionBlock(), o.failureBlock())),
             get(39, "network_status", "NetworkInfoModel")),
        both("network_set", CALL(d.connectUSBNetwork(kNetwork, o.successBlock(), o.failureBlock())),
             put(40, "network", kNetwork)),
        {"misc_get", CALL(d.getUSBDeviceMiscellaneousStatus(o.completionBlock(), o.failureBlock())),
         nothing(), get(41, "Miscellaneous", "MiscellaneousModel")},
        {"misc_set", CALL(d.setUSBDeviceMiscellaneousStatus(true, false, o.successBlock(), o.failureBlock())),
         nothing(), put(42, "Miscellaneous", {{"power_injector", true}, {"compatible_mode", false}})},
        {"microphones", CALL(d.setUSBDeviceIntergratedMicrophones(false, o.successBlock(), o.failureBlock())),
         nothing(), put(59, "Miscellaneous", {{"microphone_enable", false}})},
        both("csr_set", CALL(d.setUSBCSRInfoProvision(kCsr, o.successBlock(), o.failureBlock())),
             put(44, "csr_info_provision", kCsr)),
        both("csr_get", CALL(d.getUSBDeviceCsrProvisionFile(o.completionBlock(), o.failureBlock())),
             get(45, "csr_file_provision", "NSData")),
        both("cert_put",
             CALL(d.putUSBDeviceCertificateWithFilePath(f.cert, "wifi_ca_cert", o.successBlock(), o.failureBlock())),
             putFile(46, "wifi_ca_cert", kCertBytes)),
        both("cert_info", CALL(d.getInstalledCertificateinfo(o.completionBlock(), o.failureBlock())),
             get(48, "cert_info", "CertInfo")),
        both("cert_detail",
             CALL(d.getInstalledCertificateDetailInfo("wifi_server_detail", o.completionBlock(), o.failureBlock())),
             get(49, "wifi_server_detail", "DetailInfo")),
        both("cert_delete", CALL(d.deleteUSBDeviceCaCertificate("wifiCaCert", o.successBlock(), o.failureBlock())),
             put(47, "ca_delete", {{"ca_type", "wifiCaCert"}})),
        both("cert_password", CALL(d.setUSBDeviceCertificatePassword("pw", o.successBlock(), o.failureBlock())),
             put(50, "wifi_client_cert_password", {{"password", "pw"}})),
        both("server_validate_set",
             CALL(d.setUSBDeviceCertificateServerValidate(true, o.successBlock(), o.failureBlock())),
             put(51, "server_ca_validation", {{"enable", true}})),
        {"server_validate_get", CALL(d.getValidateCertificateinfo(o.completionBlock(), o.failureBlock())),
         nothing(), get(62, "server_ca_validation", "ValidateCertificateModel")},
        {"conversation_get", CALL(d.getUSBConversationMode(o.completionBlock(), o.failureBlock())),
         get(52, "conversation_view", "ConversationModeModel"), nothing()},
        {"conversation_set", CALL(d.setUSBConversationMode(true, o.successBlock(), o.failureBlock())),
         put(53, "conversation_view", {{"conversation_view_mode", "1"}}), nothing()},
        {"lecture_get", CALL(d.getUSBLectureMode(o.completionBlock(), o.failureBlock())),
         get(63, "lecture_mode", "LectureModeModel"), nothing()},
        {"lecture_set", CALL(d.setUSBLectureMode(true, o.successBlock(), o.failureBlock())),
         put(64, "lecture_mode", {{"enable", true}}), nothing()},
        both("frame_get", CALL(d.getUSBDeviceTrackingFrame(o.completionBlock(), o.failureBlock())),
             get(54, "maximum_zoom_level", "TrackingFrameModel")),
        both("frame_set", CALL(d.setUSBDeviceTrackingFrame("3", o.successBlock(), o.failureBlock())),
             put(55, "maximum_zoom_level", {{"zoom_level", "3"}})),
        both("smooth_get", CALL(d.getUSBDeviceSmoothTracking(o.completionBlock(), o.failureBlock())),
             get(56, "smooth_transition", "SmoothTrackingModel")),
        both("smooth_set", CALL(d.setUSBDeviceSmoothTracking(false, o.successBlock(), o.failureBlock())),
             put(57, "smooth_transition", {{"smooth_transition_mode", "0"}})),
        {"stereo_set", CALL(d.setUSBDeviceSetAudioStereo(true, o.successBlock(), o.failureBlock())),
         nothing(), put(61, "audio", {{"stereo", true}})},
        {"stereo_get", CALL(d.getUSBDeviceAudioStereo(o.completionBlock(), o.failureBlock())),
         nothing(), get(60, "audio", "VaskoAudioSettingModel")},
        both("restart", CALL(d.sendUSBDeviceOpsCmd("restart", o.successBlock(), o.failureBlock())),
             put(18, "ops", {{"action", "restart"}})),
    };
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

class CatalogueWalk : public ::testing::TestWithParam<sim::Family> {};

TEST_P(CatalogueWalk, EveryRequestReachesTheDeviceAndComesBackDecoded)
{
    const sim::Family family = GetParam();
    SimulatedFamilyDevice sim(family);
    ASSERT_TRUE(sim.ready());
    QTemporaryDir dir;
    const Files files{writeFile(dir, "config.xml", kConfigBytes), writeFile(dir, "remote.bin", kRemoteBytes),
                      writeFile(dir, "ca.pem", kCertBytes)};

    for (const Row &row : rows()) {
        SCOPED_TRACE(row.name);
        const Expect &e = family == sim::Family::Orbrin ? row.orbrin : row.vasko;
        sim.device->clearReceivedRequests();
        Outcome outcome;
        Extra extra;
        row.call(*sim.object, outcome, extra, files);

        if (!e.sent) {
            settle();
            EXPECT_TRUE(sim.device->receivedRequests().empty());
            EXPECT_EQ(outcome.calls, 0);
            continue;
        }
        ASSERT_TRUE(waitUntil([&] { return outcome.calls > 0; })) << "no callback";
        settle(5);
        EXPECT_EQ(outcome.calls, 1);

        const auto received = sim.device->receivedRequests();
        ASSERT_EQ(received.size(), 1u);
        const sim::SimReceivedRequest &request = received.front();
        EXPECT_EQ(QJsonDocument::fromJson(request.head).object(), e.head) << request.head.constData();
        if (e.body) {
            EXPECT_EQ(request.dataType, 0);
            EXPECT_EQ(QJsonDocument::fromJson(request.body).object(), *e.body) << request.body.constData();
        } else if (e.file) {
            EXPECT_EQ(request.dataType, 1);
            EXPECT_EQ(request.body, *e.file);
        } else {
            EXPECT_TRUE(request.body.isEmpty()) << request.body.constData();
        }

        switch (e.reply) {
        case Reply::Success:
            EXPECT_EQ(outcome.success, QStringLiteral("Success!")) << qPrintable(outcome.failure.value_or(""));
            break;
        case Reply::Model:
            ASSERT_TRUE(outcome.model()) << qPrintable(outcome.failure.value_or(""));
            EXPECT_EQ(outcome.model()->className(), e.detail);
            break;
        case Reply::Raw:
            ASSERT_TRUE(outcome.bytes()) << qPrintable(outcome.failure.value_or(""));
            EXPECT_FALSE(outcome.bytes()->isEmpty());
            break;
        case Reply::Failure:
            ASSERT_TRUE(outcome.failure);
            EXPECT_TRUE(outcome.failure->startsWith(e.detail)) << qPrintable(*outcome.failure);
            break;
        }
        if (QLatin1String(row.name).startsWith(QLatin1String("diagnostic_"))) {
            EXPECT_EQ(extra.notifications, 1);   // installed after the send, run by the reply
        }
        if (QLatin1String(row.name) == QLatin1String("remote_upgrade")) {
            ASSERT_FALSE(extra.progress.isEmpty());
            EXPECT_DOUBLE_EQ(extra.progress.last(), 1.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, CatalogueWalk, ::testing::Values(sim::Family::Orbrin, sim::Family::Vasko),
                         [](const auto &info) {
                             return std::string(info.param == sim::Family::Orbrin ? "Orbrin" : "Vasko");
                         });

} // namespace
