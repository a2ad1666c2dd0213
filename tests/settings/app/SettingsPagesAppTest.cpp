// The settings pages on the real application with simulated devices: each
// page reached from the side menu, its values read from the device, a change
// saved and read back after leaving and returning, and its failure path.

#include "SettingsAppTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVAMaskView.h"
#include "QOVAPopUpButton.h"
#include "QOVATextField.h"
#include "QOVAProgressIndicator.h"
#include "settings/QOVAAudioDownloadWindow.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVARestartWindow.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVABluetoothPairMode.h"
#include "settings/QOVAFactoryResetView.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVAOrbrinGeneralView.h"
#include "settings/QOVDeviceRestartWindow.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace settingsapptest;

namespace {

// Types into a field as a user does: the old text selected away first.
void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace

// ------------------------------------------------------------ general page

TEST_F(SettingsAppFixture, GeneralPageSavesNameAndTimeServerAndReadsThemBack)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORG1", "1.3.0.5", "Board Room");
    ASSERT_TRUE(openDevicePage("ORG1"));
    clickTab("STRING_ADMIN_SETTINGS");
    auto *general = waitForPage<QOVAOrbrinGeneralView>("orbrinGeneralView");
    ASSERT_TRUE(general);
    ASSERT_TRUE(waitUntil([&] { return general->deviceNameEditor()->stringValue() == QLatin1String("Board Room"); }));
    EXPECT_TRUE(general->saveButton()->disabled());
    settledShot("settings_app_general_orbrin");

