#include "platform/toolkit/combobox.h"

#include "platform/gdi/drawtextflags.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/published.h"
#include "platform/toolkit/stdshared.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/stdcontrols.h"
#include "platform/win/system.h"
#include "platform/win/window.h"

using namespace win;

// The drop-down list: a borderless-looking popup over the form that never
// takes the activation; the combo box holds the mouse while it shows.
class TComboList : public TCustomListBox {
public:
    explicit TComboList(TCustomComboBox* ACombo) : TCustomListBox(ACombo), FCombo(ACombo) {
        SetVisible(false);
        SetBorderStyle(bsNone);
        SetTabStop(false);
    }

    void CreateParams(TCreateParams& AParams) override {
        TCustomListBox::CreateParams(AParams);
        AParams.Style = (AParams.Style & ~(WS_CHILD | WS_TABSTOP)) | WS_POPUP | WS_BORDER;
        AParams.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        TCustomForm* form = GetParentForm(FCombo);
        AParams.WndParent = form && form->HandleAllocated() ? form->Handle() : nullptr;
    }

    void Dispatch(TMessage& AMessage) override {
        if (AMessage.Msg == WM_MOUSEACTIVATE) {
            AMessage.Result = MA_NOACTIVATE;
            return;
        }
        TCustomListBox::Dispatch(AMessage);
    }

private:
    TCustomComboBox* FCombo;
};

// The field of a csDropDown combo box: its keys drive the list first.
class TComboEdit : public TCustomEdit {
public:
    explicit TComboEdit(TCustomComboBox* ACombo) : TCustomEdit(ACombo), FCombo(ACombo) {
        SetBorderStyle(bsNone);
        SetAutoSize(false);
        SetTabStop(false);
        SetParent(ACombo);
    }

    void KeyDown(Word& AKey, TShiftState AShift) override {
        FCombo->KeyDown(AKey, AShift);
        if (AKey && FCombo->KeyAction(AKey, AShift.Contains(ssAlt))) AKey = 0;
    }

    void KeyPress(char16_t& AKey) override {
        FCombo->KeyPress(AKey);
        FCombo->FCompleteTyping = AKey >= u' ';
    }

