// The menu wired into a device page the way the page controller does it: the
// administrator group asks a simulated device whether a password is set.

#include "MenuTestSupport.h"

#include "menu/SystemSettingsSubView.h"
#include "menu/QOVATabCell.h"

#include "QOVAIOManager.h"
#include "models/PasswordEnableModel.h"
#include "log/log.h"
#include "platform/Backend.h"
#include "sim/SimBackend.h"
#include "sim/SimBus.h"
#include "sim/SimDevice.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QPointer>
#include <QTemporaryDir>

#include <mutex>

using namespace menutest;

namespace {

// Answers the password question (message 32) as told; every other request
// with a plain success.
class PasswordHandler : public sim::SimRequestHandler {
public:
    sim::SimReply handleRequest(sim::SimDeviceHost &, const QJsonObject &head, const QByteArray &,
                                int) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        sim::SimReply reply;
        if (head.value("msg_id").toString() == QLatin1String("32")) {
            ++asked;
            reply.body = QJsonDocument(QJsonObject{{"enable_password", passwordSet}}).toJson(QJsonDocument::Compact);
        }
        return reply;
    }
    std::mutex mutex;
    bool passwordSet = false;
    int asked = 0;
    int askedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return asked;
    }
};

// Reads back the log files: a marker is logged and waited for, so every line
// logged before it is in the files.
class LogCapture {
public:
    LogCapture()
    {
        log_set_folder(QFile::encodeName(m_dir.path()).constData());
        log_start();
    }
    ~LogCapture()
    {
        log_stop();
        log_set_folder(nullptr);
    }
    QString text()
    {
        const QString marker = QStringLiteral("menu capture marker %1").arg(++m_marker);
        QOVA_LOG(INFO, OTHERS, "%s", qUtf8Printable(marker));
        QString all;
        waitUntil([&] {
            all.clear();
            const QDir dir(m_dir.path());
            for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
                QFile file(dir.filePath(name));
                if (file.open(QIODevice::ReadOnly))
                    all += QString::fromUtf8(file.readAll());
            }
            return all.contains(marker);
        });
        return all;
    }

private:
    QTemporaryDir m_dir;
    int m_marker = 0;
};

// What the device page controller does with its menu, as a small page of
// its own: builds the menu in the controller's order, runs the password gate
// for the administrator group and records the page each other choice shows.
class PageController : public QObject, public QOVATabControlViewDelegate {
public:
    PageController(const QString &serialNumber, const QString &productID, const QString &name)
        : m_serialNumber(serialNumber)
        , m_productID(productID)
        , m_name(name)
    {
        page.resize(820, 544);
    }

    static StrategyRef createFactoryDevice(const QString &productID)
    {
        return Strategy::strategyWithClassName(strategyClassFor(productID));
    }

    QOVATabControlView *tabControlView()
    {
        if (!m_tabControlView) {
            m_tabControlView = new QOVATabControlView(m_productID, &page);
            const StrategyRef strategy = createFactoryDevice(m_productID);
            m_tabControlView->setStategy(strategy);
            if (strategy)
                strategy->validateInput(m_tabControlView);
            m_tabControlView->setDeviceName(m_name);
            m_tabControlView->setTabControlDelegate(this);
            m_tabControlView->setGeometry(0, 0, 210, 544);
        }
        return m_tabControlView;
    }

    void didSelectedIndexString(qint64 group, const QString &text) override
    {
        if (group == 2 && text == QLatin1String("Password")) {
            QPointer<PageController> self(this);
            QOVAIOManager::usbManagerShared()->getOrbrinPasswordEnableModel(
                m_serialNumber,
                [self](const QOVAReplyObject &reply) {
                    if (!self)
                        return;
                    const auto *model = std::get_if<QOVAModelRef>(&reply);
                    const auto enable = model ? qova_model_cast<PasswordEnableModel>(*model) : nullptr;
                    if (enable && enable->isEnable_password())
                        self->shown.append(QStringLiteral("sign-in"));
                    else
                        self->tabControlView()->expandAdminSettingView();
                },
                [self](const QString &reason) {
                    QOVA_LOG(ERROR, UI, "Get Password Status Failure, the reason is %s", qUtf8Printable(reason));
                    if (self)
                        self->failures.append(reason);
                });
            return;
        }
        shown.append(QStringLiteral("%1:%2").arg(group).arg(text));
    }

    QWidget page;
    QStringList shown;
    QStringList failures;

private:
    QString m_serialNumber;
    QString m_productID;
    QString m_name;
    QOVATabControlView *m_tabControlView = nullptr;
};

// One simulated bus for the whole program, installed before the device
// manager is first used.
std::shared_ptr<sim::SimBus> sharedBus()
{
    static std::shared_ptr<sim::SimBus> bus = [] {
        auto b = sim::SimBus::create();
        platform::installBackend(std::static_pointer_cast<platform::Backend>(std::make_shared<sim::SimBackend>(b)));
        return b;
    }();
    return bus;
}

