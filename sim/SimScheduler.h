#pragma once
// One worker thread that runs the simulated devices' delayed work (late
// replies, coming back after a re-enumeration) at its due time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace sim {

class SimScheduler {
public:
    SimScheduler();
    ~SimScheduler();
    SimScheduler(const SimScheduler &) = delete;
    SimScheduler &operator=(const SimScheduler &) = delete;

    // Runs task on the worker thread after delayMs (already scaled).
    void post(int delayMs, std::function<void()> task);
    // Drops every task not yet started.
    void clear();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> m_tasks;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace sim