    retype(general->deviceNameEditor(), QStringLiteral("Huddle 2"));
    choose(general->ntpModeButton(), qtTrId("STRING_MANUAL"));
    EXPECT_TRUE(general->saveButton()->disabled());   // manual needs a server
    retype(general->ntpServerTextField(), QStringLiteral("time.example.net"));
    click(general->cameraVividSwitch());
    ASSERT_FALSE(general->saveButton()->disabled());
    click(general->saveButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_TIP_SAVE_SUCCESSED"); }));
    const QJsonObject sent = bodies(bar, "general").last();
    EXPECT_EQ(sent.value("device_name").toString(), QStringLiteral("Huddle 2"));
    EXPECT_EQ(sent.value("ntp_mode").toString(), QStringLiteral("manual"));
    EXPECT_EQ(sent.value("ntp_server").toString(), QStringLiteral("time.example.net"));
    EXPECT_EQ(sent.value("camera_vivid_mode").toString(), QStringLiteral("true"));
    // The new name reaches the side menu and the device list.
    EXPECT_TRUE(waitUntil([&] { return tileOf("ORG1") && page()->model()->productDeviceName == QLatin1String("Huddle 2"); }));

    // The page keeps what it showed: what follows waits for the answer to
    // its new read, or that answer could land after the next choice.
    const QString readLine = QStringLiteral("Get General Information Success!");
    const qsizetype readsBefore = logText().count(readLine);
    leaveAndReturnAdmin("STRING_GENERAL_SETTINGS");
    general = waitForPage<QOVAOrbrinGeneralView>("orbrinGeneralView");
    ASSERT_TRUE(general);
    ASSERT_TRUE(waitUntil([&] { return count(bar, "general", "GET") >= 2; }));
    ASSERT_TRUE(waitUntil([&] { return logText().count(readLine) > readsBefore; }));
    ASSERT_TRUE(waitUntil([&] { return general->deviceNameEditor()->stringValue() == QLatin1String("Huddle 2"); }));
    EXPECT_EQ(general->ntpModeButton()->titleOfSelectedItem(), qtTrId("STRING_MANUAL"));
    EXPECT_EQ(general->ntpServerTextField()->stringValue(), QStringLiteral("time.example.net"));
    EXPECT_TRUE(general->cameraVividSwitch()->checked());

    // Back to Auto: no server is sent even though the hidden field keeps it.
    choose(general->ntpModeButton(), qtTrId("STRING_AUTO"));
    click(general->saveButton());
    ASSERT_TRUE(waitUntil([&] { return bodies(bar, "general").size() == 2; }));
    EXPECT_EQ(bodies(bar, "general").last().value("ntp_mode").toString(), QStringLiteral("auto"));
    EXPECT_EQ(bodies(bar, "general").last().value("ntp_server").toString(), QString());
}

TEST_F(SettingsAppFixture, GeneralSaveFailureToastsByFamilyAndReason)
{
    const struct {
        sim::Family family;
        const char *serial;
        const char *firmware;
        int status;   // a refusal (400) reaches the page as "Reject"
        const char *toast;
    } cases[] = {
        {sim::Family::Vasko, "VAG1", "", 400, "STRING_DEVICE_INVALID"},
        {sim::Family::Vasko, "VAG2", "", 500, "NOTIFICATION_TIP_SAVE_FAILED"},
        {sim::Family::Orbrin, "ORG2", "1.3.0.5", 400, "NOTIFICATION_TIP_SAVE_FAILED"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        SimHandle device = plugDevice(c.family, c.serial, c.firmware, "Cam 1");
        ASSERT_TRUE(openDevicePage(c.serial));
        clickTab("STRING_ADMIN_SETTINGS");
        auto *general = waitForPage<QOVAOrbrinGeneralView>("orbrinGeneralView");
        ASSERT_TRUE(general);
        ASSERT_TRUE(waitUntil([&] { return general->deviceNameEditor()->stringValue() == QLatin1String("Cam 1"); }));
        if (c.family == sim::Family::Vasko)
            settledShot("settings_app_general_vasko");
        device.state->failRequest("general", false, c.status, QStringLiteral("name refused"));
        retype(general->deviceNameEditor(), QStringLiteral("Cam 9"));
        toasts.texts.clear();
        click(general->saveButton());
        ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
        EXPECT_EQ(toasts.texts, QStringList{qtTrId(c.toast)});
        // Nothing was renamed.
        EXPECT_EQ(page()->model()->productDeviceName, QStringLiteral("Cam 1"));
        unplug(c.serial);
    }
}

// --------------------------------------------------------- Bluetooth pages

TEST_F(SettingsAppFixture, BluetoothPageWritesAllFlagsAndReadsThemBack)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORB1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORB1"));
    openAdminEntry("STRING_BLUETOOTH");
    auto *bt = waitForPage<QOVABLEFeatureView>("bleFeatureView");
    ASSERT_TRUE(bt);
    ASSERT_TRUE(waitUntil([&] { return bt->bleSwitch()->checked(); }));   // the device's remote is on
    EXPECT_TRUE(bt->bluetoothSwitch()->checked());

    click(bt->bluetoothSwitch());
    // Switched off: the dependants grey at once.
    EXPECT_FALSE(bt->bleSwitch()->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "bluetooth", "PUT") == 1; }));
    const QJsonObject off = bodies(bar, "bluetooth").last();
    EXPECT_FALSE(off.value("enable").toBool());
    EXPECT_TRUE(off.value("ble_enable").toBool());
    // The spinner gives the switch back after 2 s (scaled).
    ASSERT_TRUE(waitUntil([&] { return bt->bluetoothSwitch()->isVisible() && !bt->indicator()->isVisible(); }));

    // Back on the page, a slow device answers the new read late.
    sim::SimFaults slow;
    slow.replyDelayMs = 300;
    bar.device->setFaults(slow);
    leaveAndReturnAdmin("STRING_BLUETOOTH");
    bt = waitForPage<QOVABLEFeatureView>("bleFeatureView");
    ASSERT_TRUE(waitUntil([&] { return count(bar, "bluetooth", "GET") == 2; }));
    bar.device->setFaults({});
    // The page keeps what it showed before; wait for the answer to the new
    // read, not only for the request.
    ASSERT_TRUE(waitUntil([&] { return logText().count(QStringLiteral("Get Blooth Information Success!")) == 2; }));
    ASSERT_TRUE(waitUntil([&] { return !bt->bluetoothSwitch()->checked(); }));
    EXPECT_FALSE(bt->checkButton()->isEnabled());
    settledShot("settings_app_bluetooth_off");

    // A refused write leaves the page as the user set it.
    bar.state->failRequest("bluetooth", false, 500, "radio busy");
    click(bt->bluetoothSwitch());
    ASSERT_TRUE(waitUntil([&] { return logText().contains("bluetooth enable failure, reason is"); }));
    EXPECT_TRUE(bt->bluetoothSwitch()->checked());
}

