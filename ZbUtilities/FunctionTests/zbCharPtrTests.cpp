// zbCharPtr and zb32BitField: owned buffers and numbered flags.

#include "zb32BitField.h"
#include "zbTestSupport.h"
#include "zbCharPtr.h"

TEST(zbCharPtr, ConstructionAssignmentAndAppend)
{
    zbCharPtr none;
    EXPECT_EQ(nullptr, none.CastToCharPtr());
    EXPECT_EQ(0u, none.ComputeHashKey());
    zbCharPtr fromNull(static_cast<const char*>(nullptr));
    ASSERT_NE(nullptr, fromNull.CastToCharPtr());
    EXPECT_STREQ("", fromNull.CastToCharPtr());
    EXPECT_EQ(0, none.Compare(fromNull));

    zbCharPtr text("abc");
    text += "";
    text += static_cast<const char*>(nullptr);
    text += QORString("de");
    text += zbCharPtr("f");
    EXPECT_STREQ("abcdef", text.CastToCharPtr());
    EXPECT_EQ(6u, text.Length());
    text += text; // appending to itself reads before freeing
    EXPECT_STREQ("abcdefabcdef", text.CastToCharPtr());

    text = text.CastToCharPtr(); // its own buffer: unchanged
    EXPECT_STREQ("abcdefabcdef", text.CastToCharPtr());
    text = static_cast<const char*>(nullptr);
    EXPECT_STREQ("", text.CastToCharPtr());
    text = QORString("xy");
    zbCharPtr copy(text);
    copy = zbCharPtr("z");
    EXPECT_STREQ("z", copy.CastToCharPtr());
    EXPECT_STREQ("xy", text.CastToCharPtr());
}

TEST(zbCharPtr, TruncFindDuplicate)
{
    zbCharPtr text("abcab");
    EXPECT_EQ(text.CastToCharPtr() + 1, text.FindFirstChar('b'));
    EXPECT_EQ(text.CastToCharPtr() + 4, text.FindLastChar('b'));
    EXPECT_EQ(nullptr, text.FindFirstChar('z'));
    EXPECT_EQ(nullptr, zbCharPtr().FindLastChar('a'));
    EXPECT_EQ(5, text.Trunc(10));
    EXPECT_EQ(3, text.Trunc(3));
    EXPECT_STREQ("abc", text.CastToCharPtr());
    EXPECT_EQ(nullptr, text.FindLastChar('\0'));
    char* copy = text.Duplicate();
    EXPECT_STREQ("abc", copy);
    delete[] copy;
    EXPECT_EQ(nullptr, zbCharPtr("").Duplicate());
}

TEST(zbCharPtr, CompareByLengthThenBytesAndHash)
{
    EXPECT_LT(zbCharPtr("b"), zbCharPtr("aa"));
    EXPECT_GT(zbCharPtr("ab"), zbCharPtr("aa"));
    EXPECT_EQ(-2, zbCharPtr("a").Compare("abc"));
    EXPECT_EQ(1, zbCharPtr("a").Compare(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(zbCharPtr("abc") == QORString("abc") && zbCharPtr("abc") != "abd");
    // Big-endian words; the tail fills the high bytes.
    EXPECT_EQ(0x61626364u ^ 0x65000000u, zbCharPtr("abcde").ComputeHashKey());
    EXPECT_EQ(0xff800000u, zbCharPtr("\xff\x80").ComputeHashKey()); // bytes unsigned
    EXPECT_EQ(0u, zbCharPtr("").ComputeHashKey());
}

TEST(zb32BitField, BitsOneToThirtyTwo)
{
    zb32BitField field;
    field(33, 1);
    field(0, 1);
    EXPECT_EQ(0ul, field.Value());
    field(5, 0); // zero inverts: a clear bit becomes set
    EXPECT_EQ(1, field[5]);
    field(5, 0);
    EXPECT_EQ(0, field[5]);
    field(32, 1);
    EXPECT_EQ(1, field[32]);
    EXPECT_EQ(0, field[33]);
    EXPECT_EQ(0, field[0]);

    zb32BitField range(0xF0ul);
    range(3, 4, 1); // bits 3..6 set
    EXPECT_EQ(0xFCul, range.Value());
    range(1, 8, 0);
    EXPECT_EQ(0x03ul, range.Value());
    range(30, 4, 1); // 30..33 leaves the field: nothing
    range(4, 0, 1);
    EXPECT_EQ(0x03ul, range.Value());
    range(1, 32, 1);
    EXPECT_EQ(0xFFFFFFFFul, range.Value());
}

TEST(zb32BitField, TextInAndOut)
{
    zb32BitField field;
    field = "101";
    EXPECT_EQ(5ul, field.Value());
    field = "1x1";
    EXPECT_EQ(5ul, field.Value());
    field = "11111111"
            "00000000000000000000000000000001"; // 40 characters: the last 32 count
    EXPECT_EQ(1ul, field.Value());
    field = static_cast<const char*>(nullptr);
    EXPECT_EQ(0ul, field.Value());

    char text[34];
    std::memset(text, '#', sizeof text);
    zb32BitField(0x80000005ul) >> text;
    EXPECT_EQ("10000000000000000000000000000101#", std::string(text, 33));
    EXPECT_EQ(nullptr, zb32BitField(1ul) >> static_cast<char*>(nullptr));
}
