#include "platform/gdi/pngcodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "pngfiles.h"
#include "testimages.h"

namespace {

struct TChunk {
    std::string Type;
    TBytes Data;
};

std::vector<TChunk> Chunks(const TBytes& AFile) {
    std::vector<TChunk> chunks;
    for (size_t pos = 8; pos + 12 <= AFile.size();) {
        uint32_t length = GetBE(&AFile[pos]);
        chunks.push_back({std::string(AFile.begin() + pos + 4, AFile.begin() + pos + 8),
                          TBytes(AFile.begin() + pos + 8, AFile.begin() + pos + 8 + length)});
        pos += 12 + length;
    }
    return chunks;
}

TEST(PngCodec, ReadsEveryColourTypeAndDepth) {
    struct TCase {
        const char* Name;
        TPngFields Fields;
        std::vector<uint32_t> Expected;  // 0xAARRGGBB
        bool HasAlpha;
        Integer BitCount;
    } cases[] = {
        {"grey 1 bit",
         {10, 1, 1, 0, false, {{0b10100000, 0b01000000}}},
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFF000000, 0xFFFFFFFF},
         false,
         1},
        {"grey 2 bits",
         {4, 1, 2, 0, false, {{0b00011011}}},
         {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF},
         false,
         2},
        {"grey 4 bits", {3, 1, 4, 0, false, {{0x0F, 0x80}}}, {0xFF000000, 0xFFFFFFFF, 0xFF888888}, false, 4},
        {"grey 16 bits",
         {2, 1, 16, 0, false, {{0x80, 0x80, 0xFF, 0xFF}}},
         {0xFF808080, 0xFFFFFFFF},
         false,
         16},
        {"grey with a transparent value",
         {2, 1, 8, 0, false, {{0x40, 0x41}}, {}, {0x00, 0x40}},
         {0x00404040, 0xFF414141},
         true,
         8},
        {"true colour", {2, 1, 8, 2, false, {{1, 2, 3, 4, 5, 6}}}, {0xFF010203, 0xFF040506}, false, 24},
        {"true colour 16 bits",
         {1, 1, 16, 2, false, {{0xFF, 0xFF, 0x80, 0x80, 0, 0}}},
         {0xFFFF8000},
         false,
         48},
        {"true colour with a transparent colour",
         {2, 1, 8, 2, false, {{1, 2, 3, 4, 5, 6}}, {}, {0, 4, 0, 5, 0, 6}},
         {0xFF010203, 0x00040506},
         true,
         24},
        {"palette",
         {3, 1, 4, 3, false, {{0x21, 0x00}}, {10, 20, 30, 40, 50, 60, 70, 80, 90}},
         {0xFF46505A, 0xFF28323C, 0xFF0A141E},
         false,
         4},
        {"palette with transparency",
         {3, 1, 8, 3, false, {{0, 1, 2}}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {255, 0, 128}},
         {0xFF0A141E, 0x0028323C, 0x8046505A},
         true,
         8},
        {"grey with alpha",
         {2, 1, 8, 4, false, {{0x10, 0x20, 0x30, 0xFF}}},
         {0x20101010, 0xFF303030},
         true,
         16},
        {"true colour with alpha", {1, 1, 8, 6, false, {{1, 2, 3, 4}}}, {0x04010203}, true, 32},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPngHeader header;
        TImageData image = DecodePng(BuildPng(c.Fields), &header);
        ASSERT_EQ(static_cast<Integer>(c.Expected.size()), image.Width());
        for (Integer x = 0; x < image.Width(); ++x)
            EXPECT_EQ(c.Expected[x], PixelAt(image, x, 0)) << "x " << x;
        EXPECT_EQ(c.HasAlpha, image.HasAlpha);
        EXPECT_EQ(c.BitCount, image.BitCount);
        EXPECT_EQ(c.Fields.ColorType, header.ColorType);
        EXPECT_EQ(c.Fields.BitDepth, header.BitDepth);
    }
}

