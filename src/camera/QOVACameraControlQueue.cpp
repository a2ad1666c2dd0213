#include "QOVACameraControlQueue.h"

QOVACameraControlQueue::QOVACameraControlQueue(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &QOVACameraControlQueue::runNext);
}

void QOVACameraControlQueue::enqueue(std::function<void()> task)
{
    m_tasks.push_back(std::move(task));
    if (!m_timer.isActive())
        m_timer.start();
}

void QOVACameraControlQueue::runNext()
{
    if (m_tasks.empty())
        return;
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    if (!m_tasks.empty())
        m_timer.start();
    task();
}
