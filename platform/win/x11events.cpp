// The X11 back end's event loop: one poll over the X connection, the wake-up
// descriptor and the main-thread call queue, and what X events become for
// the window layer.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/base/mainthread.h"
#include "platform/base/syncobjs.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/x11internal.h"

using namespace win;

namespace winsys {

namespace {

// AReceiver: the top-level window whose X window the event came to, nullptr
// when the pointer is over none of ours.
TInputEvent MouseEvent(TInputEvent::TKind AKind, int X, int Y, HWND AReceiver) {
    TInputEvent event;
    event.Kind = AKind;
    event.Point = POINT{X, Y};
    event.ByWindow = true;
    event.Window = AReceiver;
    return event;
}

}  // namespace

void X11Backend::Wake() {
    const uint64_t one = 1;
    if (write(FWakeFd.Get(), &one, sizeof one) < 0) {
        // Full counter: a wake-up is pending anyway.
    }
}

void X11Backend::Wait(Cardinal ATimeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    // The layer presented what it painted before it waits: a shown window
    // still unmapped had nothing to present.
    MapPendingWindows();
    for (;;) {
        if (DrainEvents()) return;
        if (FFocusLost) {
            FFocusLost = false;
            ReleaseHeldKeys();
            ReportAppFocus(nullptr);
            return;
        }
        XFlush(FDpy);
        int timeout = -1;
        if (ATimeout != INFINITE) {
            const auto spent =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            timeout = int(std::max<int64_t>(0, int64_t(ATimeout) - spent));
        }
        pollfd fds[3] = {
            {ConnectionNumber(FDpy), POLLIN, 0}, {FWakeFd.Get(), POLLIN, 0}, {MainThreadWakeFd(), POLLIN, 0}};
        const nfds_t count = fds[2].fd >= 0 ? 3 : 2;
        const int ready = poll(fds, count, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (fds[1].revents & POLLIN) {
            uint64_t value;
            if (read(FWakeFd.Get(), &value, sizeof value) < 0) {
                // Drained by an earlier read.
            }
            return;
        }
        // The main-thread calls are the caller's to run.
        if (count == 3 && (fds[2].revents & POLLIN)) return;
        if (ready <= 0) return;
    }
}

bool X11Backend::DrainEvents() {
    while (XPending(FDpy) > 0) {
        XEvent event;
        XNextEvent(FDpy, &event);
        NoteTime(event);
        if (XFilterEvent(&event, 0)) continue;
        if (Handle(event)) return true;
    }
    return false;
}

void X11Backend::NoteTime(const XEvent& AEvent) {
    switch (AEvent.type) {
        case KeyPress:
        case KeyRelease:
            FLastTime = AEvent.xkey.time;
            break;
        case ButtonPress:
        case ButtonRelease:
            FLastTime = AEvent.xbutton.time;
            break;
        case MotionNotify:
            FLastTime = AEvent.xmotion.time;
            break;
        case EnterNotify:
        case LeaveNotify:
            FLastTime = AEvent.xcrossing.time;
            break;
        case PropertyNotify:
            FLastTime = AEvent.xproperty.time;
            break;
        default:
            break;
    }
}

bool X11Backend::Handle(XEvent& AEvent) {
    if (!FTrayIcons.empty() || AEvent.type == ClientMessage || AEvent.type == DestroyNotify) {
        if (HandleTrayEvent(AEvent)) return true;
        if (AEvent.type != ClientMessage && FindTrayIcon(AEvent.xany.window)) return false;
    }
    switch (AEvent.type) {
        case Expose: {
            const XExposeEvent& e = AEvent.xexpose;
            for (const auto& [child, native] : FNativeChildren)
                if (native.Id == e.window)
                    ReportNativeExposed(child, RECT{e.x, e.y, e.x + e.width, e.y + e.height});
            return false;
        }
        case MotionNotify: {
            if (!HandleOf(AEvent.xmotion.window)) return false;
            // Only the latest position of a burst matters.
            XEvent next;
            while (XEventsQueued(FDpy, QueuedAlready) > 0 && XPeekEvent(FDpy, &next) &&
                   next.type == MotionNotify && next.xmotion.window == AEvent.xmotion.window)
                XNextEvent(FDpy, &AEvent);
            const XMotionEvent& e = AEvent.xmotion;
            QueueInput(MouseEvent(TInputEvent::ieMouseMove, e.x_root, e.y_root, HandleOf(e.window)));
            return true;
        }
        case ButtonPress:
        case ButtonRelease:
            return HandleButton(AEvent.xbutton);
        case EnterNotify:
        case LeaveNotify:
            return HandleCrossing(AEvent.xcrossing);
        case KeyPress:
        case KeyRelease: {
            const XTopLevel* w = Find(HandleOf(AEvent.xkey.window));
            return HandleKey(AEvent.xkey, w ? w->Ic : nullptr);
        }
        case FocusIn:
        case FocusOut:
            return HandleFocus(AEvent.xfocus);
        case ConfigureNotify:
            return HandleConfigure(AEvent.xconfigure);
        case MapNotify:
            HandleMap(AEvent.xmap);
            return false;
        case UnmapNotify:
            if (XTopLevel* w = Find(HandleOf(AEvent.xunmap.window))) w->Viewable = false;
            return false;
        case ReparentNotify:
            if (XTopLevel* w = Find(HandleOf(AEvent.xreparent.window)))
                w->Frame = AEvent.xreparent.parent == FRoot ? 0 : FrameOf(w->Id);
            return false;
        case PropertyNotify:
            return HandleProperty(AEvent.xproperty);
        case ClientMessage:
            return HandleClientMessage(AEvent.xclient);
        case SelectionRequest:
            HandleSelectionRequest(AEvent.xselectionrequest);
            return false;
        case SelectionClear:
            HandleSelectionClear(AEvent.xselectionclear);
            return false;
        case MappingNotify:
            XRefreshKeyboardMapping(&AEvent.xmapping);
            return false;
        default:
            return false;
    }
}

bool X11Backend::HandleButton(const XButtonEvent& AEvent) {
    const HWND receiver = HandleOf(AEvent.window);
    if (!receiver) return false;
    const bool press = AEvent.type == ButtonPress;
    TInputEvent event = MouseEvent(press ? TInputEvent::ieButtonDown : TInputEvent::ieButtonUp, AEvent.x_root,
                                   AEvent.y_root, receiver);
    switch (AEvent.button) {
        case Button1:
            event.Button = VK_LBUTTON;
            break;
        case Button2:
            event.Button = VK_MBUTTON;
            break;
        case Button3:
            event.Button = VK_RBUTTON;
            break;
        case Button4:
        case Button5:
            // The wheel is a press per notch; up is away from the user.
            if (!press) return false;
            event.Kind = TInputEvent::ieWheel;
            event.WheelDelta = AEvent.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
            break;
        default:
            return false;
    }
    QueueInput(event);
    return true;
}

bool X11Backend::HandleCrossing(const XCrossingEvent& AEvent) {
    const HWND window = HandleOf(AEvent.window);
    if (AEvent.mode != NotifyNormal || AEvent.detail == NotifyInferior || !window) return false;
    // Moving onto another application's window moves the layer's cursor off
    // ours, so mouse-leave polling sees it go.
    QueueInput(MouseEvent(TInputEvent::ieMouseMove, AEvent.x_root, AEvent.y_root,
                          AEvent.type == EnterNotify ? window : nullptr));
    return true;
}

bool X11Backend::HandleFocus(const XFocusChangeEvent& AEvent) {
    // Keyboard grabs (a window manager's Alt+Tab) and pointer-root focus
    // are not focus changes of ours.
    if (AEvent.mode == NotifyGrab || AEvent.mode == NotifyUngrab || AEvent.detail == NotifyPointer ||
        AEvent.detail == NotifyInferior)
        return false;
    const HWND window = HandleOf(AEvent.window);
    XTopLevel* w = Find(window);
    if (!w) return false;
    if (AEvent.type == FocusOut) {
        if (w->Ic) XUnsetICFocus(w->Ic);
        // Lost unless another window of ours takes it in the same burst.
        FFocusLost = true;
        return false;
    }
    if (w->Ic) XSetICFocus(w->Ic);
    FFocusLost = false;
    // What our own focus requests bring back is already known to the layer,
    // and while a window waits for the focus an earlier one's arrival is
    // an echo too.
    if (AEvent.serial < FFocusSerial || GetActiveWindow() == window ||
        (FFocusPending && FFocusPending != window))
        return false;
    ReportAppFocus(window);
    return true;
}

void X11Backend::ReleaseHeldKeys() {
    for (size_t key = 0; key < FKeysDown.size(); ++key) {
        if (!FKeysDown.test(key)) continue;
        TInputEvent event;
        event.Kind = TInputEvent::ieKeyUp;
        event.Key = BYTE(key);
        QueueInput(event);
    }
    FKeysDown.reset();
}

bool X11Backend::HandleConfigure(const XConfigureEvent& AEvent) {
    if (AEvent.window == FRoot) {
        if (!ReadScreen()) return false;
        ReportDisplayChange();
        return true;
    }
    const HWND window = HandleOf(AEvent.window);
    XTopLevel* w = Find(window);
    if (!w) return false;
    // Without a window manager another program may restack our windows
    // (a window manager's restacking shows in its stacking list instead).
    const bool restacked = !FWmRunning && AEvent.serial >= FStackingSerial && FollowStacking();
    // Events older than our last request only echo a place we already left.
    if (w->OverrideRedirect || AEvent.serial < w->ConfigureSerial) return restacked;
    const RECT& b = w->State.Bounds;
    int x = b.left, y = b.top;
    // A framed window's own events are relative to the frame; the window
    // manager's synthetic ones give the screen position.
    if (AEvent.send_event || !w->Frame) {
        x = AEvent.x;
        y = AEvent.y;
    }
    const int width = b.right - b.left, height = b.bottom - b.top;
    if (x == b.left && y == b.top && AEvent.width == std::max(1, width) &&
        AEvent.height == std::max(1, height))
        return restacked;
    const RECT bounds{x, y, x + AEvent.width, y + AEvent.height};
    w->State.Bounds = bounds;
    ReportMoved(window, bounds);
    return true;
}

::Window X11Backend::FrameOf(::Window AWindow) {
    // Some window managers nest frames.
    for (int depth = 0; depth < 8; ++depth) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(FDpy, AWindow, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == FRoot) return AWindow;
        AWindow = parent;
    }
    return 0;
}

void X11Backend::HandleMap(const XMapEvent& AEvent) {
    const HWND window = HandleOf(AEvent.window);
    XTopLevel* w = Find(window);
    if (!w) return;
    w->Viewable = true;
    if (FFocusPending == window) FocusWindow(window, *w);
}

bool X11Backend::HandleProperty(const XPropertyEvent& AEvent) {
    if (AEvent.window == FRoot) {
        if (AEvent.atom == FAtoms.NetSupportingWmCheck) FWmRunning = WindowManagerRunning();
        // The window manager restacked its windows; a list from before our
        // last restack is stale.
        if (AEvent.atom == FAtoms.NetClientListStacking)
            return FWmRunning && AEvent.serial >= FStackingSerial && FollowStacking();
        if ((AEvent.atom != FAtoms.NetWorkarea && AEvent.atom != FAtoms.NetCurrentDesktop) || !ReadScreen())
            return false;
        ReportDisplayChange();
        return true;
    }
    if (AEvent.atom != FAtoms.WmState || AEvent.state != PropertyNewValue) return false;
    const HWND window = HandleOf(AEvent.window);
    XTopLevel* w = Find(window);
    // A dialog goes and comes with the window it is kept above.
    if (!w || w->TransientFor) return false;
    const std::vector<long> state = ReadCardinals(AEvent.window, FAtoms.WmState);
    if (state.empty()) return false;
    if (w->State.Minimized && state[0] == NormalState) {
        // The task bar brought a minimized window back.
        ReportRestoreRequest(window);
        return true;
    }
    if (w->State.Minimized || state[0] != IconicState) return false;
    // The window manager minimized it; a window that refuses comes back.
    ReportMinimizeRequest(window);
    if (XTopLevel* still = Find(window); still && still->Mapped && !still->State.Minimized)
        XMapWindow(FDpy, still->Id);
    return true;
}

bool X11Backend::HandleClientMessage(XClientMessageEvent& AEvent) {
    if (AEvent.message_type != FAtoms.WmProtocols || AEvent.format != 32) return false;
    const Atom protocol = Atom(AEvent.data.l[0]);
    if (protocol == FAtoms.NetWmPing) {
        // Still alive: the window manager's ping goes back to the root.
        AEvent.window = FRoot;
        XSendEvent(FDpy, FRoot, False, SubstructureNotifyMask | SubstructureRedirectMask,
                   reinterpret_cast<XEvent*>(&AEvent));
        return false;
    }
    const HWND window = HandleOf(AEvent.window);
    if (protocol != FAtoms.WmDeleteWindow || !window) return false;
    ReportCloseRequest(window);
    return true;
}

}  // namespace winsys
