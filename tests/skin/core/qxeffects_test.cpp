#include "skin/core/qxeffects.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/random.h"
#include "skintest.h"

namespace {

// An effect image of one row per listed row, each pixel grey at its level.
std::unique_ptr<TqxEffectBmp> Grey(std::initializer_list<std::initializer_list<Integer>> ARows) {
    const Integer width = Integer(ARows.begin()->size()), height = Integer(ARows.size());
    auto image = std::make_unique<TqxEffectBmp>(width, height);
    Integer y = 0;
    for (const auto& row : ARows) {
        Integer x = 0;
        for (Integer level : row)
            image->SetPixel(x++, y, level * 0x010101);
        ++y;
    }
    return image;
}

std::vector<Integer> Colours(const TqxEffectBmp& AImage) {
    std::vector<Integer> colours;
    for (Integer y = 0; y < AImage.Height(); ++y)
        for (Integer x = 0; x < AImage.Width(); ++x)
            colours.push_back(AImage.GetPixel(x, y));
    return colours;
}

std::vector<Integer> Greys(std::initializer_list<Integer> ALevels) {
    std::vector<Integer> colours;
    for (Integer level : ALevels)
        colours.push_back(level * 0x010101);
    return colours;
}

TEST(Effects, ColourEffectsRoundHalvesToEven) {
    struct TCase {
        const char* Name;
        void (*Apply)(TqxEffectBmp&);
        std::vector<Integer> Expected;
    } cases[] = {
        {"brightness 0.5", [](TqxEffectBmp& I) { I.ChangeBrightness(0.5); }, Greys({128, 178, 255})},
        {"brightness above 1", [](TqxEffectBmp& I) { I.ChangeBrightness(7); }, Greys({255, 255, 255})},
        {"brightness below 0", [](TqxEffectBmp& I) { I.ChangeBrightness(-1); }, Greys({0, 100, 255})},
        // 0.3 is a little less as a double: 0.7 x 255 comes out just above 178.5.
        {"darkness 0.3", [](TqxEffectBmp& I) { I.ChangeDarkness(0.3); }, Greys({0, 70, 179})},
        {"invert", [](TqxEffectBmp& I) { I.Invert(); }, Greys({255, 155, 0})},
        {"grey scale", [](TqxEffectBmp& I) { I.GrayScale(); }, Greys({0, 100, 255})},
        {"mosaic 1", [](TqxEffectBmp& I) { I.Mosaic(1); }, Greys({0, 100, 255})},
        {"mosaic 2", [](TqxEffectBmp& I) { I.Mosaic(2); }, Greys({0, 0, 255})},
        {"wave without a divisor", [](TqxEffectBmp& I) { I.Wave(0, 3, 5); }, Greys({0, 100, 255})},
    };
    for (const TCase& c : cases) {
        const auto image = Grey({{0, 100, 255}});
        c.Apply(*image);
        EXPECT_EQ(c.Expected, Colours(*image)) << c.Name;
    }
    TqxEffectBmp green(1, 1);
    green.SetPixel(0, 0, 0x00FF00);
    green.GrayScale();
    EXPECT_EQ(150 * 0x010101, green.GetPixel(0, 0));
}

TEST(Effects, SplitBlurAveragesTheDiagonalNeighboursInPlace) {
    const auto image = Grey({{0, 0, 0}, {0, 0, 0}, {0, 0, 200}});
    image->SplitBlur(1);
    // (1, 1) reads the corners: 200 / 4 = 50; (2, 1) has no column right and
    // reads (1, 0), (1, 2), (2, 0), (2, 2): 50. The bottom row has no row below:
    // (0, 2) reads (0, 1), itself, (1, 1) = 50 (already blurred), (1, 2): 12;
    // (1, 2) reads 0, 12, 50, 200: 65; (2, 2) reads 50, 65, 50, 200: 91.
    EXPECT_EQ(Greys({0, 0, 0, 0, 50, 50, 12, 65, 91}), Colours(*image));
}

// A negative amount would read outside the image.
TEST(Effects, BlursWithoutAPositiveAmountDoNothing) {
    const auto mask = Grey({{0, 0}, {0, 0}});
    for (Integer amount : {0, -1, -1000}) {
        const auto image = Grey({{10, 20}, {30, 40}});
        image->SplitBlur(amount);
        image->MaskBlur(mask.get(), amount);
        image->MaskAntialiasing(mask.get(), amount);
        EXPECT_EQ(Greys({10, 20, 30, 40}), Colours(*image)) << amount;
    }
}

TEST(Effects, MaskOperationsTouchNonWhiteMaskPixels) {
    const auto mask = Grey({{255, 0, 0}, {255, 255, 0}, {0, 0, 0}});
    const auto blurred = Grey({{40, 80, 120}, {0, 0, 0}, {0, 0, 0}});
    blurred->MaskBlur(mask.get(), 1);
    // (1, 0): (40 + 0 + 120 + 0) / 4 = 40; (2, 0): 40 + 0 + 120 + 0 again; (2, 1):
    // (40 + 0 + 40 + 0) / 4 = 20; (1, 2): 20 / 4 = 5; (2, 2): (5 + 20) / 4 = 6.
    EXPECT_EQ(Greys({40, 40, 40, 0, 0, 20, 0, 5, 6}), Colours(*blurred));

    const auto edges = Grey({{40, 80, 120}, {0, 0, 0}, {0, 0, 0}});
    edges->MaskAntialiasing(mask.get(), 1);
    // (2, 1) has no white mask pixel among its diagonal neighbours: it stays.
    const auto edgesWithRight = Grey({{40, 80, 120}, {0, 0, 9}, {0, 0, 0}});
    edgesWithRight->MaskAntialiasing(mask.get(), 1);
    EXPECT_EQ(Greys({40, 42, 42, 0, 0, 9, 0, 2, 2}), Colours(*edgesWithRight));
    EXPECT_EQ(Greys({40, 40, 40, 0, 0, 0, 0, 0, 0}), Colours(*edges));

    const auto filled = Grey({{0, 100, 200}});
    filled->MaskFillColor(Grey({{255, 0, 0}}).get(), clRed, 0.5);
    EXPECT_EQ((std::vector<Integer>{0, 0xB23232, 0xE46464}), Colours(*filled));
    filled->MaskFillColor(Grey({{0, 0, 0}}).get(), clBlack, 2);
    EXPECT_EQ((std::vector<Integer>{0, 0, 0}), Colours(*filled));
}

TEST(Effects, MasksOfTheWrongSizeChangeNothing) {
    const std::unique_ptr<TqxEffectBmp> masks[] = {Grey({{0, 0}, {0, 0}}), Grey({{0, 0, 0}}),
                                                   Grey({{0, 0, 0, 0}, {0, 0, 0, 0}})};
    for (const auto& mask : masks) {
        const auto image = Grey({{10, 20, 30}, {40, 50, 60}});
        image->MaskBlur(mask.get(), 1);
        image->MaskAntialiasing(mask.get(), 1);
        image->MaskFillColor(mask.get(), clWhite, 1);
        EXPECT_EQ(Greys({10, 20, 30, 40, 50, 60}), Colours(*image));
    }
    const auto image = Grey({{10, 20}});
    image->MaskFillColor(Grey({{0, 0}, {0, 0}}).get(), clWhite, 1);
    EXPECT_EQ(Greys({255, 255}), Colours(*image));
}

TEST(Effects, NoiseShiftsBySeededAmounts) {
    SetRandSeed(7);
    const auto mono = Grey({{100, 100, 100, 100, 100, 100, 100, 100}});
    mono->AddMonoNoise(50);
    bool varied = false;
    for (Integer colour : Colours(*mono)) {
        const Integer shift = (colour & 0xFF) - 100;
        EXPECT_GE(shift, -25);
        EXPECT_LE(shift, 24);
        EXPECT_EQ((colour & 0xFF) * 0x010101, colour) << "one shift for all three channels";
        varied |= shift != Colours(*mono)[0] % 256 - 100;
    }
    EXPECT_TRUE(varied);

    SetRandSeed(7);
    const Integer r = Random(50) - 25, g = Random(50) - 25, b = Random(50) - 25;
    SetRandSeed(7);
    const auto colour = Grey({{100}});
    colour->AddColorNoise(50);
    EXPECT_EQ(((100 + r) << 16) | ((100 + g) << 8) | (100 + b), colour->GetPixel(0, 0));
}

TEST(Effects, RotationsAndFlipIntoATargetOfTheRightSize) {
    const auto pair = Grey({{1, 2}});
    TqxEffectBmp turned(1, 2);
    pair->Rotate90_1(&turned);
    EXPECT_EQ(Greys({2, 1}), Colours(turned));
    pair->Rotate90_2(&turned);
    EXPECT_EQ(Greys({1, 2}), Colours(turned));

    const auto block = Grey({{1, 2, 3}, {4, 5, 6}});
    TqxEffectBmp anticlockwise(2, 3), clockwise(2, 3), flipped(3, 2);
    block->Rotate90_1(&anticlockwise);
    block->Rotate90_2(&clockwise);
    block->FlipVert(&flipped);
    EXPECT_EQ(Greys({3, 6, 2, 5, 1, 4}), Colours(anticlockwise));
    EXPECT_EQ(Greys({4, 1, 5, 2, 6, 3}), Colours(clockwise));
    EXPECT_EQ(Greys({4, 5, 6, 1, 2, 3}), Colours(flipped));

    // A target of another size, or the image itself, is handled safely.
    TqxEffectBmp wrong(3, 3);
    const std::vector<Integer> before = Colours(wrong);
    block->Rotate90_1(&wrong);
    block->Rotate90_2(&wrong);
    block->FlipVert(&wrong);
    block->FlipVert(nullptr);
    EXPECT_EQ(before, Colours(wrong));
    block->FlipVert(block.get());
    EXPECT_EQ(Greys({4, 5, 6, 1, 2, 3}), Colours(*block));
    const auto square = Grey({{1, 2}, {3, 4}});
    square->Rotate90_2(square.get());
    EXPECT_EQ(Greys({3, 1, 4, 2}), Colours(*square));
}

TEST(Effects, WaveShiftsBySines) {
    const auto image = Grey({{0, 10, 20, 30}, {40, 50, 60, 70}});
    image->Wave(1, 1, 2);
    // Row 0: x + 2 sin(0) = x; y + 2 sin(x): 0, 1.68, 1.82, 0.28 -> rows 0, 1, 1, 0.
    // Row 1: x + 2 sin(1) = x + 1.68 -> x + 2, cut at 3; y + 2 sin(x) -> 1, 2.68, ... cut at 1.
    EXPECT_EQ(Greys({0, 50, 60, 30, 60, 70, 70, 70}), Colours(*image));
}

// Blur of a TqxBitmap.

std::vector<Integer> Reds(const TqxBitmap& ABitmap) {
    std::vector<Integer> reds;
    for (TqxColor p : Pixels(ABitmap))
        reds.push_back(Integer((p >> 16) & 0xFF));
    return reds;
}

TEST(BlurBitmap, RadiusOneOnOneWhitePixel) {
    TqxBitmap bitmap;
    bitmap.SetSize(5, 5);
    bitmap.Clear(0);
    *bitmap.GetPixelPtr(2, 2) = 0x00FFFFFF;
    BlurBitmap(&bitmap, 1);
    EXPECT_EQ((std::vector<Integer>{0, 0,  0,  0,  0,  //
                                    0, 15, 31, 15, 0,  //
                                    0, 31, 63, 31, 0,  //
                                    0, 15, 31, 15, 0,  //
                                    0, 0,  0,  0,  0}),
              Reds(bitmap));
    for (TqxColor p : Pixels(bitmap)) {
        EXPECT_EQ(0xFFu, p >> 24);
        EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF);
    }
}

