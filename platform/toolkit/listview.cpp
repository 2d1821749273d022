// The list view's model: columns, items, owner data, item states and the
// hooks they go through, and the published members.
#include "platform/toolkit/listview.h"

#include <algorithm>

#include "platform/base/listhelpers.h"
#include "platform/toolkit/listviewheader.h"
#include "platform/toolkit/published.h"
#include "platform/win/commoncontrols.h"
#include "platform/win/painting.h"

using namespace win;

TListColumn::TListColumn(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TListColumn::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TListColumn*>(ASource);
    if (!source) return TCollectionItem::Assign(ASource);
    FCaption = source->FCaption;
    FWidth = source->FWidth;
    FMinWidth = source->FMinWidth;
    FMaxWidth = source->FMaxWidth;
    FAlignment = source->FAlignment;
    FImageIndex = source->FImageIndex;
    Changed(false);
}

template <typename T>
void TListColumn::Set(T& AField, const T& AValue) {
    if (Store(AField, AValue)) Changed(false);
}

void TListColumn::SetCaption(const String& AValue) {
    Set(FCaption, AValue);
}

void TListColumn::SetWidth(Integer AValue) {
    Set(FWidth, std::max(AValue, 0));
}

void TListColumn::SetMinWidth(Integer AValue) {
    Set(FMinWidth, std::max(AValue, 0));
}

void TListColumn::SetMaxWidth(Integer AValue) {
    Set(FMaxWidth, std::max(AValue, 0));
}

void TListColumn::SetAlignment(TAlignment AValue) {
    Set(FAlignment, AValue);
}

void TListColumn::SetImageIndex(Integer AValue) {
    Set(FImageIndex, AValue);
}

String TListColumn::GetDisplayName() const {
    return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

TListColumns::TListColumns(TCustomListView* AOwner) : TCollectionOf<TListColumn>(AOwner), FListView(AOwner) {}

void TListColumns::Update(TCollectionItem*) {
    FListView->ColumnsChanged();
}

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner), FSubItems(std::make_unique<TStringList>()) {
    FSubItems->OnChange = [this](TObject* Sender) { SubItemsChanged(Sender); };
}

TListItem::~TListItem() = default;

void TListItem::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TListItem*>(ASource);
    if (!source) return TPersistent::Assign(ASource);
    const bool checked = source->Checked();
    // One change: the check mark is the only part that goes through a hook.
    FCaption = source->FCaption;
    FImageIndex = source->FImageIndex;
    FData = source->FData;
    FSubItemImages = source->FSubItemImages;
    FSubItems->Assign(source->FSubItems.get());
    Update();
    SetChecked(checked);
}

TCustomListView* TListItem::ListView() const {
    return FOwner->Owner();
}

Integer TListItem::Index() const {
    return FDataIndex >= 0 ? FDataIndex : FOwner->IndexOf(this);
}

void TListItem::SetCaption(const String& AValue) {
    if (AValue == FCaption) return;
    // Owner-data items are filled by the hooks, never changed through them.
    if (FDataIndex >= 0 || Index() < 0) {
        FCaption = AValue;
        return;
    }
    // The hook may delete the item: nothing of it is touched unless it is still there.
    TListItems* owner = FOwner;
    if (!owner->Owner()->CanChange(this, ctText) || owner->IndexOf(this) < 0) return;
    FCaption = AValue;
    owner->Owner()->ItemTextChanged(this, ctText);
}

Integer TListItem::SubItemImages(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= FSubItems->Count()) throw EListError(SListIndexError, {AIndex});
    return size_t(AIndex) < FSubItemImages.size() ? FSubItemImages[size_t(AIndex)] : -1;
}

void TListItem::SetSubItemImages(Integer AIndex, Integer AValue) {
    if (AIndex < 0 || AIndex >= FSubItems->Count()) throw EListError(SListIndexError, {AIndex});
    if (size_t(AIndex) >= FSubItemImages.size()) FSubItemImages.resize(size_t(AIndex) + 1, -1);
    FSubItemImages[size_t(AIndex)] = AValue;
    Update();
}

