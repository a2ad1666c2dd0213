#pragma once
// The Wi-Fi join record every join window fills and the Wi-Fi pages send
// unchanged as the device's connect parameters, and the few rules shared by
// every page that lists or shows networks.
//
// Value forms are exact: "dhcp" is a JSON integer (1 or 0), "auto_connect"
// a JSON boolean, every other key text. Typed values go out as typed.

#include <QJsonObject>
#include <QString>

#include <optional>

class Octets;

namespace qovanet {

// The address part of a join: DHCP (the advanced box off, or its pop-up on
// "DHCP") sends dhcp 1 and five empty address keys; static addressing sends
// dhcp 0 and the five texts as typed.
struct JoinAddress {
    bool dhcp = true;
    QString ipAddress;
    QString subnetMask;
    QString gateway;
    QString dns1;
    QString dns2;
};

// The security word for a scanned network's encryption type: "None" for an
// open network ("[ESS]" or "None"), "PSK" for anything else. Every opener of
// the simple join window uses it, so the window always gets a variant it
// knows and the word sent is one the device understands.
QString normalisedSecurityType(const QString &encryptionType);
// True when a scanned network is an enterprise (EAP) network.
bool isEnterpriseNetwork(const QString &encryptionType);

// The simple join window's 13 keys.
QJsonObject simpleJoinRecord(const QString &ssid, const QString &password, const QString &securityType,
                             const JoinAddress &address);

// The join-other-network window's 15 keys (the Vasko window's 13 when
// withCertificates is false). caCert/clientCert: whether a certificate was
// chosen (sent as the fixed name), false for the no-validation item.
struct OtherJoin {
    QString ssid;
    QString identity;
    QString anonymousIdentity;
    QString password;
    QString securityType;
    QString eapMethod;
    QString phase2;
    bool caCert = false;
    bool clientCert = false;
    JoinAddress address;
};
QJsonObject otherJoinRecord(const OtherJoin &join, bool withCertificates = true);

// The 16-key record sent at once when security "None" is chosen in the
// join-other-network window.
QJsonObject noneSecurityRecord(const QString &ssid);

// The automatic-connection switch's one-key record.
QJsonObject autoConnectRecord(bool on);

// The name of a network from its raw bytes: at most count entries, never
// more than buf holds; an entry outside 0..255 means no usable name (none);
// invalid UTF-8 becomes replacement characters.
std::optional<QString> decodeSsid(const Octets &octets);

// The certificate name sent for any chosen certificate.
inline QString chosenCertificateName() { return QStringLiteral("orbrin_wifi"); }

} // namespace qovanet
