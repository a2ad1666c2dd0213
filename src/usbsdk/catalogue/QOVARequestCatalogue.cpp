#include "QOVARequestCatalogue.h"

#include "QOVAUSBDeviceHIDInterface.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using R = QOVARequest;
using V = QOVABodyValue;
constexpr int O = QOVAFamilyOrbrin;
constexpr int Vk = QOVAFamilyVasko;
constexpr int B = QOVAFamilyBase;

QOVACatalogueRow get(R request, int id, const char *url, const char *reply, int families,
                     QOVASideEffect effect = QOVASideEffect::None)
{
    return {request, id, QOVAUrlRule::Fixed, url, nullptr, QOVARequestMethod::Get,
            QOVABodyRule::None, {}, reply, families, effect};
}

QOVACatalogueRow put(R request, int id, const char *url, std::vector<QOVABodyField> fields,
                     int families)
{
    return {request, id, QOVAUrlRule::Fixed, url, nullptr, QOVARequestMethod::Put,
            QOVABodyRule::Fields, std::move(fields), nullptr, families, QOVASideEffect::None};
}

QOVACatalogueRow putCallerBody(R request, int id, const char *url, int families)
{
    return {request, id, QOVAUrlRule::Fixed, url, nullptr, QOVARequestMethod::Put,
            QOVABodyRule::Caller, {}, nullptr, families, QOVASideEffect::None};
}

QOVACatalogueRow putFile(R request, int id, QOVAUrlRule rule, const char *url, int families,
                         QOVASideEffect effect = QOVASideEffect::None)
{
    return {request, id, rule, url, nullptr, QOVARequestMethod::PutFile, QOVABodyRule::None,
            {}, nullptr, families, effect};
}

QOVABodyField flag(const char *key) { return {key, V::Bool}; }
QOVABodyField text(const char *key) { return {key, V::Text}; }
QOVABodyField fixed(const char *key, const char *value) { return {key, V::Fixed, value}; }
QOVABodyField flagText(const char *key, const char *whenTrue, const char *whenFalse)
{
    return {key, V::FlagText, whenTrue, whenFalse};
}