void TListItem::SetImageIndex(Integer AValue) {
    if (AValue == FImageIndex) return;
    if (FDataIndex >= 0 || Index() < 0) {
        FImageIndex = AValue;
        return;
    }
    TListItems* owner = FOwner;
    if (!owner->Owner()->CanChange(this, ctImage) || owner->IndexOf(this) < 0) return;
    FImageIndex = AValue;
    owner->Owner()->ItemTextChanged(this, ctImage);
}

bool TListItem::Checked() const {
    return ListView()->HasState(Index(), TCustomListView::stChecked);
}

void TListItem::SetChecked(bool AValue) {
    ListView()->SetStates(Index(), AValue ? TCustomListView::stChecked : 0, TCustomListView::stChecked);
}

bool TListItem::Selected() const {
    return ListView()->HasState(Index(), TCustomListView::stSelected);
}

void TListItem::SetSelected(bool AValue) {
    TCustomListView* list = ListView();
    if (AValue && !list->MultiSelect())
        list->SelectAlone(Index());
    else
        list->SetStates(Index(), AValue ? TCustomListView::stSelected : 0, TCustomListView::stSelected);
}

bool TListItem::Focused() const {
    return ListView()->HasState(Index(), TCustomListView::stFocused);
}

void TListItem::SetFocused(bool AValue) {
    if (AValue)
        ListView()->FocusRow(Index());
    else
        ListView()->SetStates(Index(), 0, TCustomListView::stFocused);
}

TRect TListItem::DisplayRect(TDisplayCode ACode) const {
    return ListView()->ItemRect(Index(), ACode);
}

void TListItem::MakeVisible(bool APartialOK) {
    ListView()->MakeRowVisible(Index(), APartialOK);
}

bool TListItem::EditCaption() {
    TCustomListView* list = ListView();
    return list->Perform(LVM_EDITLABELW, WPARAM(Index()), 0) != 0;
}

void TListItem::CancelEdit() {
    TCustomListView* list = ListView();
    if (list->FEditIndex == Index() && Index() >= 0) list->CancelEdit();
}

void TListItem::Update() {
    const Integer index = Index();
    ListView()->UpdateItems(index, index);
}

void TListItem::Delete() {
    FOwner->Delete(Index());
}

void TListItem::SubItemsChanged(TObject*) {
    if (FDataIndex < 0) Update();
}

TListItems::TListItems(TCustomListView* AOwner)
    : FOwner(AOwner), FDataItem(std::make_unique<TListItem>(this)) {}

TListItems::~TListItems() = default;

Integer TListItems::Count() const {
    return FOwner->OwnerData() ? FDataCount : Integer(FItems.size());
}

void TListItems::SetCount(Integer AValue) {
    if (!FOwner->OwnerData()) return;
    AValue = std::max(AValue, 0);
    if (FOwner->FEditIndex >= AValue) FOwner->CancelEdit();
    FDataCount = AValue;
    FOwner->FStates.resize(size_t(AValue), 0);
    if (FOwner->FFocus >= AValue) FOwner->FFocus = -1;
    if (FOwner->FAnchor >= AValue) FOwner->FAnchor = -1;
    FOwner->Changed(true);
}

