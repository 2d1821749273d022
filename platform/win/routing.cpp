// Input routing: raw events become window messages when they are taken from
// the queue, with hit testing, cursor, activation, parent notification and
// double clicks on the way.
#include <algorithm>
#include <cstdlib>

#include "platform/base/clock.h"
#include "platform/gdi/capabilities.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

bool Contains(const Window& W, POINT APoint) {
    const RECT r = ScreenRect(W);
    if (APoint.x < r.left || APoint.x >= r.right || APoint.y < r.top || APoint.y >= r.bottom) return false;
    const int x = APoint.x - r.left, y = APoint.y - r.top;
    if (W.HasRegion && !W.Region.Contains(x, y)) return false;
    // A per-pixel layered window lets the mouse through where it is clear.
    if (W.HasUpload)
        return x < W.UploadSize.cx && y < W.UploadSize.cy &&
               (W.Upload[size_t(y) * size_t(W.UploadSize.cx) + size_t(x)] & gdi::AlphaMask) != 0;
    return true;
}

bool InClient(const Window& W, POINT APoint) {
    const POINT origin = ClientOrigin(W);
    return APoint.x >= origin.x && APoint.y >= origin.y &&
           APoint.x < origin.x + (W.Client.right - W.Client.left) &&
           APoint.y < origin.y + (W.Client.bottom - W.Client.top);
}

bool Hittable(const Window& W, POINT APoint) {
    return (W.Style & WS_VISIBLE) && !(W.ExStyle & WS_EX_TRANSPARENT) && Contains(W, APoint);
}

// Windows under the point front to back: a child's subtree before the
// child, the child before the siblings below it, all of them before the
// parent. Disabled children are passed over (their parent takes the mouse),
// and nothing inside a disabled window takes it.
void Collect(Window& W, POINT APoint, std::vector<Window*>& AOut) {
    if (InClient(W, APoint) && !(W.Style & WS_DISABLED))
        for (Window* c : W.Children)
            if (Hittable(*c, APoint) && !(c->Style & WS_DISABLED)) Collect(*c, APoint, AOut);
    AOut.push_back(&W);
}

// At the pointer, where the display says which top-level window it is in,
// only that one is looked into: the user sees it there, whatever the
// layer's order says.
std::vector<Window*> Candidates(POINT APoint) {
    const State& s = Sys();
    const bool byWindow = s.PointerByWindow && APoint.x == s.Cursor.x && APoint.y == s.Cursor.y;
    std::vector<Window*> result;
    for (Window* top : TopLevels())
        if ((!byWindow || top->Handle == s.PointerTop) && IsShown(*top) && Hittable(*top, APoint))
            Collect(*top, APoint, result);
    return result;
}

WPARAM MouseKeyFlags() {
    const std::array<BYTE, 256>& keys = Sys().Keys;
    WPARAM flags = 0;
    if (keys[VK_LBUTTON] & 0x80) flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
    return flags;
}

Window* WindowAt(POINT APoint) {
    const std::vector<Window*> candidates = Candidates(APoint);
    return candidates.empty() ? nullptr : candidates.front();
}

// The window under the point and its hit-test code, asked with WM_NCHITTEST.
Window* HitTest(POINT APoint, int& AHitCode) {
    std::vector<WindowRef> candidates;
    for (Window* w : Candidates(APoint))
        candidates.push_back(Ref(w));
    for (const WindowRef& w : candidates) {
        if (w->Destroyed) continue;
        if (IsTopLevel(*w) && (w->Style & WS_DISABLED)) {
            AHitCode = HTERROR;
            return w.get();
        }
        const LRESULT code = Send(w.get(), WM_NCHITTEST, 0, PointToLParam(APoint));
        if (w->Destroyed) return nullptr;
        if (code != HTTRANSPARENT) {
            AHitCode = int(code);
            return w.get();
        }
    }
    return nullptr;
}

UINT ButtonMessage(const TInputEvent& E, bool AClient, bool ADouble) {
    const UINT base = E.Button == VK_RBUTTON ? 3 : E.Button == VK_MBUTTON ? 6 : 0;
    const UINT offset = base + (E.Kind == TInputEvent::ieButtonUp ? 1 : ADouble ? 2 : 0);
    return (AClient ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN) + offset;
}

void Push(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam, DWORD AId) {
    State& s = Sys();
    s.Routed.push_back(MSG{AWindow, AMessage, AWParam, ALParam, PeekTickCount(), s.Cursor, AId});
}

void NotifyPress(Window& W, UINT AClientDown, POINT AScreen) {
    std::vector<WindowRef> chain;
    for (Window* w = &W; w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY); w = w->Parent)
        chain.push_back(Ref(w->Parent));
    for (const WindowRef& p : chain) {
        const POINT origin = ClientOrigin(*p);
        Send(p.get(), WM_PARENTNOTIFY, MAKEWPARAM(WORD(AClientDown), 0),
             PointToLParam(POINT{AScreen.x - origin.x, AScreen.y - origin.y}));
    }
}

