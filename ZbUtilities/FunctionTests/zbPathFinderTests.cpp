// Path finders: the first directory holding a name wins, names may be
// compared without regard to case, directories that cannot be read are
// skipped.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"
#include "zbTestSupport.h"

namespace
{
QORListValQORString Paths(std::initializer_list<std::string> iPaths)
{
    QORListValQORString list;
    for (const std::string& p : iPaths)
        list.Append(QORString(p.c_str()));
    return list;
}

std::string Full(const zbFileName& iName)
{
    return iName.GetPtrToFullname() ? iName.GetPtrToFullname() : "";
}
} // namespace

TEST(zbPathFinder, SearchAndCase)
{
    zbtest::TempDir root;
    mkdir((root / "one").c_str(), 0755);
    mkdir((root / "two").c_str(), 0755);
    zbtest::WriteFile(root / "one/a.h", "");
    zbtest::WriteFile(root / "two/a.h", "");
    zbtest::WriteFile(root / "two/b.h", "");

    zbPathFinder finder;
    finder.SetListOfPath(Paths({root / "missing", root / "one", root / "two/"}));
    zbFileName file;
    EXPECT_EQ(&file, finder.SearchFor("a.h", file));
    EXPECT_EQ(root / "one/a.h", Full(file));
    EXPECT_EQ(&file, finder.SearchFor("b.h", file));
    EXPECT_EQ(root / "two/b.h", Full(file));
    EXPECT_EQ(nullptr, finder.SearchFor("A.H", file));
    EXPECT_EQ("A.H", Full(file));
    EXPECT_EQ(nullptr, finder.SearchFor(".", file));
    finder.SetNonCaseSensitive(); // too late: nothing changes
    EXPECT_EQ(nullptr, finder.SearchFor("A.H", file));

    QORListValQORString list;
    finder.GetListOfPath(list);
    ASSERT_EQ(2, list.Size());
    EXPECT_EQ(root / "one", list[1].Std());

    zbPathFinder folded;
    folded.SetNonCaseSensitive();
    folded.SetListOfPath(Paths({root / "two"}));
    EXPECT_EQ(&file, folded.SearchFor("A.H", file));
    EXPECT_EQ(root / "two/A.H", Full(file));

    // The set asks its finders in order.
    zbSetOfPathFinder set(folded);
    set.Append(finder);
    EXPECT_EQ(&file, set.SearchFor("a.h", file));
    EXPECT_EQ(root / "two/a.h", Full(file));
    EXPECT_EQ(nullptr, set.SearchFor("c.h", file));
    EXPECT_EQ("c.h", Full(file));
    set.RemoveAll();
    EXPECT_EQ(0, set.Size());
    EXPECT_EQ(nullptr, set.SearchFor("a.h", file));

    {
        zbOFStream out((root / "dump").c_str(), 8);
        finder.Dump(out);
        folded.PrintStats(out);
    }
    EXPECT_EQ("#  List of searched path:\n#   [" + root / "one" + "]\n#   [" + root / "two" +
                  "]\n\n## zbPathFinder: Statistics of Found dictionary:\n"
                  "QORHDICOS( QORString, zbFileName ):\n"
                  "( dimensionned to 50000 buckets , with 49998 unused ==> 99.996% )\n"
                  "( containing 2 items , with 0 in collision ==> 0% )\n",
              zbtest::ReadFile(root / "dump"));
}
