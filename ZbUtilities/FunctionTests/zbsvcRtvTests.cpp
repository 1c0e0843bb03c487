// zbsvc rtv merge and rtv list, end to end.

#include <sys/time.h>

#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbRTViewData> v1.0.0\n";

time_t MTime(const std::string& iPath)
{
    struct stat st;
    return ::stat(iPath.c_str(), &st) == 0 ? st.st_mtime : -1;
}

void SetOldTime(const std::string& iPath)
{
    struct timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(iPath.c_str(), old), 0);
}

struct Inputs
{
    TempDir _Dir;
    Inputs()
    {
        WriteFile(_Dir / "a.data", kMagic + "RTV/003/CUS lib/a.so|code/lib/a.so\n"
                                            "BTV/000/QXI inc/b.h\n");
        WriteFile(_Dir / "b.data", "!<zbRTViewData> v1.0.1\n"
                                   "RTV/001/QXI lib/a.so|code/lib/other.so\n"
                                   "DAT/002/CUS res/d.txt|resources/d.txt\n"
                                   "INT/000/QXI inc/b.h|x\n");
    }
    std::string operator/(const std::string& iName) const { return _Dir / iName; }
};

const char kReport[] = "# Error: Runtime-view element lib/a.so is given two runtime-view names: "
                       "code/lib/a.so and code/lib/other.so\n";
} // namespace

TEST(zbsvcRtv, MergeWritesOnlyWhenChanged)
{
    Inputs in;
    const std::string out = in / "out/merged.data";
    // Merge rules: the higher exposure for the same type, the higher type.
    const std::string merged = kMagic + "RTV/001/QXI lib/a.so|code/lib/other.so\n"
                                        "DAT/002/CUS res/d.txt|resources/d.txt\n"
                                        "INT/000/QXI inc/b.h|x\n";
    EXPECT_EQ(Outcome(Zbsvc({"rtv", "merge", "-o", out, in / "a.data", in / "b.data"})),
              "0|" + out + " written (3 elements)\n|");
    EXPECT_EQ(ReadFile(out), merged);

    SetOldTime(out);
    EXPECT_EQ(Outcome(Zbsvc({"rtv", "merge", "-o", out, in / "a.data", in / "b.data"})),
              "0|" + out + " unchanged (3 elements)\n|");
    EXPECT_EQ(MTime(out), 1000000000);

    // -dup reports conflicts between files; the result is the same.
    EXPECT_EQ(Outcome(Zbsvc({"rtv", "merge", "-dup", "-o", out, in / "a.data", in / "b.data"})),
              "0|" + out + " unchanged (3 elements)\n|" + kReport);

    // A conflict inside one file is always reported.
    WriteFile(in / "c.data", kMagic + "RTV/003/CUS lib/a.so|code/lib/a.so\n"
                                      "RTV/001/QXI lib/a.so|code/lib/other.so\n");
    EXPECT_EQ(Outcome(Zbsvc({"rtv", "merge", "-o", out, in / "c.data"})),
              "0|" + out + " written (1 element)\n|" + kReport);
    EXPECT_EQ(ReadFile(out), kMagic + "RTV/001/QXI lib/a.so|code/lib/other.so\n");
    EXPECT_NE(MTime(out), 1000000000);
}

TEST(zbsvcRtv, BadInputsWriteNothing)
{
    Inputs in;
    WriteFile(in / "empty.data", "");
    WriteFile(in / "old.data", "!<zbRTViewData> v0.9\nRTV/003/CUS x\n");
    const std::string out = in / "out.data";
    EXPECT_EQ(Outcome(Zbsvc({"rtv", "merge", "-o", out, in / "a.data", in / "none.data",
                             in / "empty.data", in / "old.data"})),
              "1||# System error on " + (in / "none.data") +
                  ": No such file or directory\n"
                  "# Error: Runtime-view data file " +
                  (in / "empty.data") +
                  " is empty\n"
                  "# Error: " +
                  (in / "old.data") +
                  " is not a runtime-view data file: its first line is not !<zbRTViewData> "
                  "v1.0.0 or a later version\n");
    EXPECT_EQ(MTime(out), -1);
    for (std::vector<std::string> usage :
         {std::vector<std::string>{"merge", in / "a.data"}, {"merge", "-o", out}, {"x"}, {}})
    {
        usage.insert(usage.begin(), "rtv");
        EXPECT_EQ(Zbsvc(usage)._Status, 2) << usage.size();
    }
}

