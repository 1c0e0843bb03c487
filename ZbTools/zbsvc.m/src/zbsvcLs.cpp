// zbsvc ls [-r] [-f | -d] [-x PATTERN ...] DIR ...: the directory walker, one
// full path per line; -x skips the entries whose name matches the pattern
// ("name", "head*", "*tail", "*inside*"), without stopping the walk into a
// skipped directory.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "zbContext.h"
#include "zbDirectoryListing.h"
#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbPatternSet.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

int zbsvcLs(int argc, char** argv)
{
    zbGetopts options("zbsvc ls");
    options.AddSimpleSwitch("r", "walk the directories recursively", 1);
    options.AddSimpleSwitch("f", "list everything but directories", 1);
    options.AddSimpleSwitch("d", "list directories only", 1);
    options.AddValuedSwitch("x", "skip the entries whose name matches this pattern", 1);
    int status = zbsvcAnalyze(options, argc, argv, "DIR...", 1, -1);
    if (status >= 0)
        return status;
    if (options.GetSwitchStatus("f") && options.GetSwitchStatus("d"))
    {
        zbStderr.Print("%s: -f and -d exclude each other\n", options.GetArgv0());
        options.Usage(zbStderr);
        return 2;
    }
    zbDirectoryListing::ListingMode mode = options.GetSwitchStatus("r")
                                               ? zbDirectoryListing::Recursive
                                               : zbDirectoryListing::GivenDirectoriesOnly;
    zbDirectoryListing::ListedEntries entries =
        options.GetSwitchStatus("f")   ? zbDirectoryListing::AllButDirectories
        : options.GetSwitchStatus("d") ? zbDirectoryListing::DirectoriesOnly
                                       : zbDirectoryListing::AllEntries;
    QORListValQORString* arguments = options.GetAllLineValues();

    // The walker skips unreadable directories silently: the ones given are
    // checked here so that a wrong argument is reported.
    status = 0;
    QORListValQORString roots;
    for (int i = 1; arguments && i <= arguments->Size(); ++i)
    {
        const char* directory = (*arguments)[i];
        struct stat64 st;
        int error = ::stat64(directory, &st) != 0 ? errno : (S_ISDIR(st.st_mode) ? 0 : ENOTDIR);
        if (error)
        {
            zbsvcReportSystemError(directory, error);
            status = 1;
            continue;
        }
        roots.Append(QORString(directory));
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    zbDirectoryListing listing(roots);
    listing.SetListingMode(mode);
    listing.SetListedEntries(entries);
    zbPatternSet excluded;
    if (QORListValQORString* patterns = options.GetSwitchAllValues("x"))
    {
        excluded.AddPattern(*patterns);
        listing.SetPattern(&excluded);
    }
    while (const char* path = listing.GetEntry())
    {
        fputs_unlocked(path, stdout);
        putc_unlocked('\n', stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
    {
        zbsvcReportSystemError("<stdout>", errno ? errno : EIO);
        status = 1;
    }
    if (listing.GetSkipped() > 0)
        status = 1;
    return status;
}
