// Interface names: classification by directory keyword, framework name,
// level comparison and the dump.

#include <string>

#include <gtest/gtest.h>

#include "zbInterfaceName.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

namespace
{
struct Case
{
    const char* _Path;
    int _Level;
    int _Generated;
};

std::string DumpOf(const zbInterfaceName& iName)
{
    zbtest::TempDir dir;
    {
        zbOFStream out((dir / "dump").c_str(), 8);
        iName.Dump(out);
    }
    return zbtest::ReadFile(dir / "dump");
}

std::string Tail(const std::string& iText, const std::string& iFrom)
{
    size_t at = iText.find(iFrom);
    return at == std::string::npos ? "" : iText.substr(at);
}
} // namespace

TEST(zbInterfaceName, Classification)
{
    const Case cases[] = {
        {"/ws/./Fw/PublicInterfaces/a.h", 4, 0},
        {"/ws/./Fw/ProtectedGenerated/a.h", 3, 1},
        {"/ws/./Fw/PrivateInterfaces/sub/a.h", 2, 0},
        {"/ws/./Fw/LocalInterfaces", 1, 0},
        {"/ws/./Fw/LocalGenerated/", 1, 1},
        {"PublicInterfaces/a.h", 4, 0},
        {"\\ws\\Fw\\PrivateGenerated\\a.h", 2, 1},
        {"/ws/./Fw/PublicInterfacesOld/a.h", 0, 0},
        {"/ws/./Fw/PublicGeneratedX", 0, 0},
        // The first keyword found decides, even when it then fails.
        {"/ws/PublicStuff/ProtectedInterfaces/a.h", 0, 0},
        // Only the first occurrence of a keyword is looked at.
        {"/ws/MyPublic/PublicInterfaces/a.h", 0, 0},
        {"/ws/MyPublic/ProtectedInterfaces/a.h", 3, 0},
        {"/ws/./Fw/V4Adaptors2/x.h", 4, 0},
        {"/ws/./Fw/V4Generated/x.h", 4, 1},
        {"/ws/./Fw/src/a.h", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases)
    {
        zbInterfaceName name(c._Path);
        EXPECT_EQ(name.GetExposureLevel(), c._Level) << c._Path;
        EXPECT_EQ(name.IsAGeneratedInterface(), c._Generated) << c._Path;
        EXPECT_EQ(name.IsAnInterface(), c._Level ? 1 : 0) << c._Path;
        EXPECT_STREQ(name.GetExposureName(), zbInterfaceName::_strLevel[c._Level]);
    }
    EXPECT_STREQ(zbInterfaceName("/a/PublicInterfaces/x.h").GetExposureName(), "PUBLIC");
}

TEST(zbInterfaceName, AssignmentsClassifyAgainAndCopiesKeepTheFields)
{
    zbInterfaceName name("/ws/./Fw/PublicGenerated/a.h");
    zbInterfaceName copy(name);
    EXPECT_EQ(copy.GetExposureLevel(), 4);
    EXPECT_EQ(copy.IsAGeneratedInterface(), 1);

    name = "/ws/./Fw/src/a.h";
    EXPECT_EQ(name.GetExposureLevel(), 0);
    EXPECT_EQ(name.IsAGeneratedInterface(), 0);

    name = zbFileName("/ws/./Fw/LocalInterfaces/b.h");
    EXPECT_EQ(name.GetExposureLevel(), 1);
    name = copy;
    EXPECT_EQ(name.GetExposureLevel(), 4);
    EXPECT_EQ(name.IsAGeneratedInterface(), 1);
    EXPECT_STREQ(name.GetPtrToFullname(), "/ws/./Fw/PublicGenerated/a.h");

    zbInterfaceName fromFileName(zbFileName("/x/ProtectedInterfaces"));
    EXPECT_EQ(fromFileName.GetExposureLevel(), 3);
    EXPECT_EQ(zbInterfaceName().GetExposureLevel(), 0);
}

TEST(zbInterfaceName, FrameworkName)
{
    QORString out("previous");
    EXPECT_EQ(zbInterfaceName("/ws/./Fw/PublicInterfaces/a.h").GetFrameworkName(out), &out);
    EXPECT_EQ(out, "Fw");
    EXPECT_EQ(zbInterfaceName("/ws/./Fw").GetFrameworkName(out), &out);
    EXPECT_EQ(out, "Fw");
    EXPECT_EQ(zbInterfaceName("/ws/.//Fw/a.h").GetFrameworkName(out), &out);
    EXPECT_EQ(out, "");
    out = "previous";
    EXPECT_EQ(zbInterfaceName("/ws/Fw/PublicInterfaces/a.h").GetFrameworkName(out), nullptr);
    EXPECT_EQ(out, "");
    // "/ws/./" loses its last separator, and with it the marker.
    EXPECT_EQ(zbInterfaceName("/ws/./").GetFrameworkName(out), nullptr);
}

TEST(zbInterfaceName, CompareLevel)
{
    zbInterfaceName local("/f/LocalInterfaces/a.h"), pub("/f/PublicInterfaces/a.h");
    zbInterfaceName pub2("/g/PublicGenerated/b.h"), none("/f/src/a.h"), none2("x.h");
    EXPECT_EQ(local.CompareLevel(pub), -1);
    EXPECT_EQ(pub.CompareLevel(local), 1);
    EXPECT_EQ(pub.CompareLevel(pub2), 0);
    EXPECT_EQ(local.CompareLevel(none), 1);
    EXPECT_EQ(none.CompareLevel(pub), -1);
    EXPECT_EQ(none.CompareLevel(none2), -1);
    EXPECT_EQ(none2.CompareLevel(none), -1);
}

TEST(zbInterfaceName, Dump)
{
    std::string text = DumpOf(zbInterfaceName("/ws/./Fw/ProtectedGenerated/a.h"));
    EXPECT_EQ(text.rfind("# - FileName:\n#   File object full pathname: "
                         "[/ws/./Fw/ProtectedGenerated/a.h]\n",
                         0),
              0u);
    EXPECT_EQ(Tail(text, "# - Interface name:"),
              "# - Interface name:\n"
              "#   Exposure level of this interfaces is: PROTECTED\n"
              "#   This is  a generated interfaces\n");
    EXPECT_EQ(Tail(DumpOf(zbInterfaceName("/ws/./Fw/PublicInterfaces/a.h")), "# - Interface name:"),
              "# - Interface name:\n"
              "#   Exposure level of this interfaces is: PUBLIC\n"
              "#   This is  NOT a generated interfaces\n");
    EXPECT_EQ(Tail(DumpOf(zbInterfaceName("/ws/src/a.h")), "# - Interface name:"),
              "# - Interface name:\n#   This is NOT an interface\n");
}

TEST(zbInterfaceName, TypedLists)
{
    QORListValzbInterfaceName values;
    values.Append(zbInterfaceName("/f/PublicInterfaces/a.h"));
    values.Append(zbInterfaceName("/f/LocalInterfaces/b.h"));
    EXPECT_EQ(values.Size(), 2);
    EXPECT_EQ(values[2].GetExposureLevel(), 1);
    EXPECT_EQ(values.Locate(zbInterfaceName("/f/LocalInterfaces/b.h")), 2);

    QORListPtrzbInterfaceName pointers;
    pointers.Append(&values[1]);
    pointers.Append(&values[2]);
    pointers.Append(&values[1]);
    EXPECT_EQ(pointers.RemoveDuplicates(), 1);
    EXPECT_EQ(pointers.Size(), 2);
}
