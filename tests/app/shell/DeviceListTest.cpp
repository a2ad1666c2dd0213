// The device list on simulated devices: tile sizes and scrolling, the
// recovery veil, red dots, and routing a chosen device.

#include "ShellTestSupport.h"

#include "QOVACollectionCellMaskView.h"
#include "QOVACollectionViewItem.h"
#include "QOVADeviceModel.h"
#include "QOVAIOManager.h"
#include "QOVANotificationWindow.h"
#include "log/log.h"

#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimeZone>

using namespace shelltest;

namespace {

class DeviceListTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        launch();
    }
    QOVADeviceListViewController *list() const { return delegate()->deviceListController(); }
    // The firmware page asks a new video bar or network camera its set-up
    // state and facts too: wait until it has its row, then forget those.
    void settle(const QString &serial, const std::shared_ptr<DeviceAnswers> &answers)
    {
        EXPECT_TRUE(waitUntil([&] { return delegate()->firmwareController()->rowFor(serial) != nullptr; }));
        spin(50);
        answers->clear();
    }
    void clickTile(int index)
    {
        QOVACollectionViewItem *tile = list()->tiles().at(index);
        QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    }
};

} // namespace

TEST_F(DeviceListTest, TilesShrinkFromTheThirdDeviceAndScrollFromTheSeventh)
{
    plug(sim::Family::Orbrin, QStringLiteral("OR1"));
    ASSERT_EQ(list()->tiles().size(), 1);
    EXPECT_EQ(list()->tiles()[0]->size(), QSize(320, 320));
    EXPECT_TRUE(list()->tiles()[0]->largeStyle());
    EXPECT_EQ(list()->tiles()[0]->deviceImageView()->imageName(), QStringLiteral("Orbrin_Large"));
    shot(delegate()->mainWindow(), QStringLiteral("list_1"));

    plug(sim::Family::Vasko, QStringLiteral("VS2.01"));
    auto tiles = list()->tiles();
    ASSERT_EQ(tiles.size(), 2);
    EXPECT_EQ(tiles[0]->geometry(), QRect(64, 32, 320, 320));
    EXPECT_EQ(tiles[1]->geometry(), QRect(436, 32, 320, 320));

    plug(sim::Family::Pirok, QStringLiteral("PK3"));
    tiles = list()->tiles();
    ASSERT_EQ(tiles.size(), 3);
    for (QOVACollectionViewItem *tile : tiles) {
        EXPECT_EQ(tile->size(), QSize(208, 208));
        EXPECT_FALSE(tile->largeStyle());
        EXPECT_EQ(tile->bandHeight(), 50);
        EXPECT_EQ(tile->userLabel()->geometry().top(), tile->nameLabel()->geometry().bottom() + 1 + 4);
    }
    EXPECT_EQ(tiles[0]->deviceImageView()->imageName(), QStringLiteral("Orbrin_Normal"));
    EXPECT_EQ(tiles[2]->deviceImageView()->imageName(), QStringLiteral("Pirok_Normal"));
    // A Pirok shows no user-given name.
    EXPECT_TRUE(tiles[2]->userLabel()->stringValue().isEmpty());
    EXPECT_FALSE(tiles[0]->userLabel()->stringValue().isEmpty());
    shot(delegate()->mainWindow(), QStringLiteral("list_3"));

    QScrollArea *scroll = list()->mainScrollview();
    for (int i = 4; i <= 6; ++i)
        plug(sim::Family::Pirok, QStringLiteral("PK%1").arg(i));
    ASSERT_EQ(list()->tiles().size(), 6);
    EXPECT_EQ(list()->tiles()[3]->geometry().top(), 32 + 208 + 24);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
    // Six tiles fit: no scroll bar.
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    shot(delegate()->mainWindow(), QStringLiteral("list_6"));
    plug(sim::Family::Pirok, QStringLiteral("PK7"));
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(list()->deviceCollectionView()->height(), 32 + 3 * 208 + 2 * 24);
    shot(delegate()->mainWindow(), QStringLiteral("list_7"));

    // Tiles that do not fit are announced by a scroll bar, which takes the
    // wheel's place for reaching them; the rows keep three tiles, clear of it.
    plug(sim::Family::Pirok, QStringLiteral("PK8"));
    ASSERT_EQ(list()->tiles().size(), 8);
    QScrollBar *bar = scroll->verticalScrollBar();
    EXPECT_TRUE(waitUntil([&] { return bar->isVisible(); }));
    EXPECT_GT(bar->maximum(), 0);
    const int viewportWidth = scroll->viewport()->width();
    EXPECT_LE(viewportWidth + bar->width(), scroll->width());
    for (QOVACollectionViewItem *tile : list()->tiles())
        EXPECT_LE(tile->geometry().right() + 1, viewportWidth);
    EXPECT_EQ(list()->tiles()[2]->geometry().top(), list()->tiles()[0]->geometry().top());
    shot(delegate()->mainWindow(), QStringLiteral("list_8"));
    bar->setValue(bar->maximum());
    const QRect last = list()->tiles().last()->geometry();
    EXPECT_LE(last.bottom() + 1 - bar->value(), scroll->viewport()->height());
    shot(delegate()->mainWindow(), QStringLiteral("list_8_scrolled"));
    bar->setValue(0);

    // Back to six: the bar goes.
    unplug(QStringLiteral("PK8"));
    unplug(QStringLiteral("PK7"));
    // The scroll area shows or hides its bar on its next turn.
    EXPECT_TRUE(waitUntil([&] { return !bar->isVisible(); }));
    EXPECT_EQ(scroll->viewport()->width(), scroll->width());
}

