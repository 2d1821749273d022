#include "platform/gdi/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gditest.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcinternal.h"
#include "platform/gdi/objects.h"

using namespace win;

namespace {

constexpr uint32_t White = 0xFFFFFFFF;  // alpha 255, to see text clear it

HFONT MakeFont(const char16_t* AFace, LONG AHeight, LONG AWeight = FW_NORMAL, bool AUnderline = false,
               bool AStrikeOut = false) {
    LOGFONTW font{};
    font.lfHeight = AHeight;
    font.lfWeight = AWeight;
    font.lfUnderline = AUnderline;
    font.lfStrikeOut = AStrikeOut;
    font.lfCharSet = DEFAULT_CHARSET;
    std::char_traits<char16_t>::copy(font.lfFaceName, AFace, std::char_traits<char16_t>::length(AFace));
    return CreateFontIndirectW(&font);
}

// A white 32-bit surface with a font selected, black text on it.
class TextSurface : public TestBitmap {
  public:
    TextSurface(int AWidth, int AHeight, HFONT AFont, int ABitCount = 32)
        : TestBitmap(AWidth, AHeight, ABitCount), FFont(AFont), FWidth(AWidth), FHeight(AHeight) {
        Fill(ABitCount == 32 ? White : 0xFFFFFF);
        FOld = SelectObject(DC(), FFont);
        SetTextColor(DC(), RGB(0, 0, 0));
        SetBkMode(DC(), TRANSPARENT);
    }
    ~TextSurface() {
        SelectObject(DC(), FOld);
        DeleteObject(FFont);
    }

    bool Touched(int X, int Y) const { return (At(X, Y) & 0xFFFFFF) != 0xFFFFFF; }
    // The box of every pixel that is not white any more.
    RECT Inked() const {
        RECT box{FWidth, FHeight, 0, 0};
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                if (Touched(x, y))
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        return box;
    }
    bool Blank() const { return Inked().right == 0; }
    bool Inside(const RECT& ABox, const RECT& ABound) const {
        return ABox.left >= ABound.left && ABox.top >= ABound.top && ABox.right <= ABound.right &&
               ABox.bottom <= ABound.bottom;
    }
    TEXTMETRICW Metrics() const {
        TEXTMETRICW tm{};
        EXPECT_TRUE(GetTextMetricsW(DC(), &tm));
        return tm;
    }
    LONG Width(const char16_t* AText) const {
        SIZE size{};
        EXPECT_TRUE(
            GetTextExtentPoint32W(DC(), AText, int(std::char_traits<char16_t>::length(AText)), &size));
        return size.cx;
    }

  private:
    HFONT FFont;
    HGDIOBJ FOld = nullptr;
    int FWidth;
    int FHeight;
};

}  // namespace

TEST(TextMetrics, ReportTheSelectedFont) {
    struct Case {
        const char16_t* Face;
        LONG Height;
        LONG Weight;
    };
    for (const Case c :
         {Case{u"Tahoma", 13, FW_NORMAL}, Case{u"Tahoma", 13, FW_BOLD}, Case{u"Arial", 14, FW_NORMAL},
          Case{u"宋体", 12, FW_NORMAL}, Case{u"Tahoma", -11, FW_NORMAL}}) {
        TextSurface surface(4, 4, MakeFont(c.Face, c.Height, c.Weight));
        const TEXTMETRICW tm = surface.Metrics();
        if (c.Height > 0) {
            EXPECT_EQ(tm.tmHeight, c.Height);
        } else {
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.Height);
        }
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        // The face's own weight: the Chinese face is a medium one.
        if (c.Weight == FW_BOLD) {
            EXPECT_EQ(tm.tmWeight, FW_BOLD);
        } else {
            EXPECT_GE(tm.tmWeight, FW_NORMAL);
            EXPECT_LT(tm.tmWeight, FW_SEMIBOLD);
        }
        EXPECT_EQ(tm.tmPitchAndFamily & (TMPF_FIXED_PITCH | TMPF_TRUETYPE), TMPF_FIXED_PITCH | TMPF_TRUETYPE);
    }
}

