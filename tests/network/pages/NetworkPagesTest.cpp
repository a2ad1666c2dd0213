// The video bar's Wi-Fi page and the network camera's network page on the
// real application: simulated devices, real clicks, the requests the devices
// actually receive.

#include "device/DevicePageTestSupport.h"
#include "device/QOVAStatusBaseView.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVANavigationView.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include "QOVA8021xEthernetWindow.h"
#include "QOVAIPV4Window.h"
#include "QOVANetworkView.h"
#include "QOVAWiFISettingsView.h"
#include "QOVAWiFiEAPWindow.h"
#include "QOVAWiFiSimpleWindow.h"
#include "QOVAWifiManageWindow.h"

#include <QJsonArray>
#include <QPointer>

#include <functional>
#include <QPushButton>
#include <QTimer>

#include "Ethernet802_1_xModel.h"
#include "IPV4SettingModel.h"

using namespace devicetest;

namespace {

struct Sent {
    int msgId = 0;
    QString method;
    QJsonObject body;
};

// The requests of one resource a device received, with their bodies.
QList<Sent> sentTo(const SimHandle &handle, const QString &url)
{
    QList<Sent> out;
    for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
        const QJsonObject head = QJsonDocument::fromJson(request.head).object();
        if (head.value(QStringLiteral("url")).toString() != url)
            continue;
        Sent sent;
        sent.msgId = head.value(QStringLiteral("msg_id")).toVariant().toString().toInt();
        sent.method = head.value(QStringLiteral("method")).toString();
        sent.body = QJsonDocument::fromJson(request.body).object();
        out << sent;
    }
    return out;
}

QList<QJsonObject> joinsSent(const SimHandle &handle)
{
    QList<QJsonObject> joins;
    for (const Sent &sent : sentTo(handle, QStringLiteral("wifi"))) {
        if (sent.body.value(QStringLiteral("wifi_action")) == QJsonValue(QStringLiteral("connect")) && sent.msgId == 8)
            joins << sent.body.value(QStringLiteral("wifi_connect_param")).toObject();
    }
    return joins;
}

template <typename Window>
QList<Window *> shownWindows(QWidget *main)
{
    QList<Window *> out;
    for (Window *window : main->findChildren<Window *>()) {
        if (window->isVisible())
            out << window;
    }
    return out;
}

