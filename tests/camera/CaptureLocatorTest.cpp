// The capture of a real camera: the capture node found through a udev
// listing (here a fake one) by the same unique id the device page builds,
// the Vasko camera's format, whether the user may open the node, and the
// permission alert the camera page shows when not.

#include "camera/CameraPageTestSupport.h"

#include "camera/QOVACaptureDeviceLocator.h"
#include "camera/QOVAQtCaptureSource.h"
#include "usbsdk/discovery/QOVACaptureIdentity.h"

#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <cerrno>

using namespace cameratest;

namespace {

class FakeVideoNodes : public QOVAVideoNodeEnumeration {
public:
    QList<QOVAVideoNode> nodes;
    QList<QOVAVideoNode> videoNodes() const override { return nodes; }
};

QOVAVideoNode videoNode(const QString &devnode, const QString &caps, uint32_t index, const QString &bus,
                        const QString &devpath, const QString &vendor, const QString &product)
{
    QOVAVideoNode n;
    n.devnode = devnode;
    n.capabilities = caps;
    n.index = index;
    n.busnum = bus;
    n.devpath = devpath;
    n.idVendor = vendor;
    n.idProduct = product;
    return n;
}

// A camera source the user may not use.
class DeniedCaptureSource : public QOVACaptureSource {
public:
    using QOVACaptureSource::QOVACaptureSource;
    SetupResult setupResult() const override { return NotAuthorized; }
    void start(FrameHandler) override { ++starts; }
    void stop() override {}
    bool isRunning() const override { return false; }
    int starts = 0;
};

} // namespace

TEST(CaptureDeviceLocator, FindsTheCaptureNodeByTheDevicePagesUniqueID)
{
    // The Vasko camera on bus 1, port path 4.2: location 0x01420000, as the
    // device list shows it ("1420000") and the device page builds its id.
    const QString camera = qova::discovery::captureUniqueID(QStringLiteral("01420000"), "1d5c", "6e12");
    ASSERT_EQ(camera, QStringLiteral("0x14200001d5c6e12"));

    auto nodes = std::make_shared<FakeVideoNodes>();
    nodes->nodes = {
        // Another camera, and the same model on another port.
        videoNode("/dev/video0", ":capture:", 0, "1", "3", "046d", "085b"),
        videoNode("/dev/video4", ":capture:", 0, "1", "4.3", "1d5c", "6e12"),
        // Ours: a metadata node listed first, then two capture nodes.
        videoNode("/dev/video3", ":video_output:", 1, "1", "4.2", "1d5c", "6e12"),
        videoNode("/dev/video7", ":capture:", 2, "1", "4.2", "1d5c", "6e12"),
        videoNode("/dev/video2", ":capture:", 0, "1", "4.2", "1d5c", "6e12"),
        // A node without a USB device.
        videoNode("/dev/video9", ":capture:", 0, "", "", "", ""),
    };
    const QOVACaptureDeviceLocator locator(nodes);
    EXPECT_EQ(QOVACaptureDeviceLocator::uniqueIDOfNode(nodes->nodes.at(4)), camera);
    EXPECT_EQ(locator.captureNode(camera), QStringLiteral("/dev/video2"));

    // No such device; an empty id matches nothing, not even a node without
    // a USB device.
    EXPECT_EQ(locator.captureNode(QStringLiteral("0x15000001d5c6e17")), QString());
    EXPECT_EQ(locator.captureNode(QString()), QString());
    EXPECT_EQ(QOVACaptureDeviceLocator::uniqueIDOfNode(nodes->nodes.at(5)), QString());

    // Only a metadata node: nothing to capture from.
    nodes->nodes = {videoNode("/dev/video3", ":video_output:", 1, "1", "4.2", "1d5c", "6e12")};
    EXPECT_EQ(locator.captureNode(camera), QString());

    // Capture devices are matched by their node.
    EXPECT_TRUE(QOVACaptureDeviceLocator::cameraDeviceForNode("/dev/video2", {}).isNull());
    EXPECT_TRUE(QOVACaptureDeviceLocator::cameraDeviceForNode(QString(), QMediaDevices::videoInputs()).isNull());
}

