#include "skin/core/qxmaskregions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "skintest.h"

namespace {

constexpr Cardinal White = 0xFFFFFF;

// A white mask with black where ARows has '#'.
std::unique_ptr<TBitmap> Mask(const std::vector<std::string>& ARows) {
    auto mask = SolidBitmap(Integer(ARows[0].size()), Integer(ARows.size()), White);
    for (size_t y = 0; y < ARows.size(); ++y)
        for (size_t x = 0; x < ARows[y].size(); ++x)
            if (ARows[y][x] == '#') SetRGB(*mask, Integer(x), Integer(y), 0);
    return mask;
}

win::RGNDATAHEADER Header(const std::vector<Byte>& AData) {
    win::RGNDATAHEADER header{};
    std::memcpy(&header, AData.data(), sizeof header);
    return header;
}

std::vector<win::RECT> Rects(const std::vector<Byte>& AData) {
    std::vector<win::RECT> rects(Header(AData).nCount);
    std::memcpy(rects.data(), AData.data() + sizeof(win::RGNDATAHEADER), rects.size() * sizeof(win::RECT));
    return rects;
}

// The rectangles of a region, rows from the top.
std::vector<win::RECT> RegionRects(win::HRGN ARegion) {
    std::vector<Byte> data(win::GetRegionData(ARegion, 0, nullptr));
    win::GetRegionData(ARegion, win::DWORD(data.size()), reinterpret_cast<win::RGNDATA*>(data.data()));
    return Rects(data);
}

// Region handles freed at the end of a test.
class Regions : public ::testing::Test {
protected:
    void TearDown() override {
        for (win::HRGN region : FOwned)
            win::DeleteObject(region);
    }
    win::HRGN Own(win::HRGN ARegion) {
        if (ARegion) FOwned.push_back(ARegion);
        return ARegion;
    }
    win::HRGN Rect(Integer L, Integer T, Integer R, Integer B) { return Own(win::CreateRectRgn(L, T, R, B)); }
    // ARegion without the single pixels given.
    void Punch(win::HRGN ARegion, std::initializer_list<TPoint> APixels) {
        for (const TPoint& p : APixels)
            win::CombineRgn(ARegion, ARegion, Rect(p.X, p.Y, p.X + 1, p.Y + 1), win::RGN_DIFF);
    }

private:
    std::vector<win::HRGN> FOwned;
};

TEST(QxFBitmap, ATopDownTwentyFourBitCopyWithARowTable) {
    const auto source = SolidBitmap(5, 3, White);
    SetRGB(*source, 4, 1, 0x102030);
    const TqxFBitmap bitmap(source->Handle());
    EXPECT_EQ(5, bitmap.Width);
    EXPECT_EQ(3, bitmap.Height);
    EXPECT_EQ(1, bitmap.Gap);
    EXPECT_EQ(16, bitmap.RowInc);
    EXPECT_EQ(48, bitmap.Size);
    EXPECT_EQ(-3, bitmap.bmHeader.biHeight);
    EXPECT_EQ(24, bitmap.bmHeader.biBitCount);
    EXPECT_EQ(bitmap.Bits, static_cast<void*>(bitmap.Pixels[0]));
    EXPECT_EQ(reinterpret_cast<Byte*>(bitmap.Pixels[0]) + 16, reinterpret_cast<Byte*>(bitmap.Pixels[1]));
    const TFBColor p = bitmap.Pixels[1][4];
    EXPECT_EQ(0x10, p.r);
    EXPECT_EQ(0x20, p.g);
    EXPECT_EQ(0x30, p.b);
    EXPECT_EQ(255, bitmap.Pixels[2][4].r);
    EXPECT_EQ(bitmap.Handle, win::GetCurrentObject(bitmap.hDC, win::OBJ_BITMAP));
    EXPECT_THROW(TqxFBitmap(nullptr), Exception);
}

TEST(MaskRegionData, OneRectangleForEachRunOfBlackRowByRow) {
    const auto mask = Mask({"..##.#", "......", "######"});
    std::vector<Byte> data;
    ASSERT_EQ(32 + 3 * 16, CreateMaskRegionData(mask.get(), 10, 20, data));
    ASSERT_EQ(size_t(32 + 3 * 16), data.size());
    const win::RGNDATAHEADER header = Header(data);
    EXPECT_EQ(32u, header.dwSize);
    EXPECT_EQ(win::RDH_RECTANGLES, header.iType);
    EXPECT_EQ(3u, header.nCount);
    EXPECT_EQ(0u, header.nRgnSize);
    EXPECT_TRUE((header.rcBound == win::RECT{10, 20, 16, 23}));
    // A run black to the row's end ends at X + the mask's width.
    const std::vector<win::RECT> expected{{12, 20, 14, 21}, {15, 20, 16, 21}, {10, 22, 16, 23}};
    EXPECT_TRUE(expected == Rects(data));
}

TEST(MaskRegionData, EmptyMasksAndMasksWithoutBlack) {
    std::vector<Byte> data{1, 2, 3};
    TBitmap empty;
    EXPECT_EQ(0, CreateMaskRegionData(&empty, 0, 0, data));
    EXPECT_TRUE(data.empty());
    const auto white = Mask({"...", "..."});
    ASSERT_EQ(32, CreateMaskRegionData(white.get(), 1, 2, data));
    EXPECT_EQ(0u, Header(data).nCount);
    EXPECT_TRUE((Header(data).rcBound == win::RECT{1, 2, 4, 4}));

    win::HRGN region = win::CreateRectRgn(0, 0, 1, 1);
    CreateMaskRegion(region, &empty);
    EXPECT_EQ(nullptr, region);
}

// More runs than the 10,001 of a fixed buffer: every one is kept.
TEST_F(Regions, ABusyMaskKeepsEveryRun) {
    std::vector<std::string> rows;
    for (Integer y = 0; y < 100; ++y) {
        std::string row;
        for (Integer x = 0; x < 250; ++x)
            row += (x + y) % 2 ? '#' : '.';
        rows.push_back(row);
    }
    const auto mask = Mask(rows);
    std::vector<Byte> data;
    CreateMaskRegionData(mask.get(), 0, 0, data);
    ASSERT_EQ(12500u, Header(data).nCount);
    win::HRGN region = nullptr;
    CreateMaskRegion(region, mask.get());
    Own(region);
    EXPECT_TRUE(Rects(data) == RegionRects(region));
}

TEST_F(Regions, TheRegionOfAWholeMask) {
    const auto mask = Mask({".##.", "####", ".#.."});
    win::HRGN region = nullptr;
    CreateMaskRegion(region, mask.get());
    ASSERT_NE(nullptr, Own(region));
    win::HRGN expected = Rect(0, 0, 4, 2);
    Punch(expected, {{0, 0}, {3, 0}});
    win::CombineRgn(expected, expected, Rect(1, 2, 2, 3), win::RGN_OR);
    EXPECT_TRUE(win::EqualRgn(expected, region));
}

// Masks come in any pixel format: they are read at 24 bits.
TEST_F(Regions, MasksOfOtherFormats) {
    for (TPixelFormat format : {pfDevice, pf1bit, pf8bit, pf32bit}) {
        TBitmap mask;
        mask.SetPixelFormat(format);
        mask.SetSize(6, 4);
        mask.Canvas()->Brush()->SetColor(clWhite);
        mask.Canvas()->FillRect({0, 0, 6, 4});
        mask.Canvas()->Brush()->SetColor(clBlack);
        mask.Canvas()->FillRect({1, 1, 4, 3});
        win::HRGN region = nullptr;
        CreateMaskRegion(region, &mask);
        EXPECT_TRUE(win::EqualRgn(Rect(1, 1, 4, 3), Own(region))) << format;
    }
}

// A 12 x 12 mask, black but for the corner pixels (0, 0), (11, 1),
// (0, 11) and (11, 11), a notch at x = 5 of the top edge (4 .. 8) and one
// at y = 5 of the left edge (4 .. 8); mask area (3, 3, 9, 9).
class ResizedMask : public Regions {
protected:
    const std::unique_ptr<TBitmap> FMask = Mask({
        ".####.######",
        "###########.",
        "############",
        "############",
        "############",
        ".###########",
        "############",
        "############",
        "############",
        "############",
        "############",
        ".##########.",
    });
    win::HRGN Resize(Integer W, Integer H) {
        const Integer dw = W - 12, dh = H - 12;
        win::HRGN region = nullptr;
        CreateResizedMaskRegion(region, {4, 4}, {8, 4}, {4, 8}, {8, 8}, {3, 3, 9, 9}, {4, 4}, {8 + dw, 4},
                                {4, 8 + dh}, {8 + dw, 8 + dh}, {3, 3, 9 + dw, 9 + dh}, FMask.get(), W, H);
        return Own(region);
    }
};

TEST_F(ResizedMask, TheStripsTiledAroundTheNewMaskArea) {
    win::HRGN region = Resize(16, 14);
    ASSERT_NE(nullptr, region);
    // The top edge's notch repeats from 4 every 4 pixels; the right corner
    // follows the edge. The left edge is tiled from the left strip's top
    // (y = 3) under the fixed row 3, so its notch lands on 4 and 8.
    win::HRGN expected = Rect(0, 0, 16, 14);
    Punch(expected, {{0, 0}, {5, 0}, {9, 0}, {15, 1}, {0, 13}, {15, 13}, {0, 4}, {0, 8}});
    EXPECT_TRUE(win::EqualRgn(expected, region));
    // At its natural size the mask gives its own region but for the left
    // edge's anchor.
    win::HRGN natural = Resize(12, 12);
    win::HRGN whole = nullptr;
    CreateMaskRegion(whole, FMask.get());
    Own(whole);
    Punch(whole, {{0, 4}});
    win::CombineRgn(whole, whole, Rect(0, 5, 1, 6), win::RGN_OR);
    EXPECT_TRUE(win::EqualRgn(whole, natural));
}

TEST_F(ResizedMask, NoRegionForAControlSmallerThanItsFixedCorners) {
    EXPECT_EQ(nullptr, Resize(7, 14));
    EXPECT_EQ(nullptr, Resize(16, 7));
    EXPECT_NE(nullptr, Resize(8, 8));
}

}  // namespace
