// Fuzz target: the string-list readers of files (zbLISTPOfzbNewString_FromFile,
// zbLISTVOfzbNewString_FromFile, zbLISTPOfzbString_FromFile) on arbitrary
// files.
//
// For each choice of skipping empty lines and dropping carriage returns,
// the three lists hold, byte for byte, the lines cut here: a line ends at a
// line feed, a carriage return before it goes when asked, an empty line is
// kept unless skipped, a last line without line feed only when not empty.
// The result is the list's size.

#include <cstdint>
#include <string>
#include <vector>

#include "zbFuzzSupport.h"
#include "zbNewString.h"
#include "zbString.h"

namespace
{
const char kTarget[] = "zbStringListFromFile";

std::vector<std::string> Lines(const std::string& iText, bool iSkipEmpty, bool iStripCR)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < iText.size())
    {
        size_t lf = iText.find('\n', start);
        bool ended = lf != std::string::npos;
        std::string line = iText.substr(start, (ended ? lf : iText.size()) - start);
        if (iStripCR && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() || (!iSkipEmpty && ended))
            lines.push_back(line);
        start = ended ? lf + 1 : iText.size();
    }
    return lines;
}

std::string Text(const zbNewString& iString)
{
    return std::string(iString.CastToCharPtr() ? iString.CastToCharPtr() : "",
                       static_cast<size_t>(iString.GetLengthInByte()));
}

std::string Text(const zbString& iString)
{
    return std::string(iString.CastToCharPtr() ? iString.CastToCharPtr() : "", iString.GetLength());
}

template <class L> void Compare(const L& iList, int iSize, const std::vector<std::string>& iLines)
{
    zbfuzz::Check(iSize == iList.Size(), kTarget, "the result is not the list's size");
    zbfuzz::Check(static_cast<size_t>(iList.Size()) == iLines.size(), kTarget,
                  "a wrong number of lines");
    for (int i = 1; i <= iList.Size(); ++i)
        zbfuzz::Check(Text(*iList[i]) == iLines[static_cast<size_t>(i - 1)], kTarget,
                      "a line read wrong");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("lines");
    const std::string file = scratch.Path("lines.txt");
    if (!zbfuzz::WriteFile(file, iData, iSize))
        return 0;
    const std::string text(reinterpret_cast<const char*>(iData), iSize);
    for (int skipEmpty = 0; skipEmpty < 2; ++skipEmpty)
        for (int stripCR = 0; stripCR < 2; ++stripCR)
        {
            const std::vector<std::string> lines = Lines(text, skipEmpty, stripCR);
            QORListPtrzbNewString pointers;
            int size = zbLISTPOfzbNewString_FromFile(file.c_str(), pointers, skipEmpty, stripCR);
            Compare(pointers, size, lines);
            for (int i = 1; i <= pointers.Size(); ++i)
                delete pointers[i];

            QORListValzbNewString values;
            size = zbLISTVOfzbNewString_FromFile(file.c_str(), values, skipEmpty, stripCR);
            zbfuzz::Check(size == values.Size() && static_cast<size_t>(size) == lines.size(),
                          kTarget, "a wrong number of lines in the value list");
            for (int i = 1; i <= values.Size(); ++i)
                zbfuzz::Check(Text(values[i]) == lines[static_cast<size_t>(i - 1)], kTarget,
                              "a line read wrong in the value list");

            QORListPtrzbString strings;
            size = zbLISTPOfzbString_FromFile(file.c_str(), strings, skipEmpty, stripCR);
            Compare(strings, size, lines);
            for (int i = 1; i <= strings.Size(); ++i)
                delete strings[i];
        }
    return 0;
}
