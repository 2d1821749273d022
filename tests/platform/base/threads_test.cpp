#include "platform/base/threads.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"

namespace {

// A thread whose Execute is a function of the test.
class TTestThread : public TThread {
public:
    using TBody = std::function<void(TTestThread&)>;

    explicit TTestThread(TBody ABody, std::function<void()> AOnDestroy = nullptr)
        : TThread(true), FBody(std::move(ABody)), FOnDestroy(std::move(AOnDestroy)) {}
    ~TTestThread() override {
        if (FOnDestroy) FOnDestroy();
    }

    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;

protected:
    void Execute() override { FBody(*this); }

private:
    TBody FBody;
    std::function<void()> FOnDestroy;
};

class ThreadTest : public ::testing::Test {
protected:
    void TearDown() override {
        WaitForSelfFreeingThreads();
        while (CheckSynchronize()) {
        }
    }
};

TEST_F(ThreadTest, NothingRunsBeforeStart) {
    std::atomic<bool> ran{false};
    auto* thread = new TTestThread([&](TTestThread&) { ran = true; });
    EXPECT_TRUE(thread->Suspended());
    EXPECT_FALSE(thread->Finished());
    EXPECT_NE(thread->ThreadID(), 0u);
    EXPECT_NE(thread->ThreadID(), GetCurrentThreadId());
    Free(thread);
    EXPECT_FALSE(ran);
}

TEST_F(ThreadTest, ExecuteRunsOnItsOwnThreadAndWaitForReturnsTheReturnValue) {
    Cardinal executeThread = 0;
    bool onGuiThread = true;
    TTestThread thread([&](TTestThread& self) {
        executeThread = GetCurrentThreadId();
        onGuiThread = IsMainThread();
        self.SetReturnValue(42);
    });
    thread.Start();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_EQ(thread.WaitFor(), 42u);
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.ReturnValue(), 42);
    EXPECT_EQ(executeThread, thread.ThreadID());
    EXPECT_FALSE(onGuiThread);
    EXPECT_EQ(thread.FatalException(), nullptr);
}

TEST_F(ThreadTest, ResumeStartsOnceAndStartTwiceIsRefused) {
    TTestThread thread([](TTestThread&) {});
    thread.Resume();
    thread.WaitFor();
    EXPECT_NO_THROW(thread.Resume());
    EXPECT_THROW(thread.Start(), EThread);
}

TEST_F(ThreadTest, OnTerminateRunsOnTheGuiThreadAfterExecuteAndBeforeWaitForReturns) {
    std::vector<std::string> steps;
    TTestThread thread([&](TTestThread&) { steps.push_back("execute"); });
    thread.OnTerminate = [&](TObject* Sender) {
        steps.push_back(Sender == &thread && IsMainThread() ? "terminate on GUI thread"
                                                            : "terminate elsewhere");
    };
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(steps, (std::vector<std::string>{"execute", "terminate on GUI thread"}));
}

TEST_F(ThreadTest, AnExceptionEscapingExecuteIsKeptForTheOwner) {
    bool seenInOnTerminate = false;
    TTestThread thread([](TTestThread&) { throw EConvertError(u"broken"); });
    thread.OnTerminate = [&](TObject*) { seenInOnTerminate = thread.FatalException() != nullptr; };
    thread.Start();
    EXPECT_NO_THROW(thread.WaitFor());
    EXPECT_TRUE(seenInOnTerminate);
    ASSERT_NE(thread.FatalException(), nullptr);
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"broken");
    } catch (...) {
        ADD_FAILURE() << "the exception lost its class";
    }
}

TEST_F(ThreadTest, AnExceptionOfOnTerminateIsRaisedAgainOnTheGuiThread) {
    TTestThread thread([](TTestThread&) {});
    thread.OnTerminate = [](TObject*) { throw EConvertError(u"handler failed"); };
    thread.Start();
    EXPECT_NO_THROW(thread.WaitFor());
    EXPECT_EQ(thread.FatalException(), nullptr);
    EXPECT_THROW(CheckSynchronize(), EConvertError);
}

TEST_F(ThreadTest, ExecuteSeesTerminate) {
    TEvent wake;
    TTestThread thread([&](TTestThread& self) {
        while (!self.Terminated())
            wake.WaitFor(INFINITE);
    });
    thread.Start();
    thread.Terminate();
    wake.SetEvent();
    thread.WaitFor();
    EXPECT_TRUE(thread.Terminated());
}

