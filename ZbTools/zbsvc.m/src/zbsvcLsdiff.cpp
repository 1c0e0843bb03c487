// zbsvc lsdiff [-text] [-prefix P] [-q] OLD NEW: the files added, removed
// and changed between two listings, sorted by path, then a summary line.
// A file changed when its size or time differs (with -text: its first
// field).  With -q nothing is printed and the status is 1 when the listings
// differ.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "zbErrorCodeManager.h"
#include "zbHashDico.h"
#include "zbLsoutElement.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
// One listing loaded: its table (owning the elements) and its lines in order.
struct Listing
{
    explicit Listing(int iDimension)
        : _Table(iDimension, zbHTABLEOfzbLsoutElementHashKey, zbHTABLEOfzbLsoutElementCompare)
    {
    }
    ~Listing() { _Table.ApplyDelete(); }
    QORHashTabzbLsoutElement _Table;
    QORListPtrzbLsoutElement _List;
};

// Buckets for a listing: about one per line expected (lines of some 40 bytes).
int Dimension(const char* iPath)
{
    struct stat st;
    long long lines = ::stat(iPath, &st) == 0 ? st.st_size / 40 : 0;
    return zbHashCodeCollec::UpToNiceModulo(
        static_cast<int>(std::min(std::max(lines, 1024LL), 16LL * 1024 * 1024)));
}

int Load(Listing& ioListing, const char* iPath, const zbNewString* iPrefix, int iTextMode)
{
    if (zbLsoutElement::Load(iPath, ioListing._Table, iPrefix, &ioListing._List, iTextMode) >= 0)
        return 0;
    return zbReportMessage("zbsvc.lsdiff.Unreadable",
                           {iPath, std::strerror(zbExtLastError.GetErrno())});
}

bool Differ(const zbLsoutElement& iOld, const zbLsoutElement& iNew, int iTextMode)
{
    if (iTextMode)
        return std::strcmp(iOld.GetExtra(), iNew.GetExtra()) != 0;
    return iOld.GetSize() != iNew.GetSize() ||
           iOld.GetLastModificationTime() != iNew.GetLastModificationTime();
}

// The first field of an element as its listing gave it.
std::string Field(const zbLsoutElement& iElement, int iTextMode)
{
    if (iTextMode)
        return iElement.GetExtra();
    return std::to_string(iElement.GetSize()) + "@" +
           std::to_string(iElement.GetLastModificationTime());
}

struct Finding
{
    const zbLsoutElement* _Old;
    const zbLsoutElement* _New;
    const char* Path() const { return (_New ? _New : _Old)->GetFileName(); }
};
} // namespace

int zbsvcLsdiff(int argc, char** argv)
{
    zbsvcOptions options("zbsvc lsdiff");
    options.DeclareSwitch("text", "the first field is any text, compared as it stands");
    options.DeclareValue("prefix", "P", "put P/ before every path of both listings");
    options.DeclareSwitch("q", "print nothing; status 1 when the listings differ");
    int status = zbsvcAnalyze(options, argc, argv, 2, 2);
    if (status >= 0)
        return status;
    const int textMode = options.GetSwitchStatus("text") ? 1 : 0;
    const bool quiet = options.GetSwitchStatus("q") != 0;
    QORString* prefixValue = options.GetSwitchValue("prefix");
    zbNewString prefix(prefixValue ? prefixValue->CastToCharPtr() : "");
    int index = 1;
    const char* oldPath = *options.GetLineValue(index);
    index = 2;
    const char* newPath = *options.GetLineValue(index);

    Listing before(Dimension(oldPath)), after(Dimension(newPath));
    if (Load(before, oldPath, prefixValue ? &prefix : nullptr, textMode) != 0 ||
        Load(after, newPath, prefixValue ? &prefix : nullptr, textMode) != 0)
        return 1;

    std::vector<Finding> findings;
    int added = 0, removed = 0, changed = 0, same = 0;
    for (zbLsoutElement* element : after._List)
    {
        const zbLsoutElement* old = before._Table.Locate(element);
        if (!old)
            ++added, findings.push_back({nullptr, element});
        else if (Differ(*old, *element, textMode))
            ++changed, findings.push_back({old, element});
        else
            ++same;
    }
    for (zbLsoutElement* element : before._List)
        if (!after._Table.Locate(element))
            ++removed, findings.push_back({element, nullptr});
    if (quiet)
        return findings.empty() ? 0 : 1;

    std::sort(findings.begin(), findings.end(),
              [](const Finding& iA, const Finding& iB)
              { return std::strcmp(iA.Path(), iB.Path()) < 0; });
    for (const Finding& finding : findings)
    {
        if (!finding._Old)
            zbStdout << "added   " << finding.Path() << '\n';
        else if (!finding._New)
            zbStdout << "removed " << finding.Path() << '\n';
        else
            zbStdout << "changed " << finding.Path() << ' '
                     << Field(*finding._Old, textMode).c_str() << ' '
                     << Field(*finding._New, textMode).c_str() << '\n';
    }
    zbStdout.Print("%d added, %d removed, %d changed, %d unchanged\n", added, removed, changed,
                   same);
    return zbStdout.Flush() ? 1 : 0;
}
