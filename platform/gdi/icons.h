// Icons made from bitmaps: a mask and a colour bitmap, or a monochrome mask
// twice as high (AND rows above XOR rows).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = DI_MASK | DI_IMAGE;
inline constexpr UINT DI_COMPAT = 0x0004;
inline constexpr UINT DI_DEFAULTSIZE = 0x0008;

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_COPYFROMRESOURCE = 0x4000;

// The stock icons of LoadIconW(nullptr, ...).
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
inline const WCHAR* const IDI_APPLICATION = reinterpret_cast<const WCHAR*>(ULONG_PTR(32512));

// With no instance, the stock icon AName (IDI_APPLICATION: a window drawn by
// code, 32 x 32 with alpha). Stock icons are shared: DestroyIcon leaves
// them. nullptr for an instance or any other name (the program has no icon
// resources).
HICON LoadIconW(HINSTANCE AInstance, const WCHAR* AName);
inline HICON LoadIcon(HINSTANCE AInstance, const WCHAR* AName) {
    return LoadIconW(AInstance, AName);
}

// The icon keeps its own copies of the bitmaps, which the caller still owns.
// The colour bitmap (if any) must have the mask's size.
HICON CreateIconIndirect(const ICONINFO* AInfo);
// A stock icon stays: TRUE without destroying it.
BOOL DestroyIcon(HICON AIcon);
// New copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON AIcon, ICONINFO* AInfo);

// A 32-bit colour bitmap (DIB section) with any non-zero alpha draws
// alpha-blended (its colours not premultiplied), writing alpha; others draw
// as the mask ANDed and the colour XORed (DI_MASK and DI_IMAGE choose the
// parts), which leaves alpha 0. A size of 0 means the icon's own; ABackground,
// when given, fills the area first. AStep is not used.
BOOL DrawIconEx(HDC ADC, int X, int Y, HICON AIcon, int AWidth, int AHeight, UINT AStep, HBRUSH ABackground,
                UINT AFlags);

// IMAGE_ICON only: a new icon scaled to AWidth x AHeight (0: the same) by
// nearest pixels. The flags are not used.
HANDLE CopyImage(HANDLE AImage, UINT AType, int AWidth, int AHeight, UINT AFlags);

}  // namespace win

namespace gdi {

// The icon's picture as straight (not premultiplied) 0xAARRGGBB pixels, top
// row first, for a display that takes icons as pixels: the colour bitmap's
// own alpha where it has any, else opaque where the mask is clear. False
// for no icon.
bool IconPixels(win::HICON AIcon, std::vector<uint32_t>& APixels, int& AWidth, int& AHeight);

}  // namespace gdi
