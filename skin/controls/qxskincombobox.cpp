// The skinned combo box: its properties, the item, the drop-down list and
// how it opens and closes, the mouse, the keys, the wheel, typed search and
// the skin change.
#include "skin/controls/qxskincombobox.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/toolkit/published.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/timers.h"
#include "platform/win/window.h"
#include "skin/core/qxutils.h"

using namespace win;

namespace {

constexpr ULONG_PTR ScrollTimer = 1;
constexpr UINT ScrollInterval = 25;
// Characters typed closer together than this search together.
constexpr Cardinal SearchPause = 500;

}  // namespace

TqxSkinCustomComboBox::TqxSkinCustomComboBox(TComponent* AOwner) : TqxSkinCustomControl(AOwner) {
    FontName = u"Tahoma";
    SetTabStop(true);
    FControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable};
    SetParentFont(false);
    Font()->SetName(u"Tahoma");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(13);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TqxPopupListBox(this);
    if (!ComponentState().Contains(csDesigning)) FListBox->SetParent(this);
    TqxListBox* inner = FListBox->ListBox();
    inner->SetTabStop(false);
    inner->OnMouseMove = [this](TObject* Sender, TShiftState AShift, Integer X, Integer Y) {
        ListBoxMouseMoveTrack(Sender, AShift, X, Y);
    };
    FListBoxWindowProc = inner->WindowProc();
    inner->SetWindowProc([this](TMessage& AMessage) { ListBoxWindowProcHook(AMessage); });
    FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    CalcItemAndButtonRects();
    SetSkinDataName(u"combobox");
}

TqxSkinCustomComboBox::~TqxSkinCustomComboBox() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
    Free(FEdit);
    Free(FListBox);
}

void TqxSkinCustomComboBox::Notification(TComponent* AComponent, TOperation AOperation) {
    TqxSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FEdit) FEdit = nullptr;
    if (AComponent == FListBox) FListBox = nullptr;
}

// Properties.

TStrings* TqxSkinCustomComboBox::Items() const {
    return FListBox->Items();
}

void TqxSkinCustomComboBox::SetItems(TStrings* AValue) {
    FListBox->Items()->Assign(AValue);
}

Integer TqxSkinCustomComboBox::ItemIndex() const {
    return FListBox->ItemIndex();
}

void TqxSkinCustomComboBox::SetItemIndex(Integer AValue) {
    FListBox->SetItemIndex(AValue);
    const Integer index = FListBox->ItemIndex();
    if (FListBox->Items()->Count() > 0 && index != -1) SetText(FListBox->Items()->Get(index));
    FOldItemIndex = FListBox->ItemIndex();
    if (!FEdit) Repaint();
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    if (OnClick) OnClick(this);
    Change();
}

void TqxSkinCustomComboBox::SetDropDownCount(Integer AValue) {
    if (AValue > 0) FDropDownCount = AValue;
}

bool TqxSkinCustomComboBox::Sorted() const {
    return FListBox->Sorted();
}

void TqxSkinCustomComboBox::SetSorted(bool AValue) {
    FListBox->SetSorted(AValue);
}

bool TqxSkinCustomComboBox::HorizontalExtent() const {
    return FListBox->HorizontalExtent();
}

void TqxSkinCustomComboBox::SetHorizontalExtent(bool AValue) {
    FListBox->SetHorizontalExtent(AValue);
}

TCustomImageList* TqxSkinCustomComboBox::Images() const {
    return FListBox->Images();
}

void TqxSkinCustomComboBox::SetImages(TCustomImageList* AValue) {
    FListBox->SetImages(AValue);
    Repaint();
}

Integer TqxSkinCustomComboBox::ImageIndex() const {
    return FListBox->ImageIndex();
}

void TqxSkinCustomComboBox::SetImageIndex(Integer AValue) {
    FListBox->SetImageIndex(AValue);
    Repaint();
}

TStrings* TqxSkinCustomComboBox::TabWidths() const {
    return FListBox->TabWidths();
}

String TqxSkinCustomComboBox::ListBoxCaption() const {
    return FListBox->Caption();
}

void TqxSkinCustomComboBox::SetListBoxCaption(const String& AValue) {
    FListBox->SetCaption(AValue);
}

bool TqxSkinCustomComboBox::ListBoxCaptionMode() const {
    return FListBox->CaptionMode();
}

