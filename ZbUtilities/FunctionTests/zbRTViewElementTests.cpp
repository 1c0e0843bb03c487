// Runtime-view elements: tags, records parsed, written and printed.

#include "zbOFStream.h"
#include "zbRTViewElement.h"
#include "zbTestConversions.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;

namespace
{
std::string Record(const E& iElement)
{
    std::string buffer(E::MaxRecordLength, 'x');
    unsigned int length = 99;
    iElement.FillBuffer(&buffer[0], length);
    EXPECT_TRUE(length == 0 || buffer[length] == '\0');
    return buffer.substr(0, length);
}

std::string Printed(const E& iElement)
{
    return zbtest::Written([&](zbOFStream& out) { iElement.Print(out); }, 4);
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
    // Codes and names are checked through the records below.
    EXPECT_TRUE(E::Data.MatchTag("DAT/000") && !E::Data.MatchTag("DA") && !E::Data.MatchTag("dat"));
    EXPECT_TRUE(E::Data.MatchId(256) && E::Data.MatchId(E::Data | E::Runtime));
    EXPECT_FALSE(E::Data.MatchId(255));
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
        {"rtv/001/cus n|r", "Internal 1 NotDeliverable [n] [r]"},
        {"RTV-002+CUS?n|r", "Runtime 2 Deliverable [n] [r]"},
        {"RTV/3/CUS n|r", "Runtime 3 NotDeliverable [r] [r]"},
        // Short and empty lines.
        {"", "Internal 0 NotDeliverable [] []"},
        {"RT", "Internal 0 NotDeliverable [] []"},
        {"RTV/005/CUS", "Runtime 5 Deliverable [] []"},
        {"INT/007/QXI |", "Internal 7 NotDeliverable [] []"},
        {"INT/007/QXI |r", "Internal 7 NotDeliverable [] [r]"},
        // The skills as atoi reads three bytes.
        {"RTV/ 42/CUS n", "Runtime 42 Deliverable [n] [n]"},
        {"RTV/-12/CUS n", "Runtime -12 Deliverable [n] [n]"},
        {"RTV/4x2/CUS n", "Runtime 4 Deliverable [n] [n]"},
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

TEST(zbRTViewElement, WritesRecordsAndPrints)
{
    const std::tuple<E, const char*, const char*> cases[] = {
        {E("lib/a.so", "code/lib/a.so", E::Runtime, E::Deliverable, 3),
         "RTV/003/CUS lib/a.so|code/lib/a.so\n", "RTV/003/CUS lib/a.so|code/lib/a.so"},
        {E("x", "y", E::DataInternal, E::NotDeliverable, 1234), "IDA/234/QXI x|y\n",
         "IDA/1234/QXI x|y"},
        {E("x", "y", E::Buildtime, E::Deliverable, 1000), "BTV/000/CUS x|y\n", "BTV/1000/CUS x|y"},
        // A negative number keeps the layout of the record.
        {E("x", "y", E::Data, E::Deliverable, -12), "DAT/988/CUS x|y\n", "DAT/-012/CUS x|y"},
        {E(), "INT/000/QXI |\n", "INT/000/QXI |"},
    };
    for (const auto& [element, record, printed] : cases)
    {
        EXPECT_EQ(Record(element), record);
        EXPECT_EQ(Printed(element), printed);
    }
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
