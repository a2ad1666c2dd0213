// The provisioning server page as the user reaches it: the real application
// on simulated devices, the side menu's Admin Settings entry, and the
// settings read, saved and read again on the device.

#include "device/DevicePageTestSupport.h"

#include "QOVAProvisionServerView.h"

#include "QOVAButton.h"
#include "QOVANotificationWindow.h"
#include "QOVAPopUpButton.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QJsonArray>

using namespace devicetest;

namespace {

// Forwards to the device's catalogue but refuses the DHCP option (message
// 65), as a device would that does not take the value.
class RefuseDhcpOption : public sim::SimRequestHandler {
public:
    explicit RefuseDhcpOption(std::shared_ptr<sim::SimRequestHandler> inner) : m_inner(std::move(inner)) {}
    sim::SimReply handleRequest(sim::SimDeviceHost &host, const QJsonObject &head, const QByteArray &body,
                                int dataType) override
    {
        if (head.value(QStringLiteral("msg_id")).toString() == QLatin1String("65")) {
            sim::SimReply reply;
            reply.statusCode = 400;
            reply.statusString = QStringLiteral("bad option");
            return reply;
        }
        return m_inner->handleRequest(host, head, body, dataType);
    }

private:
    std::shared_ptr<sim::SimRequestHandler> m_inner;
};

class ProvisionServerDevicePageTest : public DevicePageFixture {
protected:
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QOVANotificationWindow *>(w))
                delete w;
        }
        DevicePageFixture::TearDown();
    }

    // Opens the device's page, then Admin Settings and its provisioning entry.
    QOVAProvisionServerView *openProvisioning(const QString &serial)
    {
        if (!openDevicePage(serial))
            return nullptr;
        clickTab("STRING_ADMIN_SETTINGS");
        if (!waitUntil([&] { return entryCell("STRING_PROVISIONING_SERVER") != nullptr; }))
            return nullptr;
        clickEntry("STRING_PROVISIONING_SERVER");
        if (!waitUntil([&] { return page()->currentGetter() == QLatin1String("provisionServerView"); }))
            return nullptr;
        return page()->provisionServerView();
    }

    // Picks an entry of a pop-up as the user does: open the list, move to
    // the entry, press Return.
    void choose(QOVAPopUpButton *popUp, const QString &title)
    {
        const int index = popUp->itemTitles().indexOf(title);
        ASSERT_GE(index, 0) << qPrintable(title);
        click(popUp);
        ASSERT_TRUE(waitUntil([&] { return popUp->view()->isVisible(); }));
        popUp->view()->setCurrentIndex(popUp->model()->index(index, 0));
        QTest::keyClick(popUp->view(), Qt::Key_Return);
        ASSERT_TRUE(waitUntil([&] { return !popUp->view()->isVisible(); }));
        ASSERT_EQ(popUp->titleOfSelectedItem(), title);
    }

    void type(QLineEdit *field, const QString &text)
    {
        click(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static QStringList toastTexts(bool success)
    {
        QStringList texts;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *toast = qobject_cast<QOVANotificationWindow *>(w);
            if (toast && toast->isVisible() && (toast->notificationType() == 0) == success)
                texts << toast->contentString();
        }
        return texts;
    }

    // The message ids of the provisioning requests the device received.
    static QStringList provisionMessages(const SimHandle &handle)
    {
        QStringList ids;
        for (const sim::SimReceivedRequest &request : handle.device->receivedRequests()) {
            const QJsonObject head = QJsonDocument::fromJson(request.head).object();
            if (head.value(QStringLiteral("url")).toString() == QLatin1String("provision_server"))
                ids << head.value(QStringLiteral("msg_id")).toString();
        }
        return ids;
    }
};

} // namespace

