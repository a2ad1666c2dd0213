#include "SimCatalogueRequestHandler.h"

#include "sim/SimDevice.h"
#include "sim/SimZip.h"
#include "sim/dfu/SimDfuHandler.h"
#include "sim/uvc/SimUvcControlHandler.h"
#include <QRegularExpression>

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QBuffer>
#include <QSslCertificate>
#include <QSslKey>

#include <initializer_list>
#include <utility>

namespace sim {

namespace {

constexpr int O = 1;
constexpr int V = 2;

enum class Kind { Bool, Text, Number, Object };

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Bool: return "boolean";
    case Kind::Text: return "text";
    case Kind::Number: return "number";
    case Kind::Object: return "object";
    }
    return "value";
}

bool hasKind(const QJsonValue &value, Kind kind)
{
    switch (kind) {
    case Kind::Bool: return value.isBool();
    case Kind::Text: return value.isString();
    case Kind::Number: return value.isDouble();
    case Kind::Object: return value.isObject();
    }
    return false;
}

SimReply status(int code, const QString &text)
{
    SimReply reply;
    reply.statusCode = code;
    reply.statusString = text;
    return reply;
}

SimReply ok()
{
    return SimReply();
}

SimReply json(const QJsonObject &object)
{
    SimReply reply;
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

SimReply raw(const QByteArray &bytes)
{
    SimReply reply;
    reply.body = bytes;
    reply.bodyType = 1;
    return reply;
}

SimReply unknownRequest()
{
    return status(400, QStringLiteral("unknown request"));
}

// The keys a body needs, with their kinds; the first one missing or of
// another kind gives the 400 answer.
std::optional<SimReply> need(const QJsonObject &body, std::initializer_list<std::pair<const char *, Kind>> keys)
{
    for (const auto &[key, kind] : keys) {
        const QJsonValue value = body.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull())
            return status(400, QStringLiteral("missing key: %1").arg(QLatin1String(key)));
        if (!hasKind(value, kind))
            return status(400, QStringLiteral("bad value: %1 (%2 expected)")
                                   .arg(QLatin1String(key), QLatin1String(kindName(kind))));
    }
    return std::nullopt;
}

SimReply badValue(const char *key)
{
    return status(400, QStringLiteral("bad value: %1").arg(QLatin1String(key)));
}

// A flag sent as "1"/"0" text.
std::optional<bool> digitFlag(const QJsonValue &value)
{
    if (value == QJsonValue(QStringLiteral("1")))
        return true;
    if (value == QJsonValue(QStringLiteral("0")))
        return false;
    return std::nullopt;
}

// A number the join or address dictionaries give as number, flag or text.
qint64 looseInteger(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isDouble())
        return value.toInteger();
    return value.toString().toLongLong();
}

const char *const kAvailable[][4] = {
    {"02:1d:5c:10:00:01", "WPA2-PSK", "Meeting Room", "-42"},
    {"02:1d:5c:10:00:02", "WPA2-EAP", "Corporate", "-61"},
    {"02:1d:5c:10:00:03", "None", "Guest", "-77"},
    // The same network on its second band, an open network as the device
    // marks it, a non-ASCII name, and a type no join window knows.
    {"02:1d:5c:10:00:04", "WPA2-PSK", "Meeting Room", "-58"},
    {"02:1d:5c:10:00:05", "[ESS]", "Lobby", "-66"},
    {"02:1d:5c:10:00:06", "WPA2-PSK", "Café Zürich ☕", "-70"},
    {"02:1d:5c:10:00:07", "WPA3-SAE", "Studio", "-72"},
};

QString bssidOf(const QString &ssid)
{
    for (const auto &network : kAvailable) {
        if (ssid == QLatin1String(network[2]))
            return QLatin1String(network[0]);
    }
    return QStringLiteral("02:1d:5c:10:00:ff");
}

QByteArray serialDigest(const QString &serial)
{
    return QCryptographicHash::hash(serial.toUtf8(), QCryptographicHash::Sha1);
}

// Each simulated device has an address of its own, made from its serial
// number: locally administered, so it never stands for a real adapter.
QString macAddressOf(const QString &serial)
{
    const QByteArray digest = serialDigest(serial);
    return QStringLiteral("02:1d:5c:%1:%2:%3")
        .arg(uint8_t(digest[0]), 2, 16, QLatin1Char('0'))
        .arg(uint8_t(digest[1]), 2, 16, QLatin1Char('0'))
        .arg(uint8_t(digest[2]), 2, 16, QLatin1Char('0'));
}


// Certificate upload urls and detail urls, and the type each names.
const char *const kCertificateTypes[][3] = {
    {"wifi_ca_cert", "wifi_server_detail", "wifiCaCert"},
    {"wifi_client_cert", "wifi_client_detail", "wifiClientCert"},
    {"provision_server_ca", "provision_server_detail", "provisionServerCa"},
    {"provision_pem", "provision_client_detail", "provisionClient"},
};

QString typeOfUrl(const QString &url, int column)
{
    for (const auto &row : kCertificateTypes) {
        if (url == QLatin1String(row[column]))
            return QLatin1String(row[2]);
    }
    return {};
}

bool isKnownType(const QString &type)
{
    for (const auto &row : kCertificateTypes) {
        if (type == QLatin1String(row[2]))
            return true;
    }
    return false;
}

} // namespace

SimCatalogueRequestHandler::SimCatalogueRequestHandler(Family family) : m_family(family)
{
    resetToFactory();
}

void SimCatalogueRequestHandler::resetToFactory()
{
    const bool orbrin = m_family == Family::Orbrin;
    m_general = QJsonObject{
        {"device_name", orbrin ? "Zentaro Halvex" : "Skarnfel Tolm USB"},
        {"country_region", "United States"},
        {"ntp_server", "pool.ntp.org"},
        {"ntp_mode", "auto"},
    };
    if (orbrin)
        m_general.insert(QStringLiteral("camera_vivid_mode"), QStringLiteral("false"));
    m_bluetooth = QJsonObject{{"enable", true}, {"ble_enable", true}, {"autopair_enable", false}};
    m_remotePaired = false;
    m_wifiEnabled = true;
    m_wifiAutoConnect = true;
    m_connectedSsid.clear();
    m_savedSsids.clear();
    m_lastJoin = {};
    m_autoTracking = QJsonObject{{"group_framing", true}, {"talker_tracking", false},
                                 {"tracking_speed", "Normal"}, {"framing_size", "Medium"}};
    m_adminPassword.clear();
    m_simplePassword = false;
    m_audio = QJsonObject{{"noise_blocker", true}, {"acoustic_beam", orbrin ? "120" : "true"},
                          {"stereo", false}, {"bass", true}};
    m_provision = QJsonObject{{"provision_server_url", ""}, {"provision_mode", "Disable"},
                              {"provision_username", ""}, {"provision_server_type", ""}};
    m_provisionPassword.clear();
    m_osd = true;
    m_deviceTime = 0;
    m_timezone.clear();
    m_cameraExtension = QJsonObject{{"participant_count", false}, {"skin_enhancement", false},
                                    {"wide_dynamic_range", false}};
    m_networkMode = QStringLiteral("Ethernet");
    // With DHCP the address is the device's lease (ipv4Of).
    m_ipv4 = QJsonObject{{"dns_domain", ""}, {"dns1", "10.0.0.1"}, {"dns2", ""},
                         {"gateway", "10.0.0.1"}, {"main_ip_address", ""},
                         {"mask", "255.0.0.0"}, {"dhcp", 1}};
    m_security8021x.reset();
    m_vaskoWifi.reset();
    m_miscellaneous = QJsonObject{{"power_injector", false}, {"compatible_mode", false},
                                  {"microphone_enable", true}};
    m_certificates.clear();
    m_pendingP12.reset();
    m_certificatePassword.clear();
    m_serverValidation = false;
    m_csrParams = {};
    m_conversationView = false;
    m_lectureMode = false;
    m_trackingFrame = 2;
    m_smoothTransition = false;
    m_configFile.reset();
    m_coredump = coredumpArchive();
    {
        std::lock_guard<std::mutex> guard(m_recording->lock);
        m_recording->running = false;
        ++m_recording->ticket;
    }
    m_presetPositions = QList<std::optional<PresetPosition>>(5);
}

