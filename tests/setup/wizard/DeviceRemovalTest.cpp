// A device that leaves takes its pages and their windows with it, however
// its pages were reached (its tile, or the Finish of its set-up wizard) and
// whichever window is open over them; a device that leaves while another
// device's window is open closes that window and gives its page back.

#include "SetupWizardTestSupport.h"

#include "network/QOVA8021xEthernetWindow.h"
#include "network/QOVAIPV4Window.h"
#include "network/QOVANetworkView.h"
#include "network/QOVAWiFISettingsView.h"
#include "network/QOVAWifiBaseWindow.h"

#include "ITSwitch.h"
#include "QOVAMaskView.h"
#include "QOVAWindow.h"

#include <functional>

using namespace wizardtest;

namespace {

enum class Road { Tile, WizardFinish };
enum class Open { Nothing, IPv4Window, EthernetSecurityWindow, JoinOtherNetworkWindow };
enum class Leaving { TheDevice, TheLastDevice, AnotherDevice };

struct RemovalCase {
    const char *name;
    sim::Family family;
    Road road;
    Open open;
    Leaving leaving;
};

const RemovalCase kCases[] = {
    {"vasko_network_page", sim::Family::Vasko, Road::Tile, Open::Nothing, Leaving::TheDevice},
    {"vasko_ipv4_window", sim::Family::Vasko, Road::Tile, Open::IPv4Window, Leaving::TheDevice},
    {"vasko_8021x_window", sim::Family::Vasko, Road::Tile, Open::EthernetSecurityWindow, Leaving::TheDevice},
    {"vasko_after_wizard", sim::Family::Vasko, Road::WizardFinish, Open::Nothing, Leaving::TheDevice},
    {"vasko_after_wizard_ipv4_window", sim::Family::Vasko, Road::WizardFinish, Open::IPv4Window, Leaving::TheDevice},
    {"orbrin_after_wizard_join_window", sim::Family::Orbrin, Road::WizardFinish, Open::JoinOtherNetworkWindow,
     Leaving::TheDevice},
    {"orbrin_join_window", sim::Family::Orbrin, Road::Tile, Open::JoinOtherNetworkWindow, Leaving::TheDevice},
    {"last_device_ipv4_window", sim::Family::Vasko, Road::Tile, Open::IPv4Window, Leaving::TheLastDevice},
    {"last_device_after_wizard_8021x_window", sim::Family::Vasko, Road::WizardFinish, Open::EthernetSecurityWindow,
     Leaving::TheLastDevice},
    {"other_device_leaves_under_ipv4_window", sim::Family::Vasko, Road::Tile, Open::IPv4Window,
     Leaving::AnotherDevice},
    {"other_device_leaves_under_join_window", sim::Family::Orbrin, Road::Tile, Open::JoinOtherNetworkWindow,
     Leaving::AnotherDevice},
};

void PrintTo(const RemovalCase &c, std::ostream *os) { *os << c.name; }

bool masked(QOVABaseViewController *controller)
{
    return controller && controller->isViewLoaded() && controller->maskView()->isVisible();
}

QList<QWidget *> visibleChildWindows(QWidget *main)
{
    QList<QWidget *> out;
    for (QWidget *child : main->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible())
            out << child;
    }
    return out;
}

class DeviceRemoval : public WizardFixture, public ::testing::WithParamInterface<RemovalCase> {
protected:
    // From the wizard's first page to the device pages its Finish opens.
    void finishWizard(const QString &serial)
    {
        QOVASetupWizardController *w = openWizard(serial);
        ASSERT_TRUE(w);
        walkToName(w);
        skip(w);
        ASSERT_TRUE(waitTop(w, Step::Network));
        skip(w);
        ASSERT_TRUE(waitTop(w, Step::Provision));
        next(w);
        ASSERT_TRUE(waitTop(w, Step::Complete));
        next(w);
        ASSERT_TRUE(waitUntil([&] {
            return page() && delegate()->currentController() == page() && page()->model()
                   && page()->model()->serialNumber == serial;
        }));
        EXPECT_TRUE(w->hasLeft());
    }

    // The administrator page of the network (Vasko) or of Wi-Fi (Orbrin),
    // signed in first when the device has a password.
    QOVADisplayBaseView *openNetworkSettings(sim::Family family)
    {
        clickTab("STRING_ADMIN_SETTINGS");
        auto signingIn = [&] { return page() && page()->currentGetter() == QLatin1String("adminSigninView"); };
        waitUntil([&] { return signingIn() || entryCell("STRING_GENERAL_SETTINGS") != nullptr; });
        if (signingIn()) {
            DevicePageFixture::signIn(QStringLiteral("S3cret!"));
            waitUntil([&] { return entryCell("STRING_GENERAL_SETTINGS") != nullptr; });
        }
        const bool vasko = family == sim::Family::Vasko;
        clickEntry(vasko ? "STRING_NETWORK_SETTINGS" : "STRING_WIFI_SETTINGS");
        const QLatin1String getter(vasko ? "networkView" : "wifiSettignsView");
        waitUntil([&] { return page() && page()->currentGetter() == getter; });
        return page() ? page()->currentView() : nullptr;
    }

