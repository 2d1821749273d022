// Positions, sizes, z-order, showing, window states and coordinates.
#include <algorithm>

#include "platform/gdi/capabilities.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

int Width(const RECT& R) {
    return R.right - R.left;
}
int Height(const RECT& R) {
    return R.bottom - R.top;
}

bool Topmost(const Window* W) {
    return (W->ExStyle & WS_EX_TOPMOST) != 0;
}

// The index where the band of AWindow ends in the top-level list.
size_t BandEnd(const std::vector<Window*>& AList, bool ATopmost) {
    size_t i = 0;
    while (i < AList.size() && Topmost(AList[i]))
        ++i;
    return ATopmost ? i : AList.size();
}

size_t BandStart(const std::vector<Window*>& AList, bool ATopmost) {
    return ATopmost ? 0 : BandEnd(AList, true);
}

void PlaceOwned(Window& AOwner, std::vector<Window*>& AList) {
    std::vector<Window*> owned;
    for (Window* w : AList)
        if (w->Owner == &AOwner) owned.push_back(w);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        Window* w = *it;
        if (Topmost(w) != Topmost(&AOwner)) continue;
        AList.erase(std::find(AList.begin(), AList.end(), w));
        AList.insert(std::find(AList.begin(), AList.end(), &AOwner), w);
        PlaceOwned(*w, AList);
    }
}

}  // namespace

bool HasMinMax(const Window& W) {
    return IsTopLevel(W) && ((W.Style & WS_THICKFRAME) || (W.Style & WS_CAPTION) == WS_CAPTION);
}

MINMAXINFO MinMaxInfo(Window* W) {
    const RECT work = Capabilities().WorkArea;
    MINMAXINFO info{};
    info.ptMaxSize = {Width(work), Height(work)};
    info.ptMaxPosition = {work.left, work.top};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Send(W, WM_GETMINMAXINFO, 0, LPARAM(&info));
    return info;
}

RECT CalcClient(Window* W, const RECT& ARect, const RECT& AOldRect, WINDOWPOS* APos) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = ARect;
    params.rgrc[1] = AOldRect;
    params.rgrc[2] = RECT{AOldRect.left + W->Client.left, AOldRect.top + W->Client.top,
                          AOldRect.left + W->Client.right, AOldRect.top + W->Client.bottom};
    params.lppos = APos;
    Send(W, WM_NCCALCSIZE, W->Created ? TRUE : FALSE, LPARAM(&params));
    RECT client = params.rgrc[0];
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return RECT{client.left - ARect.left, client.top - ARect.top, client.right - ARect.left,
                client.bottom - ARect.top};
}

void Restack(Window& W, HWND AInsertAfter, bool AOwnedToo) {
    std::vector<Window*>& list = SiblingList(W);
    list.erase(std::remove(list.begin(), list.end(), &W), list.end());
    if (W.Parent) {
        Window* after = Find(AInsertAfter);
        size_t index = 0;
        if (AInsertAfter == HWND_BOTTOM) {
            index = list.size();
        } else if (after && after->Parent == W.Parent) {
            index = size_t(std::find(list.begin(), list.end(), after) - list.begin()) + 1;
        }
        list.insert(list.begin() + std::ptrdiff_t(std::min(index, list.size())), &W);
        return;
    }
    if (AInsertAfter == HWND_TOPMOST) W.ExStyle |= WS_EX_TOPMOST;
    if (AInsertAfter == HWND_NOTOPMOST || AInsertAfter == HWND_BOTTOM) W.ExStyle &= ~WS_EX_TOPMOST;
    const bool topmost = Topmost(&W);
    size_t index = BandStart(list, topmost);
    Window* after = Find(AInsertAfter);
    if (AInsertAfter == HWND_BOTTOM) {
        index = list.size();
    } else if (after && IsTopLevel(*after) && after != &W) {
        const size_t at = size_t(std::find(list.begin(), list.end(), after) - list.begin()) + 1;
        index = std::clamp(at, BandStart(list, topmost), BandEnd(list, topmost));
    }
    list.insert(list.begin() + std::ptrdiff_t(index), &W);
    if (AOwnedToo) PlaceOwned(W, list);
}