void pick(QOVAPopUpButton *popup, const QString &title)
{
    const int index = popup->findText(title, Qt::MatchExactly);
    ASSERT_GE(index, 0) << qPrintable(title) << " not in " << qPrintable(popup->itemTitles().join(u','));
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

class NetworkPagesTest : public DevicePageFixture {
protected:
    QOVAWiFISettingsView *openWifiPage(const QString &serial)
    {
        if (!openDevicePage(serial))
            return nullptr;
        clickTab("STRING_ADMIN_SETTINGS");
        clickEntry("STRING_WIFI_SETTINGS");
        waitUntil([&] { return page()->currentGetter() == QLatin1String("wifiSettignsView"); });
        return qobject_cast<QOVAWiFISettingsView *>(page()->currentView());
    }

    QOVANetworkView *openNetworkPage(const QString &serial)
    {
        if (!openDevicePage(serial))
            return nullptr;
        clickTab("STRING_ADMIN_SETTINGS");
        clickEntry("STRING_NETWORK_SETTINGS");
        waitUntil([&] { return page()->currentGetter() == QLatin1String("networkView"); });
        return qobject_cast<QOVANetworkView *>(page()->currentView());
    }

    void clickButton(QOVAButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        waitUntil([] { return false; }, 30);
    }

    void leaveToStatus()
    {
        clickTab("STRING_STATUS");
        waitUntil([&] { return page()->currentGetter() == QLatin1String("statusInfoView"); });
    }
};

// The user's road: Wi-Fi on, a network listed on two bands picked, one join
// window, one join with the 13 keys, the device connects and the page shows
// it, then the network is forgotten from the saved networks.
TEST_F(NetworkPagesTest, JoinAndForgetANetworkListedOnTwoBands)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI1");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI1");
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiEnableSwitch()->checked(); }));
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiSelectButton()->count() > 1; }));
    const QStringList titles = wifi->wifiSelectButton()->itemTitles();
    EXPECT_EQ(titles.first(), qtTrId("STRING_NONE"));
    EXPECT_EQ(titles.count(QStringLiteral("Meeting Room")), 1);
    EXPECT_TRUE(titles.contains(QStringLiteral("Café Zürich ☕")));
    shot(mainWindow(), QStringLiteral("wifi_page"));

    pick(wifi->wifiSelectButton(), QStringLiteral("Meeting Room"));
    const auto windows = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
    ASSERT_EQ(windows.size(), 1);
    QOVAWiFiSimpleWindow *join = windows.first();
    EXPECT_EQ(join->encryptionType(), QStringLiteral("PSK"));
    EXPECT_EQ(join->size(), QSize(440, 280));
    EXPECT_TRUE(join->joinButton()->disabled());
    QTest::keyClicks(join->pwdTextView()->securePwdTextField(), QStringLiteral("pw 12345678"));
    EXPECT_FALSE(join->joinButton()->disabled());
    shot(mainWindow(), QStringLiteral("wifi_simple_window"));
    clickButton(join->joinButton());

    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue().startsWith(qtTrId("STRING_CONNECTED")); }));
    const QList<QJsonObject> joins = joinsSent(bar);
    ASSERT_EQ(joins.size(), 1);
    EXPECT_EQ(QJsonDocument(joins.first()).toJson(QJsonDocument::Compact),
              QByteArray(R"({"anonymousIdentity":"","dhcp":1,"dns1":"","dns2":"","eapMethod":"","gateway":"",)"
                         R"("identity":"","ip_address":"","password":"pw 12345678","phase2":"","securityType":"PSK",)"
                         R"("ssid":"Meeting Room","subnet_mask":""})"));
    EXPECT_EQ(wifi->wifiPromptLabel()->stringValue(),
              qtTrId("STRING_CONNECTED") + QStringLiteral("  |  ") + sim::SimCatalogueRequestHandler::wifiAddressOf("WIFI1"));
    EXPECT_EQ(bar.state->connectedSsid(), QStringLiteral("Meeting Room"));
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiSelectButton()->itemText(0) == QStringLiteral("Meeting Room"); }));
    EXPECT_EQ(wifi->wifiSelectButton()->itemTitles().count(QStringLiteral("Meeting Room")), 1);
    shot(mainWindow(), QStringLiteral("wifi_page_connected"));

    clickButton(wifi->joinWiFiButton());
    const auto manage = shownWindows<QOVAWifiManageWindow>(mainWindow());
    ASSERT_EQ(manage.size(), 1);
    ASSERT_TRUE(waitUntil([&] { return manage.first()->cells().size() == 1; }));
    EXPECT_EQ(manage.first()->size(), QSize(420, 300));
    shot(mainWindow(), QStringLiteral("wifi_manage_window"));
    manage.first()->cells().first()->deleteButton()->click();
    ASSERT_TRUE(waitUntil([&] { return bar.state->savedSsids().isEmpty(); }));
    EXPECT_TRUE(manage.first()->cells().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue() == qtTrId("STRING_DISCONNECTED"); }));
    EXPECT_EQ(wifi->wifiSelectButton()->itemText(0), qtTrId("STRING_NONE"));
}

