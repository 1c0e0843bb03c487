// zbsvc wschain WS: the workspace chain recorded in WS/Install_config, one
// directory per line.

#include <cerrno>
#include <cstdio>

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
        // A missing file is not reported by the reader itself.
        QORString file = workspace + "/Install_config";
        zbReportSystemError(file, ENOENT);
    }
    if (error)
        return 1;
    for (const QORString& directory : chain)
        std::printf("%s\n", directory.CastToCharPtr());
    return 0;
}
