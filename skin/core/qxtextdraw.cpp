#include "skin/core/qxtextdraw.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "skin/core/qxbitmap.h"
#include "skin/core/qxeffects.h"
#include "skin/core/qxroutines.h"

using namespace win;

bool IsOddFontHeight(TCanvas* ACanvas) {
    return ACanvas->Font()->Height() % 2 != 0;
}

Integer SkinDrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags) {
    ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    RECT r = ToRECT(ARect);
    const Integer result = DrawTextW(ACanvas->Handle(), AText.data(), int(AText.size()), &r, AFlags);
    ARect = ToTRect(r);
    return result;
}

Integer SkinDrawText(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags) {
    TRect r = ARect;
    return SkinDrawText(ACanvas, AText, r, AFlags);
}

namespace {

TRect Measure(TCanvas* ACanvas, const String& AText, Cardinal AFlags = 0) {
    TRect r;
    SkinDrawText(ACanvas, AText, r, AFlags | DT_CALCRECT);
    return r;
}

// Drops the last character, both halves of a surrogate pair.
void DropLast(String& AText) {
    AText.pop_back();
    if (!AText.empty() && AText.back() >= 0xD800 && AText.back() < 0xDC00) AText.pop_back();
}

template <typename F>
void FitText(String& AText, Integer AWidth, F AMeasure) {
    static const String Ellipsis = u"...";
    if (AMeasure(AText) <= AWidth) return;
    while (!AText.empty()) {
        DropLast(AText);
        if (AText.empty() || AMeasure(AText + Ellipsis) <= AWidth) break;
    }
    AText += Ellipsis;
}

// The odd-height rule on a rectangle.
TRect Raised(TCanvas* ACanvas, TRect ARect) {
    if (IsOddFontHeight(ACanvas)) --ARect.Top;
    return ARect;
}

void DrawOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags,
                 bool AWCorrection) {
    if (AText.empty()) return;
    TRect r = Raised(ACanvas, ARect);
    if (AWCorrection && AText[0] == u'W') r.Right += 2;
    SkinDrawText(ACanvas, AText, r, DT_SINGLELINE | DT_VCENTER | AFlags);
}

// A working bitmap for text effects: black, with the canvas's font in pure
// red on a clear brush, so that its red channel becomes the text's cover.
class TTextMask {
public:
    TTextMask(TCanvas* ACanvas, Integer AWidth, Integer AHeight) {
        if (AWidth <= 0 || AHeight <= 0) return;
        FBitmap.SetSize(AWidth, AHeight);
        FBitmap.Clear(0);
        TCanvas* canvas = FBitmap.Canvas();
        canvas->Font()->Assign(ACanvas->Font());
        canvas->Font()->SetColor(clRed);
        canvas->Brush()->SetStyle(bsClear);
    }
    bool Empty() const { return FBitmap.Empty(); }
    TqxBitmap& Bitmap() { return FBitmap; }
    void Text(const String& AText, const TRect& ARect, Cardinal AFlags, Integer ADx = 0, Integer ADy = 0) {
        SkinDrawText(FBitmap.Canvas(), AText,
                     Bounds(ARect.Left + ADx, ARect.Top + ADy, ARect.Width(), ARect.Height()), AFlags);
    }
    // Every pixel takes AColor with its red channel as alpha, then the
    // bitmap is blended onto ACanvas at X, Y.
    void DrawAsGlow(TCanvas* ACanvas, TColor AColor, Integer X, Integer Y) {
        const TqxColor color = ColorToPixel(ColorToRGB(AColor)) & 0x00FFFFFF;
        TqxColor* p = FBitmap.Bits();
        for (Integer i = 0, count = FBitmap.Width() * FBitmap.Height(); i < count; ++i)
            p[i] = color | (p[i] >> 16 & 0xFF) << 24;
        FBitmap.SetAlphaBlend(true);
        FBitmap.Draw(ACanvas, X, Y);
    }

private:
    TqxBitmap FBitmap;
};

// The text itself over its glow.
Integer FinalText(TCanvas* ACanvas, const String& AText, const TRect& ARect, Cardinal AFlags) {
    ACanvas->Brush()->SetStyle(bsClear);
    return SkinDrawText(ACanvas, AText, ARect, AFlags);
}