TEST_F(DeviceListTest, RecoveryModeTileShowsItsVeilAndIgnoresClicks)
{
    auto answers = std::make_shared<DeviceAnswers>();
    plug(sim::Family::Orbrin, QStringLiteral("OR20"), sim::Mode::Run, answers);
    plug(sim::Family::Orbrin, QStringLiteral("OR21"), sim::Mode::Dfu);
    settle(QStringLiteral("OR20"), answers);
    ASSERT_EQ(list()->tiles().size(), 2);
    QOVACollectionViewItem *dfu = list()->tiles()[1];
    EXPECT_EQ(list()->getDeviceList()[1]->status, 1);
    EXPECT_TRUE(dfu->maskView()->isVisible());
    EXPECT_EQ(dfu->maskView()->iconImageView()->imageName(), QStringLiteral("deviceDFU"));
    EXPECT_EQ(dfu->maskView()->tipLabel()->stringValue(), qtTrId("STRING_RECOVER_OR_UPDATE_FIRST"));
    EXPECT_FALSE(list()->tiles()[0]->maskView()->isVisible());
    shot(delegate()->mainWindow(), QStringLiteral("list_dfu"));

    clickTile(1);
    spin(100);
    EXPECT_EQ(delegate()->currentController(), list());

    // Updating: the other veil, and no click either.
    list()->updateDeviceStatus(2, QStringLiteral("OR20"));
    QOVACollectionViewItem *updating = list()->tiles()[0];
    EXPECT_EQ(updating->maskView()->iconImageView()->imageName(), QStringLiteral("deviceUpdating"));
    EXPECT_EQ(updating->maskView()->tipLabel()->stringValue(), qtTrId("STRING_UPDATING") + QChar(0x2026));
    clickTile(0);
    spin(100);
    EXPECT_TRUE(answers->urls().isEmpty());
    EXPECT_EQ(delegate()->currentController(), list());
}

TEST_F(DeviceListTest, OrbrinAsksForSetUpAndSetsTheClockOncePerConnection)
{
    auto answers = std::make_shared<DeviceAnswers>();
    plug(sim::Family::Orbrin, QStringLiteral("OR30"), sim::Mode::Run, answers);
    settle(QStringLiteral("OR30"), answers);
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(QStringLiteral("unchanged"));

    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() != list(); }));
    EXPECT_EQ(answers->urls(), (QStringList{"if_need_oob", "time_sync"}));
    ASSERT_EQ(delegate()->currentController(), delegate()->heldDeviceInfoController());
    EXPECT_EQ(delegate()->heldDeviceInfoController()->model()->serialNumber, QStringLiteral("OR30"));
    EXPECT_EQ(delegate()->navigationView()->navigationStyle(), 2);
    EXPECT_TRUE(delegate()->navigationView()->backButton()->isVisible());
    const QString version = list()->getDeviceList()[0]->deviceVersion;
    if (version.count(QLatin1Char('.')) >= 1) {
        EXPECT_EQ(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion(),
                  version.section(QLatin1Char('.'), 0, 1));
    }
    shot(delegate()->mainWindow(), QStringLiteral("device_page"));

    // Back, and again: the clock is not set a second time.
    delegate()->navigationView()->navigationPop();
    EXPECT_EQ(delegate()->currentController(), list());
    answers->clear();
    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() != list(); }));
    EXPECT_EQ(answers->urls(), (QStringList{"if_need_oob"}));

    // Set-up pending: the wizard opens instead.
    delegate()->navigationView()->navigationPop();
    answers->oobPending = true;
    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() != list(); }));
    EXPECT_EQ(delegate()->currentController(), delegate()->orbrinOobVC());
    EXPECT_EQ(delegate()->orbrinOobVC()->model()->serialNumber, QStringLiteral("OR30"));
    EXPECT_EQ(delegate()->navigationView()->navigationStyle(), 2);

    // Removing the device whose wizard is open returns to the list... of none:
    // the empty page.
    unplug(QStringLiteral("OR30"));
    EXPECT_EQ(delegate()->currentController(), delegate()->mainController());
}

