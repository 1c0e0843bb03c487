// zbsvc find [-i] [-map MAPFILE] [-path DIR:DIR ...] [-names FILE] [-stdin] NAME ...:
// the full path of each name through a path finder, one per line.  The
// directories of -path are scanned first (in order), then the header map is
// merged in (a name already known keeps its directory).  -names FILE reads
// further names from FILE ("-": standard input), one per line, after those
// of the command line; -stdin then reads more from standard input.  A name
// not found is reported and makes the status 1.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>

#include "zbDescriptor.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbHeaderMap.h"
#include "zbPathFinder.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// The paths go to standard output, through its one writer (which sends
// them out before any report).
class Output : public zbPathFinderSink
{
  public:
    void Write(const char* iText, size_t iLength) override { zbsvcWrite(iText, iLength); }
};

// The names of one source ("-": standard input) through the finder.
int FindNames(zbPathFinder& ioFinder, Output& ioOutput, const char* iSource)
{
    const char* file = zbsvcInputName(iSource);
    if (!file)
        return 1;
    const char* shown = std::strcmp(iSource, "-") ? iSource : "standard input";
    zbScopedFd fd(zbOpenFd(file, O_RDONLY));
    if (!fd.IsOpen())
        return zbReportSystemError(shown, errno);
    return ioFinder.FindAll(fd.Get(), shown, ioOutput);
}
} // namespace

int zbsvcFind(int argc, char** argv)
{
    zbsvcOptions options("zbsvc find");
    options.DeclareSwitch("i", "compare names without regard to case");
    options.DeclareValue("map", "MAPFILE", "header-map file");
    options.DeclareValue("path", "DIR:DIR", "directories to search, separated by ':'");
    options.DeclareValue("names", "FILE", "file of names, one per line ('-': standard input)");
    options.DeclareSwitch("stdin", "read names from standard input, one per line");
    int status = zbsvcAnalyze(options, argc, argv, 0, -1);
    if (status >= 0)
        return status;
    QORString* namesFile = options.GetSwitchValue("names");
    bool fromStdin = options.GetSwitchStatus("stdin") != 0;
    QORListValQORString* names = options.GetAllLineValues();
    if (!namesFile && !fromStdin && (!names || names->Size() == 0))
        return zbsvcUsageError(options, "expects names (arguments, -names FILE or -stdin)");

    zbPathFinder finder;
    if (options.GetSwitchStatus("i"))
        finder.SetNonCaseSensitive();
    QORListValQORString paths;
    if (QORListValQORString* values = options.GetSwitchAllValues("path"))
        for (const QORString& value : *values)
            zbSplitPathConcatenation(paths, value.CastToCharPtr(), zbPathConcatSeparator[0]);
    // A directory that is there but cannot be listed is reported by the
    // finder (status 1); a missing one holds no name.
    finder.SetListOfPath(paths);
    const int unlisted = finder.GetUnlistedCount();
    // A damaged map is reported and makes the status 1; the names go on
    // being looked up in the entries before the damage.
    int damaged = 0;
    if (QORString* map = options.GetSwitchValue("map"))
    {
        const char* mapName = map->CastToCharPtr();
        const int loaded = finder.SetHeaderMap(*map);
        if (loaded == 2)
        {
            const std::string line = std::to_string(finder.GetHeaderMap()->GetDamagedLine());
            damaged = zbReportMessage("zbHeaderList.Damaged",
                                      {QORUnicodeString(mapName), QORUnicodeString(line.c_str())});
        }
        else if (loaded != 0)
            return zbExtLastError.GetErrno() == EBADF
                       ? zbReportMessage("zbHeaderList.NotAList", {QORUnicodeString(mapName)})
                       : zbReportLastError(mapName);
    }

    Output output;
    status = names ? finder.FindAll(*names, output) : 0;
    if (namesFile)
        status |= FindNames(finder, output, namesFile->CastToCharPtr());
    if (fromStdin)
        status |= FindNames(finder, output, "-");
    return status || unlisted || damaged ? 1 : 0;
}
