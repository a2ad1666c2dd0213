// The side menu on its own, driven by real clicks: groups, rows and open
// heights per family and firmware version, what is reported to the owner,
// the administrator group that opens only when told, scrolling, and looks.

#include "MenuTestSupport.h"

#include "QOVAColor.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAScrollView.h"
#include "menu/QOVASubTabCell.h"
#include "menu/QOVATabCell.h"
#include "menu/SystemSettingsSubView.h"

#include <QDir>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

using namespace menutest;

namespace {

const QStringList kOrbrinUser = {"STRING_CAMERA_CONTROL", "STRING_BLUETOOTH_MODE", "STRING_AUDIO_SETTINGS"};
const QStringList kOrbrinDiag = {"STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"};
const QStringList kOrbrinAdmin9 = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS",
                                   "STRING_BLUETOOTH", "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER",
                                   "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION"};
const QStringList kOrbrinAdmin10 = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS",
                                    "STRING_BLUETOOTH", "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER",
                                    "STRING_CERTIFICATES", "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET",
                                    "STRING_CONFIGURATION"};
const QStringList kOrbrinAdmin11 = kOrbrinAdmin10 + QStringList{"STRING_LAB_FEATURE"};
const QStringList kVaskoUser = {"STRING_CAMERA_CONTROL"};
const QStringList kVaskoDiag = {"STRING_AUDIO_METERS", "STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"};
const QStringList kVaskoAdmin10 = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_NETWORK_SETTINGS",
                                   "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_CERTIFICATES",
                                   "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION",
                                   "STRING_MISCELLANEOUS"};
const QStringList kVaskoAdmin9 = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_NETWORK_SETTINGS",
                                  "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_SYSTEM_RESTART",
                                  "STRING_FACTORY_RESET", "STRING_CONFIGURATION", "STRING_MISCELLANEOUS"};

struct FamilyCase {
    const char *label;
    QString productID;
    QString version;
    QString portrait;
    bool allGroups;
    QStringList user, admin, diag;   // keys, top to bottom
    int userHeight, adminHeight, diagHeight;
};

const FamilyCase kFamilies[] = {
    {"Orbrin 1.0", "6e17", "1.0", "portrait_orbrin", true, kOrbrinUser, kOrbrinAdmin9, kOrbrinDiag, 108, 324, 108},
    {"Orbrin 1.1", "6e17", "1.1", "portrait_orbrin", true, kOrbrinUser, kOrbrinAdmin10, kOrbrinDiag, 108, 360, 108},
    {"Orbrin 1.3", "6e17", "1.3", "portrait_orbrin", true, kOrbrinUser, kOrbrinAdmin11, kOrbrinDiag, 108, 396, 108},
    {"Orbrin 1.5", "6e17", "1.5", "portrait_orbrin", true, kOrbrinUser, kOrbrinAdmin10, kOrbrinDiag, 108, 396, 108},
    {"Orbrin without version", "6e17", "", "portrait_orbrin", true, kOrbrinUser, kOrbrinAdmin10, kOrbrinDiag, 108,
     396, 108},
    {"Vasko V1.3", "6e12", "V1.3", "portrait_vasko", true, kVaskoUser, kVaskoAdmin10, kVaskoDiag, 36, 360, 144},
    {"Vasko V1.1", "6e12", "V1.1", "portrait_vasko", true, kVaskoUser, kVaskoAdmin9, kVaskoDiag, 36, 324, 144},
    {"Pirok", "5c01", "1.0.3", "portrait_pirok", false, {}, {}, {}, 0, 0, 0},
    {"unknown product", "abcd", "1.3", "portrait_orbrin", false, {}, {}, {}, 0, 0, 0},
};

int topOf(const QWidget *w)
{
    return w->geometry().top();
}

// The rows of a list a user can see at this moment.
int visibleRows(SystemSettingsSubView *list)
{
    int n = 0;
    for (QOVASubTabCell *cell : list->cells())
        n += cell->visibleRegion().isEmpty() ? 0 : 1;
    return n;
}

