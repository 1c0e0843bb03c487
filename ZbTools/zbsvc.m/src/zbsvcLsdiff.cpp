// zbsvc lsdiff [-text] [-prefix P] [-q] OLD NEW: the files added, removed
// and changed between two listings, sorted by path, then a summary line.
// A file changed when its size or time differs (with -text: its first
// field).  With -q nothing is printed and the status is 1 when the listings
// differ.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "QORHashDicoS.h"
#include "zbErrorCodeManager.h"
#include "zbHashDico.h"
#include "zbLsoutElement.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

namespace
{
using Line = zbLsoutElement::Line;

// One listing read whole: its text and the lines that give elements, in
// the order read (views into the text).
struct Listing
{
    std::string _Text;
    std::vector<Line> _Lines;
};

// Lines with more than two fields (a path holding a blank is cut there):
// one warning with their count and the first of them, its number and text.
void WarnMoreFields(const std::string& iText, const char* iPath, size_t iCount, const Line& iFirst)
{
    const size_t at = static_cast<size_t>(iFirst._Field - iText.data());
    const size_t start = iText.rfind('\n', at) + 1; // npos + 1 is 0
    size_t end = iText.find('\n', at);
    end = end == std::string::npos ? iText.size() : end;
    if (end > start && iText[end - 1] == '\r')
        --end;
    const auto number = 1 + std::count(iText.begin(), iText.begin() + start, '\n');
    zbReportWarning("zbsvc.lsdiff.MoreFields",
                    {iPath, std::to_string(iCount).c_str(), std::to_string(number).c_str(),
                     iText.substr(start, end - start).c_str()});
}

int Load(Listing& oListing, const char* iPath, int iTextMode)
{
    if (zbLsoutElement::ReadText(iPath, oListing._Text))
        return zbReportMessage("zbsvc.lsdiff.Unreadable", {iPath, zbExtLastError.GetMsgError()});
    // Lines of some 40 bytes.
    oListing._Lines.reserve(oListing._Text.size() / 32 + 16);
    char* next = &oListing._Text[0];
    const char* end = next + oListing._Text.size();
    Line line;
    size_t moreFields = 0;
    while (zbLsoutElement::NextLine(next, end, iTextMode, line))
    {
        oListing._Lines.push_back(line);
        moreFields += line._MoreFields;
    }
    if (moreFields)
        for (const Line& first : oListing._Lines)
            if (first._MoreFields)
            {
                WarnMoreFields(oListing._Text, iPath, moreFields, first);
                break;
            }
    return 0;
}

bool PathBefore(const Line& iA, const Line& iB)
{
    int c = std::memcmp(iA._Path, iB._Path, std::min(iA._PathLength, iB._PathLength));
    return c < 0 || (c == 0 && iA._PathLength < iB._PathLength);
}

// A path with the first line that gave it on each side (null on a side
// that does not have it).
struct Entry
{
    const Line* _Old;
    const Line* _New;
    const Line& Any() const { return _New ? *_New : *_Old; }
};

// The paths of both listings, each once: a dictionary of the paths' bytes
// to their place in the entries.
class PathIndex
{
  public:
    explicit PathIndex(size_t iPaths)
        : _Places(zbHashCodeCollec::UpToNiceModulo(static_cast<int>(std::max<size_t>(iPaths, 64))))
    {
        _Entries.reserve(iPaths);
    }
    Entry& operator[](const Line& iLine)
    {
        const unsigned int hash = QORHashBytes(iLine._Path, iLine._PathLength);
        if (void* place = _Places.LocateBytes(iLine._Path, iLine._PathLength, hash))
            return _Entries[reinterpret_cast<uintptr_t>(place) - 1];
        _Entries.push_back({nullptr, nullptr});
        _Places.InsertBytes(iLine._Path, iLine._PathLength, hash,
                            reinterpret_cast<void*>(static_cast<uintptr_t>(_Entries.size())));
        return _Entries.back();
    }
    std::vector<Entry>& Entries() { return _Entries; }

  private:
    QORHashDicoS _Places;
    std::vector<Entry> _Entries;
};

bool Differ(const Line& iOld, const Line& iNew, int iTextMode)
{
    if (iTextMode)
        return iOld._FieldLength != iNew._FieldLength ||
               std::memcmp(iOld._Field, iNew._Field, iOld._FieldLength) != 0;
    return iOld._Size != iNew._Size || iOld._Time != iNew._Time;
}

// The first field of a line as its listing gave it.
void PrintField(const Line& iLine, int iTextMode)
{
    if (iTextMode)
        zbsvcWrite(iLine._Field, iLine._FieldLength);
    else
        zbsvcPrint("%lld@%ld", iLine._Size, iLine._Time);
}
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
    const std::string prefix = prefixValue ? prefixValue->Std() + "/" : std::string();
    int index = 1;
    const char* oldPath = *options.GetLineValue(index);
    index = 2;
    const char* newPath = *options.GetLineValue(index);

    Listing before, after;
    if (Load(before, oldPath, textMode) != 0 || Load(after, newPath, textMode) != 0)
        return 1;

    // Every path once, with the first line for it on each side.  The prefix
    // is the same for every path: it changes neither identity nor order.
    PathIndex paths(before._Lines.size() + after._Lines.size());
    for (const Line& line : before._Lines)
    {
        Entry& entry = paths[line];
        if (!entry._Old)
            entry._Old = &line;
    }
    for (const Line& line : after._Lines)
    {
        Entry& entry = paths[line];
        if (!entry._New)
            entry._New = &line;
    }
    std::vector<const Entry*> findings;
    int added = 0, removed = 0, changed = 0, same = 0;
    for (const Entry& entry : paths.Entries())
    {
        if (!entry._Old)
            ++added;
        else if (!entry._New)
            ++removed;
        else if (Differ(*entry._Old, *entry._New, textMode))
            ++changed;
        else
        {
            ++same;
            continue;
        }
        findings.push_back(&entry);
    }
    if (quiet)
        return findings.empty() ? 0 : 1;

    std::sort(findings.begin(), findings.end(),
              [](const Entry* iA, const Entry* iB) { return PathBefore(iA->Any(), iB->Any()); });
    for (const Entry* finding : findings)
    {
        zbsvcPuts(!finding->_Old ? "added   " : !finding->_New ? "removed " : "changed ");
        zbsvcWrite(prefix.data(), prefix.size());
        zbsvcWrite(finding->Any()._Path, finding->Any()._PathLength);
        if (finding->_Old && finding->_New)
        {
            zbsvcPutc(' ');
            PrintField(*finding->_Old, textMode);
            zbsvcPutc(' ');
            PrintField(*finding->_New, textMode);
        }
        zbsvcPutc('\n');
    }
    zbsvcPrint("%d added, %d removed, %d changed, %d unchanged\n", added, removed, changed, same);
    return 0;
}
