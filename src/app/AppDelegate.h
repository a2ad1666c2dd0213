#pragma once
// The application's one delegate: starts the log, the device manager and the
// conflict check; builds the menus; schedules the daily firmware-update
// check; starts the log collector; owns the page controllers of the main
// window and switches between them; follows devices arriving and leaving;
// and stops the log and the open device page's preview at exit. Everything
// runs on the main thread.
//
//   AppDelegate delegate;          // main window, menus, empty page
//   delegate.showMainWindowAndFinishLaunching();

#include "QOVADeviceListViewController.h"
#include "QOVAMainViewController.h"
#include "QOVANavigationView.h"
#include "sfb/QOVASFBWindow.h"
#include "sfb/QOVASFBWindowDelegate.h"
#include "sfb/QOVAWorkspace.h"

#include "device/QOVADeviceInfoViewController.h"
#include "firmware/ui/QOVAFirmwareViewController.h"
#include "setup/QOVAHalvexOOBViewController.h"
#include "setup/QOVAVaskoOOBViewController.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <functional>

class QOVABaseViewController;
class QOVAMainWindow;
class QTimer;

class AppDelegate : public QObject,
                    public QOVADeviceListViewControllerDelegate,
                    public QOVASFBWindowDelegate {
    Q_OBJECT
public:
    // Builds the main window, its menus and the empty page. One at a time.
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    static AppDelegate *sharedDelegate();
    // The main window and its content area (none without a delegate), and the
    // content area's rectangle on the screen.
    static QWidget *mainWindowWidget();
    static QWidget *mainContentView();
    static QRect mainContentScreenRect();

    QOVAMainWindow *mainWindow() const { return m_mainWindow; }

    // Life cycle.
    // Shows the main window; the launch follows once its first frame has
    // been drawn (or after a second when it is not drawn), so the window is
    // on the screen before devices are looked for.
    void showMainWindowAndFinishLaunching();
    void applicationDidFinishLaunching();
    bool hasFinishedLaunching() const { return m_launched; }
    void applicationWillTerminate();
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    // Quits the application (the Quit menu item): the event loop ends and
    // applicationWillTerminate runs.
    void terminate();
    // SIGTERM or SIGINT: logged, then the same as Quit.
    void terminateOnSignal(int signalNumber);
    // Another start of the application asked for this one: the main window
    // is shown (restored if minimised), raised and activated.
    void bringToFront();

    // Menu actions.
    void onLaunchLogCollector();
    void onMenuShowHelp();
    static QUrl getAppHelpUrl();

    // Page switching.
    void showDeviceController(QOVABaseViewController *controller);
    void showMainController(QOVABaseViewController *controller);
    void switchNavigationView(qint64 index);
    void showWindowMask(bool show);
    void showInvisibleWindowMask(bool show);

    // QOVADeviceListViewControllerDelegate
    void deviceNameUpdate(const QString &name, const QString &serialNumber) override;

    // The conflicting conferencing client.
    void checkSFBOpen();
    void terminateWithButtonTag(QOVASFBWindow *window, qint64 tag) override;
    void setSFBStereoEnable(bool enable);
    QList<QOVARunningApplication> runningApp() const { return m_runningApp; }
    QOVASFBWindow *sfbWindow() const { return m_sfbWindow; }

    // Device notifications.
    void receiveMatchNotification(const QVariantMap &userInfo);
    void receiveRemoveNotification(const QVariantMap &userInfo);
    void removeAllChildWindows();

    // Getters of the page controllers.
    QOVABaseViewController *currentController() const { return m_currentController; }
    QOVAMainViewController *mainController() const { return m_mainController; }
    void setMainController(QOVAMainViewController *controller) { m_mainController = controller; }
    QOVADeviceListViewController *deviceListController();
    QOVAFirmwareViewController *firmwareController();
    // The open device page; an empty one is made when none is held.
    QOVADeviceInfoViewController *deviceInfoController();
    // The one held, or none (nothing is made).
    QOVADeviceInfoViewController *heldDeviceInfoController() const { return m_deviceInfoController; }
    void setDeviceInfoController(QOVADeviceInfoViewController *controller);
    QOVANavigationView *navigationView();
    QOVAHalvexOOBViewController *orbrinOobVC() const { return m_orbrinOobVC; }
    void setOrbrinOobVC(QOVAHalvexOOBViewController *controller);
    QOVAVaskoOOBViewController *vaskoOobVC() const { return m_vaskoOobVC; }
    void setVaskoOobVC(QOVAVaskoOOBViewController *controller);

    // The daily update check: seconds until the same minute and second of a
    // random hour today, moved to tomorrow when that is less than five
    // minutes ahead.
    static double getCheckUpdateDelay();
    static double getCheckUpdateDelay(const QDateTime &now, int hour);
    static int getRandomNumber(int first, int last);
    void autoCheckUpdate();
    // Seconds the pending check waits (for tests); negative when none.
    double scheduledUpdateDelay() const { return m_scheduledUpdateDelay; }

    // The log collector, beside the executable. Whether it was started.
    enum class LogCollectorLaunch { Started, Missing, Failed };
    LogCollectorLaunch launchLogCollector(bool manual, bool capture);
    static QStringList logCollectorArguments(bool manual, bool capture, qulonglong windowCount);
    static QString logCollectorPath();
    // Tests start a program of their own instead.
    static void setLogCollectorPath(const QString &path);

    // What "terminate the application" does (by default quitting the event
    // loop); tests replace it.
    void setTerminateHandler(std::function<void()> handler) { m_terminate = std::move(handler); }

private:
    void setupUIManager();
    void setupUI();
    void registerNotification();
    void setupHIDManager();
    void checkLanguageAndRegion();
    void checkAppVersion();
    void scheduleAutoCheckUpdate();
    void releaseDeviceInfoController();
    void putNavigationView(QOVABaseViewController *controller, int style);

    QOVAMainWindow *m_mainWindow = nullptr;
    QPointer<QOVABaseViewController> m_currentController;
    QPointer<QOVAMainViewController> m_mainController;
    QPointer<QOVADeviceListViewController> m_deviceListController;
    QPointer<QOVAFirmwareViewController> m_firmwareController;
    QPointer<QOVADeviceInfoViewController> m_deviceInfoController;
    QPointer<QOVANavigationView> m_navigationView;
    QPointer<QOVAHalvexOOBViewController> m_orbrinOobVC;
    QPointer<QOVAVaskoOOBViewController> m_vaskoOobVC;
    QList<QOVARunningApplication> m_runningApp;
    QPointer<QOVASFBWindow> m_sfbWindow;
    QTimer *m_updateTimer = nullptr;
    double m_scheduledUpdateDelay = -1;
    std::function<void()> m_terminate;
    bool m_launched = false;
};
