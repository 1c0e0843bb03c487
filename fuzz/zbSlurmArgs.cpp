// Fuzz target: the extra srun arguments of a cluster action (the words of
// ZBZB_SLURM_ARGS) and the srun line built from them.
//
// Input: the text of the arguments; a NUL byte ends it, the rest is the
// command.  Every word must be non-empty and blank-free, and the command
// must stay the line's last argument, whole.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "zbSlurmAction.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    std::string input(reinterpret_cast<const char*>(iData), iSize);
    size_t end = input.find('\0');
    std::string words = input.substr(0, end);
    std::string command = end == std::string::npos ? "" : input.substr(end + 1);
    command = command.substr(0, command.find('\0'));
    zbSlurmAction* action = new zbSlurmAction();
    action->SetExtraArguments(words.c_str());
    action->SetCommand(command.c_str());
    for (const std::string& word : action->GetExtraArguments())
        if (word.empty() || word.find_first_of(" \t\n") != std::string::npos)
            std::abort();
    if (action->GetSrunLine().back() != command)
        std::abort();
    action->Release();
    return 0;
}
