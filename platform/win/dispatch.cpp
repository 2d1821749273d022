// Sending and posting, the queue, the pump and registered messages.
#include <algorithm>

#include "platform/base/clock.h"
#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/base/sysutils.h"
#include "platform/win/messages.h"
#include "platform/win/timers.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

LRESULT Send(Window* W, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    if (!W || W->Destroyed || !W->Proc) return 0;
    const WindowRef hold = Ref(W);
    return W->Proc(W->Handle, AMessage, AWParam, ALParam);
}

bool InRange(UINT AMessage, UINT AMin, UINT AMax) {
    return (AMin == 0 && AMax == 0) || (AMessage >= AMin && AMessage <= AMax);
}

bool TakePosted(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove) {
    PostedQueue& q = Sys().Posted;
    std::lock_guard<std::mutex> lock(q.Lock);
    for (auto it = q.Messages.begin(); it != q.Messages.end(); ++it) {
        if (AFilter && it->hwnd != AFilter) continue;
        if (!InRange(it->message, AMin, AMax)) continue;
        AMsg = *it;
        if (ARemove) q.Messages.erase(it);
        return true;
    }
    return false;
}

namespace {

bool TakeQuit(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove) {
    if (AFilter || !InRange(WM_QUIT, AMin, AMax)) return false;
    PostedQueue& q = Sys().Posted;
    std::lock_guard<std::mutex> lock(q.Lock);
    if (!q.Quit) return false;
    AMsg = MSG{nullptr, WM_QUIT, WPARAM(q.QuitCode), 0, PeekTickCount(), Sys().Cursor, 0};
    if (ARemove) q.Quit = false;
    return true;
}

bool TakePaint(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax) {
    if (!InRange(WM_PAINT, AMin, AMax)) return false;
    Window* w = FindPaintWindow(AFilter);
    if (!w) return false;
    AMsg = MSG{w->Handle, WM_PAINT, 0, 0, PeekTickCount(), Sys().Cursor, 0};
    return true;
}

bool PostTo(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    State& s = Sys();
    const POINT cursor = IsMainThread() ? s.Cursor : POINT{};
    {
        std::lock_guard<std::mutex> lock(s.Posted.Lock);
        s.Posted.Messages.push_back(MSG{AWindow, AMessage, AWParam, ALParam, PeekTickCount(), cursor, 0});
    }
    BackendOf().Wake();
    return true;
}

}  // namespace

bool Peek(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove) {
    FireDueTimers();
    const bool found =
        TakePosted(AMsg, AFilter, AMin, AMax, ARemove) || TakeQuit(AMsg, AFilter, AMin, AMax, ARemove) ||
        TakeInput(AMsg, AFilter, AMin, AMax, ARemove) || TakePaint(AMsg, AFilter, AMin, AMax) ||
        (InRange(WM_TIMER, AMin, AMax) && TakeTimer(AMsg, AFilter, ARemove));
    if (found && ARemove) Sys().LastMessage = AMsg;
    return found;
}

void WaitForWork() {
    if (CheckSynchronize()) return;
    Present();
    BackendOf().Wait(NextTimerDelay());
    CheckSynchronize();
}

}  // namespace winsys

namespace win {

using namespace winsys;

LRESULT SendMessageW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    if (!IsMainThread()) {
        LRESULT result = 0;
        Synchronize([&] { result = SendMessageW(AWindow, AMessage, AWParam, ALParam); });
        return result;
    }
    if (AWindow == HWND_BROADCAST) {
        const std::vector<Window*> tops = TopLevels();
        std::vector<WindowRef> refs;
        for (Window* w : tops)
            refs.push_back(Ref(w));
        for (const WindowRef& w : refs)
            Send(w.get(), AMessage, AWParam, ALParam);
        return 0;
    }
    return Send(Find(AWindow), AMessage, AWParam, ALParam);
}

BOOL PostMessageW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    if (AWindow == HWND_BROADCAST) {
        if (!IsMainThread()) return FALSE;
        for (Window* w : TopLevels())
            PostTo(w->Handle, AMessage, AWParam, ALParam);
        return TRUE;
    }
    if (AWindow && !Find(AWindow)) return FALSE;
    return PostTo(AWindow, AMessage, AWParam, ALParam);
}

void PostQuitMessage(int AExitCode) {
    PostedQueue& q = Sys().Posted;
    {
        std::lock_guard<std::mutex> lock(q.Lock);
        q.Quit = true;
        q.QuitCode = AExitCode;
    }
    BackendOf().Wake();
}

BOOL PeekMessageW(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax, UINT ARemove) {
    if (!AMsg) return FALSE;
    CheckSynchronize();
    return Peek(*AMsg, AWindow, AMin, AMax, (ARemove & PM_REMOVE) != 0);
}

BOOL GetMessageW(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax) {
    if (!AMsg) return FALSE;
    for (;;) {
        CheckSynchronize();
        if (Peek(*AMsg, AWindow, AMin, AMax, true)) return AMsg->message != WM_QUIT;
        WaitForWork();
    }
}

BOOL WaitMessage() {
    MSG msg;
    while (!Peek(msg, nullptr, 0, 0, false))
        WaitForWork();
    return TRUE;
}

BOOL TranslateMessage(const MSG* AMsg) {
    if (!AMsg || (AMsg->message != WM_KEYDOWN && AMsg->message != WM_SYSKEYDOWN)) return FALSE;
    State& s = Sys();
    const auto it = s.KeyText.find(AMsg->lPrivate);
    if (it == s.KeyText.end()) return FALSE;
    const String text = it->second;
    s.KeyText.erase(it);
    const UINT message = AMsg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    for (char16_t c : text)
        PostTo(AMsg->hwnd, message, WPARAM(c), AMsg->lParam);
    return !text.empty();
}

LRESULT DispatchMessageW(const MSG* AMsg) {
    if (!AMsg) return 0;
    if (AMsg->message == WM_TIMER && AMsg->lParam) {
        reinterpret_cast<TIMERPROC>(AMsg->lParam)(AMsg->hwnd, WM_TIMER, AMsg->wParam, AMsg->time);
        return 0;
    }
    Window* w = Find(AMsg->hwnd);
    if (AMsg->message == WM_PAINT && w) {
        SendPaint(*w);
        return 0;
    }
    const LRESULT result = Send(w, AMsg->message, AMsg->wParam, AMsg->lParam);
    if (AMsg->lPrivate) AfterInputDispatched(*AMsg);
    return result;
}

DWORD GetMessagePos() {
    const POINT pt = Sys().LastMessage.pt;
    return MAKELONG(WORD(pt.x), WORD(pt.y));
}

LONG GetMessageTime() {
    return LONG(Sys().LastMessage.time);
}

LRESULT CallWindowProcW(WNDPROC AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return AProc ? AProc(AWindow, AMessage, AWParam, ALParam) : 0;
}

UINT RegisterWindowMessageW(LPCWSTR AName) {
    if (!AName || !*AName) return 0;
    State& s = Sys();
    const String key = LowerCase(AName);
    const auto it = s.RegisteredMessages.find(key);
    if (it != s.RegisteredMessages.end()) return it->second;
    const UINT id = 0xC000 + UINT(s.RegisteredMessages.size());
    if (id > 0xFFFF) return 0;
    s.RegisteredMessages.emplace(key, id);
    return id;
}

bool ProcessPendingMessages() {
    bool quit = false;
    CheckSynchronize();
    MSG msg;
    while (Peek(msg, nullptr, 0, 0, true)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return quit;
}

}  // namespace win
