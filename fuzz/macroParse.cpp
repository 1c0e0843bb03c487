// Description-file reading on arbitrary text: buffer normalisation, then
// line insertion under the insert mode chosen by the first byte, then the
// printed forms and the word lists of every macro.

#include <cstdint>
#include <cstdio>
#include <string>

#include "zbMacroSet.h"
#include "zbOFStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    if (iSize == 0)
        return 0;
    const zbMacroSet::InsertMode mode =
        (iData[0] & 1) ? zbMacroSet::KeepExisting : zbMacroSet::ReplaceExisting;
    std::string text(reinterpret_cast<const char*>(iData) + 1, iSize - 1);
    text.push_back('\n');
    char* buffer = zbMacroSet::ParseBuffer("fuzz.mk", &text[0]);
    if (!buffer)
        return 0;
    zbMacroSet set(7);
    set.InsertBuffer(buffer, nullptr, '=', mode);
    static FILE* null = std::fopen("/dev/null", "we");
    zbOFStream out(null);
    set.Print(out);
    set.Dump(out);
    const QORString* cursor = nullptr;
    QORString name;
    while (zbMacroValue* value = set.Next(cursor, name))
        value->GetListOfValues();
    return 0;
}