TEST(CaptureFormat, VaskoTakesTheLastMotionJpegFullHdFormat)
{
    using F = QOVACaptureFormat;
    const auto jpeg = QVideoFrameFormat::Format_Jpeg;
    const auto yuyv = QVideoFrameFormat::Format_YUYV;
    const QList<F> formats = {
        {yuyv, {1920, 1080}}, {jpeg, {1920, 1080}}, {jpeg, {1280, 720}}, {jpeg, {1920, 1080}}, {yuyv, {1920, 1080}},
    };
    EXPECT_EQ(QOVAQtCaptureSource::indexOfVaskoFormat(formats), 3);
    EXPECT_EQ(QOVAQtCaptureSource::indexOfVaskoFormat({{yuyv, {1920, 1080}}, {jpeg, {1080, 1920}}}), -1);
    EXPECT_EQ(QOVAQtCaptureSource::indexOfVaskoFormat({}), -1);
}

TEST(CapturePermission, RefusedAccessIsMissingPermission)
{
    EXPECT_EQ(QOVAQtCaptureSource::setupResultForOpenError(0), QOVACaptureSource::Usable);
    EXPECT_EQ(QOVAQtCaptureSource::setupResultForOpenError(EACCES), QOVACaptureSource::NotAuthorized);
    EXPECT_EQ(QOVAQtCaptureSource::setupResultForOpenError(EPERM), QOVACaptureSource::NotAuthorized);
    EXPECT_EQ(QOVAQtCaptureSource::setupResultForOpenError(ENOENT), QOVACaptureSource::ConfigurationFailed);
    EXPECT_EQ(QOVAQtCaptureSource::setupResultForOpenError(EBUSY), QOVACaptureSource::ConfigurationFailed);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString reason;
    EXPECT_EQ(QOVAQtCaptureSource::accessOfNode(dir.filePath("video0"), &reason),
              QOVACaptureSource::ConfigurationFailed);
    EXPECT_FALSE(reason.isEmpty());
    QFile node(dir.filePath("video1"));
    ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    node.close();
    EXPECT_EQ(QOVAQtCaptureSource::accessOfNode(node.fileName()), QOVACaptureSource::Usable);
}

TEST_F(CameraPageFixture, MissingPermissionShowsTheAlertAtEveryShowing)
{
    SimHandle bar = plugDevice(sim::Family::Orbrin, "ORDENY", "1.3.0.5");
    QOVACaptureSource::installFactory([](const QString &, QObject *parent) -> QOVACaptureSource * {
        return new DeniedCaptureSource(parent);
    });

    // Whoever answers the alert: Cancel the first time, Settings after.
    int alerts = 0;
    QStringList texts;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *alert = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!alert || !alert->isVisible())
            return;
        ++alerts;
        texts << alert->text();
        const QString choice = qtTrId(alerts == 1 ? "STRING_CANCEL" : "Settings");
        for (QAbstractButton *button : alert->buttons()) {
            if (button->text() == choice)
                button->click();
        }
    });
    answer.start();

    QOVACameraSettingsView *view = openCameraPage("ORDENY");
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return alerts == 1; }));
    EXPECT_EQ(texts.value(0),
              qtTrId("Zentaro Orvalinde doesn't have permission to use the camera, please change privacy settings"));
    EXPECT_FALSE(view->isPreviewRunning());
    // The device is still asked on showing.
    EXPECT_TRUE(waitUntil([&] { return requestCount(bar, "auto_tracking") > 0; }));

    // Another page and back: the alert again.
    clickEntry("STRING_BLUETOOTH_MODE");
    ASSERT_TRUE(waitUntil([&] { return page()->currentGetter() != QLatin1String("cameraSettingsView"); }));
    clickEntry("STRING_CAMERA_CONTROL");
    ASSERT_TRUE(waitUntil([&] { return alerts == 2; }));
    EXPECT_TRUE(waitUntil([&] { return logText().contains("70-orvalinde.rules"); }));
    answer.stop();
}
