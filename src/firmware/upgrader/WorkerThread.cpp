#include "WorkerThread.h"

#include <mutex>
#include <vector>

namespace upgrader {

namespace {

struct Retired {
    std::mutex mutex;
    std::vector<std::unique_ptr<WorkerThread>> threads;
};

// Kept for the life of the process: threads still running at exit are left
// to the operating system rather than destroyed while they run.
Retired &retired()
{
    static Retired *list = new Retired;
    return *list;
}

void reapFinished()
{
    std::vector<std::unique_ptr<WorkerThread>> done;
    {
        std::lock_guard<std::mutex> lock(retired().mutex);
        auto &threads = retired().threads;
        for (auto it = threads.begin(); it != threads.end();) {
            if ((*it)->isFinished() && (*it).get() != QThread::currentThread()) {
                done.push_back(std::move(*it));
                it = threads.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto &thread : done)
        thread->join();
}

} // namespace

WorkerThread::WorkerThread(std::function<void()> body)
    : m_body(std::move(body))
{
}

void WorkerThread::run()
{
    if (m_body)
        m_body();
    m_body = nullptr;
    // Notified under the lock: the joiner may delete this object as soon as
    // it has seen the flag.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodyDone = true;
    m_ended.notify_all();
}

void WorkerThread::join()
{
    if (isRunning() || isFinished()) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ended.wait(lock, [this] { return m_bodyDone; });
    }
    wait();
}

std::unique_ptr<WorkerThread> makeWorker(const QString &name, std::function<void()> body)
{
    reapFinished();
    auto thread = std::make_unique<WorkerThread>(std::move(body));
    thread->setObjectName(name);
    return thread;
}

void retire(std::unique_ptr<WorkerThread> thread)
{
    if (!thread)
        return;
    thread->quit();
    if (thread.get() != QThread::currentThread()) {
        thread->join();
        thread.reset();
    } else {
        std::lock_guard<std::mutex> lock(retired().mutex);
        retired().threads.push_back(std::move(thread));
    }
    reapFinished();
}

} // namespace upgrader
