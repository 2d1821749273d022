#include "platform/base/ustring.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsChineseAndAstralCharacters) {
    const std::string utf8 = "VelquaAVCHD\xE9\xAB\x98\xE6\xB8\x85 \xF0\x9F\x8E\xA5";
    const String text = UTF8ToString(utf8);
    EXPECT_EQ(text, u"VelquaAVCHD高清 \U0001F3A5");
    EXPECT_EQ(text.size(), 16u);  // the film camera is two UTF-16 units
    EXPECT_EQ(StringToUTF8(text), utf8);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(UTF8ToString("a\xFF"
                           "b"),
              u"a\uFFFDb");
    EXPECT_EQ(UTF8ToString("\xE9\xAB"), u"\uFFFD");      // cut short
    EXPECT_EQ(UTF8ToString("\xC0\x80"), u"\uFFFD");      // overlong
    EXPECT_EQ(UTF8ToString("\xED\xA0\x80"), u"\uFFFD");  // encoded surrogate
    EXPECT_EQ(StringToUTF8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Bytes, WidenEachByteToItsOwnCodeUnit) {
    EXPECT_EQ(BytesToString("\xE9"
                            "a"),
              String(u"\u00E9a"));
}
