// The window system's state, shared by the modules of this folder: the
// window objects and their handle table, classes, the queues, activation,
// focus and capture. GUI thread only, except where a member says otherwise.
//
// Window objects are reference counted: code that sends a message while it
// holds a window keeps a WindowRef, so a window destroyed meanwhile (its
// handle already stale) stays readable until that code has unwound; it then
// checks Destroyed before going on.
#pragma once

#include <array>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"
#include "platform/win/backend.h"
#include "platform/win/input.h"
#include "platform/win/wintypes.h"

namespace winsys {

using gdi::PixRegion;
using win::HWND;
using win::POINT;
using win::RECT;

struct WindowClass {
    String Name;
    win::ATOM Atom = 0;
    win::UINT Style = 0;
    win::WNDPROC Proc = nullptr;
    win::HINSTANCE Instance = nullptr;
    win::HCURSOR Cursor = nullptr;
    win::HBRUSH Background = nullptr;
    int Windows = 0;
};

enum class DCKind { Client, Whole, Paint };

struct WindowDC {
    win::HDC DC;
    DCKind Kind;
    // Paint DCs: what BeginPaint validated, in window coordinates.
    PixRegion Area;
};

struct Window;
using WindowRef = std::shared_ptr<Window>;

struct Window : std::enable_shared_from_this<Window> {
    HWND Handle = nullptr;
    std::shared_ptr<WindowClass> Class;
    win::DWORD Style = 0;
    win::DWORD ExStyle = 0;
    win::WNDPROC Proc = nullptr;
    win::HINSTANCE Instance = nullptr;
    win::LONG_PTR Id = 0;
    win::LONG_PTR UserData = 0;
    String Text;

    bool MessageOnly = false;
    // Children have a parent, top-level windows may have an owner.
    Window* Parent = nullptr;
    Window* Owner = nullptr;
    // Top first.
    std::vector<Window*> Children;

    // In the parent's client coordinates; the screen for top-level windows.
    RECT Rect{};
    // In window coordinates.
    RECT Client{};
    // Where a minimized or maximized window goes back to.
    RECT NormalRect{};

    // What waits to be painted, in window coordinates.
    PixRegion Update;
    bool ErasePending = false;
    bool FramePending = false;
    bool RedrawOff = false;
    // BeginPaint calls, to tell whether a WM_PAINT handler painted.
    unsigned Paints = 0;

    bool HasRegion = false;
    // Window coordinates.
    PixRegion Region;

    // Top-level windows: the backing surface of the whole window rectangle
    // and what changed on it since it was last presented.
    std::vector<gdi::Pixel> Pixels;
    gdi::Surface Surface;
    PixRegion Dirty;

    // Layered windows.
    win::BYTE Alpha = 255;
    win::DWORD LayeredFlags = 0;
    std::vector<gdi::Pixel> Upload;
    win::SIZE UploadSize{};
    win::BYTE UploadAlpha = 255;
    bool HasUpload = false;

    std::vector<WindowDC> DCs;
    std::array<win::SCROLLINFO, 2> Scroll{};
    // WM_SETICON's icons, owned by whoever set them.
    win::HICON BigIcon = nullptr;
    win::HICON SmallIcon = nullptr;
    uintptr_t NativeId = 0;

