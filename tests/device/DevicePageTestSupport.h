#pragma once
// Fixture for tests of the pages of an open device, usable from any tests
// folder. It runs the real application delegate, device manager and device
// list on a simulated bus of the test process, with simulated devices that
// answer the whole request catalogue from a state the test can read and set.
//
// In a tests folder's CMakeLists.txt:
//
//   orvalinde_add_gtest(settings_pages_test
//     SOURCES MyPageTest.cpp
//     LIBS qova_ui qova_sim Qt6::Test
//     MAIN gui)
//   target_include_directories(settings_pages_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
//
// and in a test:
//
//   #include "device/DevicePageTestSupport.h"
//   using namespace devicetest;
//
//   TEST_F(DevicePageFixture, GeneralPageSavesTheName)
//   {
//       SimHandle bar = plugDevice(sim::Family::Orbrin, "OR1", "1.3.0.5");
//       ASSERT_TRUE(openDevicePage("OR1"));
//       clickTab("STRING_ADMIN_SETTINGS");                  // runs the password gate
//       ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == "orbrinGeneralView"; }));
//       clickEntry("STRING_CAMERA_TRACKING");               // a row of the open list
//       EXPECT_TRUE(waitUntil([&] { return requestCount(bar, "auto_tracking") > 0; }));
//       bar.state->...;                                      // device state (catalogue handler)
//       bar.device->setFaults(...);                          // faults on demand
//       shot(mainWindow(), "general_page");                  // PNG under the shot folder
//   }
//
// Everything is driven from the main thread; waits turn the event loop until
// a condition holds (never a fixed time). Tests run with
// ORVALINDE_TIME_SCALE=0.01, so the 3 s status poll ticks every 30 ms.
//
// signIn() types into the administrator sign-in page's password field and
// presses Return there, as a user does.

#include "AppDelegate.h"
#include "settings/QOVAAudioCapture.h"
#include "QOVACollectionViewItem.h"
#include "QOVADeviceListViewController.h"
#include "QOVAIOManager.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVAGeometry.h"
#include "QOVAMainWindow.h"
#include "QOVATranslations.h"
#include "device/QOVADeviceInfoViewController.h"
#include "log/log.h"
#include "menu/QOVASubTabCell.h"
#include "menu/QOVATabControlView.h"
#include "settings/QOVAAdminSignIn.h"
#include "platform/Backend.h"
#include "platform/TimeScale.h"
#include "sfb/QOVAWorkspace.h"

#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimDevice.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The application's images live in a static library: they are registered
// by hand (outside any namespace, as the resource's init function is).
inline void devicetestInitImages()
{
    Q_INIT_RESOURCE(images);
}

namespace devicetest {

// Lets an ordinary device request wait that many (unscaled) seconds for its
// reply for the life of the object: for a device made to answer slower than
// the default wait on purpose.
class ScopedReplyWait {
public:
    explicit ScopedReplyWait(double seconds) : m_saved(QOVAUSBDeviceHIDInterface::ordinaryReplyWait())
    {
        QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(seconds);
    }
    ~ScopedReplyWait() { QOVAUSBDeviceHIDInterface::setOrdinaryReplyWait(m_saved); }
    ScopedReplyWait(const ScopedReplyWait &) = delete;
    ScopedReplyWait &operator=(const ScopedReplyWait &) = delete;

private:
    double m_saved;
};

// Runs the application's periods at another fraction of real time for the
// life of the object: for checks that must land between two ticks of a
// period, so that a pause of a loaded machine does not skip a tick.
class ScopedTimeScale {
public:
    explicit ScopedTimeScale(double factor) : m_saved(platform::timeScale()) { platform::setTimeScale(factor); }
    ~ScopedTimeScale() { platform::setTimeScale(m_saved); }
    ScopedTimeScale(const ScopedTimeScale &) = delete;
    ScopedTimeScale &operator=(const ScopedTimeScale &) = delete;

private:
    double m_saved;
};

// Turns the event loop until pred holds; false when it never did within a
// generous bound (not a measured time).
inline bool waitUntil(const std::function<bool()> &pred, int limitMs = 10000)
{
    QDeadlineTimer deadline(limitMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Objects released with deleteLater go too, as in the main loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    }
    return true;
}

// Turns the event loop for at least this many scaled-down milliseconds; for
// checking that something does NOT happen within a number of poll periods.
inline void spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// The process's simulated bus, installed as the device backend on first use,
// with the application's texts (English) and images.
// The desktop's microphones stay out of the tests: a page that lists them
// finds none, and no sound server is asked (its threads outlive the test).
// Tests of the audio pages install microphones of their own.
class NoDesktopMicrophones : public QOVAAudioCapture {
public:
    Authorization authorizationStatus() override { return Authorization::Authorized; }
    QList<QOVAAudioCaptureDevice> audioDevices() override { return {}; }
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &, QString *error) override
    {
        if (error)
            *error = QStringLiteral("no microphones in the tests");
        return nullptr;
    }
};

