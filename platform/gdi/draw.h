// Drawing primitives: fills, frames, shapes, lines and single pixels.
// Coordinates are logical; what they write follows the pen, the brush, the
// clip and the pen mode (SetROP2) of the DC. Fills, lines and pixels write
// colour with alpha 0 on 32-bit surfaces.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr UINT BDR_RAISEDOUTER = 0x0001;
inline constexpr UINT BDR_SUNKENOUTER = 0x0002;
inline constexpr UINT BDR_RAISEDINNER = 0x0004;
inline constexpr UINT BDR_SUNKENINNER = 0x0008;
inline constexpr UINT BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
inline constexpr UINT BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
inline constexpr UINT BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

inline constexpr UINT BF_LEFT = 0x0001;
inline constexpr UINT BF_TOP = 0x0002;
inline constexpr UINT BF_RIGHT = 0x0004;
inline constexpr UINT BF_BOTTOM = 0x0008;
inline constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr UINT BF_TOPRIGHT = BF_TOP | BF_RIGHT;
inline constexpr UINT BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
inline constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr UINT BF_DIAGONAL = 0x0010;
inline constexpr UINT BF_MIDDLE = 0x0800;
inline constexpr UINT BF_SOFT = 0x1000;
inline constexpr UINT BF_ADJUST = 0x2000;
inline constexpr UINT BF_FLAT = 0x4000;
inline constexpr UINT BF_MONO = 0x8000;

// ABrush may also be a system colour index + 1, as on Windows.
int FillRect(HDC ADC, const RECT* ARect, HBRUSH ABrush);
// A one-pixel frame just inside the rectangle.
int FrameRect(HDC ADC, const RECT* ARect, HBRUSH ABrush);

// The outline with the pen, the inside with the brush. Without a pen the
// filled rectangle is one pixel smaller to the right and below, as on Windows.
BOOL Rectangle(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
// The ellipse inside the rectangle (pixels by their centres).
BOOL Ellipse(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
// Closed from the last point to the first; filled by the DC's fill mode.
BOOL Polygon(HDC ADC, const POINT* APoints, int ACount);
// Lines from point to point; the last point is not drawn. The current
// position neither counts nor moves.
BOOL Polyline(HDC ADC, const POINT* APoints, int ACount);
BOOL MoveToEx(HDC ADC, int X, int Y, POINT* AOld);
// From the current position to (X, Y) without that point, which becomes the
// current position.
BOOL LineTo(HDC ADC, int X, int Y);

// A dotted frame drawn by inverting every other pixel (those whose device x
// + y is even), so that drawing it again removes it. Alpha stays.
BOOL DrawFocusRect(HDC ADC, const RECT* ARect);
// A 3-D border of the system colours: each edge one pixel, the outer one
// first; the bottom and right lines own the corners they share. BF_FLAT and
// BF_MONO draw flat borders; BF_SOFT draws as without it; BF_DIAGONAL is
// refused (FALSE). With BF_ADJUST ARect shrinks by the border drawn.
BOOL DrawEdge(HDC ADC, RECT* ARect, UINT AEdge, UINT AFlags);

// Regions are in logical coordinates.
BOOL FillRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush);
// The region's pixels within AWidth columns and AHeight rows of its edge.
BOOL FrameRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush, int AWidth, int AHeight);

// CLR_INVALID outside the visible area.
COLORREF GetPixel(HDC ADC, int X, int Y);
// Returns the colour the pixel got (the nearest the surface holds), or
// CLR_INVALID outside the visible area. The pen mode does not apply.
COLORREF SetPixel(HDC ADC, int X, int Y, COLORREF AColor);

}  // namespace win
