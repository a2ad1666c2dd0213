// A PUT changes what the matching GET returns afterwards, read back through
// the whole host side as the decoded model, in the GET's own kinds.

#include "CatalogueSupport.h"

#include "QOVAPayloadModels.h"

#include <gtest/gtest.h>

using namespace cataloguetest;

namespace {

using Put = std::function<void(QOVABaseUSBDevice &, Outcome &)>;
using Get = std::function<void(QOVABaseUSBDevice &, Outcome &)>;
using Check = std::function<void(const QOVAModelRef &)>;

struct RoundTrip {
    const char *name;
    sim::Family family;
    QString firmware;
    Put put;
    Get get;
    Check check;
};

void PrintTo(const RoundTrip &c, std::ostream *os) { *os << c.name; }

template <class M>
std::shared_ptr<const M> as(const QOVAModelRef &model)
{
    auto typed = qova_model_cast<M>(model);
    EXPECT_TRUE(typed);
    return typed;
}

const sim::Family O = sim::Family::Orbrin;
const sim::Family V = sim::Family::Vasko;

#define PUT(body) [](QOVABaseUSBDevice &d, Outcome &o) { body; }
#define CHECK(M, body) [](const QOVAModelRef &ref) { auto m = as<M>(ref); if (m) { body; } }

const std::vector<RoundTrip> &cases()
{
    static const std::vector<RoundTrip> list = {
        {"general_vivid_text", O, {},
         PUT(d.setUSBDeviceGeneralInformationWithBlock("Lab", "DE", "manual", "ntp.lab", true, o.successBlock(),
                                                       o.failureBlock())),
         PUT(d.getUSBDeviceGeneralInformationWithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(OrbrinGeneralInformationModel, {
             EXPECT_EQ(m->device_name, "Lab");
             EXPECT_EQ(m->ntp_server, "ntp.lab");
             EXPECT_EQ(m->camera_vivid_mode, QStringLiteral("true"));
         })},
        {"general_name_in_device_info", V, {},
         PUT(d.setUSBDeviceGeneralInformationWithBlock("Cam 2", "FR", "auto", "", o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceDeviceInformationWithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(DeviceInfoModel, {
             EXPECT_EQ(m->device_name, "Cam 2");
             EXPECT_EQ(m->country_region, "FR");
         })},
        {"conversation_digit_to_bool", O, {},
         PUT(d.setUSBConversationMode(true, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBConversationMode(o.completionBlock(), o.failureBlock())),
         CHECK(ConversationModeModel, EXPECT_TRUE(m->conversation_view_mode))},
        {"smooth_digit_to_bool", V, {},
         PUT(d.setUSBDeviceSmoothTracking(true, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceSmoothTracking(o.completionBlock(), o.failureBlock())),
         CHECK(SmoothTrackingModel, EXPECT_TRUE(m->smooth_transition_mode))},
        {"zoom_level_text_to_integer", O, {},
         PUT(d.setUSBDeviceTrackingFrame("4", o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceTrackingFrame(o.completionBlock(), o.failureBlock())),
         CHECK(TrackingFrameModel, EXPECT_EQ(m->zoom_level, 4))},
        {"audio_fence_form", O, {},
         PUT(d.setUSBAudioOrbrinSetting(false, "60", true, false, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBAudioOrbrinSetting(o.completionBlock(), o.failureBlock())),
         CHECK(AudioSettingOrbrinModel, {
             EXPECT_EQ(m->acoustic_beam, "60");
             EXPECT_FALSE(m->isNoise_blocker());
             EXPECT_TRUE(m->isStereo());
         })},
        {"audio_beam_form_on_first_firmware", O, QStringLiteral("1.0"),
         PUT(d.setUSBAudioSetting(true, true, false, true, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBAudioSetting(o.completionBlock(), o.failureBlock())),
         CHECK(AudioSettingModel, {
             EXPECT_TRUE(m->isAcoustic_beam());
             EXPECT_TRUE(m->isBass());
         })},
        {"stereo_alone", V, {},
         PUT(d.setUSBDeviceSetAudioStereo(true, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceAudioStereo(o.completionBlock(), o.failureBlock())),
         CHECK(VaskoAudioSettingModel, EXPECT_TRUE(m->isStereo()))},
        {"bluetooth", O, {},
         PUT(d.setUSBDeviceBloothEnable(false, true, false, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBBloothInformationwithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(BloothModel, {
             EXPECT_FALSE(m->isEnable());
             EXPECT_TRUE(m->isAutopair_enable());
             EXPECT_FALSE(m->isBle_enable());
         })},
        {"tracking", V, {},
         PUT(d.setUSBDeviceAutoTracking(false, true, "Slow", "Tight", o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceAutoTracking(o.completionBlock(), o.failureBlock())),
         CHECK(AutoTrackingModel, {
             EXPECT_TRUE(m->isTalker_tracking());
             EXPECT_EQ(m->tracking_speed, "Slow");
         })},
        {"password_set", V, {},
         PUT(d.modifyAdminPassword("", "n3w", o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDevicePasswordEnableModel(o.completionBlock(), o.failureBlock())),
         CHECK(PasswordEnableModel, EXPECT_TRUE(m->isEnable_password()))},
        {"provision", O, {},
         PUT(d.setUSBDeviceProvisionInformation("ftps://p", "u", "pw", "Manual", "ftps", o.successBlock(),
                                                o.failureBlock())),
         PUT(d.getUSBDeviceProvisionServerInformation(o.completionBlock(), o.failureBlock())),
         CHECK(ProvisionServerInfoModel, {
             EXPECT_EQ(m->provision_server_info->provision_server_url, QStringLiteral("ftps://p"));
             EXPECT_EQ(m->provision_server_info->provision_mode, QStringLiteral("Manual"));
         })},
        {"dhcp_option", V, {},
         PUT(d.setUSBDeviceDhcpOption(QStringLiteral("120"), o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceProvisionServerInformation(o.completionBlock(), o.failureBlock())),
         CHECK(ProvisionServerInfoModel, {
             EXPECT_EQ(m->provision_server_info->provision_dhcp_opt, 120.0);
             EXPECT_EQ(m->provision_server_info->provision_mode, QStringLiteral("Auto"));
         })},
        {"miscellaneous_microphones", V, {},
         PUT(d.setUSBDeviceIntergratedMicrophones(false, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceMiscellaneousStatus(o.completionBlock(), o.failureBlock())),
         CHECK(MiscellaneousModel, EXPECT_EQ(m->microphone_enable, QJsonValue(false)))},
        {"camera_extension", V, {},
         PUT(d.setUSBDeviceCameraExtensionFeature(true, true, false, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBDeviceCameraExtensionFeature(o.completionBlock(), o.failureBlock())),
         CHECK(CameraExtensionFeatureModel, {
             EXPECT_TRUE(m->skin_enhancement);
             EXPECT_TRUE(m->wide_dynamic_range);
             EXPECT_FALSE(m->participant_count);
         })},
        {"server_validation", V, {},
         PUT(d.setUSBDeviceCertificateServerValidate(true, o.successBlock(), o.failureBlock())),
         PUT(d.getValidateCertificateinfo(o.completionBlock(), o.failureBlock())),
         CHECK(ValidateCertificateModel, EXPECT_TRUE(m->isServer_ca_validation()))},
        {"lecture", O, {},
         PUT(d.setUSBLectureMode(true, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBLectureMode(o.completionBlock(), o.failureBlock())),
         CHECK(LectureModeModel, EXPECT_TRUE(m->enable))},
        {"static_address", V, {},
         PUT(d.connectUSBNetwork(QJsonObject{{"network_mode", "Ethernet"},
                                             {"IPV4setting", QJsonObject{{"main_ip_address", "10.1.2.3"},
                                                                         {"mask", "255.0.0.0"}, {"gateway", "10.0.0.1"},
                                                                         {"dns1", "10.0.0.2"}, {"dns2", ""},
                                                                         {"dns_domain", ""}, {"dhcp", 0}}}},
                                 o.successBlock(), o.failureBlock())),
         PUT(d.getUSBNetworkConnectionInformation(o.completionBlock(), o.failureBlock())),
         CHECK(NetworkInfoModel, {
             ASSERT_TRUE(m->IPV4setting);
             EXPECT_EQ(m->IPV4setting->main_ip_address, "10.1.2.3");
             EXPECT_EQ(m->IPV4setting->dhcp, 0.0);
             EXPECT_TRUE(m->isNetwork_status());
         })},
        {"network_wifi_join", V, {},
         PUT(d.connectDeviceSpecficWifi(QJsonObject{{"ssid", "Corporate"}, {"securityType", "WPA2-EAP"}},
                                        o.successBlock(), o.failureBlock())),
         PUT(d.getUSBNetworkConnectionInformation(o.completionBlock(), o.failureBlock())),
         CHECK(NetworkInfoModel, {
             EXPECT_EQ(m->network_mode, "Wi-Fi");
             ASSERT_TRUE(m->getWIFIsetting);
             EXPECT_EQ(m->getWIFIsetting->ssid, "Corporate");
             EXPECT_EQ(m->getWIFIsetting->securityType, "WPA2-EAP");
         })},
        {"wifi_join", O, {},
         PUT(d.connectDeviceSpecficWifi(QJsonObject{{"ssid", "Guest"}}, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBWifiStatusWithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(WiFiStatusModel, {
             EXPECT_EQ(m->wifi_status, "connected");
             ASSERT_TRUE(m->wifi_connection_info->mWifiSsid);
             const auto &octets = m->wifi_connection_info->mWifiSsid->octets;
             QByteArray ssid;
             for (qint64 i = 0; i < octets->count && i < octets->buf.size(); ++i)
                 ssid.append(char(octets->buf.at(i).toInt()));
             EXPECT_EQ(ssid, "Guest");
         })},
        {"wifi_saved", O, {},
         PUT(d.connectDeviceSpecficWifi(QJsonObject{{"ssid", "Guest"}}, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBWifiConnetcedWithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(SavedSSIDInfoModel, EXPECT_EQ(m->saved_ssid_info, QJsonArray{"Guest"}))},
        {"wifi_off", O, {},
         PUT(d.setUSBDeviceWifiEnable(false, o.successBlock(), o.failureBlock())),
         PUT(d.getUSBWifiStatusWithBlock(o.completionBlock(), o.failureBlock())),
         CHECK(WiFiStatusModel, {
             EXPECT_FALSE(m->isWifi_enable());
             EXPECT_EQ(m->wifi_status, "disconnected");
         })},
    };
    return list;
}

class StateRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(StateRoundTrip, GetReturnsWhatThePutSet)
{
    const RoundTrip &c = GetParam();
    SimulatedFamilyDevice sim(c.family, c.firmware);
    ASSERT_TRUE(sim.ready());
    Outcome put;
    c.put(*sim.object, put);
    ASSERT_TRUE(waitUntil([&] { return put.calls > 0; }));
    ASSERT_EQ(put.success, QStringLiteral("Success!")) << qPrintable(put.failure.value_or(""));
    Outcome get;
    c.get(*sim.object, get);
    ASSERT_TRUE(waitUntil([&] { return get.calls > 0; }));
    ASSERT_TRUE(get.model()) << qPrintable(get.failure.value_or(""));
    c.check(get.model());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, StateRoundTrip, ::testing::ValuesIn(cases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StateRoundTripFailures, RefusalsReachTheFailureCallback)
{
    SimulatedFamilyDevice sim(sim::Family::Vasko);
    ASSERT_TRUE(sim.ready());
    Outcome login, network;
    sim.handler->setAdminPassword("right");
    sim.object->loginUSBDeviceAdmin("wrong", login.successBlock(), login.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return login.calls > 0; }));
    EXPECT_EQ(login.failure, QStringLiteral("invalid password"));   // the device's own text for sign-in

    // A body without the key the device needs: 400, which the caller sees as "Reject".
    sim.object->enableVaskoNetwork(QJsonObject{{"mode", "Ethernet"}}, network.successBlock(),
                                   network.failureBlock());
    ASSERT_TRUE(waitUntil([&] { return network.calls > 0; }));
    EXPECT_EQ(network.failure, QStringLiteral("Reject"));
}

} // namespace
