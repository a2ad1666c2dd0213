// The join record and the shared name rules, the simple join window, the
// join-other-network window with its option row, and the saved networks
// window, each opened directly with a recording owner.

#include "NetworkTestSupport.h"

#include "QOVAVaskoAdvancedWindow.h"
#include "QOVAWiFiSegmentWindow.h"
#include "QOVAWiFiSimpleWindow.h"
#include "QOVAWifiConnectWindow.h"
#include "QOVAWifiAdvancedConnectWindow.h"
#include "QOVAWifiJoinParameters.h"
#include "QOVAWifiManageWindow.h"
#include "QOVAWifiSwitchButtonView.h"

#include "Octets.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>

using namespace nettest;

namespace {

TEST(WifiJoinRecords, ValueFormsAndKeysAreExact)
{
    qovanet::JoinAddress fixed;
    fixed.dhcp = false;
    fixed.ipAddress = QStringLiteral("10.1.1.5");
    fixed.subnetMask = QStringLiteral("255.0.0.0");
    fixed.dns1 = QStringLiteral(" 8.8.8.8");
    const struct {
        const char *name;
        QJsonObject record;
        QByteArray json;
    } cases[] = {
        {"simple, DHCP", qovanet::simpleJoinRecord("Lobby", "", "None", {}),
         R"({"anonymousIdentity":"","dhcp":1,"dns1":"","dns2":"","eapMethod":"","gateway":"","identity":"",)"
         R"("ip_address":"","password":"","phase2":"","securityType":"None","ssid":"Lobby","subnet_mask":""})"},
        {"simple, static as typed", qovanet::simpleJoinRecord("A", "p", "PSK", fixed),
         R"({"anonymousIdentity":"","dhcp":0,"dns1":" 8.8.8.8","dns2":"","eapMethod":"","gateway":"","identity":"",)"
         R"("ip_address":"10.1.1.5","password":"p","phase2":"","securityType":"PSK","ssid":"A","subnet_mask":"255.0.0.0"})"},
        {"security None", qovanet::noneSecurityRecord("X"),
         R"({"anonymousIdentity":"","auto_connect":true,"caCert":"","clientCert":"","dhcp":1,"dns1":"","dns2":"",)"
         R"("eapMethod":"NONE","gateway":"","identity":"","ip_address":"","password":"","phase2":"NONE",)"
         R"("securityType":"NONE","ssid":"X","subnet_mask":""})"},
        {"auto-connect", qovanet::autoConnectRecord(false), R"({"auto_connect":false})"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(compact(c.record), c.json) << c.name;
    EXPECT_EQ(qovanet::simpleJoinRecord("a", "b", "PSK", {}).size(), 13);
    EXPECT_EQ(qovanet::noneSecurityRecord("a").size(), 16);
    qovanet::OtherJoin other;
    other.caCert = true;
    const QJsonObject withCerts = qovanet::otherJoinRecord(other);
    EXPECT_EQ(withCerts.size(), 15);
    EXPECT_EQ(withCerts.value("caCert"), QJsonValue("orbrin_wifi"));
    EXPECT_EQ(withCerts.value("clientCert"), QJsonValue(""));
    EXPECT_EQ(qovanet::otherJoinRecord(other, false).size(), 13);
}

TEST(WifiJoinRecords, SecurityWordAndNameDecoding)
{
    for (const auto &[type, word] : {std::pair{"[ESS]", "None"}, std::pair{"None", "None"},
                                     std::pair{"WPA2-PSK", "PSK"}, std::pair{"[WPA2-PSK][ESS]", "PSK"},
                                     std::pair{"", "PSK"}, std::pair{"WPA3-SAE", "PSK"}})
        EXPECT_EQ(qovanet::normalisedSecurityType(QLatin1String(type)), QLatin1String(word)) << type;

    const struct {
        QJsonArray buf;
        qint64 count;
        std::optional<QString> name;
    } cases[] = {
        {QJsonArray{0x61, 0x62, 0x63}, 2, QStringLiteral("ab")},
        {QJsonArray{0x61}, 32, QStringLiteral("a")},
        {QJsonArray{0x61}, -3, QString()},
        {QJsonArray{0xc3, 0xa9}, 2, QStringLiteral("é")},
        {QJsonArray{0xc3}, 1, QStringLiteral("\uFFFD")},
        {QJsonArray{0x61, 256}, 2, std::nullopt},
        {QJsonArray{0x61, -1}, 2, std::nullopt},
        {QJsonArray{0x61, 300}, 1, QStringLiteral("a")},
    };
    for (const auto &c : cases) {
        Octets octets;
        octets.buf = c.buf;
        octets.count = c.count;
        EXPECT_EQ(qovanet::decodeSsid(octets), c.name) << compact(QJsonObject{{"buf", c.buf}}).constData();
    }
}

class RecordingJoinOwner : public QOVAWiFiSimpleWindowDelegate, public QOVAWifiAdvancedConnectWindowDelegate {
public:
    QList<QJsonObject> joined;
    QList<QJsonObject> noneRecords;
    int cancels = 0;
    int fetches = 0;
    void connectSimpleWifiWithUserpassword(const QJsonObject &params) override { joined << params; }
    void cancelConnect() override { ++cancels; }
    void wifiAdvancedWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &params, bool remember) override
    {
        EXPECT_FALSE(remember);
        joined << params;
    }
    void setWifiSecurityTypeWindow(QOVAWifiAdvancedConnectWindow *, const QJsonObject &params) override
    {
        noneRecords << params;
    }
    void cancelAdvanceConnect() override { ++cancels; }
    void fetchWindowCertificateInfo() override { ++fetches; }
};

class WifiJoinWindowTest : public NetworkFixture {
protected:
    RecordingJoinOwner owner;
};

TEST_F(WifiJoinWindowTest, SimplePasswordWindowNeedsPasswordAndStaticAddress)
{
    auto *window = new QOVAWiFiSimpleWindow(440, 280, QStringLiteral("Office"), QStringLiteral("PSK"));
    window->setSimpleDelegate(&owner);
    window->show();
    EXPECT_TRUE(window->joinButton()->disabled());
    EXPECT_EQ(window->titleLabel()->stringValue(),
              qtTrId("STRING_WIFI_NETWORK") + " \"Office\" " + qtTrId("STRING_REQUIRE_PASSWORD"));
    type(window->pwdTextView()->securePwdTextField(), QStringLiteral("secret"));
    EXPECT_FALSE(window->joinButton()->disabled());

    window->advancedButton()->click();
    EXPECT_EQ(window->size(), QSize(440, 310));
    pick(window->dhcpUpButton(), qtTrId("STRING_STASTICS"));
    EXPECT_EQ(window->size(), QSize(440, 450));
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->ipTextField(), QStringLiteral("10.0.0.9"));
    EXPECT_FALSE(window->joinButton()->disabled());
    shot(QStringLiteral("wifi_simple_window_static"));
    pick(window->dhcpUpButton(), QStringLiteral("DHCP"));
    EXPECT_EQ(window->size(), QSize(440, 310));
    pick(window->dhcpUpButton(), qtTrId("STRING_STASTICS"));
    click(window->joinButton());
    ASSERT_EQ(owner.joined.size(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());
    EXPECT_EQ(owner.joined.first().value("dhcp"), QJsonValue(0));
    EXPECT_EQ(owner.joined.first().value("ip_address"), QJsonValue("10.0.0.9"));
    EXPECT_EQ(owner.joined.first().value("gateway"), QJsonValue(""));
    EXPECT_EQ(owner.joined.first().value("password"), QJsonValue("secret"));
}

TEST_F(WifiJoinWindowTest, SimpleOpenWindowJoinsAtOnceAndForgetsHiddenAddresses)
{
    auto *window = new QOVAWiFiSimpleWindow(440, 280, QStringLiteral("Lobby"), QStringLiteral("None"));
    window->setSimpleDelegate(&owner);
    window->show();
    EXPECT_FALSE(window->joinButton()->disabled());
    EXPECT_EQ(window->titleLabel()->stringValue(), QStringLiteral("Lobby"));
    shot(QStringLiteral("wifi_simple_window_open"));
    window->advancedButton()->click();
    pick(window->dhcpUpButton(), qtTrId("STRING_STASTICS"));
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->ipTextField(), QStringLiteral("1.2.3.4"));
    EXPECT_FALSE(window->joinButton()->disabled());
    window->advancedButton()->click();   // off: back to DHCP, rows hidden
    EXPECT_EQ(window->size(), QSize(440, 280));
    EXPECT_FALSE(window->ipTextField()->isVisible());
    click(window->joinButton());
    ASSERT_EQ(owner.joined.size(), 1);
    EXPECT_EQ(compact(owner.joined.first()), compact(qovanet::simpleJoinRecord("Lobby", "", "None", {})));

    auto *cancelled = new QOVAWiFiSimpleWindow(440, 280, QStringLiteral("Lobby"), QStringLiteral("None"));
    cancelled->setSimpleDelegate(&owner);
    cancelled->show();
    click(cancelled->cancelButton());
    EXPECT_EQ(owner.cancels, 1);
    EXPECT_EQ(owner.joined.size(), 1);
}

TEST_F(WifiJoinWindowTest, JoinOtherWindowSizesRecordsAndNoneChoice)
{
    auto *window = new QOVAWifiAdvancedConnectWindow(420, 372);
    window->setWindowDelegate(&owner);
    window->getWiFiCertificate();
    window->show();
    EXPECT_EQ(owner.fetches, 1);
    EXPECT_EQ(window->secureType(), 1);
    EXPECT_TRUE(window->joinButton()->disabled());
    shot(QStringLiteral("wifi_join_other_window"));

    // Before any choice the box's round trip keeps the WEP height.
    window->switchView()->advancedButton()->click();
    EXPECT_EQ(window->height(), 544);
    window->switchView()->advancedButton()->click();
    EXPECT_EQ(window->height(), 372);

    // Choosing None sends its own record at once, also without a name.
    pick(window->securityButton(), QStringLiteral("None"));
    ASSERT_EQ(owner.noneRecords.size(), 1);
    EXPECT_EQ(compact(owner.noneRecords.first()), compact(qovanet::noneSecurityRecord("")));
    EXPECT_EQ(window->height(), 310);
    type(window->ssidTextfiled(), QStringLiteral("Hidden"));
    EXPECT_FALSE(window->joinButton()->disabled());

    pick(window->securityButton(), QStringLiteral("WPA/WPA2/FT PSK"));
    EXPECT_EQ(window->height(), 372);
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->passwordView()->securePwdTextField(), QStringLiteral("k3y"));
    EXPECT_FALSE(window->joinButton()->disabled());
    window->switchView()->advancedButton()->click();
    EXPECT_EQ(window->height(), 544);
    EXPECT_FALSE(window->isScrollingEnabled());
    pick(window->securityButton(), QStringLiteral("802.1xEAP"));
    EXPECT_TRUE(window->isScrollingEnabled());
    pick(window->securityButton(), QStringLiteral("WPA/WPA2/FT PSK"));
    window->switchView()->advancedButton()->click();

