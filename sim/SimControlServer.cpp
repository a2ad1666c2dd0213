#include "sim/SimControlServer.h"

#include "sim/SimBus.h"
#include "sim/SimCommands.h"

#include "log/log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace sim {

namespace {
constexpr qint64 kMaxLine = 64 * 1024;
}

SimControlServer::SimControlServer(std::shared_ptr<SimBus> bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &SimControlServer::onConnection);
}

SimControlServer::~SimControlServer() = default;

QString SimControlServer::defaultName()
{
    const QByteArray env = qgetenv("ORVALINDE_SIM_SOCKET");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStringLiteral("orvalinde-sim-%1").arg(uint(getuid()));
}

bool SimControlServer::listen(const QString &name, QString *error)
{
    // A socket file left by a process that ended is removed; one a live
    // server answers on is not taken from it.
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            const QString message = QStringLiteral("another server is listening on %1").arg(name);
            if (error)
                *error = message;
            QOVA_LOG(WARNING, OTHERS, "simulated bus: cannot listen on %s: %s", qUtf8Printable(name),
                     qUtf8Printable(message));
            return false;
        }
    }
    QLocalServer::removeServer(name);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        if (error)
            *error = m_server->errorString();
        QOVA_LOG(WARNING, OTHERS, "simulated bus: cannot listen on %s: %s", qUtf8Printable(name),
                 qUtf8Printable(m_server->errorString()));
        return false;
    }
    QOVA_LOG(INFO, OTHERS, "simulated bus: control socket %s", qUtf8Printable(m_server->fullServerName()));
    return true;
}

QString SimControlServer::serverName() const
{
    return m_server->fullServerName();
}

void SimControlServer::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadable(socket); });
        if (socket->bytesAvailable() > 0)
            onReadable(socket);
    }
}

void SimControlServer::onReadable(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxLine)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(kMaxLine).trimmed();
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    SimCommandResult result;
    if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
        result.lines.append(QStringLiteral("the command must be a JSON array of strings"));
    } else {
        QStringList words;
        for (const QJsonValue &value : doc.array())
            words.append(value.toString());
        result = runSimCommand(*m_bus, words);
        QOVA_LOG(INFO, OTHERS, "simulated bus: %s -> %s", qUtf8Printable(words.join(QLatin1Char(' '))),
                 result.ok ? "ok" : "error");
    }
    QByteArray answer = result.ok ? "ok\n" : "error\n";
    for (const QString &l : result.lines)
        answer += l.toUtf8() + '\n';
    socket->write(answer);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace sim
