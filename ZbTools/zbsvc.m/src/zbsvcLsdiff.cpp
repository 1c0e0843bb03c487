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
// One listing loaded: its table and its elements in the order read (owned).
struct Listing
{
    explicit Listing(int iDimension)
        : _Table(iDimension, zbHTABLEOfzbLsoutElementHashKey, zbHTABLEOfzbLsoutElementCompare)
    {
    }
    // Every element of the table is on the list too: deleted in the order
    // they were made.
    ~Listing()
    {
        _Table.RemoveAll();
        for (zbLsoutElement* element : _List)
            delete element;
    }
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
    return zbReportMessage("zbsvc.lsdiff.Unreadable", {iPath, zbExtLastError.GetMsgError()});
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

// A path on one side only (the other null), or changed.
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

    // Both lists in path order, walked side by side: the findings come out
    // sorted.
    before._List.QuickSort(zbLsoutElement::QuickSort);
    after._List.QuickSort(zbLsoutElement::QuickSort);
    std::vector<Finding> findings;
    int added = 0, removed = 0, changed = 0, same = 0;
    const int oldCount = before._List.Size(), newCount = after._List.Size();
    for (int i = 1, j = 1; i <= oldCount || j <= newCount;)
    {
        const zbLsoutElement* old = i <= oldCount ? before._List[i] : nullptr;
        const zbLsoutElement* now = j <= newCount ? after._List[j] : nullptr;
        int order = !old ? 1 : !now ? -1 : zbLsoutElement::QuickSort(old, now);
        if (order < 0)
            ++removed, ++i, findings.push_back({old, nullptr});
        else if (order > 0)
            ++added, ++j, findings.push_back({nullptr, now});
        else
        {
            ++i, ++j;
            if (Differ(*old, *now, textMode))
                ++changed, findings.push_back({old, now});
            else
                ++same;
        }
    }
    if (quiet)
        return findings.empty() ? 0 : 1;

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
