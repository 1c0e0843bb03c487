// zbsvc version [-level DIR], end to end.

#include <ctime>

#include "zbTestSupport.h"

using zbtest::Program;
using zbtest::Zbsvc;

namespace
{
std::string Values(const char* iMajor, const char* iMinor, const char* iPack,
                   const std::string& iBuild)
{
    return std::string("MajorVersion = ") + iMajor + "\nMinorVersion = " + iMinor +
           "\nServicePack  = " + iPack + "\nBuildNumber  = " + iBuild + "\n";
}

// (year mod 100) x 1000 + day of the year, from 1.
std::string Today()
{
    std::time_t now = std::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    return std::to_string((local.tm_year % 100) * 1000 + local.tm_yday + 1);
}

const std::string kExampleLevels = zbtest::SourcePath("examples/install/code/tools/data");
} // namespace

TEST(zbsvcVersion, ExampleTree)
{
    zbtest::ChildEnvironment env;
    env._Set["Zbzb_SPKLEVEL"] = "3";
    std::string before = Today();
    zbtest::ChildResult r = Zbsvc({"version", "-level", kExampleLevels}, env);
    EXPECT_EQ(0, r._Status) << r._Err;
    EXPECT_EQ("", r._Err);
    // Around midnight the day may change during the run.
    EXPECT_TRUE(r._Out == Values("5", "21", "3", before) ||
                r._Out == Values("5", "21", "3", Today()))
        << r._Out;

    env._Unset = {"Zbzb_SPKLEVEL"};
    env._Set.clear();
    r = Zbsvc({"version", "-level", kExampleLevels}, env);
    EXPECT_EQ(0u, r._Out.find("MajorVersion = 5\nMinorVersion = 21\nServicePack  = 0\n")) << r._Out;

    // The levels choose the branch of the version data: without ZB_RELEASE
    // the minor version is 0.  Without -level: the current directory, as the
    // shell names it.
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "TALVEXV5Level.lvl", "#define ZB_V5\n");
    env._Set["PWD"] = dir.Path();
    r = zbtest::Run({Program("zbsvc"), "version"}, env, "", dir.Path());
    EXPECT_EQ(0, r._Status) << r._Err;
    EXPECT_EQ(0u, r._Out.find("MajorVersion = 5\nMinorVersion = 0\n")) << r._Out;
}

TEST(zbsvcVersion, MissingPiecesLeaveZeros)
{
    zbtest::TempDir dir;
    const std::string zeros = Values("0", "0", "0", "0");

    // No level file: a warning, all four "0".
    zbtest::ChildResult r = Zbsvc({"version", "-level", dir.Path()});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ(zeros, r._Out);
    EXPECT_EQ("# Warning: Level file " + dir.Path() +
                  "/TALVEXV5Level.lvl not found: the version stays 0\n",
              r._Err);

    // Version data found first along MY_ZBZB_DATA, defining only MajorVersion.
    zbtest::WriteFile(dir / "code/tools/data/zbVersionData.mk", "MajorVersion = 6\n");
    zbtest::ChildEnvironment env;
    env._Set["MY_ZBZB_DATA"] = dir.Path();
    env._Set["Zbzb_SPKLEVEL"] = "4";
    r = Zbsvc({"version", "-level", kExampleLevels}, env);
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ(zeros, r._Out);
    EXPECT_EQ("# Error: " + dir.Path() +
                  "/./code/tools/data/zbVersionData.mk does not define MajorVersion and "
                  "MinorVersion: the version stays 0\n",
              r._Err);

    // No version data anywhere on the data path.
    env._Set["ZbzbINSTALL_PATH"] = dir.Path() + "/empty";
    env._Set["MY_ZBZB_DATA"] = dir.Path() + "/empty";
    r = Zbsvc({"version", "-level", kExampleLevels}, env);
    EXPECT_EQ(zeros, r._Out);
    EXPECT_EQ("# Warning: zbVersionData.mk not found along the data search path: the version "
              "stays 0\n",
              r._Err);
}

// Files that are there but cannot be used: an error naming the file, the
// version left at 0, status 1.
TEST(zbsvcVersion, UnusableFilesAreErrors)
{
    const std::string zeros = Values("0", "0", "0", "0");
    const std::string data = "#if ZB_V5\nMajorVersion = 5\nMinorVersion = 21\n#endif\n";
    // levelText null: a directory in its place; error: after the file name
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"", data, " is empty: the version stays 0"},
        {nullptr, data, ": Is a directory"},
        {"#define ZB_V5\n", "", " does not define MajorVersion and MinorVersion"},
        // Cut short: the preprocessor says where.
        {"#define ZB_V5\n", data.substr(0, 30), "[2]: missing #endif"},
        {"#define ZB_V5\n", std::string("MajorVersion = 5\n\0MinorVersion = 2\n", 35),
         " holds a NUL byte: it is not a text file"},
    };
    for (const auto& [levelText, dataText, error] : cases)
    {
        zbtest::TempDir dir;
        const std::string level = dir / "TALVEXV5Level.lvl";
        const std::string dataFile = dir / "code/tools/data/zbVersionData.mk";
        const std::string dataName = dir / "./code/tools/data/zbVersionData.mk";
        if (levelText)
            zbtest::WriteFile(level, levelText);
        else
            zbtest::MakeDirs(level);
        zbtest::WriteFile(dataFile, dataText);
        zbtest::ChildEnvironment env;
        env._Set["MY_ZBZB_DATA"] = dir.Path();
        zbtest::ChildResult r = Zbsvc({"version", "-level", dir.Path()}, env);
        const std::string named = (levelText && *levelText ? dataName : level) + error;
        EXPECT_EQ(1, r._Status) << named;
        EXPECT_EQ(zeros, r._Out) << named;
        EXPECT_NE(std::string::npos, r._Err.find(named)) << r._Err;
    }
}
