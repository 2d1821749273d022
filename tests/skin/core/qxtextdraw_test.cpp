// Text is grey anti-aliased: these tests compare a procedure's drawing with
// the platform's DrawText (or TextRect) of the text at the place the
// procedure must choose, and measure layout, never glyph shapes.
#include "skin/core/qxtextdraw.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/gdi/drawtextflags.h"
#include "skintest.h"

namespace {

using namespace win;

constexpr Cardinal White = 0xFFFFFF;

std::unique_ptr<TBitmap> Page(Integer AHeight = -12, Integer AWidth = 160, Integer APageHeight = 60) {
    auto page = SolidBitmap(AWidth, APageHeight, White);
    TFont* font = page->Canvas()->Font();
    font->SetName(u"Tahoma");
    font->SetHeight(AHeight);
    font->SetColor(clBlack);
    page->Canvas()->Brush()->SetStyle(bsClear);
    return page;
}

bool SamePixels(TBitmap& A, TBitmap& B) {
    for (Integer y = 0; y < A.Height(); ++y)
        for (Integer x = 0; x < A.Width(); ++x)
            if (RGBAt(A, x, y) != RGBAt(B, x, y)) return false;
    return true;
}

bool Blank(TBitmap& ABitmap) {
    for (Integer y = 0; y < ABitmap.Height(); ++y)
        for (Integer x = 0; x < ABitmap.Width(); ++x)
            if (RGBAt(ABitmap, x, y) != White) return false;
    return true;
}

using TProcedure = std::function<void(TCanvas*, const String&, const TRect&)>;

TEST(OneLineText, DrawnAtTheRectangleTheRulesGive) {
    // Vertical centring rounds down: a rectangle as much higher than the
    // odd font's line as a multiple of 2 shows the raised top.
    const Integer line = SkinTextHeight(Page(-11)->Canvas(), u"x");
    const Integer bottom = 40 + (30 - line) % 2;
    const TRect wide{10, 10, 110, bottom}, narrow{10, 10, 30, bottom};
    const TProcedure centred = DrawTextCenteredOneLine, left = DrawTextLeftOneLine, plain = DrawTextOneLine;
    const auto aligned = [](Integer AAlignment) -> TProcedure {
        return
            [=](TCanvas* C, const String& T, const TRect& R) { DrawTextAlignedOneLine(C, T, R, AAlignment); };
    };
    struct TCase {
        const char* Name;
        TProcedure Draw;
        String Text;
        Integer Height;
        TRect Rect;
        Cardinal Flags;
        Integer RaiseTop, WidenRight;
    } cases[] = {
        {"centred", centred, u"wide", -12, wide, DT_CENTER, 0, 0},
        {"centred, odd height", centred, u"wide", -11, wide, DT_CENTER, 1, 0},
        {"centred, W", centred, u"Wide", -12, wide, DT_CENTER, 0, 2},
        {"centred, W, odd height", centred, u"Wide", -11, wide, DT_CENTER, 1, 2},
        {"left, W, clipped", left, u"Wide text", -12, narrow, 0, 0, 2},
        {"left, w, clipped", left, u"wide text", -12, narrow, 0, 0, 0},
        {"plain, W, clipped", plain, u"Wide text", -11, narrow, 0, 1, 0},
        {"aligned left", aligned(0), u"Wide", -11, wide, 0, 1, 0},
        {"aligned right", aligned(1), u"Wide", -12, wide, DT_RIGHT, 0, 0},
        {"aligned centre", aligned(2), u"Wide", -11, wide, DT_CENTER, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto page = Page(c.Height), expected = Page(c.Height);
        c.Draw(page->Canvas(), c.Text, c.Rect);
        const TRect r{c.Rect.Left, c.Rect.Top - c.RaiseTop, c.Rect.Right + c.WidenRight, c.Rect.Bottom};
        SkinDrawText(expected->Canvas(), c.Text, r, DT_SINGLELINE | DT_VCENTER | c.Flags);
        EXPECT_FALSE(Blank(*page));
        EXPECT_TRUE(SamePixels(*page, *expected));
    }
    // The corrections show: without them the text lands elsewhere.
    const auto odd = Page(-11), even = Page(-11);
    DrawTextCenteredOneLine(odd->Canvas(), u"wide", wide);
    SkinDrawText(even->Canvas(), u"wide", wide, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_FALSE(SamePixels(*odd, *even));
}

TEST(OneLineText, EmptyTextDrawsNothing) {
    const TRect r{10, 10, 110, 40};
    const std::function<void(TCanvas*)> draws[] = {
        [&](TCanvas* C) { DrawTextCenteredOneLine(C, u"", r); },
        [&](TCanvas* C) { DrawTextLeftOneLine(C, u"", r); },
        [&](TCanvas* C) { DrawTextOneLine(C, u"", r); },
        [&](TCanvas* C) { DrawTextAlignedOneLine(C, u"", r, 2); },
        [&](TCanvas* C) { DrawWrappedTextCentered(C, u"", r, true); },
        [&](TCanvas* C) { DrawTextVCentered(C, u"", r); },
        [&](TCanvas* C) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clRed);
            DrawTextVCenteredIndent(C, u"", r, 4);
        },
    };
    for (const auto& draw : draws) {
        const auto page = Page(-11);
        draw(page->Canvas());
        EXPECT_TRUE(Blank(*page));
    }
}

TEST(OneLineText, VCenteredByTheCanvasTextHeight) {
    const TRect r{10, 10, 110, 41};
    for (Integer height : {-11, -12}) {
        for (Integer indent : {0, 5}) {
            const auto page = Page(height), expected = Page(height);
            for (TCanvas* canvas : {page->Canvas(), expected->Canvas()}) {
                canvas->Brush()->SetStyle(bsSolid);
                canvas->Brush()->SetColor(clYellow);
            }
            DrawTextVCenteredIndent(page->Canvas(), u"Text", r, indent);
            TCanvas* canvas = expected->Canvas();
            const Integer y =
                r.Top + r.Height() / 2 - canvas->TextHeight(u"Text") / 2 - (height == -11 ? 1 : 0);
            canvas->TextRect(r, r.Left + indent + 2, y, u"Text");
            EXPECT_TRUE(SamePixels(*page, *expected)) << height << " " << indent;
        }
    }
    const auto page = Page(), expected = Page();
    DrawTextVCentered(page->Canvas(), u"Text", r);
    DrawTextVCenteredIndent(expected->Canvas(), u"Text", r, 0);
    EXPECT_TRUE(SamePixels(*page, *expected));
}

TEST(FitText, ShortenedFromTheEndWithAnEllipsis) {
    const auto page = Page();
    TCanvas* canvas = page->Canvas();
    using TFit = void (*)(TCanvas*, String&, Integer);
    using TMeasure = std::function<Integer(const String&)>;
    struct TVariant {
        TFit Fit;
        TMeasure Width;
    } variants[] = {
        {FitTextToWidthW, [&](const String& T) { return SkinTextWidth(canvas, T); }},
        {FitTextToWidth, [&](const String& T) { return canvas->TextWidth(T); }},
    };
    for (const TVariant& v : variants) {
        struct TCase {
            String Text;
            Integer Width;
            String Expected;
        } cases[] = {
            {u"Hello world", v.Width(u"Hello world"), u"Hello world"},
            {u"Hello world", v.Width(u"Hello wo..."), u"Hello wo..."},
            {u"Hello world", v.Width(u"Hello wo...") - 1, u"Hello w..."},
            {u"Hello world", v.Width(u"Hello..."), u"Hello..."},
            {u"W", 1, u"..."},
            {u"", 0, u""},
        };
        for (const TCase& c : cases) {
            String text = c.Text;
            v.Fit(canvas, text, c.Width);
            EXPECT_EQ(StringToUTF8(c.Expected), StringToUTF8(text)) << c.Width;
        }
    }
    EXPECT_EQ(0, SkinTextWidth(canvas, u""));
    EXPECT_EQ(canvas->TextWidth(u"Hello"), SkinTextWidth(canvas, u"Hello"));
    EXPECT_EQ(2 * SkinTextHeight(canvas, u"x"), SkinTextHeight(canvas, u"x\nx"));
}

// A word wider than the rectangle: split by a blank where it stops fitting,
// or cut there, ended by "..." and followed by two blanks.
TEST(WrappedText, LongWordsBrokenOrCut) {
    const String word = u"Wxyzwxy";
    const auto probe = Page();
    // Five characters of the word fit, the sixth does not.
    const Integer width = SkinTextWidth(probe->Canvas(), word.substr(0, 5));
    ASSERT_GT(SkinTextWidth(probe->Canvas(), word.substr(0, 6)), width);
    const TRect r{10, 5, 10 + width, 55};
    struct TCase {
        bool Break;
        String Expected;
    } cases[] = {
        {true, u"ab " + word.substr(0, 5) + u" " + word.substr(5) + u" cd"},
        {false, u"ab " + word.substr(0, 2) + u"...  cd"},
    };
    for (const TCase& c : cases) {
        const auto page = Page(), expected = Page();
        DrawWrappedTextCentered(page->Canvas(), u"ab " + word + u" cd", r, c.Break);
        SkinDrawText(expected->Canvas(), c.Expected, r, DT_WORDBREAK | DT_CENTER);
        EXPECT_TRUE(SamePixels(*page, *expected)) << c.Break;
    }
    // The odd-height rule applies.
    const auto page = Page(-11), expected = Page(-11);
    DrawWrappedTextCentered(page->Canvas(), u"ab cd", r, true);
    SkinDrawText(expected->Canvas(), u"ab cd", TRect{r.Left, r.Top - 1, r.Right, r.Bottom},
                 DT_WORDBREAK | DT_CENTER);
    EXPECT_TRUE(SamePixels(*page, *expected));
}

// The glow lies around the text, within the glow size of its rectangle
// moved by the offset; the text itself comes last, as DrawText draws it.
TEST(GlowText, AroundTheTextWithinTheGlowSize) {
    const TRect r{60, 20, 100, 40};
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        const auto page = Page(-16, 160, 60), text = Page(-16, 160, 60);
        const Integer result = wide
                                   ? DrawGlowTextW(page->Canvas(), r, u"HH", DT_SINGLELINE, 2, clBlue, 4)
                                   : (DrawGlowText(page->Canvas(), r, u"HH", DT_SINGLELINE, 2, clBlue, 4), 0);
        const Integer expected = SkinDrawText(text->Canvas(), u"HH", r, DT_SINGLELINE);
        if (wide) {
            EXPECT_EQ(expected, result);
        }
        Integer tinted = 0;
        for (Integer y = 0; y < 60; ++y)
            for (Integer x = 0; x < 160; ++x) {
                const Cardinal c = RGBAt(*page, x, y);
                const bool inBox =
                    x >= r.Left + 2 - 4 && x < r.Right + 2 + 4 && y >= r.Top + 2 - 4 && y < r.Bottom + 2 + 4;
                if (!inBox) {
                    ASSERT_EQ(White, c) << x << ", " << y;
                }
                // Blue glow over white: red and green fall, blue stays.
                if (RGBAt(*text, x, y) == White && c != White) {
                    ASSERT_EQ(0xFFu, c & 0xFF) << x << ", " << y;
                    ++tinted;
                }
            }
        EXPECT_GT(tinted, 20);
    }
}

