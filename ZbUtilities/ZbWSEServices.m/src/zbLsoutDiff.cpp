// zbLsoutDiff: two listings compared path by path.

#include "zbLsoutDiff.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <vector>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbLineBlocks.h"
#include "zbReport.h"

namespace
{
using Line = zbLsoutElement::Line;

// The order of paths: by their bytes, a path before those it begins.
int ComparePaths(const char* iA, size_t iALength, const char* iB, size_t iBLength)
{
    if (int c = std::memcmp(iA, iB, std::min(iALength, iBLength)))
        return c;
    return iALength < iBLength ? -1 : (iALength > iBLength ? 1 : 0);
}

// The lines of a listing that hold more fields than a path: their count,
// and where the first of them begins in the file.
struct MoreFields
{
    size_t _Count = 0;
    long long _First = -1;
};

// A listing read a block at a time (zbLineBlocks).
class Reader
{
  public:
    Reader(int iTextMode) : _TextMode(iTextMode) {}
    // 0, or the errno.
    int Open(const char* iPath)
    {
        _Fd.Reset(zbOpenFd(iPath, O_RDONLY));
        struct stat64 status;
        if (!_Fd.IsOpen() || ::fstat64(_Fd.Get(), &status) != 0)
            return errno;
        if (S_ISDIR(status.st_mode))
            return EISDIR;
        ::posix_fadvise(_Fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        _FileSize = static_cast<size_t>(status.st_size);
        _Blocks.Start(_Fd.Get());
        _Next = _End = _RunStart = nullptr;
        _RunOffset = 0;
        _More = MoreFields();
        return 0;
    }
    // The next lines that give an element (at most kBatch, at least one
    // unless at the end), valid until the next call: their count; 0 at the
    // end; or the errno of a failed read (zbErrnoNulByte for a NUL byte),
    // negated.
    int NextBatch(std::vector<Line>& oLines)
    {
        oLines.clear();
        for (;;)
        {
            Line line;
            while (oLines.size() < kBatch && _Next < _End &&
                   zbLsoutElement::NextLine(_Next, _End, _TextMode, line))
            {
                oLines.push_back(line);
                if (line._MoreFields && !_More._Count++)
                    _More._First = _RunOffset + LineStart(line._Field);
            }
            if (!oLines.empty())
                return static_cast<int>(oLines.size());
            _RunOffset += _End - _RunStart; // the runs follow each other in the file
            if (int error = _Blocks.Next(_Next, _End))
                return -error;
            _RunStart = _Next;
            if (_Next == _End)
                return 0;
            if (std::memchr(_Next, 0, static_cast<size_t>(_End - _Next)))
                return -zbErrnoNulByte;
        }
    }
    size_t FileSize() const { return _FileSize; }
    const MoreFields& More() const { return _More; }

  private:
    // Where the line holding iText begins, from the start of the run.
    long long LineStart(const char* iText) const
    {
        const void* feed = ::memrchr(_RunStart, '\n', static_cast<size_t>(iText - _RunStart));
        return feed ? static_cast<const char*>(feed) + 1 - _RunStart : 0;
    }
    static constexpr size_t kBatch = 1024;
    const int _TextMode;
    zbScopedFd _Fd;
    size_t _FileSize = 0;
    zbLineBlocks _Blocks;
    char* _Next = nullptr;
    char* _End = nullptr;
    char* _RunStart = nullptr; // of the lines handed over by _Blocks
    long long _RunOffset = 0;  // in the file
    MoreFields _More;
};

// A large block of memory, in 2 MiB pages where the system gives them:
// its first touch then costs one fault per 2 MiB, not one per 4 KiB.
struct FreeBlock
{
    void operator()(void* iBlock) const { std::free(iBlock); }
};
using LargeBlock = std::unique_ptr<char, FreeBlock>;
LargeBlock NewLargeBlock(size_t iSize)
{
    const size_t page = 2u << 20;
    void* block = nullptr;
    if (iSize < page || ::posix_memalign(&block, page, iSize) != 0)
        block = std::malloc(iSize);
    else
        ::madvise(block, iSize, MADV_HUGEPAGE);
    return LargeBlock(static_cast<char*>(block));
}

// The allocator of the large vectors: their blocks from NewLargeBlock.
template <class T> struct LargeAllocator
{
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U>&) {}
    T* allocate(size_t iCount)
    {
        return reinterpret_cast<T*>(NewLargeBlock(iCount * sizeof(T)).release());
    }
    void deallocate(T* iBlock, size_t) { std::free(iBlock); }
    bool operator==(const LargeAllocator&) const { return true; }
    bool operator!=(const LargeAllocator&) const { return false; }
};
template <class T> using LargeVector = std::vector<T, LargeAllocator<T>>;

// Copies of texts that stay in place, each followed by a NUL.
class Arena
{
  public:
    const char* Copy(const char* iText, size_t iLength) { return Copy(iText, iLength, "", 0); }
    // Both texts, the second right after the first one's NUL.
    const char* Copy(const char* iFirst, size_t iFirstLength, const char* iSecond,
                     size_t iSecondLength)
    {
        const size_t length = iFirstLength + iSecondLength + 2;
        if (_Used + length > _Room)
        {
            _Room = std::max<size_t>(2u << 20, length);
            _Chunks.push_back(NewLargeBlock(_Room));
            _Used = 0;
        }
        char* at = _Chunks.back().get() + _Used;
        std::memcpy(at, iFirst, iFirstLength);
        at[iFirstLength] = 0;
        std::memcpy(at + iFirstLength + 1, iSecond, iSecondLength);
        at[iFirstLength + 1 + iSecondLength] = 0;
        _Used += length;
        return at;
    }