// Once the Wi-Fi page says Connected, the status page shows the joined
// network's signal too, not the no-Wi-Fi icon.
TEST_F(NetworkPagesTest, AfterAJoinTheStatusPageShowsTheSignal)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI2");
    ASSERT_TRUE(openDevicePage("WIFI2"));
    QOVAStatusBaseView *status = page()->statusInfoView();
    ASSERT_TRUE(status);
    ASSERT_TRUE(waitUntil([&] { return status->deviceWifiIcon()->imageName() == QLatin1String("icon_wifi_disconnect"); }));

    QOVAWiFISettingsView *wifi = openWifiPage("WIFI2");
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiSelectButton()->count() > 1; }));
    pick(wifi->wifiSelectButton(), QStringLiteral("Meeting Room"));
    const auto windows = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
    ASSERT_EQ(windows.size(), 1);
    QTest::keyClicks(windows.first()->pwdTextView()->securePwdTextField(), QStringLiteral("pw 12345678"));
    clickButton(windows.first()->joinButton());
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue().startsWith(qtTrId("STRING_CONNECTED")); }));

    clickTab("STRING_STATUS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentView() == page()->statusInfoView(); }));
    status = page()->statusInfoView();
    EXPECT_TRUE(waitUntil([&] { return status->deviceWifiIcon()->imageName() == QLatin1String("icon_wifi_good"); }))
        << qPrintable(status->deviceWifiIcon()->imageName());
    EXPECT_EQ(status->ipAddressLabel()->stringValue(), sim::SimCatalogueRequestHandler::wifiAddressOf("WIFI2"));
    shot(mainWindow(), QStringLiteral("status_page_after_wifi_join"));
}

// Each kind of scanned network opens its own window, once; a type no window
// knows is joined with a password.
TEST_F(NetworkPagesTest, PickingEachKindOfNetworkOpensTheRightWindowOnce)
{
    plugDevice(sim::Family::Orbrin, "WIFI2");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI2");
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiSelectButton()->count() > 1; }));
    const struct {
        const char *ssid;
        const char *simpleType;   // none: the enterprise window
    } cases[] = {{"Lobby", "None"}, {"Guest", "None"}, {"Meeting Room", "PSK"}, {"Studio", "PSK"}, {"Corporate", nullptr}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ssid);
        pick(wifi->wifiSelectButton(), QString::fromUtf8(c.ssid));
        const auto simple = shownWindows<QOVAWiFiSimpleWindow>(mainWindow());
        const auto eap = shownWindows<QOVAWiFiEAPWindow>(mainWindow());
        if (c.simpleType) {
            ASSERT_EQ(simple.size(), 1);
            EXPECT_TRUE(eap.isEmpty());
            EXPECT_EQ(simple.first()->encryptionType(), QLatin1String(c.simpleType));
            EXPECT_EQ(simple.first()->joinButton()->disabled(), QLatin1String(c.simpleType) != QLatin1String("None"));
            clickButton(simple.first()->cancelButton());
        } else {
            ASSERT_EQ(eap.size(), 1);
            EXPECT_TRUE(simple.isEmpty());
            clickButton(eap.first()->cancelButton());
        }
        // Cancelling puts the connected network (none here) back on top.
        EXPECT_EQ(wifi->wifiSelectButton()->titleOfSelectedItem(), qtTrId("STRING_NONE"));
    }
}

// A refresh run asks for the list exactly four times and stops; leaving
// stops it and the event handlers, and coming back starts a fresh run.
TEST_F(NetworkPagesTest, ListRefreshMakesFourRequestsPerRunAndStopsOnLeaving)
{
    // The leave below must come between two requests 4 s apart: at a tenth
    // of real time that gap is 400 ms, more than a loaded machine pauses.
    ScopedTimeScale scale(0.1);
    const int twoPeriods = platform::scaledMs(8000);
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI3");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI3");
    ASSERT_TRUE(wifi);
    const QString list = QStringLiteral("wifi_available_ssid");
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, list) == 4 && !wifi->isListRefreshRunning(); }));
    spin(twoPeriods);   // no fifth request
    EXPECT_EQ(requestCount(bar, list), 4);

    // Leave after two requests of a new run, then come back.
    wifi->getOrbrinWiFiList();
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, list) == 6; }));
    leaveToStatus();
    EXPECT_FALSE(wifi->isListRefreshRunning());
    EXPECT_EQ(wifi->timerCount(), 0);
    EXPECT_FALSE(wifi->isObservingNotifications());
    spin(twoPeriods);
    EXPECT_EQ(requestCount(bar, list), 6);

    clickTab("STRING_ADMIN_SETTINGS");
    clickEntry("STRING_WIFI_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return wifi->isListRefreshRunning(); }));
    EXPECT_TRUE(wifi->isObservingNotifications());
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, list) == 10 && !wifi->isListRefreshRunning(); }));
    spin(twoPeriods);
    EXPECT_EQ(requestCount(bar, list), 10);
}