// A glow size from a hostile skin is bounded: the work bitmap stays small
// and nothing is drawn beyond MaxGlowSize around the rectangle.
TEST(GlowText, TheGlowSizeIsBounded) {
    const TRect r{100, 100, 120, 110};
    const auto page = Page(-12, 320, 320);
    DrawGlowTextW(page->Canvas(), r, u"H", DT_SINGLELINE, 0, clBlue, 1 << 30);
    for (Integer y = 0; y < 320; ++y)
        for (Integer x = 0; x < 320; ++x)
            if (x < r.Left - MaxGlowSize || x >= r.Right + MaxGlowSize || y < r.Top - MaxGlowSize ||
                y >= r.Bottom + MaxGlowSize) {
                ASSERT_EQ(White, RGBAt(*page, x, y)) << x << ", " << y;
            }
    // A negative size counts as 0.
    const auto negative = Page(), zero = Page();
    DrawGlowTextW(negative->Canvas(), {10, 10, 60, 30}, u"H", DT_SINGLELINE, 0, clBlue, -5);
    DrawGlowTextW(zero->Canvas(), {10, 10, 60, 30}, u"H", DT_SINGLELINE, 0, clBlue, 0);
    EXPECT_TRUE(SamePixels(*negative, *zero));
}

TEST(GlowText, BackdropsFillTheirBlockWithTheColour) {
    const TRect r{40, 20, 120, 60};
    const auto normal = Page(-12, 160, 80), wide = Page(-12, 160, 80);
    DrawTextOnGlowBackdrop(normal->Canvas(), r, u".", 0, clBlue);
    DrawTextOnWideGlowBackdrop(wide->Canvas(), r, u".", 0, clBlue);
    // Deep inside the block the backdrop is the colour itself.
    EXPECT_EQ(0x0000FFu, RGBAt(*normal, 80, 40));
    EXPECT_EQ(0x0000FFu, RGBAt(*wide, 80, 40));
    // The wide block reaches 3 pixels past the sides; the normal one stops 3 inside.
    EXPECT_LT(RGBAt(*wide, r.Left - 1, 40) >> 16, RGBAt(*normal, r.Left - 1, 40) >> 16);
    // Nothing beyond the margins.
    EXPECT_EQ(White, RGBAt(*normal, r.Left - 11, 40));
    EXPECT_EQ(White, RGBAt(*wide, r.Left - 13, 40));
}

