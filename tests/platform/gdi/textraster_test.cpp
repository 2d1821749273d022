#include "platform/gdi/textraster.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Buffer {
    Buffer(Integer AWidth, Integer AHeight, Integer ABytes)
        : Pixels(size_t(AWidth) * AHeight * ABytes, 0xFF),
          Target{Pixels.data(), AWidth, AHeight, AWidth * ABytes, ABytes} {}
    const Byte* At(Integer AX, Integer AY) const {
        return Pixels.data() + AY * Target.Stride + AX * Target.BytesPerPixel;
    }
    bool Touched(Integer AX, Integer AY) const {
        for (Integer i = 0; i < Target.BytesPerPixel; ++i)
            if (At(AX, AY)[i] != 0xFF) return true;
        return false;
    }
    std::vector<Byte> Pixels;
    gdi::TPixelTarget Target;
};

std::shared_ptr<gdi::FontInstance> Font() {
    gdi::FontRequest request;
    request.FaceName = u"Tahoma";
    request.Height = -16;
    return gdi::FontEngine::Instance().Realize(request);
}

}  // namespace

TEST(TextRaster, GlyphsStayInsideTheClipAndClearAlpha) {
    Buffer buffer(40, 20, 4);
    const gdi::TClipBox clip[] = {{0, 0, 12, 20}, {30, 0, 40, 20}};
    gdi::DrawGlyphs(buffer.Target, clip, *Font(), u"高清", 2, 15, 0x000000FF);
    bool inside = false;
    for (Integer y = 0; y < 20; ++y)
        for (Integer x = 0; x < 40; ++x) {
            if (!buffer.Touched(x, y)) continue;
            EXPECT_TRUE(x < 12 || x >= 30) << x << "," << y;
            EXPECT_EQ(buffer.At(x, y)[3], 0);
            EXPECT_EQ(buffer.At(x, y)[2], 0xFF);  // red stays full on white for red text
            inside = true;
        }
    EXPECT_TRUE(inside);
}

TEST(TextRaster, FullCoverageWritesTheTextColour) {
    Buffer buffer(30, 24, 3);
    const gdi::TClipBox clip[] = {{0, 0, 30, 24}};
    gdi::DrawGlyphs(buffer.Target, clip, *Font(), u"I", 5, 18, 0x00336699);
    bool solid = false;
    for (Integer y = 0; y < 24; ++y)
        for (Integer x = 0; x < 30; ++x) {
            const Byte* p = buffer.At(x, y);
            if (p[0] == 0x33 && p[1] == 0x66 && p[2] == 0x99) solid = true;
        }
    EXPECT_TRUE(solid);
}

TEST(TextRaster, FillBoxIsClippedToBoxesAndSurface) {
    Buffer buffer(10, 4, 4);
    const gdi::TClipBox clip[] = {{2, 0, 20, 2}};
    gdi::FillBox(buffer.Target, clip, {-5, -5, 8, 8}, 0x00102030);
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 10; ++x) {
            const bool filled = x >= 2 && x < 8 && y < 2;
            EXPECT_EQ(buffer.Touched(x, y), filled) << x << "," << y;
            if (filled) {
                EXPECT_EQ(buffer.At(x, y)[0], 0x10);  // blue of 0x00BBGGRR
                EXPECT_EQ(buffer.At(x, y)[2], 0x30);
                EXPECT_EQ(buffer.At(x, y)[3], 0);
            }
        }
}
