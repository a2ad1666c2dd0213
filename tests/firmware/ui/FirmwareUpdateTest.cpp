// Updates through the firmware page, as a user clicks them, against the
// simulated devices and the local HTTPS update server.
#include "FirmwarePageSupport.h"

#include "QOVAAFSessionSingleton.h"
#include "QOVAButton.h"
#include "QOVADownloader.h"
#include "QOVAIOManager.h"
#include "QOVALabel.h"
#include "QOVAMainWindow.h"
#include "QOVANotificationCenter.h"
#include "QOVANotificationWindow.h"
#include "QOVASecureTextView.h"
#include "firmware/ui/QOVAFirmwareListHeader.h"
#include "firmware/ui/QOVAFirmwareStatusView.h"
#include "firmware/ui/QOVAManualUpdateWindow.h"
#include "firmware/ui/QOVAOpenPanel.h"
#include "firmware/ui/QOVAUpgradeFailedTipView.h"
#include "sim/SimDevice.h"
#include "support/DfuFileMaker.h"
#include "support/SilentHttpsServer.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QSettings>
#include <QLineEdit>
#include <QSslConfiguration>
#include <QTest>

using namespace fwtest;

namespace {

class FirmwareUpdate : public FirmwarePageFixture {};

qint64 deviceListStatus(AppDelegate *d, const QString &serial)
{
    for (const auto &item : d->deviceListController()->getDeviceList()) {
        if (item->serialNumber == serial)
            return item->status;
    }
    return -1;
}

QOVANotificationWindow *toast(AppDelegate *d)
{
    for (QWidget *w : d->mainWindow()->childWindows()) {
        if (auto *t = qobject_cast<QOVANotificationWindow *>(w))
            return t;
    }
    return nullptr;
}

QLineEdit *visibleField(QOVAUpgradeSignInWindow *window)
{
    for (QLineEdit *field : window->passwordTextField()->findChildren<QLineEdit *>()) {
        if (field->isVisible())
            return field;
    }
    return nullptr;
}

// Replaces the password as a user types it.
void type(QOVAUpgradeSignInWindow *window, const QString &text)
{
    QLineEdit *field = visibleField(window);
    ASSERT_TRUE(field);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace

// Each family: offered, downloaded, flashed, and back with the version its
// package carried, on the page and on the device list.
TEST_F(FirmwareUpdate, EveryFamilyUpdatesToTheOfferedVersion)
{
    if (m_skip)
        return;
    offer(2, QStringLiteral("1.1.6"));
    offer(4, QStringLiteral("1.3.2-7"));
    offer(1, QStringLiteral("12.0.4"));
    const struct { sim::Family family; QString serial; QString version; } devices[] = {
        {sim::Family::Orbrin, QStringLiteral("OR1"), QStringLiteral("1.1.6")},
        {sim::Family::Vasko, QStringLiteral("VS2"), QStringLiteral("1.3.2-7")},
        {sim::Family::Pirok, QStringLiteral("PK3"), QStringLiteral("12.0.4")},
    };
    for (const auto &d : devices)
        plugRow(d.family, d.serial);
    openPage();
    for (const auto &d : devices) {
        const QOVAFirmwareModelRef r = row(d.serial);
        ASSERT_TRUE(waitState(r, 1)) << qPrintable(d.serial);
        EXPECT_EQ(r->targetVersion, d.version);
    }
    shot(delegate()->mainWindow(), QStringLiteral("firmware_offered"));
    for (const auto &d : devices)
        click(cell(row(d.serial))->updateButton());
    for (const auto &d : devices) {
        const QOVAFirmwareModelRef r = row(d.serial);
        ASSERT_TRUE(waitState(r, 7)) << qPrintable(d.serial) << " state " << r->upgradeState << " "
                                     << (r->updateError ? qPrintable(r->updateError->localizedDescription()) : "");
        EXPECT_EQ(r->version, d.version);
        EXPECT_EQ(bus()->device(d.serial)->firmwareVersion(), d.version);
        EXPECT_TRUE(waitUntil([&] { return deviceListStatus(delegate(), d.serial) == 0; }));
        EXPECT_TRUE(cell(r)->statusView()->isVisible());
        EXPECT_TRUE(cell(r)->versionLabel()->stringValue().endsWith(d.version));
    }
    // The device list shows the version the devices report now.
    for (const auto &item : delegate()->deviceListController()->getDeviceList())
        EXPECT_FALSE(item->deviceVersion.isEmpty());
    shot(delegate()->mainWindow(), QStringLiteral("firmware_installed"));
}

// Update All over a section: rows in 1, 2 and 8 start, one transfer serves
// every row of the package, and each is flashed.
TEST_F(FirmwareUpdate, UpdateAllSharesOneDownloadAndFlashesEveryWaitingRow)
{
    if (m_skip)
        return;
    const QString path = offer(1, QStringLiteral("12.0.4"));
    plugRow(sim::Family::Pirok, QStringLiteral("PKA"));
    plugRow(sim::Family::Pirok, QStringLiteral("PKB"));
    plugRow(sim::Family::Pirok, QStringLiteral("PKC"));
    plugRow(sim::Family::Pirok, QStringLiteral("PKD"));
    openPage();
    for (const char *s : {"PKA", "PKB", "PKC", "PKD"})
        ASSERT_TRUE(waitState(row(QLatin1String(s)), 1));
    row(QStringLiteral("PKB"))->upgradeState = 2;
    row(QStringLiteral("PKC"))->upgradeState = 8;
    row(QStringLiteral("PKD"))->upgradeState = 7;   // installed: left alone
    page()->reloadTableView();
    QOVAFirmwareListHeader *header = page()->headerForSection(0);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->titleLabel()->stringValue(), QStringLiteral("KRD mini(4)"));
    click(header->updateButton());
    EXPECT_TRUE(header->updateButton()->disabled());
    for (const char *s : {"PKA", "PKB", "PKC"})
        EXPECT_EQ(row(QLatin1String(s))->upgradeState, 4) << s;
    EXPECT_EQ(row(QStringLiteral("PKD"))->upgradeState, 7);
    for (const char *s : {"PKA", "PKB", "PKC"}) {
        ASSERT_TRUE(waitState(row(QLatin1String(s)), 7)) << s;
        EXPECT_EQ(bus()->device(QLatin1String(s))->firmwareVersion(), QStringLiteral("12.0.4"));
    }
    EXPECT_TRUE(waitUntil([&] { return !m_server.requestsFor(path).empty(); }));
    spin(50);
    EXPECT_EQ(m_server.requestsFor(path).size(), 1u);
}

TEST_F(FirmwareUpdate, SignInGatesTheUpdateOfADeviceWithAPassword)
{
    if (m_skip)
        return;
    offer(4, QStringLiteral("1.3.2-7"));
    plugRow(sim::Family::Vasko, QStringLiteral("VS5"));
    catalogueOf(QStringLiteral("VS5"))->setAdminPassword(QStringLiteral("s3cret"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("VS5"));
    ASSERT_TRUE(waitState(r, 1));

    // Cancel: nothing is updated.
    click(cell(r)->updateButton());
    ASSERT_TRUE(waitUntil([&] { return page()->signInWindow() && page()->signInWindow()->isVisible(); }));
    QOVAUpgradeSignInWindow *window = page()->signInWindow();
    EXPECT_TRUE(window->signInButton()->disabled());   // empty password
    QTest::keyClick(visibleField(window), Qt::Key_Return);
    click(window->cancelButton());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(r->upgradeState, 1);

    // Wrong, then right (Return).
    click(cell(r)->updateButton());
    ASSERT_TRUE(waitUntil([&] { return page()->signInWindow() && page()->signInWindow()->isVisible(); }));
    window = page()->signInWindow();
    EXPECT_NE(window->tipLabel()->stringValue().indexOf(QStringLiteral("Skarnfel Tolm USB")), -1);
    type(window, QStringLiteral("wrong"));
    EXPECT_FALSE(window->signInButton()->disabled());
    click(window->signInButton());
    ASSERT_TRUE(waitUntil([&] { return !window->notificationLabel()->stringValue().isEmpty(); }));
    EXPECT_EQ(window->notificationLabel()->stringValue(), qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(r->upgradeState, 1);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_signin_failed"));
    type(window, QStringLiteral("s3cret"));
    QTest::keyClick(visibleField(window), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    ASSERT_TRUE(waitState(r, 7));
}

// Cancel returns a downloading row to 1 (2 in DFU mode) and the finished
// transfer flashes nothing; a failed download gives 1; a failed flashing 8.
TEST_F(FirmwareUpdate, CancelDownloadFailureAndFlashFailure)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"), QStringLiteral("/slow"), package(sim::Family::Pirok, QStringLiteral("12.0.4"), 1024 * 1024));
    plugRow(sim::Family::Pirok, QStringLiteral("PK10"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK11"), sim::Mode::Dfu);
    openPage();
    const QOVAFirmwareModelRef run = row(QStringLiteral("PK10"));
    const QOVAFirmwareModelRef dfu = row(QStringLiteral("PK11"));
    ASSERT_TRUE(waitState(run, 1));
    ASSERT_TRUE(waitState(dfu, 1));
    click(cell(run)->updateButton());
    click(cell(dfu)->updateButton());
    ASSERT_EQ(run->upgradeState, 4);
    EXPECT_TRUE(cell(run)->cancelButton()->isVisible());
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("PK10")), 2);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_downloading"));
    click(cell(run)->cancelButton());
    click(cell(dfu)->cancelButton());
    EXPECT_EQ(run->upgradeState, 1);
    EXPECT_EQ(dfu->upgradeState, 2);
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("PK10")), 0);
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("PK11")), 1);
    spin(300);
    EXPECT_EQ(run->upgradeState, 1);
    EXPECT_TRUE(dfuOf(QStringLiteral("PK10"))->config().versionAfterUpdate.isEmpty());
    EXPECT_EQ(bus()->device(QStringLiteral("PK10"))->firmwareVersion(), QStringLiteral("12.0.3"));

    // Download failure: the package is gone from the server.
    offer(1, QStringLiteral("12.0.5"), QStringLiteral("/status/500"));
    click(page()->headerForSection(0)->refreshButton());
    ASSERT_TRUE(waitUntil([&] { return run->targetVersion == QLatin1String("12.0.5"); }));
    click(cell(run)->updateButton());
    ASSERT_TRUE(waitState(run, 8));
    EXPECT_EQ(cell(run)->failedView()->textLabel()->stringValue(), qtTrId("STRING_DOWNLOAD_FAILED"));
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("PK10")), 0);

    // Flashing failure: the device refuses the image at manifestation.
    offer(1, QStringLiteral("12.0.6"));
    click(page()->headerForSection(0)->refreshButton());
    ASSERT_TRUE(waitUntil([&] { return run->targetVersion == QLatin1String("12.0.6"); }));
    auto config = dfuOf(QStringLiteral("PK10"))->config();
    config.errFirmware = true;
    dfuOf(QStringLiteral("PK10"))->setConfig(config);
    click(cell(run)->updateButton());
    ASSERT_TRUE(waitState(run, 8));
    EXPECT_TRUE(run->updateError.has_value());
    EXPECT_TRUE(cell(run)->failedView()->isVisible());
    EXPECT_TRUE(cell(run)->updateButton()->isVisible());
    EXPECT_FALSE(cell(run)->updateButton()->disabled());
    shot(delegate()->mainWindow(), QStringLiteral("firmware_failed"));
}

