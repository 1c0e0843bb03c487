// zbsvc hlist [-subdir] -ws WS -o LISTFILE DIR ...: the header-list file of
// the directories WS/./DIR, each DIR named inside the workspace.

#include <cstdio>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbHeaderList.h"
#include "zbOFStream.h"
#include "zbPathSeparators.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcHlist(int argc, char** argv)
{
    zbGetopts options("zbsvc hlist");
    options.AddSimpleSwitch("subdir", "list the directories as subdirectory include paths", 1);
    options.AddValuedSwitch("ws", "workspace root", 1);
    options.AddValuedSwitch("o", "header-list file to write", 1);
    int status = zbsvcAnalyze(options, argc, argv, "DIR...", 1, -1);
    if (status >= 0)
        return status;
    QORString* workspace = options.GetSwitchValue("ws");
    QORString* output = options.GetSwitchValue("o");
    if (!workspace || !output)
    {
        zbStderr.Print("%s: -ws and -o are required\n", options.GetArgv0());
        options.Usage(zbStderr);
        return 2;
    }
    int subdir = options.GetSwitchStatus("subdir") ? 1 : 0;

    // One directory at a time, so that one that cannot be listed is named.
    status = 0;
    zbHeaderList list;
    QORListValQORString one;
    QORListValQORString* dirs = options.GetAllLineValues();
    for (int i = 1; dirs && i <= dirs->Size(); ++i)
    {
        QORString path = *workspace + zbWSPathSeparator + (*dirs)[i];
        one.RemoveAll();
        one.Append(path);
        int before = list.GetListOfHeaderDirectories().Size();
        if (list.ListDirectories(one, subdir) == before)
        {
            zbsvcReportSystemError(path.CastToCharPtr(), zbExtLastError.GetErrno());
            status = 1;
        }
    }
    if (list.WriteFile(*output) != 0)
        status = 1;
    return status;
}
