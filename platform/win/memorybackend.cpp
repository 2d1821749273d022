#include "platform/win/memorybackend.h"

#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"

using namespace win;

namespace winsys {

void MemoryBackend::CreateTopLevel(HWND AWindow, const TTopLevelState& AState) {
    Windows[AWindow].State = AState;
}

void MemoryBackend::UpdateTopLevel(HWND AWindow, const TTopLevelState& AState) {
    Windows[AWindow].State = AState;
}

void MemoryBackend::DestroyTopLevel(HWND AWindow) {
    Windows.erase(AWindow);
}

void MemoryBackend::Restack(const std::vector<HWND>& ATopFirst) {
    Stacking = ATopFirst;
}

void MemoryBackend::Present(HWND AWindow, const gdi::Surface&, const gdi::PixRegion&) {
    ++Windows[AWindow].Presents;
}

void MemoryBackend::SetShape(HWND AWindow, const gdi::PixRegion* AShape) {
    if (AShape)
        Windows[AWindow].Shape = *AShape;
    else
        Windows[AWindow].Shape.reset();
}

void MemoryBackend::SetLayeredAlpha(HWND AWindow, BYTE AAlpha) {
    Windows[AWindow].AlphaHistory.push_back(AAlpha);
}

void MemoryBackend::UploadLayered(HWND AWindow, const gdi::Surface&, BYTE AConstantAlpha) {
    MemoryWindowRecord& record = Windows[AWindow];
    ++record.Uploads;
    record.AlphaHistory.push_back(AConstantAlpha);
}

uintptr_t MemoryBackend::CreateNativeChild(HWND AChild, HWND, const RECT& ARect) {
    NativeChildren[AChild] = NativeChild{ARect, false};
    // Any stable non-zero id will do.
    return 0x200000 + reinterpret_cast<uintptr_t>(AChild);
}

void MemoryBackend::MoveNativeChild(HWND AChild, const RECT& ARect, bool AVisible) {
    NativeChildren[AChild] = NativeChild{ARect, AVisible};
}

void MemoryBackend::DestroyNativeChild(HWND AChild) {
    NativeChildren.erase(AChild);
}

void MemoryBackend::Wait(Cardinal ATimeout) {
    std::unique_lock<std::mutex> lock(FLock);
    WaitForCondition(
        lock, FWoken, [this] { return FWakePending; }, ATimeout);
    FWakePending = false;
}

void MemoryBackend::Wake() {
    std::lock_guard<std::mutex> lock(FLock);
    FWakePending = true;
    FWoken.notify_all();
}

bool MemoryBackend::RecordOutsideAction(const win::TOutsideAction& AAction) {
    std::lock_guard lock(FActionsLock);
    FOutsideActions.push_back(AAction);
    return true;
}

bool MemoryBackend::TrayAdd(const win::TTrayIcon& AIcon) {
    TrayCalls.emplace_back("add", AIcon);
    if (!TrayAvailable) return false;
    for (const win::TTrayIcon& icon : TrayIcons)
        if (icon.Window == AIcon.Window && icon.Id == AIcon.Id) return false;
    TrayIcons.push_back(AIcon);
    return true;
}

bool MemoryBackend::TrayModify(const win::TTrayIcon& AIcon) {
    TrayCalls.emplace_back("modify", AIcon);
    if (!TrayAvailable) return false;
    for (win::TTrayIcon& icon : TrayIcons)
        if (icon.Window == AIcon.Window && icon.Id == AIcon.Id) {
            icon = AIcon;
            return true;
        }
    return false;
}

bool MemoryBackend::TrayDelete(win::HWND AWindow, win::UINT AId) {
    win::TTrayIcon call;
    call.Window = AWindow;
    call.Id = AId;
    TrayCalls.emplace_back("delete", call);
    if (!TrayAvailable) return false;
    for (auto it = TrayIcons.begin(); it != TrayIcons.end(); ++it)
        if (it->Window == AWindow && it->Id == AId) {
            TrayIcons.erase(it);
            return true;
        }
    return false;
}

std::vector<win::TOutsideAction> MemoryBackend::OutsideActions() const {
    std::lock_guard lock(FActionsLock);
    return FOutsideActions;
}

void MemoryBackend::SetClipboardText(const String& AText) {
    if (AText.empty())
        Clipboard.reset();
    else
        Clipboard = AText;
}

bool MemoryBackend::GetClipboardText(String& AText) {
    if (!Clipboard) return false;
    AText = *Clipboard;
    return true;
}

std::unique_ptr<TBackend> MakeMemoryBackend() {
    return std::make_unique<MemoryBackend>();
}

}  // namespace winsys
