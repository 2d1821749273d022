#include "platform/base/collections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

// An item that takes its name from its place at creation, as the system's
// skin list and PNG items do, and notes its destruction.
class TNamedItem : public TCollectionItem {
public:
    explicit TNamedItem(TCollection* ACollection) : TCollectionItem(ACollection) {
        FName = Format(u"Item%d", {Index()});
    }
    ~TNamedItem() override { ++Destroyed; }

    const String& Name() const { return FName; }
    void SetName(const String& AValue) {
        FName = AValue;
        Changed(false);
    }
    void Assign(TPersistent* ASource) override {
        if (auto* source = dynamic_cast<TNamedItem*>(ASource)) {
            FName = source->FName;
            return;
        }
        TCollectionItem::Assign(ASource);
    }

    static inline int Destroyed = 0;

protected:
    String GetDisplayName() const override {
        return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
    }

private:
    String FName;
};

class TOtherItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
};

class TNamedItems : public TCollectionOf<TNamedItem> {
public:
    using TCollectionOf::TCollectionOf;

    TLog Log;
    // Every Update found the last item a whole TNamedItem.
    bool LastWhole = true;

protected:
    void Update(TCollectionItem* AItem) override {
        if (Count() > 0 && !dynamic_cast<TNamedItem*>(TCollection::Items(Count() - 1))) LastWhole = false;
        Log.push_back("update " + (AItem ? StringToUTF8(static_cast<TNamedItem*>(AItem)->Name()) : "all"));
    }
    void Notify(TCollectionItem* AItem, TCollectionNotification AAction) override {
        static const char* names[] = {"added", "extracting", "deleting"};
        Log.push_back(std::string(names[AAction]) + " " + std::to_string(AItem->ID()));
    }
};

std::vector<std::string> Names(const TNamedItems& AItems) {
    std::vector<std::string> out;
    for (Integer i = 0; i < AItems.Count(); ++i)
        out.push_back(StringToUTF8(AItems.Items(i)->Name()));
    return out;
}

void AddItems(TNamedItems& AItems, int ACount) {
    for (int i = 0; i < ACount; ++i)
        AItems.Add();
    AItems.Log.clear();
}

}  // namespace

TEST(Collection, AddCreatesItemsOfTheItemClassThatKnowTheirPlace) {
    TComponent owner(nullptr);
    TNamedItems items(&owner);
    EXPECT_EQ(items.Owner(), &owner);
    TNamedItem* first = items.Add();
    TNamedItem* second = items.Add();
    EXPECT_EQ(first->Collection(), &items);
    EXPECT_EQ(Names(items), (std::vector<std::string>{"Item0", "Item1"}));
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(items.Log, (TLog{"added 0", "update all", "added 1", "update all"}));
}

// The item joins while its base part is built; the collection's Update
// (a list view lays out its columns there) comes once it is whole.
TEST(Collection, UpdateSeesTheNewItemWhole) {
    TNamedItems items;
    items.Add();
    items.Insert(0);
    EXPECT_TRUE(items.LastWhole);
}

TEST(Collection, IDsAreNeverReused) {
    TNamedItems items;
    AddItems(items, 3);
    items.Delete(2);
    TNamedItem* fresh = items.Add();
    EXPECT_EQ(fresh->ID(), 3);
    EXPECT_EQ(items.FindItemID(1), items.Items(1));
    EXPECT_EQ(items.FindItemID(2), nullptr);
}

TEST(Collection, InsertPlacesTheNewItemAndChecksTheIndexFirst) {
    TNamedItems items;
    AddItems(items, 2);
    TNamedItem* inserted = items.Insert(0);
    EXPECT_EQ(inserted->Index(), 0);
    // Named at creation, when it still stood at the end.
    EXPECT_EQ(Names(items), (std::vector<std::string>{"Item2", "Item0", "Item1"}));
    items.Insert(3);
    EXPECT_EQ(items.Count(), 4);
    try {
        items.Insert(6);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (6)");
    }
    EXPECT_EQ(items.Count(), 4);
    EXPECT_THROW(items.Items(4), EListError);
    EXPECT_THROW(items.Delete(-1), EListError);
}

TEST(Collection, DeleteNotifiesThenFreesAndTheItemLeaves) {
    TNamedItems items;
    AddItems(items, 2);
    const int destroyed = TNamedItem::Destroyed;
    items.Delete(0);
    EXPECT_EQ(TNamedItem::Destroyed, destroyed + 1);
    EXPECT_EQ(items.Log, (TLog{"deleting 0", "extracting 0", "update all"}));
    items.Log.clear();
    // Freeing an item directly takes it out too.
    Free(items.Items(0));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(items.Log, (TLog{"extracting 1", "update all"}));
}

