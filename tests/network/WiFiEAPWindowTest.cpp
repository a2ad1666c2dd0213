// The enterprise Wi-Fi join window: its rows and size per method, the Join
// rule (run again after every method choice), the installed certificates it
// offers, and the 15-key join dictionary, down to the request body the
// video bar receives.

#include "NetworkTestSupport.h"

#include "QOVAAdvancedView.h"
#include "QOVAWiFiEAPWindow.h"

#include "CertInfo.h"
#include "QOVAIOManager.h"
#include "QOVALabel.h"
#include "QOVAScrollView.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include "sim/SimDevice.h"

#include <QCheckBox>

using namespace nettest;

namespace {

class RecordingEAPDelegate : public QOVAWiFiEAPWindowDelegate {
public:
    QList<QJsonObject> joined;
    QList<bool> remembered;
    int fetches = 0;
    int cancels = 0;
    bool windowVisibleAtCall = false;
    QWidget *window = nullptr;
    void connectEAPWifiWithUserpassword(const QJsonObject &params, bool remember) override
    {
        joined << params;
        remembered << remember;
        windowVisibleAtCall = window && window->isVisible();
    }
    void fetchCertificateInfo() override { ++fetches; }
    void cancel() override
    {
        ++cancels;
        windowVisibleAtCall = window && window->isVisible();
    }
};

// An opener that only joins, as the set-up pages are.
class JoinOnlyDelegate : public QOVAWiFiEAPWindowDelegate {
public:
    int joins = 0;
    void connectEAPWifiWithUserpassword(const QJsonObject &, bool) override { ++joins; }
};

CertInfo installed(const QStringList &types)
{
    CertInfo info;
    for (const QString &type : types) {
        auto entry = std::make_shared<CertInfoModel>();
        entry->type = type;
        info.info.append(entry);
    }
    return info;
}

class WiFiEAPWindowTest : public NetworkFixture {
protected:
    QOVAWiFiEAPWindow *open(const QString &ssid = QStringLiteral("CorpNet"))
    {
        m_window = std::make_unique<QOVAWiFiEAPWindow>(420, 490, ssid);
        m_window->setEapDelegate(&m_recorder);
        m_recorder.window = m_window.get();
        m_window->getCertificateInfo();
        m_window->show();
        return m_window.get();
    }
    void TearDown() override
    {
        m_window.reset();
        NetworkFixture::TearDown();
    }
    QLineEdit *password() const { return m_window->securePwdTextfield()->securePwdTextField(); }
    void setAdvanced(bool on)
    {
        if (m_window->advanceButton()->isChecked() != on)
            QTest::mouseClick(m_window->advanceButton(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 9));
        ASSERT_EQ(m_window->advanceButton()->isChecked(), on);
    }
    QStringList rows() const
    {
        QOVAWiFiEAPWindow *w = m_window.get();
        QList<QOVALabel *> shown;
        for (QOVALabel *label : {w->eapMethodLabel(), w->phaseLabel(), w->certificateLabel(), w->userCertificateLabel(),
                                 w->usernameLabel(), w->anonymousLabel(), w->passwordLabel()}) {
            if (label->isVisible())
                shown << label;
        }
        std::sort(shown.begin(), shown.end(), [](QOVALabel *a, QOVALabel *b) { return a->y() < b->y(); });
        QStringList texts;
        for (QOVALabel *label : shown)
            texts << label->stringValue();
        return texts;
    }
    std::unique_ptr<QOVAWiFiEAPWindow> m_window;
    RecordingEAPDelegate m_recorder;
};

QStringList keys(std::initializer_list<const char *> ids)
{
    QStringList texts;
    for (const char *id : ids)
        texts << qtTrId(id);
    return texts;
}

} // namespace

