// The modal move and size loop that the default handling of a press on a
// caption or a sizing edge runs. It reads the raw input queue itself, keeps
// the other messages flowing between steps, and has ended (capture released,
// WM_EXITSIZEMOVE sent) when the press's dispatch returns.
#include <algorithm>

#include "platform/base/mainthread.h"
#include "platform/gdi/capabilities.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

// Everything but input, as the loop's own pump.
void DispatchOthers() {
    CheckSynchronize();
    MSG msg;
    for (;;) {
        if (TakePosted(msg, nullptr, 0, 0, true)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else if (Window* w = FindPaintWindow(nullptr)) {
            SendPaint(*w);
        } else {
            FireDueTimers();
            if (!TakeTimer(msg, nullptr, true)) return;
            DispatchMessageW(&msg);
        }
    }
}

bool QuitPending() {
    PostedQueue& q = Sys().Posted;
    std::lock_guard<std::mutex> lock(q.Lock);
    return q.Quit;
}

// The dragged rectangle for a size step: the edges the code names follow
// the mouse, within the tracking limits.
RECT Sized(const RECT& AStart, WPARAM AEdge, int ADx, int ADy, const MINMAXINFO& ALimits) {
    RECT r = AStart;
    const bool left = AEdge == WMSZ_LEFT || AEdge == WMSZ_TOPLEFT || AEdge == WMSZ_BOTTOMLEFT;
    const bool right = AEdge == WMSZ_RIGHT || AEdge == WMSZ_TOPRIGHT || AEdge == WMSZ_BOTTOMRIGHT;
    const bool top = AEdge == WMSZ_TOP || AEdge == WMSZ_TOPLEFT || AEdge == WMSZ_TOPRIGHT;
    const bool bottom = AEdge == WMSZ_BOTTOM || AEdge == WMSZ_BOTTOMLEFT || AEdge == WMSZ_BOTTOMRIGHT;
    if (left) r.left += ADx;
    if (right) r.right += ADx;
    if (top) r.top += ADy;
    if (bottom) r.bottom += ADy;
    const int width = std::clamp(int(r.right - r.left), int(ALimits.ptMinTrackSize.x),
                                 std::max(ALimits.ptMinTrackSize.x, ALimits.ptMaxTrackSize.x));
    const int height = std::clamp(int(r.bottom - r.top), int(ALimits.ptMinTrackSize.y),
                                  std::max(ALimits.ptMinTrackSize.y, ALimits.ptMaxTrackSize.y));
    if (left)
        r.left = r.right - width;
    else
        r.right = r.left + width;
    if (top)
        r.top = r.bottom - height;
    else
        r.bottom = r.top + height;
    return r;
}

void Place(Window* W, const RECT& AScreen, bool AMoveOnly) {
    POINT at{AScreen.left, AScreen.top};
    if (W->Parent) {
        const POINT origin = ClientOrigin(*W->Parent);
        at = POINT{at.x - origin.x, at.y - origin.y};
    }
    SetPos(W, nullptr, at.x, at.y, AScreen.right - AScreen.left, AScreen.bottom - AScreen.top,
           SWP_NOZORDER | SWP_NOACTIVATE | (AMoveOnly ? SWP_NOSIZE : 0));
}

}  // namespace

void RunSizeMove(Window* W, WPARAM ACommand, POINT AStart) {
    State& s = Sys();
    if (!W || s.SizeMoveDepth > 0) return;
    const WindowRef hold = Ref(W);
    // Whatever a handler throws, the loop leaves no depth behind.
    struct Depth {
        int& Value;
        explicit Depth(int& AValue) : Value(++AValue) {}
        ~Depth() { --Value; }
    } depth(s.SizeMoveDepth);
    const bool sizing = (ACommand & 0xFFF0) == SC_SIZE;
    const WPARAM edge = ACommand & 0x000F;
    SetCapture(W->Handle);
    Send(W, WM_ENTERSIZEMOVE, 0, 0);
    const MINMAXINFO limits = sizing && !W->Destroyed ? MinMaxInfo(W) : MINMAXINFO{};
    const RECT start = ScreenRect(*W);
    const bool full = Capabilities().DragFullWindows;
    RECT current = start;
    bool cancelled = false;
    bool moved = false;
    bool done = !(s.Keys[VK_LBUTTON] & 0x80);
    while (!done) {
        DispatchOthers();
        if (W->Destroyed || s.Capture != W->Handle || QuitPending()) break;
        if (s.Input.empty()) {
            if (!BackendOf().InputCanArrive()) break;
            WaitForWork();
            continue;
        }
        const TInputEvent event = s.Input.front();
        s.Input.pop_front();
        UpdateKeyState(event, s.Keys);
        switch (event.Kind) {
            case TInputEvent::ieMouseMove: {
                s.Cursor = event.Point;
                const int dx = event.Point.x - AStart.x, dy = event.Point.y - AStart.y;
                RECT r = sizing ? Sized(start, edge, dx, dy, limits)
                                : RECT{start.left + dx, start.top + dy, start.right + dx, start.bottom + dy};
                Send(W, sizing ? WM_SIZING : WM_MOVING, sizing ? edge : 0, LPARAM(&r));
                if (W->Destroyed) break;
                current = r;
                moved = true;
                if (full) Place(W, current, !sizing);
                break;
            }
            case TInputEvent::ieButtonUp:
                s.Cursor = event.Point;
                done = event.Button == VK_LBUTTON;
                break;
            case TInputEvent::ieKeyDown:
                cancelled = event.Key == VK_ESCAPE;
                done = cancelled || event.Key == VK_RETURN;
                break;
            default:
                break;
        }
    }
    if (!W->Destroyed) {
        if (cancelled && moved)
            Place(W, start, !sizing);
        else if (!full && moved)
            Place(W, current, !sizing);
    }
    if (s.Capture == W->Handle) ReleaseCapture();
    Send(W, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace winsys
