// The set-up wizards of the video bar and the network camera, walked on the
// real application against simulated devices whose set-up is pending.

#include "SetupWizardTestSupport.h"

#include "menu/QOVATabMenuTable.h"
#include "menu/SystemSettingsSubView.h"

#include "ITSwitch.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

using namespace wizardtest;

namespace {

QStringList titlesOf(SystemSettingsSubView *list)
{
    QStringList titles;
    if (list) {
        for (QOVASubTabCell *cell : list->cells())
            titles << cell->titleView()->text();
    }
    return titles;
}

QStringList localisedKeys(const QStringList &keys)
{
    QStringList out;
    for (const QString &key : keys)
        out << qtTrId(key.toLatin1().constData());
    return out;
}

// Only the page on top of the stack is shown.
bool onlyTopShown(QOVASetupWizardController *w)
{
    const QList<Step> stack = w->pageStack();
    for (int i = 0; i < stack.size(); ++i) {
        QOVAHalvexOOBBaseView *page = w->pageFor(stack[i]);
        if (!page || page->isHidden() != (i + 1 < stack.size()))
            return false;
    }
    return true;
}

} // namespace

class SetupWizard : public WizardFixture {
protected:
    // The device page that Finish opened, with the side menu built for the
    // version the device reports.
    void expectDevicePagesOf(const QString &serial, QOVATabMenuTable::Family family, const QString &version)
    {
        ASSERT_TRUE(waitUntil([&] {
            return page() && delegate()->currentController() == page() && page()->model()
                   && page()->model()->serialNumber == serial;
        }));
        EXPECT_EQ(page()->deviceInfoDelegate(), delegate()->deviceListController());
        EXPECT_EQ(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion(), version);
        ASSERT_TRUE(menu());
        EXPECT_EQ(titlesOf(menu()->currentUserSettingSubview()),
                  localisedKeys(QOVATabMenuTable::rowKeys(family, QOVATabMenuTable::List::UserSettings, version)));
        EXPECT_EQ(titlesOf(menu()->currentAdminSubview()),
                  localisedKeys(QOVATabMenuTable::rowKeys(family, QOVATabMenuTable::List::Admin, version)));
    }
};

