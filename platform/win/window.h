// Windows: classes, styles, creation and destruction, the window tree,
// positions and sizes, showing and z-order.
//
// A window's rectangle is kept in its parent's client coordinates (screen
// coordinates for top-level windows); its client rectangle is whatever
// WM_NCCALCSIZE left. Top-level windows are stacked with the topmost band
// above the rest, and a window's owned windows stay above it.
#pragma once

#include "platform/base/types.h"
#include "platform/win/wintypes.h"

namespace win {

// Window styles.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
// Kept and reported only: no bar is drawn and no room is taken for one.
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

// Extended styles.
inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
// The mouse passes through the window to the windows below.
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;

// Class styles. CS_SAVEBITS and CS_DROPSHADOW are kept and reported only.
inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;
inline constexpr UINT CS_SAVEBITS = 0x0800;
inline constexpr UINT CS_DROPSHADOW = 0x00020000;

inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_HINSTANCE = -6;
inline constexpr int GWL_HWNDPARENT = -8;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GCL_HBRBACKGROUND = -10;
inline constexpr int GCL_HCURSOR = -12;
inline constexpr int GCL_STYLE = -26;

inline constexpr int CW_USEDEFAULT = int(0x80000000);

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t(-2));
// The parent of message-only windows: never shown, never under the mouse.
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(intptr_t(-3));
inline const HWND HWND_DESKTOP = nullptr;

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOCOPYBITS = 0x0100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline constexpr UINT SWP_NOSENDCHANGING = 0x0400;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

// Classes. Names compare without case; a name taken gives 0.
ATOM RegisterClassExW(const WNDCLASSEXW* AClass);
BOOL UnregisterClassW(LPCWSTR AClassName, HINSTANCE AInstance);
BOOL GetClassInfoExW(HINSTANCE AInstance, LPCWSTR AClassName, WNDCLASSEXW* AClass);
// Copies at most AMaxCount - 1 characters and a terminating 0; returns the
// characters copied.
int GetClassNameW(HWND AWindow, WCHAR* ABuffer, int AMaxCount);
inline int GetClassName(HWND AWindow, WCHAR* ABuffer, int AMaxCount) {
    return GetClassNameW(AWindow, ABuffer, AMaxCount);
}
// GCL_STYLE, GCL_HCURSOR, GCL_HBRBACKGROUND; the class is shared by all its
// windows.
ULONG_PTR GetClassLongW(HWND AWindow, int AIndex);
ULONG_PTR SetClassLongW(HWND AWindow, int AIndex, LONG_PTR AValue);
inline ULONG_PTR GetClassLong(HWND AWindow, int AIndex) {
    return GetClassLongW(AWindow, AIndex);
}
inline ULONG_PTR SetClassLong(HWND AWindow, int AIndex, LONG_PTR AValue) {
    return SetClassLongW(AWindow, AIndex, AValue);
}

// Sends WM_GETMINMAXINFO (framed top-level windows), WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, WM_SIZE and WM_MOVE; then WM_PARENTNOTIFY to
// the ancestors of a child, and shows a WS_VISIBLE window. nullptr when the
// class is unknown, the parent invalid, or WM_NCCREATE or WM_CREATE refused.
// AParent HWND_MESSAGE makes a message-only window. For a top-level window
// AParent is the owner.
HWND CreateWindowExW(DWORD AExStyle, LPCWSTR AClassName, LPCWSTR AWindowName, DWORD AStyle, int X, int Y,
                     int AWidth, int AHeight, HWND AParent, HMENU AMenu, HINSTANCE AInstance, LPVOID AParam);
// Destroys the window, the windows it owns and its children: WM_PARENTNOTIFY,
// WM_DESTROY (parents first) and WM_NCDESTROY (children first). The handle is
// invalid from then on; a procedure still running for the window finishes
// safely, because the window's memory lives until every dispatch to it has
// unwound.
BOOL DestroyWindow(HWND AWindow);
BOOL IsWindow(HWND AWindow);

