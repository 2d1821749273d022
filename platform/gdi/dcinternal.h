// The internal interface for modules that draw into device contexts on
// their own (text rendering here, window DCs in the window layer). Not for
// application code, which uses the Windows calls.
//
// Use: take GdiLock lock(GdiMutex()) for the whole call, get a DrawTarget,
// map logical positions with Offset, and write pixels only through
// FillSurfaceRect and BlendCoverage (or, where neither fits, only inside
// Clip with the row routines of surface.h). Alpha rule: whatever text or
// fills write gets alpha 0.
#pragma once

#include <cstdint>

#include "platform/gdi/gdilock.h"
#include "platform/gdi/gditypes.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"

namespace gdi {

struct DrawTarget {
    // What the DC draws on (the selected bitmap of a memory DC).
    Surface Pixels;
    // Surface position = logical position + Offset: the window and viewport
    // origins and, for window DCs, where the DC lies on its surface.
    win::POINT Offset{};
    // The surface pixels drawing may touch, in surface coordinates: the DC's
    // clip, the owner's system clip and the surface bounds together.
    PixRegion Clip;
    win::COLORREF TextColor = 0;
    win::COLORREF BkColor = 0;
    // TRANSPARENT or OPAQUE.
    int BkMode = 0;
    // TA_ flags of SetTextAlign.
    win::UINT TextAlign = 0;
    // Logical; the text calls move it under TA_UPDATECP (SetCurrentPosition).
    win::POINT CurrentPosition{};
    // The selected font and its description as CreateFontIndirectW got it.
    win::HFONT Font = nullptr;
    win::LOGFONTW LogFont{};
};

// false for anything that is not a live device context.
bool GetDrawTarget(win::HDC ADC, DrawTarget& ATarget);
bool SetCurrentPosition(win::HDC ADC, win::POINT APosition);

// ARect is in surface coordinates; only pixels inside ATarget.Clip change.
void FillSurfaceRect(const DrawTarget& ATarget, const win::RECT& ARect, win::COLORREF AColor);

// Draws AColor through a coverage mask of AWidth x AHeight bytes whose top
// left lies at surface position (X, Y): each pixel inside the clip with
// coverage c > 0 becomes pixel + (colour - pixel) x c / 255 (rounded), alpha 0.
void BlendCoverage(const DrawTarget& ATarget, int X, int Y, int AWidth, int AHeight, const uint8_t* ACoverage,
                   int ACoverageStride, win::COLORREF AColor);

// For the window layer: a DC that draws on ASurface (not a memory DC: no
// bitmap can be selected). Its owner keeps the surface current with
// SetSurfaceDCTarget (for example after the window's backing surface was
// reallocated) and places it with SetDCSystemArea: device (0, 0) lies at
// AOrigin of the surface and only surface pixels inside AClip (nullptr: all)
// are ever drawn.
win::HDC CreateSurfaceDC(const Surface& ASurface);
bool SetSurfaceDCTarget(win::HDC ADC, const Surface& ASurface);
bool SetDCSystemArea(win::HDC ADC, win::POINT AOrigin, const PixRegion* AClip);

}  // namespace gdi
