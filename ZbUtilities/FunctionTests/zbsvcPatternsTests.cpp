// zbsvc patterns, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
std::string SizeLine(const std::vector<std::string>& iArgs)
{
    zbtest::ChildResult result = Zbsvc(iArgs);
    EXPECT_EQ(result._Status, 0) << result._Err;
    return result._Out.substr(0, result._Out.find('\n'));
}
} // namespace

TEST(zbsvcPatterns, Sizes)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"patterns"}, "patterns size: 77"},
        {{"patterns", "-type", "1"}, "patterns size: 76"},
        // The data filter's 119 (row 159), then its test flag 118 (rows 140
        // and 151).
        {{"patterns", "-filter", "data"}, "patterns size: 78"},
        {{"patterns", "-filter", "data", "-tests"}, "patterns size: 80"},
        // Explicit flags add to the filter's.
        {{"patterns", "-filter", "data", "100", "1121"}, "patterns size: 82"},
        {{"patterns", "-type", "1", "-filter", "objects", "-sniff"}, "patterns size: 120"},
    };
    for (const auto& [args, size] : cases)
        EXPECT_EQ(SizeLine(args), size) << args.back();
}

TEST(zbsvcPatterns, Substituted)
{
    zbtest::ChildResult result =
        Zbsvc({"patterns", "-fw", "/ws/Fw", "-mod", "A.m", "-mod", "B.m", "-os", "linux", "110"});
    ASSERT_EQ(result._Status, 0) << result._Err;
    const std::string expected = "/ws/Fw/A.m rc: ZBIO_FOLLOW meta : [32]\n"
                                 "/ws/Fw/B.m rc: ZBIO_FOLLOW meta : [32]\n"
                                 "/ws/Fw/A.m rc: ZBIO_DONT_FOLLOW meta : [32]\n"
                                 "/ws/Fw/B.m rc: ZBIO_DONT_FOLLOW meta : [32]\n"
                                 "/ws/Fw/A.m/Objects rc: ZBIO_FOLLOW meta : [32]\n"
                                 "/ws/Fw/B.m/Objects rc: ZBIO_FOLLOW meta : [32]\n"
                                 "/ws/Fw/A.m/Objects rc: ZBIO_DONT_FOLLOW meta : [32]\n"
                                 "/ws/Fw/B.m/Objects rc: ZBIO_DONT_FOLLOW meta : [32]\n"
                                 "/ws/Fw/A.m/Objects/linux rc: ZBIO_FOLLOW_FOR_EVER meta : [32]\n"
                                 "/ws/Fw/B.m/Objects/linux rc: ZBIO_FOLLOW_FOR_EVER meta : [32]\n";
    // 82 patterns, the 14 that name a module twice.
    EXPECT_EQ(result._Out.substr(0, 72),
              "patterns size: 96\n/ws/Fw rc: ZBIO_FOLLOW meta : [32]\n/ws/Fw/Imakefile.mk");
    EXPECT_NE(result._Out.find(expected), std::string::npos) << result._Out;

    // Without -mod the module rows give nothing.
    result = Zbsvc({"patterns", "-fw", "/f", "-os", "x"});
    EXPECT_EQ(result._Out.find("%mod%"), std::string::npos);
    EXPECT_NE(
        result._Out.find("\n/f/IdentityCard/Objects/x rc: ZBIO_FOLLOW_FOR_EVER meta : [32]\n"),
        std::string::npos);
}

TEST(zbsvcPatterns, UsageErrors)
{
    for (const auto& args : {std::vector<std::string>{"patterns", "-filter", "some"},
                             {"patterns", "-type", "x"},
                             {"patterns", "12a"},
                             {"patterns", "-q"}})
    {
        zbtest::ChildResult result = Zbsvc(args);
        EXPECT_EQ(result._Status, 2) << args.back();
        EXPECT_EQ(result._Out, "");
        EXPECT_NE(result._Err.find("Try 'zbsvc help patterns'."), std::string::npos) << result._Err;
    }
}
