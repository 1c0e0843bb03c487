// zbsvc msg, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcMsg, PrintsUnderTheOuterKey)
{
    EXPECT_EQ(Outcome(Zbsvc({"msg", "zbzbFatal.InternalLine", "a<b", "12"})),
              "0|# Internal error: a<b at line 12 of ???\n|");
    EXPECT_EQ(Outcome(Zbsvc({"msg", "-k", "zbzbErrorWithId", "zbzbFatal.Abort", "6", "extra"})),
              "0|# Error [Process aborted (status 6)]: ???\n|");
}

TEST(zbsvcMsg, UnknownKeysAndUsage)
{
    EXPECT_EQ(Outcome(Zbsvc({"msg", "no.such.key"})),
              "1||# Error: Message key no.such.key not found in the catalog QORZbMessages\n");
    EXPECT_EQ(Outcome(Zbsvc({"msg", "-k", "noOuter", "zbzbFatal.Interrupt"})),
              "1||# Error: Message key noOuter not found in the catalog QORZbMessages\n");
    for (const auto& args : {std::vector<std::string>{"msg"},
                             {"msg", "-k"},
                             {"msg", "-k", "zbzbInfo"},
                             {"msg", "-x", "k"}})
        EXPECT_EQ(Zbsvc(args)._Status, 2) << args.back();
}
