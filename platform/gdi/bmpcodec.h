// Windows bitmap files: reading 1, 4, 8, 16, 24 and 32 bits per pixel
// (uncompressed or with bit-field masks), bottom-up or top-down; writing
// uncompressed 24- and 32-bit bottom-up files.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/gdi/imagedata.h"

// The headers BmpFileLength reads: the file header and the start of the info header.
inline constexpr size_t BmpProbeSize = 34;

// How many of the AAvailable bytes of a stream belong to the bitmap file that
// starts there, from its own headers, so that a reader consumes exactly one
// file: bfSize, but at least the end of the pixel data and at most AAvailable.
// AHead holds the first BmpProbeSize bytes, or all there are when fewer.
// EInvalidGraphic "Bitmap image is not valid" when they are not a bitmap's.
size_t BmpFileLength(std::span<const Byte> AHead, size_t AAvailable);

// The pixels (width times height) the headers in AHead state, before any of
// them is read; AHead as for BmpFileLength, and the same error.
Int64 BmpPixelCount(std::span<const Byte> AHead);

// EInvalidGraphic "Bitmap image is not valid" for anything but a whole,
// supported bitmap file; trailing bytes are ignored.
TImageData DecodeBmp(std::span<const Byte> AData);

// ABitCount is 24 or 32; at 32 the alpha bytes are written as they are.
std::vector<Byte> EncodeBmp(const TImageData& AImage, Integer ABitCount);
