// Range-for over the collections walks what the bucket and position walk
// gives, in the same order, and the two string dictionaries agree on what an
// insertion answers.

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "QORHashDicS.h"
#include "QORHashTable.h"
#include "QORListPtr.h"
#include "zbDirectoryListing.h"
#include "zbHashDic.h"
#include "zbTestSupport.h"

namespace
{
// Keys that crowd few buckets, so that lists inside buckets are walked too.
std::vector<std::string> Keys()
{
    std::vector<std::string> keys;
    for (int i = 0; i < 40; ++i)
        keys.push_back("key" + std::to_string(i * 7));
    return keys;
}

unsigned int HashText(QORString* iText)
{
    return iText->ComputeHashKey();
}

int CompareText(QORString* iA, QORString* iB)
{
    return iA->Compare(*iB);
}
} // namespace

TEST(zbRangeFor, DictionariesWalkAsTheirNextDoes)
{
    std::vector<QORString> values(Keys().size());
    QORHashDicS<QORString> typed(7);
    zbHashDiczbNewString other(7);
    for (size_t i = 0; i < Keys().size(); ++i)
    {
        values[i] = Keys()[i].c_str();
        // Both answer 1 for a new key and 0 for one already there.
        EXPECT_EQ(typed.Insert(Keys()[i].c_str(), &values[i]), 1);
        EXPECT_EQ(other.Insert(zbNewString(Keys()[i].c_str()), new zbNewString(Keys()[i].c_str())),
                  1);
    }
    EXPECT_EQ(typed.Insert("key0", &values[1]), 0);
    EXPECT_EQ(other.Insert(zbNewString("key0"), &values[1]), 0);

    std::vector<std::string> walked, ranged, rangedValues;
    int bucket = 1, position = 0;
    QORString key;
    while (QORString* value = typed.Next(bucket, position, &key))
        walked.push_back(key.Std() + "=" + value->Std());
    for (const auto& entry : typed)
        ranged.push_back(entry._Key.Std() + "=" + entry._Value->Std());
    for (QORString* value : typed.Values())
        rangedValues.push_back(value->Std() + "=" + value->Std());
    EXPECT_EQ(ranged, walked);
    EXPECT_EQ(rangedValues, walked);

    // Elements within a bucket come back in insertion order from both.
    std::vector<std::string> otherRanged;
    for (const auto& entry : other)
        otherRanged.push_back(std::string(entry._Key.CastToCharPtr()) + "=" +
                              entry._Value->CastToCharPtr());
    ASSERT_EQ(otherRanged.size(), Keys().size());
    std::vector<std::string> otherWalked;
    bucket = 1, position = 0;
    zbNewString otherKey;
    while (zbNewString* value = static_cast<zbNewString*>(other.Next(bucket, position, &otherKey)))
        otherWalked.push_back(std::string(otherKey.CastToCharPtr()) + "=" + value->CastToCharPtr());
    EXPECT_EQ(otherRanged, otherWalked);
    size_t count = 0;
    for (zbNewString* value : other.Values())
        count += value != nullptr;
    EXPECT_EQ(count, Keys().size());
    other.ApplyDelete();

    // A null value does not end the walk of a foundation dictionary.
    QORHashDicoS withNull(3);
    withNull.Insert("a", nullptr);
    withNull.Insert("b", &values[0]);
    int seen = 0;
    for (const auto& entry : withNull)
        seen += entry._Key == "a" || entry._Key == "b";
    EXPECT_EQ(seen, 2);

    // Empty collections give empty walks.
    QORHashDicoS empty(5);
    EXPECT_TRUE(empty.begin() == empty.end());
    EXPECT_TRUE(zbHashDico(5).begin() == zbHashDico(5).end());
}

TEST(zbRangeFor, TablesListsAndListings)
{
    QORHashTab<QORString> table(3, HashText, CompareText);
    QORListPtr<QORString> list;
    const std::vector<std::string> keys = Keys();
    std::vector<QORString> texts;
    for (const std::string& key : keys)
        texts.push_back(key.c_str());
    for (QORString& text : texts)
    {
        table.Insert(&text);
        list.Append(&text);
    }
    std::vector<QORString*> walked, ranged, listed;
    int bucket = 1, position = 0;
    while (QORString* text = table.Next(bucket, position))
        walked.push_back(text);
    for (QORString* text : table)
        ranged.push_back(text);
    EXPECT_EQ(ranged, walked);
    for (QORString* text : list)
        listed.push_back(text);
    ASSERT_EQ(listed.size(), texts.size());
    EXPECT_EQ(listed.front(), &texts.front());
    EXPECT_EQ(listed.back(), &texts.back());

    // A listing walks from its roots each time.
    zbtest::TempDir dir;
    mkdir((dir / "sub").c_str(), 0755);
    zbtest::WriteFile(dir / "sub/f", "");
    QORListValQORString roots;
    roots.Append(QORString(dir.Path().c_str()));
    zbDirectoryListing listing(roots);
    listing.SetListingMode(zbDirectoryListing::Recursive);
    for (int round = 0; round < 2; ++round)
    {
        std::vector<std::string> paths;
        for (const char* path : listing)
            paths.push_back(path);
        EXPECT_EQ(paths, (std::vector<std::string>{dir / "sub", dir / "sub/f"}));
    }
}
