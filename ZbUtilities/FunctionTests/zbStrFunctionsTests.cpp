// zbStrDup, zbCompareByCase, zbStrChrTok, zbBuildTabArgFromString.

#include <algorithm>

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
            size_t lines = 5, equals = 0;
            zbCountTwoBytes(begin, end, '\n', '=', lines, equals);
            EXPECT_EQ(5 + std::count(begin, end, '\n'), static_cast<long>(lines)) << length;
            EXPECT_EQ(std::count(begin, end, '='), static_cast<long>(equals)) << length;
            size_t high = 0, none = 0;
            zbCountTwoBytes(begin, end, static_cast<char>('a' + 5 + 128), '\0', high, none);
            EXPECT_EQ(std::count(begin, end, static_cast<char>('a' + 5 + 128)),
                      static_cast<long>(high));
            EXPECT_EQ(0u, none);
        }
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
