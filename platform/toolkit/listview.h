// The list view (window class "SysListView32"): items with sub-items in four
// views (report with a real header window, icon, small icon, list), owner
// data, label editing, multi-select, check boxes and custom drawing, painted
// plainly; its scroll state is kept on the window for the skinned list.
//
// Scroll units, as GetScrollInfo reports them: report view vertically in
// rows (0 .. count - 1, position = top row, page = rows per page) and
// horizontally in pixels; list view horizontally in columns; icon views in
// pixels both ways. A pixel range runs from 0 to the content's extent - 1.
//
// What the system's control does lives in DefaultHandler, behind the
// object's WindowProc: messages (LVM_..., scrolling, the header's WM_NOTIFY),
// mouse and keys. The virtual hooks are what derived lists replace.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/base/collections.h"
#include "platform/base/stringlist.h"
#include "platform/toolkit/imagelist.h"
#include "platform/toolkit/viewsupport.h"

class TCustomListView;
class TListItems;
class TListHeader;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TItemChange { ctText, ctImage, ctState };
enum TItemRequestItem { irText, irImage, irParam, irState, irIndent };
using TItemRequest = TSet<TItemRequestItem>;
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* ACollection);
    void Assign(TPersistent* ASource) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    Integer Width() const { return FWidth; }
    // Code sets any width; MinWidth and MaxWidth bound what the user drags.
    void SetWidth(Integer AValue);
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer AValue);
    // 0: no limit.
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer AValue);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    // In the list's SmallImages; -1 for none.
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);

protected:
    String GetDisplayName() const override;

private:
    template <typename T>
    void Set(T& AField, const T& AValue);

    String FCaption;
    Integer FWidth = 50;
    Integer FMinWidth = 0;
    Integer FMaxWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    Integer FImageIndex = -1;
};

class TListColumns : public TCollectionOf<TListColumn> {
public:
    explicit TListColumns(TCustomListView* AOwner);
    TCustomListView* Owner() const { return FListView; }

protected:
    void Update(TCollectionItem* AItem) override;

private:
    TCustomListView* FListView;
};

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;
    // Caption, images, sub-items and their images, data and check mark.
    void Assign(TPersistent* ASource) override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    Integer Index() const;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& AValue);
    // Writing line i of a list of fewer lines raises "List index out of
    // bounds (%d)"; every change repaints the row.
    TStrings* SubItems() const { return FSubItems.get(); }
    void SetSubItems(TStrings* AValue) { FSubItems->Assign(AValue); }
    // -1 where none was set.
    Integer SubItemImages(Integer AIndex) const;
    void SetSubItemImages(Integer AIndex, Integer AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    // The user's; the item never frees it.
    void* Data() const { return FData; }
    void SetData(void* AValue) { FData = AValue; }

    bool Checked() const;
    void SetChecked(bool AValue);
    bool Selected() const;
    void SetSelected(bool AValue);
    bool Focused() const;
    void SetFocused(bool AValue);

    // The item's place in the list's client area.
    Integer Left() const { return DisplayRect(drBounds).Left; }
    Integer Top() const { return DisplayRect(drBounds).Top; }
    TRect DisplayRect(TDisplayCode ACode) const;
    void MakeVisible(bool APartialOK);
    // Opens the label editor on the item; false when refused.
    bool EditCaption();
    void CancelEdit();
    // Repaints the item.
    void Update();
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;

    void SubItemsChanged(TObject* Sender);

    TListItems* FOwner;
    String FCaption;
    std::unique_ptr<TStringList> FSubItems;
    std::vector<Integer> FSubItemImages;
    Integer FImageIndex = -1;
    void* FData = nullptr;
    // The row an owner-data item stands for.
    Integer FDataIndex = -1;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* AOwner);
    ~TListItems() override;

    TCustomListView* Owner() const { return FOwner; }
    Integer Count() const;
    // Owner data only: the number of rows; the selection of rows past the
    // new count goes.
    void SetCount(Integer AValue);
    // EListError "List index out of bounds (%d)" outside 0 .. Count - 1. With
    // owner data one item stands for every row and is refilled on each call.
    TListItem* Item(Integer AIndex);
    TListItem* Add();
    TListItem* Insert(Integer AIndex);
    void Delete(Integer AIndex);
    void Clear();
    // -1 for an item not in the list (or freed).
    Integer IndexOf(const TListItem* AItem) const;
    // Holds painting and layout until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TCustomListView;
    friend class TListItem;

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    Integer FDataCount = 0;
    std::unique_ptr<TListItem> FDataItem;
};

