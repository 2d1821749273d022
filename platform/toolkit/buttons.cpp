#include "platform/toolkit/buttons.h"

#include "platform/gdi/draw.h"
#include "platform/gdi/drawtextflags.h"
#include "platform/gdi/text.h"
#include "platform/toolkit/menus.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"

using namespace win;

namespace {

constexpr Integer BoxSize = 13;

// The box at the control's left (caption right of it) or right end, and
// the caption beside it; draws the caption and, when focused, a dotted
// frame around it.
TRect PaintCheckFrame(TButtonControl* AControl, TCanvas* ACanvas, TAlignment AAlignment, bool AFocused) {
    const TRect client = AControl->ClientRect();
    ACanvas->Brush()->SetColor(AControl->Color());
    ACanvas->FillRect(client);
    const Integer top = (client.Height() - BoxSize) / 2;
    const bool boxLeft = AAlignment != taLeftJustify;
    const TRect box =
        boxLeft ? Bounds(0, top, BoxSize, BoxSize) : Bounds(client.Right - BoxSize, top, BoxSize, BoxSize);
    TRect text =
        boxLeft ? Rect(BoxSize + 4, 0, client.Right, client.Bottom) : Rect(0, 0, box.Left - 4, client.Bottom);
    ACanvas->SetFont(AControl->Font());
    const String caption = AControl->Caption();
    DrawCaption(ACanvas, caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, AControl->Enabled());
    if (AFocused && !caption.empty()) {
        RECT measured = ToRECT(text);
        DrawTextW(ACanvas->Handle(), caption.c_str(), Integer(caption.size()), &measured,
                  DT_SINGLELINE | DT_CALCRECT);
        const Integer height = measured.bottom - measured.top;
        const Integer y = (client.Height() - height) / 2;
        ACanvas->Brush()->SetColor(AControl->Color());
        ACanvas->DrawFocusRect(
            Rect(text.Left - 1, y - 1, std::min(measured.right + 1, client.Right), y + height + 1));
    }
    return box;
}

}  // namespace

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
    // The press is the window's own: no toolkit click on release, and a
    // second press is a press, not a double click.
    FControlStyle = {csSetCaption, csOpaque};
    SetTabStop(true);
}

void TButtonControl::SetPressed(bool AValue) {
    if (AValue == FPressed) return;
    FPressed = AValue;
    Invalidate();
}

void TButtonControl::CancelPress() {
    if (FTracking && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    FTracking = false;
    FSpaceDown = false;
    SetPressed(false);
}

void TButtonControl::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_GETDLGCODE:
            AMessage.Result = 0;
            return;
        case CM_ENABLEDCHANGED:
            CancelPress();
            break;
        case CM_TEXTCHANGED:
        case CM_FOCUSCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TButtonControl::DefaultHandler(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FTracking = true;
            if (CanFocus() && !Focused()) SetFocus();
            if (!FTracking) return;
            SetCapture(Handle());
            SetPressed(true);
            return;
        case WM_MOUSEMOVE:
            if (FTracking && GetCapture() != Handle()) CancelPress();
            if (FTracking) {
                const TRect client = ClientRect();
                const Integer x = GET_X_LPARAM(AMessage.LParam), y = GET_Y_LPARAM(AMessage.LParam);
                SetPressed(x >= 0 && y >= 0 && x < client.Right && y < client.Bottom);
            }
            return;
        case WM_LBUTTONUP: {
            if (!FTracking) return;
            const bool pressed = FPressed;
            CancelPress();
            if (pressed) Clicked();
            return;
        }
        case WM_KEYDOWN:
            if (AMessage.WParam == VK_SPACE && !FTracking) {
                FSpaceDown = true;
                SetPressed(true);
            }
            return;
        case WM_KEYUP:
            if (AMessage.WParam == VK_SPACE && FSpaceDown) {
                CancelPress();
                Clicked();
            }
            return;
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
            CancelPress();
            break;
        default:
            break;
    }
    TCustomControl::DefaultHandler(AMessage);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::SetActive(bool AValue) {
    if (AValue == FActive) return;
    FActive = AValue;
    Invalidate();
}

void TButton::SetDefault(bool AValue) {
    FDefault = AValue;
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    SetActive(focused == this || (FDefault && !dynamic_cast<TButton*>(focused)));
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_DIALOGKEY:
            if (((AMessage.WParam == VK_RETURN && FActive) || (AMessage.WParam == VK_ESCAPE && FCancel)) &&
                KeyDataToShiftState(AMessage.LParam).Empty() && CanFocus()) {
                Click();
                AMessage.Result = 1;
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(Word(AMessage.WParam), Caption()) && CanFocus()) {
                Click();
                AMessage.Result = 1;
                return;
            }
            break;
        case CM_FOCUSCHANGED: {
            auto* focused = reinterpret_cast<TWinControl*>(AMessage.LParam);
            SetActive(dynamic_cast<TButton*>(focused) ? focused == this : FDefault);
            break;
        }
        default:
            break;
    }
    TButtonControl::Dispatch(AMessage);
}

void TButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    if (FActive) {
        canvas->Brush()->SetColor(cl3DDkShadow);
        canvas->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    DrawButtonFace(canvas, r, Pressed());
    canvas->SetFont(Font());
    TRect text = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    if (Pressed()) text = Rect(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
    DrawCaption(canvas, Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER, Enabled());
    if (Focused()) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->DrawFocusRect(Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3));
    }
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState AValue) {
    if (AValue == FState) return;
    FState = AValue;
    Invalidate();
    if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    Invalidate();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked:
            SetState(FAllowGrayed ? cbGrayed : cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
    }
}

void TCustomCheckBox::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == CM_DIALOGCHAR && IsAccel(Word(AMessage.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Toggle();
        AMessage.Result = 1;
        return;
    }
    TButtonControl::Dispatch(AMessage);
}

void TCustomCheckBox::Paint() {
    TCanvas* canvas = Canvas();
    const TRect box = PaintCheckFrame(this, canvas, FAlignment, Focused());
    RECT edge = ToRECT(box);
    DrawEdge(canvas->Handle(), &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const bool face = Pressed() || !Enabled() || FState == cbGrayed;
    canvas->Brush()->SetColor(face ? clBtnFace : clWindow);
    canvas->FillRect(ToTRect(edge));
    if (FState == cbUnchecked) return;
    // A tick three pixels thick, in the 9 x 9 inside of the box.
    canvas->Pen()->SetColor(Enabled() && FState == cbChecked ? clWindowText : clBtnShadow);
    const Integer x = edge.left + 1, y = edge.top + 3;
    for (Integer i = 0; i < 3; ++i) {
        canvas->MoveTo(x, y + i);
        canvas->LineTo(x + 2, y + 2 + i);
        canvas->LineTo(x + 7, y - 3 + i);
    }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool AValue) {
    if (AValue == FChecked) return;
    FChecked = AValue;
    SetTabStop(AValue);
    Invalidate();
    if (!AValue) return;
    if (Parent())
        for (Integer i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
                sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TAlignment AValue) {
    if (AValue == FAlignment) return;
    FAlignment = AValue;
    Invalidate();
}

void TRadioButton::DoEnter() {
    // Reached by the keyboard: the focus checks it.
    if (!Tracking() && !FChecked) SetChecked(true);
    TButtonControl::DoEnter();
}

void TRadioButton::Dispatch(TMessage& AMessage) {
    if (AMessage.Msg == CM_DIALOGCHAR && IsAccel(Word(AMessage.WParam), Caption()) && CanFocus()) {
        SetFocus();
        SetChecked(true);
        AMessage.Result = 1;
        return;
    }
    TButtonControl::Dispatch(AMessage);
}

void TRadioButton::Paint() {
    TCanvas* canvas = Canvas();
    const TRect box = PaintCheckFrame(this, canvas, FAlignment, Focused());
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Brush()->SetColor(Pressed() || !Enabled() ? clBtnFace : clWindow);
    canvas->Ellipse(box.Left, box.Top, box.Right - 1, box.Bottom - 1);
    if (!FChecked) return;
    canvas->Pen()->SetColor(Enabled() ? clWindowText : clBtnShadow);
    canvas->Brush()->SetColor(Enabled() ? clWindowText : clBtnShadow);
    canvas->Ellipse(box.Left + 4, box.Top + 4, box.Right - 5, box.Bottom - 5);
}

namespace {

const auto Registered = [] {
    RegisterEnum<TCheckBoxState>({u"cbUnchecked", u"cbChecked", u"cbGrayed"});
    RegisterClass<TButtonControl, TCustomControl>();
    RegisterClass<TButton, TButtonControl>()
        .Property(u"Default", &TButton::Default, &TButton::SetDefault)
        .Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel)
        .Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
    RegisterClass<TCustomCheckBox, TButtonControl>()
        .Property(u"State", &TCustomCheckBox::State, &TCustomCheckBox::SetState)
        .Property(u"Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
        .Property(u"AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Property(u"Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment);
    RegisterClass<TCheckBox, TCustomCheckBox>();
    RegisterClass<TRadioButton, TButtonControl>()
        .Property(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
        .Property(u"Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment);
    return true;
}();

}  // namespace
