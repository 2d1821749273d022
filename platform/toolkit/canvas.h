// A drawing surface with a pen, a brush and a font: the toolkit's canvas
// over a device context.
#pragma once

#include <memory>
#include <mutex>
#include <span>

#include "platform/base/classes.h"
#include "platform/gdi/gditypes.h"
#include "platform/toolkit/geometry.h"
#include "platform/toolkit/graphicsobjects.h"

class TGraphic;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

// Raster operations of CopyRect and of drawing bitmaps.
using TCopyMode = Integer;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The device context with the font, pen and brush selected (text colour
    // and background mode too), asked for through CreateHandle when there is
    // none; EInvalidOperation "Canvas does not allow drawing" when none comes.
    win::HDC Handle();
    // The canvas does not own a DC given here; the font, pen and brush it
    // selected into the previous one are taken out again.
    void SetHandle(win::HDC AValue);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* AValue) { FFont->Assign(AValue); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* AValue) { FPen->Assign(AValue); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* AValue) { FBrush->Assign(AValue); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode AValue) { FCopyMode = AValue; }
    TPoint PenPos();
    void SetPenPos(TPoint AValue) { MoveTo(AValue.X, AValue.Y); }
    // What can be drawn on, in logical coordinates.
    TRect ClipRect();

    // -1 outside what can be drawn on.
    TColor Pixels(Integer X, Integer Y);
    void SetPixels(Integer X, Integer Y, TColor AValue);

    void MoveTo(Integer X, Integer Y);
    // From the pen position, which it then takes; the end point is not drawn.
    void LineTo(Integer X, Integer Y);
    void Polyline(std::span<const TPoint> APoints);
    void Polygon(std::span<const TPoint> APoints);
    void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
    void Rectangle(const TRect& ARect) { Rectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom); }
    void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
    void Ellipse(const TRect& ARect) { Ellipse(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom); }
    void FillRect(const TRect& ARect);
    // One pixel wide, in the brush.
    void FrameRect(const TRect& ARect);
    // Dotted, inverting: drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& ARect);

    // The graphic at its own size; a transparent bitmap leaves its
    // transparent colour out.
    void Draw(Integer X, Integer Y, TGraphic* AGraphic);
    void StretchDraw(const TRect& ARect, TGraphic* AGraphic);
    // Scales ASource of ACanvas into ADest with CopyMode.
    void CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource);

    // In the font, on the brush's colour unless the brush is clear; the pen
    // moves to the end of the text.
    void TextOut(Integer X, Integer Y, const String& AText);
    // As TextOut, clipped to ARect, which a solid brush fills first.
    void TextRect(const TRect& ARect, Integer X, Integer Y, const String& AText);
    TSize TextExtent(const String& AText);
    Integer TextWidth(const String& AText) { return TextExtent(AText).cx; }
    Integer TextHeight(const String& AText) { return TextExtent(AText).cy; }

    // Serialises drawing from several threads; nests on one thread.
    void Lock();
    void Unlock();
    bool TryLock();
    Integer LockCount() const { return FLockCount; }

    // Around every drawing operation.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    virtual void Changing();
    virtual void Changed();

    // Selects what the next call needs into the DC.
    void RequiredState(TCanvasState AState);

protected:
    // Called when a DC is needed and there is none; may call SetHandle.
    virtual void CreateHandle() {}

private:
    // One drawing operation: the change events around it, what it needs selected first.
    template <typename F>
    void Drawing(TCanvasState AState, F AOperation) {
        Changing();
        RequiredState(AState);
        AOperation();
        Changed();
    }
    void DeselectHandles();
    void ObjectChanged(TCanvasStates AState);

    win::HDC FHandle = nullptr;
    TCanvasState FState;
    // What the DC held before each tool of this canvas was selected into it.
    win::HGDIOBJ FPrevious[csBrushValid + 1] = {};
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    std::recursive_mutex FLock;
    Integer FLockCount = 0;
};
