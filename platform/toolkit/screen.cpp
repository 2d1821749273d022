// TScreen: the forms in focus order, the desktop, monitors and cursors.
#include <algorithm>

#include "platform/base/listhelpers.h"

#include "platform/toolkit/forms.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/system.h"

using namespace win;

namespace {

TMonitor MonitorOf(HMONITOR AHandle, Integer ANumber) {
    TMonitor monitor;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!AHandle || !GetMonitorInfoW(AHandle, &info)) return monitor;
    monitor.Handle = AHandle;
    monitor.MonitorNum = ANumber;
    monitor.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    monitor.BoundsRect = ToTRect(info.rcMonitor);
    monitor.WorkareaRect = ToTRect(info.rcWork);
    return monitor;
}

std::vector<HMONITOR> AllMonitors() {
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR AMonitor, HDC, RECT*, LPARAM AData) -> BOOL {
            reinterpret_cast<std::vector<HMONITOR>*>(AData)->push_back(AMonitor);
            return TRUE;
        },
        LPARAM(&monitors));
    return monitors;
}

}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

void TScreen::AddForm(TCustomForm* AForm) {
    FForms.push_back(AForm);
}

void TScreen::RemoveForm(TCustomForm* AForm) {
    std::erase(FForms, AForm);
    std::erase(FSaveFocusedList, AForm);
    if (FActiveCustomForm == AForm) {
        FActiveCustomForm = nullptr;
        FActiveControl = nullptr;
    }
    if (FFocusedForm == AForm) FFocusedForm = nullptr;
}

void TScreen::FormFocused(TCustomForm* AForm, TWinControl* AControl) {
    FActiveControl = AControl;
    FActiveCustomForm = AForm;
    const auto it = std::find(FForms.begin(), FForms.end(), AForm);
    if (it != FForms.end()) std::rotate(FForms.begin(), it, it + 1);
}

Integer TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

Integer TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::DesktopRect() const {
    return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return ToTRect(work);
}

Integer TScreen::MonitorCount() const {
    return GetSystemMetrics(SM_CMONITORS);
}

TMonitor TScreen::Monitors(Integer AIndex) const {
    const std::vector<HMONITOR> monitors = AllMonitors();
    if (AIndex < 0 || size_t(AIndex) >= monitors.size()) throw EListError(SListIndexError, {AIndex});
    return MonitorOf(monitors[size_t(AIndex)], AIndex);
}

TMonitor TScreen::MonitorFromWindow(HWND AWindow) const {
    const HMONITOR handle = win::MonitorFromWindow(AWindow, MONITOR_DEFAULTTONEAREST);
    const std::vector<HMONITOR> monitors = AllMonitors();
    const auto it = std::find(monitors.begin(), monitors.end(), handle);
    return MonitorOf(handle, it == monitors.end() ? 0 : Integer(it - monitors.begin()));
}

void TScreen::SetCursor(TCursor AValue) {
    if (AValue == FCursor) return;
    FCursor = AValue;
    if (AValue != crDefault) {
        win::SetCursor(Cursors(AValue));
        return;
    }
    // Back to whatever the window under the mouse shows.
    POINT p;
    GetCursorPos(&p);
    if (const HWND window = WindowFromPoint(p))
        SendMessageW(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(WORD(HTCLIENT), WORD(WM_MOUSEMOVE)));
}

HCURSOR TScreen::Cursors(TCursor AIndex) const {
    LPCWSTR name = IDC_ARROW;
    switch (AIndex) {
        case crNone:
            return nullptr;
        case crCross:
            name = IDC_CROSS;
            break;
        case crIBeam:
            name = IDC_IBEAM;
            break;
        case crSizeNESW:
            name = IDC_SIZENESW;
            break;
        case crSizeNS:
        case crVSplit:
            name = IDC_SIZENS;
            break;
        case crSizeNWSE:
            name = IDC_SIZENWSE;
            break;
        case crSizeWE:
        case crHSplit:
            name = IDC_SIZEWE;
            break;
        case crUpArrow:
            name = IDC_UPARROW;
            break;
        case crHourGlass:
            name = IDC_WAIT;
            break;
        case crNo:
            name = IDC_NO;
            break;
        case crAppStart:
            name = IDC_APPSTARTING;
            break;
        case crHelp:
            name = IDC_HELP;
            break;
        case crHandPoint:
            name = IDC_HAND;
            break;
        case crSizeAll:
            name = IDC_SIZEALL;
            break;
        default:
            break;
    }
    return LoadCursorW(nullptr, name);
}
