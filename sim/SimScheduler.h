#pragma once
// One worker thread that runs the simulated devices' delayed work (late
// replies, coming back after a re-enumeration) at its due time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace sim {

class SimScheduler {
public:
    SimScheduler();
    // May run on the worker thread itself (a task dropped the last reference
    // to the owner); the thread then finishes on its own.
    ~SimScheduler();
    SimScheduler(const SimScheduler &) = delete;
    SimScheduler &operator=(const SimScheduler &) = delete;

    // Runs task on the worker thread after delayMs (already scaled).
    void post(int delayMs, std::function<void()> task);
    // Drops every task not yet started.
    void clear();

private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable wake;
        std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> tasks;
        bool stop = false;
    };
    static void run(std::shared_ptr<Queue> queue);

    std::shared_ptr<Queue> m_queue;
    std::thread m_thread;
};

} // namespace sim