// The connected network's name as the device sends its bytes.
TEST_F(NetworkPagesTest, ConnectedNameIsDecodedFromTheBytesPresent)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI4");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI4");
    ASSERT_TRUE(wifi);
    const struct {
        const char *name;
        QJsonArray buf;
        int count;
        std::optional<QString> shown;
    } cases[] = {
        {"count within buf", QJsonArray{0x47, 0x75, 0x65, 0x73, 0x74, 0, 0}, 5, QStringLiteral("Guest")},
        {"count beyond buf", QJsonArray{0x47, 0x75, 0x65}, 40, QStringLiteral("Gue")},
        {"invalid UTF-8", QJsonArray{0x47, 0xff, 0x75}, 3, QStringLiteral("G\uFFFDu")},
        {"markup", QJsonArray{0x3c, 0x62, 0x3e, 0x78}, 4, QStringLiteral("<b>x")},
        {"entry out of range", QJsonArray{0x47, 300}, 2, std::nullopt},
    };
    QOVAIOManager::usbManagerShared()->connectDeviceSpecficWifi(QJsonObject{{"ssid", "Guest"}}, bar.device->serialNumber(), {}, {});
    ASSERT_TRUE(waitUntil([&] { return bar.state->connectedSsid() == QLatin1String("Guest"); }));
    // The join's own events are over before the names are tried.
    ASSERT_TRUE(waitUntil([&] { return wifi->ssid() == QStringLiteral("Guest"); }));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        bar.state->setWifiStatusOctets(QJsonObject{{"buf", c.buf}, {"count", c.count}});
        wifi->setSsid(QStringLiteral("before"));
        const int before = requestCount(bar, QStringLiteral("wifi_status"));
        page()->wifiStatus(wifi);
        ASSERT_TRUE(waitUntil([&] { return requestCount(bar, QStringLiteral("wifi_status")) > before && wifi->ssid() != QStringLiteral("before"); }));
        EXPECT_EQ(wifi->ssid(), c.shown);
    }
}

// The device's events: connecting animates the picture; connected asks the
// status again, which ends the animation.
TEST_F(NetworkPagesTest, JoinEventsDriveTheConnectingAnimationAndTheStatus)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI5");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI5");
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, QStringLiteral("wifi_status")) == 1; }));
    bar.state->setWifiJoin(sim::SimCatalogueRequestHandler::WifiJoin::FailsLater);
    page()->connectWifiWithNetWorkName(QJsonObject{{"ssid", "Lobby"}});
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue() == qtTrId("STRING_CONNECTING"); }));
    EXPECT_TRUE(wifi->wifiPromptImageView()->animationImages().has_value());
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue() == qtTrId("STRING_DISCONNECTED"); }));
    EXPECT_FALSE(wifi->wifiPromptImageView()->animationImages().has_value());

    bar.state->setWifiJoin(sim::SimCatalogueRequestHandler::WifiJoin::Succeeds);
    page()->connectWifiWithNetWorkName(QJsonObject{{"ssid", "Lobby"}});
    ASSERT_TRUE(waitUntil([&] { return requestCount(bar, QStringLiteral("wifi_status")) == 2; }));
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiPromptLabel()->stringValue().startsWith(qtTrId("STRING_CONNECTED")); }));
    EXPECT_FALSE(wifi->wifiPromptImageView()->animationImages().has_value());

    // A refused join shows the failure toast; nothing else changes.
    bar.state->setWifiJoin(sim::SimCatalogueRequestHandler::WifiJoin::Refused);
    page()->connectWifiWithNetWorkName(QJsonObject{{"ssid", "Guest"}});
    EXPECT_TRUE(waitUntil([&] { return logText().contains(QStringLiteral("Connect WiFi Failure, reason is")); }));
    EXPECT_EQ(bar.state->connectedSsid(), QStringLiteral("Lobby"));
}