    void Dispatch(TMessage& AMessage) override {
        switch (AMessage.Msg) {
            case WM_KILLFOCUS:
                FCombo->CloseList(false);
                break;
            case CM_CANCELMODE:
                if (!FCombo->IsOwnControl(reinterpret_cast<TControl*>(AMessage.LParam)))
                    FCombo->CloseList(false);
                break;
            default:
                break;
        }
        TCustomEdit::Dispatch(AMessage);
        if (AMessage.Msg == WM_GETDLGCODE && FCombo->DroppedDown()) AMessage.Result |= DLGC_WANTALLKEYS;
    }

protected:
    void Change() override {
        TCustomEdit::Change();
        FCombo->EditChanged();
    }

private:
    TCustomComboBox* FCombo;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomControl(AOwner) {
    // The field handles its own presses; OnClick follows a choice.
    FControlStyle = {csSetCaption, csOpaque};
    FList = new TComboList(this);
    SetBounds(0, 0, 145, FieldHeight());
    SetTabStop(true);
    SetColor(clWindow);
    SetParentColor(false);
    FStyle = csDropDownList;
    SetStyle(csDropDown);
}

TCustomComboBox::~TCustomComboBox() {
    // The field goes first: its last messages still reach this combo box.
    FreeAndNil(FEdit);
}

// Properties.

void TCustomComboBox::SetStyle(TComboBoxStyle AValue) {
    if (AValue == FStyle) return;
    const String text = GetText();
    FStyle = AValue;
    if (AValue == csDropDown) {
        FTabStopWanted = FTabStopWanted || TabStop();
        FEdit = new TComboEdit(this);
        FEdit->SetMaxLength(FMaxLength);
        // The field takes the focus for the combo box, also by Tab.
        SetTabStop(false);
        FEdit->SetTabStop(FTabStopWanted);
        FQuiet = true;
        FEdit->SetText(text);
        FQuiet = false;
    } else {
        FreeAndNil(FEdit);
        SetTabStop(FTabStopWanted);
        ShowItem(ItemIndex());
    }
    PlaceEdit();
    Invalidate();
}

TStrings* TCustomComboBox::Items() const {
    return FList->Items();
}

void TCustomComboBox::SetItems(TStrings* AValue) {
    FList->SetItems(AValue);
}

Integer TCustomComboBox::ItemIndex() {
    return FList->ItemIndex();
}

void TCustomComboBox::SetItemIndex(Integer AValue) {
    if (ComponentState().Contains(csLoading)) {
        FPendingIndex = AValue;
        return;
    }
    ShowItem(AValue >= 0 && AValue < Items()->Count() ? AValue : -1);
}

bool TCustomComboBox::Sorted() const {
    return FList->Sorted();
}

void TCustomComboBox::SetSorted(bool AValue) {
    FList->SetSorted(AValue);
}

void TCustomComboBox::SetMaxLength(Integer AValue) {
    FMaxLength = std::max(0, AValue);
    if (FEdit) FEdit->SetMaxLength(FMaxLength);
}

void TCustomComboBox::SetDroppedDown(bool AValue) {
    if (AValue)
        ShowList();
    else
        CloseList(false);
}

Integer TCustomComboBox::SelStart() {
    return FEdit ? FEdit->SelStart() : 0;
}

void TCustomComboBox::SetSelStart(Integer AValue) {
    if (FEdit) FEdit->SetSelStart(AValue);
}

Integer TCustomComboBox::SelLength() {
    return FEdit ? FEdit->SelLength() : 0;
}

void TCustomComboBox::SetSelLength(Integer AValue) {
    if (FEdit) FEdit->SetSelLength(AValue);
}

String TCustomComboBox::SelText() {
    return FEdit ? FEdit->SelText() : String();
}

void TCustomComboBox::SetSelText(const String& AValue) {
    if (FEdit) FEdit->SetSelText(AValue);
}

String TCustomComboBox::GetText() const {
    if (FEdit) return FEdit->Text();
    const Integer index = FList->ItemIndex();
    return index >= 0 ? FList->Items()->Strings(index) : String();
}

void TCustomComboBox::Loaded() {
    TCustomControl::Loaded();
    if (FStyle == csDropDown && TabStop()) {
        FTabStopWanted = true;
        SetTabStop(false);
        FEdit->SetTabStop(true);
    }
    if (FPendingIndex >= -1) SetItemIndex(FPendingIndex);
    FPendingIndex = -2;
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

// Layout.

Integer TCustomComboBox::FieldHeight() {
    return TFontDC(Font()).LineHeight() + 8;
}

bool TCustomComboBox::CanResize(Integer& ANewWidth, Integer& ANewHeight) {
    (void)ANewWidth;
    // The field's height follows the font.
    ANewHeight = FieldHeight();
    return true;
}

TRect TCustomComboBox::ButtonRect() {
    const TRect client = ClientRect();
    const Integer width = GetSystemMetrics(SM_CXVSCROLL);
    return Rect(std::max(client.Left, client.Right - width), client.Top, client.Right, client.Bottom);
}

void TCustomComboBox::PlaceEdit() {
    if (!FEdit) return;
    const TRect client = ClientRect(), button = ButtonRect();
    FEdit->SetBounds(client.Left + 2, client.Top + 2, std::max(0, button.Left - client.Left - 3),
                     std::max(0, client.Height() - 4));
}

void TCustomComboBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceEdit();
}

void TCustomComboBox::CreateParams(TCreateParams& AParams) {
    TCustomControl::CreateParams(AParams);
    AParams.ExStyle |= WS_EX_CLIENTEDGE;
}

// The list.

void TCustomComboBox::ShowList() {
    if (FDroppedDown) return;
    DropDown();
    const Integer count = Items()->Count();
    if (count == 0) return;
    FList->SetFont(Font());
    const Integer height = std::min(count, FDropDownCount) * FList->ItemHeight() + 2;
    TPoint origin =
        Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : Point(Left(), Top() + Height());
    MONITORINFO monitor{sizeof(MONITORINFO), {}, {}, 0};
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor) &&
        origin.Y + height > monitor.rcWork.bottom)
        origin.Y -= Height() + height;
    FDropIndex = ItemIndex();
    SetWindowPos(FList->Handle(), HWND_TOPMOST, origin.X, origin.Y, Width(), height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FList->SetTopIndex(std::max(0, FDropIndex));
    FList->SetItemIndex(FDropIndex);
    FDroppedDown = true;
    SetCapture(Handle());
    Invalidate();
}

