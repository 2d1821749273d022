// The toolkit's list of untyped pointers.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/types.h"

using Pointer = void*;

// Negative when AItem1 sorts before AItem2, 0 when equal, positive after.
using TListSortCompare = std::function<Integer(Pointer AItem1, Pointer AItem2)>;

// Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject {
public:
    TList() = default;

    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    Integer Capacity() const { return static_cast<Integer>(FItems.capacity()); }
    // Below Count: EListError "List capacity out of bounds (%d)".
    void SetCapacity(Integer AValue);

    Pointer Get(Integer AIndex) const;
    void Put(Integer AIndex, Pointer AItem);
    Pointer Items(Integer AIndex) const { return Get(AIndex); }
    Pointer First() const { return Get(0); }
    Pointer Last() const { return Get(Count() - 1); }

    // Returns the new item's index.
    Integer Add(Pointer AItem);
    // AIndex may be Count (appends).
    void Insert(Integer AIndex, Pointer AItem);
    void Delete(Integer AIndex);
    // Removes the first occurrence; returns its former index or -1.
    Integer Remove(Pointer AItem);
    // Removes the first occurrence and returns it, nil when absent.
    Pointer Extract(Pointer AItem);
    Integer IndexOf(Pointer AItem) const;
    void Exchange(Integer AIndex1, Integer AIndex2);
    // Both indexes are checked before anything moves.
    void Move(Integer ACurIndex, Integer ANewIndex);
    void Clear();
    // Stable; ACompare may be inconsistent without harm.
    void Sort(const TListSortCompare& ACompare);
    // Removes the nil items.
    void Pack();

private:
    void CheckIndex(Integer AIndex) const;

    std::vector<Pointer> FItems;
};
