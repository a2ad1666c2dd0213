#pragma once
// The desktop's microphones: the audio inputs the multimedia layer lists,
// each opened as an audio source whose samples are reduced to one peak per
// channel as they arrive. Nothing is played back.
//
// Linux has no per-program consent for microphones: recording is allowed
// unless the sound devices' capture nodes exist and none of them can be
// opened by this user.

#include "QOVAAudioCapture.h"

class QOVAQtAudioCapture : public QOVAAudioCapture {
public:
    Authorization authorizationStatus() override;
    QList<QOVAAudioCaptureDevice> audioDevices() override;
    std::unique_ptr<QOVAAudioInput> openInput(const QOVAAudioCaptureDevice &device, QString *error) override;

    // Where the capture nodes are looked for ("/dev/snd" unless changed).
    static Authorization authorizationForNodes(const QString &folder);
};