    // Opens the window of the case over the page; returns it.
    QWidget *openWindow(Open open, QOVADisplayBaseView *shown)
    {
        auto *network = qobject_cast<QOVANetworkView *>(shown);
        auto *wifi = qobject_cast<QOVAWiFISettingsView *>(shown);
        switch (open) {
        case Open::Nothing:
            return nullptr;
        case Open::IPv4Window:
        case Open::EthernetSecurityWindow: {
            if (!network)
                return nullptr;
            QOVAButton *link = open == Open::IPv4Window ? network->ethernetIPV4SettingButton()
                                                        : network->ethernetSecuritySettingButton();
            waitUntil([&] { return link->isVisible() && link->isEnabled(); });
            click(link);
            break;
        }
        case Open::JoinOtherNetworkWindow:
            if (!wifi)
                return nullptr;
            waitUntil([&] { return wifi->wifiEnableSwitch()->checked(); });
            click(wifi->joinOtherNetWorkButton());
            break;
        }
        QWidget *window = nullptr;
        waitUntil([&] {
            const QList<QWidget *> shownNow = visibleChildWindows(mainWindow());
            window = shownNow.isEmpty() ? nullptr : shownNow.first();
            return window != nullptr;
        });
        return window;
    }
};

TEST_P(DeviceRemoval, PagesWindowsAndMaskGo)
{
    const RemovalCase &c = GetParam();
    const bool vasko = c.family == sim::Family::Vasko;
    const QString serial = QLatin1String(vasko ? "VSRM1" : "ORRM1");
    const QString firmware = QLatin1String(vasko ? "V1.2.4" : "1.3.0.5");
    // Another device stays, so that the list (not the empty page) follows.
    if (c.leaving != Leaving::TheLastDevice)
        plugDevice(sim::Family::Pirok, QStringLiteral("PKRM1"));
    if (c.road == Road::WizardFinish) {
        plugPending(c.family, serial, firmware);
        finishWizard(serial);
    } else {
        plugDevice(c.family, serial, firmware);
        openDevicePage(serial);
    }
    ASSERT_TRUE(page());
    QPointer<QOVADeviceInfoViewController> devicePage = page();
    QPointer<QOVADisplayBaseView> shown = openNetworkSettings(c.family);
    ASSERT_TRUE(shown);
    ASSERT_TRUE(qobject_cast<QOVANetworkView *>(shown) || qobject_cast<QOVAWiFISettingsView *>(shown));
    QPointer<QWidget> window = openWindow(c.open, shown);
    if (c.open != Open::Nothing) {
        ASSERT_TRUE(window);
        EXPECT_TRUE(masked(devicePage));
    }
    settledShot(QStringLiteral("removal_%1_before").arg(QLatin1String(c.name)));

    if (c.leaving == Leaving::TheDevice) {
        unplug(serial);
        ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() == delegate()->deviceListController(); }));
        EXPECT_TRUE(waitUntil([&] { return devicePage.isNull() && shown.isNull(); }));
        EXPECT_FALSE(page());
        EXPECT_EQ(delegate()->navigationView()->navigationStyle(), 1);
    } else if (c.leaving == Leaving::TheLastDevice) {
        unplug(serial);
        ASSERT_TRUE(waitUntil([&] { return delegate()->currentController() == delegate()->mainController(); }));
        EXPECT_EQ(delegate()->navigationView()->navigationStyle(), 0);
        EXPECT_TRUE(!shown || !shown->isVisible());
        auto *network = qobject_cast<QOVANetworkView *>(shown.data());
        EXPECT_TRUE(!network || !network->isPolling());
    } else {
        unplug(QStringLiteral("PKRM1"));
        spin(30);
        EXPECT_EQ(delegate()->currentController(), devicePage.data());
        EXPECT_TRUE(shown && shown->isVisible());
    }
    EXPECT_TRUE(visibleChildWindows(mainWindow()).isEmpty());
    EXPECT_TRUE(!window || !window->isVisible());
    // Nothing is left dimmed: the page in front takes clicks.
    EXPECT_FALSE(masked(delegate()->currentController()));
    EXPECT_FALSE(masked(devicePage));
    settledShot(QStringLiteral("removal_%1_after").arg(QLatin1String(c.name)));
}

INSTANTIATE_TEST_SUITE_P(Removal, DeviceRemoval, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