// Two rows wait on one download; the one whose device leaves drops out and
// the other still gets the package and is flashed.
TEST_F(FirmwareUpdate, ARowLeavingASharedDownloadLeavesItToTheOtherRow)
{
    if (m_skip)
        return;
    const QString path = offer(1, QStringLiteral("12.0.4"), QStringLiteral("/slow"),
                               package(sim::Family::Pirok, QStringLiteral("12.0.4"), 400 * 1024));
    plugRow(sim::Family::Pirok, QStringLiteral("PK50"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK51"));
    openPage();
    const QOVAFirmwareModelRef leaving = row(QStringLiteral("PK50"));
    const QOVAFirmwareModelRef staying = row(QStringLiteral("PK51"));
    ASSERT_TRUE(waitState(leaving, 1));
    ASSERT_TRUE(waitState(staying, 1));
    click(cell(leaving)->updateButton());
    click(cell(staying)->updateButton());
    ASSERT_EQ(staying->upgradeState, 4);
    bus()->unplug(QStringLiteral("PK50"));
    ASSERT_TRUE(waitUntil([&] { return !row(QStringLiteral("PK50")); }));
    EXPECT_EQ(staying->upgradeState, 4);
    ASSERT_TRUE(waitState(staying, 7));
    EXPECT_EQ(bus()->device(QStringLiteral("PK51"))->firmwareVersion(), QStringLiteral("12.0.4"));
    // One transfer for both rows (the path is served throttled under /slow).
    const QString slowPath = QString(path).replace(QStringLiteral("/files/"), QStringLiteral("/slow/"));
    EXPECT_EQ(m_server.requestsFor(slowPath).size(), 1u);
}

// A device that left while its package downloaded (its removal ignored under
// an open local-update window) fails at once with the disconnect toast.
TEST_F(FirmwareUpdate, FlashingADeviceThatIsGoneFailsWithTheDisconnectToast)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"), QStringLiteral("/slow"), package(sim::Family::Pirok, QStringLiteral("12.0.4"), 1024 * 1024));
    plugRow(sim::Family::Pirok, QStringLiteral("PK20"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK20"));
    ASSERT_TRUE(waitState(r, 1));
    click(cell(r)->updateButton());
    ASSERT_EQ(r->upgradeState, 4);
    auto *holder = new QOVAManualUpdateWindow(QSizeF(420, 220), QString(), QString(), QString());
    holder->show();
    bus()->unplug(QStringLiteral("PK20"));
    EXPECT_TRUE(waitUntil([] { return QOVAIOManager::usbManagerShared()->deviceMutableArray().isEmpty(); }));
    spin(50);
    EXPECT_TRUE(row(QStringLiteral("PK20")));
    holder->clickCancelButton();
    ASSERT_TRUE(waitState(r, 8));
    EXPECT_EQ(r->updateError->code(), 2);
    EXPECT_TRUE(waitUntil([&] { return toast(delegate()) != nullptr; }));
    EXPECT_EQ(toast(delegate())->contentString(), qtTrId("NOTIFICATION_DEVICE_DISCONNECTED"));
}

TEST_F(FirmwareUpdate, RemoteControlUpgradeSucceedsFailsOrFindsTheRemoteAsleep)
{
    if (m_skip)
        return;
    offer(3, QStringLiteral("1.0.1"), QStringLiteral("/slow"), package(sim::Family::Orbrin, QStringLiteral("1.0.1"), 600 * 1024));
    pairRemoteAtPlug(QStringLiteral("OR30"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR30"));
    auto catalogue = catalogueOf(QStringLiteral("OR30"));
    ASSERT_TRUE(waitUntil([&] { return row(QStringLiteral("OR30"), 3) != nullptr; }));
    openPage();
    const QOVAFirmwareModelRef remote = row(QStringLiteral("OR30"), 3);
    const QOVAFirmwareModelRef bar = row(QStringLiteral("OR30"), 2);
    EXPECT_EQ(remote->relativeDeviceModel, bar);
    EXPECT_EQ(bar->remoteControl.lock(), remote);
    ASSERT_TRUE(waitState(remote, 1));
    EXPECT_FALSE(cell(remote)->localUpdateButton()->isVisible());
    EXPECT_EQ(page()->headerForSection(0)->titleLabel()->stringValue(), QStringLiteral("Zentaro Halvex"));

    // The device-information request fails while the package downloads:
    // the row is offered again and the video bar is no longer updating.
    click(cell(remote)->updateButton());
    ASSERT_TRUE(waitState(remote, 4));
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("OR30")), 2);
    sim::SimFaults faults;
    faults.statusCode = 500;
    faults.statusString = QStringLiteral("busy");
    bus()->device(QStringLiteral("OR30"))->setFaults(faults);
    ASSERT_TRUE(waitState(remote, 1));
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("OR30")), 0);
    bus()->device(QStringLiteral("OR30"))->clearFaults();

    // Asleep at upgrade time.
    catalogue->setRemoteActive(false);
    click(cell(remote)->updateButton());
    ASSERT_TRUE(waitUntil([&] { return !remote->active; }));
    EXPECT_EQ(remote->upgradeState, 1);
    EXPECT_TRUE(cell(remote)->updateButton()->disabled());
    EXPECT_TRUE(cell(remote)->failedView()->isVisible());
    EXPECT_EQ(catalogue->remoteVersion(), QStringLiteral("1.0.0"));

    // Awake again: the upgrade goes through message 33.
    catalogue->setRemoteActive(true);
    QOVANotificationCenter::defaultCenter().postNotificationName(
        QStringLiteral("QOVARemoteControlActive"), nullptr, QVariantMap{{"productSeriaNumber", "OR30"}});
    ASSERT_FALSE(cell(remote)->updateButton()->disabled());
    click(cell(remote)->updateButton());
    ASSERT_TRUE(waitState(remote, 7));
    EXPECT_EQ(remote->version, QStringLiteral("1.0.1"));
    EXPECT_EQ(catalogue->remoteVersion(), QStringLiteral("1.0.1"));
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("OR30")), 0);

    // The device refuses the next one.
    offer(3, QStringLiteral("1.0.2"));
    click(page()->headerForSection(0)->refreshButton());
    ASSERT_TRUE(waitState(remote, 1));
    catalogue->setRemoteUpgradeFails(true);
    click(cell(remote)->updateButton());
    ASSERT_TRUE(waitState(remote, 8));
    EXPECT_EQ(remote->version, QStringLiteral("1.0.1"));
    EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("OR30")), 0);
}

