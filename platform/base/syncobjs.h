// Locks and events. Waits on the GUI thread keep running the calls other
// threads hand to it (mainthread.h), so a worker blocked in Synchronize never
// deadlocks a GUI thread that waits for it.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/base/classes.h"
#include "platform/base/types.h"

// A timeout that never expires.
inline constexpr Cardinal INFINITE = 0xFFFFFFFF;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// Re-entrant: the owning thread may enter again and leaves as often.
class TCriticalSection : public TObject {
public:
    void Enter() { FLock.lock(); }
    void Leave() { FLock.unlock(); }
    bool TryEnter() { return FLock.try_lock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    std::recursive_mutex FLock;
};

// Holds a critical section for the lifetime of the guard.
class TCriticalSectionGuard {
public:
    explicit TCriticalSectionGuard(TCriticalSection& ASection) : FSection(ASection) { FSection.Enter(); }
    ~TCriticalSectionGuard() { FSection.Leave(); }
    TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
    TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

private:
    TCriticalSection& FSection;
};

// A value one thread sets while others read it: each read is a copy taken
// under the value's own lock, so a handler read out can run unlocked.
template <typename T>
class TGuarded {
public:
    T Get() const {
        std::lock_guard lock(FLock);
        return FValue;
    }
    void Set(T AValue) {
        std::lock_guard lock(FLock);
        FValue = std::move(AValue);
    }

private:
    mutable std::mutex FLock;
    T FValue{};
};

class TEvent : public TObject {
public:
    // A manual-reset event stays signalled until ResetEvent; an auto-reset
    // event releases one wait and resets itself.
    explicit TEvent(bool AManualReset = true, bool AInitialState = false);

    void SetEvent();
    void ResetEvent();
    // Timeouts in milliseconds on the monotonic clock; INFINITE waits for ever.
    TWaitResult WaitFor(Cardinal ATimeout = INFINITE);

private:
    std::mutex FLock;
    std::condition_variable_any FChanged;
    const bool FManualReset;
    bool FSignaled;
};
