// zbHashDico and the typed dictionaries; range-for over the collections walks
// as their bucket and position walk does.

#include "QORHashDicS.h"
#include "QORHashTable.h"
#include "zbHashDic.h"
#include "zbOFStream.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

namespace
{
// Keys whose hash words cancel out pairwise: "abcd" and "abcdabcdabcd"
// share their hash whatever the dimension, as do "" and "abcdabcd".
const char* const kCollideA = "abcd";
const char* const kCollideB = "abcdabcdabcd";
const char* const kCollideC = "wxyzabcdwxyz";

// Items, free buckets, then each key as BUCKET:KEY by bucket and position.
std::string Layout(const zbHashDico& iDico)
{
    std::string out = std::to_string(iDico.GetNbItems()) + " items, " +
                      std::to_string(iDico.GetNbFreeBuckets()) + " free:";
    for (int bucket = 1; bucket <= iDico.GetDimension(); ++bucket)
        for (int position = 1; position <= iDico.GetBucketSize(bucket); ++position)
        {
            zbNewString key;
            iDico.Retrieve(bucket, position, &key);
            out += " " + std::to_string(bucket) + ":" + key.CastToCharPtr();
        }
    return out;
}

// Keys that crowd few buckets, so that lists inside buckets are walked too.
std::vector<std::string> Keys()
{
    std::vector<std::string> keys;
    for (int i = 0; i < 40; ++i)
        keys.push_back("key" + std::to_string(i * 7));
    return keys;
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

TEST(zbHashDico, UpToNiceModulo)
{
    // Below 1, 1; a nice number itself; the next nice one, one or several steps on.
    const int cases[][2] = {
        {0, 1}, {1, 1}, {2, 2}, {4, 5}, {24, 29}, {529, 529}, {2147483647, 2147483647}};
    for (const auto& c : cases)
        EXPECT_EQ(zbHashCodeCollec::UpToNiceModulo(c[0]), c[1]) << c[0];
}

TEST(zbHashDico, DimensionOneKeepsEverythingInOneList)
{
    zbHashDico dico(1);
    int values[5];
    const char* keys[] = {"one", "two", "three", "a key longer than thirty-two bytes!!", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dico.Insert(keys[i], &values[i]), 1);
    EXPECT_EQ(Layout(dico),
              std::string("5 items, 0 free: 1:one 1:two 1:three 1:") + keys[3] + " 1:");
    // An absent key is placed after the last one.
    for (int i = 0; i < 6; ++i)
    {
        int bucket = 0, position = 0;
        EXPECT_EQ(dico.LocatePosition(i < 5 ? keys[i] : "absent", bucket, position),
                  i < 5 ? &values[i] : nullptr);
        EXPECT_EQ(bucket * 10 + position, 10 + std::min(i + 1, 5)) << i;
    }
    zbNewString key;
    EXPECT_EQ(dico.RemovePosition(1, 2, &key), &values[1]);
    EXPECT_STREQ(key.CastToCharPtr(), "two");
    const std::pair<const char*, void*> removals[] = {{"one", &values[0]},
                                                      {"one", nullptr},
                                                      {"", &values[4]},
                                                      {keys[3], &values[3]},
                                                      {"three", &values[2]}};
    for (const auto& [removed, value] : removals)
        EXPECT_EQ(dico.Remove(removed), value) << removed;
    EXPECT_EQ(Layout(dico), "0 items, 1 free:");
    EXPECT_EQ(dico.Retrieve(1, 1), nullptr);
}

TEST(zbHashDico, DuplicateAndNullValues)
{
    zbHashDico dico(10);
    int first = 1, second = 2;
    EXPECT_EQ((std::vector<int>{dico.Insert("key", &first), dico.Insert("key", &second),
                                dico.Insert("other", nullptr), dico.GetNbItems()}),
              (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(dico.Locate("key"), &first);
    // Keys differ by length even when one is a prefix of the other.
    EXPECT_TRUE(dico.Locate("ke") == nullptr && dico.Locate("keys") == nullptr);
}

TEST(zbHashDico, RemovalTurnsListBackIntoSingleElement)
{
    zbHashDico dico(100); // 101 buckets; the colliding keys go to bucket 12
    int a = 1, b = 2, c = 3;
    ASSERT_EQ(dico.Insert(kCollideA, &a), 1);
    ASSERT_EQ(dico.Insert(kCollideB, &b), 1);
    EXPECT_EQ(Layout(dico), "2 items, 100 free: 12:abcd 12:abcdabcdabcd");
    EXPECT_EQ(dico.Remove(kCollideA), &a);
    EXPECT_EQ(Layout(dico), "1 items, 100 free: 12:abcdabcdabcd");
    EXPECT_EQ(dico.Retrieve(12, 2), nullptr);

    // Back to a list of three, then down to two: still a list.
    ASSERT_EQ(dico.Insert(kCollideA, &a), 1);
    ASSERT_EQ(dico.Insert(kCollideC, &c), 1);
    EXPECT_EQ(dico.RemovePosition(12, 1), &b);
    EXPECT_EQ(Layout(dico), "2 items, 100 free: 12:abcd 12:wxyzabcdwxyz");
    for (const auto& place : {std::pair<int, int>{12, 3}, {12, 0}, {0, 1}, {102, 1}})
        EXPECT_EQ(dico.RemovePosition(place.first, place.second), nullptr) << place.first;
    EXPECT_EQ(dico.GetNbItems(), 2);
}

TEST(zbHashDico, IterationReturnsEachValueOnce)
{
    zbHashDico dico(7), other(7);
    int bucket = 1, position = 0;
    std::vector<int> values(1000);
    // Keys too long to be held inline: every one must be released (memcheck).
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(dico.Insert(zbNewString("an item with a key longer than 32 bytes") += i,
                              &values[static_cast<size_t>(i)]),
                  1);
    std::set<void*> seen;
    bucket = -5, position = 3; // a bucket below 1 starts the walk afresh
    for (int last = 1; void* value = dico.Next(bucket, position); last = bucket)
    {
        EXPECT_TRUE(seen.insert(value).second && bucket >= last);
        EXPECT_EQ(dico.Retrieve(bucket, position), value);
    }
    EXPECT_TRUE(seen.size() == 1000u && dico.Next(bucket, position) == nullptr);
    // So does a position below 0: the walk still ends.
    zbHashDico single(1);
    single.Insert("k", &values[0]);
    bucket = 1, position = -4;
    EXPECT_TRUE(single.Next(bucket, position) == &values[0] && !single.Next(bucket, position));

    zbHashCodeIter iter(dico), foreign(other);
    EXPECT_EQ(dico[iter], nullptr);
    size_t count = 0;
    for (; void* value = iter.Next(); ++count)
    {
        ASSERT_NE(dico.ItemName(iter), nullptr);
        EXPECT_TRUE(dico[iter] == value && dico.ItemName(iter)->GetValue() == value);
    }
    EXPECT_EQ(count, 1000u);
    iter.Beginning();
    EXPECT_NE(iter.Next(), nullptr);
    EXPECT_TRUE(dico.ItemName(foreign) == nullptr && other[iter] == nullptr);
}

TEST(zbHashDico, NextAfterKey)
{
    zbHashDico dico(10); // 11 buckets
    int values[3];
    const char* keys[] = {kCollideA, kCollideB, "z"};
    for (int i = 0; i < 3; ++i)
        dico.Insert(keys[i], &values[i]);
    // Each key leads to the one after it in the walk by bucket and position.
    std::string chain, walk;
    zbNewString key, after;
    for (const zbNewString* from = nullptr; dico.Next(from, &key); from = &(after = key))
        chain += std::string(key.CastToCharPtr()) + " ";
    int bucket = 1, position = 0;
    while (dico.Next(bucket, position, &key))
        walk += std::string(key.CastToCharPtr()) + " ";
    EXPECT_EQ(chain, walk);
    EXPECT_EQ(std::count(walk.begin(), walk.end(), ' '), 3);

    // An absent key continues with the buckets after its own.
    zbNewString absent("abcdabcdabcdabcd"); // hashes to 0, bucket 1
    ASSERT_EQ(dico.LocatePosition(absent, bucket, position), nullptr);
    ASSERT_EQ(bucket, 1);
    EXPECT_NE(dico.Next(&absent, &key), nullptr);
    EXPECT_EQ(std::string(key.CastToCharPtr()) + " ", walk.substr(0, walk.find(' ') + 1));
}

TEST(zbHashDico, ApplyGlobalFunct)
{
    const auto CountUntilThree = [](void* iValue)
    { return *static_cast<int*>(iValue) == 3 ? 7 : 0; };
    zbHashDico dico(1);
    int values[] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i)
        dico.Insert(zbNewString("k") += i, &values[i]);
    int result = -1;
    zbNewString key;
    EXPECT_EQ(dico.ApplyGlobalFunct(CountUntilThree, nullptr, &key, &result), 3);
    EXPECT_EQ(result, 7);
    EXPECT_STREQ(key.CastToCharPtr(), "k2");

    // From a key on: the calls made; none from a missing key.
    for (const auto& [from, calls] :
         {std::pair<const char*, int>{"k3", 1}, {"k1", 2}, {"missing", 0}})
    {
        zbNewString start(from);
        result = -1;
        EXPECT_EQ(dico.ApplyGlobalFunct(CountUntilThree, &start, nullptr, &result), calls) << from;
        EXPECT_EQ(result, calls == 2 ? 7 : 0) << from;
    }
    zbHashDico empty(3);
    EXPECT_EQ(empty.ApplyGlobalFunct(CountUntilThree), 0);
}

TEST(zbHashDico, EqualityLooksOnlyAtOwnElements)
{
    int a = 1, b = 2;
    zbHashDico small(5), large(50), sameKeyOtherValue(5), empty(5);
    small.Insert("a", &a), large.Insert("a", &a), large.Insert("b", &b);
    sameKeyOtherValue.Insert("a", &b);
    EXPECT_TRUE(small == large && large != small && empty == small);
    EXPECT_FALSE(small != large || large == small || small == sameKeyOtherValue);
    const zbHashDico& itself = large; // a dictionary always holds itself
    EXPECT_TRUE(large == itself);
}

TEST(zbHashDico, CopyAndAssignment)
{
    int values[20];
    zbHashDico source(3); // 3 buckets, several lists
    for (int i = 0; i < 20; ++i)
        source.Insert(zbNewString("value number ") += i, &values[i]);
    zbHashDico copy(source);
    EXPECT_EQ(Layout(copy), Layout(source));
    EXPECT_EQ(copy.Remove("value number 4"), &values[4]);
    EXPECT_EQ(source.Locate("value number 4"), &values[4]);
    // A bucket of one element is copied as such.
    zbHashDico single(3);
    single.Insert("k", &values[0]);
    zbHashDico singleCopy(single);
    EXPECT_TRUE(singleCopy.Locate("k") == &values[0] && Layout(singleCopy) == Layout(single));

    // Assignment keeps its own dimension and drops what was there.
    zbHashDico wide(1000);
    int extra = 0;
    wide.Insert("gone", &extra);
    wide = source;
    EXPECT_TRUE(wide == source && source == wide);
    wide = wide;
    EXPECT_EQ(wide.GetNbItems(), 20);
    wide.RemoveAll();
    EXPECT_EQ(Layout(wide), "0 items, 1009 free:");
    EXPECT_EQ(wide.Insert("again", &extra), 1);
    EXPECT_EQ(wide.Locate("again"), &extra);
}

TEST(zbHashDico, TypedDictionaryDeletesEachValueOnce)
{
    zbHashDiczbNewString dico(4);
    zbNewString* shared = new zbNewString("shared");
    dico.Insert("one", shared), dico.Insert("two", shared);
    dico.Insert("three", new zbNewString("own"));
    zbHashDiczbNewString copy(dico);
    copy = dico;
    EXPECT_EQ(copy.Locate("one"), shared);
    dico.ApplyDelete(); // the leak and double-free checks of the sanitizer build watch this
    EXPECT_EQ(dico.GetNbItems(), 0);
}

TEST(zbHashDico, StatisticsReport)
{
    zbHashDiczbNewString empty(4);
    zbHashDicQORListValzbNewString crowded(1);
    QORListValzbNewString list;
    for (const char* key : {"a", "b", "c"})
        crowded.Insert(key, &list);
    EXPECT_EQ(zbtest::Written(
                  [&](zbOFStream& out)
                  {
                      zbHashDicoPrintStats(empty, out);
                      zbHashDicoPrintStats(crowded, out);
                  }),
              "zbHDICO( zbNewString, zbNewString ):\n"
              "( dimensionned to 5 buckets , with 5 unused ==> 100% )\n"
              "( containing 0 items , with 0 in collision )\n"
              "zbHDICO( zbNewString, QORListValzbNewString ):\n"
              "( dimensionned to 1 buckets , with 0 unused ==> 0% )\n"
              "( containing 3 items , with 2 in collision ==> 66.6667% )\n");
}

TEST(zbHashDico, DimensionBelowOneIsFatal)
{
    zbtest::ChildEnvironment env;
    env._Unset.push_back("QOR_DEVELOPMENT_STAGE");
    EXPECT_EQ(zbtest::Outcome(zbtest::Run({zbtest::Program("zbHashDicoProbe"), "0"}, env)),
              "1||Fatal error: AssertionFailed:iDimension > 0 "
              "(ZbUtilities/ZbWSEServices.m/src/zbHashDico, line 16)\n");
}

TEST(zbRangeFor, DictionariesWalkAsTheirNextDoes)
{
    std::vector<QORString> values(Keys().size());
    QORHashDicS<QORString> typed(7);
    zbHashDiczbNewString other(7);
    for (size_t i = 0; i < Keys().size(); ++i)
    {
        values[i] = Keys()[i].c_str();
        typed.Insert(Keys()[i].c_str(), &values[i]);
        other.Insert(zbNewString(Keys()[i].c_str()), new zbNewString(Keys()[i].c_str()));
    }

    // Every key, elements within a bucket in insertion order, from both walks.
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
// listing twice by the pattern set cases of zbPatternListTests.)
TEST(zbRangeFor, TablesWalkAsTheirNextDoes)
{
    QORHashTab<QORString> table(
        3, [](QORString* iText) { return iText->ComputeHashKey(); },
        [](QORString* iA, QORString* iB) { return iA->Compare(*iB); });
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
