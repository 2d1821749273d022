// The Windows value types, handles and structures of the window system, the
// packing of message parameters, and the toolkit's message record.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/gdi/gditypes.h"

namespace win {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
// Window longs hold pointers (GWL_WNDPROC), so they are pointer-sized here.
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using SHORT = int16_t;
using ATOM = WORD;
using LPCWSTR = const WCHAR*;

// Opaque and checked: a stale or foreign window handle makes a call fail.
struct HWND__;
using HWND = HWND__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HMENU__;
// Child windows carry their control id here, as on Windows.
using HMENU = HMENU__*;
using HCURSOR = HICON;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, ULONG_PTR, DWORD);

constexpr WORD LOWORD(ULONG_PTR AValue) {
    return WORD(AValue & 0xFFFF);
}
constexpr WORD HIWORD(ULONG_PTR AValue) {
    return WORD((AValue >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(WORD ALow, WORD AHigh) {
    return DWORD(ALow) | (DWORD(AHigh) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD ALow, WORD AHigh) {
    return WPARAM(MAKELONG(ALow, AHigh));
}
// Packed as the 32-bit value Windows uses, sign-extended like its LPARAM.
constexpr LPARAM MAKELPARAM(WORD ALow, WORD AHigh) {
    return LPARAM(int32_t(MAKELONG(ALow, AHigh)));
}
// Mouse positions travel as two signed 16-bit halves.
constexpr int GET_X_LPARAM(LPARAM AValue) {
    return int(SHORT(LOWORD(ULONG_PTR(AValue))));
}
constexpr int GET_Y_LPARAM(LPARAM AValue) {
    return int(SHORT(HIWORD(ULONG_PTR(AValue))));
}
constexpr LPARAM PointToLParam(POINT APoint) {
    return MAKELPARAM(WORD(APoint.x), WORD(APoint.y));
}
constexpr POINT LParamToPoint(LPARAM AValue) {
    return {GET_X_LPARAM(AValue), GET_Y_LPARAM(AValue)};
}
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM AValue) {
    return SHORT(HIWORD(AValue));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM AValue) {
    return LOWORD(AValue);
}

inline LPCWSTR MAKEINTRESOURCEW(WORD AId) {
    return reinterpret_cast<LPCWSTR>(ULONG_PTR(AId));
}

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
    // The layer's own: which input event a key message came from.
    DWORD lPrivate;
};

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

// rgrc[0] is the new window rectangle and becomes the client rectangle;
// rgrc[1] and rgrc[2] are the old window and client rectangles. All are in
// the parent's client coordinates (screen coordinates for top-level windows).
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    // A brush, or a system colour index + 1.
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
static_assert(sizeof(MONITORINFO) == 40);

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};

}  // namespace win

// The toolkit's message record, and a procedure written as a method over it.
struct TMessage {
    win::UINT Msg;
    win::WPARAM WParam;
    win::LPARAM LParam;
    win::LRESULT Result;
};

using TWndMethod = std::function<void(TMessage& AMessage)>;
