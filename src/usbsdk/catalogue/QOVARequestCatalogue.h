#pragma once
// The requests of the Orbrin and Vasko families as one table: message id,
// url, method, body keys and kinds, reply kind, families and the interface
// property a request sets around its send. Family objects build every head
// and body from this table; nothing else spells a url or a body key.

#include "QOVACallbacks.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>
#include <vector>

class QOVAUSBDeviceHIDInterface;

// One line of the table. A message id that serves several requests has one
// line per request.
enum class QOVARequest {
    GeneralGet,                 //  1
    GeneralSetWithVividMode,    //  2 (with camera_vivid_mode)
    GeneralSet,                 //  2
    BluetoothGet,               //  3
    BluetoothSet,               //  4
    WifiEnable,                 //  5
    WifiStatusGet,              //  6
    WifiListGet,                //  7
    WifiConnect,                //  8 (join parameters at the top of "wifi")
    WifiConnectNetwork,         //  8 (join parameters under WIFI_SETTINGS of "network")
    WifiDisconnect,             //  8
    ConfigFileGet,              //  9
    ConfigFilePut,              // 10
    SystemLogGet,               // 11
    DeviceInfoGet,              // 12
    WifiSavedGet,               // 13
    BluetoothPair,              // 14
    CameraPreset,               // 15
    AutoTrackingSet,            // 16
    AdminLogin,                 // 17 ("login")
    AdminPasswordChange,        // 17 ("admin")
    Ops,                        // 18
    AudioSet,                   // 19
    AudioOrbrinSet,             // 19 (acoustic_beam as text)
    AudioGet,                   // 20
    AudioOrbrinGet,             // 20 (acoustic_beam as text)
    AudioDiagnosticRecord,      // 21
    ProvisionServerGet,         // 22
    OsdGet,                     // 23
    OsdSet,                     // 24
    OobGet,                     // 25
    Cancel,                     // 26
    CoredumpLogGet,             // 27
    TimeSync,                   // 29
    SimplePasswordSet,          // 30
    SimplePasswordGet,          // 31
    PasswordEnableGet,          // 32
    RemoteControlUpgrade,       // 33
    ProvisionServerSet,         // 34
    AutoTrackingGet,            // 35
    CameraExtensionGet,         // 36
    CameraExtensionSet,         // 37
    NetworkEnable,              // 38
    NetworkStatusGet,           // 39
    NetworkSet,                 // 40
    MiscellaneousGet,           // 41
    MiscellaneousSet,           // 42
    CsrInfoSet,                 // 44
    CsrFileGet,                 // 45
    CertificatePut,             // 46
    CaDelete,                   // 47
    CertInfoGet,                // 48
    CertDetailGet,              // 49
    CertPasswordSet,            // 50
    ServerValidationSet,        // 51
    ConversationGet,            // 52
    ConversationSet,            // 53
    TrackingFrameGet,           // 54
    TrackingFrameSet,           // 55
    SmoothTrackingGet,          // 56
    SmoothTrackingSet,          // 57
    MicrophonesSet,             // 59
    AudioStereoGet,             // 60
    AudioStereoSet,             // 61
    ServerValidationGet,        // 62
    LectureGet,                 // 63
    LectureSet,                 // 64
    DhcpOptionSet,              // 65
    WifiSecurityTypeSet,        // 66
};

enum class QOVARequestMethod { Get, Put, PutFile };

// Where the url comes from.
enum class QOVAUrlRule {
    Fixed,      // url
    Caller,     // the caller's text, unchanged
    Preset,     // url followed by the preset number ("preset_" + 3)
    Flag,       // url when the caller's flag is true, urlWhenFalse otherwise
};

enum class QOVABodyRule {
    None,       // GETs and file PUTs
    Fields,     // the fields below
    Caller,     // the caller's dictionary, unchanged
};

enum class QOVABodyValue {
    Bool,       // JSON true/false from the caller's flag
    Text,       // the caller's text
    Int64,      // JSON number from the caller's integer
    Int32,      // JSON number: the caller's value (number or text of digits) read as a 32-bit integer
    Dictionary, // the caller's dictionary
    Fixed,      // the literal text
    FlagText,   // text: text when the caller's flag is true, textWhenFalse otherwise
};

struct QOVABodyField {
    // Key; "A/b" places b inside the object under A.
    const char *key;
    QOVABodyValue kind;
    const char *text = nullptr;
    const char *textWhenFalse = nullptr;

    bool takesArgument() const { return kind != QOVABodyValue::Fixed; }
};

// What the request sets on the HID interface, and when.
enum class QOVASideEffect {
    None,
    CancelBeforeSend,            // cancel flag on, then the GET
    ProgressBlockBeforeSend,     // progress block installed, then the file PUT
    NotificationBlockAfterSend,  // the GET, then the notification block installed
};

enum QOVAFamilyFlag {
    QOVAFamilyOrbrin = 1 << 0,
    QOVAFamilyVasko = 1 << 1,
    QOVAFamilyBase = 1 << 2,     // built by the base device for any family with an HID channel
};

struct QOVACatalogueRow {
    QOVARequest request;
    int msgId;
    QOVAUrlRule urlRule;
    const char *url;
    const char *urlWhenFalse;
    QOVARequestMethod method;
    QOVABodyRule bodyRule;
    std::vector<QOVABodyField> fields;   // in the order of the caller's arguments
    const char *reply;                   // model class, "NSData", or null for PUTs
    int families;
    QOVASideEffect sideEffect;
};

// The caller's values for one request.
struct QOVARequestArguments {
    QVariant url;                 // Caller: text; Preset: number; Flag: bool
    QVariantList values;          // one per field that takes an argument, in order
    QJsonObject body;             // body rule Caller
    QString filePath;             // PutFile
};

// The caller's callbacks; which ones a request uses follows from its row.
struct QOVARequestBlocks {
    QOVACompletionBlock completion;   // GETs
    QOVASuccessBlock success;         // PUTs
    QOVAFailureBlock failure;
    QOVAProgressBlock progress;       // remote-control upgrade
    QOVAVoidBlock notification;       // audio diagnostic recording
};

// One request ready for the HID interface.
struct QOVABuiltRequest {
    QJsonObject head;                 // {"url", "type", "msg_id"}
    std::optional<QJsonObject> body;  // JSON PUTs
    QString filePath;                 // file PUTs
    QString replyClass;               // GETs: model class or "NSData"
};

namespace QOVARequestCatalogue {

const std::vector<QOVACatalogueRow> &rows();
const QOVACatalogueRow &row(QOVARequest request);

// The value of a caller's DHCP option as a 32-bit integer: a number is
// truncated toward zero, a text is read from its leading digits (an optional
// sign first; nothing readable gives 0); values beyond the range saturate.
qint32 int32Value(const QVariant &value);

QOVABuiltRequest build(QOVARequest request, const QOVARequestArguments &arguments);

// Builds the request and hands it to the interface, with the side effect of
// its row in its place.
void send(QOVAUSBDeviceHIDInterface &hid, QOVARequest request,
          const QOVARequestArguments &arguments, const QOVARequestBlocks &blocks);

} // namespace QOVARequestCatalogue
