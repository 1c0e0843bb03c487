// zbPathFinder::FindAll: many names looked up in a row.  Random names make
// every lookup wait on memory, so each name's place in the dictionary is
// loaded a few names before it is looked up; the paths found go out in
// large blocks.

#include "zbPathFinder.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbLineBlocks.h"
#include "zbPathFinderAccess.h"
#include "zbPathSeparators.h"
#include "zbReport.h"

// Hidden: its calls stay inside the library, direct and open to inlining.
class __attribute__((visibility("hidden"))) zbPathFinder::Batch
{
  public:
    Batch(zbPathFinder& iFinder, zbPathFinderSink& ioSink)
        : _Finder(iFinder), _Found(iFinder._Found), _Sink(ioSink),
          _NoCase(iFinder._NonCaseSensitive != 0)
    {
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Queues a name; its answer comes a few names later, in order, or at
    // Drain.  The text must stay in place until then.  iPlain: the name
    // holds no '\\' (when unsure, false).
    __attribute__((always_inline)) void Push(const char* iName, size_t iLength, bool iPlain);
    // Answers every name queued.
    void Drain()
    {
        while (_Queued)
            FindNext();
    }
    // Hands the paths gathered so far to the sink.
    void Flush()
    {
        if (_Used)
            _Sink.Write(_Out._Data.get(), _Used);
        _Used = 0;
    }
    // Queues the names of a file, one per line (see FindAll).
    int ReadNames(int iFd, const char* iSource);
    // What comes before each report: the answers of the names before it.
    void BeforeReport()
    {
        Drain();
        Flush();
        _Sink.BeforeReport();
    }
    int _Failed = 0;

  private:
    static constexpr size_t kBlock = 1 << 18;
    static constexpr size_t kAhead = 32;
    struct Queued
    {
        const char* _Name;
        size_t _Length;
        unsigned int _Hash;
        bool _Plain;
    };
    void FindNext()
    {
        const Queued next = _Queue[_Next];
        _Next = (_Next + 1) % kAhead;
        --_Queued;
        Find(next._Name, next._Length, next._Hash, next._Plain);
    }
    void Find(const char* iName, size_t iLength, unsigned int iHash, bool iPlain);
    // The other cases: a name found without regard to case or to be
    // composed the general way (iDir: its directory), or not found.
    __attribute__((noinline)) void FindOtherwise(const char* iName, size_t iLength,
                                                 const zbFileName* iDir);
    int Take(const char* iSource, const char* iLine, const char* iLineEnd, size_t iNumber,
             bool iPlain, bool iNul);
    // The dictionary key of a name: the name itself, or without regard to
    // case its lower-case copy (valid until the next call).
    const char* Key(const char* iName, size_t iLength)
    {
        if (!_NoCase)
            return iName;
        _Lower.assign(iName, iLength);
        for (char& c : _Lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return _Lower.data();
    }
    // A found path and its line feed into the output block.
    void Put(const char* iPath)
    {
        const size_t length = std::strlen(iPath);
        char* out = Room(length + 1);
        std::memcpy(out, iPath, length);
        out[length] = '\n';
    }
    // Room for iLength more bytes in the output block.
    char* Room(size_t iLength)
    {
        if (_Used + iLength > _Out._Size)
        {
            Flush();
            if (iLength > _Out._Size)
                _Out.Grow(iLength);
        }
        char* at = _Out._Data.get() + _Used;
        _Used += iLength;
        return at;
    }

    zbPathFinder& _Finder;
    const QORHashDicSzbFileName& _Found;
    zbPathFinderSink& _Sink;
    const bool _NoCase;
    // Names with a directory part that are no entry: tried on disk.
    std::unique_ptr<zbPathFinderAccess> _Probe;
    QORString _Name;
    zbFileName _File;
    std::string _Lower;
    // The output block, left as the system gives it (not zeroed): its pages
    // are touched only as it fills.
    struct Block
    {
        std::unique_ptr<char[]> _Data{new char[kBlock]};
        size_t _Size = kBlock;
        // Room for iSize bytes (the content goes).
        void Grow(size_t iSize)
        {
            _Data.reset(new char[iSize]);
            _Size = iSize;
        }
    };
    Block _Out;
    size_t _Used = 0;
    Queued _Queue[kAhead];
    size_t _Next = 0;
    size_t _Queued = 0;
};

inline void zbPathFinder::Batch::Push(const char* iName, size_t iLength, bool iPlain)
{
    // The dictionary's index slot of a name is fetched kAhead names before
    // its lookup, and the element the slot names kAhead / 2 names before.
    const unsigned int hash = QORHashBytes(Key(iName, iLength), iLength);
    _Found.PrefetchSlot(hash);
    if (_Queued >= kAhead / 2)
        _Found.PrefetchElem(_Queue[(_Next + _Queued - kAhead / 2) % kAhead]._Hash);
    if (_Queued == kAhead)
        FindNext();
    _Queue[(_Next + _Queued++) % kAhead] = {iName, iLength, hash, iPlain};
}

void zbPathFinder::Batch::Find(const char* iName, size_t iLength, unsigned int iHash, bool iPlain)
{
    // The usual name, found minding case: its directory's text, a
    // separator and the name go straight into the output block.  A name
    // ending with a separator or holding the other one takes the general
    // way.
    const zbFileName* dir =
        static_cast<const zbFileName*>(_Found.LocateBytes(Key(iName, iLength), iLength, iHash));
    if (dir && !_NoCase && dir->GetPtrToFullname() && iLength &&
        iName[iLength - 1] != zbUnixPathSeparator[0] &&
        (iPlain || !std::memchr(iName, zbDosPathSeparator[0], iLength)))
    {
        const size_t dirLength = dir->GetFullnameLength();
        char* out = Room(dirLength + iLength + 2);
        std::memcpy(out, dir->GetPtrToFullname(), dirLength);
        out[dirLength] = zbPathSeparator[0];
        std::memcpy(out + dirLength + 1, iName, iLength);
        out[dirLength + 1 + iLength] = '\n';
        return;
    }
    FindOtherwise(iName, iLength, dir);
}

void zbPathFinder::Batch::FindOtherwise(const char* iName, size_t iLength, const zbFileName* iDir)
{
    if (iDir)
    {
        // Without regard to case the entry's own spelling stands in the
        // path: it has the name's length and differs only in case.
        const char* spelling = _NoCase ? _Finder.SpellingOf(Key(iName, iLength), iLength) : iName;
        Put(_File.AssignJoined(*iDir, spelling, static_cast<uint32_t>(iLength)).GetPtrToFullname());
        return;
    }
    // The directories are known by their entries' bare names: a name with
    // a directory part is probed in each directory, in order.
    _Name.Reset();
    _Name.Append(iName, iLength);
    if (std::memchr(iName, zbUnixPathSeparator[0], iLength) && _Finder._ListOfPath.Size() > 0)
    {
        if (!_Probe)
        {
            QORListValQORString paths;
            _Probe.reset(new zbPathFinderAccess);
            _Probe->SetListOfPath(_Finder.GetListOfPath(paths));
        }
        if (_Probe->SearchFor(_Name, _File))
        {
            Put(_File.GetPtrToFullname());
            return;
        }
    }
    Flush();
    _Sink.BeforeReport();
    zbReportMessage("zbPathFinder.NotFound", {QORUnicodeString(_Name.CastToCharPtr())});
    _Failed = 1;
}

// A file holding a NUL byte is no list of names: refused whole before any
// name of it is looked up, as every text reader refuses one.  A file that
// can be read again is looked over first; one that cannot (a pipe) is
// checked line by line instead.  0, or the errno.
static int HoldsNoNul(int iFd)
{
    const off_t start = ::lseek(iFd, 0, SEEK_CUR);
    if (start < 0)
        return 0;
    char block[1 << 16];
    for (size_t count = 1; count;)
    {
        if (int error = zbReadAll(iFd, block, sizeof block, count))
            return error;
        if (std::memchr(block, 0, count))
            return zbErrnoNulByte;
    }
    return ::lseek(iFd, start, SEEK_SET) < 0 ? errno : 0;
}

int zbPathFinder::Batch::ReadNames(int iFd, const char* iSource)
{
    if (int error = HoldsNoNul(iFd))
    {
        BeforeReport();
        return zbReportSystemError(iSource, error);
    }
    zbLineBlocks blocks;
    blocks.Start(iFd);
    size_t number = 0;
    int bad = 0;
    for (;;)
    {
        char* begin = nullptr;
        char* end = nullptr;
        if (int error = blocks.Next(begin, end))
        {
            BeforeReport();
            return zbReportSystemError(iSource, error);
        }
        if (begin == end)
            return bad;
        // One look over the lines spares one per name.
        const size_t size = static_cast<size_t>(end - begin);
        const bool plain = !std::memchr(begin, zbDosPathSeparator[0], size);
        const bool nul = std::memchr(begin, 0, size);
        for (const char* line = begin; line < end;)
        {
            const char* feed =
                static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
            const char* lineEnd = feed ? feed : end;
            bad |= Take(iSource, line, lineEnd, ++number, plain, nul);
            line = lineEnd + 1;
        }
        Drain(); // the lines are about to be read over
    }
}

// One line of a names file: a line holding a NUL byte or longer than a path
// can be is no name, reported with its number and left out.
int zbPathFinder::Batch::Take(const char* iSource, const char* iLine, const char* iLineEnd,
                              size_t iNumber, bool iPlain, bool iNul)
{
    const size_t length = static_cast<size_t>(iLineEnd - iLine);
    if (length > PATH_MAX || (iNul && std::memchr(iLine, 0, length)))
    {
        BeforeReport();
        return zbReportMessage(
            "zbPathFinder.BadNameLine",
            {QORUnicodeString(iSource), QORUnicodeString(std::to_string(iNumber).c_str())});
    }
    if (length)
        Push(iLine, length, iPlain);
    return 0;
}

int zbPathFinder::FindAll(const QORListValQORString& iNames, zbPathFinderSink& ioSink)
{
    Batch batch(*this, ioSink);
    for (const QORString& name : iNames)
        batch.Push(name.CastToCharPtr(), static_cast<size_t>(name.Length()), false);
    batch.Drain();
    batch.Flush();
    return batch._Failed;
}

int zbPathFinder::FindAll(int iFd, const char* iSource, zbPathFinderSink& ioSink)
{
    Batch batch(*this, ioSink);
    const int result = batch.ReadNames(iFd, iSource);
    batch.Drain();
    batch.Flush();
    return result | batch._Failed;
}
