// zbsvc treediff [-links 0|1|2] [-modes] [-keep] [-q] [-trace] A B: expands both trees
// and prints what differs, one line per finding, sorted by path: the change
// code, a blank, and the path relative to its root.  Codes: added (in A
// only), removed (in B only), type, size, newer (A's modification time is
// later), time, link (link texts differ), mode (with -modes).  -links 0
// compares what links point to, 1 (the default) compares link texts of
// links whose targets exist, 2 compares link texts of every link (links
// are walked through only with -links 0).  -trace prints the warning line
// of each link left out (dangling with -links 0 or 1).
//
// Status: 0, or 1 after a reported failure.  With -q nothing is printed and
// the status tells the difference: 0 the same, 1 different, 2 a failure or
// a usage error.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "zbFileElement.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
using Differences = zbFileElement::Differences;

// The findings in the order of their codes: each code's list, and whether
// its nodes belong to B.
const struct
{
    const char* _Code;
    QORListPtrzbFileElement Differences::*_List;
    bool _InB;
} kFindings[] = {
    /* 1 */ {"added", &Differences::_Added, false},
    /* 2 */ {"removed", &Differences::_Removed, true},
    /* 3 */ {"type", &Differences::_TypeChanged, false},
    /* 4 */ {"size", &Differences::_SizeChanged, false},
    /* 5 */ {"newer", &Differences::_Newer, false},
    /* 6 */ {"time", &Differences::_TimeChanged, false},
    /* 7 */ {"link", &Differences::_LinkChanged, false},
    /* 8 */ {"mode", &Differences::_ModeChanged, false},
};

// A root given on the line that is not a directory.
void ReportNotADirectory(zbFileElement& iRoot, const char* iPath)
{
    zbReportSystemError(iPath, iRoot.IsExisting() ? ENOTDIR : ENOENT);
}
} // namespace

int zbsvcTreediff(int argc, char** argv)
{
    zbsvcOptions options("zbsvc treediff");
    zbsvcDeclareLinkSwitch(options, "0|1|2",
                           "0 through links, 1 link texts (default), 2 also dangling");
    options.DeclareSwitch("modes", "also report mode changes");
    options.DeclareSwitch("keep", "keep unselected entries of B among the removed");
    options.DeclareSwitch("q", "print nothing; status 1 when the trees differ");
    options.DeclareSwitch("trace", "print the error and warning line of each file concerned");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    int linkMode = 1;
    if ((status = zbsvcGetLinkSwitch(options, 2, linkMode)) != 0)
        return status;
    const bool quiet = options.GetSwitchStatus("q") != 0;
    int index = 1;
    const char* first = *options.GetLineValue(index);
    const char* second = *options.GetLineValue(index);

    zbFileElement::Trace = options.GetSwitchStatus("trace") && !quiet ? 1 : 0;
    const int failed = quiet ? 2 : 1;
    zbFileElement a(first), b(second);
    if (!a.IsDirectory())
    {
        ReportNotADirectory(a, first);
        return failed;
    }
    if (zbsvcExpandTree(a, first) != 0)
        return failed;
    if (!b.IsDirectory())
    {
        ReportNotADirectory(b, second);
        return failed;
    }
    if (zbsvcExpandTree(b, second) != 0)
        return failed;

    zbFileElement::CompareOptions compare;
    compare._LinkMode = linkMode;
    compare._KeepUnselected = options.GetSwitchStatus("keep") ? 1 : 0;
    compare._Modes = options.GetSwitchStatus("modes") ? 1 : 0;
    const Differences found = zbFileElement::Compare(&a, &b, compare);
    if (quiet)
        return found.Size() ? 1 : 0;

    // Relative to the root each node belongs to: B for the removals.
    const size_t lengthA = std::strlen(a.GetFullName()), lengthB = std::strlen(b.GetFullName());
    std::vector<std::pair<const char*, const char*>> findings; // path, code
    findings.reserve(static_cast<size_t>(found.Size()));
    for (const auto& finding : kFindings)
        for (const zbFileElement* node : found.*finding._List)
        {
            const char* path = node->GetFullName() + (finding._InB ? lengthB : lengthA);
            findings.emplace_back(*path == '/' ? path + 1 : path, finding._Code);
        }
    // By path, then in the order of the codes (stable).
    std::stable_sort(findings.begin(), findings.end(),
                     [](const std::pair<const char*, const char*>& x,
                        const std::pair<const char*, const char*>& y)
                     { return std::strcmp(x.first, y.first) < 0; });
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    for (const auto& [path, code] : findings)
    {
        fputs_unlocked(code, stdout);
        putc_unlocked(' ', stdout);
        fputs_unlocked(path, stdout);
        putc_unlocked('\n', stdout);
    }
    return 0; // a failed write is reported at the end of the run
}
