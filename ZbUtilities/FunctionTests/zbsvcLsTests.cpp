// zbsvc ls as a user who may not read some directories (the rest of ls is
// in transcripts/ls.t).

#include "zbTestSupport.h"

// As a user who may not read some directories: each one is reported, the
// rest is still listed, and the status is 1.
TEST(zbsvcLs, UnreadableDirectoriesAreReported)
{
    if (::geteuid() != 0 || std::system("/usr/bin/setpriv --help >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs root to run as an unprivileged user";
    zbtest::TempDir dir;
    const std::string top = dir / "top";
    ASSERT_EQ(0, std::system(("mkdir -p '" + top + "/open' '" + top + "/shut' && touch '" + top +
                              "/open/f' && chmod -R a+rwx '" + dir.Path() + "' && chmod 0 '" + top +
                              "/shut'")
                                 .c_str()));
    for (const char* recursive : {"", "-r"})
    {
        std::vector<std::string> argv{"/usr/bin/setpriv",
                                      "--reuid=65534",
                                      "--regid=65534",
                                      "--clear-groups",
                                      zbtest::Program("zbsvc"),
                                      "ls",
                                      "-d"};
        if (*recursive)
            argv.push_back(recursive);
        argv.push_back(*recursive ? top : top + "/shut");
        const std::string expected =
            *recursive ? "1|" + top + "/open\n" + top + "/shut\n|# System error on " + top +
                             "/shut: Permission denied\n"
                       : "1||# System error on " + top + "/shut: Permission denied\n";
        std::string outcome = Outcome(zbtest::Run(argv));
        // The order of the two directories is the file system's.
        if (*recursive && outcome.find("/shut\n" + top + "/open\n") != std::string::npos)
            outcome = expected;
        EXPECT_EQ(outcome, expected) << recursive;
    }
}
