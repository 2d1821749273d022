// Windows: creation, destruction, styles and longs, positions and z-order,
// showing, states, coordinates and hit testing without messages.
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/icons.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Windows = WinTest;
using Trace = std::vector<std::pair<HWND, UINT>>;

TEST_F(Windows, CreationSendsItsMessagesInOrderAndNCCalcSizeSetsTheClientOfAChild) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    ClearLog();
    On(nullptr, [](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg != WM_NCCALCSIZE) return false;
        RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam)->rgrc[0];
        r = RECT{r.left + 12, r.top, r.right - 12, r.bottom};
        return true;
    });
    const HWND bar = Child(form, {10, 20, 110, 50});
    EXPECT_EQ(
        Sequence({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_PARENTNOTIFY, WM_SHOWWINDOW}),
        (Trace{{bar, WM_NCCREATE},
               {bar, WM_NCCALCSIZE},
               {bar, WM_CREATE},
               {bar, WM_SIZE},
               {bar, WM_MOVE},
               {form, WM_PARENTNOTIFY},
               {bar, WM_SHOWWINDOW}}));
    EXPECT_EQ(Logged(bar, WM_SIZE).at(0).LParam, MAKELPARAM(76, 30));
    EXPECT_EQ(Logged(bar, WM_MOVE).at(0).LParam, MAKELPARAM(22, 20));
    EXPECT_EQ(Logged(form, WM_PARENTNOTIFY).at(0).WParam, MAKEWPARAM(WM_CREATE, 0));
    EXPECT_EQ(HWND(Logged(form, WM_PARENTNOTIFY).at(0).LParam), bar);
    RECT client;
    GetClientRect(bar, &client);
    EXPECT_EQ(client, (RECT{0, 0, 76, 30}));
    POINT p{0, 0};
    ClientToScreen(bar, &p);
    EXPECT_EQ(p, (POINT{22, 20}));
}

TEST_F(Windows, RefusedCreationGivesNoWindow) {
    Answer(nullptr, WM_CREATE, -1);
    EXPECT_EQ(Create(WS_POPUP, {0, 0, 10, 10}), nullptr);
    EXPECT_EQ(Create(WS_POPUP, {0, 0, 10, 10}, nullptr, 0, u"NoSuchClass"), nullptr);
    EXPECT_EQ(Create(WS_CHILD, {0, 0, 10, 10}), nullptr);
    EXPECT_TRUE(driver::Stacking().empty());
}

TEST_F(Windows, PositionChangesUseTheValuesWindowPosChangingLeft) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND header = Child(form, {0, 0, 100, 20});
    // A header that widens itself by 25 and swallows the message.
    On(header, [](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg != WM_WINDOWPOSCHANGING) return false;
        reinterpret_cast<WINDOWPOS*>(ALParam)->cx += 25;
        return true;
    });
    ClearLog();
    SetWindowPos(header, nullptr, 5, 6, 200, 20, SWP_NOZORDER);
    EXPECT_EQ(driver::Inspect(header).Bounds, (RECT{5, 6, 230, 26}));
    EXPECT_EQ(Sequence({WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (Trace{{header, WM_WINDOWPOSCHANGING},
                     {header, WM_NCCALCSIZE},
                     {header, WM_WINDOWPOSCHANGED},
                     {header, WM_MOVE},
                     {header, WM_SIZE}}));
    EXPECT_EQ(Logged(header, WM_SIZE).at(0).LParam, MAKELPARAM(225, 20));

    // A move alone keeps the client size: no WM_NCCALCSIZE, no WM_SIZE.
    ClearLog();
    SetWindowPos(header, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    EXPECT_EQ(Sequence({WM_NCCALCSIZE, WM_MOVE, WM_SIZE}), (Trace{{header, WM_MOVE}}));
}

TEST_F(Windows, MinMaxInfoLimitsTheSizeOfFramedWindows) {
    const HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 300});
    On(form, [](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg != WM_GETMINMAXINFO) return false;
        auto* info = reinterpret_cast<MINMAXINFO*>(ALParam);
        info->ptMinTrackSize = {200, 150};
        info->ptMaxTrackSize = {400, 350};
        return true;
    });
    const HWND popup = Popup({0, 0, 300, 300});
    struct Case {
        HWND Window;
        int Width, Height;
        RECT Expected;
    } cases[] = {{form, 100, 100, {0, 0, 200, 150}},
                 {form, 900, 900, {0, 0, 400, 350}},
                 {popup, 10, 10, {0, 0, 10, 10}}};
    for (const Case& c : cases) {
        SetWindowPos(c.Window, nullptr, 0, 0, c.Width, c.Height, SWP_NOZORDER | SWP_NOMOVE);
        EXPECT_EQ(driver::Inspect(c.Window).Bounds, c.Expected);
    }
}