void SimCatalogueRequestHandler::setNeedsOob(bool needsOob)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_needsOob = needsOob;
}

bool SimCatalogueRequestHandler::needsOob() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_needsOob;
}

void SimCatalogueRequestHandler::setAdminPassword(const QString &password)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_adminPassword = password;
}

void SimCatalogueRequestHandler::setWifiJoin(WifiJoin outcome)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wifiJoin = outcome;
}

void SimCatalogueRequestHandler::setWifiStatusOctets(std::optional<QJsonObject> octets)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wifiStatusOctets = std::move(octets);
}

bool SimCatalogueRequestHandler::wifiEnabled() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wifiEnabled;
}

bool SimCatalogueRequestHandler::wifiAutoConnect() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_wifiAutoConnect;
}

QString SimCatalogueRequestHandler::connectedSsid() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connectedSsid;
}

QStringList SimCatalogueRequestHandler::savedSsids() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_savedSsids;
}

void SimCatalogueRequestHandler::setSavedSsids(const QStringList &ssids)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_savedSsids = ssids;
}

QString SimCatalogueRequestHandler::currentAdminPassword() const
{
    if (m_adminPassword.isEmpty() && m_needsOob)
        return QStringLiteral("admin");
    return m_adminPassword;
}

void SimCatalogueRequestHandler::setOobDoneOnPasswordChange(bool done)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_oobDoneOnPasswordChange = done;
}

QJsonObject SimCatalogueRequestHandler::provisionSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_provision;
}

void SimCatalogueRequestHandler::setProvisionSettings(const QJsonObject &settings)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_provision = settings;
}

QString SimCatalogueRequestHandler::provisionPassword() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_provisionPassword;
}

QString SimCatalogueRequestHandler::adminPassword() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_adminPassword;
}

QList<SimCatalogueRequestHandler::Certificate> SimCatalogueRequestHandler::certificates() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_certificates;
}

void SimCatalogueRequestHandler::setCertificates(const QList<Certificate> &certificates)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_certificates = certificates;
}

bool SimCatalogueRequestHandler::serverValidation() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_serverValidation;
}

bool SimCatalogueRequestHandler::conversationView() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_conversationView;
}

void SimCatalogueRequestHandler::setConversationView(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_conversationView = on;
}

bool SimCatalogueRequestHandler::lectureMode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lectureMode;
}

void SimCatalogueRequestHandler::setLectureMode(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lectureMode = on;
}

void SimCatalogueRequestHandler::failRequest(const QString &url, bool get, int statusCode,
                                             const QString &statusText)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requestFailures.append(RequestFailure{url, get, statusCode, statusText});
}

void SimCatalogueRequestHandler::clearRequestFailures()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requestFailures.clear();
}

void SimCatalogueRequestHandler::setCoredump(std::optional<QByteArray> coredump)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_coredump = std::move(coredump);
}

void SimCatalogueRequestHandler::afterReply(SimDeviceHost &host, std::function<void(SimDeviceHost &)> task,
                                            int delayMs)
{
    SimDeviceHost *device = &host;
    host.runAfterReply(delayMs, [device, task = std::move(task)]() { task(*device); });
}

const std::vector<SimCatalogueRequestHandler::Route> &SimCatalogueRequestHandler::routes()
{
    using H = SimCatalogueRequestHandler;
    static const std::vector<Route> table = {
        {1, "general", true, false, O | V, &H::getGeneral},
        {2, "general", false, true, O | V, &H::putGeneral},
        {3, "bluetooth", true, false, O | V, &H::getBluetooth},
        {4, "bluetooth", false, true, O | V, &H::putBluetooth},
        {5, "wifi", false, true, O, &H::putWifi},
        {6, "wifi_status", true, false, O, &H::getWifiStatus},
        {7, "wifi_available_ssid", true, false, O | V, &H::getWifiList},
        {8, "wifi", false, true, O | V, &H::putWifi},
        {8, "network", false, true, V, &H::putNetwork},
        {9, "config_file", true, false, O | V, &H::getConfigFile},
        {10, "config_file", false, false, O | V, &H::putConfigFile},
        {11, "system_log", true, false, O | V, &H::getSystemLog},
        {12, "device_info", true, false, O | V, &H::getDeviceInfo},
        {13, "wifi_saved_ssid", true, false, O | V, &H::getWifiSaved},
        {14, "bluetooth_pair", false, true, O | V, &H::putBluetoothPair},
        {15, "preset_", false, true, O | V, &H::putPreset},
        {16, "auto_tracking", false, true, O | V, &H::putAutoTracking},
        {17, "login", false, true, O | V, &H::putLogin},
        {17, "admin", false, true, O | V, &H::putAdmin},
        {18, "ops", false, true, O | V, &H::putOps},
        {19, "audio", false, true, O | V, &H::putAudio},
        {20, "audio", true, false, O | V, &H::getAudio},
        {21, "audio_diagnostic_record_start", true, false, O | V, &H::getAudioDiagnostic},
        {21, "audio_diagnostic_record_stop", true, false, O | V, &H::getAudioDiagnostic},
        {22, "provision_server", true, false, O | V, &H::getProvision},
        {23, "osd", true, false, O | V, &H::getOsd},
        {24, "osd", false, true, O | V, &H::putOsd},
        {25, "if_need_oob", true, false, O | V, &H::getOob},
        {26, "cancel", true, false, O | V, &H::getCancel},
        {27, "coredump_log", true, false, O, &H::getCoredump},
        {29, "time_sync", false, true, O | V, &H::putTimeSync},
        {30, "simple_password", false, true, O | V, &H::putSimplePassword},
        {31, "simple_password", true, false, O | V, &H::getSimplePassword},
        {32, "enable_password", true, false, O | V, &H::getPasswordEnable},
        {33, "remote_control_upgrade", false, false, O, &H::putRemoteControlUpgrade},
        {34, "provision_server", false, true, O | V, &H::putProvision},
        {35, "auto_tracking", true, false, O | V, &H::getAutoTracking},
        {36, "camera_extension_feature", true, false, V, &H::getCameraExtension},
        {37, "camera_extension_feature", false, true, V, &H::putCameraExtension},
        {38, "network", false, true, V, &H::putNetwork},
        {39, "network_status", true, false, O | V, &H::getNetworkStatus},
        {40, "network", false, true, O | V, &H::putNetwork},
        {41, "Miscellaneous", true, false, V, &H::getMiscellaneous},
        {42, "Miscellaneous", false, true, V, &H::putMiscellaneous},
        {44, "csr_info_provision", false, true, O | V, &H::putCsrInfo},
        {45, "csr_file_provision", true, false, O | V, &H::getCsrFile},
        {46, "wifi_ca_cert", false, false, O | V, &H::putCertificate},
        {46, "wifi_client_cert", false, false, O | V, &H::putCertificate},
        {46, "provision_server_ca", false, false, O | V, &H::putCertificate},
        {46, "provision_pem", false, false, O | V, &H::putCertificate},
        {47, "ca_delete", false, true, O | V, &H::putCaDelete},
        {48, "cert_info", true, false, O | V, &H::getCertInfo},
        {49, "wifi_server_detail", true, false, O | V, &H::getCertDetail},
        {49, "wifi_client_detail", true, false, O | V, &H::getCertDetail},
        {49, "provision_server_detail", true, false, O | V, &H::getCertDetail},
        {49, "provision_client_detail", true, false, O | V, &H::getCertDetail},
        {50, "wifi_client_cert_password", false, true, O | V, &H::putCertPassword},
        {51, "server_ca_validation", false, true, O | V, &H::putServerValidation},
        {52, "conversation_view", true, false, O, &H::getConversation},
        {53, "conversation_view", false, true, O, &H::putConversation},
        {54, "maximum_zoom_level", true, false, O | V, &H::getTrackingFrame},
        {55, "maximum_zoom_level", false, true, O | V, &H::putTrackingFrame},
        {56, "smooth_transition", true, false, O | V, &H::getSmoothTracking},
        {57, "smooth_transition", false, true, O | V, &H::putSmoothTracking},
        {59, "Miscellaneous", false, true, V, &H::putMiscellaneous},
        {60, "audio", true, false, V, &H::getAudioStereo},
        {61, "audio", false, true, V, &H::putAudio},
        {62, "server_ca_validation", true, false, V, &H::getServerValidation},
        {63, "lecture_mode", true, false, O, &H::getLecture},
        {64, "lecture_mode", false, true, O, &H::putLecture},
        {65, "provision_server", false, true, V, &H::putProvision},
        {66, "wifi", false, true, O, &H::putWifi},
    };
    return table;
}

