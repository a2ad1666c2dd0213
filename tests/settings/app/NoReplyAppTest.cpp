// A device that stops answering, on the real application: every request ends
// after its wait, and the page says so instead of showing values it never
// read as if they were the device's.

#include "SettingsAppTestSupport.h"

#include "QOVAButton.h"
#include "QOVAUSBDeviceHIDInterface.h"
#include "QOVATextField.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVAOrbrinGeneralView.h"

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
