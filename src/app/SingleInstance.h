#pragma once
// One running application per user session. The first start holds a lock
// file in the runtime folder and answers on a local socket beside it; a later
// start finds the lock held, asks the running one to bring its window to the
// front, and ends.
//
//   SingleInstance instance;
//   if (instance.claim() != SingleInstance::Primary) return 0;
//   QObject::connect(&instance, &SingleInstance::activationRequested, ...);

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum Claim {
        Primary,      // this process is the one instance and now answers later starts
        Activated,    // another instance runs and was asked to come to the front
        Unreachable,  // another instance holds the lock but did not answer
    };

    // folder: where the lock and the socket live (by default the user's
    // runtime folder); name: their base name.
    explicit SingleInstance(const QString &folder = QString(),
                            const QString &name = QStringLiteral("orvalinde"),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    Claim claim();
    QString socketPath() const { return m_socketPath; }

signals:
    // A later start asked this instance to bring its window to the front.
    void activationRequested();

private:
    void listen();
    Claim askToActivate();
    void onConnection();

    QString m_socketPath;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