TListItem* TListItems::Item(Integer AIndex) {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    if (!FOwner->OwnerData()) return FItems[size_t(AIndex)].get();
    return FOwner->FetchRow(AIndex, *FDataItem, {irText, irImage, irParam, irState, irIndent});
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(Integer AIndex) {
    if (FOwner->OwnerData()) throw EInvalidOperation(u"Items cannot be added to an owner-data list");
    if (AIndex < 0 || AIndex > Count()) throw EListError(SListIndexError, {AIndex});
    auto item = std::make_unique<TListItem>(this);
    TListItem* result = item.get();
    FItems.insert(FItems.begin() + AIndex, std::move(item));
    FOwner->ItemInserted(AIndex);
    return result;
}

void TListItems::Delete(Integer AIndex) {
    if (FOwner->OwnerData()) throw EInvalidOperation(u"Items cannot be deleted from an owner-data list");
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    FOwner->ItemDeleting(AIndex);
    // Taken out first: a destructor that reaches the list sees it without the item.
    std::unique_ptr<TListItem> item = std::move(FItems[size_t(AIndex)]);
    FItems.erase(FItems.begin() + AIndex);
    FOwner->Changed(true);
}

void TListItems::Clear() {
    FOwner->CancelEdit();
    std::vector<std::unique_ptr<TListItem>> items = std::move(FItems);
    FItems.clear();
    FDataCount = 0;
    FOwner->ItemsCleared();
}

Integer TListItems::IndexOf(const TListItem* AItem) const {
    if (!AItem) return -1;
    // Compared before it is read: AItem may have been freed by a hook.
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == AItem) return Integer(i);
    // Owner-data items belong to the list or to its painting and live on.
    if (FOwner->OwnerData() && AItem->FDataIndex >= 0)
        return AItem->FDataIndex < Count() ? AItem->FDataIndex : -1;
    return -1;
}

void TListItems::BeginUpdate() {
    ++FOwner->FUpdateCount;
}

void TListItems::EndUpdate() {
    if (FOwner->FUpdateCount == 0) return;
    if (--FOwner->FUpdateCount == 0) FOwner->Changed(false);
}

void TIconOptions::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TIconOptions*>(ASource);
    if (!source) return TPersistent::Assign(ASource);
    SetWrapText(source->FWrapText);
}

void TIconOptions::SetWrapText(bool AValue) {
    if (Store(FWrapText, AValue)) FOwner->Changed(true);
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TCustomViewControl(AOwner),
      FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)),
      FIconOptions(std::make_unique<TIconOptions>(this)),
      FLargeLink(this, [this] { Changed(true); }),
      FSmallLink(this, [this] { Changed(true); }) {
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
    BeforeDestruction();
}

Integer TCustomListView::Count() const {
    return FItems->Count();
}

bool TCustomListView::HasState(Integer AIndex, uint8_t AState) const {
    return ValidIndex(AIndex) && size_t(AIndex) < FStates.size() && (FStates[size_t(AIndex)] & AState);
}

TListItem* TCustomListView::HookItem(Integer AIndex) {
    return ValidIndex(AIndex) ? FItems->Item(AIndex) : nullptr;
}

bool TCustomListView::StillAt(const TListItem* AItem, Integer AIndex) const {
    if (!ValidIndex(AIndex)) return false;
    if (FOwnerData) return true;
    return FItems->FItems[size_t(AIndex)].get() == AItem;
}

TListItem* TCustomListView::FetchRow(Integer AIndex, TListItem& AItem, TItemRequest ARequest) {
    AItem.FDataIndex = AIndex;
    AItem.FCaption.clear();
    AItem.FImageIndex = -1;
    AItem.FData = nullptr;
    AItem.FSubItemImages.clear();
    AItem.FSubItems->Clear();
    if (ValidIndex(AIndex)) OwnerDataFetch(&AItem, ARequest);
    return &AItem;
}

bool TCustomListView::SetStates(Integer AIndex, uint8_t AStates, uint8_t AMask) {
    if (!ValidIndex(AIndex)) return false;
    const uint8_t old = FStates[size_t(AIndex)];
    if (((old ^ AStates) & AMask) == 0) return true;
    TListItem* item = HookItem(AIndex);
    if (!CanChange(item, ctState) || !StillAt(item, AIndex)) return false;
    uint8_t& state = FStates[size_t(AIndex)];
    const uint8_t before = state;
    state = uint8_t((state & ~AMask) | (AStates & AMask));
    if (state & stFocused)
        FFocus = AIndex;
    else if (FFocus == AIndex)
        FFocus = -1;
    const bool selectionChanged = (before ^ state) & stSelected;
    const bool selected = state & stSelected;
    UpdateItems(AIndex, AIndex);
    if (FOwnerData) item = HookItem(AIndex);
    Change(item, ctState);
    if (selectionChanged && StillAt(item, AIndex)) {
        if (FOwnerData) item = HookItem(AIndex);
        DoSelectItem(item, selected);
    }
    return true;
}

