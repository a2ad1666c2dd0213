#pragma once
// The live picture of a device's camera as the camera page sees it: a source
// that hands each new picture to the page while it runs. The application's
// capture backend decides what stands behind a camera's unique id; the page
// only starts, stops and asks for the outcome.

#include <QObject>
#include <QString>

#include <functional>

class QImage;

class QOVACaptureSource : public QObject {
    Q_OBJECT
public:
    // 0 usable, 1 the camera may not be used (no permission), 2 the camera
    // could not be set up (not found, not opened).
    enum SetupResult { Usable = 0, NotAuthorized = 1, ConfigurationFailed = 2 };

    using QObject::QObject;
    ~QOVACaptureSource() override = default;

    virtual SetupResult setupResult() const = 0;
    // Each new picture, on the main thread.
    using FrameHandler = std::function<void(const QImage &frame)>;
    // Starts handing pictures to onFrame unless already running.
    virtual void start(FrameHandler onFrame) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;

    // The source of a camera by unique id, made by the installed factory
    // (the real capture when none is installed).
    using Factory = std::function<QOVACaptureSource *(const QString &uniqueID, QObject *parent)>;
    static void installFactory(Factory factory);
    static QOVACaptureSource *create(const QString &uniqueID, QObject *parent);
};
