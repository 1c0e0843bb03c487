// Files read and written: streams, runs of whole lines through a buffer smaller
// than some lines, files read whole, carriage returns on a console.

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "zbCatFile.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbIFStream.h"
#include "zbLineBlocks.h"
#include "zbNewString.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

TEST(zbStreams, NotOpenStreamsFailWithEinval)
{
    zbOFStream out(static_cast<const char*>(nullptr), 8);
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(out.GetErrno(), 22);
    EXPECT_EQ(out.Puts("x"), 1);
    EXPECT_EQ(out.Write(nullptr, 0), 1);
    EXPECT_EQ(out.Close(), 1);
    EXPECT_EQ(out.GetFileNo(), -1);
    out << "ignored" << 3; // inserters on a closed stream do nothing
    zbIFStream in;
    char buffer[8];
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in.GetErrno(), 22);
    zbOFStream missing("/nonexistent/dir/file", 8);
    EXPECT_EQ(missing.GetErrno(), ENOENT);
}

TEST(zbStreams, ClosingTheStandardStreamsLeavesThemOpen)
{
    zbtest::ChildResult r =
        zbtest::Run({"/bin/sh", "-c", "exec \"$0\" close-stdout", zbtest::Program("zbProbe")});
    EXPECT_EQ(r._Status, 0) << r._Err;
    EXPECT_EQ(r._Out, "before\nafter\n");
}

TEST(zbStreams, OutputFormsInsertersAndCatFile)
{
    zbtest::TempDir dir;
    std::string path = dir / "out.txt";
    {
        zbOFStream out(path.c_str(), 8);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_EQ(out.Print("%s=%d;", "n", 5), 0);
        EXPECT_EQ(out.Puts(nullptr), 0);
        EXPECT_EQ(out.Putc('!'), 0);
        EXPECT_EQ(out.Write("ab\0c", 4), 0);
        out << ' ' << -1 << ' ' << 2u << ' ' << 3L << ' ' << 4.5 << ' ' << 6ULL << ' '
            << reinterpret_cast<const void*>(0xbeefUL) << endl;
        EXPECT_EQ(out.Close(), 0);
    }
    EXPECT_EQ(zbtest::ReadFile(path), std::string("n=5;!ab\0c -1 2 3 4.5 6 0xbeef\n", 30));
    // Appended: a line, a whole file, no file (nothing), a missing one.
    const std::string big(40000, 'q');
    zbtest::WriteFile(dir / "src", big);
    zbOFStream more(path.c_str(), 8 | 2);
    more.Puts("tail\n");
    EXPECT_EQ(more.CatFile((dir / "src").c_str(), 4), 0);
    EXPECT_EQ(more.CatFile(nullptr, 4), 0);
    EXPECT_EQ(more.CatFile((dir / "missing").c_str(), 4), 1);
    EXPECT_EQ(more.GetErrno(), ENOENT);
    more.Close();
    EXPECT_EQ(zbtest::ReadFile(path).substr(30), "tail\n" + big);
    // Opened after its construction with an fopen mode: "w" starts over.
    zbOFStream again;
    ASSERT_EQ(again.Open(path.c_str(), "w"), 0);
    again.Puts("x");
    again.Close();
    EXPECT_EQ(zbtest::ReadFile(path), "x");
}

TEST(zbStreams, GetlineInPiecesOrWhole)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "in", "abcdef\n\n\n" + std::string(10000, 'x') + "\nend");
    zbIFStream in((dir / "in").c_str(), 8);
    // Into a fixed buffer, lines longer than it come in pieces; the
    // delimiter alone gives an empty piece.
    char buffer[4];
    std::string pieces;
    for (int i = 0; i < 3; ++i)
        pieces += std::to_string(in.Getline(buffer, 4, '\n')) + buffer + "|";
    EXPECT_EQ(pieces, "0abc|0def|0|");
    EXPECT_EQ(in.Getline(buffer, 1, '\n'), 1);
    EXPECT_EQ(in.Getline(nullptr, 4, '\n'), 1);
    // Of any length, an empty line kept or skipped.
    zbNewString line;
    ASSERT_EQ(in.Getline(line, '\n', 0), 0);
    EXPECT_EQ(line, "");
    ASSERT_EQ(in.Getline(line, '\n', 1), 0);
    EXPECT_EQ(line.GetLengthInByte(), 10000);
    ASSERT_EQ(in.Getline(line, '\n', 1), 0);
    EXPECT_EQ(line, "end");
    EXPECT_EQ(in.Getline(line, '\n', 1), 1);
    EXPECT_EQ(in.Getline(buffer, 4, '\n'), 1);
}

TEST(zbLineBlocks, RunsOfWholeLinesMakeUpTheFile)
{
    zbtest::TempDir dir;
    const char* texts[] = {"", "a", "ab\ncd\n", "a\nlonger than the block\nb",
                           "one line longer than twice the block, no feed"};
    zbLineBlocks blocks(4);
    for (const char* text : texts)
    {
        zbtest::WriteFile(dir / "f", text);
        const int fd = zbOpenFd((dir / "f").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        blocks.Start(fd);
        std::string whole;
        for (;;)
        {
            char* begin = nullptr;
            char* end = nullptr;
            ASSERT_EQ(0, blocks.Next(begin, end)) << text;
            if (begin == end)
                break;
            whole.append(begin, end);
            // A run ends with a line feed unless it ends the file.
            EXPECT_TRUE(end[-1] == '\n' || whole.size() == std::string(text).size()) << text;
        }
        EXPECT_EQ(whole, text);
        ::close(fd);
    }
    char* begin = nullptr;
    char* end = nullptr;
    blocks.Start(-1);
    EXPECT_EQ(EBADF, blocks.Next(begin, end));
}

TEST(zbCatFile, ConvertToConsole)
{
    // (Ends of lines and their lengths are held by the fuzz target's replay.)
    const char* rows[][2] = {
        {"", ""},
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
