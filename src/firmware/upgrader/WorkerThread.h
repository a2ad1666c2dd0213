#pragma once
// One worker thread per firmware job: a QThread that runs the job's body,
// which turns an event loop of its own. A job can end on its own thread, so
// a thread is never joined by itself: finished threads are handed to
// retire() and joined later from another thread.

#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <memory>

namespace upgrader {

class WorkerThread : public QThread {
public:
    explicit WorkerThread(std::function<void()> body);

    // Waits until the body has returned and released what it held, then for
    // the thread itself. The first wait is on our own lock, so that what the
    // body did is seen as done before by tools that cannot see into Qt's.
    void join();

protected:
    void run() override;

private:
    std::function<void()> m_body;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_bodyDone = false;
};

// A worker thread for body, not started yet (start() it once it is stored
// where the body may look for it). Joins the retired threads that have ended
// by now.
std::unique_ptr<WorkerThread> makeWorker(const QString &name, std::function<void()> body);

// Ends the worker: asks its event loop to quit and, unless called on that
// very thread, waits for it. A thread that cannot be waited for here is kept
// and joined by a later call.
void retire(std::unique_ptr<WorkerThread> thread);

} // namespace upgrader