// The video bar: every step with one request of its own, the firmware page
// handed the device after the country and the name steps, one join window
// for a network listed on two bands, and the device pages of its version at
// the end, although another device's pages were open before.
TEST_F(SetupWizard, VideoBarWalksEveryStepAndLandsOnItsOwnPages)
{
    SimHandle bar = plugPending(sim::Family::Orbrin, "ORW1", "1.0.2.7");
    // Another device's pages were open last.
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(QStringLiteral("1.3"));
    ASSERT_NE(QOVATabMenuTable::rowKeys(QOVATabMenuTable::Family::Orbrin, QOVATabMenuTable::List::Admin, "1.0"),
              QOVATabMenuTable::rowKeys(QOVATabMenuTable::Family::Orbrin, QOVATabMenuTable::List::Admin, "1.3"));

    QOVASetupWizardController *w = openWizard("ORW1");
    ASSERT_TRUE(qobject_cast<QOVAHalvexOOBViewController *>(w));
    EXPECT_EQ(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion(), QStringLiteral("1.0"));
    EXPECT_EQ(w->pageStack(), QList<Step>{Step::SignIn});
    EXPECT_EQ(w->signInView()->geometry(), QRect(0, 56, 820, 544));
    settledShot("wizard_orbrin_1_sign_in");

    signIn(w, "admin");
    EXPECT_EQ(sent(bar, 17, "login"), 1);
    ASSERT_TRUE(waitUntil([&] { return sent(bar, 31, "simple_password") == 1; }));
    settledShot("wizard_orbrin_2_password");

    changePassword(w, "admin", "S3cret!");
    EXPECT_EQ(sent(bar, 17, "admin"), 1);
    spin(60);
    EXPECT_FALSE(delegate()->firmwareController()->rowFor("ORW1"));
    settledShot("wizard_orbrin_3_country");

    chooseCountry(w, 80);
    const QString country = QOVAHalvexCountryView::countryList().at(80);
    ASSERT_EQ(sent(bar, 2, "general"), 1);
    EXPECT_EQ(bodies(bar, 2, "general").last(),
              (QJsonObject{{"device_name", "Zentaro Halvex"}, {"country_region", country}, {"ntp_mode", ""},
                           {"ntp_server", ""}}));
    EXPECT_EQ(w->countryName(), country);
    EXPECT_EQ(w->model()->productDeviceName, QStringLiteral("Zentaro Halvex"));
    ASSERT_TRUE(waitUntil([&] { return delegate()->firmwareController()->rowFor("ORW1") != nullptr; }));
    settledShot("wizard_orbrin_4_device_name");

    nameDevice(w, "Board Room");
    ASSERT_EQ(sent(bar, 2, "general"), 2);
    EXPECT_EQ(bodies(bar, 2, "general").last().value("device_name"), QJsonValue("Board Room"));
    EXPECT_EQ(bodies(bar, 2, "general").last().value("country_region"), QJsonValue(country));
    EXPECT_EQ(delegate()->firmwareController()->rowFor("ORW1")->deviceName, QStringLiteral("Board Room"));

    auto *wifi = qobject_cast<QOVAHalvexWiFiView *>(w->topPage());
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->oobWiFiEnableSwitch()->checked() && wifi->oobWifiSelectButton()->count() > 1; }));
    EXPECT_TRUE(wifi->pageControlView()->nextButton()->disabled());
    EXPECT_EQ(wifi->oobWifiSelectButton()->itemText(0), qtTrId("STRING_NONE"));
    EXPECT_EQ(wifi->oobWifiSelectButton()->itemTitles().count("Meeting Room"), 1);
    settledShot("wizard_orbrin_5_wifi");

    // Listed on two bands: one window, one join.
    pick(wifi->oobWifiSelectButton(), "Meeting Room");
    const auto windows = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->encryptionType(), QStringLiteral("PSK"));
    EXPECT_EQ(windows.first()->size(), QSize(440, 280));
    QTest::keyClicks(windows.first()->pwdTextView()->securePwdTextField(), "pw 12345678");
    settledShot("wizard_orbrin_5b_join_window");
    clickAndSettle(windows.first()->joinButton());
    ASSERT_TRUE(waitUntil([&] { return !wifi->pageControlView()->nextButton()->disabled(); }));
    ASSERT_TRUE(waitUntil([&] {
        return wifi->wifiPromptLabel()->stringValue()
                   == qtTrId("STRING_CONNECTED") + "  |  " + sim::SimCatalogueRequestHandler::wifiAddressOf(bar.device->serialNumber())
               && wifi->oobWifiSelectButton()->itemText(0) == "Meeting Room";
    }));
    EXPECT_EQ(bodies(bar, 8, "wifi").size(), 1);
    EXPECT_EQ(bodies(bar, 8, "wifi").first().value("wifi_connect_param").toObject().value("ssid"),
              QJsonValue("Meeting Room"));
    settledShot("wizard_orbrin_5c_wifi_connected");

    next(w);
    ASSERT_TRUE(waitTop(w, Step::Provision));
    ASSERT_TRUE(waitUntil([&] { return sent(bar, 22, "provision_server") == 1; }));
    spin(30);
    settledShot("wizard_orbrin_6_provisioning");

    next(w);
    ASSERT_TRUE(waitTop(w, Step::Complete));
    EXPECT_EQ(sent(bar, 34, "provision_server"), 1);
    EXPECT_EQ(sent(bar, 65, "provision_server"), 0);
    EXPECT_EQ(w->completeView()->finishTipLabel()->stringValue(), qtTrId("OOB_COMPLETE_TIP"));
    settledShot("wizard_orbrin_7_complete");
    EXPECT_TRUE(onlyTopShown(w));

    next(w);
    expectDevicePagesOf("ORW1", QOVATabMenuTable::Family::Orbrin, "1.0");
    EXPECT_TRUE(w->hasLeft());
    settledShot("wizard_orbrin_8_device_pages");
}

