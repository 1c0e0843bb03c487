// Fuzz target: the preprocessor on arbitrary buffers.
//
// Input: one byte of flags, then the text.  Flags: 1 test against a loaded
// level set (levels R21, SP 3, EMPTY), else against an empty one never
// loaded; 2 check the levels; 4 preprocess the result a second time.
// Checked: the text never grows, and an error leaves an empty buffer.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zbMacroSet.h"
#include "zbPP.h"
#include "zbPPMacLev.h"

static void Check(bool iCondition, const char* iWhat)
{
    if (!iCondition)
    {
        std::fprintf(stderr, "zbPP fuzz: %s\n", iWhat);
        std::abort();
    }
}

static int Pass(const zbPPMacLev& iLevels, zbMacroSet& ioMacros, std::vector<char>& ioText,
                int iCheck)
{
    size_t before = std::strlen(ioText.data());
    int status = zbPP(iLevels, ioMacros, ioText.data(), "fuzz.mk", iCheck);
    size_t after = std::strlen(ioText.data());
    Check(status == 0 || status == 1, "status neither 0 nor 1");
    Check(after <= before, "the text grew");
    Check(status == 0 || after == 0, "an error left text behind");
    return status;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbPPMacLev* loaded = nullptr;
    static zbPPMacLev* empty = nullptr;
    if (!loaded)
    {
        loaded = new zbPPMacLev(31);
        loaded->Insert("R21", "1");
        loaded->Insert("SP", "3");
        loaded->Insert("EMPTY", "");
        loaded->SetLoadStatus(1);
        empty = new zbPPMacLev(31);
    }
    if (iSize == 0)
        return 0;
    const unsigned flags = iData[0];
    std::vector<char> text(iData + 1, iData + iSize);
    text.push_back(0);

    const zbPPMacLev& levels = (flags & 1) ? *loaded : *empty;
    zbMacroSet macros(31);
    int check = (flags & 2) ? 1 : 0;
    if (Pass(levels, macros, text, check) == 0 && (flags & 4))
        Pass(levels, macros, text, check);
    return 0;
}
