#include "platform/gdi/bitmaps.h"

#include <gtest/gtest.h>

#include "gditest.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"

using namespace win;

namespace {

void Fill(HDC ADC, RECT ARect, COLORREF AColor) {
    HBRUSH brush = CreateSolidBrush(AColor);
    FillRect(ADC, &ARect, brush);
    DeleteObject(brush);
}

}  // namespace

TEST(DibSection, TopDown32SharesItsMemoryWithDrawing) {
    TestBitmap b(3, 2);
    b.Set(0, 0, 0x80123456);
    // Drawing sees what the pointer wrote, the pointer what drawing wrote.
    EXPECT_EQ(GetPixel(b.DC(), 0, 0), RGB(0x12, 0x34, 0x56));
    Fill(b.DC(), {1, 1, 2, 2}, RGB(0xAA, 0xBB, 0xCC));
    const uint8_t* row1 = b.Bits() + b.Stride();
    EXPECT_EQ(row1[4], 0xCC);  // B, G, R, A
    EXPECT_EQ(row1[5], 0xBB);
    EXPECT_EQ(row1[6], 0xAA);
    EXPECT_EQ(row1[7], 0x00);

    DIBSECTION ds{};
    ASSERT_EQ(GetObject(b.Bitmap(), sizeof(ds), &ds), int(sizeof(DIBSECTION)));
    EXPECT_EQ(ds.dsBm.bmBits, b.Bits());
    EXPECT_EQ(ds.dsBm.bmWidth, 3);
    EXPECT_EQ(ds.dsBm.bmHeight, 2);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
    EXPECT_EQ(ds.dsBmih.biHeight, -2);  // top-down keeps its sign
    EXPECT_EQ(ds.dsBmih.biBitCount, 32);
    EXPECT_EQ(ds.dsBmih.biSizeImage, 24u);
}

TEST(DibSection, BottomUp32StoresTheTopRowLast) {
    TestBitmap b(2, 3, 32, false);
    Fill(b.DC(), {0, 0, 2, 1}, RGB(255, 0, 0));
    const uint8_t* lastRow = b.Bits() + 2 * b.Stride();
    EXPECT_EQ(lastRow[2], 0xFF);
    EXPECT_EQ(b.Bits()[2], 0x00);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(GetCurrentObject(b.DC(), OBJ_BITMAP), sizeof(ds), &ds), int(sizeof(DIBSECTION)));
    EXPECT_EQ(ds.dsBmih.biHeight, 3);
}

TEST(DibSection, TwentyFourBitRowsArePaddedToFourBytes) {
    TestBitmap b(5, 2, 24);
    EXPECT_EQ(b.Stride(), 16);
    Fill(b.DC(), {4, 1, 5, 2}, RGB(1, 2, 3));
    EXPECT_EQ(b.Bits()[16 + 12], 3);
    EXPECT_EQ(b.Bits()[16 + 14], 1);
    EXPECT_EQ(b.Bits()[16 + 15], 0);  // padding untouched
    BITMAP bm{};
    ASSERT_EQ(GetObject(b.Bitmap(), sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidthBytes, 16);
}

TEST(DibSection, RefusesWhatItCannotHold) {
    struct Case {
        int Width, Height, BitCount;
        DWORD Compression;
    };
    const Case cases[] = {{0, 1, 32, BI_RGB},
                          {4, 0, 32, BI_RGB},
                          {-4, 1, 32, BI_RGB},
                          {4, 1, 16, BI_RGB},
                          {4, 1, 24, BI_BITFIELDS},
                          {4, 1, 32, 1 /* BI_RLE8 */},
                          {1 << 20, 1 << 20, 32, BI_RGB}};
    for (const Case& c : cases) {
        TestBitmapInfo info(c.Width, c.Height, c.BitCount);
        info.Get()->bmiHeader.biCompression = c.Compression;
        void* bits = &info;
        EXPECT_EQ(CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << c.Width;
        EXPECT_EQ(bits, nullptr);
    }
    TestBitmapInfo info(4, 4, 32);
    void* bits;
    EXPECT_EQ(CreateDIBSection(nullptr, info.Get(), DIB_PAL_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, reinterpret_cast<HANDLE>(1), 0),
              nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(DibSection, BitfieldsWithTheStandardMasks) {
    TestBitmapInfo info(2, 2, 32);
    info.Get()->bmiHeader.biCompression = BI_BITFIELDS;
    DWORD* masks = reinterpret_cast<DWORD*>(info.Get()->bmiColors);
    masks[0] = 0xFF0000;
    masks[1] = 0xFF00;
    masks[2] = 0xFF;
    void* bits;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
    masks[0] = 0xFF;
    masks[2] = 0xFF0000;
    EXPECT_EQ(CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(CompatibleBitmap, IsThirtyTwoBitButNoDibSection) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 7, 3);
    DIBSECTION ds{};
    // Asked for a DIBSECTION, a device bitmap answers with a BITMAP only.
    ASSERT_EQ(GetObject(bitmap, sizeof(ds), &ds), int(sizeof(BITMAP)));
    EXPECT_EQ(ds.dsBm.bmWidth, 7);
    EXPECT_EQ(ds.dsBm.bmHeight, 3);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(ds.dsBm.bmBits, nullptr);
    SelectObject(dc, bitmap);
    Fill(dc, {0, 0, 7, 3}, RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(dc, 6, 2), RGB(9, 8, 7));
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(CompatibleBitmap, ZeroSizeGivesTheStockMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
    EXPECT_EQ(CreateCompatibleBitmap(dc, 0, 5), stock);
    EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 5, 5), nullptr);
    DeleteDC(dc);
}

TEST(CreateBitmap, MonochromeRowsArePaddedToWords) {
    // 10 pixels a row: two bytes of bits, no padding needed; the second row is all set.
    const uint8_t bits[] = {0xC0, 0x40, 0xFF, 0xFF};
    HBITMAP bitmap = CreateBitmap(10, 2, 1, 1, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 9, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 5, 1), RGB(255, 255, 255));
    BITMAP bm{};
    GetObject(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
}