void TCustomComboBox::CloseList(bool AAccept) {
    if (!FDroppedDown) return;
    FDroppedDown = false;
    FOpeningPress = false;
    FButtonDown = false;
    ShowWindow(FList->Handle(), SW_HIDE);
    if (GetCapture() == Handle()) ReleaseCapture();
    const Integer index = FList->ItemIndex();
    FList->SetItemIndex(FDropIndex);
    if (AAccept && index >= 0 && (index != FDropIndex || GetText() != Items()->Strings(index)))
        ChooseItem(index);
    Invalidate();
    CloseUp();
}

bool TCustomComboBox::OverList(TPoint AClientPoint, Integer& AIndex) {
    const TPoint p = FList->ScreenToClient(ClientToScreen(AClientPoint));
    const TRect client = FList->ClientRect();
    AIndex = FList->ItemAtPos(p, true);
    return p.X >= client.Left && p.Y >= client.Top && p.X < client.Right && p.Y < client.Bottom;
}

// Choices.

void TCustomComboBox::ShowItem(Integer AIndex) {
    FList->SetItemIndex(AIndex);
    if (FEdit) {
        FQuiet = true;
        FEdit->SetText(AIndex >= 0 ? Items()->Strings(AIndex) : String());
        FEdit->SelectAll();
        FQuiet = false;
    }
    Invalidate();
}

void TCustomComboBox::ChooseItem(Integer AIndex) {
    ShowItem(AIndex);
    Change();
    Select();
    Click();
}

void TCustomComboBox::Step(Integer ADelta) {
    const Integer count = Items()->Count();
    if (count == 0) return;
    const Integer current = ItemIndex();
    const Integer target = current < 0 ? 0 : std::clamp(current + ADelta, 0, count - 1);
    if (target != current) ChooseItem(target);
}

bool TCustomComboBox::KeyAction(Word AKey, bool AAlt) {
    const bool list = !FEdit;
    if ((AAlt && (AKey == VK_DOWN || AKey == VK_UP)) || AKey == VK_F4) {
        SetDroppedDown(!FDroppedDown);
        return true;
    }
    const Integer page = std::max(1, FDropDownCount - 1);
    if (FDroppedDown) {
        const Integer count = Items()->Count(), current = FList->ItemIndex();
        Integer target = current;
        switch (AKey) {
            case VK_RETURN:
                CloseList(true);
                return true;
            case VK_ESCAPE:
                CloseList(false);
                return true;
            case VK_UP:
                target = current - 1;
                break;
            case VK_DOWN:
                target = current + 1;
                break;
            case VK_PRIOR:
                target = current - page;
                break;
            case VK_NEXT:
                target = current + page;
                break;
            case VK_HOME:
            case VK_END:
                if (!list) return false;
                target = AKey == VK_HOME ? 0 : count - 1;
                break;
            default:
                return false;
        }
        if (count > 0) FList->SetItemIndex(std::clamp(target, 0, count - 1));
        return true;
    }
    switch (AKey) {
        case VK_UP:
            Step(-1);
            return true;
        case VK_DOWN:
            Step(1);
            return true;
        case VK_LEFT:
        case VK_RIGHT:
            if (!list) return false;
            Step(AKey == VK_LEFT ? -1 : 1);
            return true;
        case VK_PRIOR:
            Step(-page);
            return true;
        case VK_NEXT:
            Step(page);
            return true;
        case VK_HOME:
        case VK_END:
            if (!list) return false;
            Step(AKey == VK_HOME ? -Items()->Count() : Items()->Count());
            return true;
        default:
            return false;
    }
}