// The tent filter written out, with the division of each pass.
std::vector<Integer> NaiveTent(const std::vector<Integer>& AIn, Integer AWidth, Integer AHeight, Integer R) {
    const auto clampAt = [](Integer V, Integer N) { return std::clamp(V, 0, N - 1); };
    const Int64 weights = Int64(R + 1) * (R + 1);
    std::vector<Integer> across(AIn.size()), out(AIn.size());
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x) {
            Int64 sum = 0;
            for (Integer k = -R; k <= R; ++k)
                sum += Int64(R + 1 - std::abs(k)) * AIn[size_t(y * AWidth + clampAt(x + k, AWidth))];
            across[size_t(y * AWidth + x)] = Integer(sum / weights);
        }
    for (Integer x = 0; x < AWidth; ++x)
        for (Integer y = 0; y < AHeight; ++y) {
            Int64 sum = 0;
            for (Integer k = -R; k <= R; ++k)
                sum += Int64(R + 1 - std::abs(k)) * across[size_t(clampAt(y + k, AHeight) * AWidth + x)];
            out[size_t(y * AWidth + x)] = Integer(sum / weights);
        }
    return out;
}

TEST(BlurBitmap, MatchesTheTentFilterForAnyRadius) {
    TqxBitmap bitmap;
    std::vector<Integer> reds;
    for (Integer radius : {1, 2, 3, 6, 7, 40}) {
        bitmap.SetSize(7, 5);
        reds.clear();
        for (Integer i = 0; i < 35; ++i) {
            reds.push_back((i * 97 + 13) % 256);
            bitmap.Bits()[i] = (TqxColor(reds.back()) << 16) | 0x80000000;
        }
        BlurBitmap(&bitmap, radius);
        EXPECT_EQ(NaiveTent(reds, 7, 5, radius), Reds(bitmap)) << radius;
    }
}

