// Statistics files: records, frameworks kept apart, the file byte for byte.

#include "zbRTViewDataStat.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;
using S = zbRTViewElementStat;
using namespace zbtest;

namespace
{
const std::string kMagic = "!<zbRTViewDataStat> v1.0.0\n";

std::string Text(const zbRTViewDataStat& iData)
{
    unsigned int length = 0;
    char* buffer = iData._FillBuffer(length);
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
} // namespace

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
        /* 7 */ {"RTV/000/CUS a", "a", 0, 0, ""},
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
    char buffer[E::MaxRecordLength + 1];
    unsigned int length = 0;
    S element("bin/x", "Fw/bin/x", E::Buildtime, E::NotDeliverable, 2);
    element._Framework = "Fw";
    element.SetSizeAndLastModificationTime(5000000000LL, 1700000000L);
    element.FillBuffer(buffer, length);
    EXPECT_EQ(std::string(buffer, length), "BTV/002/QXI bin/x|Fw/bin/x|5000000000@1700000000|Fw\n");
    S copy;
    copy = element;
    copy.FillBuffer(buffer, length); // the copy carries the statistics and the framework
    EXPECT_EQ(std::string(buffer, length), "BTV/002/QXI bin/x|Fw/bin/x|5000000000@1700000000|Fw\n");

    // Names, digits and 17 bytes must stay below 4096.
    std::string name(4096 - 17 - 2, 'n');
    S longest(name.c_str(), "", E::Runtime, E::Deliverable, 0);
    longest.FillBuffer(buffer, length);
    EXPECT_EQ(length, 0u);
    name.pop_back();
    S fits(name.c_str(), "", E::Runtime, E::Deliverable, 0);
    fits.FillBuffer(buffer, length);
    EXPECT_EQ(length, 4095u);
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

    TempDir dir;
    ASSERT_EQ(data.Write((dir / "sub/s.stat").c_str()), 0);
    zbRTViewDataStat again(7, 11);
    ASSERT_EQ(again.Read((dir / "sub/s.stat").c_str(), zbRTViewData::KeepPaths), 0);
    EXPECT_EQ(Text(again), Text(data));
    EXPECT_EQ(again.GetListOfElementsForFramework("B")->GetNbItems(), 1);
}

TEST(zbRTViewDataStat, FileText_EmptySet_OtherFirstLines)
{
    TempDir dir;
    zbRTViewDataStat data(1, 1);
    ASSERT_EQ(data.Write((dir / "empty").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "empty"), kMagic);
    // (Sizes beyond 32 bits in a record: RecordsAreWrittenWhole_OrNotAtAll.)

    // Empty lines are skipped; a later version of the format is accepted.
    WriteFile(dir / "in", "!<zbRTViewDataStat> v1.1.0\n\nRTV/000/CUS y|Y|12@34|FW\n\n");
    zbRTViewDataStat read(1, 1);
    ASSERT_EQ(read.Read((dir / "in").c_str(), zbRTViewData::KeepPaths), 0);
    EXPECT_EQ(Text(read), kMagic + "RTV/000/CUS y|Y|12@34|FW\n");
    read.RemoveAll();
    EXPECT_EQ(Text(read), kMagic);

    WriteFile(dir / "other", "!<zbRTViewData> v1.0.0\n");
    WriteFile(dir / "none", "");
    EXPECT_EQ(read.Read((dir / "other").c_str(), zbRTViewData::KeepPaths), -1);
    EXPECT_EQ(read.Read((dir / "none").c_str(), zbRTViewData::KeepPaths), -10);
    EXPECT_EQ(read.Read((dir / "missing").c_str(), zbRTViewData::KeepPaths), 1);
}
