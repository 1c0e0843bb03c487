// zbsvc block, end to end.

#include "zbTestSupport.h"

using zbtest::Zbsvc;

namespace
{
std::string Bytes(size_t iSize)
{
    std::string data(iSize, '\0');
    for (size_t i = 0; i < iSize; ++i)
        data[i] = static_cast<char>(i * 31 + i / 251);
    return data;
}
} // namespace

TEST(zbsvcBlock, PackInfoUnpackRoundTrip)
{
    zbtest::TempDir dir;
    for (size_t size : {size_t(1), size_t(4095), size_t(4096), size_t(1) << 20})
        for (bool crypt : {false, true})
        {
            SCOPED_TRACE(std::to_string(size) + (crypt ? " scrambled" : " plain"));
            const std::string data = Bytes(size), in = dir / "in", block = dir / "block",
                              out = dir / "out";
            zbtest::WriteFile(in, data);
            std::vector<std::string> pack = {"block", "pack", "-v", "7.0." + std::to_string(size),
                                             in,      block};
            if (crypt)
                pack.insert(pack.begin() + 2, "-crypt");
            zbtest::ChildResult r = Zbsvc(pack);
            ASSERT_EQ(0, r._Status) << r._Err;
            EXPECT_EQ(size + 56, zbtest::ReadFile(block).size());

            r = Zbsvc({"block", "info", block});
            ASSERT_EQ(0, r._Status) << r._Err;
            EXPECT_NE(std::string::npos,
                      r._Out.find("+   User data length  = " + std::to_string(size) +
                                  "\n+   Version = 7.0." + std::to_string(size) + "\n"));
            EXPECT_NE(std::string::npos,
                      r._Out.find(crypt ? "+   Block is crypted\n" : "+   Block is not crypted\n"));

            r = Zbsvc({"block", "unpack", block, out});
            ASSERT_EQ(0, r._Status) << r._Err;
            EXPECT_TRUE(data == zbtest::ReadFile(out));
        }
}

TEST(zbsvcBlock, DamagedFilesAreReported)
{
    zbtest::TempDir dir;
    const std::string in = dir / "in", block = dir / "block";
    zbtest::WriteFile(in, "x");
    ASSERT_EQ(0, Zbsvc({"block", "pack", "-crypt", "-v", "1.2.3", in, block})._Status);
    const std::string good = zbtest::ReadFile(block);
    for (size_t i : {4, 17, 40, 56})
    {
        std::string damaged = good;
        damaged[i] = static_cast<char>(damaged[i] + 1);
        zbtest::WriteFile(block, damaged);
        for (bool info : {true, false})
        {
            zbtest::ChildResult r = info ? Zbsvc({"block", "info", block})
                                         : Zbsvc({"block", "unpack", block, dir / "out"});
            EXPECT_EQ(1, r._Status);
            EXPECT_EQ("# Error: Block file " + block +
                          " is damaged: its control CRC does not match its content\n",
                      r._Err);
            EXPECT_EQ("", r._Out);
        }
    }
    zbtest::WriteFile(block, good.substr(0, 56));
    const std::string none = dir / "none";
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"info", block}, "# Error: File " + block + " has a size that no block file can have\n"},
        {{"info", none}, "# Error: Block file " + none + ": No such file or directory\n"},
        {{"pack", "-v", "1.2.3", none, block},
         "# System error on " + none + ": No such file or directory\n"}};
    for (auto [args, err] : failures)
    {
        args.insert(args.begin(), "block");
        EXPECT_EQ("1||" + err, zbtest::Outcome(Zbsvc(args)));
    }
}

TEST(zbsvcBlock, BadCommandLines)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"block", "pack", "-x", "-v", "1.2.3", "a", "b"}, "zbsvc block pack: illegal option -- x"},
        {{"block", "pack", "a", "b", "-v"}, "zbsvc block pack: option requires an argument -- v"},
        {{"block", "pack", "-v", "1.2.3", "a"},
         "zbsvc block pack: wrong number of arguments\nTry 'zbsvc help block pack'.\n"},
        {{"block", "pack", "a", "b"}, "zbsvc block pack: expects one version -v A.B.C"},
        {{"block", "pack", "-v", "1.2.4294967296", "a", "b"},
         "zbsvc block pack: expects one version -v A.B.C"},
        {{"block", "pack", "-v", "1.2", "-v", "1.2.3", "a", "b"},
         "zbsvc block pack: expects one version -v A.B.C"},
        {{"block", "info", "-", "f"}, "zbsvc block info: wrong number of arguments"},
        {{"block", "unpack", "a"}, "zbsvc block unpack: wrong number of arguments"},
        {{"block", "frob"}, "zbsvc block: unknown sub-verb 'frob'\nTry 'zbsvc help block'.\n"},
        {{"block"}, "zbsvc block: expects a sub-verb\n"},
    };
    for (const auto& [args, firstLine] : cases)
    {
        zbtest::ChildResult r = Zbsvc(args);
        EXPECT_EQ(2, r._Status) << firstLine;
        EXPECT_EQ(firstLine, r._Err.substr(0, firstLine.size()));
    }
    zbtest::ChildResult r = Zbsvc({"block", "pack", "-h"});
    EXPECT_EQ(0, r._Status);
    EXPECT_EQ("usage: zbsvc block pack [-crypt] -v A.B.C IN OUT\n"
              "   save the bytes of IN as a block of version A.B.C\n"
              "   -crypt : store the version and the data scrambled\n"
              "   -v A.B.C : version of the block, three numbers\n"
              "   -h, --help : print this help\n",
              r._Out);
}
