#include "log/log.h"
#include "platform/Backend.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationVersion(QStringLiteral(ORVALINDE_VERSION));
    platform::installBackendFromEnvironment();

    QLabel window(QStringLiteral("Orvalinde"));
    window.setFixedSize(820, 600);
    window.show();
    return app.exec();
}
