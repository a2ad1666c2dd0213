#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

QString runtimeFolder(const QString &folder)
{
    if (!folder.isEmpty())
        return folder;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime;
}

constexpr char kActivate[] = "activate\n";
constexpr char kAnswer[] = "ok\n";
// How long a later start waits for the running instance to answer: the
// first one may be between taking the lock and listening.
constexpr int kAnswerWaitMs = 10000;

} // namespace

SingleInstance::SingleInstance(const QString &folder, const QString &name, QObject *parent)
    : QObject(parent)
    , m_socketPath(runtimeFolder(folder) + QLatin1Char('/') + name + QStringLiteral(".socket"))
    , m_lock(runtimeFolder(folder) + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
    // The lock is never stale while its owner lives; a dead owner's lock is
    // taken over (QLockFile checks whether the process still runs).
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

SingleInstance::Claim SingleInstance::claim()
{
    if (m_lock.tryLock(0)) {
        listen();
        return Primary;
    }
    const Claim answer = askToActivate();
    if (answer == Primary)
        listen();
    return answer;
}

void SingleInstance::listen()
{
    // Holding the lock, no live instance answers on the socket: whatever
    // file is left there belongs to one that ended without closing it.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    if (!m_server->listen(m_socketPath)) {
        qWarning("cannot listen on %s: %s", qPrintable(m_socketPath), qPrintable(m_server->errorString()));
        // Still the one instance: a later start finds the lock held and,
        // with nobody answering, ends.
    }
}

SingleInstance::Claim SingleInstance::askToActivate()
{
    QDeadlineTimer deadline(kAnswerWaitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(int(qMin<qint64>(1000, deadline.remainingTime())))) {
            socket.write(kActivate);
            if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
                continue;
            while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
            }
            if (socket.readLine().trimmed() == QByteArray(kAnswer).trimmed())
                return Activated;
        }
        // The running instance ended meanwhile: this one takes over.
        if (m_lock.tryLock(0))
            return Primary;
        QThread::msleep(50);
    }
    return Unreachable;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > 64)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine();
            if (line == kActivate) {
                socket->write(kAnswer);
                socket->flush();
                emit activationRequested();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0)
            read();
    }
}
