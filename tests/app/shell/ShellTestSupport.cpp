#include "ShellTestSupport.h"

#include "QOVAIOManager.h"
#include "QOVATranslations.h"
#include "log/log.h"
#include "platform/Backend.h"

#include "sim/SimBackend.h"
#include "sim/SimDevice.h"

#include <QDir>
#include <QJsonDocument>
#include <QPainter>
#include <QPixmap>

namespace shelltest {

bool waitUntil(const std::function<bool()> &pred, int limitMs)
{
    QDeadlineTimer deadline(limitMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

std::shared_ptr<sim::SimBus> bus()
{
    static std::shared_ptr<sim::SimBus> theBus = [] {
        auto b = sim::SimBus::create();
        platform::installBackend(std::make_shared<sim::SimBackend>(b));
        QOVATranslations::installAll(QLocale(QLocale::English));
        return b;
    }();
    return theBus;
}

sim::SimReply DeviceAnswers::handleRequest(sim::SimDeviceHost &, const QJsonObject &head, const QByteArray &,
                                           int)
{
    const QString url = head.value(QStringLiteral("url")).toString();
    // The status poll of an open device page (device_info) is not part of
    // the routing the shell tests follow.
    if (url != QLatin1String("device_info")) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_urls << url;
    }
    sim::SimReply reply;
    if (url == QLatin1String("if_need_oob")) {
        reply.statusCode = oobStatus;
        if (reply.statusCode != 200)
            reply.statusString = QStringLiteral("internal error");
        reply.body = QJsonDocument(QJsonObject{{QStringLiteral("result"), bool(oobPending)}})
                         .toJson(QJsonDocument::Compact);
    } else if (url == QLatin1String("time_sync")) {
        reply.statusCode = timeStatus;
        if (reply.statusCode != 200)
            reply.statusString = QStringLiteral("internal error");
    }
    return reply;
}

QStringList DeviceAnswers::urls() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_urls;
}

void DeviceAnswers::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_urls.clear();
}

void shot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVALINDE_SHOT_DIR");
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    // The window with its visible child windows drawn where they are on the
    // screen.
    QPixmap picture = widget->grab();
    QPainter painter(&picture);
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible()) {
            painter.setOpacity(child->windowOpacity());
            painter.drawPixmap(child->pos() - origin, child->grab());
        }
    }
    painter.end();
    picture.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void ShellFixture::SetUp()
{
    bus();
    ASSERT_TRUE(m_logDir.isValid());
    log_set_folder(QFile::encodeName(m_logDir.path()).constData());
    QOVAWorkspace::setSharedWorkspace(m_workspace);
    m_delegate = std::make_unique<AppDelegate>();
    m_delegate->setTerminateHandler([this] { m_terminated = true; });
    m_delegate->mainWindow()->move(100, 80);
    m_delegate->mainWindow()->show();
}

void ShellFixture::launch()
{
    m_delegate->applicationDidFinishLaunching();
}

void ShellFixture::TearDown()
{
    bus()->unplugAll();
    waitUntil([] { return QOVAIOManager::usbManagerShared()->deviceMutableArray().isEmpty(); });
    spin(20);
    m_delegate->applicationWillTerminate();
    m_delegate.reset();
    QOVAWorkspace::setSharedWorkspace(nullptr);
    log_set_folder(nullptr);
}

std::shared_ptr<sim::SimDevice> ShellFixture::plug(sim::Family family, const QString &serial, sim::Mode mode,
                                                   std::shared_ptr<DeviceAnswers> answers)
{
    const int before = listed();
    sim::SimDeviceConfig config;
    config.family = family;
    config.serial = serial;
    config.mode = mode;
    QString error;
    auto plugged = bus()->plug(config, &error);
    EXPECT_TRUE(plugged) << qPrintable(error);
    if (plugged && answers)
        plugged->setRequestHandler(answers);
    EXPECT_TRUE(waitUntil([&] { return listed() > before; })) << qPrintable(serial);
    return plugged;
}

void ShellFixture::unplug(const QString &serial)
{
    const int before = listed();
    EXPECT_TRUE(bus()->unplug(serial));
    EXPECT_TRUE(waitUntil([&] { return listed() < before; })) << qPrintable(serial);
}

int ShellFixture::listed() const
{
    return int(m_delegate->deviceListController()->getCurrentDeviceCount());
}

} // namespace shelltest
