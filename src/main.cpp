// The application: one instance per user, the log, the device backend chosen
// from the environment, the texts, and the application delegate with its main
// window.
//
// A second start asks the running instance to bring its window to the front
// and ends with status 0. SIGTERM and SIGINT quit as the Quit menu item does.
//
// ORVALINDE_SCREENSHOT=<file> saves a picture of the main window once
// start-up has settled; with ORVALINDE_QUIT_AFTER_SCREENSHOT=1 the
// application then quits.

#include "AppDelegate.h"
#include "QOVAMainWindow.h"
#include "QOVATranslations.h"
#include "SingleInstance.h"
#include "QOVAIOManager.h"
#include "TerminationSignals.h"

#include "log/log.h"
#include "log/log_qt.h"
#include "platform/Backend.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zentaro"));
    QApplication::setApplicationName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationVersion(QStringLiteral(ORVALINDE_VERSION));

    SingleInstance instance;
    switch (instance.claim()) {
    case SingleInstance::Primary:
        break;
    case SingleInstance::Activated:
        std::fputs("Orvalinde is already running: its window was brought to the front\n", stdout);
        return 0;
    case SingleInstance::Unreachable:
        std::fprintf(stderr, "Orvalinde is already running but does not answer on %s\n",
                     qPrintable(instance.socketPath()));
        return 1;
    }

    // The log starts before anything that logs, the backend included.
    log_start();
    // Qt's own lines (qInfo and the toolkit's warnings) join the log.
    log_install_qt_message_handler();
    QString error;
    if (!platform::installBackendFromEnvironment(&error)) {
        // Also on standard error: the log drops what is still queued at stop.
        QOVA_LOG(ERROR, OTHERS, "%s", qUtf8Printable(error));
        std::fprintf(stderr, "%s\n", qPrintable(error));
        log_stop();
        return 2;
    }
    QOVATranslations::installAll();

    AppDelegate delegate;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &delegate,
                     [&delegate] { delegate.bringToFront(); });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &delegate,
                     [&delegate](int number) { delegate.terminateOnSignal(number); });
    delegate.showMainWindowAndFinishLaunching();

    const QString screenshot = qEnvironmentVariable("ORVALINDE_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &delegate, [&delegate, screenshot] {
            if (delegate.mainWindow()->grab().save(screenshot))
                QOVA_LOG(INFO, UI, "The main window was saved to %s", qUtf8Printable(screenshot));
            else
                QOVA_LOG(WARNING, UI, "cannot save the screenshot to %s", qUtf8Printable(screenshot));
            if (qEnvironmentVariable("ORVALINDE_QUIT_AFTER_SCREENSHOT") == QLatin1String("1"))
                delegate.terminate();
        });
    }
    const int status = app.exec();
    // Discovery threads read devices and post to the main thread: they end
    // here, before the objects they reach (and the process's statics) go.
    QOVAIOManager::usbManagerShared()->stopDiscovery();
    return status;
}
