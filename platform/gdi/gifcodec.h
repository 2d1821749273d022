// GIF files through giflib: reading the first picture of a file, writing one
// picture of at most 256 colours.
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/imagedata.h"

// The logical screen with the first picture placed on it; pixels of the
// transparent colour index and outside the picture have alpha 0 (HasAlpha
// is then set), the others 255. EInvalidGraphic "GIF image is not valid (...)"
// for damaged or cut data.
TImageData DecodeGif(std::span<const Byte> AData);

// Alpha is ignored: colours reduced by QuantizeImage, one frame, no animation.
std::vector<Byte> EncodeGif(const TImageData& AImage);
