// zbTraceManager: console lines, the XML trace byte for byte, the keys
// loader; the XML text of tags and keys, and the process-wide list of open tags.

#include <memory>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbMsgTrace.h"
#include "zbTestSupport.h"
#include "zbTraceManager.h"

namespace
{
using Macros = std::map<std::string, std::vector<std::string>>;

// Keys as the keys file of the tools declares them, word lists by macro.
Macros GoodKeys()
{
    return {
        {"KEY_TagID", {"T_Step", "T_Phase", "T_Error"}},
        {"KEY_TagID_T_Step_Name", {"Step"}},
        {"KEY_TagID_T_Step_Type", {"Simple"}},
        {"KEY_TagID_T_Step_ListOfParameter", {"Name", "Id"}},
        {"KEY_TagID_T_Phase_Name", {"Phase"}},
        {"KEY_TagID_T_Phase_Type", {"Complex"}},
        {"KEY_TagID_T_Phase_ListOfParameter", {"Name"}},
        {"KEY_TagID_T_Error_Name", {"Error"}},
        {"KEY_TagID_T_Error_Type", {"Simple"}},
        {"KEY_TagID_T_Error_ListOfParameter", {"Text"}},
        {"KEY_MsgID", {"zbzbError", "zbzbInfo", "stepStart", "stepEnd", "makeBegin"}},
        {"KEY_MsgID_zbzbError_ListOfTagID", {"T_Error"}},
        {"KEY_MsgID_zbzbError_ListOfTagMode", {"0"}},
        {"KEY_MsgID_zbzbError_ListOfTagMapping", {"0"}},
        {"KEY_MsgID_zbzbInfo_ListOfTagID", {"T_Step", "T_Error"}},
        {"KEY_MsgID_zbzbInfo_ListOfTagMode", {"0", "0"}},
        // A mapping value is read as "%u" reads it: a leading + is allowed.
        {"KEY_MsgID_zbzbInfo_ListOfTagMapping", {"+1", "0", "0"}},
        {"KEY_MsgID_stepStart_ListOfTagID", {"T_Phase"}},
        {"KEY_MsgID_stepStart_ListOfTagMode", {"1"}},
        {"KEY_MsgID_stepStart_ListOfTagMapping", {"0"}},
        {"KEY_MsgID_stepEnd_ListOfTagID", {"T_Phase"}},
        {"KEY_MsgID_stepEnd_ListOfTagMode", {"2"}},
        // Mappings run short: the second Step gets none.
        {"KEY_MsgID_makeBegin_ListOfTagID", {"T_Step", "T_Step"}},
        {"KEY_MsgID_makeBegin_ListOfTagMode", {"0", "0"}},
        {"KEY_MsgID_makeBegin_ListOfTagMapping", {"0", "0", "0"}},
    };
}

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

zbXmlKeysLookup Lookup(const Macros& iMacros)
{
    return [iMacros](const QORString& iName, QORListValQORString& oWords)
    {
        auto it = iMacros.find(iName.Std());
        if (it == iMacros.end())
            return 0;
        for (const std::string& word : it->second)
            oWords.Append(QORString(word));
        return 1;
    };
}

const char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<Application Name=\"zb&amp;svc\" ZbzbOS_Type=\"linux\" ZbzbOS_NAME=\"Linux\" "
                     "ZbzbOS_Buildtime=\"linux_b64\" ZbzbOS_BitMode=\"64\">\n";

class zbTraceManagerTest : public ::testing::Test
{
  protected:
    // Once loaded, the keys stay whatever is loaded after.
    void SetUp() override
    {
        ASSERT_EQ(0, _Manager.LoadXmlKeys(Lookup(GoodKeys())));
        ASSERT_EQ(0, _Manager.LoadXmlKeys(Lookup({})) + _Manager.LoadXmlKeys());
    }
    int Open(int iAppend = 0, const char* iApplication = "zb&svc")
    {
        QORString name(_File);
        return _Manager.SetXmlFileName(&name, iApplication, iAppend);
    }

