// The drawing tools a canvas holds: font, pen and brush. Each keeps its
// description and makes the drawing layer's object for it on demand.
#pragma once

#include "platform/base/classes.h"
#include "platform/base/set.h"
#include "platform/gdi/gditypes.h"
#include "platform/toolkit/colors.h"

class TGraphicsObject : public TPersistent {
public:
    ~TGraphicsObject() override;

    TNotifyEvent OnChange;

protected:
    // Drops the drawing object (after OnChange, so that a canvas can first
    // deselect it) and tells the owner.
    void Changed();
    // Stores AValue and calls Changed, unless the field holds it already.
    template <typename T>
    void Update(T& AField, const T& AValue) {
        if (AField == AValue) return;
        AField = AValue;
        Changed();
    }
    // The drawing object, made by CreateHandle when there is none.
    win::HGDIOBJ GetHandle();
    virtual win::HGDIOBJ CreateHandle() = 0;

private:
    win::HGDIOBJ FHandle = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using TFontCharset = Byte;

class TFont : public TGraphicsObject {
public:
    // "Tahoma", 8 points, no style, clWindowText, DEFAULT_CHARSET.
    TFont();

    // From another TFont: every property, one change notification.
    void Assign(TPersistent* ASource) override;

    const String& Name() const { return FName; }
    void SetName(const String& AValue);
    // Negative: the character height in pixels; positive: the cell height.
    // Kept exactly as set.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer AValue);
    // Points at PixelsPerInch, from and to a negative Height.
    Integer Size() const;
    void SetSize(Integer AValue);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles AValue);
    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset AValue);
    // The screen's, unless set.
    Integer PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer AValue) { FPixelsPerInch = AValue; }

    win::HFONT Handle() { return static_cast<win::HFONT>(GetHandle()); }

protected:
    win::HGDIOBJ CreateHandle() override;

private:
    String FName = u"Tahoma";
    Integer FHeight;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = win::DEFAULT_CHARSET;
    Integer FPixelsPerInch;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(TPersistent* ASource) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer AValue);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle AValue);
    // Applied by the canvas as the DC's pen mode (SetROP2).
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode AValue);

    win::HPEN Handle() { return static_cast<win::HPEN>(GetHandle()); }

protected:
    win::HGDIOBJ CreateHandle() override;

private:
    TColor FColor = clBlack;
    Integer FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

// The R2_ code of a pen mode.
int PenModeToRop2(TPenMode AMode);

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    void Assign(TPersistent* ASource) override;

    TColor Color() const { return FColor; }
    // A colour makes a clear brush solid again.
    void SetColor(TColor AValue);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle AValue);

    win::HBRUSH Handle() { return static_cast<win::HBRUSH>(GetHandle()); }

protected:
    win::HGDIOBJ CreateHandle() override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};
