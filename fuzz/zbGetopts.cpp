// Fuzz target: the option parser on arbitrary argument vectors.
//
// Input: one byte of flags, then the arguments separated by NUL bytes.
// Flags: 1 ignore unknown switches; 2 declare the empty name too; 4 declare
// the first three arguments as switches (simple, valued, simple); 8 analyse
// the line a second time.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zbGetopts.h"
#include "zbOFStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbOFStream sink("/dev/null", 4);
    if (iSize == 0)
        return 0;
    const unsigned flags = iData[0];
    std::vector<std::string> words(1, "fuzz");
    std::string current;
    for (size_t i = 1; i < iSize && words.size() < 64; ++i)
    {
        if (iData[i] == 0)
        {
            words.push_back(current);
            current.clear();
        }
        else
            current += static_cast<char>(iData[i]);
    }
    if (!current.empty())
        words.push_back(current);
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);

    zbGetopts options("fuzz");
    for (const char* name : {"a", "b", "ab", "-crypt", "v"})
        options.AddSimpleSwitch(name, "simple", 1);
    for (const char* name : {"o", "-I", "long"})
        options.AddValuedSwitch(name, "valued", 2);
    if (flags & 2)
        options.AddSimpleSwitch("", "empty", 3);
    if (flags & 4)
        for (size_t i = 1; i < words.size() && i <= 3; ++i)
        {
            if (i == 2)
                options.AddValuedSwitch(argv[i], "declared", 4);
            else
                options.AddSimpleSwitch(argv[i], "declared", 4);
        }

    int argc = static_cast<int>(words.size());
    options.AnalyzeCommandLine(argc, argv.data(), flags & 1);
    if (flags & 8)
        options.AnalyzeCommandLine(argc, argv.data(), !(flags & 1));

    // Every query over every name the line holds.
    for (size_t i = 0; i < words.size(); ++i)
    {
        const char* name = argv[i];
        switch (options.IsASwitch(name))
        {
        case 1:
            options.PutSwitchStatus(name, !options.GetSwitchStatus(name));
            break;
        case 2:
        {
            int index = 1;
            while (QORString* value = options.GetSwitchValue(name, index))
                options.SearchSwitchForValue(name, *value);
            options.GetSwitchAllValues(name);
            break;
        }
        default:
            break;
        }
    }
    int index = 1;
    while (options.GetLineValue(index))
        ;
    if (flags & 16)
        options.GetAndHideAllLineValues();
    options.GetAllLineValues();
    if (flags & 32)
        options.QuickSortSwitch();
    options.Usage(sink);
    return 0;
}
