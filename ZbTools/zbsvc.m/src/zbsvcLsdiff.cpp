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

#include "zbDescriptor.h"
#include "zbLsoutElement.h"
#include "zbOFStream.h"
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

int Load(Listing& oListing, const char* iPath, int iTextMode)
{
    if (int error = zbReadFile(iPath, oListing._Text))
        return zbReportMessage("zbsvc.lsdiff.Unreadable", {iPath, std::strerror(error)});
    // Lines of some 40 bytes.
    oListing._Lines.reserve(oListing._Text.size() / 32 + 16);
    char* next = &oListing._Text[0];
    const char* end = next + oListing._Text.size();
    Line line;
    while (zbLsoutElement::NextLine(next, end, iTextMode, line))
        oListing._Lines.push_back(line);
    return 0;
}

uint64_t HashOf(const char* iText, unsigned int iLength)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned int i = 0; i < iLength; ++i)
        hash = (hash ^ static_cast<unsigned char>(iText[i])) * 1099511628211ull;
    return hash ^ (hash >> 29);
}

bool SamePath(const Line& iA, const Line& iB)
{
    return iA._PathLength == iB._PathLength && std::memcmp(iA._Path, iB._Path, iA._PathLength) == 0;
}

// The order of strcmp on the paths (which hold no NUL).
bool PathBefore(const Line& iA, const Line& iB)
{
    int c = std::memcmp(iA._Path, iB._Path, std::min(iA._PathLength, iB._PathLength));
    return c < 0 || (c == 0 && iA._PathLength < iB._PathLength);
}

// A path with the first line that gave it on each side (null on a side
// that does not have it).
struct Entry
{
    uint64_t _Hash;
    const Line* _Old;
    const Line* _New;
    const Line& Any() const { return _New ? *_New : *_Old; }
};

// The paths of both listings, open addressing over the entries.
class PathIndex
{
  public:
    explicit PathIndex(size_t iPaths)
    {
        size_t size = 16;
        while (size < 2 * iPaths)
            size *= 2;
        _Slots.assign(size, 0);
        _Entries.reserve(iPaths);
    }
    Entry& operator[](const Line& iLine)
    {
        const uint64_t hash = HashOf(iLine._Path, iLine._PathLength);
        const size_t mask = _Slots.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask)
        {
            uint32_t& place = _Slots[slot];
            if (!place)
            {
                _Entries.push_back({hash, nullptr, nullptr});
                place = static_cast<uint32_t>(_Entries.size());
                return _Entries.back();
            }
            Entry& entry = _Entries[place - 1];
            if (entry._Hash == hash && SamePath(entry.Any(), iLine))
                return entry;
        }
    }
    std::vector<Entry>& Entries() { return _Entries; }

  private:
    std::vector<uint32_t> _Slots; // 0 free, else the entry's place + 1
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
        zbStdout.Write(iLine._Field, iLine._FieldLength);
    else
        zbStdout << iLine._Size << '@' << iLine._Time;
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
        zbStdout << (!finding->_Old ? "added   " : !finding->_New ? "removed " : "changed ");
        zbStdout.Write(prefix.data(), static_cast<unsigned int>(prefix.size()));
        zbStdout.Write(finding->Any()._Path, finding->Any()._PathLength);
        if (finding->_Old && finding->_New)
        {
            zbStdout << ' ';
            PrintField(*finding->_Old, textMode);
            zbStdout << ' ';
            PrintField(*finding->_New, textMode);
        }
        zbStdout << '\n';
    }
    zbStdout.Print("%d added, %d removed, %d changed, %d unchanged\n", added, removed, changed,
                   same);
    return zbStdout.Flush() ? 1 : 0;
}
