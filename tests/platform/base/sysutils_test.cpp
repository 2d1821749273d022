#include "platform/base/sysutils.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

TEST(Format, IntegersHonourWidthPrecisionAndAlignment) {
    struct Case {
        const char16_t* format;
        Int64 value;
        const char16_t* expected;
    } cases[] = {
        {u"%d", -42, u"-42"},      {u"%5d", 42, u"   42"},
        {u"%-5d|", 42, u"42   |"}, {u"%.3d", 7, u"007"},
        {u"%.3d", -7, u"-007"},    {u"%x", 255, u"FF"},
        {u"%.4X", 0x1A, u"001A"},  {u"%u", 3000000000LL, u"3000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.format, {c.value}), c.expected) << StringToUTF8(c.format);
    }
    EXPECT_EQ(Format(u"%.2d:%.2d:%.2d.%.3d", {1, 2, 3, 456}), u"01:02:03.456");
    EXPECT_EQ(Format(u"%x", {-1}), u"FFFFFFFF");
    EXPECT_EQ(Format(u"%d%%", {50}), u"50%");
    EXPECT_EQ(Format(u"%1:s %0:s", {u"a", u"b"}), u"b a");
    EXPECT_EQ(Format(u"%*d", {4, 7}), u"   7");
}

TEST(Format, FloatsStringsAndPointers) {
    EXPECT_EQ(Format(u"%.2f GB", {1.0}), u"1.00 GB");
    EXPECT_EQ(Format(u"%f", {1.005}), u"1.00");
    EXPECT_EQ(Format(u"%.0f", {-0.2}), u"0");
    EXPECT_EQ(Format(u"%g", {1.5}), u"1.5");
    EXPECT_EQ(Format(u"%g", {1e20}), u"1E20");
    EXPECT_EQ(Format(u"%e", {1234.5}), u"1.23450000000000E+003");
    EXPECT_EQ(Format(u"%.3s|%-4s|", {u"abcdef", u"x"}), u"abc|x   |");
    EXPECT_EQ(Format(u"%s", {std::string("\xE4\xB8\xAD")}), u"\u4E2D");
    EXPECT_EQ(Format(u"%p", {reinterpret_cast<const void*>(0x1F)}), u"000000000000001F");
}

TEST(Format, MismatchesRaiseConvertErrors) {
    EXPECT_THROW(Format(u"%d", {1.5}), EConvertError);
    EXPECT_THROW(Format(u"%f", {1}), EConvertError);
    EXPECT_THROW(Format(u"%s", {3}), EConvertError);
    EXPECT_THROW(Format(u"%d %d", {3}), EConvertError);
    EXPECT_THROW(Format(u"%q", {3}), EConvertError);
    try {
        Format(u"%d", {u"x"});
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Format '%d' invalid or incompatible with argument");
    }
}

TEST(Conversions, StrToIntAcceptsDecimalAndHexAndRejectsTheRest) {
    EXPECT_EQ(StrToInt(u"  -12"), -12);
    EXPECT_EQ(StrToInt(u"+7"), 7);
    EXPECT_EQ(StrToInt(u"$1f"), 31);
    EXPECT_EQ(StrToInt(u"0x10"), 16);
    EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt(u"-2147483648"), std::numeric_limits<Integer>::min());
    EXPECT_EQ(StrToInt64(u"9223372036854775807"), std::numeric_limits<Int64>::max());
    for (const char16_t* bad : {u"", u"12 ", u"1.5", u"2147483648", u"abc", u"$", u"-", u"0x"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << StringToUTF8(bad);
        EXPECT_EQ(StrToIntDef(bad, -9), -9);
    }
    try {
        StrToInt(u"abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value");
    }
}

TEST(Conversions, FloatTextRoundTrips) {
    EXPECT_EQ(FloatToStr(0.1), u"0.1");
    EXPECT_EQ(FloatToStr(-2.5), u"-2.5");
    EXPECT_EQ(FloatToStr(100), u"100");
    EXPECT_EQ(FloatToStr(0.00001), u"0.00001");
    EXPECT_EQ(FloatToStr(1.5e-7), u"1.5E-7");
    EXPECT_EQ(FloatToStr(1e15), u"1E15");
    EXPECT_EQ(FloatToStr(123456789012345.0), u"123456789012345");
    EXPECT_DOUBLE_EQ(StrToFloat(u" 1.25e2 "), 125.0);
    EXPECT_THROW(StrToFloat(u"1,5"), EConvertError);
    EXPECT_THROW(StrToFloat(u"nan"), EConvertError);
    EXPECT_EQ(StrToFloatDef(u"x", 2.0), 2.0);
}

TEST(Numbers, RoundIsHalfToEvenAndMulDivHalfAwayFromZero) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-2.6), -3);
    EXPECT_EQ(Trunc(-2.6), -2);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, 3), 2);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(100000, 100000, 10), 1000000000);
}