const SimCatalogueRequestHandler::Route *SimCatalogueRequestHandler::findRoute(const QString &url, bool get,
                                                                               int msgId) const
{
    const int family = m_family == Family::Orbrin ? O : m_family == Family::Vasko ? V : 0;
    for (const Route &route : routes()) {
        const QLatin1String routeUrl(route.url);
        const bool urlMatches = route.msgId == 15 ? url.startsWith(routeUrl) : url == routeUrl;
        if (urlMatches && route.get == get && route.msgId == msgId && (route.families & family))
            return &route;
    }
    return nullptr;
}

SimReply SimCatalogueRequestHandler::handleRequest(SimDeviceHost &host, const QJsonObject &head,
                                                   const QByteArray &body, int dataType)
{
    const QString url = head.value(QStringLiteral("url")).toString();
    const QString type = head.value(QStringLiteral("type")).toString();
    bool idOk = false;
    const int msgId = head.value(QStringLiteral("msg_id")).toString().toInt(&idOk);
    if (!idOk || (type != QLatin1String("GET") && type != QLatin1String("PUT")))
        return unknownRequest();
    const Route *route = findRoute(url, type == QLatin1String("GET"), msgId);
    if (!route)
        return unknownRequest();

    Request request{host, url, msgId, {}, {}};
    if (route->json) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(body, &error);
        if (dataType != 0 || error.error != QJsonParseError::NoError || !document.isObject())
            return status(400, QStringLiteral("body is not a JSON object"));
        request.body = document.object();
    } else if (!route->get) {
        if (body.isEmpty())
            return status(400, QStringLiteral("empty file"));
        request.file = body;
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    for (const RequestFailure &failure : m_requestFailures) {
        if (failure.url == url && failure.get == route->get)
            return status(failure.statusCode, failure.statusText);
    }
    return (this->*(route->answer))(request);
}

// --- general, Bluetooth ---

SimReply SimCatalogueRequestHandler::getGeneral(Request &request)
{
    QJsonObject general = m_general;
    const QString hostName = request.host.deviceName();
    if (!hostName.isEmpty())
        general.insert(QStringLiteral("device_name"), hostName);
    return json(general);
}

SimReply SimCatalogueRequestHandler::putGeneral(Request &request)
{
    const QJsonObject &b = request.body;
    if (auto bad = need(b, {{"device_name", Kind::Text}, {"country_region", Kind::Text},
                            {"ntp_server", Kind::Text}, {"ntp_mode", Kind::Text}}))
        return *bad;
    const QString name = b.value(QStringLiteral("device_name")).toString();
    if (name.trimmed().isEmpty())
        return status(400, QStringLiteral("invalid device name"));
    // The camera keeps to its naming rules: 1 to 63 letters, digits, spaces
    // and hyphens, starting with a letter or digit, not ending in a space or
    // hyphen.
    static const QRegularExpression vaskoName(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9 -]{0,61}[A-Za-z0-9])?$"));
    if (m_family == Family::Vasko && !vaskoName.match(name).hasMatch())
        return status(400, QStringLiteral("invalid device name"));
    const QJsonValue vivid = b.value(QStringLiteral("camera_vivid_mode"));
    if (!vivid.isUndefined()) {
        if (vivid != QJsonValue(QStringLiteral("true")) && vivid != QJsonValue(QStringLiteral("false")))
            return badValue("camera_vivid_mode");
        if (m_family == Family::Orbrin)
            m_general.insert(QStringLiteral("camera_vivid_mode"), vivid);
    }
    for (const char *key : {"device_name", "country_region", "ntp_server", "ntp_mode"})
        m_general.insert(QLatin1String(key), b.value(QLatin1String(key)));
    request.host.setDeviceName(name);
    return ok();
}

SimReply SimCatalogueRequestHandler::getBluetooth(Request &request)
{
    QJsonObject bluetooth = m_bluetooth;
    const QString hostName = request.host.deviceName();
    bluetooth.insert(QStringLiteral("device_name"),
                     hostName.isEmpty() ? m_general.value(QStringLiteral("device_name")) : QJsonValue(hostName));
    return json(bluetooth);
}

SimReply SimCatalogueRequestHandler::putBluetooth(Request &request)
{
    if (auto bad = need(request.body, {{"enable", Kind::Bool}, {"ble_enable", Kind::Bool},
                                       {"autopair_enable", Kind::Bool}}))
        return *bad;
    for (const char *key : {"enable", "ble_enable", "autopair_enable"})
        m_bluetooth.insert(QLatin1String(key), request.body.value(QLatin1String(key)));
    return ok();
}

SimReply SimCatalogueRequestHandler::putBluetoothPair(Request &request)
{
    if (auto bad = need(request.body, {{"action", Kind::Text}}))
        return *bad;
    if (request.body.value(QStringLiteral("action")) != QJsonValue(QStringLiteral("pair")))
        return badValue("action");
    m_remotePaired = true;
    afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(3, 3); });
    return ok();
}

// --- Wi-Fi and network ---

QJsonObject SimCatalogueRequestHandler::wifiConnect(Request &request, const QJsonObject &params)
{
    const QString ssid = params.value(QStringLiteral("ssid")).toString();
    m_connectedSsid = ssid;
    if (!m_savedSsids.contains(ssid))
        m_savedSsids.append(ssid);
    m_lastJoin = params;
    // Connecting first; connected a little later, as a real join takes.
    afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(2, 2); });
    afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(2, 0); }, kJoinDelayMs);
    return params;
}

SimReply SimCatalogueRequestHandler::putWifi(Request &request)
{
    const QJsonObject &b = request.body;
    if (auto bad = need(b, {{"wifi_action", Kind::Text}}))
        return *bad;
    const QString action = b.value(QStringLiteral("wifi_action")).toString();
    const bool toggles = action == QLatin1String("enable") || action == QLatin1String("disable");
    if ((request.msgId == 5) != toggles)
        return badValue("wifi_action");
    if (toggles) {
        m_wifiEnabled = action == QLatin1String("enable");
        if (!m_wifiEnabled)
            m_connectedSsid.clear();
        const uint16_t code = m_wifiEnabled ? 4 : 5;
        afterReply(request.host, [code](SimDeviceHost &host) { host.raiseInputReport(2, code); });
        return ok();
    }
    if (auto bad = need(b, {{"wifi_connect_param", Kind::Object}}))
        return *bad;
    const QJsonObject params = b.value(QStringLiteral("wifi_connect_param")).toObject();
    // The automatic-connection switch sends its one key the way a join is sent.
    if (action == QLatin1String("connect") && request.msgId == 8 && !params.contains(QStringLiteral("ssid"))
        && params.contains(QStringLiteral("auto_connect"))) {
        if (auto bad = need(params, {{"auto_connect", Kind::Bool}}))
            return *bad;
        m_wifiAutoConnect = params.value(QStringLiteral("auto_connect")).toBool();
        m_lastJoin = params;
        return ok();
    }
    if (auto bad = need(params, {{"ssid", Kind::Text}}))
        return *bad;
    const QString ssid = params.value(QStringLiteral("ssid")).toString();
    if (action == QLatin1String("delete") && request.msgId == 8) {
        m_savedSsids.removeAll(ssid);
        if (m_vaskoWifi && m_vaskoWifi->value(QStringLiteral("ssid")).toString() == ssid)
            m_vaskoWifi.reset();
        if (m_connectedSsid == ssid) {
            m_connectedSsid.clear();
            afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(2, 1); });
        }
        return ok();
    }
    if (action != QLatin1String("connect") || m_family != Family::Orbrin)
        return badValue("wifi_action");
    if (!m_wifiEnabled)
        return status(400, QStringLiteral("wifi disabled"));
    if (m_wifiJoin == WifiJoin::Refused)
        return status(400, QStringLiteral("join failed"));
    if (m_wifiJoin == WifiJoin::FailsLater && request.msgId == 8) {
        m_lastJoin = params;
        afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(2, 2); });
        afterReply(request.host, [](SimDeviceHost &host) { host.raiseInputReport(2, 1); }, kJoinDelayMs);
        return ok();
    }
    wifiConnect(request, params);
    return ok();
}

