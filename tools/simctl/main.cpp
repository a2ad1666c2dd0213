// orvalinde-simctl: plugs, unplugs and breaks simulated devices of a running
// application through its control socket.

#include "sim/SimCommands.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>

#include <cstdio>
#include <unistd.h>

namespace {

QString socketName()
{
    const QByteArray env = qgetenv("ORVALINDE_SIM_SOCKET");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStringLiteral("orvalinde-sim-%1").arg(uint(getuid()));
}

void printHelp()
{
    const QString text = QStringLiteral(
        "Usage: orvalinde-simctl COMMAND [ARGS]\n"
        "\n"
        "Changes the simulated devices of a running Orvalinde started with\n"
        "ORVALINDE_BACKEND=sim (or with ORVALINDE_SIM_DEVICES set).\n"
        "\n"
        "%1"
        "\n"
        "Examples:\n"
        "  orvalinde-simctl plug vasko:VS20240005.01\n"
        "  orvalinde-simctl fault OR20240001 status 500 internal error\n"
        "  orvalinde-simctl event OR20240001 wifi 0\n"
        "\n"
        "Socket and protocol:\n"
        "  The application listens on the local socket named by ORVALINDE_SIM_SOCKET,\n"
        "  by default \"orvalinde-sim-<uid>\" (%2 here). A client connects and\n"
        "  sends one line: the command's words as a JSON array of strings, e.g.\n"
        "  [\"unplug\",\"OR20240001\"] followed by a newline. The application answers\n"
        "  with lines of UTF-8 text: \"ok\" or \"error\", then the command's output\n"
        "  (or what was wrong), and closes the connection.\n"
        "\n"
        "Exit status: 0 when the application answered ok, 1 when it answered\n"
        "error, 2 when it could not be reached.\n")
                             .arg(sim::simCommandUsage(), socketName());
    std::fputs(qPrintable(text), stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList words = app.arguments().mid(1);
    if (words.isEmpty() || words.first() == QLatin1String("--help") || words.first() == QLatin1String("-h")
        || words.first() == QLatin1String("help")) {
        printHelp();
        return words.isEmpty() ? 2 : 0;
    }

    QLocalSocket socket;
    const QString name = socketName();
    socket.connectToServer(name);
    if (!socket.waitForConnected(3000)) {
        std::fprintf(stderr, "orvalinde-simctl: cannot reach %s: %s\n", qPrintable(name),
                     qPrintable(socket.errorString()));
        return 2;
    }
    QJsonArray array;
    for (const QString &w : words)
        array.append(w);
    socket.write(QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
    socket.flush();

    QByteArray answer;
    while (socket.state() == QLocalSocket::ConnectedState || socket.bytesAvailable() > 0) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(10000))
            break;
        answer += socket.readAll();
    }
    answer += socket.readAll();
    const qsizetype newline = answer.indexOf('\n');
    const QByteArray status = answer.left(newline < 0 ? answer.size() : newline).trimmed();
    const QByteArray rest = newline < 0 ? QByteArray() : answer.mid(newline + 1);
    if (status == "ok") {
        std::fputs(rest.constData(), stdout);
        return 0;
    }
    if (status == "error") {
        std::fprintf(stderr, "orvalinde-simctl: %s", rest.constData());
        return 1;
    }
    std::fprintf(stderr, "orvalinde-simctl: no answer from %s\n", qPrintable(name));
    return 2;
}
