#include "AppDelegate.h"

#include "QOVAScrollBarStyle.h"

#include "QOVAMainViewController.h"
#include "QOVAMainWindow.h"
#include "QOVANavigationView.h"
#include "QOVANotificationWindow.h"
#include "sfb/QOVASFBStereoFile.h"
#include "sfb/QOVASFBWindow.h"

#include "device/QOVADeviceInfoViewController.h"
#include "firmware/ui/QOVAFirmwareViewController.h"
#include "firmware/ui/QOVAManualUpdateWindow.h"
#include "setup/QOVAHalvexOOBViewController.h"
#include "setup/QOVAVaskoOOBViewController.h"

#include "QOVAIOManager.h"
#include "QOVANotificationCenter.h"
#include "log/log.h"
#include "log/log_qt.h"
#include "QOVALinkOpener.h"
#include "platform/TimeScale.h"

#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimeZone>
#include <QTimer>

#include <cstring>
#include <utility>

namespace {

AppDelegate *theDelegate = nullptr;
QString logCollectorOverride;

// The maker's help page for this application.
constexpr char kHelpUrl[] = "https://support.zentaro.example/orvalinde/help";

QString describe(const QVariantMap &userInfo)
{
    QStringList parts;
    for (auto it = userInfo.begin(); it != userInfo.end(); ++it)
        parts << QStringLiteral("%1 = %2").arg(it.key(), it.value().toString());
    return QStringLiteral("{%1}").arg(parts.join(QStringLiteral("; ")));
}

} // namespace

// The images live in the UI library; a static library's resources are
// registered by hand.
static void initImageResources()
{
    Q_INIT_RESOURCE(images);
}

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
{
    initImageResources();
    // Every scroll bar of the application, from here on.
    QOVAScrollBarStyle::installOnApplication();
    Q_ASSERT(!theDelegate);
    theDelegate = this;
    m_terminate = [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    m_updateTimer = new QTimer(this);
    m_updateTimer->setSingleShot(true);
    connect(m_updateTimer, &QTimer::timeout, this, [this] { autoCheckUpdate(); });

    // What the main interface resource holds: the window, its menus and the
    // empty page.
    m_mainWindow = new QOVAMainWindow;
    setupUI();
    auto *empty = new QOVAMainViewController(this);
    empty->view();   // registers itself as the main controller
    m_mainWindow->setContentPage(empty->view());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        m_mainWindow->move(available.center() - QPoint(410, 300 + 12));
    }
}

AppDelegate::~AppDelegate()
{
    QOVANotificationCenter::defaultCenter().removeObserver(this);
    // Pages going down with the window may still close their windows; no
    // page is current any more, so their mask calls change nothing.
    m_currentController = nullptr;
    delete m_mainWindow;
    if (theDelegate == this)
        theDelegate = nullptr;
}

AppDelegate *AppDelegate::sharedDelegate()
{
    return theDelegate;
}

QWidget *AppDelegate::mainWindowWidget()
{
    return theDelegate ? theDelegate->m_mainWindow : nullptr;
}

QWidget *AppDelegate::mainContentView()
{
    return theDelegate ? theDelegate->m_mainWindow->contentView() : nullptr;
}

QRect AppDelegate::mainContentScreenRect()
{
    QWidget *content = mainContentView();
    if (!content)
        return QRect(0, 0, 820, 600);
    return QRect(content->mapToGlobal(QPoint(0, 0)), content->size());
}

// ---------------------------------------------------------------- launch