TEST_F(SettingsAppFixture, PairModeStartsPairingOnlyWhileBluetoothIsOn)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORP1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORP1"));
    openUserEntry("STRING_BLUETOOTH_MODE");
    auto *pair = waitForPage<QOVABluetoothPairMode>("bluetoothPairModeView");
    ASSERT_TRUE(pair);
    ASSERT_TRUE(waitUntil([&] { return count(bar, "bluetooth", "GET") == 1; }));
    settledShot("settings_app_pair_mode");
    click(pair->startPairButton());
    EXPECT_TRUE(waitUntil([&] { return count(bar, "bluetooth_pair", "PUT") == 1; }));

    // Bluetooth switched off on its page: the pairing page greys Start Pair.
    openAdminEntry("STRING_BLUETOOTH");
    auto *bt = waitForPage<QOVABLEFeatureView>("bleFeatureView");
    ASSERT_TRUE(waitUntil([&] { return count(bar, "bluetooth", "GET") == 2; }));
    click(bt->bluetoothSwitch());
    ASSERT_TRUE(waitUntil([&] { return count(bar, "bluetooth", "PUT") == 1; }));
    openUserEntry("STRING_BLUETOOTH_MODE");
    pair = waitForPage<QOVABluetoothPairMode>("bluetoothPairModeView");
    ASSERT_TRUE(waitUntil([&] { return pair->startPairButton()->disabled(); }));
    click(pair->startPairButton());
    spin(30);
    EXPECT_EQ(count(bar, "bluetooth_pair", "PUT"), 1);
}

// ------------------------------------------------------------ factory reset

namespace {

// Answers the reset confirmation with the button of that text once it runs.
void answerResetAlert(QOVAFactoryResetView *page, const QString &button)
{
    auto *poll = new QTimer(page);
    QObject::connect(poll, &QTimer::timeout, page, [page, button, poll] {
        QMessageBox *alert = page->alert();
        if (!alert || !alert->isVisible())
            return;
        poll->deleteLater();
        for (QAbstractButton *b : alert->buttons())
            if (b->text() == button)
                QTest::mouseClick(b, Qt::LeftButton);
    });
    poll->start(5);
}

} // namespace

TEST_F(SettingsAppFixture, FactoryResetAsksThenMasksTheDeviceUntilItRestarted)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "VAR1");
    ASSERT_TRUE(openDevicePage("VAR1"));
    openAdminEntry("STRING_FACTORY_RESET");
    auto *reset = waitForPage<QOVAFactoryResetView>("factoryResetView");
    ASSERT_TRUE(reset);
    settledShot("settings_app_factory_reset");

    answerResetAlert(reset, qtTrId("STRING_CANCEL"));
    click(reset->restartButton());
    spin(30);
    EXPECT_EQ(count(cam, "ops", "PUT"), 0);
    EXPECT_FALSE(page()->maskView() && page()->maskView()->isVisible());

    // Refused: the mask goes at once and the user is told.
    cam.state->failRequest("ops", false, 403, "not allowed");
    answerResetAlert(reset, qtTrId("STRING_RESET"));
    click(reset->restartButton());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_REQUEST_REJECTED"); }));
    EXPECT_FALSE(page()->maskView()->isVisible());
    EXPECT_FALSE(page()->isResetTimerPending());

    // Accepted: the progress mask is up from the request on, and stays
    // while the device resets and comes back.
    cam.state->clearRequestFailures();
    answerResetAlert(reset, qtTrId("STRING_RESET"));
    click(reset->restartButton());
    EXPECT_TRUE(page()->maskView()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return count(cam, "ops", "PUT") == 2; }));
    EXPECT_EQ(bodies(cam, "ops").last().value("action").toString(), QStringLiteral("reset"));
    ASSERT_TRUE(waitUntil([&] { return !page() || page()->isResetTimerPending(); }));
    // The device restarts; the test ends once it is back.
    spin(100);
    EXPECT_TRUE(waitUntil([&] { return cam.device->isPresent() && listed() == 1; }));
    spin(50);
}