class PasswordGateTest : public ::testing::Test {
protected:
    // serial: as the host names the device (a network camera's without the
    // ".NN" its USB serial carries).
    void plug(sim::Family family, const QString &serial, const QString &version)
    {
        auto bus = sharedBus();
        device = bus->plug(family, family == sim::Family::Vasko ? serial + ".01" : serial);
        ASSERT_TRUE(device);
        device->setFirmwareVersion(version);
        handler = std::make_shared<PasswordHandler>();
        device->setRequestHandler(handler);
        ASSERT_TRUE(waitUntil([&] { return QOVAIOManager::usbManagerShared()->findDevice(serial) != nullptr; }));
    }
    void TearDown() override
    {
        if (device)
            sharedBus()->unplug(device);
    }

    std::shared_ptr<sim::SimDevice> device;
    std::shared_ptr<PasswordHandler> handler;
};

} // namespace

TEST_F(PasswordGateTest, AdministratorGroupOpensOnlyWithoutPassword)
{
    struct Case {
        const char *label;
        sim::Family family;
        const char *productID;
        const char *version;
        bool passwordSet;
        int adminRows;
    };
    int index = 0;
    for (const Case c : {Case{"video bar, no password", sim::Family::Orbrin, "6e17", "1.3", false, 11},
                         Case{"video bar, password", sim::Family::Orbrin, "6e17", "1.3", true, 11},
                         Case{"network camera, no password", sim::Family::Vasko, "6e12", "V1.1", false, 9}}) {
        SCOPED_TRACE(c.label);
        const QString serial = (c.family == sim::Family::Orbrin ? "ORGATE" : "VSGATE") + QString::number(++index);
        plug(c.family, serial, c.version);
        handler->passwordSet = c.passwordSet;
        QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion(c.version);

        PageController controller(serial, c.productID, "Room 4");
        QOVATabControlView *menu = controller.tabControlView();
        controller.page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&controller.page));
        SystemSettingsSubView *admin = menu->currentAdminSubview();
        ASSERT_EQ(admin->cells().size(), c.adminRows);

        QTest::mouseClick(controller.page.windowHandle(), Qt::LeftButton, {},
                          menu->adminSettingsCell()->mapTo(&controller.page, QPoint(100, 22)));
        ASSERT_TRUE(waitUntil([&] { return handler->askedCount() == 1; }));
        if (c.passwordSet) {
            ASSERT_TRUE(waitUntil([&] { return !controller.shown.isEmpty(); }));
            EXPECT_EQ(controller.shown, QStringList{"sign-in"});
            EXPECT_EQ(menu->targetHeight(admin), 0);
            // A successful sign-in opens the group the same way.
            menu->expandAdminSettingView();
        } else {
            ASSERT_TRUE(waitUntil([&] { return !controller.shown.isEmpty(); }));
        }
        ASSERT_TRUE(waitUntil([&] { return !menu->isAnimating() && admin->height() > 0; }));
        EXPECT_EQ(admin->height(), menu->adminSettingSize().height());
        EXPECT_EQ(controller.shown.last(), QStringLiteral("2:FirstView"));

        // A picked row reaches the controller by the title it shows.
        QTest::mouseClick(controller.page.windowHandle(), Qt::LeftButton, {},
                          admin->cells().at(1)->mapTo(&controller.page, QPoint(100, 18)));
        EXPECT_EQ(controller.shown.last(), QStringLiteral("2:Camera Tracking"));
        EXPECT_TRUE(controller.failures.isEmpty());
        sharedBus()->unplug(device);
        device.reset();
    }
}

TEST_F(PasswordGateTest, FailedPasswordQueryLeavesTheGroupClosed)
{
    LogCapture log;
    plug(sim::Family::Orbrin, "ORGATE2", "1.1");
    sim::SimFaults faults;
    faults.statusCode = 500;
    faults.statusString = QStringLiteral("internal error");
    device->setFaults(faults);
    QOVADeviceInfoSingleton::sharedDevice()->setCurrentDeviceVersion("1.1");

    PageController controller("ORGATE2", "6e17", "Room 4");
    QOVATabControlView *menu = controller.tabControlView();
    controller.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&controller.page));
    QTest::mouseClick(controller.page.windowHandle(), Qt::LeftButton, {},
                      menu->adminSettingsCell()->mapTo(&controller.page, QPoint(100, 22)));
    ASSERT_TRUE(waitUntil([&] { return !controller.failures.isEmpty(); }));
    ASSERT_TRUE(waitUntil([&] { return !menu->isAnimating(); }));
    EXPECT_TRUE(controller.shown.isEmpty());
    EXPECT_EQ(menu->currentAdminSubview()->height(), 0);
    EXPECT_EQ(menu->selectedCell(), menu->adminSettingsCell());
    EXPECT_TRUE(log.text().contains(QStringLiteral("Get Password Status Failure, the reason is ")));
}
