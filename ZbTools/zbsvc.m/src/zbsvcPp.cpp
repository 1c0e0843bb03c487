// zbsvc pp [-level FILE] [-nocheck] [-I DIR ...] [-expand] FILE: prints
// FILE preprocessed; with -expand its #include lines are replaced by the
// files found along the -I directories, themselves preprocessed.

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbOFStream.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

// Loads the level file into ioLevels ("-": standard input); 0, or 1 after
// a report.
int zbsvcLoadLevels(zbPPMacLev& ioLevels, const char* iLevelFile)
{
    const char* file = zbsvcInputName(iLevelFile);
    if (!file)
        return 1;
    struct stat64 st;
    if (::stat64(file, &st) != 0)
        return zbReportSystemError(iLevelFile, errno);
    if (S_ISDIR(st.st_mode))
        return zbReportSystemError(iLevelFile, EISDIR);
    if (st.st_size == 0)
        return zbReportMessage("zbsvc.pp.EmptyLevelFile", {QORUnicodeString(iLevelFile)});
    if (ioLevels.InsertLevel(file) == 0)
        return 0;
    // The preprocessor reported its errors; a failed read did not.
    if (ioLevels.GetLoadStatus() == 0 && zbExtLastError.GetErrno() != 0)
        zbReportLastError(iLevelFile);
    return 1;
}

int zbsvcPp(int argc, char** argv)
{
    zbsvcOptions options("zbsvc pp");
    options.DeclareValue("level", "FILE", "level file defining the levels the conditions test");
    options.DeclareSwitch("nocheck", "test names without requiring a level file");
    options.DeclareValue("I", "DIR", "directory searched for the included files");
    options.DeclareSwitch("expand", "replace the #include lines by the files");
    int status = zbsvcAnalyze(options, argc, argv, 1, 1);
    if (status >= 0)
        return status;
    int index = 1;
    const char* input = zbsvcInputName(*options.GetLineValue(index));
    if (!input)
        return 1;
    const QORString file = input;

    zbPPMacLev levels(500);
    if (QORString* levelFile = options.GetSwitchValue("level"))
        if (zbsvcLoadLevels(levels, levelFile->CastToCharPtr()) != 0)
            return 1;
    // Without the check every name is looked up, as in a loaded level set.
    if (options.GetSwitchStatus("nocheck"))
        levels.SetLoadStatus(1);

    zbFileBuffer buffer;
    zbExtLastError.SetErrno(0);
    if (buffer.ReadFromFile(file.CastToCharPtr(), 8) != 0)
        return zbReportLastError(file.CastToCharPtr());
    int errors;
    if (options.GetSwitchStatus("expand"))
    {
        QORListValQORString directories;
        if (QORListValQORString* values = options.GetSwitchAllValues("I"))
            directories.Append(*values);
        zbPathFinderAccess finder;
        finder.SetListOfPath(directories);
        QORListValzbFileName included;
        errors = buffer.ExpandBuffer(levels, finder, included, file.CastToCharPtr());
    }
    else
        errors = buffer.zbPPBuffer(levels, file.CastToCharPtr());
    if (errors)
        return 1;

    // A failed write is reported at the end of the run.
    buffer.Write(zbsvcOutput());
    return 0;
}