namespace {

// Calls its function once the first frame of the window is out: two turns
// of the event loop after the first paint of one of its widgets (the frame
// is flushed when that paint's turn ends), or when the fallback time has
// passed without a paint. Then it goes.
class FirstFrameWatcher : public QObject {
public:
    FirstFrameWatcher(QWidget *window, std::function<void()> then)
        : QObject(window), m_window(window), m_then(std::move(then))
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(platform::scaledMs(1000), this, [this] { finish(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget == m_window || m_window->isAncestorOf(widget)) {
                qApp->removeEventFilter(this);
                QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, [this] { finish(); }); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void finish()
    {
        if (!m_then)
            return;
        qApp->removeEventFilter(this);
        const auto then = std::exchange(m_then, nullptr);
        deleteLater();
        then();
    }

    QWidget *m_window;
    std::function<void()> m_then;
};

} // namespace

void AppDelegate::showMainWindowAndFinishLaunching()
{
    new FirstFrameWatcher(m_mainWindow, [this] { applicationDidFinishLaunching(); });
    m_mainWindow->show();
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (std::exchange(m_launched, true))
        return;
    log_start();
    log_install_qt_message_handler();
    setupUIManager();
    setupHIDManager();
    checkLanguageAndRegion();
    checkAppVersion();
    checkSFBOpen();
    QOVA_LOG(INFO, UI, "did finish launching");
    scheduleAutoCheckUpdate();
    launchLogCollector(false, false);
}

void AppDelegate::setupUIManager()
{
    registerNotification();
    m_currentController = m_mainController;
    putNavigationView(m_mainController, 0);
}

void AppDelegate::setupUI()
{
    // The menus: the application menu with About, and Help with the log
    // collector and the help page.
    QMenuBar *bar = m_mainWindow->menuBar();
    QMenu *appMenu = bar->addMenu(qtTrId("STRING_MENU_APP"));
    QAction *about = appMenu->addAction(qtTrId("STRING_ABOUT_ORVALINDE"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(m_mainWindow, qtTrId("STRING_ABOUT_ORVALINDE"),
                           QStringLiteral("%1 %2").arg(QGuiApplication::applicationDisplayName(),
                                                       QCoreApplication::applicationVersion()));
    });
    appMenu->addSeparator();
    QAction *quit = appMenu->addAction(qtTrId("STRING_MENU_QUIT"));
    quit->setMenuRole(QAction::QuitRole);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, [this] { terminate(); });

    QMenu *helpMenu = bar->addMenu(qtTrId("STRING_MENU_HELP"));
    QAction *sendLog = helpMenu->addAction(qtTrId("STRING_SEND_LOG"));
    connect(sendLog, &QAction::triggered, this, [this] { onLaunchLogCollector(); });
    QAction *help = helpMenu->addAction(qtTrId("STRING_MENU_HELP_ITEM"));
    connect(help, &QAction::triggered, this, [this] { onMenuShowHelp(); });
}

void AppDelegate::registerNotification()
{
    auto &center = QOVANotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("QOVAIOHIDDeviceMatchInformation"), this,
                       [this](const QOVANotification &n) { receiveMatchNotification(n.userInfo.value_or(QVariantMap())); });
    center.addObserver(QStringLiteral("QOVAIOHIDDeviceRemoveNotification"), this,
                       [this](const QOVANotification &n) { receiveRemoveNotification(n.userInfo.value_or(QVariantMap())); });
}

void AppDelegate::setupHIDManager()
{
    QOVAIOManager::usbManagerShared();
}

void AppDelegate::checkLanguageAndRegion()
{
    const QString language = QLocale::system().uiLanguages().value(0);
    QOVA_LOG(INFO, UI, "Orvalinde use language and region is %s", qUtf8Printable(language));
}

void AppDelegate::checkAppVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    QOVA_LOG(INFO, UI, "APP Version is %s-%s", qUtf8Printable(version.section(QLatin1Char('.'), 0, 2)),
             qUtf8Printable(version));
}

// ---------------------------------------------------------------- update check

double AppDelegate::getCheckUpdateDelay()
{
    return getCheckUpdateDelay(QDateTime::currentDateTime(), getRandomNumber(0, 23));
}

double AppDelegate::getCheckUpdateDelay(const QDateTime &now, int hour)
{
    const QTime t = now.time();
    const QDateTime target(now.date(), QTime(hour, t.minute(), t.second(), t.msec()), now.timeZone());
    double delay = now.msecsTo(target) / 1000.0;
    if (delay < 300)
        delay += 86400;
    return delay;
}

int AppDelegate::getRandomNumber(int first, int last)
{
    return first + int(QRandomGenerator::global()->generate() % quint32(last - first + 1));
}

void AppDelegate::scheduleAutoCheckUpdate()
{
    m_scheduledUpdateDelay = getCheckUpdateDelay();
    m_updateTimer->start(platform::scaledMs(m_scheduledUpdateDelay * 1000.0));
}

void AppDelegate::autoCheckUpdate()
{
    QOVANotificationCenter::defaultCenter().postNotificationNameOnMainThread(
        QStringLiteral("QOVADeviceAutoCheckUpdate"), nullptr, std::nullopt);
    scheduleAutoCheckUpdate();
}

