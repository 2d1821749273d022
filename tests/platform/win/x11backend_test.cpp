// The X11 back end on a real display, which the test runner gives it: windows
// appear with their pixels and shapes, popups bypass the window manager, a
// native child is a real X window, X input arrives as messages, and the
// clipboard goes both ways, and a tray icon docks in a system tray and
// reports its clicks. Skipped without a display.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/capabilities.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/backend.h"
#include "platform/win/display.h"
#include "platform/win/input.h"
#include "platform/win/memorybackend.h"
#include "platform/win/messages.h"
#include "platform/win/painting.h"
#include "platform/win/system.h"
#include "platform/win/testdriver.h"
#include "platform/win/window.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

using namespace win;

namespace {

constexpr unsigned long Red = 0xFF0000;

std::vector<MSG> Received;
// A tray icon's callback message.
constexpr UINT TrayCallback = WM_APP + 1;
// Test windows answer WM_NCHITTEST with HTCAPTION: a press drags them.
bool CaptionEverywhere = false;

LRESULT TestProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    switch (AMessage) {
        case WM_PAINT: {
            Received.push_back(MSG{AWindow, AMessage, AWParam, ALParam, 0, {}, 0});
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(AWindow, &ps);
            RECT client;
            GetClientRect(AWindow, &client);
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(dc, &client, red);
            DeleteObject(red);
            EndPaint(AWindow, &ps);
            return 0;
        }
        case WM_NCHITTEST:
            if (CaptionEverywhere) return HTCAPTION;
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
        case WM_LBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_CHAR:
        case TrayCallback:
            Received.push_back(MSG{AWindow, AMessage, AWParam, ALParam, 0, {}, 0});
            return 0;
        default:
            if (AMessage == RegisterWindowMessageW(u"TaskbarCreated")) {
                Received.push_back(MSG{AWindow, AMessage, AWParam, ALParam, 0, {}, 0});
                return 0;
            }
            return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
    }
}

bool Got(UINT AMessage, WPARAM AWParam) {
    for (const MSG& m : Received)
        if (m.message == AMessage && m.wParam == AWParam) return true;
    return false;
}

