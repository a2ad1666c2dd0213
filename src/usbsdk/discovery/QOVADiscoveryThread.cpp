#include "discovery/QOVADiscoveryThread.h"

#include "platform/ThreadHop.h"

namespace qova::discovery {

QOVADiscoveryThread::QOVADiscoveryThread(const QString &name, std::function<void()> setUp,
                                         std::function<void()> tearDown)
    : m_setUp(std::move(setUp)), m_tearDown(std::move(tearDown))
{
    setObjectName(name);
}

void QOVADiscoveryThread::run()
{
    if (m_setUp)
        m_setUp();
    exec();
    if (m_tearDown)
        m_tearDown();
    platform::handOver(this);
}

void QOVADiscoveryThread::stop()
{
    quit();
    wait();
    platform::takeOver(this);
}

} // namespace qova::discovery
