// Menu models: items, menus, short cuts and accelerators.
#include "platform/toolkit/menus.h"

#include <algorithm>

#include "platform/toolkit/bitmap.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/menupopup.h"
#include "platform/win/input.h"

using namespace win;

namespace {

Word NextCommand() {
    static Word next = 0;
    // Command 0 means none.
    if (++next == 0) ++next;
    return next;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    Clear();
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && FActionLink && AComponent == FActionLink->Action()) FActionLink.reset();
}

void TMenuItem::SetCaption(const String& AValue) {
    FCaption = AValue;
}

void TMenuItem::SetEnabled(bool AValue) {
    FEnabled = AValue;
}

void TMenuItem::SetVisible(bool AValue) {
    FVisible = AValue;
}

void TMenuItem::SetChecked(bool AValue) {
    if (AValue == FChecked) return;
    FChecked = AValue;
    if (AValue && FRadioItem) UncheckSiblings();
}

void TMenuItem::SetRadioItem(bool AValue) {
    if (AValue == FRadioItem) return;
    FRadioItem = AValue;
    if (FChecked && FRadioItem) UncheckSiblings();
}

void TMenuItem::SetGroupIndex(Byte AValue) {
    if (AValue == FGroupIndex) return;
    FGroupIndex = AValue;
    if (FChecked && FRadioItem) UncheckSiblings();
}

void TMenuItem::UncheckSiblings() {
    // While a description is read, the last checked item of a group wins later.
    if (!FParent || ComponentState().Contains(csLoading)) return;
    for (TMenuItem* item : FParent->FItems)
        if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex) item->FChecked = false;
}

void TMenuItem::SetDefault(bool AValue) {
    if (AValue == FDefault) return;
    if (AValue && FParent)
        for (TMenuItem* item : FParent->FItems)
            item->FDefault = false;
    FDefault = AValue;
}

void TMenuItem::SetShortCut(TShortCut AValue) {
    FShortCut = AValue;
}

TBitmap* TMenuItem::Bitmap() {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* AValue) {
    Bitmap()->Assign(AValue);
}

void TMenuItem::SetImageIndex(Integer AValue) {
    FImageIndex = AValue;
}

TBasicAction* TMenuItem::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* AValue) {
    LinkAction(FActionLink, this, AValue);
}

void TMenuItem::ActionChange(TObject* ASender, bool ACheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(ASender);
    if (!action) return;
    if (!ACheckDefaults || FCaption.empty()) SetCaption(action->Caption());
    if (!ACheckDefaults || !FChecked) SetChecked(action->Checked());
    if (!ACheckDefaults || FEnabled) SetEnabled(action->Enabled());
    if (!ACheckDefaults || FHint.empty()) SetHint(action->Hint());
    if (!ACheckDefaults || FImageIndex == -1) SetImageIndex(action->ImageIndex());
    if (!ACheckDefaults || FShortCut == 0) SetShortCut(action->ShortCut());
    if (!ACheckDefaults || FVisible) SetVisible(action->Visible());
    if (!ACheckDefaults || !OnClick) OnClick = action->OnExecute;
}

TMenuItem* TMenuItem::Items(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EMenuError(u"Menu index out of range");
    return FItems[size_t(AIndex)];
}

Integer TMenuItem::IndexOf(const TMenuItem* AItem) const {
    const auto it = std::find(FItems.begin(), FItems.end(), AItem);
    return it == FItems.end() ? -1 : Integer(it - FItems.begin());
}

Integer TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(Integer AValue) {
    if (!FParent) return;
    TMenuItem* parent = FParent;
    const Integer target = std::clamp(AValue, 0, parent->Count() - 1);
    parent->Remove(this);
    parent->Insert(target, this);
}

void TMenuItem::Insert(Integer AIndex, TMenuItem* AItem) {
    if (!AItem) return;
    if (AItem->FParent) throw EMenuError(u"Menu inserted twice");
    if (AIndex < 0 || AIndex > Count()) throw EMenuError(u"Menu index out of range");
    FItems.insert(FItems.begin() + AIndex, AItem);
    AItem->FParent = this;
    if (AItem->FChecked && AItem->FRadioItem) AItem->UncheckSiblings();
}

void TMenuItem::Delete(Integer AIndex) {
    TMenuItem* item = Items(AIndex);
    Remove(item);
    Free(item);
}

void TMenuItem::Remove(TMenuItem* AItem) {
    const Integer index = IndexOf(AItem);
    if (index < 0) throw EMenuError(u"Sub-menu is not in menu");
    FItems.erase(FItems.begin() + index);
    AItem->FParent = nullptr;
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        Delete(Count() - 1);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

bool TMenuItem::RethinkLines() {
    bool changed = false;
    const auto show = [&changed](TMenuItem* AItem, bool AVisible) {
        if (AItem->FVisible == AVisible) return;
        AItem->FVisible = AVisible;
        changed = true;
    };
    // A line shows only between two visible items that are not lines.
    TMenuItem* pendingLine = nullptr;
    bool seenItem = false;
    for (TMenuItem* item : FItems) {
        if (item->IsLine()) {
            if (seenItem && !pendingLine) {
                pendingLine = item;
            } else {
                show(item, false);
            }
            continue;
        }
        if (!item->FVisible) continue;
        if (pendingLine) {
            show(pendingLine, true);
            pendingLine = nullptr;
        }
        seenItem = true;
    }
    if (pendingLine) show(pendingLine, false);
    return changed;
}

void TMenuItem::Click() {
    if (FEnabled) ClickThroughAction(OnClick, FActionLink.get(), this);
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    if (FImages) FImages->RemoveFreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FItems) FItems = nullptr;
}