TEST_F(WiFiEAPWindowTest, OpensOnPeapWithJoinDisabled)
{
    QOVAWiFiEAPWindow *window = open(QStringLiteral("<b>Corp</b> & Co"));
    EXPECT_EQ(m_recorder.fetches, 1);
    EXPECT_EQ(window->geometry(), QRect(content().x() + 200, content().y() + 55, 420, 490));
    EXPECT_TRUE(pageDimmed());
    // The network's name is shown as it is, not as markup.
    EXPECT_TRUE(window->titleLabel()->stringValue().contains(QStringLiteral("\"<b>Corp</b> & Co\"")));
    EXPECT_EQ(window->eapPopUpButton()->currentText(), QStringLiteral("PEAP"));
    EXPECT_EQ(window->phase2AuthPopUpButton()->itemTitles(), (QStringList{qtTrId("STRING_NONE"), "MSCHAPV2", "GTC"}));
    EXPECT_EQ(rows(), keys({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                            "STRING_ANONYMOUS_IDENTIFY", "STRING_PASSWORD"}));
    EXPECT_FALSE(window->advancedView()->isVisible());
    EXPECT_TRUE(window->joinButton()->disabled());
    EXPECT_EQ(window->mainScrollView()->geometry(), QRect(0, 103, 420, 490 - 103 - 45));
    shot(QStringLiteral("wifi_eap_PEAP"));
}

TEST_F(WiFiEAPWindowTest, EveryRowOfEveryMethodLiesWithinTheFormArea)
{
    // The form area clips what reaches over its edges: the first row's
    // pop-up (centred above its label) included.
    QOVAWiFiEAPWindow *window = open();
    for (const char *method : {"PEAP", "TTLS", "TLS", "PWD"}) {
        SCOPED_TRACE(method);
        pick(window->eapPopUpButton(), QString::fromLatin1(method));
        const QRect form = window->formView()->rect();
        for (QWidget *child : window->formView()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isHidden())
                continue;
            EXPECT_TRUE(form.contains(child->geometry()))
                << qPrintable(child->metaObject()->className()) << " at " << child->y() << " in a form "
                << form.height() << " high";
        }
        EXPECT_GE(window->eapPopUpButton()->y(), 0);
    }
}

TEST_F(WiFiEAPWindowTest, JoinRuleOverMethodIdentityPasswordAndAddressing)
{
    const struct {
        const char *method;
        const char *identity;
        const char *password;
        bool staticAddressing;
        const char *ip;
        bool enabled;
    } cases[] = {
        {"PEAP", "", "", false, "", false},
        {"PEAP", "user", "", false, "", false},
        {"PEAP", "", "pw", false, "", false},
        {"PEAP", "user", "pw", false, "", true},
        {"TTLS", "user", "", false, "", false},
        {"PWD", "user", "", false, "", false},
        {"PWD", "user", "pw", false, "", true},
        {"TLS", "user", "", false, "", true},
        {"TLS", "", "", false, "", false},
        {"PEAP", "user", "pw", true, "", false},
        {"PEAP", "user", "pw", true, "10.0.0.5", true},
        {"TLS", "user", "", true, "", false},
        {"TLS", "user", "", true, "999.1.1.1", true},
    };
    for (const auto &c : cases) {
        QOVAWiFiEAPWindow *window = open();
        type(window->usernameTextfiled(), QString::fromLatin1(c.identity));
        type(password(), QString::fromLatin1(c.password));
        if (c.staticAddressing) {
            setAdvanced(true);
            pick(window->advancedView()->dhcpButton(), qtTrId("STRING_STASTICS"));
            type(window->advancedView()->ipTextField(), QString::fromLatin1(c.ip));
        }
        // The method is chosen last: the choice alone decides Join again.
        pick(window->eapPopUpButton(), QString::fromLatin1(c.method));
        EXPECT_EQ(!window->joinButton()->disabled(), c.enabled)
            << c.method << " identity '" << c.identity << "' password '" << c.password << "' static " << c.staticAddressing;
        m_window.reset();
    }
}