// A device left in DFU mode is flashed from a local file; an invalid file
// and a device that left end in the failure layout.
TEST_F(FirmwareUpdate, LocalFileFlashesADeviceLeftInDfuMode)
{
    if (m_skip)
        return;
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.dfu"));
    const QString bad = dir.filePath(QStringLiteral("bad.dfu"));
    testsupport::writeFile(good, package(sim::Family::Orbrin, QStringLiteral("1.1.9")));
    testsupport::writeFile(bad, QByteArray("not firmware at all"));
    QString answer;
    QString filterSeen;
    QOVAOpenPanel::setChooser([&](QWidget *, const QString &filter, QOVAOpenPanel::Completion done) {
        filterSeen = filter;
        done(answer.isEmpty() ? 0 : 1, answer.isEmpty() ? QStringList() : QStringList{answer});
    });
    plugRow(sim::Family::Orbrin, QStringLiteral("OR40"), sim::Mode::Dfu);
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("OR40"));
    ASSERT_TRUE(r->isDFU());

    auto openWindow = [&](const QString &path) -> QOVAManualUpdateWindow * {
        answer = path;
        click(cell(r)->localUpdateButton());
        return manualUpdateWindow();
    };
    // Cancelled dialog: nothing opens.
    EXPECT_EQ(openWindow(QString()), nullptr);
    EXPECT_TRUE(filterSeen.contains(QStringLiteral("*.dfu")));

    QOVAManualUpdateWindow *window = openWindow(bad);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->updateTitleLabel()->stringValue(), qtTrId("STRING_LOCAL_UPDATE"));
    EXPECT_FALSE(window->currentTitleLabel()->isVisible());
    shot(delegate()->mainWindow(), QStringLiteral("local_update_confirm"));
    click(window->updateButton());
    ASSERT_TRUE(waitUntil([&] { return window->stage() == QOVAManualUpdateWindow::Stage::Failed; }));
    EXPECT_EQ(window->resultLabel()->stringValue(), qtTrId("STRING_UPDATE_FAILED"));
    shot(delegate()->mainWindow(), QStringLiteral("local_update_failed"));
    click(window->closeButton());
    EXPECT_EQ(delegate()->currentController(), delegate()->deviceListController());

    openPage();
    window = openWindow(good);
    ASSERT_TRUE(window);
    click(window->updateButton());
    ASSERT_TRUE(waitUntil([&] { return window->stage() == QOVAManualUpdateWindow::Stage::Succeeded; }, 20000));
    // The version the device reports now.
    EXPECT_EQ(window->currentValueLabel()->stringValue(), QStringLiteral("1.1.9"));
    shot(delegate()->mainWindow(), QStringLiteral("local_update_done"));
    EXPECT_EQ(bus()->device(QStringLiteral("OR40"))->firmwareVersion(), QStringLiteral("1.1.9"));
    // Closing the success leaves the user on the firmware page.
    click(window->closeButton());
    EXPECT_EQ(delegate()->currentController(), page());

    // A device that is gone: the failure layout, not a wait without end.
    openPage();
    window = openWindow(good);
    ASSERT_TRUE(window);
    bus()->unplug(QStringLiteral("OR40"));
    EXPECT_TRUE(waitUntil([] { return QOVAIOManager::usbManagerShared()->deviceMutableArray().isEmpty(); }));
    click(window->updateButton());
    ASSERT_TRUE(waitUntil([&] { return window->stage() == QOVAManualUpdateWindow::Stage::Failed; }));
    click(window->closeButton());
    QOVAOpenPanel::setChooser(nullptr);
}

