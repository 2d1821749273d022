// The X11 back end on a real display, which xvfb-run gives the test: windows
// appear with their pixels and shapes, popups bypass the window manager, a
// native child is a real X window, X input arrives as messages, and the
// clipboard goes both ways. Skipped without a display.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
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

LRESULT TestProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
    switch (AMessage) {
        case WM_PAINT: {
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
        case WM_LBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_CHAR:
            Received.push_back(MSG{AWindow, AMessage, AWParam, ALParam, 0, {}, 0});
            return 0;
        default:
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
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "No X display (xvfb-run is not installed)";
        Probe = XOpenDisplay(nullptr);
        if (!Probe) GTEST_SKIP() << "Cannot open the X display " << display;
        Root = DefaultRootWindow(Probe);
        InstallBackend(MakeX11Backend());
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = TestProc;
        cls.lpszClassName = u"VqX11";
        RegisterClassExW(&cls);
        Received.clear();
    }

    void TearDown() override {
        if (!Probe) return;
        InstallBackend(winsys::MakeMemoryBackend());
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
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(Probe, frame, ShapeBounding, &count, &ordering);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(rects[0].width, 150);
    EXPECT_EQ(rects[0].height, 120);
    XFree(rects);

    ASSERT_NE(WindowAt(RECT{300, 200, 380, 230}, attributes), 0u);
    EXPECT_TRUE(attributes.override_redirect);
    ASSERT_EQ(WindowAt(RECT{40, 50, 240, 170}, attributes), frame);
    EXPECT_FALSE(attributes.override_redirect);
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

    auto send = [&](int AType, unsigned ADetail, long AMask) {
        XEvent event{};
        XKeyEvent& e = event.xkey;  // shares its layout with XButtonEvent
        e.type = AType;
        e.display = Probe;
        e.window = id;
        e.root = Root;
        e.time = CurrentTime;
        e.x = 20;
        e.y = 30;
        e.x_root = 60;
        e.y_root = 80;
        e.keycode = ADetail;
        e.same_screen = True;
        XSendEvent(Probe, id, True, AMask, &event);
    };
    send(ButtonPress, Button1, ButtonPressMask);
    send(ButtonRelease, Button1, ButtonReleaseMask);
    send(KeyPress, XKeysymToKeycode(Probe, XK_a), KeyPressMask);
    send(KeyRelease, XKeysymToKeycode(Probe, XK_a), KeyReleaseMask);
    send(KeyPress, spare, KeyPressMask);
    send(KeyRelease, spare, KeyReleaseMask);
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

}  // namespace