    click(window->joinButton());
    ASSERT_EQ(owner.joined.size(), 1);
    const QJsonObject record = owner.joined.first();
    EXPECT_EQ(record.size(), 15);
    EXPECT_EQ(record.value("securityType"), QJsonValue("PSK"));
    EXPECT_EQ(record.value("ssid"), QJsonValue("Hidden"));
    EXPECT_EQ(record.value("password"), QJsonValue("k3y"));
    EXPECT_EQ(record.value("eapMethod"), QJsonValue("PEAP"));
    EXPECT_EQ(record.value("caCert"), QJsonValue(""));
    EXPECT_EQ(record.value("dhcp"), QJsonValue(1));
    EXPECT_FALSE(window->isVisible());
}

class RecordingSwitchOwner : public QOVAWifiSwitchButtonViewDelegate {
public:
    QList<bool> shown;
    void wifiSwitchButtonView(QOVAWifiSwitchButtonView *, bool show) override { shown << show; }
};

TEST_F(WifiJoinWindowTest, OptionRowReportsTheBoxAndNeverAutoConnects)
{
    RecordingSwitchOwner rowOwner;
    QOVAWifiSwitchButtonView row;
    row.resize(420, 15);
    row.setSwitchDelegate(&rowOwner);
    row.advancedButton()->click();
    row.advancedButton()->click();
    EXPECT_EQ(rowOwner.shown, (QList<bool>{true, false}));
    EXPECT_FALSE(row.autoConnect());

    QOVAWifiSwitchButtonView alone;
    alone.advancedButton()->click();
    EXPECT_TRUE(alone.showAdvanced());
}

