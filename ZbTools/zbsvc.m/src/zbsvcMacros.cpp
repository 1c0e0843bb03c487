// zbsvc macros: reads description files into one macro set, following their
// include lines along the -I directories, optionally resolves the references,
// and prints the set.  With -level, each file given is preprocessed against
// the levels of the level file before it is read.

#include <cstdio>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbMacroSet.h"
#include "zbOFStream.h"
#include "zbPPMacLev.h"
#include "zbPathFinder.h"
#include "zbReport.h"
#include "zbSetOfPathFinder.h"
#include "zbsvcVerbs.h"

// Reads iFile, preprocesses it and inserts it into ioSet; the number of
// failures.
static int zbsvcInsertPreprocessed(zbMacroSet& ioSet, const zbPPMacLev& iLevels, const char* iFile,
                                   zbSetOfPathFinder* iFinders, const zbMacroSet::InsertMode& iMode)
{
    zbFileBuffer buffer;
    zbExtLastError.SetErrno(0);
    if (buffer.ReadFromFile(iFile, 8) != 0)
    {
        return zbReportLastError(iFile);
    }
    if (buffer.zbPPBuffer(iLevels, iFile) != 0)
        return 1;
    if (!buffer.GetBuffer() || !zbMacroSet::ParseBuffer(iFile, buffer.GetBuffer()))
        return !buffer.GetBuffer() ? 0 : 1;
    return ioSet.InsertBuffer(buffer.GetBuffer(), iFinders, '=', iMode);
}

int zbsvcMacros(int argc, char** argv)
{
    zbsvcOptions options("zbsvc macros");
    options.DeclareSwitch("solve", "resolve the $(NAME) references");
    options.DeclareSwitch("keep", "keep the first value of a macro defined again");
    options.DeclareSwitch("dump", "print the dump form");
    options.DeclareValue("I", "DIR", "directory searched for the included files");
    options.DeclareValue("level", "FILE", "preprocess each file against the levels of FILE");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    const int solve = options.GetSwitchStatus("solve") ? 1 : 0;
    const int keep = options.GetSwitchStatus("keep") ? 1 : 0;
    const int dump = options.GetSwitchStatus("dump") ? 1 : 0;
    QORListValQORString directories;
    if (QORListValQORString* values = options.GetSwitchAllValues("I"))
        directories.Append(*values);
    QORListValQORString files;
    if (QORListValQORString* values = options.GetAllLineValues())
        files.Append(*values);

    zbPathFinder finder;
    finder.SetListOfPath(directories);
    zbSetOfPathFinder finders(finder);
    const zbMacroSet::InsertMode mode =
        keep ? zbMacroSet::KeepExisting : zbMacroSet::ReplaceExisting;

    // The set lives until the process ends: a large set goes back to the
    // system with the process instead of one macro at a time.
    static zbMacroSet* keptSet = new zbMacroSet(500);
    zbMacroSet& set = *keptSet;
    zbPPMacLev levels(500);
    const QORString* levelFile = options.GetSwitchValue("level");
    if (levelFile && zbsvcLoadLevels(levels, levelFile->CastToCharPtr()) != 0)
        return 1;
    // An -I directory that cannot be listed has been reported by the finder.
    int failures = finder.GetUnlistedCount();
    for (const QORString& argument : files)
    {
        const char* file = zbsvcInputName(argument.CastToCharPtr());
        if (!file)
            ++failures;
        else if (levelFile)
            failures += zbsvcInsertPreprocessed(set, levels, file, &finders, mode);
        else
            failures += set.InsertFile(file, &finders, '=', mode);
    }
    if (solve)
        failures += set.Solve(nullptr);

    // A failed write is reported at the end of the run.
    if (dump)
        set.Dump(zbsvcOutput());
    else
        set.Print(zbsvcOutput());
    return failures ? 1 : 0;
}
