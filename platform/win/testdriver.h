// The test driver of the memory back end: a fresh desktop per test, input at
// screen points and to the focus, the clock, the pump, every window's pixels
// and state, the screen, and what the back end recorded.
//
// Input calls queue raw events; Pump (or any message loop) routes and
// dispatches them. Nothing ever sleeps: time moves only by AdvanceTime.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/capabilities.h"
#include "platform/gdi/pixregion.h"
#include "platform/win/backend.h"
#include "platform/win/wintypes.h"

namespace win::driver {

// Installs a fresh memory back end (every window destroyed, queues, timers,
// focus, capture and key state cleared), resets the capability table and
// starts the test clock at AStart.
void Reset(Cardinal AStart = 1000);

// Dispatches until nothing is pending (posted messages, input, paints,
// fired timers); returns the number of messages dispatched. Throws
// EAssertionFailed when a window keeps the queue busy without end.
int Pump();
// Moves the test clock: every timer due on the way fires at its due time,
// in order, and the queue is pumped after each.
void AdvanceTime(Cardinal AMilliseconds);

void MouseMove(POINT AScreen);
void MouseDown(POINT AScreen, BYTE AButton = 0x01);
void MouseUp(POINT AScreen, BYTE AButton = 0x01);
// Down and up at the same point.
void Click(POINT AScreen, BYTE AButton = 0x01);
// A left click that the display delivers to ATopLevel's own window, as a
// display reports the window the user clicked (whatever the layer's order
// has at the point).
void ClickIn(HWND ATopLevel, POINT AScreen);
void Wheel(POINT AScreen, int ADelta);
// The text a key gives (WM_CHAR after TranslateMessage) follows the key
// and the Shift, Ctrl and Caps Lock state: letters, digits, space, Return,
// Tab, Backspace and Escape.
void KeyDown(BYTE AKey);
void KeyUp(BYTE AKey);
void Key(BYTE AKey);
// Characters straight to the focus window, as an input method gives them.
void Text(const String& AText);

struct TWindowInfo {
    RECT Bounds{};
    RECT Client{};  // screen coordinates
    bool Visible = false;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    UINT ClassStyle = 0;
    HWND Parent = nullptr;
    HWND Owner = nullptr;
    String Text;
};
TWindowInfo Inspect(HWND AWindow);
// Top-level windows, top first; the children of a window, top first.
std::vector<HWND> Stacking();
std::vector<HWND> Children(HWND AWindow);
// The window region in window coordinates, none without one.
std::optional<gdi::PixRegion> WindowRegion(HWND AWindow);

// The colour at a client point of any window: what its top-level window's
// surface holds there, or the layered upload where there is one.
// CLR_INVALID outside the window.
COLORREF Pixel(HWND AWindow, int X, int Y);
// A top-level window's pixel in window coordinates with its alpha byte.
DWORD RawPixel(HWND ATopLevel, int X, int Y);

struct TLayeredInfo {
    bool Layered = false;
    // SetLayeredWindowAttributes' alpha; 255 before any.
    BYTE Alpha = 255;
    // Every alpha the window was given, uploads' constant alphas included.
    std::vector<BYTE> AlphaHistory;
    int Uploads = 0;
    SIZE UploadSize{};
    BYTE UploadAlpha = 255;
};
TLayeredInfo Layered(HWND AWindow);

// Monitors, the primary first (at (0, 0)); WM_DISPLAYCHANGE follows.
void SetMonitors(const std::vector<TMonitorArea>& AMonitors);
void SetScreenDepth(int ABitsPerPixel);

// What the back end was asked to do.
std::optional<String> Clipboard();
// Another program puts text on the clipboard.
void SetClipboard(const String& AText);
std::vector<UINT> Beeps();
// The outside actions asked for (platform/shell), in order: documents,
// folders and addresses opened (verb as given, "" for the default one),
// sound files played, and how often the computer was to be switched off.
struct TShellOpen {
    String Verb;
    String Target;
    friend bool operator==(const TShellOpen&, const TShellOpen&) = default;
};
std::vector<TShellOpen> ShellOpens();
std::vector<String> Sounds();
int PowerOffs();
// The notification area: the icons in it, every call made to it in order
// ("add", "modify", "delete" and the record), whether it takes calls (a
// desktop without a tray refuses them), a mouse message (LParam of the
// callback: WM_LBUTTONDOWN .. NIN_BALLOONUSERCLICK) delivered to the icon
// with the pointer at AScreen, and the tray starting afresh ("TaskbarCreated"
// to every top-level window, the icons gone).
std::vector<TTrayIcon> TrayIcons();
std::vector<std::pair<std::string, TTrayIcon>> TrayCalls();
void SetTrayAvailable(bool AAvailable);
void TrayNotify(UINT AMouseMessage, POINT AScreen, size_t AIcon = 0);
void TrayRestarted();
HCURSOR Cursor();
// The top-level window the pointer is grabbed for, nullptr for none.
HWND PointerGrab();
bool ShownOnScreen(HWND ATopLevel);
// What the display was last told of a top-level window (owner, modal state,
// icons, ...), and the window it was last asked to give the keyboard.
TTopLevelState DisplayState(HWND ATopLevel);
HWND DisplayFocus();
int Presents(HWND ATopLevel);
// A native child window's place on its top-level window and its visibility.
bool NativeChild(HWND AWindow, RECT& ARect, bool& AVisible);

// The window manager and the task bar.
void MinimizeFromTaskBar(HWND AWindow);
void RestoreFromTaskBar(HWND AWindow);
void CloseFromTaskBar(HWND AWindow);
// The window manager restacked these windows (top first), or gave the
// keyboard focus to AWindow (nullptr: to another program).
void WindowManagerStacks(const std::vector<HWND>& ATopFirst);
void WindowManagerFocus(HWND AWindow);

}  // namespace win::driver
