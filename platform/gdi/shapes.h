// Pixel geometry of the primitives: which pixels a line, an ellipse or a
// polygon covers, as rectangles that make a region. Pixels count by their
// centres; lines include their start and exclude their end.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gditypes.h"
#include "platform/gdi/pixregion.h"

namespace gdi {

// One row per rectangle: the pixels of a rectangle with corners cut by
// quarters of an AWidth x AHeight ellipse (the whole ellipse when those are
// the rectangle's size), symmetric left to right and top to bottom. Only rows
// AFirstRow .. ALastRow - 1 are made.
std::vector<win::RECT> RoundRectRows(const win::RECT& ARect, int AWidth, int AHeight,
                                     int AFirstRow = INT32_MIN, int ALastRow = INT32_MAX);

// Adds the pixels of the line from A to B, without B, that lie in ABounds.
// Where the line passes exactly between two pixels it takes the one farther
// from A.
void AddLine(std::vector<win::RECT>& ABoxes, win::POINT A, win::POINT B, const win::RECT& ABounds);

// The rows of pixels inside a polygon (closed from its last point to its
// first) under the alternate or winding rule, limited to ABounds.
std::vector<win::RECT> PolygonRows(const win::POINT* APoints, int ACount, bool AWinding,
                                   const win::RECT& ABounds);

// The pixels of ARegion within AWidth columns or AHeight rows of its edge:
// those whose AWidth x AHeight neighbourhood (each side) is not all inside.
PixRegion Border(const PixRegion& ARegion, int AWidth, int AHeight);
// The thin outline of a shape: its pixels with a left, right, upper or
// lower neighbour outside.
PixRegion Outline(const PixRegion& ARegion);

}  // namespace gdi
