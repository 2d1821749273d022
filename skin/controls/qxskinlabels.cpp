#include "skin/controls/qxskinlabels.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/published.h"
#include "platform/win/painting.h"
#include "skin/controls/qxskinlink.h"
#include "skin/core/qxresstrs.h"

using namespace win;

// TqxLabelSkin

TqxLabelSkin::TqxLabelSkin() : DefaultFont(std::make_unique<TFont>()) {
    DefaultFont->SetName(u"Tahoma");
    DefaultFont->SetHeight(13);
    DefaultFont->SetStyle({});
}

void TqxLabelSkin::GetSkinData() {
    FIndex = !SD || SD->Empty ? -1 : SD->GetControlIndex(SkinDataName);
    const auto* e =
        FIndex == -1 ? nullptr : dynamic_cast<const TqxDataSkinStdLabelControl*>(SD->CtrlList[FIndex]);
    if (!e) return;
    FontName = e->FontName;
    FontStyle = e->FontStyle;
    FontHeight = e->FontHeight;
    FontColor = e->FontColor;
}

void TqxLabelSkin::SetupFont(TCanvas* ACanvas, TFont* AFont) {
    TFont* font = ACanvas->Font();
    if (FIndex == -1) {
        font->Assign(UseSkinFont ? DefaultFont.get() : AFont);
    } else {
        font->Assign(AFont);
        if (UseSkinFont) {
            font->SetName(FontName);
            font->SetStyle(FontStyle);
            font->SetHeight(FontHeight);
        }
        if (UseSkinColor) font->SetColor(FontColor);
    }
    font->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : DefaultFont->Charset());
}

void TqxLabelSkin::DrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags,
                            bool AEnabled, bool AEx) {
    const HDC dc = ACanvas->Handle();
    const auto draw = [&](TRect& R) {
        RECT r = ToRECT(R);
        if (AEx)
            DrawTextExW(dc, AText.c_str(), Integer(AText.size()), &r, AFlags, nullptr);
        else
            DrawTextW(dc, AText.c_str(), Integer(AText.size()), &r, AFlags);
        if (AFlags & DT_CALCRECT) R = ToTRect(r);
    };
    if (AEnabled || (AFlags & DT_CALCRECT)) return draw(ARect);
    // Embossed: the light copy a pixel down and right under the shadow one.
    const bool skinned = FIndex != -1;
    TRect light = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right + 1, ARect.Bottom + 1);
    ACanvas->Font()->SetColor(skinned ? SD->SkinColors()->cBtnHighLight() : clBtnHighlight);
    SetTextColor(dc, ColorToRGB(ACanvas->Font()->Color()));
    draw(light);
    ACanvas->Font()->SetColor(skinned ? SD->SkinColors()->cBtnShadow() : clBtnShadow);
    SetTextColor(dc, ColorToRGB(ACanvas->Font()->Color()));
    draw(ARect);
}

// TqxSkinStdLabel

TqxSkinStdLabel::TqxSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
    SetTransparent(true);
}

void TqxSkinStdLabel::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSkin.SD, AValue);
    if (AValue) ChangeSkinData();
}

void TqxSkinStdLabel::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomLabel::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSkin.SD) {
        FSkin.SD = nullptr;
        FSkin.FIndex = -1;
    }
}

void TqxSkinStdLabel::SetEllipsType(TqxEllipsType AValue) {
    if (AValue == FEllipsType) return;
    FEllipsType = AValue;
    Invalidate();
}

void TqxSkinStdLabel::ChangeSkinData() {
    GetSkinData();
    if (AutoSize()) AdjustBounds();
    Repaint();
}

Cardinal TqxSkinStdLabel::Flags(Cardinal AFlags) const {
    if (!ShowAccelChar()) AFlags |= DT_NOPREFIX;
    if (FEllipsType == qxetEndEllips) AFlags |= DT_END_ELLIPSIS;
    if (FEllipsType == qxetPathEllips) AFlags |= DT_PATH_ELLIPSIS;
    return DrawTextBiDiModeFlags(AFlags);
}

void TqxSkinStdLabel::DrawOn(TCanvas* ACanvas, const String& AText, TRect& ARect, Cardinal AFlags) {
    String text = AText;
    // An empty caption still measures one line high.
    if ((AFlags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == u"&"))) text += u' ';
    FSkin.SetupFont(ACanvas, Font());
    ACanvas->Brush()->SetStyle(bsClear);
    FSkin.DrawText(ACanvas, text, ARect, Flags(AFlags), Enabled(), FEllipsType != qxetNone);
}

void TqxSkinStdLabel::DoDrawText(TRect& ARect, Cardinal AFlags) {
    GetSkinData();
    DrawOn(Canvas(), GetLabelText(), ARect, AFlags);
}

void TqxSkinStdLabel::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
    GetSkinData();
    if (!Transparent()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Bounds(X, Y, Width(), Height()));
    }
    TRect r = Rect(0, 0, Width(), Height());
    const Cardinal flags = TextFlags();
    if (Layout() != tlTop) {
        TRect measured = r;
        DrawOn(C, AText, measured, flags | DT_CALCRECT);
        const Integer free = Height() - measured.Height();
        r.Top += Layout() == tlBottom ? free : free / 2;
    }
    r = Rect(r.Left + X, r.Top + Y, r.Right + X, r.Bottom + Y);
    DrawOn(C, AText, r, flags);
}

