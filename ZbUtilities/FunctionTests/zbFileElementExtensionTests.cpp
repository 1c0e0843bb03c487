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

// A framework with data for two systems: Core.m has data for both, Tools.m
// none, Ghost.m data but no Imakefile.mk, Broken.m a data file that is not
// one.
struct Framework
{
    TempDir _Dir;
    std::string _Fw = _Dir / "Fw";
    Framework()
    {
        WriteFile(_Fw + "/Core.m/Imakefile.mk", "x\n");
        WriteFile(_Fw + "/Tools.m/Imakefile.mk", "x\n");
        WriteFile(_Fw + "/various/lin/framework.data", kMagic + "RTV/000/CUS doc/lin.txt\n");
        WriteFile(_Fw + "/various/lin/Core.m/module.data", kMagic + "RTV/000/CUS lib/core.so\n");
        WriteFile(_Fw + "/various/win/framework.data", kMagic + "RTV/000/CUS doc/win.txt\n");
        WriteFile(_Fw + "/various/win/Core.m/module.data", kMagic + "RTV/000/CUS bin/core.dll\n");
        WriteFile(_Fw + "/various/win/Ghost.m/module.data", kMagic + "RTV/000/CUS bin/ghost\n");
    }
};
} // namespace

TEST(zbFileElementExtension, InstallTypeFromTheMarkerFile)
{
    // top: content of FW/.installation.mode, null: none; various: content of
    // FW/various/.installation.mode
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {"framework copy", "COPYFW_INSTALLATION\n", nullptr, 10},
        {"prerequisites copy", "COPYPREQ_INSTALLATION", nullptr, 1},
        {"marker cut short", "COPYFW", nullptr, 0},
        {"marker not at the start", " COPYFW_INSTALLATION", nullptr, 0},
        {"empty marker file", "", nullptr, 0},
        {"only in various", nullptr, "COPYFW_INSTALLATION trailing", 10},
        {"top one wins, even empty", "", "COPYFW_INSTALLATION", 0},
        {"no marker at all", nullptr, nullptr, 0},
    };
    for (const auto& [name, top, various, expected] : cases)
    {
        TempDir dir;
        if (top)
            WriteFile(dir / ".installation.mode", top);
        if (various)
            WriteFile(dir / "various/.installation.mode", various);
        EXPECT_EQ(expected, zbFileElementExtension::GetInstallType(dir.Path().c_str())) << name;
    }

    // A link to a marker file is read through; a dangling link or a
    // directory gives 0 without looking in various.
    TempDir dir;
    WriteFile(dir / "marker", "COPYPREQ_INSTALLATION\n");
    WriteFile(dir / "various/.installation.mode", "COPYFW_INSTALLATION\n");
    ASSERT_EQ(0, ::symlink("marker", (dir / ".installation.mode").c_str()));
    EXPECT_EQ(1, zbFileElementExtension::GetInstallType(dir.Path().c_str()));
    ::unlink((dir / ".installation.mode").c_str());
    ASSERT_EQ(0, ::symlink("missing", (dir / ".installation.mode").c_str()));
    EXPECT_EQ(0, zbFileElementExtension::GetInstallType(dir.Path().c_str()));
    ::unlink((dir / ".installation.mode").c_str());
    ::mkdir((dir / ".installation.mode").c_str(), 0755);
    EXPECT_EQ(0, zbFileElementExtension::GetInstallType(dir.Path().c_str()));
}

TEST(zbFileElementExtension, FileAsListOfLines)
{
    // expected: the lines, each followed by "|"
    const std::tuple<const char*, std::string, int, int, int, const char*> cases[] = {
        {"plain", "a\nb\n", 0, 0, 0, "a|b|"},
        {"last line without line feed", "a\nb", 0, 0, 0, "a|b|"},
        {"empty lines kept", "a\n\nb\n\n", 0, 0, 0, "a||b||"},
        {"empty lines skipped", "\na\n\n\nb\n", 1, 0, 0, "a|b|"},
        {"carriage returns kept", "a\r\nb\r", 0, 0, 0, "a\r|b\r|"},
        {"one carriage return stripped", "a\r\r\nb\r", 0, 0, 1, "a\r|b|"},
        {"line of a lone carriage return", "\r\nb\n", 1, 0, 1, "b|"},
        {"DOS separators normalised", "a\\b\\c\nd\\\n", 0, 1, 0, "a/b/c|d/|"},
        {"separators left alone", "a\\b\n", 0, 0, 0, "a\\b|"},
        {"empty file", "", 0, 0, 0, ""},
        {"line feeds only", "\n\n", 0, 0, 0, "||"},
    };
    for (const auto& [name, content, skipEmpty, normalize, stripCR, expected] : cases)
    {
        TempDir dir;
        const std::string path = dir / "lines";
        WriteFile(path, content);
        // Appended after what the list held: one line already there.
        QORListPtrzbString ptr;
        ptr.Append(new zbString("first"));
        int size = zbFileElementExtension::ConvertFileToListOfString(path.c_str(), ptr, skipEmpty,
                                                                     normalize, stripCR);
        EXPECT_EQ(std::string("first|") + expected, Names(ptr)) << name;
        EXPECT_EQ(ptr.Size(), size) << name;

        // The other list kinds are held to the same lines by the fuzz
        // target's replay; the Unicode one here, its text decoded.
        QORListValQORUnicodeString us;
        EXPECT_EQ(size - 1, zbFileElementExtension::ConvertFileToListOfString(
                                path.c_str(), us, skipEmpty, normalize, stripCR));
        std::string u;
        for (const QORUnicodeString& s : us)
            u += s.ConvertToUTF8() + "|";
        EXPECT_EQ(expected, u) << name;
        ptr.ApplyDelete();
    }
    QORListValQORString none;
    EXPECT_EQ(
        -1, zbFileElementExtension::ConvertFileToListOfString("/nonexistent/lines", none, 0, 0, 0));
}

