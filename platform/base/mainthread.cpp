#include "platform/base/mainthread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <exception>
#include <vector>

#include "platform/base/syncobjs.h"
#include "platform/base/sysutils.h"
#include "platform/base/threads.h"

namespace {

// A blocking call, on the stack of the thread that waits for it.
struct TSyncCall {
    const std::function<void()>* Method;
    std::exception_ptr Error;
    bool Done = false;
    std::mutex Lock;
    std::condition_variable Finished;
};

struct TPendingCall {
    std::function<void()> Method;  // a queued call
    TSyncCall* Sync = nullptr;     // or a blocking one
    const void* Owner = nullptr;
};

struct TDispatcher {
    std::mutex Lock;
    std::deque<TPendingCall> Calls;
    // The conditions GUI-thread waits sleep on, innermost last. Queueing
    // notifies them while holding Lock, and a wait registers and checks for
    // calls under Lock too, so no wake-up falls between check and sleep.
    std::vector<std::condition_variable_any*> Waiters;
    int WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);

    std::mutex HookLock;
    std::function<void()> WakeHook;
    std::function<void()> ProcessMessages;
};

// Never destroyed: detached threads may still queue while the process exits.
TDispatcher& Dispatcher() {
    static TDispatcher* dispatcher = new TDispatcher;
    return *dispatcher;
}

// 0 until SetMainThread: the thread whose id is the process id.
std::atomic<Cardinal> GMainThreadId{0};

// Both under Dispatcher().Lock, so the descriptor is readable exactly while calls are pending.
void SignalWakeFd(TDispatcher& D) {
    const uint64_t one = 1;
    if (D.WakeFd >= 0 && write(D.WakeFd, &one, sizeof one) < 0) {
        // Only a counter overflow fails, and then it is readable anyway.
    }
}

void DrainWakeFd(TDispatcher& D) {
    uint64_t count;
    if (D.WakeFd >= 0 && read(D.WakeFd, &count, sizeof count) < 0) {
        // EAGAIN: nothing was signalled.
    }
}

void Enqueue(TPendingCall ACall) {
    TDispatcher& d = Dispatcher();
    {
        std::lock_guard<std::mutex> lock(d.Lock);
        d.Calls.push_back(std::move(ACall));
        SignalWakeFd(d);
        for (auto* waiter : d.Waiters)
            waiter->notify_all();
    }
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(d.HookLock);
        hook = d.WakeHook;
    }
    if (hook) hook();
}

void RunSyncCall(TSyncCall& ACall) {
    try {
        (*ACall.Method)();
    } catch (...) {
        ACall.Error = std::current_exception();
    }
    // Notify under the lock: the caller may free the record once it sees Done.
    std::lock_guard<std::mutex> lock(ACall.Lock);
    ACall.Done = true;
    ACall.Finished.notify_one();
}

// Runs the calls pending now, one at a time so that nothing is lost when one
// throws. With ADeferred, exceptions of queued calls are kept there (the
// first one) instead of leaving.
bool RunPendingCalls(std::exception_ptr* ADeferred) {
    TDispatcher& d = Dispatcher();
    size_t count;
    {
        std::lock_guard<std::mutex> lock(d.Lock);
        count = d.Calls.size();
    }
    bool ran = false;
    for (size_t i = 0; i < count; ++i) {
        TPendingCall call;
        {
            std::lock_guard<std::mutex> lock(d.Lock);
            if (d.Calls.empty()) break;
            call = std::move(d.Calls.front());
            d.Calls.pop_front();
            if (d.Calls.empty()) DrainWakeFd(d);
        }
        ran = true;
        if (call.Sync) {
            RunSyncCall(*call.Sync);
        } else if (!ADeferred) {
            call.Method();
        } else {
            try {
                call.Method();
            } catch (...) {
                if (!*ADeferred) *ADeferred = std::current_exception();
            }
        }
    }
    return ran;
}

// Locks the caller's mutex, then the dispatcher's: a GUI-thread wait sleeps
// holding neither, and wakes with both.
class TWaitLocks {
public:
    TWaitLocks(std::mutex& AOuter, std::mutex& AInner) : FOuter(AOuter), FInner(AInner) {}
    void lock() {
        FOuter.lock();
        FInner.lock();
    }
    void unlock() {
        FInner.unlock();
        FOuter.unlock();
    }

private:
    std::mutex& FOuter;
    std::mutex& FInner;
};

