#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Program;

TEST(zbsvcContext, PrintsTheContextOfTheExampleTree)
{
    zbtest::ChildResult r = zbtest::Run({Program("zbsvc"), "context"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_NE(r._Out.find("# Current context:\n"), std::string::npos);
    EXPECT_NE(r._Out.find("#   Current Install path = [" + zbtest::SourcePath("examples/install") +
                          "]\n"),
              std::string::npos)
        << r._Out;
}

TEST(zbsvcContext, UsageErrors)
{
    zbtest::ChildResult none = zbtest::Run({Program("zbsvc")});
    EXPECT_EQ(none._Status, 2);
    EXPECT_NE(none._Err.find("context"), std::string::npos);
    zbtest::ChildResult unknown = zbtest::Run({Program("zbsvc"), "no-such-verb"});
    EXPECT_EQ(unknown._Status, 2);
    EXPECT_NE(unknown._Err.find("no-such-verb"), std::string::npos);
}

TEST(zbsvcContext, RefusesToStartWithoutItsEnvironment)
{
    zbtest::ChildEnvironment env;
    env._Unset = {"ZbzbOS_BitMode"};
    zbtest::ChildResult r = zbtest::Run({Program("zbsvc"), "context"}, env);
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_NE(r._Err.find("119"), std::string::npos);
}
