// The lab features page of the video bar on the real application, and the
// restart-needed window of the network camera's miscellaneous page, against
// simulated devices.

#include "SettingsAppTestSupport.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMaskView.h"
#include "QOVAScrollView.h"
#include "settings/QOVALabFeatureView.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVDeviceRestartWindow.h"

#include <QScrollBar>
#include <QWheelEvent>

using namespace settingsapptest;

namespace {

// What a user sees of one row: switch position, whether it can be flipped,
// and the state text beside it.
struct RowLook {
    bool on;
    bool enabled;
    const char *text;
};

void expectRow(ITSwitch *sw, QOVALabel *state, const RowLook &look)
{
    ASSERT_TRUE(sw && state);
    EXPECT_EQ(sw->checked(), look.on);
    EXPECT_EQ(sw->isEnabled(), look.enabled);
    EXPECT_EQ(state->stringValue(), qtTrId(look.text));
}

} // namespace

class LabFeaturesTest : public SettingsAppFixture {
protected:
    // The entry is the last row of the administrator list, below the
    // visible part of the menu: the user scrolls down to it first.
    void scrollMenu(int angle)
    {
        QWidget *viewport = menu()->mainScrollView()->viewport();
        const QPointF at = viewport->rect().center();
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    }
    // Waits until the host has had this many answers logged with the line:
    // the next request then goes out with no reply pending.
    bool answered(const char *line, int times)
    {
        return waitUntil([&] { return logText().count(QLatin1String(line)) == times; });
    }
    void leaveForStatus()
    {
        scrollMenu(240);
        clickTab("STRING_STATUS");
        ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("statusInfoView"); }));
    }
    QOVALabFeatureView *openLab(const SimHandle &bar, int showings = 1)
    {
        if (!entryCell("STRING_LAB_FEATURE"))
            clickTab("STRING_ADMIN_SETTINGS");
        EXPECT_TRUE(waitUntil([&] { return entryCell("STRING_LAB_FEATURE") != nullptr; }));
        scrollMenu(-240);
        clickEntry("STRING_LAB_FEATURE");
        auto *lab = waitForPage<QOVALabFeatureView>("labFeatureView");
        EXPECT_TRUE(lab);
        EXPECT_TRUE(waitUntil([&] { return count(bar, "lecture_mode", "GET") == showings; }));
        return lab;
    }
    // Both answers of a showing have reached the page once the device has
    // answered the second read and the page shows the expected states.
    bool showsModes(QOVALabFeatureView *lab, bool conversation, bool lecture)
    {
        return waitUntil([&] {
            return lab->conversationModeSwitch()->checked() == conversation
                   && lab->lectureModeSwitch()->checked() == lecture;
        });
    }
};

// Each showing reads both modes, conversation first; the answers set the
// switches and the exclusion between them.
TEST_F(LabFeaturesTest, ShowingReadsBothModesFromTheDevice)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORLAB1", "1.3.0.5");
    bar.state->setConversationView(true);
    ASSERT_TRUE(openDevicePage("ORLAB1"));
    QOVALabFeatureView *lab = openLab(bar);
    ASSERT_TRUE(lab);
    ASSERT_TRUE(showsModes(lab, true, false));
    expectRow(lab->conversationModeSwitch(), lab->statusLabel(), {true, true, "STRING_ON"});
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {false, false, "STRING_OFF"});
    EXPECT_EQ(count(bar, "conversation_view", "GET"), 1);
    const QStringList urls = receivedUrls(bar);
    EXPECT_LT(urls.lastIndexOf(QStringLiteral("conversation_view")), urls.lastIndexOf(QStringLiteral("lecture_mode")));
    settledShot("lab_features_conversation_on");

    // The device changed meanwhile: the next showing asks again and
    // overwrites both switches.
    bar.state->setConversationView(false);
    bar.state->setLectureMode(true);
    leaveForStatus();
    lab = openLab(bar, 2);
    ASSERT_TRUE(showsModes(lab, false, true));
    expectRow(lab->conversationModeSwitch(), lab->statusLabel(), {false, false, "STRING_OFF"});
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {true, true, "STRING_ON"});
    EXPECT_EQ(count(bar, "conversation_view", "GET"), 2);

    bar.state->setLectureMode(false);
    leaveForStatus();
    lab = openLab(bar, 3);
    ASSERT_TRUE(showsModes(lab, false, false));
    ASSERT_TRUE(waitUntil([&] { return lab->conversationModeSwitch()->isEnabled(); }));
    expectRow(lab->conversationModeSwitch(), lab->statusLabel(), {false, true, "STRING_OFF"});
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {false, true, "STRING_OFF"});
    EXPECT_TRUE(toasts.texts.isEmpty());
}