class TIconOptions : public TPersistent {
public:
    explicit TIconOptions(TCustomListView* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* ASource) override;
    // Icon view: a caption may take two lines under its icon.
    bool WrapText() const { return FWrapText; }
    void SetWrapText(bool AValue);

private:
    TCustomListView* FOwner;
    bool FWrapText = true;
};

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent =
    std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent = std::function<void(
    TObject* Sender, TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
    Integer StartIndex, TSearchDirection Direction, bool Wrap, Integer& Index)>;

class TCustomListView : public TCustomViewControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TListColumns* AValue) { FColumns->Assign(AValue); }
    TListColumn* Column(Integer AIndex) const { return FColumns->Items(AIndex); }
    TListItems* Items() const { return FItems.get(); }

    TViewStyle ViewStyle() const { return FViewStyle; }
    virtual void SetViewStyle(TViewStyle AValue);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool AValue);
    // Report view: a line under the header and under each row, one right of each column.
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool AValue);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool AValue);
    // No label editing.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool AValue);
    // The selection disappears while the list has no focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool AValue);
    // A click on a header section raises OnColumnClick.
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool AValue) { FColumnClick = AValue; }
    // Header sections can be dragged to another place.
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool AValue) { FFullDrag = AValue; }
    // The list holds only a count and asks OwnerDataFetch for the rows it shows.
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool AValue);
    TIconOptions* IconOptions() const { return FIconOptions.get(); }
    void SetIconOptions(TIconOptions* AValue) { FIconOptions->Assign(AValue); }
    // Icon view's images.
    TCustomImageList* LargeImages() const { return FLargeLink.List(); }
    void SetLargeImages(TCustomImageList* AValue);
    // The other views' images, the sub-items' and the header's.
    TCustomImageList* SmallImages() const { return FSmallLink.List(); }
    void SetSmallImages(TCustomImageList* AValue);

    // The first selected item; nil for none. Writing selects that item alone
    // (nil: none).
    TListItem* Selected();
    void SetSelected(TListItem* AValue);
    // The first selected row, -1 for none. Writing selects that row alone and
    // gives it the focus (-1: none); EListError outside -1 .. count - 1.
    Integer ItemIndex() const;
    void SetItemIndex(Integer AValue);
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* AValue);
    Integer SelCount() const;
    void ClearSelection();
    // The item under a client point, nil for none.
    TListItem* GetItemAt(Integer X, Integer Y);
    // The first row shown; nil for none.
    TListItem* TopItem();
    // Scrolls by pixels (report rows by whole rows, list columns by whole columns).
    void Scroll(Integer ADX, Integer ADY);
    void UpdateItems(Integer AFirstIndex, Integer ALastIndex);
    void CancelEdit();

    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVColumnClickEvent OnColumnClick;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;

    void Paint() override;
    void DefaultHandler(TMessage& AMessage) override;
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void DestroyWnd() override;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    // The hooks. OwnerDataFetch fills an owner-data row (raises OnData) and
    // is asked only for rows below the count; OwnerDataFind answers a search
    // (raises OnDataFind; -1 for none).
    virtual bool OwnerDataFetch(TListItem* Item, TItemRequest Request);
    virtual Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                  void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap);
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void DoSelectItem(TListItem* Item, bool Selected);
    virtual void ColClick(TListColumn* Column);
    virtual bool CanEdit(TListItem* Item);
    // The label editor closed on row AIndex: with the text, or cancelled
    // (none). Raises OnEdited and takes the text as the caption.
    virtual void Edit(Integer AIndex, std::optional<String> AText);
    // Raises OnCustomDrawItem; false: the list draws nothing of the item.
    virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage);

    void ScrollMessage(TMessage& AMessage, int ABar) override;
    void LayoutChanged() override;
    void FontChanged() override;
    void EditorDone(std::optional<String> AText) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    friend class TIconOptions;
    friend class TListHeader;

    enum : uint8_t { stSelected = 1, stFocused = 2, stChecked = 4 };

    // Model (listview.cpp).
    Integer Count() const;
    bool ValidIndex(Integer AIndex) const { return AIndex >= 0 && AIndex < Count(); }
    bool HasState(Integer AIndex, uint8_t AState) const;
    // The item the hooks see for a row (owner data: the shared item, filled).
    TListItem* HookItem(Integer AIndex);
    // Whether AItem still stands for row AIndex after a hook ran.
    bool StillAt(const TListItem* AItem, Integer AIndex) const;
    bool SetStates(Integer AIndex, uint8_t AStates, uint8_t AMask);
    // Selects row AIndex alone (-1: none); answers where the row is after
    // the hooks ran, -1 when it went away.
    Integer SelectAlone(Integer AIndex);
    void SelectRange(Integer AFrom, Integer ATo);
    void FocusRow(Integer AIndex);
    void ItemInserted(Integer AIndex);
    void ItemDeleting(Integer AIndex);
    void ItemsCleared();
    void ItemTextChanged(TListItem* AItem, TItemChange AChange);
    void ColumnsChanged();
    void Changed(bool ALayout);
    TListItem* FetchRow(Integer AIndex, TListItem& AItem, TItemRequest ARequest);
    Integer FindCaption(const String& APrefix, Integer AStart);

    // Geometry and scrolling (listviewlayout.cpp).
    Integer CharWidth();
    Integer RowHeight();
    Integer HeaderHeight();
    Integer RowsTop();
    win::SIZE ImageSize(win::WPARAM AList);
    Integer CellWidth();
    Integer CellHeight();
    Integer ListColumnWidth();
    Integer RowsPerColumn();
    Integer ItemsPerRow();
    Integer CountPerPage();
    Integer ColumnsWidth();
    Integer ColumnLeft(Integer AColumn);
    TRect CellRect(Integer AIndex);
    TRect StateRect(Integer AIndex);
    TRect ItemRect(Integer AIndex, TDisplayCode ACode);
    Integer ItemAt(TPoint APoint, bool* AOnCheck = nullptr);
    Integer ScrollLast(int ABar);
    void ScrollTo(Integer AX, Integer AY);
    void UpdateScrollState();
    void MakeRowVisible(Integer AIndex, bool APartialOK);
    void LayoutHeader();
    void CreateHeader();
    void DestroyHeader();

    // Painting (listviewpaint.cpp).
    void PaintItem(Integer AIndex, TListItem* AItem);
    void PaintReportRow(Integer AIndex, TListItem* AItem, bool ASelected, bool AHighlight);
    void PaintCheck(const TRect& ARect, bool AChecked);
    void PaintImage(win::WPARAM AList, Integer AImage, Integer X, Integer Y);
    void PaintGrid();
    TColor SelectionColor() const;
    TColor SelectionTextColor() const;

    // Input and label editing (listviewinput.cpp).
    void MouseSelect(TMessage& AMessage, bool ARight);
    void KeyNavigate(Word AKey);
    void TypeAhead(char16_t AChar);
    void MoveFocusTo(Integer AIndex, TShiftState AShift);
    bool StartEdit(Integer AIndex);
    TRect EditorRect();
    void MoveEditor();
    void HeaderNotify(TMessage& AMessage);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TIconOptions> FIconOptions;
    TViewStyle FViewStyle = vsIcon;
    bool FShowColumnHeaders = true;
    bool FGridLines = false;
    bool FRowSelect = false;
    bool FReadOnly = false;
    bool FCheckboxes = false;
    bool FHideSelection = true;
    bool FMultiSelect = false;
    bool FColumnClick = true;
    bool FFullDrag = false;
    bool FOwnerData = false;
    TImageListLink FLargeLink;
    TImageListLink FSmallLink;
    // By LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE.
    win::HIMAGELIST FImageHandles[3] = {};

    // Per row: stSelected, stFocused, stChecked.
    std::vector<uint8_t> FStates;
    Integer FFocus = -1;
    Integer FAnchor = -1;
    // Display order of the columns.
    std::vector<Integer> FOrder;
    Integer FListWidth = 0;
    Integer FScrollX = 0;
    Integer FScrollY = 0;
    Integer FCharWidth = 0;
    Integer FUpdateCount = 0;
    bool FLayoutPending = false;
    std::unique_ptr<TListHeader> FHeader;
    Integer FEditIndex = -1;
    TTypeAhead FTypeAhead;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
