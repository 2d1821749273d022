// Drawing objects: pens, brushes, fonts, stock objects, and the calls that
// work on any object handle.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

inline constexpr DWORD OBJ_PEN = 1;
inline constexpr DWORD OBJ_BRUSH = 2;
inline constexpr DWORD OBJ_DC = 3;
inline constexpr DWORD OBJ_FONT = 6;
inline constexpr DWORD OBJ_BITMAP = 7;
inline constexpr DWORD OBJ_REGION = 8;
inline constexpr DWORD OBJ_MEMDC = 10;

// nullptr for an index without a stock object.
HGDIOBJ GetStockObject(int AIndex);

// FALSE for an invalid handle and for an object still selected into a device
// context (also through a state kept by SaveDC); stock objects stay and give TRUE.
BOOL DeleteObject(HGDIOBJ AObject);

// Copies the object's description (BITMAP or DIBSECTION, LOGPEN, LOGBRUSH,
// LOGFONTW) and returns the bytes written, or the bytes needed when ABuffer is
// nullptr; 0 for an invalid handle or a buffer too small. A DIB section fills
// a DIBSECTION when there is room for one; a device bitmap never does.
int GetObjectW(HGDIOBJ AObject, int ASize, LPVOID ABuffer);
inline int GetObject(HGDIOBJ AObject, int ASize, LPVOID ABuffer) {
    return GetObjectW(AObject, ASize, ABuffer);
}

// OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_MEMDC, OBJ_DC; 0
// for anything else.
DWORD GetObjectType(HGDIOBJ AObject);

// Pens draw one pixel wide; every style but PS_NULL draws solid.
HPEN CreatePen(int AStyle, int AWidth, COLORREF AColor);
HBRUSH CreateSolidBrush(COLORREF AColor);
// BS_SOLID and BS_NULL; nullptr for other styles.
HBRUSH CreateBrushIndirect(const LOGBRUSH* ABrush);

// Keeps the description as given; the text calls choose the face from it.
HFONT CreateFontIndirectW(const LOGFONTW* AFont);
inline HFONT CreateFontIndirect(const LOGFONTW* AFont) {
    return CreateFontIndirectW(AFont);
}

}  // namespace win