TEST(TextMetrics, FailWithoutADcOrAnOutParameter) {
    TEXTMETRICW tm{};
    EXPECT_FALSE(GetTextMetricsW(nullptr, &tm));
    EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x1234), &tm));
    TextSurface surface(4, 4, MakeFont(u"Tahoma", 13));
    EXPECT_FALSE(GetTextMetricsW(surface.DC(), nullptr));
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32W(surface.DC(), u"abc", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32W(surface.DC(), nullptr, 3, &size));
    EXPECT_FALSE(GetTextExtentPoint32W(surface.DC(), u"abc", 3, nullptr));
}

TEST(TextExtent, AddsAdvancesWithoutPrefixOrTabHandling) {
    TextSurface surface(4, 4, MakeFont(u"Tahoma", -12));
    EXPECT_EQ(surface.Width(u"Velqua"), surface.Width(u"Vel") + surface.Width(u"qua"));
    EXPECT_EQ(surface.Width(u""), 0);
    EXPECT_EQ(surface.Width(u"高清格式转换"), 6 * 12);
    EXPECT_GT(surface.Width(u"&File"), surface.Width(u"File"));
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(surface.DC(), u"高清", 2, &size));
    EXPECT_EQ(size.cy, surface.Metrics().tmHeight);
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
    TextSurface surface(100, 40, MakeFont(u"Tahoma", 13));
    const LONG caption = surface.Width(u"高清格式转换");
    struct Case {
        const char16_t* Text;
        UINT Format;
        RECT Expected;
    };
    const LONG file = surface.Width(u"File");
    const Case cases[] = {
        {u"高清格式转换", DT_CALCRECT, {5, 7, 5 + caption, 20}},
        {u"&File", DT_CALCRECT, {5, 7, 5 + file, 20}},
        {u"&File", DT_CALCRECT | DT_NOPREFIX, {5, 7, 5 + surface.Width(u"&File"), 20}},
        {u"高清格式转换\r\nFile", DT_CALCRECT, {5, 7, 5 + caption, 33}},
        {u"", DT_CALCRECT, {5, 7, 5, 7}},
    };
    for (const Case& c : cases) {
        RECT rect{5, 7, 5, 7};
        const int height = DrawTextW(surface.DC(), c.Text, -1, &rect, c.Format);
        EXPECT_EQ(rect, c.Expected);
        EXPECT_EQ(height, c.Expected.bottom - c.Expected.top);
    }
    // Word breaking: half the caption's room gives two lines.
    RECT rect{0, 0, surface.Width(u"高清格"), 0};
    EXPECT_EQ(DrawTextW(surface.DC(), u"高清格式转换", -1, &rect, DT_CALCRECT | DT_WORDBREAK), 26);
    EXPECT_EQ(rect.right, surface.Width(u"高清格"));
    EXPECT_TRUE(surface.Blank());
}

TEST(DrawText, DrawsInsideItsRectangleUnlessNoClip) {
    TextSurface surface(120, 40, MakeFont(u"Tahoma", 13));
    const RECT rect{10, 5, 40, 30};
    RECT r = rect;
    EXPECT_EQ(DrawTextW(surface.DC(), u"高清格式转换", -1, &r, DT_SINGLELINE | DT_VCENTER),
              13 + (25 - 13) / 2);
    EXPECT_EQ(r, rect);
    ASSERT_FALSE(surface.Blank());
    EXPECT_TRUE(surface.Inside(surface.Inked(), rect));
    EXPECT_EQ(surface.Inked().right, rect.right);  // the caption runs past the rectangle

    surface.Fill(White);
    r = rect;
    DrawTextW(surface.DC(), u"高清格式转换", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    EXPECT_GT(surface.Inked().right, rect.right);
}

TEST(DrawText, TextWritesColourAndClearsAlpha) {
    TextSurface surface(100, 30, MakeFont(u"Tahoma", -24));
    SetTextColor(surface.DC(), RGB(0, 0, 255));
    RECT rect{0, 0, 100, 30};
    DrawTextW(surface.DC(), u"Velqua", -1, &rect, DT_LEFT);
    bool solid = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint32_t pixel = surface.At(x, y);
            if (pixel == White) continue;
            EXPECT_EQ(pixel >> 24, 0u) << x << "," << y;
            EXPECT_EQ(pixel & 0xFF, 0xFFu);  // blue stays, red and green fade
            solid |= pixel == 0x000000FF;
        }
    EXPECT_TRUE(solid);
}