// --------------------------------------------------------------- audio page

TEST_F(SettingsAppFixture, AudioRecordIsWrittenWholeInTheFormOfTheVersion)
{
    const struct {
        const char *serial;
        const char *firmware;
        bool beamFlag;   // the record carries the beam as a flag
    } cases[] = {{"ORA1", "1.0.0.9", true}, {"ORA2", "1.3.0.5", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        SimHandle bar = plugDevice(sim::Family::Orbrin, c.serial, c.firmware);
        ASSERT_TRUE(openDevicePage(c.serial));
        openUserEntry("STRING_AUDIO_SETTINGS");
        auto *audio = waitForPage<QOVAAudioSettingsView>("audioSettingsView");
        ASSERT_TRUE(audio);
        EXPECT_EQ(audio->isBeamForm(), c.beamFlag);
        ASSERT_TRUE(waitUntil([&] { return audio->noiseBlockerSwitch()->checked(); }));
        settledShot(c.beamFlag ? "settings_app_audio_1_0" : "settings_app_audio_fence");

        if (!c.beamFlag) {
            // Stereo on while the beam shows Medium sends "90" with it.
            choose(audio->fenceButton(), qtTrId("STRING_MEDIUM"));
            ASSERT_TRUE(waitUntil([&] { return count(bar, "audio", "PUT") == 1; }));
            EXPECT_EQ(bodies(bar, "audio").last().value("acoustic_beam").toString(), QStringLiteral("90"));
            // One audio write at a time: the next waits for this answer.
            ASSERT_TRUE(waitUntil([&] { return logText().contains("Succeed to set Tarnwall."); }));
        }
        const int before = count(bar, "audio", "PUT");
        click(audio->stereoSwitch());
        ASSERT_TRUE(waitUntil([&] { return count(bar, "audio", "PUT") == before + 1; }));
        const QJsonObject sent = bodies(bar, "audio").last();
        EXPECT_TRUE(sent.value("stereo").toBool());
        EXPECT_TRUE(sent.value("noise_blocker").toBool());
        if (c.beamFlag)
            EXPECT_TRUE(sent.value("acoustic_beam").isBool());
        else
            EXPECT_EQ(sent.value("acoustic_beam").toString(), QStringLiteral("90"));

        // The status label follows the device's answer.
        ASSERT_TRUE(waitUntil([&] { return audio->stereoStatusLabel()->stringValue() == qtTrId("STRING_ON"); }));

        // A refused bass change turns bass back and leaves stereo on.
        bar.state->failRequest("audio", false, 500, "dsp busy");
        const bool bass = audio->bassSwitch()->checked();
        const QString shown = qtTrId(bass ? "STRING_ON" : "STRING_OFF");
        click(audio->bassSwitch());
        ASSERT_TRUE(waitUntil([&] { return audio->bassStatusLabel()->stringValue() == shown; }));
        EXPECT_EQ(audio->bassSwitch()->checked(), bass);
        EXPECT_TRUE(audio->stereoSwitch()->checked());
        if (!c.beamFlag) {
            // A refused width change puts the pop-up back.
            choose(audio->fenceButton(), qtTrId("STRING_NARROW"));
            ASSERT_TRUE(waitUntil([&] { return audio->fenceButton()->titleOfSelectedItem() == qtTrId("STRING_MEDIUM"); }));
            EXPECT_EQ(audio->lastFence(), QStringLiteral("90"));
        }
        bar.state->clearRequestFailures();

        clickTab("STRING_STATUS");
        openUserEntry("STRING_AUDIO_SETTINGS");
        audio = waitForPage<QOVAAudioSettingsView>("audioSettingsView");
        ASSERT_TRUE(waitUntil([&] { return count(bar, "audio", "GET") == 2; }));
        ASSERT_TRUE(waitUntil([&] { return audio->stereoSwitch()->checked(); }));
        if (!c.beamFlag) {
            EXPECT_EQ(audio->fenceButton()->titleOfSelectedItem(), qtTrId("STRING_MEDIUM"));
        }
        unplug(c.serial);
    }
}

// ------------------------------------------------------- miscellaneous page

TEST_F(SettingsAppFixture, MiscellaneousPageByVersion)
{
    const struct {
        const char *serial;
        const char *firmware;
        bool audio;
    } cases[] = {{"VAM1", "V1.3.0.2", true}, {"VAM2", "V1.1.0.2", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.serial);
        SimHandle cam = plugDevice(sim::Family::Vasko, c.serial, c.firmware);
        ASSERT_TRUE(openDevicePage(c.serial));
        openAdminEntry("STRING_MISCELLANEOUS");
        auto *misc = waitForPage<QOVAMiscellaneousView>("miscellaneousView");
        ASSERT_TRUE(misc);
        EXPECT_EQ(misc->hasAudioGroups(), c.audio);
        ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "GET") == 1; }));
        if (c.audio) {
            ASSERT_TRUE(waitUntil([&] { return count(cam, "audio", "GET") == 1; }));
            settledShot("settings_app_misc_v13");
        } else {
            spin(30);
            EXPECT_EQ(count(cam, "audio", "GET"), 0);
            settledShot("settings_app_misc_plain");
        }

        click(misc->compatibleModeSwitch());
        ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "PUT") == 1; }));
        EXPECT_TRUE(bodies(cam, "Miscellaneous").last().value("compatible_mode").toBool());
        EXPECT_FALSE(bodies(cam, "Miscellaneous").last().value("power_injector").toBool());

        if (c.audio) {
            const bool micsOn = misc->intergratedMicrophonesSwitch()->checked();
            click(misc->intergratedMicrophonesSwitch());
            QOVDeviceRestartWindow *prompt = misc->deviceRestartWindow();
            ASSERT_TRUE(prompt && prompt->isVisible());
            EXPECT_TRUE(page()->maskView()->isVisible());
            settledShot("settings_app_restart_needed");
            click(prompt->restartLater());
            EXPECT_FALSE(page()->maskView()->isVisible());
            ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "PUT") == 2; }));
            EXPECT_EQ(bodies(cam, "Miscellaneous").last().value("microphone_enable").toBool(), !micsOn);
            EXPECT_EQ(count(cam, "ops", "PUT"), 0);
        }

        leaveAndReturnAdmin("STRING_MISCELLANEOUS");
        misc = waitForPage<QOVAMiscellaneousView>("miscellaneousView");
        ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "GET") == 2; }));
        ASSERT_TRUE(waitUntil([&] { return misc->compatibleModeSwitch()->checked(); }));
        unplug(c.serial);
    }
}

