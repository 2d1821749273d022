// PNG files through libpng: reading colour types 0, 2, 3, 4 and 6 at any bit
// depth, interlaced or not, with tRNS transparency; writing true colour with
// or without alpha.
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/imagedata.h"

enum TPngColorType : Byte {
    COLOR_GRAYSCALE = 0,
    COLOR_RGB = 2,
    COLOR_PALETTE = 3,
    COLOR_GRAYSCALEALPHA = 4,
    COLOR_RGBALPHA = 6,
};

// What the file said about itself beyond its pixels.
struct TPngHeader {
    TPngColorType ColorType = COLOR_RGB;
    Byte BitDepth = 8;
    // A tRNS chunk made one colour transparent (grey and true colour), or a
    // palette entry fully transparent (the first such entry is named).
    bool HasTransparentColor = false;
    uint32_t TransparentColor = 0;  // 0x00RRGGBB
};

// Pixels come as 8-bit B, G, R, A; alpha holds the alpha channel or the tRNS
// transparency, 255 elsewhere, and HasAlpha says whether there was either.
// EInvalidGraphic "PNG image is not valid (...)" for damaged or cut data.
TImageData DecodePng(std::span<const Byte> AData, TPngHeader* AHeader = nullptr);

// Colour type 6 when AWithAlpha, else 2; ATransparentColor (0x00RRGGBB)
// adds a tRNS chunk to a type 2 file. Deflate level 7, every row filtered
// with Sub, no interlacing, image data chunks of at most 65,535 bytes.
std::vector<Byte> EncodePng(const TImageData& AImage, bool AWithAlpha,
                            const uint32_t* ATransparentColor = nullptr);
