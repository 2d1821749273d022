#include "platform/gdi/quantizer.h"

#include <gtest/gtest.h>

#include <set>

#include "testimages.h"

namespace {

uint32_t RGBAt(const TImageData& AImage, Integer AX, Integer AY) {
    return PixelAt(AImage, AX, AY) & 0xFFFFFF;
}

TEST(Quantizer, KeepsFewColoursExactly) {
    TImageData sixteenBySixteen(16, 16);
    for (Integer y = 0; y < 16; ++y)
        for (Integer x = 0; x < 16; ++x)
            sixteenBySixteen.ScanLine(y)[4 * x] = static_cast<Byte>(16 * y + x);
    struct TCase {
        const char* Name;
        TImageData Image;
        Integer MaxColors;
        size_t Colours;
    } cases[] = {
        {"three colours",
         MakeImage(3, 2, {0xFF0000FF, 0xFF00FF00, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}), 256, 3},
        {"two of two", MakeImage(2, 1, {0xFF000000, 0xFFFFFFFF}), 2, 2},
        {"alpha ignored", MakeImage(2, 1, {0x00123456, 0xFF123456}), 256, 1},
        {"all 256", sixteenBySixteen, 256, 256},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TQuantizedImage q = QuantizeImage(c.Image, c.MaxColors);
        ASSERT_EQ(c.Colours, q.Palette.size());
        for (Integer y = 0; y < c.Image.Height(); ++y)
            for (Integer x = 0; x < c.Image.Width(); ++x)
                EXPECT_EQ(RGBAt(c.Image, x, y), q.Palette[q.Indices[y * c.Image.Width() + x]]);
    }
}

TEST(Quantizer, ReducesManyColoursToTheLimit) {
    TImageData image = MakeNoise(64, 64);
    for (Integer limit : {2, 16, 256, 1000}) {
        SCOPED_TRACE(limit);
        TQuantizedImage q = QuantizeImage(image, limit);
        EXPECT_EQ(static_cast<size_t>(std::min(limit, 256)), q.Palette.size());
        ASSERT_EQ(64u * 64, q.Indices.size());
        for (Byte index : q.Indices)
            ASSERT_LT(index, q.Palette.size());
    }
}

TEST(Quantizer, DiffusesTheErrorSoThatAreasKeepTheirBrightness) {
    // A grey ramp in four colours: mapping each pixel to its nearest colour
    // would leave whole bands up to an eighth of the range off. The outer
    // bands lie beyond the darkest and lightest colour, out of reach.
    TImageData ramp(256, 16);
    for (Integer y = 0; y < 16; ++y)
        for (Integer x = 0; x < 256; ++x)
            std::fill_n(ramp.ScanLine(y) + 4 * x, 3, static_cast<Byte>(x));
    TQuantizedImage q = QuantizeImage(ramp, 4);
    ASSERT_EQ(4u, q.Palette.size());
    for (Integer band = 2; band < 14; ++band) {
        double wanted = 0, got = 0;
        std::set<Byte> used;
        for (Integer y = 0; y < 16; ++y) {
            for (Integer x = 16 * band; x < 16 * band + 16; ++x) {
                wanted += x;
                Byte index = q.Indices[y * 256 + x];
                got += q.Palette[index] & 0xFF;
                used.insert(index);
            }
        }
        EXPECT_NEAR(wanted / 256, got / 256, 6) << "band " << band;
        EXPECT_GT(used.size(), 1u) << "band " << band;
    }
}

}  // namespace
