#include "platform/toolkit/label.h"

#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/painting.h"

using namespace win;

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle = FControlStyle + TControlStyle{csOpaque, csReplicatable};
    SetBounds(0, 0, 65, 17);
    SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout AValue) {
    if (AValue == FLayout) return;
    FLayout = AValue;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool AValue) {
    if (AValue == FWordWrap) return;
    FWordWrap = AValue;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool AValue) {
    if (AValue == FShowAccelChar) return;
    FShowAccelChar = AValue;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool AValue) {
    if (AValue == Transparent()) return;
    if (AValue)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* AValue) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = AValue;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TCustomLabel::SetAutoSize(bool AValue) {
    TGraphicControl::SetAutoSize(AValue);
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation AOperation) {
    TGraphicControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

Cardinal TCustomLabel::TextFlags() const {
    static constexpr Cardinal alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | alignments[FAlignment] | (FWordWrap ? DT_WORDBREAK : 0);
}

void TCustomLabel::DoDrawText(TRect& ARect, Cardinal AFlags) {
    String text = GetLabelText();
    // An empty caption still measures one line high.
    if ((AFlags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == u"&"))) text += u' ';
    if (!FShowAccelChar) AFlags |= DT_NOPREFIX;
    AFlags = DrawTextBiDiModeFlags(AFlags);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    if (AFlags & DT_CALCRECT) {
        RECT r = ToRECT(ARect);
        canvas->RequiredState({csHandleValid, csFontValid});
        DrawTextW(canvas->Handle(), text.c_str(), Integer(text.size()), &r, AFlags);
        ARect = ToTRect(r);
        return;
    }
    DrawCaption(canvas, text, ARect, AFlags, Enabled());
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect r = client;
    const Cardinal flags = TextFlags();
    if (FLayout != tlTop) {
        TRect measured = client;
        DoDrawText(measured, flags | DT_CALCRECT);
        const Integer free = client.Height() - measured.Height();
        r.Top += FLayout == tlBottom ? free : free / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !AutoSize()) return;
    TRect r = ClientRect();
    const HDC dc = GetDC(nullptr);
    PaintOn(*static_cast<TControlCanvas*>(Canvas()), dc, [&] { DoDrawText(r, TextFlags() | DT_CALCRECT); });
    ReleaseDC(nullptr, dc);
    // Wrapped text keeps the width it was wrapped in.
    const Integer width = FWordWrap ? Width() : r.Width();
    Integer left = Left();
    if (FAlignment == taRightJustify) left += Width() - width;
    SetBounds(left, Top(), width, r.Height());
}

void TCustomLabel::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::Dispatch(AMessage);
            AdjustBounds();
            return;
        case CM_DIALOGCHAR:
            if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(Word(AMessage.WParam), Caption()) &&
                FFocusControl->CanFocus()) {
                FFocusControl->SetFocus();
                AMessage.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TGraphicControl::Dispatch(AMessage);
}

namespace {

const auto Registered = [] {
    RegisterClass<TCustomLabel, TGraphicControl>()
        .Property(u"Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Property(u"Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout)
        .Property(u"WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
        .Property(u"ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Property(u"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
        .Property(u"FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
    RegisterClass<TLabel, TCustomLabel>();
    return true;
}();

}  // namespace
