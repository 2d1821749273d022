// Text of the skinned controls, forms and menus: measuring, fitting and
// drawing through the platform's wide DrawText, and captions with a glow,
// on a glowing backdrop or with a reflection below them.
//
// The one-line, wrapped and vertically centred procedures draw nothing for
// an empty text and move the text up one pixel when the canvas font's
// height is odd (IsOddFontHeight).
#pragma once

#include "platform/base/types.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/geometry.h"

// The canvas font's Height, as set, is odd.
bool IsOddFontHeight(TCanvas* ACanvas);

// DrawTextW of the whole text with the DT_ flags; returns its result. With
// DT_CALCRECT the rectangle receives the extent.
Integer SkinDrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags);
Integer SkinDrawText(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags);
// The extent DT_CALCRECT gives from (0, 0, 0, 0).
Integer SkinTextWidth(TCanvas* ACanvas, const String& AText);
Integer SkinTextHeight(TCanvas* ACanvas, const String& AText);
// A text wider than AWidth loses characters from its end until it fits
// with "..." after it, which it then gets ("..." alone when nothing fits).
// Measured with SkinTextWidth, resp. the canvas's TextWidth.
void FitTextToWidthW(TCanvas* ACanvas, String& AText, Integer AWidth);
void FitTextToWidth(TCanvas* ACanvas, String& AText, Integer AWidth);

// One line, vertically centred: centred, resp. left-aligned, with the
// rectangle 2 pixels wider on the right for a text that begins with "W";
// DrawTextOneLine without that correction.
void DrawTextCenteredOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect);
void DrawTextLeftOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect);
void DrawTextOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect);
// AAlignment 0 left, 1 right, 2 centre. AFlags adds DrawText flags
// (DT_NOPREFIX for data such as file names, where "&" is no mnemonic).
void DrawTextAlignedOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect, Integer AAlignment,
                            Cardinal AFlags = 0);
// Word-wrapped and centred. A word wider than the rectangle is split by a
// blank where it stops fitting (ABreakLongWords), or cut there with its
// last three kept characters turned into "...".
void DrawWrappedTextCentered(TCanvas* ACanvas, const String& AText, const TRect& ARect, bool ABreakLongWords,
                             Cardinal AFlags = 0);
// The canvas's clipped text output at left + 2 (+ AIndent), vertically
// centred by the canvas's text height.
void DrawTextVCentered(TCanvas* ACanvas, const String& AText, const TRect& ARect);
void DrawTextVCenteredIndent(TCanvas* ACanvas, const String& AText, const TRect& ARect, Integer AIndent);

// Glow sizes beyond this are taken as it: the glow is drawn on a bitmap
// 2 x the size larger than the text, and skins give the size.
inline constexpr Integer MaxGlowSize = 64;

// The text over a blur of radius AGlowSize (0 .. MaxGlowSize) in
// AGlowColor, shifted by AOffset both ways; the text itself in the canvas
// font, on a clear brush. DrawGlowText blurs the text drawn five times
// (at its place and a pixel to each side), DrawGlowTextW once, and returns
// the result of the final text's DrawText.
void DrawGlowText(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags, Integer AOffset,
                  TColor AGlowColor, Integer AGlowSize);
Integer DrawGlowTextW(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                      Integer AOffset, TColor AGlowColor, Integer AGlowSize);
// The text over a soft backdrop in AColor: a block inside the text's
// rectangle and the text drawn around its place, blurred twice; wide: a
// block wider than the rectangle and a stronger blur. They return the
// result of the final text's DrawText.
Integer DrawTextOnGlowBackdrop(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                               TColor AColor);
Integer DrawTextOnWideGlowBackdrop(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                                   TColor AColor);
// The text with its mirror image in AColor AOffset pixels below the text's
// bottom, fading out downwards.
void DrawReflectedText(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                       Integer AOffset, TColor AColor);
// The reflection's opacity for row AY of text measured from ATop to
// ABottom: 0.7 at the bottom, falling by 1 per text height upwards, 0
// where it would be negative.
double ReflectionFactor(Integer AY, Integer ATop, Integer ABottom);