class X11Test : public ::testing::Test {
protected:
    void SetUp() override {
        // Where the test runner gave a display, not reaching it is a failure.
        const bool required = std::getenv("VELQUA_DISPLAY_REQUIRED") != nullptr;
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) {
            if (required) FAIL() << "The runner gave no display";
            GTEST_SKIP() << "No X display (Xvfb is not installed)";
        }
        Probe = XOpenDisplay(nullptr);
        if (!Probe) {
            if (required) FAIL() << "The runner's display " << display << " does not answer";
            GTEST_SKIP() << "Cannot open the X display " << display;
        }
        Root = DefaultRootWindow(Probe);
        InstallBackend(MakeX11Backend());
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = TestProc;
        cls.lpszClassName = u"VqX11";
        RegisterClassExW(&cls);
        Received.clear();
        CaptionEverywhere = false;
    }

    void TearDown() override {
        if (!Probe) return;
        InstallBackend(winsys::MakeMemoryBackend());
        ResetCapabilities();
        XCloseDisplay(Probe);
    }

    HWND Create(DWORD AStyle, DWORD AExStyle, RECT ABounds, HWND AParent = nullptr) {
        return CreateWindowExW(AExStyle, u"VqX11", u"", AStyle, ABounds.left, ABounds.top,
                               ABounds.right - ABounds.left, ABounds.bottom - ABounds.top, AParent, nullptr,
                               nullptr, nullptr);
    }

    // Runs the layer's loop until APredicate holds; false after five seconds.
    static bool PumpUntil(const std::function<bool()>& APredicate) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            driver::Pump();
            if (APredicate()) return true;
            if (std::chrono::steady_clock::now() > deadline) return false;
            Backend().Wait(20);
        }
    }

    unsigned long RootPixel(int X, int Y) const {
        XImage* image = XGetImage(Probe, Root, X, Y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0;
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }

    ::Window ParentOf(::Window AWindow) const {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(Probe, AWindow, &root, &parent, &children, &count);
        if (children) XFree(children);
        return parent;
    }

    // The child of the root at ABounds, 0 for none.
    ::Window WindowAt(RECT ABounds, XWindowAttributes& AAttributes) const {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(Probe, Root, &root, &parent, &children, &count);
        ::Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i)
            if (XGetWindowAttributes(Probe, children[i], &AAttributes) && AAttributes.x == ABounds.left &&
                AAttributes.y == ABounds.top && AAttributes.width == ABounds.right - ABounds.left &&
                AAttributes.height == ABounds.bottom - ABounds.top)
                found = children[i];
        if (children) XFree(children);
        return found;
    }

    // Another program's black window over ARect for a moment: ACovered runs
    // while it is there.
    void Cover(RECT ARect, const std::function<void()>& ACovered = {}) const {
        const ::Window cover =
            XCreateSimpleWindow(Probe, Root, ARect.left, ARect.top, unsigned(ARect.right - ARect.left),
                                unsigned(ARect.bottom - ARect.top), 0, 0, 0);
        XSetWindowAttributes unmanaged{};
        unmanaged.override_redirect = True;
        XChangeWindowAttributes(Probe, cover, CWOverrideRedirect, &unmanaged);
        XMapRaised(Probe, cover);
        XSync(Probe, False);
        if (ACovered) ACovered();
        XDestroyWindow(Probe, cover);
        XSync(Probe, False);
    }

    // The size of a shape that is one rectangle; (0, 0) for any other.
    std::pair<int, int> ShapeSize(::Window AWindow, int AKind) const {
        int count = 0, ordering = 0;
        XRectangle* rects = XShapeGetRectangles(Probe, AWindow, AKind, &count, &ordering);
        const std::pair<int, int> size =
            count == 1 ? std::pair<int, int>{rects[0].width, rects[0].height} : std::pair<int, int>{0, 0};
        if (rects) XFree(rects);
        return size;
    }

    // What a device sends to AWindow (its top-left corner at AOrigin) with
    // the pointer at AAt: ADetail is the button or the key code.
    void SendInput(::Window AWindow, POINT AOrigin, int AType, unsigned ADetail, POINT AAt) const {
        long mask = 0;
        switch (AType) {
            case ButtonPress:
                mask = ButtonPressMask;
                break;
            case ButtonRelease:
                mask = ButtonReleaseMask;
                break;
            case MotionNotify:
                mask = PointerMotionMask;
                break;
            case KeyPress:
                mask = KeyPressMask;
                break;
            default:
                mask = KeyReleaseMask;
                break;
        }
        XEvent event{};
        XKeyEvent& e = event.xkey;  // button and motion events share its layout
        e.type = AType;
        e.display = Probe;
        e.window = AWindow;
        e.root = Root;
        e.x = AAt.x - AOrigin.x;
        e.y = AAt.y - AOrigin.y;
        e.x_root = AAt.x;
        e.y_root = AAt.y;
        e.keycode = ADetail;
        e.same_screen = True;
        XSendEvent(Probe, AWindow, True, mask, &event);
    }

    // A property of 32-bit items (Xlib hands them out as longs).
    std::vector<long> Longs(::Window AWindow, const char* AProperty) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(Probe, AWindow, XInternAtom(Probe, AProperty, False), 0, 1 << 20, False,
                           AnyPropertyType, &type, &format, &count, &after, &data);
        std::vector<long> values;
        if (data && format == 32)
            values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        if (data) XFree(data);
        return values;
    }
    long AtomOf(const char* AName) const { return long(XInternAtom(Probe, AName, False)); }

    Display* Probe = nullptr;
    ::Window Root = 0;
};

