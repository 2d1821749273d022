#include "skin/controls/qxskinofficecombobox.h"

#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/core/qxdrawing.h"
#include "skin/core/qxtextdraw.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr ULONG_PTR ScrollTimer = 1;
constexpr UINT ScrollInterval = 25;
constexpr Integer DefaultButtonWidth = 19;

bool Inside(const TRect& R, Integer X, Integer Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

}  // namespace

TqxSkinCustomOfficeComboBox::TqxSkinCustomOfficeComboBox(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    FListBox = new TqxPopupOfficeListBox(this);
    FListBox->SetMouseMoveChangeIndex(true);
    FListBox->SetParent(this);
    FOldListProc = FListBox->WindowProc();
    FListBox->SetWindowProc([this](TMessage& AMessage) { ListBoxHookProc(AMessage); });
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    SetSkinDataName(u"combobox");
    FListBoxSkinDataName = FListBox->SkinDataName();
    SetBounds(Left(), Top(), 120, 41);
    SetTabStop(true);
}

TqxSkinCustomOfficeComboBox::~TqxSkinCustomOfficeComboBox() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
    // The list's last messages must not reach a half-destroyed combo.
    FListBox->SetWindowProc(FOldListProc);
    delete FListBox;
    FListBox = nullptr;
}

// Properties.

void TqxSkinCustomOfficeComboBox::SetItemIndex(Integer AValue) {
    // While the form is read the list raises nothing either.
    const bool loading = ComponentState().Contains(csLoading);
    if (loading) FListBox->IncludeState(csLoading);
    const WeakControl self(this);
    try {
        FListBox->SetItemIndex(AValue);
    } catch (...) {
        if (loading) FListBox->ExcludeState(csLoading);
        throw;
    }
    if (!self.Alive()) return;
    if (loading) FListBox->ExcludeState(csLoading);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (!loading && !ComponentState().Contains(csDesigning)) RaiseChoice();
}

bool TqxSkinCustomOfficeComboBox::RaiseChoice() {
    const WeakControl self(this);
    if (OnClick) OnClick(this);
    if (!self.Alive()) return false;
    Change();
    return self.Alive();
}

void TqxSkinCustomOfficeComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TqxSkinCustomOfficeComboBox::SetImages(TCustomImageList* AValue) {
    FListBox->SetImages(AValue);
    Repaint();
}

void TqxSkinCustomOfficeComboBox::SetListBoxSkinDataName(const String& AValue) {
    FListBoxSkinDataName = AValue;
    FListBox->SetSkinDataName(AValue);
}

void TqxSkinCustomOfficeComboBox::SetDropDownCount(Integer AValue) {
    if (AValue >= 0) FDropDownCount = AValue;
}

void TqxSkinCustomOfficeComboBox::SetShowItemTitle(bool AValue) {
    FShowItemTitle = AValue;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::SetShowItemImage(bool AValue) {
    FShowItemImage = AValue;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::SetShowItemText(bool AValue) {
    FShowItemText = AValue;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::SetToolButtonStyle(bool AValue) {
    FToolButtonStyle = AValue;
    if (AValue) FUseSkinSize = false;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::SetUseSkinSize(bool AValue) {
    FUseSkinSize = AValue;
    if (FIndex != -1)
        ChangeSkinData();
    else
        Repaint();
}

void TqxSkinCustomOfficeComboBox::SetDefaultColor(TColor AValue) {
    FDefaultColor = AValue;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::DefaultFontChanged() {
    SetFont(DefaultFont());
}

// The skin.

void TqxSkinCustomOfficeComboBox::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinComboBox*>(SkinData()->CtrlList[FIndex]);
    if (!e) return;
    CopyComboElement(*this, *e);
}

void TqxSkinCustomOfficeComboBox::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    // Without an element of its own the combo's drop-down goes unskinned
    // too; it takes its element back with the next skin that has one.
    FListBox->SetSkinDataName(FIndex == -1 ? String() : FListBoxSkinDataName);
    FListBox->SetSkinData(SkinData());
    CalcRects();
}

void TqxSkinCustomOfficeComboBox::CalcSize(Integer& W, Integer& H) {
    if (FUseSkinSize) return TqxSkinCustomControl::CalcSize(W, H);
    if (FIndex == -1) return;
    const Integer dW = W - SkinRect.Width();
    NewLTPoint = LTPt;
    NewRTPoint = Point(RTPt.X + dW, RTPt.Y);
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom);
}

void TqxSkinCustomOfficeComboBox::SetControlRegion() {
    if (FUseSkinSize)
        TqxSkinCustomControl::SetControlRegion();
    else
        RemoveRegion();
}

void TqxSkinCustomOfficeComboBox::CalcRects() {
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = Rect(Width() - DefaultButtonWidth, 0, Width(), Height());
        CBItem = Rect(2, 2, Button.R.Left - 1, Height() - 2);
        return;
    }
    const Integer dW = Width() - SkinRect.Width(), dH = FUseSkinSize ? 0 : Height() - SkinRect.Height();
    Button.R = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
        Button.R.Left += dW;
        Button.R.Right += dW;
    }
    Button.R.Bottom += dH;
    CBItem = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH);
}

