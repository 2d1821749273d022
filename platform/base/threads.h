// Worker threads in the toolkit's shape. Linux cannot suspend a running
// thread: pausing is cooperative in the callers, and a thread is only ever
// suspended before it starts.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/base/classes.h"
#include "platform/base/types.h"

// The kernel's id of the calling thread (gettid).
Cardinal GetCurrentThreadId();

// Mapped to the nice value of the thread: 19, 10, 5, 0, -5, -10, -15.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    // The system thread exists from here on (ThreadID, Handle and Priority
    // work), but Execute runs only after Start: C++ cannot call a derived
    // Execute before the derived constructor has finished, so a thread meant
    // to run at once is started by its most derived constructor.
    explicit TThread(bool ACreateSuspended);
    // A running thread is terminated and waited for. Free it with Free():
    // by the time this destructor runs the derived parts Execute uses are gone.
    ~TThread() override;
    void BeforeDestruction() override;

    // Lets Execute run; EThread when it was started before.
    void Start();
    // Starts a thread that has not started; nothing otherwise.
    void Resume();
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Blocks until the thread has finished (OnTerminate included) and returns
    // ReturnValue. On the GUI thread pending main-thread calls run meanwhile.
    // EThread for the thread itself and for a self-freeing thread, which may
    // be gone by the time the wait ends.
    Cardinal WaitFor();
    bool Finished() const { return FFinished; }
    bool Suspended() const { return FSuspended; }

    // Freed by its own thread after OnTerminate has run; the value counts
    // when Execute returns.
    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool AValue);
    TThreadPriority Priority() const { return FPriority; }
    // Best effort: raising the priority needs privileges and silently fails without them.
    void SetPriority(TThreadPriority AValue);

    Cardinal ThreadID() const { return FThreadID; }
    std::thread::native_handle_type Handle() const { return FHandle; }
    Integer ReturnValue() const { return FReturnValue; }
    // What escaped Execute, nil when nothing did. What escapes OnTerminate is
    // raised again on the GUI thread by the next CheckSynchronize.
    std::exception_ptr FatalException() const;

    // Raised on the GUI thread after Execute has returned.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    // Raises OnTerminate through Synchronize.
    virtual void DoTerminate();
    void Synchronize(const std::function<void()>& AMethod);
    // Queued calls that have not run when the thread object is freed are dropped.
    void Queue(std::function<void()> AMethod);
    void SetReturnValue(Integer AValue) { FReturnValue = AValue; }

private:
    enum TGate { gsClosed, gsRun, gsCancel };

    void Run();
    // Terminates, releases a thread that never started and waits for the end.
    void Shutdown();
    bool OnOwnThread() const { return std::this_thread::get_id() == FThread.get_id(); }

    mutable std::mutex FLock;
    std::condition_variable_any FChanged;
    TGate FGate = gsClosed;
    std::exception_ptr FFatalException;

    std::thread FThread;
    std::thread::native_handle_type FHandle{};
    std::atomic<Cardinal> FThreadID{0};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FSuspended;
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<Integer> FReturnValue{0};

    // Guarded by the registry of self-freeing threads (threads.cpp).
    bool FFreeOnTerminate = false;
    bool FStarted = false;
    bool FEndDecided = false;
    bool FCounted = false;
};

// Blocks until every self-freeing thread that has started has ended and been
// freed; on the GUI thread pending main-thread calls run meanwhile. For the
// end of the process and of tests.
void WaitForSelfFreeingThreads();
