// Runtime-view data files: first line, merge rules, the file byte for byte.

#include "zbErrorCodeManager.h"
#include "zbRTViewData.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;
using zbtest::TempDir;
using zbtest::WriteFile;

namespace
{
const std::string kMagic = "!<zbRTViewData> v1.0.0\n";

// Reads iText as a data file into ioData; oErr receives standard error.
int ReadText(zbRTViewData& ioData, const std::string& iText, std::string* oErr = nullptr,
             zbRTViewData::PathModification iMode = zbRTViewData::KeepPaths)
{
    TempDir dir;
    WriteFile(dir / "f.data", iText);
    zbtest::Capture err(2);
    int result = ioData.Read(QORString((dir / "f.data").c_str()), iMode);
    std::string text = err.Stop();
    if (oErr)
        *oErr = text;
    return result;
}

// The file text of a set, as Write gives it.
std::string Text(const zbRTViewData& iData)
{
    char* buffer = nullptr;
    unsigned int length = 0;
    iData._FillBuffer(buffer, length);
    std::string text(buffer ? buffer : "", length);
    std::free(buffer);
    return text;
}
} // namespace

TEST(zbRTViewData, FirstLine)
{
    const std::string record = "RTV/001/CUS a|b\n";
    const std::tuple<std::string, int, int> cases[] = {
        {kMagic + record, 0, 1},
        {"!<zbRTViewData> v1.0.1\n" + record, 0, 1},
        {"!<zbRTViewData> v2.0\n" + record, 0, 1},
        {"!<zbRTViewData> v1.0.0", 0, 0},
        {"!<zbRTViewData> v1.0\n" + record, -1, 0},
        {"\n" + kMagic + record, -1, 0},
        // Other formats whose first lines sort after this one.
        {"!<zbRTViewDataStat> v1.0.0\nRTV/001/CUS a|b|1@2|F\n", -1, 0},
        {"!<zbhl> v2.0.1\n@A\n", -1, 0},
        {record, -1, 0},
        {"", -10, 0},
    };
    for (const auto& [text, result, elements] : cases)
    {
        zbRTViewData data(7);
        zbExtLastError.SetErrno(0);
        EXPECT_EQ(ReadText(data, text), result) << text;
        EXPECT_EQ(data.GetNbElements(), elements) << text;
        EXPECT_EQ(zbExtLastError.GetErrno(), result ? EBADF : 0) << text;
    }
    // (Older versions, empty and missing files are reported through zbsvc rtv.)
}

TEST(zbRTViewData, MergeRules)
{
    const std::string report =
        "# Error: Runtime-view element a is given two runtime-view names: x and y\n";
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        // A higher type wins, whatever the exposure, and nothing is said.
        {"RTV/001/CUS a|x", "INT/002/QXI a|y", "INT/002/QXI a|y\n", false},
        {"INT/002/CUS a|x", "RTV/001/QXI a|y", "INT/002/CUS a|x\n", false},
        {"BTV/001/QXI a|x", "RTV/002/QXI a|y", "BTV/001/QXI a|x\n", false},
        {"DAT/001/CUS a|x", "IDA/002/CUS a|y", "IDA/002/CUS a|y\n", false},
        {"IDA/001/CUS a|x", "INT/002/QXI a|y", "IDA/001/CUS a|x\n", false},
        // The same type: different names are reported, the higher exposure wins.
        {"RTV/001/CUS a|x", "RTV/002/CUS a|y", "RTV/001/CUS a|x\n", true},
        {"RTV/001/CUS a|x", "RTV/002/QXI a|y", "RTV/002/QXI a|y\n", true},
        {"RTV/001/QXI a|x", "RTV/002/CUS a|y", "RTV/001/QXI a|x\n", true},
        {"RTV/001/CUS a|x", "RTV/002/QXI a|x", "RTV/002/QXI a|x\n", false},
        {"DAT/001/QXI a|x", "DAT/002/QXI a|x", "DAT/001/QXI a|x\n", false},
    };
    for (const auto& [first, second, kept, reported] : cases)
    {
        std::string where = std::string(first) + " then " + second;
        // Reading always reports.
        zbRTViewData read(3);
        std::string err;
        EXPECT_EQ(ReadText(read, kMagic + first + "\n" + second + "\n", &err), 0);
        EXPECT_EQ(Text(read) + err, kMagic + kept + (reported ? report : "")) << where;
        // Inserting reports only when asked to.
        for (auto behaviour : {zbRTViewData::MergeSilently, zbRTViewData::ReportDuplicates})
        {
            zbRTViewData data(3);
            zbtest::Capture capture(2);
            EXPECT_EQ((std::vector<int>{data.Insert(E(first), behaviour),
                                        data.Insert(E(second), behaviour)}),
                      (std::vector<int>{1, 0}));
            std::string said = capture.Stop();
            EXPECT_EQ(Text(data) + said, kMagic + kept + (reported && behaviour ? report : ""))
                << where;
        }
    }
}

TEST(zbRTViewData, ReadTwiceChangesNothing)
{
    const std::string text = kMagic + "RTV/001/CUS a|x\nINT/002/QXI b|y\n\nDAT/1234/QXI c\n";
    zbRTViewData data(1);
    std::string err;
    EXPECT_EQ(ReadText(data, text, &err), 0);
    EXPECT_EQ(ReadText(data, text, &err), 0);
    EXPECT_EQ(err, "");
    // One bucket keeps the order of reading; the empty line is an element
    // with an empty name; four digits of skills shift the fields after them.
    EXPECT_EQ(Text(data),
              kMagic + "RTV/001/CUS a|x\nINT/002/QXI b|y\nINT/000/QXI |\nDAT/123/QXI  c| c\n");
}

TEST(zbRTViewData, PathModifications)
{
    const std::string text = kMagic + "RTV/001/CUS a\\b/c|d\\e/f\n";
    const std::pair<zbRTViewData::PathModification, std::string> cases[] = {
        {zbRTViewData::KeepPaths, "a\\b/c|d\\e/f\n"},
        {zbRTViewData::BackslashPaths, "a/b/c|d/e/f\n"},
        {zbRTViewData::UnixifyPaths, "a/b/c|d/e/f\n"},
        {zbRTViewData::DosifyPaths, "a\\b\\c|d\\e\\f\n"},
        {static_cast<zbRTViewData::PathModification>(4), ""},
    };
    for (const auto& [mode, names] : cases)
    {
        zbRTViewData data(3);
        EXPECT_EQ(ReadText(data, text, nullptr, mode), 0);
        EXPECT_EQ(Text(data), kMagic + (names.empty() ? "" : "RTV/001/CUS " + names)) << mode;
    }
}

TEST(zbRTViewData, Remove)
{
    zbRTViewData data(1);
    for (const char* record :
         {"RTV/000/CUS r1", "RTV/000/QXI r2", "BTV/000/CUS b1", "INT/000/QXI i1"})
        data.Insert(E(record), zbRTViewData::MergeSilently);
    EXPECT_EQ((std::vector<int>{data.Remove(zbNewString("r1")), data.Remove(zbNewString("r1"))}),
              (std::vector<int>{1, 0}));
    EXPECT_EQ(data.Remove(E::Runtime | E::Buildtime, -1), 2);
    EXPECT_EQ(Text(data), kMagic + "INT/000/QXI i1|i1\n");
}
