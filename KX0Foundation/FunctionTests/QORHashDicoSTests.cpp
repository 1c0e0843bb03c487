// String-keyed dictionaries: lookups through the bucket index, positions,
// both ways of iterating and the counters must agree with a model after
// inserts, removals, copies and reuse, in long and in short buckets.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>
#include <string>
#include <tuple>

#include "QORHashDicoS.h"

namespace
{
// The expected contents: per bucket, the keys and values in insertion order.
struct Model
{
    explicit Model(int iDimension) : _Buckets(static_cast<size_t>(iDimension)) {}
    std::vector<std::vector<std::pair<std::string, void*>>> _Buckets;

    std::vector<std::pair<std::string, void*>>& BucketOf(const std::string& iKey)
    {
        return _Buckets[QORString(iKey.c_str()).ComputeHashKey() % _Buckets.size()];
    }
};

// Every place, key, value and counter of the dictionary agrees with the model.
void ExpectSame(const QORHashDicoS& iDico, const Model& iModel)
{
    int items = 0, free = 0;
    int bucket = 1, position = 0;
    QORString key, iterated;
    QORHashCodeIter it(iDico); // walks the same order
    void* first = nullptr;
    std::vector<std::pair<std::string, void*>> stored, expected;
    for (size_t b = 0; b < iModel._Buckets.size(); ++b)
    {
        const auto& elems = iModel._Buckets[b];
        items += static_cast<int>(elems.size());
        free += elems.empty() ? 1 : 0;
        expected.insert(expected.end(), elems.begin(), elems.end());
        for (size_t p = 0; p < elems.size(); ++p)
        {
            const int wantB = static_cast<int>(b) + 1, wantP = static_cast<int>(p) + 1;
            // Next, Retrieve and LocatePosition agree on the place.
            const auto want = std::make_tuple(elems[p].second, elems[p].first, wantB, wantP);
            void* value = iDico.Next(bucket, position, &key);
            ASSERT_EQ(want, std::make_tuple(value, key.Std(), bucket, position));
            QORString retrieved;
            value = iDico.Retrieve(wantB, wantP, &retrieved);
            ASSERT_EQ(want, std::make_tuple(value, retrieved.Std(), wantB, wantP));
            int lb = 0, lp = 0;
            value = iDico.LocatePosition(key, lb, lp);
            ASSERT_EQ(want, std::make_tuple(value, key.Std(), lb, lp));
            value = it.Next(&iterated);
            ASSERT_EQ(want, std::make_tuple(value, iterated.Std(), wantB, wantP));
            first = first ? first : value;
        }
        ASSERT_EQ(nullptr,
                  iDico.Retrieve(static_cast<int>(b) + 1, static_cast<int>(elems.size()) + 1));
    }
    ASSERT_EQ(nullptr, iDico.Next(bucket, position));
    ASSERT_EQ(nullptr, it.Next());
    it.Beginning();
    ASSERT_EQ(first, it.Next());
    // The walk in stored order meets every element once.
    iDico.ForEachStored([&](const char* iKey, size_t iLength, void* iValue)
                        { stored.emplace_back(std::string(iKey, iLength), iValue); });
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected, stored);
    ASSERT_EQ(std::make_tuple(items, free, items == 0 ? 1 : 0),
              std::make_tuple(iDico.GetNbItems(), iDico.GetNbFreeBuckets(), iDico.IsEmpty()));
}
} // namespace

