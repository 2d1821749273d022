// Whole pictures in memory, as the picture codecs hand them over: independent
// of device contexts, so that every codec is a pure function over bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/sysutils.h"
#include "platform/base/types.h"

VELQUA_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

// Readers refuse anything larger before allocating for it: a few bytes of
// compressed data must not claim gigabytes.
inline constexpr Integer MaxImageDimension = 32767;
inline constexpr Int64 MaxImagePixels = Int64{1} << 26;

class TImageData {
public:
    TImageData() = default;
    // EInvalidGraphic when a side is negative or the picture is beyond the limits.
    TImageData(Integer AWidth, Integer AHeight);

    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    // Rows of Width pixels, B, G, R, A each, top row first, no padding.
    // Sources without alpha give A = 255.
    Byte* ScanLine(Integer ARow) { return FPixels.data() + RowOffset(ARow); }
    const Byte* ScanLine(Integer ARow) const { return FPixels.data() + RowOffset(ARow); }
    const std::vector<Byte>& Pixels() const { return FPixels; }

    // Bits per pixel of the source (1, 4, 8, 16, 24 or 32), so that a bitmap can
    // take the pixel format its file had.
    Integer BitCount = 32;
    // The source carried alpha or transparency that A holds.
    bool HasAlpha = false;
    // The colour table of a 1-, 4- or 8-bit source, 0x00RRGGBB (in memory B, G, R, 0).
    std::vector<uint32_t> Palette;

private:
    size_t RowOffset(Integer ARow) const { return static_cast<size_t>(ARow) * FWidth * 4; }

    Integer FWidth = 0;
    Integer FHeight = 0;
    std::vector<Byte> FPixels;
};

// EInvalidGraphic naming AFormat ("PNG", ...) when the size is beyond the limits.
void CheckImageSize(Int64 AWidth, Int64 AHeight, const char* AFormat);
