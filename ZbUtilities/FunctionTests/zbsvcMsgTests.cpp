// zbsvc msg, end to end.

#include <gtest/gtest.h>

#include "zbTestSupport.h"

namespace
{
zbtest::ChildResult Msg(const std::vector<std::string>& iArgs)
{
    std::vector<std::string> argv = {zbtest::Program("zbsvc"), "msg"};
    argv.insert(argv.end(), iArgs.begin(), iArgs.end());
    return zbtest::Run(argv);
}
} // namespace

TEST(zbsvcMsg, PrintsUnderTheOuterKey)
{
    zbtest::ChildResult r = Msg({"zbzbFatal.InternalLine", "a<b", "12"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("# Internal error: a<b at line 12 of ???\n", r._Out);
    EXPECT_EQ("", r._Err);

    r = Msg({"-k", "zbzbErrorWithId", "zbzbFatal.Abort", "6", "extra"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("# Error [Process aborted (status 6)]: ???\n", r._Out);
}

TEST(zbsvcMsg, UnknownKeysAndUsage)
{
    zbtest::ChildResult r = Msg({"no.such.key"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("", r._Out);
    EXPECT_EQ("# Error: Message key no.such.key not found in the catalog QORZbMessages\n", r._Err);
    r = Msg({"-k", "noOuter", "zbzbFatal.Interrupt"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("# Error: Message key noOuter not found in the catalog QORZbMessages\n", r._Err);
    for (const auto& args : {std::vector<std::string>{}, {"-k"}, {"-k", "zbzbInfo"}, {"-x", "k"}})
        EXPECT_EQ(2, Msg(args)._Status);
}