// The network camera: the product's name as every title, its own name
// written with the country, the network page polled while in front, the
// completion tip of the camera, and its device pages at the end.
TEST_F(SetupWizard, NetworkCameraWalksEveryStepAndLandsOnItsOwnPages)
{
    SimHandle cam = plugPending(sim::Family::Vasko, "VSW1.01", "V1.2.4");
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(QStringLiteral("1.3"));
    QOVASetupWizardController *w = openWizard("VSW1");
    ASSERT_TRUE(qobject_cast<QOVAVaskoOOBViewController *>(w));
    const QString product = w->model()->productName;
    const QString listedName = w->model()->productDeviceName;
    EXPECT_EQ(w->signInView()->titleLabel()->stringValue(), product);
    settledShot("wizard_vasko_1_sign_in");

    signIn(w, "admin");
    EXPECT_EQ(sent(cam, 17, "login"), 1);
    changePassword(w, "admin", "S3cret!");
    EXPECT_EQ(sent(cam, 17, "admin"), 1);
    EXPECT_EQ(w->countryView()->titleLabel()->stringValue(), product);
    settledShot("wizard_vasko_3_country");

    chooseCountry(w, 14);
    ASSERT_EQ(sent(cam, 2, "general"), 1);
    EXPECT_EQ(bodies(cam, 2, "general").last().value("device_name"), QJsonValue(listedName));
    EXPECT_EQ(w->deviceNameView()->userNameTextField()->text(), listedName);
    EXPECT_TRUE(w->deviceNameView()->nameRuleButton());
    settledShot("wizard_vasko_4_device_name");

    nameDevice(w, "Lab-Cam");
    ASSERT_EQ(sent(cam, 2, "general"), 2);
    auto *network = qobject_cast<QOVAOOBVaskoNetworkView *>(w->topPage());
    ASSERT_TRUE(network);
    EXPECT_EQ(network->titleLabel()->stringValue(), product);
    ASSERT_TRUE(waitUntil([&] { return !network->pageControlView()->nextButton()->disabled(); }));
    EXPECT_EQ(network->statusLabel()->stringValue(),
              qtTrId("STRING_CONNECTED") + "  |  " + sim::SimCatalogueRequestHandler::ethernetAddressOf(cam.device->serialNumber()));
    EXPECT_EQ(network->networkButton()->itemText(0), qtTrId("STRING_ETHERNET"));
    EXPECT_TRUE(network->isPolling());
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 39, "network_status") >= 3; }));
    settledShot("wizard_vasko_5_network");

    next(w);
    ASSERT_TRUE(waitTop(w, Step::Provision));
    EXPECT_FALSE(network->isPolling());
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 22, "provision_server") == 1; }));
    spin(30);
    settledShot("wizard_vasko_6_provisioning");

    next(w);
    ASSERT_TRUE(waitTop(w, Step::Complete));
    EXPECT_EQ(sent(cam, 34, "provision_server"), 1);
    EXPECT_EQ(w->completeView()->finishTipLabel()->stringValue(), qtTrId("OOB_COMPLETE_TIP_VASKO"));
    settledShot("wizard_vasko_7_complete");

    const int polls = sent(cam, 39, "network_status");
    next(w);
    expectDevicePagesOf("VSW1", QOVATabMenuTable::Family::Vasko, "V1.2");
    spin(100);
    EXPECT_EQ(sent(cam, 39, "network_status"), polls);
}

