// Drawing primitives: fills, frames, shapes, lines and single pixels.
// Coordinates are logical; what they write follows the pen, the brush, the
// clip and the pen mode (SetROP2) of the DC. Fills, lines and pixels write
// colour with alpha 0 on 32-bit surfaces.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

// ABrush may also be a system colour index + 1, as on Windows.
int FillRect(HDC ADC, const RECT* ARect, HBRUSH ABrush);

// CLR_INVALID outside the visible area.
COLORREF GetPixel(HDC ADC, int X, int Y);
// Returns the colour the pixel got (the nearest the surface holds), or
// CLR_INVALID outside the visible area. The pen mode does not apply.
COLORREF SetPixel(HDC ADC, int X, int Y, COLORREF AColor);

}  // namespace win
