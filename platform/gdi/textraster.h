// Putting text pixels on a surface: glyph coverage blended in the text
// colour, solid bars for backgrounds and lines, all inside clip boxes.
#pragma once

#include <span>
#include <string_view>

#include "platform/base/types.h"
#include "platform/gdi/fontengine.h"

namespace gdi {

// 24- or 32-bit B, G, R (, A) pixels; Stride may be negative for a
// bottom-up bitmap, Bits always points at the top row.
struct TPixelTarget {
    Byte* Bits = nullptr;
    Integer Width = 0;
    Integer Height = 0;
    Integer Stride = 0;
    Integer BytesPerPixel = 4;
};

struct TClipBox {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
};

// Blends the glyphs of AText with their pen starting at (AX, ABaseline), in
// device pixels. AColor is 0x00BBGGRR; 32-bit pixels touched get alpha 0.
void DrawGlyphs(const TPixelTarget& ATarget, std::span<const TClipBox> AClip, FontInstance& AFont,
                std::u16string_view AText, Integer AX, Integer ABaseline, Cardinal AColor);

// Fills a rectangle of device pixels with a solid colour.
void FillBox(const TPixelTarget& ATarget, std::span<const TClipBox> AClip, const TClipBox& ABox,
             Cardinal AColor);

}  // namespace gdi
