// Menus as models: trees of items with captions, state, short cuts and
// click handlers. Nothing here is a native menu: whoever shows a menu (the
// skin library's popup windows, or the plain popup of TPopupMenu) draws and
// tracks the items itself and dispatches the chosen one.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/classes.h"
#include "platform/toolkit/actions.h"
#include "platform/toolkit/controlmessages.h"
#include "platform/toolkit/controls.h"
#include "platform/toolkit/geometry.h"

class TBitmap;
class TCustomImageList;
class TMenu;

// Short cuts: a virtual key plus these modifier bits.
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool ASelected)>;

enum TMenuAutoFlag { maAutomatic, maManual, maParent };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees the items below it and leaves its parent.
    ~TMenuItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    // A caption of "-" is a separator line.
    bool IsLine() const { return FCaption == u"-"; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);
    // Checking a radio item unchecks the other radio items of its group
    // among its siblings.
    bool Checked() const { return FChecked; }
    void SetChecked(bool AValue);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool AValue);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte AValue);
    bool Default() const { return FDefault; }
    void SetDefault(bool AValue);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut AValue);
    // Made on first use.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* AValue);
    bool HasBitmap() const { return FBitmap != nullptr; }
    // Into the menu's Images; -1 for none.
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    const String& Hint() const { return FHint; }
    void SetHint(const String& AValue) { FHint = AValue; }
    // Unique among all menu items of the process.
    Word Command() const { return FCommand; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* AValue);
    virtual void ActionChange(TObject* ASender, bool ACheckDefaults);

    // The tree.
    Integer Count() const { return Integer(FItems.size()); }
    TMenuItem* Items(Integer AIndex) const;
    TMenuItem* Parent() const { return FParent; }
    Integer MenuIndex() const;
    void SetMenuIndex(Integer AValue);
    // AIndex 0..Count; an item that has a parent raises EMenuError.
    void Insert(Integer AIndex, TMenuItem* AItem);
    void Add(TMenuItem* AItem) { Insert(Count(), AItem); }
    // Takes the item out and frees it.
    void Delete(Integer AIndex);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* AItem);
    // Frees every item below.
    void Clear();
    Integer IndexOf(const TMenuItem* AItem) const;
    // The menu whose tree holds this item, nil for none.
    TMenu* GetParentMenu() const;
    // Hides the separators that would show at the start, at the end or next
    // to another one among the visible items, and shows the others; true
    // when anything changed.
    bool RethinkLines();

    // Runs OnClick (or the action) when enabled.
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TMenu;
    void UncheckSiblings();

    String FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    std::unique_ptr<TBitmap> FBitmap;
    Integer FImageIndex = -1;
    String FHint;
    Word FCommand;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
    std::unique_ptr<TBasicActionLink> FActionLink;
};

VELQUA_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuAutoFlag AValue) { FAutoLineReduction = AValue; }

    // The item with that command id, nil for none.
    TMenuItem* FindItem(Word ACommand) const;
    // Clicks the item with that command id; false for none.
    bool DispatchCommand(Word ACommand);
    // Clicks the enabled item whose short cut is the key with the current
    // Shift and Ctrl state and the key data's Alt bit.
    virtual bool IsShortCut(TWMKey& AMessage);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    TMenuAutoFlag FAutoLineReduction = maAutomatic;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Fires OnPopup, then shows the items at the screen point: a plain
    // popup window until a skin's menu replaces this.
    virtual void Popup(Integer X, Integer Y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool AValue) { FAutoPopup = AValue; }
    // The control the menu was last popped up for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* AValue);

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void DoPopup(TObject* ASender);

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

// The key with the modifiers of AShift (ssShift, ssCtrl, ssAlt).
TShortCut ShortCut(Word AKey, TShiftState AShift);
Word ShortCutToKey(TShortCut AShortCut);
// "Ctrl+S", "F1", "Shift+Del"; "" for 0.
String ShortCutToText(TShortCut AShortCut);
// The inverse of ShortCutToText, without regard to case; 0 for a text it
// does not know.
TShortCut TextToShortCut(const String& AText);
// Whether ACaption marks AChar as its accelerator ("&x", any case; "&&" is
// a plain ampersand).
bool IsAccel(Word AChar, const String& ACaption);
// The caption without its accelerator marks.
String StripHotkey(const String& ACaption);
