// Files read whole through the trace manager; carriage returns on a console.

#include "zbCatFile.h"
#include "zbErrorCodeManager.h"
#include "zbTestSupport.h"

TEST(zbCatFile, ConvertToConsole)
{
    // (Ends of lines and their lengths are held by the fuzz target's replay.)
    const char* rows[][2] = {
        {"", ""},
        {"50%\r100%", "100%\n"},
        {"abcdef\rXY", "XYcdef\n"},
        {"a\r\rbc\n\nx\ry\rzz\n", "bc\n\nzz\n"},
        // Characters, not bytes: a two-byte character is covered by one.
        {"\xc3\xa9t\xc3\xa9\rX", "Xt\xc3\xa9\n"},
    };
    for (const auto& row : rows)
    {
        QORUnicodeString text(row[0]);
        ConvertToConsole(text);
        EXPECT_EQ(text.ConvertToUTF8(), row[1]) << row[0];
    }
}

TEST(zbCatFile, FilesReadWholeOrReported)
{
    zbtest::TempDir dir;
    std::string big(40000, 'x'); // several chunks
    zbtest::WriteFile(dir / "big", big);
    zbtest::WriteFile(dir / "progress", "50%\r100%");
    zbtest::WriteFile(dir / "empty", "");
    zbtest::WriteFile(dir / "nul", std::string("ab\0cd", 5));
    QORUnicodeString text("kept:"), cut;
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg((dir / "big").c_str(), text), 0);
    EXPECT_EQ(text.ConvertToUTF8(), "kept:" + big);
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg((dir / "nul").c_str(), cut), 0);
    EXPECT_EQ(cut.ConvertToUTF8(), "ab"); // a NUL ends the chunk's text
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg(nullptr, cut), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EINVAL);
    EXPECT_EQ(zbCatFileToUnicodeStringForMsg(dir.Path().c_str(), cut), 1);
    EXPECT_EQ(zbExtLastError.GetErrno(), EISDIR);

    const std::string missing =
        "# System error on " + dir / "missing" + ": No such file or directory\n";
    // expectedOut: on the stream fd; expectedErr: on standard error when fd is 1
    const std::tuple<int (*)(const char*, char* const*), int, const char*, std::string, std::string>
        rows[] = {
            {zbCatFileToTraceManagerStdout, 1, "progress", "50%\r100%", ""},
            {zbCatFileToTraceManagerStderr, 2, "progress", "50%\r100%", ""},
            {zbCatFileToConsoleTraceManagerStdout, 1, "progress", "100%\n", ""},
            {zbCatFileToConsoleTraceManagerStderr, 2, "progress", "100%\n", ""},
            {zbCatFileToConsoleTraceManagerStdout, 1, "empty", "", ""},
            {zbCatFileToConsoleTraceManagerStdout, 1, "missing", "", missing},
        };
    for (const auto& [print, fd, file, expectedOut, expectedErr] : rows)
    {
        std::string path = dir / file;
        char* args[] = {&path[0], nullptr};
        zbtest::Capture out(fd);
        zbtest::Capture err(fd == 1 ? 2 : 1); // the other stream
        EXPECT_EQ(print("cat", args), expectedErr.empty() ? 0 : 1);
        std::string other = err.Stop();
        EXPECT_EQ(out.Stop(), expectedOut) << file << " on " << fd;
        EXPECT_EQ(other, expectedErr);
    }
}
