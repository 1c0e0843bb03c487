// Runtime-view data files: the first line, the merge rules, the file text
// byte for byte, path modifications, writes that change nothing, failed
// writes, and a round trip of a large set.

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include "zbErrorCodeManager.h"
#include "zbOFStream.h"
#include "zbRTViewData.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;
using zbtest::ReadFile;
using zbtest::TempDir;
using zbtest::WriteFile;

namespace
{
const std::string kMagic = "!<zbRTViewData> v1.0.0\n";

QORString Q(const std::string& iText)
{
    return QORString(iText.c_str());
}

// Reads iText as a data file into ioData; oErr receives standard error.
int ReadText(zbRTViewData& ioData, const std::string& iText, std::string* oErr = nullptr,
             zbRTViewData::PathModification iMode = zbRTViewData::KeepPaths)
{
    TempDir dir;
    WriteFile(dir / "f.data", iText);
    zbtest::Capture err(2);
    int result = ioData.Read(Q(dir / "f.data"), iMode);
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

std::string Listed(const zbRTViewData& iData, int iTypeMask, int iExposureMask)
{
    QORListPtrzbRTViewElement list;
    iData.GetListOf(iTypeMask, iExposureMask, list);
    std::string names;
    for (int i = 1; i <= list.Size(); ++i)
        names += std::string(list[i]->_Name.CastToCharPtr()) + " ";
    return names;
}

time_t MTime(const std::string& iPath)
{
    struct stat st;
    return ::stat(iPath.c_str(), &st) == 0 ? st.st_mtime : -1;
}
} // namespace

TEST(zbRTViewData, FirstLine)
{
    struct Case
    {
        std::string _Text;
        int _Result;
        int _Elements;
    };
    const Case cases[] = {
        {kMagic + "RTV/001/CUS a|b\n", 0, 1},
        {"!<zbRTViewData> v1.0.1\nRTV/001/CUS a|b\n", 0, 1},
        {"!<zbRTViewData> v2.0\nRTV/001/CUS a|b\n", 0, 1},
        {"!<zbRTViewData> v1.0.0", 0, 0},
        {"!<zbRTViewData> v0.9\nRTV/001/CUS a|b\n", -1, 0},
        {"!<zbRTViewData> v1.0\nRTV/001/CUS a|b\n", -1, 0},
        {"\n" + kMagic, -1, 0},
        // Other formats whose first lines sort after this one.
        {"!<zbRTViewDataStat> v1.0.0\nRTV/001/CUS a|b|1@2|F\n", -1, 0},
        {"!<zbhl> v2.0.1\n@A\n", -1, 0},
        {"RTV/001/CUS a|b\n", -1, 0},
        {"", -10, 0},
    };
    for (const Case& c : cases)
    {
        zbRTViewData data(7);
        zbExtLastError.SetErrno(0);
        EXPECT_EQ(ReadText(data, c._Text), c._Result) << c._Text;
        EXPECT_EQ(data.GetNbElements(), c._Elements) << c._Text;
        EXPECT_EQ(zbExtLastError.GetErrno(), c._Result ? EBADF : 0) << c._Text;
    }
    TempDir dir;
    zbRTViewData data(7);
    EXPECT_EQ(data.Read(Q(dir / "none"), zbRTViewData::KeepPaths), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(data.Read(Q(dir.Path()), zbRTViewData::KeepPaths), 1);
}

TEST(zbRTViewData, MergeRules)
{
    const std::string report =
        "# Error: Runtime-view element a is given two runtime-view names: x and y\n";
    struct Case
    {
        const char* _First;
        const char* _Second;
        const char* _Kept;
        bool _Reported;
    };
    const Case cases[] = {
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
    for (const Case& c : cases)
    {
        std::string where = std::string(c._First) + " then " + c._Second;
        // Reading always reports.
        zbRTViewData read(3);
        std::string err;
        EXPECT_EQ(ReadText(read, kMagic + c._First + "\n" + c._Second + "\n", &err), 0);
        EXPECT_EQ(Text(read), kMagic + c._Kept) << where;
        EXPECT_EQ(err, c._Reported ? report : "") << where;

        // Inserting reports only when asked to, and merges the same way.
        for (auto behaviour : {zbRTViewData::MergeSilently, zbRTViewData::ReportDuplicates})
        {
            zbRTViewData data(3);
            zbtest::Capture capture(2);
            EXPECT_EQ(data.Insert(E(c._First), behaviour), 1);
            EXPECT_EQ(data.Insert(E(c._Second), behaviour), 0);
            std::string said = capture.Stop();
            EXPECT_EQ(Text(data), kMagic + c._Kept) << where;
            EXPECT_EQ(said, c._Reported && behaviour ? report : "") << where;
        }
    }

    // Two sets: the number of elements added; the merge as above.
    zbRTViewData one(5), two(5);
    one.Insert(E("RTV/001/CUS a|x"), zbRTViewData::MergeSilently);
    two.Insert(E("INT/001/CUS a|y"), zbRTViewData::MergeSilently);
    two.Insert(E("RTV/001/CUS b|b"), zbRTViewData::MergeSilently);
    EXPECT_EQ(one.Insert(two, zbRTViewData::ReportDuplicates), 1);
    EXPECT_STREQ(one.Locate("a")->_RTVname.CastToCharPtr(), "y");
    EXPECT_EQ(one.Insert(two, zbRTViewData::ReportDuplicates), 0);
}

TEST(zbRTViewData, ReadTwiceChangesNothing)
{
    const std::string text = kMagic + "RTV/001/CUS a|x\nINT/002/QXI b|y\n\nDAT/1234/QXI c\n";
    zbRTViewData data(1);
    std::string err;
    EXPECT_EQ(ReadText(data, text, &err), 0);
    std::string first = Text(data);
    EXPECT_EQ(ReadText(data, text, &err), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(Text(data), first);
    // One bucket keeps the order of reading; the empty line is an element
    // with an empty name; a record with four digits of skills is read by its
    // byte positions.
    EXPECT_EQ(first,
              kMagic + "RTV/001/CUS a|x\nINT/002/QXI b|y\nINT/000/QXI |\nDAT/123/QXI  c| c\n");
}

TEST(zbRTViewData, PathModifications)
{
    const std::string text = kMagic + "RTV/001/CUS a\\b/c|d\\e/f\n";
    struct Case
    {
        zbRTViewData::PathModification _Mode;
        std::string _Text;
    };
    const Case cases[] = {
        {zbRTViewData::KeepPaths, kMagic + "RTV/001/CUS a\\b/c|d\\e/f\n"},
        {zbRTViewData::BackslashPaths, kMagic + "RTV/001/CUS a/b/c|d/e/f\n"},
        {zbRTViewData::UnixifyPaths, kMagic + "RTV/001/CUS a/b/c|d/e/f\n"},
        {zbRTViewData::DosifyPaths, kMagic + "RTV/001/CUS a\\b\\c|d\\e\\f\n"},
        {static_cast<zbRTViewData::PathModification>(4), kMagic},
    };
    for (const Case& c : cases)
    {
        zbRTViewData data(3);
        EXPECT_EQ(ReadText(data, text, nullptr, c._Mode), 0);
        EXPECT_EQ(Text(data), c._Text) << c._Mode;
    }
}

TEST(zbRTViewData, LocateRemoveAndLists)
{
    zbRTViewData data(1);
    for (const char* record : {"RTV/000/CUS r1", "RTV/000/QXI r2", "BTV/000/CUS b1",
                               "INT/000/QXI i1", "DAT/000/CUS d1", "IDA/000/QXI x1"})
        data.Insert(E(record), zbRTViewData::MergeSilently);
    EXPECT_EQ(Listed(data, E::Runtime, E::Deliverable), "r1 ");
    EXPECT_EQ(Listed(data, E::Runtime, E::Deliverable | E::NotDeliverable), "r1 r2 ");
    EXPECT_EQ(Listed(data, E::Runtime | E::Buildtime | E::Data, E::Deliverable), "r1 b1 d1 ");
    EXPECT_EQ(Listed(data, -1, E::NotDeliverable), "r2 i1 x1 ");
    EXPECT_EQ(Listed(data, 0, 0), "");
    QORListPtrzbRTViewElement list;
    data.GetListOf(E::DataInternal, E::NotDeliverable, list);
    data.GetListOfElements(list);
    EXPECT_EQ(list.Size(), 7);
    EXPECT_EQ(list[1], data.Locate("x1"));

    EXPECT_EQ(data.Locate("nothing"), nullptr);
    EXPECT_EQ(data.Remove(zbNewString("r1")), 1);
    EXPECT_EQ(data.Remove(zbNewString("r1")), 0);
    EXPECT_EQ(data.Remove(E::Runtime | E::Buildtime, -1), 2);
    EXPECT_EQ(Listed(data, -1, -1), "i1 d1 x1 ");
    data.RemoveAll();
    EXPECT_EQ(data.GetNbElements(), 0);
    EXPECT_EQ(Text(data), kMagic);
}

TEST(zbRTViewData, WritesOnlyWhatChanged)
{
    TempDir dir;
    const std::string path = dir / "sub/dir/f.data";
    zbRTViewData data(3);
    data.Insert(E("lib/a.so", "code/lib/a.so", E::Runtime, E::Deliverable, 1234),
                zbRTViewData::MergeSilently);
    int changed = -1;
    // A missing file and its directories are made.
    EXPECT_EQ(data.WriteIfChanged(Q(path), changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(ReadFile(path), kMagic + "RTV/234/CUS lib/a.so|code/lib/a.so\n");

    struct timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(path.c_str(), old), 0);
    EXPECT_EQ(data.WriteIfChanged(Q(path), changed), 0);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(MTime(path), 1000000000);

    data.Insert(E("BTV/000/QXI b"), zbRTViewData::MergeSilently);
    EXPECT_EQ(data.WriteIfChanged(Q(path), changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_NE(MTime(path), 1000000000);
    EXPECT_EQ(ReadFile(path), Text(data));

    // Write always writes; Dump gives the same text.
    ASSERT_EQ(::utimes(path.c_str(), old), 0);
    EXPECT_EQ(data.Write(Q(path)), 0);
    EXPECT_NE(MTime(path), 1000000000);
    {
        zbOFStream stream((dir / "dump").c_str(), 4);
        data.Dump(stream);
        data.PrintStats(stream);
    }
    EXPECT_EQ(ReadFile(dir / "dump"),
              Text(data) + "\n## zbRTViewData: Statistics of zbRTViewElement dictionary:\n"
                           "zbHDICO( zbNewString, zbRTViewElement ):\n"
                           "( dimensionned to 3 buckets , with 1 unused ==> 33.3333% )\n"
                           "( containing 2 items , with 0 in collision ==> 0% )\n");
    EXPECT_EQ(data._Print(Q(path), nullptr, 0), 1);
}

TEST(zbRTViewData, FailedWritesLeaveTheFile)
{
    TempDir dir;
    const std::string good = kMagic + "RTV/001/CUS old|old\n";
    WriteFile(dir / "f.data", good);
    WriteFile(dir / "plain", "x");
    zbRTViewData data(3);
    data.Insert(E("RTV/001/CUS new|new"), zbRTViewData::MergeSilently);

    struct Case
    {
        std::string _Path;
        std::string _Report;
    };
    const Case cases[] = {
        // The directory cannot be made.
        {dir / "plain/f.data", "# System error on " + (dir / "plain") + ": Not a directory\n"},
        // A directory in the way of the file.
        {dir.Path(), "# System error on " + dir.Path() + ": Is a directory\n"},
    };
    for (const Case& c : cases)
    {
        zbtest::Capture err(2);
        int changed = 0;
        EXPECT_EQ(data.Write(Q(c._Path)), 1);
        EXPECT_EQ(data.WriteIfChanged(Q(c._Path), changed), 1);
        EXPECT_EQ(err.Stop(), c._Report + c._Report);
    }
    EXPECT_EQ(ReadFile(dir / "f.data"), good);
    EXPECT_EQ(ReadFile(dir / "plain"), "x");
}

TEST(zbRTViewData, LargeSetRoundTrip)
{
    TempDir dir;
    const int count = 50000;
    zbRTViewData data(4099);
    const zbRTViewElementType* types[] = {&E::Runtime, &E::Buildtime, &E::Internal, &E::Data,
                                          &E::DataInternal};
    for (int i = 0; i < count; ++i)
    {
        std::string name = "Fw" + std::to_string(i % 97) + "/lib/file" + std::to_string(i) + ".so";
        E element(name.c_str(), ("code/" + name).c_str(), *types[i % 5],
                  i % 3 ? E::Deliverable : E::NotDeliverable, i % 1000);
        ASSERT_EQ(data.Insert(element, zbRTViewData::ReportDuplicates), 1);
    }
    ASSERT_EQ(data.Write(Q(dir / "a.data")), 0);
    zbRTViewData again(4099);
    ASSERT_EQ(again.Read(Q(dir / "a.data"), zbRTViewData::KeepPaths), 0);
    EXPECT_EQ(again.GetNbElements(), count);
    ASSERT_EQ(again.Write(Q(dir / "b.data")), 0);
    std::string a = ReadFile(dir / "a.data");
    EXPECT_TRUE(a == ReadFile(dir / "b.data"));
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), count + 1);
    const E* some = again.Locate("Fw12/lib/file12234.so");
    ASSERT_NE(some, nullptr);
    EXPECT_EQ(Text(data).substr(0, kMagic.size()), kMagic);
    std::string record = "IDA/234/QXI Fw12/lib/file12234.so|code/Fw12/lib/file12234.so\n";
    EXPECT_NE(a.find("\n" + record), std::string::npos);
}