LONG_PTR GetWindowLongW(HWND AWindow, int AIndex);
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING and WM_STYLECHANGED;
// WS_EX_LAYERED may come and go at any time; GWL_HWNDPARENT changes the
// owner of a top-level window. Returns the previous value, 0 on failure.
LONG_PTR SetWindowLongW(HWND AWindow, int AIndex, LONG_PTR AValue);
inline LONG_PTR GetWindowLong(HWND AWindow, int AIndex) {
    return GetWindowLongW(AWindow, AIndex);
}
inline LONG_PTR SetWindowLong(HWND AWindow, int AIndex, LONG_PTR AValue) {
    return SetWindowLongW(AWindow, AIndex, AValue);
}
inline LONG_PTR GetWindowLongPtrW(HWND AWindow, int AIndex) {
    return GetWindowLongW(AWindow, AIndex);
}
inline LONG_PTR SetWindowLongPtrW(HWND AWindow, int AIndex, LONG_PTR AValue) {
    return SetWindowLongW(AWindow, AIndex, AValue);
}

// The parent of a child, the owner of a popup; GetWindow(GW_OWNER) and
// GWL_HWNDPARENT give the owner of any top-level window.
HWND GetParent(HWND AWindow);
// Makes AWindow a child of ANewParent (nullptr: a top-level window) and
// returns the old parent.
HWND SetParent(HWND AWindow, HWND ANewParent);
HWND GetWindow(HWND AWindow, UINT ACommand);
BOOL IsChild(HWND AParent, HWND AWindow);

// Sends WM_SETTEXT, whose default keeps the text.
BOOL SetWindowTextW(HWND AWindow, LPCWSTR AText);
int GetWindowTextW(HWND AWindow, WCHAR* ABuffer, int AMaxCount);
int GetWindowTextLengthW(HWND AWindow);

// WM_WINDOWPOSCHANGING (its values are the ones used), WM_GETMINMAXINFO for
// framed top-level windows, WM_NCCALCSIZE on a size or frame change,
// WM_WINDOWPOSCHANGED (whose default sends WM_MOVE and WM_SIZE). Showing a
// top-level window or raising it activates it unless SWP_NOACTIVATE.
BOOL SetWindowPos(HWND AWindow, HWND AInsertAfter, int X, int Y, int AWidth, int AHeight, UINT AFlags);
BOOL MoveWindow(HWND AWindow, int X, int Y, int AWidth, int AHeight, BOOL ARepaint);
// Sends WM_SHOWWINDOW before the window becomes visible (and before it
// disappears); returns whether it was visible.
BOOL ShowWindow(HWND AWindow, int ACommand);
BOOL BringWindowToTop(HWND AWindow);
BOOL IsWindowVisible(HWND AWindow);
BOOL IsIconic(HWND AWindow);
BOOL IsZoomed(HWND AWindow);
// Disabling sends WM_CANCELMODE and takes the focus away from the window and
// its children; WM_ENABLE follows. Returns whether it was disabled before.
BOOL EnableWindow(HWND AWindow, BOOL AEnable);
BOOL IsWindowEnabled(HWND AWindow);

BOOL GetWindowRect(HWND AWindow, RECT* ARect);
BOOL GetClientRect(HWND AWindow, RECT* ARect);
BOOL ClientToScreen(HWND AWindow, POINT* APoint);
BOOL ScreenToClient(HWND AWindow, POINT* APoint);
// From AFrom's client coordinates to ATo's (nullptr: the screen); returns
// the offset as MAKELONG(dx, dy).
int MapWindowPoints(HWND AFrom, HWND ATo, POINT* APoints, UINT ACount);
// The deepest visible, enabled window at the screen point: windows are
// skipped where their region excludes the point, where a per-pixel layered
// window is clear (alpha 0) and when WS_EX_TRANSPARENT; z-order decides
// between the others. No message is sent.
HWND WindowFromPoint(POINT APoint);

// A child window that a library draws into itself (the player's SDL output)
// gets a native window from the back end, kept at the child's place and
// visibility. Returns its id, 0 for a top-level window or where the back end
// has none.
uintptr_t NativeWindowOf(HWND AWindow);
// The library is done with the window: its native window goes and the layer
// paints the window itself again.
void ReleaseNativeWindow(HWND AWindow);

// Scroll information is kept per window and bar; no bar is drawn.
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// Returns the new position.
int SetScrollInfo(HWND AWindow, int ABar, const SCROLLINFO* AInfo, BOOL ARedraw);
BOOL GetScrollInfo(HWND AWindow, int ABar, SCROLLINFO* AInfo);
int SetScrollPos(HWND AWindow, int ABar, int APos, BOOL ARedraw);
int GetScrollPos(HWND AWindow, int ABar);
BOOL SetScrollRange(HWND AWindow, int ABar, int AMin, int AMax, BOOL ARedraw);
BOOL GetScrollRange(HWND AWindow, int ABar, int* AMin, int* AMax);

}  // namespace win
