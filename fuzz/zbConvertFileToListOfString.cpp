// Fuzz target: zbFileElementExtension::ConvertFileToListOfString on
// arbitrary files, for every combination of its three switches.
//
// The four list kinds receive the same lines, and those are the lines an
// independent split of the bytes gives: cut at line feeds, a last piece
// kept only when not empty, one carriage return dropped, empty lines left
// out, DOS separators made "/", as asked.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "zbFileElementExtension.h"
#include "zbFuzzSupport.h"

namespace
{
std::vector<std::string> Expected(const std::string& iText, int iSkipEmpty, int iNormalize,
                                  int iStripCR)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < iText.size())
    {
        size_t lf = iText.find('\n', start);
        bool last = lf == std::string::npos;
        std::string line = iText.substr(start, last ? std::string::npos : lf - start);
        if (iStripCR && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (iNormalize)
            for (char& c : line)
                if (c == '\\')
                    c = '/';
        if (!(line.empty() && (iSkipEmpty || last)))
            lines.push_back(line);
        if (last)
            break;
        start = lf + 1;
    }
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("lines");
    static const std::string linesFile = scratch.Path("lines");
    if (!zbfuzz::WriteFile(linesFile, iData, iSize))
        return 0;
    const std::string text(reinterpret_cast<const char*>(iData), iSize);

    for (int flags = 0; flags < 8; ++flags)
    {
        const int skip = flags & 1, normalize = (flags >> 1) & 1, strip = (flags >> 2) & 1;
        const std::vector<std::string> expected = Expected(text, skip, normalize, strip);
        const int size = static_cast<int>(expected.size());
        const char* path = linesFile.c_str();

        QORListValQORString strings;
        QORListValzbNewString newStrings;
        QORListPtrzbString pointers;
        QORListValQORUnicodeString unicode;
        if (zbFileElementExtension::ConvertFileToListOfString(path, strings, skip, normalize,
                                                              strip) != size ||
            zbFileElementExtension::ConvertFileToListOfString(path, newStrings, skip, normalize,
                                                              strip) != size ||
            zbFileElementExtension::ConvertFileToListOfString(path, pointers, skip, normalize,
                                                              strip) != size ||
            zbFileElementExtension::ConvertFileToListOfString(path, unicode, skip, normalize,
                                                              strip) != size)
            std::abort();
        for (int i = 1; i <= size; ++i)
        {
            const std::string& line = expected[static_cast<size_t>(i - 1)];
            // Lines holding a NUL compare up to it in the NUL-terminated kinds.
            const std::string head = line.substr(0, line.find('\0'));
            if (std::string(newStrings[i].CastToCharPtr(), head.size()) != head ||
                std::string(pointers[i]->CastToCharPtr()).compare(0, head.size(), head) != 0 ||
                std::string(strings[i].CastToCharPtr()).compare(0, head.size(), head) != 0)
                std::abort();
        }
        pointers.ApplyDelete();
    }
    return 0;
}
