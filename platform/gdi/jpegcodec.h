// JPEG files through libjpeg: reading baseline and progressive, colour and
// greyscale; writing baseline colour at a given quality.
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/imagedata.h"

inline constexpr Integer DefaultJpegQuality = 90;

// Opaque B, G, R, A pixels. EInvalidGraphic "JPEG image is not valid (...)"
// for damaged or cut data and for colour spaces other than grey, YCbCr and RGB.
TImageData DecodeJpeg(std::span<const Byte> AData);

// AQuality 1..100 (clamped); alpha is dropped.
std::vector<Byte> EncodeJpeg(const TImageData& AImage, Integer AQuality = DefaultJpegQuality);