TEST_F(Windows, ShowWindowAnnouncesTheChangeBeforeItHappensAndActivatesUnlessAskedNot) {
    const HWND first = Popup({0, 0, 100, 100});
    const HWND second = Create(WS_POPUP, {200, 0, 300, 100});
    BOOL visibleWhenTold = TRUE;
    On(second, [&](HWND AWindow, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg == WM_SHOWWINDOW) {
            visibleWhenTold = IsWindowVisible(AWindow);
            EXPECT_EQ(ALParam, 0);
        }
        return false;
    });
    ShowWindow(second, SW_SHOWNA);
    EXPECT_FALSE(visibleWhenTold);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(driver::ShownOnScreen(second));

    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(Logged(second, WM_SHOWWINDOW).back().WParam, WPARAM(FALSE));
    ShowWindow(second, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(Logged(first, WM_ACTIVATE).back().WParam, WPARAM(WA_INACTIVE));

    // Hiding the active window hands activation on.
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(Windows, TopLevelStackingKeepsTheTopmostBandAndOwnedWindowsAboveTheirOwner) {
    const HWND a = Popup({0, 0, 10, 10});
    const HWND b = Popup({0, 0, 10, 10});
    const HWND owned = Create(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, a);
    const HWND hint = Popup({0, 0, 10, 10}, WS_EX_TOOLWINDOW);
    SetWindowPos(hint, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, owned, b, a}));

    SetActiveWindow(a);
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, owned, a, b}));
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, b, owned, a}));
    EXPECT_TRUE(driver::Inspect(hint).ExStyle & WS_EX_TOPMOST);

    SetWindowPos(hint, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, b, owned, a}));
    EXPECT_FALSE(driver::Inspect(hint).ExStyle & WS_EX_TOPMOST);
    SetWindowPos(hint, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{b, owned, a, hint}));

    // Children stack within their parent.
    const HWND c1 = Child(a, {0, 0, 5, 5});
    const HWND c2 = Child(a, {0, 0, 5, 5});
    EXPECT_EQ(driver::Children(a), (std::vector<HWND>{c2, c1}));
    SetWindowPos(c2, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(driver::Children(a), (std::vector<HWND>{c1, c2}));
    EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
    EXPECT_EQ(GetWindow(a, GW_CHILD), c1);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), a);
}

// The window manager restacks: the layer's order follows for the windows it
// names, the others keep their places and the topmost band stays on top.
TEST_F(Windows, TheDisplaysStackingIsFollowed) {
    const HWND a = Popup({0, 0, 10, 10});
    const HWND b = Popup({0, 0, 10, 10});
    const HWND c = Popup({0, 0, 10, 10});
    const HWND hint = Popup({0, 0, 10, 10}, WS_EX_TOOLWINDOW);
    SetWindowPos(hint, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(driver::Stacking(), (std::vector<HWND>{hint, c, b, a}));
    driver::WindowManagerStacks({a, c});
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, a, b, c}));
    // Put above a topmost window, b still stays below it.
    driver::WindowManagerStacks({b, hint});
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, b, a, c}));
    driver::WindowManagerStacks({c, b, a, nullptr, HWND(intptr_t(0x7777))});
    EXPECT_EQ(driver::Stacking(), (std::vector<HWND>{hint, c, b, a}));
}