// A write cut short by a file-size limit leaves the old file as it was and
// nothing beside it.
TEST(zbsvcRtv, FailedWriteKeepsTheOldFile)
{
    Inputs in;
    std::string big = kMagic;
    for (int i = 0; i < 3000; ++i)
        big += "RTV/001/CUS lib/file" + std::to_string(i) + ".so|code/lib/file" +
               std::to_string(i) + ".so\n";
    WriteFile(in / "big.data", big);
    const std::string out = in / "out/merged.data";
    const std::string old = kMagic + "INT/000/QXI old|old\n";
    WriteFile(out, old);

    auto limited =
        zbtest::Run({"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\"",
                     zbtest::Program("zbsvc"), "rtv", "merge", "-o", out, in / "big.data"});
    EXPECT_EQ(Outcome(limited), "1||# System error on " + out + ": File too large\n");
    EXPECT_EQ(ReadFile(out), old);
    EXPECT_EQ(zbtest::Entries(in / "out"), "merged.data\n");

    // A directory where the new file cannot be made, for a user who is
    // not allowed to write there.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run the child as another user";
    ::chmod(in._Dir.Path().c_str(), 0755);
    ::chmod((in / "out").c_str(), 0555);
    auto denied =
        zbtest::Run({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                     zbtest::Program("zbsvc"), "rtv", "merge", "-o", out, in / "a.data"});
    EXPECT_EQ(Outcome(denied), "1||# System error on " + out + ": Permission denied\n");
    EXPECT_EQ(ReadFile(out), old);
    EXPECT_EQ(zbtest::Entries(in / "out"), "merged.data\n");
}

TEST(zbsvcRtv, ListWithMasks)
{
    Inputs in;
    const std::string merged = in / "m.data";
    ASSERT_EQ(Zbsvc({"rtv", "merge", "-o", merged, in / "a.data", in / "b.data"})._Status, 0);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{},
         "RTV/001/QXI lib/a.so|code/lib/other.so\nDAT/002/CUS res/d.txt|resources/d.txt\n"
         "INT/000/QXI inc/b.h|x\n"},
        {{"-type", "RTV,Data"},
         "RTV/001/QXI lib/a.so|code/lib/other.so\n"
         "DAT/002/CUS res/d.txt|resources/d.txt\n"},
        {{"-type", "0x104", "-exp", "CUS"}, "DAT/002/CUS res/d.txt|resources/d.txt\n"},
        {{"-exp", "2"}, "RTV/001/QXI lib/a.so|code/lib/other.so\nINT/000/QXI inc/b.h|x\n"},
        {{"-exp", "Deliverable,NotDeliverable", "-type", "2"}, ""},
    };
    for (const auto& [masks, out] : cases)
    {
        std::vector<std::string> args{"rtv", "list"};
        args.insert(args.end(), masks.begin(), masks.end());
        args.push_back(merged);
        EXPECT_EQ(Outcome(Zbsvc(args)), "0|" + out + "|") << args.size();
    }
    for (const char* bad : {"", "RTV,", "Runtimes", "12x", "-1", "0x"})
        EXPECT_EQ(Zbsvc({"rtv", "list", "-type", bad, merged})._Status, 2) << bad;
    EXPECT_EQ(Zbsvc({"rtv", "list", "-exp", "RTV", merged})._Status, 2);
}
