#pragma once
// Device side of the request catalogue for the Orbrin and Vasko families: a
// simulated device's settings and the answers to every request the family
// understands. Every PUT changes what the matching GET returns afterwards,
// in the kinds the GET's reply carries ("1"/"0" texts come back as booleans,
// a zoom level text as an integer, camera_vivid_mode stays text).
//
// A request is recognised by its url, its method and its message id
// together. Beyond what the devices are known to do:
//   - an unknown url, a url the family does not serve, or a message id that
//     does not belong to the url and method, answers 400 "unknown request";
//   - a JSON body that is not an object, lacks a key the request needs or
//     carries a value of another kind answers 400 with a status text naming
//     the key ("missing key: enable", "bad value: enable");
//   - a file PUT with an empty file answers 400 "empty file".
// Other behaviour modelled here:
//   - a camera refuses a device name against its naming rules with 400
//     "invalid device name" (blank names are refused by both families);
//   - sign-in with a wrong password answers 401 "invalid password"; a
//     password change with a wrong old password 401 "invalid old password",
//     with an empty new one 400 "invalid new password";
//   - a certificate file in DER form (first byte 0x30) counts as an encrypted
//     PKCS#12 bundle: it answers 201 "need password" and is installed once
//     the certificate password (message 50) arrives;
//   - the core dump fetch answers 408 "NULL" when the device holds none;
//   - Wi-Fi enable, disable and connect raise the Wi-Fi events (4, 5, and 2
//     then 0), pairing raises the remote-control event 3, each shortly after
//     the reply; a restart or factory reset leaves the bus after the reply
//     and comes back in run mode; a factory reset restores the settings and
//     makes the device ask for its out-of-box set-up, which counts as done
//     once the provisioning settings (message 34) have been written;
//   - a preset save stores the camera's zoom, pan and tilt (its UVC
//     controls) under the number, and a restore moves the camera there; a
//     number never saved restores the camera's default position;
//   - the audio test start (message 21) is answered only when the recording
//     ends: by itself after three minutes and its packing, or when the stop
//     arrives; the answer carries the recording as a tar archive; a cancel
//     (message 26) drops a recording that has not been answered;
//   - the Orbrin audio reply carries acoustic_beam as a boolean for firmware
//     "1.0" and as text for any other version.

#include "sim/SimDeviceHost.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace sim {

class SimCatalogueRequestHandler : public SimRequestHandler {
public:
    explicit SimCatalogueRequestHandler(Family family);

    SimReply handleRequest(SimDeviceHost &host, const QJsonObject &head, const QByteArray &body,
                           int dataType) override;

    Family family() const { return m_family; }

    // Settings a test or the control tool may set or look at.
    void setNeedsOob(bool needsOob);
    bool needsOob() const;
    void setAdminPassword(const QString &password);
    QString adminPassword() const;
    // While the set-up is pending and no password was set, the factory
    // password "admin" signs in. The first password change ends the set-up
    // unless this is switched off (writing the provisioning settings ends it
    // too).
    void setOobDoneOnPasswordChange(bool done);
    // The provisioning settings as the device reports them, and the password
    // last written (kept apart: the device never reports it).
    QJsonObject provisionSettings() const;
    void setProvisionSettings(const QJsonObject &settings);
    QString provisionPassword() const;
    void setCoredump(std::optional<QByteArray> coredump);
    // Answers the request (url and method) with the status instead of its
    // regular answer until cleared; the device's settings stay as they are.
    void failRequest(const QString &url, bool get, int statusCode, const QString &statusText);
    void clearRequestFailures();

    // Wi-Fi of the video bar. A join either succeeds (connecting, then
    // connected), is accepted and then fails (connecting, then
    // disconnected), or is refused with 400 "join failed".
    enum class WifiJoin { Succeeds, FailsLater, Refused };
    void setWifiJoin(WifiJoin outcome);
    // Replaces the name bytes of the status reply while connected (buf and
    // count as the device sends them); none restores the joined name.
    void setWifiStatusOctets(std::optional<QJsonObject> octets);
    bool wifiEnabled() const;
    bool wifiAutoConnect() const;
    QString connectedSsid() const;
    QStringList savedSsids() const;
    void setSavedSsids(const QStringList &ssids);