// No table grows with the radius: a glow size of a million needs no more
// memory than one of three, and radii beyond 64-bit sums still blur.
TEST(BlurBitmap, HugeRadiiNeedNoTable) {
    TqxBitmap bitmap;
    const auto corner = [&] {
        bitmap.SetSize(4, 3);
        bitmap.Clear(0x00FF0000);
        *bitmap.GetPixelPtr(0, 0) = 0;
    };
    corner();
    std::vector<Integer> reds = Reds(bitmap);
    BlurBitmap(&bitmap, 1000000);
    EXPECT_EQ(NaiveTent(reds, 4, 3, 1000000), Reds(bitmap));
    corner();
    BlurBitmap(&bitmap, 1 << 27);
    const std::vector<Integer> within64 = Reds(bitmap);
    for (Integer radius : {(1 << 27) + 1, 0x7FFFFFFF}) {
        corner();
        BlurBitmap(&bitmap, radius);
        const std::vector<Integer> wide = Reds(bitmap);
        for (size_t i = 0; i < wide.size(); ++i)
            EXPECT_NEAR(within64[i], wide[i], 1) << radius << " at " << i;
    }
    TqxBitmap empty;
    BlurBitmap(&empty, 3);
    BlurBitmap(&bitmap, 0);
    BlurBitmap(nullptr, 3);
}

