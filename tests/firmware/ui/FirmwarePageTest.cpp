// The page's rows following devices, remote controls and the daily check.
#include "FirmwarePageSupport.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVANotificationCenter.h"
#include "QOVASegmentItem.h"
#include "firmware/ui/QOVAFirmwareListHeader.h"
#include "firmware/ui/QOVAFirmwareStatusView.h"
#include "sim/SimDevice.h"
#include "support/DfuFileMaker.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>


using namespace fwtest;

namespace {

class FirmwarePage : public FirmwarePageFixture {
protected:
    QList<qint64> types() const
    {
        QList<qint64> out;
        for (const auto &r : page()->getDeviceModelList())
            out << r->type;
        return out;
    }
    void post(const char *name, const QVariantMap &info)
    {
        QOVANotificationCenter::defaultCenter().postNotificationName(QLatin1String(name), nullptr, info);
    }
};

QVariantMap arrival(const QString &serial, const QString &pid, const QString &version = QStringLiteral("1.1.5"))
{
    return {{"productSeriaNumber", serial}, {"productID", pid}, {"productName", "Zentaro Halvex"},
            {"productDeviceName", "Room"}, {"productVID", "1d5c"}, {"productVersion", version}};
}

} // namespace

// Sections per family in first-arrival order, with header and separator
// rows; a family's last removal takes its header and one separator.
TEST_F(FirmwarePage, SectionsFollowArrivalsAndRemovals)
{
    if (m_skip)
        return;
    plugRow(sim::Family::Pirok, QStringLiteral("PK1"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR1"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK2"));
    plugRow(sim::Family::Vasko, QStringLiteral("VS1"));
    EXPECT_EQ(types(), (QList<qint64>{5, 1, 1, 6, 5, 2, 6, 5, 4}));
    openPage();
    EXPECT_EQ(page()->headerForSection(0)->titleLabel()->stringValue(), QStringLiteral("KRD mini(2)"));
    EXPECT_EQ(page()->headerForSection(1)->titleLabel()->stringValue(), QStringLiteral("Zentaro Halvex"));
    EXPECT_FALSE(page()->headerForSection(1)->updateButton()->isVisible());
    EXPECT_EQ(row(QStringLiteral("PK1"))->deviceImage, QStringLiteral("KRD mini"));
    EXPECT_EQ(row(QStringLiteral("OR1"))->deviceImage, QStringLiteral("Orbrin"));
    EXPECT_EQ(row(QStringLiteral("VS1"))->deviceImage, QStringLiteral("Vasko"));
    EXPECT_EQ(page()->viewAtRow(3)->height(), 16);
    EXPECT_EQ(page()->viewAtRow(0)->height(), 52);
    EXPECT_EQ(page()->viewAtRow(1)->height(), 110);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_sections"));

    unplug(QStringLiteral("OR1"));
    EXPECT_EQ(types(), (QList<qint64>{5, 1, 1, 6, 5, 4}));
    unplug(QStringLiteral("PK1"));
    unplug(QStringLiteral("PK2"));
    EXPECT_EQ(types(), (QList<qint64>{5, 4}));
    EXPECT_EQ(page()->sectionList().first()->type, 4);
}

// A video bar or network camera waits for its set-up question; a repeated
// arrival during it starts no second question and adds no second row; a
// pending set-up gets no row.
TEST_F(FirmwarePage, SetUpQuestionComesFirstAndOnce)
{
    if (m_skip)
        return;
    page()->initData();
    page()->addObjectWithUserInfo(arrival(QStringLiteral("X1"), QStringLiteral("6e17")));
    page()->addObjectWithUserInfo(arrival(QStringLiteral("X1"), QStringLiteral("6e17")));
    EXPECT_EQ(page()->checkingOOBDevices(), QStringList{QStringLiteral("X1")});
    EXPECT_FALSE(row(QStringLiteral("X1")));
    // No such device answers: the question is asked again until it leaves.
    spin(200);
    EXPECT_FALSE(row(QStringLiteral("X1")));
    page()->removeObjectWithUserInfo({{"productSeriaNumber", "X1"}});
    EXPECT_TRUE(page()->checkingOOBDevices().isEmpty());

    auto device = plugRow(sim::Family::Orbrin, QStringLiteral("OR2"));
    EXPECT_EQ(types(), (QList<qint64>{5, 2}));
    // The wizard's arrival for the same serial refreshes its one row.
    page()->addObjectWithUserInfo(arrival(QStringLiteral("OR2"), QStringLiteral("6e17"), QStringLiteral("9.9.9")));
    EXPECT_EQ(types(), (QList<qint64>{5, 2}));
    EXPECT_EQ(row(QStringLiteral("OR2"))->version, QStringLiteral("9.9.9"));

    // Set-up pending: no row.
    sim::SimDeviceConfig config;
    config.family = sim::Family::Vasko;
    config.serial = QStringLiteral("VS3");
    bus()->plug(config);
    catalogueOf(QStringLiteral("VS3"))->setNeedsOob(true);
    EXPECT_TRUE(waitUntil([&] { return !page()->checkingOOBDevices().contains(QStringLiteral("VS3"))
                                       && listed() == 2; }));
    spin(100);
    EXPECT_FALSE(row(QStringLiteral("VS3")));
}

