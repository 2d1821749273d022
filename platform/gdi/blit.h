// Transfers between device contexts.
//
// Alpha on 32-bit destinations: a 32-bit DIB section source gives all four
// bytes (SRCCOPY copies them); any other source (24-bit or fewer, device
// bitmaps, window surfaces) and the brush give alpha 0. Raster operations
// work bitwise on all 32 bits. Only AlphaBlend gives alpha a meaning.
//
// Scaling (StretchBlt, TransparentBlt, AlphaBlend, StretchDIBits) samples
// the nearest source pixel in every stretch mode: source x = (2 dx + 1)
// srcW div (2 dstW), the same for y. The source DC's clip is not used.
#pragma once

#include "platform/gdi/gditypes.h"

namespace win {

inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;
// Flags that may be added to a raster operation; they change nothing here.
inline constexpr DWORD NOMIRRORBITMAP = 0x80000000;
inline constexpr DWORD CAPTUREBLT = 0x40000000;

// Any ternary raster operation. BLACKNESS and WHITENESS fill like a brush of
// that colour. A monochrome device bitmap turns into the destination's text
// colour (0) and background colour (1) on colour; colour drawn onto
// monochrome gives white where it equals the source DC's background colour.
// ASource may be nullptr when the operation does not use one. A negative
// width or height counts from the other side, for source and destination alike.
// Where the source lies outside its surface the destination is left alone.
BOOL BitBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
            DWORD ARop);
BOOL PatBlt(HDC ADC, int X, int Y, int AWidth, int AHeight, DWORD ARop);

// The source rectangle is scaled to the destination; opposite signs of a
// width (or height) pair mirror the picture. FALSE for a source without
// pixels when the operation reads one.
BOOL StretchBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                int ASourceWidth, int ASourceHeight, DWORD ARop);

// Copies (scaling as needed) all source pixels whose RGB differs from
// ATransparent. FALSE for negative sizes.
BOOL TransparentBlt(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                    int ASourceWidth, int ASourceHeight, UINT ATransparent);

// AC_SRC_OVER only. With AC_SRC_ALPHA the source is premultiplied: with
// s' = s x SourceConstantAlpha / 255 (every channel), d = s' + d (255 - s'.a)
// / 255; without it d = (s x c + d (255 - c)) / 255 for the constant c. Each
// product is rounded to nearest, sums saturate. Sources without an alpha
// channel count as opaque. FALSE for negative sizes, a source rectangle not
// inside its surface, unknown flags, or overlapping areas of one surface.
BOOL AlphaBlend(HDC ADest, int X, int Y, int AWidth, int AHeight, HDC ASource, int ASourceX, int ASourceY,
                int ASourceWidth, int ASourceHeight, BLENDFUNCTION ABlend);

}  // namespace win