class RecordingManageOwner : public QOVAWifiManageWindowDelegate {
public:
    int asked = 0;
    QList<QJsonObject> forgotten;
    void wifiManageWindow(QOVAWifiManageWindow *) override { ++asked; }
    void wifiManageDeleteWindow(QOVAWifiManageWindow *, const QJsonObject &params) override { forgotten << params; }
};

TEST_F(WifiJoinWindowTest, SavedNetworksAreListedAndForgottenOneByOne)
{
    RecordingManageOwner manageOwner;
    auto *window = new QOVAWifiManageWindow(420, 300);
    window->setWifiManageDelegate(&manageOwner);
    window->requestWiFiConnectedList();
    window->show();
    EXPECT_EQ(manageOwner.asked, 1);
    window->setupData({QStringLiteral("Home"), QStringLiteral("A very long network name that does not fit its label")});
    ASSERT_EQ(window->cells().size(), 2);
    EXPECT_TRUE(window->cells().at(1)->securityImageView()->isVisibleTo(window->cells().at(1)));
    shot(QStringLiteral("wifi_manage_window_rows"));

    window->cells().first()->deleteButton()->click();
    EXPECT_EQ(manageOwner.forgotten, (QList<QJsonObject>{QJsonObject{{"ssid", "Home"}}}));
    ASSERT_EQ(window->wifiModelList().size(), 1);
    window->cells().first()->deleteButton()->click();
    EXPECT_EQ(manageOwner.forgotten.last(), (QJsonObject{{"ssid", "A very long network name that does not fit its label"}}));
    EXPECT_TRUE(window->cells().isEmpty());
    EXPECT_TRUE(window->isVisible());
    click(window->okButton());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());
}

