// The queue, the pump, re-entrant pumping and messages across threads.
#include "platform/win/messages.h"

#include <thread>

#include "platform/base/mainthread.h"
#include "platform/win/painting.h"
#include "platform/win/timers.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Messages = WinTest;
using Trace = std::vector<std::pair<HWND, UINT>>;

TEST_F(Messages, TheQueueGivesPostedMessagesThenInputThenPaintThenTimers) {
    const HWND w = Popup({0, 0, 100, 100});
    driver::Pump();
    ClearLog();
    // Everything pending at once, queued in the opposite order.
    SetTimer(w, 1, 10, nullptr);
    InvalidateRect(w, nullptr, FALSE);
    driver::MouseMove({5, 5});
    PostMessageW(w, WM_USER, 0, 0);
    driver::AdvanceTime(10);
    EXPECT_EQ(Sequence({WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}),
              (Trace{{w, WM_USER}, {w, WM_MOUSEMOVE}, {w, WM_PAINT}, {w, WM_TIMER}}));

    // A peek without removal leaves the message in front; filters pick.
    PostMessageW(w, WM_USER + 1, 0, 0);
    PostMessageW(w, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessageW(&msg, w, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, AHandlerMayPumpTheQueueAgainFromInside) {
    const HWND w = Popup({0, 0, 100, 100});
    driver::Pump();
    On(w, [](HWND AWindow, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg == WM_USER) {
            PostMessageW(AWindow, WM_USER + 1, 0, 0);
            PostQuitMessage(3);
            PostMessageW(AWindow, WM_USER + 2, 0, 0);
            // A nested pump takes the quit out without dispatching it.
            EXPECT_TRUE(ProcessPendingMessages());
        }
        return false;
    });
    PostMessageW(w, WM_USER, 0, 0);
    ClearLog();
    driver::Pump();
    EXPECT_EQ(Sequence({WM_USER, WM_USER + 1, WM_USER + 2, WM_QUIT}),
              (Trace{{w, WM_USER}, {w, WM_USER + 1}, {w, WM_USER + 2}}));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    // The hook of mainthread.h is the same pump.
    PostMessageW(w, WM_USER + 5, 0, 0);
    ProcessMessagesHook();
    EXPECT_EQ(Logged(w, WM_USER + 5).size(), 1u);
}

TEST_F(Messages, GetMessageReturnsFalseForQuit) {
    const HWND w = Popup({0, 0, 10, 10});
    driver::Pump();
    PostMessageW(w, WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG msg;
    EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Messages, OtherThreadsPostAndSendToTheGUIThreadWhileItWaits) {
    const HWND w = Popup({0, 0, 10, 10});
    driver::Pump();
    Answer(w, WM_USER, 42);
    std::thread::id handledOn;
    On(w, [&](HWND, UINT AMsg, WPARAM, LPARAM, LRESULT& AResult) {
        if (AMsg != WM_USER) return false;
        handledOn = std::this_thread::get_id();
        AResult = 42;
        return true;
    });
    LRESULT answer = 0;
    bool synchronized = false;
    std::thread worker([&] {
        answer = SendMessageW(w, WM_USER, 0, 0);
        Synchronize([&] { synchronized = true; });
        PostMessageW(w, WM_USER + 1, 0, 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    worker.join();
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_TRUE(synchronized);
}

TEST_F(Messages, BroadcastsReachEveryTopLevelWindowAndRegisteredNumbersAreStable) {
    const HWND a = Popup({0, 0, 10, 10});
    const HWND b = Create(WS_POPUP, {0, 0, 10, 10});
    const HWND child = Child(a, {0, 0, 5, 5});
    const UINT taskbar = RegisterWindowMessageW(u"TaskbarCreated");
    EXPECT_GE(taskbar, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(u"taskbarcreated"), taskbar);
    EXPECT_NE(RegisterWindowMessageW(u"Other"), taskbar);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
    ClearLog();
    PostMessageW(HWND_BROADCAST, taskbar, 0, 0);
    driver::Pump();
    SendMessageW(HWND_BROADCAST, WM_USER, 0, 0);
    EXPECT_EQ(Logged(a, taskbar).size(), 1u);
    EXPECT_EQ(Logged(b, taskbar).size(), 1u);
    EXPECT_TRUE(Logged(child, taskbar).empty());
    EXPECT_EQ(Logged(b, WM_USER).size(), 1u);
}

TEST_F(Messages, AMessageWithoutWindowGoesToTheQueueAndDispatchDropsIt) {
    PostMessageW(nullptr, WM_USER, 1, 2);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_EQ(DispatchMessageW(&msg), 0);
}

}  // namespace
