#include "update/UpdateLists.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

TEST(UpdateLists, FindValueEntryMatchesNodeIdentityAndIndex) {
    TTarvinItem root;
    TTarvinItem& a = root.AddChild("Same");
    TTarvinItem& b = root.AddChild("Same");
    TUpdateLists lists;
    EXPECT_EQ(TUpdateLists::FindValueEntry(lists.RemovedValues, &a, 0), -1);

    lists.RemovedValues.Append({&a, 1});
    lists.RemovedValues.Append({&a, 0});
    lists.RemovedValues.Append({&a, 0});
    EXPECT_EQ(TUpdateLists::FindValueEntry(lists.RemovedValues, &a, 0), 1);
    EXPECT_EQ(TUpdateLists::FindValueEntry(lists.RemovedValues, &b, 0), -1);
    EXPECT_EQ(TUpdateLists::FindValueEntry(lists.RemovedValues, &a, 2), -1);
    EXPECT_TRUE(lists.IsRemovedValue(&a, 1));
    EXPECT_FALSE(lists.IsRemovedValue(&b, 1));
    EXPECT_FALSE(lists.IsAddedValue(&a, 1));
}

TEST(UpdateLists, RemovingAnEntryKeepsOrderAndTheOtherCopies) {
    TTarvinItem root;
    TTarvinItem* n[3] = {&root.AddChild("a"), &root.AddChild("b"), &root.AddChild("c")};
    TItemList list;
    for (TTarvinItem* item : {n[0], n[1], n[2], n[1]})
        list.Append(item);
    list.RemoveFirstOccurrences({n[1], n[0]});
    EXPECT_EQ(list.Entries(), (std::vector<TTarvinItem*>{n[2], n[1]}));
    EXPECT_TRUE(list.Contains(n[1]));
    EXPECT_FALSE(list.Contains(n[0]));
    list.RemoveFirstOccurrences({n[1]});
    EXPECT_FALSE(list.Contains(n[1]));
    EXPECT_EQ(list.size(), 1u);
}

TEST(UpdateLists, ClearEmptiesAllFourAndLeavesTheNodes) {
    TTarvinItem root;
    TTarvinItem& a = root.AddChild("a");
    a.AddValue("V", "v");
    TUpdateLists lists;
    lists.AddedItems.Append(&a);
    lists.RemovedItems.Append(&a);
    lists.AddedValues.Append({&a, 0});
    lists.RemovedValues.Append({&a, 0});
    EXPECT_FALSE(lists.IsEmpty());
    EXPECT_TRUE(lists.IsAddedItem(&a));

    lists.ClearUpdateLists();
    EXPECT_TRUE(lists.IsEmpty());
    EXPECT_FALSE(lists.IsAddedItem(&a));
    EXPECT_FALSE(lists.IsRemovedItem(&a));
    EXPECT_FALSE(lists.IsAddedValue(&a, 0));
    EXPECT_FALSE(lists.IsRemovedValue(&a, 0));
    EXPECT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(a.GetValue(0), "v");
}

} // namespace
} // namespace trvx
