// The XML text of tags and keys, and the process-wide list of open tags.

#include "zbMsgKey.h"
#include "zbTestSupport.h"
#include "zbMsgTag.h"

namespace
{
QORListValQORUnicodeString Values(std::initializer_list<const char*> iValues)
{
    QORListValQORUnicodeString list;
    for (const char* value : iValues)
        list.Append(QORUnicodeString(value));
    return list;
}

std::string Text(const QORUnicodeString& iText)
{
    return iText.ConvertToUTF8();
}

QORListPtrzbMsgTagComplex& OpenTags()
{
    return zbMsgTagComplex::_ListOfzbMsgTagComplex;
}
} // namespace

TEST(zbMsgTag, TranscodeEscapesEveryCharacterOnce)
{
    // What XML cannot hold shows the console's bytes as "\xhh"; tab, line
    // feed and carriage return stay.
    QORUnicodeString text(
        "a&b<c>d'e\"f &amp;\x01\xE9\t\n\r\xEF\xBF\xBF\x7F caf\xC3\xA9 \xE2\x82\xAC");
    const char* want =
        "a&amp;b&lt;c&gt;d&apos;e&quot;f &amp;amp;\\x01\\xe9\t\n\r\\xef\\xbf\\xbf\x7F "
        "caf\xC3\xA9 \xE2\x82\xAC";
    EXPECT_EQ(want, Text(zbMsgTag::Transcode(text)));
    EXPECT_EQ(want, Text(text));
}

TEST(zbMsgTag, SimpleTagsAndContainers)
{
    zbMsgTagSimple step(QORUnicodeString("Step")), bare(QORUnicodeString("Bare"));
    for (const char* parameter : {"Name", "Id", "Name"})
        step.AppendParameter(QORUnicodeString(parameter));
    EXPECT_EQ(2, step.GetNumberOfParameter());
    const std::string none = "<Step Name=\"???\" Id=\"???\"/>";
    EXPECT_EQ("<Step Name=\"a&amp;b\" Id=\"7\"/>",
              Text(step.GetMsg(Values({"a&b", "7"}), zbMsgTag::Open)));
    EXPECT_EQ("<Step Name=\"x\" Id=\"???\"/>", Text(step.GetMsg(Values({"x"}), zbMsgTag::Mode0)));
    EXPECT_EQ("<Bare/>", Text(bare.GetMsg(Values({"ignored"}), zbMsgTag::Open)));

    // A container's mapping selects parameters only when all of them are there.
    QORUnicodeString params[3] = {"p0", "p1", "p2"};
    const unsigned int reversed[2] = {2, 0};
    zbMsgTagContainer container(step, zbMsgTag::Mode0, reversed, 2);
    EXPECT_EQ("<Step Name=\"p2\" Id=\"p0\"/>", Text(container.GetMsg(params, 3)));
    EXPECT_EQ(none, Text(container.GetMsg(params, 2)));
    EXPECT_EQ(none, Text(container.GetMsg(nullptr, 3)));
    zbMsgTagContainer unmapped(step, zbMsgTag::Mode0, reversed, 0);
    EXPECT_EQ(none, Text(unmapped.GetMsg(params, 3)));
}

TEST(zbMsgTag, ComplexTagsOpenAndCloseThroughTheOpenList)
{
    zbMsgTagComplex a(QORUnicodeString("A")), b(QORUnicodeString("B"));
    a.AppendParameter(QORUnicodeString("Name"));
    EXPECT_EQ("<A Name=\"&lt;x&gt;\">", Text(a.GetMsg(Values({"<x>"}), zbMsgTag::Open)));
    EXPECT_EQ("<B>", Text(b.GetMsg(Values({}), zbMsgTag::Open)));
    ASSERT_EQ(2, OpenTags().Size());
    EXPECT_EQ(&b, OpenTags()[2]);

    // Closing A takes B out of the list with it, and closes only A.
    EXPECT_EQ("</A>", Text(a.GetMsg(Values({"v"}), zbMsgTag::Close)));
    EXPECT_EQ(0, OpenTags().Size());

    // Mode 0 closes too; closing a tag that is not open empties the list.
    a.GetMsg(Values({}), zbMsgTag::Open);
    a.GetMsg(Values({}), zbMsgTag::Open);
    b.GetMsg(Values({}), zbMsgTag::Open);
    EXPECT_EQ("</A>", Text(a.GetMsg(Values({}), zbMsgTag::Mode0)));
    ASSERT_EQ(1, OpenTags().Size());
    EXPECT_EQ(&a, OpenTags()[1]);
    zbMsgTagComplex::Unregister(&b);
    EXPECT_EQ(0, OpenTags().Size());
}

// A key's containers make one line: zbTraceManagerTests compares the lines
// of keys of one and two containers, opening and closing; one without any
// makes nothing.
TEST(zbMsgKey, WithoutContainersNothing)
{
    EXPECT_EQ("", Text(zbMsgKey().GetMsg(nullptr, 0)));
}
