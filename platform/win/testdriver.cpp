#include "platform/win/testdriver.h"

#include "platform/base/clock.h"
#include "platform/base/mainthread.h"
#include "platform/base/sysutils.h"
#include "platform/win/backend.h"
#include "platform/win/input.h"
#include "platform/win/memorybackend.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"
#include "platform/win/winsys.h"

using namespace winsys;

namespace win::driver {

namespace {

MemoryBackend& Memory() {
    return dynamic_cast<MemoryBackend&>(BackendOf());
}

bool Down(BYTE AKey) {
    return (Sys().AsyncKeys[AKey] & 0x80) != 0;
}

String KeyText(BYTE AKey) {
    const bool shift = Down(VK_SHIFT);
    if (Down(VK_CONTROL)) return AKey >= 'A' && AKey <= 'Z' ? String(1, char16_t(AKey - 'A' + 1)) : String();
    if (AKey >= 'A' && AKey <= 'Z') {
        const bool upper = shift != ((Sys().AsyncKeys[VK_CAPITAL] & 0x01) != 0);
        return String(1, char16_t(upper ? AKey : AKey + 32));
    }
    if (AKey >= '0' && AKey <= '9') return String(1, shift ? u")!@#$%^&*("[AKey - '0'] : char16_t(AKey));
    if (AKey >= VK_NUMPAD0 && AKey <= VK_NUMPAD0 + 9) return String(1, char16_t(u'0' + AKey - VK_NUMPAD0));
    switch (AKey) {
        case VK_SPACE:
            return u" ";
        case VK_RETURN:
            return u"\r";
        case VK_TAB:
            return u"\t";
        case VK_BACK:
            return u"\b";
        case VK_ESCAPE:
            return u"\x1b";
        default:
            return {};
    }
}

// AReceiver: the top-level window a display says received the event.
void QueueMouse(TInputEvent::TKind AKind, POINT APoint, BYTE AButton, int ADelta,
                std::optional<HWND> AReceiver = std::nullopt) {
    TInputEvent event;
    event.Kind = AKind;
    event.Point = APoint;
    event.Button = AButton;
    event.WheelDelta = ADelta;
    event.ByWindow = AReceiver.has_value();
    event.Window = AReceiver.value_or(nullptr);
    QueueInput(event);
}

void QueueKey(TInputEvent::TKind AKind, BYTE AKey, String AText) {
    TInputEvent event;
    event.Kind = AKind;
    event.Key = AKey;
    event.Text = std::move(AText);
    QueueInput(event);
}

Window* Checked(HWND AWindow) {
    Window* w = Find(AWindow);
    if (!w) throw EAssertionFailed(u"Not a window");
    return w;
}

// The pixel of a top-level window at window coordinates, alpha included.
bool ReadTopLevel(const Window& ATop, int X, int Y, gdi::Pixel& APixel) {
    gdi::Surface pixels;
    if (!TopLevelPixels(ATop.Handle, pixels) || X < 0 || Y < 0 || X >= pixels.Width || Y >= pixels.Height)
        return false;
    APixel = gdi::ReadPixel(pixels, X, Y);
    return true;
}

}  // namespace

void Reset(Cardinal AStart) {
    InstallBackend(MakeMemoryBackend());
    ResetCapabilities();
    UseTestClock(AStart);
}

int Pump() {
    constexpr int Limit = 100000;
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the loop the test runs next.
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (++count > Limit) throw EAssertionFailed(u"The message queue never empties");
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Present();
    return count;
}

void AdvanceTime(Cardinal AMilliseconds) {
    const Cardinal target = PeekTickCount() + AMilliseconds;
    while (FireNextTimer(target))
        Pump();
    const Cardinal now = PeekTickCount();
    if (int32_t(target - now) > 0) AdvanceClock(target - now);
    Pump();
}

void MouseMove(POINT AScreen) {
    QueueMouse(TInputEvent::ieMouseMove, AScreen, 0, 0);
}

void MouseDown(POINT AScreen, BYTE AButton) {
    QueueMouse(TInputEvent::ieButtonDown, AScreen, AButton, 0);
}

void MouseUp(POINT AScreen, BYTE AButton) {
    QueueMouse(TInputEvent::ieButtonUp, AScreen, AButton, 0);
}

void Click(POINT AScreen, BYTE AButton) {
    MouseDown(AScreen, AButton);
    MouseUp(AScreen, AButton);
}

void ClickIn(HWND ATopLevel, POINT AScreen) {
    QueueMouse(TInputEvent::ieButtonDown, AScreen, VK_LBUTTON, 0, ATopLevel);
    QueueMouse(TInputEvent::ieButtonUp, AScreen, VK_LBUTTON, 0, ATopLevel);
}

void Wheel(POINT AScreen, int ADelta) {
    QueueMouse(TInputEvent::ieWheel, AScreen, 0, ADelta);
}

void KeyDown(BYTE AKey) {
    QueueKey(TInputEvent::ieKeyDown, AKey, KeyText(AKey));
}

void KeyUp(BYTE AKey) {
    QueueKey(TInputEvent::ieKeyUp, AKey, {});
}

void Key(BYTE AKey) {
    KeyDown(AKey);
    KeyUp(AKey);
}

void Text(const String& AText) {
    QueueKey(TInputEvent::ieText, 0, AText);
}

TWindowInfo Inspect(HWND AWindow) {
    Window* w = Checked(AWindow);
    TWindowInfo info;
    info.Bounds = ScreenRect(*w);
    const POINT client = ClientOrigin(*w);
    info.Client = RECT{client.x, client.y, client.x + (w->Client.right - w->Client.left),
                       client.y + (w->Client.bottom - w->Client.top)};
    info.Visible = IsWindowVisible(AWindow);
    info.Style = w->Style;
    info.ExStyle = w->ExStyle;
    info.ClassStyle = w->Class->Style;
    info.Parent = w->Parent ? w->Parent->Handle : nullptr;
    info.Owner = w->Owner ? w->Owner->Handle : nullptr;
    info.Text = w->Text;
    return info;
}

std::vector<HWND> Stacking() {
    std::vector<HWND> result;
    for (Window* w : TopLevels())
        result.push_back(w->Handle);
    return result;
}

std::vector<HWND> Children(HWND AWindow) {
    std::vector<HWND> result;
    for (Window* c : Checked(AWindow)->Children)
        result.push_back(c->Handle);
    return result;
}

std::optional<gdi::PixRegion> WindowRegion(HWND AWindow) {
    Window* w = Checked(AWindow);
    if (!w->HasRegion) return std::nullopt;
    return w->Region;
}

COLORREF Pixel(HWND AWindow, int X, int Y) {
    Window* w = Checked(AWindow);
    if (X < 0 || Y < 0 || X >= w->Client.right - w->Client.left || Y >= w->Client.bottom - w->Client.top)
        return CLR_INVALID;
    const POINT origin = SurfaceOrigin(*w);
    gdi::Pixel pixel;
    if (!ReadTopLevel(*TopLevelOf(w), origin.x + w->Client.left + X, origin.y + w->Client.top + Y, pixel))
        return CLR_INVALID;
    return gdi::PixelToColor(pixel & gdi::ColorMask);
}

DWORD RawPixel(HWND ATopLevel, int X, int Y) {
    gdi::Pixel pixel = 0;
    ReadTopLevel(*TopLevelOf(Checked(ATopLevel)), X, Y, pixel);
    return pixel;
}

TLayeredInfo Layered(HWND AWindow) {
    Window* w = Checked(AWindow);
    TLayeredInfo info;
    info.Layered = (w->ExStyle & WS_EX_LAYERED) != 0;
    info.Alpha = w->Alpha;
    info.UploadSize = w->UploadSize;
    info.UploadAlpha = w->UploadAlpha;
    const auto it = Memory().Windows.find(AWindow);
    if (it != Memory().Windows.end()) {
        info.AlphaHistory = it->second.AlphaHistory;
        info.Uploads = it->second.Uploads;
    }
    return info;
}

void SetMonitors(const std::vector<TMonitorArea>& AMonitors) {
    if (AMonitors.empty()) return;
    TCapabilities& caps = Capabilities();
    const RECT primary = AMonitors.front().Bounds;
    caps.ScreenWidth = primary.right - primary.left;
    caps.ScreenHeight = primary.bottom - primary.top;
    caps.WorkArea = AMonitors.front().WorkArea;
    caps.OtherMonitors.assign(AMonitors.begin() + 1, AMonitors.end());
    ReportDisplayChange();
}

void SetScreenDepth(int ABitsPerPixel) {
    Capabilities().ScreenBitsPerPixel = ABitsPerPixel;
    ReportDisplayChange();
}

std::optional<String> Clipboard() {
    return Memory().Clipboard;
}

void SetClipboard(const String& AText) {
    Memory().SetClipboardText(AText);
}

std::vector<UINT> Beeps() {
    return Memory().Beeps;
}

std::vector<TShellOpen> ShellOpens() {
    std::vector<TShellOpen> out;
    for (const TOutsideAction& action : Memory().OutsideActions())
        if (action.Kind == TOutsideAction::oaOpen) out.push_back({action.Verb, action.Target});
    return out;
}

std::vector<String> Sounds() {
    std::vector<String> out;
    for (const TOutsideAction& action : Memory().OutsideActions())
        if (action.Kind == TOutsideAction::oaSound) out.push_back(action.Target);
    return out;
}

int PowerOffs() {
    int count = 0;
    for (const TOutsideAction& action : Memory().OutsideActions())
        count += action.Kind == TOutsideAction::oaPowerOff;
    return count;
}

std::vector<TTrayIcon> TrayIcons() {
    return Memory().TrayIcons;
}

std::vector<std::pair<std::string, TTrayIcon>> TrayCalls() {
    return Memory().TrayCalls;
}

void SetTrayAvailable(bool AAvailable) {
    Memory().TrayAvailable = AAvailable;
}

void TrayNotify(UINT AMouseMessage, POINT AScreen, size_t AIcon) {
    const std::vector<TTrayIcon>& icons = Memory().TrayIcons;
    if (AIcon >= icons.size()) throw EAssertionFailed(u"No such tray icon");
    const TTrayIcon icon = icons[AIcon];
    MouseMove(AScreen);
    Pump();
    PostMessageW(icon.Window, icon.CallbackMessage, icon.Id, LPARAM(AMouseMessage));
    Pump();
}

void TrayRestarted() {
    Memory().TrayIcons.clear();
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(u"TaskbarCreated"), 0, 0);
    Pump();
}

