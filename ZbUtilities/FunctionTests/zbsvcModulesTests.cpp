// zbsvc modules over the example workspace, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcModules, NamesByTypeAndExposure)
{
    const std::string alpha = zbtest::SourcePath("examples/workspace/FwAlpha");
    const std::string ghost = "# Warning: " + alpha +
                              "/various/win_b64/AlphaGhost.m/module.data ignored: its module has "
                              "no Imakefile.mk\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-os", "linux_a64", "-exp", "QXI"},
         "0|Objects/AlphaCore.o\nPublicInterfaces/AlphaCore.h\n|"},
        {{"-os", "linux_a64", "-type", "Data,BTV"},
         "0|resources/Alpha.msgcat\nPublicInterfaces/AlphaCore.h\n|"},
        {{"-os", "linux_a64", "-os", "win_b64", "-type", "Runtime"},
         "0|doc/Alpha-win.txt\ndoc/Alpha-linux.txt\nbin/AlphaCore.dll\nlib/libAlphaCore.so\n|" +
             ghost},
        {{"-os", "mac_a64"}, "0||"}, // no data at all for that system
    };
    for (const auto& [given, expected] : cases)
    {
        std::vector<std::string> args{"modules"};
        args.insert(args.end(), given.begin(), given.end());
        args.push_back(alpha);
        EXPECT_EQ(expected, Outcome(Zbsvc(args))) << args[2];
    }
    EXPECT_EQ(1, Zbsvc({"modules", "-os", "linux_a64", alpha + "/none"})._Status);
    EXPECT_EQ(2, Zbsvc({"modules", "-os", "linux_a64", "-type", "bogus", alpha})._Status);
    EXPECT_EQ(2, Zbsvc({"modules", alpha})._Status);
}