// The display learns of a dialog's owner, whether the owner is disabled
// (a modal dialog) and of the icons; no window comes to own itself.
TEST_F(Windows, TheDisplayLearnsOwnerModalStateAndIcons) {
    const HWND owner = Popup({0, 0, 100, 100});
    const HWND dialog = Create(WS_POPUP | WS_VISIBLE, {10, 10, 50, 50}, owner);
    EXPECT_EQ(driver::DisplayState(dialog).Owner, owner);
    EXPECT_FALSE(driver::DisplayState(dialog).Modal);
    EnableWindow(owner, FALSE);
    EXPECT_TRUE(driver::DisplayState(dialog).Modal);
    EnableWindow(owner, TRUE);
    EXPECT_FALSE(driver::DisplayState(dialog).Modal);

    EXPECT_EQ(SetWindowLongW(owner, GWL_HWNDPARENT, LONG_PTR(dialog)), 0);
    EXPECT_EQ(GetWindow(owner, GW_OWNER), nullptr);

    const HICON big = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(SendMessageW(owner, WM_SETICON, ICON_BIG, LPARAM(big)), 0);
    EXPECT_EQ(driver::DisplayState(owner).Icon, big);
    EXPECT_EQ(driver::DisplayState(owner).SmallIcon, nullptr);
    EXPECT_EQ(HICON(SendMessageW(owner, WM_GETICON, ICON_BIG, 0)), big);
    EXPECT_EQ(HICON(SendMessageW(owner, WM_SETICON, ICON_BIG, 0)), big);
    EXPECT_EQ(driver::DisplayState(owner).Icon, nullptr);
}

TEST_F(Windows, DestructionTakesChildrenAndOwnedWindowsInTheirOrder) {
    const HWND form = Popup({0, 0, 300, 300});
    const HWND panel = Child(form, {0, 0, 100, 100});
    const HWND button = Child(panel, {0, 0, 10, 10});
    const HWND owned = Create(WS_POPUP, {0, 0, 10, 10}, form);
    PostMessageW(button, WM_USER, 0, 0);
    SetTimer(panel, 1, 10, nullptr);
    ClearLog();
    EXPECT_TRUE(DestroyWindow(form));
    EXPECT_EQ(Sequence({WM_DESTROY, WM_NCDESTROY}), (Trace{{owned, WM_DESTROY},
                                                           {owned, WM_NCDESTROY},
                                                           {form, WM_DESTROY},
                                                           {panel, WM_DESTROY},
                                                           {button, WM_DESTROY},
                                                           {button, WM_NCDESTROY},
                                                           {panel, WM_NCDESTROY},
                                                           {form, WM_NCDESTROY}}));
    for (HWND w : {form, panel, button, owned})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DestroyWindow(form));
    driver::AdvanceTime(100);
    EXPECT_TRUE(Logged(button, WM_USER).empty());
    EXPECT_TRUE(Logged(panel, WM_TIMER).empty());
}

