// The back end: what shows the windows and brings in the input. The window
// layer keeps every window, its tree, geometry, styles, update regions and
// pixels itself; a back end only mirrors top-level windows and feeds events.
// The memory back end (memorybackend.cpp) records everything for the test
// driver; an X11 back end implements the same class.
//
// What an X11 back end does with each call:
// - CreateTopLevel/UpdateTopLevel/DestroyTopLevel: one undecorated X window
//   per top-level window (message-only windows and children never come
//   here). APopup with AToolWindow (menus, hints, glow windows: the ones
//   the layer never activates): override-redirect and never given the
//   focus. ALayered with the capability present: a 32-bit visual (the x11
//   back end puts every top-level window on it then, as a window can become
//   layered at any time). Minimized: iconified through the window manager.
//   A window with a shown owner is a dialog kept above it (transient for
//   it), a modal one when Modal; the icons, the program's class, process
//   and machine go to the window manager. An empty window is never mapped.
// - Restack: the X stacking of the mapped windows, top first; the stacking
//   the window manager (or another program) makes comes back through
//   ReportStacking.
// - Present: copy the dirty part of the 32-bit BGRA backing surface to the
//   window (alpha ignored unless layered); the x11 back end keeps it in the
//   window's background pixmap, so the display draws exposed parts itself,
//   and maps a shown window only once its first paint is presented (or when
//   the layer next waits).
// - SetShape: XShape bounding and input shapes in window coordinates.
// - SetLayeredAlpha/UploadLayered: constant alpha (e.g. the window opacity
//   property) and per-pixel premultiplied content of a layered window.
// - SetCapture: grab the pointer for that top-level window (nullptr: ungrab).
// - SetActive: give the X keyboard focus to that window.
// - CreateNativeChild/MoveNativeChild/DestroyNativeChild: an X subwindow of
//   the top-level window at the child's place, for libraries that need a
//   real window id (SDL); the layer does not paint where it lies.
// - Wait: block until an X event, MainThreadWakeFd (mainthread.h), Wake or
//   the timeout; translate events into QueueInput (keysyms to virtual keys,
//   text to UTF-16, wheel buttons to deltas of 120; mouse events name the
//   window that received them), ReportMoved, ReportCloseRequest,
//   ReportMinimizeRequest, ReportRestoreRequest, ReportAppFocus,
//   ReportStacking and, after
//   updating the capability table's monitors and work area (Xinerama/RandR,
//   _NET_WORKAREA), ReportDisplayChange.
// - The capability table: clear HasSetLayeredWindowAttributes and
//   HasUpdateLayeredWindow without a 32-bit visual and a compositor.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/base/types.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"
#include "platform/win/wintypes.h"

namespace win {

// A raw input event in screen coordinates, before routing.
struct TInputEvent {
    enum TKind { ieMouseMove, ieButtonDown, ieButtonUp, ieWheel, ieKeyDown, ieKeyUp, ieText };
    TKind Kind = ieMouseMove;
    POINT Point{};
    // VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
    BYTE Button = 0;
    // Multiples of WHEEL_DELTA; positive away from the user.
    int WheelDelta = 0;
    // A display names the top-level window whose own window received a
    // mouse event (Window nullptr: none of ours), since what the user sees
    // there may differ from the layer's order; without ByWindow the event
    // goes to whatever the layer has at the point.
    bool ByWindow = false;
    HWND Window = nullptr;
    BYTE Key = 0;
    // The characters a key press gives (WM_CHAR after TranslateMessage), or
    // the characters of a text event (WM_CHAR to the focus at once).
    String Text;
};

// An action outside the program: opening a document, folder or address
// (AVerb and ATarget), playing a sound file (ATarget) or switching the
// computer off.
struct TOutsideAction {
    enum TKind { oaOpen, oaSound, oaPowerOff };
    TKind Kind = oaOpen;
    String Verb;
    String Target;
};

// An icon in the desktop's notification area (the system tray): the window
// and message its mouse input is posted as (WParam the id, LParam the mouse
// message), the picture, the tip and a balloon.
struct TTrayIcon {
    HWND Window = nullptr;
    UINT Id = 0;
    UINT CallbackMessage = 0;
    HICON Icon = nullptr;
    String Tip;
    // With ShowBalloon a balloon is asked for (empty text: the balloon goes).
    bool ShowBalloon = false;
    String BalloonTitle;
    String BalloonText;
    DWORD BalloonFlags = 0;
};

// What a back end sees of a top-level window.
struct TTopLevelState {
    RECT Bounds{};
    bool Visible = false;
    bool Minimized = false;
    bool Popup = false;
    bool ToolWindow = false;
    bool Topmost = false;
    bool Layered = false;
    HWND Owner = nullptr;
    // The owner is disabled while this window is up: a modal dialog.
    bool Modal = false;
    String Title;
    // WM_SETICON's icons; nullptr for none.
    HICON Icon = nullptr;
    HICON SmallIcon = nullptr;
};

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual void CreateTopLevel(HWND AWindow, const TTopLevelState& AState) = 0;
    virtual void UpdateTopLevel(HWND AWindow, const TTopLevelState& AState) = 0;
    virtual void DestroyTopLevel(HWND AWindow) = 0;
    virtual void Restack(const std::vector<HWND>& ATopFirst) = 0;
    // ADirty in window coordinates, inside the surface.
    virtual void Present(HWND AWindow, const gdi::Surface& ASurface, const gdi::PixRegion& ADirty) = 0;
    // nullptr: no shape.
    virtual void SetShape(HWND AWindow, const gdi::PixRegion* AShape) = 0;
    virtual void SetLayeredAlpha(HWND AWindow, BYTE AAlpha) = 0;
    virtual void UploadLayered(HWND AWindow, const gdi::Surface& APremultiplied, BYTE AConstantAlpha) = 0;
    virtual void SetCapture(HWND ATopLevel) = 0;
    virtual void SetActive(HWND ATopLevel) = 0;
    virtual void SetCursor(HCURSOR ACursor) = 0;

