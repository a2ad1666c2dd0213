#pragma once
// The capture of cameras and microphones lives in a module of its own,
// "orvalinde-media.so" beside the executable, opened the first time a page
// asks for a camera picture or the microphones: the multimedia libraries
// and the sound server's client are loaded then, not at start.
//
// Without the module a camera cannot be set up and no microphone is listed;
// the reason is logged once.

#include <QString>

#include <memory>

class QObject;
class QOVAAudioCapture;
class QOVACaptureSource;

class QOVAMediaModule {
public:
    static QOVACaptureSource *createCaptureSource(const QString &uniqueID, QObject *parent);
    static std::shared_ptr<QOVAAudioCapture> createAudioCapture();

    // Where the module is looked for: beside the executable unless a path
    // was set (tests set the one their build made).
    static QString path();
    static void setPath(const QString &path);
    // Whether the module is open and gave its entry points.
    static bool isAvailable();
};