TEST_F(DeviceListTest, VaskoWizardAndFailuresThatOpenNothing)
{
    auto answers = std::make_shared<DeviceAnswers>();
    plug(sim::Family::Vasko, QStringLiteral("VS40.01"), sim::Mode::Run, answers);
    plug(sim::Family::Pirok, QStringLiteral("PK40"));
    settle(QStringLiteral("VS40"), answers);

    answers->oobStatus = 500;
    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return answers->urls().size() == 1; }));
    spin(100);
    EXPECT_EQ(delegate()->currentController(), list());

    answers->oobStatus = 200;
    answers->timeStatus = 500;
    answers->clear();
    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return answers->urls().size() == 2; }));
    spin(100);
    EXPECT_EQ(delegate()->currentController(), list());
    EXPECT_FALSE(list()->getDeviceList()[0]->hasTime);

    answers->timeStatus = 200;
    answers->oobPending = true;
    answers->clear();
    clickTile(0);
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() != list(); }));
    EXPECT_EQ(answers->urls(), (QStringList{"if_need_oob", "time_sync"}));
    EXPECT_EQ(delegate()->currentController(), delegate()->vaskoOobVC());
}

TEST_F(DeviceListTest, PirokOpensItsPageDirectly)
{
    auto answers = std::make_shared<DeviceAnswers>();
    plug(sim::Family::Pirok, QStringLiteral("PK50"), sim::Mode::Run, answers);
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(QStringLiteral("9.9"));
    clickTile(0);
    EXPECT_TRUE(waitUntil([&] { return delegate()->currentController() != list(); }));
    EXPECT_EQ(delegate()->currentController(), delegate()->heldDeviceInfoController());
    EXPECT_EQ(delegate()->navigationView()->navigationStyle(), 2);
    spin(50);
    EXPECT_TRUE(answers->urls().isEmpty());
    EXPECT_EQ(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion(), QStringLiteral("9.9"));
}

TEST_F(DeviceListTest, RedDotMarksDevicesThatArriveElsewhereUntilSeen)
{
    plug(sim::Family::Pirok, QStringLiteral("PK60"));
    delegate()->switchNavigationView(1);
    plug(sim::Family::Pirok, QStringLiteral("PK61"));
    plug(sim::Family::Pirok, QStringLiteral("PK62"));
    QWidget *dot = delegate()->navigationView()->settingItem()->tipView();
    EXPECT_TRUE(list()->getDeviceList()[1]->uncheckedViewModel);
    EXPECT_TRUE(dot->isVisible());
    // The dot goes once no unchecked device is left.
    unplug(QStringLiteral("PK61"));
    EXPECT_TRUE(dot->isVisible());
    unplug(QStringLiteral("PK62"));
    EXPECT_FALSE(dot->isVisible());

    // Returning to the list selects its segment, which hides the dot, and
    // marks every device seen.
    plug(sim::Family::Pirok, QStringLiteral("PK63"));
    EXPECT_TRUE(dot->isVisible());
    delegate()->switchNavigationView(0);
    EXPECT_FALSE(dot->isVisible());
    EXPECT_FALSE(list()->getDeviceList().last()->uncheckedViewModel);

    // On the list itself no dot.
    plug(sim::Family::Pirok, QStringLiteral("PK64"));
    EXPECT_FALSE(dot->isVisible());
    EXPECT_FALSE(list()->getDeviceList().last()->uncheckedViewModel);
}

