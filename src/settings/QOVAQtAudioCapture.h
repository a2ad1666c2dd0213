#pragma once
// The desktop's microphones: the audio inputs the multimedia layer lists,
// each opened as an audio source whose samples are reduced to one peak per
// channel as they arrive. Nothing is played back.
//
// Linux has no per-program consent for microphones: recording is allowed
// unless the sound devices' capture nodes exist and none of them can be
// opened by this user.

#include "QOVAAudioCapture.h"

#include <QAudioFormat>
#include <QByteArray>

class QOVAQtAudioCapture : public QOVAAudioCapture {
public:
    Authorization authorizationStatus() override;
    QList<QOVAAudioCaptureDevice> audioDevices() override;
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &device, QString *error) override;

    // Whether the capture nodes in the folder ("/dev/snd" for the
    // desktop) allow recording.
    static Authorization authorizationForNodes(const QString &folder);
    // The largest magnitude of each channel in a block of interleaved
    // samples, as a fraction of full scale; empty for a format it cannot read.
    static QVector<double> blockPeaks(const QByteArray &data, const QAudioFormat &format);
    // A fraction of full scale in decibels (0 is minus infinity).
    static float decibels(double peak);
};
