#include "platform/base/lists.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace {

int gValues[8] = {0, 1, 2, 3, 4, 5, 6, 7};

Pointer P(int AIndex) {
    return &gValues[AIndex];
}

// The list as value indexes, nil as -1.
std::vector<int> Contents(const TList& AList) {
    std::vector<int> out;
    for (Integer i = 0; i < AList.Count(); ++i) {
        const Pointer p = AList.Items(i);
        out.push_back(p ? *static_cast<int*>(p) : -1);
    }
    return out;
}

void Fill(TList& AList, std::initializer_list<int> AValues) {
    for (int v : AValues)
        AList.Add(v < 0 ? nullptr : P(v));
}

}  // namespace

TEST(List, AddInsertDeleteKeepOrder) {
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    EXPECT_EQ(list.Add(P(3)), 1);
    list.Insert(1, P(2));
    list.Insert(0, P(0));
    list.Insert(4, P(4));  // at Count: appends
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2, 3, 4}));
    list.Delete(2);
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(list.First(), P(0));
    EXPECT_EQ(list.Last(), P(4));
    list.Put(0, P(7));
    EXPECT_EQ(list.Get(0), P(7));
}

TEST(List, RemoveAndExtractTakeTheFirstOccurrence) {
    TList list;
    Fill(list, {1, 2, 1});
    EXPECT_EQ(list.IndexOf(P(1)), 0);
    EXPECT_EQ(list.Remove(P(1)), 0);
    EXPECT_EQ(Contents(list), (std::vector<int>{2, 1}));
    EXPECT_EQ(list.Extract(P(1)), P(1));
    EXPECT_EQ(list.Extract(P(5)), nullptr);
    EXPECT_EQ(list.Remove(P(5)), -1);
    EXPECT_EQ(Contents(list), (std::vector<int>{2}));
}

TEST(List, ExchangeMoveAndPack) {
    TList list;
    Fill(list, {0, 1, 2, 3});
    list.Exchange(0, 3);
    EXPECT_EQ(Contents(list), (std::vector<int>{3, 1, 2, 0}));
    list.Move(0, 2);
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3, 0}));
    list.Move(3, 0);
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2, 3}));
    TList holes;
    Fill(holes, {-1, 1, -1, -1, 2, -1});
    holes.Pack();
    EXPECT_EQ(Contents(holes), (std::vector<int>{1, 2}));
}

TEST(List, IndexErrorsNameTheIndexAndChangeNothing) {
    TList list;
    Fill(list, {0, 1});
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Get(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Put(-1, nullptr); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Insert(3, nullptr); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Delete(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Exchange(0, 5); }), "List index out of bounds (5)");
    // The target is checked before the item is taken out.
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Move(0, 2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Move(4, 0); }), "List index out of bounds (4)");
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1}));
    TList empty;
    EXPECT_EQ(ErrorOf<EListError>([&] { empty.First(); }), "List index out of bounds (0)");
    EXPECT_EQ(ErrorOf<EListError>([&] { empty.Last(); }), "List index out of bounds (-1)");
}

TEST(List, CapacityCannotDropBelowCount) {
    TList list;
    Fill(list, {0, 1, 2});
    list.SetCapacity(100);
    EXPECT_GE(list.Capacity(), 100);
    list.SetCapacity(3);
    EXPECT_EQ(list.Capacity(), 3);
    EXPECT_EQ(ErrorOf<EListError>([&] { list.SetCapacity(2); }), "List capacity out of bounds (2)");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(List, SortIsStableAndSurvivesAnInconsistentCompare) {
    int keys[] = {3, 1, 3, 2, 1};
    TList list;
    for (int& k : keys)
        list.Add(&k);
    list.Sort([](Pointer A, Pointer B) { return *static_cast<int*>(A) - *static_cast<int*>(B); });
    std::vector<Pointer> expected = {&keys[1], &keys[4], &keys[3], &keys[0], &keys[2]};
    for (Integer i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Items(i), expected[static_cast<size_t>(i)]);

    // A compare that contradicts itself must not take the sort out of range.
    TList many;
    for (int i = 0; i < 1000; ++i)
        many.Add(P(i % 8));
    unsigned state = 1;
    many.Sort([&](Pointer, Pointer) {
        state = state * 1103515245u + 12345u;
        return static_cast<Integer>((state >> 16) % 3) - 1;
    });
    EXPECT_EQ(many.Count(), 1000);
    for (int v = 0; v < 8; ++v) {
        int seen = 0;
        for (Integer i = 0; i < many.Count(); ++i)
            seen += many.Items(i) == P(v);
        EXPECT_EQ(seen, 125) << v;
    }
}