  private:
    std::vector<LargeBlock> _Chunks;
    size_t _Used = 0, _Room = 0;
};

// A difference: the path with the first field of each side that has it
// (null on the other), texts that stay in place.
struct Finding
{
    const char* _Path;
    const char* _Old;
    const char* _New;
    unsigned int _PathLength;
    unsigned int _OldLength;
    unsigned int _NewLength;
    uint64_t _Key = 0; // eight bytes of the path while sorting
};

// Sorts [iFirst, iLast) by path, their paths equal in their first iDepth
// bytes: by the next eight bytes as a number, then each run of equal
// numbers by the bytes after (paths hold no NUL: zeros past a path's end
// put it before those it begins).
void SortByPath(Finding* iFirst, Finding* iLast, size_t iDepth)
{
    const bool little = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
    if (iLast - iFirst < 16 || iDepth >= 256)
    {
        std::sort(iFirst, iLast,
                  [iDepth](const Finding& iA, const Finding& iB)
                  {
                      return ComparePaths(iA._Path + iDepth, iA._PathLength - iDepth,
                                          iB._Path + iDepth, iB._PathLength - iDepth) < 0;
                  });
        return;
    }
    for (Finding* finding = iFirst; finding < iLast; ++finding)
    {
        uint64_t key = 0;
        if (iDepth < finding->_PathLength)
            std::memcpy(&key, finding->_Path + iDepth,
                        std::min<size_t>(8, finding->_PathLength - iDepth));
        finding->_Key = little ? __builtin_bswap64(key) : key;
    }
    std::sort(iFirst, iLast,
              [](const Finding& iA, const Finding& iB) { return iA._Key < iB._Key; });
    for (Finding* run = iFirst; run < iLast;)
    {
        Finding* end = run + 1;
        while (end < iLast && end->_Key == run->_Key)
            ++end;
        if (end - run > 1)
            SortByPath(run, end, iDepth + 8);
        run = end;
    }
}

// The paths seen so far, by a hash of their bytes: open addressing, each
// slot the hash and the number of an entry (from 1).
class PathTable
{
  public:
    explicit PathTable(size_t iExpected) { Resize(1024 > 2 * iExpected ? 1024 : 2 * iExpected); }
    static unsigned int Hash(const char* iPath, size_t iLength)
    {
        uint64_t hash = iLength * 0x9E3779B97F4A7C15ull;
        size_t i = 0;
        for (; i + 8 <= iLength; i += 8)
        {
            uint64_t word;
            std::memcpy(&word, iPath + i, sizeof word);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        }
        uint64_t last = 0;
        std::memcpy(&last, iPath + i, iLength - i);
        hash = (hash ^ last) * 0xC4CEB9FE1A85EC53ull;
        return static_cast<unsigned int>(hash ^ (hash >> 29) ^ (hash >> 40));
    }
    void Prefetch(unsigned int iHash) const { __builtin_prefetch(Slots() + (iHash & (_Size - 1))); }
    // The entry of the first slot of iHash, or -1: what a search for it
    // will most likely compare.
    long long Peek(unsigned int iHash) const
    {
        for (size_t i = iHash & (_Size - 1);; i = (i + 1) & (_Size - 1))
            if (!Slots()[i])
                return -1;
            else if (static_cast<unsigned int>(Slots()[i] >> 32) == iHash)
                return static_cast<unsigned int>(Slots()[i]) - 1;
    }
    // The entry already known for the path of hash iHash, or iEntry
    // recorded for it and -1.  iPathOf(entry, length) gives an entry's path.
    template <class PathOf>
    long long FindOrAdd(const char* iPath, unsigned int iLength, unsigned int iHash,
                        unsigned int iEntry, PathOf iPathOf)
    {
        const unsigned int hash = iHash;
        const size_t mask = _Size - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask)
        {
            const uint64_t slot = Slots()[i];
            if (!slot)
            {
                Slots()[i] = (static_cast<uint64_t>(hash) << 32) | (iEntry + 1ull);
                if (2 * ++_Used > _Size)
                    Grow();
                return -1;
            }
            if (static_cast<unsigned int>(slot >> 32) != hash)
                continue;
            const unsigned int entry = static_cast<unsigned int>(slot) - 1;
            unsigned int length = 0;
            const char* path = iPathOf(entry, length);
            if (length == iLength && std::memcmp(path, iPath, iLength) == 0)
                return entry;
        }
    }