std::vector<QOVACatalogueRow> makeRows()
{
    std::vector<QOVACatalogueRow> rows = {
        get(R::GeneralGet, 1, "general", "OrbrinGeneralInformationModel", O | Vk),
        put(R::GeneralSetWithVividMode, 2, "general",
            {text("device_name"), text("country_region"), text("ntp_mode"), text("ntp_server"),
             flagText("camera_vivid_mode", "true", "false")}, O),
        put(R::GeneralSet, 2, "general",
            {text("device_name"), text("country_region"), text("ntp_mode"), text("ntp_server")}, O | Vk),
        get(R::BluetoothGet, 3, "bluetooth", "BloothModel", O | Vk),
        put(R::BluetoothSet, 4, "bluetooth",
            {flag("enable"), flag("autopair_enable"), flag("ble_enable")}, O | Vk),
        put(R::WifiEnable, 5, "wifi", {flagText("wifi_action", "enable", "disable")}, O),
        get(R::WifiStatusGet, 6, "wifi_status", "WiFiStatusModel", O),
        get(R::WifiListGet, 7, "wifi_available_ssid", "WifiInfoModel", O | Vk),
        put(R::WifiConnect, 8, "wifi",
            {fixed("wifi_action", "connect"), {"wifi_connect_param", V::Dictionary}}, O),
        put(R::WifiConnectNetwork, 8, "network",
            {fixed("network_mode", "Wi-Fi"), fixed("WIFI_SETTINGS/wifi_action", "connect"),
             {"WIFI_SETTINGS/wifi_connect_param", V::Dictionary}}, Vk),
        put(R::WifiDisconnect, 8, "wifi",
            {fixed("wifi_action", "delete"), {"wifi_connect_param", V::Dictionary}}, O | Vk),
        get(R::ConfigFileGet, 9, "config_file", "NSData", O | Vk),
        putFile(R::ConfigFilePut, 10, QOVAUrlRule::Fixed, "config_file", O | Vk),
        get(R::SystemLogGet, 11, "system_log", "NSData", O | Vk),
        get(R::DeviceInfoGet, 12, "device_info", "DeviceInfoModel", B),
        get(R::WifiSavedGet, 13, "wifi_saved_ssid", "SavedSSIDInfoModel", O | Vk),
        put(R::BluetoothPair, 14, "bluetooth_pair", {fixed("action", "pair")}, O | Vk),
        {R::CameraPreset, 15, QOVAUrlRule::Preset, "preset_", nullptr, QOVARequestMethod::Put,
         QOVABodyRule::Fields, {text("action")}, nullptr, O | Vk, QOVASideEffect::None},
        put(R::AutoTrackingSet, 16, "auto_tracking",
            {flag("group_framing"), flag("talker_tracking"), text("tracking_speed"), text("framing_size")},
            O | Vk),
        put(R::AdminLogin, 17, "login", {text("password")}, O | Vk),
        put(R::AdminPasswordChange, 17, "admin", {text("old_password"), text("new_password")}, O | Vk),
        put(R::Ops, 18, "ops", {text("action")}, O | Vk),
        put(R::AudioSet, 19, "audio",
            {flag("noise_blocker"), flag("acoustic_beam"), flag("stereo"), flag("bass")}, O | Vk),
        put(R::AudioOrbrinSet, 19, "audio",
            {flag("noise_blocker"), text("acoustic_beam"), flag("stereo"), flag("bass")}, O),
        get(R::AudioGet, 20, "audio", "AudioSettingModel", O | Vk),
        get(R::AudioOrbrinGet, 20, "audio", "AudioSettingOrbrinModel", O),
        {R::AudioDiagnosticRecord, 21, QOVAUrlRule::Flag, "audio_diagnostic_record_start",
         "audio_diagnostic_record_stop", QOVARequestMethod::Get, QOVABodyRule::None, {}, "NSData",
         O | Vk, QOVASideEffect::NotificationBlockAfterSend},
        get(R::ProvisionServerGet, 22, "provision_server", "ProvisionServerInfoModel", O | Vk),
        get(R::OsdGet, 23, "osd", "OSDModel", O | Vk),
        put(R::OsdSet, 24, "osd", {flag("enable")}, O | Vk),
        get(R::OobGet, 25, "if_need_oob", "OOBModel", O | Vk),
        get(R::Cancel, 26, "cancel", "CancelModel", O | Vk, QOVASideEffect::CancelBeforeSend),
        get(R::CoredumpLogGet, 27, "coredump_log", "NSData", O),
        put(R::TimeSync, 29, "time_sync", {{"time", V::Int64}, text("timezone")}, O | Vk),
        put(R::SimplePasswordSet, 30, "simple_password", {flag("simple_password")}, O | Vk),
        get(R::SimplePasswordGet, 31, "simple_password", "SimplePasswordModel", O | Vk),
        get(R::PasswordEnableGet, 32, "enable_password", "PasswordEnableModel", O | Vk),
        putFile(R::RemoteControlUpgrade, 33, QOVAUrlRule::Fixed, "remote_control_upgrade", O,
                QOVASideEffect::ProgressBlockBeforeSend),
        put(R::ProvisionServerSet, 34, "provision_server",
            {text("provision_server_url"), text("provision_username"), text("provision_password"),
             text("provision_mode"), text("provision_server_type")}, O | Vk),
        get(R::AutoTrackingGet, 35, "auto_tracking", "AutoTrackingModel", O | Vk),
        get(R::CameraExtensionGet, 36, "camera_extension_feature", "CameraExtensionFeatureModel", Vk),
        put(R::CameraExtensionSet, 37, "camera_extension_feature",
            {flag("skin_enhancement"), flag("wide_dynamic_range"), flag("participant_count")}, Vk),
        putCallerBody(R::NetworkEnable, 38, "network", Vk),
        get(R::NetworkStatusGet, 39, "network_status", "NetworkInfoModel", B),
        putCallerBody(R::NetworkSet, 40, "network", B),
        get(R::MiscellaneousGet, 41, "Miscellaneous", "MiscellaneousModel", Vk),
        put(R::MiscellaneousSet, 42, "Miscellaneous", {flag("power_injector"), flag("compatible_mode")}, Vk),
        putCallerBody(R::CsrInfoSet, 44, "csr_info_provision", O | Vk),
        get(R::CsrFileGet, 45, "csr_file_provision", "NSData", O | Vk),
        putFile(R::CertificatePut, 46, QOVAUrlRule::Caller, nullptr, O | Vk),
        put(R::CaDelete, 47, "ca_delete", {text("ca_type")}, O | Vk),
        get(R::CertInfoGet, 48, "cert_info", "CertInfo", O | Vk),
        {R::CertDetailGet, 49, QOVAUrlRule::Caller, nullptr, nullptr, QOVARequestMethod::Get,
         QOVABodyRule::None, {}, "DetailInfo", O | Vk, QOVASideEffect::None},
        put(R::CertPasswordSet, 50, "wifi_client_cert_password", {text("password")}, O | Vk),
        put(R::ServerValidationSet, 51, "server_ca_validation", {flag("enable")}, O | Vk),
        get(R::ConversationGet, 52, "conversation_view", "ConversationModeModel", O),
        put(R::ConversationSet, 53, "conversation_view",
            {flagText("conversation_view_mode", "1", "0")}, O),
        get(R::TrackingFrameGet, 54, "maximum_zoom_level", "TrackingFrameModel", O | Vk),
        put(R::TrackingFrameSet, 55, "maximum_zoom_level", {text("zoom_level")}, O | Vk),
        get(R::SmoothTrackingGet, 56, "smooth_transition", "SmoothTrackingModel", O | Vk),
        put(R::SmoothTrackingSet, 57, "smooth_transition",
            {flagText("smooth_transition_mode", "1", "0")}, O | Vk),
        put(R::MicrophonesSet, 59, "Miscellaneous", {flag("microphone_enable")}, Vk),
        get(R::AudioStereoGet, 60, "audio", "VaskoAudioSettingModel", Vk),
        put(R::AudioStereoSet, 61, "audio", {flag("stereo")}, Vk),
        get(R::ServerValidationGet, 62, "server_ca_validation", "ValidateCertificateModel", Vk),
        get(R::LectureGet, 63, "lecture_mode", "LectureModeModel", O),
        put(R::LectureSet, 64, "lecture_mode", {flag("enable")}, O),
        put(R::DhcpOptionSet, 65, "provision_server",
            {fixed("provision_mode", "Auto"), {"provision_dhcp_opt", V::Int32}}, Vk),
        put(R::WifiSecurityTypeSet, 66, "wifi",
            {fixed("wifi_action", "connect"), {"wifi_connect_param", V::Dictionary}}, O),
    };
    return rows;
}