Integer TCustomListView::SelectAlone(Integer AIndex) {
    if (!ValidIndex(AIndex)) AIndex = -1;
    const TListItem* target = AIndex >= 0 && !FOwnerData ? FItems->FItems[size_t(AIndex)].get() : nullptr;
    // The hooks of the rows losing the selection may move or delete the row gaining it.
    const auto where = [&] {
        return FOwnerData ? (ValidIndex(AIndex) ? AIndex : -1) : FItems->IndexOf(target);
    };
    for (Integer i = 0; i < Count(); ++i) {
        const Integer at = AIndex >= 0 ? where() : -1;
        if (AIndex >= 0 && at < 0) return -1;
        if (i != at && HasState(i, stSelected)) SetStates(i, 0, stSelected);
    }
    const Integer at = AIndex >= 0 ? where() : -1;
    if (at >= 0) SetStates(at, stSelected, stSelected);
    return at;
}

void TCustomListView::SelectRange(Integer AFrom, Integer ATo) {
    const Integer low = std::min(AFrom, ATo), high = std::max(AFrom, ATo);
    for (Integer i = 0; i < Count(); ++i)
        if ((i < low || i > high) && HasState(i, stSelected)) SetStates(i, 0, stSelected);
    for (Integer i = low; i <= high && i < Count(); ++i)
        SetStates(i, stSelected, stSelected);
}

void TCustomListView::FocusRow(Integer AIndex) {
    if (!ValidIndex(AIndex)) return;
    if (FFocus != AIndex && ValidIndex(FFocus)) SetStates(FFocus, 0, stFocused);
    SetStates(AIndex, stFocused, stFocused);
}

void TCustomListView::ItemInserted(Integer AIndex) {
    FStates.insert(FStates.begin() + AIndex, 0);
    for (Integer* index : {&FFocus, &FAnchor, &FEditIndex})
        if (*index >= AIndex) ++*index;
    Changed(true);
}

void TCustomListView::ItemDeleting(Integer AIndex) {
    if (FEditIndex == AIndex) CancelEdit();
    FStates.erase(FStates.begin() + AIndex);
    for (Integer* index : {&FFocus, &FAnchor, &FEditIndex})
        if (*index == AIndex)
            *index = -1;
        else if (*index > AIndex)
            --*index;
}

void TCustomListView::ItemsCleared() {
    FStates.clear();
    FFocus = FAnchor = FEditIndex = -1;
    FScrollX = FScrollY = 0;
    Changed(true);
}

void TCustomListView::ItemTextChanged(TListItem* AItem, TItemChange AChange) {
    AItem->Update();
    Change(AItem, AChange);
}

void TCustomListView::ColumnsChanged() {
    const Integer count = FColumns->Count();
    // The display order keeps its columns; new ones go to the end.
    std::erase_if(FOrder, [count](Integer AColumn) { return AColumn >= count; });
    for (Integer i = 0; i < count; ++i)
        if (std::find(FOrder.begin(), FOrder.end(), i) == FOrder.end()) FOrder.push_back(i);
    if (FHeader) FHeader->Invalidate();
    Changed(true);
}

Integer TCustomListView::FindCaption(const String& APrefix, Integer AStart) {
    const Integer count = Count();
    for (Integer k = 0; k < count && k < Count(); ++k) {
        const Integer i = (AStart + k) % count;
        if (StartsWithText(APrefix, FItems->FItems[size_t(i)]->Caption())) return i;
    }
    return -1;
}

void TCustomListView::SetViewStyle(TViewStyle AValue) {
    if (AValue == FViewStyle) return;
    FViewStyle = AValue;
    FScrollX = FScrollY = 0;
    CancelEdit();
    if (FViewStyle == vsReport) CreateHeader();
    Changed(true);
}

void TCustomListView::SetShowColumnHeaders(bool AValue) {
    if (AValue == FShowColumnHeaders) return;
    FShowColumnHeaders = AValue;
    if (AValue)
        CreateHeader();
    else
        DestroyHeader();
    Changed(true);
}

