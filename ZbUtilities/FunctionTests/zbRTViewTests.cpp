// Runtime-view elements, data files and statistics files: tags, records
// parsed, written and printed, merge rules, frameworks kept apart, the files
// byte for byte.

#include "zbErrorCodeManager.h"
#include "zbRTViewData.h"
#include "zbRTViewDataStat.h"
#include "zbRTViewElement.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;
using S = zbRTViewElementStat;
using namespace zbtest;

namespace
{
const std::string kStatMagic = "!<zbRTViewDataStat> v1.0.0\n";
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
template <class Data> std::string Text(const Data& iData)
{
    char* buffer = nullptr;
    unsigned int length = 0;
    if constexpr (std::is_same_v<Data, zbRTViewDataStat>)
        buffer = iData._FillBuffer(length);
    else
        iData._FillBuffer(buffer, length);
    std::string text(buffer ? buffer : "", length);
    std::free(buffer);
    return text;
}

S Make(const char* iName, const char* iFramework, long long iSize, long iTime,
       const zbRTViewElementType& iType = E::Runtime)
{
    S element(iName, iName, iType, E::Deliverable, 0);
    element._Framework = iFramework;
    element.SetSizeAndLastModificationTime(iSize, iTime);
    return element;
}

std::string Record(const E& iElement)
{
    std::string buffer(E::MaxRecordLength, 'x');
    unsigned int length = 99;
    iElement.FillBuffer(&buffer[0], length);
    EXPECT_TRUE(length == 0 || buffer[length] == '\0');
    return buffer.substr(0, length);
}

// Type name, skills, exposure name, [name], [runtime-view name].
std::string Fields(const E& iElement)
{
    return std::string(iElement.Typestr()) + " " + std::to_string(iElement._Skills) + " " +
           iElement.Exposurestr() + " [" + iElement._Name.CastToCharPtr() + "] [" +
           iElement._RTVname.CastToCharPtr() + "]";
}
} // namespace

TEST(zbRTViewElement, Tags)
{
    // Codes, names and short codes are checked through the records below.
    EXPECT_TRUE(E::Data.MatchId(256) && E::Data.MatchId(E::Data | E::Runtime) &&
                !E::Data.MatchId(255));
    // An id of several bits matches only masks holding all of them.
    const zbRTViewElementType both(3, "XXX", "Both");
    EXPECT_TRUE(both.MatchId(7) && !both.MatchId(1));
}

TEST(zbRTViewElement, ParsesRecords)
{
    const std::pair<const char*, const char*> cases[] = {
        {"RTV/003/CUS lib/a.so|code/lib/a.so", "Runtime 3 Deliverable [lib/a.so] [code/lib/a.so]"},
        {"BTV/010/QXI lib/b.so", "Buildtime 10 NotDeliverable [lib/b.so] [lib/b.so]"},
        {"DAT/000/CUS d|", "Data 0 Deliverable [d] [d]"},
        {"IDA/999/QXI a|b|c", "DataInternal 999 NotDeliverable [a] [b|c]"},
        // Codes outside the table; separators are not looked at, fields
        // are taken at their byte positions.
        {"XYZ/001/ABC n|r", "Internal 1 NotDeliverable [n] [r]"},
        {"RTV-002+CUS?n|r", "Runtime 2 Deliverable [n] [r]"},
        {"RTV/3/CUS n|r", "Runtime 3 NotDeliverable [r] [r]"},
        // A short line; a name left empty.
        {"RT", "Internal 0 NotDeliverable [] []"},
        {"RTV/005/CUS", "Runtime 5 Deliverable [] []"},
        {"INT/007/QXI |r", "Internal 7 NotDeliverable [] [r]"},
        // The skills as atoi reads three bytes.
        {"RTV/-12/CUS n", "Runtime -12 Deliverable [n] [n]"},
        // A line ends at a line feed.
        {"RTV/001/CUS n|r\nBTV/002/QXI m|s", "Runtime 1 Deliverable [n] [r]"},
    };
    for (const auto& [record, fields] : cases)
        EXPECT_EQ(Fields(E(record)), fields) << record;

    // By length: no NUL needed after the record, a NUL inside ends it, at
    // most 4096 bytes are used.
    EXPECT_EQ(Fields(E("RTV/001/CUS name|rtvXYZ", 20)), "Runtime 1 Deliverable [name] [rtv]");
    EXPECT_EQ(Fields(E("RTV/001/CUS na\0me|r", 19)), "Runtime 1 Deliverable [na] [na]");
    EXPECT_EQ(Fields(E("RTV/001/CUS n|r\nX\0Y", 19)), "Runtime 1 Deliverable [n] [r]");
    EXPECT_EQ(Fields(E(nullptr)), "Internal 0 NotDeliverable [] []");
    std::string longLine = "RTV/001/CUS " + std::string(5000, 'n');
    EXPECT_EQ(E(longLine.c_str(), 5012)._Name.GetLengthInByte(), 4096 - 12);
}

