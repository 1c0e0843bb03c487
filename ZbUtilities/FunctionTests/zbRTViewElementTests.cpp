// Runtime-view elements and their tags: the tag table, record parsing,
// records written byte for byte, Print, copies.

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "zbOFStream.h"
#include "zbRTViewElement.h"
#include "zbTestSupport.h"

using E = zbRTViewElement;

namespace
{
std::string Record(const zbRTViewElement& iElement)
{
    std::string buffer(zbRTViewElement::MaxRecordLength, 'x');
    unsigned int length = 99;
    iElement.FillBuffer(&buffer[0], length);
    if (length == 0)
        return "";
    EXPECT_EQ(buffer[length], '\0');
    return buffer.substr(0, length);
}

std::string Printed(const zbRTViewElement& iElement)
{
    zbtest::TempDir dir;
    {
        zbOFStream stream((dir / "out").c_str(), 4);
        iElement.Print(stream);
        stream.Close();
    }
    return zbtest::ReadFile(dir / "out");
}

// Type name, skills, exposure name, name, runtime-view name.
std::string Fields(const zbRTViewElement& iElement)
{
    return std::string(iElement.Typestr()) + " " + std::to_string(iElement._Skills) + " " +
           iElement.Exposurestr() + " [" + iElement._Name.CastToCharPtr() + "] [" +
           iElement._RTVname.CastToCharPtr() + "]";
}
} // namespace

TEST(zbRTViewElement, TagTable)
{
    struct Row
    {
        const zbRTViewElementTag& _Tag;
        int _Id;
        const char* _Code;
        const char* _Name;
    };
    const Row rows[] = {
        {E::Runtime, 1, "RTV", "Runtime"},
        {E::Buildtime, 2, "BTV", "Buildtime"},
        {E::Internal, 4, "INT", "Internal"},
        {E::Data, 256, "DAT", "Data"},
        {E::DataInternal, 512, "IDA", "DataInternal"},
        {E::Deliverable, 1, "CUS", "Deliverable"},
        {E::NotDeliverable, 2, "QXI", "NotDeliverable"},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(static_cast<int>(row._Tag), row._Id) << row._Name;
        EXPECT_STREQ(row._Tag.GetCode(), row._Code);
        EXPECT_STREQ(row._Tag.GetName(), row._Name);
        EXPECT_TRUE(row._Tag.MatchTag((std::string(row._Code) + "/000").c_str()));
        EXPECT_FALSE(row._Tag.MatchTag(std::string(row._Code, 2).c_str()));
        EXPECT_TRUE(row._Tag.MatchId(row._Id));
        EXPECT_TRUE(row._Tag.MatchId(row._Id | 0x4000));
        EXPECT_FALSE(row._Tag.MatchId(~row._Id));
    }
    EXPECT_EQ(E::Runtime | E::Data, 257);
    EXPECT_EQ(E::Deliverable | E::NotDeliverable, 3);
    EXPECT_EQ(E::Internal | 8, 12);
    EXPECT_TRUE(E::Buildtime < E::Internal && E::Internal <= E::Internal &&
                E::DataInternal > E::Data);
    EXPECT_TRUE(E::NotDeliverable >= E::Deliverable && !(E::Runtime == E::Buildtime));
    // An id that is a mask matches only itself or masks holding all its bits.
    const zbRTViewElementType both(3, "XXX", "Both");
    EXPECT_TRUE(both.MatchId(3) && both.MatchId(7));
    EXPECT_FALSE(both.MatchId(1));
}

