// zbsvc wschain WS: the workspace chain recorded in WS/Install_config, one
// directory per line.

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcWschain(int argc, char** argv)
{
    zbsvcOptions options("zbsvc wschain");
    int status = zbsvcAnalyze(options, argc, argv, 1, 1);
    if (status >= 0)
        return status;
    int index = 1;
    QORString workspace(*options.GetLineValue(index));
    QORListValQORString chain;
    int error = zbGetWorkspacesConcatenation(workspace, chain, nullptr);
    if (error == ENOENT)
    {
        // A missing file is not reported by the reader itself: the
        // workspace is named when it is what is wrong.
        struct stat64 status;
        if (::stat64(workspace.CastToCharPtr(), &status) != 0)
            zbReportSystemError(workspace, errno);
        else if (!S_ISDIR(status.st_mode))
            zbReportSystemError(workspace, ENOTDIR);
        else
            zbReportSystemError(workspace + "/Install_config", ENOENT);
    }
    if (error)
        return 1;
    for (const QORString& directory : chain)
    {
        zbsvcPuts(directory.CastToCharPtr());
        zbsvcPutc('\n');
    }
    return 0;
}
