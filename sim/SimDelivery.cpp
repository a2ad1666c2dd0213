#include "sim/SimDelivery.h"

#include "platform/ThreadHop.h"

namespace sim {

std::shared_ptr<SimDelivery> SimDelivery::forCurrentThread()
{
    std::shared_ptr<SimDelivery> delivery(new SimDelivery());
    delivery->m_context = new QObject();
    return delivery;
}

SimDelivery::~SimDelivery()
{
    close();
}

void SimDelivery::post(std::function<void()> work)
{
    std::lock_guard<std::mutex> lock(m_postMutex);
    if (!m_open || !m_context)
        return;
    std::weak_ptr<SimDelivery> weak = weak_from_this();
    platform::postTo(m_context, [weak, work = std::move(work)] {
        auto self = weak.lock();
        if (!self)
            return;
        std::lock_guard<std::recursive_mutex> run(self->m_runMutex);
        if (self->m_open)
            work();
    });
}

void SimDelivery::close()
{
    std::lock_guard<std::recursive_mutex> run(m_runMutex);
    if (!m_open.exchange(false))
        return;
    std::lock_guard<std::mutex> lock(m_postMutex);
    if (m_context)
        m_context->deleteLater();
    m_context = nullptr;
}

bool SimDelivery::isOpen() const
{
    return m_open;
}

} // namespace sim
