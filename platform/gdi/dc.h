// Device contexts: memory DCs, the objects selected into a DC, its origins,
// clip, colours and modes, SaveDC/RestoreDC, and the device capabilities.
//
// Mapping is MM_TEXT: device = logical - window origin + viewport origin.
// The clip region is kept in device coordinates, as Windows keeps it, so
// changing an origin later does not move it.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Binary raster operations of pens and of brushes in filled shapes.
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// Every mode samples the nearest source pixel; the mode is kept for callers.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
inline constexpr int STRETCH_ORSCANS = WHITEONBLACK;
inline constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
inline constexpr int STRETCH_HALFTONE = HALFTONE;

inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;

// Kept per DC for the text calls.
inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr UINT GDI_ERROR = 0xFFFFFFFF;

inline const HGDIOBJ HGDI_ERROR = reinterpret_cast<HGDIOBJ>(intptr_t(-1));

// GetDeviceCaps indexes.
inline constexpr int TECHNOLOGY = 2;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int NUMCOLORS = 24;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int DT_RASDISPLAY = 1;

// A memory DC with the stock 1 x 1 monochrome bitmap, white brush, black pen
// and system font selected. AReference, when given, must be a valid DC.
HDC CreateCompatibleDC(HDC AReference);
// "DISPLAY" only: a DC of the screen's format, for calls that only need a
// reference DC (GetDIBits); it draws on nothing until a bitmap is selected.
HDC CreateDCW(const WCHAR* ADriver, const WCHAR* ADevice, const WCHAR* AOutput, const void* AInitData);
// Deselects everything, so the objects it held can be deleted.
BOOL DeleteDC(HDC ADC);

// Returns the object it replaces, nullptr on failure. A bitmap goes only into
// a memory DC and only into one DC at a time. A region becomes the clip
// (as SelectClipRgn) and the region type comes back as the handle value.
HGDIOBJ SelectObject(HDC ADC, HGDIOBJ AObject);
// AType is OBJ_PEN, OBJ_BRUSH, OBJ_FONT or OBJ_BITMAP.
HGDIOBJ GetCurrentObject(HDC ADC, UINT AType);

// Returns the new depth, 0 on failure.
int SaveDC(HDC ADC);
// ASavedDC > 0: the state SaveDC returned that number for; < 0: that many
// states back. Later saved states are dropped.
BOOL RestoreDC(HDC ADC, int ASavedDC);

BOOL SetWindowOrgEx(HDC ADC, int X, int Y, POINT* AOld);
BOOL GetWindowOrgEx(HDC ADC, POINT* AOrigin);
BOOL OffsetWindowOrgEx(HDC ADC, int ADx, int ADy, POINT* AOld);
BOOL SetViewportOrgEx(HDC ADC, int X, int Y, POINT* AOld);
BOOL GetViewportOrgEx(HDC ADC, POINT* AOrigin);
BOOL OffsetViewportOrgEx(HDC ADC, int ADx, int ADy, POINT* AOld);

// The clip calls return the type of the visible region that results, ERROR
// for an invalid DC.
int IntersectClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
int ExcludeClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
// The region is in device coordinates and copied; nullptr removes the clip.
int SelectClipRgn(HDC ADC, HRGN ARegion);
// AMode is an RGN_ mode; RGN_COPY with nullptr removes the clip.
int ExtSelectClipRgn(HDC ADC, HRGN ARegion, int AMode);
// The logical bounds of what can be drawn on.
int GetClipBox(HDC ADC, RECT* ARect);
// 1 and a copy of the clip in ARegion, 0 without a clip, -1 on error.
int GetClipRgn(HDC ADC, HRGN ARegion);

// The setters return the previous value: CLR_INVALID or 0 on failure.
COLORREF SetTextColor(HDC ADC, COLORREF AColor);
COLORREF GetTextColor(HDC ADC);
COLORREF SetBkColor(HDC ADC, COLORREF AColor);
COLORREF GetBkColor(HDC ADC);
int SetBkMode(HDC ADC, int AMode);
int GetBkMode(HDC ADC);
int SetROP2(HDC ADC, int AMode);
int GetROP2(HDC ADC);
int SetStretchBltMode(HDC ADC, int AMode);
int GetStretchBltMode(HDC ADC);
int SetPolyFillMode(HDC ADC, int AMode);
int GetPolyFillMode(HDC ADC);
UINT SetTextAlign(HDC ADC, UINT AAlign);
UINT GetTextAlign(HDC ADC);
BOOL GetCurrentPositionEx(HDC ADC, POINT* APoint);

// The screen's capabilities (capabilities.h), for every DC.
int GetDeviceCaps(HDC ADC, int AIndex);

}  // namespace win
