#include "platform/gdi/textlayout.h"

#include <gtest/gtest.h>

#include "platform/base/ustring.h"
#include "platform/gdi/fontengine.h"

using namespace win;
using gdi::TextBox;
using gdi::TextLayout;

namespace {

// Latin 10 pixels, Chinese 20, lines 16 high, tabs every 40.
class FixedMeasurer : public gdi::TextMeasurer {
  public:
    void Advances(std::u16string_view AText, Integer* AResult) override {
        for (size_t i = 0; i < AText.size(); ++i) {
            const char16_t c = AText[i];
            AResult[i] = c < 0x20 || (c >= 0xDC00 && c <= 0xDFFF) ? 0 : c >= 0x2E80 ? 20 : 10;
        }
    }
    Integer LineHeight() override { return 16; }
    Integer AveCharWidth() override { return 5; }
};

TextLayout Layout(std::u16string_view AText, TextBox ARect, UINT AFormat) {
    FixedMeasurer measurer;
    return gdi::LayoutDrawText(AText, ARect, {AFormat}, measurer);
}

// "x,y:run run|..." with "_x+w" for each underline. ("@" + number: see
// VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.)
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
std::string Describe(const TextLayout& ALayout) {
    std::string result;
    for (const gdi::TextLine& line : ALayout.Lines) {
        if (!result.empty()) result += "|";
        result += std::to_string(line.X) + "," + std::to_string(line.Y) + ":";
        for (size_t i = 0; i < line.Runs.size(); ++i) {
            if (i > 0) result += " ";
            if (line.Runs[i].X != line.X || i > 0) result += "@" + std::to_string(line.Runs[i].X);
            result += StringToUTF8(line.Runs[i].Text);
        }
        for (const gdi::TextSpan& span : line.Underlines)
            result += "_" + std::to_string(span.X) + "+" + std::to_string(span.Width);
    }
    return result;
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

struct Case {
    const char16_t* Text;
    TextBox Rect;
    UINT Format;
    std::string Lines;
    Integer Result;
};

void Check(const Case& ACase) {
    const TextLayout layout = Layout(ACase.Text, ACase.Rect, ACase.Format);
    EXPECT_EQ(Describe(layout), ACase.Lines) << StringToUTF8(ACase.Text) << " format " << ACase.Format;
    EXPECT_EQ(layout.Result, ACase.Result) << StringToUTF8(ACase.Text) << " format " << ACase.Format;
}

}  // namespace

TEST(DrawTextLayout, AlignsASingleLine) {
    const TextBox box{0, 0, 100, 50};
    const Case cases[] = {
        {u"abc", box, DT_LEFT, "0,0:abc", 16},
        {u"abc", box, DT_CENTER, "35,0:abc", 16},
        {u"abc", box, DT_RIGHT, "70,0:abc", 16},
        {u"abc", box, DT_SINGLELINE | DT_VCENTER, "0,17:abc", 33},
        {u"abc", box, DT_SINGLELINE | DT_BOTTOM, "0,34:abc", 50},
        {u"abc", box, DT_SINGLELINE | DT_VCENTER | DT_CENTER, "35,17:abc", 33},
        // Vertical placement is for single lines only.
        {u"abc", box, DT_VCENTER, "0,0:abc", 16},
        {u"abc", box, DT_BOTTOM, "0,0:abc", 16},
        // Wider than the box: centred about its middle, right-aligned past its left.
        {u"abcdefghijkl", {0, 0, 100, 50}, DT_CENTER, "-10,0:abcdefghijkl", 16},
        {u"abcdefghijkl", {0, 0, 100, 50}, DT_RIGHT, "-20,0:abcdefghijkl", 16},
        {u"高清格式转换", {10, 5, 110, 55}, DT_SINGLELINE | DT_CENTER | DT_VCENTER, "0,22:高清格式转换", 33},
        {u"", box, DT_SINGLELINE | DT_VCENTER, "", 0},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DrawTextLayout, BreaksLinesAtCrLfAndTheirPairs) {
    const TextBox box{0, 0, 100, 100};
    const Case cases[] = {
        {u"a\r\nb\nc\rd", box, DT_LEFT, "0,0:a|0,16:b|0,32:c|0,48:d", 64},
        {u"a\n\rb", box, DT_LEFT, "0,0:a|0,16:b", 32},  // hint texts separate lines so
        {u"a\n\nb", box, DT_LEFT, "0,0:a|0,16:|0,32:b", 48},
        {u"a\r\rb", box, DT_LEFT, "0,0:a|0,16:|0,32:b", 48},
        {u"a\r\n", box, DT_LEFT, "0,0:a|0,16:", 32},  // a final break adds an empty line
        {u"ab\ncd", box, DT_RIGHT, "80,0:ab|80,16:cd", 32},
        {u"ab\ncdef", box, DT_CENTER, "40,0:ab|30,16:cdef", 32},
        // A single line shows the breaks as nothing.
        {u"a\r\nb", box, DT_SINGLELINE, "0,0:a\r\nb", 16},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DrawTextLayout, ProcessesPrefixes) {
    const TextBox box{0, 0, 200, 20};
    const Case cases[] = {
        {u"&File", box, DT_LEFT, "0,0:File_0+10", 16},
        {u"Save &As", box, DT_LEFT, "0,0:Save As_50+10", 16},
        {u"A&&B", box, DT_LEFT, "0,0:A&B", 16},
        {u"A&&&B", box, DT_LEFT, "0,0:A&B_20+10", 16},
        {u"end&", box, DT_LEFT, "0,0:end", 16},
        {u"&", box, DT_LEFT, "0,0:", 16},
        {u"打开(&O)", box, DT_LEFT, "0,0:打开(O)_50+10", 16},
        {u"&File", box, DT_NOPREFIX, "0,0:&File", 16},
        {u"A&&B", box, DT_NOPREFIX, "0,0:A&&B", 16},
        {u"&File", box, DT_HIDEPREFIX, "0,0:File", 16},
        {u"A&&B", box, DT_HIDEPREFIX, "0,0:A&B", 16},
        {u"&File", box, DT_CENTER, "80,0:File_80+10", 16},
        {u"a&\nb", box, DT_LEFT, "0,0:a|0,16:b", 32},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DrawTextLayout, WrapsWordsAndChineseText) {
    const UINT wrap = DT_WORDBREAK;
    const Case cases[] = {
        {u"aaa bbb ccc", {0, 0, 70, 100}, wrap, "0,0:aaa bbb|0,16:ccc", 32},
        {u"aaa bbb ccc", {0, 0, 69, 100}, wrap, "0,0:aaa|0,16:bbb|0,32:ccc", 48},
        {u"aaa   bbb", {0, 0, 40, 100}, wrap, "0,0:aaa|0,16:bbb", 32},            // blanks at a break vanish
        {u"  aa bb", {0, 0, 40, 100}, wrap, "0,0:  aa|0,16:bb", 32},              // leading blanks stay
        {u"aaaaaaaaaa bb", {0, 0, 50, 100}, wrap, "0,0:aaaaaaaaaa|0,16:bb", 32},  // a long word overflows
        {u"aaa bbb", {0, 0, 100, 100}, wrap | DT_CENTER, "15,0:aaa bbb", 16},
        {u"aaa bbb", {0, 0, 50, 100}, wrap | DT_CENTER, "10,0:aaa|10,16:bbb", 32},
        {u"aaa bbb", {0, 0, 50, 100}, wrap | DT_SINGLELINE, "0,0:aaa bbb", 16},
        {u"高清格式转换", {0, 0, 50, 100}, wrap, "0,0:高清|0,16:格式|0,32:转换", 48},
        {u"Velqua高清", {0, 0, 80, 100}, wrap, "0,0:Velqua高|0,16:清", 32},
        {u"高清AVCHD", {0, 0, 60, 100}, wrap, "0,0:高清|0,16:AVCHD", 32},
        // Closing punctuation keeps to the character before it.
        {u"高清，转换", {0, 0, 50, 100}, wrap, "0,0:高|0,16:清，|0,32:转换", 48},
        // Opening punctuation keeps to the character after it.
        {u"高清《转换", {0, 0, 50, 100}, wrap, "0,0:高清|0,16:《转|0,32:换", 48},
        {u"aaa bbb\nccc ddd", {0, 0, 40, 100}, wrap, "0,0:aaa|0,16:bbb|0,32:ccc|0,48:ddd", 64},
        {u"&aaa b&bb", {0, 0, 40, 100}, wrap, "0,0:aaa_0+10|0,16:bbb_10+10", 32},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DrawTextLayout, ExpandsTabsOnlyWhenAsked) {
    const TextBox box{10, 0, 300, 20};
    const Case cases[] = {
        {u"a\tb", box, DT_EXPANDTABS, "10,0:a @50b", 16},
        {u"abcde\tb", box, DT_EXPANDTABS, "10,0:abcde @90b", 16},
        {u"abcd\tb", box, DT_EXPANDTABS, "10,0:abcd @90b", 16},  // a tab on a stop goes on to the next
        {u"\t\tb", box, DT_EXPANDTABS, "10,0:@90b", 16},
        {u"a\tb", box, DT_LEFT, "10,0:a\tb", 16},
    };
    for (const Case& c : cases)
        Check(c);
    FixedMeasurer measurer;
    EXPECT_EQ(gdi::LayoutDrawText(u"a\tb", box, {DT_EXPANDTABS, 2}, measurer).Lines[0].Runs[1].X, 30);
    EXPECT_EQ(gdi::LayoutDrawText(u"a\tb", box, {DT_EXPANDTABS | DT_RIGHT}, measurer).Lines[0].X, 250);
}

TEST(DrawTextLayout, CalcRectBoundsTheText) {
    struct Calc {
        const char16_t* Text;
        TextBox Rect;
        UINT Format;
        TextBox Bounds;
        Integer Result;
    };
    const Calc cases[] = {
        {u"abc", {0, 0, 0, 0}, DT_CALCRECT, {0, 0, 30, 16}, 16},
        {u"abc\nde", {10, 20, 10, 20}, DT_CALCRECT, {10, 20, 40, 52}, 32},
        {u"abc", {5, 5, 100, 100}, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_CENTER, {5, 5, 35, 21}, 16},
        {u"aaa bbb ccc", {0, 0, 70, 0}, DT_CALCRECT | DT_WORDBREAK, {0, 0, 70, 32}, 32},
        {u"aa bb", {0, 0, 200, 0}, DT_CALCRECT | DT_WORDBREAK, {0, 0, 50, 16}, 16},
        {u"aaaaaaaaaa bb", {0, 0, 50, 0}, DT_CALCRECT | DT_WORDBREAK, {0, 0, 100, 32}, 32},
        {u"aa bb", {0, 0, 0, 0}, DT_CALCRECT | DT_WORDBREAK, {0, 0, 20, 32}, 32},
        {u"&File", {0, 0, 0, 0}, DT_CALCRECT, {0, 0, 40, 16}, 16},
        {u"&File", {0, 0, 0, 0}, DT_CALCRECT | DT_NOPREFIX, {0, 0, 50, 16}, 16},
        {u"a\tb", {0, 0, 0, 0}, DT_CALCRECT | DT_EXPANDTABS, {0, 0, 50, 16}, 16},
        // Measuring gives the whole text's room: no ellipsis.
        {u"abcdefghij", {0, 0, 50, 0}, DT_CALCRECT | DT_END_ELLIPSIS, {0, 0, 100, 16}, 16},
        {u"", {3, 4, 50, 60}, DT_CALCRECT, {3, 4, 3, 4}, 0},
    };
    for (const Calc& c : cases) {
        const TextLayout layout = Layout(c.Text, c.Rect, c.Format);
        const std::string text = StringToUTF8(c.Text);
        EXPECT_EQ(layout.Bounds.Left, c.Bounds.Left) << text;
        EXPECT_EQ(layout.Bounds.Top, c.Bounds.Top) << text;
        EXPECT_EQ(layout.Bounds.Right, c.Bounds.Right) << text;
        EXPECT_EQ(layout.Bounds.Bottom, c.Bounds.Bottom) << text;
        EXPECT_EQ(layout.Result, c.Result) << text;
    }
}

TEST(DrawTextLayout, MarginsNarrowTheBox) {
    FixedMeasurer measurer;
    const TextLayout layout =
        gdi::LayoutDrawText(u"aaa bbb", {0, 0, 100, 0}, {DT_WORDBREAK | DT_CALCRECT, 8, 10, 25}, measurer);
    EXPECT_EQ(Describe(layout), "10,0:aaa|10,16:bbb");
    EXPECT_EQ(layout.Bounds.Right, 65);
}

TEST(DrawTextLayout, ShortensWithEllipses) {
    const UINT end = DT_END_ELLIPSIS | DT_SINGLELINE;
    const UINT path = DT_PATH_ELLIPSIS | DT_SINGLELINE;
    const Case cases[] = {
        {u"abcdefghij", {0, 0, 60, 16}, end, "0,0:abc...", 16},
        {u"abcdef", {0, 0, 60, 16}, end, "0,0:abcdef", 16},  // fits: unchanged
        {u"abcdefghij", {0, 0, 65, 16}, end | DT_RIGHT, "5,0:abc...", 16},
        {u"abcdefghij", {0, 0, 20, 16}, end, "0,0:...", 16},  // even the dots overflow
        {u"高清格式转换", {0, 0, 75, 16}, end, "0,0:高清...", 16},
        {u"a\U0001F3A5\U0001F3A5bcd", {0, 0, 79, 16}, end, "0,0:a\U0001F3A5...", 16},  // pairs stay whole
        {u"a\U0001F3A5\U0001F3A5b", {0, 0, 59, 16}, end, "0,0:a...", 16},
        {u"&File menu", {0, 0, 70, 16}, end, "0,0:File..._0+10", 16},
        {u"Fil&e menu", {0, 0, 60, 16}, end, "0,0:Fil...", 16},  // its prefix is cut away
        {u"aaaaaaaaaa bb", {0, 0, 50, 100}, DT_WORDBREAK | DT_END_ELLIPSIS, "0,0:aa...|0,16:bb", 32},
        {u"/home/user/videos/clip.mts", {0, 0, 150, 16}, path, "0,0:/ho.../clip.mts", 16},
        {u"C:\\Velqua\\输出\\clip.mts", {0, 0, 140, 16}, path, "0,0:C:...\\clip.mts", 16},
        {u"C:\\Velqua\\输出\\clip.mts", {0, 0, 150, 16}, path, "0,0:C:\\...\\clip.mts", 16},
        {u"/home/user/videos/clip.mts", {0, 0, 120, 16}, path, "0,0:.../clip.mts", 16},
        {u"/home/user/videos/clip.mts", {0, 0, 100, 16}, path, "0,0:.../cli...", 16},
        {u"no-delimiter-here", {0, 0, 100, 16}, path, "0,0:no-deli...", 16},
        {u"/short/path", {0, 0, 200, 16}, path, "0,0:/short/path", 16},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(TabbedTextLayout, StopsAtTheGivenPositionsFromTheOrigin) {
    FixedMeasurer measurer;
    const Integer stops[] = {100, 200};
    const gdi::TabStops tabs = gdi::TabbedTextStops(stops, 2, 0, 40);
    const gdi::TextLine line = gdi::LayoutTabbedLine(u"a\tb\tc\td", 10, 7, tabs, measurer);
    ASSERT_EQ(line.Runs.size(), 4u);
    EXPECT_EQ(line.Runs[0].X, 10);
    EXPECT_EQ(line.Runs[1].X, 100);
    EXPECT_EQ(line.Runs[2].X, 200);
    EXPECT_EQ(line.Runs[3].X, 240);  // past the last stop: the default interval
    EXPECT_EQ(line.Y, 7);
    EXPECT_EQ(line.Width, 240);

    struct StopCase {
        std::vector<Integer> Stops;
        Integer Origin;
        Integer From;
        Integer Next;
    };
    const StopCase stopCases[] = {
        {{}, 0, 10, 40},          {{}, 0, 40, 80},
        {{}, 5, 10, 45},          {{30}, 0, 10, 30},
        {{30}, 0, 30, 60},        {{0}, 0, 10, 40},  // a zero interval is the default
        {{0, 50}, 0, 10, 50},     {{100, 200}, 20, 150, 220},
        {{100, 200}, 0, -5, 100}, {{}, 10, -25, 10},
    };
    for (const StopCase& c : stopCases) {
        const gdi::TabStops t = gdi::TabbedTextStops(c.Stops.empty() ? nullptr : c.Stops.data(),
                                                     Integer(c.Stops.size()), c.Origin, 40);
        EXPECT_EQ(t.Next(c.From), c.Next) << c.Stops.size() << " stops from " << c.From;
    }
}

TEST(DrawTextLayout, MeasuresWithARealFont) {
    gdi::FontRequest request;
    request.FaceName = u"Tahoma";
    request.Height = 13;
    const auto font = gdi::FontEngine::Instance().Realize(request);
    ASSERT_NE(font, nullptr);
    const Integer caption = font->TextWidth(u"高清格式转换");
    const TextLayout one = gdi::LayoutDrawText(u"高清格式转换", {0, 0, 0, 0}, {DT_CALCRECT}, *font);
    EXPECT_EQ(one.Bounds.Right, caption);
    EXPECT_EQ(one.Bounds.Bottom, 13);
    // Room for three characters gives two lines of three.
    const Integer three = font->TextWidth(u"高清格");
    const TextLayout wrapped =
        gdi::LayoutDrawText(u"高清格式转换", {0, 0, three, 0}, {DT_CALCRECT | DT_WORDBREAK}, *font);
    ASSERT_EQ(wrapped.Lines.size(), 2u);
    EXPECT_EQ(wrapped.Lines[1].Runs[0].Text, u"式转换");
    EXPECT_EQ(wrapped.Bounds.Bottom, 26);
    EXPECT_EQ(wrapped.Result, 26);
}
