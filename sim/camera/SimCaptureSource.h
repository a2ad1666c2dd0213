#pragma once
// The live picture of a simulated camera: a generated moving test picture
// with the camera's current zoom, pan and tilt (read from its control store)
// drawn on it, fed into the page's video sink while it runs.

#include "camera/QOVACaptureSource.h"

#include <QPointer>
#include <QTimer>

#include <memory>

namespace sim {

class SimBus;
class SimUvcControlHandler;

class SimCaptureSource : public QOVACaptureSource {
    Q_OBJECT
public:
    SimCaptureSource(std::shared_ptr<SimBus> bus, const QString &uniqueID, QObject *parent = nullptr);

    SetupResult setupResult() const override { return m_setupResult; }
    void start(FrameHandler onFrame) override;
    void stop() override;
    bool isRunning() const override { return m_timer.isActive(); }

    int framesSent() const { return m_frames; }
    // The picture for a moment and camera position (public for tests).
    static QImage drawFrame(int frame, qint64 zoom, qint64 pan, qint64 tilt, const QString &caption);

    // Makes the camera page use simulated cameras of this bus.
    static void install(std::shared_ptr<SimBus> bus);

private:
    std::shared_ptr<SimUvcControlHandler> findControls() const;
    void sendFrame();

    std::shared_ptr<SimBus> m_bus;
    QString m_uniqueID;
    SetupResult m_setupResult = Usable;
    FrameHandler m_onFrame;
    QTimer m_timer;
    int m_frames = 0;
};

} // namespace sim
