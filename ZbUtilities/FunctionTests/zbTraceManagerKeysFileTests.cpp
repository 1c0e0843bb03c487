// The keys file read from disk.  The data path is built once per process:
// MY_ZBZB_DATA names this program's root, whose keys file each case rewrites.

#include <fcntl.h>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbTestSupport.h"
#include "zbTraceManager.h"

namespace
{
const zbtest::TempDir gRoot;
const std::string kData = gRoot / "code/tools/data";

class DataRoot : public ::testing::Environment
{
  public:
    void SetUp() override
    {
        zbtest::MakeDirs(kData + "/zbDirectoryKeys.mk");
        ::setenv("MY_ZBZB_DATA", gRoot.Path().c_str(), 1);
    }
};
const ::testing::Environment* const kDataRoot = ::testing::AddGlobalTestEnvironment(new DataRoot);

// A small keys file in the shipped form; its list of message keys ends it,
// on a continued line.
const char kGood[] = "KEY_TagID = T_Error\n"
                     "KEY_TagID_T_Error_Name = Error\n"
                     "KEY_TagID_T_Error_Type = Simple\n"
                     "KEY_MsgID_zbzbError_ListOfTagID = T_Error\n"
                     "KEY_MsgID_zbzbError_ListOfTagMode = 0\n"
                     "KEY_MsgID = \\\n"
                     "            zbzbError\n";
} // namespace

TEST(zbTraceManagerKeysFile, EveryFormatErrorNamesItsKeyAndLeavesNoFile)
{
    // Each rule of the loader, empty and missing macros included, is checked
    // in zbTraceManagerTests; here, the forms a file gives: none, not readable
    // (reported by the reader, then as a file without any macro), continued
    // lines.
    const std::string f = "# Error: XML keys file zbXmlKeys.mk: ";
    const std::string noLists = "KEY_TagID and KEY_MsgID must list at least one entry each\n";
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"zbNoSuchKeys.mk", kGood, "# Error: XML keys file zbNoSuchKeys.mk not found\n"},
        {"zbDirectoryKeys.mk", kGood,
         "# System error on " + gRoot.Path() +
             "/./code/tools/data/zbDirectoryKeys.mk: Is a directory\n"
             "# Error: XML keys file zbDirectoryKeys.mk: " +
             noLists},
        {"zbXmlKeys.mk", std::string(kGood).replace(sizeof kGood - 2, 1, " zbzbError\n"),
         f + "message key zbzbError is declared twice\n"},
    };
    zbtest::TempDir dir;
    QORString name(dir / "t.xml");
    for (const auto& [keys, text, message] : cases)
    {
        zbtest::WriteFile(kData + "/zbXmlKeys.mk", text);
        zbTraceManager manager{QORString(keys)};
        zbtest::Capture err(2);
        EXPECT_EQ(0, manager.SetXmlFileName(&name, "app", 0)) << message;
        // Nor is a descriptor taken.
        const zbScopedFd null(zbOpenFd("/dev/null", O_WRONLY));
        const int fd = null.Get();
        EXPECT_EQ(0, manager.SetXmlFileDescriptor(&fd, "d.xml")) << message;
        EXPECT_EQ(message + message, err.Stop());
        EXPECT_EQ(nullptr, manager.GetTag("T_Error"));
        EXPECT_NE(0, ::access(name.CastToCharPtr(), F_OK)) << message;
    }
}

// Through the context: GetXml follows each result.
TEST(zbTraceManagerKeysFile, ContextKeepsTheResult)
{
    zbtest::TempDir dir;
    QORString name(dir / "t.xml");
    zbtest::WriteFile(kData + "/zbXmlKeys.mk", kGood);
    EXPECT_EQ(1, zbExtContext.SetXmlFileName(&name, nullptr, 0));
    EXPECT_EQ(1, zbExtContext.GetXml());
    EXPECT_EQ(0, zbExtContext.SetXmlFileDescriptor(nullptr, nullptr));
    EXPECT_EQ(0, zbExtContext.GetXml());
    // The file was closed properly when the descriptor replaced it.
    std::string content = zbtest::ReadFile(name.Std());
    EXPECT_EQ("</Application>\n", content.substr(content.size() - 15));
}
