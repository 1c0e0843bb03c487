// zbsvc context [-v]: prints the build context; with -v the search paths of
// configuration, trame and data files and the main specifications are built
// first, so that the dump shows them; status 1 when the main
// specifications are there but cannot be read.

#include "zbContext.h"
#include "zbsvcVerbs.h"

int zbsvcContext(int argc, char** argv)
{
    zbsvcOptions options("zbsvc context");
    options.DeclareSwitch("v", "also the search paths and the main specifications");
    int status = zbsvcAnalyze(options, argc, argv, 0, 0);
    if (status >= 0)
        return status;
    int failed = 0;
    if (options.GetSwitchStatus("v"))
    {
        zbExtContext.GetConfigPath();
        zbExtContext.GetTramePath();
        zbExtContext.GetDataPath();
        zbExtContext.GetMainSpecifications();
        // Main specifications that cannot be read were reported while read.
        failed = zbExtContext.MainSpecificationsFailed();
    }
    // A failed write of the dump is reported at the end of the run.
    zbExtContext.Dump(zbsvcOutput());
    return failed;
}