// ---------------------------------------------------------------- log collector

QString AppDelegate::logCollectorPath()
{
    if (!logCollectorOverride.isEmpty())
        return logCollectorOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/LogCollector");
}

void AppDelegate::setLogCollectorPath(const QString &path)
{
    logCollectorOverride = path;
}

QStringList AppDelegate::logCollectorArguments(bool manual, bool capture, qulonglong windowCount)
{
    if (!manual)
        return {};
    return {QStringLiteral("-manually-launch"), QStringLiteral("YES"), QStringLiteral("-capture-window-id"),
            capture ? QString::number(windowCount) : QStringLiteral("0")};
}

AppDelegate::LogCollectorLaunch AppDelegate::launchLogCollector(bool manual, bool capture)
{
    qulonglong windows = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isWindow() && w->isVisible())
            ++windows;
    }
    const QString program = logCollectorPath();
    const QStringList arguments = logCollectorArguments(manual, capture, windows);
    const QFileInfo info(program);
    if (!info.exists() || !info.isExecutable()) {
        QOVA_LOG(WARNING, UI, "Log collector not found at %s", qUtf8Printable(program));
        return LogCollectorLaunch::Missing;
    }
    if (!QProcess::startDetached(program, arguments)) {
        QOVA_LOG(WARNING, UI, "Log collector at %s could not be started", qUtf8Printable(program));
        return LogCollectorLaunch::Failed;
    }
    return LogCollectorLaunch::Started;
}

void AppDelegate::onLaunchLogCollector()
{
    qInfo("Log Collector Clicked!");
    const LogCollectorLaunch launch = launchLogCollector(true, true);
    // The user asked for it: the outcome is shown, not only logged.
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(launch == LogCollectorLaunch::Started ? 0 : 1);
    switch (launch) {
    case LogCollectorLaunch::Started:
        toast->setContentString(qtTrId("STRING_LOG_COLLECTOR_STARTED"));
        break;
    case LogCollectorLaunch::Missing:
        toast->setContentString(qtTrId("STRING_LOG_COLLECTOR_MISSING"));
        break;
    case LogCollectorLaunch::Failed:
        toast->setContentString(qtTrId("STRING_LOG_COLLECTOR_FAILED"));
        break;
    }
    toast->show();
}

QUrl AppDelegate::getAppHelpUrl()
{
    return QUrl(QString::fromLatin1(kHelpUrl));
}

void AppDelegate::onMenuShowHelp()
{
    QOVALinkOpener::openURL(getAppHelpUrl());
}

// ---------------------------------------------------------------- pages

QOVADeviceListViewController *AppDelegate::deviceListController()
{
    if (!m_deviceListController) {
        m_deviceListController = new QOVADeviceListViewController(this);
        m_deviceListController->setDeviceListViewControllerDelegate(this);
    }
    return m_deviceListController;
}

QOVAFirmwareViewController *AppDelegate::firmwareController()
{
    if (!m_firmwareController)
        m_firmwareController = new QOVAFirmwareViewController(this);
    return m_firmwareController;
}

QOVADeviceInfoViewController *AppDelegate::deviceInfoController()
{
    if (!m_deviceInfoController)
        m_deviceInfoController = new QOVADeviceInfoViewController(this);
    return m_deviceInfoController;
}

void AppDelegate::setDeviceInfoController(QOVADeviceInfoViewController *controller)
{
    if (m_deviceInfoController == controller)
        return;
    releaseDeviceInfoController();
    m_deviceInfoController = controller;
    if (controller)
        controller->setParent(this);
}

void AppDelegate::releaseDeviceInfoController()
{
    QOVADeviceInfoViewController *old = m_deviceInfoController;
    m_deviceInfoController = nullptr;
    if (old && old != m_currentController) {
        if (old->isViewLoaded())
            old->view()->hide();
        old->deleteLater();
    }
}

void AppDelegate::setOrbrinOobVC(QOVAHalvexOOBViewController *controller)
{
    if (m_orbrinOobVC == controller)
        return;
    if (m_orbrinOobVC && m_orbrinOobVC != m_currentController)
        m_orbrinOobVC->deleteLater();
    m_orbrinOobVC = controller;
    if (controller)
        controller->setParent(this);
}