// Switching Wi-Fi off and on through the switch; auto-connect as a boolean.
TEST_F(NetworkPagesTest, WifiSwitchAndAutoConnectReachTheDevice)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "WIFI6");
    QOVAWiFISettingsView *wifi = openWifiPage("WIFI6");
    ASSERT_TRUE(wifi);
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiEnableSwitch()->checked() && wifi->autoConnectEnableSwitch()->checked(); }));
    click(wifi->autoConnectEnableSwitch());
    ASSERT_TRUE(waitUntil([&] { return !bar.state->wifiAutoConnect(); }));
    EXPECT_EQ(joinsSent(bar).last(), (QJsonObject{{"auto_connect", false}}));
    EXPECT_EQ(wifi->autoConnectReminderLabel()->stringValue(), qtTrId("STRING_OFF"));

    click(wifi->wifiEnableSwitch());
    ASSERT_TRUE(waitUntil([&] { return !bar.state->wifiEnabled(); }));
    ASSERT_TRUE(waitUntil([&] { return !wifi->wifiSelectButton()->isEnabled(); }));
    EXPECT_EQ(wifi->wifiSelectButton()->itemTitles(), QStringList{qtTrId("STRING_NONE")});
    EXPECT_EQ(wifi->wifiStatusReminderLabel()->stringValue(), qtTrId("STRING_OFF"));
    // Off: the links open nothing, even before the device answers.
    wifi->joinOtherNetWork();
    wifi->clickManageWiFiButton();
    EXPECT_TRUE(shownWindows<QOVAWifiBaseWindow>(mainWindow()).isEmpty());

    click(wifi->wifiEnableSwitch());
    ASSERT_TRUE(waitUntil([&] { return bar.state->wifiEnabled() && wifi->wifiSelectButton()->isEnabled(); }));
    ASSERT_TRUE(waitUntil([&] { return wifi->wifiSelectButton()->count() > 1; }));
}

