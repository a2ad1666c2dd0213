#include "SimAudioCapture.h"

#include "sim/SimBus.h"
#include "sim/SimDevice.h"

#include <QElapsedTimer>

#include <atomic>
#include <cmath>
#include <mutex>

namespace sim {

namespace {

class SimAudioInput final : public QOVAAudioInput {
public:
    void start() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_clock.isValid())
            m_clock.start();
        m_running = true;
    }
    void stop() override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_running = false;
    }
    bool isRunning() const override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_running;
    }
    QVector<float> peakHoldLevels() const override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_running) {
            m_levels = SimAudioCapture::levelsAt(double(m_clock.elapsed()) / 1000.0);
        }
        return m_levels;
    }

private:
    mutable std::mutex m_lock;
    QElapsedTimer m_clock;
    bool m_running = false;
    mutable QVector<float> m_levels;
};

} // namespace

SimAudioCapture::SimAudioCapture(std::shared_ptr<SimBus> bus)
    : m_bus(std::move(bus))
{
}

QVector<float> SimAudioCapture::levelsAt(double seconds)
{
    return {float(-20.0 + std::sin(seconds * 2.3)), float(-30.0 + std::sin(seconds * 1.4 + 1.0))};
}

void SimAudioCapture::install(std::shared_ptr<SimBus> bus)
{
    QOVAAudioCapture::setShared(std::make_shared<SimAudioCapture>(std::move(bus)));
}

QList<QOVAAudioCaptureDevice> SimAudioCapture::audioDevices()
{
    QList<QOVAAudioCaptureDevice> devices;
    for (const SimConnectionRef &connection : m_bus->connections()) {
        if (!connection || !connection->device || connection->mode != Mode::Run)
            continue;
        QString product = connection->device->productName();
        const QString serial = connection->device->serialNumber();
        devices << QOVAAudioCaptureDevice{
            QStringLiteral("alsa_input.usb-Zentaro_%1_%2-02.analog-stereo").arg(product.replace(' ', '_'), serial),
            QStringLiteral("%1 Analog Stereo").arg(connection->device->productName())};
    }
    return devices;
}

std::unique_ptr<QOVAAudioInput> SimAudioCapture::openInput(const QOVAAudioCaptureDevice &device, QString *error)
{
    for (const QOVAAudioCaptureDevice &listed : audioDevices()) {
        if (listed.uniqueID == device.uniqueID)
            return std::make_unique<SimAudioInput>();
    }
    if (error)
        *error = QStringLiteral("the simulated microphone %1 has left").arg(device.uniqueID);
    return nullptr;
}

} // namespace sim
