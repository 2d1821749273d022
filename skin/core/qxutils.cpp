#include "skin/core/qxutils.h"

#include "platform/gdi/capabilities.h"

TMonitorFromWindowProc MonitorFromWindowProc = nullptr;
TGetMonitorInfoProc GetMonitorInfoProc = nullptr;
TGetScrollBarInfoProc GetScrollBarInfoProc = nullptr;
TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc = nullptr;
TUpdateLayeredWindowProc UpdateLayeredWindowProc = nullptr;
TDwmIsCompositionEnabledProc DwmIsCompositionEnabledProc = nullptr;
TDwmSetWindowAttributeProc DwmSetWindowAttributeProc = nullptr;
TDwmEnableBlurBehindWindowProc DwmEnableBlurBehindWindowProc = nullptr;

namespace {

// The platform's entry points as ACaps says, or none without a table.
void BindEntryPoints(const win::TCapabilities* ACaps) {
    const auto offered = [&](bool win::TCapabilities::*AEntry) { return ACaps && ACaps->*AEntry; };
    MonitorFromWindowProc =
        offered(&win::TCapabilities::HasMonitorFromWindow) ? &win::MonitorFromWindow : nullptr;
    GetMonitorInfoProc = offered(&win::TCapabilities::HasGetMonitorInfo) ? &win::GetMonitorInfoW : nullptr;
    SetLayeredWindowAttributesProc = offered(&win::TCapabilities::HasSetLayeredWindowAttributes)
                                         ? &win::SetLayeredWindowAttributes
                                         : nullptr;
    UpdateLayeredWindowProc =
        offered(&win::TCapabilities::HasUpdateLayeredWindow) ? &win::UpdateLayeredWindow : nullptr;
    GetScrollBarInfoProc = nullptr;
    DwmIsCompositionEnabledProc = nullptr;
    DwmSetWindowAttributeProc = nullptr;
    DwmEnableBlurBehindWindowProc = nullptr;
}

}  // namespace

void LoadPlatformEntryPoints() {
    BindEntryPoints(&win::Capabilities());
}

void FreePlatformEntryPoints() {
    BindEntryPoints(nullptr);
}

namespace {

// Before any form exists.
struct TEntryPointsStartup {
    TEntryPointsStartup() { LoadPlatformEntryPoints(); }
    ~TEntryPointsStartup() { FreePlatformEntryPoints(); }
} EntryPointsStartup;

}  // namespace

bool IsWindows7(Byte AMajor, Byte AMinor) {
    return AMajor == 6 && AMinor == 1;
}

bool IsWindows8OrLater(Byte AMajor, Byte AMinor) {
    return (AMajor == 6 && AMinor == 2) || AMajor > 6;
}

bool IsVistaOrLater(Byte AMajor, Byte) {
    return AMajor > 5;
}

bool IsXPOrLater(Byte AMajor, Byte AMinor) {
    return AMajor > 5 || (AMajor == 5 && AMinor == 1);
}

bool IsLayeredWindowsVersion(Byte AMajor, Byte AMinor) {
    return AMajor > 5 || (AMajor == 5 && AMinor <= 2);
}

bool IsWindows7() {
    return IsWindows7(win::Capabilities().MajorVersion, win::Capabilities().MinorVersion);
}

bool IsWindows8OrLater() {
    return IsWindows8OrLater(win::Capabilities().MajorVersion, win::Capabilities().MinorVersion);
}

bool IsVistaOrLater() {
    return IsVistaOrLater(win::Capabilities().MajorVersion, win::Capabilities().MinorVersion);
}

bool IsXPOrLater() {
    return IsXPOrLater(win::Capabilities().MajorVersion, win::Capabilities().MinorVersion);
}

// The back end decides after start-up (an X display without a compositor
// clears the layered entries), so the table is read here, not only the
// entry points found at start-up.
bool IsLayeredWindowsAvailable() {
    const win::TCapabilities& caps = win::Capabilities();
    return IsLayeredWindowsVersion(caps.MajorVersion, caps.MinorVersion) && SetLayeredWindowAttributesProc &&
           UpdateLayeredWindowProc && caps.HasSetLayeredWindowAttributes && caps.HasUpdateLayeredWindow;
}

