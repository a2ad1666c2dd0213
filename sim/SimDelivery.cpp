#include "sim/SimDelivery.h"

#include <QMetaObject>

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
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!m_open || !m_context)
        return;
    std::weak_ptr<SimDelivery> weak = weak_from_this();
    QMetaObject::invokeMethod(
        m_context.data(),
        [weak, work = std::move(work)] {
            auto self = weak.lock();
            if (!self)
                return;
            std::lock_guard<std::recursive_mutex> lock(self->m_mutex);
            if (self->m_open)
                work();
        },
        Qt::QueuedConnection);
}

void SimDelivery::close()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!m_open)
        return;
    m_open = false;
    if (m_context)
        m_context->deleteLater();
}

bool SimDelivery::isOpen() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_open;
}

} // namespace sim
