#include "platform/gdi/bmpcodec.h"

#include <gtest/gtest.h>

#include "testimages.h"

namespace {

// A bitmap file assembled field by field, so that every variant a writer may
// produce can be made.
struct TBmpFields {
    uint32_t InfoSize = 40;
    Integer Width = 0;
    Integer Height = 0;  // negative: top-down
    uint32_t BitCount = 24;
    uint32_t Compression = 0;
    std::vector<uint32_t> Masks;  // after a 40-byte header, inside a larger one
    std::vector<uint32_t> Palette;
    uint32_t ClrUsed = 0;
    std::vector<std::vector<Byte>> Rows;  // in file order, without padding
    bool PadLastRow = true;
};

void Put(std::vector<Byte>& AOut, size_t APos, uint32_t AValue, int ABytes) {
    if (AOut.size() < APos + ABytes) AOut.resize(APos + ABytes);
    for (int i = 0; i < ABytes; ++i)
        AOut[APos + i] = static_cast<Byte>(AValue >> (8 * i));
}

std::vector<Byte> BuildBmp(const TBmpFields& AFields) {
    std::vector<Byte> out(14 + AFields.InfoSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put(out, 14, AFields.InfoSize, 4);
    if (AFields.InfoSize == 12) {
        Put(out, 18, AFields.Width, 2);
        Put(out, 20, AFields.Height, 2);
        Put(out, 22, 1, 2);
        Put(out, 24, AFields.BitCount, 2);
    } else {
        Put(out, 18, AFields.Width, 4);
        Put(out, 22, static_cast<uint32_t>(AFields.Height), 4);
        Put(out, 26, 1, 2);
        Put(out, 28, AFields.BitCount, 2);
        Put(out, 30, AFields.Compression, 4);
        Put(out, 46, AFields.ClrUsed, 4);
        for (size_t i = 0; i < AFields.Masks.size(); ++i)
            Put(out, 54 + 4 * i, AFields.Masks[i], 4);
    }
    for (uint32_t entry : AFields.Palette)
        Put(out, out.size(), entry, AFields.InfoSize == 12 ? 3 : 4);
    Put(out, 10, static_cast<uint32_t>(out.size()), 4);
    size_t stride = (static_cast<size_t>(AFields.Width) * AFields.BitCount + 31) / 32 * 4;
    for (size_t r = 0; r < AFields.Rows.size(); ++r) {
        std::vector<Byte> row = AFields.Rows[r];
        if (AFields.PadLastRow || r + 1 < AFields.Rows.size()) row.resize(stride, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    Put(out, 2, static_cast<uint32_t>(out.size()), 4);
    return out;
}

uint32_t Field(const std::vector<Byte>& AData, size_t APos, int ABytes) {
    uint32_t value = 0;
    for (int i = ABytes - 1; i >= 0; --i)
        value = value << 8 | AData[APos + i];
    return value;
}

TEST(BmpCodec, WritesBottomUpFilesWithPaddedRows) {
    struct TCase {
        Integer Width, Height, BitCount;
        size_t Stride;
    } cases[] = {{1, 1, 24, 4},  {3, 2, 24, 12}, {4, 1, 24, 12},
                 {5, 3, 24, 16}, {1, 1, 32, 4},  {3, 2, 32, 12}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << "x" << c.BitCount);
        TImageData image = MakeGradient(c.Width, c.Height, true);
        std::vector<Byte> file = EncodeBmp(image, c.BitCount);
        const size_t imageSize = c.Stride * c.Height;
        ASSERT_EQ(54 + imageSize, file.size());
        EXPECT_EQ('B', file[0]);
        EXPECT_EQ('M', file[1]);
        EXPECT_EQ(file.size(), Field(file, 2, 4));
        EXPECT_EQ(54u, Field(file, 10, 4));
        EXPECT_EQ(40u, Field(file, 14, 4));
        EXPECT_EQ(static_cast<uint32_t>(c.Width), Field(file, 18, 4));
        EXPECT_EQ(static_cast<uint32_t>(c.Height), Field(file, 22, 4));
        EXPECT_EQ(1u, Field(file, 26, 2));
        EXPECT_EQ(static_cast<uint32_t>(c.BitCount), Field(file, 28, 2));
        EXPECT_EQ(0u, Field(file, 30, 4));
        EXPECT_EQ(imageSize, Field(file, 34, 4));
        // The first stored row is the bottom one; padding is zero.
        const Byte* bottom = image.ScanLine(c.Height - 1);
        EXPECT_EQ(bottom[0], file[54]);
        EXPECT_EQ(bottom[2], file[56]);
        const size_t used = static_cast<size_t>(c.Width) * c.BitCount / 8;
        for (size_t i = used; i < c.Stride; ++i)
            EXPECT_EQ(0, file[54 + i]);
    }
}

TEST(BmpCodec, RoundTripsExactly) {
    for (Integer bits : {24, 32}) {
        for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {5, 4}, {31, 7}}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << "x" << bits);
            TImageData image = MakeGradient(w, h, true);
            TImageData back = DecodeBmp(EncodeBmp(image, bits));
            ASSERT_EQ(w, back.Width());
            ASSERT_EQ(h, back.Height());
            EXPECT_EQ(bits, back.BitCount);
            EXPECT_EQ(bits == 32, back.HasAlpha);
            EXPECT_EQ(0, MaxDifference(image, back, bits == 32));
            if (bits == 24) {
                EXPECT_EQ(0xFF000000u, PixelAt(back, 0, 0) & 0xFF000000u);
            }
        }
    }
}

