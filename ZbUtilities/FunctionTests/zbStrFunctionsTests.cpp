// zbStrDup, zbCompareByCase, zbStrChrTok, zbBuildTabArgFromString.

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
    char* copy = zbStrDup("abc");
    EXPECT_STREQ("abc", copy);
    delete[] copy;

    EXPECT_EQ(0, zbCompareByCase(nullptr, nullptr, 3));
    EXPECT_EQ(-1, zbCompareByCase(nullptr, "a", 1));
    EXPECT_EQ(1, zbCompareByCase("a", nullptr, 1));
    EXPECT_EQ(0, zbCompareByCase("abc", "xyz", 0));
    EXPECT_EQ(0, zbCompareByCase("HeLLo", "hello", 5));
    EXPECT_EQ(-1, zbCompareByCase("abc", "abd", 3));
    // The order is that of the bytes as they are, not lowered: 'D' is below 'c'.
    EXPECT_EQ(-1, zbCompareByCase("abD", "abc", 3));
    EXPECT_EQ(1, zbCompareByCase("abd", "abC", 3));
    // Exactly iLength bytes, NUL included.
    EXPECT_EQ(1, zbCompareByCase("a\0b", "a\0a", 3));
    EXPECT_EQ(-1, zbCompareByCase("\xE9", "a", 1)); // signed bytes
}

TEST(zbStrFunctions, StrChrTok)
{
    char text[] = "::a:bc::d";
    EXPECT_STREQ("a", zbStrChrTok(text, ':'));
    EXPECT_STREQ("bc", zbStrChrTok(nullptr, ':'));
    EXPECT_STREQ("d", zbStrChrTok(nullptr, ':'));
    EXPECT_EQ(nullptr, zbStrChrTok(nullptr, ':'));
    EXPECT_EQ(nullptr, zbStrChrTok(nullptr, ':'));
    char empty[] = ":::";
    EXPECT_EQ(nullptr, zbStrChrTok(empty, ':'));
}

TEST(zbBuildTabArgFromString, WordsAndQuotes)
{
    EXPECT_EQ((Words{"a", "bc de", "f"}), Split("a b\"c d\"e 'f'"));
    EXPECT_EQ((Words{"cc", "-o", "x y", "z'w"}), Split("  cc\t-o 'x y'  \"z'w\"\"\" "));
    EXPECT_EQ((Words{"", "a"}), Split("\"\" a"));
    EXPECT_EQ(Words{}, Split(" \t  "));
    EXPECT_EQ(Words{}, Split(""));
    // An odd number of double quotes: quotes mean nothing.
    EXPECT_EQ((Words{"a\"b", "'c", "d'"}), Split("a\"b 'c d'"));
    // A section left open runs to the end.
    EXPECT_EQ((Words{"a", "b c\td "}), Split("a 'b c\td "));
    EXPECT_EQ((Words{"x\"", "y z"}), Split("'x\"' \"y z"));

    char** none = zbBuildTabArgFromString(nullptr);
    EXPECT_EQ(nullptr, none[0]);
    delete[] none;
}
