// Window timers on the injectable clock.
#include "platform/win/timers.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/base/syncobjs.h"
#include "platform/win/messages.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

// Due when the unsigned distance from now has wrapped below zero.
bool IsDue(Cardinal ADue, Cardinal ANow) {
    return int32_t(ADue - ANow) <= 0;
}

void Fire(Timer& ATimer, Cardinal AAt) {
    ATimer.Fired = true;
    ATimer.Due = AAt + ATimer.Interval;
}

}  // namespace

void KillTimers(HWND AWindow) {
    std::erase_if(Sys().Timers, [AWindow](const Timer& t) { return t.Window == AWindow; });
}

bool TakeTimer(MSG& AMsg, HWND AFilter, bool ARemove) {
    for (Timer& t : Sys().Timers) {
        if (!t.Fired || (AFilter && t.Window != AFilter)) continue;
        AMsg = MSG{t.Window,        WM_TIMER,     t.Id, LPARAM(reinterpret_cast<intptr_t>(t.Proc)),
                   PeekTickCount(), Sys().Cursor, 0};
        if (ARemove) t.Fired = false;
        return true;
    }
    return false;
}

Cardinal NextTimerDelay() {
    State& s = Sys();
    if (s.Timers.empty() || TestClockActive()) return INFINITE;
    const Cardinal now = PeekTickCount();
    Cardinal delay = INFINITE;
    for (const Timer& t : s.Timers) {
        if (t.Fired) return 0;
        delay = std::min(delay, IsDue(t.Due, now) ? 0 : t.Due - now);
    }
    return delay;
}

void FireDueTimers() {
    if (TestClockActive()) return;
    const Cardinal now = PeekTickCount();
    for (Timer& t : Sys().Timers)
        if (IsDue(t.Due, now)) Fire(t, now);
}

bool FireNextTimer(Cardinal ATarget) {
    State& s = Sys();
    Timer* next = nullptr;
    for (Timer& t : s.Timers)
        if (IsDue(t.Due, ATarget) && (!next || int32_t(t.Due - next->Due) < 0)) next = &t;
    if (!next) return false;
    const Cardinal now = PeekTickCount();
    const Cardinal at = IsDue(next->Due, now) ? now : next->Due;
    if (at != now) AdvanceClock(at - now);
    // Every timer due at that moment fires with it, in the order they were set.
    for (Timer& t : s.Timers)
        if (IsDue(t.Due, at)) Fire(t, at);
    return true;
}

}  // namespace winsys

namespace win {

using namespace winsys;

ULONG_PTR SetTimer(HWND AWindow, ULONG_PTR AId, UINT AElapse, TIMERPROC AProc) {
    if (!Find(AWindow) || AId == 0) return 0;
    const UINT interval = std::max(AElapse, USER_TIMER_MINIMUM);
    const Cardinal due = PeekTickCount() + interval;
    std::vector<Timer>& timers = Sys().Timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [&](const Timer& t) { return t.Window == AWindow && t.Id == AId; });
    if (it != timers.end()) {
        it->Interval = interval;
        it->Due = due;
        it->Proc = AProc;
        it->Fired = false;
    } else {
        timers.push_back(Timer{AWindow, AId, interval, due, false, AProc});
    }
    return AId;
}

BOOL KillTimer(HWND AWindow, ULONG_PTR AId) {
    std::vector<Timer>& timers = Sys().Timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [&](const Timer& t) { return t.Window == AWindow && t.Id == AId; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

}  // namespace win
