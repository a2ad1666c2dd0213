#include "QOVAJSONModel.h"
#include "QOVAPayloadModels.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

// A complete reply of each model with nested members, edited per case.
QJsonObject completeReply(const QString &className)
{
    static const QHash<QString, const char *> replies = {
        {"StatusModel", R"({"status_code":200,"status_string":"success","msg_id":12,"diag_info":""})"},
        {"DeviceInfoModel", R"({"device_name":"Room","version_hw":"2","model":"H1","sn":"S1",
            "country_region":"DE","version_sw":"1.2.3","provision_status":"ok",
            "main_ip_address":"10.0.0.2","main_mac_address":"00:11","wifi_signal_strength":"-50",
            "remote_active":1,"provision_server_info":{"provision_mode":"Auto"},
            "show_alert":"no","usb_mode":"2.0"})"},
        {"NetworkInfoModel", R"({"network_mode":"Ethernet","network_status":true,
            "IPV4setting":{"dns_domain":"","dns1":"1.1.1.1","dns2":"","gateway":"10.0.0.1",
                           "main_ip_address":"10.0.0.2","mask":"255.0.0.0","dhcp":1}})"},
        {"WifiInfoModel", R"({"ssid_info":[{"bssid":"b","encryptionType":"WPA2","ssid":"n","signalStrength":-40},
                                           {"bssid":"c","encryptionType":"None","ssid":"m","signalStrength":-70}]})"},
        {"WiFiStatusModel", R"({"wifi_connection_info":{"mBSSID":"b","signalStrength":-40,
            "mWifiSsid":{"octets":{"buf":[78,101],"count":2}}},"wifi_enable":true,
            "wifi_auto_connect":false,"wifi_status":"connected","main_ip_address":"a","main_mac_address":"m"})"},
        {"AudioSettingModel", R"({"noise_blocker":true,"acoustic_beam":false,"stereo":true,"bass":false})"},
        {"AudioSettingOrbrinModel", R"({"noise_blocker":true,"acoustic_beam":"narrow","stereo":true,"bass":false})"},
        {"MiscellaneousModel", R"({"power_injector":true,"compatible_mode":false})"},
        {"TrackingFrameModel", R"({"zoom_level":3})"},
        {"OSDModel", R"({"enable":true})"},
        {"SavedSSIDInfoModel", R"({"saved_ssid_info":["a",{"ssid":"b"},3]})"},
        {"CertInfo", R"({"info":[{"issuer":"i","issueTo":"t","validDate":"d","type":"wifiCaCert"}],
                         "server_ca_validation":true})"},
    };
    return QJsonDocument::fromJson(replies.value(className)).object();
}

// Edits one member; a path "a.b" reaches into nested objects, "a[0].b" into
// an array element. An undefined value removes the member.
void edit(QJsonObject &object, const QString &path, const QJsonValue &value)
{
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        if (value.isUndefined())
            object.remove(path);
        else
            object.insert(path, value);
        return;
    }
    QString head = path.left(dot);
    const QString rest = path.mid(dot + 1);
    const qsizetype bracket = head.indexOf(QLatin1Char('['));
    if (bracket >= 0) {
        const int index = head.mid(bracket + 1).chopped(1).toInt();
        head = head.left(bracket);
        QJsonArray array = object.value(head).toArray();
        QJsonObject element = array.at(index).toObject();
        edit(element, rest, value);
        array.replace(index, element);
        object.insert(head, array);
        return;
    }
    QJsonObject nested = object.value(head).toObject();
    edit(nested, rest, value);
    object.insert(head, nested);
}

const QJsonValue kRemove(QJsonValue::Undefined);

