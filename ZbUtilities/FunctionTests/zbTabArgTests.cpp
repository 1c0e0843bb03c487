// zbTabArg: growth, owned copies (seen through the dump), the fatal index check.

#include "zbOFStream.h"
#include "zbTabArg.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

TEST(zbTabArg, ArraysAndStringsGrowTheVector)
{
    const char* argv[] = {"prog", "-a", "b", nullptr, "hidden"};
    zbTabArg args(1, 0); // a zero increment still makes room
    args.AddArray(argv, 1);
    args.AddArray(5, argv, 4);
    args.AddArray(2, argv, 2);
    args.AddString(nullptr);
    args.AddString("");
    {
        std::string command = "   make  -k\tx  all ";
        args.AddString(command.c_str());
        command = "gone"; // the vector owns its copy
    }
    args.AddString("   ");
    EXPECT_EQ("# Argv[0] = [-a]\n# Argv[1] = [b]\n# Argv[2] = [hidden]\n# Argv[3] = [make]\n"
              "# Argv[4] = [-k\tx]\n# Argv[5] = [all]\n# Argv[6] = []\n",
              zbtest::Written([&](zbOFStream& out) { args.Dump(out); }));
    EXPECT_EQ(argv[1], args[0]); // not copied
}

// Growth by a non-zero increment, many times over.
TEST(zbTabArg, LongCommandsGrowStepByStep)
{
    std::string command;
    for (int i = 0; i < 10000; ++i)
        command += "w" + std::to_string(i) + (i % 3 ? " " : "   ");
    zbTabArg args(2, 7);
    args.AddString(command.c_str());
    ASSERT_EQ(10000u, args.Argc());
    EXPECT_STREQ("w9999", args[9999]);
}

TEST(zbTabArg, IndexOutOfRangeIsFatal)
{
    zbtest::ChildEnvironment env;
    env._Unset.push_back("QOR_DEVELOPMENT_STAGE");
    zbtest::ChildResult r = zbtest::Run({zbtest::Program("zbProbe"), "tabarg", "1", "x"}, env);
    ASSERT_EQ(1, r._Exited);
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("# Fatal error: Internal error: iPos >= 0 && iPos < _Argc at line 166 of "
              "ZbUtilities/QORZbServices.m/src/zbTabArg\n",
              r._Err);
    r = zbtest::Run({zbtest::Program("zbProbe"), "tabarg", "0", "x"}, env);
    EXPECT_EQ("x\n", r._Out);
}
