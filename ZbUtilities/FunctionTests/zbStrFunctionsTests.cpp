// zbStrDup, zbCompareByCase, zbStrChrTok, zbBuildTabArgFromString.

#include <algorithm>
#include <memory>

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
        {"abc", "xyz", 0, 0},     {"HeLLo", "hello", 5, 0}, {"abc", "abd", 3, -1},
        {"abD", "abc", 3, -1},    {"abd", "abC", 3, 1},     {"a\0b", "a\0a", 3, 1},
        {"\xE9", "a", 1, -1}};
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
