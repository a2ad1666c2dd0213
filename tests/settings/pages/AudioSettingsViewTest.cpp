// The audio settings page: its rows by firmware version, the beam-width
// pop-up and its device values, and what each switch hands over.

#include "PageTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVAPopUpButton.h"
#include "settings/QOVAAudioSettingsView.h"
#include "settings/QOVARestartWindow.h"

using namespace settingstest;

namespace {

struct RecordingAudioDelegate : QOVAAudioSettingsDelegate {
    QStringList calls;
    void setNoiseBlockerEnable(bool on) override { calls << QStringLiteral("noise %1").arg(on); }
    void setAcousticBeamEnable(bool on) override { calls << QStringLiteral("beam %1").arg(on); }
    void setOrbrinTarnwallFrom(const QString &from, const QString &to) override
    {
        calls << QStringLiteral("fence %1>%2").arg(from, to);
    }
    void setStereoEnable(bool on) override { calls << QStringLiteral("stereo %1").arg(on); }
    void setBassEnable(bool on) override { calls << QStringLiteral("bass %1").arg(on); }
    void resetBassEnable(bool on) override { calls << QStringLiteral("reset bass %1").arg(on); }
    void getAudioSettingsStatus() override { calls << QStringLiteral("get"); }
    void restartDevice() override { calls << QStringLiteral("restart"); }
};

struct AudioPage : PageHost<QOVAAudioSettingsView> {
    RecordingAudioDelegate delegate;
    AudioPage() { page->setDelegate(&delegate); }
    void chooseFence(const char *key)
    {
        choosePopUpItem(page->fenceButton(), qtTrId(key));
    }
};

} // namespace

TEST(AudioSettingsView, OnlyVersionOneZeroHasTheBeamSwitch)
{
    const struct {
        const char *version;
        bool beamSwitch;
    } cases[] = {{"1.0", true}, {"1.1", false}, {"1.0.1", false}, {"V1.0", false}, {"", false}, {"1.4", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.version);
        setVersion(QLatin1String(c.version));
        AudioPage audio;
        EXPECT_EQ(audio.page->isBeamForm(), c.beamSwitch);
        EXPECT_EQ(audio.page->acousticBeamSwitch() != nullptr, c.beamSwitch);
        EXPECT_EQ(audio.page->fenceButton() != nullptr, !c.beamSwitch);
        EXPECT_FALSE(audio.page->stereoSFBRow()->isVisible());
        EXPECT_EQ(audio.page->lastFence(), QStringLiteral("false"));
        if (c.beamSwitch) {
            // Rows follow one another without gaps.
            EXPECT_EQ(audio.page->bassSwitch()->y() - audio.page->noiseBlockerSwitch()->y(), 3 * 36);
            audio.grab(QStringLiteral("settings_audio_1_0.png"));
        } else {
            EXPECT_EQ(audio.page->bassSwitch()->y() - audio.page->noiseBlockerSwitch()->y(), 2 * 36);
            EXPECT_EQ(audio.page->fenceImageView()->size(), QSize(184, 120));
            audio.grab(QStringLiteral("settings_audio_fence.png"));
        }
    }
}