void TCustomComboBox::Search(char16_t AChar) {
    FList->SetAutoComplete(FAutoComplete);
    const Integer found = FList->SearchItem(AChar);
    if (found < 0) return;
    if (FDroppedDown)
        FList->SetItemIndex(found);
    else if (found != ItemIndex())
        ChooseItem(found);
}

void TCustomComboBox::EditChanged() {
    if (FQuiet) return;
    const String text = FEdit->Text();
    if (FAutoComplete && FCompleteTyping && !FCompleting && !text.empty()) {
        // The first item the text begins, the rest of it added and selected.
        const Integer found =
            Integer(FList->Perform(LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text.c_str())));
        const String item = found >= 0 ? Items()->Strings(found) : String();
        if (item.size() > text.size()) {
            FCompleting = true;
            FQuiet = true;
            FEdit->SetText(text + item.substr(text.size()));
            FEdit->SetSelStart(Integer(text.size()));
            FEdit->SetSelLength(Integer(item.size() - text.size()));
            FQuiet = false;
            FCompleting = false;
        }
    }
    FCompleteTyping = false;
    const String shown = FEdit->Text();
    FList->SetItemIndex(
        Integer(FList->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(shown.c_str()))));
    Change();
}

bool TCustomComboBox::IsOwnControl(TControl* AControl) const {
    return AControl == this || AControl == FEdit || AControl == FList;
}

// The window.

void TCustomComboBox::MouseAction(TMessage& AMessage) {
    const TPoint p{GET_X_LPARAM(AMessage.LParam), GET_Y_LPARAM(AMessage.LParam)};
    Integer index = -1;
    switch (AMessage.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FDroppedDown) {
                // A press outside the list closes it; one inside waits for the release.
                if (!OverList(p, index)) CloseList(false);
                FOpeningPress = false;
                return;
            }
            if (CanFocus()) {
                TWinControl* field = FEdit ? static_cast<TWinControl*>(FEdit) : this;
                if (!field->Focused()) field->SetFocus();
            }
            {
                const TRect button = ButtonRect();
                if (FEdit &&
                    !(p.X >= button.Left && p.X < button.Right && p.Y >= button.Top && p.Y < button.Bottom))
                    return;
            }
            FButtonDown = true;
            ShowList();
            FOpeningPress = FDroppedDown;
            Invalidate();
            return;
        case WM_MOUSEMOVE:
            if (FDroppedDown && OverList(p, index) && index >= 0) FList->SetItemIndex(index);
            return;
        case WM_LBUTTONUP:
            FButtonDown = false;
            Invalidate();
            if (FDroppedDown && OverList(p, index) && index >= 0) {
                FList->SetItemIndex(index);
                CloseList(true);
            }
            FOpeningPress = false;
            return;
        default:
            return;
    }
}

void TCustomComboBox::Dispatch(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case CM_CANCELMODE:
            if (!IsOwnControl(reinterpret_cast<TControl*>(AMessage.LParam))) CloseList(false);
            break;
        case CM_FONTCHANGED:
            TCustomControl::Dispatch(AMessage);
            AdjustSize();
            PlaceEdit();
            return;
        case CM_ENABLEDCHANGED:
            CloseList(false);
            if (FEdit) FEdit->SetEnabled(Enabled());
            break;
        default:
            break;
    }
    TCustomControl::Dispatch(AMessage);
}