// Back drops the page on top (a later visit makes a new one, which asks the
// device again); Skip adds the next page without a request. The network
// page polls exactly while it is in front.
TEST_F(SetupWizard, BackAndSkipFollowTheirTables)
{
    SimHandle cam = plugPending(sim::Family::Vasko, "VSB1.01", "V1.3.4");
    QOVASetupWizardController *w = openWizard("VSB1");
    ASSERT_TRUE(w);
    walkToName(w);
    const QList<Step> base{Step::SignIn, Step::Password, Step::Country};
    const int generalWrites = sent(cam, 2, "general");

    struct Case {
        const char *what;
        int action;               // -1 Back, 0 Skip
        QList<Step> above;        // the stack above the country page
        int provisionReads;       // "provision_server" GETs so far
        bool polling;
    };
    const Case cases[] = {
        {"skip the name", 0, {Step::DeviceName, Step::Network}, 0, true},
        {"skip the network", 0, {Step::DeviceName, Step::Network, Step::Provision}, 1, false},
        {"skip provisioning", 0, {Step::DeviceName, Step::Network, Step::Provision, Step::Complete}, 1, false},
        {"back from completion", -1, {Step::DeviceName, Step::Network, Step::Provision}, 2, false},
        {"back from provisioning", -1, {Step::DeviceName, Step::Network}, 2, true},
        {"skip the network again", 0, {Step::DeviceName, Step::Network, Step::Provision}, 3, false},
        {"back to the network", -1, {Step::DeviceName, Step::Network}, 3, true},
        {"back from the network", -1, {Step::DeviceName}, 3, false},
        {"back from the name", -1, {}, 3, false},
    };
    QPointer<QOVAHalvexProvisionView> provision;
    QPointer<QOVAHalvexOOBBaseView> networkPage;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QPointer<QOVAHalvexOOBBaseView> leaving = w->topPage();
        const Step leavingStep = w->topStep();
        if (c.action < 0)
            back(w);
        else
            skip(w);
        ASSERT_TRUE(waitUntil([&] { return w->pageStack() == base + c.above; }));
        ASSERT_TRUE(waitUntil([&] { return sent(cam, 22, "provision_server") == c.provisionReads; }));
        EXPECT_TRUE(onlyTopShown(w));
        if (c.action < 0) {
            // The dropped page goes; the next visit makes a new one.
            EXPECT_TRUE(waitUntil([&] { return leaving.isNull(); }));
            if (leavingStep == Step::Provision)
                provision = nullptr;
        }
        if (w->topStep() == Step::Provision) {
            if (provision) {
                EXPECT_EQ(provision.data(), w->provisionView()) << "Back from completion shows the same page";
            }
            provision = w->provisionView();
        }
        auto *vasko = static_cast<QOVAVaskoOOBViewController *>(w);
        const bool hasNetwork = w->pageStack().contains(Step::Network);
        if (hasNetwork) {
            EXPECT_EQ(vasko->networkView()->isPolling(), c.polling);
            const int before = sent(cam, 39, "network_status");
            if (c.polling) {
                EXPECT_TRUE(waitUntil([&] { return sent(cam, 39, "network_status") >= before + 2; }));
            }
        }
        if (!c.polling) {
            spin(5);
            const int before = sent(cam, 39, "network_status");
            spin(100);
            EXPECT_EQ(sent(cam, 39, "network_status"), before);
        }
    }
    // Back and Skip write nothing.
    EXPECT_EQ(sent(cam, 2, "general"), generalWrites);
    EXPECT_EQ(sent(cam, 34, "provision_server"), 0);
    EXPECT_EQ(sent(cam, 38, "network") + sent(cam, 40, "network"), 0);
}

