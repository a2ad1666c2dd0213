#pragma once
// A real HTTPS update server for tests: nginx on 127.0.0.1 with its own
// prefix, configuration, logs and temp folders under a temporary folder,
// and a certificate made by openssl for this run, signed by a throwaway
// certificate authority that the test trusts through a QSslConfiguration.
//
// Locations (all serving the folder www()):
//   /files/       static files with byte ranges
//   /norange/     the same files, Range ignored (always 200 with the whole file)
//   /slow/        the same files, throttled to slowRate bytes per second
//                 after the first 256 KiB of each reply
//   /wrongrange/  always answers a range starting at byte 10
//   /chunked/     the same files without a length (chunked transfer)
//   /status/NNN/  answers status NNN
// Every request is counted through the access log.

#include <QByteArray>
#include <QProcess>
#include <QSslConfiguration>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace testsupport {

class NginxServer {
public:
    struct Request {
        QString uri;
        QString range;    // the Range header, empty when none
        int status = 0;
        qint64 bytesSent = 0;
    };

    // The nginx binary, or empty when it is not installed.
    static QString nginxPath();

    NginxServer();
    ~NginxServer();

    // Makes the certificate and starts nginx; false (with why()) on failure.
    bool start(qint64 slowRate = 64 * 1024);
    // Ends nginx at once (SIGKILL): open connections are cut.
    void kill();
    // Starts it again on the same port.
    bool restart();
    bool isRunning() const;
    QString why() const { return m_why; }

    quint16 port() const { return m_port; }
    QString www() const;
    QString url(const QString &path) const;  // path starts with "/"
    // Writes a file below www().
    bool put(const QString &relativePath, const QByteArray &bytes) const;

    // The server's certificate and key (PEM, for 127.0.0.1), for other test
    // servers that the same configuration trusts.
    QString certificatePath() const { return m_dir.filePath(QStringLiteral("server.crt")); }
    QString keyPath() const { return m_dir.filePath(QStringLiteral("server.key")); }

    // A TLS configuration that trusts only this server's authority.
    QSslConfiguration sslConfiguration() const;

    // The requests nginx has logged so far; waits (up to a few seconds) until
    // at least minimum are there, because nginx logs a request only after
    // its last byte went out.
    std::vector<Request> requests(size_t minimum = 0) const;
    std::vector<Request> requestsFor(const QString &uri, size_t minimum = 0) const;

private:
    bool makeCertificates();
    bool writeConfiguration();
    bool launch();

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    qint64 m_slowRate = 0;
    QString m_why;
    QByteArray m_output;
};

} // namespace testsupport