  private:
    uint64_t* Slots() const { return reinterpret_cast<uint64_t*>(_Slots.get()); }
    // Room for at least iSlots slots (a power of 2), the slots kept.
    void Resize(size_t iSlots)
    {
        size_t size = 1;
        while (size < iSlots)
            size *= 2;
        LargeBlock old = std::move(_Slots);
        const size_t oldSize = _Size;
        _Slots = NewLargeBlock(size * sizeof(uint64_t));
        _Size = size;
        std::memset(_Slots.get(), 0, size * sizeof(uint64_t));
        const uint64_t* slots = reinterpret_cast<const uint64_t*>(old.get());
        for (size_t k = 0; k < oldSize; ++k)
            if (const uint64_t slot = slots[k])
            {
                size_t i = (slot >> 32) & (size - 1);
                while (Slots()[i])
                    i = (i + 1) & (size - 1);
                Slots()[i] = slot;
            }
    }
    void Grow() { Resize(2 * _Size); }
    LargeBlock _Slots;
    size_t _Size = 0;
    size_t _Used = 0;
};

// One comparison: the findings and what they point to.
class Comparison
{
  public:
    Comparison(const char* iOld, const char* iNew, int iTextMode)
        : _OldName(iOld), _NewName(iNew), _TextMode(iTextMode)
    {
    }
    // 0 when both listings were sorted and are compared; 2 when one is not;
    // 1 after a report.
    int Merge();
    // 0, or 1 after a report.
    int ThroughTable();
    void HandOver(zbLsoutDiff::Sink& ioSink);
    // One warning for each listing holding lines of more fields than a path.
    void WarnMoreFields() const;
    zbLsoutDiff::Counts _Counts;

  private:
    int Failed(const char* iListing, int iError)
    {
        zbRecordErrno(iError);
        return zbReportMessage("zbLsoutDiff.Unreadable",
                               {QORUnicodeString(iListing), zbExtLastError.GetMsgError()});
    }
    // Whether the first fields differ: as texts in text mode, else as
    // numbers ("007@1" is "7@1").
    bool Differ(const Line& iOld, const Line& iNew) const;
    // The line of a path and a field kept (the field followed by a NUL).
    Line Rebuilt(const char* iPath, unsigned int iPathLength, const char* iField,
                 unsigned int iFieldLength) const;
    // A finding from lines about to go: its texts copied.
    void Add(const Line* iOld, const Line* iNew);

