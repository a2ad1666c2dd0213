#include "FirmwarePageSupport.h"

#include "QOVAAFSessionSingleton.h"
#include "QOVADownloader.h"
#include "QOVAIOManager.h"
#include "firmware/ui/QOVAManualUpdateWindow.h"
#include "sim/SimDevice.h"
#include "support/DfuFileMaker.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QSettings>
#include <QMouseEvent>
#include <QTest>

#include <map>
#include <mutex>

namespace fwtest {

namespace {

struct Handlers {
    std::shared_ptr<sim::SimCatalogueRequestHandler> catalogue;
    std::shared_ptr<sim::SimDfuHandler> dfu;
};

std::mutex registryMutex;
QStringList &pairedAtPlug()
{
    static QStringList serials;
    return serials;
}
std::map<QString, Handlers> &registry()
{
    static std::map<QString, Handlers> handlers;
    return handlers;
}

void installDeviceSetup()
{
    static const bool done = [] {
        sim::SimBus::addGlobalDeviceSetup([](sim::SimDevice &device) {
            // Each plugged device gets handlers of its own (a serial number
            // seen in an earlier test is a new device).
            std::lock_guard lock(registryMutex);
            Handlers &h = registry()[device.serialNumber()];
            h.catalogue = std::static_pointer_cast<sim::SimCatalogueRequestHandler>(
                sim::makeCatalogueRequestHandler(device.family()));
            if (h.catalogue) {
                h.catalogue->setRemotePaired(pairedAtPlug().contains(device.serialNumber()));
                device.setRequestHandler(h.catalogue);
            }
            h.dfu = sim::attachSimDfu(device.shared_from_this());
        });
        return true;
    }();
    Q_UNUSED(done);
}

const char *configKey(int kind)
{
    switch (kind) {
    case 1: return "PIROK_CONFIG_URL";
    case 2: return "ORBRIN_CONFIG_URL";
    case 3: return "ORBRIN_REMOTECONTROLLER_CONFIG_URL";
    default: return "VASKO_CONFIG_URL";
    }
}

} // namespace

std::shared_ptr<sim::SimCatalogueRequestHandler> catalogueOf(const QString &serial)
{
    std::lock_guard lock(registryMutex);
    return registry()[serial].catalogue;
}

void pairRemoteAtPlug(const QString &serial)
{
    std::lock_guard lock(registryMutex);
    pairedAtPlug().append(serial);
}

std::shared_ptr<sim::SimDfuHandler> dfuOf(const QString &serial)
{
    std::lock_guard lock(registryMutex);
    return registry()[serial].dfu;
}

QByteArray package(sim::Family family, const QString &version, qsizetype payload)
{
    testsupport::SuffixFields fields;
    fields.idProduct = sim::dfuProductId(family);
    fields.bcdDevice = sim::versionToBcd(version);
    return testsupport::withSuffix(sim::simFirmwareImage(version, testsupport::randomBytes(payload, 7)), fields);
}

void click(QWidget *widget)
{
    ASSERT_TRUE(widget);
    ASSERT_TRUE(widget->isVisible()) << qPrintable(widget->objectName());
    // Press and release on the widget itself (its pictures and captions
    // would otherwise take the press).
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
    QCoreApplication::processEvents();
}

void FirmwarePageFixture::SetUp()
{
    installDeviceSetup();
    if (testsupport::NginxServer::nginxPath().isEmpty()) {
        m_skip = true;
        GTEST_SKIP() << "nginx is not installed (Debian package nginx-light)";
    }
    ASSERT_TRUE(m_server.start(256 * 1024)) << qPrintable(m_server.why());
    QOVAAFSessionSingleton::setSslConfiguration(m_server.sslConfiguration());
    QDir(QOVADownloader::downloadFolder()).removeRecursively();
    QSettings().clear();
    qputenv("ORVALINDE_UPDATE_CONFIG", m_configDir.filePath(QStringLiteral("OrvalindeApp.Config")).toUtf8());
    // Every family without an offer answers 404: a failed check.
    for (int kind = 1; kind <= 4; ++kind)
        m_config.insert(QLatin1String(configKey(kind)), m_server.url(QStringLiteral("/files/check/none.json")));
    testsupport::writeFile(m_configDir.filePath(QStringLiteral("OrvalindeApp.Config")),
                           QJsonDocument(m_config).toJson());
    ShellFixture::SetUp();
    launch();
}

void FirmwarePageFixture::TearDown()
{
    if (m_skip)
        return;
    ShellFixture::TearDown();
    qunsetenv("ORVALINDE_UPDATE_CONFIG");
}

QString FirmwarePageFixture::offer(int kind, const QString &version, const QString &location,
                                   const QByteArray &body)
{
    const sim::Family family = kind == 2 || kind == 3 ? sim::Family::Orbrin
                               : kind == 4           ? sim::Family::Vasko
                                                     : sim::Family::Pirok;
    const QString name = QStringLiteral("fw/kind%1_%2.dfu").arg(kind).arg(version.isNull() ? QStringLiteral("none") : version);
    const QByteArray bytes = body.isNull() ? package(family, version) : body;
    EXPECT_TRUE(m_server.put(name, bytes));
    QJsonObject reply{{"URL", m_server.url(location + QLatin1Char('/') + name)},
                      {"md5", QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex())}};
    if (!version.isNull())
        reply.insert(QStringLiteral("version"), version);
    const QString check = QStringLiteral("check/kind%1.json").arg(kind);
    EXPECT_TRUE(m_server.put(check, QJsonDocument(reply).toJson()));
    m_config.insert(QLatin1String(configKey(kind)), m_server.url(QStringLiteral("/files/") + check));
    testsupport::writeFile(m_configDir.filePath(QStringLiteral("OrvalindeApp.Config")),
                           QJsonDocument(m_config).toJson());
    return QStringLiteral("/files/") + name;
}

