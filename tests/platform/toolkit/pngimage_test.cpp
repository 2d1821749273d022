#include "platform/toolkit/pngimage.h"

#include <gtest/gtest.h>

#include "picturestreams.h"

#include "tests/platform/gdi/pngfiles.h"

namespace {

TEST(PngImage, ReadsTheColourTypeAndItsTransparency) {
    const TBytes palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    struct TCase {
        const char* Name;
        TPngFields Fields;
        TPNGTransparencyMode Mode;
        TColor TransparentColour;
        bool HasAlphaChannel;
    } cases[] = {
        {"true colour", {1, 1, 8, 2, false, {{1, 2, 3}}}, ptmNone, clNone, false},
        {"true colour with a transparent colour",
         {1, 1, 8, 2, false, {{1, 2, 3}}, {}, {0, 1, 0, 2, 0, 3}},
         ptmBit,
         0x030201,
         false},
        {"grey", {1, 1, 8, 0, false, {{7}}}, ptmNone, clNone, false},
        {"palette with one transparent entry",
         {2, 1, 8, 3, false, {{0, 1}}, palette, {0, 255}},
         ptmBit,
         0x1E140A,
         false},
        {"palette with partial alpha",
         {2, 1, 8, 3, false, {{0, 1}}, palette, {128, 255}},
         ptmPartial,
         clNone,
         false},
        {"palette with two transparent colours",
         {2, 1, 8, 3, false, {{0, 1}}, palette, {0, 0}},
         ptmPartial,
         clNone,
         false},
        {"grey with alpha", {1, 1, 8, 4, false, {{7, 9}}}, ptmPartial, clNone, true},
        {"true colour with alpha", {1, 1, 8, 6, false, {{1, 2, 3, 4}}}, ptmPartial, clNone, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPngImage png;
        Load(png, BuildPng(c.Fields));
        EXPECT_EQ(c.Fields.ColorType, png.Header().ColorType);
        EXPECT_EQ(c.Mode, png.TransparencyMode());
        EXPECT_EQ(c.Mode != ptmNone, png.Transparent());
        EXPECT_EQ(c.TransparentColour, png.TransparentColor());
        EXPECT_EQ(c.HasAlphaChannel, png.AlphaScanline(0) != nullptr);
    }
}

TEST(PngImage, RoundTripsPixelsAndAlphaExactly) {
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 3, 2);
    EXPECT_EQ(ptmPartial, png.TransparencyMode());
    for (Integer y = 0; y < 2; ++y) {
        Byte* alpha = png.AlphaScanline(y);
        ASSERT_NE(nullptr, alpha);
        for (Integer x = 0; x < 3; ++x) {
            EXPECT_EQ(0, alpha[x]);
            png.SetPixels(x, y, static_cast<TColor>(0x102030 * (x + 1) + y));
            alpha[x] = static_cast<Byte>(100 * y + 40 * x);
        }
    }
    TPngImage back;
    Load(back, Saved(png));
    EXPECT_EQ(COLOR_RGBALPHA, back.Header().ColorType);
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 3; ++x) {
            EXPECT_EQ(static_cast<TColor>(0x102030 * (x + 1) + y), back.Pixels(x, y));
            EXPECT_EQ(100 * y + 40 * x, back.AlphaScanline(y)[x]);
        }
    EXPECT_EQ(clNone, back.Pixels(3, 0));
}

TEST(PngImage, ATransparentColourSurvivesSaving) {
    TPngImage png;
    png.CreateBlank(COLOR_RGB, 8, 2, 1);
    EXPECT_EQ(ptmNone, png.TransparencyMode());
    png.SetPixels(1, 0, clRed);
    png.SetTransparentColor(clRed);
    TPngImage back;
    Load(back, Saved(png));
    EXPECT_EQ(COLOR_RGB, back.Header().ColorType);
    EXPECT_EQ(ptmBit, back.TransparencyMode());
    EXPECT_EQ(clRed, back.TransparentColor());
    back.RemoveTransparency();
    EXPECT_EQ(ptmNone, back.TransparencyMode());
    EXPECT_EQ(clNone, back.TransparentColor());
}

