#include "platform/gdi/draw.h"

#include <gtest/gtest.h>

#include <string>

#include "gditest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gdi/syscolors.h"

using namespace win;

TEST(FillRect, WritesColourWithAlphaZero) {
    TestBitmap b(5, 1);
    b.Fill(0xFF112233);
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    const RECT r{1, 0, 4, 1};
    EXPECT_TRUE(FillRect(b.DC(), &r, brush));
    EXPECT_EQ(b.RowText(0), "FF112233 00123456 00123456 00123456 FF112233");
    DeleteObject(brush);
}

TEST(FillRect, BrushesByHandleOrSystemColourIndex) {
    TestBitmap b(3, 1);
    const RECT first{0, 0, 1, 1}, second{1, 0, 2, 1}, all{0, 0, 3, 1};
    EXPECT_TRUE(FillRect(b.DC(), &first, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_TRUE(FillRect(b.DC(), &second, GetSysColorBrush(COLOR_HIGHLIGHT)));
    EXPECT_EQ(b.RowText(0), "00F0F0F0 003399FF 00000000");
    // A clear brush paints nothing; a stale one fails.
    EXPECT_TRUE(FillRect(b.DC(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
    HBRUSH gone = CreateSolidBrush(0);
    DeleteObject(gone);
    EXPECT_FALSE(FillRect(b.DC(), &all, gone));
    const RECT reversed{3, 0, 0, 1};
    EXPECT_TRUE(FillRect(b.DC(), &reversed, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(b.RowText(0), "00F0F0F0 003399FF 00000000");
}

TEST(FillRect, NarrowFormatsTakeTheNearestColour) {
    // A grey-ramp 8-bit DIB and a monochrome device bitmap.
    TestBitmap grey(2, 1, 8);
    const RECT r{0, 0, 1, 1};
    HBRUSH brush = CreateSolidBrush(RGB(100, 100, 100));
    FillRect(grey.DC(), &r, brush);
    EXPECT_EQ(grey.At(0, 0), 100u);

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, nullptr);
    SelectObject(dc, mono);
    FillRect(dc, &r, brush);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    HBRUSH light = CreateSolidBrush(RGB(200, 180, 190));
    FillRect(dc, &r, light);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    DeleteDC(dc);
    DeleteObject(mono);
    DeleteObject(light);
    DeleteObject(brush);
}

TEST(Pixels, SetAndGetFollowTheClip) {
    TestBitmap b(3, 1);
    b.Fill(0xFF000000);
    IntersectClipRect(b.DC(), 0, 0, 2, 1);
    EXPECT_EQ(SetPixel(b.DC(), 1, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(b.At(1, 0), 0x00010203u);
    EXPECT_EQ(SetPixel(b.DC(), 2, 0, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(GetPixel(b.DC(), 2, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(b.DC(), -1, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(b.DC(), 0, 0), RGB(0, 0, 0));  // alpha is not part of the colour
}

namespace {

// One character per pixel: '.' for the background colour 0, then letters for
// the colours given, '?' for anything else; rows joined by '|'.
std::string Map(const TestBitmap& B, int AWidth, int AHeight, std::initializer_list<uint32_t> AColors) {
    std::string text;
    for (int y = 0; y < AHeight; ++y) {
        if (y) text += '|';
        for (int x = 0; x < AWidth; ++x) {
            const uint32_t p = B.At(x, y);
            char c = p == 0 ? '.' : '?';
            char letter = 'a';
            for (uint32_t color : AColors) {
                if (p == color) c = letter;
                ++letter;
            }
            text += c;
        }
    }
    return text;
}

constexpr uint32_t PenPixel = 0x00FF0000;    // red
constexpr uint32_t BrushPixel = 0x000000FF;  // blue

// A bitmap with a red pen and a blue brush selected.
struct Canvas : TestBitmap {
    Canvas(int AWidth, int AHeight) : TestBitmap(AWidth, AHeight) {
        Pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
        Brush = CreateSolidBrush(RGB(0, 0, 255));
        OldPen = SelectObject(DC(), Pen);
        OldBrush = SelectObject(DC(), Brush);
    }
    ~Canvas() {
        SelectObject(DC(), OldPen);
        SelectObject(DC(), OldBrush);
        DeleteObject(Pen);
        DeleteObject(Brush);
    }
    std::string Text(int AWidth, int AHeight) const {
        return Map(*this, AWidth, AHeight, {PenPixel, BrushPixel});
    }
    HGDIOBJ Pen, Brush, OldPen, OldBrush;
};

}  // namespace

TEST(Lines, IncludeTheStartAndExcludeTheEnd) {
    struct Case {
        POINT From, To;
        const char* Map;
    };
    const Case cases[] = {
        {{0, 0}, {4, 0}, "aaaa.|.....|....."}, {{4, 2}, {0, 2}, ".....|.....|.aaaa"},
        {{0, 0}, {0, 3}, "a....|a....|a...."}, {{0, 0}, {3, 3}, "a....|.a...|..a.."},
        {{0, 0}, {4, 2}, "a....|.aa..|...a."},  // halfway steps go to the pixel farther on
        {{2, 1}, {2, 1}, ".....|.....|....."},
    };
    for (const Case& c : cases) {
        Canvas b(5, 3);
        MoveToEx(b.DC(), c.From.x, c.From.y, nullptr);
        EXPECT_TRUE(LineTo(b.DC(), c.To.x, c.To.y));
        EXPECT_EQ(Map(b, 5, 3, {PenPixel}), c.Map) << c.To.x << "," << c.To.y;
        POINT p{};
        GetCurrentPositionEx(b.DC(), &p);
        EXPECT_EQ(p, c.To);
    }
}

TEST(Lines, PolylineDrawsACheckMarkWithoutItsLastPoint) {
    Canvas b(9, 9);
    const POINT mark[] = {{0, 5}, {2, 7}, {7, 2}};
    EXPECT_TRUE(Polyline(b.DC(), mark, 3));
    EXPECT_EQ(b.Text(9, 9),
              ".........|.........|.........|......a..|.....a...|a...a....|.a.a.....|..a......|.........");
    EXPECT_FALSE(Polyline(b.DC(), mark, 1));
}

TEST(Lines, InvertingPenModeUndoesItselfAndLeavesAlphaOfTheColourBits) {
    Canvas b(3, 1);
    b.Fill(0xFF123456);
    SetROP2(b.DC(), R2_NOT);
    MoveToEx(b.DC(), 0, 0, nullptr);
    LineTo(b.DC(), 2, 0);
    EXPECT_EQ(b.RowText(0), "00EDCBA9 00EDCBA9 FF123456");
    MoveToEx(b.DC(), 0, 0, nullptr);
    LineTo(b.DC(), 2, 0);
    EXPECT_EQ(b.RowText(0), "FF123456 FF123456 FF123456");
}

TEST(Lines, ClippedAndFarAwayLinesCostNothingOutside) {
    Canvas b(4, 1);
    MoveToEx(b.DC(), -1000000000, 0, nullptr);
    LineTo(b.DC(), 1000000000, 0);
    EXPECT_EQ(b.Text(4, 1), "aaaa");
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    Canvas b(5, 4);
    EXPECT_TRUE(Rectangle(b.DC(), 0, 0, 5, 4));
    EXPECT_EQ(b.Text(5, 4), "aaaaa|abbba|abbba|aaaaa");
    Canvas clear(5, 4);
    SelectObject(clear.DC(), GetStockObject(NULL_BRUSH));
    Rectangle(clear.DC(), 1, 1, 4, 4);
    EXPECT_EQ(clear.Text(5, 4), ".....|.aaa.|.a.a.|.aaa.");
    Canvas noPen(5, 4);
    SelectObject(noPen.DC(), GetStockObject(NULL_PEN));
    Rectangle(noPen.DC(), 0, 0, 3, 3);  // one pixel smaller without a pen
    EXPECT_EQ(noPen.Text(5, 4), "bb...|bb...|.....|.....");
}

TEST(Shapes, EllipseOfARadioDot) {
    Canvas b(8, 8);
    EXPECT_TRUE(Ellipse(b.DC(), 1, 1, 7, 7));
    EXPECT_EQ(b.Text(8, 8), "........|..aaaa..|.abbbba.|.abbbba.|.abbbba.|.abbbba.|..aaaa..|........");
}

TEST(Shapes, PolygonFillModes) {
    // A square traced twice around: the inner square has winding number 2.
    const POINT path[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}};
    Canvas alternate(6, 6);
    SelectObject(alternate.DC(), GetStockObject(NULL_PEN));
    EXPECT_TRUE(Polygon(alternate.DC(), path, 10));
    EXPECT_EQ(alternate.Text(6, 6), "bbbbbb|bbbbbb|bb..bb|bb..bb|bbbbbb|bbbbbb");
    Canvas winding(6, 6);
    SelectObject(winding.DC(), GetStockObject(NULL_PEN));
    SetPolyFillMode(winding.DC(), WINDING);
    Polygon(winding.DC(), path, 10);
    EXPECT_EQ(winding.Text(6, 6), "bbbbbb|bbbbbb|bbbbbb|bbbbbb|bbbbbb|bbbbbb");
}

TEST(Shapes, PolygonOutlineClosesThePath) {
    Canvas b(5, 5);
    const POINT triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    Polygon(b.DC(), triangle, 3);
    EXPECT_EQ(b.Text(5, 5), "aaaaa|ab.a.|a.a..|aa...|a....");
}

TEST(Frames, FrameRectAndTheDottedFocusRect) {
    Canvas b(5, 4);
    const RECT r{0, 0, 5, 4};
    FrameRect(b.DC(), &r, static_cast<HBRUSH>(b.Brush));
    EXPECT_EQ(b.Text(5, 4), "bbbbb|b...b|b...b|bbbbb");

    TestBitmap f(5, 4);
    f.Fill(0xFF000000);
    EXPECT_TRUE(DrawFocusRect(f.DC(), &r));
    // a: untouched, b: colour inverted, alpha kept.
    EXPECT_EQ(Map(f, 5, 4, {0xFF000000, 0xFFFFFFFF}), "babab|aaaaa|baaab|ababa");
    DrawFocusRect(f.DC(), &r);
    EXPECT_EQ(Map(f, 5, 4, {0xFF000000}), "aaaaa|aaaaa|aaaaa|aaaaa");
}

TEST(Frames, DrawEdgeRaisedSunkenAndAdjusted) {
    constexpr uint32_t light = 0x00E3E3E3, dark = 0x00696969, white = 0x00FFFFFF, shadow = 0x00A0A0A0,
                       face = 0x00F0F0F0;
    TestBitmap b(5, 5);
    RECT r{0, 0, 5, 5};
    EXPECT_TRUE(DrawEdge(b.DC(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    // a: 3-D light, b: dark shadow, c: highlight, d: shadow, e: face.
    EXPECT_EQ(Map(b, 5, 5, {light, dark, white, shadow, face}), "aaaab|accdb|acedb|adddb|bbbbb");
    EXPECT_EQ(r, (RECT{2, 2, 3, 3}));

    TestBitmap s(4, 4);
    RECT half{0, 0, 4, 4};
    DrawEdge(s.DC(), &half, BDR_SUNKENOUTER, BF_TOPLEFT);
    EXPECT_EQ(Map(s, 4, 4, {shadow}), "aaaa|a...|a...|a...");
    EXPECT_EQ(half, (RECT{0, 0, 4, 4}));
    EXPECT_FALSE(DrawEdge(s.DC(), &half, EDGE_RAISED, BF_DIAGONAL | BF_RECT));
}

TEST(Regions, FillAndFrameRegionsInLogicalCoordinates) {
    Canvas b(5, 4);
    // An L: the top row and the left column, moved by the window origin.
    HRGN top = CreateRectRgn(10, 10, 15, 12);
    HRGN left = CreateRectRgn(10, 10, 12, 14);
    CombineRgn(top, top, left, RGN_OR);
    SetWindowOrgEx(b.DC(), 10, 10, nullptr);
    EXPECT_TRUE(FillRgn(b.DC(), top, static_cast<HBRUSH>(b.Brush)));
    EXPECT_EQ(b.Text(5, 4), "bbbbb|bbbbb|bb...|bb...");
    Canvas f(5, 4);
    SetWindowOrgEx(f.DC(), 10, 10, nullptr);
    EXPECT_TRUE(FrameRgn(f.DC(), top, static_cast<HBRUSH>(f.Brush), 1, 1));
    EXPECT_EQ(f.Text(5, 4), "bbbbb|bbbbb|bb...|bb...");  // nothing of it is two pixels from the edge
    HRGN square = CreateRectRgn(10, 10, 14, 14);
    Canvas g(5, 4);
    SetWindowOrgEx(g.DC(), 10, 10, nullptr);
    FrameRgn(g.DC(), square, static_cast<HBRUSH>(g.Brush), 1, 1);
    EXPECT_EQ(g.Text(5, 4), "bbbb.|b..b.|b..b.|bbbb.");
    EXPECT_FALSE(FillRgn(g.DC(), nullptr, static_cast<HBRUSH>(g.Brush)));
    DeleteObject(square);
    DeleteObject(top);
    DeleteObject(left);
}
