// Range-for over the collections walks as their bucket and position walk does.

#include "QORHashDicS.h"
#include "QORHashTable.h"
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
// Walks a dictionary by its Next, by range-for and over its values, expects
// the same "KEY=VALUE" entries in the same order; how many there were.
template <class Value, class Key, class Dic> size_t Walks(Dic& iDic)
{
    std::vector<std::string> walked, ranged, values;
    int bucket = 1, position = 0;
    Key key;
    while (Value* value = static_cast<Value*>(iDic.Next(bucket, position, &key)))
        walked.push_back(std::string(key.CastToCharPtr()) + "=" + value->CastToCharPtr());
    for (const auto& entry : iDic)
        ranged.push_back(std::string(entry._Key.CastToCharPtr()) + "=" +
                         entry._Value->CastToCharPtr());
    for (Value* value : iDic.Values())
        values.push_back(std::string(value->CastToCharPtr()) + "=" + value->CastToCharPtr());
    EXPECT_EQ(ranged, walked);
    EXPECT_EQ(values, walked); // each value is its key's text
    return walked.size();
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

    // Elements within a bucket come back in insertion order from both walks.
    EXPECT_EQ((Walks<QORString, QORString>(typed)), Keys().size());
    EXPECT_EQ((Walks<zbNewString, zbNewString>(other)), Keys().size());
    other.ApplyDelete();

    // A null value does not end the walk of a foundation dictionary.
    QORHashDicoS withNull(3), empty(5);
    withNull.Insert("a", nullptr), withNull.Insert("b", &values[0]);
    int seen = 0;
    for (const auto& entry : withNull)
        seen += entry._Key == "a" || entry._Key == "b";
    EXPECT_EQ(seen, 2);
    EXPECT_TRUE(empty.begin() == empty.end() && zbHashDico(5).begin() == zbHashDico(5).end());
}

// (Lists are walked by range-for throughout the library, and a recursive
// listing twice by zbPatternSetTests.)
TEST(zbRangeFor, TablesWalkAsTheirNextDoes)
{
    QORHashTab<QORString> table(3, HashText, CompareText);
    const std::vector<std::string> keys = Keys();
    std::vector<QORString> texts(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        texts[i] = keys[i].c_str(), table.Insert(&texts[i]);
    std::vector<QORString*> walked, ranged;
    int bucket = 1, position = 0;
    while (QORString* text = table.Next(bucket, position))
        walked.push_back(text);
    for (QORString* text : table)
        ranged.push_back(text);
    EXPECT_EQ(ranged.size(), texts.size());
    EXPECT_EQ(ranged, walked);
}
