
#include "zbContext.h"
#include "zbMsg.h"
#include "zbMsgManager.h"
#include "zbTestSupport.h"

namespace
{
// A manager on a catalog written for the test, found along QOR_MSGCATALOG_PATH
// (the first directory missing, an empty entry skipped).
class zbMsgManagerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        zbtest::WriteFile(_Dir / "TestMessages.msgcat", "Two.Params = first=%1 second=%2\n"
                                                        "Three.Params = %1-%2-%3\n"
                                                        "No.Params = plain text\n"
                                                        "Other.Key = from the other catalog\n"
                                                        "Twice.Params = %1 and %1, %2\n"
                                                        "Outer.Key = [%1] (%2)\n"
                                                        "Mark.Lookalike = \1a\1 %1\n"
                                                        "Mark.Lone = x\1y %1\n");
        zbtest::WriteFile(_Dir / "OtherMessages.msgcat", "Other.Key = other catalog text\n");
        setenv("QOR_MSGCATALOG_PATH", ("/nonexistent::" + _Dir.Path()).c_str(), 1);
    }
    void TearDown() override { unsetenv("QOR_MSGCATALOG_PATH"); }

    static std::string Text(const QORUnicodeString& iText) { return iText.ConvertToUTF8(); }

    zbtest::TempDir _Dir;
};
} // namespace

TEST_F(zbMsgManagerTest, ParametersByPlace)
{
    zbMsgManager manager("TestMessages");
    QORUnicodeString p[6] = {"1", "2", "3", "4", "5", "6"};
    // Results are values: an inner message can be a parameter of an outer one.
    QORUnicodeString inner = manager.GetMsg("Three.Params", p, 3);
    const std::pair<QORUnicodeString, const char*> cases[] = {
        // Missing parameters show question marks, extra ones are ignored.
        {manager.GetMsg("Two.Params", QORUnicodeString("a")), "first=a second=???"},
        {manager.GetMsg("Two.Params"), "first=??? second=???"},
        {manager.GetMsg("Two.Params", QORUnicodeString("a"), QORUnicodeString("b")),
         "first=a second=b"},
        {manager.GetMsg("Three.Params", p[0], p[1], p[2], p[3], p[4], p[5]), "1-2-3"},
        {manager.GetMsg("No.Params", p, 6), "plain text"},
        {manager.GetMsg("Two.Params", inner, p[5]), "first=1-2-3 second=6"},
        {manager.GetMsg("Not.There", QORUnicodeString("x")),
         "Message Not.There not found in the catalog TestMessages"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Text(text), expected);
}

TEST_F(zbMsgManagerTest, MissingCatalogIsReportedOnceAndEveryKeyGivesItsError)
{
    zbMsgManager manager("NoSuchCatalog");
    zbtest::Capture err(2);
    std::string texts =
        Text(manager.GetMsg("Two.Params")) + "|" + Text(manager.GetMsg("No.Params"));
    EXPECT_EQ(err.Stop(), "Message catalog NoSuchCatalog (NoSuchCatalog.msgcat) not found along "
                          "QOR_MSGCATALOG_PATH nor beside the library\n"); // one load attempt
    EXPECT_EQ(texts, "Message Two.Params not found in the catalog NoSuchCatalog|"
                     "Message No.Params not found in the catalog NoSuchCatalog");
}

// The kept compositions give what building the messages gives (the inner
// message, then the outer), byte for byte up to a null character; they follow a change of catalog,
// after which the first catalog is gone.
TEST_F(zbMsgManagerTest, ComposedTextsAreTheBuiltOnes)
{
    zbMsgManager manager("TestMessages");
    // Parameters beyond ASCII, control characters, bytes that are not
    // UTF-8, a null character that ends the text; catalog texts holding
    // what looks like marks.
    QORUnicodeString params[][3] = {{"a", "b", "c"},
                                    {"", "%1", " x y "},
                                    {"caf\xc3\xa9", "\x01\xe9", "\xef\xbf\xbf\1a\1"},
                                    {"p/q.h", QORUnicodeString("r\0s", 3), "t"}};
    const std::tuple<const char*, const char*, int> rows[] = {
        {"Outer.Key", "Two.Params", 2},     {"Outer.Key", "Twice.Params", 1},
        {"Outer.Key", "No.Params", 0},      {"Outer.Key", "Not.There", 1},
        {"Twice.Params", nullptr, 2},       {"Two.Params", nullptr, 3},
        {"Not.There", nullptr, 0},          {"Twice.Params", "Outer.Key", 2},
        {"Outer.Key", "Mark.Lookalike", 1}, {"Mark.Lone", nullptr, 1},
    };
    for (int round = 0; round < 2; ++round)
        for (const auto& [outer, inner, count] : rows)
            for (auto& set : params)
            {
                std::string text = "kept|";
                const QORString key(inner ? inner : "");
                const QORString* innerKey = inner ? &key : nullptr;
                ASSERT_EQ(1, manager.Compose(outer, innerKey, set, count, text));
                const QORUnicodeString message = manager.GetMsg(outer, innerKey, set, count);
                EXPECT_EQ("kept|" + std::string(message.ConvertToUTF8().c_str()), text)
                    << outer << " " << (inner ? inner : "-");
            }
    std::string text = "kept";
    // Another catalog, other texts.
    const QORString other("Other.Key");
    EXPECT_EQ(1, manager.Compose("Outer.Key", &other, params[0], 0, text));
    EXPECT_NE(manager.LoadCatalog("OtherMessages"), 0);
    EXPECT_NE(manager.LoadCatalog(nullptr), 0); // no change
    EXPECT_EQ(1, manager.Compose("Outer.Key", &other, params[0], 0, text));
    EXPECT_EQ(Text(manager.GetMsg("Other.Key")), "other catalog text");
    EXPECT_EQ("kept[from the other catalog] (??"
              "?)"
              "Message Outer.Key not found in the catalog OtherMessages",
              text);
}

TEST(zbMsg, TabKeepsPositionsGivenAsNullAndPrintsUnderItsKey)
{
    zbMsg msg;
    msg.SetTabMsg("a", "b", "c");
    QORUnicodeString x("x");
    msg.SetTabMsg(&x, nullptr, nullptr, &x);
    std::string tab;
    for (int i = 0; i < 4; ++i)
        tab += msg.GetTabMsg()[i].ConvertToUTF8();
    EXPECT_EQ(tab, "xbcx");
    zbtest::Capture out(1);
    msg.Print(stdout, MSG_KEY_zbzbWarning);
    EXPECT_EQ(out.Stop(), "# Warning: x\n");
    msg.Reset();
    EXPECT_TRUE(msg.GetTabMsg()[0].IsEmpty());
}
