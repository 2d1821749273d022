// The modal move and size loop behind a press on a caption or a sizing edge.
#include "platform/gdi/capabilities.h"
#include "platform/win/input.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using SizeMove = WinTest;
using Trace = std::vector<std::pair<HWND, UINT>>;

TEST_F(SizeMove, ACaptionPressRunsTheMoveLoopFromTheQueuedDragAndItHasEndedWhenThePressReturns) {
    const HWND form = Popup({100, 100, 300, 200});
    bool endedInside = false;
    On(form, [&](HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
        if (AMsg == WM_NCHITTEST) {
            AResult = HTCAPTION;
            return true;
        }
        if (AMsg == WM_NCLBUTTONDOWN) {
            AResult = DefWindowProcW(AWindow, AMsg, AWParam, ALParam);
            endedInside = !Logged(AWindow, WM_EXITSIZEMOVE).empty() && GetCapture() == nullptr;
            return true;
        }
        return false;
    });
    driver::MouseDown({150, 110});
    driver::MouseMove({160, 115});
    driver::MouseMove({170, 130});
    driver::MouseUp({170, 130});
    ClearLog();
    driver::Pump();
    EXPECT_TRUE(endedInside);
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{120, 120, 320, 220}));
    EXPECT_EQ(Sequence({WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVE,
                        WM_EXITSIZEMOVE, WM_LBUTTONUP, WM_NCLBUTTONUP}),
              (Trace{{form, WM_NCLBUTTONDOWN},
                     {form, WM_SYSCOMMAND},
                     {form, WM_ENTERSIZEMOVE},
                     {form, WM_MOVING},
                     {form, WM_MOVE},
                     {form, WM_MOVING},
                     {form, WM_MOVE},
                     {form, WM_EXITSIZEMOVE}}));
    EXPECT_EQ(Logged(form, WM_SYSCOMMAND).at(0).WParam, SC_MOVE | HTCAPTION);
    EXPECT_EQ(Logged(form, WM_CAPTURECHANGED).size(), 1u);
}

TEST_F(SizeMove, TheRectangleWMMovingLeavesIsTheOneUsedAndEscapeGoesBack) {
    const HWND form = Popup({100, 100, 300, 200});
    On(form, [](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT& AResult) {
        if (AMsg == WM_NCHITTEST) {
            AResult = HTCAPTION;
            return true;
        }
        if (AMsg == WM_MOVING) {
            // Snaps to the left edge of the screen.
            RECT& r = *reinterpret_cast<RECT*>(ALParam);
            r = RECT{0, r.top, r.right - r.left, r.bottom};
        }
        return false;
    });
    driver::MouseDown({150, 110});
    driver::MouseMove({180, 120});
    driver::MouseUp({180, 120});
    driver::Pump();
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{0, 110, 200, 210}));

    driver::MouseDown({50, 120});
    driver::MouseMove({90, 160});
    driver::KeyDown(VK_ESCAPE);
    driver::Pump();
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{0, 110, 200, 210}));
}

TEST_F(SizeMove, WithoutFullDragTheWindowMovesOnlyAtTheEnd) {
    Capabilities().DragFullWindows = false;
    const HWND form = Popup({100, 100, 300, 200});
    Answer(form, WM_NCHITTEST, HTCAPTION);
    driver::MouseDown({150, 110});
    driver::MouseMove({160, 110});
    driver::MouseMove({170, 110});
    driver::MouseUp({170, 110});
    ClearLog();
    driver::Pump();
    EXPECT_EQ(Logged(form, WM_MOVING).size(), 2u);
    EXPECT_EQ(Logged(form, WM_MOVE).size(), 1u);
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{120, 100, 320, 200}));
}

TEST_F(SizeMove, MinMaxInfoLimitsTheSizeLoopAndWMSizingSeesTheEdge) {
    const HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    On(form, [](HWND, UINT AMsg, WPARAM, LPARAM ALParam, LRESULT& AResult) {
        if (AMsg == WM_NCHITTEST) {
            AResult = HTBOTTOMRIGHT;
            return true;
        }
        if (AMsg == WM_GETMINMAXINFO) {
            reinterpret_cast<MINMAXINFO*>(ALParam)->ptMinTrackSize = {250, 150};
            reinterpret_cast<MINMAXINFO*>(ALParam)->ptMaxTrackSize = {400, 260};
        }
        return false;
    });
    struct Case {
        POINT To;
        RECT Expected;
    } cases[] = {
        {{200, 100}, {0, 0, 250, 150}}, {{600, 600}, {0, 0, 400, 260}}, {{330, 220}, {0, 0, 330, 220}}};
    for (const Case& c : cases) {
        SetWindowPos(form, nullptr, 0, 0, 300, 200, SWP_NOZORDER);
        driver::AdvanceTime(1000);  // no double click
        ClearLog();
        driver::MouseDown({299, 199});
        driver::MouseMove({c.To.x - 1, c.To.y - 1});
        driver::MouseUp({c.To.x - 1, c.To.y - 1});
        driver::Pump();
        EXPECT_EQ(driver::Inspect(form).Bounds, c.Expected);
        ASSERT_EQ(Logged(form, WM_SIZING).size(), 1u);
        EXPECT_EQ(Logged(form, WM_SIZING).at(0).WParam, WMSZ_BOTTOMRIGHT);
        EXPECT_EQ(Logged(form, WM_SIZE).back().LParam,
                  MAKELPARAM(WORD(c.Expected.right - 2 * 4), WORD(c.Expected.bottom - 22 - 2 * 4)));
    }
}

TEST_F(SizeMove, AChildsSizingEdgeSizesItsTopLevelWindow) {
    const HWND form = Popup({0, 0, 300, 200});
    const HWND status = Child(form, {0, 180, 300, 200});
    const HWND grip = Child(status, {280, 0, 300, 20});
    Answer(grip, WM_NCHITTEST, HTBOTTOMRIGHT);
    driver::MouseDown({290, 190});
    driver::MouseMove({310, 220});
    driver::MouseUp({310, 220});
    ClearLog();
    driver::Pump();
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{0, 0, 320, 230}));
    EXPECT_EQ(driver::Inspect(grip).Bounds, (RECT{280, 180, 300, 200}));
    EXPECT_EQ(Sequence({WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE}),
              (Trace{{form, WM_ENTERSIZEMOVE}, {form, WM_SIZING}, {form, WM_EXITSIZEMOVE}}));
}

TEST_F(SizeMove, TheLoopEndsWhenTheQueuedInputRunsOutAndKeepsOtherMessagesFlowing) {
    const HWND form = Popup({100, 100, 300, 200});
    const HWND other = Popup({400, 0, 500, 100});
    On(form, [other](HWND, UINT AMsg, WPARAM, LPARAM, LRESULT& AResult) {
        if (AMsg == WM_ENTERSIZEMOVE) PostMessageW(other, WM_USER, 0, 0);
        if (AMsg != WM_NCHITTEST) return false;
        AResult = HTCAPTION;
        return true;
    });
    driver::MouseDown({150, 110});
    driver::MouseMove({160, 120});
    ClearLog();
    driver::Pump();
    EXPECT_EQ(Sequence({WM_ENTERSIZEMOVE, WM_USER, WM_EXITSIZEMOVE}),
              (Trace{{form, WM_ENTERSIZEMOVE}, {other, WM_USER}, {form, WM_EXITSIZEMOVE}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(driver::Inspect(form).Bounds, (RECT{110, 110, 310, 210}));
}

}  // namespace
