#include "platform/base/threads.h"

#include <sys/resource.h>
#include <unistd.h>

#include <system_error>

#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/base/sysutils.h"

namespace {

constexpr int NiceValues[] = {19, 10, 5, 0, -5, -10, -15};

// Self-freeing threads that have started and not yet been freed, so that the
// end of the process (or of a test) can wait for them.
struct TSelfFreeingThreads {
    std::mutex Lock;
    std::condition_variable_any Changed;
    int Count = 0;
};

// Never destroyed: a detached thread may finish while the process exits.
TSelfFreeingThreads& SelfFreeing() {
    static TSelfFreeingThreads* threads = new TSelfFreeingThreads;
    return *threads;
}

}  // namespace

Cardinal GetCurrentThreadId() {
    thread_local const Cardinal id = static_cast<Cardinal>(gettid());
    return id;
}

TThread::TThread(bool ACreateSuspended) : FSuspended(ACreateSuspended) {
    try {
        FThread = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        throw EThread(u"Thread creation error: %s", {AnsiString(e.what())});
    }
    FHandle = FThread.native_handle();
    std::unique_lock<std::mutex> lock(FLock);
    FChanged.wait(lock, [this] { return FThreadID != 0; });
}

TThread::~TThread() {
    // Before the wait too: the wait runs pending calls, and the derived parts
    // such calls use are already gone.
    RemoveQueuedEvents(this);
    Shutdown();
    RemoveQueuedEvents(this);
}

void TThread::BeforeDestruction() {
    Shutdown();
    TObject::BeforeDestruction();
}

void TThread::Shutdown() {
    if (!FThread.joinable()) return;
    if (OnOwnThread()) {  // freeing itself
        FThread.detach();
        return;
    }
    Terminate();
    std::unique_lock<std::mutex> lock(FLock);
    if (FGate == gsClosed) {
        FGate = gsCancel;
        FChanged.notify_all();
    }
    WaitForCondition(
        lock, FChanged, [this] { return FFinished.load(); }, INFINITE);
    lock.unlock();
    FThread.join();
}

void TThread::Run() {
    TGate gate;
    {
        std::unique_lock<std::mutex> lock(FLock);
        FThreadID = GetCurrentThreadId();
        FChanged.notify_all();
        FChanged.wait(lock, [this] { return FGate != gsClosed; });
        gate = FGate;
    }
    bool freeSelf = false;
    if (gate == gsRun) {
        std::exception_ptr fatal;
        try {
            Execute();
        } catch (...) {
            fatal = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(FLock);
            FFatalException = fatal;
        }
        {
            TSelfFreeingThreads& registry = SelfFreeing();
            std::lock_guard<std::mutex> lock(registry.Lock);
            FEndDecided = true;
            freeSelf = FFreeOnTerminate;
        }
        try {
            DoTerminate();
        } catch (...) {
            // OnTerminate is GUI code: its failure goes to the GUI thread's
            // handling, as if it had been raised there.
            ::Queue([error = std::current_exception()] { std::rethrow_exception(error); });
        }
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FFinished = true;
        FChanged.notify_all();
    }
    if (freeSelf) {
        Free(this);
        TSelfFreeingThreads& registry = SelfFreeing();
        std::lock_guard<std::mutex> lock(registry.Lock);
        --registry.Count;
        registry.Changed.notify_all();
    }
}

void TThread::Start() {
    {
        TSelfFreeingThreads& registry = SelfFreeing();
        std::lock_guard<std::mutex> lock(registry.Lock);
        if (FStarted) throw EThread(u"Cannot call Start on a running or finished thread");
        FStarted = true;
        if (FFreeOnTerminate) {
            FCounted = true;
            ++registry.Count;
        }
    }
    // A self-freeing thread may be gone as soon as the lock is released.
    std::lock_guard<std::mutex> lock(FLock);
    FSuspended = false;
    FGate = gsRun;
    FChanged.notify_all();
}

void TThread::Resume() {
    bool started;
    {
        TSelfFreeingThreads& registry = SelfFreeing();
        std::lock_guard<std::mutex> lock(registry.Lock);
        started = FStarted;
    }
    if (!started) Start();
}

Cardinal TThread::WaitFor() {
    if (OnOwnThread()) throw EThread(u"A thread cannot wait for itself");
    if (FreeOnTerminate()) throw EThread(u"Cannot wait for a thread that frees itself");
    std::unique_lock<std::mutex> lock(FLock);
    WaitForCondition(
        lock, FChanged, [this] { return FFinished.load(); }, INFINITE);
    return static_cast<Cardinal>(FReturnValue.load());
}

bool TThread::FreeOnTerminate() const {
    TSelfFreeingThreads& registry = SelfFreeing();
    std::lock_guard<std::mutex> lock(registry.Lock);
    return FFreeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool AValue) {
    TSelfFreeingThreads& registry = SelfFreeing();
    std::lock_guard<std::mutex> lock(registry.Lock);
    FFreeOnTerminate = AValue;
    if (!FStarted || FEndDecided || AValue == FCounted) return;
    FCounted = AValue;
    registry.Count += AValue ? 1 : -1;
    registry.Changed.notify_all();
}

void TThread::SetPriority(TThreadPriority AValue) {
    FPriority = AValue;
    // The id of an ended thread may already name another task.
    std::lock_guard<std::mutex> lock(FLock);
    if (FFinished) return;
    // Fails without the privilege to raise the priority: best effort by design.
    setpriority(PRIO_PROCESS, static_cast<id_t>(FThreadID.load()), NiceValues[AValue]);
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FFatalException;
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(const std::function<void()>& AMethod) {
    ::Synchronize(AMethod);
}

void TThread::Queue(std::function<void()> AMethod) {
    ::Queue(std::move(AMethod), this);
}

void WaitForSelfFreeingThreads() {
    TSelfFreeingThreads& registry = SelfFreeing();
    std::unique_lock<std::mutex> lock(registry.Lock);
    WaitForCondition(
        lock, registry.Changed, [&registry] { return registry.Count == 0; }, INFINITE);
}