TEST(BmpCodec, EmptyPictureRoundTrips) {
    TImageData back = DecodeBmp(EncodeBmp(TImageData(), 24));
    EXPECT_TRUE(back.Empty());
}

TEST(BmpCodec, WritesOnlyTwentyFourAndThirtyTwoBits) {
    EXPECT_THROW(EncodeBmp(MakeGradient(2, 2), 16), EInvalidGraphic);
}

TEST(BmpCodec, ReadsPaletteFormats) {
    const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};
    struct TCase {
        uint32_t BitCount;
        Integer Width;
        std::vector<Byte> Row;  // the top row; the bottom row is index 1 everywhere
        std::vector<uint32_t> Expected;
    } cases[] = {
        {1, 10, {0b10110000, 0b01000000}, {1, 0, 1, 1, 0, 0, 0, 0, 0, 1}},
        {4, 3, {0x24, 0x30}, {2, 4, 3}},
        {8, 3, {4, 0, 2}, {4, 0, 2}},
    };
    for (const TCase& c : cases) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.BitCount << " bits, top-down " << topDown);
            std::vector<Byte> ones = c.BitCount == 1   ? std::vector<Byte>{0xFF, 0xFF}
                                     : c.BitCount == 4 ? std::vector<Byte>{0x11, 0x11}
                                                       : std::vector<Byte>{1, 1, 1};
            TBmpFields fields;
            fields.Width = c.Width;
            fields.Height = topDown ? -2 : 2;
            fields.BitCount = c.BitCount;
            fields.Palette.assign(palette.begin(), palette.begin() + (c.BitCount == 1 ? 2 : 5));
            fields.ClrUsed = static_cast<uint32_t>(fields.Palette.size());
            fields.Rows = topDown ? std::vector{c.Row, ones} : std::vector{ones, c.Row};
            TImageData image = DecodeBmp(BuildBmp(fields));
            ASSERT_EQ(c.Width, image.Width());
            EXPECT_EQ(static_cast<Integer>(c.BitCount), image.BitCount);
            EXPECT_EQ(fields.Palette, image.Palette);
            EXPECT_FALSE(image.HasAlpha);
            for (Integer x = 0; x < c.Width; ++x) {
                EXPECT_EQ(0xFF000000 | palette[c.Expected[x]], PixelAt(image, x, 0)) << "x " << x;
                EXPECT_EQ(0xFFFFFFFFu, PixelAt(image, x, 1)) << "x " << x;
            }
        }
    }
}

