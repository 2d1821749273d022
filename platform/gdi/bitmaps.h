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

}  // namespace win
