#include <gtest/gtest.h>

#include "QORHashDicS.h"
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
    list.Append("b");
    list.Append("c");
    EXPECT_EQ(list.InsertAt(1, "a"), 1);
    EXPECT_EQ(list.InsertAt(4, "d"), 4);
    EXPECT_EQ(list.InsertAt(6, "x"), 0);
    EXPECT_EQ(list.InsertAt(0, "x"), 0);
    ASSERT_EQ(list.Size(), 4);
    EXPECT_EQ(list[1], "a");
    EXPECT_EQ(list[4], "d");
    EXPECT_EQ(list.Locate("c"), 3);
    EXPECT_EQ(list.Locate("c", 4), 0);
    EXPECT_EQ(list.Locate("zz"), 0);
    EXPECT_EQ(list.RemovePosition(0), 0);
    EXPECT_EQ(list.RemovePosition(1), 1);
    EXPECT_EQ(list[1], "b");
    list.Size(5);
    EXPECT_EQ(list.Size(), 5);
    EXPECT_TRUE(list[5].IsNull());
}

TEST(QORListVal, DuplicatesSortAndCompare)
{
    QORListVal<int> list;
    for (int v : {3, 1, 3, 2, 1, 3})
        list.Append(v);
    EXPECT_EQ(list.RemoveDuplicates(), 3);
    ASSERT_EQ(list.Size(), 3);
    EXPECT_EQ(list[1], 3); // first occurrences keep their order
    EXPECT_EQ(list[2], 1);
    list.QuickSort(CompareInts);
    EXPECT_EQ(list[1], 1);
    EXPECT_EQ(list[3], 3);
    QORListVal<int> other(list);
    EXPECT_TRUE(other == list);
    EXPECT_EQ(list.Compare(other, CompareInts), 0);
    other.Append(9);
    EXPECT_EQ(list.Compare(other, CompareInts), -1);
    EXPECT_EQ(other.RemoveValue(9), 1);
    QORListVal<int> keep;
    keep.Append(3);
    EXPECT_EQ(other.Intersection(keep), 2);
    EXPECT_EQ(other.Size(), 1);
}

TEST(QORListPtr, StoresWithoutOwningAndSortsWithNulls)
{
    QORString a("a"), b("b");
    QORListPtr<QORString> list;
    list.Append(&b);
    list.Append(nullptr);
    list.Append(&a);
    list.Append(&b);
    list.QuickSort(CompareByTextNullsFirst);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(list[2], &a);
    EXPECT_EQ(list.RemoveDuplicates(), 1);
    EXPECT_EQ(list.RemoveNulls(), 1);
    EXPECT_EQ(list.Size(), 2);
    EXPECT_EQ(list.Locate(&b), 2);
    list.RemoveAll();
    EXPECT_EQ(list.Size(), 0);
}

TEST(QORHashDicS, TypedValuesAndApplyDelete)
{
    QORHashDicS<QORString> dico(10);
    dico.Insert("k1", new QORString("v1"));
    dico.Insert("k2", new QORString("v2"));
    ASSERT_NE(dico.Locate("k2"), nullptr);
    EXPECT_EQ(*dico.Locate("k2"), "v2");
    dico.ApplyDelete(); // the sanitizer build checks nothing leaks
    EXPECT_EQ(dico.GetNbItems(), 0);
}

namespace
{
unsigned int HashText(QORString* s)
{
    return s ? s->ComputeHashKey() : 0;
}
int CompareText(QORString* a, QORString* b)
{
    return a->Compare(*b);
}
} // namespace

TEST(QORHashTab, LooksUpByTheCallersFunctions)
{
    QORHashTab<QORString> table(3, HashText, CompareText);
    EXPECT_EQ(table.Insert(new QORString("x")), 0);
    QORString probe("x");
    QORString* dup = new QORString("x");
    EXPECT_EQ(table.Insert(dup), 1);
    delete dup;
    ASSERT_NE(table.Locate(&probe), nullptr);
    EXPECT_NE(table.Locate(&probe), &probe);
    EXPECT_EQ(table.Insert(nullptr), 1);
    table.ApplyDelete();
    EXPECT_EQ(table.Locate(&probe), nullptr);
}
