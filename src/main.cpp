// The application: the device backend chosen from the environment, the texts,
// and the application delegate with its main window.
//
// ORVALINDE_SCREENSHOT=<file> saves a picture of the main window once
// start-up has settled; with ORVALINDE_QUIT_AFTER_SCREENSHOT=1 the
// application then quits.

#include "AppDelegate.h"
#include "QOVAMainWindow.h"
#include "QOVATranslations.h"

#include "platform/Backend.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zentaro"));
    QApplication::setApplicationName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationVersion(QStringLiteral(ORVALINDE_VERSION));
    platform::installBackendFromEnvironment();
    QOVATranslations::installAll();

    AppDelegate delegate;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    delegate.mainWindow()->show();
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });

    const QString screenshot = qEnvironmentVariable("ORVALINDE_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &delegate, [&delegate, screenshot] {
            if (!delegate.mainWindow()->grab().save(screenshot))
                qWarning("cannot save the screenshot to %s", qPrintable(screenshot));
            if (qEnvironmentVariable("ORVALINDE_QUIT_AFTER_SCREENSHOT") == QLatin1String("1"))
                QApplication::quit();
        });
    }
    return app.exec();
}