TEST_F(ProvisionServerDevicePageTest, ReadsSavesAndReadsAgainOnTheCamera)
{
    SimHandle camera = plugDevice(sim::Family::Vasko, QStringLiteral("VS1"), QStringLiteral("V1.2.4"));
    ASSERT_TRUE(camera.state);
    QOVAProvisionServerView *view = openProvisioning(QStringLiteral("VS1"));
    ASSERT_TRUE(view);
    const QString A = qtTrId("STRING_AUTO"), M = qtTrId("STRING_MANUAL"), D = qtTrId("STRING_DISABLE");
    ASSERT_TRUE(waitUntil([&] { return view->modeSelectButton()->itemTitles() == QStringList({D, A, M}); }));
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    EXPECT_TRUE(view->serverAddressTextField()->isHidden());

    choose(view->modeSelectButton(), M);
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    type(view->serverAddressTextField(), QStringLiteral("  https://prov.example/cfg \t"));
    type(view->userNameTextField(), QStringLiteral("dom\\ops"));
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    type(view->passwordTextField()->securePwdTextField(), QStringLiteral("Pr0v-Secret!"));
    ASSERT_FALSE(view->provisionSaveButton()->disabled());
    shot(mainWindow(), QStringLiteral("provision_server_device_manual"));
    click(view->provisionSaveButton());

    ASSERT_TRUE(waitUntil([&] { return toastTexts(true).contains(qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED")); }));
    const QJsonObject held = camera.state->provisionSettings();
    EXPECT_EQ(held.value("provision_mode"), QJsonValue("Manual"));
    EXPECT_EQ(held.value("provision_server_url"), QJsonValue("https://prov.example/cfg"));
    EXPECT_EQ(held.value("provision_username"), QJsonValue("dom\\ops"));
    EXPECT_EQ(held.value("provision_server_type"), QJsonValue("https"));
    EXPECT_EQ(camera.state->provisionPassword(), QStringLiteral("Pr0v-Secret!"));
    // The written password leaves the page and never reaches the log.
    EXPECT_TRUE(view->passwordTextField()->passwordString().isEmpty());
    EXPECT_FALSE(logText().contains(QStringLiteral("Pr0v-Secret!")));
    EXPECT_EQ(provisionMessages(camera), QStringList({"22", "34"}));

    // Read again on the next visit: the device's values, Manual on top once.
    clickTab("STRING_STATUS");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() != QLatin1String("provisionServerView"); }));
    clickTab("STRING_ADMIN_SETTINGS");
    ASSERT_TRUE(waitUntil([&] { return entryCell("STRING_PROVISIONING_SERVER") != nullptr; }));
    clickEntry("STRING_PROVISIONING_SERVER");
    ASSERT_TRUE(waitUntil([&] { return provisionMessages(camera).count(QStringLiteral("22")) == 2; }));
    ASSERT_TRUE(waitUntil([&] { return view->modeSelectButton()->itemTitles() == QStringList({M, D, A}); }));
    EXPECT_EQ(view->serverAddressTextField()->stringValue(), QStringLiteral("https://prov.example/cfg"));
    EXPECT_EQ(view->userNameTextField()->stringValue(), QStringLiteral("dom\\ops"));
    EXPECT_TRUE(view->passwordTextField()->passwordString().isEmpty());
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    shot(mainWindow(), QStringLiteral("provision_server_device_reread"));
}

TEST_F(ProvisionServerDevicePageTest, ARefusedDhcpOptionIsReportedAfterTheSettingsSucceeded)
{
    SimHandle camera = plugDevice(sim::Family::Vasko, QStringLiteral("VS13"), QStringLiteral("V1.3.0"));
    ASSERT_TRUE(camera.state);
    camera.state->setProvisionSettings(QJsonObject{{"provision_mode", "Auto"}, {"provision_dhcp_opt", 150},
                                                   {"provision_server_url", ""}, {"provision_username", ""},
                                                   {"provision_server_type", ""}});
    camera.device->setRequestHandler(std::make_shared<RefuseDhcpOption>(camera.state));
    QOVAProvisionServerView *view = openProvisioning(QStringLiteral("VS13"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return view->dhcpEditor() && view->dhcpEditor()->stringValue() == "150"; }));
    EXPECT_TRUE(view->dhcpEditor()->isVisible());
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    shot(mainWindow(), QStringLiteral("provision_server_device_auto_v13"));

    choose(view->modeSelectButton(), qtTrId("STRING_AUTO"));
    type(view->dhcpEditor(), QStringLiteral("300"));
    EXPECT_TRUE(view->provisionSaveButton()->disabled());
    type(view->dhcpEditor(), QStringLiteral("171"));
    ASSERT_FALSE(view->provisionSaveButton()->disabled());
    click(view->provisionSaveButton());

    ASSERT_TRUE(waitUntil([&] { return toastTexts(false).contains(qtTrId("NOTIFICATION_TIP_SAVE_FAILED")); }));
    EXPECT_TRUE(toastTexts(true).contains(qtTrId("NOTIFICATION_TIP_SAVE_SUCCESSED")));
    // The option went second, after the settings.
    EXPECT_EQ(provisionMessages(camera), QStringList({"22", "34", "65"}));
    QJsonObject sent;
    for (const sim::SimReceivedRequest &request : camera.device->receivedRequests()) {
        if (QJsonDocument::fromJson(request.head).object().value("msg_id").toString() == QLatin1String("65"))
            sent = QJsonDocument::fromJson(request.body).object();
    }
    EXPECT_EQ(sent.value("provision_dhcp_opt"), QJsonValue(171));
    EXPECT_EQ(camera.state->provisionSettings().value("provision_mode"), QJsonValue("Auto"));
}
