#pragma once
// A thread that runs its own event loop for as long as it lives: set-up runs
// on the thread before the loop starts, tear-down after the loop has ended.

#include <QThread>

#include <functional>

namespace qova::discovery {

class QOVADiscoveryThread : public QThread {
public:
    QOVADiscoveryThread(const QString &name, std::function<void()> setUp,
                        std::function<void()> tearDown);

    // Ends the event loop and waits for the tear-down to have run.
    void stop();

protected:
    void run() override;

private:
    std::function<void()> m_setUp;
    std::function<void()> m_tearDown;
};

} // namespace qova::discovery
