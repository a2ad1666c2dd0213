// Start-up, page switching and device arrival and removal, with the real
// delegate and device manager on simulated devices.

#include "ShellTestSupport.h"

#include "QOVAIOManager.h"
#include "QOVANotificationCenter.h"
#include "QOVANotificationWindow.h"
#include "QOVAWindow.h"
#include "firmware/ui/QOVAManualUpdateWindow.h"

#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QEvent>
#include <QTimeZone>

#include <optional>

using namespace shelltest;

namespace {

class AppDelegateTest : public ShellFixture {};

} // namespace

TEST_F(AppDelegateTest, LaunchShowsTheEmptyPageUnderAPlainBar)
{
    launch();
    AppDelegate *d = delegate();
    ASSERT_TRUE(d->mainController());
    EXPECT_EQ(d->currentController(), d->mainController());
    EXPECT_EQ(d->mainWindow()->contentPage(), d->mainController()->view());
    EXPECT_EQ(d->mainWindow()->contentView()->size(), QSize(820, 600));
    EXPECT_EQ(d->navigationView()->navigationStyle(), 0);
    EXPECT_EQ(d->navigationView()->parentWidget(), d->mainController()->view());
    EXPECT_EQ(d->navigationView()->geometry(), QRect(0, 0, 820, 56));
    EXPECT_FALSE(d->navigationView()->segmentView()->isVisible());

    QOVAMainViewController *empty = d->mainController();
    EXPECT_EQ(empty->imageView()->imageName(), QStringLiteral("icon_USB"));
    EXPECT_EQ(empty->imageView()->geometry(), QRect(282, 132, 256, 256));
    EXPECT_EQ(empty->titleLabel()->geometry().top(), 132 + 256 + 65);
    EXPECT_EQ(empty->descriptionLabel()->geometry().top(), empty->titleLabel()->geometry().bottom() + 1 + 12);
    EXPECT_NE(empty->titleLabel()->stringValue(), QStringLiteral("STRING_CONNECT_USB_DEVICES"));
    // The daily check is armed; no conferencing client here.
    EXPECT_GE(d->scheduledUpdateDelay(), 300);
    EXPECT_LE(d->scheduledUpdateDelay(), 86400 + 300);
    EXPECT_TRUE(d->runningApp().isEmpty());
    EXPECT_FALSE(d->sfbWindow());
    shot(d->mainWindow(), QStringLiteral("empty_page"));
}

namespace {

// Whether the delegate had launched when a widget of its window was first
// painted.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(AppDelegate *delegate) : m_delegate(delegate) { qApp->installEventFilter(this); }
    ~FirstPaintProbe() override { qApp->removeEventFilter(this); }
    std::optional<bool> launchedAtFirstPaint;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !launchedAtFirstPaint && watched->isWidgetType()
            && m_delegate->mainWindow()->isAncestorOf(static_cast<QWidget *>(watched)))
            launchedAtFirstPaint = m_delegate->hasFinishedLaunching();
        return false;
    }

private:
    AppDelegate *m_delegate;
};

} // namespace

TEST_F(AppDelegateTest, LaunchComesAfterTheWindowsFirstFrame)
{
    AppDelegate *d = delegate();
    d->mainWindow()->hide();
    {
        FirstPaintProbe probe(d);
        d->showMainWindowAndFinishLaunching();
        EXPECT_FALSE(d->hasFinishedLaunching());
        ASSERT_TRUE(waitUntil([d] { return d->hasFinishedLaunching(); }));
        ASSERT_TRUE(probe.launchedAtFirstPaint.has_value());
        EXPECT_FALSE(*probe.launchedAtFirstPaint);
    }
    EXPECT_EQ(d->currentController(), d->mainController());
    EXPECT_GE(d->scheduledUpdateDelay(), 300);
}

TEST_F(AppDelegateTest, LaunchComesWithoutAFrameWhenTheWindowIsNeverDrawn)
{
    // A window taken off the screen before its first frame: the launch
    // still comes, after the fallback time.
    AppDelegate *d = delegate();
    d->mainWindow()->hide();
    spin(20);
    d->showMainWindowAndFinishLaunching();
    d->mainWindow()->hide();
    EXPECT_FALSE(d->hasFinishedLaunching());
    EXPECT_TRUE(waitUntil([d] { return d->hasFinishedLaunching(); }));
}