    // The old listing's paths, each once, with their first field.
    struct Entry
    {
        const char* _Path;
        unsigned int _PathLength;
        unsigned int _FieldLength; // the field follows the path and its NUL
    };
    // The path of an entry of the table: of the old listing, or of a path
    // added (numbered after them, by its place in the findings).
    auto PathOf() const
    {
        return [this](unsigned int iEntry, unsigned int& oLength)
        {
            if (iEntry < _Entries.size())
                return oLength = _Entries[iEntry]._PathLength, _Entries[iEntry]._Path;
            const Finding& added = _Findings[iEntry - _Entries.size()];
            return oLength = added._PathLength, added._Path;
        };
    }
    // Calls iVisit(line, hash) for every line of the listing ioReader reads.
    template <class Visit> int ForEachLine(Reader& ioReader, PathTable& ioTable, Visit iVisit);
    // A line of the new listing against the entry iKnown of the table (-1:
    // a path new here, numbered as the next finding).
    void Match(long long iKnown, const Line& iLine);

    const char* _OldName;
    const char* _NewName;
    const int _TextMode;
    MoreFields _OldMore, _NewMore;
    Arena _Texts;
    LargeVector<Finding> _Findings;
    LargeVector<Entry> _Entries;
    std::vector<bool> _Matched;
};

bool Comparison::Differ(const Line& iOld, const Line& iNew) const
{
    if (_TextMode)
        return iOld._FieldLength != iNew._FieldLength ||
               std::memcmp(iOld._Field, iNew._Field, iOld._FieldLength) != 0;
    return iOld._Size != iNew._Size || iOld._Time != iNew._Time;
}

Line Comparison::Rebuilt(const char* iPath, unsigned int iPathLength, const char* iField,
                         unsigned int iFieldLength) const
{
    Line line = {iField, iFieldLength, iPath, iPathLength, 0, 0, false};
    if (iField && !_TextMode)
        zbLsoutElement::ExtractSizeAndLastModificationTime(iField, line._Size, line._Time);
    return line;
}

void Comparison::Add(const Line* iOld, const Line* iNew)
{
    const Line& any = iNew ? *iNew : *iOld;
    Finding finding = {
        _Texts.Copy(any._Path, any._PathLength), nullptr, nullptr, any._PathLength, 0, 0};
    if (iOld)
        finding._Old = _Texts.Copy(iOld->_Field, iOld->_FieldLength),
        finding._OldLength = iOld->_FieldLength;
    if (iNew)
        finding._New = _Texts.Copy(iNew->_Field, iNew->_FieldLength),
        finding._NewLength = iNew->_FieldLength;
    _Findings.push_back(finding);
}

// One listing of the merge: the line it stands on and the path before.
struct Side
{
    explicit Side(int iTextMode) : _Reader(iTextMode) {}
    // The next line of another path: 1; 0 at the end; 2 when the listing is
    // not sorted; the errno negated.
    int Advance()
    {
        for (;;)
        {
            if (++_At >= _Lines.size())
            {
                const int result = _Reader.NextBatch(_Lines);
                _At = 0;
                _Have = result > 0;
                if (!_Have)
                    return result;
            }
            const Line& line = _Lines[_At];
            const int order = _Last.empty() ? 1
                                            : ComparePaths(line._Path, line._PathLength,
                                                           _Last.data(), _Last.size());
            if (order < 0)
                return 2;
            if (order == 0)
                continue; // the first line of a path counts
            _Last.assign(line._Path, line._PathLength);
            return 1;
        }
    }
    const Line& Current() const { return _Lines[_At]; }
    Reader _Reader;
    std::vector<Line> _Lines;
    size_t _At = 0;
    bool _Have = false;
    std::string _Last;
};

