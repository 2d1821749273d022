#include "skin/core/qxdrawing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skintest.h"

namespace {

constexpr Cardinal White = 0xFFFFFF;

using TArt = std::vector<std::string>;

// The pixels of AArea that are not white, as rows of '#' and '.'.
TArt Ink(TBitmap& ABitmap, const TRect& AArea) {
    TArt rows;
    for (Integer y = AArea.Top; y < AArea.Bottom; ++y) {
        std::string row;
        for (Integer x = AArea.Left; x < AArea.Right; ++x)
            row += RGBAt(ABitmap, x, y) == White ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

std::string Joined(const TArt& AArt) {
    std::string text;
    for (const std::string& row : AArt)
        text += row + "\n";
    return text;
}

bool SamePixels(TBitmap& A, TBitmap& B, Integer ADx = 0, Integer ADy = 0) {
    for (Integer y = 0; y < A.Height(); ++y)
        for (Integer x = 0; x < A.Width(); ++x) {
            const Integer bx = x - ADx, by = y - ADy;
            const Cardinal b =
                bx < 0 || by < 0 || bx >= B.Width() || by >= B.Height() ? White : RGBAt(B, bx, by);
            if (RGBAt(A, x, y) != b) return false;
        }
    return true;
}

TEST(Colors, MixAndDarken) {
    EXPECT_EQ(0x7F007F, MixColors(clRed, clBlue));
    EXPECT_EQ(0xF7F7F7, MixColors(clBtnFace, clWhite));
    struct TCase {
        TColor Color;
        Integer Percent;
        TColor Expected;
    } cases[] = {
        {0x3264C8, 0, 0x3264C8},
        {0x3264C8, 50, 0x193264},
        {0x3264C8, 100, 0},
        {clBtnShadow, 10, 0x909090},
        {0x000005, 10, 0x000004},  // MulDiv rounds half away from zero
        // Beyond 100 the channels stop at black instead of wrapping.
        {0x3264C8, 150, 0},
        {0xFFFFFF, 255, 0},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Expected, DarkenColor(c.Color, c.Percent))
            << std::hex << c.Color << " " << std::dec << c.Percent;
    EXPECT_EQ(7, IntMax(-3, 7));
    EXPECT_EQ(-3, IntMin(-3, 7));
}

TEST(GlyphTextLayout, PositionsByMarginAndLayout) {
    // Face (10, 20, 110, 80): centre (60, 50); glyph 16 x 12, text 30 x 10, spacing 4.
    const TRect face{10, 20, 110, 80};
    struct TCase {
        TqxButtonLayout Layout;
        Integer Margin;
        Integer GlyphX, GlyphY, TextX, TextY;
    } cases[] = {
        {blGlyphLeft, -1, 35, 44, 55, 45}, {blGlyphRight, -1, 69, 44, 35, 45},
        {blGlyphTop, -1, 52, 37, 45, 53},  {blGlyphBottom, -1, 52, 51, 45, 37},
        {blGlyphLeft, 5, 15, 44, 35, 45},  {blGlyphRight, 5, 89, 44, 55, 45},
        {blGlyphTop, 5, 52, 25, 45, 41},   {blGlyphBottom, 5, 52, 63, 45, 49},
    };
    for (const TCase& c : cases) {
        Integer tx, ty, gx, gy;
        CalcGlyphTextPositions(c.Layout, face, 16, 12, 30, 10, 4, c.Margin, tx, ty, gx, gy);
        EXPECT_EQ((std::vector<Integer>{c.GlyphX, c.GlyphY, c.TextX, c.TextY}),
                  (std::vector<Integer>{gx, gy, tx, ty}))
            << "layout " << c.Layout << " margin " << c.Margin;
    }
    // Without a glyph the spacing is ignored: the text alone is centred.
    for (TqxButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        Integer tx, ty, gx, gy;
        CalcGlyphTextPositions(layout, face, 0, 0, 30, 10, 4, -1, tx, ty, gx, gy);
        EXPECT_EQ(45, tx) << layout;
        EXPECT_EQ(45, ty) << layout;
    }
}

// An image list with one 8 x 6 image in one colour.
class GlyphAndCaption : public ::testing::Test {
protected:
    void SetUp() override {
        FImages.SetWidth(8);
        FImages.SetHeight(6);
        const auto image = SolidBitmap(8, 6, 0x2040C0);
        FImages.Add(image.get(), nullptr);
    }
    static std::unique_ptr<TBitmap> Face() { return SolidBitmap(80, 40, White); }
    TCustomImageList FImages{nullptr};
};

TEST_F(GlyphAndCaption, AnImageIndexOutsideTheListLaysTheCaptionOutAlone) {
    const TRect face{0, 0, 80, 40};
    const auto alone = Face(), outside = Face(), with = Face();
    DrawImageAndText(alone->Canvas(), face, -1, 4, blGlyphLeft, u"Ok", -1, nullptr, false, true, false,
                     clRed);
    DrawImageAndText(outside->Canvas(), face, -1, 4, blGlyphLeft, u"Ok", 1, &FImages, false, true, false,
                     clRed);
    DrawImageAndText(with->Canvas(), face, -1, 4, blGlyphLeft, u"Ok", 0, &FImages, false, true, false, clRed);
    EXPECT_TRUE(SamePixels(*alone, *outside));
    EXPECT_FALSE(SamePixels(*alone, *with));
}

TEST_F(GlyphAndCaption, DownMovesGlyphAndCaptionOnePixel) {
    const TRect face{0, 0, 80, 40};
    const auto up = Face(), down = Face();
    DrawImageAndText(up->Canvas(), face, 3, 4, blGlyphLeft, u"Ok", 0, &FImages, false, true, false, clRed);
    DrawImageAndText(down->Canvas(), face, 3, 4, blGlyphLeft, u"Ok", 0, &FImages, true, true, false, clRed);
    EXPECT_TRUE(SamePixels(*down, *up, 1, 1));
}

TEST_F(GlyphAndCaption, TheColourMarkerUnderTheGlyphOrOverTheFace) {
    const TRect face{0, 0, 80, 40};
    // Under the image: rows glyph Y + 4 .. + 6 (glyph at (3, 17) with margin 3).
    const auto marked = Face();
    DrawImageAndText(marked->Canvas(), face, 3, 4, blGlyphLeft, u"", 0, &FImages, false, true, true, clLime);
    for (Integer y = 21; y <= 23; ++y)
        for (Integer x = 3; x < 11; ++x)
            ASSERT_EQ(0x00FF00u, RGBAt(*marked, x, y)) << x << ", " << y;
    EXPECT_EQ(White, RGBAt(*marked, 11, 22));
    EXPECT_EQ(White, RGBAt(*marked, 5, 24));
    // Neither glyph nor caption: a block over the face, lower when down for strips.
    struct TCase {
        bool Strip, Down;
        TRect Block;
    } cases[] = {{false, false, {4, 4, 78, 36}}, {true, false, {4, 4, 78, 36}}, {true, true, {4, 5, 78, 37}}};
    for (const TCase& c : cases) {
        const auto image = Face();
        if (c.Strip)
            DrawGlyphAndText(image->Canvas(), face, -1, 4, blGlyphLeft, u"", nullptr, 1, 1, c.Down, true,
                             clLime);
        else
            DrawImageAndText(image->Canvas(), face, -1, 4, blGlyphLeft, u"", -1, nullptr, c.Down, true, true,
                             clLime);
        for (Integer y = 0; y < 40; ++y)
            for (Integer x = 0; x < 80; ++x) {
                const bool inside =
                    x >= c.Block.Left && x < c.Block.Right && y >= c.Block.Top && y < c.Block.Bottom;
                ASSERT_EQ(inside ? 0x00FF00u : White, RGBAt(*image, x, y))
                    << "strip " << c.Strip << " down " << c.Down << " at " << x << ", " << y;
            }
    }
}

// Three 4 x 3 glyphs in red, green and blue, each with a white bottom-left
// pixel that is drawn transparent.
std::unique_ptr<TBitmap> Strip() {
    auto strip = SolidBitmap(12, 3, 0);
    const Cardinal colors[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (Integer i = 0; i < 3; ++i)
        for (Integer y = 0; y < 3; ++y)
            for (Integer x = 0; x < 4; ++x)
                SetRGB(*strip, 4 * i + x, y, x == 0 && y == 2 ? White : colors[i]);
    return strip;
}

TEST(GlyphStrip, OneGlyphDrawnWithItsBottomLeftColourLeftOut) {
    const auto strip = Strip();
    const auto target = SolidBitmap(10, 6, 0x808080);
    DrawGlyphFromStrip(target->Canvas(), 2, 1, strip.get(), 3, 2);
    for (Integer y = 0; y < 6; ++y)
        for (Integer x = 0; x < 10; ++x) {
            const bool glyph = x >= 2 && x < 6 && y >= 1 && y < 4 && !(x == 2 && y == 3);
            ASSERT_EQ(glyph ? 0x00FF00u : 0x808080u, RGBAt(*target, x, y)) << x << ", " << y;
        }
}

// A strip of no glyphs or a number outside 1 .. count draws no glyph (and
// lays the caption out alone) instead of dividing by zero or reading
// beside the strip.
TEST(GlyphStrip, NoGlyphOutsideTheStrip) {
    const auto strip = Strip();
    struct TCase {
        TqxNumGlyphs Count;
        Integer Number;
    } cases[] = {{0, 1}, {3, 0}, {3, 4}, {-1, 1}, {13, 1}};
    const TRect face{0, 0, 60, 30};
    const auto alone = SolidBitmap(60, 30, White);
    DrawGlyphAndText(alone->Canvas(), face, -1, 4, blGlyphLeft, u"Go", nullptr, 1, 1, false, false, clRed);
    for (const TCase& c : cases) {
        const auto target = SolidBitmap(10, 6, White);
        DrawGlyphFromStrip(target->Canvas(), 0, 0, strip.get(), c.Count, c.Number);
        EXPECT_EQ(TArt(6, ".........."), Ink(*target, {0, 0, 10, 6})) << c.Count << " " << c.Number;
        const auto face2 = SolidBitmap(60, 30, White);
        DrawGlyphAndText(face2->Canvas(), face, -1, 4, blGlyphLeft, u"Go", strip.get(), c.Count, c.Number,
                         false, false, clRed);
        EXPECT_TRUE(SamePixels(*alone, *face2)) << c.Count << " " << c.Number;
    }
}

// Each shape on a white 16 x 13 bitmap: the arrows centred in
// (0, 0, 12, 12), that is on (6, 6); marks and glyphs at (2, 2). The art
// starts at row First; every other row stays white.
TEST(Shapes, ArrowsMarksAndCaptionGlyphs) {
    const TRect box{0, 0, 12, 12};
    struct TCase {
        const char* Name;
        std::function<void(TCanvas*)> Draw;
        Integer First;
        TArt Expected;
    };
    // clang-format off
    const TCase cases[] = {
        {"small down arrow",
         [&](TCanvas* C) { DrawSmallDownArrow(C, box, clBlack); },
         6,
         {"....#####....",
          ".....###.....",
          "......#......"}},
        {"arrow left",
         [&](TCanvas* C) { DrawArrow(C, box, clBlack, 1); },
         3,
         {".......#.....",
          "......##.....",
          ".....###.....",
          "....####.....",
          ".....###.....",
          "......##.....",
          ".......#....."}},
        {"arrow right",
         [&](TCanvas* C) { DrawArrow(C, box, clBlack, 2); },
         3,
         {".....#.......",
          ".....##......",
          ".....###.....",
          ".....####....",
          ".....###.....",
          ".....##......",
          ".....#......."}},
        {"arrow up",
         [&](TCanvas* C) { DrawArrow(C, box, clBlack, 3); },
         4,
         {"......#......",
          ".....###.....",
          "....#####....",
          "...#######..."}},
        {"arrow down",
         [&](TCanvas* C) { DrawArrow(C, box, clBlack, 4); },
         5,
         {"...#######...",
          "....#####....",
          ".....###.....",
          "......#......"}},
        {"plus",
         [&](TCanvas* C) { DrawArrow(C, box, clBlack, 5); },
         2,
         {".....##......",
          ".....##......",
          ".....##......",
          "..########...",
          "..########...",
          ".....##......",
          ".....##......",
          ".....##......"}},
        {"no such arrow", [&](TCanvas* C) { DrawArrow(C, box, clBlack, 6); }, 0, {}},
        {"large arrow left",
         [&](TCanvas* C) { DrawLargeArrow(C, box, clBlack, 1); },
         1,
         {".........#...",
          "........##...",
          ".......###...",
          "......####...",
          ".....#####...",
          "....######...",
          ".....#####...",
          "......####...",
          ".......###...",
          "........##...",
          ".........#..."}},
        {"large arrow down",
         [&](TCanvas* C) { DrawLargeArrow(C, box, clBlack, 4); },
         3,
         {".###########.",
          "..#########..",
          "...#######...",
          "....#####....",
          ".....###.....",
          "......#......"}},
        {"no large plus", [&](TCanvas* C) { DrawLargeArrow(C, box, clBlack, 5); }, 0, {}},
        {"radio mark",
         [&](TCanvas* C) { DrawRadioMark(C, 2, 2, clBlack); },
         2,
         {"..######.....",
          "..######.....",
          "..######.....",
          "..######.....",
          "..######.....",
          "..######....."}},
        {"check mark",
         [&](TCanvas* C) { DrawCheckMark(C, 2, 2, clBlack); },
         3,
         {"........#....",
          ".......##....",
          "..#...###....",
          "..##.###.....",
          "..#####......",
          "...###.......",
          "....#........"}},
        {"close",
         [&](TCanvas* C) { DrawCloseGlyph(C, 2, 2, clBlack); },
         3,
         {"...##.....##.",
          "....##...##..",
          ".....##.##...",
          "......###....",
          "......###....",
          ".....##.##...",
          "....##...##..",
          "...##.....##."}},
        {"system menu",
         [&](TCanvas* C) { DrawSysMenuGlyph(C, 2, 2, clBlack); },
         5,
         {"....######...",
          ".............",
          "....######..."}},
        {"minimize",
         [&](TCanvas* C) { DrawMinimizeGlyph(C, 2, 2, clBlack); },
         10,
         {"...########..",
          "...########.."}},
        {"maximize",
         [&](TCanvas* C) { DrawMaximizeGlyph(C, 2, 2, clBlack); },
         2,
         {"..###########",
          "..###########",
          "..#.........#",
          "..#.........#",
          "..#.........#",
          "..#.........#",
          "..#.........#",
          "..#.........#",
          "..#.........#",
          "..###########"}},
        {"restore",
         [&](TCanvas* C) { DrawRestoreGlyph(C, 2, 2, clBlack); },
         2,
         {"....########.",
          "....########.",
          "....#......#.",
          "....#......#.",
          "..#######..#.",
          "..##########.",
          "..#.....#....",
          "..#.....#....",
          "..#.....#....",
          "..#######...."}},
        {"roll down",
         [&](TCanvas* C) { DrawRollDownGlyph(C, 2, 2, clBlack); },
         5,
         {"....#######..",
          ".....#####...",
          "......###....",
          ".......#....."}},
        {"roll up",
         [&](TCanvas* C) { DrawRollUpGlyph(C, 2, 2, clBlack); },
         4,
         {".......#.....",
          "......###....",
          ".....#####...",
          "....#######.."}},
        {"minimize to tray",
         [&](TCanvas* C) { DrawMinimizeToTrayGlyph(C, 2, 2, clBlack); },
         4,
         {"....#####....",
          "....#####....",
          "....#####....",
          "....#####....",
          "....#####...."}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        const auto target = SolidBitmap(16, 13, White);
        c.Draw(target->Canvas());
        TArt expected(13, ".............");
        for (size_t i = 0; i < c.Expected.size(); ++i)
            expected[c.First + i] = c.Expected[i];
        EXPECT_EQ(Joined(expected), Joined(Ink(*target, {0, 0, 13, 13}))) << c.Name;
        EXPECT_EQ(TArt(13, "..."), Ink(*target, {13, 0, 16, 13})) << c.Name;
    }
}

TEST(Shapes, Frame3DAndTheFocusRectangle) {
    // Left and top red, right and bottom (one pixel inside) blue.
    const auto frame = SolidBitmap(8, 7, White);
    DrawFrame3D(frame->Canvas(), {1, 1, 6, 6}, clRed, clBlue);
    const TArt colors{"........", ".RRRRB..", ".R...B..", ".R...B..", ".R...B..", ".BBBBB..", "........"};
    for (Integer y = 0; y < 7; ++y)
        for (Integer x = 0; x < 8; ++x) {
            const char c = colors[y][x];
            ASSERT_EQ(c == 'R'   ? 0xFF0000u
                      : c == 'B' ? 0x0000FFu
                                 : White,
                      RGBAt(*frame, x, y))
                << x << ", " << y;
        }
    // Every second pixel of the outline, clockwise from the top-left corner;
    // the first one is skipped when both sides (less one) are even.
    struct TCase {
        TRect Rect;
        TArt Expected;
    } cases[] = {
        {{1, 1, 6, 5}, {"......", ".#.#.#", "......", ".#...#", "..#.#."}},
        {{1, 1, 6, 6}, {"......", "..#.#.", ".#...#", "......", ".#...#", "..#.#."}},
        {{1, 1, 2, 5}, {"......", ".#....", "......", ".#....", "......"}},
    };
    for (const TCase& c : cases) {
        const auto target = SolidBitmap(6, Integer(c.Expected.size()), White);
        target->Canvas()->Font()->SetColor(clGreen);
        DrawSkinFocusRect(target->Canvas(), c.Rect);
        const Integer h = Integer(c.Expected.size());
        EXPECT_EQ(Joined(c.Expected), Joined(Ink(*target, {0, 0, 6, h})));
        for (Integer y = 0; y < h; ++y)
            for (Integer x = 0; x < 6; ++x)
                if (c.Expected[y][x] == '#') {
                    EXPECT_EQ(0x008000u, RGBAt(*target, x, y)) << x << ", " << y;
                }
    }
}

}  // namespace
