// Pixel memory as the drawing code sees it, whatever holds it (a DIB
// section, a device bitmap or a window's backing surface), and the row
// conversions between its format and 32-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gditypes.h"

namespace gdi {

// In memory B, G, R, A: blue in the low byte, alpha in the high one.
using Pixel = uint32_t;

inline constexpr Pixel ColorMask = 0x00FFFFFF;
inline constexpr Pixel AlphaMask = 0xFF000000;

constexpr Pixel ColorToPixel(win::COLORREF AColor) {
    return ((AColor & 0xFF) << 16) | (AColor & 0xFF00) | ((AColor >> 16) & 0xFF);
}
constexpr win::COLORREF PixelToColor(Pixel APixel) {
    return ((APixel & 0xFF) << 16) | (APixel & 0xFF00) | ((APixel >> 16) & 0xFF);
}

struct Surface {
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    // Bytes from one stored row to the next.
    int Stride = 0;
    // 1, 4, 8, 24 or 32.
    int BitsPerPixel = 32;
    bool TopDown = true;
    // The fourth byte of a 32-bit pixel is alpha (DIB sections). Elsewhere it
    // reads as 0, so blits from such sources write alpha 0.
    bool HasAlpha = false;
    // A monochrome device bitmap: drawn onto colour as the destination's text
    // colour (0 bits) and background colour (1 bits).
    bool Monochrome = false;
    // Colours of the indexes of a 1-, 4- or 8-bit surface.
    const win::RGBQUAD* Palette = nullptr;
    int PaletteSize = 0;

    bool Valid() const { return Bits != nullptr && Width > 0 && Height > 0; }
    // Row Y counted from the top of the picture.
    uint8_t* Row(int Y) const { return Bits + ptrdiff_t(TopDown ? Y : Height - 1 - Y) * Stride; }
    Pixel* Row32(int Y) const { return reinterpret_cast<Pixel*>(Row(Y)); }
    win::RECT Bounds() const { return {0, 0, Width, Height}; }
};

// Rows hold a whole number of 32-bit words, as DIBs do.
constexpr int DibStride(int AWidth, int ABitsPerPixel) {
    return int(((int64_t(AWidth) * ABitsPerPixel + 31) / 32) * 4);
}

// Pixels X .. X + ACount - 1 of row Y, which must lie inside the surface.
void FetchRow(const Surface& ASurface, int X, int Y, int ACount, Pixel* AOut);
void StoreRow(const Surface& ASurface, int X, int Y, int ACount, const Pixel* AIn);
Pixel ReadPixel(const Surface& ASurface, int X, int Y);
void WritePixel(const Surface& ASurface, int X, int Y, Pixel APixel);

// The value the surface would hold after storing APixel: the nearest palette
// colour on 1-, 4- and 8-bit surfaces, alpha 0 where the surface has none.
Pixel NearestPixel(const Surface& ASurface, Pixel APixel);

}  // namespace gdi
