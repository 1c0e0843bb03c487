// The resolved macros of a large generated file (read in large blocks whose
// pages are given back as they are used), against the checksum of the output
// of the code before its tuning for speed.  (The preprocessor across its
// scanner's blocks: see zbPPTests.)

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

TEST(zbPerfOutput, SameOutputOnGeneratedDefinitions)
{
    zbtest::TempDir dir;
    zbtest::WriteFile(dir / "defs.mk", Definitions(60000));
    EXPECT_EQ("0 3392664 dfe887ff1f7656281b7f104739e4917934749e280a4d0e0db96c4994e0c9bdfd",
              Checksum({"macros", "-solve", dir / "defs.mk"}));
}
