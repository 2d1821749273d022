// What skinned controls, forms and menus draw on their faces once the skin
// image is there: colour arithmetic, the glyph-and-caption layout of
// buttons and items, arrows, check and radio marks, the default look's
// caption-button glyphs, 3-D frames and the dotted focus frame.
//
// Colour arguments set the pen, and for filled shapes the brush. Lines
// include their start point and exclude their end point.
#pragma once

#include "platform/base/types.h"
#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/canvas.h"
#include "platform/toolkit/colors.h"
#include "platform/toolkit/geometry.h"
#include "platform/toolkit/imagelist.h"

// Where the glyph stands against the caption.
enum TqxButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The number of equal-width images side by side in a glyph strip: 1 .. 4.
using TqxNumGlyphs = Integer;

// System colours are resolved first. Each channel the mean (a + b) shr 1.
TColor MixColors(TColor AColor1, TColor AColor2);
// Each channel c - MulDiv(c, APercent, 100), kept within 0 .. 255.
TColor DarkenColor(TColor AColor, Integer APercent);
Integer IntMax(Integer A, Integer B);
Integer IntMin(Integer A, Integer B);

// Places a glyph and a text in ARect by the layout: AMargin from the
// glyph's side, or -1 to centre glyph and text together; ASpacing between
// them (none without a glyph).
void CalcGlyphTextPositions(TqxButtonLayout ALayout, const TRect& ARect, Integer AGlyphWidth,
                            Integer AGlyphHeight, Integer ATextWidth, Integer ATextHeight, Integer ASpacing,
                            Integer AMargin, Integer& ATextX, Integer& ATextY, Integer& AGlyphX,
                            Integer& AGlyphY);
// Image AImageIndex of AImageList (drawn enabled or greyed) and the
// word-wrapped caption laid out by CalcGlyphTextPositions, one pixel
// further right and down when ADown; an index outside the list draws no
// image and lays the caption out alone. ADrawColorMarker adds a bar in
// AColorMarkerValue under the image, else under the caption, else a block
// over the face. The caption is centred within its lines; the Left variant
// left-aligns them.
void DrawImageAndText(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                      TqxButtonLayout ALayout, const String& ACaption, Integer AImageIndex,
                      TCustomImageList* AImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue);
void DrawImageAndTextLeft(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                          TqxButtonLayout ALayout, const String& ACaption, Integer AImageIndex,
                          TCustomImageList* AImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                          TColor AColorMarkerValue);
// The same with glyph AGlyphNum (1-based) of a strip of ANumGlyphs; a
// strip without glyphs or a number outside 1 .. ANumGlyphs draws no glyph.
void DrawGlyphAndText(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                      TqxButtonLayout ALayout, const String& ACaption, TBitmap* AGlyph,
                      TqxNumGlyphs ANumGlyphs, Integer AGlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue);
// Glyph AGlyphNum of the strip at X, Y, its bottom-left pixel's colour
// left out; nothing for an empty strip or a number outside the strip.
void DrawGlyphFromStrip(TCanvas* ACanvas, Integer X, Integer Y, TBitmap* AGlyph, TqxNumGlyphs ANumGlyphs,
                        Integer AGlyphNum);

// Small triangles centred in ARect (cx, cy = the centre, rounded down):
// rows of 5, 3 and 1 pointing down from cy; four rows (1 left, 2 right,
// 3 up, 4 down; 5 a plus sign); six rows for the large one.
void DrawSmallDownArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor);
void DrawArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor, Integer ADirection);
void DrawLargeArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor, Integer ADirection);
// A filled 6 x 6 square.
void DrawRadioMark(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
// Three stacked polylines (X, Y + 5) - (X + 2, Y + 7) - (X + 7, Y + 2).
void DrawCheckMark(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
// Left and top in ATopLeftColor, right and bottom (one pixel inside
// ARect) in ABottomRightColor.
void DrawFrame3D(TCanvas* ACanvas, const TRect& ARect, TColor ATopLeftColor, TColor ABottomRightColor);
// Every second pixel of ARect's outline, clockwise from the top-left
// corner, in the font's colour.
void DrawSkinFocusRect(TCanvas* ACanvas, const TRect& ARect);

// The default look's caption-button glyphs in a 10 x 10 box at X, Y.
void DrawCloseGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawSysMenuGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawMinimizeGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawMaximizeGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawRestoreGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawRollDownGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawRollUpGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
void DrawMinimizeToTrayGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor);
