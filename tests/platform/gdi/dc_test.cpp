#include "platform/gdi/dc.h"

#include <gtest/gtest.h>

#include "gditest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/capabilities.h"
#include "platform/gdi/dcinternal.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"

using namespace win;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);

// Fills the logical rectangle red.
void Paint(HDC ADC, RECT ARect) {
    HBRUSH brush = CreateSolidBrush(Red);
    FillRect(ADC, &ARect, brush);
    DeleteObject(brush);
}

// '#' for every red pixel of the bitmap, '.' elsewhere, rows joined by '|'.
std::string Map(const TestBitmap& B, int AWidth, int AHeight) {
    std::string text;
    for (int y = 0; y < AHeight; ++y) {
        if (y) text += '|';
        for (int x = 0; x < AWidth; ++x)
            text += (B.At(x, y) & 0xFFFFFF) == 0xFF0000 ? '#' : '.';
    }
    return text;
}

}  // namespace

TEST(Origins, DeviceIsLogicalMinusWindowPlusViewport) {
    TestBitmap b(4, 3);
    POINT old{};
    SetWindowOrgEx(b.DC(), 10, 5, &old);
    EXPECT_EQ(old, (POINT{0, 0}));
    Paint(b.DC(), {10, 5, 11, 6});
    EXPECT_EQ(Map(b, 4, 3), "#...|....|....");
    SetViewportOrgEx(b.DC(), 2, 1, nullptr);
    Paint(b.DC(), {10, 5, 11, 6});
    EXPECT_EQ(Map(b, 4, 3), "#...|..#.|....");
    OffsetWindowOrgEx(b.DC(), 1, 0, &old);
    EXPECT_EQ(old, (POINT{10, 5}));
    POINT origin{};
    GetWindowOrgEx(b.DC(), &origin);
    EXPECT_EQ(origin, (POINT{11, 5}));
    GetViewportOrgEx(b.DC(), &origin);
    EXPECT_EQ(origin, (POINT{2, 1}));
}

TEST(Clip, RectanglesAreLogicalWhenSetAndStayInDeviceSpace) {
    TestBitmap b(4, 2);
    SetViewportOrgEx(b.DC(), 1, 0, nullptr);
    EXPECT_EQ(IntersectClipRect(b.DC(), 0, 0, 2, 2), SIMPLEREGION);  // device columns 1, 2
    SetViewportOrgEx(b.DC(), 0, 0, nullptr);                         // the clip does not move
    Paint(b.DC(), {0, 0, 4, 2});
    EXPECT_EQ(Map(b, 4, 2), ".##.|.##.");
}

TEST(Clip, ExcludeIntersectAndRegions) {
    TestBitmap b(4, 3);
    EXPECT_EQ(ExcludeClipRect(b.DC(), 1, 1, 3, 2), COMPLEXREGION);
    Paint(b.DC(), {0, 0, 4, 3});
    EXPECT_EQ(Map(b, 4, 3), "####|#..#|####");

    TestBitmap c(4, 3);
    HRGN region = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(SelectClipRgn(c.DC(), region), SIMPLEREGION);
    OffsetRgn(region, 5, 5);  // the DC holds its own copy
    HRGN more = CreateRectRgn(3, 2, 4, 3);
    EXPECT_EQ(ExtSelectClipRgn(c.DC(), more, RGN_OR), COMPLEXREGION);
    Paint(c.DC(), {0, 0, 4, 3});
    EXPECT_EQ(Map(c, 4, 3), "##..|##..|...#");
    RECT box{};
    EXPECT_EQ(GetClipBox(c.DC(), &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 4, 3}));
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.DC(), copy), 1);
    EXPECT_TRUE(PtInRegion(copy, 3, 2));
    EXPECT_EQ(SelectClipRgn(c.DC(), nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(c.DC(), copy), 0);
    EXPECT_EQ(ExtSelectClipRgn(c.DC(), nullptr, RGN_AND), ERROR);
    DeleteObject(copy);
    DeleteObject(more);
    DeleteObject(region);
}