TEST(BmpCodec, ReadsSixteenAndThirtyTwoBitsWithMasks) {
    struct TCase {
        const char* Name;
        uint32_t InfoSize, BitCount, Compression;
        std::vector<uint32_t> Masks;
        std::vector<Byte> Row;
        std::vector<uint32_t> Expected;
        bool HasAlpha;
    } cases[] = {
        {"555 by default", 40, 16, 0, {}, {0x00, 0x7C, 0x10, 0x42}, {0xFFFF0000, 0xFF848484}, false},
        {"565 fields",
         40,
         16,
         3,
         {0xF800, 0x07E0, 0x001F},
         {0xE0, 0x07, 0x41, 0x08},
         {0xFF00FF00, 0xFF080808},
         false},
        {"32 fields without alpha",
         40,
         32,
         3,
         {0xFF0000, 0xFF00, 0xFF},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {0xFF030201, 0xFF070605},
         false},
        {"32 fields with alpha",
         40,
         32,
         6,
         {0xFF00, 0xFF0000, 0xFF000000, 0xFF},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {0x01020304, 0x05060708},
         true},
        {"fields inside a large header",
         124,
         32,
         3,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {0x04030201, 0x08070605},
         true},
        {"plain 32 keeps all four bytes",
         40,
         32,
         0,
         {},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {0x04030201, 0x08070605},
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBmpFields fields;
        fields.InfoSize = c.InfoSize;
        fields.Width = 2;
        fields.Height = 1;
        fields.BitCount = c.BitCount;
        fields.Compression = c.Compression;
        fields.Masks = c.Masks;
        fields.Rows = {c.Row};
        TImageData image = DecodeBmp(BuildBmp(fields));
        EXPECT_EQ(c.Expected[0], PixelAt(image, 0, 0));
        EXPECT_EQ(c.Expected[1], PixelAt(image, 1, 0));
        EXPECT_EQ(c.HasAlpha, image.HasAlpha);
        EXPECT_EQ(static_cast<Integer>(c.BitCount), image.BitCount);
    }
}

TEST(BmpCodec, ReadsCoreHeaders) {
    TBmpFields fields;
    fields.InfoSize = 12;
    fields.Width = 2;
    fields.Height = 1;
    fields.BitCount = 8;
    fields.Palette = {0x123456, 0xABCDEF};
    fields.Rows = {{1, 0}};
    TImageData image = DecodeBmp(BuildBmp(fields));
    EXPECT_EQ(0xFFABCDEFu, PixelAt(image, 0, 0));
    EXPECT_EQ(0xFF123456u, PixelAt(image, 1, 0));
}

TEST(BmpCodec, ToleratesCommonWriterSlips) {
    // A colour count beyond the room before the pixels, an index beyond the
    // table, and a last row without its padding.
    TBmpFields fields;
    fields.Width = 3;
    fields.Height = 1;
    fields.BitCount = 8;
    fields.Palette = {0x112233, 0x445566};
    fields.ClrUsed = 200;
    fields.Rows = {{1, 0, 7}};
    fields.PadLastRow = false;
    TImageData image = DecodeBmp(BuildBmp(fields));
    EXPECT_EQ(2u, image.Palette.size());
    EXPECT_EQ(0xFF445566u, PixelAt(image, 0, 0));
    EXPECT_EQ(0xFF112233u, PixelAt(image, 1, 0));
    EXPECT_EQ(0xFF000000u, PixelAt(image, 2, 0));
}

TEST(BmpCodec, RejectsDamagedFiles) {
    const std::vector<Byte> good = EncodeBmp(MakeGradient(3, 2), 24);
    auto with = [&](size_t APos, uint32_t AValue, int ABytes) {
        std::vector<Byte> file = good;
        Put(file, APos, AValue, ABytes);
        return file;
    };
    struct TCase {
        const char* Name;
        std::vector<Byte> File;
        const char16_t* Message;
    } cases[] = {
        {"empty", {}, u"Bitmap image is not valid"},
        {"magic only", {'B', 'M'}, u"Bitmap image is not valid"},
        {"wrong magic", with(0, 'X', 1), u"Bitmap image is not valid"},
        {"cut in the info header", std::vector<Byte>(good.begin(), good.begin() + 30),
         u"Bitmap image is not valid"},
        {"cut in the pixels", std::vector<Byte>(good.begin(), good.end() - 4), u"Bitmap image is not valid"},
        {"odd bit count", with(28, 7, 2), u"Bitmap image is not valid"},
        {"run-length compressed", with(30, 1, 4), u"Bitmap image is not valid"},
        {"bit fields at 24 bits", with(30, 3, 4), u"Bitmap image is not valid"},
        {"unknown header size", with(14, 20, 4), u"Bitmap image is not valid"},
        {"negative width", with(18, 0xFFFFFFFD, 4), u"Bitmap image is not valid"},
        {"lowest height", with(22, 0x80000000, 4), u"Bitmap image is not valid"},
        {"pixels inside the headers", with(10, 20, 4), u"Bitmap image is not valid"},
        {"huge", with(18, 40000, 4), u"Bitmap image is too large (40000 x 2)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const String message = InvalidGraphicMessage([&] { DecodeBmp(c.File); });
        EXPECT_EQ(String(c.Message), message);
    }
}

TEST(BmpCodec, FileLengthComesFromTheHeaders) {
    const std::vector<Byte> file = EncodeBmp(MakeGradient(3, 2), 24);
    const std::span<const Byte> head(file.data(), BmpProbeSize);
    EXPECT_EQ(file.size(), BmpFileLength(head, file.size() + 100));
    std::vector<Byte> noSize = file;
    Put(noSize, 2, 0, 4);
    EXPECT_EQ(file.size(), BmpFileLength(std::span(noSize.data(), BmpProbeSize), file.size() + 100));
    std::vector<Byte> bigSize = file;
    Put(bigSize, 2, 1000000, 4);
    EXPECT_EQ(file.size() + 10, BmpFileLength(std::span(bigSize.data(), BmpProbeSize), file.size() + 10));
    EXPECT_THROW(BmpFileLength(std::span(file.data(), 10), file.size()), EInvalidGraphic);
}

}  // namespace
