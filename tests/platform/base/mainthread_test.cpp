#include "platform/base/mainthread.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/base/syncobjs.h"
#include "platform/base/sysutils.h"
#include "timed_run.h"

namespace {

bool WakeFdReadable(int ATimeoutMs = 0) {
    pollfd fd{MainThreadWakeFd(), POLLIN, 0};
    return poll(&fd, 1, ATimeoutMs) == 1;
}

// Runs AWork on a worker while the test's (GUI) thread waits for it, running
// the calls the worker hands over.
void RunOnWorker(const std::function<void()>& AWork) {
    std::mutex lock;
    std::condition_variable_any changed;
    bool done = false;
    std::thread worker([&] {
        AWork();
        std::lock_guard<std::mutex> guard(lock);
        done = true;
        changed.notify_all();
    });
    {
        std::unique_lock<std::mutex> guard(lock);
        WaitForCondition(
            guard, changed, [&] { return done; }, INFINITE);
    }
    worker.join();
}

class MainThreadTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetMainThread();
        SetWakeMainThreadHook(nullptr);
        SetProcessMessagesHook(nullptr);
        for (int i = 0; i < 10; ++i) {
            try {
                if (!CheckSynchronize()) break;
            } catch (const std::exception&) {
            }
        }
    }
};

TEST_F(MainThreadTest, TheStartingThreadIsTheGuiThreadUntilAnotherTakesOver) {
    EXPECT_TRUE(IsMainThread());
    bool workerBefore = true, workerAfter = false;
    std::thread worker([&] {
        workerBefore = IsMainThread();
        SetMainThread();
        workerAfter = IsMainThread();
    });
    worker.join();
    EXPECT_FALSE(workerBefore);
    EXPECT_TRUE(workerAfter);
    EXPECT_FALSE(IsMainThread());
    SetMainThread();
    EXPECT_TRUE(IsMainThread());
}

TEST_F(MainThreadTest, SynchronizeOnTheGuiThreadRunsAtOnceWithoutQueueing) {
    bool ran = false;
    Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(WakeFdReadable());
    EXPECT_FALSE(CheckSynchronize());
}

TEST_F(MainThreadTest, NilMethodsAreIgnored) {
    RunOnWorker([] {
        Synchronize(nullptr);
        Queue(nullptr);
    });
    Synchronize(nullptr);
    EXPECT_FALSE(WakeFdReadable());
    EXPECT_FALSE(CheckSynchronize());
}

TEST_F(MainThreadTest, SynchronizeFromAWorkerBlocksUntilTheGuiThreadRunsTheCall) {
    std::atomic<bool> returned{false};
    bool ranOnGuiThread = false;
    std::thread worker([&] {
        Synchronize([&] { ranOnGuiThread = IsMainThread(); });
        returned = true;
    });
    ASSERT_TRUE(WakeFdReadable(-1));
    EXPECT_FALSE(returned);
    EXPECT_TRUE(CheckSynchronize());
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_TRUE(ranOnGuiThread);
    EXPECT_FALSE(WakeFdReadable());
}

TEST_F(MainThreadTest, AnExceptionOfASynchronizedCallIsRaisedInTheCallerWithItsClass) {
    String message;
    bool sameClass = false;
    RunOnWorker([&] {
        try {
            Synchronize([] { throw EConvertError(u"'x' is not a valid integer value"); });
        } catch (const EConvertError& e) {
            sameClass = true;
            message = e.Message();
        } catch (...) {
        }
    });
    EXPECT_TRUE(sameClass);
    EXPECT_EQ(message, u"'x' is not a valid integer value");
}

TEST_F(MainThreadTest, QueuedCallsReturnAtOnceAndRunLaterInOrder) {
    std::vector<int> order;
    Queue([&] { order.push_back(1); });
    Queue([&] { order.push_back(2); });
    std::thread worker([&] { Queue([&] { order.push_back(3); }); });
    worker.join();
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(WakeFdReadable());
    EXPECT_FALSE(CheckSynchronize());
}

TEST_F(MainThreadTest, CallsQueuedWhileCallsRunAreKeptForTheNextPass) {
    std::vector<int> order;
    Queue([&] {
        order.push_back(1);
        Queue([&] { order.push_back(2); });
    });
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{1}));
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(WakeFdReadable());
}

