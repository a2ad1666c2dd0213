#pragma once
// Audio meters: the live input level of the device's own microphone, one bar
// per channel. The microphone is found among the computer's audio inputs by
// the device's serial number and opened on the page's session thread ("audio
// session queue"); while the page is on screen the input runs and a 0.1 s
// timer copies the peak levels of channels 0 and 1 onto the left and right
// bars. Nothing is played back. The page sends no device request.
//
// The meters stop whenever the page leaves the screen (another page, the
// device list, another device, the device leaving) and start again when the
// page is shown.

#include "QOVADisplayBaseView.h"

#include <QPointer>

#include <memory>

class QOVAAudioCapture;
class QOVAAudioIndicatorView;
class QOVALabel;
class QThread;
class QTimer;

class QOVAAudioMetersView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    // 0 capture usable (or not yet configured), 1 the microphone may not be
    // used, 2 the microphone was not found or could not be opened.
    enum SetupResult { Usable = 0, NotAuthorized = 1, ConfigurationFailed = 2 };

    explicit QOVAAudioMetersView(const QString &serialNumber, QWidget *parent = nullptr);
    ~QOVAAudioMetersView() override;

    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVAAudioIndicatorView *micInputLeftStrengthIndicator() const { return m_left; }
    QOVAAudioIndicatorView *micInputRightStrengthIndicator() const { return m_right; }
    QString serialNumber() const { return m_serialNumber; }
    QTimer *audioLevelTimer() const { return m_audioLevelTimer; }
    QThread *sessionQueue() const { return m_sessionQueue; }
    qint64 setupResult() const;
    // Whether the refresh timer runs.
    bool isMetering() const;

    void handleDisplayViewEvent() override;
    void cancelDisplayViewEvent() override;
    // One refresh of both bars.
    void updateAudioLevels();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    struct Session;

    void setupAudioMetersView();
    void initSession();
    void onSessionQueue(std::function<void()> task);
    static void configureSession(const std::shared_ptr<Session> &session);

    QOVALabel *m_tipLabel = nullptr;
    QOVAAudioIndicatorView *m_left = nullptr;
    QOVAAudioIndicatorView *m_right = nullptr;
    QString m_serialNumber;
    QPointer<QTimer> m_audioLevelTimer;
    QThread *m_sessionQueue = nullptr;
    QObject *m_sessionContext = nullptr;
    std::shared_ptr<Session> m_session;
};
