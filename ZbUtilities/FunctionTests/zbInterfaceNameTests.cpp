// Interface names: classification, framework name (the dump is run by
// the replayed corpus).

#include "zbInterfaceName.h"
#include "zbTestSupport.h"

TEST(zbInterfaceName, Classification)
{
    // path, exposure level, generated
    const std::tuple<const char*, int, int> cases[] = {
        {"/ws/./Fw/ProtectedGenerated/a.h", 3, 1},
        {"/ws/./Fw/PrivateInterfaces/sub/a.h", 2, 0},
        {"/ws/./Fw/LocalInterfaces", 1, 0},
        {"/ws/./Fw/LocalGenerated/", 1, 1},
        {"PublicInterfaces/a.h", 4, 0},
        {"\\ws\\Fw\\PrivateGenerated\\a.h", 2, 1},
        {"/ws/./Fw/PublicInterfacesOld/a.h", 0, 0},
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
    for (const auto& [path, level, generated] : cases)
    {
        zbInterfaceName name(path);
        EXPECT_EQ(name.GetExposureLevel(), level) << path;
        EXPECT_EQ(name.IsAGeneratedInterface(), generated) << path;
        EXPECT_EQ(name.IsAnInterface(), level ? 1 : 0) << path;
    }
}

TEST(zbInterfaceName, AssignmentsClassifyAgainAndCopiesKeepTheFields)
{
    zbInterfaceName name("/ws/./Fw/PublicGenerated/a.h");
    zbInterfaceName copy(name);
    name = "/ws/./Fw/src/a.h";
    EXPECT_EQ(name.GetExposureLevel() * 10 + name.IsAGeneratedInterface(), 0);
    name = zbFileName("/ws/./Fw/LocalInterfaces/b.h");
    EXPECT_EQ(name.GetExposureLevel() * 10 + name.IsAGeneratedInterface(), 10);
    name = copy;
    EXPECT_EQ(name.GetExposureLevel() * 10 + name.IsAGeneratedInterface(), 41);
    EXPECT_STREQ(name.GetPtrToFullname(), "/ws/./Fw/PublicGenerated/a.h");
    EXPECT_EQ(zbInterfaceName(zbFileName("/x/ProtectedInterfaces")).GetExposureLevel(), 3);
    EXPECT_EQ(zbInterfaceName().GetExposureLevel(), 0);
}

// How levels compare, and which component is the framework, the replayed
// corpus checks against their rules on any two paths; here, whole components
// and a name without framework, which empties the one given.
TEST(zbInterfaceName, FrameworkName)
{
    QORString out("previous");
    EXPECT_EQ(zbInterfaceName("/ws/./Fw/PublicInterfaces/a.h").GetFrameworkName(out), &out);
    EXPECT_EQ(out, "Fw");
    EXPECT_EQ(zbInterfaceName("/ws/./Fw").GetFrameworkName(out), &out);
    EXPECT_EQ(out, "Fw");
    EXPECT_EQ(zbInterfaceName("/ws/Fw/PublicInterfaces/a.h").GetFrameworkName(out), nullptr);
    EXPECT_EQ(out, "");
}
