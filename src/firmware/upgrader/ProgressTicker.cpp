#include "ProgressTicker.h"

namespace upgrader {

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
    m_thread = std::thread(&ProgressTicker::run, this, interval, std::move(progress));
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

void ProgressTicker::run(std::chrono::milliseconds interval, std::function<void(double)> progress)
{
    auto next = std::chrono::steady_clock::now();
    int counter = 1;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (counter <= 100) {
            const double value = counter / 100.0;
            ++counter;
            lock.unlock();
            if (progress)
                progress(value);
            lock.lock();
            next += interval;
            m_wake.wait_until(lock, next, [this] { return m_stopping; });
        } else {
            m_wake.wait(lock, [this] { return m_stopping; });
        }
    }
}

} // namespace upgrader
