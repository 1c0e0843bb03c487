// zbsvc lsdiff, end to end.

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

TEST(zbsvcLsdiff, LargeListingsGiveExactlyTheirDifferences)
{
    const int kFiles = 20000;
    zbtest::TempDir dir;
    std::string before, after;
    std::map<std::string, std::string> expected;
    for (int i = 0; i < kFiles; ++i)
    {
        std::string path = "Fw" + std::to_string(i % 7) + "/d" + std::to_string(i % 100) + "/f" +
                           std::to_string(i);
        std::string field = std::to_string(i * 7) + "@" + std::to_string(1700000000 + i);
        before += field + " ./" + path + "\n";
        if (i % 20 == 1)
            expected[path] = "removed " + path;
        else if (i % 10 == 0)
        {
            std::string changed = std::to_string(i * 7 + 1) + "@" + std::to_string(1700000000 + i);
            after += changed + " " + path + "\n";
            expected[path] = "changed " + path + " " + field + " " + changed;
        }
        else
            after += field + " " + path + "\n";
        if (i % 20 == 3)
        {
            std::string added = "New/" + std::to_string(i);
            after += "1@1 " + added + "\n";
            expected[added] = "added   " + added;
        }
    }
    WriteFile(dir / "old", before);
    WriteFile(dir / "new", after);
    std::string out;
    for (const auto& finding : expected)
        out += finding.second + "\n";
    out += "1000 added, 1000 removed, 2000 changed, 17000 unchanged\n";
    zbtest::ChildResult r = Zbsvc({"lsdiff", dir / "old", dir / "new"});
    ASSERT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, out);
}