Integer Glow(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags, Integer AOffset,
             TColor AGlowColor, Integer AGlowSize, bool AFivePasses) {
    const Integer g = std::clamp(AGlowSize, 0, MaxGlowSize);
    TTextMask mask(ACanvas, ARect.Width() + 2 * g, ARect.Height() + 2 * g);
    if (!mask.Empty()) {
        const TRect r{g, g, mask.Bitmap().Width() - g, mask.Bitmap().Height() - g};
        mask.Text(AText, r, AFlags);
        if (AFivePasses) {
            mask.Text(AText, r, AFlags, -1, 0);
            mask.Text(AText, r, AFlags, 1, 0);
            mask.Text(AText, r, AFlags, 0, -1);
            mask.Text(AText, r, AFlags, 0, 1);
        }
        BlurBitmap(&mask.Bitmap(), g);
        mask.DrawAsGlow(ACanvas, AGlowColor, ARect.Left + AOffset - g, ARect.Top + AOffset - g);
    }
    return FinalText(ACanvas, AText, ARect, AFlags);
}

// The backdrop: a solid block (AFill, relative to the text's place) and the
// text around its place, blurred twice.
Integer Backdrop(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags, TColor AColor,
                 Integer AMargin, const TRect& AFill, Integer ARadius) {
    TTextMask mask(ACanvas, ARect.Width() + 2 * AMargin, ARect.Height() + 2 * AMargin);
    if (!mask.Empty()) {
        TqxBitmap& bitmap = mask.Bitmap();
        const TRect t{AMargin, AMargin, bitmap.Width() - AMargin, bitmap.Height() - AMargin};
        bitmap.FillRect(
            {t.Left + AFill.Left, t.Top + AFill.Top, t.Right + AFill.Right, t.Bottom + AFill.Bottom},
            0xFFFF0000);
        static constexpr TPoint Passes[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0},
                                            {2, 0},   {1, 1},   {2, 2},  {0, 0}};
        for (const TPoint& p : Passes)
            mask.Text(AText, t, AFlags, p.X, p.Y);
        BlurBitmap(&bitmap, ARadius);
        BlurBitmap(&bitmap, ARadius);
        mask.DrawAsGlow(ACanvas, AColor, ARect.Left - AMargin, ARect.Top - AMargin);
    }
    return FinalText(ACanvas, AText, ARect, AFlags);
}

}  // namespace

Integer SkinTextWidth(TCanvas* ACanvas, const String& AText) {
    return Measure(ACanvas, AText).Width();
}

Integer SkinTextHeight(TCanvas* ACanvas, const String& AText) {
    return Measure(ACanvas, AText).Height();
}

void FitTextToWidthW(TCanvas* ACanvas, String& AText, Integer AWidth) {
    FitText(AText, AWidth, [&](const String& AValue) { return SkinTextWidth(ACanvas, AValue); });
}

void FitTextToWidth(TCanvas* ACanvas, String& AText, Integer AWidth) {
    FitText(AText, AWidth, [&](const String& AValue) { return ACanvas->TextWidth(AValue); });
}

void DrawTextCenteredOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect) {
    DrawOneLine(ACanvas, AText, ARect, DT_CENTER, true);
}

void DrawTextLeftOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect) {
    DrawOneLine(ACanvas, AText, ARect, 0, true);
}

void DrawTextOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect) {
    DrawOneLine(ACanvas, AText, ARect, 0, false);
}

void DrawTextAlignedOneLine(TCanvas* ACanvas, const String& AText, const TRect& ARect, Integer AAlignment,
                            Cardinal AFlags) {
    const Cardinal flags = AAlignment == 1 ? DT_RIGHT : AAlignment == 2 ? DT_CENTER : 0;
    DrawOneLine(ACanvas, AText, ARect, flags | AFlags, false);
}

