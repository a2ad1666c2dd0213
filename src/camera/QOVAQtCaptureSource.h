#pragma once
// The capture of a real camera: a capture session on the capture device
// whose id matches the camera's unique id, feeding the page's video sink.

#include "QOVACaptureSource.h"

#include <QPointer>

class QCamera;
class QMediaCaptureSession;

class QOVAQtCaptureSource : public QOVACaptureSource {
    Q_OBJECT
public:
    QOVAQtCaptureSource(const QString &uniqueID, QObject *parent = nullptr);
    ~QOVAQtCaptureSource() override;

    SetupResult setupResult() const override { return m_setupResult; }
    void start(QVideoSink *sink) override;
    void stop() override;
    bool isRunning() const override;

private:
    void configure();

    QString m_uniqueID;
    SetupResult m_setupResult = Usable;
    bool m_configured = false;
    QCamera *m_camera = nullptr;
    QMediaCaptureSession *m_session = nullptr;
};
