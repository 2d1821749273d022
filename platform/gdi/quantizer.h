// Colour reduction for palette formats.
#pragma once

#include <vector>

#include "platform/gdi/imagedata.h"

struct TQuantizedImage {
    std::vector<uint32_t> Palette;  // 0x00RRGGBB
    std::vector<Byte> Indices;      // one per pixel, top row first
};

// At most AMaxColors (2..256) colours, alpha ignored. A picture with that
// few colours keeps them exactly; any other gets a median-cut palette and
// Floyd–Steinberg error diffusion.
TQuantizedImage QuantizeImage(const TImageData& AImage, Integer AMaxColors = 256);
