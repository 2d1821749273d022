// Input routing: hit testing, client and non-client messages, activation on
// a press, parent notification, capture, double clicks, keys and the wheel.
#include "platform/win/input.h"
#include "platform/win/system.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Routing = WinTest;
using Trace = std::vector<std::pair<HWND, UINT>>;

TEST_F(Routing, APressOnAChildOfAnInactiveWindowActivatesItUnlessItAnswersNoActivate) {
    struct Case {
        LRESULT Answer;
        bool Activates;
    } cases[] = {{MA_ACTIVATE, true}, {MA_NOACTIVATE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Answer);
        driver::Reset();
        const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
        const HWND panel = Child(form, {10, 10, 200, 200});
        const HWND button = Child(panel, {10, 10, 60, 40});
        const HWND other = Create(WS_POPUP | WS_VISIBLE, {400, 0, 600, 200});
        ASSERT_EQ(GetActiveWindow(), other);
        Answer(form, WM_MOUSEACTIVATE, c.Answer);
        ClearLog();

        driver::Click({25, 30});
        driver::Pump();

        const UINT watched[] = {WM_MOUSEACTIVATE, WM_NCACTIVATE,   WM_ACTIVATE,   WM_KILLFOCUS,
                                WM_SETFOCUS,      WM_PARENTNOTIFY, WM_LBUTTONDOWN};
        Trace expected = {{button, WM_MOUSEACTIVATE}, {panel, WM_MOUSEACTIVATE}, {form, WM_MOUSEACTIVATE}};
        if (c.Activates)
            expected.insert(expected.end(), {{other, WM_NCACTIVATE},
                                             {other, WM_ACTIVATE},
                                             {other, WM_KILLFOCUS},
                                             {form, WM_NCACTIVATE},
                                             {form, WM_ACTIVATE},
                                             {form, WM_SETFOCUS}});
        expected.insert(expected.end(),
                        {{panel, WM_PARENTNOTIFY}, {form, WM_PARENTNOTIFY}, {button, WM_LBUTTONDOWN}});
        EXPECT_EQ(
            Sequence({watched[0], watched[1], watched[2], watched[3], watched[4], watched[5], watched[6]}),
            expected);
        EXPECT_EQ(GetActiveWindow(), c.Activates ? form : other);
        EXPECT_EQ(GetFocus(), c.Activates ? form : other);

        // Each ancestor gets the point in its own client coordinates.
        EXPECT_EQ(Logged(panel, WM_PARENTNOTIFY).at(0).LParam, MAKELPARAM(15, 20));
        EXPECT_EQ(Logged(form, WM_PARENTNOTIFY).at(0).LParam, MAKELPARAM(25, 30));
        EXPECT_EQ(LOWORD(Logged(form, WM_PARENTNOTIFY).at(0).WParam), WM_LBUTTONDOWN);
        EXPECT_EQ(Logged(button, WM_LBUTTONDOWN).at(0).LParam, MAKELPARAM(5, 10));
    }
}

TEST_F(Routing, APressOnAChildOfTheActiveWindowAsksTheChainAndNoParentNotifyPassesNoParentNotify) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND panel = Child(form, {10, 10, 200, 200});
    const HWND quiet = Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 40}, panel, WS_EX_NOPARENTNOTIFY);
    ASSERT_EQ(GetActiveWindow(), form);
    ClearLog();
    driver::Click({25, 30});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_PARENTNOTIFY, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (Trace{{quiet, WM_MOUSEACTIVATE},
                     {panel, WM_MOUSEACTIVATE},
                     {form, WM_MOUSEACTIVATE},
                     {quiet, WM_LBUTTONDOWN},
                     {quiet, WM_LBUTTONUP}}));
    // The chain's answer names the top-level window and the press.
    EXPECT_EQ(Logged(quiet, WM_MOUSEACTIVATE).at(0).WParam, WPARAM(form));
    EXPECT_EQ(Logged(quiet, WM_MOUSEACTIVATE).at(0).LParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));

    // A press on the active window itself asks nothing.
    ClearLog();
    driver::Click({250, 250});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_MOUSEACTIVATE, WM_LBUTTONDOWN}), (Trace{{form, WM_LBUTTONDOWN}}));
}

