// zbsvc rtview over the example workspace, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kWs = zbtest::SourcePath("examples/workspace");
const std::string kMagic = "!<zbRTViewData> v1.0.0\n";

// FwAlpha for linux_a64: its framework data and AlphaCore.m's module data.
const std::string kAlphaLinux =
    kMagic + "RTV/001/CUS lib/libAlphaCore.so|code/lib/libAlphaCore.so\n"
             "DAT/000/CUS resources/Alpha.msgcat|"
             "code/resources/msgcatalog/Alpha.msgcat\n"
             "INT/000/QXI Objects/AlphaCore.o|Objects/AlphaCore.o\n"
             "BTV/000/QXI PublicInterfaces/AlphaCore.h|code/include/AlphaCore.h\n"
             "RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt\n";
// Both systems merged: the win_b64 files added, the same elements once.
const std::string kAlphaBoth = kMagic +
                               "RTV/001/CUS lib/libAlphaCore.so|code/lib/libAlphaCore.so\n"
                               "RTV/000/CUS doc/Alpha-win.txt|code/doc/Alpha-win.txt\n"
                               "RTV/001/CUS bin/AlphaCore.dll|code/bin/AlphaCore.dll\n"
                               "DAT/000/CUS resources/Alpha.msgcat|"
                               "code/resources/msgcatalog/Alpha.msgcat\n"
                               "INT/000/QXI Objects/AlphaCore.o|Objects/AlphaCore.o\n"
                               "BTV/000/QXI PublicInterfaces/AlphaCore.h|code/include/AlphaCore.h\n"
                               "RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt\n";
const std::string kGhost = "# Warning: " + kWs +
                           "/FwAlpha/various/win_b64/AlphaGhost.m/module.data ignored: its module "
                           "has no Imakefile.mk\n";

std::string Counts(const std::string& iFw, int iProblem, int iMissing, int iFailures)
{
    return kWs + "/" + iFw + ": framework data problem " + std::to_string(iProblem) +
           ", modules without data " + std::to_string(iMissing) + ", load failures " +
           std::to_string(iFailures) + "\n";
}
} // namespace

TEST(zbsvcRtview, StrictAndMergedViews)
{
    // expected: status|stdout|stderr
    const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
        {"one system: its own framework data; a module without data counted",
         {"-os", "linux_a64", kWs + "/FwAlpha"},
         "1|" + kAlphaLinux + Counts("FwAlpha", 0, 1, 0) +
             "|# Error: Framework FwAlpha: module AlphaTools.m has no module.data\n"},
        {"one system: a data file without module is not looked at",
         {"-os", "win_b64", kWs + "/FwAlpha"},
         "1|" + kMagic + "RTV/000/CUS doc/Alpha-win.txt|code/doc/Alpha-win.txt\n" +
             "RTV/001/CUS bin/AlphaCore.dll|code/bin/AlphaCore.dll\n"
             "DAT/000/CUS resources/Alpha.msgcat|code/resources/msgcatalog/Alpha.msgcat\n"
             "BTV/000/QXI PublicInterfaces/AlphaCore.h|code/include/AlphaCore.h\n" +
             Counts("FwAlpha", 0, 1, 0) +
             "|# Error: Framework FwAlpha: module AlphaTools.m has no module.data\n"},
        {"through a link, everything there",
         {"-os", "linux_a64", kWs + "/FwBetaLink"},
         "0|" + kMagic + "RTV/000/CUS bin/betamain|code/bin/betamain\n" +
             "DAT/000/CUS resources/Beta.msgcat|code/resources/msgcatalog/Beta.msgcat\n" +
             Counts("FwBetaLink", 0, 0, 0) + "|"},
        {"through a link, a system without data",
         {"-os", "win_b64", kWs + "/FwBetaLink"},
         "1|" + kMagic + Counts("FwBetaLink", 1, 1, 0) +
             "|# Error: Framework FwBetaLink: module BetaMain.m has no module.data\n"
             "# Error: Framework FwBetaLink has no framework.data\n"},
        {"several systems merged, the stray data file warned about",
         {"-os", "linux_a64", "-os", "win_b64", kWs + "/FwAlpha"},
         "0|" + kAlphaBoth + "|" + kGhost},
        {"merged with a module list: the listed modules only",
         {"-os", "linux_a64", "-mod", "AlphaTools.m", kWs + "/FwAlpha"},
         "0|" + kMagic + "DAT/000/CUS resources/Alpha.msgcat|" +
             "code/resources/msgcatalog/Alpha.msgcat\n" +
             "RTV/000/CUS doc/Alpha-linux.txt|code/doc/Alpha.txt\n|"},
        {"a missing framework",
         {"-os", "linux_a64", "-os", "win_b64", kWs + "/FwGamma"},
         "1||# Warning: " + kWs + "/FwGamma : No such file or directory\n"},
    };
    for (const auto& [name, given, expected] : cases)
    {
        std::vector<std::string> args{"rtview"};
        args.insert(args.end(), given.begin(), given.end());
        EXPECT_EQ(expected, Outcome(Zbsvc(args))) << name;
    }
}

TEST(zbsvcRtview, WritesTheDataFile)
{
    TempDir dir;
    const std::string out = dir / "FwAlpha.data";
    EXPECT_EQ("0||" + kGhost, Outcome(Zbsvc({"rtview", "-os", "linux_a64", "-os", "win_b64", "-o",
                                             out, kWs + "/FwAlpha"})));
    EXPECT_EQ(kAlphaBoth, ReadFile(out));
    // The strict form writes what it found and still prints its counts.
    EXPECT_EQ("1|" + Counts("FwAlpha", 0, 1, 0) +
                  "|# Error: Framework FwAlpha: module AlphaTools.m has no module.data\n",
              Outcome(Zbsvc({"rtview", "-os", "linux_a64", "-o", out, kWs + "/FwAlpha"})));
    EXPECT_EQ(kAlphaLinux, ReadFile(out));
}

TEST(zbsvcRtview, BadCommandLines)
{
    const std::vector<std::vector<std::string>> lines = {
        {"rtview", kWs + "/FwAlpha"},
        {"rtview", "-os", "linux*", kWs + "/FwAlpha"},
        {"rtview", "-os", "linux_a64"},
        {"rtview", "-os", "linux_a64", kWs + "/FwAlpha", kWs + "/FwBeta"},
    };
    for (const auto& line : lines)
    {
        zbtest::ChildResult r = Zbsvc(line);
        EXPECT_EQ(2, r._Status) << line.size();
        EXPECT_EQ("", r._Out);
        EXPECT_NE(std::string::npos, r._Err.find("Try 'zbsvc help rtview'.")) << r._Err;
    }
}
