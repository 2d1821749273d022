#include "platform/gdi/draw.h"

#include <gtest/gtest.h>

#include "gditest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
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
