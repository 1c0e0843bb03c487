// Fuzz target: the console rendering of captured command output.
//
// Input: any bytes, as a command could print them.  The rendering must
// end every line, leave no carriage return, keep the number of lines, and
// never make a line longer than the longest piece between two control
// characters of that line.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "QORUnicodeString.h"
#include "zbCatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    std::string bytes(reinterpret_cast<const char*>(iData), iSize);
    QORUnicodeString text(bytes.data(), bytes.size());
    const std::u32string before = text.Chars();
    ConvertToConsole(text);
    const std::u32string& after = text.Chars();
    if (before.empty() != after.empty())
        std::abort();
    if (after.empty())
        return 0;
    if (after.back() != U'\n' || after.find(U'\r') != std::u32string::npos)
        std::abort();
    size_t linesBefore = 0, linesAfter = 0;
    for (char32_t c : before)
        linesBefore += c == U'\n';
    for (char32_t c : after)
        linesAfter += c == U'\n';
    if (linesAfter != linesBefore + (before.back() != U'\n'))
        std::abort();
    // Each line is as long as its longest segment.
    size_t at = 0, out = 0;
    while (at < before.size())
    {
        size_t end = before.find(U'\n', at);
        end = end == std::u32string::npos ? before.size() : end;
        size_t longest = 0, piece = 0;
        for (size_t i = at; i <= end; ++i)
            if (i == end || before[i] == U'\r')
                longest = std::max(longest, piece), piece = 0;
            else
                ++piece;
        size_t shown = after.find(U'\n', out) - out;
        if (shown != longest)
            std::abort();
        out += shown + 1;
        at = end + 1;
    }
    return 0;
}
