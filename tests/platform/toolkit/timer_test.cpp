#include "platform/toolkit/timer.h"

#include "platform/base/clock.h"
#include "toolkittest.h"

namespace driver = win::driver;

namespace {

using Timers = ToolkitTest;

TEST_F(Timers, ATimerFiresEveryIntervalWhileEnabled) {
    TTimer timer(nullptr);
    std::vector<Cardinal> fired;
    timer.OnTimer = [&](TObject*) { fired.push_back(PeekTickCount()); };
    timer.SetInterval(100);
    const Cardinal start = PeekTickCount();
    driver::AdvanceTime(350);
    EXPECT_EQ(fired, (std::vector<Cardinal>{start + 100, start + 200, start + 300}));
    timer.SetEnabled(false);
    driver::AdvanceTime(500);
    EXPECT_EQ(fired.size(), 3u);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    driver::AdvanceTime(500);
    EXPECT_EQ(fired.size(), 3u);
}

TEST_F(Timers, ATimerMadeWithItsDefaultsRunsEverySecond) {
    TTimer timer(nullptr);
    int fired = 0;
    timer.OnTimer = [&](TObject*) { ++fired; };
    driver::AdvanceTime(2500);
    EXPECT_EQ(fired, 2);
}

TEST_F(Timers, AnExceptionInOnTimerGoesToTheExceptionBox) {
    TTimer timer(nullptr);
    timer.SetInterval(50);
    timer.OnTimer = [](TObject*) { throw Exception(u"tick"); };
    std::vector<String> errors;
    Application->OnException = [&](TObject*, const Exception& E) { errors.push_back(E.Message()); };
    driver::AdvanceTime(120);
    EXPECT_EQ(errors, (std::vector<String>{u"tick", u"tick"}));
}

}  // namespace
