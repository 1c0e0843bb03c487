// Include expansion when the last line is an #include (once a crash of "pp -expand").

#include "zbFileBuffer.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbTestSupport.h"

TEST(zbFileBufferExpand, IncludeOnTheLastLine)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "a.h", "A = 1\n");
    zbPPMacLev levels(7);
    levels.SetLoadStatus(1);
    QORListValQORString paths;
    paths.Append(QORString(dir.Path().c_str()));

    const std::tuple<const char*, std::string, std::string, int> cases[] = {
        {"1 found, no newline", "x\n#include \"a.h\"", "x\nA = 1\n", 0},
        {"2 bracketed", "#include <a.h>", "A = 1\n", 0},
        {"3 not found stays", "x\n#include \"no.h\"", "x\n#include \"no.h\"", 1},
        {"4 NUL after it", std::string("#include \"a.h\"\0junk\n", 20), "A = 1\n", 0},
        {"5 two, the last unended", "#include \"a.h\"\n#include \"a.h\"", "A = 1\n\nA = 1\n", 0},
    };
    for (const auto& [row, text, expanded, errors] : cases)
    {
        zbPathFinderAccess finder;
        finder.SetListOfPath(paths);
        zbFileBuffer buffer;
        buffer.DuplicateBuffer(text.data(), static_cast<unsigned int>(text.size()));
        QORListValzbFileName included;
        zbtest::Capture err(2);
        EXPECT_EQ(buffer.ExpandBuffer(levels, finder, included, "top.mk"), errors) << row;
        err.Stop();
        ASSERT_NE(buffer.GetBuffer(), nullptr) << row;
        EXPECT_EQ(std::string(buffer.GetBuffer()), expanded) << row;
        EXPECT_EQ(buffer.GetBufferLength(), expanded.size()) << row;
    }
}
