// The simulated devices' scheduler: tasks run at their due time on its
// worker, and dropping pending tasks while the worker waits for one of them
// leaves the worker sound (a sanitizer build sees any read of a dropped
// task's entry).

#include "sim/SimScheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(SimSchedulerTest, RunsTasksInDueOrder)
{
    sim::SimScheduler scheduler;
    std::vector<int> order;
    std::promise<void> done;
    scheduler.post(30, [&] { order.push_back(3); done.set_value(); });
    scheduler.post(0, [&] { order.push_back(1); });
    scheduler.post(10, [&] { order.push_back(2); });
    done.get_future().wait();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(SimSchedulerTest, ClearWhileTheWorkerWaitsForADroppedTask)
{
    sim::SimScheduler scheduler;
    std::atomic<int> lateRuns{0};
    for (int round = 0; round < 50; ++round) {
        // The worker waits for this task's due time...
        scheduler.post(60000, [&] { ++lateRuns; });
        std::this_thread::sleep_for(1ms);
        // ...which is dropped under it; the worker must neither run it nor
        // read its entry again, and still runs what comes next.
        scheduler.clear();
        std::promise<void> ran;
        scheduler.post(0, [&] { ran.set_value(); });
        ran.get_future().wait();
    }
    EXPECT_EQ(lateRuns.load(), 0);
}
