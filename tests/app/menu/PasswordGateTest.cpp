// The side menu on a device page opened from the device list, on simulated
// devices: the administrator group asks the device whether a password is set
// and opens only when none is; choices reach the page controller.

#include "ShellTestSupport.h"

#include "menu/QOVATabControlView.h"

#include "QOVAScrollView.h"

#include "QOVACollectionViewItem.h"
#include "QOVADeviceListViewController.h"
#include "QOVADeviceModel.h"
#include "QOVAGeometry.h"
#include "device/QOVADeviceInfoViewController.h"
#include "log/log.h"

#include "sim/SimDevice.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QScrollBar>
#include <QTest>

#include <atomic>
#include <mutex>

using namespace shelltest;

namespace {

// Lets the device list open the page (no set-up pending, clock accepted)
// and answers the password question (message 32) as told.
class PasswordAnswers : public sim::SimRequestHandler {
public:
    std::atomic<bool> passwordSet{false};
    std::atomic<int> passwordStatus{200};
    std::atomic<int> asked{0};

    sim::SimReply handleRequest(sim::SimDeviceHost &, const QJsonObject &head, const QByteArray &, int) override
    {
        sim::SimReply reply;
        const QString url = head.value(QStringLiteral("url")).toString();
        if (url == QLatin1String("if_need_oob")) {
            reply.body = QJsonDocument(QJsonObject{{"result", false}}).toJson(QJsonDocument::Compact);
        } else if (head.value(QStringLiteral("msg_id")).toString() == QLatin1String("32")) {
            ++asked;
            reply.statusCode = passwordStatus;
            if (reply.statusCode != 200)
                reply.statusString = QStringLiteral("internal error");
            reply.body = QJsonDocument(QJsonObject{{"enable_password", bool(passwordSet)}})
                             .toJson(QJsonDocument::Compact);
        }
        return reply;
    }
};

class MenuOnDevicePageTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        launch();
    }

    // Plugs a device of that firmware version, opens its page from the
    // device list and returns the page's menu.
    QOVATabControlView *openPage(sim::Family family, const QString &serial, const QString &firmware)
    {
        sim::SimDeviceConfig config;
        config.family = family;
        config.serial = serial;
        config.firmwareVersion = firmware;
        answers = std::make_shared<PasswordAnswers>();
        auto device = bus()->plug(config);
        EXPECT_TRUE(device);
        if (!device)
            return nullptr;
        device->setRequestHandler(answers);
        EXPECT_TRUE(waitUntil([&] { return listed() == 1; }));
        // The firmware page asks the device its set-up state and facts on
        // arrival; let those be answered before the page under test asks.
        const QString listedSerial = serial.section(QLatin1Char('.'), 0, 0);
        EXPECT_TRUE(waitUntil([&] { return delegate()->firmwareController()->rowFor(listedSerial) != nullptr; }));
        spin(50);
        QOVACollectionViewItem *tile = delegate()->deviceListController()->tiles().at(0);
        QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
        EXPECT_TRUE(waitUntil([&] { return delegate()->currentController() == page() && page(); }));
        return page() ? page()->tabControlView() : nullptr;
    }

    QOVADeviceInfoViewController *page() const { return delegate()->heldDeviceInfoController(); }

    // A click as the user makes it, through the main window.
    void click(QWidget *target, QPoint p = QPoint(-1, -1))
    {
        QWidget *window = target->window();
        if (p == QPoint(-1, -1))
            p = target->rect().center();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, target->mapTo(window, p));
    }

    QString logText()
    {
        const QString marker = QStringLiteral("menu marker %1").arg(++m_marker);
        QOVA_LOG(INFO, OTHERS, "%s", qUtf8Printable(marker));
        QString all;
        waitUntil([&] {
            all.clear();
            const QDir dir(m_logDir.path());
            for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
                QFile file(dir.filePath(name));
                if (file.open(QIODevice::ReadOnly))
                    all += QString::fromUtf8(file.readAll());
            }
            return all.contains(marker);
        });
        return all;
    }

    std::shared_ptr<PasswordAnswers> answers;
    int m_marker = 0;
};

} // namespace

