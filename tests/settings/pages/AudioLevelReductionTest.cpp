// The desktop microphone's samples reduced to one peak level per channel.

#include "settings/QOVAQtAudioCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <typename Sample>
QByteArray interleaved(std::initializer_list<Sample> samples)
{
    QByteArray bytes;
    for (Sample s : samples)
        bytes.append(reinterpret_cast<const char *>(&s), sizeof(Sample));
    return bytes;
}

QAudioFormat formatOf(QAudioFormat::SampleFormat sampleFormat, int channels)
{
    QAudioFormat format;
    format.setSampleFormat(sampleFormat);
    format.setChannelCount(channels);
    format.setSampleRate(48000);
    return format;
}

} // namespace

TEST(AudioLevelReduction, PeaksPerChannelInDecibels)
{
    constexpr float silence = -std::numeric_limits<float>::infinity();
    const struct {
        const char *name;
        QByteArray data;
        QAudioFormat format;
        QVector<float> levels;
    } cases[] = {
        // Left at a tenth of full scale (-20 dBFS), right silent.
        {"int16 stereo", interleaved<qint16>({3277, 0, -3277, 0, 1000, 0}), formatOf(QAudioFormat::Int16, 2),
         {-20.0f, silence}},
        {"float mono", interleaved<float>({0.25f, -1.0f, 0.5f}), formatOf(QAudioFormat::Float, 1), {0.0f}},
        {"uint8 silence", interleaved<quint8>({128, 128, 128, 128}), formatOf(QAudioFormat::UInt8, 2),
         {silence, silence}},
        {"int32 three channels", interleaved<qint32>({0, 1073741824, -2147483647 - 1}),
         formatOf(QAudioFormat::Int32, 3), {silence, -6.02f, 0.0f}},
        {"no samples", QByteArray(), formatOf(QAudioFormat::Int16, 2), {}},
        {"unknown format", interleaved<qint16>({1, 2}), formatOf(QAudioFormat::Unknown, 2), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QVector<float> levels;
        for (double peak : QOVAQtAudioCapture::blockPeaks(c.data, c.format))
            levels << QOVAQtAudioCapture::decibels(peak);
        ASSERT_EQ(levels.size(), c.levels.size());
        for (int i = 0; i < levels.size(); ++i) {
            if (std::isinf(c.levels[i]))
                EXPECT_EQ(levels[i], c.levels[i]);
            else
                EXPECT_NEAR(levels[i], c.levels[i], 0.01);
        }
    }
}
