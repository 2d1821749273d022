// Window regions of shaped skinned windows from black-and-white mask
// pictures (black = inside), whole or resized by the mask's border strips,
// and the 24-bit row-addressed copy of a bitmap they scan.
#pragma once

#include <vector>

#include "platform/gdi/gditypes.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/geometry.h"

// One pixel of a TqxFBitmap row.
struct TFBColor {
    Byte b;
    Byte g;
    Byte r;
};
using PBLine = TFBColor*;
using PPLines = PBLine*;

// A 24-bit top-down DIB section holding a copy of a bitmap's pixels, with
// a row table for direct access and its own memory DC.
class TqxFBitmap {
public:
    // Copies HBmp's pixels through a screen DC. A handle that is no bitmap,
    // or a section the system refuses, raises an Exception.
    explicit TqxFBitmap(win::HBITMAP HBmp);
    ~TqxFBitmap();
    TqxFBitmap(const TqxFBitmap&) = delete;
    TqxFBitmap& operator=(const TqxFBitmap&) = delete;

    void* Bits = nullptr;
    // Entry y points at the first pixel of row y, the top row first.
    PPLines Pixels = nullptr;
    // Filler bytes at each row's end: Width mod 4.
    Integer Gap = 0;
    // 3 x Width + Gap, a multiple of 4.
    Integer RowInc = 0;
    Integer Size = 0;
    Integer Width = 0;
    Integer Height = 0;
    win::HBITMAP Handle = nullptr;
    win::HDC hDC = nullptr;
    win::BITMAPINFO bmInfo{};
    win::BITMAPINFOHEADER bmHeader{};

private:
    std::vector<PBLine> FLines;
};

// RGNDATA for the black pixels of AMask offset by (X, Y): one rectangle per
// run of black pixels in a row, rows from the top, bound (X, Y, X + width,
// Y + height). Returns the size in bytes, which AData then holds: 0 for an
// empty mask (AData left empty), 32 for a mask without black.
Integer CreateMaskRegionData(TBitmap* AMask, Integer X, Integer Y, std::vector<Byte>& AData);
// The region of a whole mask at (0, 0); nullptr for an empty mask.
void CreateMaskRegion(win::HRGN& ARegion, TBitmap* AMask);
// The region of a shaped control resized to AWidth x AHeight: NewClRect
// united with the black pixels of the mask's border strips (cut with every
// edge tiled) placed around it. nullptr when the control is smaller than
// its fixed corners or NewClRect has no pixels. The caller owns the region.
void CreateResizedMaskRegion(win::HRGN& ARegion, const TPoint& LTPoint, const TPoint& RTPoint,
                             const TPoint& LBPoint, const TPoint& RBPoint, const TRect& ClRect,
                             const TPoint& NewLTPoint, const TPoint& NewRTPoint, const TPoint& NewLBPoint,
                             const TPoint& NewRBPoint, const TRect& NewClRect, TBitmap* AMask, Integer AWidth,
                             Integer AHeight);