// A check that fails (here: a server whose certificate is not trusted) never
// shows "Up to date", neither for a device in run mode nor for one left in
// DFU mode: the row says that the check failed, and "Check again" asks the
// server again.
TEST_F(FirmwareUpdate, AFailedCheckSaysSoAndCanBeAskedAgain)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"));
    offer(2, QStringLiteral("1.1.6"));
    QOVAAFSessionSingleton::setSslConfiguration(QSslConfiguration::defaultConfiguration());
    plugRow(sim::Family::Pirok, QStringLiteral("PK60"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR61"), sim::Mode::Dfu);
    openPage();
    for (const char *serial : {"PK60", "OR61"}) {
        const QOVAFirmwareModelRef r = row(QLatin1String(serial));
        ASSERT_TRUE(waitUntil([&] { return cell(r)->failedView()->isVisible(); })) << serial;
        EXPECT_FALSE(cell(r)->statusView()->isVisible()) << serial;
        EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_CHECK_FAILED")) << serial;
        EXPECT_TRUE(cell(r)->updateButton()->isVisible()) << serial;
        EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_CHECK_AGAIN")) << serial;
        EXPECT_FALSE(r->hasNewVersion) << serial;
    }
    // Update All offers nothing to a row whose check failed.
    EXPECT_TRUE(page()->sectionList().at(0)->updateDisabled);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_check_failed"));

    // Still not trusted: asking again fails again, and says so.
    const QOVAFirmwareModelRef camera = row(QStringLiteral("PK60"));
    click(cell(camera)->updateButton());
    EXPECT_TRUE(cell(camera)->updateButton()->disabled());
    EXPECT_EQ(cell(camera)->updateButton()->textString(), qtTrId("STRING_CHECKING"));
    ASSERT_TRUE(waitUntil([&] { return !cell(camera)->updateButton()->disabled(); }));
    EXPECT_EQ(camera->upgradeState, 3);
    EXPECT_EQ(cell(camera)->updateButton()->textString(), qtTrId("STRING_CHECK_AGAIN"));

    // Trusted: "Check again" finds the offers.
    QOVAAFSessionSingleton::setSslConfiguration(m_server.sslConfiguration());
    for (const char *serial : {"PK60", "OR61"}) {
        const QOVAFirmwareModelRef r = row(QLatin1String(serial));
        click(cell(r)->updateButton());
        ASSERT_TRUE(waitState(r, 1)) << serial;
        EXPECT_FALSE(cell(r)->failedView()->isVisible()) << serial;
        EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_UPDATE")) << serial;
    }
    EXPECT_EQ(row(QStringLiteral("PK60"))->targetVersion, QStringLiteral("12.0.4"));
    EXPECT_EQ(row(QStringLiteral("OR61"))->targetVersion, QStringLiteral("1.1.6"));
}

// A download that fails says so on every row that waited for the package,
// and Update tries again: a package that does not match the MD5 digest of the
// check (deleted), a body cut short by the server, and a server that goes
// away in the middle.
TEST_F(FirmwareUpdate, AFailedDownloadSaysSoOnEveryWaitingRowAndUpdateTriesAgain)
{
    if (m_skip)
        return;
    const QByteArray good = package(sim::Family::Pirok, QStringLiteral("12.0.4"), 1024 * 1024);
    const QString path = offer(1, QStringLiteral("12.0.4"), QStringLiteral("/slow"), good);
    const QString onServer = path.mid(QStringLiteral("/files/").size());
    const QString destination = QOVADownloader::downloadFolder() + QLatin1Char('/') + QFileInfo(path).fileName();
    plugRow(sim::Family::Pirok, QStringLiteral("PK70"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK71"));
    openPage();
    const QList<QOVAFirmwareModelRef> rows{row(QStringLiteral("PK70")), row(QStringLiteral("PK71"))};
    for (const QOVAFirmwareModelRef &r : rows)
        ASSERT_TRUE(waitState(r, 1));

    enum class Fault { Md5Mismatch, CutShort, ServerGone };
    const struct {
        const char *name;
        Fault fault;
    } cases[] = {
        {"md5 mismatch", Fault::Md5Mismatch},
        {"body cut short", Fault::CutShort},
        {"server gone", Fault::ServerGone},
    };
    for (const auto &c : cases) {
        QByteArray served = good;
        if (c.fault == Fault::Md5Mismatch)
            served[4096] = char(served[4096] ^ 1);
        ASSERT_TRUE(m_server.put(onServer, served));
        for (const QOVAFirmwareModelRef &r : rows)
            click(cell(r)->updateButton());
        // After a package that did not match its digest the server is
        // asked again first; its offer starts the download.
        for (const QOVAFirmwareModelRef &r : rows)
            ASSERT_TRUE(waitState(r, 4)) << c.name;
        if (c.fault != Fault::Md5Mismatch) {
            // Part of the package has arrived (the first 256 KiB come fast).
            ASSERT_TRUE(waitUntil([&] { return rows[0]->progress > 0.1 || rows[0]->upgradeState != 4; }))
                << c.name;
            if (c.fault == Fault::CutShort) {
                ASSERT_TRUE(m_server.put(onServer, QByteArray()));  // shorter than announced
            } else {
                m_server.kill();
            }
        }
        for (const QOVAFirmwareModelRef &r : rows) {
            ASSERT_TRUE(waitUntil([&] { return r->upgradeState != 4; }, 20000)) << c.name;
            EXPECT_EQ(r->upgradeState, 8) << c.name;
            EXPECT_TRUE(cell(r)->failedView()->isVisible()) << c.name;
            EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_DOWNLOAD_FAILED")) << c.name;
            EXPECT_TRUE(cell(r)->updateButton()->isVisible()) << c.name;
            EXPECT_FALSE(cell(r)->updateButton()->disabled()) << c.name;
            EXPECT_EQ(deviceListStatus(delegate(), r->serialNumber), 0) << c.name;
        }
        if (c.fault == Fault::Md5Mismatch) {
            EXPECT_FALSE(QFileInfo::exists(destination));
            shot(delegate()->mainWindow(), QStringLiteral("firmware_download_failed"));
        }
        if (c.fault == Fault::ServerGone) {
            ASSERT_TRUE(m_server.restart()) << qPrintable(m_server.why());
        }
    }

    // The package whole again: Update installs it on both.
    ASSERT_TRUE(m_server.put(onServer, good));
    for (const QOVAFirmwareModelRef &r : rows)
        click(cell(r)->updateButton());
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitState(r, 7)) << qPrintable(r->serialNumber);
        EXPECT_FALSE(cell(r)->failedView()->isVisible());
    }
}

// A downloaded package that fails its check is deleted: the next Update
// downloads it again instead of flashing the same bad file once more.
TEST_F(FirmwareUpdate, APackageThatFailsItsCheckIsDeletedAndDownloadedAgain)
{
    if (m_skip)
        return;
    QByteArray bad = package(sim::Family::Pirok, QStringLiteral("12.0.4"));
    bad[100] = char(bad[100] ^ 1);  // the suffix's CRC no longer fits; the check's MD5 does
    const QString path = offer(1, QStringLiteral("12.0.4"), QStringLiteral("/files"), bad);
    const QString destination = QOVADownloader::downloadFolder() + QLatin1Char('/') + QFileInfo(path).fileName();
    plugRow(sim::Family::Pirok, QStringLiteral("PK80"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK80"));
    ASSERT_TRUE(waitState(r, 1));
    for (size_t attempt = 1; attempt <= 2; ++attempt) {
        click(cell(r)->updateButton());
        ASSERT_TRUE(waitState(r, 8)) << attempt;
        EXPECT_TRUE(cell(r)->failedView()->isVisible()) << attempt;
        EXPECT_FALSE(QFileInfo::exists(destination)) << attempt;
        // Its bookkeeping went with it.
        EXPECT_FALSE(QSettings().contains(QOVADownloader::sizeKey(m_server.url(path)))) << attempt;
        EXPECT_FALSE(QSettings().contains(QOVADownloader::versionKey(m_server.url(path)))) << attempt;
        EXPECT_EQ(m_server.requestsFor(path, attempt).size(), attempt);
    }
    EXPECT_EQ(bus()->device(QStringLiteral("PK80"))->firmwareVersion(), QStringLiteral("12.0.3"));
}

// A server that takes the connection and never answers. Every new row, the
// one in DFU mode too, says "Checking…" and never "Up to date" while its
// check waits; with more rows than connections kept per host, every check
// gives up in the end and says "Could not check for updates." with Check
// again. Once the server answers, Check again finds the offer on every row.
TEST_F(FirmwareUpdate, AServerThatNeverAnswersEndsEveryCheckAndCheckAgainWorksOnceItAnswers)
{
    if (m_skip)
        return;
    testsupport::SilentHttpsServer silent;
    ASSERT_TRUE(silent.start(m_server.certificatePath(), m_server.keyPath()));
    offer(1, QStringLiteral("12.0.4"));
    const QByteArray answer = [&] {
        QFile f(m_server.www() + QStringLiteral("/check/kind1.json"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(answer.isEmpty());
    const QString check = QStringLiteral("/check/kind1.json");
    pointCheckAt(1, silent.url(check));
    QList<QOVAFirmwareModelRef> rows;
    for (int i = 0; i < 8; ++i) {
        const QString serial = QStringLiteral("PK%1").arg(100 + i);
        plugRow(sim::Family::Pirok, serial, i == 0 ? sim::Mode::Dfu : sim::Mode::Run);
        if (i == 0)
            openPage();
        const QOVAFirmwareModelRef r = row(serial);
        ASSERT_TRUE(r);
        rows << r;
        EXPECT_FALSE(cell(r)->statusView()->isVisible()) << qPrintable(serial);
        EXPECT_TRUE(cell(r)->updateButton()->isVisible()) << qPrintable(serial);
        EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_CHECKING")) << qPrintable(serial);
        EXPECT_TRUE(cell(r)->updateButton()->disabled()) << qPrintable(serial);
        EXPECT_FALSE(cell(r)->failedView()->isVisible()) << qPrintable(serial);
    }
    shot(delegate()->mainWindow(), QStringLiteral("firmware_checking"));
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitUntil([&] { return !cell(r)->updateButton()->disabled(); }, 20000))
            << qPrintable(r->serialNumber);
        EXPECT_EQ(r->upgradeState, 3) << qPrintable(r->serialNumber);
        EXPECT_FALSE(cell(r)->statusView()->isVisible());
        EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_CHECK_FAILED"));
        EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_CHECK_AGAIN"));
    }
    // The checks that gave up let go of their connections: with more rows
    // than connections per server, the new checks below get through only
    // because none of the unanswered requests holds one any more.
    silent.setReply(check, testsupport::SilentHttpsServer::okReply(answer), true);
    for (const QOVAFirmwareModelRef &r : rows)
        click(cell(r)->updateButton());
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitState(r, 1)) << qPrintable(r->serialNumber);
        EXPECT_EQ(r->targetVersion, QStringLiteral("12.0.4"));
        EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_UPDATE"));
    }
}

// A package download that gets no byte, or stops in the middle, gives up
// after its idle time and says so like any failed download.
TEST_F(FirmwareUpdate, ADownloadThatStallsFailsAsAnyFailedDownload)
{
    if (m_skip)
        return;
    testsupport::SilentHttpsServer silent;
    ASSERT_TRUE(silent.start(m_server.certificatePath(), m_server.keyPath()));
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n";
    const struct {
        const char *name;
        const char *path;
        QByteArray sent;  // null: never answered
    } cases[] = {
        {"never answers", "/never.dfu", QByteArray()},
        {"stops in the middle", "/middle.dfu", head + QByteArray(64 * 1024, 'x')},
    };
    plugRow(sim::Family::Pirok, QStringLiteral("PK120"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK120"));
    for (const auto &c : cases) {
        if (!c.sent.isNull())
            silent.setReply(QLatin1String(c.path), c.sent, false);
        const QString url = silent.url(QLatin1String(c.path));
        answerCheck(1, {{"version", "12.0.4"}, {"URL", url}});
        click(page()->headerForSection(0)->refreshButton());
        ASSERT_TRUE(waitUntil([&] { return r->sourcePath == url && r->upgradeState == 1; })) << c.name;
        click(cell(r)->updateButton());
        ASSERT_TRUE(waitUntil([&] { return r->upgradeState != 4; }, 20000)) << c.name;
        EXPECT_EQ(r->upgradeState, 8) << c.name;
        EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_DOWNLOAD_FAILED")) << c.name;
        EXPECT_FALSE(cell(r)->updateButton()->disabled()) << c.name;
        EXPECT_EQ(deviceListStatus(delegate(), QStringLiteral("PK120")), 0) << c.name;
        EXPECT_TRUE(waitUntil([&] { return silent.openConnections() == 0; }, 20000)) << c.name;
    }
}

// The server replaced its package and digest after the check: the download
// fails its digest, and the next Update asks the server again and installs
// the package it names now.
TEST_F(FirmwareUpdate, AfterADigestMismatchUpdateAsksTheServerAgain)
{
    if (m_skip)
        return;
    const QString path = offer(1, QStringLiteral("12.0.4"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK125"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK125"));
    ASSERT_TRUE(waitState(r, 1));
    const QString check = QStringLiteral("/files/check/kind1.json");
    const size_t asked = m_server.requestsFor(check, 1).size();
    // Same address, another package and its digest.
    offer(1, QStringLiteral("12.0.4"), QStringLiteral("/files"), package(sim::Family::Pirok, QStringLiteral("12.0.4"), 32 * 1024));
    click(cell(r)->updateButton());
    ASSERT_TRUE(waitState(r, 8));
    EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_DOWNLOAD_FAILED"));
    click(cell(r)->updateButton());
    ASSERT_TRUE(waitState(r, 7)) << r->upgradeState;
    EXPECT_EQ(bus()->device(QStringLiteral("PK125"))->firmwareVersion(), QStringLiteral("12.0.4"));
    EXPECT_EQ(m_server.requestsFor(check, asked + 1).size(), asked + 1);
    EXPECT_EQ(m_server.requestsFor(path, 2).size(), 2u);
}

// A row's offer follows the version its device reports: a local file that
// installs the offered version leaves the row up to date (and closing the
// success leaves the user on the firmware page), and a remote control whose
// version passed the offer is no longer offered it.
TEST_F(FirmwareUpdate, AnOfferFollowsTheVersionTheDeviceReports)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"));
    offer(3, QStringLiteral("1.0.1"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("offered.dfu"));
    testsupport::writeFile(file, package(sim::Family::Pirok, QStringLiteral("12.0.4")));
    QOVAOpenPanel::setChooser([&](QWidget *, const QString &, QOVAOpenPanel::Completion done) {
        done(1, QStringList{file});
    });
    plugRow(sim::Family::Pirok, QStringLiteral("PK130"));
    pairRemoteAtPlug(QStringLiteral("OR131"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR131"));
    openPage();
    const QOVAFirmwareModelRef camera = row(QStringLiteral("PK130"));
    ASSERT_TRUE(waitState(camera, 1));

    click(cell(camera)->localUpdateButton());
    QOVAManualUpdateWindow *window = manualUpdateWindow();
    ASSERT_TRUE(window);
    click(window->updateButton());
    ASSERT_TRUE(waitUntil([&] { return window->stage() == QOVAManualUpdateWindow::Stage::Succeeded; }, 20000));
    ASSERT_TRUE(waitUntil([&] { return camera->version == QLatin1String("12.0.4"); }, 20000)) << qPrintable(camera->version);
    EXPECT_EQ(camera->upgradeState, 0);
    EXPECT_FALSE(cell(camera)->updateButton()->isVisible());
    EXPECT_TRUE(cell(camera)->statusView()->isVisible());
    EXPECT_EQ(cell(camera)->versionLabel()->stringValue(), qtTrId("STRING_CURRENT_VERSION") + QStringLiteral(" : 12.0.4"));
    click(window->closeButton());
    EXPECT_EQ(delegate()->currentController(), page());
    QOVAOpenPanel::setChooser(nullptr);

    ASSERT_TRUE(waitUntil([&] { return row(QStringLiteral("OR131"), 3) != nullptr; }));
    const QOVAFirmwareModelRef remote = row(QStringLiteral("OR131"), 3);
    ASSERT_TRUE(waitState(remote, 1));
    catalogueOf(QStringLiteral("OR131"))->setDeviceInfoField(QStringLiteral("remote_fw_version"), QStringLiteral("2.0.1"));
    QOVANotificationCenter::defaultCenter().postNotificationName(
        QStringLiteral("QOVARemoteControlPair"), nullptr, QVariantMap{{"productSeriaNumber", "OR131"}});
    ASSERT_TRUE(waitUntil([&] { return remote->version == QLatin1String("2.0.1"); }));
    EXPECT_EQ(remote->upgradeState, 0);
    EXPECT_FALSE(cell(remote)->updateButton()->isVisible());
    EXPECT_EQ(cell(remote)->versionLabel()->stringValue(), qtTrId("STRING_CURRENT_VERSION") + QStringLiteral(" : 2.0.1"));
}

// Two checks of one row overlap: the newer one still waits when the older
// one answers. The row goes on waiting for the newer one ("Checking…",
// disabled) and ends with its outcome, not with the older answer.
TEST_F(FirmwareUpdate, OverlappingChecksOfARowEndWithTheNewest)
{
    if (m_skip)
        return;
    testsupport::SilentHttpsServer silent;
    ASSERT_TRUE(silent.start(m_server.certificatePath(), m_server.keyPath()));
    offer(1, QStringLiteral("12.0.4"));
    QFile offered(m_server.www() + QStringLiteral("/check/kind1.json"));
    ASSERT_TRUE(offered.open(QIODevice::ReadOnly));
    const QByteArray answer = offered.readAll();
    pointCheckAt(1, silent.url(QStringLiteral("/older.json")));
    plugRow(sim::Family::Pirok, QStringLiteral("PK160"));
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK160"));
    ASSERT_TRUE(waitUntil([&] { return silent.requestedPaths().contains(QStringLiteral("/older.json")); }));
    pointCheckAt(1, silent.url(QStringLiteral("/newer.json")));
    click(page()->headerForSection(0)->refreshButton());
    ASSERT_TRUE(waitUntil([&] { return silent.requestedPaths().contains(QStringLiteral("/newer.json")); }));
    silent.setReply(QStringLiteral("/older.json"), testsupport::SilentHttpsServer::okReply(answer), true);
    ASSERT_TRUE(waitUntil([&] { return !cell(r)->updateButton()->disabled(); }, 20000));
    EXPECT_EQ(r->upgradeState, 3);
    EXPECT_EQ(cell(r)->updateButton()->textString(), qtTrId("STRING_CHECK_AGAIN"));
    EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(), qtTrId("STRING_CHECK_FAILED"));
}