TEST_F(WiFiEAPWindowTest, MethodChoiceResizesAndCannotLeaveAnEmptyPasswordJoinable)
{
    QOVAWiFiEAPWindow *window = open();
    type(window->usernameTextfiled(), "user");
    pick(window->eapPopUpButton(), "TLS");
    EXPECT_FALSE(window->joinButton()->disabled());
    EXPECT_EQ(window->geometry(), QRect(content().x() + 200, content().y() + 108, 420, 385));
    EXPECT_EQ(rows(), keys({"STRING_EAP_METHOD", "STRING_CA_CERTIFICATE", "STRING_USER_CERTIFICATE", "STRING_IDENTIFY"}));
    EXPECT_EQ(window->joinButton()->geometry().bottom() + 1, 385 - 19);
    shot(QStringLiteral("wifi_eap_TLS"));

    // Back to a method that needs the password, which is still empty.
    pick(window->eapPopUpButton(), "PEAP");
    EXPECT_TRUE(window->joinButton()->disabled());
    pick(window->eapPopUpButton(), "PWD");
    EXPECT_TRUE(window->joinButton()->disabled());
    EXPECT_EQ(window->height(), 385);
    EXPECT_EQ(rows(), keys({"STRING_EAP_METHOD", "STRING_IDENTIFY", "STRING_PASSWORD"}));
    shot(QStringLiteral("wifi_eap_PWD"));

    // Phase 2 follows PEAP and TTLS only; TLS and PWD keep the list.
    pick(window->eapPopUpButton(), "TTLS");
    EXPECT_EQ(window->height(), 490);
    EXPECT_EQ(window->phase2AuthPopUpButton()->count(), 5);
    pick(window->phase2AuthPopUpButton(), "MSCHAP");
    pick(window->eapPopUpButton(), "TLS");
    EXPECT_EQ(window->phase2AuthPopUpButton()->currentText(), QStringLiteral("MSCHAP"));
    pick(window->eapPopUpButton(), "PEAP");
    EXPECT_EQ(window->phase2AuthPopUpButton()->count(), 3);
    EXPECT_EQ(window->phase2AuthPopUpButton()->currentIndex(), 0);
}

TEST_F(WiFiEAPWindowTest, InstalledCertificatesAreOfferedOnce)
{
    QOVAWiFiEAPWindow *window = open();
    window->wifiCertificateInfo(installed({"wifiCaCert", "wifiCaCert", "provisionServerCa"}));
    window->certificatePopUpButton()->setCurrentIndex(1);
    window->wifiCertificateInfo(installed({"wifiCaCert", "wifiClientCert"}));
    EXPECT_EQ(window->certificatePopUpButton()->itemTitles(),
              (QStringList{"Don't validate", qtTrId("STRING_INSTALLED_CA_CERTIFICATE")}));
    EXPECT_EQ(window->certificatePopUpButton()->currentIndex(), 1);
    EXPECT_EQ(window->userCertificatePopupButton()->itemTitles(),
              (QStringList{"Don't validate", qtTrId("STRING_INSTALLED_USER_CERTIFICATE")}));
    EXPECT_EQ(window->userCertificatePopupButton()->currentIndex(), 0);
}

TEST_F(WiFiEAPWindowTest, JoinHandsOverTheFifteenKeys)
{
    QOVAWiFiEAPWindow *window = open();
    window->wifiCertificateInfo(installed({"wifiCaCert", "wifiClientCert"}));
    type(window->usernameTextfiled(), "user@corp");
    type(window->anonymousTextfiled(), "anon");
    type(password(), "pw");
    pick(window->phase2AuthPopUpButton(), "GTC");
    pick(window->certificatePopUpButton(), qtTrId("STRING_INSTALLED_CA_CERTIFICATE"));
    setAdvanced(true);
    pick(window->advancedView()->dhcpButton(), qtTrId("STRING_STASTICS"));
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->advancedView()->ipTextField(), "10.0.0.5");
    type(window->advancedView()->maskTextField(), "255.255.255.0");
    type(window->advancedView()->gatewayField(), "10.0.0.1");
    type(window->advancedView()->dnsTextField(), "10.0.0.2");
    EXPECT_TRUE(window->mainScrollView()->scrollingEnabled());
    shot(QStringLiteral("wifi_eap_PEAP_static"));
    click(window->joinButton());

    ASSERT_EQ(m_recorder.joined.size(), 1);
    EXPECT_FALSE(m_recorder.windowVisibleAtCall);   // closed first
    EXPECT_EQ(m_recorder.remembered, QList<bool>{false});
    EXPECT_FALSE(pageDimmed());
    EXPECT_EQ(compact(m_recorder.joined.first()),
              QByteArray(R"({"anonymousIdentity":"anon","caCert":"orbrin_wifi","clientCert":"","dhcp":0,)"
                         R"("dns1":"10.0.0.2","dns2":"","eapMethod":"PEAP","gateway":"10.0.0.1","identity":"user@corp",)"
                         R"("ip_address":"10.0.0.5","password":"pw","phase2":"GTC","securityType":"EAP","ssid":"CorpNet",)"
                         R"("subnet_mask":"255.255.255.0"})"));
}

