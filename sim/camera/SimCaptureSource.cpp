#include "SimCaptureSource.h"

#include "sim/SimBus.h"
#include "sim/SimDevice.h"
#include "sim/uvc/SimUvcControlHandler.h"

#include "usbsdk/discovery/QOVACaptureIdentity.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace sim {

namespace {
constexpr uint8_t kSimCameraZoom = 11;
constexpr uint8_t kSimCameraPanTilt = 13;
constexpr int kSimFrameWidth = 640;
constexpr int kSimFrameHeight = 360;
} // namespace

SimCaptureSource::SimCaptureSource(std::shared_ptr<SimBus> bus, const QString &uniqueID, QObject *parent)
    : QOVACaptureSource(parent), m_bus(std::move(bus)), m_uniqueID(uniqueID)
{
    m_timer.setInterval(66);
    connect(&m_timer, &QTimer::timeout, this, [this] { sendFrame(); });
}

void SimCaptureSource::install(std::shared_ptr<SimBus> bus)
{
    QOVACaptureSource::installFactory([bus](const QString &uniqueID, QObject *parent) -> QOVACaptureSource * {
        return new SimCaptureSource(bus, uniqueID, parent);
    });
}

std::shared_ptr<SimUvcControlHandler> SimCaptureSource::findControls() const
{
    for (const SimConnectionRef &connection : m_bus->connections()) {
        if (!connection || !connection->device)
            continue;
        const QString id = qova::discovery::captureUniqueID(connection->usb.locationId, connection->usb.vendorId,
                                                            connection->usb.productId);
        if (id != m_uniqueID)
            continue;
        for (const auto &handler : connection->device->controlHandlers()) {
            if (auto uvc = std::dynamic_pointer_cast<SimUvcControlHandler>(handler))
                return uvc;
        }
    }
    return nullptr;
}

void SimCaptureSource::start(FrameHandler onFrame)
{
    if (!findControls()) {
        m_setupResult = ConfigurationFailed;
        return;
    }
    m_onFrame = std::move(onFrame);
    if (!m_timer.isActive()) {
        m_timer.start();
        sendFrame();
    }
}

void SimCaptureSource::stop()
{
    m_timer.stop();
}

QImage SimCaptureSource::drawFrame(int frame, qint64 zoom, qint64 pan, qint64 tilt, const QString &caption)
{
    QImage image(kSimFrameWidth, kSimFrameHeight, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The scene: sky, floor and a row of figures, seen through the camera
    // position: zooming magnifies, panning and tilting slide the view.
    const double scale = 1.0 + double(zoom) / 100.0;
    const double dx = -double(pan) / 3600.0 * 12.0;
    const double dy = double(tilt) / 3600.0 * 12.0;
    painter.fillRect(image.rect(), QColor(0x9f, 0xd3, 0xf0));
    painter.translate(kSimFrameWidth / 2.0, kSimFrameHeight / 2.0);
    painter.scale(scale, scale);
    painter.translate(dx, dy);
    painter.fillRect(QRectF(-2000, 40, 4000, 2000), QColor(0xc8, 0xb0, 0x8a));
    for (int i = -6; i <= 6; ++i) {
        const QColor body = QColor::fromHsv((i * 40 + 400) % 360, 140, 200);
        painter.setBrush(body);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(i * 90 - 22, -10, 44, 70), 10, 10);
        painter.setBrush(QColor(0xf2, 0xd0, 0xb0));
        painter.drawEllipse(QPointF(i * 90, -30), 18, 18);
    }
    // Something that moves, so a still camera still shows a live picture.
    const double t = frame / 15.0;
    painter.setBrush(QColor(0xe5, 0x39, 0x35));
    painter.drawEllipse(QPointF(std::sin(t) * 240, -90 + std::cos(t * 1.7) * 20), 16, 16);
    painter.resetTransform();
    painter.setPen(Qt::white);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawRect(QRectF(0, kSimFrameHeight - 34, kSimFrameWidth, 34));
    QFont font = painter.font();
    font.setPixelSize(18);
    painter.setFont(font);
    painter.drawText(QRectF(12, kSimFrameHeight - 34, kSimFrameWidth - 24, 34), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("%1   zoom %2   pan %3   tilt %4").arg(caption).arg(zoom).arg(pan).arg(tilt));
    painter.end();
    return image;
}

void SimCaptureSource::sendFrame()
{
    auto controls = findControls();
    if (!controls || !m_onFrame) {
        // The camera left: nothing more to show.
        m_timer.stop();
        return;
    }
    const qint64 zoom = controls->current(SimUvcUnit::CameraTerminal, kSimCameraZoom);
    const qint64 pan = controls->current(SimUvcUnit::CameraTerminal, kSimCameraPanTilt, 0);
    const qint64 tilt = controls->current(SimUvcUnit::CameraTerminal, kSimCameraPanTilt, 1);
    const QImage image = drawFrame(m_frames, zoom, pan, tilt, QStringLiteral("test picture"));
    ++m_frames;
    m_onFrame(image);
}

} // namespace sim