// The drop-down.

void TqxSkinCustomOfficeComboBox::DropDown() {
    if (Items()->Count() == 0) return;
    const WeakControl self(this);
    WasInLB = false;
    if (TimerMode != 0) StopScrollTimer();
    if (OnDropDown) {
        OnDropDown(this);
        if (!self.Alive()) return;
    }
    FListBox->HandleNeeded();
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->OnDrawItem = OnDrawItem;
    // The list's skin and height come first: where it opens depends on them.
    FListBox->SetSkinData(SkinData());
    if (FListBoxHeight > 0)
        FListBox->SetHeight(FListBoxHeight);
    else if (FDropDownCount > 0)
        FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
    TPoint origin = Point(Left() + Width() - FListBox->Width(), Top() + Height());
    if (Parent()) origin = Parent()->ClientToScreen(origin);
    TRect work;
    GetScreenWorkArea(true, work);
    GetMonitorWorkArea(Handle(), true, work);
    if (origin.Y + FListBox->Height() > work.Bottom) origin.Y -= Height() + FListBox->Height();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() >= 2) {
        // Back to the top of the list.
        FListBox->SetItemIndex(1);
        if (!self.Alive()) return;
        FListBox->SetItemIndex(0);
        if (!self.Alive()) return;
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->Show(origin);
}

void TqxSkinCustomOfficeComboBox::CloseUp(bool AcceptChoice) {
    if (TimerMode != 0) StopScrollTimer();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const WeakControl self(this);
    const Integer index = FListBox->ItemIndex();
    if (AcceptChoice && index >= 0 && index < Items()->Count()) {
        Repaint();
        if (!RaiseChoice()) return;
    } else {
        FListBox->SetItemIndex(FOldItemIndex < Items()->Count() ? FOldItemIndex : -1);
        if (!self.Alive()) return;
    }
    FDropDown = false;
    Repaint();
    if (AcceptChoice && OnCloseUp) OnCloseUp(this);
}

void TqxSkinCustomOfficeComboBox::ListBoxHookProc(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
            FLBDown = true;
            WasInLB = true;
            SetMouseCapture(true);
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return;
        case WM_MOUSEACTIVATE:
            FOldListProc(AMessage);
            AMessage.Result = MA_NOACTIVATE;
            return;
        default:
            FOldListProc(AMessage);
    }
}

void TqxSkinCustomOfficeComboBox::StartScrollTimer() {
    KillTimer(Handle(), ScrollTimer);
    SetTimer(Handle(), ScrollTimer, ScrollInterval, nullptr);
}

void TqxSkinCustomOfficeComboBox::StopScrollTimer() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
    TimerMode = 0;
}

void TqxSkinCustomOfficeComboBox::TrackListMouse(Integer X, Integer Y) {
    const TPoint p = FListBox->ScreenToClient(ClientToScreen(Point(X, Y)));
    const bool bar = FListBox->ScrollBar != nullptr;
    const auto scroll = [this](Integer AMode) {
        if (TimerMode == AMode) return;
        TimerMode = AMode;
        StartScrollTimer();
    };
    if (p.Y < 0 && bar && WasInLB) {
        scroll(1);
    } else if (p.Y > FListBox->Height() && bar && WasInLB) {
        scroll(2);
    } else if (p.Y >= 0 && p.Y <= FListBox->Height()) {
        if (TimerMode != 0) StopScrollTimer();
        FListBox->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(WORD(p.X), WORD(p.Y)));
        WasInLB = true;
        if (!FLBDown) {
            // After the fade-in a drag counts from its next move.
            FLBDown = true;
            WasInLB = false;
        }
    }
}