// TqxSkinTextLabel

TqxSkinTextLabel::TqxSkinTextLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FLines(std::make_unique<TStringList>()) {
    FControlStyle.Exclude(csOpaque);
    FControlStyle.Include(csReplicatable);
    FLines->OnChange = [this](TObject*) { LinesChanged(); };
    SetBounds(Left(), Top(), 65, 65);
    TGraphicControl::SetAutoSize(true);
}

TqxSkinTextLabel::~TqxSkinTextLabel() {
    FLines->OnChange = nullptr;
}

void TqxSkinTextLabel::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSkin.SD, AValue);
    if (AValue) ChangeSkinData();
}

void TqxSkinTextLabel::Notification(TComponent* AComponent, TOperation AOperation) {
    TGraphicControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSkin.SD) {
        FSkin.SD = nullptr;
        FSkin.FIndex = -1;
    }
}

void TqxSkinTextLabel::SetLines(TStrings* AValue) {
    FLines->Assign(AValue);
    Repaint();
}

void TqxSkinTextLabel::LinesChanged() {
    if (AutoSize()) AdjustBounds();
    Invalidate();
}

void TqxSkinTextLabel::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    Invalidate();
}

void TqxSkinTextLabel::SetLayout(TTextLayout AValue) {
    if (AValue == FLayout) return;
    FLayout = AValue;
    Invalidate();
}

void TqxSkinTextLabel::SetWordWrap(bool AValue) {
    if (AValue == FWordWrap) return;
    FWordWrap = AValue;
    AdjustBounds();
    Invalidate();
}

void TqxSkinTextLabel::SetAutoSize(bool AValue) {
    if (AValue == AutoSize()) return;
    TGraphicControl::SetAutoSize(AValue);
    AdjustBounds();
}

void TqxSkinTextLabel::ChangeSkinData() {
    GetSkinData();
    if (AutoSize()) AdjustBounds();
    Repaint();
}

String TqxSkinTextLabel::GetLabelText() const {
    String text;
    for (Integer i = 0; i < FLines->Count(); ++i)
        text += FLines->Get(i) + u"\r\n";
    return text;
}

Cardinal TqxSkinTextLabel::Flags() const {
    static constexpr Cardinal alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | alignments[FAlignment];
}

void TqxSkinTextLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !AutoSize()) return;
    GetSkinData();
    const HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    FSkin.SetupFont(&canvas, Font());
    TRect r = ClientRect();
    FSkin.DrawText(&canvas, GetLabelText(), r, Flags() | DT_CALCRECT, true, false);
    // The text ends in a line break, which measures one line more; an empty
    // list has nothing to take it from.
    const Integer height = std::max(0, r.Height() - canvas.TextHeight(u"A"));
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    Integer left = Left();
    if (FAlignment == taRightJustify) left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), height);
}

void TqxSkinTextLabel::Paint() {
    GetSkinData();
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    FSkin.SetupFont(canvas, Font());
    const String text = GetLabelText();
    TRect r = ClientRect();
    if (FLayout != tlTop) {
        TRect measured = r;
        FSkin.DrawText(canvas, text, measured, Flags() | DT_CALCRECT, true, false);
        const Integer height = measured.Height() - canvas->TextHeight(u"A");
        const Integer free = Height() - height;
        r.Top += FLayout == tlBottom ? free : free / 2;
    }
    FSkin.DrawText(canvas, text, r, Flags(), Enabled(), false);
}

void TqxSkinTextLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TqxSkinTextLabel::Dispatch(TMessage& AMessage) {
    TGraphicControl::Dispatch(AMessage);
    if (AMessage.Msg != CM_FONTCHANGED) return;
    AdjustBounds();
    Invalidate();
}

namespace {

const auto Registered = [] {
    RegisterEnum<TqxEllipsType>({u"qxetNone", u"qxetEndEllips", u"qxetPathEllips"});
    using L = TqxSkinStdLabel;
    RegisterClass<L, TCustomLabel>()
        .Property(u"SkinData", &L::SkinData, &L::SetSkinData)
        .Property(u"SkinDataName", &L::SkinDataName, &L::SetSkinDataName)
        .Property(u"DefaultFont", &L::DefaultFont)
        .Property(u"UseSkinFont", &L::UseSkinFont, &L::SetUseSkinFont)
        .Property(u"UseSkinColor", &L::UseSkinColor, &L::SetUseSkinColor)
        .Property(u"EllipsType", &L::EllipsType, &L::SetEllipsType);
    using T = TqxSkinTextLabel;
    RegisterClass<T, TGraphicControl>()
        .Property(u"SkinData", &T::SkinData, &T::SetSkinData)
        .Property(u"SkinDataName", &T::SkinDataName, &T::SetSkinDataName)
        .Property(u"DefaultFont", &T::DefaultFont)
        .Property(u"UseSkinFont", &T::UseSkinFont, &T::SetUseSkinFont)
        .Property(u"UseSkinColor", &T::UseSkinColor, &T::SetUseSkinColor)
        .Property(u"Lines", &T::Lines)
        .Property(u"Alignment", &T::Alignment, &T::SetAlignment)
        .Property(u"Layout", &T::Layout, &T::SetLayout)
        .Property(u"WordWrap", &T::WordWrap, &T::SetWordWrap)
        .Property(u"AutoSize", &T::AutoSize, &T::SetAutoSize);
    return true;
}();

}  // namespace
