// Console output of files: reading whole files through the trace manager
// and the terminal rendering of carriage returns.

#include <gtest/gtest.h>
#include <string>

#include "zbCatFile.h"
#include "zbErrorCodeManager.h"
#include "zbTestSupport.h"

TEST(zbCatFile, ConvertToConsole)
{
    const struct
    {
        const char* _In;
        const char* _Out;
    } rows[] = {
        {"", ""},
        {"abc", "abc\n"},
        {"50%\r100%", "100%\n"},
        {"abcdef\rXY", "XYcdef\n"},
        {"abc\r", "abc\n"},
        {"a\r\rbc\n\nx\ry\rzz\n", "bc\n\nzz\n"},
        {"\r\n\n", "\n\n"},
        {"12345\rab\rc\n", "cb345\n"},
        // Characters, not bytes: a two-byte character is covered by one.
        {"\xc3\xa9t\xc3\xa9\rX", "Xt\xc3\xa9\n"},
    };
    for (const auto& row : rows)
    {
        QORUnicodeString text(row._In);
        ConvertToConsole(text);
        EXPECT_EQ(text.ConvertToUTF8(), row._Out) << row._In;
    }
}

TEST(zbCatFile, FilesReadWholeAndPrinted)
{
    zbtest::TempDir dir;
    std::string big(40000, 'x');
    big[20000] = '\r';
    zbtest::WriteFile(dir / "big", big);
    zbtest::WriteFile(dir / "progress", "50%\r100%");
    zbtest::WriteFile(dir / "empty", "");
    zbtest::WriteFile(dir / "nul", std::string("ab\0cd", 5));

    QORUnicodeString text("kept:");
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg((dir / "big").c_str(), text), 0);
    EXPECT_EQ(text.ConvertToUTF8(), "kept:" + big); // several chunks
    QORUnicodeString cut;
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg((dir / "nul").c_str(), cut), 0);
    EXPECT_EQ(cut.ConvertToUTF8(), "ab"); // a NUL ends the chunk's text

    struct Row
    {
        int (*_Print)(const char*, char* const*);
        int _Fd;
        const char* _File;
        std::string _Shown;
    };
    const Row rows[] = {
        {zbCatFileToTraceManagerStdout, 1, "progress", "50%\r100%"},
        {zbCatFileToTraceManagerStderr, 2, "progress", "50%\r100%"},
        {zbCatFileToConsoleTraceManagerStdout, 1, "progress", "100%\n"},
        {zbCatFileToConsoleTraceManagerStderr, 2, "progress", "100%\n"},
        {zbCatFileToTraceManagerStdout, 1, "empty", ""},
        {zbCatFileToConsoleTraceManagerStdout, 1, "empty", ""},
    };
    for (const Row& row : rows)
    {
        std::string path = dir / row._File;
        char* args[] = {&path[0], nullptr};
        zbtest::Capture out(row._Fd);
        EXPECT_EQ(row._Print("cat", args), 0);
        EXPECT_EQ(out.Stop(), row._Shown) << row._File << " on " << row._Fd;
    }
}

TEST(zbCatFile, UnreadableFilesReported)
{
    zbtest::TempDir dir;
    std::string missing = dir / "missing";
    QORUnicodeString text;
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg(missing.c_str(), text), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), ENOENT);
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg(nullptr, text), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EINVAL);
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg(dir.Path().c_str(), text), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EISDIR);
    EXPECT_TRUE(text.IsEmpty());

    char* args[] = {&missing[0], nullptr};
    zbtest::Capture out(1);
    zbtest::Capture err(2);
    EXPECT_EQ(zbCatFileToConsoleTraceManagerStdout("cat", args), 1);
    EXPECT_EQ(err.Stop(), "# System error on " + missing + ": No such file or directory\n");
    EXPECT_EQ(out.Stop(), "");
}
