// List boxes: a list of text items, one selected (or several with
// MultiSelect), scrolled by whole items, in one column or several, drawn
// by the list or, owner-drawn, by DrawItem / OnDrawItem at a fixed height.
//
// The window's own behaviour is in DefaultHandler: the LB_ messages, keys
// with incremental search, mouse selection and scrolling. Items and the
// selection properties go through those messages, so a replaced WindowProc
// sees every item added (LB_ADDSTRING, LB_INSERTSTRING), deleted
// (LB_DELETESTRING, LB_RESETCONTENT) and selected.
//
// Scrolling: TopIndex is the first item shown. The window's scroll
// information follows it as the platform list keeps it: one column: SB_VERT
// with the range 0 .. Count - 1, the page the whole rows that fit and the
// position TopIndex; several columns: SB_HORZ in columns. WM_VSCROLL
// (WM_HSCROLL with columns) scrolls it. No bar is drawn.
//
// Incremental search: a typed character selects the next item after the
// current one that begins with it (without regard to case, from the top
// again after the last); with AutoComplete, characters typed less than
// 500 ms apart search together from the top.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/stringlist.h"
#include "platform/toolkit/controls.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

// The states of an owner-drawn item; their bits are the ODS_ flags.
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* AValue) { FItems->Assign(AValue); }
    Integer Count() { return Integer(FEntries.size()); }
    // The selected item (the focused one with MultiSelect); -1 for none.
    Integer ItemIndex();
    void SetItemIndex(Integer AValue);
    Integer TopIndex();
    void SetTopIndex(Integer AValue);
    // The height of every item: the font's for lbStandard, as set otherwise.
    Integer ItemHeight();
    void SetItemHeight(Integer AValue);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle AValue);
    // Items flow top to bottom into this many columns of the width; 0: one
    // column as wide as the list.
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer AValue);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool AValue);
    // With MultiSelect: a click selects one item, Shift a range, Ctrl adds
    // or removes one (else each click toggles).
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool AValue) { FExtendedSelect = AValue; }
    // Items are added at their place without regard to case.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle AValue);

    bool Selected(Integer AIndex);
    void SetSelected(Integer AIndex, bool AValue);
    // With MultiSelect: the selected items; -1 without.
    Integer SelCount();
    void ClearSelection();
    void SelectAll();
    void Clear();
    // In client coordinates; also for items scrolled out of view, and Count
    // gives the row after the last item.
    TRect ItemRect(Integer AIndex);
    // The item at a client point: -1 outside the client area or (with
    // AExisting) below the last item, else Count there.
    Integer ItemAtPos(TPoint APos, bool AExisting);
    // The item a typed character finds by the incremental search; -1 for none.
    Integer SearchItem(char16_t AChar);

    TDrawItemEvent OnDrawItem;

    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void Dispatch(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;
    void Paint() override;

protected:
    // Draws an owner-drawn item on Canvas, which has the item's colours:
    // OnDrawItem, or the text on the brush.
    virtual void DrawItem(Integer AIndex, TRect ARect, TOwnerDrawState AState);

private:
    struct TEntry {
        String Text;
        win::LPARAM Data = 0;
        bool Selected = false;
    };

    // Storage.
    Integer InsertEntry(Integer AIndex, const String& AText);
    void DeleteEntry(Integer AIndex);
    Integer FindString(Integer AStart, std::u16string_view AText, bool AExact) const;
    // Geometry.
    Integer Rows();
    Integer ColumnWidth();
    Integer VisibleColumns();
    Integer MaxTopIndex();
    void ScrollTo(Integer ATop);
    void EnsureVisible(Integer AIndex);
    void UpdateScrollInfo();
    void Changed();
    // Selection by the user: the list's own rules per mode; OnClick when
    // anything changed (or always, for a click).
    void UserSelect(Integer AIndex, bool AShift, bool ACtrl, bool AClickAlways);
    void SelectRange(Integer AFrom, Integer ATo);
    bool SetCaret(Integer AIndex);
    void KeyAction(Word AKey);
    void Search(char16_t AChar);
    void MouseAction(TMessage& AMessage);
    void ScrollAction(win::WORD ACode, Integer APosition);
    win::UINT ItemState(Integer AIndex);
    void DrawDefault(Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    void CNDrawItem(TMessage& AMessage);

    std::unique_ptr<TStrings> FItems;
    std::vector<TEntry> FEntries;
    // The selected item, or the focused one with MultiSelect.
    Integer FItemIndex = -1;
    Integer FAnchor = -1;
    Integer FTopIndex = 0;
    Integer FItemHeight = 16;
    Integer FFontHeight = 0;
    TListBoxStyle FStyle = lbStandard;
    Integer FColumns = 0;
    Integer FColumnWidth = 0;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    bool FAutoComplete = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FTracking = false;
    String FFilter;
    Cardinal FLastTime = 0;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};
