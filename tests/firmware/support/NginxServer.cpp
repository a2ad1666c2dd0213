#include "NginxServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace testsupport {

namespace {

bool runTool(const QString &program, const QStringList &args, const QString &workDir, QString *why)
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ")
            + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

quint16 freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

} // namespace

QString NginxServer::nginxPath()
{
    QString path = QStandardPaths::findExecutable(QStringLiteral("nginx"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"),
                                                                        QStringLiteral("/sbin")});
    return path;
}

NginxServer::NginxServer() = default;

NginxServer::~NginxServer() { kill(); }

QString NginxServer::www() const { return m_dir.filePath(QStringLiteral("www")); }

QString NginxServer::url(const QString &path) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(m_port).arg(path);
}

bool NginxServer::put(const QString &relativePath, const QByteArray &bytes) const
{
    const QString path = www() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

bool NginxServer::makeCertificates()
{
    const QString dir = m_dir.path();
    QFile ext(m_dir.filePath(QStringLiteral("server.ext")));
    if (!ext.open(QIODevice::WriteOnly))
        return false;
    ext.write("basicConstraints=CA:FALSE\n"
              "keyUsage=critical,digitalSignature,keyEncipherment\n"
              "extendedKeyUsage=serverAuth\n"
              "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    ext.close();

    const QString openssl = QStringLiteral("openssl");
    const QStringList ec = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    return runTool(openssl,
                   QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec
                       + QStringList{"-keyout", "ca.key", "-out", "ca.crt", "-days", "2", "-subj",
                                     "/CN=Orvalinde test authority", "-addext",
                                     "basicConstraints=critical,CA:TRUE", "-addext",
                                     "keyUsage=critical,keyCertSign,cRLSign"},
                   dir, &m_why)
        && runTool(openssl,
                   QStringList{QStringLiteral("req")} + ec
                       + QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj",
                                     "/CN=127.0.0.1"},
                   dir, &m_why)
        && runTool(openssl,
                   {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                    "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "server.ext"},
                   dir, &m_why);
}

bool NginxServer::writeConfiguration()
{
    const QString p = m_dir.path();
    for (const char *sub : {"www", "tmp", "logs"})
        QDir(p).mkpath(QString::fromLatin1(sub));
    const QString w = www();
    QString conf = QStringLiteral(R"(daemon off;
master_process off;
worker_processes 1;
pid %1/nginx.pid;
error_log %1/logs/error.log warn;
events { worker_connections 64; }
http {
    default_type application/octet-stream;
    types { application/json json; }
    log_format counts '$request_uri|$http_range|$status|$body_bytes_sent';
    access_log %1/logs/access.log counts;
    client_body_temp_path %1/tmp/body;
    proxy_temp_path %1/tmp/proxy;
    fastcgi_temp_path %1/tmp/fastcgi;
    uwsgi_temp_path %1/tmp/uwsgi;
    scgi_temp_path %1/tmp/scgi;
    keepalive_timeout 30s;
    server {
        listen 127.0.0.1:%2 ssl;
        server_name localhost;
        ssl_certificate %1/server.crt;
        ssl_certificate_key %1/server.key;
        location /files/ { alias %3/; }
        location /norange/ { alias %3/; max_ranges 0; }
        location /slow/ { alias %3/; limit_rate_after 256k; limit_rate %4; }
        location /chunked/ {
            alias %3/;
            sub_filter_types *;
            sub_filter 'no such text in any package' '';
        }
        location /wrongrange/ {
            proxy_pass https://127.0.0.1:%2/files/;
            proxy_set_header Range "bytes=10-";
        }
        location /status/204/ { return 204; }
        location /status/403/ { return 403; }
        location /status/416/ { return 416; }
        location /status/500/ { return 500; }
    }
}
)")
                       .arg(p)
                       .arg(m_port)
                       .arg(w)
                       .arg(m_slowRate);
    QFile f(m_dir.filePath(QStringLiteral("nginx.conf")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(conf.toUtf8()) > 0;
}

bool NginxServer::start(qint64 slowRate)
{
    if (nginxPath().isEmpty()) {
        m_why = QStringLiteral("nginx is not installed");
        return false;
    }
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return false;
    }
    m_slowRate = slowRate;
    if (!makeCertificates())
        return false;
    // A port found free can be taken before nginx binds it; try a few.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        if (m_port && writeConfiguration() && launch())
            return true;
    }
    return false;
}

bool NginxServer::launch()
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(nginxPath(), {QStringLiteral("-p"), m_dir.path(), QStringLiteral("-c"),
                                   m_dir.filePath(QStringLiteral("nginx.conf")),
                                   QStringLiteral("-e"), QStringLiteral("stderr")});
    if (!m_process->waitForStarted(10000)) {
        m_why = QStringLiteral("nginx did not start: ") + m_process->errorString();
        return false;
    }
    // Ready once it accepts connections.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_process->state() != QProcess::Running) {
            m_process->waitForFinished(1000);
            m_why = QStringLiteral("nginx ended: ") + QString::fromLocal8Bit(m_process->readAll());
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(10);
    }
    m_why = QStringLiteral("nginx did not listen on port %1").arg(m_port);
    return false;
}

void NginxServer::kill()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_process.reset();
}

bool NginxServer::restart()
{
    kill();
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (launch())
            return true;
        QThread::msleep(20);  // the port may linger for a moment
    }
    return false;
}

bool NginxServer::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QSslConfiguration NginxServer::sslConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(
        QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("ca.crt"))));
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return configuration;
}

std::vector<NginxServer::Request> NginxServer::requests(size_t minimum) const
{
    std::vector<Request> out;
    const QDeadlineTimer deadline(5000);
    do {
        out.clear();
        QFile f(m_dir.filePath(QStringLiteral("logs/access.log")));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : f.readAll().split('\n')) {
                const QList<QByteArray> parts = line.split('|');
                if (parts.size() != 4)
                    continue;
                Request r;
                r.uri = QString::fromUtf8(parts[0]);
                r.range = parts[1] == "-" ? QString() : QString::fromUtf8(parts[1]);
                r.status = parts[2].toInt();
                r.bytesSent = parts[3].toLongLong();
                out.push_back(r);
            }
        }
        if (out.size() >= minimum)
            break;
        QThread::msleep(10);
    } while (!deadline.hasExpired());
    return out;
}

std::vector<NginxServer::Request> NginxServer::requestsFor(const QString &uri, size_t minimum) const
{
    std::vector<Request> out;
    const QDeadlineTimer deadline(5000);
    do {
        out.clear();
        for (const auto &r : requests())
            if (r.uri == uri)
                out.push_back(r);
        if (out.size() >= minimum)
            break;
        QThread::msleep(10);
    } while (!deadline.hasExpired());
    return out;
}

} // namespace testsupport