TEST(AlphaFromMask, TheMeanOfTheMaskColourTruncated) {
    TqxBitmap bitmap, mask;
    Fill(bitmap, 2, 1, {0xFF204080, 0x11204080});
    Fill(mask, 3, 2, {0x00FFFFFE, 0x00010000});
    SetAlphaFromMask(&bitmap, &mask);
    EXPECT_EQ((std::vector<TqxColor>{0xFE204080, 0x00204080}), Pixels(bitmap));

    Fill(bitmap, 2, 1, {0xFF204080, 0xFF204080});
    Fill(mask, 2, 1, {0x00808080, 0x00FFFFFF});
    SetPremultipliedAlphaFromMask(&bitmap, &mask);
    EXPECT_EQ((std::vector<TqxColor>{0x80102040, 0xFF204080}), Pixels(bitmap));
}

// A mask smaller than the bitmap would be read beyond its pixels.
TEST(AlphaFromMask, ASmallerMaskChangesNothing) {
    TqxBitmap bitmap, narrow, low;
    Fill(bitmap, 2, 2, {0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF, 0x80FFFFFF});
    Fill(narrow, 1, 2, {});
    Fill(low, 2, 1, {});
    for (const TqxBitmap* mask : {&narrow, &low}) {
        SetAlphaFromMask(&bitmap, mask);
        SetPremultipliedAlphaFromMask(&bitmap, mask);
        EXPECT_EQ(std::vector<TqxColor>(4, 0x80FFFFFF), Pixels(bitmap));
    }
}

}  // namespace
