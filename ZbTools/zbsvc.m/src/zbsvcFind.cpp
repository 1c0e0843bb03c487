// zbsvc find [-i] [-map MAPFILE] [-path DIR:DIR ...] [-names FILE] [-stdin] NAME ...:
// the full path of each name through a path finder, one per line.  The
// directories of -path are scanned first (in order), then the header map is
// merged in (a name already known keeps its directory).  -names FILE reads
// further names from FILE ("-": standard input), one per line, after those
// of the command line; -stdin then reads more from standard input.  A name not found is reported
// and makes the status 1.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbDirectory.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbHeaderMap.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbPathFinderAccess.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

namespace
{
class Finder
{
  public:
    Finder(zbPathFinder& iFinder, const QORListValQORString& iPaths, bool iNoCase)
        : _Finder(iFinder), _NoCase(iNoCase)
    {
        _Probe.SetListOfPath(iPaths);
        // The reports of names not found go between the paths only where
        // both streams end up in one file; elsewhere the paths are not
        // written out before each report.
        struct stat out, err;
        _SharedOutput = ::fstat(1, &out) != 0 || ::fstat(2, &err) != 0 ||
                        (out.st_dev == err.st_dev && out.st_ino == err.st_ino);
    }
    ~Finder() { Flush(); }
    // Queues a name; its answer comes a few names later, in order, or at
    // Drain.  The text must stay in place until then.  iPlain: the name
    // holds no '\\' (when unsure, false).
    void Push(const char* iName, size_t iLength, bool iPlain)
    {
        if (_NoCase)
        {
            Find(iName, iLength, 0, iPlain);
            return;
        }
        // Random names make every lookup wait on memory: the dictionary's
        // index slot of a name is fetched Ahead names before its lookup,
        // and the element the slot names Ahead / 2 names before it.
        const unsigned int hash = QORHashBytes(iName, iLength);
        _Finder.Prefetch(hash, 0);
        if (_Queued >= Ahead / 2)
            _Finder.Prefetch(_Queue[(_Next + _Queued - Ahead / 2) % Ahead]._Hash, 1);
        if (_Queued == Ahead)
            FindNext();
        _Queue[(_Next + _Queued++) % Ahead] = {iName, iLength, hash, iPlain};
    }
    // Answers every name queued.
    void Drain()
    {
        while (_Queued)
            FindNext();
    }
    void Find(const char* iName, size_t iLength, unsigned int iHash, bool iPlain)
    {
        // The usual name, found: its directory's text, a separator and the
        // name go straight into the output block.  A name ending with a
        // separator or holding the other one takes the general way.
        const zbFileName* dir = _NoCase ? nullptr : _Finder._LocateBytes(iName, iLength, iHash);
        if (dir && dir->GetPtrToFullname() && iLength &&
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
        _Name.Reset();
        _Name.Append(iName, iLength);
        if (_Finder.SearchFor(_Name, _File))
            Put(_NoCase ? RealName() : _File.GetPtrToFullname());
        // The scanned directories know their entries by bare name only: a
        // name with a directory part is probed in each directory.
        else if (std::memchr(iName, '/', iLength) && _Probe.SearchFor(_Name, _File))
            Put(_File.GetPtrToFullname());
        else
        {
            if (_SharedOutput)
            {
                Flush();
                zbsvcFlushOutput(); // the paths found before come first
            }
            zbReportMessage("zbPathFinder.NotFound", {QORUnicodeString(_Name.CastToCharPtr())});
            ++_NotFound;
        }
    }
    // Queues the names of a file, one per line, empty lines skipped.  The
    // file goes through one buffer block by block, a line cut at the end of
    // a block moving to its front: memory stays small, and so do the page
    // faults of a fresh buffer.  0, or 1 once reported under iSource.
    int ReadNames(const char* iSource, const char* iFile)
    {
        zbScopedFd file(zbOpenFd(iFile, O_RDONLY));
        if (!file.IsOpen())
            return zbReportSystemError(iSource, errno);
        if (int error = HoldsNoNul(file.Get()))
        {
            Flush(); // the paths found before come first
            return zbReportSystemError(iSource, error);
        }
        size_t kept = 0, number = 0;
        int bad = 0;
        for (bool end = false; !end;)
        {
            if (kept == _In._Size)
                _In.Grow(2 * _In._Size, kept);
            char* block = _In._Data.get();
            size_t count = 0;
            if (int error = zbReadAll(file.Get(), block + kept, _In._Size - kept, count))
            {
                Drain();
                return zbReportSystemError(iSource, error);
            }
            end = kept + count < _In._Size;
            const char* last = block + kept + count;
            // One look over the block spares one per name.
            const bool plain = !std::memchr(block, zbDosPathSeparator[0], kept + count);
            const bool nul = std::memchr(block, 0, kept + count);
            const char* line = block;
            for (const char* lineEnd; (lineEnd = static_cast<const char*>(std::memchr(
                                           line, '\n', static_cast<size_t>(last - line))));
                 line = lineEnd + 1)
                bad += Take(iSource, line, lineEnd, ++number, plain, nul);
            if (end && line < last)
                bad += Take(iSource, line, last, ++number, plain, nul);
            Drain(); // the block is about to be read over
            kept = end ? 0 : static_cast<size_t>(last - line);
            std::memmove(block, line, kept);
        }
        return bad ? 1 : 0;
    }
    // A file holding a NUL byte is no list of names: refused whole before
    // any name of it is looked up, as every text reader refuses one.  The
    // file is read once more for that; one that cannot be read again (a
    // pipe) is checked line by line instead.  0, or the errno.
    static int HoldsNoNul(int iFd)
    {
        if (::lseek(iFd, 0, SEEK_CUR) < 0)
            return 0;
        char block[1 << 16];
        for (size_t count = 1; count;)
        {
            if (int error = zbReadAll(iFd, block, sizeof block, count))
                return error;
            if (std::memchr(block, 0, count))
                return zbErrnoNulByte;
        }
        return ::lseek(iFd, 0, SEEK_SET) < 0 ? errno : 0;
    }
    // One line of a names file: a line holding a NUL byte or longer than a
    // path can be is no name, reported with its number and left out.
    int Take(const char* iSource, const char* iLine, const char* iLineEnd, size_t iNumber,
             bool iPlain, bool iNul)
    {
        const size_t length = static_cast<size_t>(iLineEnd - iLine);
        if (length > PATH_MAX || (iNul && std::memchr(iLine, 0, length)))
        {
            Drain();
            Flush();
            zbsvcFlushOutput();
            zbReportMessage(
                "zbsvc.find.BadNameLine",
                {QORUnicodeString(iSource), QORUnicodeString(std::to_string(iNumber).c_str())});
            return 1;
        }
        if (length)
            Push(iLine, length, iPlain);
        return 0;
    }
    // Hands the paths gathered so far to standard output.
    void Flush()
    {
        if (_Used)
            fwrite_unlocked(_Out._Data.get(), 1, _Used, stdout);
        _Used = 0;
    }
    int _NotFound = 0;

  private:
    static constexpr size_t OutBlock = 1 << 18;
    static constexpr size_t Ahead = 32;
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
        _Next = (_Next + 1) % Ahead;
        --_Queued;
        Find(next._Name, next._Length, next._Hash, next._Plain);
    }
    // A found path and its line feed into the output block.
    void Put(const char* iPath)
    {
        const size_t length = std::strlen(iPath);
        char* out = Room(length + 1);
        std::memcpy(out, iPath, length);
        out[length] = '\n';
    }
    // Found without regard to case, the name is joined as it was asked:
    // the entry's own spelling is put in its place when they differ.
    const char* RealName()
    {
        _Real = _File.GetPtrToFullname();
        if (zbAccessFile(_Real.c_str()) == 0)
            return _Real.c_str();
        size_t slash = _Real.rfind('/');
        if (slash == std::string::npos)
            return _Real.c_str();
        std::string directory = _Real.substr(0, slash);
        std::string base = _Real.substr(slash + 1);
        zbDirectory entries(directory.c_str());
        if (!entries.Failed())
            for (struct dirent64* entry = entries.FindFirstEnt(); entry;
                 entry = entries.FindNextEnt())
                if (::strcasecmp(entry->d_name, base.c_str()) == 0)
                {
                    _Real = directory + "/" + entry->d_name;
                    break;
                }
        return _Real.c_str();
    }

