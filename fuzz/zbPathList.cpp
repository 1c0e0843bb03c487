// Fuzz target: path lists and path strings (zbSplitPathConcatenation,
// zbCreatePathConcatenation, zbGetZbzbConcatenation, zbDosifyPath,
// zbUnixifyPath, zbEatEndingSlash) on arbitrary texts.
//
// Input: one byte, the separator, then a list and an override list
// separated by a NUL byte.  The elements split are the non-empty pieces
// between separators, in order.  The lists under roots hold every root
// twice, first with the build-time directory.  A list made of existing
// directories splits back into them.  Path strings: the separators turn,
// the ending ones go, nothing else changes.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbFuzzSupport.h"
#include "zbGetZbzbConcatenation.h"

namespace
{
const char kTarget[] = "zbPathList";

std::vector<std::string> Pieces(const std::string& iText, char iSeparator)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : iText + iSeparator)
        if (c != iSeparator)
            piece += c;
        else if (!piece.empty())
        {
            pieces.push_back(piece);
            piece.clear();
        }
    return pieces;
}

std::vector<std::string> Texts(const QORListValQORString& iList)
{
    std::vector<std::string> texts;
    for (const QORString& element : iList)
        texts.push_back(element.Std());
    return texts;
}

void CheckPathStrings(const std::string& iText)
{
    std::string dos = iText, unixText = iText, eaten = iText;
    zbDosifyPath(&dos[0]);
    zbUnixifyPath(&unixText[0]);
    zbEatEndingSlash(&eaten[0]);
    std::string twice = dos;
    zbUnixifyPath(&twice[0]);
    zbfuzz::Check(dos.find('/') == std::string::npos && unixText.find('\\') == std::string::npos,
                  kTarget, "a separator not turned");
    zbfuzz::Check(twice == unixText, kTarget, "turning back and forth is not turning once");
    eaten.resize(std::char_traits<char>::length(eaten.c_str()));
    zbfuzz::Check(iText.compare(0, eaten.size(), eaten) == 0, kTarget,
                  "dropping the ending separators changed the text");
    zbfuzz::Check(eaten.size() <= 1 || (eaten.back() != '/' && eaten.back() != '\\'), kTarget,
                  "an ending separator left");
    for (size_t i = eaten.size(); i < iText.size(); ++i)
        zbfuzz::Check(iText[i] == '/' || iText[i] == '\\', kTarget, "more than separators dropped");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    if (iSize == 0)
        return 0;
    const char separator = static_cast<char>(iData[0]);
    const std::string input(reinterpret_cast<const char*>(iData + 1), iSize - 1);
    const std::string list = input.c_str();
    const std::string override =
        list.size() < input.size() ? std::string(input.c_str() + list.size() + 1) : "";

    QORListValQORString split;
    zbSplitPathConcatenation(split, list.c_str(), separator);
    zbfuzz::Check(separator == 0 || Texts(split) == Pieces(list, separator), kTarget,
                  "the elements are not the pieces between separators");
    CheckPathStrings(list);

    QORListValQORString roots;
    zbGetZbzbConcatenation(roots, list.c_str(), "tools/data", override.c_str());
    std::vector<std::string> expected = Pieces(override, ':');
    for (const std::string& piece : Pieces(list, ':'))
        expected.push_back(piece);
    const std::string runtime = "/./" + zbExtContext.OSRuntime().Std() + "/tools/data";
    const std::string buildtime = "/" + zbExtContext.OSBuildtime().Std();
    const std::vector<std::string> got = Texts(roots);
    zbfuzz::Check(got.size() == 2 * expected.size(), kTarget, "a root not listed twice");
    for (size_t i = 0; i < expected.size(); ++i)
        zbfuzz::Check(got[i] == expected[i] + runtime + buildtime &&
                          got[expected.size() + i] == expected[i] + runtime,
                      kTarget, "a root not followed by its directories");

    // The elements that are directories, joined and split again.
    QORListValQORString dirs;
    zbSplitPathConcatenation(dirs, list.c_str(), ':');
    dirs.Append(QORString("/"));
    QORString joined;
    zbCreatePathConcatenation(joined, dirs, nullptr, nullptr, 0);
    QORListValQORString back;
    zbSplitPathConcatenation(back, joined.CastToCharPtr(), ':');
    zbfuzz::Check(back.Size() >= 1 && back.Size() <= dirs.Size() && back[back.Size()] == "/",
                  kTarget, "the directories joined do not split back");
    QORString quoted;
    zbCreatePathConcatenation(quoted, dirs, "-I", " ", 1);
    return 0;
}