void FirmwarePageFixture::pointCheckAt(int kind, const QString &address)
{
    m_config.insert(QLatin1String(configKey(kind)), address);
    testsupport::writeFile(m_configDir.filePath(QStringLiteral("OrvalindeApp.Config")),
                           QJsonDocument(m_config).toJson());
}

void FirmwarePageFixture::answerCheck(int kind, const QJsonObject &reply)
{
    const QString check = QStringLiteral("check/kind%1.json").arg(kind);
    EXPECT_TRUE(m_server.put(check, QJsonDocument(reply).toJson()));
    pointCheckAt(kind, m_server.url(QStringLiteral("/files/") + check));
}

std::shared_ptr<sim::SimDevice> FirmwarePageFixture::plugRow(sim::Family family, const QString &serial,
                                                             sim::Mode mode)
{
    sim::SimDeviceConfig config;
    config.family = family;
    config.serial = serial;
    config.mode = mode;
    QString error;
    auto device = bus()->plug(config, &error);
    EXPECT_TRUE(device) << qPrintable(error);
    const QString shortSerial = serial.section(QLatin1Char('.'), 0, 0);
    EXPECT_TRUE(waitUntil([&] { return row(shortSerial) || row(serial); })) << qPrintable(serial);
    return device;
}

void FirmwarePageFixture::openPage()
{
    click(delegate()->navigationView()->updateItem());
    ASSERT_EQ(delegate()->currentController(), page());
}

bool FirmwarePageFixture::waitState(const QOVAFirmwareModelRef &r, qint64 state)
{
    return r && waitUntil([&] { return r->upgradeState == state; }, 20000);
}

QOVAFirmwareUpgradeCell *FirmwarePageFixture::cell(const QOVAFirmwareModelRef &r) const
{
    return page()->cellFor(r);
}

QOVAManualUpdateWindow *FirmwarePageFixture::manualUpdateWindow() const
{
    for (QWidget *w : delegate()->mainWindow()->childWindows()) {
        if (auto *m = qobject_cast<QOVAManualUpdateWindow *>(w))
            return m;
    }
    return nullptr;
}

} // namespace fwtest

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", home.filePath(QStringLiteral("etc-xdg")).toUtf8());
    qunsetenv("ORVALINDE_UPDATE_CONFIG");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("OrvalindeTests"));
    QCoreApplication::setApplicationName(QStringLiteral("firmware-page"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
