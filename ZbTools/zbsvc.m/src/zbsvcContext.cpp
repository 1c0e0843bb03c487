// zbsvc context: prints the build context.

#include "zbContext.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcContext(int argc, char** argv)
{
    zbGetopts options("zbsvc context");
    int status = zbsvcAnalyze(options, argc, argv, "", 0, 0);
    if (status >= 0)
        return status;
    zbExtContext.Dump(zbStdout);
    return zbStdout.GetErrno() ? 1 : 0;
}
