// zbCharPtr and zb32BitField: owned buffers and numbered flags.

#include <memory>

#include "zb32BitField.h"
#include "zbTestSupport.h"
#include "zbCharPtr.h"

TEST(zbCharPtr, ConstructionAssignmentAndAppend)
{
    zbCharPtr none, fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(none.CastToCharPtr() == nullptr && none.ComputeHashKey() == 0u);
    ASSERT_NE(nullptr, fromNull.CastToCharPtr());
    EXPECT_STREQ("", fromNull.CastToCharPtr());
    EXPECT_EQ(0, none.Compare(fromNull));

    zbCharPtr text("abc");
    text += "", text += static_cast<const char*>(nullptr), text += QORString("de");
    EXPECT_EQ(6u, (text += zbCharPtr("f")).Length());
    // Appending to itself reads before freeing; its own buffer assigned: unchanged.
    EXPECT_STREQ("abcdefabcdef", (text += text).CastToCharPtr());
    EXPECT_STREQ("abcdefabcdef", (text = text.CastToCharPtr()).CastToCharPtr());
    EXPECT_STREQ("", (text = static_cast<const char*>(nullptr)).CastToCharPtr());
    zbCharPtr copy(text = QORString("xy"));
    EXPECT_STREQ("z", (copy = zbCharPtr("z")).CastToCharPtr());
    EXPECT_STREQ("xy", text.CastToCharPtr());
}

TEST(zbCharPtr, TruncFindDuplicate)
{
    zbCharPtr text("abcab");
    const char* at = text.CastToCharPtr();
    EXPECT_TRUE(text.FindFirstChar('b') == at + 1 && text.FindLastChar('b') == at + 4 &&
                text.FindFirstChar('z') == nullptr && zbCharPtr().FindLastChar('a') == nullptr);
    EXPECT_EQ((std::vector<int>{text.Trunc(10), text.Trunc(3)}), (std::vector<int>{5, 3}));
    EXPECT_STREQ("abc", text.CastToCharPtr());
    EXPECT_EQ(nullptr, text.FindLastChar('\0'));
    std::unique_ptr<char[]> copy(text.Duplicate());
    EXPECT_STREQ("abc", copy.get());
    EXPECT_EQ(nullptr, zbCharPtr("").Duplicate());
}

TEST(zbCharPtr, CompareByLengthThenBytesAndHash)
{
    EXPECT_TRUE(zbCharPtr("b") < zbCharPtr("aa") && zbCharPtr("ab") > zbCharPtr("aa"));
    EXPECT_EQ(-2, zbCharPtr("a").Compare("abc"));
    EXPECT_EQ(1, zbCharPtr("a").Compare(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(zbCharPtr("abc") == QORString("abc") && zbCharPtr("abc") != "abd");
    // Big-endian words; the tail fills the high bytes; bytes are unsigned.
    EXPECT_EQ(0x61626364u ^ 0x65000000u, zbCharPtr("abcde").ComputeHashKey());
    EXPECT_EQ(0xff800000u, zbCharPtr("\xff\x80").ComputeHashKey());
    EXPECT_EQ(0u, zbCharPtr("").ComputeHashKey());
}

TEST(zb32BitField, BitsOneToThirtyTwo)
{
    zb32BitField field;
    EXPECT_EQ(0ul, field(33, 1)(0, 1).Value());
    EXPECT_EQ(1, field(5, 0)[5]); // zero inverts: a clear bit becomes set
    EXPECT_EQ(0, field(5, 0)[5]);
    EXPECT_EQ((std::vector<int>{field(32, 1)[32], field[33], field[0]}),
              (std::vector<int>{1, 0, 0}));

    zb32BitField range(0xF0ul);
    EXPECT_EQ(0xFCul, range(3, 4, 1).Value()); // bits 3..6 set
    EXPECT_EQ(0x03ul, range(1, 8, 0).Value());
    EXPECT_EQ(0x03ul, range(30, 4, 1)(4, 0, 1).Value()); // 30..33 leaves the field: nothing
    EXPECT_EQ(0xFFFFFFFFul, range(1, 32, 1).Value());
}

TEST(zb32BitField, TextInAndOut)
{
    zb32BitField field;
    EXPECT_EQ(5ul, (field = "101").Value());
    EXPECT_EQ(5ul, (field = "1x1").Value());
    // 40 characters: the last 32 count.
    EXPECT_EQ(1ul, (field = "1111111100000000000000000000000000000001").Value());
    EXPECT_EQ(0ul, (field = static_cast<const char*>(nullptr)).Value());

    char text[34];
    std::memset(text, '#', sizeof text);
    zb32BitField(0x80000005ul) >> text;
    EXPECT_EQ("10000000000000000000000000000101#", std::string(text, 33));
    EXPECT_EQ(nullptr, zb32BitField(1ul) >> static_cast<char*>(nullptr));
}