TEST(DrawText, AlignsLinesInTheRectangle) {
    TextSurface surface(200, 60, MakeFont(u"Tahoma", 13));
    const LONG width = surface.Width(u"Velqua");
    struct Case {
        UINT Format;
        LONG Left;
        LONG Top;
    };
    const Case cases[] = {
        {DT_LEFT, 20, 10},
        {DT_CENTER, 20 + (160 - width) / 2, 10},
        {DT_RIGHT, 180 - width, 10},
        {DT_SINGLELINE | DT_VCENTER, 20, 10 + (40 - 13) / 2},
        {DT_SINGLELINE | DT_BOTTOM, 20, 50 - 13},
    };
    for (const Case& c : cases) {
        surface.Fill(White);
        RECT rect{20, 10, 180, 50};
        DrawTextW(surface.DC(), u"Velqua", -1, &rect, c.Format);
        // The ink lies in the line's cell, close to its left edge.
        const RECT ink = surface.Inked();
        EXPECT_TRUE(surface.Inside(ink, {c.Left, c.Top, c.Left + width + 1, c.Top + 13})) << c.Format;
        EXPECT_LE(ink.left - c.Left, 1) << c.Format;
    }
}

TEST(DrawText, UnderlinesThePrefixedCharacterOnly) {
    TextSurface surface(100, 30, MakeFont(u"Tahoma", 13));
    const LONG f = surface.Width(u"F");
    const auto underlinedRow = [&](UINT AFormat) {
        surface.Fill(White);
        RECT rect{0, 0, 100, 30};
        DrawTextW(surface.DC(), u"&File", -1, &rect, AFormat);
        // The row whose ink spans exactly the first character.
        for (int y = 0; y < 30; ++y) {
            bool full = true;
            for (int x = 0; x < f; ++x)
                full &= surface.At(x, y) == 0;
            if (full && !surface.Touched(f, y) && !surface.Touched(f + 1, y)) return y;
        }
        return -1;
    };
    const int row = underlinedRow(DT_LEFT);
    EXPECT_GT(row, surface.Metrics().tmAscent - 1);
    EXPECT_LT(row, 13);
    EXPECT_EQ(underlinedRow(DT_HIDEPREFIX), -1);
}

