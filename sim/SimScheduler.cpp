#include "sim/SimScheduler.h"

namespace sim {

SimScheduler::SimScheduler()
    : m_queue(std::make_shared<Queue>())
    , m_thread([queue = m_queue] { run(queue); })
{
}

SimScheduler::~SimScheduler()
{
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->stop = true;
        dropped.swap(m_queue->tasks);
    }
    m_queue->wake.notify_all();
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    else
        m_thread.join();
}

void SimScheduler::post(int delayMs, std::function<void()> task)
{
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs < 0 ? 0 : delayMs);
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        if (m_queue->stop)
            return;
        m_queue->tasks.emplace(due, std::move(task));
    }
    m_queue->wake.notify_all();
}

void SimScheduler::clear()
{
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(m_queue->mutex);
        dropped.swap(m_queue->tasks);
    }
    // The dropped tasks are destroyed outside the lock (what they hold may
    // post again); the worker goes back to waiting for new work.
    m_queue->wake.notify_all();
}

void SimScheduler::run(std::shared_ptr<Queue> queue)
{
    std::unique_lock<std::mutex> lock(queue->mutex);
    while (!queue->stop) {
        if (queue->tasks.empty()) {
            queue->wake.wait(lock);
            continue;
        }
        auto first = queue->tasks.begin();
        // A copy: clear() may free the entry while the wait has let go of
        // the lock, and the wait reads its deadline again after each wake.
        const auto due = first->first;
        if (due > std::chrono::steady_clock::now()) {
            queue->wake.wait_until(lock, due);
            continue;
        }
        std::function<void()> task = std::move(first->second);
        queue->tasks.erase(first);
        lock.unlock();
        task();
        task = nullptr;   // what it held goes before the lock is taken again
        lock.lock();
    }
}

} // namespace sim