TEST(ReflectedText, TheFactorFallsFromTheTextsBottom) {
    EXPECT_DOUBLE_EQ(0.7, ReflectionFactor(20, 0, 20));
    EXPECT_NEAR(0.2, ReflectionFactor(10, 0, 20), 1e-12);
    for (Integer y = 0; y <= 6; ++y)
        EXPECT_EQ(0, ReflectionFactor(y, 0, 20)) << y;
    EXPECT_GT(ReflectionFactor(7, 0, 20), 0);
    EXPECT_EQ(0, ReflectionFactor(5, 5, 5));
}

// The mirror image starts Offset rows below the text's measured bottom.
TEST(ReflectedText, TheMirrorLiesBelowTheText) {
    const TRect r{10, 5, 150, 25};
    const Integer offset = 6;
    const auto page = Page(-16, 160, 80), text = Page(-16, 160, 80);
    DrawReflectedText(page->Canvas(), r, u"Hello", DT_CENTER, offset, clRed);
    TRect measured = r;
    SkinDrawText(text->Canvas(), u"Hello", measured, DT_CENTER | DT_CALCRECT);
    SkinDrawText(text->Canvas(), u"Hello", r, DT_CENTER);
    const Integer height = measured.Height();
    Integer first = 80, last = -1;
    for (Integer y = 0; y < 80; ++y)
        for (Integer x = 0; x < 160; ++x) {
            if (y < r.Bottom) {
                ASSERT_EQ(RGBAt(*text, x, y), RGBAt(*page, x, y)) << x << ", " << y;
                continue;
            }
            const Cardinal c = RGBAt(*page, x, y);
            if (c == White) continue;
            // Red over white: only green and blue fall.
            ASSERT_EQ(0xFFu, c >> 16) << x << ", " << y;
            first = std::min(first, y);
            last = std::max(last, y);
        }
    EXPECT_GE(first, measured.Bottom + offset - 1);
    EXPECT_LT(last, measured.Bottom + offset + height);
    EXPECT_LE(first, measured.Bottom + offset + height / 3);
}

}  // namespace
