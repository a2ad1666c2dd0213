#pragma once
// The capture of a real camera: the device's capture node is found through
// udev by its unique id, opened once to learn whether the user may use it,
// and the computer's capture device on it feeds a video sink whose frames go
// to the page as pictures. A
// Vasko camera runs in its last Motion-JPEG 1920 by 1080 format.

#include "QOVACaptureSource.h"

#include <QPointer>
#include <QSize>
#include <QVideoFrameFormat>

#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoSink;
class QOVACaptureDeviceLocator;

// One format a capture device offers.
struct QOVACaptureFormat {
    QVideoFrameFormat::PixelFormat pixelFormat = QVideoFrameFormat::Format_Invalid;
    QSize resolution;
};

class QOVAQtCaptureSource : public QOVACaptureSource {
    Q_OBJECT
public:
    QOVAQtCaptureSource(const QString &uniqueID, QObject *parent = nullptr);
    QOVAQtCaptureSource(const QString &uniqueID, std::shared_ptr<QOVACaptureDeviceLocator> locator,
                        QObject *parent = nullptr);
    ~QOVAQtCaptureSource() override;

    SetupResult setupResult() const override { return m_setupResult; }
    void start(FrameHandler onFrame) override;
    void stop() override;
    bool isRunning() const override;

    // The Vasko camera's format: the last Motion-JPEG 1920 by 1080 one, or
    // -1 when it offers none.
    static int indexOfVaskoFormat(const QList<QOVACaptureFormat> &formats);
    // Whether the user may use the node: opened and closed again; refused
    // access means no permission, any other failure a set-up failure.
    static SetupResult accessOfNode(const QString &node, QString *reason = nullptr);
    static SetupResult setupResultForOpenError(int error);

private:
    void configure();
    void chooseVaskoFormat();

    QString m_uniqueID;
    std::shared_ptr<QOVACaptureDeviceLocator> m_locator;
    SetupResult m_setupResult = Usable;
    bool m_configured = false;
    QCamera *m_camera = nullptr;
    QMediaCaptureSession *m_session = nullptr;
    QVideoSink *m_sink = nullptr;
    FrameHandler m_onFrame;
};