struct Case {
    const char *name;
    const char *className;
    const char *path;      // member to edit, or nullptr for the reply as it is
    QJsonValue value;      // kRemove drops the member
    bool decodes;
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

const Case kCases[] = {
    // Reply head: all four members required, strict kinds.
    {"head_complete", "StatusModel", nullptr, {}, true},
    {"head_extra_member", "StatusModel", "x", QJsonArray{1, QJsonObject{}}, true},
    {"head_no_diag_info", "StatusModel", "diag_info", kRemove, false},
    {"head_null_text", "StatusModel", "status_string", QJsonValue::Null, false},
    {"head_code_as_text", "StatusModel", "status_code", "200", false},
    {"head_code_as_bool", "StatusModel", "status_code", true, false},
    {"head_code_fraction", "StatusModel", "status_code", 200.5, false},
    {"head_text_as_number", "StatusModel", "status_string", 5, false},
    // Optional members may be missing or null; required ones may not.
    {"info_without_show_alert", "DeviceInfoModel", "show_alert", kRemove, true},
    {"info_without_usb_mode", "DeviceInfoModel", "usb_mode", kRemove, true},
    {"info_without_provision", "DeviceInfoModel", "provision_server_info", kRemove, true},
    {"info_null_optional", "DeviceInfoModel", "sn", QJsonValue::Null, true},
    {"info_without_mac", "DeviceInfoModel", "main_mac_address", kRemove, false},
    {"info_optional_wrong_kind", "DeviceInfoModel", "sn", 5, false},
    {"info_number_from_bool", "DeviceInfoModel", "remote_active", true, true},
    {"info_number_as_text", "DeviceInfoModel", "remote_active", "1", false},
    {"info_nested_wrong_kind", "DeviceInfoModel", "provision_server_info.provision_dhcp_opt", "43", false},
    {"info_nested_not_object", "DeviceInfoModel", "provision_server_info", "x", false},
    // Nested models: absent is fine when optional, a failure inside fails all.
    {"network_nested_absent", "NetworkInfoModel", "IPV4setting", kRemove, true},
    {"network_nested_null", "NetworkInfoModel", "IPV4setting", QJsonValue::Null, true},
    {"network_nested_no_dhcp", "NetworkInfoModel", "IPV4setting.dhcp", kRemove, false},
    {"network_status_as_number", "NetworkInfoModel", "network_status", 1, false},
    {"wifi_status_deep_failure", "WiFiStatusModel", "wifi_connection_info.mWifiSsid.octets.count", "2", false},
    {"wifi_status_required_nested_null", "WiFiStatusModel", "wifi_connection_info", QJsonValue::Null, false},
    // Arrays of models and plain arrays.
    {"ssids_empty", "WifiInfoModel", "ssid_info", QJsonArray{}, true},
    {"ssids_element_missing_strength", "WifiInfoModel", "ssid_info[1].signalStrength", kRemove, false},
    {"ssids_element_not_object", "WifiInfoModel", "ssid_info", QJsonArray{QJsonObject{}, 3}, false},
    {"ssids_not_array", "WifiInfoModel", "ssid_info", QJsonObject{}, false},
    {"ssids_strength_fraction", "WifiInfoModel", "ssid_info[0].signalStrength", -40.5, false},
    {"saved_plain_array_any_elements", "SavedSSIDInfoModel", nullptr, {}, true},
    {"saved_not_array", "SavedSSIDInfoModel", "saved_ssid_info", "a", false},
    {"certs_empty", "CertInfo", "info", QJsonArray{}, true},
    {"certs_element_missing_type", "CertInfo", "info[0].type", kRemove, false},
    // The two audio forms differ only in acoustic_beam.
    {"audio_bool_beam", "AudioSettingModel", nullptr, {}, true},
    {"audio_text_beam_in_general_form", "AudioSettingModel", "acoustic_beam", "narrow", false},
    {"audio_orbrin_text_beam", "AudioSettingOrbrinModel", nullptr, {}, true},
    {"audio_orbrin_bool_beam", "AudioSettingOrbrinModel", "acoustic_beam", true, false},
    // Booleans take only JSON booleans.
    {"osd_bool_as_number", "OSDModel", "enable", 1, false},
    {"osd_bool_as_text", "OSDModel", "enable", "true", false},
    // "any value" holds whatever arrives.
    {"misc_without_microphone", "MiscellaneousModel", nullptr, {}, true},
    {"misc_microphone_object", "MiscellaneousModel", "microphone_enable", QJsonObject{{"a", 1}}, true},
    // 32-bit integers stay in range.
    {"zoom_in_range", "TrackingFrameModel", "zoom_level", 2147483647, true},
    {"zoom_out_of_range", "TrackingFrameModel", "zoom_level", 2147483648.0, false},
    {"zoom_as_text", "TrackingFrameModel", "zoom_level", "3", false},
};

class Decoding : public ::testing::TestWithParam<Case> {};

TEST_P(Decoding, DecodesOrFailsAsItsKindsSay)
{
    const Case &c = GetParam();
    const QString className = QString::fromLatin1(c.className);
    QJsonObject reply = completeReply(className);
    ASSERT_FALSE(reply.isEmpty());
    if (c.path)
        edit(reply, QString::fromLatin1(c.path), c.value);
    const QByteArray data = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    QString error;
    QOVAModelRef model = QOVAModelRegistry::modelFromJSONData(className, data, &error);
    EXPECT_EQ(model != nullptr, c.decodes) << data.constData() << " -> " << qPrintable(error);
    if (model) {
        EXPECT_EQ(model->className(), className);
        // The log form names every member the reply filled.
        QJsonObject logged = model->toJSONObject();
        for (auto it = reply.begin(); it != reply.end(); ++it) {
            if (!it.value().isNull() && it.key() != QLatin1String("x")) {
                EXPECT_TRUE(logged.contains(it.key())) << qPrintable(it.key());
            }
        }
    } else {
        EXPECT_TRUE(error.startsWith(QLatin1String("Model decoding failed: "))) << qPrintable(error);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, Decoding, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ModelDecodingTest, BodyMustBeOneJSONObjectOfAKnownModel)
{
    for (const char *body : {"[1,2]", "{\"status_code\":", "", "null", "\"x\""}) {
        QString error;
        EXPECT_FALSE(QOVAModelRegistry::modelFromJSONData(QStringLiteral("OSDModel"), body, &error)) << body;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(QOVAModelRegistry::modelFromJSONData(QStringLiteral("NoSuchModel"), "{}"));
    EXPECT_FALSE(QOVAModelRegistry::contains(QStringLiteral("NSData")));
    // Every model the requests name can be looked up.
    for (const char *name : {"StatusModel", "DeviceInfoModel", "ProvisionServerInfoModel",
                             "OrbrinGeneralInformationModel", "BloothModel", "WiFiStatusModel",
                             "WifiInfoModel", "SavedSSIDInfoModel", "NetworkInfoModel",
                             "AudioSettingModel", "AudioSettingOrbrinModel", "VaskoAudioSettingModel",
                             "MiscellaneousModel", "AutoTrackingModel", "CameraExtensionFeatureModel",
                             "TrackingFrameModel", "SmoothTrackingModel", "OSDModel",
                             "ConversationModeModel", "LectureModeModel", "PasswordEnableModel",
                             "SimplePasswordModel", "CertInfo", "DetailInfo",
                             "ValidateCertificateModel", "OOBModel", "CancelModel"})
        EXPECT_TRUE(QOVAModelRegistry::contains(QString::fromLatin1(name))) << name;
}

template <class M>
std::shared_ptr<const M> decode(const char *json)
{
    QString error;
    auto model = qova_model_cast<M>(QOVAModelRegistry::modelFromJSONData(M::staticClassName(), json, &error));
    EXPECT_TRUE(model) << qPrintable(error);
    return model;
}

TEST(ModelDecodingTest, ValuesAndGettersReadWhatArrived)
{
    auto head = decode<StatusModel>(
        R"({"status_code":400,"status_string":"bad","msg_id":9007199254740993,"diag_info":"d"})");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status_code, 400);
    EXPECT_EQ(head->msg_id, 9007199254740993LL);   // beyond 2^53, kept exactly
    EXPECT_EQ(head->status_string, QStringLiteral("bad"));

    auto oob = decode<OOBModel>(R"({"result":true})");
    ASSERT_TRUE(oob);
    EXPECT_TRUE(oob->isEnable());
    auto validate = decode<ValidateCertificateModel>(R"({"enable":false})");
    ASSERT_TRUE(validate);
    EXPECT_FALSE(validate->isServer_ca_validation());
    auto blooth = decode<BloothModel>(R"({"ble_enable":false,"enable":true,"autopair_enable":false,"device_name":"x"})");
    ASSERT_TRUE(blooth);
    EXPECT_TRUE(blooth->isEnable());
    EXPECT_FALSE(blooth->isBle_enable());

    auto orbrinAudio = decode<AudioSettingOrbrinModel>(
        R"({"noise_blocker":false,"acoustic_beam":"wide","stereo":true,"bass":true})");
    ASSERT_TRUE(orbrinAudio);
    EXPECT_EQ(orbrinAudio->acoustic_beam, QStringLiteral("wide"));
    EXPECT_TRUE(orbrinAudio->isStereo());

    auto info = decode<DeviceInfoModel>(R"({"device_name":"R","model":"M","country_region":"C",
        "version_sw":"1","provision_status":"p","main_ip_address":"i","main_mac_address":"m",
        "wifi_signal_strength":"w","remote_active":true,"remote_upgrading":0,"sn":null})");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->remote_active, 1.0);            // a boolean held as a number
    EXPECT_EQ(info->remote_upgrading, 0.0);
    EXPECT_FALSE(info->remote_upgrade_enable);      // absent: no value at all
    EXPECT_FALSE(info->sn);
    EXPECT_FALSE(info->provision_server_info);

    auto network = decode<NetworkInfoModel>(R"({"network_mode":"None","network_status":false})");
    ASSERT_TRUE(network);
    EXPECT_FALSE(network->isNetwork_status());
    EXPECT_FALSE(network->IPV4setting);
    EXPECT_FALSE(network->Security_802_1_x);
    EXPECT_FALSE(network->getWIFIsetting);

    auto wifi = decode<WiFiStatusModel>(R"({"wifi_connection_info":{"mWifiSsid":{"octets":
        {"buf":[72,105],"count":2}}},"wifi_enable":true,"wifi_auto_connect":true,"wifi_status":"s",
        "main_ip_address":"a","main_mac_address":"b"})");
    ASSERT_TRUE(wifi && wifi->wifi_connection_info && wifi->wifi_connection_info->mWifiSsid);
    const auto &octets = wifi->wifi_connection_info->mWifiSsid->octets;
    EXPECT_EQ(octets->count, 2);
    EXPECT_EQ(octets->buf, (QJsonArray{72, 105}));
    EXPECT_FALSE(wifi->wifi_connection_info->signalStrength);

    auto ssids = decode<WifiInfoModel>(R"({"ssid_info":[{"bssid":"b","encryptionType":"e","ssid":"s","signalStrength":-3}]})");
    ASSERT_TRUE(ssids);
    ASSERT_EQ(ssids->ssid_info.size(), 1);
    EXPECT_EQ(ssids->ssid_info.first()->signalStrength, -3);

    for (const char *mic : {R"("on")", "3", "[1]", "false"}) {
        const QByteArray json = QByteArray(R"({"power_injector":true,"compatible_mode":true,"microphone_enable":)") + mic + "}";
        auto misc = decode<MiscellaneousModel>(json.constData());
        ASSERT_TRUE(misc && misc->microphone_enable) << mic;
        EXPECT_EQ(*misc->microphone_enable,
                  QJsonDocument::fromJson("[" + QByteArray(mic) + "]").array().first());
    }
}

} // namespace

