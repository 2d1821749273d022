#include "platform/base/random.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

Cardinal Step(Cardinal ASeed) {
    return ASeed * 0x08088405u + 1u;
}

TEST(Random, AFixedSeedGivesTheLinearCongruentialSequence) {
    SetRandSeed(0);
    struct Case {
        Integer range, expected;
        Cardinal seed;
    } cases[] = {
        {100, 0, 0x1},
        {100, 3, 0x8088406},
        {1000, 861, 0xDC6DAC1F},
        {7, 1, 0x33DC589C},
        {2147483647, 586093958, 0x45DE2B0D},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Random(c.range), c.expected) << c.range;
        EXPECT_EQ(RandSeed(), c.seed);
    }
    EXPECT_DOUBLE_EQ(Random(), 0xABF18B42u / 4294967296.0);
}

TEST(Random, ResultsStayInTheirRange) {
    SetRandSeed(12345);
    for (int i = 0; i < 1000; ++i) {
        const Integer small = Random(3);
        EXPECT_TRUE(small >= 0 && small < 3) << small;
        EXPECT_EQ(Random(1), 0);
        const double real = Random();
        EXPECT_TRUE(real >= 0 && real < 1) << real;
    }
    SetRandSeed(0x4D60AE66);  // steps to 0xFFFFFFFF, the largest seed
    EXPECT_EQ(Random(2147483647), 2147483646);
}

TEST(Random, NonPositiveRangesGiveZeroAndStillStep) {
    for (Integer range : {0, -1, -100}) {
        SetRandSeed(7);
        EXPECT_EQ(Random(range), 0);
        EXPECT_EQ(RandSeed(), Step(7));
    }
}

TEST(Random, ConcurrentCallsLoseNoStep) {
    constexpr int PerThread = 10000;
    SetRandSeed(99);
    auto draw = [] {
        for (int i = 0; i < PerThread; ++i)
            Random(10);
    };
    std::thread first(draw), second(draw);
    first.join();
    second.join();
    Cardinal expected = 99;
    for (int i = 0; i < 2 * PerThread; ++i)
        expected = Step(expected);
    EXPECT_EQ(RandSeed(), expected);
}

TEST(Random, RandomizeSeedsFromTheClock) {
    SetRandSeed(0);
    Randomize();
    const Cardinal first = RandSeed();
    EXPECT_NE(first, 0u);
}

}  // namespace
