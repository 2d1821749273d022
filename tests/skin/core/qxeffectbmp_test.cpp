#include "skin/core/qxeffectbmp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/toolkit/bitmap.h"

namespace {

// One row of AWidth pixels, each of grey level AValue (all three channels).
std::unique_ptr<TqxEffectBmp> Flat(Integer AWidth, Integer AHeight, Byte AValue) {
    auto image = std::make_unique<TqxEffectBmp>(AWidth, AHeight);
    for (Integer y = 0; y < AHeight; ++y)
        for (Integer x = 0; x < AWidth; ++x)
            image->SetPixel(x, y, AValue * 0x010101);
    return image;
}

// The blue channel of each pixel of row AY.
std::vector<Integer> Levels(const TqxEffectBmp& AImage, Integer AY = 0) {
    std::vector<Integer> levels;
    for (Integer x = 0; x < AImage.Width(); ++x)
        levels.push_back(AImage.GetPixel(x, AY) & 0xFF);
    return levels;
}

std::vector<Integer> Column(const TqxEffectBmp& AImage, Integer AX = 0) {
    std::vector<Integer> levels;
    for (Integer y = 0; y < AImage.Height(); ++y)
        levels.push_back(AImage.GetPixel(AX, y) & 0xFF);
    return levels;
}

// Old 0, new 255: a pixel blended with old weight t shows round(255 (1 - t)).
Integer Shown(double AOldWeight) {
    return Integer(std::nearbyint(255 * (1 - AOldWeight)));
}

TEST(EffectBmp, RowsArePaddedToFourBytes) {
    TqxEffectBmp image(5, 2);
    EXPECT_EQ(16, image.Stride());
    EXPECT_EQ(32, image.Size());
    EXPECT_EQ(image.Bits() + 16, image.ScanLinePtr(1));
    EXPECT_EQ(-2, image.BmpInfo().bmiHeader.biHeight);
    EXPECT_EQ(24, image.BmpInfo().bmiHeader.biBitCount);
    image.SetPixel(4, 1, 0x112233);
    EXPECT_EQ(0x33, image.ScanLinePtr(1)[12]);
    EXPECT_EQ(0x11, image.ScanLinePtr(1)[14]);
    EXPECT_EQ(0x112233, image.GetPixel(4, 1));
    Byte line[15];
    image.GetScanLine(1, line);
    EXPECT_EQ(0x22, line[13]);
    line[0] = 9;
    image.SetScanLine(0, line);
    EXPECT_EQ(9, image.GetPixel(0, 0));
    for (Integer width : {1, 2, 3, 4, 7})
        EXPECT_EQ((3 * width + 3) / 4 * 4, TqxEffectBmp(width, 1).Stride()) << width;
}

// An image without pixels would let every operation write nowhere.
TEST(EffectBmp, CreationWithoutPixelsRaisesOrIsEmpty) {
    EXPECT_THROW(TqxEffectBmp(-3, 2), Exception);
    EXPECT_THROW(TqxEffectBmp(1 << 25, 1), Exception);
    EXPECT_THROW(
        TqxEffectBmp::CreateFromhWnd(reinterpret_cast<win::HBITMAP>(win::GetStockObject(win::WHITE_BRUSH))),
        Exception);
    TqxEffectBmp empty(0, 7);
    EXPECT_EQ(0, empty.Size());
    EXPECT_EQ(nullptr, empty.Bits());
    TqxEffectBmp other(0, 0);
    empty.Morph(&other, 0.5);
    empty.MorphGrad(&other, 0.5);
    empty.MorphRect(&other, 0.5, Rect(0, 0, 3, 3), 0, 0);
    empty.CopyRect(&other, Rect(0, 0, 3, 3), 0, 0);
    EXPECT_EQ(0, TqxEffectBmp::CreateFromhWnd(nullptr)->Size());
}

TEST(EffectBmp, CreateFromABitmapHandleTakesItsColours) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(2, 1, 0x332211);
    bitmap.Canvas()->SetPixels(0, 0, clWhite);
    const std::unique_ptr<TqxEffectBmp> image = TqxEffectBmp::CreateFromhWnd(bitmap.Handle());
    EXPECT_EQ(3, image->Width());
    EXPECT_EQ(2, image->Height());
    EXPECT_EQ(0xFFFFFF, image->GetPixel(0, 0));
    EXPECT_EQ(0x112233, image->GetPixel(2, 1));
    const std::unique_ptr<TqxEffectBmp> copy = TqxEffectBmp::CreateCopy(image.get());
    EXPECT_EQ(0x112233, copy->GetPixel(2, 1));
    EXPECT_NE(image->Bits(), copy->Bits());
}

