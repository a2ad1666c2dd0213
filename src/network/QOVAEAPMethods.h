#pragma once
// The EAP methods the video bar joins with, and the phase-2 methods offered
// for each.

#include <QStringList>

namespace qovanet {

// Titles of the EAP method items, by tag (0 PEAP, 1 TLS, 2 TTLS, 3 PWD).
inline QStringList orbrinEapMethods()
{
    return {QStringLiteral("PEAP"), QStringLiteral("TLS"), QStringLiteral("TTLS"), QStringLiteral("PWD")};
}

// Phase-2 items after the no-method item, for a method title.
inline QStringList orbrinPhase2Methods(const QString &method)
{
    if (method == QLatin1String("PEAP"))
        return {QStringLiteral("MSCHAPV2"), QStringLiteral("GTC")};
    return {QStringLiteral("PAP"), QStringLiteral("MSCHAP"), QStringLiteral("MSCHAPV2"), QStringLiteral("GTC")};
}

// The name the device keeps an installed Wi-Fi certificate under.
inline QString orbrinWifiCertificateName() { return QStringLiteral("orbrin_wifi"); }

} // namespace qovanet
