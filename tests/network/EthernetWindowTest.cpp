// The 802.1X window of the Ethernet port: the layout each loaded setting
// opens on, the method switches, and the ten-entry dictionary Save hands
// over (also as the request body the device receives, and in another
// language).

#include "NetworkTestSupport.h"

#include "QOVA8021xEthernetWindow.h"
#include "QOVAOOBChooseFileView.h"

#include "Ethernet802_1_xModel.h"
#include "QOVAIOManager.h"
#include "QOVALabel.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include "sim/SimDevice.h"

using namespace nettest;

namespace {

class Recording8021xDelegate : public QOVA8021xEthernetWindowDelegate {
public:
    QList<QJsonObject> sent;
    int restarts = 0;
    void connectSecurityNetwork(const QJsonObject &security) override { sent << security; }
    void restartNetworkViewTimer() override { ++restarts; }
};

std::shared_ptr<Ethernet802_1_xModel> securityModel(const QString &type, const QString &method)
{
    auto model = std::make_shared<Ethernet802_1_xModel>();
    model->securityType = type;
    model->eapMethod = method;
    model->identity = QStringLiteral("camera@corp");
    model->password = QStringLiteral("stored-secret");
    model->anonymousIdentity = QStringLiteral("anon@corp");
    model->phase2 = QStringLiteral("GTC");
    return model;
}

class EthernetWindowTest : public NetworkFixture {
protected:
    QOVA8021xEthernetWindow *open(std::shared_ptr<const Ethernet802_1_xModel> model)
    {
        m_window = std::make_unique<QOVA8021xEthernetWindow>(420, 442, std::move(model));
        m_window->setEthernetDelegate(&m_recorder);
        m_window->show();
        return m_window.get();
    }
    void TearDown() override
    {
        m_window.reset();
        NetworkFixture::TearDown();
    }
    // The rows a user sees under the security row, top to bottom, by label.
    QStringList visibleRows() const
    {
        struct Row {
            QWidget *view;
            QString name;
        };
        QOVA8021xEthernetWindow *w = m_window.get();
        const QList<Row> rows = {{w->eapButton(), "eap"},          {w->authenticationButton(), "phase2"},
                                 {w->provisionButton(), "pac"},    {w->pacFileView(), "pacfile"},
                                 {w->caCertificateView(), "ca"},   {w->identifyTextfield(), "identity"},
                                 {w->anonymousTextfield(), "anon"}, {w->userCertificateView(), "user"},
                                 {w->privateKeyView(), "key"},     {w->passwordTextfield(), "password"}};
        QList<Row> shown;
        for (const Row &row : rows) {
            if (row.view->isVisible())
                shown << row;
        }
        std::sort(shown.begin(), shown.end(), [](const Row &a, const Row &b) { return a.view->y() < b.view->y(); });
        QStringList names;
        int previousBottom = w->securityButton()->geometry().bottom();
        for (const Row &row : shown) {
            // Each row 16 below the one above.
            EXPECT_EQ(row.view->y() - previousBottom - 1, 16) << qPrintable(row.name);
            previousBottom = row.view->geometry().bottom();
            names << row.name;
        }
        return names;
    }
    std::unique_ptr<QOVA8021xEthernetWindow> m_window;
    Recording8021xDelegate m_recorder;
};

} // namespace

