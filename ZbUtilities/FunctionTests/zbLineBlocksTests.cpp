// zbLineBlocks: a file handed over as runs of whole lines, through a buffer
// smaller than some of its lines.

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbLineBlocks.h"
#include "zbTestSupport.h"

TEST(zbLineBlocks, RunsOfWholeLinesMakeUpTheFile)
{
    zbtest::TempDir dir;
    const char* texts[] = {"",
                           "a",
                           "a\n",
                           "ab\ncd\n",
                           "a\nlonger than the block\nb",
                           "\n\n\nxyz\n\n",
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
