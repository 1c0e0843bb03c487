#include <cstring>

#include <gtest/gtest.h>

#include "QORString.h"
#include "QORUnicodeString.h"

TEST(QORString, NullIsDistinctFromEmpty)
{
    QORString unset, fromNull(static_cast<const char*>(nullptr)), empty("");
    EXPECT_TRUE(unset.IsNull() && fromNull.IsNull() && !empty.IsNull());
    EXPECT_STREQ(unset.CastToCharPtr(), "");
    EXPECT_EQ(unset, empty); // same text
    EXPECT_FALSE(unset.Append("").IsNull());
    EXPECT_TRUE((unset = static_cast<const char*>(nullptr)).IsNull());
}

TEST(QORString, EditingAndSearching)
{
    QORString s("Hello");
    EXPECT_EQ((s += ", ") += QORString("World"), "Hello, World");
    EXPECT_EQ(s.Insert(0, ">").Insert(1000, "<"), ">Hello, World<");
    EXPECT_EQ(s.ReplaceSubString("o", "0", 6), 9);
    EXPECT_EQ(s, ">Hello, W0rld<");
    EXPECT_EQ(s.ReplaceSubString("xyz", "-"), -1);
    EXPECT_EQ(s.Find("l", 5), 11);
    EXPECT_EQ(s.SubString(1, 5), "Hello");
    EXPECT_EQ(s.SubString(99), "");
    EXPECT_EQ(QORString("MiXeD").ToLower(), "mixed");
    EXPECT_LT(QORString("a").Compare("b"), 0);
    EXPECT_TRUE(QORString("a").Compare(nullptr) == 1 && QORString("").Compare(nullptr) == 0);
    EXPECT_EQ("x" + QORString("y") + "z", "xyz");
}

TEST(QORString, EmbeddedBytesAndHash)
{
    QORString a("ab\0cd", 5), b("ab\0ce", 5);
    EXPECT_EQ(a.Length(), 5);
    EXPECT_TRUE(a != b && a.ComputeHashKey() != b.ComputeHashKey());
    // Dictionaries walk their buckets by hash, so the values themselves are
    // part of what the tools print: they never change.
    const std::pair<const char*, unsigned int> known[] = {{"", 0x811c9dc5u},
                                                          {"a", 0xe40c292cu},
                                                          {"foobar", 0xbf9cf968u},
                                                          {"Fw00Header0001.h", 0x115e0386u}};
    for (const auto& [text, hash] : known)
        EXPECT_EQ(QORHashBytes(text, std::strlen(text)), hash) << text;
}

TEST(QORUnicodeString, Utf8RoundTripIsExact)
{
    // One-, two-, three- and four-byte characters.
    const char* text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
    QORUnicodeString u(text);
    EXPECT_TRUE(u.GetLengthInChar() == 5 && u[1] == U'\u00E9' && u[3] == U'\U0001F600');
    EXPECT_EQ(u.ConvertToUTF8(), text);
    EXPECT_STREQ(u.ConvertToChar().CastToCharPtr(), text);
}

TEST(QORUnicodeString, InvalidBytesSurviveUnchanged)
{
    // A lone continuation byte, a truncated sequence, an overlong form, a
    // surrogate encoded in UTF-8, latin-1 text.
    std::string bytes = "x\x80y\xE2\x82z\xC0\xAF\xED\xA0\x80 caf\xE9";
    QORUnicodeString u(bytes.c_str(), bytes.size());
    EXPECT_EQ(u.ConvertToUTF8(), bytes);
    // Editing around escaped bytes keeps them.
    u.ReplaceAll(QORUnicodeString("y"), QORUnicodeString("Y"));
    EXPECT_EQ(u.ConvertToUTF8(), "x\x80Y\xE2\x82z\xC0\xAF\xED\xA0\x80 caf\xE9");
}

TEST(QORUnicodeString, ConvertIntoCallerBufferNeverCutsACharacter)
{
    QORUnicodeString u("ab\xE2\x82\xAC");
    char buffer[5];
    EXPECT_EQ(u.ConvertToUTF8(buffer, sizeof buffer), 2); // the euro sign needs 3 more bytes
    EXPECT_STREQ(buffer, "ab");
    char big[16];
    EXPECT_TRUE(u.ConvertToUTF8(big, sizeof big) == 5 && u.ConvertToUTF8(nullptr, 10) == 0);
}

TEST(QORUnicodeString, Editing)
{
    QORUnicodeString u("a&b&&c");
    EXPECT_EQ(u.ReplaceAll(QORUnicodeString("&"), QORUnicodeString("&amp;")), 3);
    EXPECT_EQ(u.ConvertToUTF8(), "a&amp;b&amp;&amp;c");
    EXPECT_TRUE(u.SearchSubString(QORUnicodeString("b"), 0) == 6 &&
                u.SearchSubString(QORUnicodeString("b"), 7) == -1);
    EXPECT_EQ(u.SubString(0, 1).ConvertToUTF8(), "a");
    EXPECT_EQ(QORUnicodeString(U'x', 3).ConvertToUTF8(), "xxx");
    QORUnicodeString n;
    EXPECT_EQ(n.BuildFromNum(-42, "%lld"), 3);
    EXPECT_EQ(n.Insert(1, QORUnicodeString("+")).ConvertToUTF8(), "-+42");
    EXPECT_EQ(n.ReplaceSubString(0, 2, QORUnicodeString("")), 0);
    EXPECT_EQ(n.ConvertToUTF8(), "42");
    EXPECT_EQ(n.ReplaceSubString(9, 1, QORUnicodeString("")), 1);
}