// The shortcut for plain objects must decode exactly as the general path, and
// leave everything else to it (the public decoder then gives the general
// path's result or error).
TEST(ModelDecodingTest, ShortcutDecodesAsTheGeneralPathOrDeclines)
{
    struct Case {
        const char *className;
        const char *body;
        bool shortcut;  // the shortcut takes it
    };
    const Case cases[] = {
        {"StatusModel", R"({"diag_info":"","msg_id":12,"status_code":200,"status_string":"success"})", true},
        {"StatusModel", " \t\r\n{ \"msg_id\" : -7 , \"status_code\":0,\"status_string\":\"x\",\"diag_info\":\"d\" }\n", true},
        {"DeviceInfoModel", R"({"device_name":"Room","version_hw":"2","model":"H1","sn":"S1",
            "country_region":"DE","version_sw":"1.2.3","provision_status":"ok","main_ip_address":"10.0.0.2",
            "main_mac_address":"00:11","wifi_signal_strength":"-50","remote_active":1,"remote_upgrading":false,
            "remote_upgrade_enable":true,"provision_server_info":{"provision_mode":"Auto","provision_dhcp_opt":0},
            "device_time":null,"unknown":{"a":[1,true,null,{"b":"c"}],"d":[]},"usb_mode":"2.0"})", true},
        {"DeviceInfoModel", R"({"device_name":"R","model":"H","country_region":"DE","version_sw":"1",
            "provision_status":"ok","main_ip_address":"","main_mac_address":"","wifi_signal_strength":"0"})", true},
        {"ProvisionModel", "{}", true},
        {"StatusModel", R"({"diag_info":"a plain diagnostic text well past sixteen bytes","msg_id":12,
            "status_code":200,"status_string":"success","a_key_longer_than_any_field_of_the_model":"v"})", true},
        // Left to the general path: escapes, non-ASCII text, numbers that are
        // not plain whole numbers, repeated keys, arrays in fields, errors.
        {"StatusModel", R"({"diag_info":"a\"b","msg_id":12,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"a\u0041","msg_id":12,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", "{\"diag_info\":\"caf\xC3\xA9\",\"msg_id\":12,\"status_code\":200,\"status_string\":\"s\"}", false},
        {"StatusModel", R"({"diag_info":"0123456789abcdefghij\"x","msg_id":12,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", "{\"diag_info\":\"0123456789abcdefghij\x7F\",\"msg_id\":12,\"status_code\":200,\"status_string\":\"s\"}", false},
        {"StatusModel", "{\"diag_info\":\"0123456789abcdefghij\xC3\xA9\",\"msg_id\":12,\"status_code\":200,\"status_string\":\"s\"}", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12.0,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":1e1,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":-0,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":012,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":1234567890123456789,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12,"msg_id":13,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":"12","status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":null,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"msg_id":12,"status_code":200,"status_string":"s"})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12,"status_code":200,"status_string":"s",})", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12,"status_code":200,"status_string":"s"} x)", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12,"status_code":200,"status_string":"s")", false},
        {"StatusModel", R"({"diag_info":"","msg_id":12,"status_code":200,"status_string":"s","x":truex})", false},
        {"StatusModel", "\xEF\xBB\xBF{\"diag_info\":\"\",\"msg_id\":1,\"status_code\":2,\"status_string\":\"s\"}", false},
        {"StatusModel", "", false},
        {"StatusModel", "[]", false},
        {"WifiInfoModel", R"({"ssid_info":[{"bssid":"b","encryptionType":"WPA2","ssid":"n","signalStrength":-40}]})", false},
        {"NoSuchModel", "{}", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        const QByteArray body(c.body);
        QString generalError;
        const QOVAModelRef general = QOVAModelRegistry::modelFromJSONDataGeneral(c.className, body, &generalError);
        const QOVAModelRef shortcut = QOVAModelRegistry::modelFromJSONDataShortcut(c.className, body);
        EXPECT_EQ(shortcut != nullptr, c.shortcut);
        if (shortcut) {
            ASSERT_TRUE(general) << qPrintable(generalError);
            EXPECT_EQ(shortcut->className(), general->className());
            EXPECT_EQ(shortcut->toJSONObject(), general->toJSONObject());
        }
        QString error;
        const QOVAModelRef decoded = QOVAModelRegistry::modelFromJSONData(c.className, body, &error);
        ASSERT_EQ(decoded != nullptr, general != nullptr);
        EXPECT_EQ(error, generalError);
        if (decoded) {
            EXPECT_EQ(decoded->toJSONObject(), general->toJSONObject());
        }
    }
}
