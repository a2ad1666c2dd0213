#include "QOVAWifiJoinParameters.h"

#include "Octets.h"

#include <QJsonArray>

namespace qovanet {

QString normalisedSecurityType(const QString &encryptionType)
{
    if (encryptionType == QLatin1String("[ESS]") || encryptionType == QLatin1String("None"))
        return QStringLiteral("None");
    return QStringLiteral("PSK");
}

bool isEnterpriseNetwork(const QString &encryptionType)
{
    return encryptionType.contains(QLatin1String("EAP"));
}

namespace {

void insertAddress(QJsonObject &record, const JoinAddress &address)
{
    const bool dhcp = address.dhcp;
    record.insert(QStringLiteral("dhcp"), dhcp ? 1 : 0);
    record.insert(QStringLiteral("ip_address"), dhcp ? QString() : address.ipAddress);
    record.insert(QStringLiteral("subnet_mask"), dhcp ? QString() : address.subnetMask);
    record.insert(QStringLiteral("gateway"), dhcp ? QString() : address.gateway);
    record.insert(QStringLiteral("dns1"), dhcp ? QString() : address.dns1);
    record.insert(QStringLiteral("dns2"), dhcp ? QString() : address.dns2);
}

} // namespace

QJsonObject simpleJoinRecord(const QString &ssid, const QString &password, const QString &securityType,
                             const JoinAddress &address)
{
    QJsonObject record{
        {QStringLiteral("ssid"), ssid},
        {QStringLiteral("identity"), QString()},
        {QStringLiteral("anonymousIdentity"), QString()},
        {QStringLiteral("password"), password},
        {QStringLiteral("securityType"), securityType},
        {QStringLiteral("eapMethod"), QString()},
        {QStringLiteral("phase2"), QString()},
    };
    insertAddress(record, address);
    return record;
}

QJsonObject otherJoinRecord(const OtherJoin &join, bool withCertificates)
{
    QJsonObject record{
        {QStringLiteral("ssid"), join.ssid},
        {QStringLiteral("identity"), join.identity},
        {QStringLiteral("anonymousIdentity"), join.anonymousIdentity},
        {QStringLiteral("password"), join.password},
        {QStringLiteral("securityType"), join.securityType},
        {QStringLiteral("eapMethod"), join.eapMethod},
        {QStringLiteral("phase2"), join.phase2},
    };
    insertAddress(record, join.address);
    if (withCertificates) {
        record.insert(QStringLiteral("caCert"), join.caCert ? chosenCertificateName() : QString());
        record.insert(QStringLiteral("clientCert"), join.clientCert ? chosenCertificateName() : QString());
    }
    return record;
}

QJsonObject noneSecurityRecord(const QString &ssid)
{
    QJsonObject record{
        {QStringLiteral("ssid"), ssid},
        {QStringLiteral("securityType"), QStringLiteral("NONE")},
        {QStringLiteral("eapMethod"), QStringLiteral("NONE")},
        {QStringLiteral("phase2"), QStringLiteral("NONE")},
        {QStringLiteral("caCert"), QString()},
        {QStringLiteral("clientCert"), QString()},
        {QStringLiteral("identity"), QString()},
        {QStringLiteral("anonymousIdentity"), QString()},
        {QStringLiteral("password"), QString()},
        {QStringLiteral("auto_connect"), true},
    };
    insertAddress(record, JoinAddress{});
    return record;
}

QJsonObject autoConnectRecord(bool on)
{
    return QJsonObject{{QStringLiteral("auto_connect"), on}};
}

std::optional<QString> decodeSsid(const Octets &octets)
{
    const qint64 count = std::min<qint64>(std::max<qint64>(octets.count, 0), octets.buf.size());
    QByteArray bytes;
    bytes.reserve(int(count));
    for (qint64 i = 0; i < count; ++i) {
        const QJsonValue value = octets.buf.at(int(i));
        if (!value.isDouble())
            return std::nullopt;
        const double number = value.toDouble();
        if (number < 0 || number > 255 || number != double(qint64(number)))
            return std::nullopt;
        bytes.append(char(quint8(number)));
    }
    return QString::fromUtf8(bytes);
}

} // namespace qovanet