    bool Created = false;
    // The back end knows the window (top-level windows).
    bool Mirrored = false;
    bool Destroying = false;
    bool Destroyed = false;
};

// Windows: the handle table and the window tree.

// nullptr for a stale, foreign or null handle. Any thread.
Window* Find(HWND AWindow);
WindowRef Ref(Window* AWindow);
HWND Register(const WindowRef& AWindow);
// The handle is stale from here on; the object lives while referenced.
void Unregister(Window& AWindow);
// Every window in the table, for whole-desktop walks.
std::vector<WindowRef> AllWindows();

bool IsTopLevel(const Window& W);
Window* TopLevelOf(Window* W);
// WS_VISIBLE up to the top-level window, which is not minimized either.
bool IsShown(const Window& W);
bool IsEnabledChain(const Window& W);
// Top-left corners in screen coordinates.
POINT ClientOrigin(const Window& W);
RECT ScreenRect(const Window& W);
// The window's top-left corner on its top-level window's surface.
POINT SurfaceOrigin(const Window& W);
// The window region, or the window's whole rectangle, in window coordinates.
PixRegion Shape(const Window& W);
bool IsAncestor(const Window* AAncestor, const Window* W);

// The top-level windows, top first: the topmost band, then the rest.
std::vector<Window*>& TopLevels();
// The list W sits in: its parent's children or the top-level windows.
std::vector<Window*>& SiblingList(Window& W);
void Unlink(Window& W);

struct Timer {
    HWND Window;
    win::ULONG_PTR Id;
    win::UINT Interval;
    Cardinal Due;
    bool Fired;
    win::TIMERPROC Proc;
};

struct ClickRecord {
    HWND Window = nullptr;
    win::UINT Message = 0;
    int HitCode = 0;
    Cardinal Time = 0;
    POINT Point{};
};

// The posted queue is the part other threads touch.
struct PostedQueue {
    std::mutex Lock;
    std::deque<win::MSG> Messages;
    bool Quit = false;
    int QuitCode = 0;
};

struct State {
    std::map<String, std::shared_ptr<WindowClass>> Classes;
    win::ATOM NextAtom = 0xC000;
    std::map<String, win::UINT> RegisteredMessages;

    PostedQueue Posted;
    std::deque<win::TInputEvent> Input;
    // Input already routed to its window, waiting to be taken.
    std::deque<win::MSG> Routed;
    // An event is being routed: a pump nested in its messages (WM_NCHITTEST,
    // WM_MOUSEACTIVATE, ...) must not route the next one ahead of it.
    bool Routing = false;
    // Text of recent key presses by input id, for TranslateMessage.
    std::map<win::DWORD, String> KeyText;
    win::DWORD NextInputId = 1;
    win::MSG LastMessage{};

    HWND Active = nullptr;
    HWND Focus = nullptr;
    HWND Capture = nullptr;
    HWND MouseWindow = nullptr;
    POINT Cursor{};
    // The top-level window the display last reported the pointer in
    // (nullptr: none of ours), when it reports one; else the layer's
    // window at the cursor counts.
    bool PointerByWindow = false;
    HWND PointerTop = nullptr;
    win::HCURSOR CursorShape = nullptr;
    std::array<win::BYTE, 256> Keys{};
    std::array<win::BYTE, 256> AsyncKeys{};
    // Only Alt went down since the last key: its release opens the menu.
    bool LoneAlt = false;
    // The Alt release just routed ended a lone Alt: WM_SYSCOMMAND SC_KEYMENU.
    bool LoneAltReleased = false;
    ClickRecord LastClick;
    int SizeMoveDepth = 0;

    std::vector<Timer> Timers;
    // Windows holding DCs, which follow every geometry change.
    std::vector<HWND> DCHolders;

    // Read by other threads (Wake), replaced by InstallBackend.
    std::atomic<std::shared_ptr<win::TBackend>> Backend;
    win::TMouseTrackHook TrackHook;

