#include "platform/gdi/icocodec.h"

#include <gtest/gtest.h>

#include "picturefiles.h"

namespace {

using namespace picturefiles;

uint32_t Bgra(const TImageData& AImage, Integer X, Integer Y) {
    const Byte* p = AImage.ScanLine(Y) + 4 * X;
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

constexpr uint32_t OpaqueRed = 0xFFFF0000;
constexpr uint32_t HalfBlue = 0x800000FF;

TEST(IcoCodec, TheLargestPictureWinsWhateverItsKind) {
    struct TCase {
        const char* Name;
        std::vector<TIconPicture> Pictures;
        std::pair<Integer, Integer> Size;
        uint32_t Corner;  // the bottom-right pixel
    };
    const TImageData red16 = Filled(16, 16, OpaqueRed), blue32 = Filled(32, 32, HalfBlue);
    const TCase cases[] = {
        {"bitmap then larger PNG",
         {{16, 16, 24, IconDib(red16, 24)}, {32, 32, 32, IconPng(blue32)}},
         {32, 32},
         HalfBlue},
        {"PNG then larger bitmap",
         {{16, 16, 32, IconPng(red16)}, {32, 32, 32, IconDib(blue32, 32)}},
         {32, 32},
         HalfBlue},
        // Of two of one size, the deeper one.
        {"same size, deeper second",
         {{16, 16, 24, IconDib(red16, 24)}, {16, 16, 32, IconPng(Filled(16, 16, HalfBlue))}},
         {16, 16},
         HalfBlue},
        // 0 in the directory stands for 256.
        {"256 written as 0",
         {{16, 16, 32, IconPng(red16)}, {256, 256, 32, IconPng(Filled(256, 256, HalfBlue))}},
         {256, 256},
         HalfBlue},
    };
    for (const TCase& c : cases) {
        const TImageData image = DecodeIco(IcoFile(c.Pictures));
        EXPECT_EQ(std::make_pair(image.Width(), image.Height()), c.Size) << c.Name;
        EXPECT_TRUE(image.HasAlpha) << c.Name;
        EXPECT_EQ(Bgra(image, image.Width() - 1, image.Height() - 1), c.Corner) << c.Name;
    }
}

TEST(IcoCodec, ABitmapWithoutAlphaTakesItsTransparencyFromTheMask) {
    // The left 5 columns are masked out; 32 bits with every alpha 0 count as none.
    for (Integer bits : {24, 32}) {
        SCOPED_TRACE(bits);
        const TImageData image =
            DecodeIco(IcoFile({{20, 10, bits, IconDib(Filled(20, 10, 0x00FF0000), bits, 5)}}));
        ASSERT_EQ(std::make_pair(image.Width(), image.Height()), std::make_pair(20, 10));
        for (Integer y : {0, 9}) {
            EXPECT_EQ(image.ScanLine(y)[4 * 4 + 3], 0);
            EXPECT_EQ(Bgra(image, 5, y), OpaqueRed);
            EXPECT_EQ(Bgra(image, 19, y), OpaqueRed);
        }
    }
    // A 32-bit picture with alpha keeps its own and ignores the mask.
    const TImageData own = DecodeIco(IcoFile({{8, 8, 32, IconDib(Filled(8, 8, HalfBlue), 32, 8)}}));
    EXPECT_EQ(Bgra(own, 0, 0), HalfBlue);
}

TEST(IcoCodec, DamagedFilesAreRefused) {
    const std::vector<Byte> whole = IcoFile({{16, 16, 32, IconPng(Filled(16, 16, OpaqueRed))}});
    std::vector<Byte> cursor = whole;
    cursor[2] = 2;
    std::vector<Byte> farOffset = whole;
    farOffset[6 + 12] = 0xF0;
    std::vector<Byte> noPictures = whole;
    noPictures[4] = 0;
    std::vector<Byte> oddHeight = IcoFile({{4, 4, 24, IconDib(Filled(4, 4, OpaqueRed), 24)}});
    oddHeight[6 + 16 + 8] = 7;
    std::vector<Byte> notAPicture = IcoFile({{4, 4, 24, std::vector<Byte>(60, 'x')}});
    const std::vector<Byte> cut(whole.begin(), whole.end() - 10);
    for (const auto& [name, bytes] :
         std::vector<std::pair<const char*, std::vector<Byte>>>{{"empty", {}},
                                                                {"cursor", cursor},
                                                                {"picture past the end", farOffset},
                                                                {"no pictures", noPictures},
                                                                {"odd bitmap height", oddHeight},
                                                                {"neither PNG nor bitmap", notAPicture},
                                                                {"cut short", cut}}) {
        try {
            DecodeIco(bytes);
            ADD_FAILURE() << name;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), u"Icon image is not valid") << name;
        }
    }
}

}  // namespace
