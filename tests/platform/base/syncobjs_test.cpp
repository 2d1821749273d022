#include "platform/base/syncobjs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/mainthread.h"
#include "timed_run.h"

namespace {

bool TryEnterOnAnotherThread(TCriticalSection& ASection) {
    bool entered = false;
    std::thread other([&] {
        entered = ASection.TryEnter();
        if (entered) ASection.Leave();
    });
    other.join();
    return entered;
}

TEST(CriticalSection, TheOwnerMayEnterAgainAndOthersWaitUntilItLeavesAsOften) {
    TCriticalSection section;
    section.Enter();
    ASSERT_TRUE(section.TryEnter());
    section.Acquire();
    EXPECT_FALSE(TryEnterOnAnotherThread(section));
    section.Release();
    section.Leave();
    EXPECT_FALSE(TryEnterOnAnotherThread(section));
    section.Leave();
    EXPECT_TRUE(TryEnterOnAnotherThread(section));

    {
        TCriticalSectionGuard guard(section);
        EXPECT_FALSE(TryEnterOnAnotherThread(section));
    }
    EXPECT_TRUE(TryEnterOnAnotherThread(section));
}

TEST(Event, ResetModeAndInitialStateDecideWhatWaitsSee) {
    struct Case {
        bool manualReset, initialState;
        TWaitResult first, second;
    } cases[] = {
        {true, true, wrSignaled, wrSignaled},
        {true, false, wrTimeout, wrTimeout},
        {false, true, wrSignaled, wrTimeout},
        {false, false, wrTimeout, wrTimeout},
    };
    for (const auto& c : cases) {
        TEvent event(c.manualReset, c.initialState);
        EXPECT_EQ(event.WaitFor(0), c.first) << c.manualReset << c.initialState;
        EXPECT_EQ(event.WaitFor(0), c.second) << c.manualReset << c.initialState;
    }
}

TEST(Event, ManualResetStaysSignalledUntilReset) {
    TEvent event;
    event.SetEvent();
    EXPECT_EQ(event.WaitFor(INFINITE), wrSignaled);
    EXPECT_EQ(event.WaitFor(0), wrSignaled);
    event.ResetEvent();
    EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

TEST(Event, AnAutoResetEventReleasesOneWaiterPerSignal) {
    TEvent event(false, false);
    TEvent released(false, false);
    std::atomic<int> count{0};
    auto waiter = [&] {
        if (event.WaitFor(INFINITE) == wrSignaled) ++count;
        released.SetEvent();
    };
    std::thread first(waiter), second(waiter);
    event.SetEvent();
    ASSERT_EQ(released.WaitFor(INFINITE), wrSignaled);
    EXPECT_EQ(event.WaitFor(0), wrTimeout);  // the one waiter took the signal
    EXPECT_EQ(count, 1);
    event.SetEvent();
    first.join();
    second.join();
    EXPECT_EQ(count, 2);
}

TEST(Event, TimedWaitsLastTheirTimeOnEveryThread) {
    for (bool onGuiThread : {true, false}) {
        TWaitResult result = wrError;
        const auto elapsed = TimedRun(onGuiThread, [&] { result = TEvent().WaitFor(20); });
        EXPECT_EQ(result, wrTimeout) << onGuiThread;
        EXPECT_GE(elapsed, std::chrono::milliseconds(20)) << onGuiThread;
    }
}

TEST(Event, AGuiThreadWaitingForAWorkerRunsTheCallTheWorkerBlocksIn) {
    TEvent done;
    bool ranOnGuiThread = false;
    std::thread worker([&] {
        Synchronize([&] { ranOnGuiThread = IsMainThread(); });
        done.SetEvent();
    });
    EXPECT_EQ(done.WaitFor(INFINITE), wrSignaled);
    worker.join();
    EXPECT_TRUE(ranOnGuiThread);
}

}  // namespace
