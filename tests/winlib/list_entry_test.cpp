#include "foundation/list_entry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Item : vek::ListEntry {
    explicit Item(int v) : value(v) {}
    int value;
};

std::vector<int> values(const vek::LinkedList& list) {
    std::vector<int> out;
    for (vek::ListEntry* entry = list.getFirst(); entry != nullptr; entry = entry->getNext())
        out.push_back(static_cast<Item*>(entry)->value);
    return out;
}

TEST(LinkedList, KeepsOrderAndRelinksAroundUnlinkedEntries) {
    vek::LinkedList list;
    Item a(1), b(2), c(3);
    list.append(&a);
    list.append(&b);
    list.append(&c);
    list.append(&b);  // already linked: left alone
    EXPECT_EQ(values(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.getCount(), 3u);

    list.unlink(&b);
    EXPECT_EQ(values(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(c.getPrevious(), &a);
    list.unlink(&a);
    list.unlink(&c);
    EXPECT_EQ(list.getFirst(), nullptr);
    EXPECT_EQ(list.getLast(), nullptr);
    EXPECT_EQ(list.getCount(), 0u);

    list.append(&b);
    EXPECT_EQ(values(list), (std::vector<int>{2}));
    list.unlink(&b);
}

TEST(LinkedList, IgnoresEntriesOfOtherLists) {
    vek::LinkedList first;
    vek::LinkedList second;
    Item a(1);
    first.append(&a);
    second.unlink(&a);
    second.append(&a);
    EXPECT_EQ(a.getList(), &first);
    EXPECT_EQ(second.getCount(), 0u);
    first.unlink(&a);
    EXPECT_EQ(a.getList(), nullptr);
}

TEST(LinkedList, DestructionUnlinksRemainingEntries) {
    Item a(1);
    {
        vek::LinkedList list;
        list.append(&a);
    }
    EXPECT_EQ(a.getList(), nullptr);
    EXPECT_EQ(a.getNext(), nullptr);
}

}  // namespace