TEST(AudioSettingsView, BeamWidthValuesInBothDirections)
{
    setVersion(QStringLiteral("1.2"));
    AudioPage audio;
    // The first choice reports "false" as the previous value.
    audio.chooseFence("STRING_MEDIUM");
    EXPECT_EQ(audio.delegate.calls.last(), QStringLiteral("fence false>90"));
    EXPECT_EQ(audio.page->fenceImageView()->imageName(), QStringLiteral("Acoustic-medium"));

    // "true" from the device means Wide.
    audio.page->updateOrbrinNoiseBlockerSwitch(true, QStringLiteral("true"), false, true);
    EXPECT_EQ(audio.page->fenceButton()->titleOfSelectedItem(), qtTrId("STRING_WIDE"));
    EXPECT_EQ(audio.page->fenceImageView()->imageName(), QStringLiteral("Acoustic-wide"));
    EXPECT_EQ(audio.page->lastFence(), QStringLiteral("120"));
    EXPECT_TRUE(audio.page->noiseBlockerSwitch()->checked());
    EXPECT_TRUE(audio.page->bassSwitch()->checked());
    EXPECT_EQ(audio.page->bassStatusLabel()->stringValue(), qtTrId("STRING_ON"));
    audio.chooseFence("STRING_NARROW");
    EXPECT_EQ(audio.delegate.calls.last(), QStringLiteral("fence 120>60"));
    EXPECT_EQ(audio.page->lastFence(), QStringLiteral("60"));

    // A value outside the table leaves the pop-up and picture and is kept.
    audio.page->updateOrbrinNoiseBlockerSwitch(false, QStringLiteral("45"), false, false);
    EXPECT_EQ(audio.page->fenceButton()->titleOfSelectedItem(), qtTrId("STRING_NARROW"));
    EXPECT_EQ(audio.page->fenceImageView()->imageName(), QStringLiteral("Acoustic-narrow"));
    EXPECT_EQ(audio.page->lastFence(), QStringLiteral("45"));
    EXPECT_EQ(audio.delegate.calls.size(), 2);   // filling sends nothing
}

TEST(AudioSettingsView, SwitchesHandTheirNewStateOver)
{
    setVersion(QStringLiteral("1.0"));
    AudioPage audio;
    audio.page->handleDisplayViewEvent();
    audio.page->updateNoiseBlockerSwitch(false, true, false, false);
    EXPECT_TRUE(audio.page->acousticBeamSwitch()->checked());
    click(audio.page->noiseBlockerSwitch());
    click(audio.page->acousticBeamSwitch());
    click(audio.page->stereoSwitch());
    click(audio.page->bassSwitch());
    EXPECT_EQ(audio.delegate.calls, (QStringList{"get", "noise 1", "beam 0", "stereo 1", "bass 1"}));
    // Only bass shows its new state before the device answers.
    EXPECT_EQ(audio.page->stereoStatusLabel()->stringValue(), qtTrId("STRING_OFF"));
    EXPECT_EQ(audio.page->bassStatusLabel()->stringValue(), qtTrId("STRING_ON"));
}

TEST(AudioSettingsView, RestartPromptCancelPutsBassBack)
{
    setVersion(QStringLiteral("1.3"));
    AudioPage audio;
    click(audio.page->bassSwitch());
    audio.page->showRestartWindow();
    QOVARestartWindow *prompt = audio.page->restartWindow();
    ASSERT_TRUE(prompt && prompt->isVisible());
    EXPECT_EQ(prompt->size(), QSize(420, 186));
    prompt->grab().save(QDir::temp().filePath(QStringLiteral("settings_restart_prompt.png")));
    click(prompt->cancelButton());
    EXPECT_EQ(audio.delegate.calls.last(), QStringLiteral("reset bass 0"));
    EXPECT_EQ(audio.page->bassStatusLabel()->stringValue(), qtTrId("STRING_OFF"));
    EXPECT_FALSE(prompt->isVisible());

    audio.page->showRestartWindow();
    click(audio.page->restartWindow()->restartButton());
    EXPECT_EQ(audio.delegate.calls.last(), QStringLiteral("restart"));
    EXPECT_FALSE(audio.page->restartWindow()->isVisible());
}

TEST(RestartWindow, ButtonsAreAtLeast67WideAndDoNotCloseTheWindow)
{
    installTexts();
    QOVARestartWindow prompt(420, 186);
    prompt.showWindow();
    EXPECT_EQ(prompt.restartButton()->width(), std::max(67, int(std::ceil(prompt.restartButton()->textLength()))));
    EXPECT_EQ(prompt.restartButton()->geometry().right() + 1, qRound(420 - 20.5));
    EXPECT_EQ(prompt.cancelButton()->geometry().right() + 1, qRound(prompt.restartButton()->x() - 15.5));
    // Without a delegate the buttons do nothing.
    click(prompt.restartButton());
    click(prompt.cancelButton());
    EXPECT_TRUE(prompt.isVisible());
}
