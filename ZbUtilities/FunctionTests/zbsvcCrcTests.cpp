// zbsvc crc, end to end.

#include <gtest/gtest.h>

#include "zbTestSupport.h"

TEST(zbsvcCrc, OneLinePerFileAndFailuresReported)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "check", "123456789");
    zbtest::WriteFile(dir / "empty", "");
    // 3 MiB of one byte value: several read blocks, so the block-wise CRC
    // must join up (value computed independently of the library).
    zbtest::WriteFile(dir / "big", std::string(3 * 1024 * 1024, 'a'));
    zbtest::ChildResult r = zbtest::Run({zbtest::Program("zbsvc"), "crc", dir / "check",
                                         dir / "missing", dir / "empty", dir.Path(), dir / "big"});
    EXPECT_EQ(1, r._Status);
    EXPECT_EQ("fc891918 9 " + dir / "check" + "\n" + "00000000 0 " + dir / "empty" + "\n" +
                  "19c62a63 3145728 " + dir / "big" + "\n",
              r._Out);
    EXPECT_EQ("# System error on " + dir / "missing" + ": No such file or directory\n" +
                  "# System error on " + dir.Path() + ": Is a directory\n",
              r._Err);

    r = zbtest::Run({zbtest::Program("zbsvc"), "crc", dir / "check"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ(2, zbtest::Run({zbtest::Program("zbsvc"), "crc"})._Status);
}