// Mouse.

void TqxSkinCustomOfficeComboBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    const WeakControl self(this);
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (!self.Alive()) return;
    if (!Focused() && CanFocus()) SetFocus();
    if (AButton != mbLeft) return;
    if (Inside(Button.R, X, Y) || Inside(CBItem, X, Y) || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (!FListBox->Visible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else {
            CloseUp(false);
        }
    } else if (FListBox->Visible()) {
        CloseUp(false);
    }
}

void TqxSkinCustomOfficeComboBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    const WeakControl self(this);
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    if (!self.Alive()) return;
    if (FListBox->Visible()) TrackListMouse(X, Y);
    const bool in = Inside(Button.R, X, Y);
    if (in == Button.MouseIn) return;
    Button.MouseIn = in;
    Repaint();
}

void TqxSkinCustomOfficeComboBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    const WeakControl self(this);
    if (FLBDown && WasInLB) {
        SetMouseCapture(false);
        FLBDown = false;
        POINT cursor{};
        GetCursorPos(&cursor);
        CloseUp(FListBox->HandleAllocated() && WindowFromPoint(cursor) == FListBox->Handle());
        if (!self.Alive()) return;
    } else {
        FLBDown = false;
    }
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
    if (!self.Alive() || !Button.Down) return;
    Button.Down = false;
    Repaint();
}

// Keyboard.

void TqxSkinCustomOfficeComboBox::ApplyListIndex() {
    SetItemIndex(FListBox->ItemIndex());
}

void TqxSkinCustomOfficeComboBox::SelectPrior(bool AApply) {
    FListBox->FindUp();
    if (AApply) ApplyListIndex();
}

void TqxSkinCustomOfficeComboBox::SelectNext(bool AApply) {
    FListBox->FindDown();
    if (AApply) ApplyListIndex();
}

void TqxSkinCustomOfficeComboBox::SelectPageUp(bool AApply) {
    FListBox->FindPageUp();
    if (AApply) ApplyListIndex();
}

void TqxSkinCustomOfficeComboBox::SelectPageDown(bool AApply) {
    FListBox->FindPageDown();
    if (AApply) ApplyListIndex();
}

void TqxSkinCustomOfficeComboBox::KeyDown(Word& AKey, TShiftState AShift) {
    const WeakControl self(this);
    TqxSkinCustomControl::KeyDown(AKey, AShift);
    if (!self.Alive()) return;
    const bool alt = AShift.Contains(ssAlt);
    switch (AKey) {
        case VK_RETURN:
            if (FListBox->Visible()) CloseUp(true);
            break;
        case VK_ESCAPE:
            if (FListBox->Visible()) CloseUp(false);
            break;
        case VK_PRIOR:
            SelectPageUp(true);
            break;
        case VK_NEXT:
            SelectPageDown(true);
            break;
        case VK_LEFT:
        case VK_UP:
            if (!alt)
                SelectPrior(true);
            else if (FListBox->Visible())
                CloseUp(false);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            if (!alt)
                SelectNext(true);
            else if (!FListBox->Visible())
                DropDown();
            break;
        default:
            break;
    }
}

// Messages.

void TqxSkinCustomOfficeComboBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_WANTSPECIALKEY:
            switch (AMessage.WParam) {
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN:
                    AMessage.Result = 1;
                    return;
                case VK_RETURN:
                case VK_ESCAPE:
                    // An open list takes them before the form's default and cancel buttons.
                    if (FListBox->Visible()) {
                        AMessage.Result = 1;
                        return;
                    }
                    break;
                default:
                    break;
            }
            break;
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            CalcRects();
            return;
        case WM_MOUSEWHEEL: {
            const bool apply = !FListBox->Visible();
            if (GET_WHEEL_DELTA_WPARAM(AMessage.WParam) < 0)
                SelectPrior(apply);
            else
                SelectNext(apply);
            AMessage.Result = 1;
            return;
        }
        case WM_TIMER:
            if (AMessage.WParam != ScrollTimer) break;
            if (TimerMode == 1) FListBox->FindUp();
            if (TimerMode == 2) FListBox->FindDown();
            return;
        case WM_SETFOCUS:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case WM_KILLFOCUS: {
            TqxSkinCustomControl::Dispatch(AMessage);
            const WeakControl self(this);
            if (FListBox->Visible()) CloseUp(false);
            if (self.Alive()) Repaint();
            return;
        }
        case CM_CANCELMODE: {
            TqxSkinCustomControl::Dispatch(AMessage);
            auto* sender = reinterpret_cast<TControl*>(AMessage.LParam);
            if (sender != this && sender != FListBox && sender != FListBox->ScrollBar) CloseUp(false);
            return;
        }
        case CM_ENABLEDCHANGED:
            TqxSkinCustomControl::Dispatch(AMessage);
            Repaint();
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: {
            const WeakControl self(this);
            TqxSkinCustomControl::Dispatch(AMessage);
            if (!self.Alive() || ComponentState().Contains(csDesigning)) return;
            FMouseIn = AMessage.Msg == CM_MOUSEENTER;
            if (!FMouseIn && Button.MouseIn) {
                Button.MouseIn = false;
                Repaint();
            }
            if ((FIndex != -1 && !IsRectDegenerate(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
            return;
        }
        case WM_ERASEBKGND:
            PaintIntoEraseDC(AMessage);
            return;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

// The default look.

void TqxSkinCustomOfficeComboBox::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) return DrawDefaultToolButton(c, FPaintText);
    DrawDefaultFace(c);
    DrawDefaultItem(c);
}

void TqxSkinCustomOfficeComboBox::DrawDefaultFace(TCanvas* C) {
    const TRect all = Rect(0, 0, Width(), Height());
    DrawDefaultLookPart(C, all, false, false);
    C->Brush()->SetColor(FDefaultColor);
    C->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
    C->FillRect(Rect(3, 3, Width() - 3, Height() - 3));
    DrawButton(C);
}

void TqxSkinCustomOfficeComboBox::DrawButton(TCanvas* C) {
    DrawDefaultLookPart(C, Button.R, ButtonPressed(), Button.MouseIn);
    DrawArrow(C, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
}

void TqxSkinCustomOfficeComboBox::DrawItemContent(TCanvas* C, TRect R, bool ATitle, const String* AText) {
    const Integer index = ShownItemIndex();
    if (index < 0 || index >= Items()->Count()) return;
    if (OnDrawItem) return OnDrawItem(C, index, R);
    const TqxSkinOfficeItem* item = Items()->Items(index);
    const String& caption = AText ? *AText : item->Caption();
    C->Brush()->SetStyle(bsClear);
    if (ATitle && FShowItemText && FShowItemTitle && !item->Title().empty())
        R.Top += DrawOfficeItemTitle(C, item->Title(), R) - 2;
    if (FShowItemImage)
        DrawImageAndTextLeft(C, R, 0, 2, blGlyphLeft, FShowItemText ? caption : String(), item->ImageIndex(),
                             Images(), false, Enabled(), false, 0);
    else if (FShowItemText)
        DrawTextVCentered(C, caption, R);
}

void TqxSkinCustomOfficeComboBox::DrawDefaultItem(TCanvas* C) {
    if (CBItem.Width() <= 0 || CBItem.Height() <= 0) return;
    TBitmap b;
    b.SetSize(CBItem.Width(), CBItem.Height());
    TCanvas* canvas = b.Canvas();
    TFont* font = canvas->Font();
    font->SetName(Font()->Name());
    font->SetStyle(Font()->Style());
    font->SetHeight(Font()->Height());
    font->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
    const bool focused = Focused();
    canvas->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    canvas->FillRect(Rect(0, 0, b.Width(), b.Height()));
    font->SetColor(focused ? clHighlightText : DefaultFont()->Color());
    DrawItemContent(canvas, Rect(2, 0, b.Width() - 2, b.Height()), true, nullptr);
    C->Draw(CBItem.Left, CBItem.Top, &b);
}

void TqxSkinCustomOfficeComboBox::DrawDefaultToolButton(TCanvas* C, const String* AText) {
    const TRect all = Rect(0, 0, Width(), Height());
    DrawDefaultLookPart(C, all, FDropDown, FMouseIn || Focused());
    C->Font()->Assign(DefaultFont());
    C->Font()->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
    DrawItemContent(C, Rect(2, 2, Width() - 17, Height() - 2), true, AText);
    DrawSmallDownArrow(C, Rect(Width() - 15, 0, Width(), Height()), C->Font()->Color());
}

void TqxSkinCustomOfficeComboBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
    TBitmap b;
    b.SetSize(Width(), Height());
    GetSkinData();
    Integer w = Width(), h = Height();
    CalcSize(w, h);
    CalcRects();
    TCanvas* canvas = b.Canvas();
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolButton(canvas, &AText);
        else
            DrawSkinToolButton(canvas, &AText);
    } else {
        if (FIndex == -1) {
            DrawDefaultFace(canvas);
            canvas->Font()->Assign(DefaultFont());
        } else {
            DrawSkinFace(&b);
            if (FUseSkinSize)
                DrawSkinSizedButton(canvas);
            else
                DrawSkinButton(canvas);
            SetElementFont(canvas->Font());
            canvas->Font()->SetColor(FontColor);
        }
        canvas->Font()->SetCharset(SkinTextCharset(SkinData(), DefaultFont()));
        canvas->Brush()->SetStyle(bsClear);
        DrawTextVCentered(canvas, AText, CBItem);
    }
    C->Draw(X, Y, &b);
}