TEST(Strings, RoutinesCountUtf16Units) {
    EXPECT_EQ(Trim(u" \t a b \r\n"), u"a b");
    EXPECT_EQ(LowerCase(u"AbC中"), u"abc中");
    EXPECT_EQ(UpperCase(std::string("abc")), "ABC");
    EXPECT_TRUE(SameText(u"Name", u"nAME"));
    EXPECT_LT(CompareText(u"a", u"B"), 0);
    EXPECT_EQ(Pos(u"视频", u"高清视频格式"), 3);
    EXPECT_EQ(Pos(u"x", u"abc"), 0);
    EXPECT_EQ(Pos(u"a", u"aba", 2), 3);
    EXPECT_EQ(Copy(u"高清视频格式", 3, 2), u"视频");
    EXPECT_EQ(Copy(u"abc", 0, 2), u"ab");
    EXPECT_EQ(Copy(u"abc", 4, 1), u"");
    String s = u"abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, u"adef");
    Insert(u"XY", s, 100);
    EXPECT_EQ(s, u"adefXY");
    EXPECT_EQ(StringReplace(u"a<CRLF>b<crlf>c", u"<CRLF>", u"\r\n", rfReplaceAll | rfIgnoreCase),
              u"a\r\nb\r\nc");
    EXPECT_EQ(StringReplace(u"aaa", u"a", u"b", 0), u"baa");
}

TEST(Exceptions, AssertAndClassNames) {
    try {
        Assert(false);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), u"Assertion failure");
        EXPECT_EQ(e.ClassName(), u"EAssertionFailed");
    }
    EXPECT_NO_THROW(Assert(true, u"never"));
    try {
        Assert(false, u"Allow creating only one instance.");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Allow creating only one instance.");
    }
    EXPECT_EQ(Exception(u"%s-%d", {u"a", 1}).Message(), u"a-1");
}

TEST(Strings, AnsiComparisonsFoldCaseBeyondAscii) {
    const std::pair<const char16_t*, const char16_t*> same[] = {
        {u"ABC", u"abc"}, {u"ÄÖÜ", u"äöü"}, {u"ŁĄĆ", u"łąć"},
        {u"ΣΩ", u"σω"},   {u"ЖЁ", u"жё"},   {u"ＡＢ", u"ａｂ"},
    };
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(AnsiSameText(a, b)) << StringToUTF8(a);
        EXPECT_EQ(AnsiCompareText(a, b), 0);
        EXPECT_LT(AnsiCompareStr(b, a), 0) << "lower case first: " << StringToUTF8(a);
        EXPECT_EQ(AnsiLowerCase(a), String(b));
    }
    EXPECT_EQ(AnsiLowerCase(u"Ab中Ÿ"), u"ab中ÿ");
    EXPECT_FALSE(SameText(u"Ä", u"ä"));  // CompareText stays ASCII-only
    EXPECT_LT(AnsiCompareText(u"a", u"B"), 0);
    EXPECT_LT(AnsiCompareStr(u"a", u"B"), 0);
    EXPECT_LT(AnsiCompareText(u"ab", u"ABC"), 0);
    EXPECT_EQ(AnsiCompareStr(u"中文", u"中文"), 0);
    EXPECT_FALSE(AnsiSameText(u"中", u"文"));
}
