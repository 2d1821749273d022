// Collections: a persistent list that owns items of one item class.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/classes.h"
#include "platform/base/types.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
public:
    // Joins ACollection at its end when given. The collection hears of the
    // item (Notify, Update) from here, before the item class's own
    // constructor body runs; that body already sees its Index and ID.
    explicit TCollectionItem(TCollection* ACollection);
    // Leaves the collection; an item class's destructor body still sees its Index.
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of AValue (nil: out of any collection). An
    // item that is not of AValue's item class raises EListError and stays.
    virtual void SetCollection(TCollection* AValue);
    // Unique within the collection, never reused; a new one on each move.
    Integer ID() const { return FID; }
    // -1 outside a collection.
    Integer Index() const;
    // Moves the item within its collection.
    virtual void SetIndex(Integer AValue);
    String DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const String& AValue);

protected:
    // The class name unless an item class says otherwise.
    virtual String GetDisplayName() const;
    // Tells the collection that this item (or, with AAllItems, every item)
    // changed; held back while the collection is updating.
    void Changed(bool AAllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};

// What a collection needs of its item class: how to create an item in a
// collection, and whether an existing item is of the class.
struct TCollectionItemClass {
    std::function<TCollectionItem*(TCollection*)> Create;
    std::function<bool(const TCollectionItem*)> IsInstance;

    template <typename TItem>
    static TCollectionItemClass Of() {
        return {[](TCollection* ACollection) -> TCollectionItem* { return new TItem(ACollection); },
                [](const TCollectionItem* AItem) { return dynamic_cast<const TItem*>(AItem) != nullptr; }};
    }
};

class TCollection : public TPersistent {
public:
    TCollection(TCollectionItemClass AItemClass, TPersistent* AOwner = nullptr);
    // Frees the items without calling Update.
    ~TCollection() override;

    TPersistent* Owner() const { return FOwner; }
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // Index errors raise EListError "List index out of bounds (%d)".
    TCollectionItem* Items(Integer AIndex) const;
    // A new item of the item class at the end.
    TCollectionItem* Add();
    // A new item at AIndex (0..Count); the index is checked first.
    TCollectionItem* Insert(Integer AIndex);
    // Frees the item at AIndex (Notify cnDeleting first).
    void Delete(Integer AIndex);
    // Frees every item, the last first, as one update.
    void Clear();
    // nil when no item has that ID.
    TCollectionItem* FindItemID(Integer AID) const;

    void BeginUpdate() { ++FUpdateCount; }
    // The outermost EndUpdate calls Update(nil).
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

    // From another collection: clears this one and adds one item per source
    // item, copied by the item's Assign.
    void Assign(TPersistent* ASource) override;

protected:
    // A change settled: AItem changed alone, or nil for the whole collection.
    virtual void Update(TCollectionItem* AItem);
    // An item joined or is leaving. On cnExtracting from an item's destructor
    // only its TCollectionItem part is still alive.
    virtual void Notify(TCollectionItem* AItem, TCollectionNotification AAction);
    // Calls Update(nil) unless updating.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* AItem);
    void RemoveItem(TCollectionItem* AItem);

    TCollectionItemClass FItemClass;
    TPersistent* FOwner;
    std::vector<TCollectionItem*> FItems;
    Integer FNextID = 0;
    Integer FUpdateCount = 0;
};

// A collection typed for its item class:
//   class TqxSkinListItems : public TCollectionOf<TqxSkinListItem> { ... };
template <typename TItem>
class TCollectionOf : public TCollection {
public:
    explicit TCollectionOf(TPersistent* AOwner = nullptr)
        : TCollection(TCollectionItemClass::Of<TItem>(), AOwner) {}

    TItem* Items(Integer AIndex) const { return static_cast<TItem*>(TCollection::Items(AIndex)); }
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Insert(Integer AIndex) { return static_cast<TItem*>(TCollection::Insert(AIndex)); }
    TItem* FindItemID(Integer AID) const { return static_cast<TItem*>(TCollection::FindItemID(AID)); }
};