TEST_F(Windows, AWindowMayDestroyItselfInsideAnyOfItsHandlers) {
    const UINT messages[] = {
        WM_LBUTTONDOWN, WM_NCHITTEST,  WM_SETCURSOR,         WM_MOUSEACTIVATE, WM_TIMER,    WM_PAINT,
        WM_NCPAINT,     WM_ERASEBKGND, WM_WINDOWPOSCHANGING, WM_NCCALCSIZE,    WM_ACTIVATE, WM_SETFOCUS,
        WM_KEYDOWN,     WM_CHAR,       WM_CAPTURECHANGED,    WM_SHOWWINDOW,    WM_SIZE,     WM_NCLBUTTONDOWN};
    for (UINT message : messages) {
        SCOPED_TRACE(message);
        driver::Reset();
        const HWND other = Popup({200, 0, 300, 100});
        const HWND popup = Create(WS_POPUP, {0, 0, 100, 100});
        const HWND child = Child(popup, {0, 0, 50, 50});
        bool after = false;
        On(popup, [&](HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
            if (AMsg == WM_NCHITTEST && message == WM_NCLBUTTONDOWN) {
                AResult = HTCAPTION;
                return true;
            }
            if (AMsg != message) return false;
            DestroyWindow(AWindow);
            // The rest of the handler runs on a stale handle, safely.
            AResult = DefWindowProcW(AWindow, AMsg, AWParam, ALParam);
            after = !IsWindow(AWindow);
            return true;
        });
        SetTimer(popup, 1, 10, nullptr);
        ShowWindow(popup, SW_SHOW);
        SetCapture(popup);
        ReleaseCapture();
        InvalidateRect(popup, nullptr, TRUE);
        MoveWindow(popup, 0, 0, 120, 120, TRUE);
        SetFocus(popup);
        SetActiveWindow(other);
        driver::Click({80, 80});
        driver::Pump();
        driver::Key('Q');
        driver::AdvanceTime(20);
        EXPECT_TRUE(after);
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_FALSE(IsWindow(child));
    }
}

TEST_F(Windows, CallsOnAStaleHandleFailAsWindowsDoes) {
    const HWND w = Popup({0, 0, 10, 10});
    DestroyWindow(w);
    RECT r{};
    POINT p{};
    PAINTSTRUCT ps{};
    EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
    EXPECT_FALSE(SetWindowPos(w, nullptr, 0, 0, 5, 5, 0));
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_FALSE(GetWindowRect(w, &r));
    EXPECT_FALSE(ClientToScreen(w, &p));
    EXPECT_EQ(GetDC(w), nullptr);
    EXPECT_EQ(BeginPaint(w, &ps), nullptr);
    EXPECT_EQ(SetTimer(w, 1, 10, nullptr), 0u);
    EXPECT_EQ(SetFocus(w), nullptr);
    EXPECT_EQ(SetCapture(w), nullptr);
    EXPECT_EQ(SetWindowLongW(w, GWL_USERDATA, 5), 0);
    EXPECT_EQ(SetWindowRgn(w, nullptr, TRUE), 0);
    EXPECT_FALSE(InvalidateRect(w, nullptr, TRUE));
    EXPECT_FALSE(EnableWindow(w, FALSE));
    EXPECT_EQ(GetParent(w), nullptr);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(intptr_t(12345))));
}

WNDPROC GOriginal = nullptr;
std::vector<std::string> GCalls;

LRESULT Subclass(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
    if (AMsg == WM_USER) GCalls.push_back("handle");
    return CallWindowProcW(GOriginal, AWindow, AMsg, AWParam, ALParam);
}

