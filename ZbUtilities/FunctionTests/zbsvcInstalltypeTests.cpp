// zbsvc installtype, end to end, over the example frameworks.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcInstalltype, ExampleFrameworks)
{
    const std::string ws = zbtest::SourcePath("examples/workspace");
    EXPECT_EQ("0|10 " + ws + "/FwAlpha\n1 " + ws + "/FwBeta\n1 " + ws + "/FwBetaLink\n0 " + ws +
                  "/FwAlpha/AlphaCore.m\n|",
              Outcome(Zbsvc({"installtype", ws + "/FwAlpha", ws + "/FwBeta", ws + "/FwBetaLink",
                             ws + "/FwAlpha/AlphaCore.m"})));
    EXPECT_EQ(2, Zbsvc({"installtype"})._Status);
}
