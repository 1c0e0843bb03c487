// zbsvc installtype FW ...: how each framework is installed, one line
// "TYPE FW" each: 0 none, 1 prerequisites copied, 10 the framework copied.

#include "zbFileElementExtension.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcInstalltype(int argc, char** argv)
{
    zbsvcOptions options("zbsvc installtype");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    for (const QORString& framework : *options.GetAllLineValues())
        zbStdout.Print("%d %s\n", zbFileElementExtension::GetInstallType(framework),
                       framework.CastToCharPtr());
    return zbStdout.Flush() != 0 ? 1 : 0;
}