TEST(Collection, SettingIndexMovesTheItem) {
    TNamedItems items;
    AddItems(items, 3);
    items.Items(0)->SetIndex(2);
    EXPECT_EQ(Names(items), (std::vector<std::string>{"Item1", "Item2", "Item0"}));
    EXPECT_EQ(items.Log, (TLog{"update all"}));
    EXPECT_THROW(items.Items(0)->SetIndex(3), EListError);
    EXPECT_EQ(Names(items), (std::vector<std::string>{"Item1", "Item2", "Item0"}));
}

TEST(Collection, SettingCollectionMovesBetweenCollections) {
    TNamedItems source;
    TNamedItems target;
    AddItems(source, 2);
    AddItems(target, 1);
    TNamedItem* item = source.Items(0);
    item->SetCollection(&target);
    EXPECT_EQ(source.Count(), 1);
    EXPECT_EQ(item->Index(), 1);
    EXPECT_EQ(item->ID(), 1);  // the target's next ID
    EXPECT_EQ(source.Log, (TLog{"extracting 0", "update all"}));
    EXPECT_EQ(target.Log, (TLog{"added 1", "update all"}));
    item->SetCollection(nullptr);
    EXPECT_EQ(item->Index(), -1);
    EXPECT_EQ(item->Collection(), nullptr);
    delete item;
    EXPECT_EQ(target.Count(), 1);
}

TEST(Collection, AnItemOfAnotherClassIsRefusedAndStays) {
    TCollection others(TCollectionItemClass::Of<TOtherItem>());
    TNamedItems items;
    TCollectionItem* other = others.Add();
    EXPECT_THROW(other->SetCollection(&items), EListError);
    EXPECT_EQ(other->Collection(), &others);
    EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, UpdatesSettleOnceAtTheOuterEndUpdate) {
    TNamedItems items;
    AddItems(items, 2);
    items.Items(0)->SetName(u"solo");
    EXPECT_EQ(items.Log, (TLog{"update solo"}));
    items.Log.clear();
    items.BeginUpdate();
    items.BeginUpdate();
    items.Add();
    items.Items(1)->SetName(u"quiet");
    items.Items(1)->SetIndex(0);
    items.EndUpdate();
    EXPECT_EQ(items.Log, (TLog{"added 2"}));
    items.EndUpdate();
    EXPECT_EQ(items.Log, (TLog{"added 2", "update all"}));
    EXPECT_EQ(items.UpdateCount(), 0);
}

TEST(Collection, ClearFreesEveryItemAsOneUpdate) {
    TNamedItems items;
    AddItems(items, 3);
    const int destroyed = TNamedItem::Destroyed;
    items.Clear();
    EXPECT_EQ(TNamedItem::Destroyed, destroyed + 3);
    EXPECT_EQ(items.Log, (TLog{"extracting 2", "extracting 1", "extracting 0", "update all"}));
    items.Log.clear();
    items.Clear();
    EXPECT_TRUE(items.Log.empty());
}

TEST(Collection, DestructionFreesTheItems) {
    const int destroyed = TNamedItem::Destroyed;
    {
        TNamedItems items;
        AddItems(items, 2);
    }
    EXPECT_EQ(TNamedItem::Destroyed, destroyed + 2);
}

TEST(Collection, AssignCopiesItemsThroughTheirAssign) {
    TNamedItems source;
    AddItems(source, 2);
    source.Items(1)->SetName(u"second");
    TNamedItems copy;
    AddItems(copy, 5);
    copy.Assign(&source);
    EXPECT_EQ(Names(copy), (std::vector<std::string>{"Item0", "second"}));
    EXPECT_EQ(copy.Log.back(), "update all");
    copy.Assign(&copy);
    EXPECT_EQ(Names(copy), (std::vector<std::string>{"Item0", "second"}));

    TCollection others(TCollectionItemClass::Of<TOtherItem>());
    others.Add();
    TNamedItems target;
    try {
        target.Assign(&others);  // the item class cannot take a TOtherItem
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TOtherItem to a TNamedItem");
    }
    TComponent component(nullptr);
    EXPECT_THROW(target.Assign(&component), EConvertError);
}

TEST(Collection, DisplayNameDefaultsToTheClassName) {
    TNamedItems items;
    TNamedItem* item = items.Add();
    EXPECT_EQ(item->DisplayName(), u"Item0");
    item->SetName(u"");
    EXPECT_EQ(item->DisplayName(), u"TNamedItem");
}
