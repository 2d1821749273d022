#include "platform/gdi/fontengine.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/base/ustring.h"

using gdi::FontEngine;
using gdi::FontInstance;
using gdi::FontRequest;

namespace {

std::shared_ptr<FontInstance> Font(const String& AName, Integer AHeight, Integer AWeight = 0,
                                   Byte ACharSet = 1, bool AItalic = false) {
    FontRequest request;
    request.FaceName = AName;
    request.Height = AHeight;
    request.Weight = AWeight;
    request.CharSet = ACharSet;
    request.Italic = AItalic;
    auto font = FontEngine::Instance().Realize(request);
    EXPECT_NE(font, nullptr);
    return font;
}

}  // namespace

TEST(FontSubstitution, WindowsNamesMapToInstalledFamilies) {
    struct Case {
        String Name;
        Byte CharSet;
        std::string Family;
    };
    const Case cases[] = {
        {u"Tahoma", 1, "DejaVu Sans"},
        {u"TAHOMA", 0, "DejaVu Sans"},
        {u"MS Sans Serif", 1, "DejaVu Sans"},
        {u"Arial", 1, "Liberation Sans"},
        {u"宋体", 1, "WenQuanYi Zen Hei"},
        {u"黑体", 134, "WenQuanYi Zen Hei"},
        {u"Tahoma", 134, "WenQuanYi Zen Hei"},  // a GB2312 request wins over the name
        {u"Courier New", 1, "Courier New"},     // left to fontconfig
        {u"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gdi::SubstituteFamily(c.Name, c.CharSet), c.Family);
}

TEST(FontEngine, ResolvesEachRequestToTheInstalledFace) {
    EXPECT_EQ(Font(u"Tahoma", 13)->Family(), "DejaVu Sans");
    EXPECT_EQ(Font(u"Arial", 14)->Family(), "Liberation Sans");
    EXPECT_EQ(Font(u"宋体", 12)->Family(), "WenQuanYi Zen Hei");
    EXPECT_EQ(Font(u"Tahoma", 13, 0, gdi::GB2312Charset)->Family(), "WenQuanYi Zen Hei");
    EXPECT_EQ(Font(u"", 13)->Family(), "DejaVu Sans");
}

TEST(FontEngine, TheSameRequestSharesOneRealisedFont) {
    EXPECT_EQ(Font(u"Tahoma", 13), Font(u"Tahoma", 13));
    EXPECT_NE(Font(u"Tahoma", 13), Font(u"Tahoma", -13));
}

TEST(FontEngine, PositiveHeightIsTheCellHeightKeptExactly) {
    for (const String name : {u"Tahoma", u"Arial", u"宋体"})
        for (Integer height = 6; height <= 48; ++height) {
            const auto font = Font(name, height);
            const gdi::FontMetrics& m = font->Metrics();
            EXPECT_EQ(m.Height, height);
            EXPECT_EQ(m.Ascent + m.Descent, height);
            EXPECT_EQ(m.Height - m.InternalLeading, font->EmHeight());
            EXPECT_LE(font->EmHeight(), height);
        }
}

TEST(FontEngine, NegativeHeightIsTheCharacterHeight) {
    for (const String name : {u"Tahoma", u"Arial", u"宋体"})
        for (Integer height = 6; height <= 48; ++height) {
            const auto font = Font(name, -height);
            const gdi::FontMetrics& m = font->Metrics();
            EXPECT_EQ(font->EmHeight(), height);
            EXPECT_EQ(m.Height - m.InternalLeading, height);
            EXPECT_EQ(m.Ascent + m.Descent, m.Height);
            EXPECT_GE(m.Height, height);  // these faces all have a cell taller than their em
        }
}

TEST(FontEngine, HeightZeroIsTheDefaultCharacterHeight) {
    EXPECT_EQ(Font(u"Tahoma", 0)->Metrics().Height,
              Font(u"Tahoma", -gdi::DefaultCharHeight)->Metrics().Height);
    EXPECT_EQ(Font(u"Tahoma", 0)->EmHeight(), gdi::DefaultCharHeight);
}

TEST(FontEngine, AbsurdHeightsAreBoundedNotFatal) {
    for (const Integer height : {INT32_MIN, -1000000, 1000000, INT32_MAX}) {
        const auto font = Font(u"Tahoma", height);
        EXPECT_GE(font->EmHeight(), 1);
        EXPECT_LE(font->EmHeight(), 2000);
    }
}

TEST(FontEngine, MetricsDescribeTheFace) {
    const auto font = Font(u"Tahoma", 13);
    const gdi::FontMetrics& m = font->Metrics();
    EXPECT_GT(m.AveCharWidth, 3);
    EXPECT_GE(m.MaxCharWidth, m.AveCharWidth);
    EXPECT_EQ(m.Weight, 400);
    EXPECT_FALSE(m.FixedPitch);
    // Underline and strikeout stay inside the cell.
    EXPECT_GE(m.UnderlineOffset, 0);
    EXPECT_LE(m.UnderlineOffset + m.UnderlineThickness, m.Descent);
    EXPECT_GT(m.StrikeOutOffset, 0);
    EXPECT_LT(m.StrikeOutOffset, m.Ascent);
}

TEST(FontEngine, BoldUsesTheBoldFaceOrEmboldens) {
    // DejaVu Sans has a bold face of its own.
    EXPECT_EQ(Font(u"Tahoma", 13, 700)->Metrics().Weight, 700);
    EXPECT_GT(Font(u"Tahoma", 13, 700)->TextWidth(u"Velqua"), Font(u"Tahoma", 13)->TextWidth(u"Velqua"));
    // The Chinese face has none: each glyph grows by the emboldening.
    const auto regular = Font(u"宋体", 13);
    const auto bold = Font(u"宋体", 13, 700);
    EXPECT_EQ(bold->Metrics().Weight, 700);
    EXPECT_EQ(bold->TextWidth(u"高清"), regular->TextWidth(u"高清") + 2);
}

TEST(FontEngine, WidthsAreSumsOfWholePixelAdvances) {
    const auto font = Font(u"Tahoma", 13);
    const std::u16string_view text = u"Velqua 高清\U0001F3A5\t\r\n";
    std::vector<Integer> advances(text.size());
    font->Advances(text, advances.data());
    Integer sum = 0;
    for (Integer advance : advances)
        sum += advance;
    EXPECT_EQ(font->TextWidth(text), sum);
    EXPECT_EQ(font->TextWidth(u"Velqua"), font->TextWidth(u"Vel") + font->TextWidth(u"qua"));
    // A surrogate pair advances once, on its first unit; controls do not.
    EXPECT_EQ(advances[10], 0);
    EXPECT_EQ(advances[11], 0);
    EXPECT_EQ(advances[12], 0);
    EXPECT_EQ(advances[13], 0);
}

TEST(FontEngine, ChineseCharactersComeFromTheFallbackFace) {
    const auto latin = Font(u"Tahoma", -12);
    const auto chinese = Font(u"宋体", -12);
    EXPECT_EQ(latin->TextWidth(u"高清格式转换"), chinese->TextWidth(u"高清格式转换"));
    EXPECT_EQ(latin->TextWidth(u"高"), 12);  // ideographs fill the em square
    // The face's own Latin glyphs stay its own.
    EXPECT_NE(latin->TextWidth(u"WWWWWW"), chinese->TextWidth(u"WWWWWW"));
}

// A sign the Chinese face lacks comes from the symbol face, also for a
// Chinese or Arial font; only a character no face has shows the empty box.
TEST(FontEngine, SignsPastTheChineseFaceComeFromTheSymbolFace) {
    const gdi::GlyphImage& own = Font(u"Tahoma", -14)->Glyph(U'✓');
    ASSERT_FALSE(own.Coverage.empty());
    for (const char16_t* name : {u"黑体", u"Arial"}) {
        const auto font = Font(name, -14);
        const gdi::GlyphImage& check = font->Glyph(U'✓');
        EXPECT_EQ(check.Coverage, own.Coverage) << StringToUTF8(name);
        EXPECT_NE(check.Coverage, font->Glyph(U'\U0010FFFD').Coverage) << StringToUTF8(name);
    }
}

TEST(FontEngine, GlyphsAreRenderedOnceAndSitOnTheBaseline) {
    const auto font = Font(u"Tahoma", -16);
    const gdi::GlyphImage& a = font->Glyph(U'A');
    EXPECT_EQ(&a, &font->Glyph(U'A'));
    EXPECT_GT(a.Width, 0);
    EXPECT_GT(a.Top, 0);
    EXPECT_LE(a.Top, font->Metrics().Ascent);
    EXPECT_LE(a.Height, a.Top + 1);  // nothing of a capital hangs below the baseline
    EXPECT_EQ(a.Coverage.size(), size_t(a.Width * a.Height));
    EXPECT_EQ(*std::max_element(a.Coverage.begin(), a.Coverage.end()), 255);
    EXPECT_TRUE(font->Glyph(U' ').Coverage.empty());
    EXPECT_TRUE(font->Glyph(U'\n').Coverage.empty());
}

TEST(FontEngine, MeasuringRendersNothing) {
    const auto font = Font(u"Arial", 23);  // used by no other test
    EXPECT_GT(font->TextWidth(u"Measure 测量"), 0);
    EXPECT_EQ(font->RenderedGlyphCount(), 0u);
    font->Glyph(U'M');
    EXPECT_EQ(font->RenderedGlyphCount(), 1u);
}

TEST(FontEngine, ItalicSlantsAFaceWithoutItalic) {
    const gdi::GlyphImage& upright = Font(u"宋体", -20)->Glyph(U'高');
    const gdi::GlyphImage& slanted = Font(u"宋体", -20, 0, 1, true)->Glyph(U'高');
    EXPECT_GT(slanted.Width, upright.Width);
    EXPECT_EQ(Font(u"宋体", -20, 0, 1, true)->TextWidth(u"高"), Font(u"宋体", -20)->TextWidth(u"高"));
}

TEST(FontEngine, TwoThreadsMeasureTheSameFontAlike) {
    FontRequest request;
    request.FaceName = u"Tahoma";
    request.Height = 17;
    const std::u16string_view text = u"并发测量 Velqua 视频转换 0123456789";
    Integer results[2] = {0, 0};
    {
        std::jthread first([&] { results[0] = FontEngine::Instance().Realize(request)->TextWidth(text); });
        std::jthread second([&] { results[1] = FontEngine::Instance().Realize(request)->TextWidth(text); });
    }
    EXPECT_GT(results[0], 0);
    EXPECT_EQ(results[0], results[1]);
}
