// The memory back end: shows nothing and records what a display would have
// been asked to do, for the test driver. Its input comes only from the test
// on the GUI thread.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/win/backend.h"

namespace winsys {

struct MemoryWindowRecord {
    win::TTopLevelState State;
    std::optional<gdi::PixRegion> Shape;
    // Every constant alpha the window was given, uploads included, in order.
    std::vector<win::BYTE> AlphaHistory;
    int Uploads = 0;
    int Presents = 0;
};

class MemoryBackend : public win::TBackend {
public:
    void CreateTopLevel(win::HWND AWindow, const win::TTopLevelState& AState) override;
    void UpdateTopLevel(win::HWND AWindow, const win::TTopLevelState& AState) override;
    void DestroyTopLevel(win::HWND AWindow) override;
    void Restack(const std::vector<win::HWND>& ATopFirst) override;
    void Present(win::HWND AWindow, const gdi::Surface& ASurface, const gdi::PixRegion& ADirty) override;
    void SetShape(win::HWND AWindow, const gdi::PixRegion* AShape) override;
    void SetLayeredAlpha(win::HWND AWindow, win::BYTE AAlpha) override;
    void UploadLayered(win::HWND AWindow, const gdi::Surface& APremultiplied,
                       win::BYTE AConstantAlpha) override;
    void SetCapture(win::HWND ATopLevel) override { CaptureGrab = ATopLevel; }
    void SetActive(win::HWND ATopLevel) override { Focused = ATopLevel; }
    void SetCursor(win::HCURSOR ACursor) override { Cursor = ACursor; }
    uintptr_t CreateNativeChild(win::HWND AChild, win::HWND ATopLevel, const win::RECT& ARect) override;
    void MoveNativeChild(win::HWND AChild, const win::RECT& ARect, bool AVisible) override;
    void DestroyNativeChild(win::HWND AChild) override;
    void Wait(Cardinal ATimeout) override;
    void Wake() override;
    bool InputCanArrive() override { return false; }
    void SetClipboardText(const String& AText) override;
    bool GetClipboardText(String& AText) override;
    void Beep(win::UINT AType) override { Beeps.push_back(AType); }
    bool RecordOutsideAction(const win::TOutsideAction& AAction) override;
    std::vector<win::TOutsideAction> OutsideActions() const;
    bool TrayAdd(const win::TTrayIcon& AIcon) override;
    bool TrayModify(const win::TTrayIcon& AIcon) override;
    bool TrayDelete(win::HWND AWindow, win::UINT AId) override;

    std::map<win::HWND, MemoryWindowRecord> Windows;
    std::vector<win::HWND> Stacking;
    struct NativeChild {
        win::RECT Rect;
        bool Visible;
    };
    std::map<win::HWND, NativeChild> NativeChildren;
    win::HWND CaptureGrab = nullptr;
    win::HWND Focused = nullptr;
    win::HCURSOR Cursor = nullptr;
    std::vector<win::UINT> Beeps;
    std::optional<String> Clipboard;
    // The icons in the notification area, and every call in order ("add",
    // "modify", "delete" with the record as sent).
    std::vector<win::TTrayIcon> TrayIcons;
    std::vector<std::pair<std::string, win::TTrayIcon>> TrayCalls;
    bool TrayAvailable = true;

private:
    // Outside actions may be asked for on any thread.
    mutable std::mutex FActionsLock;
    std::vector<win::TOutsideAction> FOutsideActions;
    std::mutex FLock;
    std::condition_variable_any FWoken;
    bool FWakePending = false;
};

std::unique_ptr<win::TBackend> MakeMemoryBackend();

}  // namespace winsys