inline std::shared_ptr<sim::SimBus> bus()
{
    static std::shared_ptr<sim::SimBus> theBus = [] {
        devicetestInitImages();
        QOVAAudioCapture::setShared(std::make_shared<NoDesktopMicrophones>());
        auto b = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(b));
        QOVATranslations::installAll(QLocale(QLocale::English));
        return b;
    }();
    return theBus;
}

// Where shot() saves pictures: $ORVALINDE_SHOT_DIR, else /tmp/orvalinde-shots.
inline QString shotFolder()
{
    const QString dir = qEnvironmentVariable("ORVALINDE_SHOT_DIR");
    return dir.isEmpty() ? QStringLiteral("/tmp/orvalinde-shots") : dir;
}

// Saves a picture of the widget (with its visible child windows drawn where
// they are) as <folder>/<name>.png; returns the path.
inline QString shot(QWidget *widget, const QString &name)
{
    if (!widget)
        return QString();
    QDir().mkpath(shotFolder());
    QPixmap picture = widget->grab();
    QPainter painter(&picture);
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible())
            painter.drawPixmap(child->mapToGlobal(QPoint(0, 0)) - origin, child->grab());
    }
    painter.end();
    const QString path = shotFolder() + QLatin1Char('/') + name + QStringLiteral(".png");
    picture.save(path);
    return path;
}

// A workspace without the conflicting conferencing client.
class QuietWorkspace : public QOVAWorkspace {
public:
    QString bundleIdentifierForApplication(const QString &) override { return QString(); }
    QList<QOVARunningApplication> runningApplicationsWithBundleIdentifier(const QString &) override { return {}; }
    bool terminate(const QOVARunningApplication &) override { return true; }
};

// A plugged simulated device and the state its catalogue handler keeps
// (none for the Pirok family, which has no request channel).
struct SimHandle {
    std::shared_ptr<sim::SimDevice> device;
    std::shared_ptr<sim::SimCatalogueRequestHandler> state;
    explicit operator bool() const { return bool(device); }
};

// The resource names (head "url") of the requests a device received, in order.
inline QStringList receivedUrls(const SimHandle &handle)
{
    QStringList urls;
    if (!handle.device)
        return urls;
    for (const sim::SimReceivedRequest &request : handle.device->receivedRequests())
        urls << QJsonDocument::fromJson(request.head).object().value(QStringLiteral("url")).toString();
    return urls;
}

inline int requestCount(const SimHandle &handle, const QString &url)
{
    return int(receivedUrls(handle).count(url));
}

class DevicePageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus();
        ASSERT_TRUE(m_logDir.isValid());
        log_set_folder(QFile::encodeName(m_logDir.path()).constData());
        QOVAWorkspace::setSharedWorkspace(m_workspace);
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->setTerminateHandler([] {});
        m_delegate->mainWindow()->move(100, 80);
        m_delegate->mainWindow()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_delegate->mainWindow()));
        m_delegate->applicationDidFinishLaunching();
    }

    void TearDown() override
    {
        bus()->unplugAll();
        waitUntil([] { return QOVAIOManager::usbManagerShared()->deviceMutableArray().isEmpty(); });
        spin(20);
        m_delegate->applicationWillTerminate();
        m_delegate.reset();
        QOVAWorkspace::setSharedWorkspace(nullptr);
        log_set_folder(nullptr);
    }

    AppDelegate *delegate() const { return m_delegate.get(); }
    QWidget *mainWindow() const { return m_delegate->mainWindow(); }
    int listed() const { return int(m_delegate->deviceListController()->getCurrentDeviceCount()); }

    // Plugs a device answering the request catalogue and waits until the
    // device list shows it. firmware: the version the device reports (e.g.
    // "1.3.0.5" for the Orbrin family, "V1.2.4" for the Vasko family; empty:
    // the family's default); deviceName: the name it reports.
    SimHandle plugDevice(sim::Family family, const QString &serial, const QString &firmware = QString(),
                         const QString &deviceName = QString())
    {
        const int before = listed();
        sim::SimDeviceConfig config;
        config.family = family;
        config.serial = serial;
        config.firmwareVersion = firmware;
        config.deviceName = deviceName;
        SimHandle handle;
        QString error;
        handle.device = bus()->plug(config, &error);
        EXPECT_TRUE(handle.device) << qPrintable(error);
        if (!handle.device)
            return handle;
        if (auto handler = sim::makeCatalogueRequestHandler(family)) {
            handle.state = std::dynamic_pointer_cast<sim::SimCatalogueRequestHandler>(handler);
            handle.device->setRequestHandler(handler);
        }
        EXPECT_TRUE(waitUntil([&] { return listed() > before; })) << qPrintable(serial);
        // The list shows a device as soon as it is announced; the device
        // manager holds it a moment later. A click in between opens nothing.
        EXPECT_TRUE(waitUntil([&] {
            return QOVAIOManager::usbManagerShared()->deviceMutableArray().size() >= qsizetype(listed());
        })) << qPrintable(serial);
        return handle;
    }

    void unplug(const QString &serial)
    {
        const int before = listed();
        EXPECT_TRUE(bus()->unplug(serial));
        EXPECT_TRUE(waitUntil([&] { return listed() < before; })) << qPrintable(serial);
    }

    // The device list's tile of a device (by the serial the list shows).
    QOVACollectionViewItem *tileOf(const QString &serial) const
    {
        const auto &items = m_delegate->deviceListController()->getDeviceList();
        const auto tiles = m_delegate->deviceListController()->tiles();
        for (int i = 0; i < items.size() && i < tiles.size(); ++i) {
            if (items[i]->serialNumber == serial)
                return tiles[i];
        }
        return nullptr;
    }

    // Shows the device list (through the navigation bar's device segment
    // when another page is shown) and clicks the device's tile; returns the
    // device page once it is the page of the main window.
    QOVADeviceInfoViewController *openDevicePage(const QString &serial)
    {
        if (m_delegate->currentController() != m_delegate->deviceListController())
            m_delegate->showDeviceController(m_delegate->deviceListController());
        QOVACollectionViewItem *tile = tileOf(serial);
        EXPECT_TRUE(tile) << "no tile for " << qPrintable(serial);
        if (!tile)
            return nullptr;
        click(tile);
        const bool opened = waitUntil([&] {
            QOVADeviceInfoViewController *p = page();
            return p && m_delegate->currentController() == p && p->model()
                   && p->model()->serialNumber == serial;
        });
        EXPECT_TRUE(opened) << "device page of " << qPrintable(serial) << " did not open";
        return opened ? page() : nullptr;
    }

    // The device page held by the application (none when none is open).
    QOVADeviceInfoViewController *page() const { return m_delegate->heldDeviceInfoController(); }
    QOVATabControlView *menu() const { return page() ? page()->tabControlView() : nullptr; }

    // A left click at a point of the widget (its centre by default), made
    // through the main window as a user makes it.
    void click(QWidget *target, QPoint at = QPoint(-1, -1))
    {
        ASSERT_TRUE(target);
        QWidget *window = target->window();
        if (at == QPoint(-1, -1))
            at = target->rect().center();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, target->mapTo(window, at));
        QCoreApplication::processEvents();
    }

    // Clicks a group header of the side menu by its title key
    // ("STRING_STATUS", "STRING_USER_SETTINGS", "STRING_ADMIN_SETTINGS",
    // "STRING_DIAGNOSTICS"); waits until the menu has stopped moving.
    void clickTab(const char *key)
    {
        QOVATabControlView *m = menu();
        ASSERT_TRUE(m);
        QOVATabCell *cell = nullptr;
        const QString k = QLatin1String(key);
        if (k == QLatin1String("STRING_STATUS"))
            cell = m->statusTabCell();
        else if (k == QLatin1String("STRING_USER_SETTINGS"))
            cell = m->systemSettingsCell();
        else if (k == QLatin1String("STRING_ADMIN_SETTINGS"))
            cell = m->adminSettingsCell();
        else if (k == QLatin1String("STRING_DIAGNOSTICS"))
            cell = m->diagnosticsCell();
        ASSERT_TRUE(cell && cell->isVisible()) << "no visible tab " << key;
        click(cell);
        ASSERT_TRUE(waitUntil([m] { return !m->isAnimating(); }));
    }

    // The row of an open menu list whose title is the English text of key.
    QOVASubTabCell *entryCell(const char *key) const
    {
        QOVATabControlView *m = menu();
        if (!m)
            return nullptr;
        const QString title = qtTrId(key);
        for (SystemSettingsSubView *list :
             {m->currentUserSettingSubview(), m->currentAdminSubview(), m->currentDiagnosticsSubview()}) {
            if (!list || list->height() == 0)
                continue;
            for (QOVASubTabCell *cell : list->cells()) {
                if (cell->titleView()->text() == title)
                    return cell;
            }
        }
        return nullptr;
    }

    // Clicks a row of the open list by its title key ("STRING_GENERAL_SETTINGS").
    void clickEntry(const char *key)
    {
        QOVASubTabCell *cell = entryCell(key);
        ASSERT_TRUE(cell) << "no open menu row " << key;
        click(cell);
    }

    // Types the password into the sign-in page on screen and submits it.
    void signIn(const QString &password)
    {
        ASSERT_TRUE(page() && page()->currentView());
        auto *signInPage = qobject_cast<QOVAAdminSignIn *>(page()->currentView());
        ASSERT_TRUE(signInPage) << "the sign-in page is not on screen";
        QLineEdit *field = nullptr;
        for (QLineEdit *edit : signInPage->passwordTextField()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                field = edit;
        }
        ASSERT_TRUE(field) << "no password field on the sign-in page";
        // The user types into the main window (the offscreen platform hands
        // the activation to every toast it shows).
        mainWindow()->activateWindow();
        ASSERT_TRUE(waitUntil([this] { return QApplication::activeWindow() == mainWindow(); }));
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, password);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // The log written so far (the log writer is flushed first).
    QString logText()
    {
        const QString marker = QStringLiteral("device page marker %1").arg(++m_marker);
        QOVA_LOG(INFO, OTHERS, "%s", qUtf8Printable(marker));
        QString all;
        waitUntil([&] {
            all.clear();
            const QDir dir(m_logDir.path());
            for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
                QFile file(dir.filePath(name));
                if (file.open(QIODevice::ReadOnly))
                    all += QString::fromUtf8(file.readAll());
            }
            return all.contains(marker);
        });
        return all;
    }

    QTemporaryDir m_logDir;
    std::unique_ptr<AppDelegate> m_delegate;
    std::shared_ptr<QuietWorkspace> m_workspace = std::make_shared<QuietWorkspace>();
    int m_marker = 0;
};

} // namespace devicetest