QColor textColour(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST(MenuTest, GroupsRowsAndOpenHeightsByFamilyAndVersion)
{
    for (const FamilyCase &c : kFamilies) {
        SCOPED_TRACE(c.label);
        MenuWindow w(c.productID, c.version);
        QOVATabControlView *menu = w.menu;
        EXPECT_EQ(menu->deviceImageView()->imageName(), c.portrait);
        EXPECT_EQ(menu->deviceNameLabel()->stringValue(), QStringLiteral("Room 4"));
        EXPECT_EQ(menu->selectedCell(), menu->statusTabCell());

        std::vector<qint64> tags;
        for (QOVATabCell *cell : menu->tabCells())
            tags.push_back(cell->tag());
        if (!c.allGroups) {
            EXPECT_EQ(tags, (std::vector<qint64>{0}));
            EXPECT_EQ(menu->currentUserSettingSubview(), nullptr);
            EXPECT_EQ(menu->currentAdminSubview(), nullptr);
            EXPECT_EQ(menu->currentDiagnosticsSubview(), nullptr);
            w.click(menu->statusTabCell());   // the only group: nothing happens
            EXPECT_TRUE(w.recorder.take().empty());
            continue;
        }
        EXPECT_EQ(tags, (std::vector<qint64>{0, 1, 2, 3}));
        SystemSettingsSubView *user = menu->currentUserSettingSubview();
        SystemSettingsSubView *admin = menu->currentAdminSubview();
        SystemSettingsSubView *diag = menu->currentDiagnosticsSubview();
        ASSERT_TRUE(user && admin && diag);
        EXPECT_EQ(user->titles(), english(c.user));
        EXPECT_EQ(admin->titles(), english(c.admin));
        EXPECT_EQ(diag->titles(), english(c.diag));

        // Closed lists: the headers stand one under the other.
        EXPECT_EQ(topOf(menu->systemSettingsCell()), 44);
        EXPECT_EQ(topOf(menu->adminSettingsCell()), 88);
        EXPECT_EQ(topOf(menu->diagnosticsCell()), 132);
        EXPECT_EQ(visibleRows(user) + visibleRows(admin) + visibleRows(diag), 0);

        w.click(menu->systemSettingsCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(user->height(), c.userHeight);
        EXPECT_EQ(topOf(menu->adminSettingsCell()), 88 + c.userHeight);
        EXPECT_EQ(visibleRows(user), c.user.size());

        w.click(menu->diagnosticsCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(user->height(), 0);
        EXPECT_EQ(diag->height(), c.diagHeight);
        EXPECT_EQ(topOf(menu->diagnosticsCell()), 132);
        EXPECT_EQ(visibleRows(diag), c.diag.size());

        w.click(menu->adminSettingsCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(diag->height(), 0);
        EXPECT_EQ(admin->height(), 0);
        menu->expandAdminSettingView();
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(admin->height(), c.adminHeight);
        EXPECT_EQ(topOf(menu->diagnosticsCell()), 132 + c.adminHeight);
        // The rows stand on the list's bottom edge: any spare height lies
        // above the first row.
        const int spare = c.adminHeight - int(c.admin.size()) * 36;
        EXPECT_EQ(topOf(admin->firstCell()), spare);
        EXPECT_EQ(admin->cells().last()->geometry().bottom() + 1, c.adminHeight);

        w.click(menu->statusTabCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(admin->height(), 0);
        EXPECT_EQ(topOf(menu->diagnosticsCell()), 132);

        EXPECT_EQ(w.recorder.take(),
                  (std::vector<Report>{{1, "FirstView"}, {3, "FirstView"}, {2, "Password"}, {2, "FirstView"},
                                       {0, "FirstView"}}));
    }
}

TEST(MenuTest, AClickOnTheSelectedHeaderSendsNothingAndChangesNoList)
{
    MenuWindow w("6e12", "V1.3");
    QOVATabControlView *menu = w.menu;
    w.click(menu->statusTabCell());
    EXPECT_TRUE(w.recorder.take().empty());

    w.click(menu->systemSettingsCell());
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{1, "FirstView"}}));
    // Moving the highlight off the first row, then clicking the header again:
    // the list stays open and keeps its highlight.
    w.click(menu->diagnosticsCell());
    ASSERT_TRUE(w.settle());
    SystemSettingsSubView *diag = menu->currentDiagnosticsSubview();
    w.click(diag->cells().at(2));
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{3, "FirstView"}, {3, english("STRING_OSD")}}));
    w.click(menu->diagnosticsCell());
    EXPECT_FALSE(menu->isAnimating());
    EXPECT_EQ(diag->height(), 144);
    EXPECT_EQ(diag->selectedSubTabCell(), diag->cells().at(2));
    EXPECT_TRUE(w.recorder.take().empty());

    w.click(menu->adminSettingsCell());
    w.click(menu->adminSettingsCell());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{2, "Password"}}));
}