bool IsDwmCompositionEnabled() {
    win::BOOL enabled = FALSE;
    return DwmIsCompositionEnabledProc && DwmIsCompositionEnabledProc(&enabled) >= 0 && enabled;
}

win::BOOL SkinGetScrollBarInfo(win::HWND AWindow, win::LONG AObject, SCROLLBARINFO* AInfo) {
    if (GetScrollBarInfoProc) return GetScrollBarInfoProc(AWindow, AObject, AInfo);
    AInfo->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return FALSE;
}

void SetWindowAlpha(win::HWND AWindow, Byte AAlpha) {
    if (SetLayeredWindowAttributesProc) SetLayeredWindowAttributesProc(AWindow, 0, AAlpha, win::LWA_ALPHA);
}

void EnableDwmTransitions(win::HWND AWindow, bool AEnable) {
    if (!DwmSetWindowAttributeProc) return;
    const win::BOOL disabled = AEnable ? 0 : -1;
    DwmSetWindowAttributeProc(AWindow, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

void EnableDwmBlurBehind(win::HWND AWindow, bool AEnable, win::HRGN ARegion) {
    if (!DwmEnableBlurBehindWindowProc) return;
    const DWM_BLURBEHIND blur{ARegion ? DWM_BB_ENABLE | DWM_BB_BLURREGION : DWM_BB_ENABLE, AEnable ? -1 : 0,
                              ARegion, 0};
    DwmEnableBlurBehindWindowProc(AWindow, &blur);
}

void GetScreenWorkArea(bool AWorkArea, TRect& ARect) {
    if (AWorkArea) {
        win::RECT area{};
        win::SystemParametersInfo(win::SPI_GETWORKAREA, 0, &area, 0);
        ARect = ToTRect(area);
    } else {
        ARect = Rect(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN));
    }
}

void GetMonitorWorkArea(win::HWND AWindow, bool AWorkArea, TRect& ARect) {
    if (win::GetSystemMetrics(win::SM_CMONITORS) <= 1 || !MonitorFromWindowProc || !GetMonitorInfoProc)
        return GetScreenWorkArea(AWorkArea, ARect);
    win::MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoProc(MonitorFromWindowProc(AWindow, win::MONITOR_DEFAULTTONEAREST), &info))
        ARect = ToTRect(AWorkArea ? info.rcWork : info.rcMonitor);
}

bool HasMultipleMonitors() {
    return win::GetSystemMetrics(win::SM_CMONITORS) > 1 && GetMonitorInfoProc;
}

Integer GetSkinRectWidth(const TRect& ARect) {
    return ARect.Right - ARect.Left;
}

Integer GetSkinRectHeight(const TRect& ARect) {
    return ARect.Bottom - ARect.Top;
}

bool SameRect(const TRect& A, const TRect& B) {
    return A == B;
}

void ClearRect(TRect& ARect) {
    ARect = TRect{};
}

bool IsRectDegenerate(const TRect& ARect) {
    return GetSkinRectWidth(ARect) <= 0 || GetSkinRectHeight(ARect) <= 0;
}

bool IsPointUnset(const TPoint& APoint) {
    return APoint.X == 0 || APoint.Y == 0;
}

bool PointInsideRect(const TRect& ARect, const TPoint& APoint) {
    return APoint.X >= ARect.Left && APoint.X <= ARect.Right && APoint.Y >= ARect.Top &&
           APoint.Y <= ARect.Bottom;
}

namespace {

// Right and bottom edges excluded.
bool InRect(const TRect& ARect, Integer X, Integer Y) {
    return X >= ARect.Left && X < ARect.Right && Y >= ARect.Top && Y < ARect.Bottom;
}

}  // namespace

bool RectInRect(const TRect& A, const TRect& B) {
    return InRect(B, A.Left, A.Top) && InRect(B, A.Right, A.Bottom);
}

bool RectTopOrBottomInRect(const TRect& A, const TRect& B) {
    return InRect(B, B.Left + 1, A.Top) || InRect(B, B.Right - 1, A.Bottom);
}
