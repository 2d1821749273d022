#include "platform/gdi/text.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/gdi/codepoint.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcinternal.h"
#include "platform/gdi/fontengine.h"
#include "platform/gdi/textlayout.h"

namespace win {

namespace {

using gdi::DrawTarget;
using gdi::FontInstance;
using gdi::TextLine;

gdi::FontRequest RequestOf(const LOGFONTW& AFont) {
    gdi::FontRequest request;
    const std::u16string_view face(AFont.lfFaceName, LF_FACESIZE);
    request.FaceName = face.substr(0, face.find(u'\0'));
    request.Height = AFont.lfHeight;
    request.Weight = AFont.lfWeight;
    request.Italic = AFont.lfItalic != 0;
    request.Underline = AFont.lfUnderline != 0;
    request.StrikeOut = AFont.lfStrikeOut != 0;
    request.CharSet = AFont.lfCharSet;
    return request;
}

// What a text call needs of its DC; taken and used under the drawing lock.
struct TextDC {
    HDC Handle = nullptr;
    DrawTarget Target;
    std::shared_ptr<FontInstance> Font;

    bool Open(HDC ADC) {
        Handle = ADC;
        if (!gdi::GetDrawTarget(ADC, Target)) return false;
        Font = gdi::FontEngine::Instance().Realize(RequestOf(Target.LogFont));
        return Font != nullptr;
    }
};

bool ReadText(const WCHAR* AText, Int64 ACount, std::u16string_view& AResult) {
    if (ACount < 0 || (ACount > 0 && !AText)) return false;
    AResult = std::u16string_view(AText ? AText : u"", size_t(ACount));
    return true;
}

// A surface rectangle from wide logical arithmetic, cut to what a RECT holds.
RECT SurfaceRect(const DrawTarget& ATarget, Int64 ALeft, Int64 ATop, Int64 ARight, Int64 ABottom) {
    const auto clamp = [](Int64 AValue) { return LONG(std::clamp<Int64>(AValue, INT32_MIN, INT32_MAX)); };
    return {clamp(ALeft + ATarget.Offset.x), clamp(ATop + ATarget.Offset.y), clamp(ARight + ATarget.Offset.x),
            clamp(ABottom + ATarget.Offset.y)};
}

// Glyph coverage of AText with its pen starting at surface (AX, ABaseline).
void DrawGlyphs(const DrawTarget& ATarget, FontInstance& AFont, std::u16string_view AText, Int64 AX,
                Int64 ABaseline) {
    const RECT bounds = ATarget.Clip.Bounds();
    std::vector<Integer> advances(AText.size());
    AFont.Advances(AText, advances.data());
    for (size_t i = 0; i < AText.size();) {
        size_t length = 1;
        const char32_t code = gdi::CodePointAt(AText, i, length);
        const Int64 x = AX;
        AX += advances[i];
        i += length;
        // Only glyphs that can reach the clip are rendered.
        if (x + AFont.Metrics().MaxCharWidth + AFont.EmHeight() < bounds.left ||
            x - AFont.EmHeight() >= bounds.right)
            continue;
        const gdi::GlyphImage& glyph = AFont.Glyph(code);
        if (glyph.Coverage.empty()) continue;
        const Int64 left = x + glyph.Left;
        const Int64 top = ABaseline - glyph.Top;
        if (left + glyph.Width <= bounds.left || left >= bounds.right || top + glyph.Height <= bounds.top ||
            top >= bounds.bottom)
            continue;
        gdi::BlendCoverage(ATarget, int(left), int(top), glyph.Width, glyph.Height, glyph.Coverage.data(),
                           glyph.Width, ATarget.TextColor);
    }
}

// One laid-out line in logical coordinates: its background in opaque mode,
// its glyphs, the font's underline and strikeout, and prefix underlines.
void DrawLine(const DrawTarget& ATarget, FontInstance& AFont, const TextLine& ALine) {
    if (ATarget.Clip.Empty()) return;
    const gdi::FontMetrics& m = AFont.Metrics();
    const gdi::FontRequest& request = AFont.Request();
    const Int64 left = ALine.X;
    const Int64 right = left + ALine.Width;
    const Int64 baseline = Int64(ALine.Y) + m.Ascent;
    if (ATarget.BkMode == OPAQUE)
        gdi::FillSurfaceRect(ATarget, SurfaceRect(ATarget, left, ALine.Y, right, Int64(ALine.Y) + m.Height),
                             ATarget.BkColor);
    for (const gdi::TextRun& run : ALine.Runs)
        DrawGlyphs(ATarget, AFont, run.Text, Int64(run.X) + ATarget.Offset.x, baseline + ATarget.Offset.y);
    const auto bar = [&](Int64 ALeft, Int64 ARight, Int64 ATop, Integer AThickness) {
        gdi::FillSurfaceRect(ATarget, SurfaceRect(ATarget, ALeft, ATop, ARight, ATop + AThickness),
                             ATarget.TextColor);
    };
    const Int64 underline = baseline + m.UnderlineOffset;
    if (request.Underline) bar(left, right, underline, m.UnderlineThickness);
    if (request.StrikeOut) bar(left, right, baseline - m.StrikeOutOffset, m.StrikeOutThickness);
    for (const gdi::TextSpan& span : ALine.Underlines)
        bar(span.X, Int64(span.X) + span.Width, underline, m.UnderlineThickness);
}

// Places a line drawn from (X, Y) as the DC's text alignment says, and
// moves the current position when the alignment asks for it.
void Align(TextDC& ADC, TextLine& ALine) {
    const UINT align = ADC.Target.TextAlign;
    const gdi::FontMetrics& m = ADC.Font->Metrics();
    Integer dx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -ALine.Width / 2;
    else if (align & TA_RIGHT)
        dx = -ALine.Width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        ALine.Y -= m.Ascent;
    else if (align & TA_BOTTOM)
        ALine.Y -= m.Height;
    if (align & TA_UPDATECP) {
        POINT next = ADC.Target.CurrentPosition;
        if ((align & TA_CENTER) != TA_CENTER) next.x += align & TA_RIGHT ? -ALine.Width : ALine.Width;
        gdi::SetCurrentPosition(ADC.Handle, next);
    }
    ALine.X += dx;
    for (gdi::TextRun& run : ALine.Runs)
        run.X += dx;
    for (gdi::TextSpan& span : ALine.Underlines)
        span.X += dx;
}

void ClipTo(DrawTarget& ATarget, const RECT& ALogical) {
    ATarget.Clip.Intersect(
        SurfaceRect(ATarget, ALogical.left, ALogical.top, ALogical.right, ALogical.bottom));
}

}  // namespace

BOOL GetTextMetricsW(HDC ADC, TEXTMETRICW* AMetrics) {
    if (!AMetrics) return FALSE;
    gdi::GdiLock lock(gdi::GdiMutex());
    TextDC dc;
    if (!dc.Open(ADC)) return FALSE;
    const gdi::FontMetrics& m = dc.Font->Metrics();
    const LOGFONTW& font = dc.Target.LogFont;
    TEXTMETRICW& tm = *AMetrics;
    tm = TEXTMETRICW{};
    tm.tmHeight = m.Height;
    tm.tmAscent = m.Ascent;
    tm.tmDescent = m.Descent;
    tm.tmInternalLeading = m.InternalLeading;
    tm.tmExternalLeading = m.ExternalLeading;
    tm.tmAveCharWidth = m.AveCharWidth;
    tm.tmMaxCharWidth = m.MaxCharWidth;
    tm.tmWeight = m.Weight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = u' ';
    tm.tmLastChar = 0xFFFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = u' ';
    tm.tmItalic = font.lfItalic ? 1 : 0;
    tm.tmUnderlined = font.lfUnderline ? 1 : 0;
    tm.tmStruckOut = font.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily = BYTE((m.FixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                               (font.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = font.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font.lfCharSet;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC ADC, const WCHAR* AText, int ACount, SIZE* ASize) {
    std::u16string_view text;
    if (!ASize || !ReadText(AText, ACount, text)) return FALSE;
    gdi::GdiLock lock(gdi::GdiMutex());
    TextDC dc;
    if (!dc.Open(ADC)) return FALSE;
    ASize->cx = dc.Font->TextWidth(text);
    ASize->cy = dc.Font->Metrics().Height;
    return TRUE;
}

BOOL TextOutW(HDC ADC, int X, int Y, const WCHAR* AText, int ACount) {
    if (ACount < 0) return FALSE;
    return ExtTextOutW(ADC, X, Y, 0, nullptr, AText, UINT(ACount), nullptr);
}

BOOL ExtTextOutW(HDC ADC, int X, int Y, UINT AOptions, const RECT* ARect, const WCHAR* AText, UINT ACount,
                 const int* ADx) {
    std::u16string_view text;
    if (!ReadText(AText, ACount, text)) return FALSE;
    gdi::GdiLock lock(gdi::GdiMutex());
    TextDC dc;
    if (!dc.Open(ADC)) return FALSE;
    if ((dc.Target.TextAlign & TA_UPDATECP)) {
        X = dc.Target.CurrentPosition.x;
        Y = dc.Target.CurrentPosition.y;
    }
    TextLine line;
    line.X = X;
    line.Y = Y;
    if (ADx) {
        // Each character where the caller's advances put it.
        Int64 x = X;
        for (size_t i = 0; i < text.size();) {
            size_t length = 1;
            gdi::CodePointAt(text, i, length);
            line.Runs.push_back(
                {Integer(std::clamp<Int64>(x, INT32_MIN, INT32_MAX)), String(text.substr(i, length))});
            for (size_t end = i + length; i < end; ++i)
                x += ADx[i];
        }
        line.Width = Integer(std::clamp<Int64>(x - X, 0, INT32_MAX));
    } else {
        line.Width = dc.Font->TextWidth(text);
        line.Runs.push_back({X, String(text)});
    }
    Align(dc, line);
    DrawTarget& target = dc.Target;
    if (ARect && (AOptions & ETO_OPAQUE))
        gdi::FillSurfaceRect(target,
                             SurfaceRect(target, ARect->left, ARect->top, ARect->right, ARect->bottom),
                             target.BkColor);
    if (ARect && (AOptions & ETO_CLIPPED)) ClipTo(target, *ARect);
    DrawLine(target, *dc.Font, line);
    return TRUE;
}

int DrawTextW(HDC ADC, const WCHAR* AText, int ACount, RECT* ARect, UINT AFormat) {
    return DrawTextExW(ADC, AText, ACount, ARect, AFormat, nullptr);
}

int DrawTextExW(HDC ADC, const WCHAR* AText, int ACount, RECT* ARect, UINT AFormat, DRAWTEXTPARAMS* AParams) {
    if (!ARect || (AParams && AParams->cbSize != sizeof(DRAWTEXTPARAMS))) return 0;
    std::u16string_view text;
    if (ACount == -1 && AText)
        text = AText;
    else if (!ReadText(AText, ACount, text))
        return 0;
    gdi::GdiLock lock(gdi::GdiMutex());
    TextDC dc;
    if (!dc.Open(ADC)) return 0;
    gdi::DrawTextOptions options;
    options.Format = AFormat;
    if (AParams) {
        if (AParams->iTabLength > 0) options.TabLength = AParams->iTabLength;
        options.LeftMargin = AParams->iLeftMargin;
        options.RightMargin = AParams->iRightMargin;
        AParams->uiLengthDrawn = UINT(text.size());
    }
    const gdi::TextBox box{ARect->left, ARect->top, ARect->right, ARect->bottom};
    const gdi::TextLayout layout = gdi::LayoutDrawText(text, box, options, *dc.Font);
    if (AFormat & DT_CALCRECT) {
        ARect->right = layout.Bounds.Right;
        ARect->bottom = layout.Bounds.Bottom;
        return layout.Result;
    }
    if (!(AFormat & DT_NOCLIP)) ClipTo(dc.Target, *ARect);
    for (const TextLine& line : layout.Lines)
        DrawLine(dc.Target, *dc.Font, line);
    return layout.Result;
}

LONG TabbedTextOutW(HDC ADC, int X, int Y, const WCHAR* AText, int ACount, int ATabCount,
                    const int* ATabStops, int ATabOrigin) {
    std::u16string_view text;
    if (!ReadText(AText, ACount, text)) return 0;
    gdi::GdiLock lock(gdi::GdiMutex());
    TextDC dc;
    if (!dc.Open(ADC)) return 0;
    if ((dc.Target.TextAlign & TA_UPDATECP)) {
        X = dc.Target.CurrentPosition.x;
        Y = dc.Target.CurrentPosition.y;
    }
    const gdi::TabStops tabs =
        gdi::TabbedTextStops(ATabStops, ATabCount, ATabOrigin, 8 * dc.Font->Metrics().AveCharWidth);
    TextLine line = gdi::LayoutTabbedLine(text, X, Y, tabs, *dc.Font);
    Align(dc, line);
    DrawLine(dc.Target, *dc.Font, line);
    return LONG((DWORD(dc.Font->Metrics().Height) << 16) | (DWORD(line.Width) & 0xFFFF));
}

}  // namespace win