SimReply SimCatalogueRequestHandler::getWifiStatus(Request &request)
{
    const bool connected = m_wifiEnabled && !m_connectedSsid.isEmpty();
    QJsonObject info;
    if (connected) {
        const QByteArray name = m_connectedSsid.toUtf8();
        QJsonArray buf;
        for (int i = 0; i < 32; ++i)
            buf.append(i < name.size() ? static_cast<uint8_t>(name.at(i)) : 0);
        info = QJsonObject{{"mBSSID", bssidOf(m_connectedSsid)},
                           {"signalStrength", kJoinedSignalStrength},
                           {"mWifiSsid", QJsonObject{{"octets", m_wifiStatusOctets.value_or(QJsonObject{
                                                                    {"buf", buf}, {"count", name.size()}})}}}};
    }
    return json(QJsonObject{
        {"wifi_connection_info", info},
        {"wifi_enable", m_wifiEnabled},
        {"wifi_auto_connect", m_wifiAutoConnect},
        {"wifi_status", connected ? "connected" : "disconnected"},
        {"main_ip_address", connected ? wifiAddressOf(request.host.serialNumber()) : QString()},
        {"main_mac_address", macAddressOf(request.host.serialNumber())},
    });
}

SimReply SimCatalogueRequestHandler::getWifiList(Request &)
{
    QJsonArray list;
    if (m_wifiEnabled || m_family == Family::Vasko) {
        for (const auto &network : kAvailable)
            list.append(QJsonObject{{"bssid", network[0]}, {"encryptionType", network[1]},
                                    {"ssid", network[2]}, {"signalStrength", QString::fromLatin1(network[3]).toInt()}});
    }
    return json(QJsonObject{{"ssid_info", list}});
}

SimReply SimCatalogueRequestHandler::getWifiSaved(Request &)
{
    return json(QJsonObject{{"saved_ssid_info", QJsonArray::fromStringList(m_savedSsids)}});
}

SimReply SimCatalogueRequestHandler::putNetwork(Request &request)
{
    const QJsonObject &b = request.body;
    if (auto bad = need(b, {{"network_mode", Kind::Text}}))
        return *bad;
    const QString mode = b.value(QStringLiteral("network_mode")).toString();

    if (request.msgId == 8) {
        // Wi-Fi join of the network camera: the parameters sit under WIFI_SETTINGS.
        if (auto bad = need(b, {{"WIFI_SETTINGS", Kind::Object}}))
            return *bad;
        const QJsonObject settings = b.value(QStringLiteral("WIFI_SETTINGS")).toObject();
        if (auto bad = need(settings, {{"wifi_action", Kind::Text}, {"wifi_connect_param", Kind::Object}}))
            return *bad;
        if (mode != QLatin1String("Wi-Fi"))
            return badValue("network_mode");
        if (settings.value(QStringLiteral("wifi_action")) != QJsonValue(QStringLiteral("connect")))
            return badValue("wifi_action");
        const QJsonObject params = settings.value(QStringLiteral("wifi_connect_param")).toObject();
        if (auto bad = need(params, {{"ssid", Kind::Text}}))
            return *bad;
        wifiConnect(request, params);
        // What the network status shows of the joined network.
        QJsonObject wifi;
        for (const char *key : {"anonymousIdentity", "caCert", "clientCert", "dns1", "dns2", "eapMethod",
                                "gateway", "identity", "password", "phase2", "privateKey", "privateKeyPass",
                                "securityType", "ssid"})
            wifi.insert(QLatin1String(key), params.value(QLatin1String(key)).toString());
        const bool dhcp = !params.contains(QStringLiteral("dhcp")) || looseInteger(params.value(QStringLiteral("dhcp"))) != 0;
        wifi.insert(QStringLiteral("dhcp"), dhcp ? 1 : 0);
        wifi.insert(QStringLiteral("main_ip_address"),
                    dhcp ? wifiAddressOf(request.host.serialNumber()) : params.value(QStringLiteral("ip_address")).toString());
        wifi.insert(QStringLiteral("mask"),
                    dhcp ? QStringLiteral("255.255.255.0") : params.value(QStringLiteral("subnet_mask")).toString());
        wifi.insert(QStringLiteral("bssid"), bssidOf(wifi.value(QStringLiteral("ssid")).toString()));
        m_vaskoWifi = wifi;
        m_networkMode = mode;
        return ok();
    }

    if (request.msgId == 40) {
        const QJsonValue ipv4 = b.value(QStringLiteral("IPV4setting"));
        if (!ipv4.isUndefined()) {
            if (!ipv4.isObject())
                return badValue("IPV4setting");
            const QJsonObject settings = ipv4.toObject();
            if (auto bad = need(settings, {{"dhcp", Kind::Number}}))
                return *bad;
            const bool dhcp = looseInteger(settings.value(QStringLiteral("dhcp"))) != 0;
            if (!dhcp) {
                if (auto bad = need(settings, {{"main_ip_address", Kind::Text}, {"mask", Kind::Text},
                                               {"gateway", Kind::Text}}))
                    return *bad;
                for (const char *key : {"main_ip_address", "mask", "gateway"})
                    m_ipv4.insert(QLatin1String(key), settings.value(QLatin1String(key)));
            }
            for (const char *key : {"dns1", "dns2", "dns_domain"}) {
                const QJsonValue value = settings.value(QLatin1String(key));
                if (!value.isUndefined() && !value.isString())
                    return badValue(key);
                if (value.isString())
                    m_ipv4.insert(QLatin1String(key), value);
            }
            m_ipv4.insert(QStringLiteral("dhcp"), dhcp ? 1 : 0);
        }
        const QJsonValue security = b.value(QStringLiteral("Security_802_1_x"));
        if (!security.isUndefined()) {
            if (!security.isObject())
                return badValue("Security_802_1_x");
            const QJsonObject given = security.toObject();
            QJsonObject stored;
            for (const char *key : {"anonymousIdentity", "caCert", "clientCert", "eapMethod", "identity",
                                    "password", "phase2", "privateKey", "privateKeyPass", "securityType"}) {
                const QJsonValue value = given.value(QLatin1String(key));
                if (!value.isUndefined() && !value.isString())
                    return badValue(key);
                stored.insert(QLatin1String(key), value.toString());
            }
            m_security8021x = stored;
        }
    }
    m_networkMode = mode;
    return ok();
}

QString SimCatalogueRequestHandler::ethernetAddressOf(const QString &serial)
{
    const QByteArray digest = serialDigest(serial);
    return QStringLiteral("10.%1.%2.%3").arg(uint8_t(digest[3])).arg(uint8_t(digest[4])).arg(2 + uint8_t(digest[5]) % 253);
}

