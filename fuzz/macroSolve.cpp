// Resolution over sets built from arbitrary text: the text up to the first
// NUL byte fills the set, the rest a second set; every macro is resolved,
// then split into words (values of reasonable size: a word list costs far
// more memory than its text).

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "zbMacroSet.h"
#include "zbOFStream.h"

static void Fill(zbMacroSet& ioSet, std::string iText)
{
    iText.push_back('\n');
    if (char* buffer = zbMacroSet::ParseBuffer("fuzz.mk", &iText[0]))
        ioSet.InsertBuffer(buffer, nullptr, '=', zbMacroSet::ReplaceExisting);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    const char* text = reinterpret_cast<const char*>(iData);
    const char* nul = static_cast<const char*>(std::memchr(text, 0, iSize));
    zbMacroSet set(5), other(3);
    Fill(set, std::string(text, nul ? static_cast<size_t>(nul - text) : iSize));
    if (nul)
        Fill(other, std::string(nul + 1, iSize - static_cast<size_t>(nul - text) - 1));
    set.Solve(nul ? &other : nullptr);
    int bucket = 1, position = 0;
    while (zbMacroValue* value = set.QORHashDicSzbMacroValue::Next(bucket, position))
        if (value->GetValue().Length() < 65536)
            value->GetListOfValues();
    static FILE* null = std::fopen("/dev/null", "we");
    zbOFStream out(null);
    set.Print(out);
    return 0;
}
