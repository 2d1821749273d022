// Activation, focus and capture.
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

// Windows that never take activation on their own: tool popups (menus,
// hints, glow and frame layers) and anything disabled or hidden.
bool CanActivate(const Window& W) {
    return IsTopLevel(W) && IsShown(W) && IsEnabledChain(W) &&
           !((W.Style & WS_POPUP) && (W.ExStyle & WS_EX_TOOLWINDOW));
}

// Who takes activation when the active window goes: its owner, else the
// highest window that can.
Window* Successor(Window& AGone) {
    for (Window* o = AGone.Owner; o; o = o->Owner)
        if (CanActivate(*o)) return o;
    for (Window* w : TopLevels())
        if (w != &AGone && !IsAncestor(&AGone, w) && CanActivate(*w)) return w;
    return nullptr;
}

void SetCaptureTo(HWND AWindow) {
    State& s = Sys();
    Window* old = Find(s.Capture);
    s.Capture = AWindow;
    Window* w = Find(AWindow);
    BackendOf().SetCapture(w ? TopLevelOf(w)->Handle : nullptr);
    if (old && old->Handle != AWindow) Send(old, WM_CAPTURECHANGED, 0, LPARAM(AWindow));
}

}  // namespace

void Activate(Window* W, WORD AHow) {
    State& s = Sys();
    Window* top = TopLevelOf(W);
    if (top && top->MessageOnly) return;
    Window* old = Find(s.Active);
    if (old == top) return;
    const WindowRef holdNew = Ref(top), holdOld = Ref(old);
    if (old) {
        Window* capture = Find(s.Capture);
        if (capture && TopLevelOf(capture) == old) Send(capture, WM_CANCELMODE, 0, 0);
        s.Active = nullptr;
        Send(old, WM_NCACTIVATE, FALSE, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->Style & WS_MINIMIZE) ? 1 : 0),
             LPARAM(top ? top->Handle : nullptr));
        Window* focus = Find(s.Focus);
        if (focus && TopLevelOf(focus) == old) SetFocusTo(nullptr);
    }
    if (!top || top->Destroyed || s.Active) {
        if (!s.Active) BackendOf().SetActive(nullptr);
        return;
    }
    s.Active = top->Handle;
    if (TopLevels().front() != top) {
        Restack(*top, HWND_TOP, true);
        SyncStacking();
    }
    BackendOf().SetActive(top->Handle);
    Send(top, WM_NCACTIVATE, TRUE, 0);
    Send(top, WM_ACTIVATE, MAKEWPARAM(AHow, (top->Style & WS_MINIMIZE) ? 1 : 0),
         LPARAM(old && !old->Destroyed ? old->Handle : nullptr));
}

Window* EnabledPopupOf(Window& W) {
    for (Window* w : TopLevels()) {
        if (w == &W || !CanActivate(*w)) continue;
        for (Window* o = w->Owner; o; o = o->Owner)
            if (o == &W) return w;
    }
    return nullptr;
}

void SetFocusTo(Window* W) {
    State& s = Sys();
    const WindowRef hold = Ref(W);
    if (W) {
        Window* top = TopLevelOf(W);
        if (!top->MessageOnly && s.Active != top->Handle) Activate(top, WA_ACTIVE);
        if (W->Destroyed) return;
    }
    Window* old = Find(s.Focus);
    if (old == W) return;
    const WindowRef holdOld = Ref(old);
    s.Focus = W ? W->Handle : nullptr;
    if (old) Send(old, WM_KILLFOCUS, WPARAM(s.Focus), 0);
    if (W && !W->Destroyed && s.Focus == W->Handle)
        Send(W, WM_SETFOCUS, WPARAM(old ? old->Handle : nullptr), 0);
}

void WindowHidden(Window& W) {
    Window* active = Find(Sys().Active);
    if (active && IsAncestor(active, &W) && !IsShown(*active)) Activate(Successor(*active), WA_ACTIVE);
}

void WindowGone(Window& W) {
    State& s = Sys();
    Window* focus = Find(s.Focus);
    if (focus && IsAncestor(&W, focus)) s.Focus = nullptr;
    Window* capture = Find(s.Capture);
    if (capture && IsAncestor(&W, capture)) {
        s.Capture = nullptr;
        BackendOf().SetCapture(nullptr);
    }
    Window* mouse = Find(s.MouseWindow);
    if (mouse && IsAncestor(&W, mouse)) s.MouseWindow = nullptr;
    if (s.LastClick.Window == W.Handle) s.LastClick = ClickRecord{};
    if (s.Active == W.Handle) {
        s.Active = nullptr;
        Window* next = Successor(W);
        if (next) Activate(next, WA_ACTIVE);
    }
}

}  // namespace winsys

namespace win {

using namespace winsys;

HWND SetCapture(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w) return nullptr;
    const HWND old = Sys().Capture;
    SetCaptureTo(AWindow);
    return old;
}

BOOL ReleaseCapture() {
    SetCaptureTo(nullptr);
    return TRUE;
}

HWND GetCapture() {
    return Find(Sys().Capture) ? Sys().Capture : nullptr;
}

HWND SetFocus(HWND AWindow) {
    const HWND old = GetFocus();
    Window* w = Find(AWindow);
    if (AWindow && (!w || !IsEnabledChain(*w))) return nullptr;
    SetFocusTo(w);
    return old;
}

HWND GetFocus() {
    return Find(Sys().Focus) ? Sys().Focus : nullptr;
}

HWND SetActiveWindow(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w || !IsTopLevel(*w)) return nullptr;
    const HWND old = GetActiveWindow();
    Activate(w, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    return Find(Sys().Active) ? Sys().Active : nullptr;
}

BOOL SetForegroundWindow(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w || w->MessageOnly) return FALSE;
    Activate(TopLevelOf(w), WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}

}  // namespace win