    zbtest::TempDir _Dir;
    std::string _File = _Dir / "trace.xml";
    zbTraceManager _Manager{QORString("zbXmlKeys.mk")};
};
} // namespace

TEST_F(zbTraceManagerTest, XmlFileLayout)
{
    ASSERT_EQ(1, Open());
    QORUnicodeString message("bad <input> & \"more\"");
    zbtest::Capture out(1), err(2);
    EXPECT_EQ(0, _Manager.Print(MSG_KEY_zbzbError, stderr, message));
    // A key without an XML entry still prints its console line.
    EXPECT_EQ(1, _Manager.Print(MSG_KEY_cleanup, stdout, QORUnicodeString("x")));
    EXPECT_EQ(0, _Manager.Print(MSG_KEY_stepStart, nullptr, QORUnicodeString("outer")));
    EXPECT_EQ(0, _Manager.Print(MSG_KEY_stepStart, nullptr, QORUnicodeString("inner")));
    EXPECT_EQ(
        0, _Manager.Print(MSG_KEY_zbzbInfo, nullptr, QORUnicodeString("n"), QORUnicodeString("7")));
    EXPECT_EQ(0, _Manager.Print(MSG_KEY_makeBegin, nullptr, QORUnicodeString("m"),
                                QORUnicodeString("n")));
    QORUnicodeString free("x<y\n");
    EXPECT_EQ(0, _Manager.Print(nullptr, free));
    EXPECT_EQ(0, _Manager.PrintXml("<raw/>\n", 7));
    EXPECT_EQ("# Cleanup: x\n", out.Stop());
    EXPECT_EQ("# Error: bad <input> & \"more\"\n# Error: Message key cleanup has no entry in the "
              "XML keys file zbXmlKeys.mk\n",
              err.Stop());
    EXPECT_EQ(0, _Manager.CloseXmlFile());
    EXPECT_EQ(0, zbMsgTagComplex::_ListOfzbMsgTagComplex.Size());

    std::string expected = std::string(kHead) +
                           "<Error Text=\"bad &lt;input&gt; &amp; &quot;more&quot;\"/>\n"
                           "<Phase Name=\"outer\">\n<Phase Name=\"inner\">\n"
                           "<Step Name=\"7\" Id=\"n\"/><Error Text=\"n\"/>\n"
                           "<Step Name=\"m\" Id=\"m\"/><Step Name=\"???\" Id=\"???\"/>\n"
                           "x&lt;y\n<raw/>\n</Phase>\n</Phase>\n</Application>\n";
    EXPECT_EQ(expected, zbtest::ReadFile(_File));
    EXPECT_EQ(0, _Manager.CloseXmlFile()); // nothing more is written
    EXPECT_EQ(expected, zbtest::ReadFile(_File));
}

// That a file given without appending starts over is shown by zbsvc -xml on
// an appended trace (transcripts/zbsvc.t).
TEST_F(zbTraceManagerTest, AppendingAndReopening)
{
    ASSERT_EQ(1, Open(0, nullptr));
    _Manager.Print(MSG_KEY_stepStart, nullptr, QORUnicodeString("s"));
    // A new file name closes the current file properly first.
    ASSERT_EQ(1, Open(1, nullptr));
    _Manager.Print(MSG_KEY_stepEnd, nullptr, QORUnicodeString("s"));
    EXPECT_EQ(0, _Manager.CloseXmlFile());
    const char app[] = "<Application ZbzbOS_Type=\"linux\" ZbzbOS_NAME=\"Linux\" "
                       "ZbzbOS_Buildtime=\"linux_b64\" ZbzbOS_BitMode=\"64\">\n";
    EXPECT_EQ(std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + app +
                  "<Phase Name=\"s\">\n</Phase>\n</Application>\n" + app +
                  "</Phase>\n</Application>\n",
              zbtest::ReadFile(_File));

    // OpenXmlFile writes no opening, lets the former descriptor go (its
    // number may be taken again) and keeps the name.
    std::string second = _Dir / "second.xml";
    ASSERT_EQ(0, _Manager.OpenXmlFile(QORString(second), 0));
    int first = _Manager.GetXmlFd();
    ASSERT_EQ(0, _Manager.OpenXmlFile(QORString(second), 1));
    EXPECT_TRUE(_Manager.GetXmlFd() == first || ::fcntl(first, F_GETFD) == -1);
    EXPECT_EQ(_File, _Manager.GetXmlFileName().Std());
    _Manager.Print(MSG_KEY_stepStart, nullptr, QORUnicodeString("s"));
    int last = _Manager.GetXmlFd();
    EXPECT_EQ(0, _Manager.CloseXmlFile());
    EXPECT_EQ(-1, ::fcntl(last, F_GETFD));
    EXPECT_EQ("<Phase Name=\"s\">\n</Phase>\n</Application>\n", zbtest::ReadFile(second));
}