TEST_F(EthernetWindowTest, OpensOnTheLoadedSettingAndSavesItsMethod)
{
    const QStringList peapRows = {"eap", "phase2", "identity", "anon", "password"};
    const struct {
        const char *name;
        std::shared_ptr<Ethernet802_1_xModel> model;
        QStringList rows;
        QString eapMethod;       // sent by Save without edits
        QString phase2;
        int height;
        const char *passwordKey;
    } cases[] = {
        {"no model", nullptr, {}, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"none", securityModel("None", "TTLS"), {}, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"PEAP", securityModel("802.1 x EAP", "PEAP"), peapRows, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"TTLS", securityModel("802.1 x EAP", "TTLS"), peapRows, "TTLS", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"MD5", securityModel("802.1 x EAP", "MD5"), {"eap", "identity", "password"}, "MD5", "MSCHAPV2", 442,
         "STRING_PASSWORD"},
        {"TLS", securityModel("802.1 x EAP", "TLS"), {"eap", "ca", "identity", "user", "key", "password"}, "TLS",
         "MSCHAPV2", 442, "STRING_PRIVATE_KEY_PASSWORD"},
        {"FAST", securityModel("802.1 x EAP", "FAST"), {"eap", "phase2", "pac", "pacfile", "identity", "anon", "password"},
         "FAST", "MSCHAPV2", 500, "STRING_PASSWORD"},
        {"lower case", securityModel("802.1 x EAP", "peap"), peapRows, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"empty method", securityModel("802.1 x EAP", ""), peapRows, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
        {"PWD", securityModel("802.1 x EAP", "PWD"), peapRows, "PEAP", "MSCHAPV2", 442, "STRING_PASSWORD"},
    };
    for (const auto &c : cases) {
        m_recorder.sent.clear();
        QOVA8021xEthernetWindow *window = open(c.model);
        const bool secured = !c.rows.isEmpty();
        EXPECT_EQ(visibleRows(), c.rows) << c.name;
        EXPECT_EQ(window->size(), QSize(420, c.height)) << c.name;
        EXPECT_EQ(window->geometry().center(), content().center()) << c.name;
        EXPECT_EQ(window->passwordLabel()->stringValue(), qtTrId(c.passwordKey)) << c.name;
        EXPECT_TRUE(window->securityButton()->isVisible());
        EXPECT_EQ(window->identifyTextfield()->text(), secured ? QStringLiteral("camera@corp") : QString()) << c.name;
        EXPECT_TRUE(window->anonymousTextfield()->text().isEmpty());
        EXPECT_TRUE(window->passwordTextfield()->passwordString().isEmpty());
        EXPECT_TRUE(pageDimmed());
        shot(QStringLiteral("ethernet_8021x_%1").arg(QString::fromLatin1(c.name).replace(' ', '_')));

        click(window->saveButton());
        ASSERT_EQ(m_recorder.sent.size(), 1) << c.name;
        const QJsonObject expected{{"securityType", secured ? "802.1 x EAP" : "None"},
                                   {"identity", secured ? "camera@corp" : ""},
                                   {"anonymousIdentity", ""},
                                   {"password", ""},
                                   {"caCert", ""},
                                   {"clientCert", ""},
                                   {"eapMethod", c.eapMethod},
                                   {"phase2", c.phase2},
                                   {"privateKey", ""},
                                   {"privateKeyPass", ""}};
        EXPECT_EQ(m_recorder.sent.first(), expected) << c.name;
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(pageDimmed());
        EXPECT_EQ(m_recorder.restarts, 0);
        m_window.reset();
    }
}

TEST_F(EthernetWindowTest, MethodChoicesLayOutTheirRowsAndBecomeTheCurrentMethod)
{
    QOVA8021xEthernetWindow *window = open(nullptr);
    pick(window->securityButton(), "802.1 x EAP");
    EXPECT_EQ(visibleRows(), (QStringList{"eap", "phase2", "identity", "anon", "password"}));

    pick(window->eapButton(), "TTLS");
    EXPECT_EQ(window->authenticationButton()->itemTitles(), QStringList{"MSCHAPV2"});
    pick(window->eapButton(), "PEAP");
    EXPECT_EQ(window->authenticationButton()->itemTitles(), (QStringList{"MSCHAPV2", "GTC"}));
    EXPECT_EQ(window->authenticationButton()->currentText(), QStringLiteral("MSCHAPV2"));

    // Leaving 802.1X and coming back shows the method the user chose.
    pick(window->eapButton(), "MD5");
    EXPECT_EQ(window->currentEapMethodMode(), QOVA8021xEthernetWindow::ModeMD5);
    pick(window->securityButton(), qtTrId("STRING_NONE"));
    EXPECT_EQ(visibleRows(), QStringList());
    pick(window->securityButton(), "802.1 x EAP");
    EXPECT_EQ(visibleRows(), (QStringList{"eap", "identity", "password"}));

    type(window->identifyTextfield(), "user");
    type(window->passwordTextfield()->securePwdTextField(), "pw");
    click(window->saveButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(m_recorder.sent.first().value("eapMethod"), QJsonValue("MD5"));
    EXPECT_EQ(m_recorder.sent.first().value("password"), QJsonValue("pw"));
}

TEST_F(EthernetWindowTest, FastStaysTallUnderNoSecurityAndTlsSendsTheKeyPasswordAsPassword)
{
    QOVA8021xEthernetWindow *window = open(securityModel("802.1 x EAP", "FAST"));
    pick(window->securityButton(), qtTrId("STRING_NONE"));
    EXPECT_EQ(window->height(), 500);
    pick(window->securityButton(), "802.1 x EAP");
    EXPECT_EQ(visibleRows(), (QStringList{"eap", "phase2", "pac", "pacfile", "identity", "anon", "password"}));
    // Saving the buttons stay inside the taller window.
    EXPECT_EQ(window->saveButton()->geometry().bottom() + 1, 500 - 19);
    m_window.reset();

    window = open(securityModel("802.1 x EAP", "TLS"));
    type(window->passwordTextfield()->securePwdTextField(), "key-secret");
    click(window->saveButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(m_recorder.sent.first().value("password"), QJsonValue("key-secret"));
    EXPECT_EQ(m_recorder.sent.first().value("privateKeyPass"), QJsonValue(""));
    EXPECT_EQ(m_recorder.sent.first().value("eapMethod"), QJsonValue("TLS"));
}

TEST_F(EthernetWindowTest, CancelSendsNothingAndResumesThePolling)
{
    QOVA8021xEthernetWindow *window = open(securityModel("802.1 x EAP", "PEAP"));
    click(window->cancelButton());
    EXPECT_TRUE(m_recorder.sent.isEmpty());
    EXPECT_EQ(m_recorder.restarts, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(pageDimmed());
}

TEST_F(EthernetWindowTest, SendsTheSameWordsInAnotherLanguage)
{
    OtherLanguage german;
    german.texts = {{"STRING_NONE", "Keine"}};
    QCoreApplication::installTranslator(&german);
    QOVA8021xEthernetWindow *window = open(securityModel("Keine", "PEAP"));
    EXPECT_EQ(window->securityButton()->currentText(), QStringLiteral("Keine"));
    EXPECT_EQ(visibleRows(), QStringList());
    click(window->saveButton());
    QCoreApplication::removeTranslator(&german);
    ASSERT_EQ(m_recorder.sent.size(), 1);
    EXPECT_EQ(m_recorder.sent.first().value("securityType"), QJsonValue("None"));
}

TEST_F(EthernetWindowTest, TheNetworkRequestCarriesTheTenStrings)
{
    auto device = plug(sim::Family::Vasko, QStringLiteral("VASKO-8021X"));
    ASSERT_TRUE(device);
    QOVA8021xEthernetWindow *window = open(securityModel("802.1 x EAP", "TTLS"));
    type(window->anonymousTextfield(), "anon");
    type(window->passwordTextfield()->securePwdTextField(), "pw");
    click(window->saveButton());
    ASSERT_EQ(m_recorder.sent.size(), 1);
    const QJsonObject body{{"network_mode", "Ethernet"}, {"Security_802_1_x", m_recorder.sent.first()}};
    device->clearReceivedRequests();
    bool answered = false;
    QOVAIOManager::usbManagerShared()->connetcUSBNetwork(
        QStringLiteral("VASKO-8021X"), body, [&](auto &&...) { answered = true; }, [&](auto &&...) { answered = true; });
    ASSERT_TRUE(waitUntil([&] { return answered; }));
    QByteArray raw;
    const QJsonObject sent = lastBody(device, &raw).value("Security_802_1_x").toObject();
    EXPECT_EQ(sent.size(), 10) << raw.constData();
    for (auto it = sent.begin(); it != sent.end(); ++it)
        EXPECT_TRUE(it.value().isString()) << qPrintable(it.key());
    EXPECT_EQ(sent, m_recorder.sent.first());
}
