// zbsvc context, end to end.

#include "zbTestSupport.h"

using zbtest::Program;

TEST(zbsvcContext, VerboseShowsSearchPathsAndMainSpecifications)
{
    const std::string ex = zbtest::SourcePath("examples/install");
    zbtest::ChildResult r = zbtest::Run({Program("zbsvc"), "context", "-v"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    size_t at = r._Out.find("# Current concatenations:\n");
    ASSERT_NE(at, std::string::npos) << r._Out;
    const std::string tail = r._Out.substr(at);
    // The layout of the dump is checked through zbContextSearchPaths; here, the
    // three search paths of the example tree.
    for (const char* sub : {"config", "trame", "data"})
        EXPECT_NE(
            tail.find("#  List of searched path:\n#   [" + ex + "/./code/tools/" + sub + "]\n"),
            std::string::npos)
            << tail;
    // The main specifications of the example tree, resolved.
    EXPECT_NE(tail.find("#  - 'ProductTitle' = [zbzb V5]\n"), std::string::npos) << tail;
    EXPECT_NE(tail.find("#  - 'ToolsData' = [" + ex + "/code/tools/data]\n"), std::string::npos);

    // Without -v nothing is built, so nothing follows the heading.
    r = zbtest::Run({Program("zbsvc"), "context"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_NE(r._Out.find("#   Current Install path = [" + ex + "]\n"), std::string::npos)
        << r._Out;
    EXPECT_EQ(r._Out.substr(r._Out.size() - 26), "# Current concatenations:\n");
}
