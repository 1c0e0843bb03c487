// Listing elements: size mode fields, hash key, order, loading listings.

#include <climits>

#include "zbErrorCodeManager.h"
#include "zbLsoutElement.h"
#include "zbTestSupport.h"

using L = zbLsoutElement;
using namespace zbtest;

namespace
{
struct Loaded
{
    QORHashTabzbLsoutElement table{101, zbHTABLEOfzbLsoutElementHashKey,
                                   zbHTABLEOfzbLsoutElementCompare};
    QORListPtrzbLsoutElement list;
    ~Loaded() { table.ApplyDelete(); }
    // The listed paths in order, with their size and extra text.
    std::string Listed() const
    {
        std::string out;
        for (const L* element : list)
            out += std::string(element->GetFileName()) + " " + std::to_string(element->GetSize()) +
                   "@" + std::to_string(element->GetLastModificationTime()) + " " +
                   element->GetExtra() + "|";
        return out;
    }
};
} // namespace

// (In a listing, the same field is read and printed back by zbsvc lsdiff,
// lsdiff.t, over 20,000 lines.)
TEST(zbLsoutElement, FirstFieldInSizeMode)
{
    const std::tuple<const char*, int, long long, long> rows[] = {
        {"6000000000@5", 1, 6000000000LL, 5},
        {"12@", 0, 0, 0},
        {"@5", 0, 0, 0},
        {"1x@5", 0, 0, 0},
        {"1@5x", 0, 0, 0},
        {"15", 0, 0, 0},
        {"99999999999999999999@7", 1, LLONG_MAX, 7}, // the largest value
        {"1234567@1234567890123", 1, 1234567, 1234567890123L},
    };
    for (const auto& [text, accepted, wantSize, wantTime] : rows)
    {
        SCOPED_TRACE(text);
        long long size = -7;
        long time = -7;
        EXPECT_EQ(L::ExtractSizeAndLastModificationTime(text, size, time), accepted);
        EXPECT_EQ(size, accepted ? wantSize : -7);
        EXPECT_EQ(time, accepted ? wantTime : -7);
    }
}

TEST(zbLsoutElement, HashKeyAndOrder)
{
    L a(zbNewString("a")), b(zbNewString("b"), 5, 6), copy(b);
    EXPECT_TRUE(a < b && b > a && a != b && copy == b);
    EXPECT_EQ((std::vector<int>{L::QuickSort(nullptr, nullptr), L::QuickSort(nullptr, &a),
                                L::QuickSort(&a, nullptr), L::QuickSort(&a, &b) < 0}),
              (std::vector<int>{0, -1, 1, 1}));
}

// (A missing listing is reported through zbsvc lsdiff.)
TEST(zbLsoutElement, LoadsListings)
{
    const std::string longPath(5000, 'a');
    // Listing, text mode, prefix, paths loaded, what is listed, a path found.
    const std::tuple<std::string, int, const char*, int, std::string, const char*> cases[] = {
        {"123@1000000000 ./Fw/bin/tool\n"
         "5@6\tFw/lib/\tignored words\r\n"
         "7@8 Fw/bin/tool\n" // a second line for a path: the first wins
         "9@9 ///\n"         // nothing left of the path
         "9@9\n"             // no path
         "\n"
         "1@2 Fw\\doc\\a.txt\n" // DOS separators, in short and in long lines
         "1@2 Fw\\doc\\sub\\dir\\long-name.txt\\ x\\y\n"
         "3@4 /Fw/last", // no line feed at the end
         0, nullptr, 5,
         "Fw/bin/tool 123@1000000000 |Fw/lib 5@6 |Fw/doc/a.txt 1@2 |"
         "Fw/doc/sub/dir/long-name.txt 1@2 |Fw/last 3@4 |",
         "Fw/last"},
        // However long, a line is one line: what follows its path is ignored.
        {"1@1 " + longPath + " 2@2 Fw/tail\n4@4 Fw/y\r", 0, nullptr, 2,
         longPath + " 1@1 |Fw/y 4@4 |", "Fw/y"},
        {"abcdef Fw/lib/x.so\n-1@zz ./Fw/bin/tool\n", 1, "inst", 2,
         "inst/Fw/lib/x.so 0@0 abcdef|inst/Fw/bin/tool 0@0 -1@zz|", "inst/Fw/bin/tool"},
        // A NUL byte: nothing loaded.
        {std::string("1@1 Fw/a\n3@3 Fw/x\0yz\n", 21), 0, nullptr, -1, "", nullptr},
    };
    for (const auto& [text, textMode, prefix, count, listed, found] : cases)
    {
        Loaded loaded;
        zbNewString prefixString(prefix);
        TempDir dir;
        WriteFile(dir / "listing", text);
        const int loadedCount = L::Load((dir / "listing").c_str(), loaded.table,
                                        prefix ? &prefixString : nullptr, &loaded.list, textMode);
        EXPECT_EQ(loadedCount, count) << listed;
        EXPECT_EQ(loaded.Listed(), listed);
        EXPECT_EQ(count < 0 ? zbExtLastError.GetErrno() : zbErrnoNulByte, zbErrnoNulByte);
        L key{zbNewString(found ? found : "")};
        EXPECT_TRUE(!found || loaded.table.Locate(&key)) << found;
    }
}