TEST_F(Routing, HitCodesChooseClientOrNonClientMessages) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
    int code = HTCLIENT;
    On(form, [&](HWND, UINT AMsg, WPARAM, LPARAM, LRESULT& AResult) {
        if (AMsg != WM_NCHITTEST) return false;
        AResult = code;
        return true;
    });
    struct Case {
        int HitCode;
        UINT Down, Up;
        WPARAM WParam;
        LPARAM LParam;
    } cases[] = {{HTCLIENT, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(10, 20)},
                 {HTOBJECT, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WPARAM(HTOBJECT), MAKELPARAM(110, 120)},
                 {119, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, 119, MAKELPARAM(110, 120)},
                 {120, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, 120, MAKELPARAM(110, 120)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.HitCode);
        code = c.HitCode;
        ClearLog();
        driver::Click({110, 120});
        driver::Pump();
        EXPECT_EQ(
            Sequence({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_ENTERSIZEMOVE}),
            (Trace{{form, c.Down}, {form, c.Up}}));
        EXPECT_EQ(Logged(form, c.Down).at(0).WParam, c.WParam);
        EXPECT_EQ(Logged(form, c.Down).at(0).LParam, c.LParam);
        // The private codes are non-client and do nothing by default.
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(Routing, HTTransparentPassesTheEventToTheWindowBelow) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND below = Child(form, {0, 0, 100, 100});
    const HWND above = Child(form, {0, 0, 100, 100});
    Answer(above, WM_NCHITTEST, HTTRANSPARENT);
    ClearLog();
    driver::MouseDown({50, 50});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_NCHITTEST, WM_LBUTTONDOWN}),
              (Trace{{above, WM_NCHITTEST}, {below, WM_NCHITTEST}, {below, WM_LBUTTONDOWN}}));
}

TEST_F(Routing, TheCaptureGetsEveryMouseEventAsClientMessageWithoutHitTest) {
    const HWND popup = Popup({100, 100, 200, 200});
    const HWND other = Popup({300, 300, 400, 400});
    SetCapture(popup);
    ClearLog();
    driver::MouseMove({50, 60});
    driver::Click({350, 350});
    driver::Pump();
    EXPECT_EQ(
        Sequence({WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
        (Trace{{popup, WM_MOUSEMOVE}, {popup, WM_LBUTTONDOWN}, {popup, WM_LBUTTONUP}}));
    EXPECT_EQ(GET_X_LPARAM(Logged(popup, WM_MOUSEMOVE).at(0).LParam), -50);
    EXPECT_EQ(GET_Y_LPARAM(Logged(popup, WM_MOUSEMOVE).at(0).LParam), -40);
    EXPECT_EQ(Logged(popup, WM_LBUTTONDOWN).at(0).LParam, MAKELPARAM(250, 250));
    EXPECT_TRUE(Logged(other, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(driver::PointerGrab(), popup);

    ReleaseCapture();
    EXPECT_EQ(Logged(popup, WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(driver::PointerGrab(), nullptr);
}

TEST_F(Routing, DoubleClicksComeOnlyForClassesThatAskAndAlwaysInTheFrame) {
    struct Case {
        const char16_t* Class;
        int HitCode;
        Cardinal Gap;
        UINT Second;
    } cases[] = {{TestClass, HTCLIENT, 100, WM_LBUTTONDOWN},
                 {DblClkClass, HTCLIENT, 100, WM_LBUTTONDBLCLK},
                 {DblClkClass, HTCLIENT, 600, WM_LBUTTONDOWN},
                 {TestClass, HTCAPTION, 100, WM_NCLBUTTONDBLCLK}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.HitCode << " after " << c.Gap);
        driver::Reset();
        const HWND w = Create(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100}, nullptr, 0, c.Class);
        Answer(w, WM_NCHITTEST, c.HitCode);
        driver::Click({10, 10});
        driver::Pump();
        driver::AdvanceTime(c.Gap);
        ClearLog();
        driver::Click({11, 11});
        driver::Pump();
        const UINT first = c.HitCode == HTCLIENT ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN;
        EXPECT_EQ(Sequence({first, c.Second}), (Trace{{w, c.Second}}));
    }
}

TEST_F(Routing, KeysGoToTheFocusAndTranslateIntoCharacters) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND edit = Child(form, {10, 10, 100, 30});
    SetFocus(edit);
    ClearLog();
    driver::Key('A');
    driver::KeyDown(VK_SHIFT);
    driver::Key('B');
    driver::KeyUp(VK_SHIFT);
    driver::Text(u"中文");
    EXPECT_TRUE(GetAsyncKeyState('A') == 0);
    driver::Pump();
    std::u16string typed;
    for (const TLogEntry& e : Logged(edit, WM_CHAR))
        typed += char16_t(e.WParam);
    EXPECT_EQ(typed, u"aB中文");
    EXPECT_EQ(Logged(edit, WM_KEYDOWN).size(), 3u);
    EXPECT_TRUE(Logged(form, WM_KEYDOWN).empty());

    // Held keys show in both key states once taken from the queue.
    driver::KeyDown(VK_CONTROL);
    EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    driver::Pump();
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
}

TEST_F(Routing, AltMakesSystemKeysAndALoneAltAsksForTheMenu) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND edit = Child(form, {10, 10, 100, 30});
    SetFocus(edit);
    ClearLog();
    driver::KeyDown(VK_MENU);
    driver::Key('X');
    driver::KeyUp(VK_MENU);
    driver::Pump();
    EXPECT_EQ(Sequence({WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYDOWN}), (Trace{{edit, WM_SYSKEYDOWN},
                                                                                     {edit, WM_SYSKEYDOWN},
                                                                                     {edit, WM_SYSCHAR},
                                                                                     {edit, WM_SYSKEYUP},
                                                                                     {edit, WM_SYSKEYUP}}));
    // The context code of Alt+X says Alt; Alt+X is no lone Alt.
    EXPECT_TRUE(Logged(edit, WM_SYSKEYDOWN).at(1).LParam & (LPARAM(1) << 29));
    ASSERT_EQ(Logged(form, WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).at(0).WParam, SC_KEYMENU);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).at(0).LParam, LPARAM('x'));

    ClearLog();
    driver::Key(VK_MENU);
    driver::Pump();
    ASSERT_EQ(Logged(form, WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).at(0).WParam, SC_KEYMENU);
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).at(0).LParam, 0);
}

