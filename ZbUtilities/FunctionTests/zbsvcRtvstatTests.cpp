// zbsvc rtvstat, end to end.

#include <utime.h>

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
void Install(const std::string& iPath, size_t iSize, time_t iTime)
{
    WriteFile(iPath, std::string(iSize, 'x'));
    struct utimbuf times = {iTime, iTime};
    ::utime(iPath.c_str(), &times);
}
} // namespace

TEST(zbsvcRtvstat, RecordsInstalledFilesPerFramework)
{
    zbtest::TempDir dir;
    Install(dir / "root/A/tool", 12, 34);
    Install(dir / "root/B/tool", 5, 1700000000);
    WriteFile(dir / "a.data", "!<zbRTViewData> v1.0.0\nRTV/000/CUS bin/tool|A/tool\n"
                              "BTV/001/QXI lib/gone|A/gone\n");
    WriteFile(dir / "b.data", "!<zbRTViewData> v1.0.0\nRTV/000/CUS bin/tool|B/tool\n");

    zbtest::ChildResult r = Zbsvc({"rtvstat", "-root", dir / "root", "-o", dir / "out/s.stat",
                                   "A=" + dir / "a.data", "B=" + dir / "b.data"});
    ASSERT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, dir / "out/s.stat" + " written (3 elements, 1 not installed)\n");
    EXPECT_NE(r._Err.find("A/gone of framework A is not installed"), std::string::npos) << r._Err;
    std::string text = ReadFile(dir / "out/s.stat");
    EXPECT_EQ(text.substr(0, 27), "!<zbRTViewDataStat> v1.0.0\n");
    EXPECT_NE(text.find("RTV/000/CUS bin/tool|A/tool|12@34|A\n"), std::string::npos) << text;
    EXPECT_NE(text.find("BTV/001/QXI lib/gone|A/gone|0@0|A\n"), std::string::npos) << text;
    EXPECT_NE(text.find("RTV/000/CUS bin/tool|B/tool|5@1700000000|B\n"), std::string::npos);
    EXPECT_EQ(text.size(), 27u + 36 + 34 + 43);

    r = Zbsvc({"rtvstat", "-list", dir / "out/s.stat", "B"});
    ASSERT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "RTV/000/CUS bin/tool|B/tool|5@1700000000|B\n");
    r = Zbsvc({"rtvstat", "-list", dir / "out/s.stat"});
    EXPECT_EQ(r._Out, text.substr(27));

    // Printed without -o; the root defaults to the current directory.
    r = Zbsvc({"rtvstat", "B=" + dir / "b.data"});
    EXPECT_EQ(r._Status, 0);
    EXPECT_EQ(r._Out, "!<zbRTViewDataStat> v1.0.0\nRTV/000/CUS bin/tool|B/tool|0@0|B\n");
}

TEST(zbsvcRtvstat, Failures)
{
    zbtest::TempDir dir;
    WriteFile(dir / "data", "!<zbRTViewData> v1.0.0\n");
    WriteFile(dir / "stat", "!<zbRTViewDataStat> v1.0.0\n");
    const std::tuple<std::vector<std::string>, int, const char*> rows[] = {
        /* 0 */ {{"rtvstat"}, 2, "no FW=DATAFILE"},
        /* 1 */ {{"rtvstat", "Fw"}, 2, "is not FW=DATAFILE"},
        /* 2 */ {{"rtvstat", "-list", dir / "stat", "A", "B"}, 2, "at most one framework"},
        /* 3 */ {{"rtvstat", "-list", dir / "stat", "-o", dir / "x"}, 2, "without -root"},
        /* 4 */ {{"rtvstat", "-list", dir / "stat", "A"}, 1, "holds no framework A"},
        /* 5 */ {{"rtvstat", "-list", dir / "data"}, 1, "is not a statistics file"},
        /* 6 */ {{"rtvstat", "A=" + dir / "stat"}, 1, "is not a runtime-view data file"},
        /* 7 */ {{"rtvstat", "A=" + dir / "missing"}, 1, "missing"},
    };
    for (const auto& [args, status, err] : rows)
    {
        zbtest::ChildResult r = Zbsvc(args);
        EXPECT_EQ(r._Status, status) << err;
        EXPECT_NE(r._Err.find(err), std::string::npos) << r._Err;
    }
    zbtest::ChildResult r = Zbsvc({"rtvstat", "-o", dir / "empty", "A=" + dir / "data"});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(ReadFile(dir / "empty"), "!<zbRTViewDataStat> v1.0.0\n");
}
