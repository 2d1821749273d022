#include "platform/toolkit/colors.h"

#include <gtest/gtest.h>

namespace {

TEST(Colors, SystemColoursAreNegativeIndexes) {
    EXPECT_EQ(-16777201, clBtnFace);
    EXPECT_EQ(static_cast<TColor>(0xFF000005), clWindow);
}

TEST(Colors, ColorToRGBResolvesSystemColoursThroughTheTable) {
    struct TCase {
        TColor Color;
        Integer Expected;
    } cases[] = {
        {clBtnFace, 0xF0F0F0},    {clBtnShadow, 0xA0A0A0},     {clBtnHighlight, 0xFFFFFF},
        {cl3DDkShadow, 0x696969}, {clWindow, 0xFFFFFF},        {clWindowText, 0x000000},
        {clHighlight, 0xFF9933},  {clHighlightText, 0xFFFFFF}, {clGrayText, 0x6D6D6D},
        {clInfoBk, 0xE1FFFF},     {clRed, 0x0000FF},           {0x123456, 0x123456},
        {clNone, clNone},         {clDefault, clDefault},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Expected, ColorToRGB(c.Color)) << std::hex << c.Color;
}

}  // namespace