void AppDelegate::setVaskoOobVC(QOVAVaskoOOBViewController *controller)
{
    if (m_vaskoOobVC == controller)
        return;
    if (m_vaskoOobVC && m_vaskoOobVC != m_currentController)
        m_vaskoOobVC->deleteLater();
    m_vaskoOobVC = controller;
    if (controller)
        controller->setParent(this);
}

QOVANavigationView *AppDelegate::navigationView()
{
    if (!m_navigationView)
        m_navigationView = new QOVANavigationView;
    return m_navigationView;
}

void AppDelegate::putNavigationView(QOVABaseViewController *controller, int style)
{
    QOVANavigationView *bar = navigationView();
    QWidget *page = controller->view();
    if (bar->parentWidget() != page)
        bar->setParent(page);
    bar->setGeometry(0, 0, 820, 56);
    bar->show();
    bar->raise();
    bar->setNavigationStyle(style);
}

void AppDelegate::showDeviceController(QOVABaseViewController *controller)
{
    if (!controller)
        return;
    QOVABaseViewController *previous = m_currentController;
    m_currentController = controller;
    if (controller != m_deviceInfoController && m_deviceInfoController)
        releaseDeviceInfoController();

    controller->viewWillAppear();
    m_mainWindow->setContentPage(controller->view());
    m_mainWindow->raise();
    m_mainWindow->activateWindow();

    putNavigationView(controller, 1);
    if (controller == m_firmwareController) {
        m_navigationView->selectNavigateItem(1);
    } else {
        m_navigationView->selectNavigateItem(0);
        if (controller == m_deviceInfoController || qobject_cast<QOVAHalvexOOBViewController *>(controller)
            || qobject_cast<QOVAVaskoOOBViewController *>(controller))
            m_navigationView->setNavigationStyle(2);
    }
    controller->viewDidAppear();
    if (previous && previous != controller)
        previous->didLeaveMainWindow();

    // The conflict warning stays above any page.
    for (QWidget *child : m_mainWindow->childWindows()) {
        if (qobject_cast<QOVASFBWindow *>(child))
            child->raise();
    }
    // A device page left behind is released once another page shows.
    if (previous && previous != controller && previous != m_deviceInfoController
        && qobject_cast<QOVADeviceInfoViewController *>(previous))
        previous->deleteLater();
}

void AppDelegate::showMainController(QOVABaseViewController *controller)
{
    if (!controller)
        return;
    QOVABaseViewController *previous = m_currentController;
    m_currentController = controller;
    m_mainWindow->setContentPage(controller->view());
    putNavigationView(controller, 0);
    if (previous && previous != controller)
        previous->didLeaveMainWindow();
    if (previous && previous != controller && previous != m_deviceInfoController
        && qobject_cast<QOVADeviceInfoViewController *>(previous))
        previous->deleteLater();
}

void AppDelegate::switchNavigationView(qint64 index)
{
    if (index == 1) {
        if (m_currentController != m_firmwareController || !m_firmwareController) {
            showDeviceController(firmwareController());
            navigationView()->removeNotificationType(1);
        }
    } else if (index == 0) {
        if (m_currentController && m_currentController == m_firmwareController)
            showDeviceController(deviceListController());
    }
}

void AppDelegate::showWindowMask(bool show)
{
    if (m_currentController)
        m_currentController->showMaskView(show);
}

void AppDelegate::showInvisibleWindowMask(bool show)
{
    if (m_currentController)
        m_currentController->showInvisibleMaskView(show);
}

void AppDelegate::deviceNameUpdate(const QString &name, const QString &serialNumber)
{
    firmwareController()->updateFirmwareViewController(name, serialNumber);
}

// ---------------------------------------------------------------- devices

void AppDelegate::receiveMatchNotification(const QVariantMap &userInfo)
{
    qInfo("received device match notification:%s", qUtf8Printable(describe(userInfo)));
    if (m_currentController && m_currentController == m_mainController) {
        firmwareController()->initData();
        showDeviceController(deviceListController());
    }
    deviceListController()->addObjectWithUserInfo(userInfo);
    firmwareController()->addObjectWithUserInfo(userInfo);
}