class RecordingCredentialOwner : public QOVAWifiConnectWindowDelegate {
public:
    QStringList answers;
    void WifiWindow(QOVAWifiConnectWindow *, const QString &user, const QString &password, bool remember) override
    {
        answers << QStringLiteral("%1|%2|%3").arg(user, password).arg(remember);
    }
};

TEST_F(WifiJoinWindowTest, CredentialWindowNeedsAUserNameAndCarriesThePasswordAcross)
{
    RecordingCredentialOwner credentialOwner;
    auto *window = new QOVAWifiConnectWindow(420, 260);
    window->setWindowDelegate(&credentialOwner);
    window->setWifiUsername(QStringLiteral("Corp"));
    window->show();
    EXPECT_EQ(window->titleLabel()->stringValue(),
              qtTrId("STRING_WIFI_NETWORK") + " \"Corp\" " + qtTrId("STRING_WIFI_REQUIRE_CREDENTIAL"));
    type(window->securePwdTextfield(), QStringLiteral("pw1"));
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->usernameTextfiled(), QStringLiteral("ann"));
    EXPECT_FALSE(window->joinButton()->disabled());
    window->showPwdButton()->click();
    EXPECT_EQ(window->pwdTextField()->text(), QStringLiteral("pw1"));
    type(window->pwdTextField(), QStringLiteral("2"));
    window->showPwdButton()->click();
    EXPECT_EQ(window->securePwdTextfield()->text(), QStringLiteral("pw12"));
    // Both check box titles show whole in the 420-wide window.
    for (QCheckBox *box : {window->showPwdButton(), window->rememberButton()}) {
        EXPECT_GE(box->width(), box->sizeHint().width()) << qPrintable(box->text());
        EXPECT_LE(box->geometry().right(), window->width() - 1) << qPrintable(box->text());
    }
    shot(QStringLiteral("wifi_credential_window"));
    click(window->joinButton());
    EXPECT_EQ(credentialOwner.answers, QStringList{QStringLiteral("ann|pw12|0")});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WifiJoinWindowTest, SegmentWindowIsAStaticFormThatKeepsItsOrigin)
{
    auto *window = new QOVAWiFiSegmentWindow(QRectF(40, 50, 420, 300));
    EXPECT_FALSE(window->defaultCenter());
    window->show();
    EXPECT_EQ(window->size(), QSize(420, 300));
    EXPECT_EQ(window->wifiSegmentControl()->count(), 2);
    EXPECT_EQ(window->dhcpPopUpButton()->itemTitles(), QStringList{QStringLiteral("Enter IP address manually")});
    shot(QStringLiteral("wifi_segment_window"));
    window->orderOut();
    EXPECT_FALSE(pageDimmed());
}

