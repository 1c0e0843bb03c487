// zbsvc version [-level DIR]: computes the version of the product from
// "zbVersionData.mk" of the data search path, preprocessed with the levels
// of DIR/TALVEXV5Level.lvl (DIR: the current directory by default), and
// prints the four values.  A missing file is a warning: the values then
// stay "0".  A file that is there but cannot be used (unreadable, empty,
// damaged, without the two values) is an error: status 1.

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

// The level file is there but was refused: unreadable, empty, not text, or
// rejected by the preprocessor (which then said why).  Always 1.
static int zbsvcExplainLevelFile(const char* iName)
{
    zbScopedFd fd(zbOpenFd(iName, O_RDONLY));
    struct stat st;
    if (fd.Get() < 0)
        return zbReportSystemError(iName, errno);
    if (::fstat(fd.Get(), &st) != 0)
        return zbReportSystemError(iName, errno);
    if (S_ISDIR(st.st_mode))
        return zbReportSystemError(iName, EISDIR);
    if (st.st_size == 0)
        return zbReportMessage("zbsvc.version.EmptyLevelFile", {QORUnicodeString(iName)});
    char* text = nullptr;
    unsigned int size = 0;
    const int refused = zbMMap(iName, 8, text, size, 0);
    std::free(text);
    return refused ? zbReportLastError(iName) : 1;
}

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
    // A version left at 0 is explained: a missing file is a warning, a
    // file that is there but cannot be used is an error (status 1).
    zbFileName data;
    zbExtContext.SearchForData("zbVersionData.mk", data);
    const char* dataName = data.GetPtrToFullname() ? data.GetPtrToFullname() : "zbVersionData.mk";
    zbFileName levelFile(directory.CastToCharPtr(), "TALVEXV5Level.lvl", nullptr);
    const char* levelName = levelFile.GetPtrToFullname();
    int failed = 0;
    switch (zbExtContext.GetVersionFailure())
    {
    case zbContext::VersionComputed:
        break;
    case zbContext::VersionNoData:
        zbReportWarning("zbsvc.version.NoVersionData", {QORUnicodeString("zbVersionData.mk")});
        break;
    case zbContext::VersionNoLevelFile:
        zbReportWarning("zbsvc.version.NoLevelFile", {QORUnicodeString(levelName)});
        break;
    case zbContext::VersionBadLevelFile:
        failed = zbsvcExplainLevelFile(levelName);
        break;
    case zbContext::VersionUnreadableData:
        failed = zbReportLastError(dataName);
        break;
    case zbContext::VersionNulInData:
        failed = zbReportMessage("zbsvc.version.NulByte", {QORUnicodeString(dataName)});
        break;
    case zbContext::VersionBadData:
        failed = 1; // the preprocessor or the macro reader said why
        break;
    case zbContext::VersionEmptyData:
    case zbContext::VersionMissingValues:
        failed = zbReportMessage("zbsvc.version.NoValues", {QORUnicodeString(dataName)});
        break;
    }
    zbsvcPrint("MajorVersion = %s\n", zbExtContext.MajorVersion().CastToCharPtr());
    zbsvcPrint("MinorVersion = %s\n", zbExtContext.MinorVersion().CastToCharPtr());
    zbsvcPrint("ServicePack  = %s\n", zbExtContext.ServicePack().CastToCharPtr());
    zbsvcPrint("BuildNumber  = %s\n", zbExtContext.BuildNumber().CastToCharPtr());
    return failed;
}
