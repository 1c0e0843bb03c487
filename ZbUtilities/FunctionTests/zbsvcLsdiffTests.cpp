// zbsvc lsdiff, end to end.

#include <algorithm>

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcLsdiff, PrintsAddedRemovedAndChangedByPath)
{
    zbtest::TempDir dir;
    WriteFile(dir / "old", "1@1 ./Fw/b\n2@2 Fw/a\n3@3 Fw/c\n4@4 Fw/same\nbad Fw/ignored\n");
    WriteFile(dir / "new", "2@9 Fw/a\n4@4 /Fw/same/\n3@3 Fw/c\n5@5 Fw/0new\n");
    zbtest::ChildResult r = Zbsvc({"lsdiff", dir / "old", dir / "new"});
    ASSERT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "added   Fw/0new\n"
                      "changed Fw/a 2@2 2@9\n"
                      "removed Fw/b\n"
                      "1 added, 1 removed, 1 changed, 2 unchanged\n");

    r = Zbsvc({"lsdiff", "-text", "-prefix", "inst", dir / "old", dir / "new"});
    EXPECT_EQ(r._Out, "added   inst/Fw/0new\n"
                      "changed inst/Fw/a 2@2 2@9\n"
                      "removed inst/Fw/b\n"
                      "removed inst/Fw/ignored\n"
                      "1 added, 2 removed, 1 changed, 2 unchanged\n");

    const std::tuple<std::string, std::string, int> quiet[] = {{dir / "old", dir / "new", 1},
                                                               {dir / "old", dir / "old", 0}};
    for (const auto& [a, b, status] : quiet)
    {
        r = Zbsvc({"lsdiff", "-q", a, b});
        EXPECT_EQ(r._Status, status);
        EXPECT_EQ(r._Out, "");
    }
    r = Zbsvc({"lsdiff", dir / "old", dir / "missing"});
    EXPECT_EQ(r._Status, 1);
    EXPECT_NE(r._Err.find("missing could not be read"), std::string::npos) << r._Err;
    EXPECT_EQ(Zbsvc({"lsdiff", dir / "old"})._Status, 2);
}

// Listings larger than the blocks they are read in and than the chunks
// their texts are kept in, given sorted (merged as read), in another order
// (compared through a table), and sorted but for a last line (the merge
// gives up at the end and the table starts over): the same differences.
TEST(zbsvcLsdiff, LargeListingsGiveExactlyTheirDifferences)
{
    const int kFiles = 40000;
    zbtest::TempDir dir;
    std::vector<std::pair<std::string, std::string>> before, after; // path, line
    std::map<std::string, std::string> expected;
    for (int i = 0; i < kFiles; ++i)
    {
        std::string path = "Fw" + std::to_string(i % 7) + "/Module" + std::to_string(i % 100) +
                           ".m/src/file" + std::to_string(i) + ".cpp";
        std::string field = std::to_string(i * 7) + "@" + std::to_string(1700000000 + i);
        before.push_back({path, field + " ./" + path + "\n"});
        if (i % 20 == 1)
            expected[path] = "removed " + path;
        else if (i % 10 == 0)
        {
            std::string changed = std::to_string(i * 7 + 1) + "@" + std::to_string(1700000000 + i);
            after.push_back({path, changed + " " + path + "\n"});
            expected[path] = "changed " + path + " " + field + " " + changed;
        }
        else
            after.push_back({path, field + " " + path + "\n"});
        if (i % 20 == 3)
        {
            std::string added = "New/" + std::to_string(i);
            after.push_back({added, "1@1 " + added + "\n"});
            expected[added] = "added   " + added;
        }
    }
    std::string out;
    for (const auto& finding : expected)
        out += finding.second + "\n";
    out += "2000 added, 2000 removed, 4000 changed, 34000 unchanged\n";
    auto text = [](const std::vector<std::pair<std::string, std::string>>& iLines)
    {
        std::string text;
        for (const auto& line : iLines)
            text += line.second;
        return text;
    };
    for (const char* order : {"generated", "sorted", "sorted but the last"})
    {
        if (order[0] == 's')
        {
            std::sort(before.begin(), before.end());
            std::sort(after.begin(), after.end());
        }
        if (order[6] == ' ')
            std::rotate(after.begin(), after.begin() + 1, after.end());
        WriteFile(dir / "old", text(before));
        WriteFile(dir / "new", text(after));
        zbtest::ChildResult r = Zbsvc({"lsdiff", dir / "old", dir / "new"});
        ASSERT_EQ(r._Status, 0) << r._Err;
        EXPECT_TRUE(r._Out == out) << order;
    }
}