// The text is rebuilt so that DT_WORDBREAK can break (or, without
// breaking, shortens) every word that is wider than the rectangle.
void DrawWrappedTextCentered(TCanvas* ACanvas, const String& AText, const TRect& ARect, bool ABreakLongWords,
                             Cardinal AFlags) {
    if (AText.empty()) return;
    const Integer width = ARect.Width();
    String text, word;
    bool skipping = false;
    for (const char16_t c : AText) {
        if (c == u' ') {
            text += c;
            word.clear();
            skipping = false;
            continue;
        }
        if (skipping) continue;
        if (Measure(ACanvas, word + c, DT_SINGLELINE | AFlags).Width() <= width) {
            text += c;
            word += c;
        } else if (ABreakLongWords) {
            text += u' ';
            text += c;
            word.clear();
        } else {
            if (text.size() > 3) text.replace(text.size() - 3, 3, u"...");
            text += u' ';
            skipping = true;
        }
    }
    SkinDrawText(ACanvas, text, Raised(ACanvas, ARect), DT_WORDBREAK | DT_CENTER | AFlags);
}

void DrawTextVCentered(TCanvas* ACanvas, const String& AText, const TRect& ARect) {
    DrawTextVCenteredIndent(ACanvas, AText, ARect, 0);
}

void DrawTextVCenteredIndent(TCanvas* ACanvas, const String& AText, const TRect& ARect, Integer AIndent) {
    if (AText.empty()) return;
    Integer y = ARect.Top + ARect.Height() / 2 - ACanvas->TextHeight(AText) / 2;
    if (IsOddFontHeight(ACanvas)) --y;
    ACanvas->TextRect(ARect, ARect.Left + AIndent + 2, y, AText);
}

void DrawGlowText(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags, Integer AOffset,
                  TColor AGlowColor, Integer AGlowSize) {
    Glow(ACanvas, ARect, AText, AFlags, AOffset, AGlowColor, AGlowSize, true);
}

Integer DrawGlowTextW(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                      Integer AOffset, TColor AGlowColor, Integer AGlowSize) {
    return Glow(ACanvas, ARect, AText, AFlags, AOffset, AGlowColor, AGlowSize, false);
}

Integer DrawTextOnGlowBackdrop(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                               TColor AColor) {
    return Backdrop(ACanvas, ARect, AText, AFlags, AColor, 10, {3, 3, -3, -3}, 5);
}

Integer DrawTextOnWideGlowBackdrop(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                                   TColor AColor) {
    return Backdrop(ACanvas, ARect, AText, AFlags, AColor, 12, {-3, 2, 3, -2}, 6);
}

double ReflectionFactor(Integer AY, Integer ATop, Integer ABottom) {
    if (ABottom <= ATop) return 0;
    const double f = 0.7 - double(ABottom + ATop - AY) / double(ABottom - ATop);
    return f < 0 ? 0 : f;
}

void DrawReflectedText(TCanvas* ACanvas, const TRect& ARect, const String& AText, Cardinal AFlags,
                       Integer AOffset, TColor AColor) {
    TTextMask mask(ACanvas, ARect.Width(), ARect.Height());
    if (!mask.Empty()) {
        TqxBitmap& bitmap = mask.Bitmap();
        const Integer h = bitmap.Height();
        mask.Text(AText, {0, 0, bitmap.Width(), h}, AFlags);
        TRect b{0, 0, bitmap.Width(), h};
        SkinDrawText(bitmap.Canvas(), AText, b, AFlags | DT_CALCRECT);
        TRect c = ARect;
        SkinDrawText(ACanvas, AText, c, AFlags | DT_CALCRECT);
        if (b.Bottom > b.Top) {
            const TqxColor color = ColorToPixel(ColorToRGB(AColor)) & 0x00FFFFFF;
            for (Integer y = 0; y < h; ++y) {
                TqxColor* row = bitmap.GetScanLinePtr(y);
                const bool inside = y >= b.Top && y <= b.Bottom;
                const double f = inside ? ReflectionFactor(y, b.Top, b.Bottom) : 0;
                for (Integer x = 0; x < bitmap.Width(); ++x)
                    row[x] = color | TqxColor(Integer((row[x] >> 16 & 0xFF) * f)) << 24;
            }
        }
        bitmap.FlipVert();
        bitmap.SetAlphaBlend(true);
        bitmap.Draw(ACanvas, ARect.Left, c.Bottom + b.Bottom + AOffset - h);
    }
    FinalText(ACanvas, AText, ARect, AFlags);
}
