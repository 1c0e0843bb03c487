// zbsvc pp [-level LEVELFILE] [-nocheck] [-I DIR ...] [-expand] FILE: prints
// FILE preprocessed; with -expand its #include lines are replaced by the
// files found along the -I directories, themselves preprocessed.

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbFileBuffer.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

// Loads the level file into ioLevels; 0, or 1 after a report.
int zbsvcLoadLevels(zbPPMacLev& ioLevels, const char* iLevelFile)
{
    struct stat64 st;
    if (::stat64(iLevelFile, &st) != 0)
    {
        zbsvcReportSystemError(iLevelFile, errno);
        return 1;
    }
    if (S_ISDIR(st.st_mode))
    {
        zbsvcReportSystemError(iLevelFile, EISDIR);
        return 1;
    }
    if (st.st_size == 0)
    {
        zbExtContext.GetTraceMngr()->Print(
            MSG_KEY_zbzbError, stderr,
            zbExtContext.GetMsgMngr()->GetMsg("zbsvc.pp.EmptyLevelFile", iLevelFile));
        return 1;
    }
    if (ioLevels.InsertLevel(iLevelFile) == 0)
        return 0;
    // The preprocessor reported its errors; a failed read did not.
    if (ioLevels.GetLoadStatus() == 0 && zbExtLastError.GetErrno() != 0)
        zbsvcReportSystemError(iLevelFile, zbExtLastError.GetErrno());
    return 1;
}

int zbsvcPp(int argc, char** argv)
{
    zbGetopts options("zbsvc pp");
    options.AddValuedSwitch("level", "level file defining the levels the conditions test", 1);
    options.AddSimpleSwitch("nocheck", "test names without requiring a level file", 1);
    options.AddValuedSwitch("I", "directory searched for the included files", 1);
    options.AddSimpleSwitch("expand", "replace the #include lines by the files", 1);
    int status = zbsvcAnalyze(options, argc, argv, "FILE", 1, 1);
    if (status >= 0)
        return status;
    int index = 1;
    const QORString file = *options.GetLineValue(index);

    zbPPMacLev levels(500);
    if (QORString* levelFile = options.GetSwitchValue("level"))
        if (zbsvcLoadLevels(levels, levelFile->CastToCharPtr()) != 0)
            return 1;
    // Without the check every name is looked up, as in a loaded level set.
    if (options.GetSwitchStatus("nocheck"))
        levels.SetLoadStatus(1);

    zbFileBuffer buffer;
    zbExtLastError.SetErrno(0);
    if (buffer.ReadFromFile(file.CastToCharPtr(), 4) != 0)
    {
        zbsvcReportSystemError(file.CastToCharPtr(), zbExtLastError.GetErrno());
        return 1;
    }
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

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    if (buffer.Write(zbStdout) < 0 || zbStdout.Flush() != 0)
    {
        zbsvcReportSystemError("stdout", zbStdout.GetErrno() ? zbStdout.GetErrno() : EIO);
        return 1;
    }
    return 0;
}