QString SimCatalogueRequestHandler::wifiAddressOf(const QString &serial)
{
    const QByteArray digest = serialDigest(serial);
    return QStringLiteral("192.168.1.%1").arg(2 + uint8_t(digest[6]) % 253);
}

QJsonObject SimCatalogueRequestHandler::ipv4Of(const QString &serial) const
{
    QJsonObject ipv4 = m_ipv4;
    if (looseInteger(ipv4.value(QStringLiteral("dhcp"))) != 0)
        ipv4.insert(QStringLiteral("main_ip_address"), ethernetAddressOf(serial));
    return ipv4;
}

SimReply SimCatalogueRequestHandler::getNetworkStatus(Request &request)
{
    QJsonObject reply{
        {"network_mode", m_networkMode},
        {"network_status", m_networkMode == QLatin1String("Ethernet") ||
                               (m_networkMode == QLatin1String("Wi-Fi") && m_vaskoWifi)},
        {"IPV4setting", ipv4Of(request.host.serialNumber())},
    };
    if (m_security8021x)
        reply.insert(QStringLiteral("Security_802_1_x"), *m_security8021x);
    if (m_vaskoWifi)
        reply.insert(QStringLiteral("getWIFIsetting"), *m_vaskoWifi);
    return json(reply);
}

// --- files, logs, device facts ---

SimReply SimCatalogueRequestHandler::getConfigFile(Request &request)
{
    if (m_configFile)
        return raw(*m_configFile);
    // The file carries the name the device goes by, as every reply does.
    QJsonObject general = m_general;
    const QString hostName = request.host.deviceName();
    if (!hostName.isEmpty())
        general.insert(QStringLiteral("device_name"), hostName);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n";
    for (auto it = general.begin(); it != general.end(); ++it)
        xml += "  <" + it.key().toUtf8() + ">" + it.value().toString().toHtmlEscaped().toUtf8() + "</"
               + it.key().toUtf8() + ">\n";
    xml += "</config>\n";
    return raw(xml);
}

SimReply SimCatalogueRequestHandler::putConfigFile(Request &request)
{
    m_configFile = request.file;
    return ok();
}

SimReply SimCatalogueRequestHandler::getSystemLog(Request &request)
{
    return raw(systemLogArchive(request.host.serialNumber()));
}

SimReply SimCatalogueRequestHandler::getDeviceInfo(Request &request)
{
    const bool orbrin = m_family == Family::Orbrin;
    const bool wifiConnected = m_wifiEnabled && !m_connectedSsid.isEmpty();
    QString address;
    if (orbrin)
        address = wifiConnected ? wifiAddressOf(request.host.serialNumber()) : QString();
    else
        address = ipv4Of(request.host.serialNumber()).value(QStringLiteral("main_ip_address")).toString();
    const QString hostName = request.host.deviceName();
    QJsonObject info{
        {"device_name", hostName.isEmpty() ? m_general.value(QStringLiteral("device_name")) : QJsonValue(hostName)},
        {"version_hw", "1"},
        {"model", orbrin ? "Zentaro Halvex" : "Skarnfel Tolm USB"},
        {"sn", request.host.serialNumber()},
        {"country_region", m_general.value(QStringLiteral("country_region"))},
        {"version_sw", request.host.firmwareVersion()},
        // The state of the link to a provisioning server, not the mode it
        // is found by: no simulated device reaches one.
        {"provision_status", "disconnected"},
        {"main_ip_address", address},
        {"main_mac_address", macAddressOf(request.host.serialNumber())},
        {"wifi_signal_strength", orbrin && wifiConnected ? QString::number(kJoinedSignalStrength) : QStringLiteral("0")},
        {"provision_server_info", m_provision},
        {"power_supply", "USB"},
        {"usb_mode", "USB3"},
    };
    if (m_deviceTime != 0) {
        // The clock runs on from the time it was set to.
        const qint64 now = m_deviceTime + (currentTimeMs() - m_deviceTimeSetAt);
        info.insert(QStringLiteral("device_time"), QDateTime::fromMSecsSinceEpoch(now, Qt::UTC).toString(Qt::ISODate));
    }
    if (orbrin && m_remotePaired) {
        info.insert(QStringLiteral("remote_name"), QStringLiteral("Remote Control"));
        info.insert(QStringLiteral("remote_fw_version"), m_remoteVersion);
        info.insert(QStringLiteral("remote_battery_status"), QStringLiteral("100"));
        info.insert(QStringLiteral("remote_active"), m_remoteActive ? 1 : 0);
        info.insert(QStringLiteral("remote_upgrade_enable"), 0);
        info.insert(QStringLiteral("remote_upgrading"), 0);
    }
    if (!orbrin) {
        info.insert(QStringLiteral("network_mode"), m_networkMode);
        info.insert(QStringLiteral("network_status"), m_networkMode != QLatin1String("None") ? 1 : 0);
    }
    for (auto it = m_infoFields.begin(); it != m_infoFields.end(); ++it) {
        if (it.key() == QLatin1String("provision_server_url")) {
            QJsonObject provision = info.value(QStringLiteral("provision_server_info")).toObject();
            provision.insert(it.key(), it.value());
            info.insert(QStringLiteral("provision_server_info"), provision);
        } else {
            info.insert(it.key(), it.value());
        }
    }
    for (const QString &key : m_infoRemovals)
        info.remove(key);
    return json(info);
}

void SimCatalogueRequestHandler::setDeviceInfoField(const QString &key, const QJsonValue &value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_infoRemovals.removeAll(key);
    if (value.isUndefined()) {
        m_infoFields.remove(key);
        m_infoRemovals.append(key);
    } else {
        m_infoFields.insert(key, value);
    }
}

void SimCatalogueRequestHandler::clearDeviceInfoFields()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_infoFields = {};
    m_infoRemovals.clear();
}

QJsonObject SimCatalogueRequestHandler::deviceInfoFields() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_infoFields;
}

QStringList SimCatalogueRequestHandler::deviceInfoRemovals() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_infoRemovals;
}

std::optional<QJsonValue> SimCatalogueRequestHandler::deviceInfoValueFromText(const QString &key,
                                                                              const QString &text)
{
    static const QStringList numbers = {QStringLiteral("remote_active"), QStringLiteral("remote_upgrade_enable"),
                                        QStringLiteral("remote_upgrading"), QStringLiteral("network_status")};
    if (numbers.contains(key)) {
        bool ok = false;
        const double number = text.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return QJsonValue(number);
    }
    if (key == QLatin1String("provision_server_info")) {
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
        if (!document.isObject())
            return std::nullopt;
        return QJsonValue(document.object());
    }
    return QJsonValue(text);
}

// --- camera ---

