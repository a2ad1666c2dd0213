#include "sim/SimScheduler.h"

namespace sim {

SimScheduler::SimScheduler()
    : m_thread([this] { run(); })
{
}

SimScheduler::~SimScheduler()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_tasks.clear();
    }
    m_wake.notify_all();
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    else
        m_thread.join();
}

void SimScheduler::post(int delayMs, std::function<void()> task)
{
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs < 0 ? 0 : delayMs);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stop)
            return;
        m_tasks.emplace(due, std::move(task));
    }
    m_wake.notify_all();
}

void SimScheduler::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tasks.clear();
}

void SimScheduler::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (m_tasks.empty()) {
            m_wake.wait(lock);
            continue;
        }
        auto first = m_tasks.begin();
        if (first->first > std::chrono::steady_clock::now()) {
            m_wake.wait_until(lock, first->first);
            continue;
        }
        std::function<void()> task = std::move(first->second);
        m_tasks.erase(first);
        lock.unlock();
        task();
        lock.lock();
    }
}

} // namespace sim
