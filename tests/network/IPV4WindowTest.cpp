// The IPv4 settings window: the static input rules, the first-failure error
// lines, the method switch that refills from what the device reported, and
// the dictionary it hands over, down to the request body the device gets.

#include "NetworkTestSupport.h"

#include "QOVAIPV4Window.h"

#include "IPV4SettingModel.h"
#include "QOVAIOManager.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

#include "sim/SimDevice.h"

using namespace nettest;

namespace {

class RecordingIPV4Delegate : public QOVAIPV4WindowDelegate {
public:
    QList<QJsonObject> sent;
    int restarts = 0;
    bool windowVisibleAtCall = false;
    QWidget *window = nullptr;
    void connectNetwork(const QJsonObject &settings) override
    {
        sent << settings;
        windowVisibleAtCall = window && window->isVisible();
    }
    void restartTimer() override
    {
        ++restarts;
        windowVisibleAtCall = window && window->isVisible();
    }
};

std::shared_ptr<IPV4SettingModel> ipv4Model(double dhcp)
{
    auto model = std::make_shared<IPV4SettingModel>();
    model->dhcp = dhcp;
    model->main_ip_address = QStringLiteral("192.168.10.20");
    model->mask = QStringLiteral("255.255.255.0");
    model->gateway = QStringLiteral("192.168.10.1");
    model->dns1 = QStringLiteral("8.8.8.8");
    model->dns2 = QStringLiteral("8.8.4.4");
    model->dns_domain = QStringLiteral("corp.example");
    return model;
}

class IPV4WindowTest : public NetworkFixture {
protected:
    // Opens the window as the network pages do and lets it fill itself.
    QOVAIPV4Window *open(std::shared_ptr<const IPV4SettingModel> model)
    {
        m_window = std::make_unique<QOVAIPV4Window>(420, 408, std::move(model));
        m_window->setAnimationDuration(0);
        m_window->setIpv4Connectdelegate(&m_recorder);
        m_recorder.window = m_window.get();
        m_window->show();
        shelltest::spin(10);
        return m_window.get();
    }
    void TearDown() override
    {
        m_window.reset();
        NetworkFixture::TearDown();
    }
    std::unique_ptr<QOVAIPV4Window> m_window;
    RecordingIPV4Delegate m_recorder;
};

} // namespace

