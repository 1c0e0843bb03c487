// zbsvc crc, end to end.

#include "zbTestSupport.h"

using namespace zbtest;

TEST(zbsvcCrc, OneLinePerFileAndFailuresReported)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "check", "123456789");
    zbtest::WriteFile(dir / "empty", "");
    // 3 MiB of one byte value: several read blocks, so the block-wise CRC
    // must join up (value computed independently of the library).
    zbtest::WriteFile(dir / "big", std::string(3 * 1024 * 1024, 'a'));
    EXPECT_EQ(Outcome(Zbsvc(
                  {"crc", dir / "check", dir / "missing", dir / "empty", dir.Path(), dir / "big"})),
              "1|fc891918 9 " + dir / "check" + "\n00000000 0 " + dir / "empty" +
                  "\n19c62a63 3145728 " + dir / "big" + "\n|# System error on " + dir / "missing" +
                  ": No such file or directory\n# System error on " + dir.Path() +
                  ": Is a directory\n");
    EXPECT_EQ(Outcome(Zbsvc({"crc", dir / "check"})), "0|fc891918 9 " + dir / "check" + "\n|");
    EXPECT_EQ(Zbsvc({"crc"})._Status, 2);
}