// A flip writes only the changed mode, and greys the other row while on.
TEST_F(LabFeaturesTest, FlippingASwitchWritesThatModeOnly)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORLAB2", "1.4.0.1");
    ASSERT_TRUE(openDevicePage("ORLAB2"));
    QOVALabFeatureView *lab = openLab(bar);
    ASSERT_TRUE(lab);
    ASSERT_TRUE(showsModes(lab, false, false));

    click(lab->lectureModeSwitch());
    ASSERT_TRUE(answered("Set Lecture Mode Success!", 1));
    EXPECT_TRUE(bar.state->lectureMode());
    EXPECT_EQ(bodies(bar, "lecture_mode"), (QList<QJsonObject>{QJsonObject{{"enable", true}}}));
    expectRow(lab->conversationModeSwitch(), lab->statusLabel(), {false, false, "STRING_OFF"});
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {true, true, "STRING_ON"});
    settledShot("lab_features_presenter_on");

    // A click on the greyed switch does nothing.
    click(lab->conversationModeSwitch());
    EXPECT_FALSE(lab->conversationModeSwitch()->checked());

    click(lab->lectureModeSwitch());
    ASSERT_TRUE(answered("Set Lecture Mode Success!", 2));
    EXPECT_EQ(bodies(bar, "lecture_mode").last(), QJsonObject({{"enable", false}}));
    EXPECT_TRUE(lab->conversationModeSwitch()->isEnabled());

    click(lab->conversationModeSwitch());
    ASSERT_TRUE(answered("Set Conversation Mode Success!", 1));
    EXPECT_TRUE(bar.state->conversationView());
    EXPECT_EQ(bodies(bar, "conversation_view"), (QList<QJsonObject>{QJsonObject{{"conversation_view_mode", "1"}}}));
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {false, false, "STRING_OFF"});
    click(lab->conversationModeSwitch());
    ASSERT_TRUE(answered("Set Conversation Mode Success!", 2));
    EXPECT_EQ(bodies(bar, "conversation_view").last(), QJsonObject({{"conversation_view_mode", "0"}}));
    EXPECT_FALSE(bar.state->conversationView());
    EXPECT_TRUE(lab->lectureModeSwitch()->isEnabled());
    EXPECT_EQ(count(bar, "lecture_mode", "PUT"), 2);
    EXPECT_TRUE(toasts.texts.isEmpty());
}

// A refused change puts the row back as it was, exclusion included, and
// says so; the device keeps its mode.
TEST_F(LabFeaturesTest, ARefusedChangeFlipsTheSwitchBack)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORLAB3", "1.2.0.7");
    bar.state->setConversationView(true);
    ASSERT_TRUE(openDevicePage("ORLAB3"));
    QOVALabFeatureView *lab = openLab(bar);
    ASSERT_TRUE(lab);
    ASSERT_TRUE(showsModes(lab, true, false));
    settledShot("lab_features_v12");

    // The switch goes back at once, and the device is asked again.
    bar.state->failRequest("conversation_view", false, 400, "busy");
    click(lab->conversationModeSwitch());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_SAVE_FAILED"); }));
    expectRow(lab->conversationModeSwitch(), lab->statusLabel(), {true, true, "STRING_ON"});
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {false, false, "STRING_OFF"});
    EXPECT_TRUE(bar.state->conversationView());
    ASSERT_TRUE(answered("Get Conversation Mode Success!", 2));
    EXPECT_TRUE(lab->conversationModeSwitch()->checked());
    bar.state->clearRequestFailures();

    click(lab->conversationModeSwitch());
    ASSERT_TRUE(answered("Set Conversation Mode Success!", 1));
    EXPECT_FALSE(bar.state->conversationView());
    toasts.texts.clear();
    bar.state->failRequest("lecture_mode", false, 403, "not allowed");
    click(lab->lectureModeSwitch());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_SAVE_FAILED"); }));
    expectRow(lab->lectureModeSwitch(), lab->lectureStatusLabel(), {false, true, "STRING_OFF"});
    EXPECT_TRUE(lab->conversationModeSwitch()->isEnabled());
    EXPECT_FALSE(bar.state->lectureMode());
    ASSERT_TRUE(answered("Get Lecture Mode Success!", 2));
    EXPECT_FALSE(lab->lectureModeSwitch()->checked());
    EXPECT_EQ(count(bar, "lecture_mode", "GET"), 2);
}

