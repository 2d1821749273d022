#include "skin/core/qxdrawing.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/base/sysutils.h"
#include "platform/gdi/text.h"
#include "skin/core/qxtextdraw.h"

using namespace win;

namespace {

Integer Red(Integer ARGB) {
    return ARGB & 0xFF;
}
Integer Green(Integer ARGB) {
    return ARGB >> 8 & 0xFF;
}
Integer Blue(Integer ARGB) {
    return ARGB >> 16 & 0xFF;
}
TColor RGBColor(Integer R, Integer G, Integer B) {
    return std::clamp(R, 0, 255) | std::clamp(G, 0, 255) << 8 | std::clamp(B, 0, 255) << 16;
}

void UsePen(TCanvas* ACanvas, TColor AColor) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetStyle(psSolid);
}

void UseBrush(TCanvas* ACanvas, TColor AColor) {
    ACanvas->Brush()->SetColor(AColor);
    ACanvas->Brush()->SetStyle(bsSolid);
}

// Pixels X1 .. X2 of row Y, both included.
void Row(TCanvas* ACanvas, Integer X1, Integer X2, Integer Y) {
    ACanvas->MoveTo(X1, Y);
    ACanvas->LineTo(X2 + 1, Y);
}

void Column(TCanvas* ACanvas, Integer X, Integer Y1, Integer Y2) {
    ACanvas->MoveTo(X, Y1);
    ACanvas->LineTo(X, Y2 + 1);
}

void Line(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    ACanvas->MoveTo(X1, Y1);
    ACanvas->LineTo(X2, Y2);
}

void Outline(TCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    ACanvas->Rectangle(X1, Y1, X2, Y2);
}

// ARows rows (or columns) of 1, 3, 5 ... pixels from the tip at
// (ATipX, ATipY) toward the base, in direction 1 (tip left), 2 (tip right),
// 3 (tip up) or 4 (tip down).
void Triangle(TCanvas* ACanvas, Integer ATipX, Integer ATipY, Integer ADirection, Integer ARows) {
    for (Integer i = 0; i < ARows; ++i) {
        switch (ADirection) {
            case 1:
                Column(ACanvas, ATipX + i, ATipY - i, ATipY + i);
                break;
            case 2:
                Column(ACanvas, ATipX - i, ATipY - i, ATipY + i);
                break;
            case 3:
                Row(ACanvas, ATipX - i, ATipX + i, ATipY + i);
                break;
            case 4:
                Row(ACanvas, ATipX - i, ATipX + i, ATipY - i);
                break;
        }
    }
}

TPoint CentreOf(const TRect& ARect) {
    return {ARect.Left + ARect.Width() / 2, ARect.Top + ARect.Height() / 2};
}

// The tip of a small or large arrow, two pixels from the centre.
void Arrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor, Integer ADirection, Integer ARows) {
    if (ADirection < 1 || ADirection > 4) return;
    UsePen(ACanvas, AColor);
    const TPoint c = CentreOf(ARect);
    static constexpr TPoint Tips[] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}};
    const TPoint tip = Tips[ADirection - 1];
    Triangle(ACanvas, c.X + tip.X, c.Y + tip.Y, ADirection, ARows);
}

// A glyph of some size, drawn at a place.
struct TGlyph {
    Integer Width = 0;
    Integer Height = 0;
    std::function<void(Integer X, Integer Y)> Draw;
    bool Present() const { return bool(Draw); }
};

