// The one pixel-transfer loop behind BitBlt, PatBlt, StretchBlt,
// TransparentBlt, AlphaBlend, SetDIBitsToDevice and StretchDIBits.
//
// Scaling samples the nearest source pixel: for destination column dx of a
// rectangle dstW wide taken from srcW source columns, source column =
// (2 dx + 1) srcW div (2 dstW); rows the same. Destination pixels whose
// source lies outside the source surface are left alone.
#pragma once

#include <cstdint>

#include "platform/gdi/gditypes.h"
#include "platform/gdi/pixregion.h"
#include "platform/gdi/surface.h"

namespace gdi {

struct TransferSource {
    Surface Pixels;
    // Surface coordinates, normalised; may reach outside the surface.
    win::RECT Rect{};
    // The source runs the other way than the destination.
    bool MirrorX = false;
    bool MirrorY = false;
    // The source DC's background colour: colour pixels of this colour become
    // white (1) on a monochrome destination, all others black (0).
    win::COLORREF BkColor = 0;
};

struct TransferDest {
    Surface Pixels;
    // Surface coordinates, normalised.
    win::RECT Rect{};
    // The surface pixels that may change.
    PixRegion Visible;
    // A monochrome source becomes these on colour: 0 bits the text colour,
    // 1 bits the background colour.
    win::COLORREF TextColor = 0;
    win::COLORREF BkColor = 0;
};

enum class TransferKind { Rop, Transparent, Alpha };

struct TransferOp {
    TransferKind Kind = TransferKind::Rop;
    // The ternary raster operation's code (bits 16..23 of a ROP value).
    uint8_t Rop = 0xCC;
    // The brush colour, for operations that use the pattern.
    win::COLORREF Pattern = 0;
    // Transparent: source pixels of this colour (RGB only) are not drawn.
    win::COLORREF Key = 0;
    // Alpha.
    uint8_t ConstantAlpha = 255;
    bool SourceAlpha = false;
};

constexpr uint8_t RopCode(win::DWORD ARop) {
    return uint8_t(ARop >> 16);
}
constexpr bool RopUsesSource(uint8_t ACode) {
    return ((ACode >> 2) & 0x33) != (ACode & 0x33);
}
constexpr bool RopUsesPattern(uint8_t ACode) {
    return ((ACode >> 4) & 0x0F) != (ACode & 0x0F);
}
constexpr bool RopUsesDest(uint8_t ACode) {
    return ((ACode >> 1) & 0x55) != (ACode & 0x55);
}

// ASource may be nullptr when the operation does not read one.
void Transfer(const TransferDest& ADest, const TransferSource* ASource, const TransferOp& AOp);

}  // namespace gdi