TEST_F(MainThreadTest, AnExceptionOfAQueuedCallLeavesCheckSynchronizeAndTheRestStayPending) {
    std::vector<int> order;
    Queue([] { throw EConvertError(u"broken"); });
    Queue([&] { order.push_back(2); });
    EXPECT_THROW(CheckSynchronize(), EConvertError);
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{2}));
}

TEST_F(MainThreadTest, CheckSynchronizeRefusesOtherThreads) {
    bool refused = false;
    std::thread worker([&] {
        try {
            CheckSynchronize();
        } catch (const EThread&) {
            refused = true;
        }
    });
    worker.join();
    EXPECT_TRUE(refused);
}

TEST_F(MainThreadTest, RemovedQueuedEventsOfAnOwnerNeverRun) {
    int owner = 0, other = 0;
    std::vector<int> order;
    Queue([&] { order.push_back(1); }, &owner);
    Queue([&] { order.push_back(2); }, &other);
    Queue([&] { order.push_back(3); }, &owner);
    RemoveQueuedEvents(&owner);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{2}));

    Queue([&] { order.push_back(4); }, &owner);
    RemoveQueuedEvents(&owner);
    EXPECT_FALSE(WakeFdReadable());
}

TEST_F(MainThreadTest, TheWakeHookRunsAfterEachQueueingAndTheMessageHookOnlyWhenSet) {
    std::atomic<int> wakes{0};
    SetWakeMainThreadHook([&] { ++wakes; });
    std::thread worker([] { Queue([] {}); });
    worker.join();
    EXPECT_EQ(wakes, 1);
    RunOnWorker([] { Synchronize([] {}); });
    EXPECT_EQ(wakes, 2);

    ProcessMessagesHook();
    int processed = 0;
    SetProcessMessagesHook([&] { ++processed; });
    ProcessMessagesHook();
    EXPECT_EQ(processed, 1);
}

TEST_F(MainThreadTest, AGuiThreadWaitRunsTheCallsOfTheWorkersItWaitsFor) {
    constexpr int Workers = 4, Calls = 50;
    int synchronized = 0, queued = 0;  // touched only on the GUI thread
    std::mutex lock;
    std::condition_variable_any changed;
    int finished = 0;
    std::vector<std::thread> workers;
    for (int w = 0; w < Workers; ++w) {
        workers.emplace_back([&] {
            for (int i = 0; i < Calls; ++i) {
                Synchronize([&] { ++synchronized; });
                Queue([&] { ++queued; });
            }
            std::lock_guard<std::mutex> guard(lock);
            ++finished;
            changed.notify_all();
        });
    }
    {
        std::unique_lock<std::mutex> guard(lock);
        EXPECT_TRUE(WaitForCondition(
            guard, changed, [&] { return finished == Workers; }, INFINITE));
    }
    for (auto& worker : workers)
        worker.join();
    CheckSynchronize();
    EXPECT_EQ(synchronized, Workers * Calls);
    EXPECT_EQ(queued, Workers * Calls);
}

TEST_F(MainThreadTest, WaitForConditionGivesUpAfterItsTimeout) {
    for (bool onGuiThread : {true, false}) {
        bool result = true;
        const auto elapsed = TimedRun(onGuiThread, [&] {
            std::mutex lock;
            std::condition_variable_any never;
            std::unique_lock<std::mutex> guard(lock);
            result = WaitForCondition(
                guard, never, [] { return false; }, 5);
        });
        EXPECT_FALSE(result) << onGuiThread;
        EXPECT_GE(elapsed, std::chrono::milliseconds(5)) << onGuiThread;
    }
}

TEST_F(MainThreadTest, AnExceptionOfAQueuedCallDuringAWaitReachesTheNextCheckSynchronize) {
    std::mutex lock;
    std::condition_variable_any changed;
    bool ready = false;
    Queue([] { throw EConvertError(u"broken"); });
    Queue([&] {
        std::lock_guard<std::mutex> guard(lock);
        ready = true;
    });
    {
        std::unique_lock<std::mutex> guard(lock);
        EXPECT_TRUE(WaitForCondition(
            guard, changed, [&] { return ready; }, INFINITE));
    }
    EXPECT_TRUE(WakeFdReadable());
    EXPECT_THROW(CheckSynchronize(), EConvertError);
    EXPECT_FALSE(CheckSynchronize());
}

}  // namespace
