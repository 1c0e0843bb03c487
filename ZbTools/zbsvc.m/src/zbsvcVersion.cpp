// zbsvc version [-level DIR]: computes the version of the product from
// "zbVersionData.mk" of the data search path, preprocessed with the levels
// of DIR/TALVEXV5Level.lvl (DIR: the current directory by default), and
// prints the four values.  A missing file is a warning: the values then
// stay "0".

#include "zbContext.h"
#include "zbFileName.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

int zbsvcVersion(int argc, char** argv)
{
    zbsvcOptions options("zbsvc version");
    options.DeclareValue("level", "DIR", "directory of the level file TALVEXV5Level.lvl");
    int status = zbsvcAnalyze(options, argc, argv, 0, 0);
    if (status >= 0)
        return status;
    const QORString* level = options.GetSwitchValue("level");
    QORString directory = level ? *level : zbExtContext.CPwd();

    zbExtContext.ComputeVersion(directory);
    // Only a version left at 0 is explained: which file was missing.
    if (zbExtContext.MajorVersion() == "0" && zbExtContext.MinorVersion() == "0")
    {
        zbFileName data;
        if (!zbExtContext.SearchForData("zbVersionData.mk", data))
            zbReportWarning("zbsvc.version.NoVersionData", {QORUnicodeString("zbVersionData.mk")});
        zbFileName levelFile(directory.CastToCharPtr(), "TALVEXV5Level.lvl", nullptr);
        if (levelFile.ReadStat())
            zbReportWarning("zbsvc.version.NoLevelFile",
                            {QORUnicodeString(levelFile.GetPtrToFullname())});
    }
    zbStdout.Print("MajorVersion = %s\n", zbExtContext.MajorVersion().CastToCharPtr());
    zbStdout.Print("MinorVersion = %s\n", zbExtContext.MinorVersion().CastToCharPtr());
    zbStdout.Print("ServicePack  = %s\n", zbExtContext.ServicePack().CastToCharPtr());
    zbStdout.Print("BuildNumber  = %s\n", zbExtContext.BuildNumber().CastToCharPtr());
    return 0;
}