TEST_F(MenuOnDevicePageTest, AdministratorGroupOpensOnlyWithoutPassword)
{
    struct Case {
        const char *label;
        sim::Family family;
        const char *serial;
        const char *firmware;
        bool passwordSet;
        int adminRows;
        const char *secondRow;
        const char *picture;
    };
    for (const Case c : {Case{"video bar, no password", sim::Family::Orbrin, "ORMENU1", "1.3.0.5", false, 11,
                              "cameraTrackingView", "device_page_orbrin.png"},
                         Case{"video bar, password", sim::Family::Orbrin, "ORMENU2", "1.0.2.1", true, 9,
                              "cameraTrackingView", nullptr},
                         Case{"video bar 1.3, password", sim::Family::Orbrin, "ORMENU5", "1.3.0.5", true, 11,
                              "cameraTrackingView", nullptr},
                         Case{"network camera, no password", sim::Family::Vasko, "VSMENU3.01", "V1.1.4", false, 9,
                              "cameraTrackingView", "device_page_vasko.png"}}) {
        SCOPED_TRACE(c.label);
        QOVATabControlView *menu = openPage(c.family, c.serial, c.firmware);
        ASSERT_TRUE(menu);
        answers->passwordSet = c.passwordSet;
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(qovaFrameOf(menu), QRectF(0, 0, 210, 544));   // at the page's bottom left
        SystemSettingsSubView *admin = menu->currentAdminSubview();
        ASSERT_TRUE(admin);
        EXPECT_EQ(admin->cells().size(), c.adminRows);

        click(menu->systemSettingsCell());
        EXPECT_EQ(page()->currentGetter(), QStringLiteral("cameraSettingsView"));

        click(menu->adminSettingsCell());
        ASSERT_TRUE(waitUntil([&] { return answers->asked == 1; }));
        if (c.passwordSet) {
            ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("adminSigninView"); }));
            ASSERT_TRUE(waitUntil([&] { return !menu->isAnimating(); }));
            EXPECT_EQ(admin->height(), 0);
            // Four headers fit: no scroll bar beside the sign-in page.
            EXPECT_FALSE(menu->mainScrollView()->verticalScrollBar()->isVisible());
            shot(delegate()->mainWindow(), QStringLiteral("menu_sign_in_") + QLatin1String(c.serial));
            // After a successful sign-in the controller opens the group.
            menu->expandAdminSettingView();
        }
        ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() == QLatin1String("orbrinGeneralView"); }));
        ASSERT_TRUE(waitUntil([&] { return !menu->isAnimating(); }));
        EXPECT_EQ(admin->height(), menu->adminSettingSize().height());
        shot(delegate()->mainWindow(), QStringLiteral("menu_admin_open_") + QLatin1String(c.serial));

        // A picked row reaches the controller by the title it shows.
        click(admin->cells().at(1));
        EXPECT_EQ(page()->currentGetter(), QLatin1String(c.secondRow));
        if (c.picture) {
            EXPECT_TRUE(delegate()->mainWindow()->grab().save(QDir::current().filePath(c.picture)));
        }

        bus()->unplugAll();
        ASSERT_TRUE(waitUntil([&] { return listed() == 0; }));
    }
}

TEST_F(MenuOnDevicePageTest, FailedPasswordQueryLeavesTheGroupClosed)
{
    QOVATabControlView *menu = openPage(sim::Family::Orbrin, "ORMENU4", "1.1.0.3");
    ASSERT_TRUE(menu);
    answers->passwordStatus = 500;
    click(menu->adminSettingsCell());
    ASSERT_TRUE(waitUntil([&] { return logText().contains("Get Password Status Failure, the reason is "); }));
    ASSERT_TRUE(waitUntil([&] { return !menu->isAnimating(); }));
    EXPECT_EQ(answers->asked, 1);
    EXPECT_EQ(page()->currentGetter(), QStringLiteral("statusInfoView"));
    EXPECT_EQ(menu->currentAdminSubview()->height(), 0);
    EXPECT_EQ(menu->selectedCell(), menu->adminSettingsCell());
}