SimReply SimCatalogueRequestHandler::putPreset(Request &request)
{
    bool numberOk = false;
    const int preset = request.url.mid(7).toInt(&numberOk);
    const int first = m_family == Family::Orbrin ? 1 : 0;
    const int last = m_family == Family::Orbrin ? 2 : 4;
    if (!numberOk || preset < first || preset > last)
        return unknownRequest();
    if (auto bad = need(request.body, {{"action", Kind::Text}}))
        return *bad;
    const QString action = request.body.value(QStringLiteral("action")).toString();
    if (action != QLatin1String("save") && action != QLatin1String("restore"))
        return badValue("action");
    // The camera's position lives in its UVC controls.
    std::shared_ptr<SimUvcControlHandler> uvc;
    if (auto *device = dynamic_cast<SimDevice *>(&request.host)) {
        for (const auto &handler : device->controlHandlers()) {
            if ((uvc = std::dynamic_pointer_cast<SimUvcControlHandler>(handler)))
                break;
        }
    }
    constexpr uint8_t zoomAbs = 0x0B;
    constexpr uint8_t panTiltAbs = 0x0D;
    constexpr auto terminal = SimUvcUnit::CameraTerminal;
    if (action == QLatin1String("save")) {
        PresetPosition position;
        if (uvc) {
            position.zoom = uvc->current(terminal, zoomAbs);
            position.pan = uvc->current(terminal, panTiltAbs, 0);
            position.tilt = uvc->current(terminal, panTiltAbs, 1);
        }
        m_presetPositions[preset] = position;
    } else if (uvc) {
        PresetPosition position;
        if (m_presetPositions.at(preset)) {
            position = *m_presetPositions.at(preset);
        } else {
            const auto zoom = uvc->control(terminal, zoomAbs);
            const auto panTilt = uvc->control(terminal, panTiltAbs);
            position.zoom = zoom && !zoom->def.empty() ? zoom->def[0] : 0;
            position.pan = panTilt && panTilt->def.size() > 0 ? panTilt->def[0] : 0;
            position.tilt = panTilt && panTilt->def.size() > 1 ? panTilt->def[1] : 0;
        }
        uvc->setCurrent(terminal, zoomAbs, position.zoom);
        uvc->setCurrent(terminal, panTiltAbs, position.pan, 0);
        uvc->setCurrent(terminal, panTiltAbs, position.tilt, 1);
    }
    return ok();
}

SimReply SimCatalogueRequestHandler::putAutoTracking(Request &request)
{
    const QJsonObject &b = request.body;
    if (auto bad = need(b, {{"group_framing", Kind::Bool}, {"talker_tracking", Kind::Bool},
                            {"tracking_speed", Kind::Text}, {"framing_size", Kind::Text}}))
        return *bad;
    const QString speed = b.value(QStringLiteral("tracking_speed")).toString();
    const QString size = b.value(QStringLiteral("framing_size")).toString();
    if (!QStringList{"Slow", "Normal", "Fast"}.contains(speed))
        return badValue("tracking_speed");
    if (!QStringList{"Tight", "Medium", "Wide"}.contains(size))
        return badValue("framing_size");
    for (const char *key : {"group_framing", "talker_tracking", "tracking_speed", "framing_size"})
        m_autoTracking.insert(QLatin1String(key), b.value(QLatin1String(key)));
    return ok();
}

SimReply SimCatalogueRequestHandler::getAutoTracking(Request &)
{
    return json(m_autoTracking);
}

SimReply SimCatalogueRequestHandler::getCameraExtension(Request &)
{
    QJsonObject reply = m_cameraExtension;
    reply.insert(QStringLiteral("group_framing"), m_autoTracking.value(QStringLiteral("group_framing")));
    reply.insert(QStringLiteral("talker_tracking"), m_autoTracking.value(QStringLiteral("talker_tracking")));
    return json(reply);
}

SimReply SimCatalogueRequestHandler::putCameraExtension(Request &request)
{
    if (auto bad = need(request.body, {{"skin_enhancement", Kind::Bool}, {"wide_dynamic_range", Kind::Bool},
                                       {"participant_count", Kind::Bool}}))
        return *bad;
    for (const char *key : {"skin_enhancement", "wide_dynamic_range", "participant_count"})
        m_cameraExtension.insert(QLatin1String(key), request.body.value(QLatin1String(key)));
    return ok();
}

SimReply SimCatalogueRequestHandler::getOsd(Request &)
{
    return json(QJsonObject{{"enable", m_osd}});
}

SimReply SimCatalogueRequestHandler::putOsd(Request &request)
{
    if (auto bad = need(request.body, {{"enable", Kind::Bool}}))
        return *bad;
    m_osd = request.body.value(QStringLiteral("enable")).toBool();
    return ok();
}

SimReply SimCatalogueRequestHandler::getConversation(Request &)
{
    return json(QJsonObject{{"conversation_view_mode", m_conversationView}});
}

SimReply SimCatalogueRequestHandler::putConversation(Request &request)
{
    if (auto bad = need(request.body, {{"conversation_view_mode", Kind::Text}}))
        return *bad;
    const auto flag = digitFlag(request.body.value(QStringLiteral("conversation_view_mode")));
    if (!flag)
        return badValue("conversation_view_mode");
    m_conversationView = *flag;
    return ok();
}

SimReply SimCatalogueRequestHandler::getTrackingFrame(Request &)
{
    return json(QJsonObject{{"zoom_level", m_trackingFrame}});
}

SimReply SimCatalogueRequestHandler::putTrackingFrame(Request &request)
{
    if (auto bad = need(request.body, {{"zoom_level", Kind::Text}}))
        return *bad;
    const QString level = request.body.value(QStringLiteral("zoom_level")).toString();
    if (!QStringList{"2", "3", "4"}.contains(level))
        return badValue("zoom_level");
    m_trackingFrame = level.toInt();
    return ok();
}

SimReply SimCatalogueRequestHandler::getSmoothTracking(Request &)
{
    return json(QJsonObject{{"smooth_transition_mode", m_smoothTransition}});
}

SimReply SimCatalogueRequestHandler::putSmoothTracking(Request &request)
{
    if (auto bad = need(request.body, {{"smooth_transition_mode", Kind::Text}}))
        return *bad;
    const auto flag = digitFlag(request.body.value(QStringLiteral("smooth_transition_mode")));
    if (!flag)
        return badValue("smooth_transition_mode");
    m_smoothTransition = *flag;
    return ok();
}

SimReply SimCatalogueRequestHandler::getLecture(Request &)
{
    return json(QJsonObject{{"enable", m_lectureMode}});
}

SimReply SimCatalogueRequestHandler::putLecture(Request &request)
{
    if (auto bad = need(request.body, {{"enable", Kind::Bool}}))
        return *bad;
    m_lectureMode = request.body.value(QStringLiteral("enable")).toBool();
    return ok();
}

// --- administration and maintenance ---

SimReply SimCatalogueRequestHandler::putLogin(Request &request)
{
    if (auto bad = need(request.body, {{"password", Kind::Text}}))
        return *bad;
    if (request.body.value(QStringLiteral("password")).toString() != currentAdminPassword())
        return status(401, QStringLiteral("invalid password"));
    return ok();
}

SimReply SimCatalogueRequestHandler::putAdmin(Request &request)
{
    if (auto bad = need(request.body, {{"old_password", Kind::Text}, {"new_password", Kind::Text}}))
        return *bad;
    if (request.body.value(QStringLiteral("old_password")).toString() != currentAdminPassword())
        return status(401, QStringLiteral("invalid old password"));
    const QString newPassword = request.body.value(QStringLiteral("new_password")).toString();
    if (newPassword.isEmpty())
        return status(400, QStringLiteral("invalid new password"));
    m_adminPassword = newPassword;
    if (m_needsOob && m_oobDoneOnPasswordChange)
        m_needsOob = false;
    return ok();
}

SimReply SimCatalogueRequestHandler::putSimplePassword(Request &request)
{
    if (auto bad = need(request.body, {{"simple_password", Kind::Bool}}))
        return *bad;
    m_simplePassword = request.body.value(QStringLiteral("simple_password")).toBool();
    return ok();
}

SimReply SimCatalogueRequestHandler::getSimplePassword(Request &)
{
    return json(QJsonObject{{"simple_password", m_simplePassword}});
}

SimReply SimCatalogueRequestHandler::getPasswordEnable(Request &)
{
    return json(QJsonObject{{"enable_password", !m_adminPassword.isEmpty()}});
}

SimReply SimCatalogueRequestHandler::putOps(Request &request)
{
    if (auto bad = need(request.body, {{"action", Kind::Text}}))
        return *bad;
    const QString action = request.body.value(QStringLiteral("action")).toString();
    if (action == QLatin1String("reset")) {
        resetToFactory();
        m_needsOob = true;
    } else if (action != QLatin1String("restart")) {
        return badValue("action");
    }
    afterReply(request.host, [](SimDeviceHost &host) { host.reenumerate(Mode::Run, kRestartDelayMs); });
    return ok();
}

