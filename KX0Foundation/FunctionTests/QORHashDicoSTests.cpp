// String-keyed dictionaries with long buckets: lookups through the bucket
// index must agree with positions and iteration after inserts and removals.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "QORHashDicoS.h"

TEST(QORHashDicoS, LongBucketsStayConsistent)
{
    // 3 buckets for 3000 keys: every bucket is long and indexed.
    QORHashDicoS dico(3);
    std::map<std::string, long> model;
    for (long i = 0; i < 3000; ++i)
    {
        std::string key = "k" + std::to_string(i);
        EXPECT_EQ(0, dico.Insert(QORString(key.c_str()), reinterpret_cast<void*>(i + 1)));
        model[key] = i + 1;
    }
    EXPECT_EQ(1, dico.Insert(QORString("k42"), nullptr));
    // Remove every third key, including the first and last of buckets.
    for (long i = 0; i < 3000; i += 3)
    {
        std::string key = "k" + std::to_string(i);
        EXPECT_EQ(reinterpret_cast<void*>(i + 1), dico.Remove(QORString(key.c_str())));
        model.erase(key);
    }
    EXPECT_EQ(nullptr, dico.Remove(QORString("k0")));
    EXPECT_EQ(static_cast<int>(model.size()), dico.GetNbItems());
    EXPECT_EQ(0, dico.GetNbFreeBuckets());

    // Every key is found at the place iteration reports for it.
    int bucket = 1, position = 0, seen = 0;
    QORString key;
    while (void* value = dico.Next(bucket, position, &key))
    {
        ++seen;
        EXPECT_EQ(reinterpret_cast<void*>(model[key.Std()]), value);
        int b = 0, p = 0;
        EXPECT_EQ(value, dico.LocatePosition(key, b, p));
        EXPECT_EQ(bucket, b);
        EXPECT_EQ(position, p);
        EXPECT_EQ(value, dico.Retrieve(b, p));
    }
    EXPECT_EQ(static_cast<int>(model.size()), seen);
    int b = 0, p = 7;
    EXPECT_EQ(nullptr, dico.LocatePosition(QORString("k3"), b, p));
    EXPECT_EQ(0, p);

    // Shrinking a bucket below the index size and growing it again.
    for (long i = 0; i < 3000; ++i)
        dico.Remove(QORString(("k" + std::to_string(i)).c_str()));
    EXPECT_EQ(1, dico.IsEmpty());
    EXPECT_EQ(3, dico.GetNbFreeBuckets());
    for (long i = 0; i < 100; ++i)
        dico.Insert(QORString(("k" + std::to_string(i)).c_str()), reinterpret_cast<void*>(i + 1));
    EXPECT_EQ(reinterpret_cast<void*>(100), dico.Locate(QORString("k99")));
    dico.RemoveAll();
    EXPECT_EQ(nullptr, dico.Locate(QORString("k99")));
    EXPECT_EQ(0, dico.Insert(QORString("k99"), nullptr));
}