// The network camera: Ethernet on, a static address and 802.1X, each read
// back after leaving the page and coming back.
TEST_F(NetworkPagesTest, VaskoNetworkPageSetsEthernetStaticAddressAnd8021X)
{
    SimHandle cam = plugDevice(sim::Family::Vasko, "NET1");
    QOVANetworkView *net = openNetworkPage("NET1");
    ASSERT_TRUE(net);
    ASSERT_TRUE(waitUntil([&] { return requestCount(cam, QStringLiteral("network_status")) >= 1; }));
    EXPECT_TRUE(net->isPolling());
    shot(mainWindow(), QStringLiteral("network_page"));

    // The port off first, so that Ethernet is a real change.
    pick(net->networkModeSelectedButton(), qtTrId("STRING_NONE"));
    ASSERT_TRUE(waitUntil([&] { return sentTo(cam, QStringLiteral("network")).size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return net->isPolling() && !net->ethernetIPV4SettingButton()->isEnabled(); }));
    EXPECT_EQ(sentTo(cam, QStringLiteral("network")).first().body, (QJsonObject{{"network_mode", "None"}}));
    shot(mainWindow(), QStringLiteral("network_page_none"));

    // A pick stops the poll; the reply restarts it, without a second timer.
    pick(net->networkModeSelectedButton(), qtTrId("STRING_ETHERNET"));
    EXPECT_FALSE(net->isPolling());
    ASSERT_TRUE(waitUntil([&] { return net->isPolling(); }));
    const QList<Sent> modes = sentTo(cam, QStringLiteral("network"));
    ASSERT_EQ(modes.size(), 2);
    EXPECT_EQ(modes.last().msgId, 38);
    EXPECT_EQ(modes.last().body, (QJsonObject{{"network_mode", "Ethernet"}}));
    net->restartNetworkTimer();
    EXPECT_EQ(net->findChildren<QTimer *>().size(), 1);
    ASSERT_TRUE(waitUntil([&] { return net->ethernetIPV4SettingButton()->isVisible(); }));
    EXPECT_TRUE(net->ethernetIPV4SettingButton()->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return net->networkPromptLabel()->stringValue().startsWith(qtTrId("STRING_CONNECTED")); }));
    EXPECT_EQ(net->statusLightColour(), QColor(0x39, 0xd7, 0x3c));
    shot(mainWindow(), QStringLiteral("network_page_ethernet"));

    clickButton(net->ethernetIPV4SettingButton());
    EXPECT_FALSE(net->isPolling());
    auto ipv4 = shownWindows<QOVAIPV4Window>(mainWindow());
    ASSERT_EQ(ipv4.size(), 1);
    ipv4.first()->setAnimationDuration(0);
    // The window fills itself from the stored settings on the event loop's
    // next turn; the user's choices come after that.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    pick(ipv4.first()->methodPopupButton(), qtTrId("STRING_STASTICS"));
    for (auto [field, text] : {std::pair{ipv4.first()->ipTextField(), "10.0.0.7"},
                               std::pair{ipv4.first()->netMaskTextField(), "255.255.255.0"},
                               std::pair{ipv4.first()->gatewayField(), "10.0.0.1"}}) {
        field->clear();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    shot(mainWindow(), QStringLiteral("network_ipv4_window"));
    clickButton(ipv4.first()->joinButton());
    ASSERT_TRUE(waitUntil([&] { return sentTo(cam, QStringLiteral("network")).size() == 3; }));
    const Sent address = sentTo(cam, QStringLiteral("network")).last();
    EXPECT_EQ(address.msgId, 40);
    EXPECT_EQ(address.body.value("network_mode"), QJsonValue("Ethernet"));
    EXPECT_EQ(address.body.value("IPV4setting").toObject().value("main_ip_address"), QJsonValue("10.0.0.7"));
    EXPECT_EQ(address.body.value("IPV4setting").toObject().value("dhcp"), QJsonValue(0));
    ASSERT_TRUE(waitUntil([&] { return net->isPolling(); }));

    clickButton(net->ethernetSecuritySettingButton());
    auto security = shownWindows<QOVA8021xEthernetWindow>(mainWindow());
    ASSERT_EQ(security.size(), 1);
    EXPECT_FALSE(net->isPolling());
    QOVA8021xEthernetWindow *eap = security.first();
    pick(eap->securityButton(), QStringLiteral("802.1 x EAP"));
    pick(eap->eapButton(), QStringLiteral("PEAP"));
    QCoreApplication::processEvents();
    eap->identifyTextfield()->setFocus();
    QTest::keyClicks(eap->identifyTextfield(), QStringLiteral("alice"));
    eap->passwordTextfield()->securePwdTextField()->setFocus();
    QTest::keyClicks(eap->passwordTextfield()->securePwdTextField(), QStringLiteral("s3cret"));
    shot(mainWindow(), QStringLiteral("network_8021x_window"));
    clickButton(eap->saveButton());
    ASSERT_TRUE(waitUntil([&] { return sentTo(cam, QStringLiteral("network")).size() == 4; }));
    const QJsonObject sent8021x = sentTo(cam, QStringLiteral("network")).last().body.value("Security_802_1_x").toObject();
    EXPECT_EQ(sent8021x.value("identity"), QJsonValue("alice"));
    EXPECT_EQ(sent8021x.value("eapMethod"), QJsonValue("PEAP"));
    ASSERT_TRUE(waitUntil([&] { return net->isPolling(); }));

    // Leave and come back: the stored values are read back from the device.
    leaveToStatus();
    EXPECT_FALSE(net->isPolling());
    clickTab("STRING_ADMIN_SETTINGS");
    clickEntry("STRING_NETWORK_SETTINGS");
    const int asked = requestCount(cam, QStringLiteral("network_status"));
    ASSERT_TRUE(waitUntil([&] { return requestCount(cam, QStringLiteral("network_status")) > asked + 1; }));
    ASSERT_TRUE(waitUntil([&] { return net->ipv4SettingModel() && net->ipv4SettingModel()->main_ip_address == "10.0.0.7"; }));
    ASSERT_TRUE(waitUntil([&] { return net->eth802_1_xModel() && net->eth802_1_xModel()->identity == "alice"; }));
    EXPECT_EQ(net->eth802_1_xModel()->eapMethod, QStringLiteral("PEAP"));
    EXPECT_EQ(net->eth802_1_xModel()->securityType, QStringLiteral("802.1 x EAP"));
    EXPECT_EQ(net->networkPromptLabel()->stringValue(), qtTrId("STRING_CONNECTED") + QStringLiteral("  |  10.0.0.7"));
    EXPECT_EQ(net->networkModeSelectedButton()->itemText(0), qtTrId("STRING_ETHERNET"));

    // A reply arriving after the page is left leaves the poll stopped.
    leaveToStatus();
    net->restartNetworkTimer();
    EXPECT_FALSE(net->isPolling());
}

