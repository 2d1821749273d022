#include "platform/base/lists.h"

#include <algorithm>

#include "platform/base/listhelpers.h"

void TList::CheckIndex(Integer AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
}

void TList::SetCapacity(Integer AValue) {
    if (AValue < Count()) throw EListError(u"List capacity out of bounds (%d)", {AValue});
    if (static_cast<size_t>(AValue) < FItems.capacity()) {
        std::vector<Pointer> smaller;
        smaller.reserve(static_cast<size_t>(AValue));
        smaller.assign(FItems.begin(), FItems.end());
        FItems.swap(smaller);
    } else {
        FItems.reserve(static_cast<size_t>(AValue));
    }
}

Pointer TList::Get(Integer AIndex) const {
    CheckIndex(AIndex);
    return FItems[static_cast<size_t>(AIndex)];
}

void TList::Put(Integer AIndex, Pointer AItem) {
    CheckIndex(AIndex);
    FItems[static_cast<size_t>(AIndex)] = AItem;
}

Integer TList::Add(Pointer AItem) {
    FItems.push_back(AItem);
    return Count() - 1;
}

void TList::Insert(Integer AIndex, Pointer AItem) {
    if (AIndex < 0 || AIndex > Count()) throw EListError(SListIndexError, {AIndex});
    FItems.insert(FItems.begin() + AIndex, AItem);
}

void TList::Delete(Integer AIndex) {
    CheckIndex(AIndex);
    FItems.erase(FItems.begin() + AIndex);
}

Integer TList::Remove(Pointer AItem) {
    const Integer index = IndexOf(AItem);
    if (index >= 0) Delete(index);
    return index;
}

Pointer TList::Extract(Pointer AItem) {
    return Remove(AItem) >= 0 ? AItem : nullptr;
}

Integer TList::IndexOf(Pointer AItem) const {
    const auto it = std::find(FItems.begin(), FItems.end(), AItem);
    return it == FItems.end() ? -1 : static_cast<Integer>(it - FItems.begin());
}

void TList::Exchange(Integer AIndex1, Integer AIndex2) {
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    std::swap(FItems[static_cast<size_t>(AIndex1)], FItems[static_cast<size_t>(AIndex2)]);
}

void TList::Move(Integer ACurIndex, Integer ANewIndex) {
    if (ACurIndex == ANewIndex) return;
    CheckIndex(ANewIndex);
    const Pointer item = Get(ACurIndex);
    FItems.erase(FItems.begin() + ACurIndex);
    FItems.insert(FItems.begin() + ANewIndex, item);
}

void TList::Clear() {
    FItems.clear();
    FItems.shrink_to_fit();
}

void TList::Sort(const TListSortCompare& ACompare) {
    SafeStableSort(FItems, [&](Pointer A, Pointer B) { return ACompare(A, B) < 0; });
}

void TList::Pack() {
    std::erase(FItems, nullptr);
}