HCURSOR Cursor() {
    return Memory().Cursor;
}

HWND PointerGrab() {
    return Memory().CaptureGrab;
}

bool ShownOnScreen(HWND ATopLevel) {
    const auto it = Memory().Windows.find(ATopLevel);
    return it != Memory().Windows.end() && it->second.State.Visible && !it->second.State.Minimized;
}

TTopLevelState DisplayState(HWND ATopLevel) {
    const auto it = Memory().Windows.find(ATopLevel);
    return it == Memory().Windows.end() ? TTopLevelState{} : it->second.State;
}

HWND DisplayFocus() {
    return Memory().Focused;
}

int Presents(HWND ATopLevel) {
    const auto it = Memory().Windows.find(ATopLevel);
    return it == Memory().Windows.end() ? 0 : it->second.Presents;
}

bool NativeChild(HWND AWindow, RECT& ARect, bool& AVisible) {
    const auto it = Memory().NativeChildren.find(AWindow);
    if (it == Memory().NativeChildren.end()) return false;
    ARect = it->second.Rect;
    AVisible = it->second.Visible;
    return true;
}

void MinimizeFromTaskBar(HWND AWindow) {
    ReportMinimizeRequest(AWindow);
}

void RestoreFromTaskBar(HWND AWindow) {
    ReportRestoreRequest(AWindow);
}

void CloseFromTaskBar(HWND AWindow) {
    ReportCloseRequest(AWindow);
}

void WindowManagerStacks(const std::vector<HWND>& ATopFirst) {
    ReportStacking(ATopFirst);
}

void WindowManagerFocus(HWND AWindow) {
    ReportAppFocus(AWindow);
}

}  // namespace win::driver