int Comparison::Merge()
{
    Side old(_TextMode), now(_TextMode);
    if (int error = old._Reader.Open(_OldName))
        return Failed(_OldName, error);
    if (int error = now._Reader.Open(_NewName))
        return Failed(_NewName, error);
    int oldResult = old.Advance(), newResult = now.Advance();
    for (;;)
    {
        if (oldResult == 2 || newResult == 2)
            return 2;
        if (oldResult < 0)
            return Failed(_OldName, -oldResult);
        if (newResult < 0)
            return Failed(_NewName, -newResult);
        if (!old._Have && !now._Have)
        {
            _OldMore = old._Reader.More(), _NewMore = now._Reader.More();
            return 0;
        }
        const Line* a = old._Have ? &old.Current() : nullptr;
        const Line* b = now._Have ? &now.Current() : nullptr;
        const int order = !a   ? 1
                          : !b ? -1
                               : ComparePaths(a->_Path, a->_PathLength, b->_Path, b->_PathLength);
        if (order < 0)
            ++_Counts._Removed, Add(a, nullptr);
        else if (order > 0)
            ++_Counts._Added, Add(nullptr, b);
        else if (Differ(*a, *b))
            ++_Counts._Changed, Add(a, b);
        else
            ++_Counts._Unchanged;
        if (order <= 0)
            oldResult = old.Advance();
        if (order >= 0)
            newResult = now.Advance();
    }
}

int Comparison::ThroughTable()
{
    _Counts = zbLsoutDiff::Counts();
    _Findings.clear();
    Reader reader(_TextMode);
    if (int error = reader.Open(_OldName))
        return Failed(_OldName, error);
    // Lines of some 40 bytes or more.
    PathTable table(reader.FileSize() / 64);
    _Entries.reserve(reader.FileSize() / 40);
    int result = ForEachLine(
        reader, table,
        [&](const Line& iLine, unsigned int iHash)
        {
            if (table.FindOrAdd(iLine._Path, iLine._PathLength, iHash,
                                static_cast<unsigned int>(_Entries.size()), PathOf()) < 0)
                _Entries.push_back(
                    {_Texts.Copy(iLine._Path, iLine._PathLength, iLine._Field, iLine._FieldLength),
                     iLine._PathLength, iLine._FieldLength});
        });
    if (result < 0)
        return Failed(_OldName, -result);
    _OldMore = reader.More();

    // The new listing's lines against them; a path new here is recorded too,
    // so that only its first line counts.
    if (int error = reader.Open(_NewName))
        return Failed(_NewName, error);
    _Matched.assign(_Entries.size(), false);
    _Findings.reserve(_Entries.size() / 4 + reader.FileSize() / 160);
    result = ForEachLine(
        reader, table,
        [&](const Line& iLine, unsigned int iHash)
        {
            const unsigned int next = static_cast<unsigned int>(_Entries.size() + _Findings.size());
            Match(table.FindOrAdd(iLine._Path, iLine._PathLength, iHash, next, PathOf()), iLine);
        });
    if (result < 0)
        return Failed(_NewName, -result);
    _NewMore = reader.More();
    for (size_t i = 0; i < _Entries.size(); ++i)
        if (!_Matched[i])
        {
            const Entry& old = _Entries[i];
            ++_Counts._Removed;
            _Findings.push_back({old._Path, old._Path + old._PathLength + 1, nullptr,
                                 old._PathLength, old._FieldLength, 0});
        }
    SortByPath(_Findings.data(), _Findings.data() + _Findings.size(), 0);
    return 0;
}

void Comparison::Match(long long iKnown, const Line& iLine)
{
    if (iKnown < 0)
    {
        ++_Counts._Added;
        Add(nullptr, &iLine);
        return;
    }
    if (static_cast<size_t>(iKnown) >= _Entries.size() || _Matched[iKnown])
        return; // not the first line of its path
    _Matched[iKnown] = true;
    const Entry& old = _Entries[iKnown];
    const char* field = old._Path + old._PathLength + 1;
    if ((old._FieldLength == iLine._FieldLength &&
         std::memcmp(field, iLine._Field, old._FieldLength) == 0) ||
        !Differ(Rebuilt(old._Path, old._PathLength, field, old._FieldLength), iLine))
    {
        ++_Counts._Unchanged;
        return;
    }
    ++_Counts._Changed;
    _Findings.push_back({old._Path, field, _Texts.Copy(iLine._Field, iLine._FieldLength),
                         old._PathLength, old._FieldLength, iLine._FieldLength});
}

