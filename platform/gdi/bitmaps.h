// Bitmaps: DIB sections whose pixel memory the caller reads and writes
// directly, device bitmaps, and moving rows between DIB memory and DCs.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

// 1, 4, 8, 24 and 32 bits per pixel, BI_RGB (or BI_BITFIELDS with the
// standard 32-bit masks), DIB_RGB_COLORS, no file mapping. A negative height
// stores rows top-down. The pixel memory starts zeroed, lives as long as the
// bitmap and is where every drawing call on it writes. nullptr (and
// *ABits = nullptr) for anything else. ADC is not used.
HBITMAP CreateDIBSection(HDC ADC, const BITMAPINFO* AInfo, UINT AUsage, void** ABits, HANDLE ASection,
                         DWORD AOffset);

// A device bitmap of the screen's format (32 bits per pixel) for any valid
// DC. GetObject reports it as no DIB section, and blits from it write alpha
// 0. A zero side gives the stock 1 x 1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC ADC, int AWidth, int AHeight);

// Device bitmaps of 1 (monochrome) or 32 bits per pixel; ABits, when given,
// holds top-down rows padded to 16 bits.
HBITMAP CreateBitmap(int AWidth, int AHeight, UINT APlanes, UINT ABitCount, const void* ABits);

// Rows of a bitmap in the format AInfo asks for: 1 (black and white), 24 or
// 32 bits per pixel, its width and height (negative: top-down) those of the
// bitmap. Scan lines count in the order the rows are stored, from the first
// one. With ABits == nullptr and biBitCount 0 the header is filled with the
// bitmap's own format instead. Works on a bitmap selected into a DC too.
// Returns the number of rows copied, 0 on failure. ADC must be a valid DC.
int GetDIBits(HDC ADC, HBITMAP ABitmap, UINT AStartScan, UINT ALines, void* ABits, BITMAPINFO* AInfo,
              UINT AUsage);

// Draw DIB memory onto a DC as StretchBlt does, the pixels and format given
// by ABits and AInfo. The source position counts rows from the bottom row of
// the picture whatever its row order, so a negative height pair copies
// unmirrored. Both return the number of rows drawn, 0 on failure.
int SetDIBitsToDevice(HDC ADC, int X, int Y, DWORD AWidth, DWORD AHeight, int ASourceX, int ASourceY,
                      UINT AStartScan, UINT ALines, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage);
int StretchDIBits(HDC ADC, int X, int Y, int AWidth, int AHeight, int ASourceX, int ASourceY,
                  int ASourceWidth, int ASourceHeight, const void* ABits, const BITMAPINFO* AInfo,
                  UINT AUsage, DWORD ARop);

}  // namespace win
