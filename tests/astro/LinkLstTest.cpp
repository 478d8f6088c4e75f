#include "astro/LinkLst.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "astro/Random.h"

namespace qnr {
namespace {

std::vector<int> Traverse(LinkListObj<int>& list) {
    std::vector<int> out;
    list.Reset();
    while (!list.AtLast()) out.push_back(*list.Next());
    return out;
}

LinkListObj<int> ListOf(std::initializer_list<int> items) {
    LinkListObj<int> list;
    for (int v : items) list.InsertAfterCurrent(v);
    return list;
}

TEST(LinkListObj, EmptyList) {
    LinkListObj<int> list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(list.AtFirst());
    EXPECT_TRUE(list.AtLast());
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.LastIndex(), -1);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Prev(), nullptr);
    EXPECT_EQ(list.ItemAt(0), nullptr);
    list.DeleteCurrent();
    list.GoLast();
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_TRUE(Traverse(list).empty());
}

TEST(LinkListObj, CursorWalk) {
    LinkListObj<int> list = ListOf({10, 20, 30});
    EXPECT_EQ(Traverse(list), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(list.CurrentIndex(), 2);
    // Past the last: null and no current item; the next Next starts over.
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_FALSE(list.AtLast());
    EXPECT_EQ(*list.Next(), 10);
    EXPECT_TRUE(list.AtFirst());
    // Before the first: null and no current item.
    EXPECT_EQ(list.Prev(), nullptr);
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.Prev(), nullptr);
    list.GoLast();
    EXPECT_EQ(list.CurrentIndex(), 2);
    EXPECT_EQ(*list.Prev(), 20);
    EXPECT_EQ(list.CurrentIndex(), 1);
}

TEST(LinkListObj, ItemAtOutsideTheListLeavesTheCursor) {
    LinkListObj<int> list = ListOf({10, 20, 30, 40});
    list.ItemAt(1);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
    EXPECT_EQ(list.ItemAt(list.Count()), nullptr);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(*list.CurrentItem(), 20);
    struct Row { int index, item; };
    const Row walk[] = {{3, 40}, {0, 10}, {2, 30}, {2, 30}};
    for (const auto& r : walk) {
        EXPECT_EQ(*list.ItemAt(r.index), r.item);
        EXPECT_EQ(list.CurrentIndex(), r.index);
    }
    list.Reset();
    EXPECT_EQ(*list.ItemAt(3), 40);
}

TEST(LinkListObj, InsertsAndDeletes) {
    LinkListObj<int> list = ListOf({10, 20, 30});
    list.ItemAt(1);
    list.InsertFirst(5);
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_EQ(list.LastIndex(), 3);
    list.ItemAt(2);
    list.InsertAfterCurrent(25);
    EXPECT_EQ(list.CurrentIndex(), 3);
    EXPECT_EQ(*list.CurrentItem(), 25);
    list.Reset();
    list.InsertAfterCurrent(1);  // without a current item: first
    EXPECT_EQ(Traverse(list), (std::vector<int>{1, 5, 10, 20, 25, 30}));

    // Deleting makes the previous item current...
    list.ItemAt(3);
    list.DeleteCurrent();
    EXPECT_EQ(list.CurrentIndex(), 2);
    EXPECT_EQ(*list.CurrentItem(), 10);
    EXPECT_EQ(list.LastIndex(), 4);
    // ...and none after the first.
    list.ItemAt(0);
    list.DeleteCurrent();
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.CurrentItem(), nullptr);
    EXPECT_EQ(list.Count(), 4);
    list.DeleteCurrent();  // nothing without a current item
    EXPECT_EQ(Traverse(list), (std::vector<int>{5, 10, 25, 30}));
    list.GoLast();
    list.DeleteCurrent();
    EXPECT_TRUE(list.AtLast());
    EXPECT_EQ(*list.CurrentItem(), 25);

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.LastIndex(), -1);
    EXPECT_TRUE(list.AtFirst() && list.AtLast());
}

TEST(LinkListObj, ItemsAreCopiesAndCopiesKeepTheCursor) {
    int item = 7;
    LinkListObj<int> list;
    list.InsertFirst(item);
    item = 8;
    EXPECT_EQ(*list.CurrentItem(), 7);
    list.InsertAfterCurrent(9);
    list.ItemAt(0);
    LinkListObj<int> copy(list);
    EXPECT_EQ(copy.CurrentIndex(), 0);
    *copy.CurrentItem() = 1;
    EXPECT_EQ(*list.CurrentItem(), 7);
    LinkListObj<int> moved(std::move(copy));
    EXPECT_EQ(moved.CurrentIndex(), 0);
    EXPECT_EQ(Traverse(moved), (std::vector<int>{1, 9}));
    list.Reset();
    LinkListObj<int> copyWithoutCursor = list;
    EXPECT_EQ(copyWithoutCursor.CurrentIndex(), -1);
    EXPECT_EQ(copyWithoutCursor.CurrentItem(), nullptr);
}

struct Keyed {
    int key;
    int seq;  // insertion order
};

class KeyedList : public SortableLinkList<Keyed> {
public:
    bool Greater(const Keyed& a, const Keyed& b) const override { return a.key > b.key; }
    std::vector<std::pair<int, int>> Items() {
        std::vector<std::pair<int, int>> out;
        Reset();
        while (!AtLast()) {
            Keyed* k = Next();
            out.emplace_back(k->key, k->seq);
        }
        return out;
    }
};

TEST(SortableLinkList, EqualKeysKeepTheirInsertionOrderWhereverTheCursorStands) {
    KeyedList list;
    int seq = 0;
    for (int key : {2, 1, 3, 2}) list.InsertSorted({key, seq++});
    EXPECT_EQ(list.Items(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 0}, {2, 3}, {3, 2}}));
    // Cursor on the first of the equal items, on the last, past them, before them.
    struct Row { int cursor; int key; int at; };
    const Row rows[] = {{1, 2, 3}, {2, 2, 4}, {5, 2, 5}, {0, 2, 6}, {-1, 0, 0}, {7, 3, 9}, {3, 9, 10}};
    for (const auto& r : rows) {
        if (r.cursor < 0) list.Reset(); else list.ItemAt(r.cursor);
        list.InsertSorted({r.key, seq});
        EXPECT_EQ(list.CurrentIndex(), r.at) << "cursor " << r.cursor << " key " << r.key;
        EXPECT_EQ(list.CurrentItem()->seq, seq);
        ++seq;
    }
    EXPECT_EQ(list.Items(), (std::vector<std::pair<int, int>>{
                                {0, 8}, {1, 1}, {2, 0}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {3, 2}, {3, 9}, {9, 10}}));
}

TEST(SortableLinkList, MatchesAStableSortFromAnyCursor) {
    RandomGenerator g;
    g.setSeed(12345);
    KeyedList list;
    std::vector<Keyed> all;
    for (int seq = 0; seq < 300; ++seq) {
        Keyed k{static_cast<int>(g.integer(20)), seq};
        all.push_back(k);
        if (list.Count() > 0) {
            int cursor = static_cast<int>(g.integer(static_cast<std::uint32_t>(list.Count()) + 1)) - 1;
            if (cursor < 0) list.Reset(); else list.ItemAt(cursor);
        }
        list.InsertSorted(k);
    }
    std::stable_sort(all.begin(), all.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    std::vector<std::pair<int, int>> want;
    for (const auto& k : all) want.emplace_back(k.key, k.seq);
    EXPECT_EQ(list.Items(), want);
}

}  // namespace
}  // namespace qnr