TEST_F(DeviceListTest, RenameReachesTheTileAndTheFirmwarePage)
{
    plug(sim::Family::Orbrin, QStringLiteral("OR70"), sim::Mode::Run, std::make_shared<DeviceAnswers>());
    list()->deviceName(QStringLiteral("Board room"), QStringLiteral("OR70"));
    EXPECT_EQ(list()->tiles()[0]->userLabel()->stringValue(), QStringLiteral("Board room"));
    QOVAFirmwareViewController *firmware = delegate()->firmwareController();
    EXPECT_TRUE(waitUntil([&] { return firmware->rowFor(QStringLiteral("OR70")) != nullptr; }));
    list()->deviceName(QStringLiteral("Board room"), QStringLiteral("OR70"));
    EXPECT_EQ(firmware->rowFor(QStringLiteral("OR70"))->deviceName, QStringLiteral("Board room"));
    // A name of any length is kept bounded where it is only shown.
    const QString huge(60000, QLatin1Char('n'));
    list()->deviceName(huge, QStringLiteral("OR70"));
    for (const QString &kept : {list()->getDeviceList()[0]->productDeviceName,
                                firmware->rowFor(QStringLiteral("OR70"))->deviceName}) {
        EXPECT_EQ(kept.size(), 256);
        EXPECT_TRUE(kept.endsWith(QChar(0x2026)));
        EXPECT_TRUE(huge.startsWith(kept.chopped(1)));
    }
    list()->didSelectItemAtIndex(5);   // out of range: logged, nothing else
    EXPECT_EQ(delegate()->currentController(), list());
}

// The tile line is written once per redraw of the grid, whatever the number
// of devices, and a device page's poll that brings the name the tile already
// shows redraws nothing.
TEST_F(DeviceListTest, TileLineOncePerRedrawNotPerTile)
{
    const QByteArray line = "collectionView: QOVACollectionViewIteam itemForRepresentedObjectAtIndexPath";
    int marks = 0;
    // Lines of the log written so far, read once a marker written last has
    // reached the file.
    auto logged = [&] {
        const QByteArray marker = "tile line count mark " + QByteArray::number(++marks);
        QOVA_LOG(INFO, UI, "%s", marker.constData());
        const QString path = m_logDir.path() + QString::fromUtf8("/Zentaro\xC2\xAE Orvalinde0.log");
        QByteArray text;
        waitUntil([&] {
            QFile f(path);
            text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            return text.contains(marker);
        });
        return int(text.count(line));
    };
    const int before = logged();
    for (int i = 0; i < 5; ++i)
        plug(sim::Family::Pirok, QStringLiteral("PK8%1").arg(i));
    unplug(QStringLiteral("PK80"));
    // Five arrivals and one removal: six redraws of up to five tiles.
    EXPECT_EQ(logged() - before, 6);

    const int polled = logged();
    for (int i = 0; i < 3; ++i)
        list()->deviceName(QStringLiteral("Lobby"), QStringLiteral("PK82"));
    EXPECT_EQ(logged() - polled, 1);
    EXPECT_EQ(list()->tiles()[1]->userLabel()->stringValue(), QString());   // a Pirok shows no name
    EXPECT_EQ(list()->getDeviceList()[1]->productDeviceName, QStringLiteral("Lobby"));
}

TEST(DeviceListItem, FamilyTestsAndClockValue)
{
    QOVADeviceListItem item;
    item.productId = QStringLiteral("6e13");
    EXPECT_TRUE(item.isDFU());
    EXPECT_TRUE(item.isVasko());
    EXPECT_FALSE(item.isOrbrin());
    item.productId = QStringLiteral("5c01");
    EXPECT_TRUE(item.isPirok());
    EXPECT_FALSE(item.isDFU());

    // 12:00:00 two hours east of GMT sends the epoch count of 12:00:00 UTC.
    const QDateTime local(QDate(2024, 5, 6), QTime(12, 0, 0), QTimeZone(2 * 3600));
    const QDateTime utcNoon(QDate(2024, 5, 6), QTime(12, 0, 0), QTimeZone::utc());
    EXPECT_EQ(QOVADeviceListViewController::desktopTimeMilliseconds(local), utcNoon.toMSecsSinceEpoch());
}

TEST(DeviceTile, NamesAndVeilFromTheItem)
{
    QOVACollectionViewItem tile;
    tile.resize(320, 320);
    tile.setCellLargeStyle(true);
    QOVADeviceListItem item;
    item.productId = QStringLiteral("6e13");
    item.status = 1;
    item.productDeviceName = QStringLiteral("Cam");
    tile.updateWithItem(item);
    EXPECT_EQ(item.imageName, QStringLiteral("Vasko_Large"));
    EXPECT_TRUE(tile.nameLabel()->stringValue().isEmpty());
    EXPECT_EQ(tile.userLabel()->stringValue(), QStringLiteral("Cam"));
    EXPECT_EQ(tile.bandHeight(), 76);
    EXPECT_FALSE(tile.maskView()->isHidden());

    item.productId = QStringLiteral("abcd");   // no family: the picture name stays
    item.status = 0;
    tile.updateWithItem(item);
    EXPECT_EQ(item.imageName, QStringLiteral("Vasko_Large"));
    EXPECT_TRUE(tile.maskView()->isHidden());
}
