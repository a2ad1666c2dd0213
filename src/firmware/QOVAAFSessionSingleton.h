#pragma once
// The one HTTP session of the firmware update: a QNetworkAccessManager on the
// main thread, and the TLS configuration every request carries. Verification
// of the server's certificate is always on; tests inject a configuration that
// trusts their own certificate authority instead of switching it off.

#include <QNetworkRequest>
#include <QSslConfiguration>

class QNetworkAccessManager;

class QOVAAFSessionSingleton {
public:
    // Created on first use, on the main thread.
    static QNetworkAccessManager *sharedHttpSessionManager();

    static QSslConfiguration sslConfiguration();
    // What the session starts with: the system's authorities plus those of
    // the PEM file the update configuration names (UPDATE_CA_CERTIFICATES).
    static QSslConfiguration configuredSslConfiguration();
    static void setSslConfiguration(const QSslConfiguration &configuration);

    // A GET request for the address with the session's TLS configuration.
    // Bodies are asked for as they are stored (no transfer compression), so
    // byte offsets in the reply are offsets in the file.
    static QNetworkRequest request(const QUrl &url);
};
