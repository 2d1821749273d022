// The skin library's layer over newer platform features (version tests,
// entry points that may be absent, work areas), and the rectangle and point
// helpers of the skinned controls and forms.
#pragma once

#include "platform/gdi/gditypes.h"
#include "platform/toolkit/geometry.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"

// Records of the calls below that the window layer does not define.
inline constexpr win::LONG OBJID_VSCROLL = -5;
inline constexpr win::LONG OBJID_HSCROLL = -6;
inline constexpr win::DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;

struct SCROLLBARINFO {
    win::DWORD cbSize;
    win::RECT rcScrollBar;
    int dxyLineButton;
    int xyThumbTop;
    int xyThumbBottom;
    int reserved;
    win::DWORD rgstate[6];
};

using HRESULT = int32_t;
inline constexpr win::DWORD DWMWA_TRANSITIONS_FORCEDISABLED = 3;
inline constexpr win::DWORD DWM_BB_ENABLE = 1;
inline constexpr win::DWORD DWM_BB_BLURREGION = 2;

struct DWM_BLURBEHIND {
    win::DWORD dwFlags;
    win::BOOL fEnable;
    win::HRGN hRgnBlur;
    win::BOOL fTransitionOnMaximized;
};

// The entry points, looked up when the program starts; nullptr where the
// platform lacks one, which switches its feature off. The capability table
// says which the platform offers. The window layer has no GetScrollBarInfo
// and there is no dwmapi: those stay nullptr.
using TMonitorFromWindowProc = decltype(&win::MonitorFromWindow);
using TGetMonitorInfoProc = decltype(&win::GetMonitorInfoW);
using TGetScrollBarInfoProc = win::BOOL (*)(win::HWND AWindow, win::LONG AObject, SCROLLBARINFO* AInfo);
using TSetLayeredWindowAttributesProc = decltype(&win::SetLayeredWindowAttributes);
using TUpdateLayeredWindowProc = decltype(&win::UpdateLayeredWindow);
using TDwmIsCompositionEnabledProc = HRESULT (*)(win::BOOL* AEnabled);
using TDwmSetWindowAttributeProc = HRESULT (*)(win::HWND AWindow, win::DWORD AAttribute, const void* AValue,
                                               win::DWORD ASize);
using TDwmEnableBlurBehindWindowProc = HRESULT (*)(win::HWND AWindow, const DWM_BLURBEHIND* ABlurBehind);

extern TMonitorFromWindowProc MonitorFromWindowProc;
extern TGetMonitorInfoProc GetMonitorInfoProc;
extern TGetScrollBarInfoProc GetScrollBarInfoProc;
extern TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc;
extern TUpdateLayeredWindowProc UpdateLayeredWindowProc;
extern TDwmIsCompositionEnabledProc DwmIsCompositionEnabledProc;
extern TDwmSetWindowAttributeProc DwmSetWindowAttributeProc;
extern TDwmEnableBlurBehindWindowProc DwmEnableBlurBehindWindowProc;

// Looks the entry points up again from the capability table (start-up does
// it once); FreePlatformEntryPoints clears them all.
void LoadPlatformEntryPoints();
void FreePlatformEntryPoints();

// The version tests, of a given version and of the one the platform reports.
bool IsWindows7(Byte AMajor, Byte AMinor);
// 6.2 and anything above 6 (6.3 reports false).
bool IsWindows8OrLater(Byte AMajor, Byte AMinor);
bool IsVistaOrLater(Byte AMajor, Byte AMinor);
// 5.1 and anything above 5 (5.2 reports false).
bool IsXPOrLater(Byte AMajor, Byte AMinor);
bool IsLayeredWindowsVersion(Byte AMajor, Byte AMinor);
bool IsWindows7();
bool IsWindows8OrLater();
bool IsVistaOrLater();
bool IsXPOrLater();
// The version allows layered windows and the display can show them with
// their alpha (the back end's capability): no glow or fade is tried where
// it would show as an opaque box.
bool IsLayeredWindowsAvailable();
bool IsDwmCompositionEnabled();

// GetScrollBarInfo; without it the bar reads as invisible and the result is 0.
win::BOOL SkinGetScrollBarInfo(win::HWND AWindow, win::LONG AObject, SCROLLBARINFO* AInfo);
// The constant alpha of a layered window; nothing without the entry point.
void SetWindowAlpha(win::HWND AWindow, Byte AAlpha);
// Both do nothing without dwmapi.
void EnableDwmTransitions(win::HWND AWindow, bool AEnable);
void EnableDwmBlurBehind(win::HWND AWindow, bool AEnable, win::HRGN ARegion);
// The desktop work area, or the whole screen.
void GetScreenWorkArea(bool AWorkArea, TRect& ARect);
// The work area (or the whole area) of the monitor nearest AWindow; with one
// monitor the screen's. A monitor whose information cannot be read leaves
// ARect as it is.
void GetMonitorWorkArea(win::HWND AWindow, bool AWorkArea, TRect& ARect);
bool HasMultipleMonitors();

// Rectangles and points of skin elements.
Integer GetSkinRectWidth(const TRect& ARect);
Integer GetSkinRectHeight(const TRect& ARect);
bool SameRect(const TRect& A, const TRect& B);
void ClearRect(TRect& ARect);
// No pixels: the element has no picture.
bool IsRectDegenerate(const TRect& ARect);
// A zero coordinate counts as not given.
bool IsPointUnset(const TPoint& APoint);
// Right and bottom edges included.
bool PointInsideRect(const TRect& ARect, const TPoint& APoint);
// Both corners of A in B, B's right and bottom edges excluded.
bool RectInRect(const TRect& A, const TRect& B);
// A's top (probed just inside B's left) or A's bottom (just inside B's
// right) lies in B's rows; B must be at least 2 pixels wide.
bool RectTopOrBottomInRect(const TRect& A, const TRect& B);
