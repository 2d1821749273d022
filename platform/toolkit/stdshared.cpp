#include "platform/toolkit/stdshared.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"
#include "platform/win/messages.h"

using namespace win;

void Frame3D(TCanvas* ACanvas, TRect& ARect, TColor ATopColor, TColor ABottomColor, Integer AWidth) {
    ACanvas->Pen()->SetWidth(1);
    for (Integer i = 0; i < AWidth && ARect.Width() > 0 && ARect.Height() > 0; ++i) {
        const Integer right = ARect.Right - 1, bottom = ARect.Bottom - 1;
        ACanvas->Pen()->SetColor(ATopColor);
        const TPoint topLeft[] = {{ARect.Left, bottom}, {ARect.Left, ARect.Top}, {right, ARect.Top}};
        ACanvas->Polyline(topLeft);
        ACanvas->Pen()->SetColor(ABottomColor);
        // The last point of a polyline is left out, so the corner is drawn one past it.
        const TPoint bottomRight[] = {{right, ARect.Top}, {right, bottom}, {ARect.Left - 1, bottom}};
        ACanvas->Polyline(bottomRight);
        ARect = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1);
    }
}

void DrawButtonFace(TCanvas* ACanvas, const TRect& ARect, bool APressed) {
    RECT r = ToRECT(ARect);
    const HDC dc = ACanvas->Handle();
    if (APressed) {
        ACanvas->Brush()->SetColor(clBtnShadow);
        ACanvas->FrameRect(ARect);
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FillRect(Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1));
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

void DrawArrow(TCanvas* ACanvas, const TRect& ARect, TArrowDirection ADirection, TColor AColor) {
    const bool vertical = ADirection == adUp || ADirection == adDown;
    // The arrow's long side, kept odd so that it has a middle pixel.
    Integer size = std::min(ARect.Width(), ARect.Height()) / 2;
    size = std::clamp(size | 1, 3, 9);
    const Integer depth = size / 2 + 1;
    const Integer cx = ARect.Left + ARect.Width() / 2, cy = ARect.Top + ARect.Height() / 2;
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Pen()->SetWidth(1);
    for (Integer i = 0; i < depth; ++i) {
        const Integer half = depth - 1 - i;
        if (vertical) {
            const Integer y = ADirection == adDown ? cy - depth / 2 + i : cy + depth / 2 - i;
            ACanvas->MoveTo(cx - half, y);
            ACanvas->LineTo(cx + half + 1, y);
        } else {
            const Integer x = ADirection == adRight ? cx - depth / 2 + i : cx + depth / 2 - i;
            ACanvas->MoveTo(x, cy - half);
            ACanvas->LineTo(x, cy + half + 1);
        }
    }
}

Integer DrawCaption(TCanvas* ACanvas, const String& AText, TRect ARect, UINT AFlags, bool AEnabled) {
    ACanvas->Brush()->SetStyle(bsClear);
    const TColor color = ACanvas->Font()->Color();
    const auto draw = [&](TRect ARectangle) {
        RECT r = ToRECT(ARectangle);
        ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
        return Integer(DrawTextW(ACanvas->Handle(), AText.c_str(), Integer(AText.size()), &r, AFlags));
    };
    Integer height;
    if (AEnabled) {
        height = draw(ARect);
    } else {
        ACanvas->Font()->SetColor(clBtnHighlight);
        draw(Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right + 1, ARect.Bottom + 1));
        ACanvas->Font()->SetColor(clBtnShadow);
        height = draw(ARect);
    }
    ACanvas->Font()->SetColor(color);
    return height;
}

TFontDC::TFontDC(TFont* AFont) : FDC(CreateCompatibleDC(nullptr)) {
    FOldFont = SelectObject(FDC, AFont->Handle());
}

TFontDC::~TFontDC() {
    SelectObject(FDC, FOldFont);
    DeleteDC(FDC);
}

Integer TFontDC::TextWidth(std::u16string_view AText) const {
    SIZE size{};
    GetTextExtentPoint32W(FDC, AText.data(), Integer(AText.size()), &size);
    return size.cx;
}

Integer TFontDC::LineHeight() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(FDC, &metrics);
    return metrics.tmHeight;
}

bool AnswerTextMessage(TMessage& AMessage, const String& AText) {
    if (AMessage.Msg == WM_GETTEXTLENGTH) {
        AMessage.Result = LRESULT(AText.size());
        return true;
    }
    if (AMessage.Msg != WM_GETTEXT) return false;
    if (!AMessage.WParam || !AMessage.LParam) return true;
    auto* buffer = reinterpret_cast<char16_t*>(AMessage.LParam);
    const size_t count = std::min(AText.size(), size_t(AMessage.WParam) - 1);
    std::copy_n(AText.begin(), count, buffer);
    buffer[count] = 0;
    AMessage.Result = LRESULT(count);
    return true;
}