    // Fields of the device_info reply set over what the device reports:
    // remote control (remote_name, remote_battery_status, remote_active,
    // remote_fw_version), wifi_signal_strength, provision_status,
    // provision_server_url (placed inside provision_server_info), show_alert,
    // usb_mode, network_mode, network_status, version_sw, device_name, ...
    // An undefined value leaves the key out of the reply. Settings stay
    // until cleared (a factory reset keeps them).
    void setDeviceInfoField(const QString &key, const QJsonValue &value);
    void clearDeviceInfoFields();
    // The settings: keys with their values, left-out keys as undefined.
    QJsonObject deviceInfoFields() const;
    QStringList deviceInfoRemovals() const;
    // The value a device_info field takes from a text: numbers for the
    // numeric fields, a JSON object for provision_server_info, else the text.
    static std::optional<QJsonValue> deviceInfoValueFromText(const QString &key, const QString &text);
    // The remote control of a video bar: paired or not, awake or asleep, and
    // its firmware version (a remote-control upgrade installs the version a
    // package names with simFirmwareVersionOf).
    void setRemotePaired(bool paired);
    void setRemoteActive(bool active);
    void setRemoteUpgradeFails(bool fails);   // the upgrade answers 500
    QString remoteVersion() const;
    // The audio test: a start is answered with the archive when the device
    // stops recording on its own (after three minutes and the packing) or,
    // at once, by a stop (a stop while nothing records answers with the
    // recording all the same).
    static constexpr int kAudioRecordMs = 180000;
    static constexpr int kAudioPackingMs = 3000;
    static QByteArray audioTestArchive(const QString &serial);
    // The addresses the wired network's DHCP server (10.0.0.0/8, gateway
    // 10.0.0.1) and the Wi-Fi networks' (192.168.1.0/24) lease to a device,
    // made from its serial number like its MAC address; never a network's
    // gateway (.1) or broadcast address.
    static QString ethernetAddressOf(const QString &serial);
    static QString wifiAddressOf(const QString &serial);
    // What the log and crash-file requests answer by default: zip archives
    // (stored entries) of the device's logs and of a core dump.
    static QByteArray systemLogArchive(const QString &serial);
    static QByteArray coredumpArchive();
    // The signal strength (percent) a joined video bar reports.
    static constexpr int kJoinedSignalStrength = 72;
    // The wall clock the device's own clock runs on, in milliseconds since
    // 1970 (none: the computer's). The device time set through time_sync
    // advances with it.
    void setClock(std::function<qint64()> clock);
    bool audioRecording() const;
    // Delay before a restart's return and before events (scaled).
    static constexpr int kEventDelayMs = 20;
    static constexpr int kRestartDelayMs = 1000;
    // From connecting to the outcome of a Wi-Fi join (scaled).
    static constexpr int kJoinDelayMs = 5000;

    // One installed certificate.
    struct Certificate {
        QString type;        // "wifiCaCert", "wifiClientCert", "provisionServerCa", "provisionClient"
        QString issuer;
        QString issueTo;
        QString validDate;
        QByteArray data;
    };
    // The installed certificates, in the order the list reply gives them.
    QList<Certificate> certificates() const;
    void setCertificates(const QList<Certificate> &certificates);
    bool serverValidation() const;
    // The video bar's lab modes: conversation view and lecture (presenter)
    // mode.
    bool conversationView() const;
    void setConversationView(bool on);
    bool lectureMode() const;
    void setLectureMode(bool on);

private:
    qint64 currentTimeMs() const;
    // The IPv4 settings as reported: with DHCP, the device's lease.
    QJsonObject ipv4Of(const QString &serial) const;
    // The password that signs in now (the factory one during the set-up).
    QString currentAdminPassword() const;
    struct Request {
        SimDeviceHost &host;
        QString url;
        int msgId;
        QJsonObject body;
        QByteArray file;
    };
    using Answer = SimReply (SimCatalogueRequestHandler::*)(Request &);
    struct Route {
        int msgId;
        const char *url;     // exact url; preset_N, caller urls are matched by the answer's own rule
        bool get;
        bool json;           // PUT with a JSON body (else GET or file PUT)
        int families;        // 1 Orbrin, 2 Vasko
        Answer answer;
    };
    static const std::vector<Route> &routes();
    const Route *findRoute(const QString &url, bool get, int msgId) const;

    void resetToFactory();
    void afterReply(SimDeviceHost &host, std::function<void(SimDeviceHost &)> task, int delayMs = kEventDelayMs);