    bool ClipboardOpen = false;
    bool ClipboardEmptied = false;
};

State& Sys();
win::TBackend& BackendOf();

// Messages.

// Calls the window's procedure with the window held; 0 when it is gone.
win::LRESULT Send(Window* W, win::UINT AMessage, win::WPARAM AWParam, win::LPARAM ALParam);
// Posted messages first-come, for the queue and the modal loop.
bool TakePosted(win::MSG& AMsg, HWND AFilter, win::UINT AMin, win::UINT AMax, bool ARemove);
bool InRange(win::UINT AMessage, win::UINT AMin, win::UINT AMax);
// Pending main-thread calls, then waits for something to do.
void WaitForWork();

// Creation and destruction (create.cpp).
void DestroyAll();

// Geometry and z-order (position.cpp).
// The layer's own WINDOWPOS flags, as Windows has them: what the client
// area did (WM_MOVE and WM_SIZE follow from them), and a state change
// (minimized, maximized, restored), after which WM_SIZE always follows.
inline constexpr win::UINT SWP_NOCLIENTSIZE = 0x0800;
inline constexpr win::UINT SWP_NOCLIENTMOVE = 0x1000;
inline constexpr win::UINT SWP_STATECHANGED = 0x8000;
// AState, when given, replaces the window's WS_MINIMIZE and WS_MAXIMIZE bits.
bool SetPos(Window* W, HWND AInsertAfter, int X, int Y, int AWidth, int AHeight, win::UINT AFlags,
            std::optional<win::DWORD> AState = std::nullopt);
// Sends WM_NCCALCSIZE for the window at ARect and returns the client
// rectangle in window coordinates.
RECT CalcClient(Window* W, const RECT& ARect, const RECT& AOldRect, win::WINDOWPOS* APos);
win::MINMAXINFO MinMaxInfo(Window* W);
bool HasMinMax(const Window& W);
// Puts W at the top of its band (or below AInsertAfter), its owned windows
// above it.
void Restack(Window& W, HWND AInsertAfter, bool AOwnedToo);
// What the back end sees of a top-level window.
win::TTopLevelState TopLevelState(const Window& W);
void SyncTopLevel(Window& W);
void SyncStacking();
void SyncNative(Window& W);

// Activation, focus, capture (focus.cpp).
void Activate(Window* W, win::WORD AHow);
// The highest shown, enabled window that W owns, directly or through
// others, and that can be activated: the modal dialog that disabled W.
Window* EnabledPopupOf(Window& W);
void SetFocusTo(Window* W);
void WindowHidden(Window& W);
void WindowGone(Window& W);

// Painting (paint.cpp).
void ResizeSurface(Window& W);
// ARegion in window coordinates.
void Invalidate(Window& W, const PixRegion& ARegion, bool AErase, bool AAllChildren);
void InvalidateAll(Window& W, bool AFrame);
// After a size change in place: the frame and the grown part, all of it
// under CS_HREDRAW/CS_VREDRAW.
void InvalidateResized(Window& W, const RECT& AOldRect);
// The part of its parent a child covers now, in the parent's window
// coordinates, and the repaint of such an area once the child has left it.
PixRegion Covered(const Window& W);
void Expose(Window& AParent, const PixRegion& AArea);
Window* FindPaintWindow(HWND AFilter);
// Sends WM_PAINT; a handler that never called BeginPaint leaves nothing
// waiting, so the queue does not offer the same WM_PAINT for ever.
void SendPaint(Window& W);
// Keeps every window DC current after geometry, z-order or region changes.
void RefreshDCs();
void ReleaseDCs(Window& W);
void Present();

// Timers (timers.cpp).
void KillTimers(HWND AWindow);
bool TakeTimer(win::MSG& AMsg, HWND AFilter, bool ARemove);
// Milliseconds until the next timer comes due; INFINITE without one or under
// the test clock.
Cardinal NextTimerDelay();
void FireDueTimers();
// Fires the earliest timer due by ATarget (test clock), returns false when
// none is.
bool FireNextTimer(Cardinal ATarget);

// Input (routing.cpp).
bool TakeInput(win::MSG& AMsg, HWND AFilter, win::UINT AMin, win::UINT AMax, bool ARemove);
void AfterInputDispatched(const win::MSG& AMsg);
void UpdateKeyState(const win::TInputEvent& AEvent, std::array<win::BYTE, 256>& AKeys);

// The move and size loop (sizemove.cpp).
void RunSizeMove(Window* W, win::WPARAM ACommand, POINT AStart);

// The default frame (paint.cpp).
void DefaultNCPaint(Window& W);

}  // namespace winsys