// Each refusal is told by its own toast on the page, which stays; a
// provisioning write the device refuses keeps the page with Next and Skip.
TEST_F(SetupWizard, RefusalsShowTheirToastsAndKeepThePage)
{
    SimHandle cam = plugPending(sim::Family::Vasko, "VST1.01", "V1.2.4");
    QOVASetupWizardController *w = openWizard("VST1");
    ASSERT_TRUE(w);

    signIn(w, "wrong", false);
    ASSERT_TRUE(waitUntil([] { return toastShown("NOTIFICATION_TIP_LOGIN_FAILED"); }));
    EXPECT_EQ(w->topStep(), Step::SignIn);
    closeToasts();
    signIn(w, "admin");

    struct PasswordCase {
        const char *what;
        int status;               // 0: the device's own answer
        const char *reason;
        const char *oldPassword;
        const char *toast;        // none: no toast at all
    };
    const PasswordCase passwordCases[] = {
        {"wrong current password", 0, "", "nope", "NOTIFICATION_TIP_OLD_PWD_ERROR"},
        {"refused new password", 400, "invalid new password", "admin", "NOTIFICATION_TIP_NEW_PWD_ERROR"},
        {"any other reason", 500, "busy", "admin", nullptr},
    };
    for (const PasswordCase &c : passwordCases) {
        SCOPED_TRACE(c.what);
        cam.state->clearRequestFailures();
        if (c.status)
            cam.state->failRequest("admin", false, c.status, c.reason);
        const int before = sent(cam, 17, "admin");
        changePassword(w, c.oldPassword, "S3cret!", false);
        ASSERT_TRUE(waitUntil([&] { return sent(cam, 17, "admin") == before + 1; }));
        if (c.toast) {
            EXPECT_TRUE(waitUntil([&] { return toastShown(c.toast); }));
        } else {
            // The answer has come back (it shows nothing) before the next try.
            EXPECT_TRUE(waitUntil([&] {
                return logText().contains(QStringLiteral("Vasko Modify Password Failure, reason is %1").arg(c.reason));
            }));
        }
        spin(60);
        if (!c.toast) {
            EXPECT_TRUE(toasts().isEmpty());
        }
        EXPECT_EQ(w->topStep(), Step::Password);
        closeToasts();
    }
    cam.state->clearRequestFailures();
    changePassword(w, "admin", "S3cret!");
    chooseCountry(w, 3);

    struct NameCase {
        const char *what;
        int status;
        const char *toast;
    };
    const NameCase nameCases[] = {
        {"the camera rejects the name", 400, "STRING_DEVICE_INVALID"},
        {"any other failure", 500, "NOTIFICATION_TIP_SAVE_FAILED"},
    };
    for (const NameCase &c : nameCases) {
        SCOPED_TRACE(c.what);
        cam.state->clearRequestFailures();
        cam.state->failRequest("general", false, c.status, "no");
        nameDevice(w, "Cam 1", false);
        EXPECT_TRUE(waitUntil([&] { return toastShown(c.toast); }));
        EXPECT_EQ(w->topStep(), Step::DeviceName);
        closeToasts();
    }
    cam.state->clearRequestFailures();
    nameDevice(w, "Cam1");
    ASSERT_TRUE(waitUntil([&] { return !w->topPage()->pageControlView()->nextButton()->disabled(); }));
    next(w);
    ASSERT_TRUE(waitTop(w, Step::Provision));
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 22, "provision_server") == 1; }));
    spin(30);

    cam.state->failRequest("provision_server", false, 500, "full");
    next(w);
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 34, "provision_server") == 1; }));
    EXPECT_TRUE(waitUntil([] { return toastShown("NOTIFICATION_TIP_SAVE_FAILED"); }));
    spin(30);
    EXPECT_EQ(w->topStep(), Step::Provision);
    EXPECT_FALSE(w->provisionView()->pageControlView()->nextButton()->disabled());
    EXPECT_FALSE(w->provisionView()->pageControlView()->skipButton()->isHidden());
    settledShot("wizard_vasko_6b_provisioning_refused");
    closeToasts();

    // The DHCP option the device refuses is told the same way.
    static_cast<QOVAVaskoOOBViewController *>(w)->setDHCPOptionStartup("60");
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 65, "provision_server") == 1; }));
    EXPECT_EQ(bodies(cam, 65, "provision_server").first().value("provision_dhcp_opt"), QJsonValue(60));
    EXPECT_TRUE(waitUntil([] { return toastShown("NOTIFICATION_TIP_SAVE_FAILED"); }));
    closeToasts();

    // Once the device takes the settings the set-up goes on.
    cam.state->clearRequestFailures();
    next(w);
    ASSERT_TRUE(waitTop(w, Step::Complete));
    EXPECT_EQ(sent(cam, 34, "provision_server"), 2);
}

