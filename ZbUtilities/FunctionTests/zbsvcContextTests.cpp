#include <gtest/gtest.h>

#include "zbTestSupport.h"

TEST(zbsvcContext, PrintsTheContextOfTheExampleTree)
{
    zbtest::ChildResult r = zbtest::Zbsvc({"context"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_NE(r._Out.find("# Current context:\n"), std::string::npos) << r._Out;
    EXPECT_NE(r._Out.find("#   Current Install path = [" + zbtest::SourcePath("examples/install") +
                          "]\n"),
              std::string::npos)
        << r._Out;
}

TEST(zbsvcContext, RefusesToStartWithoutItsEnvironment)
{
    zbtest::ChildEnvironment env;
    env._Unset = {"ZbzbOS_BitMode"};
    zbtest::ChildResult r = zbtest::Zbsvc({"context"}, env);
    EXPECT_EQ(r._Status, 1);
    EXPECT_EQ(r._Out, "");
    EXPECT_NE(r._Err.find("119"), std::string::npos);
}
