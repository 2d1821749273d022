#include "platform/gdi/blit.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gditest.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gdi/blend.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/transfer.h"

using namespace win;

namespace {

void SetRow(TestBitmap& B, int Y, std::initializer_list<uint32_t> APixels) {
    int x = 0;
    for (uint32_t p : APixels)
        B.Set(x++, Y, p);
}

BLENDFUNCTION Blend(BYTE AConstant, BYTE AFormat) {
    return BLENDFUNCTION{AC_SRC_OVER, 0, AConstant, AFormat};
}

}  // namespace

TEST(BitBlt, RasterOperationsWorkBitwiseOnAllFourBytes) {
    struct Case {
        DWORD Rop;
        const char* Row;
    };
    const Case cases[] = {
        {SRCCOPY, "FFFFFFFF 00000000 00F0F0F0 80FF0000 0000FF00"},
        {SRCPAINT, "FFFFFFFF FFFFFFFF 00FFF0FF 80FF8080 0000FFFF"},
        {SRCAND, "00000000 00000000 00F000F0 80800000 0000FF00"},
        {SRCINVERT, "FFFFFFFF FFFFFFFF 000FF00F 007F8080 000000FF"},
        {DSTINVERT, "FFFFFFFF 00000000 FF00FF00 7F7F7F7F FFFF0000"},
        {NOTSRCCOPY, "00000000 FFFFFFFF FF0F0F0F 7F00FFFF FFFF00FF"},
        {PATCOPY, "00112233 00112233 00112233 00112233 00112233"},
        {BLACKNESS, "00000000 00000000 00000000 00000000 00000000"},
        {WHITENESS, "00FFFFFF 00FFFFFF 00FFFFFF 00FFFFFF 00FFFFFF"},
    };
    TestBitmap source(5, 1);
    SetRow(source, 0, {0xFFFFFFFF, 0x00000000, 0x00F0F0F0, 0x80FF0000, 0x0000FF00});
    HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
    for (const Case& c : cases) {
        TestBitmap dest(5, 1);
        SetRow(dest, 0, {0x00000000, 0xFFFFFFFF, 0x00FF00FF, 0x80808080, 0x0000FFFF});
        SelectObject(dest.DC(), brush);
        EXPECT_TRUE(BitBlt(dest.DC(), 0, 0, 5, 1, source.DC(), 0, 0, c.Rop)) << std::hex << c.Rop;
        EXPECT_EQ(dest.RowText(0), c.Row) << std::hex << c.Rop;
        SelectObject(dest.DC(), GetStockObject(WHITE_BRUSH));
    }
    DeleteObject(brush);
}

