// Fuzz target: zbFileName parsing and normalising of arbitrary texts.
//
// Input: a directory, a name and an extension separated by NUL bytes.
// Every name built (from the directory text, joined with AssignJoined, with
// the three-part constructor) is checked: the length is that of the text,
// no other separator and no trailing one is left, the basename, extension
// and workspace parts are pieces of the text that put it back together,
// and normalising the result again changes nothing.  AssignJoined gives
// exactly what normalising the joined text gives.

#include <cstdint>
#include <cstring>
#include <string>

#include "zbFuzzSupport.h"
#include "zbFileName.h"

namespace
{
const char kTarget[] = "zbFileName";

// Positions of the parts inside the full name, to compare two names.
std::string Layout(const zbFileName& iName)
{
    const char* full = iName.GetPtrToFullname();
    if (!full)
        return "null";
    auto at = [full](const char* iPart)
    { return iPart ? std::to_string(iPart - full) : std::string("-"); };
    return std::string(full) + "|" + at(iName.GetPtrToBasename()) + "|" +
           at(iName.GetPtrToExtend()) + "|" + at(iName.GetPtrToNameIntoWS());
}

void CheckName(const zbFileName& iName)
{
    const char* full = iName.GetPtrToFullname();
    if (!full)
        return;
    const std::string text(full);
    zbfuzz::Check(text.size() == iName.GetFullnameLength(), kTarget,
                  "the length is not that of the text");
    zbfuzz::Check(text.find('\\') == std::string::npos, kTarget, "a backslash left");
    zbfuzz::Check(text.size() <= 1 || text.back() != '/', kTarget, "a trailing separator left");
    // Storage is chosen on the length given, before the ending separators
    // go: only a long result must be on the heap.
    zbfuzz::Check(text.size() <= 128 || !iName.IsInline(), kTarget, "a long name inline");

    const char* basename = iName.GetPtrToBasename();
    zbfuzz::Check(basename && basename >= full && basename <= full + text.size(), kTarget,
                  "the basename outside the text");
    if (basename != full)
    {
        QORString dirname;
        iName.GetDirname(dirname);
        zbfuzz::Check(basename[-1] == '/' && std::strchr(basename, '/') == nullptr, kTarget,
                      "the basename is not the last component");
        zbfuzz::Check(dirname.Std() + "/" + basename == text, kTarget,
                      "dirname and basename do not make the name");
    }
    if (const char* extension = iName.GetPtrToExtend())
        zbfuzz::Check(*extension == '.' && extension >= basename &&
                          std::strchr(extension + 1, '.') == nullptr,
                      kTarget, "the extension is not the last dot of the basename");

    QORString ws;
    if (iName.GetWSPath(ws))
    {
        zbfuzz::Check(iName.AsAWSPathname() != 0, kTarget, "a workspace without its marker");
        zbfuzz::Check(ws.Std() + "/./" + iName.GetPtrToNameIntoWS() == text, kTarget,
                      "workspace and name intoWS do not make the name");
        zbfuzz::Check(std::string(iName.GetPtrToPointnameIntoWS()) ==
                          std::string("./") + iName.GetPtrToNameIntoWS(),
                      kTarget, "the point name does not start at the marker");
    }
    else
        zbfuzz::Check(iName.GetPtrToNameIntoWS() == full, kTarget,
                      "a name intoWS without a workspace");

    const zbFileName again(full);
    zbfuzz::Check(Layout(again) == Layout(iName), kTarget, "normalising twice changed the name");
    zbFileName copy(iName);
    zbfuzz::Check(copy == iName && Layout(copy) == Layout(iName), kTarget,
                  "the copy differs from its original");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    const std::string input(reinterpret_cast<const char*>(iData), iSize);
    const size_t first = input.find('\0');
    const std::string dirText = input.substr(0, first);
    std::string nameText, extText;
    if (first != std::string::npos)
    {
        const size_t second = input.find('\0', first + 1);
        nameText =
            input.substr(first + 1, second == std::string::npos ? second : second - first - 1);
        if (second != std::string::npos)
            extText = input.substr(second + 1).c_str();
    }

    const zbFileName dir(dirText.c_str());
    CheckName(dir);
    zbFileName joined;
    joined.AssignJoined(dir, nameText.data(), static_cast<uint32_t>(nameText.size()));
    CheckName(joined);
    const std::string expected =
        dir.GetPtrToFullname() ? std::string(dir.GetPtrToFullname()) + "/" + nameText : nameText;
    zbfuzz::Check(Layout(joined) == Layout(zbFileName(expected.c_str())), kTarget,
                  "AssignJoined differs from normalising the joined text");
    // Joined again into a name that holds text already (its block is reused).
    joined.AssignJoined(dir, nameText.data(), static_cast<uint32_t>(nameText.size()));
    zbfuzz::Check(Layout(joined) == Layout(zbFileName(expected.c_str())), kTarget,
                  "AssignJoined into a used name differs");

    const zbFileName parts(dirText.c_str(), nameText.c_str(),
                           extText.empty() ? nullptr : extText.c_str());
    CheckName(parts);
    return 0;
}