// Only the video bar's firmware 1.2 to 1.4 lists the page; where it is
// listed, it has both rows.
TEST_F(LabFeaturesTest, FirmwareVersionDecidesWhetherThePageIsListed)
{
    const struct {
        const char *serial;
        const char *firmware;
        bool listed;
    } cases[] = {{"ORV10", "1.0.2.3", false}, {"ORV11", "1.1.0.4", false}, {"ORV15", "1.5.0.1", false},
                 {"ORV12", "1.2.0.1", true},  {"ORV14", "1.4.3.0", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        SimHandle bar = plugDevice(sim::Family::Orbrin, c.serial, c.firmware);
        ASSERT_TRUE(openDevicePage(c.serial));
        clickTab("STRING_ADMIN_SETTINGS");
        ASSERT_TRUE(waitUntil([&] { return entryCell("STRING_CONFIGURATION") != nullptr; }));
        EXPECT_EQ(entryCell("STRING_LAB_FEATURE") != nullptr, c.listed);
        if (c.listed) {
            QOVALabFeatureView *lab = openLab(bar);
            ASSERT_TRUE(lab);
            EXPECT_TRUE(lab->lectureModeSwitch() && lab->lectureModeSwitch()->isVisible());
            EXPECT_TRUE(lab->presenterModeNote()->isVisible());
        } else {
            spin(30);
            EXPECT_EQ(count(bar, "conversation_view", "GET") + count(bar, "lecture_mode", "GET"), 0);
        }
        unplug(c.serial);
    }
    SimHandle cam = plugDevice(sim::Family::Vasko, "VALAB", "V1.3.0.2");
    ASSERT_TRUE(openDevicePage("VALAB"));
    clickTab("STRING_ADMIN_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return entryCell("STRING_CONFIGURATION") != nullptr; }));
    EXPECT_EQ(entryCell("STRING_LAB_FEATURE"), nullptr);
}

// The restart-needed window: its place and size over the main window, and
// Restart Now asking the camera to restart and lifting the mask.
TEST_F(LabFeaturesTest, RestartNeededWindowAsksForTheRestartAndLiftsTheMask)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "VARST", "V1.3.0.2");
    ASSERT_TRUE(openDevicePage("VARST"));
    openAdminEntry("STRING_MISCELLANEOUS");
    auto *misc = waitForPage<QOVAMiscellaneousView>("miscellaneousView");
    ASSERT_TRUE(misc);
    ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "GET") == 1; }));
    click(misc->intergratedMicrophonesSwitch());
    QOVDeviceRestartWindow *prompt = misc->deviceRestartWindow();
    ASSERT_TRUE(prompt && prompt->isVisible());
    EXPECT_TRUE(page()->maskView()->isVisible());

    const QRect content = AppDelegate::mainContentScreenRect();
    const QRect frame(prompt->mapToGlobal(QPoint(0, 0)), prompt->size());
    EXPECT_EQ(frame.size(), QSize(420, 170));
    EXPECT_LE(std::abs(frame.center().x() - content.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - content.center().y()), 1);
    EXPECT_EQ(prompt->titleLabel()->pos(), QPoint(36, 17));
    EXPECT_EQ(prompt->tipLabel()->geometry().topLeft(), QPoint(36, prompt->titleLabel()->geometry().bottom() + 1 + 9));
    EXPECT_EQ(prompt->tipLabel()->width(), 348);
    for (QOVAButton *button : {prompt->restartNow(), prompt->restartLater()}) {
        EXPECT_EQ(button->height(), 20);
        EXPECT_GE(button->width(), 67);
        EXPECT_GE(button->width(), button->textLength());
        EXPECT_EQ(button->geometry().bottom() + 1, 170 - 18);
    }
    EXPECT_EQ(prompt->restartNow()->x(), 46);
    EXPECT_EQ(prompt->restartLater()->geometry().right() + 1, 420 - 46);
    settledShot("restart_needed_window");

    // The camera refuses the restart, so the page under the window stays
    // there to look at.
    cam.state->failRequest("ops", false, 403, "busy");
    click(prompt->restartNow());
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_FALSE(page()->maskView()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return count(cam, "ops", "PUT") == 1; }));
    EXPECT_EQ(bodies(cam, "ops").last(), QJsonObject({{"action", "restart"}}));
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_REQUEST_REJECTED"); }));
}
