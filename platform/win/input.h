// Input: capture, focus, activation, the cursor, key state and the virtual
// key codes.
//
// Routing: a mouse event goes to the window that holds the capture, as a
// client message (coordinates may be negative) without WM_NCHITTEST;
// otherwise to the deepest visible, enabled window under it, whose
// WM_NCHITTEST answer decides: HTCLIENT gives client messages, any other
// code non-client ones with the code in WParam, HTTRANSPARENT passes the
// event to the window below. A press in a window that is not itself the
// active window first sends it WM_MOUSEACTIVATE, which the default procedure
// passes up the parent chain (MA_NOACTIVATE leaves activation and focus
// alone), and every press in a child sends WM_PARENTNOTIFY to its
// ancestors. Key events go to the focus window (to the active window as
// WM_SYS... messages when nothing has the focus); with Alt held they are
// WM_SYSKEYDOWN/WM_SYSKEYUP. The wheel goes to the focus window.
#pragma once

#include <functional>

#include "platform/win/wintypes.h"

namespace win {

inline constexpr BYTE VK_LBUTTON = 0x01;
inline constexpr BYTE VK_RBUTTON = 0x02;
inline constexpr BYTE VK_CANCEL = 0x03;
inline constexpr BYTE VK_MBUTTON = 0x04;
inline constexpr BYTE VK_BACK = 0x08;
inline constexpr BYTE VK_TAB = 0x09;
inline constexpr BYTE VK_CLEAR = 0x0C;
inline constexpr BYTE VK_RETURN = 0x0D;
inline constexpr BYTE VK_SHIFT = 0x10;
inline constexpr BYTE VK_CONTROL = 0x11;
inline constexpr BYTE VK_MENU = 0x12;
inline constexpr BYTE VK_PAUSE = 0x13;
inline constexpr BYTE VK_CAPITAL = 0x14;
inline constexpr BYTE VK_ESCAPE = 0x1B;
inline constexpr BYTE VK_SPACE = 0x20;
inline constexpr BYTE VK_PRIOR = 0x21;
inline constexpr BYTE VK_NEXT = 0x22;
inline constexpr BYTE VK_END = 0x23;
inline constexpr BYTE VK_HOME = 0x24;
inline constexpr BYTE VK_LEFT = 0x25;
inline constexpr BYTE VK_UP = 0x26;
inline constexpr BYTE VK_RIGHT = 0x27;
inline constexpr BYTE VK_DOWN = 0x28;
inline constexpr BYTE VK_SNAPSHOT = 0x2C;
inline constexpr BYTE VK_INSERT = 0x2D;
inline constexpr BYTE VK_DELETE = 0x2E;
inline constexpr BYTE VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their own codes.
inline constexpr BYTE VK_LWIN = 0x5B;
inline constexpr BYTE VK_RWIN = 0x5C;
inline constexpr BYTE VK_APPS = 0x5D;
inline constexpr BYTE VK_NUMPAD0 = 0x60;
inline constexpr BYTE VK_MULTIPLY = 0x6A;
inline constexpr BYTE VK_ADD = 0x6B;
inline constexpr BYTE VK_SEPARATOR = 0x6C;
inline constexpr BYTE VK_SUBTRACT = 0x6D;
inline constexpr BYTE VK_DECIMAL = 0x6E;
inline constexpr BYTE VK_DIVIDE = 0x6F;
inline constexpr BYTE VK_F1 = 0x70;
inline constexpr BYTE VK_F2 = 0x71;
inline constexpr BYTE VK_F4 = 0x73;
inline constexpr BYTE VK_F5 = 0x74;
inline constexpr BYTE VK_F10 = 0x79;
inline constexpr BYTE VK_F12 = 0x7B;
inline constexpr BYTE VK_F24 = 0x87;
inline constexpr BYTE VK_NUMLOCK = 0x90;
inline constexpr BYTE VK_SCROLL = 0x91;
inline constexpr BYTE VK_LSHIFT = 0xA0;
inline constexpr BYTE VK_RSHIFT = 0xA1;
inline constexpr BYTE VK_LCONTROL = 0xA2;
inline constexpr BYTE VK_RCONTROL = 0xA3;
inline constexpr BYTE VK_LMENU = 0xA4;
inline constexpr BYTE VK_RMENU = 0xA5;
inline constexpr BYTE VK_OEM_1 = 0xBA;
inline constexpr BYTE VK_OEM_PLUS = 0xBB;
inline constexpr BYTE VK_OEM_COMMA = 0xBC;
inline constexpr BYTE VK_OEM_MINUS = 0xBD;
inline constexpr BYTE VK_OEM_PERIOD = 0xBE;
inline constexpr BYTE VK_OEM_2 = 0xBF;
inline constexpr BYTE VK_OEM_3 = 0xC0;
inline constexpr BYTE VK_OEM_4 = 0xDB;
inline constexpr BYTE VK_OEM_5 = 0xDC;
inline constexpr BYTE VK_OEM_6 = 0xDD;
inline constexpr BYTE VK_OEM_7 = 0xDE;

// Stock cursors for LoadCursorW(nullptr, ...).
inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDC_IBEAM = MAKEINTRESOURCEW(32513);
inline const LPCWSTR IDC_WAIT = MAKEINTRESOURCEW(32514);
inline const LPCWSTR IDC_CROSS = MAKEINTRESOURCEW(32515);
inline const LPCWSTR IDC_UPARROW = MAKEINTRESOURCEW(32516);
inline const LPCWSTR IDC_SIZENWSE = MAKEINTRESOURCEW(32642);
inline const LPCWSTR IDC_SIZENESW = MAKEINTRESOURCEW(32643);
inline const LPCWSTR IDC_SIZEWE = MAKEINTRESOURCEW(32644);
inline const LPCWSTR IDC_SIZENS = MAKEINTRESOURCEW(32645);
inline const LPCWSTR IDC_SIZEALL = MAKEINTRESOURCEW(32646);
inline const LPCWSTR IDC_NO = MAKEINTRESOURCEW(32648);
inline const LPCWSTR IDC_HAND = MAKEINTRESOURCEW(32649);
inline const LPCWSTR IDC_APPSTARTING = MAKEINTRESOURCEW(32650);
inline const LPCWSTR IDC_HELP = MAKEINTRESOURCEW(32651);

// While a window holds the capture every mouse event goes to it. Setting or
// releasing it sends WM_CAPTURECHANGED to the window that loses it.
HWND SetCapture(HWND AWindow);
BOOL ReleaseCapture();
HWND GetCapture();

// WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one; the
// window's top-level window is activated first. Returns the old focus;
// nullptr (and no change) for a destroyed or disabled window.
HWND SetFocus(HWND AWindow);
HWND GetFocus();
// Top-level windows only: WM_NCACTIVATE and WM_ACTIVATE (WA_INACTIVE) to the
// window losing activation, then WM_NCACTIVATE and WM_ACTIVATE to the new
// one, whose default takes the focus. Raises the window.
HWND SetActiveWindow(HWND AWindow);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND AWindow);
HWND GetForegroundWindow();

BOOL GetCursorPos(POINT* APoint);
// Stock cursors only; nullptr for any other name.
HCURSOR LoadCursorW(HINSTANCE AInstance, LPCWSTR AName);
inline HCURSOR LoadCursor(HINSTANCE AInstance, LPCWSTR AName) {
    return LoadCursorW(AInstance, AName);
}
// Shows the cursor and returns the previous one.
HCURSOR SetCursor(HCURSOR ACursor);
HCURSOR GetCursor();

// High bit: down; low bit (GetKeyState only): toggled. GetKeyState follows
// the messages taken from the queue, GetAsyncKeyState the devices.
SHORT GetKeyState(int AKey);
SHORT GetAsyncKeyState(int AKey);
UINT GetDoubleClickTime();

// Runs after each mouse input event has been dispatched, with the window
// that takes mouse enter and leave: the capture window while one holds the
// capture, else the window under the cursor (nullptr: none of ours). The
// toolkit resolves graphic controls inside it and sends its own enter and
// leave messages.
using TMouseTrackHook = std::function<void(HWND AWindow, POINT AScreenPoint)>;
void SetMouseTrackHook(TMouseTrackHook AHook);

}  // namespace win
