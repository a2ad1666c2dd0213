// The device page opened from the device list: the side menu of the
// device's family and firmware version, and each menu entry reaching the
// page its choice names.

#include "DevicePageTestSupport.h"

#include "device/QOVADevicePageFactory.h"
#include "device/QOVAPlaceholderPageView.h"

using namespace devicetest;

namespace {

struct MenuCase {
    const char *label;
    sim::Family family;
    const char *firmware;
    QStringList userRows;
    QStringList adminRows;
    QStringList diagnosticsRows;
};

const QStringList kOrbrinUser = {"STRING_CAMERA_CONTROL", "STRING_BLUETOOTH_MODE", "STRING_AUDIO_SETTINGS"};
const QStringList kOrbrinDiagnostics = {"STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"};
const QStringList kOrbrinAdmin10 = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS",
                                    "STRING_BLUETOOTH", "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER",
                                    "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION"};
QStringList withCertificates(QStringList rows)
{
    rows.insert(rows.indexOf("STRING_PROVISIONING_SERVER") + 1, "STRING_CERTIFICATES");
    return rows;
}
const QStringList kVaskoAdmin = {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_NETWORK_SETTINGS",
                                 "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_SYSTEM_RESTART",
                                 "STRING_FACTORY_RESET", "STRING_CONFIGURATION", "STRING_MISCELLANEOUS"};
const QStringList kVaskoDiagnostics = {"STRING_AUDIO_METERS", "STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"};

QStringList english(const QStringList &keys)
{
    QStringList out;
    for (const QString &key : keys)
        out << qtTrId(key.toLatin1().constData());
    return out;
}

} // namespace

TEST_F(DevicePageFixture, MenuEntriesFollowFamilyAndVersion)
{
    const QStringList lab = withCertificates(kOrbrinAdmin10) << "STRING_LAB_FEATURE";
    const std::vector<MenuCase> cases = {
        {"video bar 1.0", sim::Family::Orbrin, "1.0.2.1", kOrbrinUser, kOrbrinAdmin10, kOrbrinDiagnostics},
        {"video bar 1.2", sim::Family::Orbrin, "1.2.0.7", kOrbrinUser, lab, kOrbrinDiagnostics},
        {"video bar 1.4", sim::Family::Orbrin, "1.4.1.0", kOrbrinUser, lab, kOrbrinDiagnostics},
        {"video bar 1.1", sim::Family::Orbrin, "1.1.0.3", kOrbrinUser, withCertificates(kOrbrinAdmin10),
         kOrbrinDiagnostics},
        {"video bar 2.0", sim::Family::Orbrin, "2.0.0.1", kOrbrinUser, withCertificates(kOrbrinAdmin10),
         kOrbrinDiagnostics},
        {"camera V1.2", sim::Family::Vasko, "V1.2.4", {"STRING_CAMERA_CONTROL"}, withCertificates(kVaskoAdmin),
         kVaskoDiagnostics},
        {"camera V1.3", sim::Family::Vasko, "V1.3.0", {"STRING_CAMERA_CONTROL"}, withCertificates(kVaskoAdmin),
         kVaskoDiagnostics},
        {"camera V1.1", sim::Family::Vasko, "V1.1.4", {"STRING_CAMERA_CONTROL"}, kVaskoAdmin, kVaskoDiagnostics},
    };
    int n = 0;
    for (const MenuCase &c : cases) {
        SCOPED_TRACE(c.label);
        const QString serial = QStringLiteral("MENU%1").arg(++n);
        ASSERT_TRUE(plugDevice(c.family, serial, QLatin1String(c.firmware)));
        ASSERT_TRUE(openDevicePage(serial));
        QOVATabControlView *m = menu();
        EXPECT_EQ(m->currentUserSettingSubview()->titles(), english(c.userRows));
        EXPECT_EQ(m->currentAdminSubview()->titles(), english(c.adminRows));
        EXPECT_EQ(m->currentDiagnosticsSubview()->titles(), english(c.diagnosticsRows));
        // The page opens on the family's status page.
        EXPECT_EQ(page()->currentGetter(), QStringLiteral("statusInfoView"));
        unplug(serial);
    }
}