TEST_F(X11Test, ShowsShapedWindowsNativeChildrenAndPopups) {
    EXPECT_EQ(Capabilities().ScreenWidth, DisplayWidth(Probe, DefaultScreen(Probe)));
    HWND top = Create(WS_POPUP, 0, RECT{40, 50, 240, 170});
    // The right 50 pixels are cut off.
    SetWindowRgn(top, CreateRectRgn(0, 0, 150, 120), FALSE);
    HWND host = Create(WS_CHILD | WS_VISIBLE, 0, RECT{100, 60, 140, 100}, top);
    const ::Window native = ::Window(NativeWindowOf(host));
    ASSERT_NE(native, 0u);
    ShowWindow(top, SW_SHOW);
    HWND popup = Create(WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RECT{300, 200, 380, 230});
    ASSERT_NE(popup, nullptr);

    ASSERT_TRUE(PumpUntil([&] { return RootPixel(45, 55) == Red && RootPixel(310, 210) == Red; }));
    EXPECT_NE(RootPixel(40 + 170, 50 + 60), Red) << "outside the window region";
    // The native child is black until a library draws there: the layer's red stays out.
    EXPECT_EQ(RootPixel(40 + 110, 50 + 70), 0u);

    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(Probe, native, &attributes));
    EXPECT_EQ(attributes.map_state, IsViewable);
    const ::Window frame = ParentOf(native);
    EXPECT_EQ(ShapeSize(frame, ShapeBounding), (std::pair{150, 120}));

    ASSERT_NE(WindowAt(RECT{300, 200, 380, 230}, attributes), 0u);
    EXPECT_TRUE(attributes.override_redirect);
    ASSERT_EQ(WindowAt(RECT{40, 50, 240, 170}, attributes), frame);
    EXPECT_FALSE(attributes.override_redirect);

    // Another program's window covers ours and goes: the back end restores
    // what it last presented.
    Cover(RECT{30, 40, 90, 100}, [&] { EXPECT_NE(RootPixel(45, 55), Red); });
    EXPECT_TRUE(PumpUntil([&] { return RootPixel(45, 55) == Red; }));

    // Uncovered, the native child is invalidated for its library to draw
    // again; given back, the layer paints the place itself.
    PumpUntil([] { return false; });
    Received.clear();
    Cover(RECT{40 + 95, 50 + 55, 40 + 125, 50 + 85});
    EXPECT_TRUE(PumpUntil([&] { return Got(WM_PAINT, 0) && Received.back().hwnd == host; }));
    ReleaseNativeWindow(host);
    EXPECT_FALSE(XGetWindowAttributes(Probe, native, &attributes));
    EXPECT_TRUE(PumpUntil([&] { return RootPixel(40 + 110, 50 + 70) == Red; }));
}

// A window is on the screen with its pixels from the moment it is viewable,
// and gets them back when a window that covered it goes, before the program
// has handled any event of the display: a window mapped before its first
// paint, or one waiting for its expose, showed what lay there before. A
// popup that took the mouse before it was mapped has it once it is.
TEST_F(X11Test, AWindowShowsItsPixelsWheneverItIsViewable) {
    for (const DWORD exStyle : {DWORD(0), DWORD(WS_EX_TOOLWINDOW | WS_EX_TOPMOST)}) {
        SCOPED_TRACE(exStyle ? "a popup" : "a window");
        const RECT bounds{60, 70, 160, 150};
        HWND top = Create(WS_POPUP, exStyle, bounds);
        ShowWindow(top, SW_SHOW);
        // A popup takes the mouse as it opens, before it is on the screen.
        if (exStyle) SetCapture(top);
        XWindowAttributes attributes;
        const ::Window id = WindowAt(bounds, attributes);
        ASSERT_NE(id, 0u);
        const auto viewable = [&] {
            XSync(Probe, False);
            return XGetWindowAttributes(Probe, id, &attributes) && attributes.map_state == IsViewable;
        };
        bool seen = false;
        for (int step = 0; step < 50 && !seen; ++step) {
            if ((seen = viewable())) break;
            driver::Pump();
            if ((seen = viewable())) break;
            Backend().Wait(20);
        }
        ASSERT_TRUE(seen) << "never mapped";
        EXPECT_EQ(RootPixel(65, 75), Red) << "viewable before it was drawn";
        if (exStyle) {
            EXPECT_EQ(XGrabPointer(Probe, Root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0,
                                   CurrentTime),
                      AlreadyGrabbed)
                << "the capture did not wait for the map";
            ReleaseCapture();
        }

        Cover(RECT{50, 60, 110, 120}, [&] { EXPECT_NE(RootPixel(65, 75), Red); });
        EXPECT_EQ(RootPixel(65, 75), Red) << "uncovered, it waited for the program";
        DestroyWindow(top);
        PumpUntil([&] { return !viewable(); });
    }
}

