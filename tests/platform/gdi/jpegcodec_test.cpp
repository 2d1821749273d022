#include "platform/gdi/jpegcodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "testimages.h"

namespace {

using TBytes = std::vector<Byte>;

// Variants the codec does not write itself: greyscale and progressive.
TBytes WriteJpeg(const TImageData& AImage, bool AGrey, bool AProgressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = AImage.Width();
    info.image_height = AImage.Height();
    info.input_components = AGrey ? 1 : 4;
    info.in_color_space = AGrey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (AProgressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    TBytes grey(AImage.Width());
    for (Integer y = 0; y < AImage.Height(); ++y) {
        JSAMPROW row = const_cast<Byte*>(AImage.ScanLine(y));
        if (AGrey) {
            for (Integer x = 0; x < AImage.Width(); ++x)
                grey[x] = row[4 * x + 1];
            row = grey.data();
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    TBytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

bool HasMarker(const TBytes& AFile, Byte AMarker) {
    for (size_t i = 0; i + 1 < AFile.size(); ++i)
        if (AFile[i] == 0xFF && AFile[i + 1] == AMarker) return true;
    return false;
}

TEST(JpegCodec, RoundTripsWithinTolerance) {
    // Tiny pictures are flat: colour subsampling smears any detail finer than 2 pixels.
    struct TCase {
        const char* Name;
        TImageData Image;
        double MeanLimit;
        int MaxLimit;
    } cases[] = {
        {"1x1", MakeImage(1, 1, {0xFF3080C0}), 2, 4},
        {"3x2", MakeImage(3, 2, {0xFF3080C0, 0xFF3080C0, 0xFF3080C0, 0xFF3080C0, 0xFF3080C0, 0xFF3080C0}), 2,
         4},
        {"64x48 gradient", MakeGradient(64, 48), 2, 40}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TImageData back = DecodeJpeg(EncodeJpeg(c.Image));
        ASSERT_EQ(c.Image.Width(), back.Width());
        ASSERT_EQ(c.Image.Height(), back.Height());
        EXPECT_LE(MeanDifference(c.Image, back), c.MeanLimit);
        EXPECT_LE(MaxDifference(c.Image, back), c.MaxLimit);
        EXPECT_EQ(0xFF000000u, PixelAt(back, 0, 0) & 0xFF000000u);
        EXPECT_EQ(24, back.BitCount);
    }
}

TEST(JpegCodec, QualityTradesSizeForFidelity) {
    TImageData image = MakeNoise(32, 32);
    size_t lastSize = 0;
    double lastError = 1e9;
    for (Integer quality : {10, 50, 90, 100}) {
        SCOPED_TRACE(quality);
        TBytes file = EncodeJpeg(image, quality);
        double error = MeanDifference(image, DecodeJpeg(file));
        EXPECT_GT(file.size(), lastSize);
        EXPECT_LT(error, lastError);
        lastSize = file.size();
        lastError = error;
    }
    EXPECT_EQ(EncodeJpeg(image, 1), EncodeJpeg(image, -5));
    EXPECT_EQ(EncodeJpeg(image, 100), EncodeJpeg(image, 150));
    EXPECT_EQ(EncodeJpeg(image, 90), EncodeJpeg(image));
}

TEST(JpegCodec, WritesBaselineColour) {
    TBytes file = EncodeJpeg(MakeGradient(16, 16));
    EXPECT_TRUE(HasMarker(file, 0xC0));   // baseline frame
    EXPECT_FALSE(HasMarker(file, 0xC2));  // progressive frame
    TImageData back = DecodeJpeg(file);
    EXPECT_EQ(24, back.BitCount);
}

TEST(JpegCodec, ReadsGreyAndProgressiveFiles) {
    TImageData image = MakeGradient(24, 16);
    for (bool grey : {false, true}) {
        for (bool progressive : {false, true}) {
            SCOPED_TRACE(testing::Message() << "grey " << grey << " progressive " << progressive);
            TImageData back = DecodeJpeg(WriteJpeg(image, grey, progressive));
            ASSERT_EQ(24, back.Width());
            EXPECT_EQ(grey ? 8 : 24, back.BitCount);
            const Byte* p = back.ScanLine(5) + 4 * 7;
            if (grey) {
                EXPECT_EQ(p[0], p[1]);
                EXPECT_EQ(p[1], p[2]);
                EXPECT_NEAR(image.ScanLine(5)[4 * 7 + 1], p[1], 4);
            } else {
                EXPECT_LE(MeanDifference(image, back), 2);
            }
        }
    }
}

TEST(JpegCodec, RejectsDamagedFiles) {
    const TBytes good = EncodeJpeg(MakeNoise(32, 32));
    struct TCase {
        const char* Name;
        TBytes File;
        const char16_t* Detail;
    } cases[] = {
        {"empty", {}, u""},
        {"not a JPEG", {'B', 'M', 0, 0, 0, 0, 0, 0}, u""},
        {"cut in the middle", TBytes(good.begin(), good.begin() + good.size() / 2), u"Premature end"},
        {"header only", TBytes(good.begin(), good.begin() + 20), u""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const String message = InvalidGraphicMessage([&] { DecodeJpeg(c.File); });
        EXPECT_EQ(0u, message.find(u"JPEG image is not valid (")) << StringToUTF8(message);
        EXPECT_NE(String::npos, message.find(c.Detail)) << StringToUTF8(message);
    }
    EXPECT_THROW(EncodeJpeg(TImageData()), EInvalidGraphic);
}

}  // namespace
