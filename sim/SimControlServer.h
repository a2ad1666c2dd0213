#pragma once
// The local socket through which orvalinde-simctl changes the simulated bus
// of a running application. A client sends one line: its words as a JSON
// array of strings. The server answers "ok" or "error" on the first line,
// then the command's output lines, and closes the connection.

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace sim {

class SimBus;

class SimControlServer : public QObject {
    Q_OBJECT
public:
    explicit SimControlServer(std::shared_ptr<SimBus> bus, QObject *parent = nullptr);
    ~SimControlServer() override;

    // Listens on name (a stale socket of that name is removed first).
    bool listen(const QString &name, QString *error = nullptr);
    QString serverName() const;

    // ORVALINDE_SIM_SOCKET, else "orvalinde-sim-<uid>".
    static QString defaultName();

private:
    void onConnection();
    void onReadable(QLocalSocket *socket);

    std::shared_ptr<SimBus> m_bus;
    QLocalServer *m_server = nullptr;
};

} // namespace sim
