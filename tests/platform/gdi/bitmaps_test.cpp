#include "platform/gdi/bitmaps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gditest.h"
#include "platform/gdi/blit.h"
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

namespace {

std::string Bytes(const uint8_t* AData, size_t ACount) {
    std::string text;
    char word[4];
    for (size_t i = 0; i < ACount; ++i) {
        std::snprintf(word, sizeof(word), "%02X", AData[i]);
        text += word;
    }
    return text;
}

}  // namespace

TEST(GetDIBits, AnyBitmapGivesTopDownTwentyFourBitRows) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(dc, 5, 2);
    HGDIOBJ old = SelectObject(dc, device);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    SetPixel(dc, 4, 1, RGB(4, 5, 6));
    SelectObject(dc, old);
    TestBitmapInfo info(5, -2, 24);
    std::vector<uint8_t> rows(32, 0xEE);
    EXPECT_EQ(GetDIBits(dc, device, 0, 2, rows.data(), info.Get(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(Bytes(rows.data(), 16), "030201000000000000000000000000EE");  // padding left as it was
    EXPECT_EQ(Bytes(rows.data() + 16, 16), "000000000000000000000000060504EE");
    EXPECT_EQ(info.Get()->bmiHeader.biSizeImage, 32u);
    DeleteDC(dc);
    DeleteObject(device);
}

TEST(GetDIBits, ThirtyTwoBitsKeepAlphaOnlyFromDibSections) {
    TestBitmap b(2, 3, 32, false);
    b.Fill(0x80102030);
    b.Set(1, 2, 0xFFFFFFFF);  // bottom row
    TestBitmapInfo query(0, 0, 0);
    query.Get()->bmiHeader.biBitCount = 0;
    ASSERT_NE(GetDIBits(b.DC(), b.Bitmap(), 0, 0, nullptr, query.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(query.Get()->bmiHeader.biWidth, 2);
    EXPECT_EQ(query.Get()->bmiHeader.biHeight, 3);
    EXPECT_EQ(query.Get()->bmiHeader.biBitCount, 32);

    // Bottom-up output, scan line 0 is the bottom row; one line only.
    TestBitmapInfo info(2, 3, 32);
    uint32_t row[2] = {};
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 0, 1, row, info.Get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(row[0], 0x80102030u);
    EXPECT_EQ(row[1], 0xFFFFFFFFu);
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 2, 5, row, info.Get(), DIB_RGB_COLORS), 1);  // only one is left
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 3, 1, row, info.Get(), DIB_RGB_COLORS), 0);

    HBITMAP device = CreateCompatibleBitmap(b.DC(), 2, 3);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, device);
    BitBlt(dc, 0, 0, 2, 3, b.DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetDIBits(dc, device, 0, 1, row, info.Get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(row[0], 0x00102030u);
    DeleteDC(dc);
    DeleteObject(device);
}

TEST(GetDIBits, MonochromeRowsAndTheirColourTable) {
    TestBitmap b(3, 1);
    b.Fill(0x00FFFFFF);
    b.Set(1, 0, 0x00202020);
    TestBitmapInfo info(3, 1, 1);
    uint32_t row = 0xFFFFFFFF;
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 0, 1, &row, info.Get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(row & 0xE0, 0xA0u);  // 1 0 1, then padding
    EXPECT_EQ(info.Get()->bmiColors[0].rgbRed, 0);
    EXPECT_EQ(reinterpret_cast<RGBQUAD*>(info.Get()->bmiColors)[1].rgbRed, 255);
}

TEST(GetDIBits, RefusesOtherSizesAndFormats) {
    TestBitmap b(4, 4);
    uint32_t pixels[16];
    TestBitmapInfo wider(5, 4, 32), eight(4, 4, 8), ok(4, 4, 32);
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 0, 4, pixels, wider.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(b.DC(), b.Bitmap(), 0, 4, pixels, eight.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, b.Bitmap(), 0, 4, pixels, ok.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(b.DC(), reinterpret_cast<HBITMAP>(b.DC()), 0, 4, pixels, ok.Get(), DIB_RGB_COLORS),
              0);
}

TEST(SetDIBitsToDevice, DrawsThePictureUprightWhateverItsRowOrder) {
    for (int height : {-2, 2}) {
        TestBitmapInfo info(2, height, 24);
        // Stored rows: A B / C D; top-down the picture's top row is A B,
        // bottom-up it is C D.
        const uint8_t bits[] = {0xA, 0, 0, 0xB, 0, 0, 0, 0, 0xC, 0, 0, 0xD, 0, 0, 0, 0};
        TestBitmap dest(3, 3);
        EXPECT_EQ(SetDIBitsToDevice(dest.DC(), 1, 1, 2, 2, 0, 0, 0, 2, bits, info.Get(), DIB_RGB_COLORS), 2);
        const bool topDown = height < 0;
        EXPECT_EQ(dest.RowText(0), "00000000 00000000 00000000");
        EXPECT_EQ(dest.RowText(1), topDown ? "00000000 0000000A 0000000B" : "00000000 0000000C 0000000D");
        EXPECT_EQ(dest.RowText(2), topDown ? "00000000 0000000C 0000000D" : "00000000 0000000A 0000000B");
    }
}

TEST(StretchDIBits, ScalesAndCountsSourceRowsFromTheBottom) {
    TestBitmapInfo info(2, -2, 32);
    const uint32_t bits[] = {1, 2, 3, 4};  // top row 1 2, bottom row 3 4
    TestBitmap dest(4, 2);
    EXPECT_EQ(StretchDIBits(dest.DC(), 0, 0, 4, 2, 0, 0, 2, 2, bits, info.Get(), DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(dest.RowText(0), "00000001 00000001 00000002 00000002");
    EXPECT_EQ(dest.RowText(1), "00000003 00000003 00000004 00000004");
    // Source y 0 with height 1 is the bottom row.
    TestBitmap one(1, 1);
    StretchDIBits(one.DC(), 0, 0, 1, 1, 1, 0, 1, 1, bits, info.Get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(one.At(0, 0), 4u);
}

// The effect image's partial draw passes both heights negative: destination
// (hx, hy + cy - 1) sized (cx, 1 - cy), source (x, Height - y) sized
// (cx, 1 - cy). Equal signs mean no mirroring: it copies the cy - 1 rows
// from y on to hy on.
TEST(StretchDIBits, NegativeHeightPairCopiesUnmirrored) {
    const int width = 2, height = 4, x = 0, y = 1, cx = 2, cy = 3, hx = 0, hy = 0;
    TestBitmapInfo info(width, -height, 24);
    // Row r holds the value r + 1 in every blue byte.
    std::vector<uint8_t> bits(size_t(8 * height), 0);
    for (int r = 0; r < height; ++r)
        bits[size_t(8 * r)] = bits[size_t(8 * r + 3)] = uint8_t(r + 1);
    TestBitmap dest(2, 3);
    EXPECT_EQ(StretchDIBits(dest.DC(), hx, hy + cy - 1, cx, 1 - cy, x, height - y, cx, 1 - cy, bits.data(),
                            info.Get(), DIB_RGB_COLORS, SRCCOPY),
              cy - 1);
    EXPECT_EQ(dest.RowText(0), "00000002 00000002");
    EXPECT_EQ(dest.RowText(1), "00000003 00000003");
    EXPECT_EQ(dest.RowText(2), "00000000 00000000");
}