// initData keeps rows with running updates and registers its observers once.
TEST_F(FirmwarePage, InitDataRegistersOnceAndKeepsRunningUpdates)
{
    if (m_skip)
        return;
    const QString check = QStringLiteral("/files/check/kind1.json");
    offer(1, QStringLiteral("12.0.4"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK5"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK6"));
    ASSERT_TRUE(waitState(row(QStringLiteral("PK5")), 1));
    ASSERT_TRUE(waitState(row(QStringLiteral("PK6")), 1));
    EXPECT_TRUE(waitUntil([&] { return m_server.requestsFor(check).size() >= 2; }));
    const size_t before = m_server.requestsFor(check).size();
    row(QStringLiteral("PK6"))->upgradeState = 4;   // as if downloading
    page()->initData();
    page()->initData();
    page()->initData();
    EXPECT_FALSE(row(QStringLiteral("PK5")));
    ASSERT_TRUE(row(QStringLiteral("PK6")));
    plugRow(sim::Family::Pirok, QStringLiteral("PK7"));
    ASSERT_TRUE(waitState(row(QStringLiteral("PK7")), 1));
    EXPECT_TRUE(waitUntil([&] { return m_server.requestsFor(check).size() >= before + 1; }));
    const size_t afterArrival = m_server.requestsFor(check).size();
    post("QOVADeviceAutoCheckUpdate", {});
    // One check for the one refreshable row, not one per registration.
    EXPECT_TRUE(waitUntil([&] { return m_server.requestsFor(check).size() >= afterArrival + 1; }));
    spin(200);
    EXPECT_EQ(m_server.requestsFor(check).size(), afterArrival + 1);
}