TEST(MenuTest, AdministratorRowsAppearOnlyAfterExpand)
{
    MenuWindow w("6e17", "1.3");
    QOVATabControlView *menu = w.menu;
    SystemSettingsSubView *admin = menu->currentAdminSubview();

    w.click(menu->adminSettingsCell());
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{2, "Password"}}));
    EXPECT_EQ(menu->selectedCell(), menu->adminSettingsCell());
    EXPECT_EQ(admin->height(), 0);
    EXPECT_EQ(visibleRows(admin), 0);
    // Right under the admin header lies the diagnostics header, not a row.
    const QPoint underAdmin = w.at(menu->adminSettingsCell(), QPoint(100, 44 + 10));
    QWidget *hit = w.widgetAt(underAdmin);
    EXPECT_TRUE(hit == menu->diagnosticsCell() || menu->diagnosticsCell()->isAncestorOf(hit));

    menu->expandAdminSettingView();
    // The list grows over the animation: not yet at its height right away.
    EXPECT_TRUE(menu->isAnimating());
    EXPECT_LT(admin->height(), 396);
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(visibleRows(admin), 11);
    EXPECT_EQ(admin->selectedSubTabCell(), admin->firstCell());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{2, "FirstView"}}));

    // Rows are reported by the titles they show, under the selected group.
    // The last rows lie below the visible part: the user scrolls down first.
    w.click(admin->cells().at(2));
    QScrollBar *bar = menu->mainScrollView()->verticalScrollBar();
    // Four headers and the 396-point list: 72 points past the 500 shown.
    EXPECT_EQ(bar->maximum(), 72);
    QWheelEvent wheel(QPointF(100, 100), w.window.mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(menu->mainScrollView()->viewport(), &wheel);
    EXPECT_EQ(bar->value(), 72);
    w.click(admin->cells().at(10));
    w.click(admin->cells().at(10));   // already highlighted: nothing
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{2, QStringLiteral("Wi-Fi Settings")},
                                                      {2, english("STRING_LAB_FEATURE")}}));
    EXPECT_FALSE(admin->cells().at(2)->verticalCellLine()->isVisible());
    EXPECT_TRUE(admin->cells().at(10)->verticalCellLine()->isVisible());

    // A second expand highlights the first row again and reports again.
    menu->expandAdminSettingView();
    EXPECT_EQ(admin->selectedSubTabCell(), admin->firstCell());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{2, "FirstView"}}));

    // From the open admin list to user settings: one opens, the other closes.
    // The user scrolls back up to the header first.
    QWheelEvent up(QPointF(100, 100), w.window.mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 240),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(menu->mainScrollView()->viewport(), &up);
    EXPECT_EQ(bar->value(), 0);
    w.click(menu->systemSettingsCell());
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(admin->height(), 0);
    EXPECT_EQ(menu->currentUserSettingSubview()->height(), 108);

    // An expand that arrives after the user went elsewhere opens the admin
    // list beside the selected group's and leaves the selection alone.
    menu->expandAdminSettingView();
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(admin->height(), 396);
    EXPECT_EQ(menu->currentUserSettingSubview()->height(), 108);
    EXPECT_EQ(menu->selectedCell(), menu->systemSettingsCell());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{1, "FirstView"}, {2, "FirstView"}}));
    // A row of the admin list is now reported under the selected group.
    w.click(admin->cells().at(1));
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{1, english("STRING_CAMERA_TRACKING")}}));
}