TEST(PngImage, CreateAlphaKeepsTheTransparencyThereWas) {
    const TBytes palette = {10, 20, 30, 40, 50, 60};
    struct TCase {
        const char* Name;
        TPngFields Fields;
        TPngColorType NewType;
        std::vector<Byte> Alpha;
    } cases[] = {
        {"true colour", {2, 1, 8, 2, false, {{1, 2, 3, 4, 5, 6}}}, COLOR_RGBALPHA, {255, 255}},
        {"true colour with a transparent colour",
         {2, 1, 8, 2, false, {{1, 2, 3, 4, 5, 6}}, {}, {0, 4, 0, 5, 0, 6}},
         COLOR_RGBALPHA,
         {255, 0}},
        {"grey", {2, 1, 8, 0, false, {{1, 2}}}, COLOR_GRAYSCALEALPHA, {255, 255}},
        {"palette with partial alpha",
         {2, 1, 8, 3, false, {{0, 1}}, palette, {255, 77}},
         COLOR_RGBALPHA,
         {255, 77}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPngImage png;
        Load(png, BuildPng(c.Fields));
        png.CreateAlpha();
        EXPECT_EQ(c.NewType, png.Header().ColorType);
        EXPECT_EQ(ptmPartial, png.TransparencyMode());
        Byte* alpha = png.AlphaScanline(0);
        ASSERT_NE(nullptr, alpha);
        EXPECT_EQ(c.Alpha, std::vector<Byte>(alpha, alpha + 2));
    }
}

TEST(PngImage, DrawsWithItsAlpha) {
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 3, 1);
    for (Integer x = 0; x < 3; ++x)
        png.SetPixels(x, 0, clBlack);
    Byte* alpha = png.AlphaScanline(0);
    alpha[0] = 0;
    alpha[1] = 255;
    alpha[2] = 128;
    TBitmap target;
    WhiteTarget(target, 6, 1)->Canvas()->Draw(0, 0, &png);
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clBlack, target.Canvas()->Pixels(1, 0));
    EXPECT_EQ(0x7F7F7F, target.Canvas()->Pixels(2, 0));
    // Writing through the alpha scan line shows at the next draw.
    png.AlphaScanline(0)[0] = 255;
    target.Canvas()->StretchDraw(Rect(3, 0, 6, 1), &png);
    EXPECT_EQ(clBlack, target.Canvas()->Pixels(3, 0));
}

TEST(PngImage, TransparentColourPixelsAreNotDrawn) {
    TPngImage png;
    png.CreateBlank(COLOR_RGB, 8, 2, 1);
    png.SetPixels(0, 0, clRed);
    png.SetTransparentColor(clBlack);
    TBitmap target;
    WhiteTarget(target, 2, 1)->Canvas()->Draw(0, 0, &png);
    EXPECT_EQ(clRed, target.Canvas()->Pixels(0, 0));
    EXPECT_EQ(clWhite, target.Canvas()->Pixels(1, 0));
}

TEST(PngImage, BitmapsGoInAndOut) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(2, 1);
    bitmap.Canvas()->SetPixels(0, 0, clBlue);
    bitmap.Canvas()->SetPixels(1, 0, clLime);
    bitmap.SetTransparentColor(clLime);
    bitmap.SetTransparent(true);
    TPngImage png;
    png.Assign(&bitmap);
    EXPECT_EQ(COLOR_RGB, png.Header().ColorType);
    EXPECT_EQ(clBlue, png.Pixels(0, 0));
    EXPECT_EQ(ptmBit, png.TransparencyMode());
    EXPECT_EQ(clLime, png.TransparentColor());
    TBitmap opaque;
    opaque.Assign(&png);
    EXPECT_EQ(pf24bit, opaque.PixelFormat());
    EXPECT_TRUE(opaque.Transparent());
    EXPECT_EQ(clLime, opaque.TransparentColor());
    png.CreateAlpha();
    TBitmap withAlpha;
    withAlpha.Assign(&png);
    EXPECT_EQ(pf32bit, withAlpha.PixelFormat());
    EXPECT_EQ(255, static_cast<Byte*>(withAlpha.ScanLine(0))[3]);
    EXPECT_EQ(0, static_cast<Byte*>(withAlpha.ScanLine(0))[7]);
    TPngImage copy;
    copy.Assign(&png);
    EXPECT_EQ(COLOR_RGBALPHA, copy.Header().ColorType);
    EXPECT_EQ(0, copy.AlphaScanline(0)[1]);
}

TEST(PngImage, RefusesWhatItCannotDo) {
    TPngImage png;
    EXPECT_THROW(png.CreateBlank(COLOR_PALETTE, 8, 2, 2), EInvalidGraphicOperation);
    EXPECT_THROW(png.CreateBlank(COLOR_RGB, 16, 2, 2), EInvalidGraphicOperation);
    EXPECT_THROW(png.SetWidth(4), EInvalidGraphicOperation);
    EXPECT_THROW(Saved(png), EInvalidGraphic);
    png.CreateBlank(COLOR_RGB, 8, 2, 2);
    EXPECT_THROW(png.AlphaScanline(2), EInvalidGraphic);
    EXPECT_THROW(Load(png, {1, 2, 3}), EInvalidGraphic);
    EXPECT_EQ(2, png.Width());
}

}  // namespace
