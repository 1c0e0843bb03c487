// zbsvc installtype, end to end: the example frameworks (the marker in the
// framework, in various/, through a link, none) in one run.

#include <string>

#include <gtest/gtest.h>

#include "zbTestSupport.h"

using zbtest::Outcome;
using zbtest::Zbsvc;

TEST(zbsvcInstalltype, ExampleFrameworks)
{
    const std::string ws = zbtest::SourcePath("examples/workspace");
    EXPECT_EQ("0|10 " + ws + "/FwAlpha\n1 " + ws + "/FwBeta\n1 " + ws + "/FwBetaLink\n0 " + ws +
                  "/FwAlpha/AlphaCore.m\n|",
              Outcome(Zbsvc({"installtype", ws + "/FwAlpha", ws + "/FwBeta", ws + "/FwBetaLink",
                             ws + "/FwAlpha/AlphaCore.m"})));
    EXPECT_EQ(2, Zbsvc({"installtype"})._Status);
}
