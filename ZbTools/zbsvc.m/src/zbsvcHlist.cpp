// zbsvc hlist [-subdir] -ws WS -o LISTFILE DIR ...: the header-list file of
// the directories WS/./DIR, each DIR named inside the workspace.

#include <cstdio>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbHeaderList.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcHlist(int argc, char** argv)
{
    zbsvcOptions options("zbsvc hlist");
    options.DeclareSwitch("subdir", "list the directories as subdirectory include paths");
    options.DeclareValue("ws", "WS", "workspace root");
    options.DeclareValue("o", "LISTFILE", "header-list file to write");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    QORString* workspace = options.GetSwitchValue("ws");
    QORString* output = options.GetSwitchValue("o");
    if (!workspace || !output)
        return zbsvcUsageError(options, "-ws and -o are required");
    int subdir = options.GetSwitchStatus("subdir") ? 1 : 0;

    // One directory at a time, so that one that cannot be listed is named.
    status = 0;
    zbHeaderList list;
    QORListValQORString one;
    for (const QORString& directory : options.LineValues())
    {
        QORString path = *workspace + zbWSPathSeparator + directory;
        one.RemoveAll();
        one.Append(path);
        int before = list.GetListOfHeaderDirectories().Size();
        if (list.ListDirectories(one, subdir) == before)
        {
            status = zbReportLastError(path.CastToCharPtr());
        }
    }
    if (list.WriteFile(*output) != 0)
        status = 1;
    return status;
}
