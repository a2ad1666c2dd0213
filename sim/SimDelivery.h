#pragma once
// Hands work to one thread's event loop (the thread that created it) until
// it is closed. After close() returns no handed work runs any more.

#include <QObject>
#include <QPointer>

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

    mutable std::recursive_mutex m_mutex;
    bool m_open = true;
    QPointer<QObject> m_context;
};

} // namespace sim