bool IsDoubleClick(Window& W, const TInputEvent& E, int AHitCode, UINT ADown) {
    State& s = Sys();
    const ClickRecord& last = s.LastClick;
    const Cardinal now = PeekTickCount();
    const bool wanted = AHitCode != HTCLIENT || (W.Class->Style & CS_DBLCLKS);
    const bool again = last.Window == W.Handle && last.Message == ADown && last.HitCode == AHitCode &&
                       now - last.Time <= Capabilities().DoubleClickTime &&
                       std::abs(E.Point.x - last.Point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                       std::abs(E.Point.y - last.Point.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (wanted && again) {
        s.LastClick = ClickRecord{};
        return true;
    }
    s.LastClick = ClickRecord{W.Handle, ADown, AHitCode, now, E.Point};
    return false;
}

void RouteMouse(const TInputEvent& E, DWORD AId) {
    State& s = Sys();
    s.Cursor = E.Point;
    s.PointerByWindow = E.ByWindow;
    s.PointerTop = E.Window;
    UpdateKeyState(E, s.Keys);
    if (E.Kind == TInputEvent::ieButtonDown) s.LoneAlt = false;
    if (E.Kind == TInputEvent::ieWheel) {
        Window* target = Find(s.Focus);
        if (!target) target = Find(s.Active);
        // With none of ours active the wheel still scrolls what it is over.
        if (!target) target = WindowAt(E.Point);
        if (target && !IsEnabledChain(*target)) target = nullptr;
        if (target)
            Push(target->Handle, WM_MOUSEWHEEL, MAKEWPARAM(WORD(MouseKeyFlags()), WORD(SHORT(E.WheelDelta))),
                 PointToLParam(E.Point), AId);
        return;
    }
    Window* capture = Find(s.Capture);
    int hit = HTCLIENT;
    Window* found = capture ? capture : HitTest(E.Point, hit);
    if (!found) {
        // Off every window: no message, but the mouse still left.
        AfterInputDispatched(MSG{});
        return;
    }
    const WindowRef target = Ref(found);
    const bool client = hit == HTCLIENT;
    const bool press = E.Kind == TInputEvent::ieButtonDown;
    UINT message = E.Kind == TInputEvent::ieMouseMove ? (client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE)
                                                      : ButtonMessage(E, client, false);
    if (!capture) {
        Send(target.get(), WM_SETCURSOR, WPARAM(target->Handle), MAKELPARAM(WORD(hit), WORD(message)));
        if (target->Destroyed) return;
    }
    if (hit == HTERROR) {
        // A press on a window a modal dialog disables brings that dialog up.
        Window* top = TopLevelOf(target.get());
        if (press && !capture && (top->Style & WS_DISABLED))
            if (Window* popup = EnabledPopupOf(*top)) Activate(popup, WA_CLICKACTIVE);
        return;
    }
    bool eat = false;
    if (press) {
        Window* top = TopLevelOf(target.get());
        // As Windows does: every press on a window that is not itself the
        // active one asks it, a child of the active form included, so a
        // child can refuse the activation or a form learn of the click.
        if (!capture && s.Active != target->Handle) {
            const LRESULT answer = Send(target.get(), WM_MOUSEACTIVATE, WPARAM(top->Handle),
                                        MAKELPARAM(WORD(hit), WORD(message)));
            if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT) Activate(top, WA_CLICKACTIVE);
            eat = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
            if (target->Destroyed) return;
        }
        NotifyPress(*target, ButtonMessage(E, true, false), E.Point);
        if (target->Destroyed) return;
        if (IsDoubleClick(*target, E, hit, message)) message = ButtonMessage(E, client, true);
    }
    if (eat) return;
    const POINT origin = ClientOrigin(*target);
    if (client)
        Push(target->Handle, message, MouseKeyFlags(),
             PointToLParam(POINT{E.Point.x - origin.x, E.Point.y - origin.y}), AId);
    else
        Push(target->Handle, message, WPARAM(hit), PointToLParam(E.Point), AId);
}

void RouteKey(const TInputEvent& E, DWORD AId) {
    State& s = Sys();
    const bool down = E.Kind == TInputEvent::ieKeyDown;
    const bool wasDown = (s.Keys[E.Key] & 0x80) != 0;
    const bool altBefore = (s.Keys[VK_MENU] & 0x80) != 0;
    UpdateKeyState(E, s.Keys);
    const bool alt = altBefore || (s.Keys[VK_MENU] & 0x80);
    if (E.Key == VK_MENU) {
        if (down && !wasDown) s.LoneAlt = true;
        if (!down) {
            s.LoneAltReleased = s.LoneAlt;
            s.LoneAlt = false;
        }
    } else if (down) {
        s.LoneAlt = false;
    }
    Window* target = Find(s.Focus);
    bool sys = alt || E.Key == VK_F10;
    if (!target) {
        target = Find(s.Active);
        sys = true;
    }
    if (!target) return;
    const UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM data = 1;
    if (alt) data |= LPARAM(1) << 29;
    if (wasDown) data |= LPARAM(1) << 30;
    if (!down) data |= LPARAM(1) << 31;
    data = LPARAM(int32_t(uint32_t(data)));
    if (down && !E.Text.empty()) {
        if (s.KeyText.size() > 64) s.KeyText.erase(s.KeyText.begin());
        s.KeyText[AId] = E.Text;
    }
    Push(target->Handle, message, E.Key, data, AId);
}

void Route(const TInputEvent& E) {
    State& s = Sys();
    const DWORD id = s.NextInputId++;
    if (s.NextInputId == 0) s.NextInputId = 1;
    switch (E.Kind) {
        case TInputEvent::ieKeyDown:
        case TInputEvent::ieKeyUp:
            RouteKey(E, id);
            break;
        case TInputEvent::ieText:
            if (Window* target = Find(s.Focus))
                for (char16_t c : E.Text)
                    Push(target->Handle, WM_CHAR, WPARAM(c), 1, id);
            break;
        default:
            RouteMouse(E, id);
            break;
    }
}

bool TakeRouted(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove) {
    std::deque<MSG>& routed = Sys().Routed;
    for (auto it = routed.begin(); it != routed.end(); ++it) {
        if ((AFilter && it->hwnd != AFilter) || !InRange(it->message, AMin, AMax)) continue;
        AMsg = *it;
        if (ARemove) routed.erase(it);
        return true;
    }
    return false;
}

}  // namespace

