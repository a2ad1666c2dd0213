#include "util/QOVABlockTimer.h"

#include "platform/TimeScale.h"

#include <QPointer>
#include <QTimer>

#include <mutex>

struct QOVABlockTimer::State {
    std::mutex mutex;
    bool valid = true;
    Block block;
    QPointer<QTimer> timer;
};

QOVABlockTimerRef QOVABlockTimer::qova_scheduledTimerWithTimeInterval(double interval, Block block,
                                                                       bool repeats)
{
    QOVABlockTimerRef self(new QOVABlockTimer(interval, repeats));
    self->m_state = std::make_shared<State>();
    self->m_state->block = std::move(block);

    auto *timer = new QTimer;
    timer->setSingleShot(!repeats);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(platform::scaledMs(interval * 1000.0));
    self->m_state->timer = timer;
    // The timer keeps the block timer (and so its block) alive until it is
    // invalidated.
    QObject::connect(timer, &QTimer::timeout, timer, [self] { self->fired(); });
    timer->start();
    return self;
}

QOVABlockTimer::~QOVABlockTimer() = default;

void QOVABlockTimer::fired()
{
    Block block;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        if (!m_state->valid)
            return;
        block = m_state->block;
    }
    if (!m_repeats)
        invalidate();
    if (block)
        block(shared_from_this());
}

void QOVABlockTimer::fire()
{
    Block block;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        if (!m_state->valid)
            return;
        block = m_state->block;
    }
    if (block)
        block(shared_from_this());
}

void QOVABlockTimer::invalidate()
{
    QPointer<QTimer> timer;
    Block dropped;
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        if (!m_state->valid)
            return;
        m_state->valid = false;
        dropped = std::move(m_state->block);
        m_state->block = nullptr;
        timer = m_state->timer;
        m_state->timer.clear();
    }
    // Deleting the timer drops its hold on this object; deleteLater is safe
    // from any thread and runs on the timer's own.
    if (timer) {
        if (timer->thread() == QThread::currentThread())
            timer->stop();
        timer->deleteLater();
    }
}

bool QOVABlockTimer::isValid() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->valid;
}