SimReply SimCatalogueRequestHandler::getOob(Request &)
{
    return json(QJsonObject{{"result", m_needsOob}});
}

SimReply SimCatalogueRequestHandler::getCancel(Request &)
{
    {
        std::lock_guard<std::mutex> guard(m_recording->lock);
        m_recording->running = false;
        ++m_recording->ticket;
    }
    return json(QJsonObject{{"cancel", "success"}});
}

SimReply SimCatalogueRequestHandler::putTimeSync(Request &request)
{
    if (auto bad = need(request.body, {{"time", Kind::Number}, {"timezone", Kind::Text}}))
        return *bad;
    m_deviceTime = request.body.value(QStringLiteral("time")).toInteger();
    m_deviceTimeSetAt = currentTimeMs();
    m_timezone = request.body.value(QStringLiteral("timezone")).toString();
    return ok();
}

SimReply SimCatalogueRequestHandler::getCoredump(Request &)
{
    if (!m_coredump)
        return status(408, QStringLiteral("NULL"));
    return raw(*m_coredump);
}

SimReply SimCatalogueRequestHandler::putRemoteControlUpgrade(Request &request)
{
    if (!m_remotePaired || !m_remoteActive)
        return status(503, QStringLiteral("remote control not reachable"));
    if (m_remoteUpgradeFails)
        return status(500, QStringLiteral("remote control upgrade failed"));
    const QString version = simFirmwareVersionOf(request.file);
    if (!version.isEmpty())
        m_remoteVersion = version;
    return ok();
}

void SimCatalogueRequestHandler::setRemotePaired(bool paired)
{
    std::lock_guard lock(m_mutex);
    m_remotePaired = paired;
}

void SimCatalogueRequestHandler::setRemoteUpgradeFails(bool fails)
{
    std::lock_guard lock(m_mutex);
    m_remoteUpgradeFails = fails;
}

void SimCatalogueRequestHandler::setRemoteActive(bool active)
{
    std::lock_guard lock(m_mutex);
    m_remoteActive = active;
}

QString SimCatalogueRequestHandler::remoteVersion() const
{
    std::lock_guard lock(m_mutex);
    return m_remoteVersion;
}

// --- audio ---

SimReply SimCatalogueRequestHandler::putAudio(Request &request)
{
    const QJsonObject &b = request.body;
    if (request.msgId == 61) {
        if (auto bad = need(b, {{"stereo", Kind::Bool}}))
            return *bad;
        m_audio.insert(QStringLiteral("stereo"), b.value(QStringLiteral("stereo")));
        return ok();
    }
    if (auto bad = need(b, {{"noise_blocker", Kind::Bool}, {"stereo", Kind::Bool}, {"bass", Kind::Bool}}))
        return *bad;
    const QJsonValue beam = b.value(QStringLiteral("acoustic_beam"));
    if (beam.isUndefined() || beam.isNull())
        return status(400, QStringLiteral("missing key: acoustic_beam"));
    if (beam.isBool())
        m_audio.insert(QStringLiteral("acoustic_beam"), beam.toBool() ? "true" : "false");
    else if (beam.isString() && m_family == Family::Orbrin)
        m_audio.insert(QStringLiteral("acoustic_beam"), beam);
    else
        return badValue("acoustic_beam");
    for (const char *key : {"noise_blocker", "stereo", "bass"})
        m_audio.insert(QLatin1String(key), b.value(QLatin1String(key)));
    return ok();
}

SimReply SimCatalogueRequestHandler::getAudio(Request &request)
{
    QJsonObject reply = m_audio;
    // The fence form (beam width as text) is what the video bar answers on
    // every firmware but the first.
    // The firmware's release is its first two numbers ("1.0.2.1" is 1.0).
    const QString release = request.host.firmwareVersion().section(QLatin1Char('.'), 0, 1);
    const bool textBeam = m_family == Family::Orbrin && release != QLatin1String("1.0");
    if (!textBeam)
        reply.insert(QStringLiteral("acoustic_beam"),
                     m_audio.value(QStringLiteral("acoustic_beam")).toString() != QLatin1String("false"));
    return json(reply);
}

SimReply SimCatalogueRequestHandler::getAudioStereo(Request &)
{
    return json(QJsonObject{{"stereo", m_audio.value(QStringLiteral("stereo"))}});
}

namespace {

// A ustar header block for a regular file.
QByteArray audioTestTarHeader(const QByteArray &name, qint64 size)
{
    QByteArray header(512, '\0');
    auto put = [&header](int at, const QByteArray &text) { header.replace(at, text.size(), text); };
    put(0, name.left(99));
    put(100, "0000644");
    put(108, "0000000");
    put(116, "0000000");
    put(124, QByteArray::number(size, 8).rightJustified(11, '0'));
    put(136, "00000000000");
    put(148, "        ");
    header[156] = '0';
    put(257, QByteArray("ustar\0", 6));
    put(263, "00");
    unsigned sum = 0;
    for (char c : header)
        sum += uchar(c);
    put(148, QByteArray::number(sum, 8).rightJustified(6, '0') + QByteArray("\0 ", 2));
    return header;
}

} // namespace

QByteArray SimCatalogueRequestHandler::systemLogArchive(const QString &serial)
{
    const QByteArray log = "simulated system log of " + serial.toUtf8() + "\n";
    return storedZip({{QStringLiteral("logs/system.log"), log},
                      {QStringLiteral("logs/kernel.log"), QByteArray("simulated kernel log\n")}});
}

QByteArray SimCatalogueRequestHandler::coredumpArchive()
{
    return storedZip({{QStringLiteral("coredump/core.1"), QByteArray("simulated core dump\n")}});
}

void SimCatalogueRequestHandler::setClock(std::function<qint64()> clock)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clock = std::move(clock);
}

qint64 SimCatalogueRequestHandler::currentTimeMs() const
{
    return m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
}

QByteArray SimCatalogueRequestHandler::audioTestArchive(const QString &serial)
{
    // One file: a second of a 1 kHz tone, 16-bit mono at 8 kHz, raw.
    QByteArray samples;
    for (int i = 0; i < 8000; ++i) {
        const qint16 v = qint16(8000 * ((i / 4) % 2 ? 1 : -1));
        samples.append(char(v & 0xff));
        samples.append(char((v >> 8) & 0xff));
    }
    QByteArray archive = audioTestTarHeader("audio_test_" + serial.toUtf8() + ".raw", samples.size());
    archive += samples;
    archive += QByteArray((512 - samples.size() % 512) % 512, '\0');
    archive += QByteArray(1024, '\0');
    return archive;
}

bool SimCatalogueRequestHandler::audioRecording() const
{
    std::lock_guard<std::mutex> guard(m_recording->lock);
    return m_recording->running;
}

SimReply SimCatalogueRequestHandler::getAudioDiagnostic(Request &request)
{
    const QByteArray archive = audioTestArchive(request.host.serialNumber());
    std::shared_ptr<AudioRecording> recording = m_recording;
    std::lock_guard<std::mutex> guard(recording->lock);
    if (request.url.endsWith(QLatin1String("_start"))) {
        const quint64 ticket = ++recording->ticket;
        recording->running = true;
        const QJsonObject head{{"url", request.url}, {"type", "GET"}, {"msg_id", QString::number(request.msgId)}};
        request.host.replyLater(head, kAudioRecordMs + kAudioPackingMs,
                                [recording, ticket, archive]() -> std::optional<SimReply> {
                                    std::lock_guard<std::mutex> guard(recording->lock);
                                    if (!recording->running || recording->ticket != ticket)
                                        return std::nullopt;
                                    recording->running = false;
                                    return raw(archive);
                                });
        SimReply none;
        none.silent = true;
        return none;
    }
    // A stop ends the recording and answers with it; with nothing recording
    // the last recording is handed out again.
    recording->running = false;
    ++recording->ticket;
    return raw(archive);
}