TEST(EffectBmp, DrawStretchAndDrawRect) {
    TqxEffectBmp image(3, 2);
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 3; ++x)
            image.SetPixel(x, y, 0x10 * (y * 3 + x + 1));
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(6, 4);
    win::HDC dc = target.Canvas()->Handle();
    image.Draw(dc, 1, 1);
    EXPECT_EQ(0x10u, win::GetPixel(dc, 1, 1) >> 16);
    EXPECT_EQ(0x60u, win::GetPixel(dc, 3, 2) >> 16);
    image.Stretch(dc, 0, 0, 6, 2);
    EXPECT_EQ(0x20u, win::GetPixel(dc, 2, 0) >> 16);
    EXPECT_EQ(0x60u, win::GetPixel(dc, 5, 1) >> 16);
    // The part (1, 1, 2, 1) at (4, 3), unmirrored.
    image.DrawRect(dc, 4, 3, 1, 1, 2, 1);
    EXPECT_EQ(0x50u, win::GetPixel(dc, 4, 3) >> 16);
    EXPECT_EQ(0x60u, win::GetPixel(dc, 5, 3) >> 16);
    image.DrawRect(dc, 0, 2, 0, 0, 2, 2);
    EXPECT_EQ(0x10u, win::GetPixel(dc, 0, 2) >> 16);
    EXPECT_EQ(0x50u, win::GetPixel(dc, 1, 3) >> 16);
}

// Blocks of round(f) + 1 pixels: 2 to 4 columns gives f = 1.5 and blocks of
// 3, the second starting at column 2; it ends at the last column.
TEST(EffectBmp, ResizeReplicatesPixelsWithinTheTarget) {
    TqxEffectBmp source(2, 1);
    source.SetPixel(0, 0, 1);
    source.SetPixel(1, 0, 2);
    TqxEffectBmp target(4, 3);
    source.Resize(&target);
    EXPECT_EQ((std::vector<Integer>{1, 1, 2, 2}), Levels(target, 0));
    EXPECT_EQ((std::vector<Integer>{1, 1, 2, 2}), Levels(target, 2));
    TqxEffectBmp empty(0, 0);
    source.Resize(&empty);
    empty.Resize(&target);
}

TEST(EffectBmp, MorphRoundsHalvesToEven) {
    struct TCase {
        Byte Old, New;
        double Kf;
        Integer Expected;
    } cases[] = {
        {10, 13, 0.5, 12},
        {10, 11, 0.5, 10},
        {10, 200, 1.5, 200},
        {10, 200, -1, 10},
        {10, 200, std::numeric_limits<double>::quiet_NaN(), 10},
        {0, 255, 0.25, 64},
    };
    for (const TCase& c : cases) {
        const auto image = Flat(2, 1, c.Old);
        image->Morph(Flat(2, 1, c.New).get(), c.Kf);
        EXPECT_EQ(c.Expected * 0x010101, image->GetPixel(1, 0))
            << int(c.Old) << " " << int(c.New) << " " << c.Kf;
    }
    const auto image = Flat(2, 1, 10);
    image->Morph(Flat(3, 1, 200).get(), 1);
    EXPECT_EQ((std::vector<Integer>{10, 10}), Levels(*image));
}