// The five remote-control events and the red dot.
TEST_F(FirmwarePage, RemoteControlEventsAndTheRedDot)
{
    if (m_skip)
        return;
    offer(3, QStringLiteral("1.0.1"));
    pairRemoteAtPlug(QStringLiteral("OR9"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR9"));
    const QVariantMap who{{"productSeriaNumber", "OR9"}};
    ASSERT_TRUE(waitUntil([&] { return row(QStringLiteral("OR9"), 3) != nullptr; }));
    // Unpaired and paired again: the remote control's row goes and comes.
    post("QOVARemoteControlUnPair", who);
    EXPECT_EQ(types(), (QList<qint64>{5, 2}));
    post("QOVARemoteControlPair", who);
    ASSERT_TRUE(waitUntil([&] { return row(QStringLiteral("OR9"), 3) != nullptr; }));
    const QOVAFirmwareModelRef remote = row(QStringLiteral("OR9"), 3);
    EXPECT_EQ(types(), (QList<qint64>{5, 2, 3}));
    EXPECT_EQ(remote->deviceImage, QStringLiteral("Orbrin_remote"));
    ASSERT_TRUE(waitState(remote, 1));
    // A newer version found while the page is not shown: the red dot.
    QWidget *dot = delegate()->navigationView()->updateItem()->tipView();
    EXPECT_TRUE(dot->isVisible());

    post("QOVARemoteControlSleep", who);
    EXPECT_FALSE(remote->active);
    EXPECT_EQ(remote->upgradeState, 1);
    post("QOVARemoteControlActive", who);
    EXPECT_TRUE(remote->active);
    post("QOVARemoteControlUpgrade", {{"productSeriaNumber", "OR9"}, {"remoteUpgrade", false}});
    EXPECT_EQ(remote->upgradeState, 8);
    post("QOVARemoteControlUpgrade", {{"productSeriaNumber", "OR9"}, {"remoteUpgrade", true}});
    EXPECT_EQ(remote->upgradeState, 7);
    post("QOVARemoteControlUnPair", who);
    EXPECT_EQ(types(), (QList<qint64>{5, 2}));
    EXPECT_FALSE(row(QStringLiteral("OR9"), 2)->remoteControl.lock());
    openPage();
    EXPECT_FALSE(row(QStringLiteral("OR9"), 2)->uncheckedViewModel);
    EXPECT_FALSE(dot->isVisible());
}

// A check reply without a version offers nothing, not even to a device in
// DFU mode (which is offered any version the server names).
TEST_F(FirmwarePage, ACheckReplyWithoutAVersionOffersNothing)
{
    if (m_skip)
        return;
    const QString package = offer(1, QString());
    plugRow(sim::Family::Pirok, QStringLiteral("PK30"), sim::Mode::Dfu);
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK30"));
    ASSERT_TRUE(r->isDFU());
    ASSERT_TRUE(waitUntil([&] { return !r->isChecking(); }));
    EXPECT_EQ(r->upgradeState, 3);  // not known, never "Up to date"
    EXPECT_TRUE(r->sourcePath.isEmpty());
    // Update All or a forced start fetches nothing without an address.
    page()->startUpdateModel(r);
    EXPECT_NE(r->upgradeState, 4);
    spin(50);
    EXPECT_TRUE(m_server.requestsFor(package).empty());
}

// The banner that asks to update the application first shows only while the
// update server names a newer version of the application; the rows then
// start under it, and under the navigation bar while it is hidden.
TEST_F(FirmwarePage, TheApplicationUpdateBannerFollowsTheServer)
{
    if (m_skip)
        return;
    // The application's version is put back however the test ends.
    const struct RestoreVersion {
        QString own = QCoreApplication::applicationVersion();
        ~RestoreVersion() { QCoreApplication::setApplicationVersion(own); }
    } restore;
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK90"));
    openPage();
    QOVAUpgradeTipView *banner = page()->tipView();
    ASSERT_TRUE(banner);
    spin(50);
    EXPECT_FALSE(banner->isVisible());  // no address: nothing is known
    EXPECT_EQ(page()->mainScrollview()->y(), 56);

    const QString answer = QStringLiteral("/files/check/app.json");
    m_config.insert(QStringLiteral("APPLICATION_CONFIG_URL"), m_server.url(answer));
    testsupport::writeFile(m_configDir.filePath(QStringLiteral("OrvalindeApp.Config")),
                           QJsonDocument(m_config).toJson());
    const struct {
        const char *newest;
        bool shown;
    } cases[] = {{"1.0.1", true}, {"1.0.0", false}, {"1.1", true}, {nullptr, false}, {"1.2", true}, {"0.9.9", false}};
    // Each case turns the banner the other way, so its answer is seen.
    size_t asked = 0;
    for (const auto &c : cases) {
        ASSERT_TRUE(m_server.put(QStringLiteral("check/app.json"),
                                 c.newest ? QStringLiteral(R"({"version":"%1"})").arg(QLatin1String(c.newest)).toUtf8()
                                          : QByteArray("{}")));
        post("QOVADeviceAutoCheckUpdate", {});
        const char *label = c.newest ? c.newest : "no version";
        EXPECT_TRUE(waitUntil([&] { return banner->isVisible() == c.shown; }, 20000)) << label;
        ++asked;
        EXPECT_TRUE(waitUntil([&] { return m_server.requestsFor(answer).size() == asked; }, 20000)) << label;
        EXPECT_EQ(page()->mainScrollview()->y(), c.shown ? banner->geometry().bottom() + 1 : 56) << label;
    }
}

// With three sections the rows outgrow the page: the bar's thumb, the dark
// part of the bar, stands where the rows are, at the top and at the end, as
// the wheel scrolls them.
TEST_F(FirmwarePage, TheScrollBarThumbFollowsTheRows)
{
    if (m_skip)
        return;
    plugRow(sim::Family::Pirok, QStringLiteral("PK1"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR1"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK2"));
    plugRow(sim::Family::Vasko, QStringLiteral("VS1"));
    openPage();
    QScrollArea *scroll = page()->mainScrollview();
    QScrollBar *bar = scroll->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_GT(bar->maximum(), 0);
    // The darkness of the bar over a band of its height (0 top, 1 bottom).
    auto darkness = [&](double from, double to) {
        const QImage picture = bar->grab().toImage();
        double sum = 0;
        int n = 0;
        for (int y = int(from * picture.height()); y < int(to * picture.height()); ++y) {
            for (int x = 0; x < picture.width(); ++x, ++n)
                sum += 255 - qGray(picture.pixel(x, y));
        }
        return n ? sum / n : 0.0;
    };
    // Where the thumb is: the darker of the top and the bottom band (the
    // thumb is longer than half the bar here).
    enum { Top, Bottom };
    auto thumbAt = [&] { return darkness(0.0, 0.1) > darkness(0.9, 1.0) ? Top : Bottom; };
    auto wheel = [&](int steps) {
        const QPointF at(200, 200);
        QWheelEvent event(at, scroll->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * steps), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(scroll->viewport(), &event);
        QCoreApplication::processEvents();
    };
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(thumbAt(), Top);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_scroll_top"));
    wheel(20);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(scroll->widget()->y(), -bar->value());
    EXPECT_EQ(thumbAt(), Bottom);
    shot(delegate()->mainWindow(), QStringLiteral("firmware_scroll_end"));
    wheel(-20);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(thumbAt(), Top);
}

// Devices left in DFU mode that have an offer keep it when a later check
// fails (here the daily one), and Update All still installs it.
TEST_F(FirmwarePage, ADeviceLeftInDfuModeKeepsItsOfferWhenACheckFails)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK140"), sim::Mode::Dfu);
    plugRow(sim::Family::Pirok, QStringLiteral("PK141"), sim::Mode::Dfu);
    openPage();
    const QList<QOVAFirmwareModelRef> rows{row(QStringLiteral("PK140")), row(QStringLiteral("PK141"))};
    for (const QOVAFirmwareModelRef &r : rows)
        ASSERT_TRUE(waitState(r, 1));
    pointCheckAt(1, m_server.url(QStringLiteral("/status/500/kind1.json")));
    post("QOVADeviceAutoCheckUpdate", {});
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitUntil([&] { return !r->isChecking(); }));
        EXPECT_EQ(r->upgradeState, 1) << qPrintable(r->serialNumber);
        EXPECT_EQ(r->targetVersion, QStringLiteral("12.0.4"));
        EXPECT_TRUE(cell(r)->updateButton()->isVisible());
    }
    QOVAFirmwareListHeader *header = page()->headerForSection(0);
    ASSERT_TRUE(header->updateButton()->isVisible());
    click(header->updateButton());
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitState(r, 7)) << qPrintable(r->serialNumber);
        EXPECT_EQ(bus()->device(r->serialNumber)->firmwareVersion(), QStringLiteral("12.0.4"));
    }
}

