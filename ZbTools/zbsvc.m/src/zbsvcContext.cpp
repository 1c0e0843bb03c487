// zbsvc context [-v]: prints the build context; with -v the search paths of
// configuration, trame and data files and the main specifications are built
// first, so that the dump shows them.

#include "zbContext.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

int zbsvcContext(int argc, char** argv)
{
    zbGetopts options("zbsvc context");
    options.AddSimpleSwitch("v", "also the search paths and the main specifications", 1);
    int status = zbsvcAnalyze(options, argc, argv, "", 0, 0);
    if (status >= 0)
        return status;
    if (options.GetSwitchStatus("v"))
    {
        zbExtContext.GetConfigPath();
        zbExtContext.GetTramePath();
        zbExtContext.GetDataPath();
        zbExtContext.GetMainSpecifications();
    }
    zbExtContext.Dump(zbStdout);
    return zbStdout.GetErrno() ? 1 : 0;
}
