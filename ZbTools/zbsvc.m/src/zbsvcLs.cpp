// zbsvc ls [-r] [-f | -d] [-x PATTERN ...] DIR ...: the directory walker, one
// full path per line; -x skips the entries whose name matches the pattern
// ("name", "head*", "*tail", "*inside*"), without stopping the walk into a
// skipped directory.

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbDirectoryListing.h"
#include "zbErrorCodeManager.h"
#include "zbPatternSet.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcLs(int argc, char** argv)
{
    zbsvcOptions options("zbsvc ls");
    options.DeclareSwitch("r", "walk the directories recursively");
    options.DeclareSwitch("f", "list everything but directories");
    options.DeclareSwitch("d", "list directories only");
    options.DeclareValue("x", "PATTERN", "skip the entries whose name matches PATTERN");
    int status = zbsvcAnalyze(options, argc, argv, 1, -1);
    if (status >= 0)
        return status;
    if (options.GetSwitchStatus("f") && options.GetSwitchStatus("d"))
        return zbsvcUsageError(options, "-f and -d exclude each other");
    zbDirectoryListing::ListingMode mode = options.GetSwitchStatus("r")
                                               ? zbDirectoryListing::Recursive
                                               : zbDirectoryListing::GivenDirectoriesOnly;
    zbDirectoryListing::ListedEntries entries =
        options.GetSwitchStatus("f")   ? zbDirectoryListing::AllButDirectories
        : options.GetSwitchStatus("d") ? zbDirectoryListing::DirectoriesOnly
                                       : zbDirectoryListing::AllEntries;

    // The given directories are checked here so that a wrong argument is
    // reported; the walker reports the directories it cannot open.
    status = 0;
    QORListValQORString roots;
    for (const QORString& argument : options.LineValues())
    {
        const char* directory = argument.CastToCharPtr();
        struct stat64 st;
        int error = ::stat64(directory, &st) != 0 ? errno : (S_ISDIR(st.st_mode) ? 0 : ENOTDIR);
        if (error)
        {
            status = zbReportSystemError(directory, error);
            continue;
        }
        roots.Append(QORString(directory));
    }

    zbDirectoryListing listing(roots);
    listing.SetListingMode(mode);
    listing.SetListedEntries(entries);
    listing.SetReportUnreadable(1);
    zbPatternSet excluded;
    if (QORListValQORString* patterns = options.GetSwitchAllValues("x"))
    {
        excluded.AddPattern(*patterns);
        listing.SetPattern(&excluded);
    }
    while (const char* path = listing.GetEntry())
    {
        zbsvcPuts(path);
        zbsvcPutc('\n');
    }
    if (listing.GetSkipped() > 0 || listing.GetUnreadable() > 0)
        status = 1;
    return status;
}