TEST_F(SettingsAppFixture, MicrophonesRestartNowRestartsTheCamera)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "VAM3", "V1.2.0.1");
    ASSERT_TRUE(openDevicePage("VAM3"));
    openAdminEntry("STRING_MISCELLANEOUS");
    auto *misc = waitForPage<QOVAMiscellaneousView>("miscellaneousView");
    ASSERT_TRUE(waitUntil([&] { return count(cam, "Miscellaneous", "GET") == 1; }));
    cam.state->failRequest("ops", false, 403, "busy");
    click(misc->intergratedMicrophonesSwitch());
    click(misc->deviceRestartWindow()->restartNow());
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_REQUEST_REJECTED"); }));
    EXPECT_EQ(bodies(cam, "ops").size(), 1);
}

// ------------------------------------------------- maintenance operations

TEST_F(SettingsAppFixture, DeviceFilesAreWrittenWholeOrNotAtAll)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORL1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORL1"));
    QTemporaryDir dir;
    const QString log = dir.filePath("ORL1Log.zip");
    page()->logView(nullptr, log);
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_COLLECT_LOG_SUCCESSED"); }));
    EXPECT_GT(QFileInfo(log).size(), 0);

    // The device delivers but the destination refuses: failure, no file.
    toasts.texts.clear();
    const QString nowhere = dir.filePath("missing/folder/ORL1Log.zip");
    page()->logView(nullptr, nowhere);
    ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
    EXPECT_EQ(toasts.texts, QStringList{qtTrId("NOTIFICATION_COLLECT_LOG_ERROR")});
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    toasts.texts.clear();
    page()->getConfigFile(nullptr, nowhere);
    ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
    EXPECT_EQ(toasts.texts, QStringList{qtTrId("NOTIFICATION_EXPORT_CONFIG_ERROR")});
    // An export that works shows nothing; importing it back does.
    toasts.texts.clear();
    const QString config = dir.filePath("ORL1Config.xml");
    page()->getConfigFile(nullptr, config);
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(config).size() > 0; }));
    page()->importConfigFileFromPC(nullptr, config);
    ASSERT_TRUE(waitUntil([&] { return toasts.shown("NOTIFICATION_IMPORT_CONFIG_SUCCESSED"); }));
    EXPECT_EQ(toasts.texts, QStringList{qtTrId("NOTIFICATION_IMPORT_CONFIG_SUCCESSED")});

    // No crash file: the warning, and no file.
    bar.state->setCoredump(std::nullopt);
    toasts.texts.clear();
    const QString crash = dir.filePath("ORL1CrashFile.zip");
    page()->downloadCoredumpLogToPath(crash);
    ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
    EXPECT_EQ(toasts.texts, QStringList{qtTrId("NOTIFICATION_COLLECT_LOG_WARNING")});
    EXPECT_FALSE(QFileInfo::exists(crash));
}

