#include "platform/toolkit/graphicsobjects.h"

#include <algorithm>

#include "platform/gdi/capabilities.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

TGraphicsObject::~TGraphicsObject() {
    if (FHandle) win::DeleteObject(FHandle);
}

void TGraphicsObject::Changed() {
    win::HGDIOBJ old = FHandle;
    FHandle = nullptr;
    if (OnChange) OnChange(this);
    if (old) win::DeleteObject(old);
}

win::HGDIOBJ TGraphicsObject::GetHandle() {
    if (!FHandle) FHandle = CreateHandle();
    return FHandle;
}

TFont::TFont() : FPixelsPerInch(win::Capabilities().PixelsPerInch) {
    FHeight = -MulDiv(8, FPixelsPerInch, 72);
}

void TFont::Assign(TPersistent* ASource) {
    auto* font = dynamic_cast<TFont*>(ASource);
    if (!font) return TPersistent::Assign(ASource);
    FName = font->FName;
    FHeight = font->FHeight;
    FStyle = font->FStyle;
    FColor = font->FColor;
    FCharset = font->FCharset;
    Changed();
}

void TFont::SetName(const String& AValue) {
    if (!AValue.empty()) Update(FName, AValue);
}

void TFont::SetHeight(Integer AValue) {
    Update(FHeight, AValue);
}

Integer TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(Integer AValue) {
    SetHeight(-MulDiv(AValue, FPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles AValue) {
    Update(FStyle, AValue);
}

void TFont::SetColor(TColor AValue) {
    Update(FColor, AValue);
}

void TFont::SetCharset(TFontCharset AValue) {
    Update(FCharset, AValue);
}

win::HGDIOBJ TFont::CreateHandle() {
    win::LOGFONTW font{};
    font.lfHeight = FHeight;
    font.lfWeight = FStyle.Contains(fsBold) ? win::FW_BOLD : win::FW_NORMAL;
    font.lfItalic = FStyle.Contains(fsItalic);
    font.lfUnderline = FStyle.Contains(fsUnderline);
    font.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    font.lfCharSet = FCharset;
    std::copy_n(FName.begin(), std::min<size_t>(FName.size(), win::LF_FACESIZE - 1), font.lfFaceName);
    return win::CreateFontIndirectW(&font);
}

void TPen::Assign(TPersistent* ASource) {
    auto* pen = dynamic_cast<TPen*>(ASource);
    if (!pen) return TPersistent::Assign(ASource);
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Changed();
}

void TPen::SetColor(TColor AValue) {
    Update(FColor, AValue);
}

void TPen::SetWidth(Integer AValue) {
    if (AValue >= 0) Update(FWidth, AValue);
}

void TPen::SetStyle(TPenStyle AValue) {
    Update(FStyle, AValue);
}

void TPen::SetMode(TPenMode AValue) {
    Update(FMode, AValue);
}

win::HGDIOBJ TPen::CreateHandle() {
    static constexpr int styles[] = {win::PS_SOLID,      win::PS_DASH, win::PS_DOT,        win::PS_DASHDOT,
                                     win::PS_DASHDOTDOT, win::PS_NULL, win::PS_INSIDEFRAME};
    return win::CreatePen(styles[FStyle], FWidth, static_cast<win::COLORREF>(ColorToRGB(FColor)));
}

int PenModeToRop2(TPenMode AMode) {
    static constexpr int rop2[] = {
        win::R2_BLACK,       win::R2_WHITE,      win::R2_NOP,         win::R2_NOT,
        win::R2_COPYPEN,     win::R2_NOTCOPYPEN, win::R2_MERGEPENNOT, win::R2_MASKPENNOT,
        win::R2_MERGENOTPEN, win::R2_MASKNOTPEN, win::R2_MERGEPEN,    win::R2_NOTMERGEPEN,
        win::R2_MASKPEN,     win::R2_NOTMASKPEN, win::R2_XORPEN,      win::R2_NOTXORPEN};
    return rop2[AMode];
}

void TBrush::Assign(TPersistent* ASource) {
    auto* brush = dynamic_cast<TBrush*>(ASource);
    if (!brush) return TPersistent::Assign(ASource);
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

void TBrush::SetColor(TColor AValue) {
    if (AValue == FColor && FStyle == bsSolid) return;
    FColor = AValue;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle AValue) {
    Update(FStyle, AValue);
}

win::HGDIOBJ TBrush::CreateHandle() {
    win::LOGBRUSH brush{FStyle == bsClear ? win::BS_NULL : win::BS_SOLID,
                        static_cast<win::COLORREF>(ColorToRGB(FColor)), 0};
    return win::CreateBrushIndirect(&brush);
}