namespace {

using TCombo = TqxSkinOfficeComboBox;

const auto Registered = [] {
    RegisterClass<TqxSkinCustomOfficeComboBox, TqxSkinCustomControl>();
    RegisterClass<TCombo, TqxSkinCustomOfficeComboBox>()
        .Property(u"Items", &TCombo::Items)
        .Property(u"ItemIndex", &TCombo::ItemIndex, &TCombo::SetItemIndex)
        .Property(u"Images", &TCombo::Images, &TCombo::SetImages)
        .Property(u"DropDownCount", &TCombo::DropDownCount, &TCombo::SetDropDownCount)
        .Property(u"ShowItemTitle", &TCombo::ShowItemTitle, &TCombo::SetShowItemTitle)
        .Property(u"ShowItemImage", &TCombo::ShowItemImage, &TCombo::SetShowItemImage)
        .Property(u"ShowItemText", &TCombo::ShowItemText, &TCombo::SetShowItemText)
        .Property(u"ToolButtonStyle", &TCombo::ToolButtonStyle, &TCombo::SetToolButtonStyle)
        .Property(u"UseSkinSize", &TCombo::UseSkinSize, &TCombo::SetUseSkinSize)
        .Property(u"DefaultColor", &TCombo::DefaultColor, &TCombo::SetDefaultColor)
        .Property(u"HideSelection", &TCombo::HideSelection, &TCombo::SetHideSelection)
        .Property(u"AlphaBlend", &TCombo::AlphaBlend, &TCombo::SetAlphaBlend)
        .Property(u"AlphaBlendAnimation", &TCombo::AlphaBlendAnimation, &TCombo::SetAlphaBlendAnimation)
        .Property(u"AlphaBlendValue", &TCombo::AlphaBlendValue, &TCombo::SetAlphaBlendValue)
        .Property(u"ListBoxWidth", &TCombo::ListBoxWidth, &TCombo::SetListBoxWidth)
        .Property(u"ListBoxHeight", &TCombo::ListBoxHeight, &TCombo::SetListBoxHeight)
        .Property(u"ListBoxSkinDataName", &TCombo::ListBoxSkinDataName, &TCombo::SetListBoxSkinDataName)
        .Property(u"ListBoxItemHeight", &TCombo::ListBoxItemHeight, &TCombo::SetListBoxItemHeight)
        .Property(u"ListBoxHeaderHeight", &TCombo::ListBoxHeaderHeight, &TCombo::SetListBoxHeaderHeight)
        .Property(u"ListBoxShowItemTitles", &TCombo::ListBoxShowItemTitles, &TCombo::SetListBoxShowItemTitles)
        .Property(u"ListBoxShowLines", &TCombo::ListBoxShowLines, &TCombo::SetListBoxShowLines)
        .Property(u"ListBoxHeaderLeftAlignment", &TCombo::ListBoxHeaderLeftAlignment,
                  &TCombo::SetListBoxHeaderLeftAlignment)
        .Property(u"ListBoxDefaultFont", &TCombo::ListBoxDefaultFont)
        .Property(u"ListBoxUseSkinFont", &TCombo::ListBoxUseSkinFont, &TCombo::SetListBoxUseSkinFont)
        .Event(u"OnChange", &TCombo::OnChange)
        .Event(u"OnCloseUp", &TCombo::OnCloseUp)
        .Event(u"OnDropDown", &TCombo::OnDropDown)
        .Event(u"OnDrawItem", &TCombo::OnDrawItem);
    return true;
}();

}  // namespace
