// Fuzz target: zbMDFV4::InsertFile on arbitrary files.
//
// Every section must be keyed by '*' and a name without blanks, and hold
// at least one value; no value may be empty, hold a newline, or begin
// with a blank or a tab; after StripSpaces no value holds a blank or a tab.
// The result is 0 or the number of duplicates, or 1 for an empty set.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "zbFuzzSupport.h"
#include "zbMDFV4.h"
#include "zbOFStream.h"

namespace
{
void Check(const zbMDFV4& iSet, bool iStripped)
{
    const QORString* cursor = nullptr;
    QORString name;
    while (const zbMDFV4Section* section = iSet.Next(cursor, name))
    {
        const std::string& key = name.Std();
        if (key.empty() || key[0] != '*' || key.find_first_of(" \t\n/") != std::string::npos)
            std::abort();
        if (section->Size() < 1 || (*section)[section->Size()] || (*section)[-1])
            std::abort();
        for (int i = 0; i < section->Size(); ++i)
        {
            const char* value = (*section)[i];
            if (!value || !*value || *value == ' ' || *value == '\t' || *value == '*' ||
                std::strpbrk(value, iStripped ? "\n/ \t" : "\n/"))
                std::abort();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("mdf");
    static const std::string mdfFile = scratch.Path("mdf");
    static zbOFStream sink("/dev/null", 8);
    if (!zbfuzz::WriteFile(mdfFile, iData, iSize))
        return 0;

    zbMDFV4 set(iSize > 0 ? 1 + iData[0] % 64 : 1);
    const int result = set.InsertFile(mdfFile.c_str());
    if (result < 0 || (set.IsEmpty() && result > 1))
        std::abort();
    Check(set, false);
    set.Dump(sink);
    set.PrintStats(sink);
    set.StripSpaces();
    Check(set, true);
    QORListValQORString values;
    const QORString* cursor = nullptr;
    QORString name;
    int total = 0;
    while (const zbMDFV4Section* section = set.Next(cursor, name))
        total += section->Size();
    int listed = 0;
    while (!set.IsEmpty())
    {
        cursor = nullptr;
        set.Next(cursor, name);
        const QORString key = name;
        listed += set.GetListOfValues(key, values);
        if (set.Remove(key) != 1 || set.Locate(key).Size() != 0)
            std::abort();
    }
    if (listed != total || values.Size() != total)
        std::abort();
    return 0;
}