TEST_F(Windows, ProceduresReplacedAtObjectAndHandleLevelChainToTheOldOnes) {
    // The object: a procedure method that a hook replaces, keeping the old one.
    struct TObjectWindow {
        TWndMethod WindowProc;
        WNDPROC Instance = nullptr;
        HWND Handle = nullptr;
    } object;
    object.WindowProc = [&](TMessage& AMessage) {
        if (AMessage.Msg == WM_USER) {
            GCalls.push_back("object");
            AMessage.Result = 42;
        } else {
            AMessage.Result = DefWindowProcW(object.Handle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
        }
    };
    object.Instance = MakeObjectInstance([&](TMessage& AMessage) { object.WindowProc(AMessage); });
    object.Handle = Popup({0, 0, 10, 10});
    SetWindowLongW(object.Handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(object.Instance));

    const TWndMethod old = object.WindowProc;
    object.WindowProc = [&](TMessage& AMessage) {
        if (AMessage.Msg == WM_USER) GCalls.push_back("hook");
        old(AMessage);
    };
    GOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongW(object.Handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    EXPECT_EQ(GOriginal, object.Instance);

    GCalls.clear();
    EXPECT_EQ(SendMessageW(object.Handle, WM_USER, 0, 0), 42);
    EXPECT_EQ(GCalls, (std::vector<std::string>{"handle", "hook", "object"}));

    // Restored on the way out; a freed instance answers 0 and calls nothing.
    SetWindowLongW(object.Handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(GOriginal));
    FreeObjectInstance(object.Instance);
    GCalls.clear();
    EXPECT_EQ(SendMessageW(object.Handle, WM_USER, 0, 0), 0);
    EXPECT_TRUE(GCalls.empty());
}

TEST_F(Windows, StylesClassStylesAndLongsAreKeptAndChangeAtRunTime) {
    const HWND popup = Create(WS_POPUP | WS_BORDER, {0, 0, 10, 10}, nullptr, WS_EX_TOOLWINDOW);
    SetWindowLongW(popup, GWL_STYLE, GetWindowLongW(popup, GWL_STYLE) & ~LONG_PTR(WS_BORDER));
    EXPECT_EQ(DWORD(GetWindowLongW(popup, GWL_STYLE)), WS_POPUP);
    EXPECT_EQ(Logged(popup, WM_STYLECHANGED).size(), 1u);
    SetWindowLongW(popup, GWL_EXSTYLE, GetWindowLongW(popup, GWL_EXSTYLE) | WS_EX_LAYERED);
    EXPECT_TRUE(driver::Layered(popup).Layered);
    SetWindowLongW(popup, GWL_EXSTYLE, GetWindowLongW(popup, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_LAYERED));
    EXPECT_FALSE(driver::Layered(popup).Layered);

    SetClassLongW(popup, GCL_STYLE, GetClassLongW(popup, GCL_STYLE) | CS_DROPSHADOW | CS_SAVEBITS);
    EXPECT_EQ(driver::Inspect(popup).ClassStyle, CS_DROPSHADOW | CS_SAVEBITS);
    SetClassLongW(popup, GCL_STYLE, 0);

    WCHAR name[80];
    EXPECT_EQ(GetClassNameW(popup, name, 80), 6);
    EXPECT_EQ(std::u16string(name), u"VqTest");
    EXPECT_EQ(GetClassNameW(popup, name, 4), 3);
    EXPECT_EQ(std::u16string(name), u"VqT");

    SetWindowLongW(popup, GWL_USERDATA, 77);
    EXPECT_EQ(GetWindowLongW(popup, GWL_USERDATA), 77);
    const HWND owner = Popup({0, 0, 10, 10});
    SetWindowLongW(popup, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EXPECT_EQ(GetParent(popup), owner);

    SetWindowTextW(popup, u"标题");
    WCHAR text[8];
    EXPECT_EQ(GetWindowTextW(popup, text, 8), 2);
    EXPECT_EQ(std::u16string(text), u"标题");
    EXPECT_EQ(driver::Inspect(popup).Text, u"标题");
}

TEST_F(Windows, MessageOnlyWindowsGetMessagesButAreNeverShown) {
    const HWND hidden = Create(0, {0, 0, 0, 0}, HWND_MESSAGE);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(ShowWindow(hidden, SW_SHOW));
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(driver::Stacking().empty());
    PostMessageW(hidden, WM_USER, 1, 2);
    SetTimer(hidden, 3, 100, nullptr);
    driver::AdvanceTime(100);
    EXPECT_EQ(Logged(hidden, WM_USER).size(), 1u);
    EXPECT_EQ(Logged(hidden, WM_TIMER).size(), 1u);
}

TEST_F(Windows, CoordinatesMapThroughFramesAndParents) {
    const HWND form =
        Create(WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 50, 400, 350}, nullptr, WS_EX_CLIENTEDGE);
    const HWND panel = Child(form, {10, 20, 200, 200});
    const HWND button = Child(panel, {5, 5, 50, 30});
    POINT p{0, 0};
    ClientToScreen(button, &p);
    EXPECT_EQ(p, (POINT{100 + 3 + 10 + 5, 50 + 3 + 20 + 5}));
    ScreenToClient(panel, &p);
    EXPECT_EQ(p, (POINT{5, 5}));
    POINT q{1, 1};
    MapWindowPoints(button, form, &q, 1);
    EXPECT_EQ(q, (POINT{16, 26}));
    RECT r;
    GetWindowRect(button, &r);
    EXPECT_EQ(r, (RECT{118, 78, 163, 103}));
}

TEST_F(Windows, WindowFromPointSkipsHiddenTransparentAndRegionExcludedWindows) {
    const HWND back = Popup({0, 0, 200, 200});
    const HWND child = Child(back, {0, 0, 100, 100});
    const HWND disabled = Child(back, {100, 0, 200, 100});
    EnableWindow(disabled, FALSE);
    const HWND glow = Popup({0, 0, 200, 200}, WS_EX_TRANSPARENT);
    const HWND shaped = Popup({0, 100, 100, 200});
    SetWindowRgn(shaped, CreateRectRgn(0, 0, 50, 100), FALSE);
    const HWND top = Popup({150, 150, 250, 250});
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const HWND hidden = Create(WS_POPUP, {0, 0, 300, 300});
    SetWindowPos(hidden, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // A shadow whose left column is clear.
    const HWND shadow = Popup({180, 0, 182, 10}, WS_EX_LAYERED);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, -10, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < 10; ++y)
        static_cast<uint32_t*>(bits)[y * 2 + 1] = 0x40000000;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const POINT origin{0, 0};
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(shadow, nullptr, nullptr, nullptr, dc, &origin, 0, &blend, ULW_ALPHA);
    DeleteDC(dc);
    DeleteObject(bitmap);
    struct Case {
        POINT At;
        HWND Expected;
    } cases[] = {{{10, 10}, child},     {{150, 10}, back}, {{10, 150}, shaped},
                 {{75, 150}, back},     {{160, 160}, top}, {{150, 120}, back},
                 {{260, 260}, nullptr}, {{180, 5}, back},  {{181, 5}, shadow}};
    (void)glow;
    (void)hidden;
    for (const Case& c : cases)
        EXPECT_EQ(WindowFromPoint(c.At), c.Expected) << c.At.x << "," << c.At.y;
}

TEST_F(Windows, MinimizingAndATaskBarRestoreChangeTheStateWithWMSize) {
    const HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 300});
    const HWND other = Popup({400, 0, 500, 100});
    SetActiveWindow(form);
    ClearLog();
    ShowWindow(form, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(form));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_FALSE(driver::ShownOnScreen(form));
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(Logged(form, WM_SIZE).back().WParam, SIZE_MINIMIZED);

    driver::RestoreFromTaskBar(form);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).back().WParam, SC_RESTORE);
    EXPECT_FALSE(IsIconic(form));
    EXPECT_TRUE(driver::ShownOnScreen(form));
    EXPECT_EQ(Logged(form, WM_SIZE).back().WParam, SIZE_RESTORED);
    EXPECT_EQ(GetActiveWindow(), form);

    // The window manager minimizes it as the system command does.
    driver::MinimizeFromTaskBar(form);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).back().WParam, SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(form));
    EXPECT_FALSE(driver::ShownOnScreen(form));
    driver::RestoreFromTaskBar(form);

    ShowWindow(form, SW_MAXIMIZE);
    EXPECT_EQ(driver::Inspect(form).Bounds, Capabilities().WorkArea);
    EXPECT_EQ(Logged(form, WM_SIZE).back().WParam, SIZE_MAXIMIZED);
    ShowWindow(form, SW_RESTORE);
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{0, 0, 300, 300}));
}