// Whichever way the user leaves the device, the network pages go with its
// page and nothing they started asks the device again.
TEST_F(NetworkPagesTest, LeavingTheDeviceEndsThePollAndTheListRefresh)
{
    struct Way {
        const char *label;
        std::function<void(const QString &serial)> leave;
    };
    const Way ways[] = {
        {"back to the device list", [this](const QString &) { delegate()->navigationView()->navigationPop(); }},
        {"another device", [this](const QString &) { openDevicePage("NETOTHER"); }},
        {"device removed", [this](const QString &serial) { unplug(serial); }},
    };
    plugDevice(sim::Family::Orbrin, "NETOTHER", "1.3.0.5");
    int round = 0;
    for (const Way &way : ways) {
        SCOPED_TRACE(way.label);
        const QString camSerial = QStringLiteral("NETCAM%1").arg(++round);
        const QString barSerial = QStringLiteral("NETBAR%1").arg(round);
        SimHandle cam = plugDevice(sim::Family::Vasko, camSerial);
        SimHandle bar = plugDevice(sim::Family::Orbrin, barSerial, "1.3.0.5");

        QPointer<QOVANetworkView> net = openNetworkPage(camSerial);
        ASSERT_TRUE(net);
        ASSERT_TRUE(waitUntil([&] { return net->isPolling(); }));
        way.leave(camSerial);
        ASSERT_TRUE(waitUntil([&] { return net.isNull(); }));
        const int polled = requestCount(cam, QStringLiteral("network_status"));

        QPointer<QOVAWiFISettingsView> wifi = openWifiPage(barSerial);
        ASSERT_TRUE(wifi);
        ASSERT_TRUE(waitUntil([&] { return requestCount(bar, QStringLiteral("wifi_available_ssid")) >= 1; }));
        ASSERT_TRUE(wifi->isListRefreshRunning());
        way.leave(barSerial);
        ASSERT_TRUE(waitUntil([&] { return wifi.isNull(); }));
        const int listed = requestCount(bar, QStringLiteral("wifi_available_ssid"));

        spin(platform::scaledMs(9000));
        EXPECT_EQ(requestCount(cam, QStringLiteral("network_status")), polled);
        EXPECT_EQ(requestCount(bar, QStringLiteral("wifi_available_ssid")), listed);
        for (const QString &serial : {camSerial, barSerial}) {
            if (bus()->device(serial))
                unplug(serial);
        }
    }
}

} // namespace