TEST_F(ThreadTest, DestroyingARunningThreadWaitsForItWhileRunningGuiCalls) {
    TEvent started, release;
    bool synchronized = false;
    std::atomic<int> destroyed{0};
    auto* thread = new TTestThread(
        [&](TTestThread& self) {
            started.SetEvent();
            release.WaitFor(INFINITE);
            self.Synchronize([&] { synchronized = true; });
        },
        [&] { ++destroyed; });
    thread->Start();
    ASSERT_EQ(started.WaitFor(INFINITE), wrSignaled);
    Queue([&] { release.SetEvent(); });  // runs only inside the destructor's wait
    Free(thread);
    EXPECT_TRUE(synchronized);
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ThreadTest, SelfFreeingThreadsAreFreedAfterTheirOnTerminate) {
    constexpr int Count = 8;
    std::atomic<bool> terminated[Count] = {};
    std::atomic<int> freedAfterOnTerminate{0};
    for (int i = 0; i < Count; ++i) {
        auto* thread = new TTestThread([](TTestThread&) {},
                                       [&, i] {
                                           if (terminated[i]) ++freedAfterOnTerminate;
                                       });
        thread->SetFreeOnTerminate(true);
        thread->OnTerminate = [&, i](TObject*) { terminated[i] = IsMainThread(); };
        thread->Start();
    }
    WaitForSelfFreeingThreads();
    EXPECT_EQ(freedAfterOnTerminate, Count);
}

TEST_F(ThreadTest, AThreadMadeSelfFreeingWhileRunningIsWaitedFor) {
    TEvent release;
    std::atomic<int> destroyed{0};
    auto* thread = new TTestThread([&](TTestThread&) { release.WaitFor(INFINITE); }, [&] { ++destroyed; });
    thread->Start();
    thread->SetFreeOnTerminate(true);
    release.SetEvent();
    WaitForSelfFreeingThreads();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(ThreadTest, WaitForRefusesTheThreadItselfAndSelfFreeingThreads) {
    bool refusedItself = false;
    TTestThread thread([&](TTestThread& self) {
        try {
            self.WaitFor();
        } catch (const EThread&) {
            refusedItself = true;
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(refusedItself);

    TTestThread selfFreeing([](TTestThread&) {});
    selfFreeing.SetFreeOnTerminate(true);
    EXPECT_THROW(selfFreeing.WaitFor(), EThread);
    selfFreeing.SetFreeOnTerminate(false);
}

TEST_F(ThreadTest, PrioritiesLowerTheNiceValueOfTheThread) {
    struct Case {
        TThreadPriority priority;
        int nice;
    } cases[] = {{tpNormal, 0}, {tpLower, 5}, {tpLowest, 10}, {tpIdle, 19}};
    const int ownNice = getpriority(PRIO_PROCESS, 0);
    TTestThread thread([](TTestThread&) {});
    for (const auto& c : cases) {
        thread.SetPriority(c.priority);
        EXPECT_EQ(thread.Priority(), c.priority);
        if (c.nice < ownNice) continue;  // raising needs a privilege
        EXPECT_EQ(getpriority(PRIO_PROCESS, thread.ThreadID()), c.nice) << c.priority;
    }
    thread.SetPriority(tpTimeCritical);  // without the privilege it stays as it was
    EXPECT_EQ(thread.Priority(), tpTimeCritical);
    thread.Start();
    thread.WaitFor();
}

TEST_F(ThreadTest, QueuedCallsOfAFreedThreadNeverRun) {
    bool ran = false;
    auto* thread = new TTestThread([&](TTestThread& self) { self.Queue([&] { ran = true; }); });
    thread->Start();
    std::thread waiter([thread] { thread->WaitFor(); });  // a wait off the GUI thread runs no calls
    waiter.join();
    Free(thread);
    EXPECT_FALSE(CheckSynchronize());
    EXPECT_FALSE(ran);
}

TEST_F(ThreadTest, ThreadIdsAreTheKernelsOwn) {
    EXPECT_EQ(GetCurrentThreadId(), static_cast<Cardinal>(getpid()));
    Cardinal workerId = 0;
    std::thread worker([&] { workerId = GetCurrentThreadId(); });
    worker.join();
    EXPECT_NE(workerId, 0u);
    EXPECT_NE(workerId, GetCurrentThreadId());
}

}  // namespace
