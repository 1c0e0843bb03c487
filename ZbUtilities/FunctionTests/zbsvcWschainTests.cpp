// zbsvc wschain, end to end.

#include <string>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;

using zbtest::TempDir;

TEST(zbsvcWschain, PrintsTheChain)
{
    TempDir ws;
    zbtest::WriteFile(ws / "Install_config", "# workspace chain\n/ws/one:/ws/two::/ws/three\n");
    auto result = zbtest::Run({Program("zbsvc"), "wschain", ws.Path()});
    EXPECT_EQ(result._Status, 0) << result._Err;
    EXPECT_EQ(result._Out, "/ws/one\n/ws/two\n/ws/three\n");
    EXPECT_EQ(result._Err, "");
}

TEST(zbsvcWschain, Failures)
{
    TempDir ws;
    auto result = zbtest::Run({Program("zbsvc"), "wschain", ws.Path()});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Out, "");
    EXPECT_EQ(result._Err,
              "# System error on " + ws.Path() + "/Install_config: No such file or directory\n");

    zbtest::WriteFile(ws / "Install_config", "one line only\n");
    result = zbtest::Run({Program("zbsvc"), "wschain", ws.Path()});
    EXPECT_EQ(result._Status, 1);
    EXPECT_EQ(result._Err,
              "# System error on " + ws.Path() + "/Install_config: Bad file descriptor\n");

    result = zbtest::Run({Program("zbsvc"), "wschain"});
    EXPECT_EQ(result._Status, 2);
    EXPECT_EQ(result._Err, "zbsvc wschain: expects the arguments WS\n"
                           "zbsvc wschain usage:\n"
                           "   -h : print this help\n"
                           "   --help : print this help\n"
                           "   arguments: WS\n");
    result = zbtest::Run({Program("zbsvc"), "wschain", "a", "b"});
    EXPECT_EQ(result._Status, 2);
}
