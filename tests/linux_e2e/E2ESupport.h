#pragma once
// The fixture of the end-to-end tests: a simulated bus on the emulated
// kernel, the Linux backend installed over it, and waits that keep the
// caller's event loop turning.

#include "SimKernel.h"
#include "UmockdevBus.h"

#include "platform/Backend.h"
#include "platform/TimeScale.h"
#include "platform/linux/LinuxBackend.h"
#include "sim/SimBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace e2e {

// Runs the event loop until the condition holds or a generous limit passes.
inline bool waitFor(const std::function<bool()> &condition, int limitMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

inline void runEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
}

class LinuxE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        if (!UmockdevBus::available(&whyNot))
            GTEST_SKIP() << "umockdev cannot run here: " << qPrintable(whyNot);
        savedScale = platform::timeScale();
        platform::setTimeScale(0.01);
        bus = sim::SimBus::create();
        backend = std::shared_ptr<platform::Backend>(platform::createLinuxBackend());
        platform::installBackend(backend);
    }

    void TearDown() override
    {
        if (!bus)
            return;
        bus->unplugAll();
        kernel.reset();   // carries the removals over first
        platform::installBackend(std::shared_ptr<platform::Backend>());
        backend.reset();
        platform::setTimeScale(savedScale);
    }

    // Puts the bus on the emulated kernel: what is plugged now is present
    // from the start, what comes later arrives with uevents.
    void startKernel() { kernel = std::make_unique<SimKernel>(bus); }

    double savedScale = 1;
    std::shared_ptr<sim::SimBus> bus;
    std::unique_ptr<SimKernel> kernel;
    std::shared_ptr<platform::Backend> backend;
};

} // namespace e2e