// The menu scrolls exactly when its headers and open lists are taller than
// its 500-point area, and then as far as the last header's bottom: a closed
// administrator group (the sign-in page's four headers) shows no scroll bar.
TEST(MenuTest, ScrollsOnlyWhatOverflows)
{
    struct Case {
        const char *productID;
        const char *version;
        int adminOpen;   // document height with the admin list open
    };
    for (const Case c : {Case{"6e17", "1.1", 4 * 44 + 360}, Case{"6e17", "1.3", 4 * 44 + 396},
                         Case{"6e17", "", 4 * 44 + 396}, Case{"6e17", "1.0", 500},
                         Case{"6e12", "V1.3", 4 * 44 + 360}, Case{"6e12", "V1.1", 500}}) {
        SCOPED_TRACE(std::string(c.productID) + " " + c.version);
        MenuWindow w(c.productID, c.version);
        QOVATabControlView *menu = w.menu;
        QScrollBar *bar = menu->mainScrollView()->verticalScrollBar();
        w.click(menu->adminSettingsCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(menu->documentHeight(), 500);
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(menu->mainScrollView()->scrollingEnabled());

        menu->expandAdminSettingView();
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(menu->documentHeight(), c.adminOpen);
        EXPECT_TRUE(waitUntil([&] { return bar->isVisible() == (c.adminOpen > 500); }));
        EXPECT_EQ(menu->mainScrollView()->scrollingEnabled(), c.adminOpen > 500);
        // Scrolled to the end, the last header shows whole.
        bar->setValue(bar->maximum());
        const QRect last = menu->diagnosticsCell()->geometry();
        EXPECT_EQ(last.bottom() + 1, menu->documentHeight());
        EXPECT_LE(last.bottom() + 1 - bar->value(), menu->mainScrollView()->viewport()->height());
        w.click(menu->currentAdminSubview()->cells().at(1));   // rows leave scrolling alone
        EXPECT_EQ(menu->documentHeight(), c.adminOpen);

        // Another group, chosen at the bottom of the menu, closes the list.
        w.click(menu->diagnosticsCell());
        ASSERT_TRUE(w.settle());
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(menu->documentHeight(), 500);
        EXPECT_TRUE(waitUntil([&] { return !bar->isVisible(); }));
        EXPECT_FALSE(menu->mainScrollView()->scrollingEnabled());
    }

    // A Pirok menu holds the status header alone.
    MenuWindow w("5c01", "");
    EXPECT_FALSE(w.menu->mainScrollView()->verticalScrollBar()->isVisible());
}

TEST(MenuTest, HeaderAndRowLooks)
{
    MenuWindow w("6e17", "1.3");
    QOVATabControlView *menu = w.menu;
    QOVATabCell *status = menu->statusTabCell();
    QOVATabCell *user = menu->systemSettingsCell();

    EXPECT_EQ(status->imageView()->imageName(), QStringLiteral("status_focus"));
    EXPECT_EQ(textColour(status->titleView()), colorWithString("0277bd", 1));
    EXPECT_EQ(status->effectBackgroundColor(), colorWithString("F1F1F1", 1));
    EXPECT_EQ(user->imageView()->imageName(), QStringLiteral("settings"));
    EXPECT_EQ(user->titleView()->text(), QStringLiteral("User Settings"));

    w.click(user);
    EXPECT_EQ(status->imageView()->imageName(), QStringLiteral("status"));
    EXPECT_EQ(textColour(status->titleView()), colorWithString("666668", 1));
    EXPECT_EQ(status->effectBackgroundColor(), colorWithString("fbfbfb", 1));
    // Other headers show their selection by the icon alone.
    EXPECT_EQ(user->imageView()->imageName(), QStringLiteral("settings_focus"));
    EXPECT_EQ(textColour(user->titleView()), colorWithString("666668", 1));
    EXPECT_EQ(user->effectBackgroundColor(), colorWithString("fbfbfb", 1));

    SystemSettingsSubView *list = menu->currentUserSettingSubview();
    QOVASubTabCell *first = list->cells().at(0);
    QOVASubTabCell *second = list->cells().at(1);
    EXPECT_EQ(textColour(first->titleView()), colorWithString("0277bd", 1));
    EXPECT_FALSE(second->hasLook());   // no background of its own yet
    ASSERT_TRUE(w.settle());
    w.click(second);
    EXPECT_EQ(textColour(first->titleView()), colorWithString("666668", 1));
    EXPECT_EQ(first->palette().color(QPalette::Window), colorWithString("fbfbfb", 1));
    EXPECT_EQ(second->palette().color(QPalette::Window), colorWithString("f1f1f1", 1));
    EXPECT_TRUE(second->verticalCellLine()->isVisible());
    EXPECT_EQ(second->verticalCellLine()->geometry(), QRect(0, 0, 4, 36));
}

TEST(MenuTest, APressOnAHeaderReleasedElsewhereStillCounts)
{
    MenuWindow w("6e17", "1.3");
    QOVATabControlView *menu = w.menu;
    QTest::mousePress(w.window.windowHandle(), Qt::LeftButton, {}, w.centreOf(menu->diagnosticsCell()));
    EXPECT_TRUE(menu->diagnosticsCell()->isMouseDown());
    QTest::mouseRelease(w.window.windowHandle(), Qt::LeftButton, {}, w.centreOf(menu->statusTabCell()));
    EXPECT_FALSE(menu->diagnosticsCell()->isMouseDown());
    EXPECT_EQ(w.recorder.take(), (std::vector<Report>{{3, "FirstView"}}));
    EXPECT_EQ(menu->selectedCell(), menu->diagnosticsCell());
}

TEST(MenuTest, ListsBuiltFromTitles)
{
    SystemSettingsSubView three({"a", "b", "c"});
    three.resize(210, 108);
    three.show();
    const auto cells = three.cells();
    ASSERT_EQ(cells.size(), 3);
    EXPECT_EQ(cells.at(0)->geometry(), QRect(0, 0, 210, 36));     // y 72 from the bottom
    EXPECT_EQ(cells.at(2)->geometry(), QRect(0, 72, 210, 36));    // y 0 from the bottom
    EXPECT_EQ(cells.at(0)->tag(), 0);
    EXPECT_EQ(cells.at(2)->tag(), 2);

    // selectFirstCell on the highlighted first row: looks applied again, no
    // report.
    struct Delegate : QOVASystemSettingViewDelegate {
        QStringList got;
        void didSubSelectedIndexString(const QString &t) override { got.append(t); }
    } delegate;
    three.setDelegate(&delegate);
    three.selectFirstCell();
    EXPECT_EQ(three.selectedSubTabCell(), three.firstCell());
    EXPECT_TRUE(delegate.got.isEmpty());

    SystemSettingsSubView empty({});
    empty.selectFirstCell();
    EXPECT_TRUE(empty.cells().isEmpty());
    EXPECT_EQ(empty.selectedSubTabCell(), nullptr);
}

TEST(MenuTest, StrategiesByClassName)
{
    EXPECT_EQ(Strategy::strategyWithClassName("PirokStrategy")->className(), "PirokStrategy");
    EXPECT_EQ(Strategy::strategyWithClassName("OrbrinStrategy")->className(), "OrbrinStrategy");
    EXPECT_EQ(Strategy::strategyWithClassName("VaskoStrategy")->className(), "VaskoStrategy");
    EXPECT_EQ(Strategy::strategyWithClassName("Strategy"), nullptr);
    EXPECT_EQ(Strategy::strategyWithClassName(""), nullptr);
    // The base strategy lays nothing out.
    QOVATabControlView menu("6e17");
    Strategy base;
    base.validateInput(&menu);
    EXPECT_EQ(menu.tabCells().size(), 1u);
}

// Pictures of each family's menu with a list open, for a person to look at.
TEST(MenuTest, Screenshots)
{
    struct Shot {
        const char *file;
        const char *productID;
        const char *version;
        const char *name;
    };
    for (const Shot s : {Shot{"menu_orbrin.png", "6e17", "1.3", "Board Room Bar"},
                         Shot{"menu_vasko.png", "6e12", "V1.3", "Lobby Camera"},
                         Shot{"menu_pirok.png", "5c01", "1.0.3", "KRD mini"}}) {
        MenuWindow w(s.productID, s.version, s.name);
        if (QString(s.productID) == "6e17") {
            w.click(w.menu->adminSettingsCell());
            w.menu->expandAdminSettingView();
            ASSERT_TRUE(w.settle());
            w.click(w.menu->currentAdminSubview()->cells().at(2));
        } else if (QString(s.productID) == "6e12") {
            w.click(w.menu->diagnosticsCell());
            ASSERT_TRUE(w.settle());
        }
        const QImage image = w.menu->grab().toImage();
        EXPECT_EQ(image.size(), QSize(210, 544) * w.menu->devicePixelRatio());
        EXPECT_TRUE(image.save(QDir::current().filePath(s.file)));
    }
}
