#include "platform/toolkit/jpegimage.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picturestreams.h"

namespace {

// A smooth picture JPEG keeps well.
void Paint(TBitmap& ABitmap) {
    ABitmap.SetPixelFormat(pf24bit);
    ABitmap.SetSize(32, 16);
    for (Integer y = 0; y < 16; ++y) {
        auto* row = static_cast<Byte*>(ABitmap.ScanLine(y));
        for (Integer x = 0; x < 32; ++x) {
            row[3 * x] = static_cast<Byte>(8 * x);
            row[3 * x + 1] = static_cast<Byte>(16 * y);
            row[3 * x + 2] = 128;
        }
    }
}

TEST(JPEGImage, TakesABitmapAndGivesItBackWithinTolerance) {
    TBitmap bitmap;
    Paint(bitmap);
    TJPEGImage jpeg;
    EXPECT_EQ(90, jpeg.CompressionQuality());
    jpeg.Assign(&bitmap);
    EXPECT_EQ(32, jpeg.Width());
    EXPECT_EQ(16, jpeg.Height());
    EXPECT_FALSE(jpeg.Transparent());
    TJPEGImage loaded;
    Load(loaded, Saved(jpeg));
    TBitmap back;
    back.Assign(&loaded);
    EXPECT_EQ(pf24bit, back.PixelFormat());
    ASSERT_EQ(32, back.Width());
    int worst = 0;
    for (Integer y = 0; y < 16; ++y)
        for (Integer i = 0; i < 96; ++i)
            worst = std::max(worst, std::abs(static_cast<Byte*>(bitmap.ScanLine(y))[i] -
                                             static_cast<Byte*>(back.ScanLine(y))[i]));
    EXPECT_LE(worst, 24);
}

TEST(JPEGImage, SavesTheFileItReadUntilSomethingChanges) {
    TBitmap bitmap;
    Paint(bitmap);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetCompressionQuality(50);
    const std::vector<Byte> file = Saved(jpeg);
    TJPEGImage loaded;
    Load(loaded, file);
    EXPECT_EQ(file, Saved(loaded));
    loaded.SetCompressionQuality(100);
    EXPECT_GT(Saved(loaded).size(), file.size());
    TJPEGImage copy;
    copy.Assign(&loaded);
    EXPECT_EQ(Saved(loaded), Saved(copy));
}

TEST(JPEGImage, QualityStaysWithinRange) {
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(0);
    EXPECT_EQ(1, jpeg.CompressionQuality());
    jpeg.SetCompressionQuality(101);
    EXPECT_EQ(100, jpeg.CompressionQuality());
}

TEST(JPEGImage, SizeComesFromThePixelsOnly) {
    TJPEGImage jpeg;
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_THROW(jpeg.SetWidth(3), EInvalidGraphicOperation);
    EXPECT_THROW(jpeg.SetHeight(3), EInvalidGraphicOperation);
    EXPECT_THROW(Saved(jpeg), EInvalidGraphic);
}

TEST(JPEGImage, DrawsOntoACanvas) {
    TBitmap bitmap;
    Paint(bitmap);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(64, 32);
    target.Canvas()->StretchDraw(Rect(0, 0, 64, 32), &jpeg);
    const TColor c = target.Canvas()->Pixels(63, 31);
    EXPECT_NEAR(248, c >> 16 & 0xFF, 12);
    EXPECT_NEAR(240, c >> 8 & 0xFF, 12);
    EXPECT_NEAR(128, c & 0xFF, 12);
}

TEST(JPEGImage, RejectsDamagedFilesAndKeepsItsPicture) {
    TBitmap bitmap;
    Paint(bitmap);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    EXPECT_THROW(Load(jpeg, {0xFF, 0xD8, 0xFF, 0x00}), EInvalidGraphic);
    EXPECT_EQ(32, jpeg.Width());
}

}  // namespace
