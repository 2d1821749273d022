// Painting: update regions, window DCs, window regions and layered windows.
//
// Every top-level window owns a 32-bit backing surface of its whole window
// rectangle; its children draw into it. A window DC is clipped to the
// window's visible part: its ancestors' client areas, every window region on
// the way, and the visible children and the siblings above cut out. A hidden
// child draws nothing. Update regions are kept per window; WM_PAINT comes
// from the queue for a window whose region is not empty.
#pragma once

#include "platform/win/wintypes.h"

namespace win {

inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
inline constexpr UINT RDW_NOERASE = 0x0020;
inline constexpr UINT RDW_NOCHILDREN = 0x0040;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_ERASENOW = 0x0200;
inline constexpr UINT RDW_FRAME = 0x0400;
inline constexpr UINT RDW_NOFRAME = 0x0800;

inline constexpr DWORD LWA_COLORKEY = 0x00000001;
inline constexpr DWORD LWA_ALPHA = 0x00000002;
inline constexpr DWORD ULW_COLORKEY = 0x00000001;
inline constexpr DWORD ULW_ALPHA = 0x00000002;
inline constexpr DWORD ULW_OPAQUE = 0x00000004;

// ARect in client coordinates; nullptr is the whole client area. A window
// of nullptr means every window.
BOOL InvalidateRect(HWND AWindow, const RECT* ARect, BOOL AErase);
BOOL InvalidateRgn(HWND AWindow, HRGN ARegion, BOOL AErase);
BOOL ValidateRect(HWND AWindow, const RECT* ARect);
BOOL ValidateRgn(HWND AWindow, HRGN ARegion);
// The bounds of the update region in client coordinates; FALSE when empty.
BOOL GetUpdateRect(HWND AWindow, RECT* ARect, BOOL AErase);
// RDW_INVALIDATE, RDW_VALIDATE, RDW_ERASE, RDW_NOERASE, RDW_FRAME,
// RDW_ALLCHILDREN, RDW_NOCHILDREN, RDW_UPDATENOW and RDW_ERASENOW (which
// paints at once too); AUpdate and ARegion in client coordinates. A window
// of nullptr means every top-level window.
BOOL RedrawWindow(HWND AWindow, const RECT* AUpdate, HRGN ARegion, UINT AFlags);
// Sends WM_PAINT now when the window has something to paint.
BOOL UpdateWindow(HWND AWindow);

// Sends WM_NCPAINT when the frame waits to be painted and WM_ERASEBKGND
// when an erase is pending; the DC is clipped to the update region, which
// is validated.
HDC BeginPaint(HWND AWindow, PAINTSTRUCT* APaint);
BOOL EndPaint(HWND AWindow, const PAINTSTRUCT* APaint);
// The client area; GetDC(nullptr) is a DC of the screen that draws nowhere.
HDC GetDC(HWND AWindow);
// The whole window, frame included, origin at the window's top left.
HDC GetWindowDC(HWND AWindow);
int ReleaseDC(HWND AWindow, HDC ADC);

// The window owns ARegion (window coordinates) from a successful call on and
// deletes the region it had; nullptr removes the region. Painting is clipped
// to it and the mouse ignores the window outside it.
int SetWindowRgn(HWND AWindow, HRGN ARegion, BOOL ARedraw);
// Copies the window region into ARegion: its type, or ERROR without one.
int GetWindowRgn(HWND AWindow, HRGN ARegion);

// Only for WS_EX_LAYERED windows and only when the capability table has the
// entry point; otherwise FALSE.
BOOL SetLayeredWindowAttributes(HWND AWindow, COLORREF AKey, BYTE AAlpha, DWORD AFlags);
// The 32-bit premultiplied pixels of ASourceDC at ASourcePoint become the
// window's whole content (ULW_ALPHA with AC_SRC_ALPHA), at ADestPoint when
// given, with the size ASize when given.
BOOL UpdateLayeredWindow(HWND AWindow, HDC ADestDC, const POINT* ADestPoint, const SIZE* ASize, HDC ASourceDC,
                         const POINT* ASourcePoint, COLORREF AKey, const BLENDFUNCTION* ABlend, DWORD AFlags);

}  // namespace win
