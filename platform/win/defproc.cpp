// The default window procedure.
#include <algorithm>

#include "platform/gdi/draw.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace winsys {

namespace {

bool IsSizingCode(int ACode) {
    return ACode >= HTLEFT && ACode <= HTBOTTOMRIGHT;
}

int DefaultHitTest(const Window& W, POINT AScreen) {
    const RECT r = ScreenRect(W);
    const POINT p{AScreen.x - r.left, AScreen.y - r.top};
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return HTNOWHERE;
    const RECT& c = W.Client;
    if (p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom) return HTCLIENT;
    if (W.Style & WS_THICKFRAME) {
        const int b = GetSystemMetrics(SM_CXFRAME);
        const bool left = p.x < b, right = p.x >= width - b, top = p.y < b, bottom = p.y >= height - b;
        if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if ((W.Style & WS_CAPTION) == WS_CAPTION && p.y < c.top) return HTCAPTION;
    return HTBORDER;
}

LPCWSTR CursorFor(int ACode) {
    switch (ACode) {
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        default:
            return IDC_ARROW;
    }
}

bool IsButtonDown(UINT AMessage) {
    return AMessage == WM_LBUTTONDOWN || AMessage == WM_RBUTTONDOWN || AMessage == WM_MBUTTONDOWN ||
           AMessage == WM_NCLBUTTONDOWN || AMessage == WM_NCRBUTTONDOWN || AMessage == WM_NCMBUTTONDOWN;
}

LRESULT DefSetCursor(Window& W, WPARAM AWParam, LPARAM ALParam) {
    if (W.Parent && Send(W.Parent, WM_SETCURSOR, AWParam, ALParam)) return TRUE;
    if (W.Destroyed || reinterpret_cast<HWND>(AWParam) != W.Handle) return FALSE;
    const int code = SHORT(LOWORD(ULONG_PTR(ALParam)));
    if (code == HTERROR) {
        if (IsButtonDown(HIWORD(ULONG_PTR(ALParam)))) MessageBeep(MB_OK);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return FALSE;
    }
    if (code == HTCLIENT) {
        if (!W.Class->Cursor) return FALSE;
        SetCursor(W.Class->Cursor);
        return TRUE;
    }
    SetCursor(LoadCursorW(nullptr, CursorFor(code)));
    return TRUE;
}

void DefPosChanged(Window& W, const WINDOWPOS& APos) {
    const WindowRef hold = Ref(&W);
    if (!(APos.flags & SWP_NOCLIENTMOVE) || (APos.flags & SWP_STATECHANGED))
        Send(&W, WM_MOVE, 0, MAKELPARAM(WORD(W.Rect.left + W.Client.left), WORD(W.Rect.top + W.Client.top)));
    if (W.Destroyed) return;
    if (!(APos.flags & SWP_NOCLIENTSIZE) || (APos.flags & SWP_STATECHANGED)) {
        const WPARAM kind = (W.Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                            : (W.Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                      : SIZE_RESTORED;
        Send(&W, WM_SIZE, kind,
             MAKELPARAM(WORD(W.Client.right - W.Client.left), WORD(W.Client.bottom - W.Client.top)));
    }
}

void DefPosChanging(Window& W, WINDOWPOS& APos) {
    if (!HasMinMax(W) || (APos.flags & SWP_NOSIZE) || (W.Style & (WS_MAXIMIZE | WS_MINIMIZE))) return;
    const MINMAXINFO info = MinMaxInfo(&W);
    APos.cx = std::clamp(APos.cx, int(info.ptMinTrackSize.x),
                         std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    APos.cy = std::clamp(APos.cy, int(info.ptMinTrackSize.y),
                         std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

LRESULT DefSysCommand(Window& W, WPARAM ACommand, LPARAM ALParam) {
    switch (ACommand & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE:
            RunSizeMove(&W, ACommand, LParamToPoint(ALParam));
            break;
        case SC_CLOSE:
            Send(&W, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(W.Handle, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(W.Handle, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(W.Handle, SW_RESTORE);
            break;
        default:
            // SC_KEYMENU: there is no native menu to enter.
            break;
    }
    return 0;
}

LRESULT DefNCButtonDown(Window& W, WPARAM AHitCode, LPARAM ALParam) {
    const int code = int(AHitCode);
    if (code == HTCAPTION) {
        Send(&W, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, ALParam);
    } else if (IsSizingCode(code)) {
        // A child's sizing edge (a size grip) sizes its top-level window.
        Window* top = TopLevelOf(&W);
        Send(top, WM_SYSCOMMAND, SC_SIZE + WPARAM(code - HTLEFT + 1), ALParam);
    }
    return 0;
}

}  // namespace

RECT FrameInsets(const Window& W) {
    int border = 0;
    if (W.Style & WS_THICKFRAME)
        border = GetSystemMetrics(SM_CXFRAME);
    else if ((W.Style & WS_DLGFRAME) || (W.ExStyle & WS_EX_DLGMODALFRAME))
        border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (W.Style & WS_BORDER)
        border = GetSystemMetrics(SM_CXBORDER);
    if (W.ExStyle & WS_EX_CLIENTEDGE) border += GetSystemMetrics(SM_CXEDGE);
    int caption = 0;
    if ((W.Style & WS_CAPTION) == WS_CAPTION)
        caption = GetSystemMetrics((W.ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    return RECT{border, border + caption, border, border};
}

}  // namespace winsys

namespace win {

using namespace winsys;

LRESULT DefWindowProcW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    Window* w = Find(AWindow);
    if (!w) return 0;
    State& s = Sys();
    switch (AMessage) {
        case WM_NCCREATE:
            return TRUE;
        case WM_NCCALCSIZE:
            if (ALParam) {
                RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam)->rgrc[0];
                const RECT insets = FrameInsets(*w);
                r = RECT{r.left + insets.left, r.top + insets.top,
                         std::max(r.left + insets.left, r.right - insets.right),
                         std::max(r.top + insets.top, r.bottom - insets.bottom)};
            }
            return 0;
        case WM_NCHITTEST:
            return DefaultHitTest(*w, LParamToPoint(ALParam));
        case WM_NCPAINT:
            DefaultNCPaint(*w);
            return 0;
        case WM_NCACTIVATE:
            DefaultNCPaint(*w);
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(AWParam) != WA_INACTIVE && !HIWORD(AWParam)) SetFocusTo(w);
            return 0;
        case WM_MOUSEACTIVATE:
            if (w->Parent) {
                const LRESULT answer = Send(w->Parent, AMessage, AWParam, ALParam);
                if (answer) return answer;
            }
            return MA_ACTIVATE;
        case WM_SETCURSOR:
            return DefSetCursor(*w, AWParam, ALParam);
        case WM_ERASEBKGND: {
            if (!w->Class->Background) return 0;
            RECT client;
            GetClientRect(AWindow, &client);
            FillRect(reinterpret_cast<HDC>(AWParam), &client, w->Class->Background);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (BeginPaint(AWindow, &ps)) EndPaint(AWindow, &ps);
            return 0;
        }
        case WM_WINDOWPOSCHANGING:
            if (ALParam) DefPosChanging(*w, *reinterpret_cast<WINDOWPOS*>(ALParam));
            return 0;
        case WM_WINDOWPOSCHANGED:
            if (ALParam) DefPosChanged(*w, *reinterpret_cast<const WINDOWPOS*>(ALParam));
            return 0;
        case WM_SETTEXT:
            w->Text = ALParam ? String(reinterpret_cast<LPCWSTR>(ALParam)) : String();
            SyncTopLevel(*w);
            if (IsShown(*w)) DefaultNCPaint(*w);
            return TRUE;
        case WM_GETTEXT: {
            if (!AWParam || !ALParam) return 0;
            WCHAR* buffer = reinterpret_cast<WCHAR*>(ALParam);
            const size_t count = std::min(w->Text.size(), size_t(AWParam) - 1);
            std::copy_n(w->Text.begin(), count, buffer);
            buffer[count] = 0;
            return LRESULT(count);
        }
        case WM_GETTEXTLENGTH:
            return LRESULT(w->Text.size());
        case WM_SETICON: {
            HICON& icon = AWParam == ICON_SMALL ? w->SmallIcon : w->BigIcon;
            const HICON old = icon;
            icon = reinterpret_cast<HICON>(ALParam);
            SyncTopLevel(*w);
            return reinterpret_cast<LRESULT>(old);
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(AWParam == ICON_SMALL ? w->SmallIcon : w->BigIcon);
        case WM_CLOSE:
            DestroyWindow(AWindow);
            return 0;
        case WM_SETREDRAW:
            w->RedrawOff = AWParam == 0;
            RefreshDCs();
            return 0;
        case WM_CANCELMODE:
            if (s.Capture == AWindow) ReleaseCapture();
            return 0;
        case WM_SYSCOMMAND:
            return DefSysCommand(*w, AWParam, ALParam);
        case WM_NCLBUTTONDOWN:
            return DefNCButtonDown(*w, AWParam, ALParam);
        case WM_MOUSEWHEEL:
        case WM_CONTEXTMENU:
            return w->Parent ? Send(w->Parent, AMessage, AWParam, ALParam) : 0;
        case WM_RBUTTONUP: {
            POINT p = LParamToPoint(ALParam);
            ClientToScreen(AWindow, &p);
            Send(w, WM_CONTEXTMENU, WPARAM(AWindow), PointToLParam(p));
            return 0;
        }
        case WM_KEYUP:
            // The menu key asks for the context menu at no point (-1, -1).
            if (AWParam == VK_APPS) Send(w, WM_CONTEXTMENU, WPARAM(AWindow), -1);
            return 0;
        case WM_SYSKEYDOWN:
            if (AWParam == VK_F4 && (ALParam & (LPARAM(1) << 29)))
                Send(TopLevelOf(w), WM_SYSCOMMAND, SC_CLOSE, 0);
            else if (AWParam == VK_F10 && (GetKeyState(VK_SHIFT) < 0))
                Send(w, WM_CONTEXTMENU, WPARAM(AWindow), -1);
            return 0;
        case WM_SYSKEYUP:
            // F10 enters the menu bar as a lone Alt does; Shift+F10 is the
            // context menu.
            if ((AWParam == VK_MENU && s.LoneAltReleased) ||
                (AWParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0)) {
                s.LoneAltReleased = false;
                Send(TopLevelOf(w), WM_SYSCOMMAND, SC_KEYMENU, 0);
            }
            return 0;
        case WM_SYSCHAR:
            Send(TopLevelOf(w), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(AWParam));
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        default:
            return 0;
    }
}

}  // namespace win
