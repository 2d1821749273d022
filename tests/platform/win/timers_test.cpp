// Timers on the test clock.
#include "platform/win/timers.h"

#include "platform/base/clock.h"
#include "wintest.h"

using namespace win;
namespace driver = win::driver;

namespace {

using Timers = WinTest;

// Records (window, id, time) for every WM_TIMER.
struct TFire {
    HWND Window;
    WPARAM Id;
    Cardinal At;
    friend bool operator==(const TFire&, const TFire&) = default;
    friend std::ostream& operator<<(std::ostream& AOut, const TFire& AFire) {
        return AOut << AFire.Window << "/" << AFire.Id << "@" << AFire.At;
    }
};

std::vector<TFire> GFired;

THandler Recorder() {
    return [](HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM, LRESULT&) {
        if (AMsg == WM_TIMER) GFired.push_back({AWindow, AWParam, PeekTickCount()});
        return false;
    };
}

TEST_F(Timers, DueTimersFireAtTheirDueTimesInOrderUnderAdvanceTime) {
    GFired.clear();
    const HWND a = Create(0, {0, 0, 10, 10}, HWND_MESSAGE);
    const HWND b = Create(0, {0, 0, 10, 10}, HWND_MESSAGE);
    On(a, Recorder());
    On(b, Recorder());
    SetTimer(a, 1, 20, nullptr);
    SetTimer(b, 7, 25, nullptr);
    driver::AdvanceTime(100);
    // Due together at 1100: in the order they were set.
    EXPECT_EQ(GFired, (std::vector<TFire>{{a, 1, 1020},
                                          {b, 7, 1025},
                                          {a, 1, 1040},
                                          {b, 7, 1050},
                                          {a, 1, 1060},
                                          {b, 7, 1075},
                                          {a, 1, 1080},
                                          {a, 1, 1100},
                                          {b, 7, 1100}}));
    EXPECT_EQ(PeekTickCount(), 1100u);
}

TEST_F(Timers, SettingAnIdAgainRestartsItAndKilledTimersStop) {
    GFired.clear();
    const HWND w = Create(0, {0, 0, 10, 10}, HWND_MESSAGE);
    On(w, Recorder());
    SetTimer(w, 1, 100, nullptr);
    driver::AdvanceTime(60);
    EXPECT_EQ(SetTimer(w, 1, 100, nullptr), 1u);
    driver::AdvanceTime(60);
    EXPECT_TRUE(GFired.empty());
    driver::AdvanceTime(40);
    EXPECT_EQ(GFired, (std::vector<TFire>{{w, 1, 1160}}));
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
    driver::AdvanceTime(500);
    EXPECT_EQ(GFired.size(), 1u);

    // Intervals below the minimum are raised to it.
    SetTimer(w, 2, 1, nullptr);
    driver::AdvanceTime(9);
    EXPECT_EQ(GFired.size(), 1u);
    driver::AdvanceTime(1);
    EXPECT_EQ(GFired.size(), 2u);
}

TEST_F(Timers, AFiredTimerWaitsAsOneMessageHoweverManyPeriodsPass) {
    const HWND w = Create(0, {0, 0, 10, 10}, HWND_MESSAGE);
    SetTimer(w, 1, 10, nullptr);
    // A handler busy for 100 ms keeps the queue from being pumped meanwhile.
    On(w, [](HWND AWindow, UINT AMsg, WPARAM, LPARAM, LRESULT&) {
        if (AMsg != WM_USER) return false;
        AdvanceClock(100);
        PostMessageW(AWindow, WM_USER + 1, 0, 0);
        return true;
    });
    PostMessageW(w, WM_USER, 0, 0);
    driver::Pump();
    driver::AdvanceTime(1);
    EXPECT_EQ(Logged(w, WM_TIMER).size(), 1u);
}

}  // namespace
