#include "platform/gdi/gifcodec.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "testimages.h"

namespace {

using TBytes = std::vector<Byte>;

int Append(GifFileType* AGif, const GifByteType* AData, int ALength) {
    auto* out = static_cast<TBytes*>(AGif->UserData);
    out->insert(out->end(), AData, AData + ALength);
    return ALength;
}

struct TGifFields {
    int ScreenWidth, ScreenHeight;
    int Left, Top, Width, Height;
    bool Interlaced;
    int Transparent;                      // -1: no graphic control extension
    std::vector<GifColorType> Colours;    // a power of two of them
    std::vector<std::vector<Byte>> Rows;  // in file order
};

// A GIF written through giflib's low-level calls, for what the codec never writes.
TBytes WriteGif(const TGifFields& AFields) {
    TBytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(AFields.Colours.size()), AFields.Colours.data());
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(GIF_OK, EGifPutScreenDesc(gif, AFields.ScreenWidth, AFields.ScreenHeight, 8, 0, map));
    if (AFields.Transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, AFields.Transparent};
        GifByteType block[4];
        size_t length = EGifGCBToExtension(&control, block);
        EXPECT_EQ(GIF_OK, EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block));
    }
    EXPECT_EQ(GIF_OK, EGifPutImageDesc(gif, AFields.Left, AFields.Top, AFields.Width, AFields.Height,
                                       AFields.Interlaced, nullptr));
    for (auto row : AFields.Rows)
        EXPECT_EQ(GIF_OK, EGifPutLine(gif, row.data(), AFields.Width));
    EXPECT_EQ(GIF_OK, EGifCloseFile(gif, &error));
    GifFreeMapObject(map);
    return out;
}

TEST(GifCodec, RoundTripsFewColoursExactly) {
    TImageData all(16, 16);
    for (Integer y = 0; y < 16; ++y)
        for (Integer x = 0; x < 16; ++x) {
            Byte* p = all.ScanLine(y) + 4 * x;
            p[0] = static_cast<Byte>(16 * y + x);
            p[1] = static_cast<Byte>(y);
            p[3] = 255;
        }
    struct TCase {
        const char* Name;
        TImageData Image;
    } cases[] = {
        {"1x1", MakeImage(1, 1, {0xFF102030})},
        {"3x2 of three colours",
         MakeImage(3, 2, {0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF})},
        {"256 colours", all},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TImageData back = DecodeGif(EncodeGif(c.Image));
        ASSERT_EQ(c.Image.Width(), back.Width());
        ASSERT_EQ(c.Image.Height(), back.Height());
        EXPECT_EQ(0, MaxDifference(c.Image, back, true));
        EXPECT_FALSE(back.HasAlpha);
    }
}

TEST(GifCodec, RoundTripsManyColoursWithinTolerance) {
    TImageData image = MakeGradient(64, 48);
    TImageData back = DecodeGif(EncodeGif(image));
    EXPECT_LE(MeanDifference(image, back), 4);
}

TEST(GifCodec, WritesOneStillPictureWithAGlobalColourTable) {
    TBytes file = EncodeGif(MakeImage(3, 1, {0xFF000000, 0xFF808080, 0xFFFFFFFF}));
    ASSERT_GE(file.size(), 13u);
    EXPECT_EQ("GIF8", std::string(file.begin(), file.begin() + 4));
    EXPECT_EQ(3, file[6] | file[7] << 8);
    EXPECT_EQ(1, file[8] | file[9] << 8);
    EXPECT_EQ(0x80, file[10] & 0x80);  // global colour table
    EXPECT_EQ(1, file[10] & 7);        // of 4 entries
    int pictures = 0;
    for (size_t pos = 13 + 3 * 4; pos < file.size() && file[pos] != 0x3B;) {
        ASSERT_EQ(0x2C, file[pos]) << "only picture records";
        ++pictures;
        pos += 10 + 1;  // descriptor, code size
        while (pos < file.size() && file[pos] != 0)
            pos += 1 + file[pos];
        ++pos;
    }
    EXPECT_EQ(1, pictures);
    EXPECT_EQ(0x3B, file.back());
    EXPECT_THROW(EncodeGif(TImageData()), EInvalidGraphic);
}

TEST(GifCodec, ReadsTransparencyInterlacingAndPlacement) {
    // A 2x5 interlaced picture at (1, 1) of a 4x6 screen; rows stored 0, 4, 2, 1, 3.
    const std::vector<GifColorType> colours = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    TGifFields fields{4, 6, 1, 1, 2, 5, true, 1, colours, {{0, 0}, {3, 3}, {2, 2}, {1, 2}, {0, 3}}};
    TImageData image = DecodeGif(WriteGif(fields));
    ASSERT_EQ(4, image.Width());
    ASSERT_EQ(6, image.Height());
    EXPECT_TRUE(image.HasAlpha);
    const uint32_t none = 0, black = 0xFF000000, green = 0xFF00FF00, blue = 0xFF0000FF;
    const uint32_t expected[6][4] = {
        {none, none, none, none},   {none, black, black, none}, {none, none, green, none},
        {none, green, green, none}, {none, black, blue, none},  {none, blue, blue, none},
    };
    for (Integer y = 0; y < 6; ++y)
        for (Integer x = 0; x < 4; ++x)
            EXPECT_EQ(expected[y][x], PixelAt(image, x, y)) << x << "," << y;
}

TEST(GifCodec, RejectsDamagedFiles) {
    const TBytes good = EncodeGif(MakeNoise(20, 20));
    TBytes noPicture = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    // Two pixels, valid LZW data, but no colour table anywhere.
    TBytes noColours = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0,    0,    0, 0x2C, 0,
                        0,   0,   0,   2,   0,   1,   0, 0, 2, 2, 0x44, 0x0A, 0, 0x3B};
    struct TCase {
        const char* Name;
        TBytes File;
    } cases[] = {
        {"empty", {}},
        {"not a GIF", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"cut in the picture", TBytes(good.begin(), good.begin() + good.size() / 2)},
        {"screen only", TBytes(good.begin(), good.begin() + 13)},
        {"no picture", noPicture},
        {"no colour table", noColours},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const String message = InvalidGraphicMessage([&] { DecodeGif(c.File); });
        EXPECT_EQ(0u, message.find(u"GIF image is not valid (")) << StringToUTF8(message);
    }
}

}  // namespace
