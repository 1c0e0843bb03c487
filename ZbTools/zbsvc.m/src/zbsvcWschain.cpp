// zbsvc wschain WS: the workspace chain recorded in WS/Install_config, one
// directory per line.

#include <cerrno>
#include <cstdio>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcWschain(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "Usage: zbsvc wschain WS\n");
        return 2;
    }
    QORListValQORString chain;
    QORString workspace(argv[1]);
    int error = zbGetWorkspacesConcatenation(workspace, chain, nullptr);
    if (error == ENOENT)
    {
        // A missing file is not reported by the reader itself.
        zbExtLastError.SetErrno(ENOENT);
        QORString file = workspace + "/Install_config";
        zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, QORUnicodeString(file),
                                           zbExtLastError.GetMsgError());
    }
    if (error)
        return 1;
    for (const QORString& directory : chain)
        std::printf("%s\n", directory.CastToCharPtr());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
