#pragma once
// Owner of the audio test page: starts and stops the device's diagnostic
// recording, cancels its transfer, and hands the archive to the page.

#include <QByteArray>

class QOVAAudioDiagnosticsDelegate {
public:
    virtual ~QOVAAudioDiagnosticsDelegate() = default;
    // Start (true) or stop (false) the recording.
    virtual void audioDiagnosticRecord(bool start) = 0;
    virtual void cancelAudioDiagnostic() = 0;
};

// The audio test page as its owner updates it.
class QOVAAudioDiagnosticsViewInterface {
public:
    virtual ~QOVAAudioDiagnosticsViewInterface() = default;
    // The recording has finished: ask where to save the archive.
    virtual void showSaveFileWindow() = 0;
    // The archive's bytes.
    virtual void saveAudioFile(const QByteArray &data) = 0;
    virtual void closeAllWindows() = 0;
};