// Places value at a key path "A/b" inside object.
void insertAt(QJsonObject &object, const QString &path, const QJsonValue &value)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        object.insert(path, value);
        return;
    }
    const QString outer = path.left(slash);
    QJsonObject nested = object.value(outer).toObject();
    insertAt(nested, path.mid(slash + 1), value);
    object.insert(outer, nested);
}

QJsonValue bodyValue(const QOVABodyField &field, const QVariant &argument)
{
    switch (field.kind) {
    case V::Bool: return argument.toBool();
    case V::Text: return argument.toString();
    case V::Int64: return argument.toLongLong();
    case V::Int32: return QOVARequestCatalogue::int32Value(argument);
    case V::Dictionary: return argument.toJsonObject();
    case V::Fixed: return QString::fromLatin1(field.text);
    case V::FlagText:
        return QString::fromLatin1(argument.toBool() ? field.text : field.textWhenFalse);
    }
    return {};
}

} // namespace

namespace QOVARequestCatalogue {

const std::vector<QOVACatalogueRow> &rows()
{
    static const std::vector<QOVACatalogueRow> table = makeRows();
    return table;
}

const QOVACatalogueRow &row(QOVARequest request)
{
    static const QHash<int, const QOVACatalogueRow *> index = [] {
        QHash<int, const QOVACatalogueRow *> byRequest;
        for (const QOVACatalogueRow &r : rows())
            byRequest.insert(static_cast<int>(r.request), &r);
        return byRequest;
    }();
    return *index.value(static_cast<int>(request));
}

qint32 int32Value(const QVariant &value)
{
    constexpr qint64 low = std::numeric_limits<qint32>::min();
    constexpr qint64 high = std::numeric_limits<qint32>::max();
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        qsizetype i = 0;
        bool negative = false;
        if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            negative = text[i++] == QLatin1Char('-');
        qint64 magnitude = 0;
        for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            magnitude = magnitude * 10 + (text[i].unicode() - '0');
            if (magnitude > high + 1)
                magnitude = high + 1;   // saturated; later digits change nothing
        }
        const qint64 n = negative ? -magnitude : magnitude;
        return static_cast<qint32>(std::clamp(n, low, high));
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || std::isnan(d))
        return 0;
    const double t = std::trunc(d);
    if (t <= static_cast<double>(low))
        return static_cast<qint32>(low);
    if (t >= static_cast<double>(high))
        return static_cast<qint32>(high);
    return static_cast<qint32>(t);
}