void TCustomComboBox::DefaultHandler(TMessage& AMessage) {
    switch (AMessage.Msg) {
        case WM_SETTEXT: {
            const String text =
                AMessage.LParam ? String(reinterpret_cast<const char16_t*>(AMessage.LParam)) : String();
            const Integer index = Integer(
                FList->Perform(LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text.c_str())));
            if (FEdit) {
                FQuiet = true;
                FEdit->SetText(text);
                FQuiet = false;
                FList->SetItemIndex(index);
            } else {
                ShowItem(index);
            }
            AMessage.Result = TRUE;
            return;
        }
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            AnswerTextMessage(AMessage, GetText());
            return;
        case WM_GETDLGCODE:
            AMessage.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FDroppedDown ? DLGC_WANTALLKEYS : 0);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (KeyAction(Word(AMessage.WParam), AMessage.Msg == WM_SYSKEYDOWN)) return;
            break;
        case WM_CHAR:
            if (!FEdit) return Search(char16_t(AMessage.WParam));
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return MouseAction(AMessage);
        case WM_MOUSEWHEEL:
            if (FDroppedDown)
                FList->Perform(WM_MOUSEWHEEL, AMessage.WParam, AMessage.LParam);
            else
                Step(GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0 ? -1 : 1);
            AMessage.Result = 0;
            return;
        case WM_SETFOCUS:
            if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
            Invalidate();
            break;
        case WM_KILLFOCUS:
            if (!FEdit) CloseList(false);
            Invalidate();
            break;
        case WM_CAPTURECHANGED:
            if (FDroppedDown && reinterpret_cast<HWND>(AMessage.LParam) != Handle()) CloseList(false);
            break;
        case WM_SIZE:
            PlaceEdit();
            break;
        default:
            break;
    }
    TCustomControl::DefaultHandler(AMessage);
}

void TCustomComboBox::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect(), button = ButtonRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    DrawButtonFace(canvas, button, FDroppedDown);
    DrawArrow(canvas, button, adDown, Enabled() ? clBtnText : clGrayText);
    if (FEdit) return;
    const TRect field = Rect(client.Left + 2, client.Top + 2, button.Left - 2, client.Bottom - 2);
    const Integer shown = FDroppedDown ? FDropIndex : ItemIndex();
    const bool focused = HandleAllocated() && Focused() && !FDroppedDown;
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(focused ? clHighlight : Color());
    canvas->FillRect(field);
    if (focused) canvas->Font()->SetColor(clHighlightText);
    if (!Enabled()) canvas->Font()->SetColor(clGrayText);
    if (shown >= 0 && shown < Items()->Count()) {
        const String text = Items()->Strings(shown);
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextRect(field, field.Left + 1, field.Top + (field.Height() - canvas->TextHeight(u"Ag")) / 2,
                         text);
    }
    if (focused) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->DrawFocusRect(field);
    }
}

namespace {

const auto Registered = [] {
    RegisterEnum<TComboBoxStyle>({u"csDropDown", u"csDropDownList"});
    RegisterClass<TCustomComboBox, TCustomControl>()
        .Property(u"Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
        .Property(u"Items", &TCustomComboBox::Items)
        .Property(u"ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
        .Property(u"Text", &TControl::Text, &TControl::SetText)
        .Property(u"DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Property(u"Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted)
        .Property(u"AutoComplete", &TCustomComboBox::AutoComplete, &TCustomComboBox::SetAutoComplete)
        .Property(u"MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength)
        .Event(u"OnChange", &TCustomComboBox::OnChange)
        .Event(u"OnSelect", &TCustomComboBox::OnSelect)
        .Event(u"OnDropDown", &TCustomComboBox::OnDropDown)
        .Event(u"OnCloseUp", &TCustomComboBox::OnCloseUp);
    RegisterClass<TComboBox, TCustomComboBox>();
    return true;
}();

}  // namespace
