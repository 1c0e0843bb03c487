// zbStrDup, zbCompareByCase, zbStrChrTok, zbBuildTabArgFromString; zbCharPtr
// and zb32BitField: owned buffers and numbered flags.

#include <algorithm>
#include <memory>

#include "zb32BitField.h"
#include "zbCharPtr.h"
#include "zbStrFunctions.h"
#include "zbTestSupport.h"

namespace
{
std::vector<std::string> Split(std::string iCommand)
{
    std::vector<char> buffer(iCommand.begin(), iCommand.end());
    buffer.push_back('\0');
    char** argv = zbBuildTabArgFromString(buffer.data());
    std::vector<std::string> words;
    for (char** p = argv; *p; ++p)
    {
        EXPECT_TRUE(*p >= buffer.data() && *p < buffer.data() + buffer.size());
        words.push_back(*p);
    }
    delete[] argv;
    return words;
}
using Words = std::vector<std::string>;
} // namespace

TEST(zbStrFunctions, StrDupAndCompareByCase)
{
    EXPECT_EQ(nullptr, zbStrDup(nullptr));
    std::unique_ptr<char[]> copy(zbStrDup("abc"));
    EXPECT_STREQ("abc", copy.get());

    // The order is that of the bytes as they are, not lowered ('D' is below
    // 'c'), signed; exactly the length given, NUL included.
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {nullptr, nullptr, 3, 0}, {nullptr, "a", 1, -1},    {"a", nullptr, 1, 1},
        {"abc", "xyz", 0, 0},     {"HeLLo", "hello", 5, 0}, {"abD", "abc", 3, -1},
        {"abd", "abC", 3, 1},     {"a\0b", "a\0a", 3, 1},   {"\xE9", "a", 1, -1}};
    for (const auto& [a, b, length, result] : cases)
        EXPECT_EQ(zbCompareByCase(a, b, length), result) << (a ? a : "null") << (b ? b : "null");
}

// Counts agree with a plain count on every length around the blocks of 16
// and past the 255 blocks after which the byte counters are added up.
TEST(zbStrFunctions, CountTwoBytes)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += static_cast<char>(
            i % 7 == 0 ? '\n' : (i % 11 == 0 ? '=' : 'a' + i % 26 + (i % 5 == 0 ? 128 : 0)));
    for (size_t length : {0, 1, 15, 16, 17, 31, 33, 255 * 16 - 1, 255 * 16, 255 * 16 + 17, 5000})
        for (size_t start : {0, 3})
        {
            const char* begin = text.data() + start;
            const char* end = text.data() + std::min(text.size(), start + length);
            const char high = static_cast<char>('a' + 5 + 128);
            size_t counts[4] = {5, 0, 0, 0}; // a count adds to what is there
            zbCountTwoBytes(begin, end, '\n', '=', counts[0], counts[1]);
            zbCountTwoBytes(begin, end, high, '\0', counts[2], counts[3]);
            EXPECT_EQ(
                (std::vector<long>{5 + std::count(begin, end, '\n'), std::count(begin, end, '='),
                                   std::count(begin, end, high), 0}),
                (std::vector<long>(counts, counts + 4)))
                << length;
        }
}

TEST(zbStrFunctions, StrChrTok)
{
    char text[] = "::a:bc::d";
    std::string tokens = zbStrChrTok(text, ':');
    while (const char* token = zbStrChrTok(nullptr, ':'))
        tokens += std::string("|") + token;
    EXPECT_EQ(tokens, "a|bc|d");
    EXPECT_EQ(nullptr, zbStrChrTok(nullptr, ':')); // and still none after the end
    char empty[] = ":::";
    EXPECT_EQ(nullptr, zbStrChrTok(empty, ':'));
}

TEST(zbBuildTabArgFromString, WordsAndQuotes)
{
    EXPECT_EQ((Words{"a", "bc de", "f"}), Split("a b\"c d\"e 'f'"));
    EXPECT_EQ((Words{"cc", "-o", "x y", "z'w"}), Split("  cc\t-o 'x y'  \"z'w\"\"\" "));
    EXPECT_EQ((Words{"", "a"}), Split("\"\" a"));
    EXPECT_TRUE(Split(" \t  ").empty() && Split("").empty());
    // An odd number of double quotes: quotes mean nothing.
    EXPECT_EQ((Words{"a\"b", "'c", "d'"}), Split("a\"b 'c d'"));
    // A section left open runs to the end.
    EXPECT_EQ((Words{"a", "b c\td "}), Split("a 'b c\td "));
    EXPECT_EQ((Words{"x\"", "y z"}), Split("'x\"' \"y z"));

    char** none = zbBuildTabArgFromString(nullptr);
    EXPECT_EQ(nullptr, none[0]);
    delete[] none;
}

TEST(zbCharPtr, ConstructionAssignmentAndAppend)
{
    zbCharPtr none, fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(none.CastToCharPtr() == nullptr && none.ComputeHashKey() == 0u);
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
