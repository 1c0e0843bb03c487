// zbsvc installtype FW ...: how each framework is installed, one line
// "TYPE FW" each: 0 none, 1 prerequisites copied, 10 the framework copied.

#include "zbFileElementExtension.h"
#include "zbsvcVerbs.h"

int zbsvcInstalltype(int argc, char** argv)
{
    zbsvcOptions options("zbsvc installtype");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    // A marker that cannot be read was reported: its framework is left out.
    int failed = 0;
    for (const QORString& framework : *options.GetAllLineValues())
    {
        const int type = zbFileElementExtension::GetInstallType(framework);
        if (type < 0)
            failed = 1;
        else
            zbsvcPrint("%d %s\n", type, framework.CastToCharPtr());
    }
    return failed;
}
