
#include "zbIFStream.h"
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
