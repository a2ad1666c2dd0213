#include "SilentHttpsServer.h"

#include <QFile>
#include <QSslSocket>

namespace testsupport {

bool SilentHttpsServer::start(const QString &certificatePath, const QString &keyPath)
{
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(certificatePath);
    QFile keyFile(keyPath);
    if (certificates.isEmpty() || !keyFile.open(QIODevice::ReadOnly))
        return false;
    m_certificate = certificates.first();
    m_key = QSslKey(keyFile.readAll(), QSsl::Ec, QSsl::Pem);
    return !m_key.isNull() && listen(QHostAddress::LocalHost, 0);
}

QString SilentHttpsServer::url(const QString &path) const
{
    return QStringLiteral("https://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void SilentHttpsServer::setReply(const QString &path, const QByteArray &bytes, bool close)
{
    m_replies.insert(path, Reply{bytes, close});
    const QList<QSslSocket *> waiting = m_waiting.keys(path);
    for (QSslSocket *socket : waiting)
        answer(socket, path);
}

void SilentHttpsServer::answer(QSslSocket *socket, const QString &path)
{
    const auto reply = m_replies.constFind(path);
    if (reply == m_replies.constEnd()) {
        m_waiting.insert(socket, path);  // never answered, unless a reply is set
        return;
    }
    m_waiting.remove(socket);
    socket->write(reply->bytes);
    if (reply->close)
        socket->disconnectFromHost();
}

void SilentHttpsServer::clearReply(const QString &path)
{
    m_replies.remove(path);
}

QByteArray SilentHttpsServer::okReply(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void SilentHttpsServer::incomingConnection(qintptr descriptor)
{
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    ++m_open;
    socket->setLocalCertificate(m_certificate);
    socket->setPrivateKey(m_key);
    socket->setPeerVerifyMode(QSslSocket::VerifyNone);
    connect(socket, &QSslSocket::disconnected, this, [this, socket] {
        --m_open;
        m_waiting.remove(socket);
        socket->deleteLater();
    });
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
    socket->startServerEncryption();
}

void SilentHttpsServer::readRequest(QSslSocket *socket)
{
    // One request per connection: its head is read, the body (none for a
    // GET) and anything after it is ignored.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray seen = socket->property("seen").toByteArray() + socket->readAll();
    socket->setProperty("seen", seen);
    const qsizetype end = seen.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = seen.left(seen.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1)) : QString();
    m_requested.append(path);
    answer(socket, path);
}

} // namespace testsupport