TEST_F(Windows, AChildMovesToAnotherParent) {
    const HWND form = Popup({0, 0, 300, 300});
    const HWND a = Child(form, {0, 0, 100, 100});
    const HWND b = Child(form, {100, 0, 200, 100});
    const HWND panel = Child(a, {10, 10, 50, 50});
    EXPECT_EQ(SetParent(panel, b), a);
    EXPECT_EQ(GetParent(panel), b);
    EXPECT_EQ(driver::Inspect(panel).Bounds, (RECT{110, 10, 150, 50}));
    EXPECT_EQ(SetParent(b, panel), nullptr);
}

TEST_F(Windows, AFrameChangeRecalculatesTheClientAreaAndAsksForTheFrame) {
    int inset = 0;
    On(nullptr, [&](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT&) {
        if (AMsg != WM_NCCALCSIZE) return false;
        RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam)->rgrc[0];
        r = RECT{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        return true;
    });
    const HWND form = Popup({0, 0, 100, 100});
    driver::Pump();
    inset = 10;
    ClearLog();
    SetWindowPos(form, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(driver::Inspect(form).Client, (RECT{10, 10, 90, 90}));
    EXPECT_EQ(Logged(form, WM_SIZE).back().LParam, MAKELPARAM(80, 80));
    driver::Pump();
    EXPECT_EQ(Logged(form, WM_NCPAINT).size(), 1u);
}

TEST_F(Windows, LosingActivationEndsTheCaptureModeOfTheWindow) {
    const HWND form = Popup({0, 0, 100, 100});
    const HWND button = Child(form, {0, 0, 10, 10});
    const HWND other = Popup({200, 0, 300, 100});
    SetActiveWindow(form);
    SetCapture(button);
    SetActiveWindow(other);
    EXPECT_EQ(Logged(button, WM_CANCELMODE).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Windows, ScrollStateIsKeptWithoutBars) {
    const HWND list = Popup({0, 0, 100, 100});
    EXPECT_TRUE(SetScrollRange(list, SB_VERT, 0, 99, FALSE));
    SCROLLINFO info{sizeof info, SIF_PAGE, 0, 0, 10, 0, 0};
    SetScrollInfo(list, SB_VERT, &info, FALSE);
    struct Case {
        int Set, Expected;
    } cases[] = {{50, 50}, {95, 90}, {-5, 0}};
    for (const Case& c : cases) {
        SetScrollPos(list, SB_VERT, c.Set, TRUE);
        EXPECT_EQ(GetScrollPos(list, SB_VERT), c.Expected);
    }
    int low = -1, high = -1;
    EXPECT_TRUE(GetScrollRange(list, SB_VERT, &low, &high));
    EXPECT_EQ(high, 99);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), 0);
}

TEST_F(Windows, ANativeChildFollowsItsWindow) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 100, 400, 400});
    const HWND host = Child(form, {10, 20, 110, 80});
    EXPECT_EQ(NativeWindowOf(form), 0u);
    const uintptr_t id = NativeWindowOf(host);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(NativeWindowOf(host), id);
    RECT place;
    bool visible = false;
    MoveWindow(host, 30, 40, 50, 60, TRUE);
    ASSERT_TRUE(driver::NativeChild(host, place, visible));
    EXPECT_EQ(place, (RECT{31, 41, 81, 101}));
    EXPECT_TRUE(visible);
    ShowWindow(form, SW_HIDE);
    driver::NativeChild(host, place, visible);
    EXPECT_FALSE(visible);
    // Given back, the window has no native window until it is asked again.
    ReleaseNativeWindow(host);
    EXPECT_FALSE(driver::NativeChild(host, place, visible));
    EXPECT_NE(NativeWindowOf(host), 0u);
    DestroyWindow(form);
    EXPECT_FALSE(driver::NativeChild(host, place, visible));
}

}  // namespace