template <class Visit>
int Comparison::ForEachLine(Reader& ioReader, PathTable& ioTable, Visit iVisit)
{
    // A block's lines are hashed first, then looked at in three rounds,
    // each loading what the next one reads: the table's slot, the entry it
    // names, that entry's path.
    std::vector<Line> lines;
    std::vector<unsigned int> hashes;
    int result;
    while ((result = ioReader.NextBatch(lines)) > 0)
    {
        hashes.resize(lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            ioTable.Prefetch(hashes[i] = PathTable::Hash(lines[i]._Path, lines[i]._PathLength));
        for (unsigned int hash : hashes)
        {
            const long long entry = ioTable.Peek(hash);
            if (entry >= 0 && static_cast<size_t>(entry) < _Entries.size())
                __builtin_prefetch(&_Entries[entry]);
        }
        for (unsigned int hash : hashes)
        {
            const long long entry = ioTable.Peek(hash);
            if (entry >= 0 && static_cast<size_t>(entry) < _Entries.size())
                __builtin_prefetch(_Entries[entry]._Path);
        }
        for (size_t i = 0; i < lines.size(); ++i)
            iVisit(lines[i], hashes[i]);
    }
    return result;
}

// The number and text of the line that begins at iOffset of iListing: 0,
// or the errno.
int LineAt(const char* iListing, long long iOffset, size_t& oNumber, std::string& oText)
{
    zbScopedFd fd(zbOpenFd(iListing, O_RDONLY));
    if (!fd.IsOpen())
        return errno;
    zbLineBlocks blocks;
    blocks.Start(fd.Get());
    oNumber = 1;
    for (long long at = 0;;)
    {
        char* begin = nullptr;
        char* end = nullptr;
        if (int error = blocks.Next(begin, end))
            return error;
        if (begin == end)
            return EIO; // the file changed since
        if (iOffset >= at + (end - begin))
        {
            oNumber += static_cast<size_t>(std::count(begin, end, '\n'));
            at += end - begin;
            continue;
        }
        const char* line = begin + (iOffset - at);
        oNumber += static_cast<size_t>(std::count(begin, begin + (iOffset - at), '\n'));
        const char* lineEnd = std::find(line, static_cast<const char*>(end), '\n');
        if (lineEnd > line && lineEnd[-1] == '\r')
            --lineEnd;
        oText.assign(line, lineEnd);
        return 0;
    }
}

void Comparison::WarnMoreFields() const
{
    const std::pair<const char*, const MoreFields*> sides[] = {{_OldName, &_OldMore},
                                                               {_NewName, &_NewMore}};
    for (const auto& side : sides)
    {
        size_t number = 0;
        std::string text;
        if (!side.second->_Count || LineAt(side.first, side.second->_First, number, text))
            continue;
        zbReportWarning("zbLsoutDiff.MoreFields",
                        {QORUnicodeString(side.first),
                         QORUnicodeString(std::to_string(side.second->_Count).c_str()),
                         QORUnicodeString(std::to_string(number).c_str()),
                         QORUnicodeString(text.c_str())});
    }
}

void Comparison::HandOver(zbLsoutDiff::Sink& ioSink)
{
    for (const Finding& finding : _Findings)
    {
        const Line old =
            Rebuilt(finding._Path, finding._PathLength, finding._Old, finding._OldLength);
        const Line now =
            Rebuilt(finding._Path, finding._PathLength, finding._New, finding._NewLength);
        ioSink.Finding(finding._Old ? &old : nullptr, finding._New ? &now : nullptr);
    }
}
} // namespace

int zbLsoutDiff::Compare(const char* iOld, const char* iNew, int iTextMode, Sink* ioSink,
                         Counts& oCounts)
{
    Comparison comparison(iOld, iNew, iTextMode);
    int result = comparison.Merge();
    if (result == 2)
        result = comparison.ThroughTable();
    if (result)
        return 1;
    oCounts = comparison._Counts;
    comparison.WarnMoreFields();
    if (ioSink)
        comparison.HandOver(*ioSink);
    return 0;
}