void UpdateKeyState(const TInputEvent& AEvent, std::array<BYTE, 256>& AKeys) {
    BYTE key = 0;
    bool down = false;
    switch (AEvent.Kind) {
        case TInputEvent::ieButtonDown:
        case TInputEvent::ieButtonUp:
            key = AEvent.Button;
            down = AEvent.Kind == TInputEvent::ieButtonDown;
            break;
        case TInputEvent::ieKeyDown:
        case TInputEvent::ieKeyUp:
            key = AEvent.Key;
            down = AEvent.Kind == TInputEvent::ieKeyDown;
            break;
        default:
            return;
    }
    if (down && !(AKeys[key] & 0x80)) AKeys[key] ^= 0x01;
    AKeys[key] = BYTE((AKeys[key] & 0x01) | (down ? 0x80 : 0));
}

bool TakeInput(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove) {
    State& s = Sys();
    if (TakeRouted(AMsg, AFilter, AMin, AMax, ARemove)) return true;
    while (!AFilter && !s.Routing && !s.Input.empty()) {
        const TInputEvent event = s.Input.front();
        s.Input.pop_front();
        s.Routing = true;
        try {
            Route(event);
        } catch (...) {
            s.Routing = false;
            throw;
        }
        s.Routing = false;
        if (TakeRouted(AMsg, AFilter, AMin, AMax, ARemove)) return true;
    }
    return false;
}

void AfterInputDispatched(const MSG&) {
    State& s = Sys();
    Window* w = Find(s.Capture);
    if (!w) w = WindowAt(s.Cursor);
    s.MouseWindow = w ? w->Handle : nullptr;
    const TMouseTrackHook hook = s.TrackHook;
    if (hook) hook(s.MouseWindow, s.Cursor);
}

}  // namespace winsys

namespace win {

using namespace winsys;

void QueueInput(const TInputEvent& AEvent) {
    State& s = Sys();
    UpdateKeyState(AEvent, s.AsyncKeys);
    s.Input.push_back(AEvent);
}

HWND WindowFromPoint(POINT APoint) {
    Window* w = WindowAt(APoint);
    return w ? w->Handle : nullptr;
}

void ReportCursorPos(POINT APoint) {
    State& s = Sys();
    s.Cursor = APoint;
    s.PointerByWindow = true;
    s.PointerTop = nullptr;
}

BOOL GetCursorPos(POINT* APoint) {
    if (!APoint) return FALSE;
    *APoint = Sys().Cursor;
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR AName) {
    const uintptr_t id = reinterpret_cast<uintptr_t>(AName);
    const bool stock = (id >= 32512 && id <= 32516) || (id >= 32642 && id <= 32651 && id != 32647);
    return stock ? reinterpret_cast<HCURSOR>(id) : nullptr;
}

HCURSOR SetCursor(HCURSOR ACursor) {
    State& s = Sys();
    const HCURSOR old = s.CursorShape;
    if (ACursor != old) {
        s.CursorShape = ACursor;
        BackendOf().SetCursor(ACursor);
    }
    return old;
}

HCURSOR GetCursor() {
    return Sys().CursorShape;
}

SHORT GetKeyState(int AKey) {
    if (AKey < 0 || AKey > 255) return 0;
    const BYTE state = Sys().Keys[size_t(AKey)];
    return SHORT(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int AKey) {
    if (AKey < 0 || AKey > 255) return 0;
    return (Sys().AsyncKeys[size_t(AKey)] & 0x80) ? SHORT(0x8000) : SHORT(0);
}

UINT GetDoubleClickTime() {
    return Capabilities().DoubleClickTime;
}

void SetMouseTrackHook(TMouseTrackHook AHook) {
    Sys().TrackHook = std::move(AHook);
}

}  // namespace win