SimReply SimCatalogueRequestHandler::putMiscellaneous(Request &request)
{
    if (request.msgId == 59) {
        if (auto bad = need(request.body, {{"microphone_enable", Kind::Bool}}))
            return *bad;
        m_miscellaneous.insert(QStringLiteral("microphone_enable"),
                               request.body.value(QStringLiteral("microphone_enable")));
        return ok();
    }
    if (auto bad = need(request.body, {{"power_injector", Kind::Bool}, {"compatible_mode", Kind::Bool}}))
        return *bad;
    for (const char *key : {"power_injector", "compatible_mode"})
        m_miscellaneous.insert(QLatin1String(key), request.body.value(QLatin1String(key)));
    return ok();
}

SimReply SimCatalogueRequestHandler::getMiscellaneous(Request &)
{
    return json(m_miscellaneous);
}

// --- provisioning ---

SimReply SimCatalogueRequestHandler::getProvision(Request &)
{
    return json(QJsonObject{{"provision_server_info", m_provision}});
}

SimReply SimCatalogueRequestHandler::putProvision(Request &request)
{
    const QJsonObject &b = request.body;
    if (request.msgId == 65) {
        if (auto bad = need(b, {{"provision_mode", Kind::Text}, {"provision_dhcp_opt", Kind::Number}}))
            return *bad;
        m_provision.insert(QStringLiteral("provision_mode"), b.value(QStringLiteral("provision_mode")));
        m_provision.insert(QStringLiteral("provision_dhcp_opt"), b.value(QStringLiteral("provision_dhcp_opt")));
        return ok();
    }
    if (auto bad = need(b, {{"provision_server_url", Kind::Text}, {"provision_username", Kind::Text},
                            {"provision_password", Kind::Text}, {"provision_mode", Kind::Text},
                            {"provision_server_type", Kind::Text}}))
        return *bad;
    for (const char *key : {"provision_server_url", "provision_username", "provision_mode",
                            "provision_server_type"})
        m_provision.insert(QLatin1String(key), b.value(QLatin1String(key)));
    m_provisionPassword = b.value(QStringLiteral("provision_password")).toString();
    m_needsOob = false;   // the last step of the set-up wizard
    return ok();
}

// --- certificates ---

SimReply SimCatalogueRequestHandler::putCsrInfo(Request &request)
{
    if (auto bad = need(request.body, {{"csr_info_provision_country", Kind::Text},
                                       {"csr_info_provision_state", Kind::Text},
                                       {"csr_info_provision_locality", Kind::Text},
                                       {"csr_info_provision_organization", Kind::Text},
                                       {"csr_info_provision_unit", Kind::Text},
                                       {"csr_info_provision_common_name", Kind::Text}}))
        return *bad;
    m_csrParams = request.body;
    return ok();
}

SimReply SimCatalogueRequestHandler::getCsrFile(Request &)
{
    if (m_csrParams.isEmpty())
        return status(400, QStringLiteral("no certificate request"));
    const QByteArray content = QJsonDocument(m_csrParams).toJson(QJsonDocument::Compact).toBase64();
    QByteArray pem = "-----BEGIN CERTIFICATE REQUEST-----\n";
    for (qsizetype i = 0; i < content.size(); i += 64)
        pem += content.mid(i, 64) + "\n";
    pem += "-----END CERTIFICATE REQUEST-----\n";
    return raw(pem);
}

SimReply SimCatalogueRequestHandler::putCertificate(Request &request)
{
    Certificate certificate;
    certificate.type = typeOfUrl(request.url, 0);
    certificate.data = request.file;
    const bool der = static_cast<uint8_t>(request.file.at(0)) == 0x30;
    const QList<QSslCertificate> parsed =
        QSslCertificate::fromData(request.file, der ? QSsl::Der : QSsl::Pem);
    if (!parsed.isEmpty() && !parsed.first().isNull()) {
        const QSslCertificate &c = parsed.first();
        certificate.issuer = c.issuerDisplayName();
        certificate.issueTo = c.subjectDisplayName();
        certificate.validDate = c.expiryDate().toString(Qt::ISODate);
    } else {
        certificate.issuer = QStringLiteral("Simulated Issuer");
        certificate.issueTo = request.host.serialNumber();
        certificate.validDate = QStringLiteral("2030-12-31T00:00:00Z");
        if (!der)
            return status(408, QStringLiteral("not a certificate"));
        // An encrypted bundle: installed once its password arrives.
        m_pendingP12 = certificate;
        return status(201, QStringLiteral("need password"));
    }
    m_certificates.removeIf([&](const Certificate &c) { return c.type == certificate.type; });
    m_certificates.append(certificate);
    return ok();
}

SimReply SimCatalogueRequestHandler::putCertPassword(Request &request)
{
    if (auto bad = need(request.body, {{"password", Kind::Text}}))
        return *bad;
    const QString password = request.body.value(QStringLiteral("password")).toString();
    if (password.isEmpty())
        return status(400, QStringLiteral("invalid password"));
    if (m_pendingP12) {
        // A real bundle opens only with its own password.
        QBuffer bundle(&m_pendingP12->data);
        QSslKey key;
        QSslCertificate opened;
        if (bundle.open(QIODevice::ReadOnly)
            && QSslCertificate::importPkcs12(&bundle, &key, &opened, nullptr, password.toUtf8())
            && !opened.isNull()) {
            m_pendingP12->issuer = opened.issuerDisplayName();
            m_pendingP12->issueTo = opened.subjectDisplayName();
            m_pendingP12->validDate = opened.expiryDate().toString(Qt::ISODate);
        } else {
            return status(400, QStringLiteral("invalid password"));
        }
    }
    m_certificatePassword = password;
    if (m_pendingP12) {
        const Certificate certificate = *m_pendingP12;
        m_pendingP12.reset();
        m_certificates.removeIf([&](const Certificate &c) { return c.type == certificate.type; });
        m_certificates.append(certificate);
    }
    return ok();
}

SimReply SimCatalogueRequestHandler::putCaDelete(Request &request)
{
    if (auto bad = need(request.body, {{"ca_type", Kind::Text}}))
        return *bad;
    const QString type = request.body.value(QStringLiteral("ca_type")).toString();
    if (!isKnownType(type))
        return badValue("ca_type");
    if (m_certificates.removeIf([&](const Certificate &c) { return c.type == type; }) == 0)
        return status(400, QStringLiteral("certificate not installed"));
    return ok();
}

SimReply SimCatalogueRequestHandler::getCertInfo(Request &)
{
    QJsonArray info;
    for (const Certificate &c : m_certificates)
        info.append(QJsonObject{{"issuer", c.issuer}, {"issueTo", c.issueTo},
                                {"validDate", c.validDate}, {"type", c.type}});
    return json(QJsonObject{{"info", info}, {"server_ca_validation", m_serverValidation}});
}

SimReply SimCatalogueRequestHandler::getCertDetail(Request &request)
{
    const QString type = typeOfUrl(request.url, 1);
    for (const Certificate &c : m_certificates) {
        if (c.type == type)
            return json(QJsonObject{{"info", QStringLiteral("Issuer: %1\nSubject: %2\nValid until: %3")
                                                 .arg(c.issuer, c.issueTo, c.validDate)}});
    }
    return status(400, QStringLiteral("certificate not installed"));
}

SimReply SimCatalogueRequestHandler::putServerValidation(Request &request)
{
    if (auto bad = need(request.body, {{"enable", Kind::Bool}}))
        return *bad;
    m_serverValidation = request.body.value(QStringLiteral("enable")).toBool();
    return ok();
}

SimReply SimCatalogueRequestHandler::getServerValidation(Request &)
{
    return json(QJsonObject{{"enable", m_serverValidation}});
}

std::shared_ptr<SimRequestHandler> makeCatalogueRequestHandler(Family family)
{
    if (family == Family::Pirok)
        return nullptr;
    return std::make_shared<SimCatalogueRequestHandler>(family);
}

} // namespace sim
