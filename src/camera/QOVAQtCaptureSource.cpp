#include "QOVAQtCaptureSource.h"

#include "QOVACaptureDeviceLocator.h"

#include "log/log.h"

#include <QCamera>
#include <QCameraFormat>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QOVAQtCaptureSource::QOVAQtCaptureSource(const QString &uniqueID, QObject *parent)
    : QOVAQtCaptureSource(uniqueID, std::make_shared<QOVACaptureDeviceLocator>(), parent)
{
}

QOVAQtCaptureSource::QOVAQtCaptureSource(const QString &uniqueID, std::shared_ptr<QOVACaptureDeviceLocator> locator,
                                         QObject *parent)
    : QOVACaptureSource(parent), m_uniqueID(uniqueID), m_locator(std::move(locator))
{
}

QOVAQtCaptureSource::~QOVAQtCaptureSource()
{
    stop();
}

QOVACaptureSource::SetupResult QOVAQtCaptureSource::setupResultForOpenError(int error)
{
    if (error == 0)
        return Usable;
    return error == EACCES || error == EPERM ? NotAuthorized : ConfigurationFailed;
}

QOVACaptureSource::SetupResult QOVAQtCaptureSource::accessOfNode(const QString &node, QString *reason)
{
    const QByteArray path = node.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    const int error = fd < 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    if (reason && error != 0)
        *reason = QString::fromLocal8Bit(std::strerror(error));
    return setupResultForOpenError(error);
}

int QOVAQtCaptureSource::indexOfVaskoFormat(const QList<QOVACaptureFormat> &formats)
{
    int kept = -1;
    for (int i = 0; i < formats.size(); ++i) {
        const QOVACaptureFormat &format = formats.at(i);
        if (format.pixelFormat == QVideoFrameFormat::Format_Jpeg && format.resolution == QSize(1920, 1080)) {
            qDebug("capture format %d: Motion-JPEG 1920x1080", i);
            kept = i;
        }
    }
    return kept;
}

void QOVAQtCaptureSource::configure()
{
    if (m_configured)
        return;
    m_configured = true;
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    QOVA_LOG(INFO, UI, "Discovered UVC Camera Number = %d.", int(inputs.size()));
    int number = 1;
    for (const QCameraDevice &device : inputs) {
        QOVA_LOG(INFO, UI, "UVC Camera [%d] uniqueID is %s, localizedName is %s", number++,
                 device.id().constData(), qUtf8Printable(device.description()));
    }
    const QString node = m_locator ? m_locator->captureNode(m_uniqueID) : QString();
    if (node.isEmpty()) {
        QOVA_LOG(ERROR, UI, "Can not find UVC device!");
        m_setupResult = ConfigurationFailed;
        return;
    }
    QString reason;
    const SetupResult access = accessOfNode(node, &reason);
    if (access == NotAuthorized) {
        QOVA_LOG(ERROR, UI, "The video device cannot be opened, because %s", qUtf8Printable(reason));
        m_setupResult = NotAuthorized;
        return;
    }
    if (access != Usable) {
        QOVA_LOG(ERROR, UI, "The video device cannot be opened, because %s", qUtf8Printable(reason));
        m_setupResult = ConfigurationFailed;
        return;
    }
    const QCameraDevice match = QOVACaptureDeviceLocator::cameraDeviceForNode(node, inputs);
    if (match.isNull()) {
        QOVA_LOG(ERROR, UI, "Can not find UVC device!");
        m_setupResult = ConfigurationFailed;
        return;
    }
    m_session = new QMediaCaptureSession(this);
    m_camera = new QCamera(match, this);
    if (m_camera->error() != QCamera::NoError) {
        QOVA_LOG(ERROR, UI, "Could not add video device input to the session.");
        m_setupResult = ConfigurationFailed;
        return;
    }
    m_session->setCamera(m_camera);
    if (m_uniqueID.right(4) == QLatin1String("6e12"))
        chooseVaskoFormat();
}

void QOVAQtCaptureSource::chooseVaskoFormat()
{
    const QList<QCameraFormat> offered = m_camera->cameraDevice().videoFormats();
    QList<QOVACaptureFormat> formats;
    for (const QCameraFormat &format : offered)
        formats << QOVACaptureFormat{format.pixelFormat(), format.resolution()};
    const int index = indexOfVaskoFormat(formats);
    if (index < 0) {
        QOVA_LOG(INFO, UI, "The camera offers no Motion-JPEG 1920x1080 format; it keeps its current format.");
        return;
    }
    m_camera->setCameraFormat(offered.at(index));
}

void QOVAQtCaptureSource::start(FrameHandler onFrame)
{
    configure();
    if (m_setupResult != Usable || !m_camera)
        return;
    m_onFrame = std::move(onFrame);
    if (!m_sink) {
        m_sink = new QVideoSink(this);
        connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            if (m_onFrame)
                m_onFrame(frame.toImage());
        });
        m_session->setVideoSink(m_sink);
    }
    if (!m_camera->isActive())
        m_camera->start();
}

void QOVAQtCaptureSource::stop()
{
    if (m_camera && m_camera->isActive())
        m_camera->stop();
}

bool QOVAQtCaptureSource::isRunning() const
{
    return m_camera && m_camera->isActive();
}