TEST(zbRTViewElement, ParsesRecords)
{
    struct Case
    {
        const char* _Record;
        const char* _Fields;
    };
    const Case cases[] = {
        {"RTV/003/CUS lib/a.so|code/lib/a.so", "Runtime 3 Deliverable [lib/a.so] [code/lib/a.so]"},
        {"BTV/010/QXI lib/b.so", "Buildtime 10 NotDeliverable [lib/b.so] [lib/b.so]"},
        {"DAT/000/CUS d|", "Data 0 Deliverable [d] [d]"},
        {"IDA/999/QXI a|b|c", "DataInternal 999 NotDeliverable [a] [b|c]"},
        // Codes outside the table.
        {"XYZ/001/ABC n|r", "Internal 1 NotDeliverable [n] [r]"},
        {"rtv/001/cus n|r", "Internal 1 NotDeliverable [n] [r]"},
        // The separators are not looked at; the name starts at byte 12.
        {"RTV-002+CUS?n|r", "Runtime 2 Deliverable [n] [r]"},
        {"RTV/3/CUS n|r", "Runtime 3 NotDeliverable [r] [r]"},
        // Short and empty lines.
        {"", "Internal 0 NotDeliverable [] []"},
        {"RT", "Internal 0 NotDeliverable [] []"},
        {"RTV/005/CUS", "Runtime 5 Deliverable [] []"},
        {"RTV/005/CUS ", "Runtime 5 Deliverable [] []"},
        {"INT/007/QXI |", "Internal 7 NotDeliverable [] []"},
        {"INT/007/QXI |r", "Internal 7 NotDeliverable [] [r]"},
        // The skills as atoi reads three bytes.
        {"RTV/ 42/CUS n", "Runtime 42 Deliverable [n] [n]"},
        {"RTV/-12/CUS n", "Runtime -12 Deliverable [n] [n]"},
        {"RTV/4x2/CUS n", "Runtime 4 Deliverable [n] [n]"},
        // A line ends at a line feed.
        {"RTV/001/CUS n|r\nBTV/002/QXI m|s", "Runtime 1 Deliverable [n] [r]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Fields(zbRTViewElement(c._Record)), c._Fields) << c._Record;

    // A record given by length needs no NUL; a NUL inside ends it.
    const char bytes[] = "RTV/001/CUS name|rtvXYZ";
    EXPECT_EQ(Fields(zbRTViewElement(bytes, 20)), "Runtime 1 Deliverable [name] [rtv]");
    const char withNul[] = "RTV/001/CUS na\0me|r";
    EXPECT_EQ(Fields(zbRTViewElement(withNul, sizeof withNul - 1)),
              "Runtime 1 Deliverable [na] [na]");
    // At most 4096 bytes of a line are used.
    std::string longLine = "RTV/001/CUS " + std::string(5000, 'n');
    EXPECT_EQ(zbRTViewElement(longLine.c_str())._Name.GetLengthInByte(), 4096 - 12);
}

TEST(zbRTViewElement, WritesRecordsAndPrints)
{
    struct Case
    {
        zbRTViewElement _Element;
        const char* _Record;
        const char* _Printed;
    };
    const Case cases[] = {
        {E("lib/a.so", "code/lib/a.so", E::Runtime, E::Deliverable, 3),
         "RTV/003/CUS lib/a.so|code/lib/a.so\n", "RTV/003/CUS lib/a.so|code/lib/a.so"},
        {E("x", "y", E::DataInternal, E::NotDeliverable, 1234), "IDA/234/QXI x|y\n",
         "IDA/1234/QXI x|y"},
        {E("x", "y", E::Buildtime, E::Deliverable, 1000), "BTV/000/CUS x|y\n", "BTV/1000/CUS x|y"},
        // A negative number keeps the layout of the record.
        {E("x", "y", E::Data, E::Deliverable, -12), "DAT/988/CUS x|y\n", "DAT/-012/CUS x|y"},
        {E("", "", E::Internal, E::NotDeliverable, 0), "INT/000/QXI |\n", "INT/000/QXI |"},
        {E(), "INT/000/QXI |\n", "INT/000/QXI |"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Record(c._Element), c._Record);
        EXPECT_EQ(Printed(c._Element), c._Printed);
    }

    // The longest record has 4095 bytes; one more and nothing is written.
    std::string name(2000, 'n');
    EXPECT_EQ(Record(E(name.c_str(), std::string(4095 - 14 - 2000, 'r').c_str(), E::Runtime,
                       E::Deliverable, 1))
                  .size(),
              4095u);
    EXPECT_EQ(Record(E(name.c_str(), std::string(4096 - 14 - 2000, 'r').c_str(), E::Runtime,
                       E::Deliverable, 1)),
              "");
}

TEST(zbRTViewElement, CopiesAndTags)
{
    zbRTViewElement a("n", "r", E::Data, E::Deliverable, 3);
    EXPECT_EQ(a.GetFullRTVname(), nullptr);
    a.SetFullRTVname("/full/r");
    zbRTViewElement b(a);
    ASSERT_NE(b.GetFullRTVname(), nullptr);
    EXPECT_STREQ(b.GetFullRTVname()->CastToCharPtr(), "/full/r");
    EXPECT_NE(b.GetFullRTVname(), a.GetFullRTVname());
    EXPECT_TRUE(b == a);

    // Assignment copies every field and drops a full name the source lacks.
    zbRTViewElement c("other", "o", E::Runtime, E::NotDeliverable, 0);
    c = b;
    EXPECT_EQ(Fields(c), "Data 3 Deliverable [n] [r]");
    EXPECT_STREQ(c.GetFullRTVname()->CastToCharPtr(), "/full/r");
    c = zbRTViewElement("m", "s", E::Runtime, E::Deliverable, 0);
    EXPECT_EQ(c.GetFullRTVname(), nullptr);
    const zbRTViewElement& same = c;
    c = same;
    EXPECT_EQ(Fields(c), "Runtime 0 Deliverable [m] [s]");

    c = E::Buildtime;
    c = E::NotDeliverable;
    EXPECT_EQ(&c.Type(), &E::Buildtime);
    EXPECT_EQ(&c.Exposure(), &E::NotDeliverable);
    EXPECT_STREQ(c.Typestr(), "Buildtime");
    EXPECT_STREQ(c.Exposurestr(), "NotDeliverable");

    zbRTViewElement skilled("n", "r", E::Runtime, E::Deliverable, E::Strip | E::InFramework);
    EXPECT_TRUE(skilled.HasSkill(E::Strip) && skilled.HasSkill(E::Strip | E::InFramework));
    EXPECT_FALSE(zbRTViewElement("n", "r", E::Runtime, E::Deliverable, E::Strip)
                     .HasSkill(E::Strip | E::InFramework));
}
