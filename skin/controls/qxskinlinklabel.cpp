#include "skin/controls/qxskinlinklabel.h"

#include "platform/gdi/drawtextflags.h"
#include "platform/shell/shellapi.h"
#include "platform/toolkit/published.h"
#include "platform/win/window.h"
#include "skin/core/qxtextdraw.h"

using namespace win;

TqxSkinLinkLabel::TqxSkinLinkLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(u"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({fsUnderline});
    SetFont(FDefaultFont.get());
    SetCursor(crHandPoint);
    SetTransparent(true);
}

TqxSkinLinkLabel::~TqxSkinLinkLabel() = default;

void TqxSkinLinkLabel::SetGlowEffect(bool AValue) {
    if (AValue == FGlowEffect) return;
    FGlowEffect = AValue;
    Invalidate();
}

void TqxSkinLinkLabel::SetGlowSize(Integer AValue) {
    if (AValue == FGlowSize) return;
    FGlowSize = AValue;
    Invalidate();
}

void TqxSkinLinkLabel::SetUseUnderLine(bool AValue) {
    if (AValue == FUseUnderLine) return;
    FUseUnderLine = AValue;
    Repaint();
}

void TqxSkinLinkLabel::SetUseSkinFont(bool AValue) {
    if (AValue == FUseSkinFont) return;
    FUseSkinFont = AValue;
    Invalidate();
}

void TqxSkinLinkLabel::SetSkinData(TqxSkinData* AValue) {
    SetReference(this, FSD, AValue);
    if (FSD) ChangeSkinData();
}

void TqxSkinLinkLabel::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomLabel::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TqxSkinLinkLabel::GetSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    if (const auto* e = dynamic_cast<const TqxDataSkinStdLabelControl*>(FSD->CtrlList[FIndex])) {
        FontName = e->FontName;
        FontColor = e->FontColor;
        FontStyle = e->FontStyle;
        FontHeight = e->FontHeight;
        ActiveFontColor = e->ActiveFontColor;
    }
}

void TqxSkinLinkLabel::ChangeSkinData() {
    GetSkinData();
    Repaint();
}

void TqxSkinLinkLabel::Click() {
    const WeakControl self(this);
    TCustomLabel::Click();
    // The result is not waited for: the launcher reports what failed.
    if (self.Alive() && !FURL.empty())
        ShellExecuteW(nullptr, u"open", FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TqxSkinLinkLabel::Dispatch(TMessage& AMessage) {
    TCustomLabel::Dispatch(AMessage);
    if ((AMessage.Msg != CM_MOUSEENTER && AMessage.Msg != CM_MOUSELEAVE) ||
        ComponentState().Contains(csDesigning))
        return;
    FMouseIn = AMessage.Msg == CM_MOUSEENTER;
    Repaint();
}

void TqxSkinLinkLabel::PrepareFont(TFont* AFont, TColor& AGlowColor) {
    TFontStyles style;
    if (FIndex == -1) {
        AFont->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
        if (FMouseIn) AFont->SetColor(FDefaultActiveFontColor);
        style = AFont->Style();
        style.Include(fsUnderline);
        AGlowColor = FDefaultActiveFontColor;
    } else {
        if (FUseSkinFont) {
            AFont->SetName(FontName);
            AFont->SetHeight(FontHeight);
            style = FontStyle;
        } else {
            AFont->Assign(Font());
            style = AFont->Style();
        }
        AFont->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
        AGlowColor = ActiveFontColor;
    }
    if (FIndex != -1 || Enabled()) {
        if (FUseUnderLine)
            style.Include(fsUnderline);
        else
            style.Exclude(fsUnderline);
    }
    AFont->SetStyle(style);
    AFont->SetCharset(SkinTextCharset(FSD, FDefaultFont.get()));
}

void TqxSkinLinkLabel::DoDrawText(TRect& ARect, Cardinal AFlags) {
    GetSkinData();
    String text = GetLabelText();
    const bool measuring = AFlags & DT_CALCRECT;
    if (measuring && (text.empty() || (ShowAccelChar() && text == u"&"))) text += u' ';
    const Cardinal format = DrawTextBiDiModeFlags(AFlags) | (ShowAccelChar() ? 0 : DT_NOPREFIX);
    const Integer shift = FGlowEffect ? FGlowSize : 0;
    TRect r = Rect(ARect.Left, ARect.Top + shift, ARect.Right, ARect.Bottom + shift);
    TCanvas* canvas = Canvas();
    TColor glow = 0;
    PrepareFont(canvas->Font(), glow);
    if (measuring) {
        // The text's room reaches down to where it is drawn.
        SkinDrawText(canvas, text, r, format);
        ARect = Rect(r.Left, ARect.Top, r.Right, r.Bottom);
        return;
    }
    if (Enabled()) {
        if (FMouseIn && FGlowEffect)
            DrawGlowText(canvas, r, text, format, 0, glow, FGlowSize);
        else
            SkinDrawText(canvas, text, r, format);
        return;
    }
    const bool skinned = FIndex != -1;
    canvas->Font()->SetColor(skinned ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight);
    SkinDrawText(canvas, text, Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1), format);
    canvas->Font()->SetColor(skinned ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
    SkinDrawText(canvas, text, r, format);
}

namespace {

using TLabel = TqxSkinLinkLabel;

const auto Registered = [] {
    RegisterClass<TLabel, TCustomLabel>()
        .Property(u"URL", &TLabel::URL, &TLabel::SetURL)
        .Property(u"GlowEffect", &TLabel::GlowEffect, &TLabel::SetGlowEffect)
        .Property(u"GlowSize", &TLabel::GlowSize, &TLabel::SetGlowSize)
        .Property(u"UseUnderLine", &TLabel::UseUnderLine, &TLabel::SetUseUnderLine)
        .Property(u"UseSkinFont", &TLabel::UseSkinFont, &TLabel::SetUseSkinFont)
        .Property(u"DefaultFont", &TLabel::DefaultFont)
        .Property(u"DefaultActiveFontColor", &TLabel::DefaultActiveFontColor,
                  &TLabel::SetDefaultActiveFontColor)
        .Property(u"SkinData", &TLabel::SkinData, &TLabel::SetSkinData)
        .Property(u"SkinDataName", &TLabel::SkinDataName, &TLabel::SetSkinDataName);
    return true;
}();

}  // namespace
