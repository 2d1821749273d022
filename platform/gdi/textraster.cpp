#include "platform/gdi/textraster.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/codepoint.h"

namespace gdi {

namespace {

TClipBox Intersect(const TClipBox& A, const TClipBox& B) {
    return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
}

bool IsEmpty(const TClipBox& ABox) {
    return ABox.Left >= ABox.Right || ABox.Top >= ABox.Bottom;
}

Byte* PixelAt(const TPixelTarget& ATarget, Integer AX, Integer AY) {
    return ATarget.Bits + std::ptrdiff_t(AY) * ATarget.Stride + std::ptrdiff_t(AX) * ATarget.BytesPerPixel;
}

struct TRgb {
    Byte B, G, R;
};

TRgb Split(Cardinal AColor) {
    return {Byte(AColor >> 16), Byte(AColor >> 8), Byte(AColor)};
}

Byte Mix(Byte ADest, Byte ASource, Integer ACoverage) {
    return Byte(ADest + ((Integer(ASource) - ADest) * ACoverage + (ASource >= ADest ? 127 : -127)) / 255);
}

}  // namespace

void DrawGlyphs(const TPixelTarget& ATarget, std::span<const TClipBox> AClip, FontInstance& AFont,
                std::u16string_view AText, Integer AX, Integer ABaseline, Cardinal AColor) {
    // Far outside any surface, and the box arithmetic below stays in range.
    if (!ATarget.Bits || AText.empty() || ABaseline < INT32_MIN / 2 || ABaseline > INT32_MAX / 2) return;
    const TClipBox surface{0, 0, ATarget.Width, ATarget.Height};
    const TRgb colour = Split(AColor);
    std::vector<Integer> advances(AText.size());
    AFont.Advances(AText, advances.data());
    Int64 pen = AX;
    for (size_t i = 0; i < AText.size();) {
        size_t length = 1;
        const char32_t code = CodePointAt(AText, i, length);
        const GlyphImage& glyph = AFont.Glyph(code);
        if (!glyph.Coverage.empty() && pen > INT32_MIN / 2 && pen < INT32_MAX / 2) {
            const TClipBox box{Integer(pen) + glyph.Left, ABaseline - glyph.Top,
                               Integer(pen) + glyph.Left + glyph.Width, ABaseline - glyph.Top + glyph.Height};
            for (const TClipBox& clip : AClip) {
                const TClipBox part = Intersect(Intersect(box, clip), surface);
                if (IsEmpty(part)) continue;
                for (Integer y = part.Top; y < part.Bottom; ++y) {
                    const Byte* coverage = glyph.Coverage.data() + size_t(y - box.Top) * glyph.Width;
                    Byte* pixel = PixelAt(ATarget, part.Left, y);
                    for (Integer x = part.Left; x < part.Right; ++x, pixel += ATarget.BytesPerPixel) {
                        const Integer c = coverage[x - box.Left];
                        if (c == 0) continue;
                        pixel[0] = Mix(pixel[0], colour.B, c);
                        pixel[1] = Mix(pixel[1], colour.G, c);
                        pixel[2] = Mix(pixel[2], colour.R, c);
                        if (ATarget.BytesPerPixel == 4) pixel[3] = 0;
                    }
                }
            }
        }
        pen += advances[i];
        i += length;
    }
}

void FillBox(const TPixelTarget& ATarget, std::span<const TClipBox> AClip, const TClipBox& ABox,
             Cardinal AColor) {
    if (!ATarget.Bits) return;
    const TClipBox surface{0, 0, ATarget.Width, ATarget.Height};
    const TRgb colour = Split(AColor);
    for (const TClipBox& clip : AClip) {
        const TClipBox part = Intersect(Intersect(ABox, clip), surface);
        if (IsEmpty(part)) continue;
        for (Integer y = part.Top; y < part.Bottom; ++y) {
            Byte* pixel = PixelAt(ATarget, part.Left, y);
            for (Integer x = part.Left; x < part.Right; ++x, pixel += ATarget.BytesPerPixel) {
                pixel[0] = colour.B;
                pixel[1] = colour.G;
                pixel[2] = colour.R;
                if (ATarget.BytesPerPixel == 4) pixel[3] = 0;
            }
        }
    }
}

}  // namespace gdi