    // Answers, one per request kind.
    SimReply getGeneral(Request &);
    SimReply putGeneral(Request &);
    SimReply getBluetooth(Request &);
    SimReply putBluetooth(Request &);
    SimReply putBluetoothPair(Request &);
    SimReply putWifi(Request &);
    SimReply getWifiStatus(Request &);
    SimReply getWifiList(Request &);
    SimReply getWifiSaved(Request &);
    SimReply putNetwork(Request &);
    SimReply getNetworkStatus(Request &);
    SimReply getConfigFile(Request &);
    SimReply putConfigFile(Request &);
    SimReply getSystemLog(Request &);
    SimReply getDeviceInfo(Request &);
    SimReply putPreset(Request &);
    SimReply putAutoTracking(Request &);
    SimReply getAutoTracking(Request &);
    SimReply putLogin(Request &);
    SimReply putAdmin(Request &);
    SimReply putOps(Request &);
    SimReply putAudio(Request &);
    SimReply getAudio(Request &);
    SimReply getAudioStereo(Request &);
    SimReply getAudioDiagnostic(Request &);
    SimReply getProvision(Request &);
    SimReply putProvision(Request &);
    SimReply getOsd(Request &);
    SimReply putOsd(Request &);
    SimReply getOob(Request &);
    SimReply getCancel(Request &);
    SimReply getCoredump(Request &);
    SimReply putTimeSync(Request &);
    SimReply putSimplePassword(Request &);
    SimReply getSimplePassword(Request &);
    SimReply getPasswordEnable(Request &);
    SimReply putRemoteControlUpgrade(Request &);
    SimReply getCameraExtension(Request &);
    SimReply putCameraExtension(Request &);
    SimReply getMiscellaneous(Request &);
    SimReply putMiscellaneous(Request &);
    SimReply putCsrInfo(Request &);
    SimReply getCsrFile(Request &);
    SimReply putCertificate(Request &);
    SimReply putCaDelete(Request &);
    SimReply getCertInfo(Request &);
    SimReply getCertDetail(Request &);
    SimReply putCertPassword(Request &);
    SimReply putServerValidation(Request &);
    SimReply getServerValidation(Request &);
    SimReply getConversation(Request &);
    SimReply putConversation(Request &);
    SimReply getTrackingFrame(Request &);
    SimReply putTrackingFrame(Request &);
    SimReply getSmoothTracking(Request &);
    SimReply putSmoothTracking(Request &);
    SimReply getLecture(Request &);
    SimReply putLecture(Request &);

    QJsonObject wifiConnect(Request &request, const QJsonObject &params);

    const Family m_family;
    mutable std::mutex m_mutex;

    // Settings, in the kinds the GET replies carry.
    QJsonObject m_general;           // device_name, country_region, ntp_server, ntp_mode[, camera_vivid_mode]
    QJsonObject m_bluetooth;         // enable, ble_enable, autopair_enable
    bool m_remotePaired = false;
    bool m_remoteActive = true;
    bool m_remoteUpgradeFails = false;
    QString m_remoteVersion = QStringLiteral("1.0.0");
    bool m_wifiEnabled = true;
    bool m_wifiAutoConnect = true;
    QString m_connectedSsid;
    QStringList m_savedSsids;
    QJsonObject m_lastJoin;          // the last join parameters (security type changes)
    WifiJoin m_wifiJoin = WifiJoin::Succeeds;
    std::optional<QJsonObject> m_wifiStatusOctets;
    QJsonObject m_autoTracking;      // group_framing, talker_tracking, tracking_speed, framing_size
    QString m_adminPassword;
    bool m_simplePassword = false;
    QJsonObject m_audio;             // noise_blocker, acoustic_beam (text), stereo, bass
    QJsonObject m_provision;         // the ProvisionModel members
    QString m_provisionPassword;
    bool m_osd = true;
    bool m_needsOob = false;
    bool m_oobDoneOnPasswordChange = true;
    qint64 m_deviceTime = 0;
    qint64 m_deviceTimeSetAt = 0;    // the clock's time when it was set
    std::function<qint64()> m_clock;
    QString m_timezone;
    QJsonObject m_cameraExtension;   // participant_count, skin_enhancement, wide_dynamic_range
    QString m_networkMode;
    QJsonObject m_ipv4;              // IPV4setting
    std::optional<QJsonObject> m_security8021x;
    std::optional<QJsonObject> m_vaskoWifi;
    QJsonObject m_miscellaneous;     // power_injector, compatible_mode, microphone_enable
    QList<Certificate> m_certificates;
    std::optional<Certificate> m_pendingP12;
    QString m_certificatePassword;
    bool m_serverValidation = false;
    QJsonObject m_csrParams;
    bool m_conversationView = false;
    bool m_lectureMode = false;
    int m_trackingFrame = 2;
    bool m_smoothTransition = false;
    std::optional<QByteArray> m_configFile;
    std::optional<QByteArray> m_coredump;
    struct RequestFailure {
        QString url;
        bool get;
        int statusCode;
        QString statusText;
    };
    QList<RequestFailure> m_requestFailures;
    // Camera positions stored under the preset numbers: zoom, pan, tilt.
    struct PresetPosition {
        qint64 zoom = 0;
        qint64 pan = 0;
        qint64 tilt = 0;
    };
    QList<std::optional<PresetPosition>> m_presetPositions;
    // The audio test recording: running or not, and which start it belongs
    // to (a stop or cancel ends it; the answer of an ended start is dropped).
    struct AudioRecording {
        std::mutex lock;
        bool running = false;
        quint64 ticket = 0;
    };
    std::shared_ptr<AudioRecording> m_recording = std::make_shared<AudioRecording>();
    QJsonObject m_infoFields;        // device_info fields set by a test or the control tool
    QStringList m_infoRemovals;      // device_info keys left out
};

// The handler a simulated device of the family installs; none for the Pirok
// family, which has no request channel.
std::shared_ptr<SimRequestHandler> makeCatalogueRequestHandler(Family family);

} // namespace sim
