#pragma once
// A timer that runs a block. It fires on the event loop of the thread that
// scheduled it and holds its block until it is invalidated (a one-shot timer
// invalidates itself when it fires), so the caller need not keep it.
//
// Intervals are given in real seconds and pass through platform::scaledMs, so
// tests that shorten the time scale shorten every block timer with it.

#include <QThread>

#include <functional>
#include <memory>

class QOVABlockTimer;
using QOVABlockTimerRef = std::shared_ptr<QOVABlockTimer>;

class QOVABlockTimer : public std::enable_shared_from_this<QOVABlockTimer> {
public:
    using Block = std::function<void(const QOVABlockTimerRef &timer)>;

    // Schedules a timer on the calling thread's event loop.
    static QOVABlockTimerRef qova_scheduledTimerWithTimeInterval(double interval, Block block,
                                                                  bool repeats);

    ~QOVABlockTimer();

    // Runs the block now, on the calling thread, when the timer is valid; the
    // schedule is not changed.
    void fire();

    // Stops the timer and drops its block. May be called from any thread:
    // once it returns the block is not started again.
    void invalidate();
    bool isValid() const;

    double timeInterval() const { return m_interval; }
    bool repeats() const { return m_repeats; }

private:
    QOVABlockTimer(double interval, bool repeats) : m_interval(interval), m_repeats(repeats) {}
    void fired();

    struct State;
    std::shared_ptr<State> m_state;
    double m_interval;
    bool m_repeats;
};
