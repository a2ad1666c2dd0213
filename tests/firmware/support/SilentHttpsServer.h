#pragma once
// An HTTPS server for tests that misbehaves on purpose: it accepts the TCP
// connection and the TLS handshake and then, per request path, either never
// answers, sends a given prefix of a reply and falls silent, or sends a whole
// reply and closes. Paths without a reply set never get an answer. It runs on
// the thread that starts it (the test's), so its connections live while the
// test turns the event loop.

#include <QByteArray>
#include <QHash>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTcpServer>

class QSslSocket;

namespace testsupport {

class SilentHttpsServer : public QTcpServer {
    Q_OBJECT
public:
    // certificate and key as PEM files (NginxServer's, so that the same
    // authority is trusted).
    bool start(const QString &certificatePath, const QString &keyPath);
    QString url(const QString &path) const;  // path starts with "/"

    // What a request of that path gets: the bytes, then the connection is
    // closed (close) or left open without another byte. Without an entry the
    // request is never answered. Requests of the path that wait for an
    // answer get it now.
    void setReply(const QString &path, const QByteArray &bytes, bool close);
    void clearReply(const QString &path);
    // A whole 200 reply with that body (Content-Length set), then close.
    static QByteArray okReply(const QByteArray &body);

    // Connections open now (closed by neither side), and requests seen.
    int openConnections() const { return m_open; }
    QStringList requestedPaths() const { return m_requested; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void readRequest(QSslSocket *socket);
    void answer(QSslSocket *socket, const QString &path);

    QSslCertificate m_certificate;
    QSslKey m_key;
    struct Reply {
        QByteArray bytes;
        bool close = false;
    };
    QHash<QString, Reply> m_replies;
    QHash<QSslSocket *, QString> m_waiting;  // requests not answered yet
    int m_open = 0;
    QStringList m_requested;
};

} // namespace testsupport
