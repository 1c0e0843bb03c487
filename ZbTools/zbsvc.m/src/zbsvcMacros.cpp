// zbsvc macros: reads description files into one macro set, following their
// include lines along the -I directories, optionally resolves the references,
// and prints the set.

#include <cstdio>
#include <cstring>
#include <vector>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbSetOfPathFinder.h"
#include "zbsvcVerbs.h"

static int MacrosUsage()
{
    std::fprintf(stderr, "Usage: zbsvc macros [-solve] [-keep] [-dump] [-I DIR ...] FILE ...\n");
    return 2;
}

int zbsvcMacros(int argc, char** argv)
{
    int solve = 0, keep = 0, dump = 0;
    QORListValQORString directories;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i)
    {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "-solve"))
            solve = 1;
        else if (!std::strcmp(arg, "-keep"))
            keep = 1;
        else if (!std::strcmp(arg, "-dump"))
            dump = 1;
        else if (!std::strcmp(arg, "-I"))
        {
            if (++i >= argc)
                return MacrosUsage();
            directories.Append(QORString(argv[i]));
        }
        else if (!std::strncmp(arg, "-I", 2))
            directories.Append(QORString(arg + 2));
        else if (arg[0] == '-' && arg[1])
            return MacrosUsage();
        else
            files.push_back(arg);
    }
    if (files.empty())
        return MacrosUsage();

    zbPathFinder finder;
    finder.SetListOfPath(directories);
    zbSetOfPathFinder finders(finder);
    const zbMacroSet::InsertMode mode =
        keep ? zbMacroSet::KeepExisting : zbMacroSet::ReplaceExisting;

    // The set lives until the process ends: a large set goes back to the
    // system with the process instead of one macro at a time.
    static zbMacroSet* keptSet = new zbMacroSet(500);
    zbMacroSet& set = *keptSet;
    int failures = 0;
    for (const char* file : files)
        failures += set.InsertFile(file, &finders, '=', mode);
    if (solve)
        failures += set.Solve(nullptr);

    int written = dump ? (set.Dump(zbStdout), zbStdout.GetErrno() != 0) : set.Print(zbStdout);
    if (written || zbStdout.Flush())
    {
        zbExtLastError.SetErrno(zbStdout.GetErrno());
        zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, QORUnicodeString("stdout"),
                                           zbExtLastError.GetMsgError());
        ++failures;
    }
    return failures ? 1 : 0;
}