TEST(EffectBmp, GradientAndSlideMorphTables) {
    const double third = 1.0 / 3;
    struct TCase {
        const char* Name;
        void (TqxEffectBmp::*Morph)(const TqxEffectBmp*, double);
        Integer Width;
        double Kf;
        std::vector<Integer> Expected;
        // Gradients go from black to white; slides and pushes move numbered columns.
        bool Numbered = false;
    } cases[] = {
        {"h-gradient 0.4",
         &TqxEffectBmp::MorphHGrad,
         10,
         0.4,
         {Shown(1), Shown(2 * third), Shown(third), 255, 255, 255, 255, 255, Shown(third), Shown(2 * third)}},
        {"gradient picks horizontal",
         &TqxEffectBmp::MorphGrad,
         10,
         0.4,
         {Shown(1), Shown(2 * third), Shown(third), 255, 255, 255, 255, 255, Shown(third), Shown(2 * third)}},
        {"left gradient 0.3",
         &TqxEffectBmp::MorphLeftGrad,
         10,
         0.3,
         {255, Shown(third), Shown(2 * third), 0, 0, 0, 0, 0, 0, 0}},
        {"right gradient 0.3",
         &TqxEffectBmp::MorphRightGrad,
         10,
         0.3,
         {0, 0, 0, 0, 0, 0, 0, Shown(2 * third), Shown(third), 255}},
        {"left gradient 1", &TqxEffectBmp::MorphLeftGrad, 4, 1, {255, Shown(third), Shown(2 * third), 0}},
        {"left slide 0", &TqxEffectBmp::MorphLeftSlide, 4, 0, {103, 1, 2, 3}, true},
        {"left slide 1", &TqxEffectBmp::MorphLeftSlide, 4, 1, {101, 102, 103, 3}, true},
        {"right slide 0.5", &TqxEffectBmp::MorphRightSlide, 4, 0.5, {0, 1, 100, 101}, true},
        {"push 0.25", &TqxEffectBmp::MorphPush, 4, 0.25, {102, 103, 0, 1}, true},
        {"push 1", &TqxEffectBmp::MorphPush, 4, 1, {100, 101, 102, 103}, true},
        {"push 0", &TqxEffectBmp::MorphPush, 4, 0, {103, 0, 1, 2}, true},
        {"push NaN",
         &TqxEffectBmp::MorphPush,
         4,
         std::numeric_limits<double>::quiet_NaN(),
         {103, 0, 1, 2},
         true},
        {"h-gradient 2", &TqxEffectBmp::MorphHGrad, 4, 2, {255, 255, 255, 255}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TqxEffectBmp old(c.Width, 2), next(c.Width, 2);
        for (Integer y = 0; y < 2; ++y)
            for (Integer x = 0; x < c.Width; ++x) {
                old.SetPixel(x, y, c.Numbered ? x : 0);
                next.SetPixel(x, y, c.Numbered ? 100 + x : 0xFFFFFF);
            }
        (old.*c.Morph)(&next, c.Kf);
        EXPECT_EQ(c.Expected, Levels(old, 0));
        EXPECT_EQ(c.Expected, Levels(old, 1));
    }
}

TEST(EffectBmp, VerticalGradient) {
    // H = 10, Kf = 0.8: b = 8, d = 0, step 0: every row new.
    const auto tall = Flat(1, 10, 0);
    tall->MorphGrad(Flat(1, 10, 255).get(), 0.8);
    EXPECT_EQ(std::vector<Integer>(10, 255), Column(*tall));
    // H = 10, Kf = 0.2: b = 2, d = 3, rows 4..6 new, then a third of the way back per row.
    const auto other = Flat(1, 10, 0);
    other->MorphVGrad(Flat(1, 10, 255).get(), 0.2);
    const double third = 1.0 / 3;
    EXPECT_EQ((std::vector<Integer>{0, Shown(1), Shown(2 * third), Shown(third), 255, 255, 255, Shown(third),
                                    Shown(2 * third), Shown(1)}),
              Column(*other));
}

TEST(EffectBmp, MorphsOfImagesOfOtherSizesChangeNothing) {
    using TMorph = void (TqxEffectBmp::*)(const TqxEffectBmp*, double);
    for (TMorph morph :
         {&TqxEffectBmp::Morph, &TqxEffectBmp::MorphGrad, &TqxEffectBmp::MorphHGrad,
          &TqxEffectBmp::MorphVGrad, &TqxEffectBmp::MorphLeftGrad, &TqxEffectBmp::MorphRightGrad,
          &TqxEffectBmp::MorphPush, &TqxEffectBmp::MorphLeftSlide, &TqxEffectBmp::MorphRightSlide}) {
        const auto image = Flat(4, 2, 7);
        (image.get()->*morph)(Flat(4, 3, 200).get(), 0.5);
        (image.get()->*morph)(nullptr, 0.5);
        EXPECT_EQ(std::vector<Integer>(4, 7), Levels(*image, 1));
    }
}

// Rectangles that reach past either image are cut to both.
TEST(EffectBmp, MorphRectAndCopyRectStayInsideBothImages) {
    const auto image = Flat(4, 2, 0);
    const auto other = Flat(3, 3, 200);
    image->MorphRect(other.get(), 1, Rect(-2, -1, 9, 9), 1, 0);
    // Column c reads other's column c + 3: no column lies in both.
    EXPECT_EQ(std::vector<Integer>(4, 0), Levels(*image, 0));
    image->MorphRect(other.get(), 0.5, Rect(1, 0, 9, 9), 0, 1);
    EXPECT_EQ((std::vector<Integer>{0, 100, 100, 100}), Levels(*image, 0));
    EXPECT_EQ((std::vector<Integer>{0, 100, 100, 100}), Levels(*image, 1));

    const auto copy = Flat(4, 2, 0);
    for (Integer x = 0; x < 3; ++x)
        other->SetPixel(x, 2, 10 + x);
    // Right and bottom are included; right is lowered to the last column.
    copy->CopyRect(other.get(), Rect(1, 0, 99, 0), 0, 2);
    EXPECT_EQ((std::vector<Integer>{0, 10, 11, 12}), Levels(*copy, 0));
    copy->CopyRect(other.get(), Rect(-1, 0, 1, 1), 0, 0);
    EXPECT_EQ((std::vector<Integer>{200, 200, 11, 12}), Levels(*copy, 0));
}

}  // namespace