TTopLevelState TopLevelState(const Window& W) {
    TTopLevelState state;
    state.Bounds = W.Rect;
    state.Visible = (W.Style & WS_VISIBLE) != 0;
    state.Minimized = (W.Style & WS_MINIMIZE) != 0;
    state.Popup = (W.Style & WS_POPUP) != 0;
    state.ToolWindow = (W.ExStyle & WS_EX_TOOLWINDOW) != 0;
    state.Topmost = Topmost(&W);
    state.Layered = (W.ExStyle & WS_EX_LAYERED) != 0;
    state.Owner = W.Owner ? W.Owner->Handle : nullptr;
    state.Modal = W.Owner && (W.Owner->Style & WS_DISABLED);
    state.Title = W.Text;
    state.Icon = W.BigIcon;
    state.SmallIcon = W.SmallIcon;
    return state;
}

void SyncTopLevel(Window& W) {
    if (IsTopLevel(W) && W.Mirrored) BackendOf().UpdateTopLevel(W.Handle, TopLevelState(W));
}

void SyncStacking() {
    std::vector<HWND> order;
    for (Window* w : TopLevels())
        order.push_back(w->Handle);
    BackendOf().Restack(order);
}

void SyncNative(Window& W) {
    if (W.NativeId) {
        const POINT origin = SurfaceOrigin(W);
        BackendOf().MoveNativeChild(
            W.Handle, RECT{origin.x, origin.y, origin.x + Width(W.Rect), origin.y + Height(W.Rect)},
            IsShown(W));
    }
    for (Window* c : W.Children)
        SyncNative(*c);
}

bool SetPos(Window* W, HWND AInsertAfter, int X, int Y, int AWidth, int AHeight, UINT AFlags,
            std::optional<DWORD> AState) {
    if (!W || W->Destroyed || W->MessageOnly) return false;
    const WindowRef hold = Ref(W);
    const bool visible = (W->Style & WS_VISIBLE) != 0;
    if (visible) AFlags &= ~SWP_SHOWWINDOW;
    if (!visible) AFlags &= ~SWP_HIDEWINDOW;
    WINDOWPOS pos{W->Handle, AInsertAfter, X, Y, AWidth, AHeight, AFlags};
    if (AFlags & SWP_NOMOVE) {
        pos.x = W->Rect.left;
        pos.y = W->Rect.top;
    }
    if (AFlags & SWP_NOSIZE) {
        pos.cx = Width(W->Rect);
        pos.cy = Height(W->Rect);
    }
    if (!(AFlags & SWP_NOSENDCHANGING)) {
        Send(W, WM_WINDOWPOSCHANGING, 0, LPARAM(&pos));
        if (W->Destroyed) return false;
    }
    UINT flags = pos.flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    const RECT oldRect = W->Rect;
    const RECT oldClient = W->Client;
    const bool wasShown = IsShown(*W);
    const PixRegion covered = Covered(*W);
    RECT rect = oldRect;
    if (!(flags & SWP_NOMOVE)) rect = RECT{pos.x, pos.y, pos.x + Width(oldRect), pos.y + Height(oldRect)};
    if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(pos.cx, 0);
        rect.bottom = rect.top + std::max(pos.cy, 0);
    }
    const bool sized = Width(rect) != Width(oldRect) || Height(rect) != Height(oldRect);
    const bool moved = rect.left != oldRect.left || rect.top != oldRect.top;

    bool restacked = false;
    if (!(flags & SWP_NOZORDER)) {
        const std::vector<Window*> before = SiblingList(*W);
        Restack(*W, pos.hwndInsertAfter, !(flags & SWP_NOOWNERZORDER));
        restacked = before != SiblingList(*W);
    }
    W->Rect = rect;
    if (sized || (flags & SWP_FRAMECHANGED)) {
        W->Client = CalcClient(W, rect, oldRect, &pos);
        if (W->Destroyed) return false;
    }
    if (flags & SWP_SHOWWINDOW) W->Style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) W->Style &= ~WS_VISIBLE;
    if (AState) W->Style = (W->Style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | *AState;
    const bool shown = IsShown(*W);

    const bool top = IsTopLevel(*W);
    if (top && sized) ResizeSurface(*W);
    if (!(flags & SWP_NOREDRAW)) {
        if (!top && wasShown) {
            // What the child left: all of its old place when it went down
            // among its siblings, else what it no longer covers.
            PixRegion uncovered = covered;
            if (shown && !restacked) uncovered.Subtract(Covered(*W));
            if (!uncovered.Empty()) Expose(*W->Parent, uncovered);
        }
        // A window that stays where it was keeps its pixels (a top-level
        // window owns them wherever it goes).
        const bool keeps = wasShown && !restacked && !(flags & SWP_FRAMECHANGED) && (top || !moved);
        if (shown && !keeps)
            InvalidateAll(*W, true);
        else if (shown && sized)
            InvalidateResized(*W, oldRect);
    }
    if (wasShown && !shown) WindowHidden(*W);
    if (W->Destroyed) return false;
    if (top) {
        SyncTopLevel(*W);
        if (restacked) SyncStacking();
    }
    SyncNative(*W);
    RefreshDCs();
    if (top && shown && !(flags & SWP_NOACTIVATE) && ((!wasShown) || restacked || !(flags & SWP_NOZORDER)) &&
        IsEnabledChain(*W) && Sys().Active != W->Handle)
        Activate(W, WA_ACTIVE);
    if (W->Destroyed) return false;

    if (!moved && oldClient.left == W->Client.left && oldClient.top == W->Client.top)
        flags |= SWP_NOCLIENTMOVE;
    if (Width(oldClient) == Width(W->Client) && Height(oldClient) == Height(W->Client))
        flags |= SWP_NOCLIENTSIZE;
    pos = WINDOWPOS{W->Handle, pos.hwndInsertAfter, rect.left, rect.top, Width(rect), Height(rect), flags};
    Send(W, WM_WINDOWPOSCHANGED, 0, LPARAM(&pos));
    return true;
}