// The layout shared by the image-list, glyph-strip and caption-only faces.
void DrawContent(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                 TqxButtonLayout ALayout, const String& ACaption, const TGlyph& AGlyph, bool ADown,
                 bool ADrawColorMarker, TColor AColorMarkerValue, Cardinal AAlignment,
                 const TRect& AMarkerFill) {
    const Integer gw = AGlyph.Present() ? AGlyph.Width : 0, gh = AGlyph.Present() ? AGlyph.Height : 0;
    Integer tw = 0, th = 0;
    if (!ACaption.empty()) {
        TRect r{0, 0, ARect.Width(), ARect.Height()};
        if (ALayout == blGlyphLeft || ALayout == blGlyphRight) r.Right -= gw;
        if (ALayout == blGlyphTop || ALayout == blGlyphBottom) r.Bottom -= gh;
        SkinDrawText(ACanvas, ACaption, r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        tw = r.Width();
        th = r.Height();
    }
    ACanvas->Brush()->SetStyle(bsClear);
    Integer tx, ty, gx, gy;
    CalcGlyphTextPositions(ALayout, ARect, gw, gh, tw, th, ASpacing, AMargin, tx, ty, gx, gy);
    if (ADown) {
        ++tx;
        ++ty;
        ++gx;
        ++gy;
    }
    TRect caption{tx, ty, tx + tw + 2, ty + th};
    if (IsOddFontHeight(ACanvas)) --caption.Top;
    if (!ACaption.empty())
        SkinDrawText(ACanvas, ACaption, caption, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | AAlignment);
    if (AGlyph.Present()) AGlyph.Draw(gx, gy);
    if (!ADrawColorMarker) return;
    UsePen(ACanvas, AColorMarkerValue);
    if (AGlyph.Present()) {
        for (Integer y = gy + gh - 2; y <= gy + gh; ++y)
            Line(ACanvas, gx, y, gx + gw, y);
    } else if (!ACaption.empty()) {
        for (Integer y = caption.Bottom - 1; y <= caption.Bottom + 1; ++y)
            Line(ACanvas, caption.Left, y, caption.Right, y);
    } else {
        UseBrush(ACanvas, AColorMarkerValue);
        ACanvas->FillRect(AMarkerFill);
    }
}

TGlyph ImageOf(TCanvas* ACanvas, TCustomImageList* AImageList, Integer AImageIndex, bool AEnabled) {
    if (!AImageList || AImageIndex < 0 || AImageIndex >= AImageList->Count()) return {};
    return {AImageList->Width(), AImageList->Height(),
            [=](Integer X, Integer Y) { AImageList->Draw(ACanvas, X, Y, AImageIndex, AEnabled); }};
}

bool ValidGlyph(TBitmap* AGlyph, TqxNumGlyphs ANumGlyphs, Integer AGlyphNum) {
    return AGlyph && !AGlyph->Empty() && ANumGlyphs >= 1 && AGlyphNum >= 1 && AGlyphNum <= ANumGlyphs &&
           AGlyph->Width() / ANumGlyphs > 0;
}

TRect Inset(const TRect& ARect, Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
    return {ARect.Left + ALeft, ARect.Top + ATop, ARect.Right - ARight, ARect.Bottom - ABottom};
}

}  // namespace

TColor MixColors(TColor AColor1, TColor AColor2) {
    const Integer a = ColorToRGB(AColor1), b = ColorToRGB(AColor2);
    return RGBColor((Red(a) + Red(b)) >> 1, (Green(a) + Green(b)) >> 1, (Blue(a) + Blue(b)) >> 1);
}

// Percents above 100 would drive the channels below 0 and wrap into other
// colours: each channel stops at black.
TColor DarkenColor(TColor AColor, Integer APercent) {
    const Integer c = ColorToRGB(AColor);
    const auto darken = [&](Integer AChannel) { return AChannel - MulDiv(AChannel, APercent, 100); };
    return RGBColor(darken(Red(c)), darken(Green(c)), darken(Blue(c)));
}

Integer IntMax(Integer A, Integer B) {
    return A > B ? A : B;
}

Integer IntMin(Integer A, Integer B) {
    return A < B ? A : B;
}