QOVABuiltRequest build(QOVARequest request, const QOVARequestArguments &arguments)
{
    const QOVACatalogueRow &r = row(request);
    QOVABuiltRequest built;

    QString url;
    switch (r.urlRule) {
    case QOVAUrlRule::Fixed: url = QString::fromLatin1(r.url); break;
    case QOVAUrlRule::Caller: url = arguments.url.toString(); break;
    case QOVAUrlRule::Preset:
        url = QString::fromLatin1(r.url) + QString::number(arguments.url.toULongLong());
        break;
    case QOVAUrlRule::Flag:
        url = QString::fromLatin1(arguments.url.toBool() ? r.url : r.urlWhenFalse);
        break;
    }
    built.head = QJsonObject{
        {QStringLiteral("url"), url},
        {QStringLiteral("type"), r.method == QOVARequestMethod::Get ? QStringLiteral("GET")
                                                                    : QStringLiteral("PUT")},
        {QStringLiteral("msg_id"), QString::number(r.msgId)},
    };

    switch (r.bodyRule) {
    case QOVABodyRule::None: break;
    case QOVABodyRule::Caller: built.body = arguments.body; break;
    case QOVABodyRule::Fields: {
        QJsonObject body;
        qsizetype next = 0;
        for (const QOVABodyField &field : r.fields) {
            const QVariant argument = field.takesArgument() ? arguments.values.value(next++) : QVariant();
            insertAt(body, QString::fromLatin1(field.key), bodyValue(field, argument));
        }
        built.body = body;
        break;
    }
    }
    if (r.method == QOVARequestMethod::PutFile)
        built.filePath = arguments.filePath;
    if (r.reply)
        built.replyClass = QString::fromLatin1(r.reply);
    return built;
}

void send(QOVAUSBDeviceHIDInterface &hid, QOVARequest request, const QOVARequestArguments &arguments,
          const QOVARequestBlocks &blocks)
{
    const QOVACatalogueRow &r = row(request);
    const QOVABuiltRequest built = build(request, arguments);

    if (r.sideEffect == QOVASideEffect::CancelBeforeSend)
        hid.setCancel(true);
    else if (r.sideEffect == QOVASideEffect::ProgressBlockBeforeSend)
        hid.setProgressBlock(blocks.progress);

    switch (r.method) {
    case QOVARequestMethod::Get:
        hid.getInformationFromUSBDevice(built.replyClass, built.head, blocks.completion, blocks.failure);
        break;
    case QOVARequestMethod::Put:
        hid.putInformationToUSBDevice(built.head, built.body, blocks.success, blocks.failure);
        break;
    case QOVARequestMethod::PutFile:
        hid.putFileDataToUSBDevice(built.head, built.filePath, blocks.success, blocks.failure);
        break;
    }

    if (r.sideEffect == QOVASideEffect::NotificationBlockAfterSend)
        hid.setNotificationBlock(blocks.notification);
}

} // namespace QOVARequestCatalogue
