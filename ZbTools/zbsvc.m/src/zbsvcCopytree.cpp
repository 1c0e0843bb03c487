// zbsvc copytree [-links 0|1] [-trace] SRC DSTDIR: copies SRC with everything below
// it to DSTDIR/BASENAME-OF-SRC (DSTDIR is created when missing), keeping
// the modification and access times and the modes of files and the modes
// of directories.  -links 1 (the default) copies links as links with the
// same text; -links 0 copies what they point to in their place.  A failure
// is reported, naming the first file that could not be copied, and the rest
// is copied; -trace prints a line for each file concerned.

#include <cstring>
#include <string>

#include "zbContext.h"
#include "zbFileElement.h"
#include "zbFileElementExtension.h"
#include "zbGetopts.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
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
    options.DeclareValue("links", "0|1", "1 copies links as links (default), 0 what they point to");
    options.DeclareSwitch("trace", "print the error and warning line of each file concerned");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    int linkMode = 1;
    if (QORString* text = options.GetSwitchValue("links"))
    {
        if (std::strcmp(*text, "0") != 0 && std::strcmp(*text, "1") != 0)
            return zbsvcUsageError(options,
                                   ("-links takes 0 or 1, not '" + text->Std() + "'").c_str());
        linkMode = (*text)[0] - '0';
    }
    int index = 1;
    const char* source = *options.GetLineValue(index);
    const char* target = *options.GetLineValue(index);

    // Links kept as links need no walking through them.
    zbFileElement::SymbolicLinkWithDirectory =
        linkMode == 0 ? zbFileElement::LinkToDirectoryFollowed : zbFileElement::LinkToDirectoryKept;
    // DSTDIR is made when missing: its absence is nothing to trace.
    zbFileElement into(target);
    zbFileElement::Trace = options.GetSwitchStatus("trace") ? 1 : 0;
    zbFileElement from(source);
    if (!from.IsExisting())
        return ReportFailure(from, source, target);
    int failed = 0;
    // A link to a directory given as SRC is walked through its target.
    if (zbFileElement* directory = zbFileElementExtension::GetDirectory(from))
        if (directory->Expand(RECURSIVE_FORCED_MODE) != 0)
            failed = zbsvcReportError(
                zbExtContext.GetMsgMngr()->GetMsg("zbsvc.tree.Unreadable", QORUnicodeString(source),
                                                  directory->GetLastErrorMessage()));
    if (from.Duplicate(into, linkMode, RECURSIVE_FORCED_MODE) != 0)
        failed = ReportFailure(from, source, target);
    return failed;
}