TEST_F(AppDelegateTest, ArrivalsFillTheListAndTheLastRemovalShowsTheEmptyPage)
{
    launch();
    AppDelegate *d = delegate();
    QOVAFirmwareViewController *firmware = d->firmwareController();
    plug(sim::Family::Orbrin, QStringLiteral("OR100"), sim::Mode::Run, std::make_shared<DeviceAnswers>());
    EXPECT_EQ(d->currentController(), d->deviceListController());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 1);
    EXPECT_TRUE(d->navigationView()->settingItem()->isSelected());
    // The video bar's row comes once it says its set-up is done.
    EXPECT_TRUE(waitUntil([&] { return firmware->rowFor(QStringLiteral("OR100")) != nullptr; }));

    plug(sim::Family::Pirok, QStringLiteral("PK100"));
    EXPECT_TRUE(firmware->rowFor(QStringLiteral("PK100")));
    unplug(QStringLiteral("OR100"));
    EXPECT_EQ(d->currentController(), d->deviceListController());
    EXPECT_FALSE(firmware->rowFor(QStringLiteral("OR100")));
    EXPECT_EQ(firmware->sectionList().size(), 1);
    unplug(QStringLiteral("PK100"));
    EXPECT_EQ(d->currentController(), d->mainController());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 0);
    EXPECT_TRUE(firmware->sectionList().isEmpty());
}

TEST_F(AppDelegateTest, SegmentsSwitchBetweenListAndFirmwarePageOnly)
{
    launch();
    AppDelegate *d = delegate();
    plug(sim::Family::Pirok, QStringLiteral("PK200"));
    d->navigationView()->showNotificationType(1);
    d->switchNavigationView(1);
    EXPECT_EQ(d->currentController(), d->firmwareController());
    EXPECT_TRUE(d->navigationView()->updateItem()->isSelected());
    EXPECT_FALSE(d->navigationView()->updateItem()->tipView()->isVisible());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 1);
    d->switchNavigationView(0);
    EXPECT_EQ(d->currentController(), d->deviceListController());

    // From a device page segment 0 changes nothing.
    d->deviceListController()->didSelectItemAtIndex(0);
    QOVABaseViewController *page = d->currentController();
    ASSERT_EQ(page, d->heldDeviceInfoController());
    d->switchNavigationView(0);
    EXPECT_EQ(d->currentController(), page);
    d->switchNavigationView(7);
    EXPECT_EQ(d->currentController(), page);
}

TEST_F(AppDelegateTest, RemovingTheOpenDeviceReturnsToTheListAndClosesChildWindows)
{
    launch();
    AppDelegate *d = delegate();
    plug(sim::Family::Pirok, QStringLiteral("PK300"));
    plug(sim::Family::Pirok, QStringLiteral("PK301"));
    d->deviceListController()->didSelectItemAtIndex(0);
    ASSERT_EQ(d->currentController(), d->heldDeviceInfoController());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 2);

    QOVAWindow dialog(400, 200);
    dialog.show();
    ASSERT_TRUE(dialog.isVisible());

    // Another device leaving: the page stays, but child windows close.
    plug(sim::Family::Pirok, QStringLiteral("PK302"));
    EXPECT_TRUE(d->navigationView()->settingItem()->tipView()->isVisible());
    unplug(QStringLiteral("PK302"));
    EXPECT_EQ(d->currentController(), d->heldDeviceInfoController());
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    unplug(QStringLiteral("PK300"));
    EXPECT_EQ(d->currentController(), d->deviceListController());
    EXPECT_FALSE(d->heldDeviceInfoController());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 1);
}

TEST_F(AppDelegateTest, RemovingTheLastDeviceWithItsPageOpenShowsTheEmptyPage)
{
    launch();
    AppDelegate *d = delegate();
    plug(sim::Family::Pirok, QStringLiteral("PK400"));
    d->deviceListController()->didSelectItemAtIndex(0);
    ASSERT_EQ(d->currentController(), d->heldDeviceInfoController());
    unplug(QStringLiteral("PK400"));
    EXPECT_EQ(d->currentController(), d->mainController());
    EXPECT_EQ(d->navigationView()->navigationStyle(), 0);
}

TEST_F(AppDelegateTest, RemovalsAreIgnoredWhileALocalUpdateWindowIsOpen)
{
    launch();
    AppDelegate *d = delegate();
    plug(sim::Family::Pirok, QStringLiteral("PK500"));
    d->deviceListController()->didSelectItemAtIndex(0);
    QOVABaseViewController *page = d->currentController();
    QOVAManualUpdateWindow flashing(QSizeF(420, 220), QString(), QString(), QString());
    flashing.show();
    bus()->unplug(QStringLiteral("PK500"));
    EXPECT_TRUE(waitUntil([] { return QOVAIOManager::usbManagerShared()->deviceMutableArray().isEmpty(); }));
    spin(50);
    EXPECT_EQ(listed(), 1);
    EXPECT_EQ(d->currentController(), page);
    EXPECT_TRUE(flashing.isVisible());
    flashing.close();
}

