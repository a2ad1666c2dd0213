// The application's start as its main() does it, up to the first frame of
// the main window.
#include "FirstFrame.h"

#include "AppDelegate.h"
#include "QOVAMainWindow.h"
#include "QOVATranslations.h"

#include "platform/Backend.h"

#include <QApplication>

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
    new FirstFrameProbe(delegate.mainWindow());
    delegate.showMainWindowAndFinishLaunching();
    return app.exec();
}
