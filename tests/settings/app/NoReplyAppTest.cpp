// A device that stops answering, on the real application: every request ends
// after its wait, and the page says so instead of showing values it never
// read as if they were the device's.

#include "SettingsAppTestSupport.h"

#include "QOVAButton.h"
#include "QOVAPopUpButton.h"
#include "QOVAScrollView.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVATextField.h"
#include "camera/QOVACameraSettingsView.h"
#include "camera/QOVACameraTrackingView.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVALabFeatureView.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVAOrbrinGeneralView.h"

#include <QWheelEvent>

#include <functional>
#include <optional>

using namespace settingsapptest;

TEST_F(SettingsAppFixture, ADeviceThatNeverAnswersEndsInTheFailureThePageShows)
{
    enum class Step { SaveGeneral, OpenAdmin, OpenUser };
    const struct {
        const char *name;
        sim::Family family;
        const char *serial;
        Step step;
        const char *entry;    // the side-menu row opened while the device is silent
        const char *getter;
        const char *toast;
    } cases[] = {
        {"General Save", sim::Family::Orbrin, "ORNR1", Step::SaveGeneral, nullptr, "orbrinGeneralView",
         "NOTIFICATION_TIP_SAVE_FAILED"},
        {"General opened, video bar", sim::Family::Orbrin, "ORNR2", Step::OpenAdmin, "STRING_GENERAL_SETTINGS",
         "orbrinGeneralView", "NOTIFICATION_TIP_READ_FAILED"},
        {"General opened, network camera", sim::Family::Vasko, "VANR1", Step::OpenAdmin,
         "STRING_GENERAL_SETTINGS", "orbrinGeneralView", "NOTIFICATION_TIP_READ_FAILED"},
        {"Bluetooth opened", sim::Family::Orbrin, "ORNR3", Step::OpenAdmin, "STRING_BLUETOOTH", "bleFeatureView",
         "NOTIFICATION_TIP_READ_FAILED"},
        {"Audio opened", sim::Family::Orbrin, "ORNR4", Step::OpenUser, "STRING_AUDIO_SETTINGS",
         "audioSettingsView", "NOTIFICATION_TIP_READ_FAILED"},
    };
    sim::SimFaults silent;
    silent.noReply = true;
    for (const auto &c : cases) {
        // While the device is silent, requests wait the application's own
        // ordinary time (10 s, scaled).
        std::optional<ScopedReplyWait> ordinaryWait;
        SCOPED_TRACE(c.name);
        SimHandle device = plugDevice(c.family, QLatin1String(c.serial),
                                      c.family == sim::Family::Orbrin ? QStringLiteral("1.3.0.5") : QString(),
                                      "Cam 1");
        ASSERT_TRUE(openDevicePage(QLatin1String(c.serial)));
        if (c.step == Step::SaveGeneral) {
            clickTab("STRING_ADMIN_SETTINGS");
            auto *general = waitForPage<QOVAOrbrinGeneralView>(c.getter);
            ASSERT_TRUE(general);
            ASSERT_TRUE(waitUntil([&] { return general->isReadFromDevice(); }));
            device.device->setFaults(silent);
            ordinaryWait.emplace(QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
            toasts.texts.clear();
            general->deviceNameEditor()->setFocus();
            QTest::keyClicks(general->deviceNameEditor(), QStringLiteral("2"));
            ASSERT_FALSE(general->saveButton()->disabled());
            click(general->saveButton());
        } else if (c.step == Step::OpenAdmin) {
            // The administrator group opens while the device still answers
            // (it asks for the password state first); the page is opened
            // from another one of the group once it has gone silent.
            openAdminEntry("STRING_GENERAL_SETTINGS");
            ASSERT_TRUE(waitForPage<QOVAOrbrinGeneralView>("orbrinGeneralView"));
            openAdminEntry("STRING_FACTORY_RESET");
            ASSERT_TRUE(waitForPage<QOVADisplayBaseView>("factoryResetView"));
            device.device->setFaults(silent);
            ordinaryWait.emplace(QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
            toasts.texts.clear();
            openAdminEntry(c.entry);
            ASSERT_TRUE(waitForPage<QOVADisplayBaseView>(c.getter));
        } else {
            device.device->setFaults(silent);
            ordinaryWait.emplace(QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
            toasts.texts.clear();
            openUserEntry(c.entry);
            ASSERT_TRUE(waitForPage<QOVADisplayBaseView>(c.getter));
        }
        ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
        EXPECT_EQ(toasts.texts, QStringList{qtTrId(c.toast)});
        if (c.step == Step::OpenAdmin && QLatin1String(c.getter) == QLatin1String("orbrinGeneralView")) {
            // Nothing read this time, nothing to save: typing does not offer
            // Save.
            auto *general = waitForPage<QOVAOrbrinGeneralView>(c.getter);
            ASSERT_TRUE(general);
            EXPECT_FALSE(general->isReadFromDevice());
            EXPECT_TRUE(general->saveButton()->disabled());
            general->deviceNameEditor()->setFocus();
            QTest::keyClicks(general->deviceNameEditor(), QStringLiteral("2"));
            EXPECT_TRUE(general->saveButton()->disabled());
            settledShot(c.family == sim::Family::Orbrin ? "no_reply_general_orbrin" : "no_reply_general_vasko");
        }
        ordinaryWait.reset();
        device.device->clearFaults();
        unplug(QLatin1String(c.serial));
    }
}

// Pages that ask or write several things at once: a silent device is said
// once per showing however many of the page's reads fail, once for a change
// however many writes it takes, and the changed control shows again what the
// device had.
TEST_F(SettingsAppFixture, PagesOfSeveralRequestsSayASilentDeviceOnce)
{
    auto logged = [this](const char *line) { return int(logText().count(QLatin1String(line))); };
    auto openAdmin = [this](const char *key) {
        if (!entryCell(key))
            clickTab("STRING_ADMIN_SETTINGS");
        ASSERT_TRUE(waitUntil([&] { return entryCell(key) != nullptr; })) << key;
        if (QLatin1String(key) == QLatin1String("STRING_LAB_FEATURE")) {
            // The last row, below what the menu shows at first.
            QWidget *viewport = menu()->mainScrollView()->viewport();
            const QPointF at = viewport->rect().center();
            QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(viewport, &wheel);
        }
        clickEntry(key);
    };
    auto tracking = [this] { return page()->pageAs<QOVACameraTrackingView>("cameraTrackingView"); };
    auto lab = [this] { return page()->pageAs<QOVALabFeatureView>("labFeatureView"); };
    auto camera = [this] { return page()->pageAs<QOVACameraSettingsView>("cameraSettingsView"); };
    // What the changed control showed from the device before the change.
    QString zoomBefore, smoothBefore;
    bool switchBefore = false;

    const struct {
        const char *name;
        sim::Family family;
        const char *serial;
        const char *getter;
        std::function<void()> open;
        const char *opened;   // the log line of the page's last answered read; none: opened while silent
        std::function<void()> change;   // made while silent
        std::function<bool()> putBack;
        const char *lastFailure;   // the log line of the last request that fails
        const char *toast;
    } cases[] = {
        {"Tracking opened", sim::Family::Orbrin, "ORSL1", "cameraTrackingView",
         [&] { openAdmin("STRING_CAMERA_TRACKING"); }, nullptr, nullptr, nullptr,
         "Get Tracking Frame info Failure", "NOTIFICATION_TIP_READ_FAILED"},
        {"Lab features opened", sim::Family::Orbrin, "ORSL2", "labFeatureView",
         [&] { openAdmin("STRING_LAB_FEATURE"); }, nullptr, nullptr, nullptr,
         "Request Lecture Mode Status info Failure", "NOTIFICATION_TIP_READ_FAILED"},
        {"Camera page opened, video bar", sim::Family::Orbrin, "ORSL3", "cameraSettingsView",
         [&] { clickTab("STRING_USER_SETTINGS"); }, nullptr, nullptr, nullptr,
         "Get auto-tracking settings failure", "NOTIFICATION_TIP_READ_FAILED"},
        {"Camera page opened, network camera", sim::Family::Vasko, "VASL1", "cameraSettingsView",
         [&] { clickTab("STRING_USER_SETTINGS"); }, nullptr, nullptr, nullptr,
         "Get Camera Extension Feature Status failure", "NOTIFICATION_TIP_READ_FAILED"},
        {"Tracking saved", sim::Family::Orbrin, "ORSL4", "cameraTrackingView",
         [&] { openAdmin("STRING_CAMERA_TRACKING"); }, "Get Tracking Frame Success!",
         [&] {
             QOVACameraTrackingView *t = tracking();
             zoomBefore = t->maximumZoomButton()->titleOfSelectedItem();
             smoothBefore = t->smoothTrackingButton()->titleOfSelectedItem();
             choose(t->maximumZoomButton(), zoomBefore == QLatin1String("4x") ? "2x" : "4x");
             choose(t->smoothTrackingButton(), smoothBefore == qtTrId("STRING_CUT") ? qtTrId("STRING_AUTO_PAN")
                                                                                  : qtTrId("STRING_CUT"));
             ASSERT_NE(t->maximumZoomButton()->titleOfSelectedItem(), zoomBefore);
             ASSERT_NE(t->smoothTrackingButton()->titleOfSelectedItem(), smoothBefore);
             click(t->saveButton());
         },
         [&] {
             return tracking()->maximumZoomButton()->titleOfSelectedItem() == zoomBefore
                    && tracking()->smoothTrackingButton()->titleOfSelectedItem() == smoothBefore;
         },
         "Set SmoothTracking Status info Failure", "NOTIFICATION_TIP_SAVE_FAILED"},
        {"Lab switch flipped", sim::Family::Orbrin, "ORSL5", "labFeatureView",
         [&] { openAdmin("STRING_LAB_FEATURE"); }, "Get Lecture Mode Success!",
         [&] {
             switchBefore = lab()->conversationModeSwitch()->checked();
             click(lab()->conversationModeSwitch());
         },
         [&] { return lab()->conversationModeSwitch()->checked() == switchBefore; },
         // The device is asked again after the failed write; that read fails too.
         "Request Conversation Mode Status info Failure", "NOTIFICATION_TIP_SAVE_FAILED"},
        {"Camera feature switch flipped", sim::Family::Vasko, "VASL2", "cameraSettingsView",
         [&] { clickTab("STRING_USER_SETTINGS"); }, "Succeed to get Camera Extension Feature Status!",
         [&] {
             switchBefore = camera()->skinEnhSwitch()->checked();
             click(camera()->skinEnhSwitch());
         },
         [&] { return camera()->skinEnhSwitch()->checked() == switchBefore; },
         "Set Skin Enhancement Status failure", "NOTIFICATION_TIP_SAVE_FAILED"},
    };
    sim::SimFaults silent;
    silent.noReply = true;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<ScopedReplyWait> ordinaryWait;
        SimHandle device = plugDevice(c.family, QLatin1String(c.serial),
                                      c.family == sim::Family::Orbrin ? QStringLiteral("1.3.0.5") : QString(),
                                      "Cam 1");
        ASSERT_TRUE(openDevicePage(QLatin1String(c.serial)));
        if (QLatin1String(c.getter) != QLatin1String("cameraSettingsView")) {
            // The administrator group opens while the device still answers
            // (it asks for the password state first).
            openAdminEntry("STRING_GENERAL_SETTINGS");
            auto *general = waitForPage<QOVAOrbrinGeneralView>("orbrinGeneralView");
            ASSERT_TRUE(general);
            ASSERT_TRUE(waitUntil([&] { return general->isReadFromDevice(); }));
            openAdminEntry("STRING_FACTORY_RESET");
            ASSERT_TRUE(waitForPage<QOVADisplayBaseView>("factoryResetView"));
        }
        if (c.opened) {
            const int before = logged(c.opened);
            c.open();
            ASSERT_TRUE(waitForPage<QOVADisplayBaseView>(c.getter));
            ASSERT_TRUE(waitUntil([&] { return logged(c.opened) == before + 1; }));
        }
        device.device->setFaults(silent);
        ordinaryWait.emplace(QOVAUSBDeviceHIDInterface::kDefaultReplyWait);
        const int failedBefore = logged(c.lastFailure);
        toasts.texts.clear();
        if (c.opened)
            c.change();
        else
            c.open();
        ASSERT_TRUE(waitForPage<QOVADisplayBaseView>(c.getter));
        ASSERT_TRUE(waitUntil([&] { return logged(c.lastFailure) == failedBefore + 1; }));
        EXPECT_EQ(toasts.texts, QStringList{qtTrId(c.toast)});
        if (c.putBack) {
            EXPECT_TRUE(c.putBack());
        }
        ordinaryWait.reset();
        device.device->clearFaults();
        unplug(QLatin1String(c.serial));
    }
}