TEST_F(AppDelegateTest, DailyCheckDelayFollowsTheRandomHour)
{
    const QDateTime now(QDate(2024, 3, 2), QTime(14, 3, 20), QTimeZone::utc());
    const struct {
        int hour;
        double delay;
    } cases[] = {
        {14, 86400},          // now: moved to tomorrow
        {15, 3600},
        {13, 86400 - 3600},   // already past today
        {0, 86400 - 14 * 3600},
        {23, 9 * 3600},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(AppDelegate::getCheckUpdateDelay(now, c.hour), c.delay) << c.hour;
    for (int i = 0; i < 200; ++i) {
        const int n = AppDelegate::getRandomNumber(0, 23);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 23);
    }
}

TEST_F(AppDelegateTest, DailyCheckPostsItsNotificationAndArmsAgain)
{
    int posted = 0;
    auto id = QOVANotificationCenter::defaultCenter().addObserver(
        QStringLiteral("QOVADeviceAutoCheckUpdate"), nullptr,
        [&](const QOVANotification &n) {
            EXPECT_FALSE(n.userInfo.has_value());
            ++posted;
        });
    delegate()->autoCheckUpdate();
    EXPECT_EQ(posted, 1);
    EXPECT_GE(delegate()->scheduledUpdateDelay(), 300);
    QOVANotificationCenter::defaultCenter().removeObserver(id);
}

TEST_F(AppDelegateTest, LogCollectorArguments)
{
    EXPECT_TRUE(AppDelegate::logCollectorArguments(false, true, 3).isEmpty());
    EXPECT_EQ(AppDelegate::logCollectorArguments(true, false, 3),
              (QStringList{"-manually-launch", "YES", "-capture-window-id", "0"}));
    EXPECT_EQ(AppDelegate::logCollectorArguments(true, true, 3),
              (QStringList{"-manually-launch", "YES", "-capture-window-id", "3"}));
}

namespace {

// The toasts on screen: success flag and text.
QList<std::pair<bool, QString>> shownToasts()
{
    QList<std::pair<bool, QString>> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *toast = qobject_cast<QOVANotificationWindow *>(w);
        if (toast && toast->isVisible())
            out.append({toast->notificationType() == 0, toast->contentString()});
    }
    return out;
}

void dropToasts()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QOVANotificationWindow *>(w))
            w->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST_F(AppDelegateTest, LogCollectorStartsBesideTheProgramOrIsSkipped)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    const QString program = dir.filePath(QStringLiteral("LogCollector"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$#:$*\" > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(out).toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    AppDelegate::setLogCollectorPath(program);
    delegate()->onLaunchLogCollector();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(out); }));
    QFile result(out);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_TRUE(result.readAll().startsWith("4:-manually-launch YES -capture-window-id "));
    // The user who chose Send Logs is told that it opened.
    EXPECT_EQ(shownToasts(), (QList<std::pair<bool, QString>>{{true, qtTrId("STRING_LOG_COLLECTOR_STARTED")}}));
    dropToasts();

    // Missing: the application carries on; at start only the log says so,
    // from the menu the user is told.
    AppDelegate::setLogCollectorPath(dir.filePath(QStringLiteral("missing/LogCollector")));
    delegate()->launchLogCollector(false, false);
    EXPECT_TRUE(shownToasts().isEmpty());
    delegate()->onLaunchLogCollector();
    const QList<std::pair<bool, QString>> missing = shownToasts();
    ASSERT_EQ(missing.size(), 1);
    EXPECT_FALSE(missing.first().first);
    EXPECT_EQ(missing.first().second, qtTrId("STRING_LOG_COLLECTOR_MISSING"));
    EXPECT_NE(missing.first().second, QStringLiteral("STRING_LOG_COLLECTOR_MISSING"));
    shot(delegate()->mainWindow(), QStringLiteral("send_logs_missing"));
    dropToasts();
    AppDelegate::setLogCollectorPath(QString());
    EXPECT_EQ(AppDelegate::logCollectorPath().section(QLatin1Char('/'), -1), QStringLiteral("LogCollector"));
}

TEST_F(AppDelegateTest, ReopenBringsAHiddenMainWindowBack)
{
    delegate()->mainWindow()->hide();
    EXPECT_TRUE(delegate()->applicationShouldHandleReopen(false));
    EXPECT_TRUE(delegate()->mainWindow()->isVisible());
    EXPECT_TRUE(delegate()->applicationShouldHandleReopen(true));
}