// The wizard goes with its own device only, and once left it sends nothing:
// no network poll, no Wi-Fi list refresh, no Wi-Fi events taken.
TEST_F(SetupWizard, LeavingEndsEverythingTheWizardRuns)
{
    SimHandle cam = plugPending(sim::Family::Vasko, "VSL1.01", "V1.2.4");
    SimHandle bar = plugPending(sim::Family::Orbrin, "ORL1", "1.3.0.5");
    SimHandle other = plugDevice(sim::Family::Pirok, "PKL1");

    // The camera's wizard on its polling network page; another device leaves.
    QOVASetupWizardController *w = openWizard("VSL1");
    ASSERT_TRUE(w);
    walkToName(w);
    skip(w);
    ASSERT_TRUE(waitTop(w, Step::Network));
    unplug("PKL1");
    spin(30);
    EXPECT_EQ(wizard(), w);
    EXPECT_FALSE(w->hasLeft());
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 39, "network_status") >= 3; }));

    // The navigation bar's back arrow.
    clickAndSettle(delegate()->navigationView()->backButton());
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() == delegate()->deviceListController(); }));
    EXPECT_TRUE(w->hasLeft());
    spin(5);
    const int polls = sent(cam, 39, "network_status");
    spin(150);
    EXPECT_EQ(sent(cam, 39, "network_status"), polls);

    // The video bar's wizard on its Wi-Fi page, a list refresh running; its
    // device leaves.
    QOVASetupWizardController *barWizard = openWizard("ORL1");
    ASSERT_TRUE(barWizard);
    walkToName(barWizard);
    skip(barWizard);
    ASSERT_TRUE(waitTop(barWizard, Step::Network));
    auto *wifi = static_cast<QOVAHalvexOOBViewController *>(barWizard)->wifiView();
    ASSERT_TRUE(waitUntil([&] { return sent(bar, 7, "wifi_available_ssid") >= 1; }));
    bar.device->raiseInputReport(2, 4);
    ASSERT_TRUE(waitUntil([&] { return wifi->isListRefreshRunning(); }));
    EXPECT_TRUE(wifi->isObservingNotifications());
    unplug("ORL1");
    ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() == delegate()->deviceListController(); }));
    EXPECT_TRUE(barWizard->hasLeft());
    EXPECT_FALSE(wifi->isListRefreshRunning());
    EXPECT_FALSE(wifi->isObservingNotifications());
}

