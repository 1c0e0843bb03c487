// The outputs of the jobs tuned for speed, on large generated inputs, against
// checksums of the outputs of the code before the tuning.

#include <cstdint>

#include "zbTestSupport.h"

namespace
{
struct Sequence
{
    uint32_t _X = 12345;
    uint32_t operator()(uint32_t iBound)
    {
        _X = 1103515245u * _X + 12345u;
        return (_X >> 8) % iBound;
    }
};

std::string Format(const char* iFormat, long iA, long iB = 0, long iC = 0, long iD = 0)
{
    char line[256];
    std::snprintf(line, sizeof line, iFormat, iA, iB, iC, iD);
    return line;
}

// Definitions in chains of up to 10 references, with quoted values,
// continuation lines, comments, tabs, modifiers, redefinitions and names
// nobody defines.
std::string Definitions(long iCount)
{
    Sequence next;
    std::string text = "# generated definitions\n\n";
    for (long i = 0; i < iCount; ++i)
    {
        const uint32_t r = next(100);
        if (r < 8)
            text += Format("# definition %ld of the chain %ld\n", i, i / 10);
        if (i % 10 == 0)
            text += Format("V%ld = w%ld base%ld\n", i, i, i % 7);
        else if (r < 15)
            text += Format("V%ld = 'w%ld \"q\"  $(V%ld)'\n", i, i, i - 1);
        else if (r < 22)
            text += Format("V%ld = w%ld \\\n\t$(V%ld) \\   # joined\n  tail\n", i, i, i - 1);
        else if (r < 28)
            text += Format("V%ld =\tw%ld $(U%ld:-'un set') $(V%ld:+yes)\n", i, i, i, i - 1) +
                    Format("X%ld = $(V%ld:@no) $(U%ld:?defined)\n", i, i - 1, i);
        else if (r < 31)
            text += Format("V%ld = $(V%ld) $(V%ld)  # twice\n", i, i - 1, i - 1);
        else if (r < 33 && i > 20)
            text += Format("V%ld = again %ld $(V%ld)\n", i - 15, i, i - 1) +
                    Format("V%ld = w%ld $(V%ld)\n", i, i, i - 1);
        else if (r < 35)
            text += Format("V%ld = `cmd %ld` $(NOPE%ld)\n", i, i, i);
        else
            text += Format("V%ld = w%ld $(V%ld)\n", i, i, i - 1);
    }
    return text;
}

// Blocks of conditionals, defines and comments of both kinds.
std::string Conditionals(long iBlocks)
{
    Sequence next;
    std::string text = "#define LEVEL_A 1\n#define LEVEL_B 1\n#define VERSION 4\n";
    for (long n = 0; n < iBlocks; ++n)
    {
        text += Format("/* Module %ld: sources, link and flags.\n"
                       "   The levels decide which of them are built. */\n"
                       "#define MOD_%ld %ld\n",
                       n, n, n % 4);
        text += Format("#ifdef LEVEL_A\nSRC_%ld = src/file_%ld.cpp src/other_%ld.cpp // the "
                       "sources\n",
                       n, n, n);
        text += Format("#if defined(LEVEL_B) && MOD_%ld >= 2\nLINK_%ld = -lfoo_%ld\n", n, n, n);
        text += Format("#else\nLINK_%ld = -lbaz_%ld\n#endif\n#elif VERSION >= 3\nOLD_%ld = yes\n"
                       "#endif\n",
                       n, n, n);
        text += Format("#ifndef LEVEL_C\n#if MOD_%ld\nEXTRA_%ld = $(MOD_%ld_EXTRA) /* inline "
                       "comment */ end\n#endif\n#endif\n",
                       n, n, n);
        for (uint32_t k = next(6); k-- > 0;)
            text += Format("PLAIN_%ld_%ld = a line with no directive, no comment %ld\n", n, k,
                           next(1000));
        if (next(5) == 0)
            text += Format("#if MOD_%ld /* a comment\n  over lines */\nIN_%ld = 1\n  # not a "
                           "directive %ld\n#endif\n",
                           n, n, n);
        text += Format("FLAGS_%ld = -O2 -g -DMODULE=%ld // %ld\n\n", n, n, next(100));
    }
    return text;
}

// The checksum of what zbsvc writes for the arguments (the input file
// last), with its exit status.
std::string Checksum(const std::vector<std::string>& iArgs)
{
    zbtest::TempDir dir;
    auto r = zbtest::Zbsvc(iArgs);
    zbtest::WriteFile(dir / "out", r._Out);
    auto sum = zbtest::Run({"/usr/bin/sha256sum", dir / "out"});
    return std::to_string(r._Status) + " " + std::to_string(r._Out.size()) + " " +
           sum._Out.substr(0, 64);
}
} // namespace

TEST(zbPerfOutput, SameOutputsOnGeneratedInputs)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "defs.mk", Definitions(60000));
    zbtest::WriteFile(dir / "big.pp", Conditionals(6000));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"macros", "-solve", dir / "defs.mk"},
         "0 3392664 dfe887ff1f7656281b7f104739e4917934749e280a4d0e0db96c4994e0c9bdfd"},
        {{"pp", "-nocheck", dir / "big.pp"},
         "0 1882656 6fa080523ed37b2d9fccf10eb5fcba29bc61e46d86400ca50528687b6da8edb8"},
    };
    for (const auto& [args, expected] : cases)
        EXPECT_EQ(expected, Checksum(args)) << args[0] << " " << args[1];
}