TEST(BitBlt, SourcesWithoutAlphaWriteAlphaZero) {
    TestBitmap rgb(2, 1, 24);
    rgb.Set(0, 0, 0x123456);
    rgb.Set(1, 0, 0xFFFFFF);
    TestBitmap dest(2, 1);
    dest.Fill(0xFF000000);
    BitBlt(dest.DC(), 0, 0, 2, 1, rgb.DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(dest.RowText(0), "00123456 00FFFFFF");

    // A device bitmap keeps what was put in it but gives it back without alpha.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(dc, 2, 1);
    SelectObject(dc, device);
    TestBitmap alpha(2, 1);
    alpha.Fill(0x80ABCDEF);
    BitBlt(dc, 0, 0, 2, 1, alpha.DC(), 0, 0, SRCCOPY);
    dest.Fill(0xFF000000);
    BitBlt(dest.DC(), 0, 0, 2, 1, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dest.RowText(0), "00ABCDEF 00ABCDEF");
    DeleteDC(dc);
    DeleteObject(device);

    // Into 24 bits the alpha byte is dropped.
    BitBlt(rgb.DC(), 0, 0, 1, 1, alpha.DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(rgb.RowText(0), "ABCDEF FFFFFF");
}

TEST(BitBlt, MonochromeMeetsColourThroughTheDCColours) {
    HDC monoDC = CreateCompatibleDC(nullptr);
    const uint8_t bits[] = {0x40, 0x00};  // 0 1 0
    HBITMAP mono = CreateBitmap(3, 1, 1, 1, bits);
    SelectObject(monoDC, mono);
    TestBitmap colour(3, 1);
    SetTextColor(colour.DC(), RGB(255, 0, 0));  // 0 bits
    SetBkColor(colour.DC(), RGB(0, 0, 255));    // 1 bits
    BitBlt(colour.DC(), 0, 0, 3, 1, monoDC, 0, 0, SRCCOPY);
    EXPECT_EQ(colour.RowText(0), "00FF0000 000000FF 00FF0000");

    // The way back makes a mask: the source's background colour becomes white.
    SetBkColor(colour.DC(), RGB(255, 0, 0));
    BitBlt(monoDC, 0, 0, 3, 1, colour.DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(monoDC, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(monoDC, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(monoDC, 2, 0), RGB(255, 255, 255));
    DeleteDC(monoDC);
    DeleteObject(mono);
}

TEST(BitBlt, FollowsOriginsAndClipAndLeavesWhatLiesOutsideTheSource) {
    TestBitmap source(2, 1);
    SetRow(source, 0, {0x00000011, 0x00000022});
    TestBitmap dest(5, 1);
    SetWindowOrgEx(dest.DC(), 1, 0, nullptr);
    SetWindowOrgEx(source.DC(), 5, 0, nullptr);
    ExcludeClipRect(dest.DC(), 1, 0, 2, 1);  // device column 0
    // Device columns -1..2 of both: -1 lies outside either bitmap, 0 is
    // clipped, 2 has no source pixel.
    EXPECT_TRUE(BitBlt(dest.DC(), 0, 0, 4, 1, source.DC(), 4, 0, SRCCOPY));
    EXPECT_EQ(dest.RowText(0), "00000000 00000022 00000000 00000000 00000000");
}

TEST(BitBlt, NegativeSizesMoveTheCornerAndReadingBackWorksFromAnyDC) {
    TestBitmap source(3, 1);
    SetRow(source, 0, {0x00000001, 0x00000002, 0x00000003});
    TestBitmap dest(3, 1);
    BitBlt(dest.DC(), 3, 0, -2, 1, source.DC(), 3, 0, SRCCOPY);
    EXPECT_EQ(dest.RowText(0), "00000000 00000002 00000003");
}

TEST(BitBlt, OverlappingCopiesWithinOneBitmapReadTheOldPixels) {
    TestBitmap b(5, 1);
    SetRow(b, 0, {1, 2, 3, 4, 5});
    BitBlt(b.DC(), 1, 0, 4, 1, b.DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(b.RowText(0), "00000001 00000001 00000002 00000003 00000004");
    BitBlt(b.DC(), 0, 0, 4, 1, b.DC(), 1, 0, SRCCOPY);
    EXPECT_EQ(b.RowText(0), "00000001 00000002 00000003 00000004 00000004");
}

TEST(BitBlt, FailuresAndTheClearBrush) {
    TestBitmap b(2, 1);
    b.Fill(0xFF000000);
    EXPECT_FALSE(BitBlt(b.DC(), 0, 0, 2, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(b.DC(), 0, 0, 2, 1, nullptr, 0, 0, DSTINVERT));  // needs no source
    EXPECT_FALSE(PatBlt(b.DC(), 0, 0, 2, 1, SRCCOPY));
    SelectObject(b.DC(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(b.DC(), 0, 0, 2, 1, PATCOPY));
    EXPECT_EQ(b.RowText(0), "00FFFFFF 00FFFFFF");
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 2, 1, b.DC(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(b.DC(), 0, 0, 0, 5, b.DC(), 0, 0, SRCCOPY));  // nothing to do
}

TEST(StretchBlt, SamplesTheNearestSourcePixel) {
    struct Case {
        int DestX, DestWidth, SourceX, SourceWidth;
        const char* Row;
    };
    const Case cases[] = {
        {0, 5, 0, 3, "00000001 00000001 00000002 00000003 00000003"},    // 3 -> 5
        {0, 2, 0, 5, "00000002 00000004 00000000 00000000 00000000"},    // 5 -> 2
        {0, 1, 0, 4, "00000003 00000000 00000000 00000000 00000000"},    // 4 -> 1
        {5, -5, 0, 5, "00000005 00000004 00000003 00000002 00000001"},   // mirrored
        {0, 5, 5, -5, "00000005 00000004 00000003 00000002 00000001"},   // mirrored from the source side
        {5, -5, 5, -5, "00000001 00000002 00000003 00000004 00000005"},  // both: not mirrored
    };
    TestBitmap source(5, 1);
    SetRow(source, 0, {1, 2, 3, 4, 5});
    for (const Case& c : cases) {
        TestBitmap dest(5, 1);
        EXPECT_TRUE(StretchBlt(dest.DC(), c.DestX, 0, c.DestWidth, 1, source.DC(), c.SourceX, 0,
                               c.SourceWidth, 1, SRCCOPY));
        EXPECT_EQ(dest.RowText(0), c.Row) << c.DestWidth << " from " << c.SourceWidth;
    }
}

TEST(StretchBlt, RowsScaleTheSameWayAndZeroSourcesFail) {
    TestBitmap source(1, 2, 32, false);  // bottom-up storage reads the same
    source.Set(0, 0, 7);
    source.Set(0, 1, 9);
    TestBitmap dest(1, 4);
    SetStretchBltMode(dest.DC(), HALFTONE);
    EXPECT_TRUE(StretchBlt(dest.DC(), 0, 0, 1, 4, source.DC(), 0, 0, 1, 2, SRCCOPY));
    EXPECT_EQ(dest.At(0, 0), 7u);
    EXPECT_EQ(dest.At(0, 1), 7u);
    EXPECT_EQ(dest.At(0, 2), 9u);
    EXPECT_EQ(dest.At(0, 3), 9u);
    EXPECT_FALSE(StretchBlt(dest.DC(), 0, 0, 1, 4, source.DC(), 0, 0, 0, 2, SRCCOPY));
}

TEST(TransparentBlt, SkipsTheKeyComparingRGBOnly) {
    TestBitmap source(3, 1);
    SetRow(source, 0, {0xFF7F007F, 0x007F007F, 0x80102030});
    TestBitmap dest(3, 1);
    dest.Fill(0xFF000001);
    EXPECT_TRUE(TransparentBlt(dest.DC(), 0, 0, 3, 1, source.DC(), 0, 0, 3, 1, RGB(127, 0, 127)));
    EXPECT_EQ(dest.RowText(0), "FF000001 FF000001 80102030");
}

TEST(TransparentBlt, StretchesAndRefusesNegativeSizes) {
    TestBitmap source(2, 1);
    SetRow(source, 0, {0x000000FF, 0x00FF0000});
    TestBitmap dest(4, 1);
    EXPECT_TRUE(TransparentBlt(dest.DC(), 0, 0, 4, 1, source.DC(), 0, 0, 2, 1, RGB(0, 0, 255)));
    EXPECT_EQ(dest.RowText(0), "00000000 00000000 00FF0000 00FF0000");
    EXPECT_FALSE(TransparentBlt(dest.DC(), 4, 0, -4, 1, source.DC(), 0, 0, 2, 1, 0));
    EXPECT_FALSE(TransparentBlt(dest.DC(), 0, 0, 4, 1, nullptr, 0, 0, 2, 1, 0));
}

TEST(AlphaBlend, PremultipliedSourceOverWithConstantAlpha) {
    struct Case {
        uint32_t Source, Dest;
        BLENDFUNCTION Blend;
        uint32_t Result;
    };
    const Case cases[] = {
        {0x80808080, 0xFF000000, Blend(255, AC_SRC_ALPHA), 0xFF808080},  // half white over black
        {0x80808080, 0xFFFFFFFF, Blend(255, AC_SRC_ALPHA), 0xFFFFFFFF},
        {0x00000000, 0x12345678, Blend(255, AC_SRC_ALPHA), 0x12345678},  // transparent
        {0xFF0000FF, 0xFFFFFFFF, Blend(128, AC_SRC_ALPHA), 0xFF7F7FFF},  // opaque blue at half
        {0x40FFFFFF, 0xFFFFFFFF, Blend(255, AC_SRC_ALPHA), 0xFFFFFFFF},  // not premultiplied: saturates
        {0x00FFFFFF, 0x00000000, Blend(128, 0), 0x00808080},             // constant alpha only
        {0xFF0000FF, 0xFFFF0000, Blend(0, 0), 0xFFFF0000},
    };
    for (const Case& c : cases) {
        TestBitmap source(1, 1), dest(1, 1);
        source.Set(0, 0, c.Source);
        dest.Set(0, 0, c.Dest);
        EXPECT_TRUE(AlphaBlend(dest.DC(), 0, 0, 1, 1, source.DC(), 0, 0, 1, 1, c.Blend));
        EXPECT_EQ(dest.At(0, 0), c.Result) << std::hex << c.Source << " over " << c.Dest;
    }
}

TEST(AlphaBlend, SourcesWithoutAlphaAreOpaqueAndStretchingSamplesNearest) {
    TestBitmap rgb(2, 1, 24);
    rgb.Set(0, 0, 0x102030);
    rgb.Set(1, 0, 0x405060);
    TestBitmap dest(4, 1);
    dest.Fill(0x00FFFFFF);
    EXPECT_TRUE(AlphaBlend(dest.DC(), 0, 0, 4, 1, rgb.DC(), 0, 0, 2, 1, Blend(255, AC_SRC_ALPHA)));
    EXPECT_EQ(dest.RowText(0), "FF102030 FF102030 FF405060 FF405060");
}

TEST(AlphaBlend, RefusesWhatWindowsRefuses) {
    TestBitmap source(2, 2), dest(2, 2);
    const BLENDFUNCTION ok = Blend(255, AC_SRC_ALPHA);
    EXPECT_FALSE(AlphaBlend(dest.DC(), 0, 0, 2, 2, source.DC(), 1, 0, 2, 2, ok));  // source leaves its bitmap
    EXPECT_FALSE(AlphaBlend(dest.DC(), 0, 0, -2, 2, source.DC(), 0, 0, 2, 2, ok));
    EXPECT_FALSE(AlphaBlend(dest.DC(), 0, 0, 2, 2, source.DC(), 0, 0, 2, 2, BLENDFUNCTION{1, 0, 255, 1}));
    EXPECT_FALSE(AlphaBlend(dest.DC(), 0, 0, 2, 2, source.DC(), 0, 0, 2, 2, BLENDFUNCTION{0, 0, 255, 2}));
    EXPECT_FALSE(AlphaBlend(dest.DC(), 0, 0, 1, 1, dest.DC(), 0, 0, 2, 2, ok));  // overlapping
    EXPECT_TRUE(AlphaBlend(dest.DC(), 1, 1, 1, 1, dest.DC(), 0, 0, 1, 1, ok));
}

TEST(AlphaBlend, VectorRowsMatchSinglePixels) {
    std::mt19937 random(7);
    std::vector<uint32_t> source(1027), dest(1027);
    for (size_t i = 0; i < source.size(); ++i) {
        // Valid premultiplied pixels and some that are not.
        const uint32_t a = random() & 0xFF;
        const uint32_t colour = random() & 0xFFFFFF;
        source[i] = (a << 24) | (i % 3 ? colour : colour % (a + 1) * 0x010101 % 0x1000000);
        dest[i] = random();
    }
    for (uint8_t constant : {uint8_t(255), uint8_t(77)}) {
        std::vector<uint32_t> rows = dest, single = dest;
        gdi::BlendRow(rows.data(), source.data(), int(rows.size()), constant, true);
        for (size_t i = 0; i < single.size(); ++i)
            gdi::BlendRow(&single[i], &source[i], 1, constant, true);
        EXPECT_EQ(rows, single);
    }
}