TEST(zbFileElementExtension, StrictViewOfOneSystem)
{
    Framework fw;
    WriteFile(fw._Fw + "/Broken.m/Imakefile.mk", "x\n");
    WriteFile(fw._Fw + "/various/lin/Broken.m/module.data", "not a data file\n");
    zbRTViewData data(64);
    int problem = -1, missing = -1;
    QORListValQORUnicodeString loaded;
    loaded.Append(QORUnicodeString("stale"));
    Capture err(2);
    int failures = zbFileElementExtension::GetFWRTViewData(
        fw._Fw.c_str(), "lin", data, problem, missing, zbRTViewData::KeepPaths, &loaded);
    std::string reports = err.Stop();
    EXPECT_EQ(1, failures);
    EXPECT_EQ(0, problem);
    EXPECT_EQ(1, missing);
    EXPECT_EQ("doc/lin.txt\nlib/core.so\n", Records(data));
    std::vector<std::string> files;
    for (const QORUnicodeString& f : loaded)
        files.push_back(f.ConvertToUTF8());
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::string>{fw._Fw + "/various/lin/Core.m/module.data",
                                        fw._Fw + "/various/lin/framework.data"}),
              files);
    EXPECT_NE(std::string::npos, reports.find("Framework Fw: module Tools.m has no module.data"));
    EXPECT_NE(std::string::npos, reports.find(fw._Fw + "/various/lin/Broken.m/module.data could "
                                                       "not be loaded"));
    EXPECT_EQ(std::string::npos, reports.find("Ghost")) << reports;

    // A system without framework data: reported, the problem set; the data
    // read so far is kept.
    {
        Capture err2(2);
        EXPECT_EQ(0, zbFileElementExtension::GetFWRTViewData(fw._Fw.c_str(), "mac", data, problem,
                                                             missing, zbRTViewData::KeepPaths,
                                                             &loaded));
        EXPECT_NE(std::string::npos, err2.Stop().find("Framework Fw has no framework.data"));
        EXPECT_EQ(1, problem);
        EXPECT_EQ(3, missing);
        EXPECT_EQ(0, loaded.Size());
        EXPECT_EQ("doc/lin.txt\nlib/core.so\n", Records(data));
    }
}

TEST(zbFileElementExtension, FatalFailuresLeaveTheDataAlone)
{
    Framework fw;
    zbRTViewData data(64);
    ASSERT_EQ(0, data.Read(QORString((fw._Fw + "/various/win/framework.data").c_str()),
                           zbRTViewData::KeepPaths));
    int problem = -1, missing = -1;
    // A wildcard in the one system name: -1 before anything is looked at.
    EXPECT_EQ(-1,
              zbFileElementExtension::GetFWRTViewData(fw._Fw.c_str(), "*", data, problem, missing,
                                                      zbRTViewData::KeepPaths, nullptr));
    EXPECT_EQ(0, problem);
    EXPECT_EQ(0, missing);
    // A plain file is no framework.
    Owned<QORListPtrzbString> systems{"lin", "win"};
    Capture err(2);
    EXPECT_EQ(-1, zbFileElementExtension::GetFWRTViewData((fw._Fw + "/Core.m/Imakefile.mk").c_str(),
                                                          systems, data, zbRTViewData::KeepPaths,
                                                          nullptr));
    err.Stop();
    EXPECT_EQ("doc/win.txt\n", Records(data));
}

// (The merged view itself is read through zbsvc rtview.)  The element
// names, both list kinds, appended after what is there.
TEST(zbFileElementExtension, ModuleListOfSeveralSystems)
{
    Framework fw;
    Owned<QORListPtrzbString> systems{"lin", "win"};
    QORListValQORUnicodeString values;
    values.Append(QORUnicodeString("first"));
    Owned<QORListPtrzbString> pointers;
    Capture err(2);
    EXPECT_EQ(5, zbFileElementExtension::GetFWModuleList(fw._Fw.c_str(), systems, values, -1, -1,
                                                         zbRTViewData::KeepPaths, nullptr));
    EXPECT_EQ(4, zbFileElementExtension::GetFWModuleList(fw._Fw.c_str(), systems, pointers, -1, -1,
                                                         zbRTViewData::KeepPaths, nullptr));
    EXPECT_NE(std::string::npos, err.Stop().find("Ghost.m/module.data ignored"));
    EXPECT_EQ("first", values[1].ConvertToUTF8());
    std::set<std::string> names;
    for (const zbString* name : pointers)
        names.insert(name->CastToCharPtr());
    EXPECT_EQ(names,
              (std::set<std::string>{"bin/core.dll", "doc/lin.txt", "doc/win.txt", "lib/core.so"}));
}
