#include "platform/base/syncobjs.h"

#include "platform/base/mainthread.h"

TEvent::TEvent(bool AManualReset, bool AInitialState)
    : FManualReset(AManualReset), FSignaled(AInitialState) {}

void TEvent::SetEvent() {
    std::lock_guard<std::mutex> lock(FLock);
    FSignaled = true;
    FChanged.notify_all();
}

void TEvent::ResetEvent() {
    std::lock_guard<std::mutex> lock(FLock);
    FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal ATimeout) {
    std::unique_lock<std::mutex> lock(FLock);
    // The signal of an auto-reset event is taken under the same lock that saw
    // it, so two waiters never both pass on one SetEvent.
    const bool signaled = WaitForCondition(
        lock, FChanged,
        [this] {
            if (!FSignaled) return false;
            if (!FManualReset) FSignaled = false;
            return true;
        },
        ATimeout);
    return signaled ? wrSignaled : wrTimeout;
}
