#include "ProgressTicker.h"

namespace upgrader {

namespace {
constexpr int kSteps = 100;
} // namespace

ProgressTicker::~ProgressTicker()
{
    stop();
}

void ProgressTicker::start(std::chrono::milliseconds interval, std::function<void(double)> progress)
{
    std::lock_guard<std::mutex> control(m_control);
    stopLocked();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    // The first step is not left to the new thread: on a loaded machine it
    // may not run before the starting thread has finished its work and
    // stopped the estimate, and the caller would see no progress at all.
    const Clock::time_point first = Clock::now();
    if (progress)
        progress(1.0 / kSteps);
    m_thread = std::thread(&ProgressTicker::run, this, first + interval, interval, std::move(progress));
}

void ProgressTicker::stop()
{
    std::lock_guard<std::mutex> control(m_control);
    stopLocked();
}

void ProgressTicker::stopLocked()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();  // stopped from its own callback: it ends by itself
    else
        m_thread.join();
}

void ProgressTicker::run(Clock::time_point next, std::chrono::milliseconds interval,
                         std::function<void(double)> progress)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (int counter = 2; counter <= kSteps; ++counter) {
        if (m_wake.wait_until(lock, next, [this] { return m_stopping; }))
            return;
        lock.unlock();
        if (progress)
            progress(double(counter) / kSteps);
        lock.lock();
        next += interval;
    }
    m_wake.wait(lock, [this] { return m_stopping; });
}

} // namespace upgrader
