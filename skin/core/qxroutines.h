// The per-pixel work of the skin library in one routine table: row routines
// (copy, keyed copy, blend, fill, alpha), transfers of a TqxBitmap part onto
// a DC, another TqxBitmap or a bottom-up DIB section's memory, and the
// platform probes that choose them.
//
// Blending shifts by 8 instead of dividing by 255. Two formulas exist: the
// plain one gives an opaque result; the "MMX" one treats all four bytes
// alike, so partial alpha over an opaque target leaves partial alpha.
#pragma once

#include "platform/gdi/blit.h"
#include "platform/toolkit/colors.h"
#include "skin/core/qxbitmap.h"

using TqxBlendPixelProc = TqxColor (*)(TqxColor F, TqxColor B);
using TqxRowProc = void (*)(const TqxColor* Src, TqxColor* Dst, Integer Count);
using TqxFillRowProc = void (*)(TqxColor* Dst, Integer Count, TqxColor Color);
// Columns Left..LastColumn of rows Top..LastRow, inclusive, of rows Width pixels apart.
using TqxFillAreaProc = void (*)(PqxColorArray Bits, Integer Width, Integer Height, Integer Left, Integer Top,
                                 Integer LastColumn, Integer LastRow, TqxColor Color);
using TqxSetAlphaRowProc = void (*)(TqxColor* Dst, Integer Count, Byte Alpha);
using TqxSetAlphaAreaProc = void (*)(PqxColorArray Bits, Integer Width, Integer Height, Integer Left,
                                     Integer Top, Integer LastColumn, Integer LastRow, Byte Alpha);
using TqxToDCProc = void (*)(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                             const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth,
                             Integer SrcHeight);
// SrcRect of Source mapped onto DstRect of Target; only ClipRect is written.
using TqxBitmapRectProc = void (*)(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect,
                                   const TqxBitmap* Source, const TRect& SrcRect);
// The same into the memory of a bottom-up 32-bit DIB section.
using TqxDIBRectProc = void (*)(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect,
                                const TRect& SrcRect, const TqxBitmap* Source, Integer DIBHeight,
                                Integer DIBWidth);
using TqxDIBSectionInfoProc = void* (*)(win::HDC DC, Integer& Width, Integer& Height, Integer& BitCount);

struct TqxBlendRoutines {
    TqxBlendPixelProc BlendPixel;
    TqxRowProc BlendRow;
    TqxRowProc CopyMaskedRow;
    TqxRowProc CopyRow;
    TqxFillRowProc FillRow;
    TqxFillAreaProc FillArea;
    TqxSetAlphaRowProc SetAlphaRow;
    TqxSetAlphaAreaProc SetAlphaArea;
    // Drawing modes onto a DC: opaque, alpha-blended, colour-keyed.
    TqxToDCProc OpaqueToDC;
    TqxToDCProc AlphaToDC;
    TqxToDCProc MaskedToDC;
    TqxBitmapRectProc CopyBitmapRect;
    TqxBitmapRectProc CopyMaskedBitmapRect;
    TqxBitmapRectProc BlendBitmapRect;
    TqxDIBRectProc CopyToDIBRect;
    TqxDIBRectProc CopyMaskedToDIBRect;
    TqxDIBRectProc BlendToDIBRect;
    TqxDIBSectionInfoProc GetDIBSectionInfo;
};

// Filled when the program starts; InitPixelRoutines and
// InitTransferRoutines fill it again from the probes (tests flip those).
extern TqxBlendRoutines BlendRoutines;

// Unit state: the probes' answers at start-up.
extern bool MMXAvailable;
extern bool IsMsimg32Available;
// The looked-up entry points, nullptr when absent.
extern decltype(&win::TransparentBlt) TransparentBltProc;
extern decltype(&win::AlphaBlend) AlphaBlendProc;
// Tiles go straight into the memory of a 32-bit bottom-up DIB section.
extern bool DirectDIBDraw;

// F over B. Plain: alpha 0 gives B, alpha 255 gives F, otherwise each colour
// (F a + B (255 - a)) >> 8 with alpha 255.
TqxColor BlendPixel(TqxColor F, TqxColor B);
// All four bytes (B (256 - a) + F a) >> 8, alpha included.
TqxColor BlendPixelMMX(TqxColor F, TqxColor B);
// Source alpha 0 leaves the target, 255 copies the source, otherwise
// BlendPixel of the variant (the MMX one then also blends alpha).
void BlendRow(const TqxColor* Src, TqxColor* Dst, Integer Count);
void BlendRowMMX(const TqxColor* Src, TqxColor* Dst, Integer Count);
// Copies, with alpha 255, every source pixel whose colour is not MaskedColor's.
void CopyMaskedRow(const TqxColor* Src, TqxColor* Dst, Integer Count);
void CopyRow(const TqxColor* Src, TqxColor* Dst, Integer Count);
void FillRow(TqxColor* Dst, Integer Count, TqxColor Color);
void FillArea(PqxColorArray Bits, Integer Width, Integer Height, Integer Left, Integer Top,
              Integer LastColumn, Integer LastRow, TqxColor Color);
void SetAlphaRow(TqxColor* Dst, Integer Count, Byte Alpha);
void SetAlphaArea(PqxColorArray Bits, Integer Width, Integer Height, Integer Left, Integer Top,
                  Integer LastColumn, Integer LastRow, Byte Alpha);

// Bitmap to bitmap. SrcRect must lie inside Source (it is never clipped);
// a different size scales to the nearest pixel, columns mapped by
// trunc(x (sw - 1) / (dw - 1)).
void CopyBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect, const TqxBitmap* Source,
                    const TRect& SrcRect);
void CopyMaskedBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect,
                          const TqxBitmap* Source, const TRect& SrcRect);
void BlendBitmapRect(TqxBitmap* Target, const TRect& DstRect, const TRect& ClipRect, const TqxBitmap* Source,
                     const TRect& SrcRect);
// Into a bottom-up DIB section's memory; scaled columns and rows are rounded
// instead of truncated.
void CopyToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                   const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth);
void CopyMaskedToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect,
                         const TRect& SrcRect, const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth);
void BlendToDIBRect(PqxColorArray Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                    const TqxBitmap* Source, Integer DIBHeight, Integer DIBWidth);

// Onto a DC: StretchBlt; composition in a temporary bitmap (the DC's area
// copied in, the part drawn by the source's mode, copied back); and
// TransparentBlt keyed on MaskedColor.
void StretchToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                 const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight);
void ComposeToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                 const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth, Integer SrcHeight);
void TransparentToDC(win::HDC DC, Integer DstX, Integer DstY, Integer DstWidth, Integer DstHeight,
                     const TqxBitmap* Source, Integer SrcX, Integer SrcY, Integer SrcWidth,
                     Integer SrcHeight);

// The bitmap selected into DC when it is a DIB section: its memory, width,
// height (positive for bottom-up rows) and bit count; else nullptr and zeros.
void* GetDIBSectionInfo(win::HDC DC, Integer& Width, Integer& Height, Integer& BitCount);

bool HasMMX();
// Nothing to end: no routine leaves the processor in another state.
void EndMMX();
Integer ScreenBitsPerPixel();
bool IsTrueColorScreen();
bool IsWin2000OrLater();
void LoadMsimg32();
void InitPixelRoutines();
void InitTransferRoutines();

// A TColor in RGB form to a pixel with alpha 255 (red and blue exchanged).
TqxColor ColorToPixel(TColor AColor);
// The same with system colours resolved and the given alpha.
TqxColor ColorToPixelAlpha(TColor AColor, Byte AAlpha);