TEST_F(X11Test, DraggingTheCaptionMovesTheXWindow) {
    CaptionEverywhere = true;
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, RECT{40, 50, 240, 170});
    ASSERT_TRUE(PumpUntil([&] { return RootPixel(45, 55) == Red; }));
    XWindowAttributes attributes;
    const ::Window id = WindowAt(RECT{40, 50, 240, 170}, attributes);
    ASSERT_NE(id, 0u);

    const POINT origin{40, 50};
    SendInput(id, origin, ButtonPress, Button1, POINT{60, 70});
    SendInput(id, origin, MotionNotify, 0, POINT{110, 100});
    SendInput(id, origin, MotionNotify, 0, POINT{160, 170});
    SendInput(id, origin, ButtonRelease, Button1, POINT{160, 170});
    XFlush(Probe);

    // The move loop runs inside the press's dispatch and has ended when it returns.
    RECT r{};
    ASSERT_TRUE(
        PumpUntil([&] { return GetWindowRect(top, &r) && r.left == 140 && GetCapture() == nullptr; }));
    EXPECT_EQ(r.top, 150);
    ASSERT_TRUE(PumpUntil([&] {
        return XGetWindowAttributes(Probe, id, &attributes) && attributes.x == 140 && attributes.y == 150;
    }));
    EXPECT_EQ(RootPixel(145, 155), Red);
}

TEST_F(X11Test, LayeredWindowsUseThe32BitVisualWhenACompositorRuns) {
    // The test stands in for a compositor by owning its selection.
    const Atom manager =
        XInternAtom(Probe, ("_NET_WM_CM_S" + std::to_string(DefaultScreen(Probe))).c_str(), False);
    const ::Window holder = XCreateSimpleWindow(Probe, Root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(Probe, manager, holder, CurrentTime);
    ASSERT_EQ(XGetSelectionOwner(Probe, manager), holder);
    InstallBackend(MakeX11Backend());
    if (!Capabilities().HasUpdateLayeredWindow) GTEST_SKIP() << "The display has no 32-bit visual";

    Create(WS_POPUP | WS_VISIBLE, 0, RECT{20, 20, 80, 80});
    HWND glow = Create(WS_POPUP | WS_VISIBLE, WS_EX_LAYERED | WS_EX_TOOLWINDOW, RECT{100, 20, 140, 60});
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    // Half-transparent red, premultiplied, on the left half; clear on the right.
    for (int y = 0; y < 40; ++y)
        std::fill_n(static_cast<uint32_t*>(bits) + y * 40, 20, 0x80800000u);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, dib);
    POINT from{0, 0};
    SIZE size{40, 40};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(glow, nullptr, nullptr, &size, source, &from, 0, &blend, ULW_ALPHA));
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(dib);

    // Nothing composites here, so the screen shows the windows' raw pixels.
    ASSERT_TRUE(PumpUntil([&] { return RootPixel(30, 30) == Red && RootPixel(110, 30) == 0x800000; }));
    XWindowAttributes attributes;
    ASSERT_NE(WindowAt(RECT{20, 20, 80, 80}, attributes), 0u);
    EXPECT_EQ(attributes.depth, 32);
    const ::Window id = WindowAt(RECT{100, 20, 140, 60}, attributes);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(attributes.depth, 32);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(Probe, id, XInternAtom(Probe, "_NET_WM_WINDOW_OPACITY", False), 0, 1, False,
                       XA_CARDINAL, &type, &format, &count, &after, &data);
    ASSERT_NE(data, nullptr);
    // Xlib hands 32-bit items out as longs.
    EXPECT_EQ(uint32_t(*reinterpret_cast<long*>(data)), 200 * 0x01010101u);
    XFree(data);
    // The mouse passes through where it is clear.
    EXPECT_EQ(ShapeSize(id, ShapeInput), (std::pair{20, 40}));
}