void TCustomListView::SetGridLines(bool AValue) {
    if (Store(FGridLines, AValue)) Changed(true);
}

void TCustomListView::SetRowSelect(bool AValue) {
    if (Store(FRowSelect, AValue)) Changed(false);
}

void TCustomListView::SetCheckboxes(bool AValue) {
    if (Store(FCheckboxes, AValue)) Changed(true);
}

void TCustomListView::SetHideSelection(bool AValue) {
    if (Store(FHideSelection, AValue)) Changed(false);
}

void TCustomListView::SetMultiSelect(bool AValue) {
    if (AValue == FMultiSelect) return;
    FMultiSelect = AValue;
    // A single-select list keeps its first selected row only.
    if (!AValue) {
        const Integer first = ItemIndex();
        if (first >= 0) SelectAlone(first);
    }
}

void TCustomListView::SetOwnerData(bool AValue) {
    if (AValue == FOwnerData) return;
    FItems->Clear();
    FOwnerData = AValue;
    Changed(true);
}

void TCustomListView::SetLargeImages(TCustomImageList* AValue) {
    if (FLargeLink.Follow(AValue)) Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(FLargeLink.Handle()));
}

void TCustomListView::SetSmallImages(TCustomImageList* AValue) {
    if (FSmallLink.Follow(AValue)) Perform(LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(FSmallLink.Handle()));
}

void TCustomListView::Notification(TComponent* AComponent, TOperation AOperation) {
    TCustomViewControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == LargeImages()) SetLargeImages(nullptr);
    if (AComponent == SmallImages()) SetSmallImages(nullptr);
}

TListItem* TCustomListView::Selected() {
    return HookItem(ItemIndex());
}

void TCustomListView::SetSelected(TListItem* AValue) {
    const Integer index = FItems->IndexOf(AValue);
    if (AValue && index < 0) return;
    SelectAlone(index);
}

Integer TCustomListView::ItemIndex() const {
    for (size_t i = 0; i < FStates.size(); ++i)
        if (FStates[i] & stSelected) return Integer(i);
    return -1;
}

void TCustomListView::SetItemIndex(Integer AValue) {
    if (AValue < -1 || AValue >= Count()) throw EListError(SListIndexError, {AValue});
    const Integer at = SelectAlone(AValue);
    if (at >= 0) FocusRow(at);
    FAnchor = at;
}

TListItem* TCustomListView::ItemFocused() {
    return HookItem(FFocus);
}

void TCustomListView::SetItemFocused(TListItem* AValue) {
    const Integer index = FItems->IndexOf(AValue);
    if (index >= 0)
        FocusRow(index);
    else if (!AValue && ValidIndex(FFocus))
        SetStates(FFocus, 0, stFocused);
}

Integer TCustomListView::SelCount() const {
    return Integer(std::count_if(FStates.begin(), FStates.end(), [](uint8_t s) { return s & stSelected; }));
}

void TCustomListView::ClearSelection() {
    SelectAlone(-1);
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) {
    return HookItem(ItemAt({X, Y}));
}

void TCustomListView::CancelEdit() {
    FinishEditor(false);
}

void TCustomListView::UpdateItems(Integer AFirstIndex, Integer ALastIndex) {
    if (!HandleAllocated() || FUpdateCount > 0) return;
    for (Integer i = std::max(AFirstIndex, 0); i <= ALastIndex && i < Count(); ++i) {
        TRect r = ItemRect(i, drBounds);
        // The row's grid line and a focus frame reach one pixel beyond it.
        r.Right = std::max(r.Right, ClientWidth());
        ++r.Bottom;
        const RECT area = ToRECT(r);
        InvalidateRect(Handle(), &area, TRUE);
    }
}

void TCustomListView::Changed(bool ALayout) {
    if (FUpdateCount > 0 || !HandleAllocated()) {
        FLayoutPending = FLayoutPending || ALayout;
        return;
    }
    if (ALayout || FLayoutPending) {
        FLayoutPending = false;
        ScrollTo(FScrollX, FScrollY);
        UpdateScrollState();
        LayoutHeader();
        MoveEditor();
    }
    Invalidate();
}

