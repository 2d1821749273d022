// Installing a back end and what back ends report.
#include "platform/win/backend.h"

#include "platform/gdi/capabilities.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace win;
using namespace winsys;

namespace win {

void InstallBackend(std::unique_ptr<TBackend> ABackend) {
    if (!ABackend) return;
    DestroyAll();
    State& s = Sys();
    {
        std::lock_guard<std::mutex> lock(s.Posted.Lock);
        s.Posted.Messages.clear();
        s.Posted.Quit = false;
    }
    s.Input.clear();
    s.Routed.clear();
    s.KeyText.clear();
    s.Timers.clear();
    s.DCHolders.clear();
    s.Active = s.Focus = s.Capture = s.MouseWindow = nullptr;
    s.Cursor = POINT{};
    s.PointerByWindow = false;
    s.PointerTop = nullptr;
    s.CursorShape = nullptr;
    s.Keys.fill(0);
    s.AsyncKeys.fill(0);
    s.LoneAlt = s.LoneAltReleased = false;
    s.LastClick = ClickRecord{};
    s.LastMessage = MSG{};
    s.ClipboardOpen = false;
    s.Backend.store(std::shared_ptr<TBackend>(std::move(ABackend)));
}

TBackend& Backend() {
    return BackendOf();
}

bool TopLevelPixels(HWND AWindow, gdi::Surface& APixels) {
    Window* w = Find(AWindow);
    if (!w || !IsTopLevel(*w)) return false;
    if (!w->HasUpload) {
        APixels = w->Surface;
        return true;
    }
    APixels = gdi::Surface{};
    APixels.Bits = reinterpret_cast<uint8_t*>(w->Upload.data());
    APixels.Width = w->UploadSize.cx;
    APixels.Height = w->UploadSize.cy;
    APixels.Stride = w->UploadSize.cx * 4;
    APixels.HasAlpha = true;
    return true;
}

void ReportMoved(HWND AWindow, const RECT& ABounds) {
    Window* w = Find(AWindow);
    if (!w || !IsTopLevel(*w)) return;
    SetPos(w, nullptr, ABounds.left, ABounds.top, ABounds.right - ABounds.left, ABounds.bottom - ABounds.top,
           SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReportCloseRequest(HWND AWindow) {
    PostMessageW(AWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ReportMinimizeRequest(HWND AWindow) {
    SendMessageW(AWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void ReportNativeExposed(HWND AWindow, const RECT& ARect) {
    InvalidateRect(AWindow, &ARect, FALSE);
}

void ReportRestoreRequest(HWND AWindow) {
    SendMessageW(AWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void ReportStacking(const std::vector<HWND>& ATopFirst) {
    std::vector<Window*>& list = TopLevels();
    std::vector<Window*> named;
    for (HWND h : ATopFirst)
        if (Window* w = Find(h)) named.push_back(w);
    TakePlaces(list, named);
    std::stable_partition(list.begin(), list.end(),
                          [](const Window* W) { return (W->ExStyle & WS_EX_TOPMOST) != 0; });
}

void ReportAppFocus(HWND AWindow) {
    Window* w = Find(AWindow);
    Window* top = w ? TopLevelOf(w) : nullptr;
    Window* popup = top && !IsEnabledChain(*top) ? EnabledPopupOf(*top) : nullptr;
    Activate(popup ? popup : top, WA_ACTIVE);
    // The display focused the window the modal one keeps disabled.
    if (popup && Sys().Active == popup->Handle) Backend().SetActive(popup->Handle);
}

void ReportDisplayChange() {
    const TCapabilities& caps = Capabilities();
    SendMessageW(HWND_BROADCAST, WM_DISPLAYCHANGE, WPARAM(caps.ScreenBitsPerPixel),
                 MAKELPARAM(WORD(caps.ScreenWidth), WORD(caps.ScreenHeight)));
}

}  // namespace win
