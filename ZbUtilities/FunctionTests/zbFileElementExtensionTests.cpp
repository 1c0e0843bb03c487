// Install types, files as lists of lines, the runtime view of a framework.

#include "zbFileElementExtension.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbRTViewData> v1.0.0\n";

std::string Names(const QORListPtrzbString& iList)
{
    std::string out;
    for (const zbString* s : iList)
        out += std::string(s->CastToCharPtr()) + "|";
    return out;
}

std::string Records(const zbRTViewData& iData)
{
    QORListPtrzbRTViewElement list;
    iData.GetListOfElements(list);
    std::vector<std::string> names;
    for (const zbRTViewElement* e : list)
        names.push_back(e->_Name.CastToCharPtr());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& n : names)
        out += n + "\n";
    return out;
}

} // namespace

// (A marker in FW or in FW/various, or none, is read through zbsvc installtype.)
TEST(zbFileElementExtension, InstallTypeFromTheMarkerFile)
{
    // top: FW/.installation.mode, its content, "->X" a link to X, "/" a
    // directory; various: content of FW/various/.installation.mode
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {"marker cut short", "COPYFW", nullptr, 0},
        {"marker not at the start", " COPYFW_INSTALLATION", nullptr, 0},
        {"top one wins, even empty", "", "COPYFW_INSTALLATION", 0},
        {"link read through", "->marker", "COPYFW_INSTALLATION", 1},
        {"dangling link: various not looked at", "->missing", "COPYFW_INSTALLATION", 0},
        {"directory: various not looked at", "/", "COPYFW_INSTALLATION", 0},
    };
    for (const auto& [name, top, various, expected] : cases)
    {
        TempDir dir;
        const std::string marker = dir / ".installation.mode";
        WriteFile(dir / "marker", "COPYPREQ_INSTALLATION\n");
        if (various)
            WriteFile(dir / "various/.installation.mode", various);
        if (std::strncmp(top, "->", 2) == 0)
            ASSERT_EQ(0, ::symlink(top + 2, marker.c_str()));
        else if (*top == '/')
            ::mkdir(marker.c_str(), 0755);
        else
            WriteFile(marker, top);
        EXPECT_EQ(expected, zbFileElementExtension::GetInstallType(dir.Path().c_str())) << name;
    }
}

// What each switch does to the lines of a list that starts empty is held
// for every kind by the fuzz target's replay, against an independent split
// of over a hundred files; here, with every switch on, the lines appended after
// what a list held and its new size returned (one template for every kind).
TEST(zbFileElementExtension, FileAsListOfLines)
{
    TempDir dir;
    const std::string path = dir / "lines";
    WriteFile(path, "a\\b\r\r\n\n\nc");
    QORListPtrzbString ptr;
    ptr.Append(new zbString("first"));
    EXPECT_EQ(3, zbFileElementExtension::ConvertFileToListOfString(path.c_str(), ptr, 1, 1, 1));
    EXPECT_EQ("first|a/b\r|c|", Names(ptr));
    ptr.ApplyDelete();
    QORListValQORString none;
    EXPECT_EQ(
        -1, zbFileElementExtension::ConvertFileToListOfString("/nonexistent/lines", none, 0, 0, 0));
}

// (Modules without data, a system without framework data, the merged view
// and its names in a list of pointers are read through zbsvc rtview and
// modules.)
TEST(zbFileElementExtension, RuntimeViewOfAFramework)
{
    // Data for two systems: Core.m has data for both, Tools.m none, Ghost.m
    // data but no Imakefile.mk.
    TempDir dir;
    const std::string fw = dir / "Fw";
    WriteFile(fw + "/Core.m/Imakefile.mk", "x\n");
    WriteFile(fw + "/Tools.m/Imakefile.mk", "x\n");
    WriteFile(fw + "/various/lin/framework.data", kMagic + "RTV/000/CUS doc/lin.txt\n");
    WriteFile(fw + "/various/lin/Core.m/module.data", kMagic + "RTV/000/CUS lib/core.so\n");
    WriteFile(fw + "/various/win/framework.data", kMagic + "RTV/000/CUS doc/win.txt\n");
    WriteFile(fw + "/various/win/Core.m/module.data", kMagic + "RTV/000/CUS bin/core.dll\n");
    WriteFile(fw + "/various/win/Ghost.m/module.data", kMagic + "RTV/000/CUS bin/ghost\n");

    // The names of both systems as Unicode texts, appended.
    Owned<QORListPtrzbString> systems{"lin", "win"};
    QORListValQORUnicodeString values;
    values.Append(QORUnicodeString("first"));
    Capture err(2);
    EXPECT_EQ(5, zbFileElementExtension::GetFWModuleList(fw.c_str(), systems, values, -1, -1,
                                                         zbRTViewData::KeepPaths, nullptr));
    err.Stop();
    std::set<std::string> names;
    for (const QORUnicodeString& name : values)
        names.insert(name.ConvertToUTF8());
    EXPECT_EQ(names, (std::set<std::string>{"first", "bin/core.dll", "doc/lin.txt", "doc/win.txt",
                                            "lib/core.so"}));

    // The strict view of one system, Broken.m's data file not being one.
    WriteFile(fw + "/Broken.m/Imakefile.mk", "x\n");
    WriteFile(fw + "/various/lin/Broken.m/module.data", "not a data file\n");
    zbRTViewData data(64);
    int problem = -1, missing = -1;
    QORListValQORUnicodeString loaded;
    loaded.Append(QORUnicodeString("stale"));
    Capture err1(2);
    EXPECT_EQ(1, zbFileElementExtension::GetFWRTViewData(fw.c_str(), "lin", data, problem, missing,
                                                         zbRTViewData::KeepPaths, &loaded));
    EXPECT_NE(std::string::npos,
              err1.Stop().find(fw + "/various/lin/Broken.m/module.data could not be loaded"));
    EXPECT_EQ(std::make_pair(0, 1), std::make_pair(problem, missing));
    EXPECT_EQ("doc/lin.txt\nlib/core.so\n", Records(data));
    std::set<std::string> files;
    for (const QORUnicodeString& f : loaded)
        files.insert(f.ConvertToUTF8());
    EXPECT_EQ((std::set<std::string>{fw + "/various/lin/Core.m/module.data",
                                     fw + "/various/lin/framework.data"}),
              files);

    // A system without framework data adds nothing; fatal failures leave the
    // data alone: a wildcard in the one system name, -1 before anything is
    // looked at (the counts reset); a plain file, no framework.
    Capture err2(2);
    EXPECT_EQ(0, zbFileElementExtension::GetFWRTViewData(fw.c_str(), "mac", data, problem, missing,
                                                         zbRTViewData::KeepPaths, &loaded));
    EXPECT_EQ(-1, zbFileElementExtension::GetFWRTViewData(fw.c_str(), "*", data, problem, missing,
                                                          zbRTViewData::KeepPaths, nullptr));
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(problem, missing));
    EXPECT_EQ(-1, zbFileElementExtension::GetFWRTViewData((fw + "/Core.m/Imakefile.mk").c_str(),
                                                          systems, data, zbRTViewData::KeepPaths,
                                                          nullptr));
    err2.Stop();
    EXPECT_EQ("doc/lin.txt\nlib/core.so\n", Records(data));
}