TEST_F(WiFiEAPWindowTest, AdvancedOffSendsAutomaticAddressingAndTlsKeepsThePassword)
{
    QOVAWiFiEAPWindow *window = open();
    type(window->usernameTextfiled(), "user");
    type(password(), "typed-before");
    setAdvanced(true);
    pick(window->advancedView()->dhcpButton(), qtTrId("STRING_STASTICS"));
    type(window->advancedView()->ipTextField(), "10.0.0.5");
    setAdvanced(false);
    EXPECT_FALSE(window->advancedView()->isVisible());
    EXPECT_TRUE(window->advancedView()->isDHCP());
    setAdvanced(true);
    EXPECT_FALSE(window->advancedView()->ipTextField()->isVisible());   // back on DHCP
    setAdvanced(false);
    pick(window->eapPopUpButton(), "TLS");
    click(window->joinButton());
    ASSERT_EQ(m_recorder.joined.size(), 1);
    const QJsonObject sent = m_recorder.joined.first();
    EXPECT_EQ(sent.value("dhcp"), QJsonValue(1));
    for (const char *key : {"ip_address", "subnet_mask", "dns1", "dns2", "gateway"})
        EXPECT_EQ(sent.value(key), QJsonValue("")) << key;
    EXPECT_EQ(sent.value("eapMethod"), QJsonValue("TLS"));
    EXPECT_EQ(sent.value("password"), QJsonValue("typed-before"));
    EXPECT_EQ(sent.value("phase2"), QJsonValue("None"));
    EXPECT_EQ(sent.size(), 15);
}

TEST_F(WiFiEAPWindowTest, CancelTellsTheOpenerBeforeClosingAndSendsNothing)
{
    QOVAWiFiEAPWindow *window = open();
    click(window->cancelButton());
    EXPECT_EQ(m_recorder.cancels, 1);
    EXPECT_TRUE(m_recorder.windowVisibleAtCall);
    EXPECT_TRUE(m_recorder.joined.isEmpty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());

    // An opener with neither certificates nor a cancel hook.
    JoinOnlyDelegate joinOnly;
    m_window = std::make_unique<QOVAWiFiEAPWindow>(420, 490, QStringLiteral("Guest"));
    m_window->setEapDelegate(&joinOnly);
    m_window->getCertificateInfo();
    m_window->show();
    EXPECT_EQ(m_window->certificatePopUpButton()->count(), 1);
    click(m_window->cancelButton());
    EXPECT_EQ(joinOnly.joins, 0);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(WiFiEAPWindowTest, SendsTheSameWordsInAnotherLanguage)
{
    OtherLanguage german;
    german.texts = {{"STRING_NONE", "Keine"}};
    QCoreApplication::installTranslator(&german);
    QOVAWiFiEAPWindow *window = open();
    EXPECT_EQ(window->phase2AuthPopUpButton()->currentText(), QStringLiteral("Keine"));
    type(window->usernameTextfiled(), "user");
    type(password(), "pw");
    click(window->joinButton());
    QCoreApplication::removeTranslator(&german);
    ASSERT_EQ(m_recorder.joined.size(), 1);
    EXPECT_EQ(m_recorder.joined.first().value("phase2"), QJsonValue("None"));
    EXPECT_EQ(m_recorder.joined.first().value("caCert"), QJsonValue(""));
}

TEST_F(WiFiEAPWindowTest, TheJoinRequestCarriesDhcpAsANumber)
{
    auto device = plug(sim::Family::Orbrin, QStringLiteral("ORBRIN-EAP"));
    ASSERT_TRUE(device);
    QOVAWiFiEAPWindow *window = open();
    type(window->usernameTextfiled(), "user");
    type(password(), "pw");
    click(window->joinButton());
    ASSERT_EQ(m_recorder.joined.size(), 1);
    device->clearReceivedRequests();
    bool answered = false;
    QOVAIOManager::usbManagerShared()->connectDeviceSpecficWifi(
        m_recorder.joined.first(), QStringLiteral("ORBRIN-EAP"), [&](auto &&...) { answered = true; },
        [&](auto &&...) { answered = true; });
    ASSERT_TRUE(waitUntil([&] { return answered; }));
    QByteArray raw;
    lastBody(device, &raw);
    EXPECT_TRUE(raw.contains(R"("dhcp":1)")) << raw.constData();
    EXPECT_TRUE(raw.contains(R"("securityType":"EAP")")) << raw.constData();
    EXPECT_FALSE(raw.contains(R"("dhcp":"1")")) << raw.constData();
}
