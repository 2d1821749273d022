#include "platform/base/collections.h"

#include <algorithm>

#include "platform/base/listhelpers.h"

TCollectionItem::TCollectionItem(TCollection* ACollection) {
    if (ACollection) ACollection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* AValue) {
    if (AValue == FCollection) return;
    // Checked before leaving the old collection, so a refused move loses nothing.
    if (AValue && !AValue->FItemClass.IsInstance(this)) throw EListError(u"Invalid property value");
    if (FCollection) FCollection->RemoveItem(this);
    if (AValue) AValue->InsertItem(this);
}

Integer TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer AValue) {
    const Integer current = Index();
    if (current < 0 || current == AValue) return;
    auto& items = FCollection->FItems;
    if (AValue < 0 || AValue >= static_cast<Integer>(items.size()))
        throw EListError(SListIndexError, {AValue});
    items.erase(items.begin() + current);
    items.insert(items.begin() + AValue, this);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const String&) {
    Changed(false);
}

String TCollectionItem::GetDisplayName() const {
    return ClassName();
}

void TCollectionItem::Changed(bool AAllItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AAllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass AItemClass, TPersistent* AOwner)
    : FItemClass(std::move(AItemClass)), FOwner(AOwner) {}

TCollection::~TCollection() {
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Items(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
    return FItems[static_cast<size_t>(AIndex)];
}

TCollectionItem* TCollection::Add() {
    // The item joins while its base part is built: the change is told once
    // the item is whole, so Update never sees half an item.
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = FItemClass.Create(this);
    } catch (...) {
        --FUpdateCount;
        throw;
    }
    EndUpdate();
    return item;
}

TCollectionItem* TCollection::Insert(Integer AIndex) {
    // Checked first: a refused index must not leave a new item at the end.
    if (AIndex < 0 || AIndex > Count()) throw EListError(SListIndexError, {AIndex});
    TCollectionItem* item = Add();
    item->SetIndex(AIndex);
    return item;
}

void TCollection::Delete(Integer AIndex) {
    TCollectionItem* item = Items(AIndex);
    Notify(item, cnDeleting);
    Free(item);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    WithUpdate(*this, [this] {
        while (!FItems.empty())
            Free(FItems.back());
    });
}

TCollectionItem* TCollection::FindItemID(Integer AID) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == AID) return item;
    return nullptr;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Assign(TPersistent* ASource) {
    AssignContent<TCollection>(*this, ASource, [this](TCollection& ASource) {
        for (TCollectionItem* item : ASource.FItems)
            Add()->Assign(item);
    });
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* AItem) {
    FItems.push_back(AItem);
    AItem->FCollection = this;
    AItem->FID = FNextID++;
    Notify(AItem, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* AItem) {
    Notify(AItem, cnExtracting);
    const auto it = std::find(FItems.begin(), FItems.end(), AItem);
    if (it != FItems.end()) FItems.erase(it);
    AItem->FCollection = nullptr;
    Changed();
}
