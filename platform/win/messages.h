// Messages: their numbers and codes, sending and posting, the queue and the
// default window procedure.
//
// The queue gives, in this order: posted messages, WM_QUIT, input (routed to
// its window when it is taken), WM_PAINT for a window with something to
// paint, and WM_TIMER for a timer that has fired. Windows belong to the GUI
// thread; other threads may only post, send (the send runs on the GUI thread
// while the caller waits) and ask IsWindow.
#pragma once

#include "platform/win/wintypes.h"

namespace win {

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUERYENDSESSION = 0x0011;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_USERCHANGED = 0x0054;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_STYLECHANGING = 0x007C;
inline constexpr UINT WM_STYLECHANGED = 0x007D;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
// The window's icons (WParam ICON_SMALL or ICON_BIG); the default keeps
// them for the desktop's task switcher and returns the one replaced.
inline constexpr UINT WM_GETICON = 0x007F;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_SYNCPAINT = 0x0088;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr UINT WM_NCMBUTTONUP = 0x00A8;
inline constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_KEYLAST = 0x0109;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
// Sent to the parent, which the toolkit reflects to the child as CN_...
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSELAST = 0x020A;
inline constexpr UINT WM_PARENTNOTIFY = 0x0210;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOVING = 0x0216;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;
// The MDI client's messages (the toolkit's client window answers these).
inline constexpr UINT WM_MDIACTIVATE = 0x0222;
inline constexpr UINT WM_MDINEXT = 0x0224;
inline constexpr UINT WM_MDIGETACTIVE = 0x0229;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// WM_NCHITTEST results.
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTGROWBOX = 4;
inline constexpr int HTMENU = 5;
inline constexpr int HTHSCROLL = 6;
inline constexpr int HTVSCROLL = 7;
inline constexpr int HTMINBUTTON = 8;
inline constexpr int HTMAXBUTTON = 9;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;
inline constexpr int HTBORDER = 18;
inline constexpr int HTOBJECT = 19;
inline constexpr int HTCLOSE = 20;
inline constexpr int HTHELP = 21;

// WM_MOUSEACTIVATE results.
inline constexpr int MA_ACTIVATE = 1;
inline constexpr int MA_ACTIVATEANDEAT = 2;
inline constexpr int MA_NOACTIVATE = 3;
inline constexpr int MA_NOACTIVATEANDEAT = 4;

// WM_ACTIVATE, low word of WParam.
inline constexpr WORD WA_INACTIVE = 0;
inline constexpr WORD WA_ACTIVE = 1;
inline constexpr WORD WA_CLICKACTIVE = 2;

// WM_SIZE, WParam.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND, WParam; the low four bits are the system's own.
inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_KEYMENU = 0xF100;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WM_SIZING, WParam: the edge being dragged.
inline constexpr WPARAM WMSZ_LEFT = 1;
inline constexpr WPARAM WMSZ_RIGHT = 2;
inline constexpr WPARAM WMSZ_TOP = 3;
inline constexpr WPARAM WMSZ_TOPLEFT = 4;
inline constexpr WPARAM WMSZ_TOPRIGHT = 5;
inline constexpr WPARAM WMSZ_BOTTOM = 6;
inline constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
inline constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// Key and button state in the WParam of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr int WHEEL_DELTA = 120;

// WM_GETDLGCODE results.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// PeekMessage.
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
inline constexpr UINT PM_NOYIELD = 0x0002;

// Sends and posts to every top-level window.
inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(intptr_t(0xFFFF));

// Runs the window's procedure now and returns its result; 0 for an invalid
// window. From another thread the call runs on the GUI thread and the
// caller waits.
LRESULT SendMessageW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
inline LRESULT SendMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return SendMessageW(AWindow, AMessage, AWParam, ALParam);
}
// Queues the message; a null window posts to the queue itself (GetMessage
// returns it, DispatchMessage drops it). FALSE for an invalid window.
BOOL PostMessageW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
inline BOOL PostMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return PostMessageW(AWindow, AMessage, AWParam, ALParam);
}
void PostQuitMessage(int AExitCode);

// AWindow null: any window; AMin = AMax = 0: any message. Pending
// main-thread calls run first.
BOOL PeekMessageW(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax, UINT ARemove);
inline BOOL PeekMessage(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax, UINT ARemove) {
    return PeekMessageW(AMsg, AWindow, AMin, AMax, ARemove);
}
// Waits for a message; FALSE for WM_QUIT. Pending main-thread calls run
// while it waits.
BOOL GetMessageW(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax);
inline BOOL GetMessage(MSG* AMsg, HWND AWindow, UINT AMin, UINT AMax) {
    return GetMessageW(AMsg, AWindow, AMin, AMax);
}
// Waits until a message is pending, running main-thread calls meanwhile.
BOOL WaitMessage();
// Posts WM_CHAR (WM_SYSCHAR with Alt) for the text a key press gave.
BOOL TranslateMessage(const MSG* AMsg);
LRESULT DispatchMessageW(const MSG* AMsg);
inline LRESULT DispatchMessage(const MSG* AMsg) {
    return DispatchMessageW(AMsg);
}
// The time and cursor position of the message last taken from the queue.
DWORD GetMessagePos();
LONG GetMessageTime();

LRESULT DefWindowProcW(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
inline LRESULT DefWindowProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
}
// Calls a procedure that GetWindowLong(GWL_WNDPROC) gave; 0 for none.
LRESULT CallWindowProcW(WNDPROC AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
inline LRESULT CallWindowProc(WNDPROC AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    return CallWindowProcW(AProc, AWindow, AMessage, AWParam, ALParam);
}

// The same name always gives the same number, from 0xC000 up; 0 for an
// empty name. Names compare without case.
UINT RegisterWindowMessageW(LPCWSTR AName);
inline UINT RegisterWindowMessage(LPCWSTR AName) {
    return RegisterWindowMessageW(AName);
}

// A window procedure that calls AMethod with the message as a record and
// returns its Result: the object-level procedure under a handle-level one.
// The procedure is a real function, so it can be installed with
// SetWindowLong(GWL_WNDPROC) and chained with CallWindowProc. Returns
// nullptr when all instances are in use.
WNDPROC MakeObjectInstance(TWndMethod AMethod);
// From then on the procedure returns 0 without calling anything; its slot is
// reused later.
void FreeObjectInstance(WNDPROC AProc);

// Dispatches every message pending now, input, paints and fired timers
// included, after the pending main-thread calls; returns whether a WM_QUIT
// was taken on the way (removed and not dispatched, as a nested pump must).
// Registered as the process-messages hook of mainthread.h.
bool ProcessPendingMessages();

}  // namespace win