// F10 enters the menu bar as a lone Alt does; Shift+F10 asks for the
// context menu instead.
TEST_F(Routing, F10AsksForTheMenuAndShiftF10ForTheContextMenu) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND edit = Child(form, {10, 10, 100, 30});
    SetFocus(edit);
    struct Case {
        bool Shift;
        size_t Menus;
        size_t ContextMenus;
    } cases[] = {{false, 1, 0}, {true, 0, 1}};
    for (const Case& c : cases) {
        ClearLog();
        if (c.Shift) driver::KeyDown(VK_SHIFT);
        driver::Key(VK_F10);
        if (c.Shift) driver::KeyUp(VK_SHIFT);
        driver::Pump();
        const std::vector<TLogEntry> menus = Logged(form, WM_SYSCOMMAND);
        EXPECT_EQ(menus.size(), c.Menus) << c.Shift;
        if (!menus.empty()) {
            EXPECT_EQ(menus[0].WParam, SC_KEYMENU);
        }
        EXPECT_EQ(Logged(edit, WM_CONTEXTMENU).size(), c.ContextMenus) << c.Shift;
    }
}

TEST_F(Routing, WithoutAFocusKeysGoToTheActiveWindowAsSystemKeys) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    SetFocus(nullptr);
    ClearLog();
    driver::Key(VK_RETURN);
    driver::Pump();
    EXPECT_EQ(Sequence({WM_KEYDOWN, WM_SYSKEYDOWN}), (Trace{{form, WM_SYSKEYDOWN}}));
}

TEST_F(Routing, TheWheelGoesToTheFocusAndUpToAParentThatHandlesIt) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND panel = Child(form, {0, 0, 200, 200});
    const HWND list = Child(panel, {0, 0, 100, 100});
    SetFocus(list);
    Answer(form, WM_MOUSEWHEEL, 0);
    ClearLog();
    driver::Wheel({250, 250}, -WHEEL_DELTA);
    driver::Pump();
    EXPECT_EQ(Sequence({WM_MOUSEWHEEL}),
              (Trace{{list, WM_MOUSEWHEEL}, {panel, WM_MOUSEWHEEL}, {form, WM_MOUSEWHEEL}}));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Logged(form, WM_MOUSEWHEEL).at(0).WParam), -WHEEL_DELTA);
    EXPECT_EQ(Logged(form, WM_MOUSEWHEEL).at(0).LParam, MAKELPARAM(250, 250));
}