void TqxSkinCustomComboBox::SetListBoxCaptionMode(bool AValue) {
    FListBox->SetCaptionMode(AValue);
}

TAlignment TqxSkinCustomComboBox::ListBoxCaptionAlignment() const {
    return FListBox->Alignment();
}

void TqxSkinCustomComboBox::SetListBoxCaptionAlignment(TAlignment AValue) {
    FListBox->SetAlignment(AValue);
}

TFont* TqxSkinCustomComboBox::ListBoxDefaultFont() const {
    return FListBox->DefaultFont();
}

TFont* TqxSkinCustomComboBox::ListBoxDefaultCaptionFont() const {
    return FListBox->DefaultCaptionFont();
}

Integer TqxSkinCustomComboBox::ListBoxDefaultItemHeight() const {
    return FListBox->DefaultItemHeight();
}

void TqxSkinCustomComboBox::SetListBoxDefaultItemHeight(Integer AValue) {
    FListBox->SetDefaultItemHeight(AValue);
}

bool TqxSkinCustomComboBox::ListBoxUseSkinFont() const {
    return FListBox->UseSkinFont();
}

void TqxSkinCustomComboBox::SetListBoxUseSkinFont(bool AValue) {
    FListBox->SetUseSkinFont(AValue);
}

bool TqxSkinCustomComboBox::ListBoxUseSkinItemHeight() const {
    return FListBox->UseSkinItemHeight();
}

void TqxSkinCustomComboBox::SetListBoxUseSkinItemHeight(bool AValue) {
    FListBox->SetUseSkinItemHeight(AValue);
}

void TqxSkinCustomComboBox::SetCharCase(TEditCharCase AValue) {
    FCharCase = AValue;
    if (FEdit) FEdit->SetCharCase(AValue);
}

void TqxSkinCustomComboBox::SetDefaultColor(TColor AValue) {
    FDefaultColor = AValue;
    if (FIndex != -1) return;
    Invalidate();
    if (FEdit) FEdit->SetColor(AValue);
}