// The Wi-Fi page: an enable event brings exactly three list requests; the
// connected name is read from its bytes by the shared decoder, and a name
// that cannot be read leaves the last one in place; the automatic-connection
// switch sends its one key.
TEST_F(SetupWizard, WiFiPageListRefreshAndConnectedName)
{
    SimHandle bar = plugPending(sim::Family::Orbrin, "ORS1", "1.3.0.5");
    QOVASetupWizardController *w = openWizard("ORS1");
    ASSERT_TRUE(w);
    walkToName(w);
    skip(w);
    auto *wifi = qobject_cast<QOVAHalvexWiFiView *>(w->topPage());
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->oobWifiSelectButton()->count() > 1; }));

    // Join the open network, then let the device settle.
    pick(wifi->oobWifiSelectButton(), "Guest");
    auto windows = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->encryptionType(), QStringLiteral("None"));
    clickAndSettle(windows.first()->joinButton());
    ASSERT_TRUE(waitUntil([&] { return wifi->ssid() == std::optional<QString>(QStringLiteral("Guest")); }));
    spin(150);

    {
        // Three requests 3 s apart, at a tenth of real time: a loaded machine
        // still answers each list request before the next one is due (the
        // device channel sends no second request of a kind still unanswered).
        ScopedTimeScale slower(0.1);
        const int lists = sent(bar, 7, "wifi_available_ssid");
        bar.device->raiseInputReport(2, 4);
        ASSERT_TRUE(waitUntil([&] { return wifi->isListRefreshRunning(); }));
        ASSERT_TRUE(waitUntil([&] { return !wifi->isListRefreshRunning(); }));
        spin(60);
        EXPECT_EQ(sent(bar, 7, "wifi_available_ssid"), lists + 3);
    }

    struct NameCase {
        const char *what;
        QJsonArray buf;
        int count;
        std::optional<QString> expected;   // the name kept afterwards
    };
    const NameCase cases[] = {
        {"four bytes", QJsonArray{72, 111, 109, 101}, 4, QStringLiteral("Home")},
        {"fewer entries than the count", QJsonArray{79, 102}, 6, QStringLiteral("Of")},
        {"an entry outside a byte", QJsonArray{72, 300, 65}, 3, QStringLiteral("Of")},
        {"no bytes", QJsonArray{}, 0, QStringLiteral("Of")},
    };
    for (const NameCase &c : cases) {
        SCOPED_TRACE(c.what);
        bar.state->setWifiStatusOctets(QJsonObject{{"buf", c.buf}, {"count", c.count}});
        const int before = sent(bar, 6, "wifi_status");
        bar.device->raiseInputReport(2, 0);   // connected
        ASSERT_TRUE(waitUntil([&] { return sent(bar, 6, "wifi_status") > before; }));
        spin(60);
        EXPECT_EQ(wifi->ssid(), c.expected);
    }
    settledShot("wizard_orbrin_5d_wifi_name");

    const int joins = sent(bar, 8, "wifi");
    click(wifi->autoConnectEnableSwitch());
    ASSERT_TRUE(waitUntil([&] { return sent(bar, 8, "wifi") == joins + 1; }));
    const bool on = wifi->autoConnectEnableSwitch()->checked();
    EXPECT_EQ(bodies(bar, 8, "wifi").last(),
              (QJsonObject{{"wifi_action", "connect"}, {"wifi_connect_param", QJsonObject{{"auto_connect", on}}}}));
    EXPECT_EQ(wifi->autoConnectReminderLabel()->stringValue(), qtTrId(on ? "STRING_ON" : "STRING_OFF"));
}

// The Wi-Fi page follows the device's events: connecting cycles the icon,
// disconnected disables Next, Wi-Fi off empties the list but leaves Next.
TEST_F(SetupWizard, WiFiPageFollowsTheDeviceEvents)
{
    SimHandle bar = plugPending(sim::Family::Orbrin, "ORE1", "1.3.0.5");
    QOVASetupWizardController *w = openWizard("ORE1");
    ASSERT_TRUE(w);
    walkToName(w);
    skip(w);
    auto *wifi = qobject_cast<QOVAHalvexWiFiView *>(w->topPage());
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->oobWifiSelectButton()->count() > 1; }));
    QOVAButton *nextButton = wifi->pageControlView()->nextButton();

    // Joined to the open network; the device answers connected from now on.
    pick(wifi->oobWifiSelectButton(), "Guest");
    auto windows = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
    ASSERT_EQ(windows.size(), 1);
    clickAndSettle(windows.first()->joinButton());
    ASSERT_TRUE(waitUntil([&] { return wifi->ssid() == std::optional<QString>(QStringLiteral("Guest")); }));
    ASSERT_TRUE(waitUntil([&] { return !nextButton->disabled(); }));
    spin(150);

    bar.device->raiseInputReport(2, 2);   // connecting
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue() == qtTrId("STRING_CONNECTING"); }));
    EXPECT_TRUE(wifi->wifiPromptImageView()->animationImages().has_value());
    settledShot("wizard_orbrin_5e_wifi_connecting");

    bar.device->raiseInputReport(2, 1);   // disconnected
    ASSERT_TRUE(waitUntil([&] { return nextButton->disabled(); }));
    EXPECT_EQ(wifi->wifiPromptLabel()->stringValue(), qtTrId("STRING_DISCONNECTED"));
    EXPECT_EQ(wifi->wifiPromptImageView()->imageName(), QStringLiteral("icon_wifi_disconnect"));
    EXPECT_FALSE(wifi->wifiPromptImageView()->animationImages().has_value());

    const int statuses = sent(bar, 6, "wifi_status");
    bar.device->raiseInputReport(2, 0);   // connected: Next, and the state asked again
    ASSERT_TRUE(waitUntil([&] { return !nextButton->disabled() && sent(bar, 6, "wifi_status") == statuses + 1; }));
    ASSERT_TRUE(waitUntil([&] {
        return wifi->wifiPromptLabel()->stringValue().startsWith(qtTrId("STRING_CONNECTED"));
    }));
    spin(60);

    bar.device->raiseInputReport(2, 5);   // Wi-Fi switched off
    ASSERT_TRUE(waitUntil([&] { return wifi->oobWifiSelectButton()->count() == 1; }));
    EXPECT_EQ(wifi->oobWifiSelectButton()->itemText(0), qtTrId("STRING_NONE"));
    EXPECT_EQ(wifi->wifiPromptLabel()->stringValue(), qtTrId("STRING_DISCONNECTED"));
    EXPECT_FALSE(nextButton->disabled());
}