class RecordingVaskoOwner : public QOVAVaskoWifiAdvancedConnectWindowDelegate {
public:
    QList<QJsonObject> joined;
    int cancels = 0;
    void wifiAdvancedWindow(QOVAVaskoAdvancedWindow *, const QJsonObject &params) override { joined << params; }
    void cancelAdvanceConnect() override { ++cancels; }
};

TEST_F(WifiJoinWindowTest, VaskoJoinOtherWindowSendsThirteenKeys)
{
    RecordingVaskoOwner vaskoOwner;
    auto *window = new QOVAVaskoAdvancedWindow(420, 310);
    window->setWindowDelegate(&vaskoOwner);
    window->show();
    EXPECT_FALSE(window->joinButton()->disabled());
    pick(window->securityButton(), qtTrId("STRING_NONE"));
    EXPECT_TRUE(window->joinButton()->disabled());
    pick(window->securityButton(), QStringLiteral("WPA/WPA2/FT PSK"));
    EXPECT_EQ(window->height(), 372);
    EXPECT_FALSE(window->joinButton()->disabled());
    pick(window->securityButton(), QStringLiteral("802.1xEAP"));
    EXPECT_EQ(window->height(), 544);
    EXPECT_TRUE(window->isScrollingEnabled());   // PEAP rows
    shot(QStringLiteral("vasko_join_other_window"));
    pick(window->securityButton(), QStringLiteral("WPA/WPA2/FT PSK"));
    type(window->ssidTextfiled(), QStringLiteral("Cam net"));
    type(window->passwordView()->securePwdTextField(), QStringLiteral("pw"));
    click(window->joinButton());
    ASSERT_EQ(vaskoOwner.joined.size(), 1);
    const QJsonObject record = vaskoOwner.joined.first();
    EXPECT_EQ(record.size(), 13);
    EXPECT_EQ(record.value("securityType"), QJsonValue("PSK"));
    EXPECT_EQ(record.value("eapMethod"), QJsonValue("PEAP"));
    EXPECT_EQ(record.value("password"), QJsonValue("pw"));
    EXPECT_EQ(record.value("dhcp"), QJsonValue(1));
    EXPECT_FALSE(record.contains("caCert"));
    EXPECT_FALSE(window->isVisible());
}

} // namespace

// Every scroll bar of the application has the firmware page's look: a dark
// rounded thumb on a light track and no arrow buttons. Here the join
// window's form, which scrolls once the 802.1X fields are open.
TEST_F(WifiJoinWindowTest, ScrollBarShowsADarkThumbOnALightTrack)
{
    auto *window = new QOVAWifiAdvancedConnectWindow(420, 372);
    window->setWindowDelegate(&owner);
    window->show();
    pick(window->securityButton(), QStringLiteral("802.1xEAP"));
    window->switchView()->advancedButton()->click();
    ASSERT_TRUE(window->isScrollingEnabled());
    QScrollBar *bar = nullptr;
    for (QScrollBar *candidate : window->findChildren<QScrollBar *>()) {
        if (candidate->orientation() == Qt::Vertical && candidate->isVisible())
            bar = candidate;
    }
    ASSERT_TRUE(bar);
    ASSERT_GT(bar->maximum(), 0);
    shot(QStringLiteral("wifi_join_scroll_bar"));

    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QStyle *style = bar->style();
    const QRect thumb = style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect track = style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddPage, bar);
    ASSERT_TRUE(thumb.isValid());
    ASSERT_TRUE(track.isValid());
    // No arrow buttons: the thumb runs from one end of the bar to the other.
    EXPECT_TRUE(style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, bar).isEmpty());
    EXPECT_TRUE(style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar).isEmpty());
    const QImage image = bar->grab().toImage();
    const QColor thumbColour = image.pixelColor(thumb.center());
    const QColor trackColour = image.pixelColor(track.center());
    EXPECT_GT(trackColour.lightness(), 235) << qPrintable(trackColour.name());
    EXPECT_LT(thumbColour.lightness() + 40, trackColour.lightness())
        << qPrintable(thumbColour.name()) << " on " << qPrintable(trackColour.name());
    // Rounded: the thumb's corner shows the track.
    const QColor corner = image.pixelColor(thumb.topLeft() + QPoint(2, 2));
    EXPECT_GT(corner.lightness(), thumbColour.lightness());
}
