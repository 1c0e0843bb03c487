#include <gtest/gtest.h>

#include <memory>

#include "QORHashTable.h"
#include "QORListPtr.h"
#include "QORString.h"

namespace
{
int CompareInts(const int* a, const int* b)
{
    return *a - *b;
}
int CompareByTextNullsFirst(const QORString* a, const QORString* b)
{
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    return a->Compare(*b);
}
} // namespace

TEST(QORListVal, OneBasedPositions)
{
    QORListValQORString list;
    list.Append("b"), list.Append("c");
    EXPECT_EQ((std::vector<int>{list.InsertAt(1, "a"), list.InsertAt(4, "d"), list.InsertAt(6, "x"),
                                list.InsertAt(0, "x")}),
              (std::vector<int>{1, 4, 0, 0}));
    ASSERT_EQ(list.Size(), 4);
    EXPECT_TRUE(list[1] == "a" && list[4] == "d");
    EXPECT_EQ((std::vector<int>{list.Locate("c"), list.Locate("c", 4), list.Locate("zz"),
                                list.RemovePosition(0), list.RemovePosition(1)}),
              (std::vector<int>{3, 0, 0, 0, 1}));
    EXPECT_EQ(list[1], "b");
    list.Size(5);
    EXPECT_TRUE(list.Size() == 5 && list[5].IsNull());
}

TEST(QORListVal, DuplicatesSortAndCompare)
{
    QORListVal<int> list, keep;
    for (int v : {3, 1, 3, 2, 1, 3})
        list.Append(v);
    EXPECT_EQ(list.RemoveDuplicates(), 3);
    ASSERT_EQ(list.Size(), 3);
    EXPECT_TRUE(list[1] == 3 && list[2] == 1); // first occurrences keep their order
    list.QuickSort(CompareInts);
    EXPECT_TRUE(list[1] == 1 && list[3] == 3);
    QORListVal<int> other(list);
    EXPECT_TRUE(other == list && list.Compare(other, CompareInts) == 0);
    other.Append(9);
    keep.Append(3);
    EXPECT_EQ((std::vector<int>{list.Compare(other, CompareInts), other.RemoveValue(9),
                                other.Intersection(keep), other.Size()}),
              (std::vector<int>{-1, 1, 2, 1}));
}

TEST(QORListPtr, StoresWithoutOwningAndSortsWithNulls)
{
    QORString a("a"), b("b");
    QORListPtr<QORString> list;
    for (QORString* element : {&b, static_cast<QORString*>(nullptr), &a, &b})
        list.Append(element);
    list.QuickSort(CompareByTextNullsFirst);
    EXPECT_TRUE(list[1] == nullptr && list[2] == &a);
    EXPECT_EQ((std::vector<int>{list.RemoveDuplicates(), list.RemoveNulls(), list.Locate(&b)}),
              (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(list.Size(), 2);
    list.RemoveAll();
    EXPECT_EQ(list.Size(), 0);
}

TEST(QORHashTab, LooksUpByTheCallersFunctions)
{
    QORHashTab<QORString> table(
        3, [](QORString* s) { return s ? s->ComputeHashKey() : 0u; },
        [](QORString* a, QORString* b) { return a->Compare(*b); });
    EXPECT_EQ(table.Insert(new QORString("x")), 0);
    QORString probe("x");
    std::unique_ptr<QORString> duplicate(new QORString("x"));
    EXPECT_EQ(table.Insert(duplicate.get()), 1);
    EXPECT_TRUE(table.Locate(&probe) != nullptr && table.Locate(&probe) != &probe);
    EXPECT_EQ(table.Insert(nullptr), 1);
    table.ApplyDelete();
    EXPECT_EQ(table.Locate(&probe), nullptr);
}