bool TCustomListView::OwnerDataFetch(TListItem* Item, TItemRequest) {
    if (OnData) OnData(this, Item);
    return true;
}

Integer TCustomListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                       void* FindData, Integer StartIndex, TSearchDirection Direction,
                                       bool Wrap) {
    Integer result = -1;
    if (OnDataFind)
        OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, result);
    return result;
}

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change) {
    return Allowed(OnChanging, this, Item, Change);
}

void TCustomListView::Change(TListItem* Item, TItemChange Change) {
    if (OnChange) OnChange(this, Item, Change);
}

void TCustomListView::DoSelectItem(TListItem* Item, bool Selected) {
    if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick) OnColumnClick(this, Column);
}

bool TCustomListView::CanEdit(TListItem* Item) {
    return Allowed(OnEditing, this, Item);
}

void TCustomListView::Edit(Integer AIndex, std::optional<String> AText) {
    if (!AText) return;
    TListItem* item = HookItem(AIndex);
    if (!item) return;
    String text = *AText;
    if (OnEdited) OnEdited(this, item, text);
    if (StillAt(item, AIndex) && !FOwnerData) item->SetCaption(text);
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage) {
    bool defaultDraw = true;
    if (OnCustomDrawItem) OnCustomDrawItem(this, Item, State, defaultDraw);
    return defaultDraw;
}

namespace {

const auto Registered = [] {
    RegisterEnum<TViewStyle>({u"vsIcon", u"vsSmallIcon", u"vsList", u"vsReport"});
    RegisterClass<TListColumn>()
        .Property(u"Caption", &TListColumn::Caption, &TListColumn::SetCaption)
        .Property(u"Width", &TListColumn::Width, &TListColumn::SetWidth)
        .Property(u"MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth)
        .Property(u"MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth)
        .Property(u"Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment)
        .Property(u"ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex);
    RegisterClass<TIconOptions>().Property(u"WrapText", &TIconOptions::WrapText, &TIconOptions::SetWrapText);
    RegisterClass<TCustomListView, TCustomControl>()
        .Property(u"Columns", &TCustomListView::Columns)
        .Property(u"ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
        .Property(u"ShowColumnHeaders", &TCustomListView::ShowColumnHeaders,
                  &TCustomListView::SetShowColumnHeaders)
        .Property(u"GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines)
        .Property(u"RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
        .Property(u"ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly)
        .Property(u"Checkboxes", &TCustomListView::Checkboxes, &TCustomListView::SetCheckboxes)
        .Property(u"HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection)
        .Property(u"MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect)
        .Property(u"ColumnClick", &TCustomListView::ColumnClick, &TCustomListView::SetColumnClick)
        .Property(u"FullDrag", &TCustomListView::FullDrag, &TCustomListView::SetFullDrag)
        .Property(u"OwnerData", &TCustomListView::OwnerData, &TCustomListView::SetOwnerData)
        .Property(u"IconOptions", &TCustomListView::IconOptions)
        .Property(u"LargeImages", &TCustomListView::LargeImages, &TCustomListView::SetLargeImages)
        .Property(u"SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages)
        .Event(u"OnSelectItem", &TCustomListView::OnSelectItem)
        .Event(u"OnChange", &TCustomListView::OnChange)
        .Event(u"OnChanging", &TCustomListView::OnChanging)
        .Event(u"OnColumnClick", &TCustomListView::OnColumnClick)
        .Event(u"OnContextPopup", &TCustomListView::OnContextPopup)
        .Event(u"OnEditing", &TCustomListView::OnEditing)
        .Event(u"OnEdited", &TCustomListView::OnEdited)
        .Event(u"OnCustomDrawItem", &TCustomListView::OnCustomDrawItem)
        .Event(u"OnData", &TCustomListView::OnData)
        .Event(u"OnDataFind", &TCustomListView::OnDataFind);
    RegisterClass<TListView, TCustomListView>();
    return true;
}();

}  // namespace
