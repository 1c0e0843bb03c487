// zbsvc -xml / -xmlappend: the trace byte for byte and through xmllint.

#include "zbTestSupport.h"

using zbtest::Program;

namespace
{
const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
const char kApplication[] = "<Application Name=\"zbsvc\" ZbzbOS_Type=\"linux\" "
                            "ZbzbOS_NAME=\"Linux\" ZbzbOS_Buildtime=\"linux_b64\" "
                            "ZbzbOS_BitMode=\"64\">\n";

// xmllint's verdict on a file: "" when well formed, else its diagnostics.
std::string Parse(const std::string& iFile, const std::vector<std::string>& iExtra = {})
{
    std::vector<std::string> argv = {"/usr/bin/xmllint"};
    argv.insert(argv.end(), iExtra.begin(), iExtra.end());
    argv.push_back(iFile);
    zbtest::ChildResult r = zbtest::Run(argv);
    if (r._Status != 0)
        return "status " + std::to_string(r._Status) + ": " + r._Err;
    while (!r._Out.empty() && r._Out.back() == '\n')
        r._Out.pop_back();
    return r._Out;
}

size_t Count(const std::string& iText, const std::string& iWhat)
{
    size_t count = 0;
    for (size_t at = iText.find(iWhat); at != std::string::npos; at = iText.find(iWhat, at + 1))
        ++count;
    return count;
}
} // namespace

TEST(zbsvcXmlTrace, FailingVerbLeavesAWellFormedFile)
{
    zbtest::TempDir dir;
    std::string file = dir / "t.xml";
    zbtest::ChildResult r = zbtest::Run({Program("zbsvc"), "-xml", file, "msg", "No<Such>Key"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("# Error: Message key No<Such>Key not found in the catalog QORZbMessages\n", r._Err);
    EXPECT_EQ(std::string(kDeclaration) + kApplication +
                  "<Error Message=\"Message key No&lt;Such&gt;Key not found in the catalog "
                  "QORZbMessages\"/>\n"
                  "</Application>\n",
              zbtest::ReadFile(file));
    EXPECT_EQ("", Parse(file, {"--noout"}));

    r = zbtest::Run({Program("zbsvc"), "-xml", file, "crc", dir / "none"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ(std::string(kDeclaration) + kApplication + "<SystemError Object=\"" + dir.Path() +
                  "/none\" Message=\"No such file or directory\"/>\n</Application>\n",
              zbtest::ReadFile(file));
    r = zbtest::Run({Program("zbsvc"), "-xml", file, "msg", "zbsvc.msg.UnknownKey", "k&v"});
    EXPECT_EQ(0, r._Status) << r._Err;
    EXPECT_EQ("# Message key k&v not found in the catalog QORZbMessages\n", r._Out);
    EXPECT_EQ(std::string(kDeclaration) + kApplication +
                  "<Info Message=\"Message key k&amp;v not found in the catalog "
                  "QORZbMessages\"/>\n</Application>\n",
              zbtest::ReadFile(file));
}

// Two runs appended: one declaration, two Application elements.  Such a file
// has two roots, so the parser reads it wrapped in one element.
TEST(zbsvcXmlTrace, AppendedRunsShareOneDeclaration)
{
    zbtest::TempDir dir;
    std::string file = dir / "t.xml";
    for (const char* key : {"first", "second"})
    {
        zbtest::ChildResult r =
            zbtest::Run({Program("zbsvc"), "-xmlappend", file, "msg", "-k", "zbzbError", key});
        EXPECT_EQ(1, r._Status) << r._Err;
    }
    std::string content = zbtest::ReadFile(file);
    std::string run = std::string(kApplication) +
                      "<Error Message=\"Message key %s not found in the catalog "
                      "QORZbMessages\"/>\n</Application>\n";
    auto runOf = [&run](const std::string& iKey)
    { return std::string(run).replace(run.find("%s"), 2, iKey); };
    // -xmlappend on a new file writes no declaration: the first run of a
    // series is expected to use -xml.
    EXPECT_EQ(runOf("first") + runOf("second"), content);

    zbtest::ChildResult r =
        zbtest::Run({Program("zbsvc"), "-xml", file, "msg", "-k", "zbzbError", "a"});
    for (const char* key : {"b", "c"})
        r = zbtest::Run({Program("zbsvc"), "-xmlappend", file, "msg", "-k", "zbzbError", key});
    content = zbtest::ReadFile(file);
    EXPECT_EQ(0u, content.find(kDeclaration));
    EXPECT_EQ(1u, Count(content, "<?xml"));
    EXPECT_EQ(3u, Count(content, "<Application "));
    EXPECT_EQ(3u, Count(content, "</Application>\n"));
    std::string wrapped = dir / "wrapped.xml";
    zbtest::WriteFile(wrapped, std::string(kDeclaration) + "<Runs>\n" +
                                   content.substr(sizeof(kDeclaration) - 1) + "</Runs>\n");
    EXPECT_EQ("3", Parse(wrapped, {"--xpath", "count(/Runs/Application[@Name='zbsvc']/Error)"}));
}

// A trace file that cannot be had stops the run before the verb.
TEST(zbsvcXmlTrace, NoTraceNoRun)
{
    zbtest::TempDir dir;
    zbtest::ChildResult r =
        zbtest::Run({Program("zbsvc"), "-xml", dir / "no/dir/t.xml", "crc", "/dev/null"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("", r._Out);
    EXPECT_EQ("# System error on " + dir.Path() + "/no/dir/t.xml: No such file or directory\n",
              r._Err);
}