// (Printing an element, byte for byte: rtvstat.t, rtvstat -list.)
TEST(zbRTViewElement, WritesRecords)
{
    const std::pair<E, const char*> cases[] = {
        {E("lib/a.so", "code/lib/a.so", E::Runtime, E::Deliverable, 3),
         "RTV/003/CUS lib/a.so|code/lib/a.so\n"},
        {E("x", "y", E::DataInternal, E::NotDeliverable, 1234), "IDA/234/QXI x|y\n"},
        {E("x", "y", E::Buildtime, E::Deliverable, 1000), "BTV/000/CUS x|y\n"},
        // A negative number keeps the layout of the record.
        {E("x", "y", E::Data, E::Deliverable, -12), "DAT/988/CUS x|y\n"},
        {E(), "INT/000/QXI |\n"},
    };
    for (const auto& [element, record] : cases)
        EXPECT_EQ(Record(element), record);
    // The longest record has 4095 bytes; one more and nothing is written.
    std::string name(2000, 'n'), rtv(4095 - 14 - 2000, 'r');
    EXPECT_EQ(Record(E(name.c_str(), rtv.c_str(), E::Runtime, E::Deliverable, 1)).size(), 4095u);
    EXPECT_EQ(Record(E(name.c_str(), (rtv + "r").c_str(), E::Runtime, E::Deliverable, 1)), "");
}

TEST(zbRTViewElement, CopiesOwnTheirFullName)
{
    E a("n", "r", E::Data, E::Deliverable, 3);
    a.SetFullRTVname("/full/r");
    E b(a);
    ASSERT_NE(b.GetFullRTVname(), a.GetFullRTVname());
    EXPECT_STREQ(b.GetFullRTVname()->CastToCharPtr(), "/full/r");
    E c("other", "o", E::Runtime, E::NotDeliverable, 0);
    c = b;
    EXPECT_EQ(Fields(c) + c.GetFullRTVname()->CastToCharPtr(), "Data 3 Deliverable [n] [r]/full/r");
    // A source without a full name drops the target's.
    c = E("m", "s", E::Runtime, E::Deliverable, E::Strip);
    EXPECT_EQ(c.GetFullRTVname(), nullptr);
    EXPECT_TRUE(c.HasSkill(E::Strip) && !c.HasSkill(E::Strip | E::InFramework));
}