TEST_F(X11Test, TurnsXInputIntoMessages) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, RECT{40, 50, 240, 170});
    SetFocus(top);
    ASSERT_TRUE(PumpUntil([&] { return RootPixel(45, 55) == Red; }));
    XWindowAttributes attributes;
    const ::Window id = WindowAt(RECT{40, 50, 240, 170}, attributes);
    ASSERT_NE(id, 0u);

    // A key without a symbol of its own, made to type a Chinese character.
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(Probe, &minCode, &maxCode);
    KeyCode spare = 0;
    for (int code = maxCode; code >= minCode && !spare; --code)
        if (XkbKeycodeToKeysym(Probe, KeyCode(code), 0, 0) == NoSymbol) spare = KeyCode(code);
    ASSERT_NE(spare, 0);
    KeySym han = 0x1004E2D;
    XChangeKeyboardMapping(Probe, spare, 1, &han, 1);

    const POINT origin{40, 50}, at{60, 80};
    SendInput(id, origin, ButtonPress, Button1, at);
    SendInput(id, origin, ButtonRelease, Button1, at);
    SendInput(id, origin, KeyPress, XKeysymToKeycode(Probe, XK_a), at);
    SendInput(id, origin, KeyRelease, XKeysymToKeycode(Probe, XK_a), at);
    SendInput(id, origin, KeyPress, spare, at);
    SendInput(id, origin, KeyRelease, spare, at);
    XFlush(Probe);

    ASSERT_TRUE(PumpUntil([] { return Got(WM_KEYDOWN, 'A') && Got(WM_CHAR, 'a') && Got(WM_CHAR, 0x4E2D); }));
    ASSERT_TRUE(Got(WM_LBUTTONDOWN, MK_LBUTTON));
    for (const MSG& m : Received) {
        if (m.message != WM_LBUTTONDOWN) continue;
        EXPECT_EQ(GET_X_LPARAM(m.lParam), 20);
        EXPECT_EQ(GET_Y_LPARAM(m.lParam), 30);
    }
}

TEST_F(X11Test, ServesTheClipboardAndReadsAnotherProgramsText) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardText(u"剪贴板 text");
    CloseClipboard();

    const Atom clipboard = XInternAtom(Probe, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(Probe, "UTF8_STRING", False);
    const Atom property = XInternAtom(Probe, "VQ_TEST", False);
    const ::Window requestor = XCreateSimpleWindow(Probe, Root, 0, 0, 1, 1, 0, 0, 0);
    XConvertSelection(Probe, clipboard, utf8, property, requestor, CurrentTime);
    XFlush(Probe);
    XEvent event;
    ASSERT_TRUE(PumpUntil([&] { return XCheckTypedWindowEvent(Probe, requestor, SelectionNotify, &event); }));
    ASSERT_EQ(event.xselection.property, property);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(Probe, requestor, property, 0, 1024, True, AnyPropertyType, &type, &format, &count,
                       &after, &data);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), count), "剪贴板 text");
    XFree(data);

    // Another program owns the clipboard and answers from its own thread
    // while the layer waits for the text.
    XSetSelectionOwner(Probe, clipboard, requestor, CurrentTime);
    // A round trip: the server has made the change before the layer asks.
    ASSERT_EQ(XGetSelectionOwner(Probe, clipboard), requestor);
    std::thread owner([&] {
        pollfd fd{ConnectionNumber(Probe), POLLIN, 0};
        for (int i = 0; i < 50; ++i) {
            XEvent request;
            if (XCheckTypedWindowEvent(Probe, requestor, SelectionRequest, &request)) {
                const XSelectionRequestEvent& r = request.xselectionrequest;
                const std::string text = "来自别处 text";
                XChangeProperty(Probe, r.requestor, r.property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
                XEvent reply{};
                reply.xselection = XSelectionEvent{SelectionNotify, 0,        True,       Probe, r.requestor,
                                                   r.selection,     r.target, r.property, r.time};
                XSendEvent(Probe, r.requestor, False, 0, &reply);
                XFlush(Probe);
                return;
            }
            poll(&fd, 1, 100);
        }
    });
    const String text = GetClipboardText();
    owner.join();
    EXPECT_EQ(text, u"来自别处 text");
}

