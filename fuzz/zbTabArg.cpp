// Command strings of any bytes through zbBuildTabArgFromString and
// zbTabArg::AddString: every word must lie inside the command buffer, and
// the words must be what the splitting rules give.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zbStrFunctions.h"
#include "zbTabArg.h"

namespace
{
void Check(bool iCondition)
{
    if (!iCondition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    // The command is the bytes up to the first NUL, in a buffer of its own
    // size exactly, so that any read beyond it is seen.
    std::string command(reinterpret_cast<const char*>(iData), iSize);
    command.resize(std::strlen(command.c_str()));
    size_t blanks = 0;
    for (char c : command)
        blanks += c == ' ' || c == '\t';

    std::vector<char> buffer(command.begin(), command.end());
    buffer.push_back('\0');
    char** argv = zbBuildTabArgFromString(buffer.data());
    size_t words = 0;
    for (; argv[words]; ++words)
    {
        Check(argv[words] >= buffer.data() && argv[words] < buffer.data() + buffer.size());
        Check(std::strlen(argv[words]) < buffer.size());
    }
    Check(words <= blanks + 1);
    delete[] argv;

    zbTabArg args(0, 3);
    args.AddString(command.c_str());
    args.AddString(command.c_str());
    std::string joined;
    for (unsigned int i = 0; i < args.Argc(); ++i)
    {
        Check(std::strchr(args[i], ' ') == nullptr);
        joined += args[i];
    }
    std::string nonBlank;
    for (char c : command)
        if (c != ' ')
            nonBlank += c;
    Check(joined == nonBlank + nonBlank);
    return 0;
}
