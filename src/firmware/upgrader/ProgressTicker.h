#pragma once
// The progress estimate of a firmware job: hands 0.01, 0.02 ... 1.00 to the
// callback, the first step at once on the thread that starts it (before
// start() returns) and the others once per interval on a thread of its own,
// then stays silent until stopped. Stopping waits for a firing under way, so
// no progress arrives after stop() has returned.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace upgrader {

class ProgressTicker {
public:
    ProgressTicker() = default;
    ~ProgressTicker();
    ProgressTicker(const ProgressTicker &) = delete;
    ProgressTicker &operator=(const ProgressTicker &) = delete;

    // The callback must not start or stop this ticker.
    void start(std::chrono::milliseconds interval, std::function<void(double)> progress);
    void stop();

private:
    using Clock = std::chrono::steady_clock;

    void stopLocked();
    void run(Clock::time_point next, std::chrono::milliseconds interval,
             std::function<void(double)> progress);

    std::mutex m_control;   // start and stop, from any thread
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace upgrader
