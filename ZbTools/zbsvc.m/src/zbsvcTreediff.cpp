// zbsvc treediff [-links 0|1|2] [-modes] [-keep] [-q] [-trace] A B: expands both trees
// and prints what differs, one line per finding, sorted by path: the change
// code, a blank, and the path relative to its root.  Codes: added (in A
// only), removed (in B only), type, size, newer (A's modification time is
// later), time, link (link texts differ), mode (with -modes).  -links 0
// compares what links point to, 1 (the default) compares link texts of
// links whose targets exist, 2 compares link texts of every link.  -trace
// prints the warning line of each link left out (dangling with -links 0 or
// 1, or pointing to "." or "..").
//
// Status: 0, or 1 after a reported failure.  With -q nothing is printed and
// the status tells the difference: 0 the same, 1 different, 2 a failure or
// a usage error.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "zbContext.h"
#include "zbFileElement.h"
#include "zbGetopts.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

namespace
{
const char* const kCodes[] = {"added", "removed", "type", "size", "newer", "time", "link", "mode"};

// A root given on the line that is not a directory.
void ReportNotADirectory(zbFileElement& iRoot, const char* iPath)
{
    zbsvcReportSystemError(iPath, iRoot.IsExisting() ? ENOTDIR : ENOENT);
}

// A root whose expansion failed.
void ReportUnreadable(zbFileElement& iRoot, const char* iPath)
{
    zbsvcReportError(zbExtContext.GetMsgMngr()->GetMsg(
        "zbsvc.tree.Unreadable", QORUnicodeString(iPath), iRoot.GetLastErrorMessage()));
}
} // namespace

int zbsvcTreediff(int argc, char** argv)
{
    zbsvcOptions options("zbsvc treediff");
    options.DeclareValue("links", "0|1|2",
                         "0 through links, 1 link texts (default), 2 also dangling");
    options.DeclareSwitch("modes", "also report mode changes");
    options.DeclareSwitch("keep", "keep unselected entries of B among the removed");
    options.DeclareSwitch("q", "print nothing; status 1 when the trees differ");
    options.DeclareSwitch("trace", "print the error and warning line of each file concerned");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    int linkMode = 1;
    if (QORString* text = options.GetSwitchValue("links"))
    {
        if (std::strlen(*text) != 1 || (*text)[0] < '0' || (*text)[0] > '2')
            return zbsvcUsageError(options,
                                   ("-links takes 0, 1 or 2, not '" + text->Std() + "'").c_str());
        linkMode = (*text)[0] - '0';
    }
    const bool quiet = options.GetSwitchStatus("q") != 0;
    int index = 1;
    const char* first = *options.GetLineValue(index);
    const char* second = *options.GetLineValue(index);

    zbFileElement::SymbolicLinkWithDirectory = 1;
    zbFileElement::Trace = options.GetSwitchStatus("trace") && !quiet ? 1 : 0;
    const int failed = quiet ? 2 : 1;
    zbFileElement a(first), b(second);
    if (!a.IsDirectory())
    {
        ReportNotADirectory(a, first);
        return failed;
    }
    // The two trees are independent and listing them is nearly all system
    // time: B is expanded by a second thread while this one does A (one
    // after the other with -trace, so that the lines come in order).
    int expandedB = 0;
    std::thread other;
    if (b.IsDirectory() && !zbFileElement::Trace)
        other = std::thread([&b, &expandedB] { expandedB = b.Expand(RECURSIVE_FORCED_MODE); });
    const int expandedA = a.Expand(RECURSIVE_FORCED_MODE);
    if (other.joinable())
        other.join();
    else if (b.IsDirectory() && expandedA == 0)
        expandedB = b.Expand(RECURSIVE_FORCED_MODE);
    if (expandedA != 0)
    {
        ReportUnreadable(a, first);
        return failed;
    }
    if (!b.IsDirectory())
    {
        ReportNotADirectory(b, second);
        return failed;
    }
    if (expandedB != 0)
    {
        ReportUnreadable(b, second);
        return failed;
    }

    QORListPtrzbFileElement lists[8];
    zbFileElement::CompareList(&a, &b, lists[0], lists[1], lists[2], lists[3], lists[4], lists[5],
                               lists[6], options.GetSwitchStatus("modes") ? &lists[7] : nullptr,
                               linkMode, options.GetSwitchStatus("keep") ? 1 : 0, 0);
    size_t total = 0;
    for (const QORListPtrzbFileElement& list : lists)
        total += static_cast<size_t>(list.Size());
    if (quiet)
        return total ? 1 : 0;

    // Relative to the root each node belongs to: B for the removals.
    const size_t lengthA = std::strlen(a.GetFullName()), lengthB = std::strlen(b.GetFullName());
    std::vector<std::pair<const char*, int>> findings;
    findings.reserve(total);
    for (int code = 0; code < 8; ++code)
        for (const zbFileElement* node : lists[code])
        {
            const char* path = node->GetFullName() + (code == 1 ? lengthB : lengthA);
            findings.emplace_back(*path == '/' ? path + 1 : path, code);
        }
    std::sort(findings.begin(), findings.end(),
              [](const std::pair<const char*, int>& x, const std::pair<const char*, int>& y)
              {
                  int c = std::strcmp(x.first, y.first);
                  return c < 0 || (c == 0 && x.second < y.second);
              });
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    for (const auto& [path, code] : findings)
    {
        fputs_unlocked(kCodes[code], stdout);
        putc_unlocked(' ', stdout);
        fputs_unlocked(path, stdout);
        putc_unlocked('\n', stdout);
    }
    return 0; // a failed write is reported at the end of the run
}