TEST(Clip, ClipBoxIsLogicalAndEmptyClipsDrawNothing) {
    TestBitmap b(8, 8);
    SetWindowOrgEx(b.DC(), 100, 100, nullptr);
    RECT box{};
    EXPECT_EQ(GetClipBox(b.DC(), &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{100, 100, 108, 108}));
    EXPECT_EQ(IntersectClipRect(b.DC(), 0, 0, 5, 5), NULLREGION);
    EXPECT_EQ(GetClipBox(b.DC(), &box), NULLREGION);
    EXPECT_EQ(box, (RECT{0, 0, 0, 0}));
    Paint(b.DC(), {100, 100, 108, 108});
    EXPECT_EQ(b.At(0, 0), 0u);
}

TEST(SaveDC, RestoresOriginsClipObjectsAndColours) {
    TestBitmap b(4, 1);
    HPEN pen = CreatePen(PS_SOLID, 1, Red);
    EXPECT_EQ(SaveDC(b.DC()), 1);
    SetViewportOrgEx(b.DC(), 3, 0, nullptr);
    IntersectClipRect(b.DC(), 0, 0, 1, 1);
    HGDIOBJ oldPen = SelectObject(b.DC(), pen);
    SetTextColor(b.DC(), Red);
    SetBkMode(b.DC(), TRANSPARENT);
    SetROP2(b.DC(), R2_NOT);
    EXPECT_EQ(SaveDC(b.DC()), 2);
    SetBkColor(b.DC(), 0);
    EXPECT_TRUE(RestoreDC(b.DC(), 1));  // back past both saves
    POINT origin{};
    GetViewportOrgEx(b.DC(), &origin);
    EXPECT_EQ(origin, (POINT{0, 0}));
    EXPECT_EQ(GetCurrentObject(b.DC(), OBJ_PEN), oldPen);
    EXPECT_EQ(GetTextColor(b.DC()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(b.DC()), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(b.DC()), OPAQUE);
    EXPECT_EQ(GetROP2(b.DC()), R2_COPYPEN);
    Paint(b.DC(), {0, 0, 4, 1});
    EXPECT_EQ(Map(b, 4, 1), "####");
    EXPECT_FALSE(RestoreDC(b.DC(), -1));  // nothing saved any more
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(SaveDC, RelativeAndAbsoluteLevels) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, 1);
    SaveDC(dc);
    SetTextColor(dc, 2);
    SaveDC(dc);
    SetTextColor(dc, 3);
    SaveDC(dc);
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_FALSE(RestoreDC(dc, 4));
    EXPECT_FALSE(RestoreDC(dc, -4));
    EXPECT_TRUE(RestoreDC(dc, -2));  // the second save
    EXPECT_EQ(GetTextColor(dc), 2u);
    EXPECT_EQ(SaveDC(dc), 2);
    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), 1u);
    DeleteDC(dc);
}

TEST(Selection, ABitmapGoesIntoOneMemoryDCAtATime) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(a, 2, 2);
    HGDIOBJ stock = SelectObject(a, bitmap);
    EXPECT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    EXPECT_EQ(SelectObject(a, bitmap), bitmap);  // again into the same DC is fine
    SelectObject(a, stock);
    EXPECT_EQ(SelectObject(b, bitmap), stock);
    HDC surface = gdi::CreateSurfaceDC(gdi::Surface{});
    EXPECT_EQ(SelectObject(surface, stock), nullptr);  // only memory DCs take bitmaps
    DeleteDC(surface);
    DeleteDC(a);
    DeleteDC(b);
    DeleteObject(bitmap);
}

TEST(Modes, SettersReturnThePreviousValueAndRefuseUnknownOnes) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    EXPECT_EQ(SetStretchBltMode(dc, 9), 0);
    EXPECT_EQ(SetBkMode(dc, 3), 0);
    EXPECT_EQ(SetROP2(dc, 17), 0);
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    EXPECT_EQ(SetTextAlign(dc, TA_BASELINE | TA_CENTER), TA_LEFT | TA_TOP);
    EXPECT_EQ(GetTextAlign(dc), TA_BASELINE | TA_CENTER);
    DeleteDC(dc);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetBkMode(dc), 0);
    EXPECT_EQ(SaveDC(dc), 0);
    EXPECT_FALSE(SetWindowOrgEx(dc, 0, 0, nullptr));
}

