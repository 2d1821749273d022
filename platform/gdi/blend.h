// The pixel rows of AlphaBlend.
#pragma once

#include <cstdint>

#include "platform/gdi/surface.h"

namespace gdi {

// With ASourceAlpha, premultiplied source over destination: s' = s x A / 255
// (every channel, alpha too), d = s' + d (255 - s'.a) / 255, saturated.
// Without it a constant mix: d = (s A + d (255 - A)) / 255. Each division is
// rounded to nearest.
void BlendRow(Pixel* ADest, const Pixel* ASource, int ACount, uint8_t AConstantAlpha, bool ASourceAlpha);

}  // namespace gdi