// Version texts of any length stay on their lines inside the row: an offered
// version that runs for pages and a remote control's long version end in an
// ellipsis, whole in the tool tip, and leave "Update from local file",
// Update and "Up to date" where they are.
TEST_F(FirmwarePage, LongVersionTextsStayInTheirRow)
{
    if (m_skip)
        return;
    const QString offered = QStringLiteral("12.0.4-") + QString(40000, QLatin1Char('b'));
    const QString remoteVersion = QStringLiteral("9.") + QString(5000, QLatin1Char('9'));
    answerCheck(1, {{"version", offered}, {"URL", m_server.url(QStringLiteral("/files/fw/none.dfu"))}});
    offer(3, QStringLiteral("1.0.1"));
    plugRow(sim::Family::Pirok, QStringLiteral("PK150"));
    pairRemoteAtPlug(QStringLiteral("OR151"));
    plugRow(sim::Family::Orbrin, QStringLiteral("OR151"));
    ASSERT_TRUE(waitUntil([&] { return row(QStringLiteral("OR151"), 3) != nullptr; }));
    catalogueOf(QStringLiteral("OR151"))->setDeviceInfoField(QStringLiteral("remote_fw_version"), remoteVersion);
    post("QOVARemoteControlPair", {{"productSeriaNumber", "OR151"}});
    openPage();
    const QOVAFirmwareModelRef camera = row(QStringLiteral("PK150"));
    const QOVAFirmwareModelRef remote = row(QStringLiteral("OR151"), 3);
    ASSERT_TRUE(waitState(camera, 1));
    ASSERT_TRUE(waitUntil([&] { return remote->version == remoteVersion && remote->upgradeState == 0; }));
    shot(delegate()->mainWindow(), QStringLiteral("firmware_long_versions"));

    const struct {
        const char *name;
        QOVAFirmwareModelRef row;
        QString whole;
    } cases[] = {{"offered version", camera, offered}, {"remote control's version", remote, remoteVersion}};
    for (const auto &c : cases) {
        QOVAFirmwareUpgradeCell *shown = cell(c.row);
        ASSERT_TRUE(shown) << c.name;
        QOVALabel *versions = shown->versionLabel();
        EXPECT_TRUE(versions->toolTip().contains(c.whole)) << c.name;
        bool elided = false;
        for (const auto &line : versions->drawnLines()) {
            EXPECT_LE(line.text.size(), 200) << c.name;
            elided = elided || line.text.endsWith(QChar(0x2026));
        }
        EXPECT_TRUE(elided) << c.name;
        // Everything right of the versions is where it belongs, inside the row.
        QWidget *right = shown->statusView()->isVisible() ? static_cast<QWidget *>(shown->statusView())
                                                          : static_cast<QWidget *>(shown->updateButton());
        ASSERT_TRUE(right->isVisible()) << c.name;
        EXPECT_LT(versions->geometry().right(), right->geometry().left()) << c.name;
        EXPECT_LE(right->geometry().right(), shown->width()) << c.name;
        if (shown->localUpdateButton()->isVisible()) {
            EXPECT_GT(shown->localUpdateButton()->geometry().left(), versions->geometry().right()) << c.name;
            EXPECT_LT(shown->localUpdateButton()->geometry().right(), right->geometry().left()) << c.name;
        }
    }
}