TEST(DeviceCaps, ComeFromTheCapabilityTable) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES), 32);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    Capabilities().ScreenBitsPerPixel = 16;
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES), 16);
    ResetCapabilities();
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
    DeleteDC(dc);
}

TEST(DisplayDC, IsAReferenceDC) {
    HDC dc = CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(CreateDCW(u"PRINTER", nullptr, nullptr, nullptr), nullptr);
}

TEST(DrawTarget, ExposesTheStateTextNeeds) {
    TestBitmap b(4, 4);
    LOGFONTW lf{};
    lf.lfHeight = -13;
    HFONT font = CreateFontIndirectW(&lf);
    SelectObject(b.DC(), font);
    SetTextColor(b.DC(), RGB(1, 2, 3));
    SetBkMode(b.DC(), TRANSPARENT);
    SetWindowOrgEx(b.DC(), 1, 0, nullptr);
    SetViewportOrgEx(b.DC(), 0, 2, nullptr);
    ExcludeClipRect(b.DC(), 0, 0, 4, 2);  // device columns -1..2 of rows 2 and 3
    gdi::DrawTarget target;
    ASSERT_TRUE(gdi::GetDrawTarget(b.DC(), target));
    EXPECT_EQ(target.Pixels.Bits, b.Bits());
    EXPECT_EQ(target.Offset, (POINT{-1, 2}));
    EXPECT_EQ(target.TextColor, RGB(1, 2, 3));
    EXPECT_EQ(target.BkMode, TRANSPARENT);
    EXPECT_EQ(target.Font, font);
    EXPECT_EQ(target.LogFont.lfHeight, -13);
    EXPECT_TRUE(target.Clip.Contains(0, 1));
    EXPECT_FALSE(target.Clip.Contains(2, 2));
    EXPECT_TRUE(target.Clip.Contains(3, 2));
    EXPECT_FALSE(target.Clip.Contains(0, 4));  // outside the surface
    EXPECT_FALSE(gdi::GetDrawTarget(reinterpret_cast<HDC>(font), target));
    SelectObject(b.DC(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(DrawTarget, CoverageBlendsTowardsTheColourInsideTheClip) {
    TestBitmap b(4, 1);
    b.Fill(0xFF000000);
    IntersectClipRect(b.DC(), 0, 0, 3, 1);
    gdi::DrawTarget target;
    ASSERT_TRUE(gdi::GetDrawTarget(b.DC(), target));
    const uint8_t coverage[] = {0, 128, 255, 255};
    gdi::BlendCoverage(target, 0, 0, 4, 1, coverage, 4, RGB(255, 255, 255));
    EXPECT_EQ(b.RowText(0), "FF000000 00808080 00FFFFFF FF000000");
    gdi::FillSurfaceRect(target, {0, 0, 4, 1}, RGB(0, 0, 255));
    EXPECT_EQ(b.RowText(0), "000000FF 000000FF 000000FF FF000000");
}

TEST(SurfaceDC, DrawsInsideItsSystemAreaOnly) {
    TestBitmap backing(6, 3);
    gdi::Surface surface{backing.Bits(), 6, 3, backing.Stride(), 32, true, false, false, nullptr, 0};
    HDC dc = gdi::CreateSurfaceDC(surface);
    // The DC's device (0, 0) is surface (2, 1); the owner lets it touch
    // surface columns 2..4 of rows 1..2 only.
    const gdi::PixRegion area(RECT{2, 1, 5, 3});
    ASSERT_TRUE(gdi::SetDCSystemArea(dc, {2, 1}, &area));
    Paint(dc, {-5, -5, 10, 10});
    EXPECT_EQ(Map(backing, 6, 3), "......|..###.|..###.");
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 3, 2}));
    ExcludeClipRect(dc, 1, 0, 3, 2);  // device space; clipped within the area
    backing.Fill(0);
    Paint(dc, {-5, -5, 10, 10});
    EXPECT_EQ(Map(backing, 6, 3), "......|..#...|..#...");
    DeleteDC(dc);
}