    // ARect in the top-level window's coordinates. Returns the native id, 0
    // when the back end has none.
    virtual uintptr_t CreateNativeChild(HWND AChild, HWND ATopLevel, const RECT& ARect) = 0;
    virtual void MoveNativeChild(HWND AChild, const RECT& ARect, bool AVisible) = 0;
    virtual void DestroyNativeChild(HWND AChild) = 0;

    // GUI thread. Returns when input was queued, Wake was called, a
    // main-thread call is pending or ATimeout milliseconds (INFINITE: no
    // limit) have passed.
    virtual void Wait(Cardinal ATimeout) = 0;
    // Any thread: ends a Wait in progress, or the next one at once.
    virtual void Wake() = 0;
    // Whether input can still arrive while the queue is empty: a modal loop
    // that finds no input ends when this says no (the memory back end,
    // whose input only comes from the test on the GUI thread).
    virtual bool InputCanArrive() = 0;

    virtual void SetClipboardText(const String& AText) = 0;
    // False when the clipboard holds no text.
    virtual bool GetClipboardText(String& AText) = 0;
    virtual void Beep(UINT AType) = 0;
    // Any thread. True when the back end keeps the action instead of it
    // being taken: the memory back end records it for the test driver, so
    // nothing starts while tests run. A display back end lets it happen.
    virtual bool RecordOutsideAction(const TOutsideAction&) { return false; }
    // The notification area, GUI thread: false when there is none or it
    // refused. Without one a back end answers false.
    virtual bool TrayAdd(const TTrayIcon&) { return false; }
    virtual bool TrayModify(const TTrayIcon&) { return false; }
    virtual bool TrayDelete(HWND, UINT) { return false; }
};

// Replaces the back end (the memory back end until then) and starts from an
// empty desktop: every window is destroyed first.
void InstallBackend(std::unique_ptr<TBackend> ABackend);
TBackend& Backend();

// For back ends, on the GUI thread.
void QueueInput(const TInputEvent& AEvent);
// What a top-level window shows now (its backing surface, or the upload of
// a per-pixel layered window), for reading it back; valid until the window
// changes. False for anything else.
bool TopLevelPixels(HWND AWindow, gdi::Surface& APixels);
// The window manager moved or sized a top-level window (screen rectangle).
void ReportMoved(HWND AWindow, const RECT& ABounds);
// Posts WM_SYSCOMMAND SC_CLOSE, resp. sends SC_MINIMIZE or SC_RESTORE (the
// window manager or the task bar minimized or restored the window).
void ReportCloseRequest(HWND AWindow);
void ReportMinimizeRequest(HWND AWindow);
void ReportRestoreRequest(HWND AWindow);
// The display stacks these top-level windows so, top first (the window
// manager raised one): the layer's order follows, windows not named keep
// their places.
void ReportStacking(const std::vector<HWND>& ATopFirst);

// The items of ANamed that AList holds take the places those items held
// there, in ANamed's order; the other items stay where they are.
template <class T>
void TakePlaces(std::vector<T>& AList, const std::vector<T>& ANamed) {
    std::vector<T> order;
    for (const T& item : ANamed)
        if (std::find(AList.begin(), AList.end(), item) != AList.end() &&
            std::find(order.begin(), order.end(), item) == order.end())
            order.push_back(item);
    size_t next = 0;
    for (T& slot : AList)
        if (std::find(order.begin(), order.end(), slot) != order.end()) slot = order[next++];
}
// The application gained (AWindow: the window the system activated) or
// lost (nullptr) the keyboard focus. A window disabled by a modal one it
// owns passes the activation on to that one.
void ReportAppFocus(HWND AWindow);
// The pointer is at APoint (screen) outside our windows, as GetCursorPos
// answers from now on (a tray icon's click).
void ReportCursorPos(POINT APoint);
// The system cleared part of a native child window (client coordinates):
// the window is invalidated there so that whoever draws it draws it again.
void ReportNativeExposed(HWND AWindow, const RECT& ARect);
// The monitors or the screen changed: WM_DISPLAYCHANGE to top-level windows.
void ReportDisplayChange();

}  // namespace win