TEST_F(zbTraceManagerTest, FailuresOfTheFileAreReportedAndStored)
{
    zbtest::Capture err(2);
    QORString missing(_Dir / "no/such/dir/trace.xml");
    EXPECT_EQ(0, _Manager.SetXmlFileName(&missing, nullptr, 0));
    EXPECT_EQ(0, _Manager.SetXmlFileName(nullptr, nullptr, 0));
    EXPECT_EQ(1, _Manager.OpenXmlFile(missing, 0));
    EXPECT_EQ(ENOENT, zbExtLastError.GetErrno());

    // A descriptor that cannot be written: Write only stores, PrintXml reports.
    zbtest::WriteFile(_File, "");
    int readOnly = ::open(_File.c_str(), O_RDONLY);
    ASSERT_EQ(1, _Manager.SetXmlFileDescriptor(&readOnly, "ro.xml"));
    EXPECT_EQ(1, _Manager.Write("abc", 3));
    EXPECT_EQ(EBADF, zbExtLastError.GetErrno());
    EXPECT_EQ(1, _Manager.PrintXml("abc", 3));
    EXPECT_EQ(1, _Manager.Print(MSG_KEY_zbzbError, nullptr, QORUnicodeString("e")));
    QORUnicodeString failed("f");
    EXPECT_EQ(1, _Manager.Print(nullptr, failed));
    // The borrowed descriptor is forgotten, not closed.
    EXPECT_EQ(0, _Manager.CloseXmlFile());
    EXPECT_EQ(-1, _Manager.GetXmlFd());
    EXPECT_EQ(0, ::close(readOnly));

    const std::string ebadf = "# System error on ro.xml: Bad file descriptor\n";
    EXPECT_EQ("# System error on " + missing.Std() + ": No such file or directory\n" + ebadf +
                  ebadf + ebadf,
              err.Stop());

    // A writable borrowed descriptor gets the reports only, no opening.
    int fd = ::open(_File.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ASSERT_EQ(0, _Manager.SetXmlFileDescriptor(nullptr, "x"));
    ASSERT_EQ(1, _Manager.SetXmlFileDescriptor(&fd, nullptr));
    EXPECT_EQ("", _Manager.GetXmlFileName().Std());
    _Manager.Print(MSG_KEY_zbzbError, nullptr, QORUnicodeString("e"));
    QORUnicodeString text("a'b");
    EXPECT_EQ(0, _Manager.Write(0, text));
    EXPECT_EQ(0, _Manager.Write(1, text));
    EXPECT_EQ(0, _Manager.CloseXmlFile());
    EXPECT_EQ(0, ::close(fd));
    EXPECT_EQ("<Error Text=\"e\"/>\na'ba&apos;b", zbtest::ReadFile(_File));
}

TEST_F(zbTraceManagerTest, WithIdAndDeferredReports)
{
    zbtest::Capture out(1);
    QORUnicodeString params[2] = {"p", "q"};
    EXPECT_EQ(0, _Manager.PrintWithId(MSG_KEY_zbzbErrorExtendedWithId, stdout,
                                      QORUnicodeString("I"), params, 2));
    EXPECT_EQ(0, _Manager.PrintWithId(MSG_KEY_zbzbErrorWithId, stdout, QORUnicodeString("J"),
                                      params, -3));
    std::unique_ptr<zbMsgTrace> later(
        _Manager.GetMsg(MSG_KEY_zbzbWarning, stdout, QORUnicodeString("w")));
    std::unique_ptr<zbMsgTrace> empty(
        _Manager.GetMsg(MSG_KEY_zbzbWarningExtended, stdout, nullptr, 0));
    params[0] = "changed";
    EXPECT_EQ(0, later->Print());
    EXPECT_EQ(0, empty->Print());
    EXPECT_EQ("# Error [I]: p\n#   q\n# Error [J]: ???\n# Warning: w\n# Warning: ???\n#   ???\n",
              out.Stop());
}

TEST(zbTraceManagerKeys, EveryLoaderErrorIsReportedAndLeavesNothing)
{
    std::vector<std::pair<Macros, std::string>> cases = {
        {{{"KEY_MsgID", {}}}, "KEY_TagID and KEY_MsgID must list at least one entry each"},
        {{{"KEY_TagID_T_Phase_Name", {}}},
         "tag T_Phase needs a non-empty KEY_TagID_T_Phase_Name and KEY_TagID_T_Phase_Type"},
        {{{"KEY_TagID_T_Phase_Name", {"T_Step"}}}, "tag T_Step is declared twice"},
        {{{"KEY_TagID", {"T_Step", "T_Error", "T_Step"}}}, "tag T_Step is declared twice"},
        {{{"KEY_TagID_T_Error_Type", {"Double"}}},
         "tag Error has the type Double (expected Simple/Complex)"},
        {{{"KEY_MsgID", {"zbzbError", "zbzbError"}}}, "message key zbzbError is declared twice"},
        {{{"KEY_MsgID_stepEnd_ListOfTagMode", {"2", "2"}}},
         "message key stepEnd needs KEY_MsgID_stepEnd_ListOfTagID and "
         "KEY_MsgID_stepEnd_ListOfTagMode, of the same length"},
        {{{"KEY_MsgID_stepEnd_ListOfTagID", {"T_None"}}},
         "message key stepEnd uses the undeclared tag T_None"},
        {{{"KEY_MsgID_zbzbError_ListOfTagMapping", {"-1"}}},
         "message key zbzbError has the mapping value -1 (expected >=0)"},
        {{{"KEY_MsgID_zbzbInfo_ListOfTagMapping", {"1", "y", "0"}}},
         "message key zbzbInfo has the mapping value y (expected >=0)"},
    };
    for (const char* mode : {"3", "-1", "x", "99999999999999999999"})
        cases.push_back(
            {{{"KEY_MsgID_stepEnd_ListOfTagMode", {mode}}},
             "message key stepEnd has the tag mode " + std::string(mode) + " (expected 0-2)"});
    for (const auto& [edits, message] : cases)
    {
        Macros macros = GoodKeys();
        for (const auto& change : edits)
            macros[change.first] = change.second;
        zbTraceManager manager{QORString("zbXmlKeys.mk")};
        zbtest::Capture err(2);
        EXPECT_EQ(1, manager.LoadXmlKeys(Lookup(macros))) << message;
        EXPECT_EQ("# Error: XML keys file zbXmlKeys.mk: " + message + "\n", err.Stop());
        EXPECT_EQ(nullptr, manager.GetTag("T_Step")) << message;
        EXPECT_EQ(nullptr, manager.GetMsgKey("zbzbError")) << message;
    }
}

// The shipped keys file, found along the example tree's data path, and the
// library's catalog give every report key of the library its XML form and
// its text (the texts of the fatal ends are checked where a process ends).
TEST(zbTraceManagerKeys, ShippedFilesCoverEveryReportKey)
{
    zbTraceManager manager{QORString("zbXmlKeys.mk")};
    zbtest::Capture err(2);
    ASSERT_EQ(0, manager.LoadXmlKeys());
    EXPECT_EQ("", err.Stop());
    std::istringstream keys(
        "makeBegin makeEnd makeError makeWarning stepStart stepEnd zbzbError zbzbErrorExtended "
        "zbzbWarning zbzbWarningExtended zbzbInfo zbzbFatal systError cleanup PLXV5Error "
        "PLXV5Warning atpError atpWarning atpInfo zbzbErrorWithId zbzbErrorExtendedWithId "
        "zbzbWarningWithId zbzbWarningExtendedWithId");
    for (std::string key; keys >> key;)
    {
        EXPECT_NE(nullptr, manager.GetMsgKey(key.c_str())) << key;
        std::string text = zbExtContext.GetMsgMngr()->GetMsg(key.c_str()).ConvertToUTF8();
        EXPECT_TRUE(!text.empty() && text.find("not found") == std::string::npos) << key << text;
    }
    QORUnicodeString params[3] = {"I", "m", "d"};
    EXPECT_EQ("<Error Id=\"I\" Message=\"m\" Detail=\"d\"/>\n",
              manager.GetMsgKey("zbzbErrorExtendedWithId")->GetMsg(params, 3).ConvertToUTF8());
}

// A return from main closes the file through the context's destructor.
TEST(zbTraceManagerExit, ProcessExitClosesTheFile)
{
    zbtest::TempDir dir;
    const std::tuple<const char*, int, std::string> cases[] = {
        {"return", 0, ""},
        {"internal", 3, "<Fatal Text=\"Internal error: x&lt;y at line 1 of f\"/>\n"},
        {"interrupt", 2, "<Fatal Text=\"Process interrupted\"/>\n"}};
    for (const auto& [how, status, fatal] : cases)
    {
        std::string file = dir / (std::string(how) + ".xml");
        zbtest::ChildResult r = zbtest::Run({zbtest::Program("zbProbe"), "xml", file, how});
        ASSERT_EQ(1, r._Exited) << how;
        EXPECT_EQ(status, r._Status) << how << r._Err;
        std::string content = zbtest::ReadFile(file);
        size_t at = content.find("<Phase");
        ASSERT_NE(std::string::npos, at) << how << ": " << content;
        EXPECT_EQ("<Phase Name=\"probe\">\n" + fatal + "</Phase>\n</Application>\n",
                  content.substr(at))
            << how;
    }
}

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
    QORListPtrzbMsgTagComplex& openTags = zbMsgTagComplex::_ListOfzbMsgTagComplex;
    zbMsgTagComplex a(QORUnicodeString("A")), b(QORUnicodeString("B"));
    a.AppendParameter(QORUnicodeString("Name"));
    EXPECT_EQ("<A Name=\"&lt;x&gt;\">", Text(a.GetMsg(Values({"<x>"}), zbMsgTag::Open)));
    EXPECT_EQ("<B>", Text(b.GetMsg(Values({}), zbMsgTag::Open)));
    ASSERT_EQ(2, openTags.Size());

    // Closing A takes B out of the list with it, and closes only A.
    EXPECT_EQ("</A>", Text(a.GetMsg(Values({"v"}), zbMsgTag::Close)));
    EXPECT_EQ(0, openTags.Size());

    // Mode 0 closes too; closing a tag that is not openTags empties the list.
    a.GetMsg(Values({}), zbMsgTag::Open);
    a.GetMsg(Values({}), zbMsgTag::Open);
    b.GetMsg(Values({}), zbMsgTag::Open);
    EXPECT_EQ("</A>", Text(a.GetMsg(Values({}), zbMsgTag::Mode0)));
    ASSERT_EQ(1, openTags.Size());
    EXPECT_EQ(&a, openTags[1]);
    zbMsgTagComplex::Unregister(&b);
    EXPECT_EQ(0, openTags.Size());
}
