#include "platform/base/ustring.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsChineseAndAstralCharacters) {
    const std::string utf8 = "VelquaAVCHD\xE9\xAB\x98\xE6\xB8\x85 \xF0\x9F\x8E\xA5";
    const String text = UTF8ToString(utf8);
    EXPECT_EQ(text, u"VelquaAVCHD高清 \U0001F3A5");
    EXPECT_EQ(text.size(), 16u);  // the film camera is two UTF-16 units
    EXPECT_EQ(StringToUTF8(text), utf8);
}

TEST(Utf8, BytesThatAreNoUtf8RoundTripAsEscapes) {
    struct TCase {
        const char* Name;
        std::string Bytes;
        String Text;
    };
    const TCase cases[] = {
        {"stray byte",
         "a\xFF"
         "b",
         u"a\xDCFF"
         u"b"},
        {"cut short", "\xE9\xAB", u"\xDCE9\xDCAB"},
        {"overlong", "\xC0\x80", u"\xDCC0\xDC80"},
        {"encoded surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
        {"lead byte before a valid character", "\xE9\xE9\xAB\x98", u"\xDCE9\u9AD8"},
        {"looks like the replacement character", "\xFD.mp4", u"\xDCFD.mp4"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(UTF8ToString(c.Bytes), c.Text) << c.Name;
        EXPECT_EQ(StringToUTF8(UTF8ToString(c.Bytes)), c.Bytes) << c.Name;
    }
    // Two names that show alike stay two names.
    EXPECT_NE(UTF8ToString("\xFD.mp4"), UTF8ToString("\xEF\xBF\xBD.mp4"));
    // Other lone surrogates are no bytes.
    EXPECT_EQ(StringToUTF8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(StringToUTF8(String(1, char16_t(0xDC41))), "\xEF\xBF\xBD");
}

TEST(Bytes, WidenEachByteToItsOwnCodeUnit) {
    EXPECT_EQ(BytesToString("\xE9"
                            "a"),
              String(u"\u00E9a"));
}