TEST(DrawText, RejectsBadArguments) {
    TextSurface surface(10, 10, MakeFont(u"Tahoma", 13));
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(DrawTextW(surface.DC(), u"a", 1, nullptr, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(nullptr, u"a", 1, &rect, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(surface.DC(), nullptr, 1, &rect, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(surface.DC(), u"a", -2, &rect, DT_LEFT), 0);
    DRAWTEXTPARAMS params;
    params.cbSize = 3;
    EXPECT_EQ(DrawTextExW(surface.DC(), u"a", 1, &rect, DT_LEFT, &params), 0);
    EXPECT_TRUE(surface.Blank());
}

TEST(DrawText, ExParametersSetMarginsAndReportTheLength) {
    TextSurface surface(100, 20, MakeFont(u"Tahoma", 13));
    DRAWTEXTPARAMS params;
    params.iLeftMargin = 7;
    params.iRightMargin = 3;
    RECT rect{10, 0, 10, 0};
    EXPECT_EQ(DrawTextExW(surface.DC(), u"Velqua", -1, &rect, DT_CALCRECT, &params), 13);
    EXPECT_EQ(rect.right, 10 + 7 + surface.Width(u"Velqua") + 3);
    EXPECT_EQ(params.uiLengthDrawn, 6u);
    EXPECT_EQ(DrawTextExW(surface.DC(), u"Velqua", -1, &rect, DT_LEFT, nullptr), 13);
}

TEST(TextOut, OpaqueModeFillsTheCellWithTheBackground) {
    TextSurface surface(80, 30, MakeFont(u"Tahoma", 13));
    const LONG width = surface.Width(u"Velqua");
    SetBkMode(surface.DC(), OPAQUE);
    SetBkColor(surface.DC(), RGB(255, 0, 0));
    ASSERT_TRUE(TextOutW(surface.DC(), 5, 6, u"Velqua", 6));
    EXPECT_EQ(surface.Inked(), (RECT{5, 6, 5 + width, 19}));
    EXPECT_EQ(surface.At(5, 6), 0x00FF0000u);  // a corner of the cell: background, alpha 0
    EXPECT_EQ(surface.At(5 + width - 1, 18), 0x00FF0000u);

    surface.Fill(White);
    SetBkMode(surface.DC(), TRANSPARENT);
    TextOutW(surface.DC(), 5, 6, u"Velqua", 6);
    EXPECT_FALSE(surface.Touched(5, 6));
    EXPECT_TRUE(surface.Inside(surface.Inked(), {5, 6, 5 + width, 19}));
}

TEST(TextOut, FollowsOriginsAndClip) {
    TextSurface surface(100, 40, MakeFont(u"Tahoma", 13));
    SetBkMode(surface.DC(), OPAQUE);
    const LONG width = surface.Width(u"Velqua");
    SetViewportOrgEx(surface.DC(), 30, 10, nullptr);
    SetWindowOrgEx(surface.DC(), 5, 2, nullptr);
    SetBkColor(surface.DC(), RGB(0, 255, 0));
    TextOutW(surface.DC(), 5, 2, u"Velqua", 6);
    EXPECT_EQ(surface.Inked(), (RECT{30, 10, 30 + width, 23}));

    surface.Fill(White);
    IntersectClipRect(surface.DC(), 5, 2, 15, 8);  // logical: surface (30, 10) - (40, 16)
    TextOutW(surface.DC(), 5, 2, u"Velqua", 6);
    EXPECT_EQ(surface.Inked(), (RECT{30, 10, 40, 16}));
}

TEST(TextOut, HonoursTheTextAlignment) {
    TextSurface surface(120, 40, MakeFont(u"Tahoma", 13));
    SetBkMode(surface.DC(), OPAQUE);
    SetBkColor(surface.DC(), RGB(255, 255, 0));
    const LONG width = surface.Width(u"Velqua");
    const LONG ascent = surface.Metrics().tmAscent;
    struct Case {
        UINT Align;
        RECT Cell;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, {60, 20, 60 + width, 33}},
        {TA_RIGHT | TA_TOP, {60 - width, 20, 60, 33}},
        {TA_CENTER | TA_TOP, {60 - width / 2, 20, 60 - width / 2 + width, 33}},
        {TA_LEFT | TA_BOTTOM, {60, 7, 60 + width, 20}},
        {TA_LEFT | TA_BASELINE, {60, 20 - ascent, 60 + width, 33 - ascent}},
    };
    for (const Case& c : cases) {
        surface.Fill(White);
        SetTextAlign(surface.DC(), c.Align);
        TextOutW(surface.DC(), 60, 20, u"Velqua", 6);
        EXPECT_EQ(surface.Inked(), c.Cell) << c.Align;
    }
    // Drawing at the current position moves it past the text.
    SetTextAlign(surface.DC(), TA_UPDATECP);
    gdi::SetCurrentPosition(surface.DC(), {3, 4});
    TextOutW(surface.DC(), 60, 20, u"Velqua", 6);
    POINT position{};
    GetCurrentPositionEx(surface.DC(), &position);
    EXPECT_EQ(position, (POINT{3 + width, 4}));
}

TEST(ExtTextOut, OpaqueRectangleAndClipping) {
    TextSurface surface(100, 30, MakeFont(u"Tahoma", 13));
    SetBkColor(surface.DC(), RGB(0, 0, 255));
    const RECT rect{10, 5, 30, 25};
    ASSERT_TRUE(ExtTextOutW(surface.DC(), 12, 8, ETO_OPAQUE | ETO_CLIPPED, &rect, u"Velqua", 6, nullptr));
    EXPECT_EQ(surface.Inked(), rect);
    EXPECT_EQ(surface.At(10, 5), 0x000000FFu);

    surface.Fill(White);
    ASSERT_TRUE(ExtTextOutW(surface.DC(), 12, 8, ETO_CLIPPED, &rect, u"Velqua", 6, nullptr));
    EXPECT_TRUE(surface.Inside(surface.Inked(), rect));
    surface.Fill(White);
    ASSERT_TRUE(ExtTextOutW(surface.DC(), 12, 8, 0, &rect, u"Velqua", 6, nullptr));
    EXPECT_GT(surface.Inked().right, rect.right);
}

TEST(ExtTextOut, PlacesCharactersByTheGivenAdvances) {
    TextSurface surface(100, 20, MakeFont(u"Tahoma", 13));
    SetBkMode(surface.DC(), OPAQUE);
    SetBkColor(surface.DC(), RGB(0, 0, 0));
    const int dx[] = {20, 20, 20};
    ASSERT_TRUE(ExtTextOutW(surface.DC(), 0, 0, 0, nullptr, u"iii", 3, dx));
    EXPECT_EQ(surface.Inked(), (RECT{0, 0, 60, 13}));
}

TEST(TabbedTextOut, StopsTabsAndReportsTheExtent) {
    TextSurface surface(200, 20, MakeFont(u"Tahoma", 13));
    const LONG b = surface.Width(u"b");
    const int stops[] = {100};
    const LONG result = TabbedTextOutW(surface.DC(), 10, 0, u"a\tb", 3, 1, stops, 0);
    EXPECT_EQ(result & 0xFFFF, 100 + b - 10);
    EXPECT_EQ(result >> 16, 13);
    // Nothing between the "a" and the stop.
    const RECT ink = surface.Inked();
    EXPECT_GE(ink.right, 100);
    for (int y = 0; y < 20; ++y)
        for (int x = 10 + surface.Width(u"a") + 1; x < 100; ++x)
            EXPECT_FALSE(surface.Touched(x, y));
    EXPECT_EQ(TabbedTextOutW(surface.DC(), 0, 0, u"a", -1, 0, nullptr, 0), 0);
}

TEST(FontDecorations, UnderlineAndStrikeOutSpanTheText) {
    for (const bool strike : {false, true}) {
        TextSurface surface(80, 20, MakeFont(u"Tahoma", 13, FW_NORMAL, !strike, strike));
        const LONG width = surface.Width(u"Velqua");
        TextOutW(surface.DC(), 4, 2, u"Velqua", 6);
        int fullRows = 0;
        for (int y = 0; y < 20; ++y) {
            bool full = true;
            for (int x = 4; x < 4 + width; ++x)
                full &= surface.At(x, y) == 0;
            fullRows += full;
        }
        EXPECT_GE(fullRows, 1) << strike;
        EXPECT_EQ(surface.Inked().left, 4);
        EXPECT_EQ(surface.Inked().right, 4 + width);
    }
}

TEST(TextOut, DrawsOn24BitSurfaces) {
    TextSurface surface(60, 20, MakeFont(u"宋体", 12), 24);
    TextOutW(surface.DC(), 2, 2, u"高清", 2);
    EXPECT_TRUE(surface.Inside(surface.Inked(), {2, 2, 2 + surface.Width(u"高清"), 14}));
    EXPECT_FALSE(surface.Blank());
}