// Lock order: a waiter's own mutex before the dispatcher's; the dispatcher's
// holder never takes a waiter's mutex.
class TWaiterRegistration {
public:
    explicit TWaiterRegistration(std::condition_variable_any& ACondition) : FCondition(ACondition) {
        TDispatcher& d = Dispatcher();
        std::lock_guard<std::mutex> lock(d.Lock);
        d.Waiters.push_back(&FCondition);
    }
    ~TWaiterRegistration() {
        TDispatcher& d = Dispatcher();
        std::lock_guard<std::mutex> lock(d.Lock);
        d.Waiters.erase(std::find(d.Waiters.begin(), d.Waiters.end(), &FCondition));
    }
    TWaiterRegistration(const TWaiterRegistration&) = delete;
    TWaiterRegistration& operator=(const TWaiterRegistration&) = delete;

private:
    std::condition_variable_any& FCondition;
};

bool WaitOnMainThread(std::unique_lock<std::mutex>& ALock, std::condition_variable_any& ACondition,
                      const std::function<bool()>& APredicate, Cardinal ATimeout,
                      std::exception_ptr& ADeferred) {
    using Clock = std::chrono::steady_clock;
    const bool limited = ATimeout != INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ATimeout);
    TDispatcher& d = Dispatcher();
    TWaiterRegistration registration(ACondition);
    for (;;) {
        if (APredicate()) return true;
        bool pending;
        {
            std::unique_lock<std::mutex> lock(d.Lock);
            pending = !d.Calls.empty();
            if (!pending) {
                if (limited && Clock::now() >= deadline) return false;
                TWaitLocks both(*ALock.mutex(), d.Lock);
                if (limited)
                    ACondition.wait_until(both, deadline);
                else
                    ACondition.wait(both);
            }
        }
        if (pending) {
            ALock.unlock();
            RunPendingCalls(&ADeferred);
            ALock.lock();
        }
    }
}

}  // namespace

bool IsMainThread() {
    static const Cardinal processId = static_cast<Cardinal>(getpid());
    const Cardinal main = GMainThreadId.load(std::memory_order_relaxed);
    return GetCurrentThreadId() == (main ? main : processId);
}

void SetMainThread() {
    GMainThreadId.store(GetCurrentThreadId(), std::memory_order_relaxed);
}

void Synchronize(const std::function<void()>& AMethod) {
    if (!AMethod) return;
    if (IsMainThread()) {
        AMethod();
        return;
    }
    TSyncCall call;
    call.Method = &AMethod;
    Enqueue(TPendingCall{nullptr, &call, nullptr});
    {
        std::unique_lock<std::mutex> lock(call.Lock);
        call.Finished.wait(lock, [&call] { return call.Done; });
    }
    if (call.Error) std::rethrow_exception(call.Error);
}

void Queue(std::function<void()> AMethod, const void* AOwner) {
    if (!AMethod) return;
    Enqueue(TPendingCall{std::move(AMethod), nullptr, AOwner});
}

void RemoveQueuedEvents(const void* AOwner) {
    if (!AOwner) return;
    TDispatcher& d = Dispatcher();
    std::lock_guard<std::mutex> lock(d.Lock);
    std::erase_if(d.Calls, [AOwner](const TPendingCall& c) { return !c.Sync && c.Owner == AOwner; });
    if (d.Calls.empty()) DrainWakeFd(d);
}

bool CheckSynchronize() {
    if (!IsMainThread()) throw EThread(u"CheckSynchronize called from a thread that is not the GUI thread");
    return RunPendingCalls(nullptr);
}

int MainThreadWakeFd() {
    return Dispatcher().WakeFd;
}

void SetWakeMainThreadHook(std::function<void()> AHook) {
    TDispatcher& d = Dispatcher();
    std::lock_guard<std::mutex> lock(d.HookLock);
    d.WakeHook = std::move(AHook);
}

void SetProcessMessagesHook(std::function<void()> AHook) {
    TDispatcher& d = Dispatcher();
    std::lock_guard<std::mutex> lock(d.HookLock);
    d.ProcessMessages = std::move(AHook);
}

void ProcessMessagesHook() {
    std::function<void()> hook;
    {
        TDispatcher& d = Dispatcher();
        std::lock_guard<std::mutex> lock(d.HookLock);
        hook = d.ProcessMessages;
    }
    if (hook) hook();
}

bool WaitForCondition(std::unique_lock<std::mutex>& ALock, std::condition_variable_any& ACondition,
                      const std::function<bool()>& APredicate, Cardinal ATimeout) {
    if (!IsMainThread()) {
        if (ATimeout == INFINITE) {
            ACondition.wait(ALock, APredicate);
            return true;
        }
        return ACondition.wait_until(
            ALock, std::chrono::steady_clock::now() + std::chrono::milliseconds(ATimeout), APredicate);
    }
    std::exception_ptr deferred;
    const bool result = WaitOnMainThread(ALock, ACondition, APredicate, ATimeout, deferred);
    if (deferred) Queue([deferred] { std::rethrow_exception(deferred); });
    return result;
}