TEST_F(X11Test, ATrayIconDocksAndReportsClicksWhereThePointerIs) {
    HWND owner = Create(WS_POPUP, 0, RECT{0, 0, 10, 10});
    TTrayIcon icon;
    icon.Window = owner;
    icon.Id = 7;
    icon.CallbackMessage = TrayCallback;
    icon.Icon = LoadIconW(nullptr, IDI_APPLICATION);
    icon.Tip = u"转换中";
    // No tray yet: the add is refused.
    EXPECT_FALSE(Backend().TrayAdd(icon));

    // The test is the tray: it owns the selection and takes the dock request.
    const Atom selection =
        XInternAtom(Probe, ("_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(Probe))).c_str(), False);
    const Atom opcode = XInternAtom(Probe, "_NET_SYSTEM_TRAY_OPCODE", False);
    const ::Window manager = XCreateSimpleWindow(Probe, Root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(Probe, selection, manager, CurrentTime);
    XSync(Probe, False);
    ASSERT_TRUE(Backend().TrayAdd(icon));
    ::Window docked = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!docked && std::chrono::steady_clock::now() < deadline) {
        XEvent event;
        if (XCheckTypedWindowEvent(Probe, manager, ClientMessage, &event) &&
            event.xclient.message_type == opcode && event.xclient.data.l[1] == 0)
            docked = ::Window(event.xclient.data.l[2]);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(docked, 0u);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(Probe, docked, XInternAtom(Probe, "_XEMBED_INFO", False), 0, 2, False, AnyPropertyType,
                       &type, &format, &count, &after, &data);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(reinterpret_cast<long*>(data)[0], 0);
    EXPECT_EQ(reinterpret_cast<long*>(data)[1], 1);
    XFree(data);

    // The tray maps the icon; a press and a release reach its window.
    XReparentWindow(Probe, docked, manager, 0, 0);
    XMapWindow(Probe, docked);
    const POINT at{300, 5};
    SendInput(docked, POINT{at.x - 4, at.y - 4}, ButtonPress, Button1, at);
    SendInput(docked, POINT{at.x - 4, at.y - 4}, ButtonRelease, Button1, at);
    XFlush(Probe);
    ASSERT_TRUE(PumpUntil([] { return Got(TrayCallback, 7) && Received.size() >= 2; }));
    EXPECT_EQ(Received[0].lParam, LPARAM(WM_LBUTTONDOWN));
    EXPECT_EQ(Received[1].lParam, LPARAM(WM_LBUTTONUP));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, at.x);
    EXPECT_EQ(cursor.y, at.y);

    // A tray that restarts: every program hears "TaskbarCreated".
    Received.clear();
    XEvent restart{};
    restart.xclient.type = ClientMessage;
    restart.xclient.window = Root;
    restart.xclient.message_type = XInternAtom(Probe, "MANAGER", False);
    restart.xclient.format = 32;
    restart.xclient.data.l[0] = CurrentTime;
    restart.xclient.data.l[1] = long(selection);
    restart.xclient.data.l[2] = long(manager);
    XSendEvent(Probe, Root, False, StructureNotifyMask, &restart);
    XFlush(Probe);
    ShowWindow(owner, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([] { return Got(RegisterWindowMessageW(u"TaskbarCreated"), 0); }));
    EXPECT_TRUE(Backend().TrayAdd(icon));
    EXPECT_TRUE(Backend().TrayDelete(owner, 7));
    EXPECT_FALSE(Backend().TrayDelete(owner, 7));
    XDestroyWindow(Probe, manager);
}

// The window manager learns which windows are dialogs kept above another
// (modal while it is disabled), their icons at the sizes task switchers
// show, and the program; an empty window, such as the application's, is
// never mapped.
TEST_F(X11Test, TheWindowManagerLearnsDialogsIconsAndTheProgram) {
    HWND main = Create(WS_POPUP | WS_VISIBLE, 0, RECT{20, 20, 220, 170});
    HWND dialog = Create(WS_POPUP, 0, RECT{60, 60, 160, 120}, main);
    HWND empty = Create(WS_POPUP | WS_VISIBLE, 0, RECT{300, 300, 300, 300});
    const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    SendMessageW(main, WM_SETICON, ICON_BIG, LPARAM(icon));
    EnableWindow(main, FALSE);
    ShowWindow(dialog, SW_SHOW);
    XWindowAttributes attributes;
    ::Window mainId = 0, dialogId = 0;
    ASSERT_TRUE(PumpUntil([&] {
        mainId = WindowAt(RECT{20, 20, 220, 170}, attributes);
        dialogId = WindowAt(RECT{60, 60, 160, 120}, attributes);
        return mainId && dialogId && attributes.map_state == IsViewable;
    }));

    ::Window transient = 0;
    EXPECT_TRUE(XGetTransientForHint(Probe, dialogId, &transient));
    EXPECT_EQ(transient, mainId);
    EXPECT_FALSE(XGetTransientForHint(Probe, mainId, &transient));
    EXPECT_EQ(Longs(dialogId, "_NET_WM_WINDOW_TYPE"),
              std::vector<long>{AtomOf("_NET_WM_WINDOW_TYPE_DIALOG")});
    EXPECT_EQ(Longs(mainId, "_NET_WM_WINDOW_TYPE"), std::vector<long>{AtomOf("_NET_WM_WINDOW_TYPE_NORMAL")});
    EXPECT_EQ(Longs(dialogId, "_NET_WM_STATE"), std::vector<long>{AtomOf("_NET_WM_STATE_MODAL")});
    EXPECT_EQ(Longs(mainId, "_NET_WM_PID"), std::vector<long>{long(getpid())});
    XTextProperty machine{};
    ASSERT_TRUE(XGetWMClientMachine(Probe, mainId, &machine));
    EXPECT_GT(machine.nitems, 0u);
    XFree(machine.value);
    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(Probe, dialogId, &cls));
    EXPECT_STREQ(cls.res_name, "velqua");
    EXPECT_STREQ(cls.res_class, "Velqua");
    XFree(cls.res_name);
    XFree(cls.res_class);

    // Three pictures of 16, 32 and 48 pixels, each its size and its pixels.
    const std::vector<long> icons = Longs(mainId, "_NET_WM_ICON");
    size_t at = 0;
    for (const long size : {16, 32, 48}) {
        ASSERT_LT(at + 1, icons.size());
        EXPECT_EQ(icons[at], size);
        EXPECT_EQ(icons[at + 1], size);
        at += 2 + size_t(size * size);
    }
    EXPECT_EQ(at, icons.size());
    EXPECT_TRUE(Longs(dialogId, "_NET_WM_ICON").empty());

    EXPECT_TRUE(IsWindowVisible(empty));
    ASSERT_NE(WindowAt(RECT{300, 300, 301, 301}, attributes), 0u);
    EXPECT_EQ(attributes.map_state, IsUnmapped);
}

// What the display does counts: input goes to the X window that received
// it, a restack by another program becomes the layer's order, and a window
// manager's minimize and restore reach the window.
TEST_F(X11Test, TheLayerFollowsTheDisplaysInputStackingAndState) {
    HWND below = Create(WS_POPUP | WS_VISIBLE, 0, RECT{20, 20, 220, 170});
    HWND above = Create(WS_POPUP | WS_VISIBLE, 0, RECT{120, 60, 320, 210});
    XWindowAttributes attributes;
    ::Window belowId = 0;
    ASSERT_TRUE(PumpUntil([&] {
        belowId = WindowAt(RECT{20, 20, 220, 170}, attributes);
        return belowId && WindowAt(RECT{120, 60, 320, 210}, attributes) && RootPixel(150, 100) == Red;
    }));
    ASSERT_EQ(driver::Stacking().front(), above);

    // A press where both are: the one the display gave it takes it.
    SendInput(belowId, POINT{20, 20}, ButtonPress, Button1, POINT{150, 100});
    SendInput(belowId, POINT{20, 20}, ButtonRelease, Button1, POINT{150, 100});
    XFlush(Probe);
    ASSERT_TRUE(PumpUntil([] { return Got(WM_LBUTTONDOWN, MK_LBUTTON); }));
    EXPECT_EQ(Received.back().hwnd, below);

    // Another program raises the window below.
    SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return driver::Stacking().front() == above; }));
    XRaiseWindow(Probe, belowId);
    XFlush(Probe);
    EXPECT_TRUE(PumpUntil([&] { return driver::Stacking().front() == below; }));

    // The test stands in for a window manager that iconifies and restores.
    const Atom wmState = XInternAtom(Probe, "WM_STATE", False);
    for (const long state : {long(IconicState), long(NormalState)}) {
        const long value[2] = {state, 0};
        XChangeProperty(Probe, belowId, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
        XFlush(Probe);
        EXPECT_TRUE(PumpUntil([&] { return IsIconic(below) == (state == IconicState); })) << state;
    }
}

}  // namespace
