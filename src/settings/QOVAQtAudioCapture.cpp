#include "QOVAQtAudioCapture.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QObject>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <unistd.h>

namespace {

// The largest magnitude of each channel in a block of interleaved samples,
// as a fraction of full scale.
template <typename Sample>
void peaksOf(const char *data, qsizetype bytes, int channels, double fullScale, double offset,
             QVector<double> &peaks)
{
    const qsizetype frames = bytes / qsizetype(sizeof(Sample) * size_t(channels));
    for (qsizetype f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            Sample sample;
            std::memcpy(&sample, data + (f * channels + c) * qsizetype(sizeof(Sample)), sizeof(Sample));
            const double v = std::fabs((double(sample) - offset) / fullScale);
            if (v > peaks[c])
                peaks[c] = v;
        }
    }
}

class QtAudioInput final : public QOVAAudioInput {
public:
    explicit QtAudioInput(const QAudioDevice &device)
    {
        QAudioFormat format = device.preferredFormat();
        if (format.sampleFormat() == QAudioFormat::Unknown)
            format.setSampleFormat(QAudioFormat::Int16);
        m_source = std::make_unique<QAudioSource>(device, format);
        m_format = m_source->format();
    }

    ~QtAudioInput() override { stop(); }

    void start() override
    {
        if (m_io)
            return;
        m_io = m_source->start();
        if (!m_io)
            return;
        QObject::connect(m_io, &QIODevice::readyRead, m_io, [this] { takeSamples(); });
    }

    void stop() override
    {
        if (!m_io)
            return;
        QObject::disconnect(m_io, nullptr, nullptr, nullptr);
        m_source->stop();
        m_io = nullptr;
    }

    bool isRunning() const override { return m_io != nullptr; }

    QVector<float> peakHoldLevels() const override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        QVector<float> levels;
        for (double peak : m_held)
            levels << QOVAQtAudioCapture::decibels(peak);
        // The next block starts a new hold.
        m_fresh = true;
        return levels;
    }

    bool failed() const { return m_source->error() == QAudio::OpenError; }

private:
    void takeSamples()
    {
        const QVector<double> peaks = QOVAQtAudioCapture::blockPeaks(m_io->readAll(), m_format);
        if (peaks.isEmpty())
            return;
        const int channels = int(peaks.size());
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_fresh || m_held.size() != peaks.size()) {
            m_held = peaks;
            m_fresh = false;
            return;
        }
        for (int c = 0; c < channels; ++c)
            m_held[c] = std::max(m_held[c], peaks[c]);
    }

    std::unique_ptr<QAudioSource> m_source;
    QAudioFormat m_format;
    QIODevice *m_io = nullptr;
    mutable std::mutex m_lock;
    QVector<double> m_held;
    mutable bool m_fresh = true;
};

} // namespace

QVector<double> QOVAQtAudioCapture::blockPeaks(const QByteArray &data, const QAudioFormat &format)
{
    const int channels = format.channelCount();
    if (data.isEmpty() || channels <= 0)
        return {};
    QVector<double> peaks(channels, 0.0);
    switch (format.sampleFormat()) {
    case QAudioFormat::UInt8:
        peaksOf<quint8>(data.constData(), data.size(), channels, 128.0, 128.0, peaks);
        break;
    case QAudioFormat::Int16:
        peaksOf<qint16>(data.constData(), data.size(), channels, 32768.0, 0.0, peaks);
        break;
    case QAudioFormat::Int32:
        peaksOf<qint32>(data.constData(), data.size(), channels, 2147483648.0, 0.0, peaks);
        break;
    case QAudioFormat::Float:
        peaksOf<float>(data.constData(), data.size(), channels, 1.0, 0.0, peaks);
        break;
    default:
        return {};
    }
    return peaks;
}

float QOVAQtAudioCapture::decibels(double peak)
{
    return peak > 0 ? float(20.0 * std::log10(peak)) : -std::numeric_limits<float>::infinity();
}

QOVAAudioCapture::Authorization QOVAQtAudioCapture::authorizationForNodes(const QString &folder)
{
    const QDir dir(folder);
    const QStringList nodes = dir.entryList({QStringLiteral("pcmC*D*c")}, QDir::System | QDir::Files);
    if (nodes.isEmpty())
        return Authorization::Authorized;   // nothing to refuse (a sound server may still serve)
    for (const QString &node : nodes) {
        const QByteArray path = QFile::encodeName(dir.filePath(node));
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            return Authorization::Authorized;
        }
        if (errno != EACCES && errno != EPERM)
            return Authorization::Authorized;   // busy or gone, not refused
    }
    return Authorization::Denied;
}

QOVAAudioCapture::Authorization QOVAQtAudioCapture::authorizationStatus()
{
    return authorizationForNodes(QStringLiteral("/dev/snd"));
}

QList<QOVAAudioCaptureDevice> QOVAQtAudioCapture::audioDevices()
{
    QList<QOVAAudioCaptureDevice> devices;
    for (const QAudioDevice &device : QMediaDevices::audioInputs())
        devices << QOVAAudioCaptureDevice{QString::fromUtf8(device.id()), device.description()};
    return devices;
}

std::unique_ptr<QOVAAudioInput> QOVAQtAudioCapture::openInput(const QOVAAudioCaptureDevice &device, QString *error)
{
    for (const QAudioDevice &input : QMediaDevices::audioInputs()) {
        if (QString::fromUtf8(input.id()) != device.uniqueID)
            continue;
        auto opened = std::make_unique<QtAudioInput>(input);
        opened->start();
        const bool failed = opened->failed();
        opened->stop();
        if (failed) {
            if (error)
                *error = QStringLiteral("the audio input %1 could not be opened").arg(device.uniqueID);
            return nullptr;
        }
        return opened;
    }
    if (error)
        *error = QStringLiteral("the audio input %1 is gone").arg(device.uniqueID);
    return nullptr;
}