namespace {

void ChangeState(Window* W, DWORD AState, const RECT& ARect, UINT AShowFlags) {
    SetPos(W, nullptr, ARect.left, ARect.top, Width(ARect), Height(ARect),
           SWP_NOZORDER | SWP_STATECHANGED | SWP_FRAMECHANGED | AShowFlags, AState);
}

RECT MaximizedRect(Window* W) {
    const MINMAXINFO info = MinMaxInfo(W);
    return RECT{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
                info.ptMaxPosition.y + info.ptMaxSize.y};
}

}  // namespace

}  // namespace winsys

namespace win {

using namespace winsys;

BOOL SetWindowPos(HWND AWindow, HWND AInsertAfter, int X, int Y, int AWidth, int AHeight, UINT AFlags) {
    const UINT internal = SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_STATECHANGED;
    return SetPos(Find(AWindow), AInsertAfter, X, Y, AWidth, AHeight, AFlags & ~internal) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND AWindow, int X, int Y, int AWidth, int AHeight, BOOL ARepaint) {
    return SetWindowPos(AWindow, nullptr, X, Y, AWidth, AHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (ARepaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND AWindow, int ACommand) {
    Window* found = Find(AWindow);
    if (!found || found->MessageOnly) return FALSE;
    const WindowRef w = Ref(found);
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    const bool top = IsTopLevel(*w);
    if (ACommand == SW_HIDE) {
        if (!wasVisible) return FALSE;
        Send(w.get(), WM_SHOWWINDOW, FALSE, 0);
        SetPos(w.get(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    if (!wasVisible) {
        Send(w.get(), WM_SHOWWINDOW, TRUE, 0);
        if (w->Destroyed) return FALSE;
    }
    const bool activate = top && ACommand != SW_SHOWNA && ACommand != SW_SHOWNOACTIVATE &&
                          ACommand != SW_SHOWMINNOACTIVE && ACommand != SW_MINIMIZE;
    const UINT show = SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE);
    switch (ACommand) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            if (!top) break;
            if (!(w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) w->NormalRect = w->Rect;
            ChangeState(w.get(), WS_MINIMIZE, w->Rect, SWP_SHOWWINDOW | SWP_NOACTIVATE);
            return wasVisible;
        case SW_MAXIMIZE:
            if (!top) break;
            if (!(w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) w->NormalRect = w->Rect;
            ChangeState(w.get(), WS_MAXIMIZE, MaximizedRect(w.get()), show);
            return wasVisible;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT:
        case SW_SHOWNOACTIVATE:
            if (top && (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
                const RECT normal = (w->Style & WS_MAXIMIZE) ? w->NormalRect : w->Rect;
                ChangeState(w.get(), 0, normal, show);
                return wasVisible;
            }
            break;
        default:
            break;
    }
    SetPos(w.get(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | show);
    if (activate && !w->Destroyed && (w->Style & WS_VISIBLE) && Sys().Active != w->Handle)
        Activate(w.get(), WA_ACTIVE);
    return wasVisible;
}

BOOL BringWindowToTop(HWND AWindow) {
    return SetWindowPos(AWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL IsWindowVisible(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w) return FALSE;
    for (; w; w = w->Parent)
        if (!(w->Style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL IsIconic(HWND AWindow) {
    Window* w = Find(AWindow);
    return w && (w->Style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND AWindow) {
    Window* w = Find(AWindow);
    return w && (w->Style & WS_MAXIMIZE);
}

BOOL EnableWindow(HWND AWindow, BOOL AEnable) {
    Window* found = Find(AWindow);
    if (!found) return FALSE;
    const WindowRef w = Ref(found);
    const bool wasDisabled = (w->Style & WS_DISABLED) != 0;
    if (wasDisabled == !AEnable) return wasDisabled;
    if (!AEnable) {
        Send(w.get(), WM_CANCELMODE, 0, 0);
        if (w->Destroyed) return FALSE;
        w->Style |= WS_DISABLED;
        Window* focus = Find(Sys().Focus);
        if (focus && IsAncestor(w.get(), focus)) SetFocusTo(nullptr);
    } else {
        w->Style &= ~WS_DISABLED;
    }
    // The windows it owns are modal while it is disabled.
    if (IsTopLevel(*w))
        for (Window* t : TopLevels())
            if (t->Owner == w.get()) SyncTopLevel(*t);
    Send(w.get(), WM_ENABLE, AEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND AWindow) {
    Window* w = Find(AWindow);
    return w && !(w->Style & WS_DISABLED);
}

BOOL GetWindowRect(HWND AWindow, RECT* ARect) {
    Window* w = Find(AWindow);
    if (!w || !ARect) return FALSE;
    *ARect = ScreenRect(*w);
    return TRUE;
}

BOOL GetClientRect(HWND AWindow, RECT* ARect) {
    Window* w = Find(AWindow);
    if (!w || !ARect) return FALSE;
    *ARect = RECT{0, 0, Width(w->Client), Height(w->Client)};
    return TRUE;
}

BOOL ClientToScreen(HWND AWindow, POINT* APoint) {
    Window* w = Find(AWindow);
    if (!w || !APoint) return FALSE;
    const POINT origin = ClientOrigin(*w);
    APoint->x += origin.x;
    APoint->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND AWindow, POINT* APoint) {
    Window* w = Find(AWindow);
    if (!w || !APoint) return FALSE;
    const POINT origin = ClientOrigin(*w);
    APoint->x -= origin.x;
    APoint->y -= origin.y;
    return TRUE;
}

uintptr_t NativeWindowOf(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w || !w->Parent) return 0;
    if (!w->NativeId) {
        const POINT origin = SurfaceOrigin(*w);
        w->NativeId = BackendOf().CreateNativeChild(
            w->Handle, TopLevelOf(w)->Handle,
            RECT{origin.x, origin.y, origin.x + Width(w->Rect), origin.y + Height(w->Rect)});
        SyncNative(*w);
    }
    return w->NativeId;
}

void ReleaseNativeWindow(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w || !w->NativeId) return;
    BackendOf().DestroyNativeChild(w->Handle);
    w->NativeId = 0;
    RedrawWindow(AWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int MapWindowPoints(HWND AFrom, HWND ATo, POINT* APoints, UINT ACount) {
    Window* from = Find(AFrom);
    Window* to = Find(ATo);
    if ((AFrom && !from) || (ATo && !to)) return 0;
    const POINT a = from ? ClientOrigin(*from) : POINT{};
    const POINT b = to ? ClientOrigin(*to) : POINT{};
    const int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; APoints && i < ACount; ++i) {
        APoints[i].x += dx;
        APoints[i].y += dy;
    }
    return int(MAKELONG(WORD(dx), WORD(dy)));
}

}  // namespace win
