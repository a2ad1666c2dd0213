// The miscellaneous page of the network camera: its groups by firmware
// version, the two requests on showing, and the microphones' restart prompt.

#include "PageTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "models/MiscellaneousModel.h"
#include "settings/QOVAMiscellaneousView.h"
#include "settings/QOVDeviceRestartWindow.h"

#include <QJsonValue>

using namespace settingstest;

namespace {

struct RecordingMiscDelegate : QOVAMiscellaneousViewDelegate {
    QStringList calls;
    void getMiscellaneousInformation() override { calls << QStringLiteral("get"); }
    void setMiscellaneousStatus(bool power, bool compatible) override
    {
        calls << QStringLiteral("misc %1 %2").arg(power).arg(compatible);
    }
    void setIntegratedMicrophones(bool on) override { calls << QStringLiteral("mics %1").arg(on); }
    void getAudioStereo() override { calls << QStringLiteral("get stereo"); }
    void setAudioStereo(bool on) override { calls << QStringLiteral("stereo %1").arg(on); }
    void sendDeviceRestart() override { calls << QStringLiteral("restart"); }
};

struct MiscPage : PageHost<QOVAMiscellaneousView> {
    RecordingMiscDelegate delegate;
    MiscPage() { page->setMiscellaneousDelegate(&delegate); }
};

std::shared_ptr<MiscellaneousModel> reply(bool compatible, std::optional<QJsonValue> microphones)
{
    auto model = std::make_shared<MiscellaneousModel>();
    model->compatible_mode = compatible;
    model->power_injector = true;
    model->microphone_enable = std::move(microphones);
    return model;
}

} // namespace

TEST(MiscellaneousView, AudioGroupsAndTheStereoRequestOnlyOnV12AndV13)
{
    const struct {
        const char *version;
        bool audio;
    } cases[] = {{"V1.2", true}, {"V1.3", true}, {"1.2", false}, {"V1.4", false}, {"", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        setVersion(QLatin1String(c.version));
        MiscPage misc;
        EXPECT_EQ(misc.page->hasAudioGroups(), c.audio);
        misc.page->handleDisplayViewEvent();
        EXPECT_EQ(misc.delegate.calls, QStringList{QStringLiteral("get")});   // stereo waits 20 ms
        if (c.audio) {
            ASSERT_TRUE(waitFor([&] { return misc.delegate.calls.size() == 2; }));
            EXPECT_EQ(misc.delegate.calls.last(), QStringLiteral("get stereo"));
            misc.grab(QStringLiteral("settings_misc_v13.png"));
        } else {
            QTest::qWait(50);
            EXPECT_EQ(misc.delegate.calls.size(), 1);
            misc.grab(QStringLiteral("settings_misc_plain.png"));
        }
    }
}

TEST(MiscellaneousView, LeavingThePageDropsThePendingStereoRequest)
{
    setVersion(QStringLiteral("V1.3"));
    MiscPage misc;
    misc.page->handleDisplayViewEvent();
    misc.page->cancelDisplayViewEvent();
    QTest::qWait(50);
    EXPECT_EQ(misc.delegate.calls, QStringList{QStringLiteral("get")});
}

TEST(MiscellaneousView, RepliesFillThePageAndStereoOnlyWhileMicrophonesAreOn)
{
    setVersion(QStringLiteral("V1.2"));
    MiscPage misc;
    misc.page->updateMiscellaneousView(reply(true, QJsonValue(true)));
    EXPECT_TRUE(misc.page->compatibleModeSwitch()->checked());
    EXPECT_EQ(misc.page->compatibleModeReminderLabel()->stringValue(), qtTrId("STRING_ON"));
    EXPECT_TRUE(misc.page->intergratedMicrophonesSwitch()->checked());
    EXPECT_TRUE(misc.page->audioStereoSwitch()->isEnabled());
    misc.page->updateAudoStereoView(true);
    EXPECT_TRUE(misc.page->audioStereoSwitch()->checked());

    // No microphone_enable: off, and stereo greyed; a stereo reply is dropped.
    misc.page->updateMiscellaneousView(reply(false, std::nullopt));
    EXPECT_FALSE(misc.page->intergratedMicrophonesSwitch()->checked());
    EXPECT_FALSE(misc.page->audioStereoSwitch()->isEnabled());
    misc.page->updateAudoStereoView(false);
    EXPECT_TRUE(misc.page->audioStereoSwitch()->checked());
    // Numbers and texts count as flags too.
    misc.page->updateMiscellaneousView(reply(false, QJsonValue(1)));
    EXPECT_TRUE(misc.page->intergratedMicrophonesSwitch()->checked());
    misc.page->updateMiscellaneousView(reply(false, QJsonValue(QStringLiteral("false"))));
    EXPECT_FALSE(misc.page->intergratedMicrophonesSwitch()->checked());
    EXPECT_TRUE(misc.delegate.calls.isEmpty());
}

TEST(MiscellaneousView, CompatibleModeSendsPowerInjectorOff)
{
    setVersion(QStringLiteral("V1.2"));
    MiscPage misc;
    misc.page->updateMiscellaneousView(reply(false, QJsonValue(true)));
    click(misc.page->compatibleModeSwitch());
    EXPECT_EQ(misc.delegate.calls, QStringList{QStringLiteral("misc 0 1")});
}

TEST(MiscellaneousView, MicrophonesAskForARestartEveryTime)
{
    setVersion(QStringLiteral("V1.3"));
    MiscPage misc;
    misc.page->updateMiscellaneousView(reply(false, QJsonValue(true)));

    click(misc.page->intergratedMicrophonesSwitch());
    EXPECT_EQ(misc.delegate.calls, QStringList{QStringLiteral("mics 0")});
    EXPECT_FALSE(misc.page->audioStereoSwitch()->isEnabled());
    QPointer<QOVDeviceRestartWindow> first = misc.page->deviceRestartWindow();
    ASSERT_TRUE(first && first->isVisible());
    EXPECT_EQ(first->size(), QSize(420, 170));
    first->grab().save(QDir::temp().filePath(QStringLiteral("settings_restart_needed.png")));
    click(first->restartLater());
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(misc.delegate.calls.size(), 1);

    click(misc.page->intergratedMicrophonesSwitch());
    EXPECT_TRUE(misc.page->audioStereoSwitch()->isEnabled());
    QOVDeviceRestartWindow *second = misc.page->deviceRestartWindow();
    ASSERT_TRUE(second && second != first);
    click(second->restartNow());
    EXPECT_EQ(misc.delegate.calls, (QStringList{"mics 0", "mics 1", "restart"}));
    EXPECT_FALSE(second->isVisible());

    click(misc.page->audioStereoSwitch());
    EXPECT_EQ(misc.delegate.calls.last(), QStringLiteral("stereo 1"));
}
