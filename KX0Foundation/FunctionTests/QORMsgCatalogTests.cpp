#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "QORMsgCatalog.h"

namespace
{
// Builds the message iKey of a catalog parsed from iText with the parameters.
std::string Build(QORMsgCatalog& iCatalog, const char* iKey, std::vector<const char*> iParams = {})
{
    QORMsg msg;
    if (!iCatalog.GetCatalogMsg(iKey, msg))
        return "<missing>";
    std::vector<QORUnicodeString> params(iParams.begin(), iParams.end());
    QORUnicodeString text;
    msg.BuildMessage(text, params.data(), static_cast<int>(params.size()));
    return text.ConvertToUTF8();
}

} // namespace

TEST(QORMsgCatalog, EntriesParametersAndEscapes)
{
    const std::string text = "# comment\n"
                             "\n"
                             "  Plain.Key   =   two words  \n"
                             "Param.Key = %2 before %1, 100%%\n"
                             "Esc.Key = a\\tb\\nc\\s\\\\ \\u00e9 \\U{1F600}\n"
                             "Cont.Key = first \\\n"
                             "      second\n"
                             "Empty.Key =\n";
    QORMsgCatalog catalog;
    EXPECT_EQ(catalog.ParseText(text.data(), text.size(), "test.msgcat"), 0);
    EXPECT_EQ(Build(catalog, "Plain.Key"), "two words");
    EXPECT_EQ(Build(catalog, "Param.Key", {"A", "B"}), "B before A, 100%");
    EXPECT_EQ(Build(catalog, "Esc.Key"), "a\tb\nc \\ \xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(Build(catalog, "Cont.Key"), "first second");
    EXPECT_EQ(Build(catalog, "Empty.Key"), "");
    EXPECT_EQ(Build(catalog, "No.Such"), "<missing>");
    EXPECT_EQ(catalog.GetError().ConvertToUTF8(),
              "Message No.Such not found in the catalog test.msgcat");
}

TEST(QORMsgCatalog, MalformedEntriesAreReportedAndSkipped)
{
    const std::string text = "Good.One = ok\n"
                             "no equal sign here\n"
                             "= no key\n"
                             "Bad.Percent = 50%x\n"
                             "Bad.Escape = \\q\n"
                             "Bad.Unicode = \\u12\n"
                             "Good.One = second definition\n"
                             "Good.Two = fine %1\n";
    QORMsgCatalog catalog;
    testing::internal::CaptureStderr();
    EXPECT_EQ(catalog.ParseText(text.data(), text.size(), "c.msgcat"), 6);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "c.msgcat:2: malformed catalog entry: '=' expected after the key\n"
              "c.msgcat:3: malformed catalog entry: an entry must start with a key\n"
              "c.msgcat:4: malformed catalog entry: '%' must be followed by a digit 1 to 9 "
              "or by '%'\n"
              "c.msgcat:5: malformed catalog entry: unknown escape after '\\'\n"
              "c.msgcat:6: malformed catalog entry: \\u needs four hexadecimal digits\n"
              "c.msgcat:7: malformed catalog entry: key Good.One is defined twice; the "
              "first text stays\n");
    EXPECT_EQ(catalog.GetNbMessages(), 2);
    EXPECT_EQ(Build(catalog, "Good.One"), "ok");
    EXPECT_EQ(Build(catalog, "Good.Two", {"x"}), "fine x");
}

TEST(QORMsgCatalog, WildcardSubstitution)
{
    const std::string text = "Parse.* = parse failure\nParse.Tag.* = tag failure\n";
    QORMsgCatalog catalog;
    catalog.ParseText(text.data(), text.size(), "w.msgcat");
    // The longest pattern that matches; none for another prefix.
    for (const auto& [key, text] :
         {std::pair<const char*, const char*>{"Parse.Tag.Mode", "tag failure"},
          {"Parse.Other", "parse failure"},
          {"Other.Key", nullptr}})
    {
        QORMsg msg;
        QORUnicodeString out;
        ASSERT_EQ(catalog.SubstituteCatalogMsg(key, msg) != 0, text != nullptr) << key;
        if (text)
            msg.BuildMessage(out, nullptr, 0);
        EXPECT_EQ(out.ConvertToUTF8(), text ? text : "") << key;
    }
}
