#include "QOVAAudioMetersView.h"

#include "QOVAAudioCapture.h"
#include "QOVAAudioIndicatorView.h"
#include "QOVASettingsStyle.h"
#include "platform/ThreadHop.h"

#include "QOVAFont.h"
#include "QOVALabel.h"
#include "log/log.h"
#include "platform/TimeScale.h"

#include <QHideEvent>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <mutex>

using namespace settingsstyle;

// What the page and its session thread share. The input is made, started,
// stopped and released on the session thread; the page reads its levels.
struct QOVAAudioMetersView::Session {
    std::shared_ptr<QOVAAudioCapture> capture;
    QString serialNumber;
    std::atomic<qint64> setupResult{Usable};
    // Session thread only.
    bool hasDevice = false;
    std::unique_ptr<QOVAAudioInput> ownedInput;
    // The input as the page reads it.
    std::mutex lock;
    QOVAAudioInput *input = nullptr;
};

QOVAAudioMetersView::QOVAAudioMetersView(const QString &serialNumber, QWidget *parent)
    : QOVADisplayBaseView(parent)
    , m_serialNumber(serialNumber)
{
    detailViewName()->setStringValue(qtTrId("STRING_AUDIO_METERS"));
    setupAudioMetersView();
    initSession();
}

QOVAAudioMetersView::~QOVAAudioMetersView()
{
    if (isMetering())
        cancelDisplayViewEvent();
    // The input goes on the thread it lives on, then the thread ends.
    std::shared_ptr<Session> session = m_session;
    platform::runOn(m_sessionContext, [session] {
        {
            std::lock_guard<std::mutex> guard(session->lock);
            session->input = nullptr;
        }
        session->ownedInput.reset();
    });
    m_sessionQueue->quit();
    m_sessionQueue->wait();
    delete m_sessionContext;
    delete m_sessionQueue;
}

void QOVAAudioMetersView::setupAudioMetersView()
{
    m_tipLabel = rowLabel(this, qtTrId("STRING_AUDIO_METERS_TIP"), QStringLiteral("000000"), 13, QOVAFontRegular);
    fitLabel(m_tipLabel, 500);
    m_tipLabel->move(36, underSplitLine(this, 24));

    const QStringList scale{QStringLiteral("-20"), QStringLiteral("-10"), QStringLiteral("0"), QStringLiteral("10"),
                            QStringLiteral("20")};
    const int leftTop = m_tipLabel->geometry().bottom() + 1 + 16;
    m_left = new QOVAAudioIndicatorView(QRect(36, leftTop, 330, 36), scale, this);
    m_left->indicatorLabel()->setStringValue(QStringLiteral("%1").arg(qtTrId("STRING_LEFT")));
    m_right = new QOVAAudioIndicatorView(QRect(36, leftTop + 36, 330, 36), scale, this);
    m_right->indicatorLabel()->setStringValue(QStringLiteral("%1").arg(qtTrId("STRING_RIGHT")));
}

void QOVAAudioMetersView::initSession()
{
    m_session = std::make_shared<Session>();
    m_session->capture = QOVAAudioCapture::shared();
    m_session->serialNumber = m_serialNumber;

    m_sessionQueue = new QThread;
    m_sessionQueue->setObjectName(QStringLiteral("audio session queue"));
    m_sessionContext = new QObject;
    m_sessionContext->moveToThread(m_sessionQueue);
    m_sessionQueue->start();

    QOVA_LOG(INFO, UI, "Current Opterating System is %s", qUtf8Printable(QSysInfo::prettyProductName()));
    // No per-program consent here: the capture layer answers at once.
    if (m_session->capture->authorizationStatus() != QOVAAudioCapture::Authorization::Authorized)
        m_session->setupResult = NotAuthorized;

    std::shared_ptr<Session> session = m_session;
    onSessionQueue([session] { configureSession(session); });
}

void QOVAAudioMetersView::onSessionQueue(std::function<void()> task)
{
    platform::postTo(m_sessionContext, std::move(task));
}

void QOVAAudioMetersView::configureSession(const std::shared_ptr<Session> &session)
{
    if (session->setupResult != Usable)
        return;
    const QList<QOVAAudioCaptureDevice> devices = session->capture->audioDevices();
    QOVA_LOG(INFO, UI, "Discovered Audio device Number = %d.", int(devices.size()));
    for (int i = 0; i < devices.size(); ++i) {
        QOVA_LOG(INFO, UI, "Audio Device [%d] uniqueID is %s, localizedName is %s", i + 1,
                 qUtf8Printable(devices[i].uniqueID), qUtf8Printable(devices[i].localizedName));
    }
    const std::optional<int> match = QOVAAudioCapture::findMicrophone(devices, session->serialNumber);
    if (!match) {
        QOVA_LOG(ERROR, UI, "Can not find audio device!");
        session->setupResult = ConfigurationFailed;
        return;
    }
    session->hasDevice = true;
    QString error;
    std::unique_ptr<QOVAAudioInput> input = session->capture->openInput(devices[*match], &error);
    if (!input) {
        QOVA_LOG(ERROR, UI, "The audio device cannot be opened, because %s", qUtf8Printable(error));
        session->setupResult = ConfigurationFailed;
        return;
    }
    std::lock_guard<std::mutex> guard(session->lock);
    session->input = input.get();
    session->ownedInput = std::move(input);
}

qint64 QOVAAudioMetersView::setupResult() const
{
    return m_session->setupResult;
}

bool QOVAAudioMetersView::isMetering() const
{
    return m_audioLevelTimer && m_audioLevelTimer->isActive();
}

void QOVAAudioMetersView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    QOVA_LOG(INFO, UI, "Start Audio Meters Notification.");
    std::shared_ptr<Session> session = m_session;
    onSessionQueue([session] {
        if (session->hasDevice && session->ownedInput)
            session->ownedInput->start();
    });
    delete m_audioLevelTimer;
    m_audioLevelTimer = new QTimer(this);
    m_audioLevelTimer->setInterval(platform::scaledMs(100));
    connect(m_audioLevelTimer, &QTimer::timeout, this, &QOVAAudioMetersView::updateAudioLevels);
    m_audioLevelTimer->start();
}

void QOVAAudioMetersView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
    QOVA_LOG(INFO, UI, "Stop Audio Meters Notification.");
    if (m_audioLevelTimer)
        m_audioLevelTimer->stop();
    std::shared_ptr<Session> session = m_session;
    onSessionQueue([session] {
        if (session->hasDevice && session->ownedInput)
            session->ownedInput->stop();
    });
}

void QOVAAudioMetersView::hideEvent(QHideEvent *event)
{
    QOVADisplayBaseView::hideEvent(event);
    // Off screen (the device page went away or another page came) the
    // microphone is let go; a minimised window keeps its meters.
    if (!event->spontaneous() && isMetering())
        cancelDisplayViewEvent();
}

void QOVAAudioMetersView::updateAudioLevels()
{
    QVector<float> levels;
    {
        std::lock_guard<std::mutex> guard(m_session->lock);
        if (!m_session->input)
            return;
        levels = m_session->input->peakHoldLevels();
    }
    if (levels.size() > 0)
        m_left->updateIndicator(double(levels[0]));
    if (levels.size() > 1)
        m_right->updateIndicator(double(levels[1]));
}