void CalcGlyphTextPositions(TqxButtonLayout ALayout, const TRect& ARect, Integer AGlyphWidth,
                            Integer AGlyphHeight, Integer ATextWidth, Integer ATextHeight, Integer ASpacing,
                            Integer AMargin, Integer& ATextX, Integer& ATextY, Integer& AGlyphX,
                            Integer& AGlyphY) {
    const TPoint c = CentreOf(ARect);
    const Integer spacing = AGlyphWidth == 0 ? 0 : ASpacing;
    const Integer gw = AGlyphWidth, gh = AGlyphHeight, tw = ATextWidth, th = ATextHeight;
    if (AMargin == -1) {
        const Integer mw = (tw + gw + spacing) / 2, mh = (th + gh + spacing) / 2;
        switch (ALayout) {
            case blGlyphLeft:
            case blGlyphRight:
                AGlyphX = ALayout == blGlyphLeft ? c.X - mw : c.X + mw - gw;
                ATextX = ALayout == blGlyphLeft ? c.X + mw - tw : c.X - mw;
                AGlyphY = c.Y - gh / 2;
                ATextY = c.Y - th / 2;
                break;
            case blGlyphTop:
            case blGlyphBottom:
                AGlyphX = c.X - gw / 2;
                ATextX = c.X - tw / 2;
                AGlyphY = ALayout == blGlyphTop ? c.Y - mh : c.Y + mh - gh;
                ATextY = ALayout == blGlyphTop ? c.Y + mh - th : c.Y - mh;
                break;
        }
        return;
    }
    switch (ALayout) {
        case blGlyphLeft:
        case blGlyphRight:
            AGlyphX = ALayout == blGlyphLeft ? ARect.Left + AMargin : ARect.Right - gw - AMargin;
            ATextX = ALayout == blGlyphLeft ? AGlyphX + gw + spacing : AGlyphX - spacing - tw;
            AGlyphY = c.Y - gh / 2;
            ATextY = c.Y - th / 2;
            break;
        case blGlyphTop:
        case blGlyphBottom:
            AGlyphX = c.X - gw / 2;
            ATextX = c.X - tw / 2;
            AGlyphY = ALayout == blGlyphTop ? ARect.Top + AMargin : ARect.Bottom - gh - AMargin;
            ATextY = ALayout == blGlyphTop ? AGlyphY + gh + spacing : AGlyphY - spacing - th;
            break;
    }
}

void DrawImageAndText(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                      TqxButtonLayout ALayout, const String& ACaption, Integer AImageIndex,
                      TCustomImageList* AImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                      TColor AColorMarkerValue) {
    DrawContent(ACanvas, ARect, AMargin, ASpacing, ALayout, ACaption,
                ImageOf(ACanvas, AImageList, AImageIndex, AEnabled), ADown, ADrawColorMarker,
                AColorMarkerValue, DT_CENTER, Inset(ARect, 4, 4, 2, 4));
}

void DrawImageAndTextLeft(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                          TqxButtonLayout ALayout, const String& ACaption, Integer AImageIndex,
                          TCustomImageList* AImageList, bool ADown, bool AEnabled, bool ADrawColorMarker,
                          TColor AColorMarkerValue) {
    DrawContent(ACanvas, ARect, AMargin, ASpacing, ALayout, ACaption,
                ImageOf(ACanvas, AImageList, AImageIndex, AEnabled), ADown, ADrawColorMarker,
                AColorMarkerValue, 0, Inset(ARect, 4, 4, 2, 4));
}

// A strip of no glyphs, or a glyph number outside it, would divide by zero
// or read beside the strip: no glyph then.
void DrawGlyphAndText(TCanvas* ACanvas, const TRect& ARect, Integer AMargin, Integer ASpacing,
                      TqxButtonLayout ALayout, const String& ACaption, TBitmap* AGlyph,
                      TqxNumGlyphs ANumGlyphs, Integer AGlyphNum, bool ADown, bool ADrawColorMarker,
                      TColor AColorMarkerValue) {
    TGlyph glyph;
    if (ValidGlyph(AGlyph, ANumGlyphs, AGlyphNum))
        glyph = {AGlyph->Width() / ANumGlyphs, AGlyph->Height(), [=](Integer X, Integer Y) {
                     DrawGlyphFromStrip(ACanvas, X, Y, AGlyph, ANumGlyphs, AGlyphNum);
                 }};
    DrawContent(ACanvas, ARect, AMargin, ASpacing, ALayout, ACaption, glyph, ADown, ADrawColorMarker,
                AColorMarkerValue, DT_CENTER, ADown ? Inset(ARect, 4, 5, 2, 3) : Inset(ARect, 4, 4, 2, 4));
}

void DrawGlyphFromStrip(TCanvas* ACanvas, Integer X, Integer Y, TBitmap* AGlyph, TqxNumGlyphs ANumGlyphs,
                        Integer AGlyphNum) {
    if (!ValidGlyph(AGlyph, ANumGlyphs, AGlyphNum)) return;
    const Integer w = AGlyph->Width() / ANumGlyphs, h = AGlyph->Height();
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(w, h);
    glyph.Canvas()->CopyRect({0, 0, w, h}, AGlyph->Canvas(), {w * (AGlyphNum - 1), 0, w * AGlyphNum, h});
    glyph.SetTransparent(true);
    ACanvas->Draw(X, Y, &glyph);
}

void DrawSmallDownArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor) {
    UsePen(ACanvas, AColor);
    const TPoint c = CentreOf(ARect);
    Triangle(ACanvas, c.X, c.Y + 2, 4, 3);
}

void DrawArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor, Integer ADirection) {
    if (ADirection != 5) return Arrow(ACanvas, ARect, AColor, ADirection, 4);
    UsePen(ACanvas, AColor);
    const TPoint c = CentreOf(ARect);
    for (Integer i = -1; i <= 0; ++i) {
        Row(ACanvas, c.X - 4, c.X + 3, c.Y + i);
        Column(ACanvas, c.X + i, c.Y - 4, c.Y + 3);
    }
}

void DrawLargeArrow(TCanvas* ACanvas, const TRect& ARect, TColor AColor, Integer ADirection) {
    Arrow(ACanvas, ARect, AColor, ADirection, 6);
}

void DrawRadioMark(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    UseBrush(ACanvas, AColor);
    ACanvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckMark(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    for (Integer i = 0; i < 3; ++i) {
        const TPoint points[] = {{X, Y + 5 - i}, {X + 2, Y + 7 - i}, {X + 7, Y + 2 - i}};
        ACanvas->Polyline(points);
    }
}

void DrawFrame3D(TCanvas* ACanvas, const TRect& ARect, TColor ATopLeftColor, TColor ABottomRightColor) {
    const Integer l = ARect.Left, t = ARect.Top, r = ARect.Right - 1, b = ARect.Bottom - 1;
    UsePen(ACanvas, ATopLeftColor);
    const TPoint topLeft[] = {{l, b}, {l, t}, {r, t}};
    ACanvas->Polyline(topLeft);
    UsePen(ACanvas, ABottomRightColor);
    const TPoint bottomRight[] = {{r, t}, {r, b}, {l - 1, b}};
    ACanvas->Polyline(bottomRight);
}

void DrawSkinFocusRect(TCanvas* ACanvas, const TRect& ARect) {
    const Integer l = ARect.Left, t = ARect.Top, r = ARect.Right - 1, b = ARect.Bottom - 1;
    if (r < l || b < t) return;
    std::vector<TPoint> walk;
    for (Integer x = l; x <= r; ++x)
        walk.push_back({x, t});
    for (Integer y = t + 1; y <= b; ++y)
        walk.push_back({r, y});
    if (b > t)
        for (Integer x = r - 1; x >= l; --x)
            walk.push_back({x, b});
    if (r > l)
        for (Integer y = b - 1; y > t; --y)
            walk.push_back({l, y});
    const TColor color = ACanvas->Font()->Color();
    UsePen(ACanvas, color);
    const size_t first = (r - l) % 2 == 0 && (b - t) % 2 == 0 ? 1 : 0;
    for (size_t i = first; i < walk.size(); i += 2)
        ACanvas->SetPixels(walk[i].X, walk[i].Y, color);
}

void DrawCloseGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    Line(ACanvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(ACanvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(ACanvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(ACanvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    Line(ACanvas, X + 2, Y + 3, X + 8, Y + 3);
    Line(ACanvas, X + 2, Y + 5, X + 8, Y + 5);
}

void DrawMinimizeGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    Line(ACanvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(ACanvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    ACanvas->Brush()->SetStyle(bsClear);
    Outline(ACanvas, X, Y, X + 11, Y + 10);
    Outline(ACanvas, X, Y, X + 11, Y + 2);
}

void DrawRestoreGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    ACanvas->Brush()->SetStyle(bsClear);
    Outline(ACanvas, X + 2, Y, X + 10, Y + 6);
    Outline(ACanvas, X + 2, Y, X + 10, Y + 2);
    Outline(ACanvas, X, Y + 4, X + 7, Y + 10);
    Outline(ACanvas, X, Y + 4, X + 7, Y + 6);
}

void DrawRollDownGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    Triangle(ACanvas, X + 5, Y + 6, 4, 4);
}

void DrawRollUpGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    Triangle(ACanvas, X + 5, Y + 2, 3, 4);
}

void DrawMinimizeToTrayGlyph(TCanvas* ACanvas, Integer X, Integer Y, TColor AColor) {
    UsePen(ACanvas, AColor);
    UseBrush(ACanvas, AColor);
    ACanvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}