TEST_F(SettingsAppFixture, PasswordChangeFailuresAreAllShown)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORW1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORW1"));
    const struct {
        const char *reason;
        const char *toast;
    } cases[] = {
        {"invalid old password", "NOTIFICATION_TIP_OLD_PWD_ERROR"},
        {"invalid new password", "NOTIFICATION_TIP_NEW_PWD_ERROR"},
        {"password too weak", "NOTIFICATION_TIP_SAVE_FAILED"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        bar.state->clearRequestFailures();
        bar.state->failRequest("admin", false, 400, QLatin1String(c.reason));
        toasts.texts.clear();
        page()->modify(QStringLiteral("old"), QStringLiteral("new"));
        ASSERT_TRUE(waitUntil([&] { return !toasts.texts.isEmpty(); }));
        EXPECT_EQ(toasts.texts, QStringList{qtTrId(c.toast)});
    }
}

// ----------------------------------------------------------- small windows

TEST_F(SettingsAppFixture, PromptWindowsAreCentredOverTheContentAndMaskThePage)
{
    plugDevice(sim::Family::Orbrin, "ORX1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("ORX1"));
    const QRect content = AppDelegate::mainContentScreenRect();

    QOVAAudioDownloadWindow download(420, 170);
    download.showWindow();
    EXPECT_EQ(download.geometry().center(), content.center());
    EXPECT_EQ(download.size(), QSize(420, 170));
    EXPECT_TRUE(download.indicator()->isAnimating());
    EXPECT_TRUE(page()->maskView()->isVisible());
    settledShot("settings_app_audio_download");
    download.orderOut();
    EXPECT_FALSE(download.isVisible());
    EXPECT_FALSE(page()->maskView()->isVisible());

    QOVARestartWindow restart(420, 186);
    restart.showWindow();
    EXPECT_EQ(restart.geometry().center(), content.center());
    EXPECT_TRUE(page()->maskView()->isVisible());
    settledShot("settings_app_restart_prompt");
    restart.orderOut();
    EXPECT_FALSE(page()->maskView()->isVisible());
}
