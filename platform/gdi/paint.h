// Filling regions of a surface with a colour, plain or through a binary
// raster operation (the pen modes). Regions are in surface coordinates and
// already inside the surface.
#pragma once

#include "platform/gdi/gditypes.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"

namespace gdi {

// The value a colour takes on the surface: alpha 0, the nearest palette
// colour where there is a palette.
Pixel SolidPixel(const Surface& ASurface, win::COLORREF AColor);

void FillRegion(const Surface& ASurface, const PixRegion& ARegion, Pixel APixel);

// R2_ operation of APen on ADest, bitwise over all 32 bits (the pen's alpha is 0).
Pixel Rop2(Pixel APen, Pixel ADest, int ARop2);
void FillRegionRop2(const Surface& ASurface, const PixRegion& ARegion, Pixel APen, int ARop2);

}  // namespace gdi
