// What a row on the firmware page reports when the device restarts into its
// new firmware as soon as the last block is in, before the host has heard
// how manifestation went: the version it comes back with decides.
#include "FirmwarePageSupport.h"

#include "QOVAButton.h"
#include "QOVAIOManager.h"
#include "QOVALabel.h"
#include "QOVAMainWindow.h"
#include "QOVANotificationWindow.h"
#include "firmware/ui/QOVAFirmwareStatusView.h"
#include "firmware/ui/QOVAManualUpdateWindow.h"
#include "firmware/ui/QOVAOpenPanel.h"
#include "firmware/ui/QOVAUpgradeFailedTipView.h"
#include "sim/SimCommands.h"
#include "sim/SimDevice.h"
#include "support/DfuFileMaker.h"

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

// What orvalinde-simctl would send for this fault.
void simFault(const QString &serial, const char *kind)
{
    const sim::SimCommandResult result =
        sim::runSimCommand(*bus(), {QStringLiteral("fault"), serial, QLatin1String(kind)});
    ASSERT_TRUE(result.ok) << qPrintable(result.lines.join(QLatin1Char(' ')));
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

// A flash that ends the normal way (manifestation, then the device back in
// run mode) is judged by the version the device reports too. A device of
// each family that restarts with its old firmware is shown as failed, keeps
// its version and is offered the update again; a device that comes back
// with another version than the one offered shows the version it reports.
TEST_F(FirmwareFlashOutcome, NormalFlashIsJudgedByTheVersionTheDeviceComesBackWith)
{
    if (m_skip)
        return;
    offer(2, QStringLiteral("1.1.6"));
    offer(4, QStringLiteral("1.3.2-7"));
    offer(1, QStringLiteral("12.0.4"));
    struct Kept {
        sim::Family family;
        QString serial;
        std::shared_ptr<sim::SimDevice> device;
        QString oldVersion;
    };
    std::vector<Kept> kept = {{sim::Family::Orbrin, QStringLiteral("OR70"), {}, {}},
                              {sim::Family::Vasko, QStringLiteral("VS71.01"), {}, {}},
                              {sim::Family::Pirok, QStringLiteral("PK72"), {}, {}}};
    for (Kept &k : kept) {
        k.device = plugRow(k.family, k.serial);
        k.oldVersion = k.device->firmwareVersion();
        simFault(k.serial, "dfu-keep-old-firmware");
        k.serial = k.serial.section(QLatin1Char('.'), 0, 0);
    }
    // Takes the package but runs 1.1.7 afterwards.
    const auto other = plugRow(sim::Family::Orbrin, QStringLiteral("OR73"));
    auto config = dfuOf(QStringLiteral("OR73"))->config();
    config.versionAfterUpdate = QStringLiteral("1.1.7");
    dfuOf(QStringLiteral("OR73"))->setConfig(config);
    openPage();

    std::vector<QOVAFirmwareModelRef> rows;
    for (const Kept &k : kept)
        rows.push_back(row(k.serial));
    const QOVAFirmwareModelRef newer = row(QStringLiteral("OR73"));
    for (const QOVAFirmwareModelRef &r : rows) {
        ASSERT_TRUE(waitState(r, 1)) << qPrintable(r->serialNumber);
        click(cell(r)->updateButton());
    }
    ASSERT_TRUE(waitState(newer, 1));
    click(cell(newer)->updateButton());

    for (size_t i = 0; i < kept.size(); ++i) {
        const QOVAFirmwareModelRef &r = rows[i];
        SCOPED_TRACE(qPrintable(r->serialNumber));
        ASSERT_TRUE(waitState(r, 8)) << "state " << r->upgradeState;
        ASSERT_TRUE(r->updateError.has_value());
        EXPECT_EQ(r->updateError->code(), 0);
        EXPECT_EQ(r->updateError->localizedDescription(), qtTrId("STRING_UPDATE_NOT_INSTALLED"));
        // The network camera's row has its own failure tip.
        EXPECT_EQ(cell(r)->failedView()->textLabel()->stringValue(),
                  qtTrId(kept[i].family == sim::Family::Vasko ? "STRING_VASKO_DFU_TIP" : "STRING_UPDATE_NOT_INSTALLED"));
        EXPECT_EQ(kept[i].device->firmwareVersion(), kept[i].oldVersion);
        EXPECT_EQ(r->version, kept[i].oldVersion);
        EXPECT_FALSE(cell(r)->updateButton()->disabled());
        EXPECT_TRUE(row(kept[i].serial));
    }

    ASSERT_TRUE(waitState(newer, 7));
    EXPECT_EQ(other->firmwareVersion(), QStringLiteral("1.1.7"));
    EXPECT_EQ(newer->version, QStringLiteral("1.1.7"));
    EXPECT_TRUE(cell(newer)->statusView()->isVisible());
    shot(delegate()->mainWindow(), QStringLiteral("firmware_keep_old_firmware"));
}

// A device that takes the last block and then hangs in DFU mode, answering
// nothing, never left the bus: the update fails at once, without the
// "disconnected" toast, and the device stays listed with its local-file
// update, the way to flash it again.
TEST_F(FirmwareFlashOutcome, DeviceHangingInDfuModeAfterTheLastBlockStaysListed)
{
    if (m_skip)
        return;
    offer(1, QStringLiteral("12.0.4"));
    const auto device = plugRow(sim::Family::Pirok, QStringLiteral("PK80"));
    simFault(QStringLiteral("PK80"), "dfu-hang-on-final-block");
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("PK80"));
    ASSERT_TRUE(waitState(r, 1));
    click(cell(r)->updateButton());

    ASSERT_TRUE(waitState(r, 8)) << "state " << r->upgradeState;
    ASSERT_TRUE(r->updateError.has_value());
    EXPECT_EQ(r->updateError->code(), 0);
    EXPECT_EQ(r->updateError->localizedDescription(), qtTrId("STRING_UPDATE_FAILED"));
    EXPECT_TRUE(device->isPresent());
    EXPECT_EQ(device->mode(), sim::Mode::Dfu);
    // Still listed: by the device manager and on the page, with its
    // local-file update.
    EXPECT_TRUE(QOVAIOManager::usbManagerShared()->findDevice(QStringLiteral("PK80")));
    const QOVAFirmwareModelRef listed = row(QStringLiteral("PK80"));
    ASSERT_TRUE(listed);
    EXPECT_TRUE(cell(listed)->localUpdateButton()->isVisible());
    EXPECT_FALSE(hasToast(delegate()));
    shot(delegate()->mainWindow(), QStringLiteral("firmware_hang_in_dfu_mode"));
}

