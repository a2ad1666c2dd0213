// What a row on the firmware page reports when the device restarts into its
// new firmware as soon as the last block is in, before the host has heard
// how manifestation went: the version it comes back with decides.
#include "FirmwarePageSupport.h"

#include "QOVAButton.h"
#include "QOVALabel.h"
#include "QOVAMainWindow.h"
#include "QOVANotificationWindow.h"
#include "firmware/ui/QOVAFirmwareStatusView.h"
#include "firmware/ui/QOVAUpgradeFailedTipView.h"
#include "sim/SimDevice.h"

using namespace fwtest;

namespace {

class FirmwareFlashOutcome : public FirmwarePageFixture {};

bool hasToast(AppDelegate *d)
{
    for (QWidget *w : d->mainWindow()->childWindows()) {
        if (qobject_cast<QOVANotificationWindow *>(w))
            return true;
    }
    return false;
}

} // namespace

// Two video bars that leave the bus on the last block: one comes back
// running the offered version and is shown as installed; the other comes
// back with its old firmware and is shown as failed, saying so.
TEST_F(FirmwareFlashOutcome, DeviceRestartingOnTheLastBlockIsJudgedByTheVersionItComesBackWith)
{
    if (m_skip)
        return;
    offer(2, QStringLiteral("1.1.6"));
    const auto took = plugRow(sim::Family::Orbrin, QStringLiteral("OR60"));
    const auto kept = plugRow(sim::Family::Orbrin, QStringLiteral("OR61"));
    const QString oldVersion = kept->firmwareVersion();
    for (const QString &serial : {QStringLiteral("OR60"), QStringLiteral("OR61")}) {
        auto config = dfuOf(serial)->config();
        config.resetOnFinalBlock = true;
        config.keepOldFirmware = serial == QLatin1String("OR61");
        dfuOf(serial)->setConfig(config);
    }
    openPage();
    const QOVAFirmwareModelRef installed = row(QStringLiteral("OR60"));
    const QOVAFirmwareModelRef failed = row(QStringLiteral("OR61"));
    ASSERT_TRUE(waitState(installed, 1));
    ASSERT_TRUE(waitState(failed, 1));
    click(cell(installed)->updateButton());
    click(cell(failed)->updateButton());

    ASSERT_TRUE(waitState(installed, 7))
        << "state " << installed->upgradeState << " "
        << (installed->updateError ? qPrintable(installed->updateError->localizedDescription()) : "");
    EXPECT_EQ(installed->version, QStringLiteral("1.1.6"));
    EXPECT_EQ(took->firmwareVersion(), QStringLiteral("1.1.6"));
    EXPECT_TRUE(cell(installed)->statusView()->isVisible());
    EXPECT_FALSE(cell(installed)->failedView()->isVisible());

    ASSERT_TRUE(waitState(failed, 8));
    ASSERT_TRUE(failed->updateError.has_value());
    EXPECT_EQ(failed->updateError->code(), 0);
    EXPECT_EQ(kept->firmwareVersion(), oldVersion);
    EXPECT_TRUE(cell(failed)->failedView()->isVisible());
    EXPECT_EQ(cell(failed)->failedView()->textLabel()->stringValue(), qtTrId("STRING_UPDATE_NOT_INSTALLED"));
    EXPECT_FALSE(cell(failed)->updateButton()->disabled());
    // Both devices are still there: no disconnect toast.
    spin(100);
    EXPECT_FALSE(hasToast(delegate()));
    EXPECT_TRUE(row(QStringLiteral("OR61")));
    shot(delegate()->mainWindow(), QStringLiteral("firmware_restart_on_last_block"));
}