void AppDelegate::receiveRemoveNotification(const QVariantMap &userInfo)
{
    qInfo("received device remove notification:%s", qUtf8Printable(describe(userInfo)));
    for (QWidget *child : m_mainWindow->childWindows()) {
        if (qobject_cast<QOVAManualUpdateWindow *>(child)) {
            QOVA_LOG(INFO, UI, "Manual updating, should not switch view");
            return;
        }
    }
    deviceListController()->removeObjectWithUserInfo(userInfo);
    firmwareController()->removeObjectWithUserInfo(userInfo);
    if (deviceListController()->getCurrentDeviceCount() == 0)
        showMainController(m_mainController);

    const QString serial = userInfo.value(QStringLiteral("productSeriaNumber")).toString();
    QOVABaseViewController *current = m_currentController;
    bool leave = false;
    if (current && current == m_deviceInfoController && m_deviceInfoController->model())
        leave = m_deviceInfoController->model()->serialNumber == serial;
    else if (current && current == m_orbrinOobVC && m_orbrinOobVC->model())
        leave = m_orbrinOobVC->model()->serialNumber == serial;
    else if (current && current == m_vaskoOobVC && m_vaskoOobVC->model())
        leave = m_vaskoOobVC->model()->serialNumber == serial;
    if (leave)
        showDeviceController(deviceListController());
    removeAllChildWindows();
}

void AppDelegate::removeAllChildWindows()
{
    bool closedDialog = false;
    for (QWidget *child : m_mainWindow->childWindows()) {
        if (child->isVisible() && !qobject_cast<QOVANotificationWindow *>(child)
            && !qobject_cast<QOVASFBWindow *>(child))
            closedDialog = true;
        child->hide();
    }
    // The dialogs went without their own close, which takes the page's mask
    // away: a page left dimmed under no dialog would take no clicks.
    if (closedDialog)
        showWindowMask(false);
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (hasVisibleWindows)
        return true;
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
    return true;
}

void AppDelegate::terminate()
{
    m_terminate();
}

void AppDelegate::terminateOnSignal(int signalNumber)
{
    QOVA_LOG(INFO, UI, "received signal %d (%s), quitting", signalNumber, strsignal(signalNumber));
    terminate();
}

void AppDelegate::bringToFront()
{
    QOVA_LOG(INFO, UI, "another start of the application: bringing the main window to the front");
    if (m_mainWindow->isMinimized())
        m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void AppDelegate::applicationWillTerminate()
{
    log_stop();
    if (m_deviceInfoController) {
        m_deviceInfoController->stopCameraPreview();
        m_deviceInfoController->stopReportAudioMeters();
    }
}

// ---------------------------------------------------------------- conferencing client

void AppDelegate::checkSFBOpen()
{
    QOVAWorkspace *workspace = QOVAWorkspace::sharedWorkspace();
    const QString identifier = workspace->bundleIdentifierForApplication(QStringLiteral("Skype for Business"));
    QOVA_LOG(INFO, OTHERS, "The APP BudenIdentifier is %s", qUtf8Printable(identifier));
    if (identifier.isEmpty()) {
        QOVA_LOG(INFO, OTHERS, "Do not find SFB");
        return;
    }
    m_runningApp = workspace->runningApplicationsWithBundleIdentifier(identifier);
    if (m_runningApp.isEmpty())
        return;
    if (m_sfbWindow)
        m_sfbWindow->deleteLater();
    m_sfbWindow = new QOVASFBWindow(420, 280);
    m_sfbWindow->setWindowDelegate(this);
    m_sfbWindow->show();
}

void AppDelegate::terminateWithButtonTag(QOVASFBWindow *window, qint64 tag)
{
    if (tag == 100) {
        QOVA_LOG(INFO, UI, "Because of Skype For Business ,User select to Tetminate Zentaro Orvalinde");
        m_terminate();
    } else if (tag == 101) {
        QOVA_LOG(INFO, UI, "Because of Skype For Business ,User select to Tetminate Skype For Business");
        QOVAWorkspace *workspace = QOVAWorkspace::sharedWorkspace();
        for (const QOVARunningApplication &app : m_runningApp)
            workspace->terminate(app);
        // Give the client a second to let go of the devices, without holding
        // up the interface, then open the devices anew.
        QTimer::singleShot(platform::scaledMs(1000), this, [] { QOVAIOManager::usbManagerShared()->reopen(); });
    }
    if (window)
        window->orderOut();
}

void AppDelegate::setSFBStereoEnable(bool enable)
{
    QOVASFBStereoFile::setStereoEnable(QOVASFBStereoFile::defaultPath(), enable);
}
