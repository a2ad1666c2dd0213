#include "QOVAQtCaptureSource.h"

#include "log/log.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>

QOVAQtCaptureSource::QOVAQtCaptureSource(const QString &uniqueID, QObject *parent)
    : QOVACaptureSource(parent), m_uniqueID(uniqueID)
{
}

QOVAQtCaptureSource::~QOVAQtCaptureSource()
{
    stop();
}

void QOVAQtCaptureSource::configure()
{
    if (m_configured)
        return;
    m_configured = true;
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    QOVA_LOG(INFO, UI, "Discovered UVC Camera Number = %d.", int(inputs.size()));
    QCameraDevice match;
    int number = 1;
    for (const QCameraDevice &device : inputs) {
        QOVA_LOG(INFO, UI, "UVC Camera [%d] uniqueID is %s, localizedName is %s", number++,
                 device.id().constData(), qUtf8Printable(device.description()));
        if (QString::fromUtf8(device.id()) == m_uniqueID)
            match = device;
    }
    if (match.isNull()) {
        QOVA_LOG(ERROR, UI, "Can not find UVC device!");
        m_setupResult = ConfigurationFailed;
        return;
    }
    m_session = new QMediaCaptureSession(this);
    m_camera = new QCamera(match, this);
    m_session->setCamera(m_camera);
}

void QOVAQtCaptureSource::start(QVideoSink *sink)
{
    configure();
    if (m_setupResult != Usable || !m_camera)
        return;
    m_session->setVideoSink(sink);
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