    // Room for iLength more bytes in the output block.
    char* Room(size_t iLength)
    {
        if (_Used + iLength > _Out._Size)
        {
            Flush();
            if (iLength > _Out._Size)
                _Out.Grow(iLength, 0);
        }
        char* at = _Out._Data.get() + _Used;
        _Used += iLength;
        return at;
    }
    zbPathFinder& _Finder;
    zbPathFinderAccess _Probe;
    bool _NoCase;
    bool _SharedOutput;
    QORString _Name;
    zbFileName _File;
    // The output block and the input block; left as the system gives them
    // (not zeroed), their pages are touched only as they fill.
    struct Block
    {
        std::unique_ptr<char[]> _Data{new char[OutBlock]};
        size_t _Size = OutBlock;
        // iSize bytes, the first iKept kept.
        void Grow(size_t iSize, size_t iKept)
        {
            std::unique_ptr<char[]> data(new char[iSize]);
            std::memcpy(data.get(), _Data.get(), iKept);
            _Data = std::move(data);
            _Size = iSize;
        }
    };
    Block _Out;
    Block _In;
    size_t _Used = 0;
    std::string _Real;
    Queued _Queue[Ahead];
    size_t _Next = 0;
    size_t _Queued = 0;
};
} // namespace

int zbsvcFind(int argc, char** argv)
{
    zbsvcOptions options("zbsvc find");
    options.DeclareSwitch("i", "compare names without regard to case");
    options.DeclareValue("map", "MAPFILE", "header-map file");
    options.DeclareValue("path", "DIR:DIR", "directories to search, separated by ':'");
    options.DeclareValue("names", "FILE", "file of names, one per line ('-': standard input)");
    options.DeclareSwitch("stdin", "read names from standard input, one per line");
    int status = zbsvcAnalyze(options, argc, argv, 0, -1);
    if (status >= 0)
        return status;
    QORString* namesFile = options.GetSwitchValue("names");
    bool fromStdin = options.GetSwitchStatus("stdin") != 0;
    QORListValQORString* names = options.GetAllLineValues();
    if (!namesFile && !fromStdin && (!names || names->Size() == 0))
        return zbsvcUsageError(options, "expects names (arguments, -names FILE or -stdin)");

    // The finder lives until the process ends (or the verb runs again): its
    // dictionary of a large map goes back to the system with the process,
    // not entry by entry.
    static zbPathFinder* keptFinder = nullptr;
    delete keptFinder;
    keptFinder = new zbPathFinder;
    zbPathFinder& finder = *keptFinder;
    if (options.GetSwitchStatus("i"))
        finder.SetNonCaseSensitive();
    QORListValQORString paths;
    if (QORListValQORString* values = options.GetSwitchAllValues("path"))
        for (const QORString& value : *values)
            zbSplitPathConcatenation(paths, value.CastToCharPtr(), zbPathConcatSeparator[0]);
    // A directory that is there but cannot be listed is reported by the
    // finder (status 1); a missing one holds no name.
    finder.SetListOfPath(paths);
    const int unlisted = finder.GetUnlistedCount();
    // A damaged map is reported and makes the status 1; the names go on
    // being looked up in the entries before the damage.
    int damaged = 0;
    if (QORString* map = options.GetSwitchValue("map"))
    {
        const char* mapName = map->CastToCharPtr();
        const int loaded = finder.SetHeaderMap(*map);
        if (loaded == 2)
        {
            const std::string line = std::to_string(finder.GetHeaderMap()->GetDamagedLine());
            damaged = zbReportMessage("zbHeaderList.Damaged",
                                      {QORUnicodeString(mapName), QORUnicodeString(line.c_str())});
        }
        else if (loaded != 0)
            return zbExtLastError.GetErrno() == EBADF
                       ? zbReportMessage("zbHeaderList.NotAList", {QORUnicodeString(mapName)})
                       : zbReportLastError(mapName);
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    Finder find(finder, paths, options.GetSwitchStatus("i") != 0);
    if (names)
        for (const QORString& name : *names)
            find.Push(name.CastToCharPtr(), static_cast<size_t>(name.Length()), false);
    status = 0;
    const char* sources[2] = {namesFile ? namesFile->CastToCharPtr() : nullptr,
                              fromStdin ? "-" : nullptr};
    for (const char* source : sources)
    {
        if (!source)
            continue;
        find.Drain(); // what a source cannot be read is said after the names before it
        const char* file = zbsvcInputName(source);
        const char* shown = std::strcmp(source, "-") ? source : "standard input";
        if (!file || find.ReadNames(shown, file) != 0)
            status = 1;
    }
    find.Drain();
    find.Flush();
    return status || unlisted || damaged || find._NotFound ? 1 : 0;
}
