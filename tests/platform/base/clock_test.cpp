#include "platform/base/clock.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/base/sysutils.h"

namespace {

class TestClock : public ::testing::Test {
protected:
    void TearDown() override { UseSystemClock(); }
};

TEST_F(TestClock, EachReadAdvancesOneMillisecondAndAdvanceClockMovesIt) {
    UseTestClock(1000);
    EXPECT_TRUE(TestClockActive());
    EXPECT_EQ(GetTickCount(), 1000u);
    EXPECT_EQ(GetTickCount(), 1001u);
    AdvanceClock(500);
    EXPECT_EQ(PeekTickCount(), 1502u);
    EXPECT_EQ(PeekTickCount(), 1502u);
    EXPECT_EQ(GetTickCount(), 1502u);

    UseTestClock(0xFFFFFFFE);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFEu);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
    EXPECT_EQ(GetTickCount(), 0u);

    UseSystemClock();
    EXPECT_FALSE(TestClockActive());
}

TEST_F(TestClock, BusyLoopsThatPollTheClockEnd) {
    UseTestClock(0xFFFFFFF0);  // across the wrap, with unsigned differences
    const Cardinal start = GetTickCount();
    int reads = 0;
    while (GetTickCount() - start <= 25)
        ++reads;
    EXPECT_EQ(reads, 25);
}

TEST(SystemClock, CountsMillisecondsOfTheMonotonicClock) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const Cardinal expected =
        static_cast<Cardinal>(static_cast<UInt64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
    const Cardinal ticks = GetTickCount();
    EXPECT_LT(ticks - expected, 1000u);
}

TEST(Calendar, DatesEncodeToDaysSinceTheEndOf1899AndBack) {
    struct Case {
        Word year, month, day;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},        {1900, 3, 1, 61},   {1970, 1, 1, 25569},
        {2000, 2, 29, 36585}, {2024, 12, 31, 45657},  {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
        {1899, 12, 29, -1},   {1600, 2, 29, -109512},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial) << c.year << "-" << c.month << "-" << c.day;
        Word y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y, c.year);
        EXPECT_EQ(m, c.month);
        EXPECT_EQ(d, c.day);
    }
}

TEST(Calendar, ImpossibleDatesAndTimesRaiseConvertErrors) {
    const Word dates[][3] = {{0, 1, 1},    {10000, 1, 1}, {2000, 0, 1},  {2000, 13, 1},
                             {2000, 1, 0}, {2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}};
    for (const auto& d : dates)
        EXPECT_THROW(EncodeDate(d[0], d[1], d[2]), EConvertError) << d[0] << d[1] << d[2];
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    const Word times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
    for (const auto& t : times)
        EXPECT_THROW(EncodeTime(t[0], t[1], t[2], t[3]), EConvertError);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), (86400000.0 - 1) / 86400000.0);
}

TEST(Calendar, TimesDecodeToTheNearestMillisecond) {
    struct Case {
        TDateTime value;
        Word year, month, day, hour, min, sec, msec;
    } cases[] = {
        {EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 10), 2024, 3, 5, 7, 8, 9, 10},
        {0.5 / 86400000.0 * 0.99, 1899, 12, 30, 0, 0, 0, 0},
        {EncodeDate(2024, 12, 31) + 0.9999999999, 2025, 1, 1, 0, 0, 0, 0},  // rounds into the next day
        {-1.25, 1899, 12, 29, 6, 0, 0, 0},  // before 1899: the fraction without its sign
        {-0.75, 1899, 12, 30, 18, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Word y, mo, d, h, mi, s, ms;
        DecodeDate(c.value, y, mo, d);
        DecodeTime(c.value, h, mi, s, ms);
        EXPECT_EQ((std::vector<Word>{y, mo, d, h, mi, s, ms}),
                  (std::vector<Word>{c.year, c.month, c.day, c.hour, c.min, c.sec, c.msec}))
            << c.value;
    }
}

TEST(Calendar, ValuesOutsideTheCalendarDecodeToZeros) {
    for (double value :
         {std::nan(""), std::numeric_limits<double>::infinity(), 1e20, -1e20, 2958466.0, -693594.5}) {
        Word y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, ms = 1;
        DecodeDate(value, y, m, d);
        DecodeTime(value, h, n, s, ms);
        EXPECT_EQ(y + m + d + h + n + s + ms, 0) << value;
        EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn:ss", value), u"0000-00-00 00:00:00") << value;
    }
}

TEST(FormatDateTime, FormatLettersAsTheToolkitReadsThem) {
    const TDateTime morning = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 10);
    const TDateTime evening = EncodeDate(2009, 11, 22) + EncodeTime(19, 4, 5, 600);
    const TDateTime midnight = EncodeDate(2000, 1, 1);
    struct Case {
        const char16_t* format;
        TDateTime value;
        const char16_t* expected;
    } cases[] = {
        {u"yyyy-mm-dd hh:nn:ss", morning, u"2024-03-05 07:08:09"},
        {u"yy/m/d h:n:s.zzz", morning, u"24/3/5 7:8:9.010"},
        {u"YYYY-MM-DD HH:NN:SS.Z", morning, u"2024-03-05 07:08:09.10"},
        {u"hh:mm", morning, u"07:08"},  // m right after h is minutes
        {u"h 'h' mm", morning, u"7 h 08"},
        {u"mm/dd hh", morning, u"03/05 07"},
        {u"h:nn am/pm", evening, u"7:04 pm"},
        {u"hh:nn AM/PM", midnight, u"12:00 AM"},
        {u"h A/P", evening, u"7 P"},
        {u"h ampm", morning, u"7 AM"},
        {u"hh:nn", evening, u"19:04"},
        {u"ddd d mmm yyyy", evening, u"Sun 22 Nov 2009"},
        {u"dddd, mmmm", morning, u"Tuesday, March"},
        {u"'yyyy' \"hh\" yyyy", morning, u"yyyy hh 2024"},
        {u"[yyyy]", morning, u"[2024]"},
        {u"'unterminated", morning, u"unterminated"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, c.value), c.expected) << StringToUTF8(c.format);
    }
}

TEST(Now, AgreesWithTheSystemsLocalTime) {
    const TDateTime now = Now();
    const time_t seconds = time(nullptr);
    tm local;
    localtime_r(&seconds, &local);
    Word y, m, d;
    DecodeDate(now, y, m, d);
    EXPECT_EQ(y, local.tm_year + 1900);
    EXPECT_EQ(Date(), std::trunc(Date()));
    EXPECT_NEAR(Date() + Time(), Now(), 2.0 / 86400);
}

}  // namespace