TEST(zbRTViewData, FirstLine)
{
    const std::string record = "RTV/001/CUS a|b\n";
    const std::tuple<std::string, int, int> cases[] = {
        {kMagic + record, 0, 1},
        {"!<zbRTViewData> v1.0.0", 0, 0},
        {"!<zbRTViewData> v1.0\n" + record, -1, 0},
        // A first line shorter than the magic's head.
        {"\n" + kMagic + record, -1, 0},
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
    // (Later and older versions, empty and missing files: rtv.t; another
    // format whose first line sorts after this one: rtvstat.t.)
}

TEST(zbRTViewData, MergeRules)
{
    const std::string report =
        "# Error: Runtime-view element a is given two runtime-view names: x and y\n";
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        // A higher type wins, whatever the exposure, and nothing is said.
        {"RTV/001/CUS a|x", "INT/002/QXI a|y", "INT/002/QXI a|y\n", false},
        {"INT/002/CUS a|x", "RTV/001/QXI a|y", "INT/002/CUS a|x\n", false},
        // The same type: different names are reported, the higher exposure wins.
        {"RTV/001/CUS a|x", "RTV/002/CUS a|y", "RTV/001/CUS a|x\n", true},
        {"RTV/001/CUS a|x", "RTV/002/QXI a|y", "RTV/002/QXI a|y\n", true},
        {"RTV/001/QXI a|x", "RTV/002/CUS a|y", "RTV/001/QXI a|x\n", true},
        {"RTV/001/CUS a|x", "RTV/002/QXI a|x", "RTV/002/QXI a|x\n", false},
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

TEST(zbRTViewElementStat, ParsesTheStatisticsPartOfARecord)
{
    const std::tuple<const char*, const char*, long long, long, const char*> rows[] = {
        /* 0 */ {"RTV/000/CUS a|b|12@34|FW", "b", 12, 34, "FW"},
        /* 1 */ {"RTV/000/CUS a|b|-1@34|FW", "b", 0, 0, "FW"},
        /* 2 */ {"RTV/000/CUS a|b|12@-3|FW", "b", 0, 0, "FW"},
        /* 3 */ {"RTV/000/CUS a|b", "b", 0, 0, ""},
        /* 4 */ {"RTV/000/CUS a|b|12@34", "b", 12, 34, ""},
        /* 5 */ {"RTV/000/CUS a|b|12|FW", "b", 0, 0, "FW"},
        /* 6 */ {"RTV/000/CUS a|b|5000000000@7|F|G", "b", 5000000000LL, 7, "F|G"},
    };
    for (const auto& [record, rtvname, size, time, framework] : rows)
    {
        S element(record);
        SCOPED_TRACE(record);
        EXPECT_STREQ(element._Name.CastToCharPtr(), "a");
        EXPECT_STREQ(element._RTVname.CastToCharPtr(), rtvname);
        EXPECT_EQ(element.GetSize(), size);
        EXPECT_EQ(element.GetLastModificationTime(), time);
        EXPECT_STREQ(element._Framework.CastToCharPtr(), framework);
    }
}

TEST(zbRTViewElementStat, RecordsAreWrittenWhole_OrNotAtAll)
{
    S element("bin/x", "Fw/bin/x", E::Buildtime, E::NotDeliverable, 2);
    element._Framework = "Fw";
    element.SetSizeAndLastModificationTime(5000000000LL, 1700000000L);
    S copy;
    copy = element; // the copy carries the statistics and the framework
    for (const S* written : {&element, &copy})
        EXPECT_EQ(Record(*written), "BTV/002/QXI bin/x|Fw/bin/x|5000000000@1700000000|Fw\n");

    // Names, digits and 17 bytes must stay below 4096.
    std::string name(4096 - 17 - 2, 'n');
    EXPECT_EQ(Record(S(name.c_str(), "", E::Runtime, E::Deliverable, 0)), "");
    name.pop_back();
    EXPECT_EQ(Record(S(name.c_str(), "", E::Runtime, E::Deliverable, 0)).size(), 4095u);
}

TEST(zbRTViewDataStat, FrameworksStayApart_ElementsOfOneFrameworkMerge)
{
    zbRTViewDataStat data(7, 11);
    EXPECT_EQ(data.InsertForFramework(Make("x", "A", 1, 2), zbRTViewData::MergeSilently), 1);
    EXPECT_EQ(data.InsertForFramework(Make("x", "B", 3, 4), zbRTViewData::MergeSilently), 1);
    // The higher type takes all the fields, statistics included.
    EXPECT_EQ(data.InsertForFramework(Make("x", "A", 5, 6, E::Data), zbRTViewData::MergeSilently),
              0);
    S* a = static_cast<S*>(data.GetListOfElementsForFramework("A")->Locate("x"));
    S* b = static_cast<S*>(data.GetListOfElementsForFramework("B")->Locate("x"));
    EXPECT_EQ(std::to_string(a->GetSize()) + a->Typestr() + std::to_string(b->GetSize()), "5Data3");
    EXPECT_EQ(data.GetListOfElementsForFramework("C"), nullptr);

    QORListPtrzbRTViewElementStat stats;
    data.GetListOfElementsForFramework("A", E::Data.GetId(), -1, stats);
    data.GetListOfElementsForFramework("A", E::Runtime, E::Deliverable, stats);
    data.GetListOfElementsForFramework("C", -1, -1, stats);
    ASSERT_EQ(stats.Size(), 1);
    QORListPtrzbRTViewElement plain;
    data.GetListOfElementsForFramework("B", E::Runtime, E::Deliverable, plain);
    EXPECT_EQ(plain.Size(), 1);
    // (Frameworks written, read back apart, into a new directory: rtvstat.t.)
}

// The file's text is built in a block that grows: a set many times larger
// than its first size reads back and writes again byte for byte.
TEST(zbRTViewDataStat, LargeSetRoundTripsByteForByte)
{
    TempDir dir;
    zbRTViewDataStat data(13, 4099);
    for (int i = 0; i < 3000; ++i)
        data.InsertForFramework(Make(("lib/file" + std::to_string(i)).c_str(),
                                     ("Fw" + std::to_string(i % 13)).c_str(), i * 1000003LL, i),
                                zbRTViewData::MergeSilently);
    zbRTViewDataStat again(13, 4099);
    ASSERT_EQ(data.Write((dir / "a").c_str()), 0);
    ASSERT_EQ(again.Read((dir / "a").c_str(), zbRTViewData::KeepPaths), 0);
    ASSERT_EQ(again.Write((dir / "b").c_str()), 0);
    const std::string first = ReadFile(dir / "a");
    EXPECT_EQ(first, ReadFile(dir / "b"));
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3001);
}

TEST(zbRTViewDataStat, FileText_EmptySet_LaterVersion)
{
    TempDir dir;
    zbRTViewDataStat data(1, 1);
    ASSERT_EQ(data.Write((dir / "empty").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "empty"), kStatMagic);
    // (Sizes beyond 32 bits in a record: RecordsAreWrittenWhole_OrNotAtAll.)

    // Empty lines are skipped; a later version of the format is accepted.
    WriteFile(dir / "in", "!<zbRTViewDataStat> v1.1.0\n\nRTV/000/CUS y|Y|12@34|FW\n\n");
    zbRTViewDataStat read(1, 1);
    ASSERT_EQ(read.Read((dir / "in").c_str(), zbRTViewData::KeepPaths), 0);
    EXPECT_EQ(Text(read), kStatMagic + "RTV/000/CUS y|Y|12@34|FW\n");
    read.RemoveAll();
    EXPECT_EQ(Text(read), kStatMagic);
    // (Another format's first line, an empty and a missing file: the first
    // lines of zbRTViewData, rtvstat.t and badinput.t's -list row.)
}