TEST(IPV4Rules, AddressRule)
{
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"10.0.0.1", true},        {"255.255.255.255", true}, {"192.168.1.254", true},
        {"192.168.1.0", false},    {"0.0.0.0", false},        {"192.168.1", false},
        {"192.168.001.5", false},  {"192.168.1.256", false},  {" 192.168.1.5", false},
        {"192.168.1.5 ", false},   {"192.168. 1.5", false},   {"", false},
        {"1.2.3.4.5", false},      {"a.b.c.d", false},        {"x255.255.0.1", false},
        {"10.0.0.00", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QOVAIPV4Window::isValidIPAddress(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST(IPV4Rules, MaskRuleMatchesTheWholeText)
{
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"128.0.0.0", true},        {"255.0.0.0", true},         {"255.255.0.0", true},
        {"255.255.255.0", true},    {"255.255.255.254", true},   {"255.255.252.0", true},
        {"0.0.0.0", false},         {"255.255.255.255", false},  {"255.0.255.0", false},
        {"x255.255.0.0", false},    {"255.255.0.0x", false},     {"255.255.0.0 ", false},
        {" 255.255.0.0", false},    {"255.255.000.0", false},    {"", false},
        {"255.255.255.0.0", false}, {"254.0.0.0.1", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QOVAIPV4Window::validateNetMask(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST_F(IPV4WindowTest, DHCPDeviceOpensOnDHCPAndJoinsWithFourKeys)
{
    QOVAIPV4Window *window = open(ipv4Model(1));
    EXPECT_EQ(window->geometry(), QRect(content().x() + 200, content().y() + 96, 420, 408));
    EXPECT_TRUE(pageDimmed());
    EXPECT_EQ(window->methodPopupButton()->itemTitles(), (QStringList{qtTrId("STRING_DHCP"), qtTrId("STRING_STASTICS")}));
    EXPECT_EQ(window->methodPopupButton()->currentIndex(), 0);
    for (QWidget *hidden : {static_cast<QWidget *>(window->ipTextField()), static_cast<QWidget *>(window->netMaskTextField()),
                            static_cast<QWidget *>(window->gatewayField())})
        EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(window->dnsTextField()->text(), QStringLiteral("8.8.8.8"));
    EXPECT_EQ(window->domainTextField()->text(), QStringLiteral("corp.example"));
    // The DNS rows sit right under the method row.
    EXPECT_EQ(window->firstDNS()->y(), window->networkMethodLabel()->geometry().bottom() + 1 + 16);
    EXPECT_FALSE(window->joinButton()->disabled());
    shot(QStringLiteral("ipv4_dhcp"));

    click(window->joinButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(compact(m_recorder.sent.first()),
              QByteArray(R"({"dhcp":1,"dns1":"8.8.8.8","dns2":"8.8.4.4","dns_domain":"corp.example"})"));
    EXPECT_TRUE(m_recorder.windowVisibleAtCall);   // handed over before it closes
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());
    EXPECT_EQ(m_recorder.restarts, 0);
}

TEST_F(IPV4WindowTest, StaticDeviceOpensFilledAndJoinsWithSevenKeys)
{
    QOVAIPV4Window *window = open(ipv4Model(0));
    EXPECT_EQ(window->methodPopupButton()->itemTitles(), (QStringList{qtTrId("STRING_STASTICS"), qtTrId("STRING_DHCP")}));
    EXPECT_TRUE(window->ipTextField()->isVisible());
    EXPECT_EQ(window->ipTextField()->text(), QStringLiteral("192.168.10.20"));
    EXPECT_EQ(window->netMaskTextField()->text(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(window->gatewayField()->text(), QStringLiteral("192.168.10.1"));
    EXPECT_EQ(window->firstDNS()->y(), window->gatewayLabel()->geometry().bottom() + 1 + 16);
    // The last row clears the buttons.
    EXPECT_LT(window->domainTextField()->geometry().bottom(), window->joinButton()->y() - 5);
    EXPECT_EQ(window->joinButton()->geometry().right() + 1, 420 - 20);   // 20.5 in from the right
    shot(QStringLiteral("ipv4_static"));

    clear(window->dnsTextField());
    click(window->joinButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(compact(m_recorder.sent.first()),
              QByteArray(R"({"dhcp":0,"dns1":"","dns2":"8.8.4.4","dns_domain":"corp.example","gateway":"192.168.10.1",)"
                         R"("main_ip_address":"192.168.10.20","mask":"255.255.255.0"})"));
}

TEST_F(IPV4WindowTest, MissingModelOpensOnStaticWithEmptyFieldsAndJoinEnabled)
{
    QOVAIPV4Window *window = open(nullptr);
    EXPECT_EQ(window->methodPopupButton()->currentText(), qtTrId("STRING_STASTICS"));
    EXPECT_TRUE(window->ipTextField()->isVisible());
    EXPECT_TRUE(window->ipTextField()->text().isEmpty());
    // Join is decided at the first edit only; pressed now the address fails.
    EXPECT_FALSE(window->joinButton()->disabled());
    click(window->joinButton());
    EXPECT_TRUE(window->validIPAddressLabel()->isVisible());
    EXPECT_TRUE(m_recorder.sent.isEmpty());
}

TEST_F(IPV4WindowTest, OnlyTheFirstFailingFieldShowsItsErrorUntilThatFieldIsEdited)
{
    const struct {
        const char *ip;
        const char *mask;
        const char *gateway;
        int error;   // 0 address, 1 mask, 2 gateway
    } cases[] = {
        {"192.168.1.0", "255.255.255.0", "192.168.1.1", 0},
        {"192.168.1.300", "255.255.255.255", "10.0.0.0", 0},
        {"192.168.1.5", "255.255.255.255", "192.168.1.1", 1},
        {"192.168.1.5", "255.0.255.0", "10.0.0.0", 1},
        {"192.168.1.5", "255.255.255.0", "10.0.0.0", 2},
        {"192.168.1.5", "255.255.255.0", "", 2},
    };
    for (const auto &c : cases) {
        m_recorder.sent.clear();
        QOVAIPV4Window *window = open(nullptr);
        QOVATextField *fields[] = {window->ipTextField(), window->netMaskTextField(), window->gatewayField()};
        QOVALabel *errors[] = {window->validIPAddressLabel(), window->validNetMaskLabel(), window->validGatewayLabel()};
        type(fields[0], QString::fromLatin1(c.ip));
        type(fields[1], QString::fromLatin1(c.mask));
        type(fields[2], QString::fromLatin1(c.gateway));
        const int dnsTop = window->firstDNS()->y();
        click(window->joinButton());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(errors[i]->isVisible(), i == c.error) << c.ip << " " << c.mask << " " << c.gateway << " error " << i;
        EXPECT_TRUE(m_recorder.sent.isEmpty());
        EXPECT_TRUE(window->isVisible());
        // The rows beneath make room for the line.
        EXPECT_EQ(window->firstDNS()->y() - dnsTop, c.error == 2 ? 26 : 23) << c.ip;
        EXPECT_GT(errors[c.error]->y(), fields[c.error]->geometry().bottom());
        if (c.error == 1)
            shot(QStringLiteral("ipv4_static_mask_error"));

        // Another field's edit keeps the line; the field's own edit clears it.
        type(window->dnsTextField(), QStringLiteral("1"));
        EXPECT_TRUE(errors[c.error]->isVisible());
        type(fields[c.error], QStringLiteral("9"));
        EXPECT_FALSE(errors[c.error]->isVisible());
        EXPECT_EQ(window->firstDNS()->y(), dnsTop);
        m_window.reset();
    }
}

TEST_F(IPV4WindowTest, MethodSwitchRefillsFromWhatTheDeviceReported)
{
    QOVAIPV4Window *window = open(ipv4Model(1));
    type(window->dnsTextField(), QStringLiteral("9"));

    pick(window->methodPopupButton(), qtTrId("STRING_STASTICS"));
    // Static shows the static record, empty for a DHCP device; Join waits
    // for an address.
    EXPECT_TRUE(window->ipTextField()->isVisible());
    for (QLineEdit *field : std::initializer_list<QLineEdit *>{window->ipTextField(), window->netMaskTextField(), window->gatewayField(),
                                                               window->dnsTextField(), window->domainTextField()})
        EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(window->ipTextField()->hasFocus());
    EXPECT_TRUE(window->joinButton()->disabled());
    type(window->ipTextField(), QStringLiteral("10.1.1.1"));
    EXPECT_FALSE(window->joinButton()->disabled());
    type(window->gatewayField(), QStringLiteral("10.1.1.254"));

    // Back on DHCP: the reported name servers come back, and the address text
    // left in the hidden fields is neither checked nor sent.
    pick(window->methodPopupButton(), qtTrId("STRING_DHCP"));
    EXPECT_FALSE(window->ipTextField()->isVisible());
    EXPECT_EQ(window->ipTextField()->text(), QStringLiteral("10.1.1.1"));
    EXPECT_EQ(window->dnsTextField()->text(), QStringLiteral("8.8.8.8"));
    click(window->joinButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(m_recorder.sent.first().keys(), (QStringList{"dhcp", "dns1", "dns2", "dns_domain"}));
}

TEST_F(IPV4WindowTest, RowsRefillOnlyOnceTheirAnimationHasEnded)
{
    QOVAIPV4Window *window = open(ipv4Model(0));
    window->setAnimationDuration(200);
    clear(window->ipTextField());
    pick(window->methodPopupButton(), qtTrId("STRING_DHCP"));
    // Until the rows have moved, the static rows and their text stay.
    EXPECT_TRUE(window->ipTextField()->isVisible());
    EXPECT_TRUE(waitUntil([&] { return !window->ipTextField()->isVisible(); }));
    EXPECT_EQ(window->firstDNS()->y(), window->networkMethodLabel()->geometry().bottom() + 1 + 16);

    pick(window->methodPopupButton(), qtTrId("STRING_STASTICS"));
    EXPECT_FALSE(window->ipTextField()->isVisible());
    EXPECT_TRUE(waitUntil([&] { return window->ipTextField()->isVisible(); }));
    EXPECT_EQ(window->ipTextField()->text(), QStringLiteral("192.168.10.20"));   // the stored record, not the edit
    EXPECT_EQ(window->firstDNS()->y(), window->gatewayLabel()->geometry().bottom() + 1 + 16);
}

TEST_F(IPV4WindowTest, CancelClosesFirstThenAsksTheOpenerToResumeItsPolling)
{
    QOVAIPV4Window *window = open(ipv4Model(0));
    click(window->cancelButton());
    EXPECT_TRUE(m_recorder.sent.isEmpty());
    EXPECT_EQ(m_recorder.restarts, 1);
    EXPECT_FALSE(m_recorder.windowVisibleAtCall);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());

    // Without a delegate Join still closes the window.
    QOVAIPV4Window *lonely = open(ipv4Model(1));
    lonely->setIpv4Connectdelegate(nullptr);
    click(lonely->joinButton());
    EXPECT_FALSE(lonely->isVisible());
    EXPECT_TRUE(m_recorder.sent.isEmpty());
}

TEST_F(IPV4WindowTest, TheNetworkRequestCarriesDhcpAsANumber)
{
    auto device = plug(sim::Family::Vasko, QStringLiteral("VASKO-IPV4"));
    ASSERT_TRUE(device);
    for (double dhcp : {0.0, 1.0}) {
        m_recorder.sent.clear();
        QOVAIPV4Window *window = open(ipv4Model(dhcp));
        click(window->joinButton());
        ASSERT_EQ(m_recorder.sent.size(), 1);
        // What the network pages send: the settings under "IPV4setting".
        const QJsonObject body{{"network_mode", "Ethernet"}, {"IPV4setting", m_recorder.sent.first()}};
        device->clearReceivedRequests();
        bool answered = false;
        QOVAIOManager::usbManagerShared()->connetcUSBNetwork(
            QStringLiteral("VASKO-IPV4"), body, [&](auto &&...) { answered = true; },
            [&](auto &&...) { answered = true; });
        ASSERT_TRUE(waitUntil([&] { return answered; }));
        QByteArray raw;
        const QJsonObject received = lastBody(device, &raw);
        const QJsonValue sentDhcp = received.value("IPV4setting").toObject().value("dhcp");
        EXPECT_TRUE(sentDhcp.isDouble()) << raw.constData();
        EXPECT_EQ(sentDhcp.toInt(-1), int(dhcp));
        EXPECT_TRUE(raw.contains(dhcp == 0 ? QByteArray(R"("dhcp":0)") : QByteArray(R"("dhcp":1)"))) << raw.constData();
        EXPECT_EQ(received.value("IPV4setting").toObject(), m_recorder.sent.first());
        m_window.reset();
    }
}
