// The X11 back end's own state, shared by its files: the connection, atoms
// and visual, one record per top-level window, the clipboard, and the event
// loop. GUI thread only, except Wake.
//
// Files: x11display.cpp (connection, screen, monitors, cursors),
// x11window.cpp (top-level windows, presentation, shapes, native children),
// x11events.cpp (the event loop and what events become), x11keys.cpp
// (keyboard and input method), x11clipboard.cpp (the CLIPBOARD selection).
#pragma once

#include <bitset>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"
#include "platform/win/backend.h"

// After the project's headers: Xlib defines macros (None, True, Bool, ...).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace winsys {

struct DisplayCloser {
    void operator()(Display* ADisplay) const { XCloseDisplay(ADisplay); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// What Xlib hands out and XFree releases.
struct XFreeDeleter {
    void operator()(void* AData) const {
        if (AData) XFree(AData);
    }
};
template <class T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

class FileDescriptor {
public:
    explicit FileDescriptor(int AFd = -1) : FFd(AFd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();
    int Get() const { return FFd; }

private:
    int FFd;
};

struct X11Atoms {
    Atom WmProtocols, WmDeleteWindow, WmState, NetWmPing, NetWmName, Utf8String, MotifWmHints, NetWmState,
        NetWmStateAbove, NetWmStateSkipTaskbar, NetWmStateSkipPager, NetWmStateModal, NetWmWindowType,
        NetWmWindowTypeNormal, NetWmWindowTypeDialog, NetWmIcon, NetWmPid, NetWmWindowOpacity,
        NetActiveWindow, NetSupportingWmCheck, NetWorkarea, NetCurrentDesktop, NetClientListStacking,
        Clipboard, Targets, Text, Incr, Transfer;
};

// A top-level window's X window and what the back end keeps of it.
struct XTopLevel {
    XTopLevel(Display* ADisplay, ::Window AId) : Dpy(ADisplay), Id(AId) {}
    XTopLevel(const XTopLevel&) = delete;
    XTopLevel& operator=(const XTopLevel&) = delete;
    ~XTopLevel();

    Display* Dpy;
    ::Window Id;
    XIC Ic = nullptr;
    win::TTopLevelState State;
    bool Initialised = false;
    bool OverrideRedirect = false;
    // WS_EX_TRANSPARENT: the mouse passes through to whatever lies below.
    bool ClickThrough = false;
    std::optional<gdi::PixRegion> Shape;
    // A per-pixel layered window's pixels that are not clear: the mouse
    // passes through the rest, as the layer's hit testing does.
    std::optional<gdi::PixRegion> Solid;
    // What was last presented, the window's background: the display draws
    // the window from it whenever it becomes viewable or is uncovered.
    Pixmap Pixels = 0;
    unsigned PixelsWidth = 0, PixelsHeight = 0;
    // Mapped as far as the layer knows; MapPending until the display is
    // asked, once the layer has presented the window's first paint.
    bool Mapped = false;
    bool MapPending = false;
    bool Viewable = false;
    // The window manager's frame around the window (a child of the root), 0
    // while it has none; stacking goes through it.
    ::Window Frame = 0;
    // What the window manager was last told: the window kept above (0:
    // none, a normal window), modal, the icons.
    ::Window TransientFor = 0;
    bool Modal = false;
    bool TypeWritten = false;
    win::HICON Icon = nullptr;
    win::HICON SmallIcon = nullptr;
    // Configure events older than our last move or size request are stale.
    unsigned long ConfigureSerial = 0;
};

// An icon docked in the system tray: the layer's record and our X window.
struct XTrayIcon {
    win::TTrayIcon Data;
    ::Window Id = 0;
    Colormap Map = 0;
    int Depth = 0;
    long BalloonId = 0;
    // The last press, for double clicks (button 0: none counts).
    unsigned LastButton = 0;
    Time LastPress = 0;
    win::POINT LastPoint{};
};

class X11Backend : public win::TBackend {
public:
    // ADisplayName empty: $DISPLAY. Throws Exception when it cannot open it.
    explicit X11Backend(const std::string& ADisplayName);
    ~X11Backend() override;

    void CreateTopLevel(win::HWND AWindow, const win::TTopLevelState& AState) override;
    void UpdateTopLevel(win::HWND AWindow, const win::TTopLevelState& AState) override;
    void DestroyTopLevel(win::HWND AWindow) override;
    void Restack(const std::vector<win::HWND>& ATopFirst) override;
    void Present(win::HWND AWindow, const gdi::Surface& ASurface, const gdi::PixRegion& ADirty) override;
    void SetShape(win::HWND AWindow, const gdi::PixRegion* AShape) override;
    void SetLayeredAlpha(win::HWND AWindow, win::BYTE AAlpha) override;
    void UploadLayered(win::HWND AWindow, const gdi::Surface& APremultiplied,
                       win::BYTE AConstantAlpha) override;
    void SetCapture(win::HWND ATopLevel) override;
    void SetActive(win::HWND ATopLevel) override;
    void SetCursor(win::HCURSOR ACursor) override;
    uintptr_t CreateNativeChild(win::HWND AChild, win::HWND ATopLevel, const win::RECT& ARect) override;
    void MoveNativeChild(win::HWND AChild, const win::RECT& ARect, bool AVisible) override;
    void DestroyNativeChild(win::HWND AChild) override;
    void Wait(Cardinal ATimeout) override;
    void Wake() override;
    bool InputCanArrive() override { return true; }
    void SetClipboardText(const String& AText) override;
    bool GetClipboardText(String& AText) override;
    void Beep(win::UINT AType) override;
    bool TrayAdd(const win::TTrayIcon& AIcon) override;
    bool TrayModify(const win::TTrayIcon& AIcon) override;
    bool TrayDelete(win::HWND AWindow, win::UINT AId) override;

private:
    // x11display.cpp
    void ChooseVisual();
    // Monitors and work area into the capability table; true when they changed.
    bool ReadScreen();
    void ReadDoubleClickTime();
    Cursor CursorFor(win::HCURSOR ACursor);
    bool WindowManagerRunning();
    bool ReadProperty(::Window AWindow, Atom AProperty, bool ADelete, Atom& AType, int& AFormat,
                      std::string& AData);
    std::vector<long> ReadCardinals(::Window AWindow, Atom AProperty);
    // Waits at most ATimeout ms for an event of AType to AWindow.
    bool WaitForEvent(::Window AWindow, int AType, XEvent& AEvent, int ATimeout);

    // x11window.cpp
    XTopLevel* Find(win::HWND AWindow);
    win::HWND HandleOf(::Window AWindow) const;
    void Apply(win::HWND AWindow, XTopLevel& AWin, const win::TTopLevelState& AState);
    void ApplyWmProperties(XTopLevel& AWin, const win::TTopLevelState& AOld, bool AFirst);
    void ApplyMapping(XTopLevel& AWin, const win::TTopLevelState& AOld, bool AFirst);
    void ApplyShape(XTopLevel& AWin);
    // The background pixmap at the window's size, keeping what it holds.
    void SizePixels(XTopLevel& AWin, unsigned AWidth, unsigned AHeight);
    // Maps a shown window once its first paint is presented, and grabs the
    // pointer for it when capture waited for that; at a wait, every shown
    // window still unmapped.
    void MapNow(win::HWND AWindow, XTopLevel& AWin);
    void MapPendingWindows();
    void GrabPointer(win::HWND AWindow, XTopLevel& AWin);
    void SetOpacity(XTopLevel& AWin, win::BYTE AAlpha);
    // A mapped window's state goes through the window manager.
    void SendNetWmState(XTopLevel& AWin, Atom AState, bool AOn);
    // Copies ABox of the pixels to the drawable at the same place. On the
    // 32-bit visual, pixels without alpha are opaque.
    void PutPixels(Drawable ATarget, const gdi::Surface& APixels, const pixman_box32_t& ABox);
    void SetWmHints(XTopLevel& AWin, bool AIconic);
    void WriteNetWmState(XTopLevel& AWin);
    // The program's process, machine and class, once per window.
    void WriteIdentity(::Window AWindow);
    // _NET_WM_ICON at the sizes task switchers show, from the window's icons.
    void WriteIcons(XTopLevel& AWin);
    // Transient owner, window type and modal state from the layer's state.
    void ApplyOwner(XTopLevel& AWin);
    void FocusWindow(win::HWND AWindow, XTopLevel& AWin);
    // The layer's stacking of our mapped windows; ARaise brings the top one
    // above other programs' windows first.
    void ApplyStacking(bool ARaise);
    // The stacking of our mapped windows as the display has it, top first:
    // from the window manager's list, or from the root's children.
    std::vector<win::HWND> DisplayStacking();
    // Tells the layer when the display's stacking differs from ours.
    bool FollowStacking();

    // x11events.cpp
    bool DrainEvents();
    bool Handle(XEvent& AEvent);
    bool HandleButton(const XButtonEvent& AEvent);
    bool HandleCrossing(const XCrossingEvent& AEvent);
    bool HandleConfigure(const XConfigureEvent& AEvent);
    bool HandleProperty(const XPropertyEvent& AEvent);
    bool HandleClientMessage(XClientMessageEvent& AEvent);
    bool HandleFocus(const XFocusChangeEvent& AEvent);
    void HandleMap(const XMapEvent& AEvent);
    ::Window FrameOf(::Window AWindow);
    void NoteTime(const XEvent& AEvent);
    // The application lost the keyboard: keys held go up without messages.
    void ReleaseHeldKeys();

    // x11keys.cpp
    void OpenInputMethod();
    XIC CreateInputContext(::Window AWindow, long& AEventMask);
    bool HandleKey(XKeyEvent& AEvent, XIC AContext);
    win::BYTE VirtualKey(XKeyEvent& AEvent);
    String KeyText(XKeyEvent& AEvent, XIC AContext);

    // x11tray.cpp
    void InternTrayAtoms();
    // The tray manager's window, 0 without a tray.
    ::Window TrayManager();
    void SendTrayOpcode(::Window AManager, long AOpcode, long AData1, long AData2, long AData3,
                        ::Window AIcon);
    XTrayIcon* FindTrayIcon(win::HWND AWindow, win::UINT AId);
    XTrayIcon* FindTrayIcon(::Window AId);
    void ApplyTrayIcon(XTrayIcon& AIcon);
    void DrawTrayIcon(XTrayIcon& AIcon);
    void DropTrayIcon(XTrayIcon* AIcon);
    // Tray icons' input and drawing, a tray's arrival and end; true when
    // it posted something.
    bool HandleTrayEvent(XEvent& AEvent);

    // x11clipboard.cpp
    void HandleSelectionRequest(const XSelectionRequestEvent& AEvent);
    void HandleSelectionClear(const XSelectionClearEvent& AEvent);
    bool ConvertClipboard(Atom ATarget, std::string& AData);

    DisplayPtr FDisplay;
    Display* FDpy = nullptr;
    int FScreen = 0;
    ::Window FRoot = 0;
    X11Atoms FAtoms{};
    // Every top-level window shares one visual: the 32-bit one when layered
    // windows can be shown, since a window may become layered at any time
    // and X cannot change a window's visual.
    Visual* FVisual = nullptr;
    int FDepth = 0;
    Colormap FColormap = 0;
    bool FOwnColormap = false;
    bool FArgb = false;
    // Pixel layout of the visual; direct when it is the surface's B, G, R, A.
    bool FDirectPixels = true;
    int FRedShift = 16, FGreenShift = 8, FBlueShift = 0;
    // -1 without an alpha channel.
    int FAlphaShift = -1;
    GC FGc = nullptr;
    bool FHasShape = false;
    bool FHasInputShape = false;
    // An EWMH window manager: focus and state requests go through it.
    bool FWmRunning = false;

    XIM FIm = nullptr;
    // Owns the clipboard and receives selection answers.
    ::Window FHidden = 0;
    Time FLastTime = CurrentTime;

    std::map<win::HWND, std::unique_ptr<XTopLevel>> FWindows;
    std::map<::Window, win::HWND> FByXId;
    struct NativeChild {
        ::Window Id;
        win::HWND TopLevel;
    };
    std::map<win::HWND, NativeChild> FNativeChildren;
    std::map<win::HCURSOR, Cursor> FCursors;
    // Top first, as the layer last gave it.
    std::vector<win::HWND> FStacking;
    // Stacking reports older than our last restack only echo an order we
    // already left.
    unsigned long FStackingSerial = 0;
    Cursor FCursor = 0;
    win::HWND FGrab = nullptr;
    // Capture asked for a window not mapped yet.
    win::HWND FGrabPending = nullptr;
    // Focus asked for before the window could take it.
    win::HWND FFocusPending = nullptr;
    // Focus events from before our last focus request are stale.
    unsigned long FFocusSerial = 0;
    bool FFocusLost = false;
    std::bitset<256> FKeysDown;

    std::optional<std::string> FClipboard;

    struct {
        Atom Selection, Opcode, Visual, MessageData, Manager, XEmbedInfo;
        ::Window ManagerWindow;
    } FTray{};
    std::vector<std::unique_ptr<XTrayIcon>> FTrayIcons;

    FileDescriptor FWakeFd;
};

}  // namespace winsys
