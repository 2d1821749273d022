// Focus, tab order and the keyboard of windowed controls: the key messages
// the application loop hands over as CN_... before dispatching them.
#include <algorithm>

#include "platform/toolkit/controlinternal.h"
#include "platform/toolkit/forms.h"
#include "platform/toolkit/menus.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"

using namespace win;

bool TWinControl::Focused() {
    return FHandle && GetFocus() == FHandle;
}

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (TControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
    } else if (FParentWindow) {
        win::SetFocus(Handle());
    } else {
        throw EInvalidOperation(u"Control '" + Name() + u"' has no parent window");
    }
}

void TWinControl::RemoveFocus(bool ARemoving) {
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, ARemoving);
}

void TWinControl::SetTabStop(bool AValue) {
    if (AValue == FTabStop) return;
    FTabStop = AValue;
    if (FHandle) {
        const LONG_PTR style = GetWindowLongW(FHandle, GWL_STYLE);
        SetWindowLongW(FHandle, GWL_STYLE, AValue ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

Integer TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const std::vector<TWinControl*>& list = Parent()->FTabList;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : Integer(it - list.begin());
}

void TWinControl::SetTabOrder(Integer AValue) {
    if (ComponentState().Contains(csLoading)) {
        FTabOrderRequest = AValue;
        return;
    }
    if (!Parent()) return;
    std::vector<TWinControl*>& list = Parent()->FTabList;
    const Integer current = TabOrder();
    if (current < 0) return;
    const Integer target = std::clamp(AValue, 0, Integer(list.size()) - 1);
    list.erase(list.begin() + current);
    list.insert(list.begin() + target, this);
}

// The tab orders a description asked for, once all the children are there.
void TWinControl::FixupTabList() {
    std::vector<TWinControl*> requested(FTabList.size(), nullptr);
    std::vector<TWinControl*> rest;
    for (TWinControl* c : FTabList) {
        const Integer want = c->FTabOrderRequest;
        c->FTabOrderRequest = -1;
        if (want >= 0 && size_t(want) < requested.size() && !requested[size_t(want)])
            requested[size_t(want)] = c;
        else
            rest.push_back(c);
    }
    auto next = rest.begin();
    for (TWinControl*& slot : requested)
        if (!slot) slot = *next++;
    FTabList = requested;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& AList) {
    for (TWinControl* c : FTabList) {
        AList.push_back(c);
        c->GetTabOrderList(AList);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop,
                                          bool ACheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const Integer count = Integer(list.size());
    Integer start = Integer(std::find(list.begin(), list.end(), ACurrent) - list.begin());
    if (start == count) start = AGoForward ? count - 1 : 0;
    Integer i = start;
    do {
        i = AGoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* c = list[size_t(i)];
        if (c->CanFocus() && (!ACheckTabStop || c->TabStop()) && (!ACheckParent || c->Parent() == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop) {
    if (TWinControl* next = FindNextControl(ACurrent, AGoForward, ACheckTabStop, !ACheckTabStop))
        next->SetFocus();
}

void TWinControl::KeyDown(Word& AKey, TShiftState AShift) {
    if (OnKeyDown) OnKeyDown(this, AKey, AShift);
}

void TWinControl::KeyPress(char16_t& AKey) {
    if (OnKeyPress) OnKeyPress(this, AKey);
}

void TWinControl::KeyUp(Word& AKey, TShiftState AShift) {
    if (OnKeyUp) OnKeyUp(this, AKey, AShift);
}

// With KeyPreview the form sees each key first; a key it clears goes no further.
bool TWinControl::DoKey(TMessage& AMessage) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKey(AMessage)) return true;
    if (FControlStyle.Contains(csNoStdEvents)) return false;
    if (AMessage.Msg == WM_CHAR || AMessage.Msg == WM_SYSCHAR) {
        char16_t key = char16_t(AMessage.WParam);
        KeyPress(key);
        AMessage.WParam = key;
        return key == 0;
    }
    Word key = Word(AMessage.WParam);
    const TShiftState shift = KeyDataToShiftState(AMessage.LParam);
    if (AMessage.Msg == WM_KEYDOWN || AMessage.Msg == WM_SYSKEYDOWN)
        KeyDown(key, shift);
    else
        KeyUp(key, shift);
    AMessage.WParam = key;
    return key == 0;
}

// Context menus of the control and its parents, the form's short cuts,
// then the main form's.
bool TWinControl::IsMenuKey(TMessage& AMessage) {
    TWMKey key = KeyMessage(AMessage);
    for (TControl* c = this; c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(key)) return true;
    TCustomForm* form = GetParentForm(this);
    if (form && form->IsShortCut(key)) return true;
    if (Application) {
        TCustomForm* main = Application->MainForm();
        if (main && main != form && main->HandleAllocated() && IsWindowEnabled(main->Handle()) &&
            main->IsShortCut(key))
            return true;
    }
    return false;
}

void TWinControl::CNKeyDown(TMessage& AMessage) {
    AMessage.Result = 1;
    const WeakControl self(this);
    if (IsMenuKey(AMessage) || !self.Alive()) return;
    const Word key = Word(AMessage.WParam);
    LRESULT mask = 0;
    switch (key) {
        case VK_TAB:
            mask = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            mask = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_CANCEL:
            mask = DLGC_WANTALLKEYS;
            break;
        default:
            break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGKEY, key, AMessage.LParam) != 0) return;
    }
    AMessage.Result = 0;
}

void TWinControl::CNChar(TMessage& AMessage) {
    AMessage.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGCHAR, AMessage.WParam, AMessage.LParam) != 0) return;
    }
    AMessage.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& AMessage) {
    AMessage.Result = IsMenuKey(AMessage) ? 1 : 0;
}

void TWinControl::CNSysChar(TMessage& AMessage) {
    AMessage.Result = 1;
    if (AMessage.WParam != VK_SPACE) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGCHAR, AMessage.WParam, AMessage.LParam) != 0) return;
    }
    AMessage.Result = 0;
}
