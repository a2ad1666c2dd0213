#pragma once
// Hands work to one thread's event loop (the thread that created it) until
// it is closed. After close() returns no handed work runs any more.

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace sim {

class SimDelivery : public std::enable_shared_from_this<SimDelivery> {
public:
    // Must be made on the thread that is to run the work.
    static std::shared_ptr<SimDelivery> forCurrentThread();
    ~SimDelivery();

    void post(std::function<void()> work);
    void close();
    bool isOpen() const;

private:
    SimDelivery() = default;

    // Work runs holding m_runMutex, so close() waits for work under way on
    // another thread. Posting only takes m_postMutex: a poster may hold other
    // locks (the bus's) that running work also takes.
    mutable std::recursive_mutex m_runMutex;
    mutable std::mutex m_postMutex;
    std::atomic<bool> m_open{true};
    QObject *m_context = nullptr;
};

} // namespace sim