// The camera's network page: a mode change stops the poll until the device
// answers; the IPv4 window stops it while open and its Cancel restarts it;
// only one poll ever runs.
TEST_F(SetupWizard, NetworkPageModeAndWindowsHoldThePoll)
{
    SimHandle cam = plugPending(sim::Family::Vasko, "VSN1.01", "V1.2.4");
    QOVASetupWizardController *w = openWizard("VSN1");
    ASSERT_TRUE(w);
    walkToName(w);
    skip(w);
    auto *network = qobject_cast<QOVAOOBVaskoNetworkView *>(w->topPage());
    ASSERT_TRUE(network);
    ASSERT_TRUE(waitUntil([&] { return !network->pageControlView()->nextButton()->disabled(); }));

    pick(network->networkButton(), qtTrId("STRING_NONE"));
    EXPECT_FALSE(network->isPolling());
    EXPECT_TRUE(network->ipv4Button()->isHidden());
    EXPECT_TRUE(network->securityButton()->isHidden());
    ASSERT_TRUE(waitUntil([&] { return sent(cam, 38, "network") == 1; }));
    EXPECT_EQ(bodies(cam, 38, "network").first(), (QJsonObject{{"network_mode", "None"}}));
    ASSERT_TRUE(waitUntil([&] { return network->isPolling() && network->pageControlView()->nextButton()->disabled(); }));
    EXPECT_EQ(network->networkButton()->itemText(0), qtTrId("STRING_NONE"));
    EXPECT_EQ(network->statusLabel()->stringValue(), qtTrId("STRING_DISCONNECTED"));
    settledShot("wizard_vasko_5b_network_none");

    pick(network->networkButton(), qtTrId("STRING_ETHERNET"));
    ASSERT_TRUE(waitUntil([&] { return !network->pageControlView()->nextButton()->disabled(); }));
    EXPECT_EQ(network->networkButton()->count(), 2);

    // A second showing asks once more and keeps its one poll.
    const int asked = sent(cam, 39, "network_status");
    network->handleDisplayViewEvent();
    EXPECT_TRUE(waitUntil([&] { return sent(cam, 39, "network_status") > asked; }));
    EXPECT_TRUE(network->isPolling());

    clickAndSettle(network->ipv4Button());
    ASSERT_TRUE(network->ipv4Window() && network->ipv4Window()->isVisible());
    EXPECT_FALSE(network->isPolling());
    settledShot("wizard_vasko_5c_ipv4_window");
    const int polls = sent(cam, 39, "network_status");
    spin(100);
    EXPECT_EQ(sent(cam, 39, "network_status"), polls);
    clickAndSettle(network->ipv4Window()->cancelButton());
    ASSERT_TRUE(waitUntil([&] { return network->isPolling(); }));
    EXPECT_TRUE(waitUntil([&] { return sent(cam, 39, "network_status") > polls; }));
}