TEST(QORHashDicoS, AgreesWithAModelThroughInsertsRemovalsCopiesAndReuse)
{
    // Long buckets (5), short ones (997) and mostly empty ones (20011).
    for (int dimension : {5, 997, 20011})
    {
        QORHashDicoS dico(dimension);
        Model model(dimension);
        unsigned int random = 12345;
        auto next = [&random](unsigned int iBound)
        {
            random = random * 1103515245u + 12345u;
            return (random >> 8) % iBound;
        };
        for (int round = 0; round < 3; ++round)
        {
            // Room made ahead, once over what is there already, changes nothing.
            if (round == 1)
                dico.Reserve(4000, 4000 * 28);
            // Keys of every length around the arena's 8-byte steps.
            for (int i = 0; i < 4000; ++i)
            {
                const unsigned int n = next(6000);
                std::string k = std::string(n % 23, 'x') + std::to_string(n);
                void* v = reinterpret_cast<void*>(static_cast<size_t>(n) + 1);
                auto& elems = model.BucketOf(k);
                bool present = false;
                for (auto& e : elems)
                    present = present || e.first == k;
                ASSERT_EQ(present ? 0 : 1, dico.Insert(QORString(k.c_str()), v));
                if (!present)
                    elems.emplace_back(k, v);
            }
            ExpectSame(dico, model);
            // Removals by key and by place, first, middle and last of buckets;
            // enough of them to make the arena take its holes back.
            for (int i = 0; i < 3000; ++i)
            {
                auto& elems = model._Buckets[next(static_cast<unsigned int>(dimension))];
                if (elems.empty())
                    continue;
                const size_t p = i % 3 == 0
                                     ? 0
                                     : (i % 3 == 1 ? elems.size() - 1
                                                   : next(static_cast<unsigned int>(elems.size())));
                const std::string k = elems[p].first;
                if (i % 2)
                    ASSERT_EQ(elems[p].second, dico.Remove(QORString(k.c_str())));
                else
                {
                    int b = 0, pos = 0;
                    dico.LocatePosition(QORString(k.c_str()), b, pos);
                    QORString removed;
                    ASSERT_EQ(elems[p].second, dico.RemovePosition(b, pos, &removed));
                    ASSERT_EQ(k, removed.Std());
                }
                ASSERT_EQ(nullptr, dico.Locate(QORString(k.c_str())));
                ASSERT_EQ(nullptr, dico.Remove(QORString(k.c_str())));
                elems.erase(elems.begin() + static_cast<long>(p));
            }
            ExpectSame(dico, model);

            // Copies and assignments carry the holes and places; they are
            // independent of the original afterwards.
            QORHashDicoS copy(dico);
            ExpectSame(copy, model);
            QORHashDicoS assigned(3);
            assigned.Insert(QORString("gone"), nullptr);
            assigned = dico;
            ExpectSame(assigned, model);
            EXPECT_EQ(1, copy.Insert(QORString("only in the copy"), nullptr));
            EXPECT_EQ(1, dico.Insert(QORString("only in the copy"), nullptr));
            EXPECT_EQ(nullptr, copy.Remove(QORString("only in the copy")));
            ExpectSame(copy, model);
            dico.Remove(QORString("only in the copy"));
        }
        // Emptied key by key (every bucket shrinks below its index), used
        // again, then emptied at once and used again.
        for (int pass = 0; pass < 2; ++pass)
        {
            for (auto& elems : model._Buckets)
            {
                for (size_t e = 0; pass == 0 && e < elems.size(); ++e)
                    ASSERT_EQ(elems[e].second, dico.Remove(QORString(elems[e].first.c_str())));
                elems.clear();
            }
            if (pass == 1)
                dico.RemoveAll();
            ExpectSame(dico, model);
            for (int i = 0; i < 50; ++i)
            {
                std::string k = "again" + std::to_string(i);
                void* v = reinterpret_cast<void*>(static_cast<size_t>(i) + 1);
                ASSERT_EQ(1, dico.Insert(QORString(k.c_str()), v));
                model.BucketOf(k).emplace_back(k, v);
            }
            ExpectSame(dico, model);
        }
    }
}

TEST(QORHashDicoS, StoredOrderIsInsertionOrder)
{
    QORHashDicoS dico(3);
    for (const char* key : {"a", "bb", "ccc", "a", "dddddddddddddddddddd", "e"})
        dico.Insert(QORString(key), const_cast<char*>(key));
    dico.Remove(QORString("ccc"));
    dico.Insert(QORString("f"), nullptr);
    std::string order;
    dico.ForEachStored([&](const char* iKey, size_t iLength, void* iValue)
                       { order += std::string(iKey, iLength) + (iValue ? " " : "(null) "); });
    EXPECT_EQ("a bb dddddddddddddddddddd e f(null) ", order);
}

TEST(QORHashDicoS, NullAndEmptyKeysAndNullValues)
{
    QORHashDicoS dico(4);
    // A null key and the empty text are one key; the first one given is kept.
    EXPECT_EQ(1, dico.Insert(QORString(), reinterpret_cast<void*>(1)));
    EXPECT_EQ(0, dico.Insert(QORString(""), nullptr));
    QORString key("something");
    int bucket = 0, position = 0;
    EXPECT_EQ(reinterpret_cast<void*>(1), dico.Next(bucket, position, &key));
    EXPECT_TRUE(key.IsNull());
    // A key whose value is null is still there (its removal: the copies of
    // the model case).
    EXPECT_EQ(1, dico.Insert(QORString("n"), nullptr));
    // Out-of-range places.
    EXPECT_TRUE(!dico.Retrieve(0, 1) && !dico.Retrieve(5, 1) && !dico.RemovePosition(1, 0) &&
                !dico.RemovePosition(1, 99));
    EXPECT_EQ(2, dico.GetNbItems());
    // An absent key leaves no position behind.
    int b = 0, p = 7;
    EXPECT_EQ(nullptr, dico.LocatePosition(QORString("absent"), b, p));
    EXPECT_EQ(0, p);
    // A dimension below 1 counts as 1.
    QORHashDicoS one(0);
    EXPECT_EQ(one.GetDimension() * 10 + one.GetNbFreeBuckets(), 11);
}

TEST(QORHashDico, UnicodeKeysComeBackWhole)
{
    QORHashDico dico(3);
    QORUnicodeString accented("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(1, dico.Insert(accented, reinterpret_cast<void*>(7)));
    EXPECT_EQ(0, dico.Insert(QORUnicodeString("\xC3\xA9t\xC3\xA9"), nullptr));
    EXPECT_EQ(reinterpret_cast<void*>(7), dico.Locate(accented));
    int bucket = 0, position = 0;
    QORUnicodeString key;
    EXPECT_EQ(reinterpret_cast<void*>(7), dico.Next(bucket, position, &key));
    EXPECT_TRUE(key == accented);
}
