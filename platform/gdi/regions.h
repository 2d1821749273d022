// Regions: sets of pixels made of rectangles, behind HRGN. Right and bottom
// edges of every rectangle given lie outside the region. They are deleted
// with DeleteObject.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

struct XFORM {
    float eM11 = 1;
    float eM12 = 0;
    float eM21 = 0;
    float eM22 = 1;
    float eDx = 0;
    float eDy = 0;
};

// The corners may come in any order.
HRGN CreateRectRgn(int ALeft, int ATop, int ARight, int ABottom);
HRGN CreateRectRgnIndirect(const RECT* ARect);
// Corners rounded by quarters of an AWidth x AHeight ellipse.
HRGN CreateRoundRectRgn(int ALeft, int ATop, int ARight, int ABottom, int AWidth, int AHeight);
// RDH_RECTANGLES data of ACount bytes: a header of dwSize bytes, then nCount
// rectangles. Only AXform == nullptr is supported.
HRGN ExtCreateRegion(const XFORM* AXform, DWORD ACount, const RGNDATA* AData);

// ADest may be one of the sources; ASource2 is not used by RGN_COPY. Returns
// NULLREGION, SIMPLEREGION or COMPLEXREGION for ADest, ERROR on failure.
int CombineRgn(HRGN ADest, HRGN ASource1, HRGN ASource2, int AMode);
int OffsetRgn(HRGN ARegion, int ADx, int ADy);
BOOL PtInRegion(HRGN ARegion, int X, int Y);
// TRUE when any pixel of the rectangle is in the region.
BOOL RectInRegion(HRGN ARegion, const RECT* ARect);
// An empty region gives (0, 0, 0, 0).
int GetRgnBox(HRGN ARegion, RECT* ARect);
// The bytes needed when AData is nullptr; else ACount when that is enough
// (the header, then the rectangles in rows from the top), 0 otherwise.
DWORD GetRegionData(HRGN ARegion, DWORD ACount, RGNDATA* AData);
BOOL EqualRgn(HRGN ARegion1, HRGN ARegion2);

}  // namespace win