TEST(PngCodec, ReportsTheTransparentColour) {
    struct TCase {
        const char* Name;
        TPngFields Fields;
        bool Has;
        uint32_t Colour;
    } cases[] = {
        {"grey", {1, 1, 8, 0, false, {{0x40}}, {}, {0x00, 0x40}}, true, 0x404040},
        {"grey 4 bits", {1, 1, 4, 0, false, {{0x10}}, {}, {0x00, 0x01}}, true, 0x111111},
        {"true colour 16 bits",
         {1, 1, 16, 2, false, {{0, 0, 0, 0, 0, 0}}, {}, {0xAB, 0xCD, 0x12, 0x34, 0, 0}},
         true,
         0xAB1200},
        {"first fully transparent palette entry",
         {1, 1, 8, 3, false, {{0}}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {128, 0, 0}},
         true,
         0x040506},
        {"palette with partial alpha only", {1, 1, 8, 3, false, {{0}}, {1, 2, 3}, {128}}, false, 0},
        {"no tRNS", {1, 1, 8, 2, false, {{0, 0, 0}}}, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPngHeader header;
        DecodePng(BuildPng(c.Fields), &header);
        EXPECT_EQ(c.Has, header.HasTransparentColor);
        EXPECT_EQ(c.Colour, header.TransparentColor);
    }
}

// Adam7 passes of an 8-bit true-colour picture, as scanlines.
std::vector<TBytes> Adam7(const TImageData& AImage) {
    static constexpr int x0[] = {0, 4, 0, 2, 0, 1, 0}, dx[] = {8, 8, 4, 4, 2, 2, 1};
    static constexpr int y0[] = {0, 0, 4, 0, 2, 0, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
    std::vector<TBytes> lines;
    for (int pass = 0; pass < 7; ++pass) {
        for (int y = y0[pass]; y < AImage.Height(); y += dy[pass]) {
            TBytes line;
            for (int x = x0[pass]; x < AImage.Width(); x += dx[pass]) {
                const Byte* p = AImage.ScanLine(y) + 4 * x;
                line.insert(line.end(), {p[2], p[1], p[0]});
            }
            if (!line.empty()) lines.push_back(line);
        }
    }
    return lines;
}

TEST(PngCodec, ReadsInterlacedFiles) {
    TImageData expected = MakeGradient(5, 5);
    TPngFields fields{5, 5, 8, 2, true, Adam7(expected)};
    TImageData image = DecodePng(BuildPng(fields));
    EXPECT_EQ(0, MaxDifference(expected, image, true));
}

TEST(PngCodec, RoundTripsExactly) {
    for (bool alpha : {false, true}) {
        for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {17, 5}}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " alpha " << alpha);
            TImageData image = MakeGradient(w, h, alpha);
            TPngHeader header;
            TImageData back = DecodePng(EncodePng(image, alpha), &header);
            EXPECT_EQ(alpha ? COLOR_RGBALPHA : COLOR_RGB, header.ColorType);
            EXPECT_EQ(8, header.BitDepth);
            EXPECT_EQ(alpha, back.HasAlpha);
            EXPECT_EQ(0, MaxDifference(image, back, true));
        }
    }
}

TEST(PngCodec, WritesSubFilteredLevelSevenChunksOfAtMost65535Bytes) {
    TImageData image = MakeNoise(300, 300);
    TBytes file = EncodePng(image, false);
    std::vector<TChunk> chunks = Chunks(file);
    ASSERT_EQ("IHDR", chunks.front().Type);
    EXPECT_EQ(8, chunks.front().Data[8]);   // bit depth
    EXPECT_EQ(2, chunks.front().Data[9]);   // colour type
    EXPECT_EQ(0, chunks.front().Data[12]);  // not interlaced
    EXPECT_EQ("IEND", chunks.back().Type);
    TBytes stream;
    int idats = 0;
    for (const TChunk& chunk : chunks) {
        if (chunk.Type != "IDAT") continue;
        ++idats;
        EXPECT_LE(chunk.Data.size(), 65535u);
        stream.insert(stream.end(), chunk.Data.begin(), chunk.Data.end());
    }
    EXPECT_GT(idats, 1);
    // zlib's header names the level class: 0xDA is levels 7 to 9.
    EXPECT_EQ(0x78, stream[0]);
    EXPECT_EQ(0xDA, stream[1]);
    const size_t rowSize = 1 + 3 * 300;
    uLongf size = rowSize * 300;
    TBytes raw(size);
    ASSERT_EQ(Z_OK, uncompress(raw.data(), &size, stream.data(), static_cast<uLong>(stream.size())));
    ASSERT_EQ(rowSize * 300, size);
    for (size_t row = 0; row < 300; ++row)
        ASSERT_EQ(1, raw[row * rowSize]) << "row " << row;
}

TEST(PngCodec, WritesATransparentColour) {
    TImageData image = MakeImage(2, 1, {0xFF102030, 0xFF405060});
    const uint32_t transparent = 0x405060;
    TPngHeader header;
    TImageData back = DecodePng(EncodePng(image, false, &transparent), &header);
    EXPECT_TRUE(header.HasTransparentColor);
    EXPECT_EQ(transparent, header.TransparentColor);
    EXPECT_EQ(0xFF102030u, PixelAt(back, 0, 0));
    EXPECT_EQ(0x00405060u, PixelAt(back, 1, 0));
}

TEST(PngCodec, RefusesToWriteAnEmptyPicture) {
    EXPECT_THROW(EncodePng(TImageData(), false), EInvalidGraphic);
}

TEST(PngCodec, RejectsDamagedFiles) {
    const TBytes good = EncodePng(MakeNoise(40, 40), true);
    TBytes badCrc = good;
    badCrc[29] ^= 1;  // the IHDR checksum
    TPngFields huge{40000, 1, 8, 0, false, {TBytes(40000, 0)}};
    TPngFields wide{20000, 20000, 1, 0, false, {}};
    struct TCase {
        const char* Name;
        TBytes File;
    } cases[] = {
        {"empty", {}},
        {"not a PNG", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}},
        {"signature only", TBytes(good.begin(), good.begin() + 8)},
        {"cut in the image data", TBytes(good.begin(), good.begin() + good.size() / 2)},
        {"damaged header", badCrc},
        {"wider than the limit", BuildPng(huge)},
        {"more pixels than the limit", BuildPng(wide)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const String message = InvalidGraphicMessage([&] { DecodePng(c.File); });
        EXPECT_EQ(0u, message.find(u"PNG image is ")) << StringToUTF8(message);
    }
}

}  // namespace
