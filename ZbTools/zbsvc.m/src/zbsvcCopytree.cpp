// zbsvc copytree [-links 0|1] [-trace] SRC DSTDIR: copies SRC with everything below
// it to DSTDIR/BASENAME-OF-SRC (DSTDIR is created when missing), keeping
// the modification and access times and the modes of files and the modes
// of directories.  -links 1 (the default) copies links as links with the
// same text; -links 0 copies what they point to in their place.  A failure
// is reported, naming the first file that could not be copied, and the rest
// is copied; -trace prints a line for each file concerned.

#include "zbFileElement.h"
#include "zbFileElementExtension.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// The first file that could not be copied, and why.
int ReportFailure(zbFileElement& iFrom, const char* iSource, const char* iTarget)
{
    return zbReportMessage("zbsvc.copytree.Failed", {iSource, iTarget, iFrom.GetLastErrorName(),
                                                     iFrom.GetLastErrorMessage()});
}
} // namespace

int zbsvcCopytree(int argc, char** argv)
{
    zbsvcOptions options("zbsvc copytree");
    zbsvcDeclareLinkSwitch(options, "0|1",
                           "1 copies links as links (default), 0 what they point to");
    options.DeclareSwitch("trace", "print the error and warning line of each file concerned");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    int linkMode = 1;
    if ((status = zbsvcGetLinkSwitch(options, 1, linkMode)) != 0)
        return status;
    int index = 1;
    const char* source = *options.GetLineValue(index);
    const char* target = *options.GetLineValue(index);

    // DSTDIR is made when missing: its absence is nothing to trace.
    zbFileElement into(target);
    zbFileElement::Trace = options.GetSwitchStatus("trace") ? 1 : 0;
    zbFileElement from(source);
    if (!from.IsExisting())
        return ReportFailure(from, source, target);
    int failed = 0;
    // A link to a directory given as SRC is walked through its target.
    if (zbFileElement* directory = zbFileElementExtension::GetDirectory(from))
        failed = zbsvcExpandTree(*directory, source);
    if (from.Duplicate(into, linkMode, RECURSIVE_FORCED_MODE) != 0)
        failed = ReportFailure(from, source, target);
    return failed;
}