void TMenu::SetImages(TCustomImageList* AValue) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
}

namespace {

TMenuItem* FindBy(TMenuItem* AItem, const std::function<bool(TMenuItem*)>& AMatch) {
    if (!AItem) return nullptr;
    for (Integer i = 0; i < AItem->Count(); ++i) {
        TMenuItem* item = AItem->Items(i);
        if (AMatch(item)) return item;
        if (TMenuItem* found = FindBy(item, AMatch)) return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItem(Word ACommand) const {
    return FindBy(FItems, [ACommand](TMenuItem* AItem) { return AItem->Command() == ACommand; });
}

bool TMenu::DispatchCommand(Word ACommand) {
    TMenuItem* item = FindItem(ACommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TWMKey& AMessage) {
    TShortCut shortCut = Byte(AMessage.CharCode);
    if (shortCut == 0) return false;
    if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
    if (AMessage.KeyData & (LPARAM(1) << 29)) shortCut |= scAlt;
    TMenuItem* item = FindBy(FItems, [shortCut](TMenuItem* AItem) { return AItem->ShortCut() == shortCut; });
    if (!item) return false;
    for (TMenuItem* i = item; i; i = i->Parent())
        if (!i->Enabled()) return false;
    item->Click();
    return true;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {
    ClosePlainPopup(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation AOperation) {
    TMenu::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::SetPopupComponent(TComponent* AValue) {
    if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = AValue;
    if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::DoPopup(TObject* ASender) {
    if (OnPopup) OnPopup(ASender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
    DoPopup(this);
    ShowPlainPopup(this, X, Y);
}

TShortCut ShortCut(Word AKey, TShiftState AShift) {
    if (AKey & 0xFF00) return 0;
    TShortCut result = AKey;
    if (AShift.Contains(ssShift)) result |= scShift;
    if (AShift.Contains(ssCtrl)) result |= scCtrl;
    if (AShift.Contains(ssAlt)) result |= scAlt;
    return result;
}

Word ShortCutToKey(TShortCut AShortCut) {
    return AShortCut & 0xFF;
}

namespace {

struct TKeyName {
    Word Key;
    const char16_t* Name;
};

constexpr TKeyName KeyNames[] = {{VK_BACK, u"BkSp"},  {VK_TAB, u"Tab"},     {VK_RETURN, u"Enter"},
                                 {VK_ESCAPE, u"Esc"}, {VK_SPACE, u"Space"}, {VK_PRIOR, u"PgUp"},
                                 {VK_NEXT, u"PgDn"},  {VK_END, u"End"},     {VK_HOME, u"Home"},
                                 {VK_LEFT, u"Left"},  {VK_UP, u"Up"},       {VK_RIGHT, u"Right"},
                                 {VK_DOWN, u"Down"},  {VK_INSERT, u"Ins"},  {VK_DELETE, u"Del"}};

// "F" + number: see VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN.
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_BEGIN
String KeyName(Word AKey) {
    if ((AKey >= '0' && AKey <= '9') || (AKey >= 'A' && AKey <= 'Z')) return String(1, char16_t(AKey));
    if (AKey >= VK_F1 && AKey <= VK_F24) return u"F" + IntToStr(AKey - VK_F1 + 1);
    for (const TKeyName& k : KeyNames)
        if (k.Key == AKey) return k.Name;
    return {};
}
VELQUA_GCC12_RESTRICT_FALSE_POSITIVE_END

}  // namespace

String ShortCutToText(TShortCut AShortCut) {
    const String name = KeyName(ShortCutToKey(AShortCut));
    if (name.empty()) return {};
    String result;
    if (AShortCut & scShift) result += u"Shift+";
    if (AShortCut & scCtrl) result += u"Ctrl+";
    if (AShortCut & scAlt) result += u"Alt+";
    return result + name;
}

TShortCut TextToShortCut(const String& AText) {
    TShortCut modifiers = 0;
    std::u16string_view rest(AText);
    const auto take = [&rest](std::u16string_view APrefix) {
        if (rest.size() <= APrefix.size() || !SameText(rest.substr(0, APrefix.size()), APrefix)) return false;
        rest.remove_prefix(APrefix.size());
        return true;
    };
    for (bool more = true; more;) {
        more = false;
        if (take(u"Shift+")) modifiers |= scShift, more = true;
        if (take(u"Ctrl+")) modifiers |= scCtrl, more = true;
        if (take(u"Alt+")) modifiers |= scAlt, more = true;
    }
    for (Word key = 1; key < 0x100; ++key) {
        const String name = KeyName(key);
        if (!name.empty() && SameText(name, rest)) return modifiers | key;
    }
    return 0;
}

bool IsAccel(Word AChar, const String& ACaption) {
    for (size_t i = 0; i + 1 < ACaption.size(); ++i) {
        if (ACaption[i] != u'&') continue;
        if (ACaption[i + 1] == u'&') {
            ++i;
            continue;
        }
        const char16_t key = char16_t(AChar);
        return AnsiSameText(std::u16string_view(&ACaption[i + 1], 1), std::u16string_view(&key, 1));
    }
    return false;
}

String StripHotkey(const String& ACaption) {
    String result;
    for (size_t i = 0; i < ACaption.size(); ++i) {
        if (ACaption[i] == u'&' && i + 1 < ACaption.size()) ++i;
        result += ACaption[i];
    }
    return result;
}