TEST_F(DevicePageFixture, PirokHasOnlyTheStatusTabAndItsOwnPage)
{
    ASSERT_TRUE(plugDevice(sim::Family::Pirok, "PK1"));
    ASSERT_TRUE(openDevicePage("PK1"));
    QOVATabControlView *m = menu();
    ASSERT_EQ(m->tabCells().size(), 1u);
    EXPECT_EQ(m->tabCells().front(), m->statusTabCell());
    QOVADisplayBaseView *status = page()->builtPage("pirokStatusView");
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->isVisible());
    EXPECT_FALSE(page()->builtPage("statusInfoView"));
    shot(mainWindow(), "device_page_pirok");
}

// Every entry of every group reaches the page its title names: built once,
// shown, told it is shown; the entry of the page on screen changes nothing.
TEST_F(DevicePageFixture, EntriesOpenTheirPagesOnce)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "OR1", "1.3.0.5");
    ASSERT_TRUE(openDevicePage("OR1"));

    struct Entry {
        const char *tab;
        const char *key;
        const char *getter;
    };
    const Entry entries[] = {
        {"STRING_USER_SETTINGS", nullptr, "cameraSettingsView"},
        {nullptr, "STRING_BLUETOOTH_MODE", "bluetoothPairModeView"},
        {nullptr, "STRING_AUDIO_SETTINGS", "audioSettingsView"},
        {"STRING_DIAGNOSTICS", nullptr, "audioDiagnosticsView"},
        {nullptr, "STRING_OSD", "osdView"},
        {nullptr, "STRING_LOGS", "logView"},
        {"STRING_ADMIN_SETTINGS", nullptr, "orbrinGeneralView"},
        {nullptr, "STRING_CAMERA_TRACKING", "cameraTrackingView"},
        {nullptr, "STRING_WIFI_SETTINGS", "wifiSettignsView"},
        {nullptr, "STRING_BLUETOOTH", "bleFeatureView"},
        {nullptr, "STRING_PASSWORD_SETTINGS", "passwordSettingsView"},
        {nullptr, "STRING_PROVISIONING_SERVER", "provisionServerView"},
        {nullptr, "STRING_CERTIFICATES", "certificatesView"},
        {nullptr, "STRING_SYSTEM_RESTART", "systemRestartView"},
        {nullptr, "STRING_FACTORY_RESET", "factoryResetView"},
        {nullptr, "STRING_CONFIGURATION", "configurationView"},
        {"STRING_STATUS", nullptr, "statusInfoView"},
    };
    for (const Entry &e : entries) {
        SCOPED_TRACE(e.getter);
        if (e.tab)
            clickTab(e.tab);
        else
            clickEntry(e.key);
        ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String(e.getter); }));
        QOVADisplayBaseView *shown = page()->currentView();
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(qovaFrameOf(shown), QRectF(211, 0, 619, 544));
        if (auto *placeholder = qobject_cast<QOVAPlaceholderPageView *>(shown)) {
            EXPECT_EQ(placeholder->getter(), QLatin1String(e.getter));
        }
        // Exactly one page of the page area is on screen.
        int visiblePages = 0;
        for (QOVADisplayBaseView *p : page()->view()->findChildren<QOVADisplayBaseView *>(Qt::FindDirectChildrenOnly))
            visiblePages += p->isVisible() ? 1 : 0;
        EXPECT_EQ(visiblePages, 1);
        if (e.key) {
            // The entry of the page on screen again: same page, not re-shown.
            clickEntry(e.key);
            EXPECT_EQ(page()->currentView(), shown);
        }
    }
    shot(mainWindow(), "device_page_after_entries");
}
