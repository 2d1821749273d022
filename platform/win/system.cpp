// System metrics and parameters, monitors, the clipboard and sounds.
#include "platform/win/system.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/gdi/capabilities.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;

namespace {

// The primary monitor first.
std::vector<TMonitorArea> Monitors() {
    const TCapabilities& caps = Capabilities();
    std::vector<TMonitorArea> monitors{{RECT{0, 0, caps.ScreenWidth, caps.ScreenHeight}, caps.WorkArea}};
    monitors.insert(monitors.end(), caps.OtherMonitors.begin(), caps.OtherMonitors.end());
    return monitors;
}

RECT VirtualScreen() {
    RECT all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TMonitorArea& m : Monitors())
        all = RECT{std::min(all.left, m.Bounds.left), std::min(all.top, m.Bounds.top),
                   std::max(all.right, m.Bounds.right), std::max(all.bottom, m.Bounds.bottom)};
    return all;
}

HMONITOR MonitorHandle(size_t AIndex) {
    return reinterpret_cast<HMONITOR>(AIndex + 1);
}

// The monitor a rectangle overlaps most; with none, by AFlags.
HMONITOR Choose(const RECT& ARect, DWORD AFlags) {
    const std::vector<TMonitorArea> monitors = Monitors();
    int64_t best = 0;
    size_t bestIndex = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const RECT& b = monitors[i].Bounds;
        const int64_t w = std::max(0, std::min(ARect.right, b.right) - std::max(ARect.left, b.left));
        const int64_t h = std::max(0, std::min(ARect.bottom, b.bottom) - std::max(ARect.top, b.top));
        if (w * h > best) {
            best = w * h;
            bestIndex = i;
        }
    }
    if (best > 0) return MonitorHandle(bestIndex);
    if (AFlags == MONITOR_DEFAULTTOPRIMARY) return MonitorHandle(0);
    if (AFlags != MONITOR_DEFAULTTONEAREST) return nullptr;
    int64_t nearest = INT64_MAX;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const RECT& b = monitors[i].Bounds;
        const int64_t dx =
            std::max({int64_t(b.left) - ARect.right + 1, int64_t(ARect.left) - b.right + 1, int64_t(0)});
        const int64_t dy =
            std::max({int64_t(b.top) - ARect.bottom + 1, int64_t(ARect.top) - b.bottom + 1, int64_t(0)});
        if (dx * dx + dy * dy < nearest) {
            nearest = dx * dx + dy * dy;
            bestIndex = i;
        }
    }
    return MonitorHandle(bestIndex);
}

}  // namespace

namespace win {

int GetSystemMetrics(int AIndex) {
    const TCapabilities& caps = Capabilities();
    const RECT work = caps.WorkArea;
    const RECT virt = VirtualScreen();
    switch (AIndex) {
        case SM_CXSCREEN:
            return caps.ScreenWidth;
        case SM_CYSCREEN:
            return caps.ScreenHeight;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
            return 17;
        case SM_CYCAPTION:
            return 22;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CYMENU:
            return 19;
        case SM_CXFULLSCREEN:
            return work.right - work.left;
        case SM_CYFULLSCREEN:
            return work.bottom - work.top - 22;
        case SM_SWAPBUTTON:
            return 0;
        case SM_CXMIN:
            return 124;
        case SM_CYMIN:
            return 36;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return 21;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXMINTRACK:
            return 136;
        case SM_CYMINTRACK:
            return 39;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
        case SM_CXDRAG:
        case SM_CYDRAG:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CYSMCAPTION:
            return 18;
        case SM_CXMAXTRACK:
            return virt.right - virt.left + 12;
        case SM_CYMAXTRACK:
            return virt.bottom - virt.top + 12;
        case SM_CXMAXIMIZED:
            return work.right - work.left + 8;
        case SM_CYMAXIMIZED:
            return work.bottom - work.top + 8;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        case SM_MOUSEWHEELPRESENT:
            return 1;
        case SM_XVIRTUALSCREEN:
            return virt.left;
        case SM_YVIRTUALSCREEN:
            return virt.top;
        case SM_CXVIRTUALSCREEN:
            return virt.right - virt.left;
        case SM_CYVIRTUALSCREEN:
            return virt.bottom - virt.top;
        case SM_CMONITORS:
            return int(Monitors().size());
        default:
            return 0;
    }
}

BOOL SystemParametersInfoW(UINT AAction, UINT, LPVOID AData, UINT) {
    if (!AData) return FALSE;
    switch (AAction) {
        case SPI_GETWORKAREA:
            *static_cast<RECT*>(AData) = Capabilities().WorkArea;
            return TRUE;
        case SPI_GETDRAGFULLWINDOWS:
            *static_cast<BOOL*>(AData) = Capabilities().DragFullWindows ? TRUE : FALSE;
            return TRUE;
        case SPI_GETWHEELSCROLLLINES:
            *static_cast<UINT*>(AData) = 3;
            return TRUE;
        default:
            return FALSE;
    }
}

HMONITOR MonitorFromWindow(HWND AWindow, DWORD AFlags) {
    RECT r;
    if (!GetWindowRect(AWindow, &r)) return nullptr;
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    return Choose(r, AFlags);
}

HMONITOR MonitorFromPoint(POINT APoint, DWORD AFlags) {
    return Choose(RECT{APoint.x, APoint.y, APoint.x + 1, APoint.y + 1}, AFlags);
}

HMONITOR MonitorFromRect(const RECT* ARect, DWORD AFlags) {
    return ARect ? Choose(*ARect, AFlags) : nullptr;
}

BOOL GetMonitorInfoW(HMONITOR AMonitor, MONITORINFO* AInfo) {
    const std::vector<TMonitorArea> monitors = Monitors();
    const uintptr_t index = reinterpret_cast<uintptr_t>(AMonitor);
    if (!AInfo || AInfo->cbSize < sizeof(MONITORINFO) || index == 0 || index > monitors.size()) return FALSE;
    AInfo->rcMonitor = monitors[index - 1].Bounds;
    AInfo->rcWork = monitors[index - 1].WorkArea;
    AInfo->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC ADC, const RECT* AClip, MONITORENUMPROC AProc, LPARAM AData) {
    if (ADC || AClip || !AProc) return FALSE;
    const std::vector<TMonitorArea> monitors = Monitors();
    for (size_t i = 0; i < monitors.size(); ++i) {
        RECT bounds = monitors[i].Bounds;
        if (!AProc(MonitorHandle(i), nullptr, &bounds, AData)) break;
    }
    return TRUE;
}

BOOL OpenClipboard(HWND) {
    winsys::State& s = winsys::Sys();
    if (s.ClipboardOpen) return FALSE;
    s.ClipboardOpen = true;
    return TRUE;
}

BOOL CloseClipboard() {
    winsys::State& s = winsys::Sys();
    if (!s.ClipboardOpen) return FALSE;
    s.ClipboardOpen = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!winsys::Sys().ClipboardOpen) return FALSE;
    winsys::BackendOf().SetClipboardText(String());
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT AFormat) {
    String text;
    return AFormat == CF_UNICODETEXT && winsys::BackendOf().GetClipboardText(text);
}

BOOL SetClipboardText(const String& AText) {
    if (!winsys::Sys().ClipboardOpen) return FALSE;
    winsys::BackendOf().SetClipboardText(AText);
    return TRUE;
}

String GetClipboardText() {
    String text;
    winsys::BackendOf().GetClipboardText(text);
    return text;
}

BOOL MessageBeep(UINT AType) {
    winsys::BackendOf().Beep(AType);
    return TRUE;
}

}  // namespace win