// With another program active the wheel still reaches what it is over,
// never a disabled window.
TEST_F(Routing, WithNoneOfOursActiveTheWheelGoesToTheWindowUnderIt) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND list = Child(form, {0, 0, 100, 100});
    driver::WindowManagerFocus(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    ClearLog();
    driver::Wheel({50, 50}, WHEEL_DELTA);
    driver::Pump();
    EXPECT_EQ(Sequence({WM_MOUSEWHEEL}), (Trace{{list, WM_MOUSEWHEEL}, {form, WM_MOUSEWHEEL}}));

    EnableWindow(form, FALSE);
    ClearLog();
    driver::Wheel({50, 50}, WHEEL_DELTA);
    driver::Pump();
    EXPECT_EQ(Sequence({WM_MOUSEWHEEL}), Trace{});
}

TEST_F(Routing, SetCursorDefaultsFollowTheHitCodeAsTheHandlerLeftIt) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    int code = HTLEFT;
    bool rewrite = false;
    On(form, [&](HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
        if (AMsg == WM_NCHITTEST) {
            AResult = code;
            return true;
        }
        if (AMsg == WM_SETCURSOR && rewrite) {
            AResult = DefWindowProcW(AWindow, AMsg, AWParam, MAKELPARAM(HTCLIENT, HIWORD(ALParam)));
            return true;
        }
        return false;
    });
    struct Case {
        int Code;
        bool Rewrite;
        LPCWSTR Cursor;
    } cases[] = {{HTLEFT, false, IDC_SIZEWE},       {HTBOTTOMRIGHT, false, IDC_SIZENWSE},
                 {HTTOPRIGHT, false, IDC_SIZENESW}, {HTTOP, false, IDC_SIZENS},
                 {HTCAPTION, true, IDC_ARROW},      {HTCAPTION, false, IDC_ARROW}};
    for (const Case& c : cases) {
        code = c.Code;
        rewrite = c.Rewrite;
        SetCursor(nullptr);
        driver::MouseMove({5, 5});
        driver::Pump();
        EXPECT_EQ(driver::Cursor(), LoadCursorW(nullptr, c.Cursor)) << c.Code;
    }
}

TEST_F(Routing, APressOnADisabledWindowBeepsAndGoesNowhere) {
    const HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND dialog = Create(WS_POPUP | WS_VISIBLE, {400, 0, 500, 100}, owner);
    EnableWindow(owner, FALSE);
    ClearLog();
    driver::Click({10, 10});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_NCHITTEST, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}), Trace{});
    EXPECT_EQ(driver::Beeps(), std::vector<UINT>{MB_OK});
    EXPECT_EQ(GetActiveWindow(), dialog);
}

// A window manager that activates the window a modal dialog disables, or a
// press on it, brings the dialog up instead, with the keyboard.
TEST_F(Routing, ActivatingAWindowAModalDialogDisablesActivatesTheDialog) {
    const HWND owner = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND dialog = Create(WS_POPUP | WS_VISIBLE, {100, 100, 200, 200}, owner);
    const HWND other = Create(WS_POPUP | WS_VISIBLE, {400, 0, 500, 100});
    EnableWindow(owner, FALSE);
    SetActiveWindow(other);

    driver::WindowManagerFocus(owner);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(driver::DisplayFocus(), dialog);
    // Already active: the display is told again, since it focused the owner.
    SetActiveWindow(dialog);
    driver::WindowManagerFocus(owner);
    EXPECT_EQ(driver::DisplayFocus(), dialog);

    SetActiveWindow(other);
    driver::Click({10, 10});
    driver::Pump();
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(driver::Stacking().front(), dialog);
}

