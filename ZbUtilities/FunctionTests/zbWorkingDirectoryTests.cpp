// $PWD is believed only while it names the current directory.  (A stale
// $PWD, and a change to a missing directory, are met by zbScriptTests.)

#include <climits>

#include "zbDirectories.h"
#include "zbTestSupport.h"

TEST(zbWorkingDirectory, PwdIsKeptOnlyWhileItNamesTheCurrentDirectory)
{
    zbtest::TempDir temp;
    char real[PATH_MAX];
    ASSERT_NE(realpath(temp.Path().c_str(), real), nullptr);
    const std::string dir = real;
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink((dir + "/sub").c_str(), (dir + "/link").c_str()), 0);

    char saved[PATH_MAX];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    zbtest::ScopedEnv pwd("PWD", nullptr);

    // from: where the process is, named as $PWD names it; set: zbSetPWD's argument,
    // or null
    const std::tuple<const char*, const char*, std::string> rows[] = {
        // $PWD through a link to "." keeps the link's text,
        {"/link", nullptr, dir + "/link"},
        // and leaving the link's directory drops it.
        {"/link", "..", dir},
    };
    for (const auto& [from, set, expected] : rows)
    {
        SCOPED_TRACE(std::string(from) + " " + (set ? set : "-"));
        const std::string start = dir + from;
        ASSERT_EQ(chdir(start.c_str()), 0);
        setenv("PWD", start.c_str(), 1);
        if (set)
        {
            ASSERT_EQ(zbSetPWD(set), 0);
        }
        const char* pwd = zbGetPWD();
        ASSERT_NE(pwd, nullptr);
        EXPECT_EQ(std::string(pwd), expected);
    }

    EXPECT_EQ(chdir(saved), 0);
}