// A device left in DFU mode, flashed from a local file, that restarts as
// soon as the last block is in and comes back in run mode: a success, and
// the window shows the version the device reports.
TEST_F(FirmwareFlashOutcome, DeviceInDfuModeFlashedFromAFileIsASuccessWithTheVersionItReports)
{
    if (m_skip)
        return;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("rescue.dfu"));
    testsupport::writeFile(file, package(sim::Family::Orbrin, QStringLiteral("1.1.9")));
    QOVAOpenPanel::setChooser([&](QWidget *, const QString &, QOVAOpenPanel::Completion done) {
        done(1, QStringList{file});
    });
    plugRow(sim::Family::Orbrin, QStringLiteral("OR90"), sim::Mode::Dfu);
    simFault(QStringLiteral("OR90"), "dfu-reset-on-final-block");
    openPage();
    const QOVAFirmwareModelRef r = row(QStringLiteral("OR90"));
    ASSERT_TRUE(r && r->isDFU());
    click(cell(r)->localUpdateButton());
    QOVAManualUpdateWindow *window = manualUpdateWindow();
    ASSERT_TRUE(window);
    click(window->updateButton());
    ASSERT_TRUE(waitUntil([&] { return window->stage() != QOVAManualUpdateWindow::Stage::Progress; }, 20000));
    EXPECT_EQ(window->stage(), QOVAManualUpdateWindow::Stage::Succeeded)
        << qPrintable(window->resultLabel()->stringValue());
    EXPECT_EQ(bus()->device(QStringLiteral("OR90"))->firmwareVersion(), QStringLiteral("1.1.9"));
    EXPECT_TRUE(window->currentValueLabel()->isVisible());
    EXPECT_EQ(window->currentValueLabel()->stringValue(), QStringLiteral("1.1.9"));
    shot(delegate()->mainWindow(), QStringLiteral("local_update_from_dfu_mode_done"));
    click(window->closeButton());
    QOVAOpenPanel::setChooser(nullptr);
}
