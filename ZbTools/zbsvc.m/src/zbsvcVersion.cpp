// zbsvc version [-level DIR]: computes the version of the product from
// "zbVersionData.mk" of the data search path, preprocessed with the levels
// of DIR/TALVEXV5Level.lvl (DIR: the current directory by default), and
// prints the four values.  A missing file is a warning: the values then
// stay "0".

#include "zbContext.h"
#include "zbFileName.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

namespace
{
void Warn(const char* iKey, const QORString& iName)
{
    QORUnicodeString message = zbExtContext.GetMsgMngr()->GetMsg(iKey, QORUnicodeString(iName));
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbWarning, stderr, message);
}
} // namespace

int zbsvcVersion(int argc, char** argv)
{
    zbGetopts options("zbsvc version");
    options.AddValuedSwitch("level", "directory of the level file TALVEXV5Level.lvl", 1);
    int status = zbsvcAnalyze(options, argc, argv, "", 0, 0);
    if (status >= 0)
        return status;
    const QORString* level = options.GetSwitchValue("level");
    QORString directory = level ? *level : zbExtContext.CPwd();

    zbFileName data;
    if (!zbExtContext.SearchForData("zbVersionData.mk", data))
        Warn("zbsvc.version.NoVersionData", "zbVersionData.mk");
    zbFileName levelFile(directory.CastToCharPtr(), "TALVEXV5Level.lvl", nullptr);
    if (levelFile.ReadStat())
        Warn("zbsvc.version.NoLevelFile", QORString(levelFile.GetPtrToFullname()));

    zbExtContext.ComputeVersion(directory);
    zbStdout.Print("MajorVersion = %s\n", zbExtContext.MajorVersion().CastToCharPtr());
    zbStdout.Print("MinorVersion = %s\n", zbExtContext.MinorVersion().CastToCharPtr());
    zbStdout.Print("ServicePack  = %s\n", zbExtContext.ServicePack().CastToCharPtr());
    zbStdout.Print("BuildNumber  = %s\n", zbExtContext.BuildNumber().CastToCharPtr());
    zbStdout.Flush();
    return zbStdout.GetErrno() ? 1 : 0;
}
