// The Bluetooth page and the pairing page: every change sends the three
// flags together; the Bluetooth switch hides behind a spinner for 2 s.

#include "PageTestSupport.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAProgressIndicator.h"
#include "models/BloothModel.h"
#include "settings/QOVABLEFeatureView.h"
#include "settings/QOVABluetoothPairMode.h"
#include "platform/TimeScale.h"

#include <QCheckBox>

using namespace settingstest;

namespace {

struct RecordingBloothDelegate : QOVABloothDelegate, QOVABloothAutoPairDelegate {
    QStringList sent;   // "bt,auto,ble" as 0/1
    int fetches = 0;
    int pairs = 0;
    int pairModeQuestions = 0;
    void bluetoothEnable(bool bt, bool autopair, bool ble) override
    {
        sent << QStringLiteral("%1,%2,%3").arg(int(bt)).arg(int(autopair)).arg(int(ble));
    }
    void requestBloothInformation() override { ++fetches; }
    void bluetoothAutoPair() override { ++pairs; }
    void bluetoothEnabled() override { ++pairModeQuestions; }
};

std::shared_ptr<BloothModel> settings(bool enable, bool autopair, bool ble)
{
    auto model = std::make_shared<BloothModel>();
    model->enable = enable;
    model->autopair_enable = autopair;
    model->ble_enable = ble;
    return model;
}

struct BluetoothPage : PageHost<QOVABLEFeatureView> {
    RecordingBloothDelegate delegate;
    BluetoothPage() { page->setDelegate(&delegate); }
    bool spinning() { return page->indicator()->isVisible() && !page->bluetoothSwitch()->isVisible(); }
};

} // namespace

TEST(BluetoothView, AFetchFillsThePageWithoutSending)
{
    BluetoothPage bt;
    bt.grab(QStringLiteral("settings_bluetooth_initial.png"));
    bt.page->handleDisplayViewEvent();
    EXPECT_EQ(bt.delegate.fetches, 1);
    bt.page->bloothInformationStatus(settings(false, true, true));
    EXPECT_FALSE(bt.page->bluetoothSwitch()->checked());
    EXPECT_TRUE(bt.page->checkButton()->isChecked());
    EXPECT_FALSE(bt.page->checkButton()->isEnabled());
    EXPECT_TRUE(bt.page->bleSwitch()->checked());
    EXPECT_FALSE(bt.page->bleSwitch()->isEnabled());
    EXPECT_EQ(bt.page->statusLabel()->stringValue(), qtTrId("STRING_OFF"));
    EXPECT_EQ(bt.page->remoteControStatusLabel()->stringValue(), qtTrId("STRING_ON"));
    EXPECT_TRUE(bt.delegate.sent.isEmpty());
    bt.grab(QStringLiteral("settings_bluetooth_off.png"));
}

// A quarter of real time for the tests that look at the 2 s spinner while it
// turns: it then outlasts any pause of a loaded machine after a click.
class SlowerSpinner {
public:
    SlowerSpinner() : m_saved(platform::timeScale()) { platform::setTimeScale(0.25); }
    ~SlowerSpinner() { platform::setTimeScale(m_saved); }

private:
    double m_saved;
};

TEST(BluetoothView, SwitchingOffGreysAtOnceAndOnOnlyAfterTheSpinner)
{
    // The states while the spinner turns are read right after each click: at
    // a quarter of real time the 2 s spinner outlasts any pause of a loaded
    // machine between the click and the checks.
    SlowerSpinner slower;
    BluetoothPage bt;
    bt.page->bloothInformationStatus(settings(true, false, true));

    click(bt.page->bluetoothSwitch());
    EXPECT_EQ(bt.delegate.sent, QStringList{QStringLiteral("0,0,1")});
    EXPECT_FALSE(bt.page->checkButton()->isEnabled());
    EXPECT_FALSE(bt.page->bleSwitch()->isEnabled());
    EXPECT_TRUE(bt.spinning());
    bt.grab(QStringLiteral("settings_bluetooth_spinner.png"));
    ASSERT_TRUE(waitFor([&] { return !bt.spinning(); }));
    EXPECT_TRUE(bt.page->bluetoothSwitch()->isVisible());
    EXPECT_FALSE(bt.page->bleSwitch()->isEnabled());

    click(bt.page->bluetoothSwitch());
    EXPECT_EQ(bt.delegate.sent.last(), QStringLiteral("1,0,1"));
    EXPECT_EQ(bt.page->statusLabel()->stringValue(), qtTrId("STRING_ON"));
    EXPECT_FALSE(bt.page->bleSwitch()->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !bt.spinning(); }));
    EXPECT_TRUE(bt.page->bleSwitch()->isEnabled());
    EXPECT_TRUE(bt.page->checkButton()->isEnabled());
}

TEST(BluetoothView, LeavingThePageEndsTheSpinner)
{
    SlowerSpinner slower;   // still turning when the check after the click runs
    BluetoothPage bt;
    click(bt.page->bluetoothSwitch());
    ASSERT_TRUE(bt.spinning());
    bt.page->cancelDisplayViewEvent();
    EXPECT_FALSE(bt.spinning());
    EXPECT_FALSE(bt.page->indicator()->isAnimating());
}

TEST(BluetoothView, TheCheckBoxAndTheRemoteSwitchSendAllThreeFlags)
{
    BluetoothPage bt;
    bt.page->bloothInformationStatus(settings(true, false, true));
    click(bt.page->checkButton());
    click(bt.page->bleSwitch());
    EXPECT_EQ(bt.delegate.sent, (QStringList{QStringLiteral("1,1,1"), QStringLiteral("1,1,0")}));
    EXPECT_EQ(bt.page->remoteControStatusLabel()->stringValue(), qtTrId("STRING_OFF"));
}

TEST(BluetoothPairMode, StartPairFollowsTheBluetoothState)
{
    PageHost<QOVABluetoothPairMode> pair;
    RecordingBloothDelegate delegate;
    pair.page->setAutoPairDelegate(&delegate);
    pair.grab(QStringLiteral("settings_pair_mode.png"));
    pair.page->handleDisplayViewEvent();
    EXPECT_EQ(delegate.pairModeQuestions, 1);
    EXPECT_GE(pair.page->startPairButton()->width(), 106);

    pair.page->updatePairMode(false);
    click(pair.page->startPairButton());
    EXPECT_EQ(delegate.pairs, 0);
    pair.page->updatePairMode(true);
    click(pair.page->startPairButton());
    EXPECT_EQ(delegate.pairs, 1);
}