void TqxSkinCustomComboBox::SetToolButtonStyle(bool AValue) {
    if (AValue == FToolButtonStyle) return;
    FToolButtonStyle = AValue;
    if (AValue) {
        SetStyle(qxcbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TqxSkinCustomComboBox::SetOnListBoxDrawItem(TqxDrawSkinItemEvent AValue) {
    FOnListBoxDrawItem = AValue;
    FListBox->OnDrawItem = std::move(AValue);
}

Integer TqxSkinCustomComboBox::SelStart() {
    return FEdit ? FEdit->SelStart() : 0;
}

void TqxSkinCustomComboBox::SetSelStart(Integer AValue) {
    if (FEdit) FEdit->SetSelStart(AValue);
}

Integer TqxSkinCustomComboBox::SelLength() {
    return FEdit ? FEdit->SelLength() : 0;
}

void TqxSkinCustomComboBox::SetSelLength(Integer AValue) {
    if (FEdit) FEdit->SetSelLength(AValue);
}

void TqxSkinCustomComboBox::SetStyle(TqxSkinCustomComboBoxStyle AValue) {
    if (ComponentState().Contains(csDesigning) && AValue == FStyle) return;
    FStyle = AValue;
    const bool focused = Focused() || (FEdit && FEdit->Focused());
    if (AValue == qxcbEditStyle) {
        if (!FEdit) CreateEditControl();
        if (!ComponentState().Contains(csDesigning)) {
            if (TabStop()) {
                SetTabStop(false);
                FEdit->SetTabStop(true);
            } else {
                FEdit->SetTabStop(false);
            }
        }
        FEdit->SetText(Text());
    } else if (FEdit) {
        RemoveEditControl();
    }
    CalcItemAndButtonRects();
    RecreateWnd();
    // The window made again would lose the focus its edit took.
    if (focused && FEdit && FEdit->CanFocus()) FEdit->SetFocus();
    Repaint();
}

// The list.

bool TqxSkinCustomComboBox::IsPopupVisible() const {
    return FListBox && FListBox->Visible();
}

bool TqxSkinCustomComboBox::CanCancelDropDown() const {
    return IsPopupVisible() && !FMouseIn;
}

void TqxSkinCustomComboBox::DropDown() {
    if (FListBox->Items()->Count() == 0) return;
    WasInLB = false;
    if (TimerMode != 0) StopScrollTimer();
    if (OnDropDown) OnDropDown(this);
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->SetRowCount(std::min(FListBox->Items()->Count(), FDropDownCount));
    TPoint p = Parent() ? Parent()->ClientToScreen(Point(Left(), Top() + Height()))
                        : Point(Left(), Top() + Height());
    TRect work;
    GetMonitorWorkArea(Handle(), true, work);
    if (p.Y + FListBox->Height() > work.Bottom) p.Y -= Height() + FListBox->Height();
    if (FEdit) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && FListBox->Items()->Count() >= 2) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->SetSkinData(SkinData());
    FListBox->Show(p);
}

void TqxSkinCustomComboBox::CloseUp(bool AValue) {
    if (TimerMode != 0) StopScrollTimer();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const WeakControl self(this);
    const Integer index = FListBox->ItemIndex();
    if (index < 0) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else if (index < FListBox->Items()->Count() && AValue) {
        if (FEdit) {
            FEdit->SetText(FListBox->Items()->Get(index));
            FEdit->SelectAll();
        } else {
            SetText(FListBox->Items()->Get(index));
            Repaint();
        }
        if (!self.Alive()) return;
        if (OnClick) OnClick(this);
        if (!self.Alive()) return;
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    if (!self.Alive()) return;
    FDropDown = false;
    Repaint();
    if (OnCloseUp) OnCloseUp(this);
}

bool TqxSkinCustomComboBox::IsOwnPart(TControl* AControl) const {
    if (!AControl) return false;
    if (AControl == this) return true;
    if (!FListBox) return false;
    return AControl == FListBox || AControl == FListBox->ScrollBar() || AControl == FListBox->HScrollBar() ||
           AControl == FListBox->ListBox();
}

void TqxSkinCustomComboBox::ListBoxWindowProcHook(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
            // The press belongs to the combo box, which decides at the release.
            FLBDown = true;
            WasInLB = true;
            SetCapture(Handle());
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return;
        case WM_MOUSEACTIVATE:
            AMessage.Result = MA_NOACTIVATE;
            FListBoxWindowProc(AMessage);
            return;
        default:
            FListBoxWindowProc(AMessage);
    }
}

void TqxSkinCustomComboBox::ListBoxMouseMoveTrack(TObject*, TShiftState, Integer X, Integer Y) {
    const Integer index = FListBox->ItemAtPos(Point(X, Y), true);
    if (index >= 0 && index < FListBox->Items()->Count()) FListBox->SetItemIndex(index);
}

void TqxSkinCustomComboBox::StartScrollTimer() {
    SetTimer(Handle(), ScrollTimer, ScrollInterval, nullptr);
}

void TqxSkinCustomComboBox::StopScrollTimer() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
    TimerMode = 0;
}

void TqxSkinCustomComboBox::ScrollTimerStep() {
    const Integer index = FListBox->ItemIndex();
    if (TimerMode == 1 && index >= 1) FListBox->SetItemIndex(index - 1);
    if (TimerMode == 2 && index < FListBox->Items()->Count() - 1) FListBox->SetItemIndex(index + 1);
}

void TqxSkinCustomComboBox::TrackListBoxMouse() {
    TqxListBox* inner = FListBox->ListBox();
    POINT cursor{};
    GetCursorPos(&cursor);
    const Integer y = inner->ScreenToClient(Point(cursor.x, cursor.y)).Y, h = inner->Height();
    const bool scrolls = FListBox->ScrollBar() && WasInLB;
    if (y < 0 && scrolls) {
        if (TimerMode != 1) {
            TimerMode = 1;
            StartScrollTimer();
        }
    } else if (y > h && scrolls) {
        if (TimerMode != 2) {
            TimerMode = 2;
            StartScrollTimer();
        }
    } else if (y >= 0 && y <= h) {
        StopScrollTimer();
        inner->MouseMove({}, 1, y);
        WasInLB = true;
    }
}

// Item steps.

void TqxSkinCustomComboBox::SelectTo(Integer AIndex, bool AEvents) {
    if (AEvents)
        SetItemIndex(AIndex);
    else
        FListBox->SetItemIndex(AIndex);
}

void TqxSkinCustomComboBox::SelectPrevious(bool AEvents) {
    const Integer index = FListBox->ItemIndex();
    if (index > 0) SelectTo(index - 1, AEvents);
}

void TqxSkinCustomComboBox::SelectNext(bool AEvents) {
    const Integer index = FListBox->ItemIndex();
    if (index < FListBox->Items()->Count() - 1) SelectTo(index + 1, AEvents);
}

void TqxSkinCustomComboBox::SelectPageUp(bool AEvents) {
    SelectTo(std::max(0, FListBox->ItemIndex() - FDropDownCount - 1), AEvents);
}

void TqxSkinCustomComboBox::SelectPageDown(bool AEvents) {
    SelectTo(std::min(FListBox->Items()->Count() - 1, FListBox->ItemIndex() + FDropDownCount - 1), AEvents);
}

Integer TqxSkinCustomComboBox::FindPrefix(Integer AStart, const String& AText) {
    const LRESULT found = FListBox->ListBox()->Perform(LB_FINDSTRING, WPARAM(AStart), LPARAM(AText.c_str()));
    return found == LB_ERR ? -1 : Integer(found);
}

void TqxSkinCustomComboBox::IncrementalSearch(char16_t AKey) {
    if (!FListBox || !FListBox->ListBox()) return;
    String text(1, AKey);
    if (FAutoComplete) {
        const Cardinal now = GetTickCount();
        if (now - FLastTime >= SearchPause) FFilter.clear();
        FLastTime = now;
        FFilter += AKey;
        text = FFilter;
    }
    if (text.empty()) return;
    const Integer found = FindPrefix(text.size() == 1 ? FListBox->ItemIndex() : -1, text);
    if (found >= 0) SetItemIndex(found);
}

// Mouse and keys.

void TqxSkinCustomComboBox::MouseDown(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseDown(AButton, AShift, X, Y);
    if (!Focused() && !FEdit && CanFocus()) SetFocus();
    if (AButton != mbLeft) return;
    const TRect& item = CBItem.R;
    const bool inItem = X >= item.Left && X < item.Right && Y >= item.Top && Y < item.Bottom;
    if (Button.MouseIn || (inItem && !FEdit) || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (FListBox->Visible()) {
            CloseUp(false);
        } else {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        }
    } else if (FListBox->Visible()) {
        CloseUp(false);
    }
}

void TqxSkinCustomComboBox::MouseMove(TShiftState AShift, Integer X, Integer Y) {
    TqxSkinCustomControl::MouseMove(AShift, X, Y);
    if (FLBDown) return TrackListBoxMouse();
    const TRect& r = Button.R;
    const bool in = X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom;
    if (in == Button.MouseIn) return;
    Button.MouseIn = in;
    Repaint();
}

void TqxSkinCustomComboBox::MouseUp(TMouseButton AButton, TShiftState AShift, Integer X, Integer Y) {
    const WeakControl self(this);
    if (FLBDown && WasInLB) {
        ReleaseCapture();
        FLBDown = false;
        POINT cursor{};
        GetCursorPos(&cursor);
        TqxListBox* inner = FListBox->ListBox();
        CloseUp(inner->HandleAllocated() && WindowFromPoint(cursor) == inner->Handle());
        if (!self.Alive()) return;
    } else {
        FLBDown = false;
    }
    TqxSkinCustomControl::MouseUp(AButton, AShift, X, Y);
    if (self.Alive() && Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TqxSkinCustomComboBox::KeyDown(Word& AKey, TShiftState AShift) {
    const WeakControl self(this);
    TqxSkinCustomControl::KeyDown(AKey, AShift);
    if (!self.Alive()) return;
    const bool open = FListBox->Visible(), alt = AShift.Contains(ssAlt);
    switch (AKey) {
        case VK_RETURN:
            if (open) CloseUp(true);
            break;
        case VK_ESCAPE:
            if (open) CloseUp(false);
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
                SelectPrevious(true);
            else if (open)
                CloseUp(false);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            if (!alt)
                SelectNext(true);
            else if (!open)
                DropDown();
            break;
        default:
            break;
    }
}

void TqxSkinCustomComboBox::KeyPress(char16_t& AKey) {
    const WeakControl self(this);
    TqxSkinCustomControl::KeyPress(AKey);
    if (self.Alive()) IncrementalSearch(AKey);
}

// Messages.

void TqxSkinCustomComboBox::WMMouseWheel(TMessage& AMessage) {
    if (FEdit) return TqxSkinCustomControl::Dispatch(AMessage);
    const bool closed = !FListBox->Visible();
    if (GET_WHEEL_DELTA_WPARAM(AMessage.WParam) <= 0)
        SelectNext(closed);
    else
        SelectPrevious(closed);
    AMessage.Result = 1;
}

void TqxSkinCustomComboBox::CMTextChanged(TMessage& AMessage) {
    TqxSkinCustomControl::Dispatch(AMessage);
    if (FEdit && !FromEdit) FEdit->SetText(Text());
    if (OnChange) OnChange(this);
    if (FromEdit) Change();
}

void TqxSkinCustomComboBox::WMSetFocus(TMessage& AMessage) {
    if (!FEdit) {
        TqxSkinCustomControl::Dispatch(AMessage);
        Repaint();
        return;
    }
    FEdit->SetFocus();
    if (FIndex != -1 && !IsRectDegenerate(ActiveSkinRect)) {
        FEdit->Font()->SetColor(ActiveFontColor);
        Invalidate();
    }
}

void TqxSkinCustomComboBox::WMKillFocus(TMessage& AMessage) {
    TqxSkinCustomControl::Dispatch(AMessage);
    if (!FEdit && FListBox->Visible()) CloseUp(false);
    Repaint();
    if (FIndex != -1 && !IsRectDegenerate(ActiveSkinRect) && FEdit) {
        FEdit->Font()->SetColor(FontColor);
        Invalidate();
    }
}

void TqxSkinCustomComboBox::CMMouseEnterLeave(TMessage& AMessage, bool AEnter) {
    TqxSkinCustomControl::Dispatch(AMessage);
    if (ComponentState().Contains(csDesigning)) return;
    FMouseIn = AEnter;
    if (!AEnter && Button.MouseIn) {
        Button.MouseIn = false;
        Repaint();
    }
    const bool hot = FIndex != -1 && !IsRectDegenerate(ActiveSkinRect);
    if (hot && FEdit && !FEdit->Focused()) FEdit->Font()->SetColor(AEnter ? ActiveFontColor : FontColor);
    if (hot || FToolButtonStyle) Invalidate();
}

void TqxSkinCustomComboBox::CMEnabledChanged(TMessage& AMessage) {
    TqxSkinCustomControl::Dispatch(AMessage);
    if (FEdit) {
        const TColor color = !Enabled()     ? GetDisabledFontColor()
                             : FIndex == -1 ? DefaultFont()->Color()
                                            : FontColor;
        FEdit->Font()->SetColor(color);
    }
    Repaint();
}

void TqxSkinCustomComboBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_TIMER:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (AMessage.WParam == ScrollTimer) ScrollTimerStep();
            return;
        case WM_SETFOCUS:
            return WMSetFocus(AMessage);
        case WM_KILLFOCUS:
            return WMKillFocus(AMessage);
        case WM_SIZE:
            TqxSkinCustomControl::Dispatch(AMessage);
            CalcItemAndButtonRects();
            AlignEditControl();
            return;
        case WM_MOUSEWHEEL:
            return WMMouseWheel(AMessage);
        case WM_ERASEBKGND:
            return PaintIntoEraseDC(AMessage);
        case CM_TEXTCHANGED:
            return CMTextChanged(AMessage);
        case CM_MOUSEENTER:
            return CMMouseEnterLeave(AMessage, true);
        case CM_MOUSELEAVE:
            return CMMouseEnterLeave(AMessage, false);
        case CM_CANCELMODE:
            TqxSkinCustomControl::Dispatch(AMessage);
            if (!IsOwnPart(reinterpret_cast<TControl*>(AMessage.LParam))) CloseUp(false);
            return;
        case CM_ENABLEDCHANGED:
            return CMEnabledChanged(AMessage);
        case CM_WANTSPECIALKEY:
            if (AMessage.WParam == VK_LEFT || AMessage.WParam == VK_UP || AMessage.WParam == VK_RIGHT ||
                AMessage.WParam == VK_DOWN) {
                AMessage.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TqxSkinCustomControl::Dispatch(AMessage);
}

// The skin.

void TqxSkinCustomComboBox::GetSkinData() {
    TqxSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* e = dynamic_cast<const TqxDataSkinComboBox*>(SkinData()->CtrlList[FIndex]);
    // An element of another kind draws nothing of a combo box: the default look.
    if (!e) {
        FIndex = -1;
        return;
    }
    CopyComboElement(*this, *e);
    ListBoxName = e->ListBoxName;
}

void TqxSkinCustomComboBox::ChangeSkinData() {
    TqxSkinCustomControl::ChangeSkinData();
    CalcItemAndButtonRects();
    if (FEdit) SetEditFont();
    Repaint();
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : String());
    FListBox->SetSkinData(SkinData());
    FListBox->UpDateScrollBar();
    CalcItemAndButtonRects();
    AlignEditControl();
    if (FEdit && FIndex != -1) {
        Integer w = Width(), h = Height();
        CalcSize(w, h);
        if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
    }
}

void TqxSkinCustomComboBox::DefaultFontChanged() {
    SetFont(DefaultFont());
}

void TqxSkinCustomComboBox::Invalidate() {
    TqxSkinCustomControl::Invalidate();
    if (FIndex != -1 && FEdit) FEdit->TransparentRepaint();
}

namespace {

const auto Registered = [] {
    using C = TqxSkinCustomComboBox;
    RegisterEnum<TqxSkinCustomComboBoxStyle>({u"qxcbEditStyle", u"qxcbFixedStyle"});
    RegisterClass<C, TqxSkinCustomControl>()
        .Property(u"Style", &C::Style, &C::SetStyle)
        .Property(u"Items", &C::Items)
        .Property(u"ItemIndex", &C::ItemIndex, &C::SetItemIndex)
        .Property(u"Text", &TControl::Text, &TControl::SetText)
        .Property(u"DropDownCount", &C::DropDownCount, &C::SetDropDownCount)
        .Property(u"Sorted", &C::Sorted, &C::SetSorted)
        .Property(u"HorizontalExtent", &C::HorizontalExtent, &C::SetHorizontalExtent)
        .Property(u"Images", &C::Images, &C::SetImages)
        .Property(u"ImageIndex", &C::ImageIndex, &C::SetImageIndex)
        .Property(u"TabWidths", &C::TabWidths)
        .Property(u"ListBoxWidth", &C::ListBoxWidth, &C::SetListBoxWidth)
        .Property(u"ListBoxCaption", &C::ListBoxCaption, &C::SetListBoxCaption)
        .Property(u"ListBoxCaptionMode", &C::ListBoxCaptionMode, &C::SetListBoxCaptionMode)
        .Property(u"ListBoxCaptionAlignment", &C::ListBoxCaptionAlignment, &C::SetListBoxCaptionAlignment)
        .Property(u"ListBoxDefaultFont", &C::ListBoxDefaultFont)
        .Property(u"ListBoxDefaultCaptionFont", &C::ListBoxDefaultCaptionFont)
        .Property(u"ListBoxDefaultItemHeight", &C::ListBoxDefaultItemHeight, &C::SetListBoxDefaultItemHeight)
        .Property(u"ListBoxUseSkinFont", &C::ListBoxUseSkinFont, &C::SetListBoxUseSkinFont)
        .Property(u"ListBoxUseSkinItemHeight", &C::ListBoxUseSkinItemHeight, &C::SetListBoxUseSkinItemHeight)
        .Property(u"AutoComplete", &C::AutoComplete, &C::SetAutoComplete)
        .Property(u"HideSelection", &C::HideSelection, &C::SetHideSelection)
        .Property(u"CharCase", &C::CharCase, &C::SetCharCase)
        .Property(u"DefaultColor", &C::DefaultColor, &C::SetDefaultColor)
        .Property(u"UseSkinSize", &C::UseSkinSize, &C::SetUseSkinSize)
        .Property(u"ToolButtonStyle", &C::ToolButtonStyle, &C::SetToolButtonStyle)
        .Property(u"AlphaBlend", &C::AlphaBlend, &C::SetAlphaBlend)
        .Property(u"AlphaBlendValue", &C::AlphaBlendValue, &C::SetAlphaBlendValue)
        .Property(u"AlphaBlendAnimation", &C::AlphaBlendAnimation, &C::SetAlphaBlendAnimation)
        .Event(u"OnChange", &C::OnChange)
        .Event(u"OnCloseUp", &C::OnCloseUp)
        .Event(u"OnDropDown", &C::OnDropDown)
        .Event(u"OnComboBoxDrawItem", &C::OnComboBoxDrawItem);
    RegisterClass<TqxSkinComboBox, TqxSkinCustomComboBox>();
    return true;
}();

}  // namespace
