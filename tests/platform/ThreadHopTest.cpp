#include "platform/ThreadHop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

// A thread with an event loop and an object living on it.
struct LoopThread {
    QThread thread;
    QObject *context = new QObject;

    LoopThread()
    {
        context->moveToThread(&thread);
        thread.start();
    }
    ~LoopThread()
    {
        platform::runOn(context, [this] { delete context; });
        thread.quit();
        thread.wait();
    }
};

template <class Pred>
bool waitUntil(Pred pred)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.hasExpired(20000))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Plain data, neither atomic nor locked, goes from the main thread to a
// worker, on to the pool and back to the main thread; each side changes it.
// A race check fails this test if a hand-over is not seen.
TEST(ThreadHopTest, PlainDataTravelsThereAndBackInOrder)
{
    LoopThread worker;
    std::string text = "main";
    std::vector<int> order;
    bool back = false;
    for (int i = 0; i < 3; ++i) {
        platform::postTo(worker.context, [&, i] {
            EXPECT_EQ(QThread::currentThread(), &worker.thread);
            order.push_back(i);
        });
    }
    platform::postTo(worker.context, [&] {
        text += "+worker";
        platform::runOnPool([&] {
            text += "+pool";
            platform::postToMain([&] {
                EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
                text += "+main";
                back = true;
            });
        });
    });
    ASSERT_TRUE(waitUntil([&] { return back; }));
    EXPECT_EQ(text, "main+worker+pool+main");
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

    // runOn: the caller waits, and sees what the other side wrote.
    platform::runOn(worker.context, [&] { text = "changed on the worker"; });
    EXPECT_EQ(text, "changed on the worker");
    // On the caller's own thread it runs at once.
    bool here = false;
    platform::runOn(QCoreApplication::instance(), [&] { here = true; });
    EXPECT_TRUE(here);
}

// Work queued for an object that goes before it runs is dropped unrun, and
// what it holds is released (a caller waiting in runOn holds its wake-up
// there, so it returns rather than waiting for ever).
TEST(ThreadHopTest, WorkForAnObjectThatGoesIsDroppedAndReleased)
{
    LoopThread worker;
    auto *doomed = new QObject;
    doomed->moveToThread(&worker.thread);
    std::mutex mutex;
    std::condition_variable changed;
    bool release = false;
    // Holds the worker's loop until the work below is queued behind it,
    // then deletes the object the work was for.
    platform::postTo(worker.context, [&, doomed] {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return release; });
        delete doomed;
    });
    std::atomic<bool> ran{false};
    auto held = std::make_shared<int>(1);
    std::weak_ptr<int> watch = held;
    platform::postTo(doomed, [&ran, held = std::move(held)] { ran = true; });
    {
        std::lock_guard<std::mutex> lock(mutex);
        release = true;
    }
    changed.notify_all();
    platform::runOn(worker.context, [] {});  // everything before it has run
    EXPECT_FALSE(ran);
    EXPECT_TRUE(watch.expired());
}

} // namespace