// A display says which window a click reached: that one gets it, also where
// the layer's order has another window on top at the point.
TEST_F(Routing, AClickGoesToTheWindowTheDisplayDeliveredItTo) {
    const HWND below = Create(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    const HWND above = Create(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
    ASSERT_EQ(driver::Stacking().front(), above);
    ClearLog();
    driver::ClickIn(below, {150, 150});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (Trace{{below, WM_LBUTTONDOWN}, {below, WM_LBUTTONUP}}));
    EXPECT_EQ(Logged(below, WM_LBUTTONDOWN).at(0).LParam, MAKELPARAM(150, 150));
    EXPECT_EQ(GetActiveWindow(), below);
    // Delivered to a window that does not reach the point, it goes nowhere.
    ClearLog();
    driver::ClickIn(below, {250, 250});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_LBUTTONDOWN, WM_LBUTTONUP}), Trace{});
}

TEST_F(Routing, TheTrackHookHearsTheWindowUnderTheCursorOrTheCapture) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND button = Child(form, {10, 10, 60, 40});
    std::vector<HWND> heard;
    SetMouseTrackHook([&](HWND AWindow, POINT) { heard.push_back(AWindow); });
    driver::MouseMove({20, 20});
    driver::MouseMove({200, 200});
    driver::MouseMove({500, 500});
    driver::Pump();
    SetCapture(button);
    driver::MouseMove({200, 200});
    driver::Pump();
    EXPECT_EQ(heard, (std::vector<HWND>{button, form, nullptr, button}));
}

TEST_F(Routing, FocusChangesAreVisibleAtOnceFromInsideAPress) {
    const HWND form = Create(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    const HWND first = Child(form, {0, 0, 50, 50});
    const HWND second = Child(form, {100, 0, 150, 50});
    SetFocus(first);
    HWND seen = nullptr;
    On(second, [&](HWND AWindow, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg == WM_LBUTTONDOWN) {
            SetFocus(AWindow);
            seen = GetFocus();
        }
        return false;
    });
    ClearLog();
    driver::Click({120, 20});
    driver::Pump();
    EXPECT_EQ(seen, second);
    EXPECT_EQ(Sequence({WM_KILLFOCUS, WM_SETFOCUS}), (Trace{{first, WM_KILLFOCUS}, {second, WM_SETFOCUS}}));
    EXPECT_EQ(HWND(Logged(first, WM_KILLFOCUS).at(0).WParam), second);
    EXPECT_EQ(HWND(Logged(second, WM_SETFOCUS).at(0).WParam), first);

    // Disabling takes the focus away; a disabled window cannot take it.
    EnableWindow(second, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(second), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(Logged(second, WM_CANCELMODE).size(), 1u);
}

TEST_F(Routing, ARightClickOrTheMenuKeyAsksForAContextMenuUpTheParents) {
    const HWND form = Popup({100, 100, 300, 300});
    const HWND edit = Child(form, {10, 10, 100, 30});
    SetFocus(edit);
    ClearLog();
    driver::Click({120, 115}, VK_RBUTTON);
    driver::Key(VK_APPS);
    driver::Pump();
    using Trace = std::vector<std::pair<HWND, UINT>>;
    EXPECT_EQ(
        Sequence({WM_CONTEXTMENU}),
        (Trace{
            {edit, WM_CONTEXTMENU}, {form, WM_CONTEXTMENU}, {edit, WM_CONTEXTMENU}, {form, WM_CONTEXTMENU}}));
    EXPECT_EQ(Logged(form, WM_CONTEXTMENU).at(0).LParam, MAKELPARAM(120, 115));
    EXPECT_EQ(HWND(Logged(form, WM_CONTEXTMENU).at(0).WParam), edit);
    EXPECT_EQ(Logged(form, WM_CONTEXTMENU).at(1).LParam, -1);
}

TEST_F(Routing, APumpInsideRoutingKeepsTheInputInOrder) {
    const HWND form = Popup({0, 0, 100, 100});
    const HWND other = Popup({200, 0, 300, 100});
    On(form, [](HWND, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg == WM_MOUSEACTIVATE) ProcessPendingMessages();
        return false;
    });
    ASSERT_EQ(GetActiveWindow(), other);
    ClearLog();
    driver::Click({10, 10});
    driver::Pump();
    EXPECT_EQ(Sequence({WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<std::pair<HWND, UINT>>{{form, WM_LBUTTONDOWN}, {form, WM_LBUTTONUP}}));
}

}  // namespace
