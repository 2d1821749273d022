// What the standard controls share: 3-D frames, button faces, arrows,
// captions that grey out when disabled, text measured in a font outside any
// painting, and the answers to the text messages of a text they keep.
#pragma once

#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/win/wintypes.h"

// Draws AWidth rings of one-pixel lines, the top and left in ATopColor, the
// bottom and right in ABottomColor, and shrinks ARect by them.
void Frame3D(TCanvas* ACanvas, TRect& ARect, TColor ATopColor, TColor ABottomColor, Integer AWidth);

// A push button's face over ARect: raised, or sunken while pressed.
void DrawButtonFace(TCanvas* ACanvas, const TRect& ARect, bool APressed);

enum TArrowDirection { adUp, adDown, adLeft, adRight };
// A small solid triangle centred in ARect.
void DrawArrow(TCanvas* ACanvas, const TRect& ARect, TArrowDirection ADirection, TColor AColor);

// DrawText of AText in the canvas font; a disabled caption is embossed in
// the highlight and shadow colours. Returns DrawText's height.
Integer DrawCaption(TCanvas* ACanvas, const String& AText, TRect ARect, win::UINT AFlags, bool AEnabled);

// A memory DC with a font selected, for measuring outside painting.
class TFontDC {
public:
    explicit TFontDC(TFont* AFont);
    ~TFontDC();
    TFontDC(const TFontDC&) = delete;
    TFontDC& operator=(const TFontDC&) = delete;

    win::HDC Handle() const { return FDC; }
    Integer TextWidth(std::u16string_view AText) const;
    // The font's cell height (tmHeight).
    Integer LineHeight() const;

private:
    win::HDC FDC;
    win::HGDIOBJ FOldFont;
};

// Answers WM_GETTEXT and WM_GETTEXTLENGTH with AText; false for other messages.
bool AnswerTextMessage(TMessage& AMessage, const String& AText);
