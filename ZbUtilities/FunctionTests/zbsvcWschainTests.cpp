// zbsvc wschain, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcWschain, ChainAndFailures)
{
    zbtest::TempDir ws;
    const std::string config = ws / "Install_config";
    EXPECT_EQ(Outcome(Zbsvc({"wschain", ws.Path()})),
              "1||# System error on " + config + ": No such file or directory\n");
    zbtest::WriteFile(config, "one line only\n");
    EXPECT_EQ(Outcome(Zbsvc({"wschain", ws.Path()})),
              "1||# Error: " + config +
                  " is not a workspace configuration: its second line, the workspace chain, is "
                  "missing\n");
    zbtest::WriteFile(config, "# workspace chain\n/ws/one:/ws/two::/ws/three\n");
    EXPECT_EQ(Outcome(Zbsvc({"wschain", ws.Path()})), "0|/ws/one\n/ws/two\n/ws/three\n|");

    EXPECT_EQ(Outcome(Zbsvc({"wschain"})), "2||zbsvc wschain: wrong number of arguments\n"
                                           "Try 'zbsvc help wschain'.\n");
    EXPECT_EQ(Zbsvc({"wschain", "a", "b"})._Status, 2);
}
