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
#include <string>
#include <strings.h>

#include "zbContext.h"
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
    }
    ~Finder() { Flush(); }
    void Find(const char* iName, size_t iLength)
    {
        _Name.Reset();
        _Name.Append(iName, iLength);
        // The usual name, found: its directory's text, a separator and the
        // name go straight into the output block.  A name ending with a
        // separator or holding the other one takes the general way.
        const zbFileName* dir = _NoCase ? nullptr : _Finder._Locate(_Name);
        if (dir && dir->GetPtrToFullname() && iLength &&
            iName[iLength - 1] != zbUnixPathSeparator[0] &&
            !std::memchr(iName, zbDosPathSeparator[0], iLength))
        {
            const size_t dirLength = dir->GetFullnameLength();
            char* out = Room(dirLength + iLength + 2);
            std::memcpy(out, dir->GetPtrToFullname(), dirLength);
            out[dirLength] = zbPathSeparator[0];
            std::memcpy(out + dirLength + 1, iName, iLength);
            out[dirLength + 1 + iLength] = '\n';
        }
        else if (_Finder.SearchFor(_Name, _File))
            Put(_NoCase ? RealName() : _File.GetPtrToFullname());
        // The scanned directories know their entries by bare name only: a
        // name with a directory part is probed in each directory.
        else if (std::memchr(iName, '/', iLength) && _Probe.SearchFor(_Name, _File))
            Put(_File.GetPtrToFullname());
        else
        {
            Flush();
            zbsvcFlushOutput(); // the paths found before come first
            zbReportMessage("zbPathFinder.NotFound", {QORUnicodeString(_Name.CastToCharPtr())});
            ++_NotFound;
        }
    }
    // Hands the paths gathered so far to standard output.
    void Flush()
    {
        if (_Used)
            fwrite_unlocked(_Out.data(), 1, _Used, stdout);
        _Used = 0;
    }
    int _NotFound = 0;

  private:
    static constexpr size_t OutBlock = 1 << 18;
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
        if (_Used + iLength > _Out.size())
        {
            Flush();
            if (iLength > _Out.size())
                _Out.resize(iLength);
        }
        char* at = &_Out[_Used];
        _Used += iLength;
        return at;
    }
    zbPathFinder& _Finder;
    zbPathFinderAccess _Probe;
    bool _NoCase;
    QORString _Name;
    zbFileName _File;
    std::string _Out = std::string(OutBlock, '\0');
    size_t _Used = 0;
    std::string _Real;
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

    zbPathFinder finder;
    if (options.GetSwitchStatus("i"))
        finder.SetNonCaseSensitive();
    QORListValQORString paths;
    if (QORListValQORString* values = options.GetSwitchAllValues("path"))
        for (const QORString& value : *values)
            zbSplitPathConcatenation(paths, value.CastToCharPtr(), zbPathConcatSeparator[0]);
    finder.SetListOfPath(paths);
    // The finder passes over a directory it cannot list: one that is missing
    // or not a directory holds no name, one that is there but refused is
    // reported (status 1).
    int unlisted = 0;
    for (const QORString& path : paths)
    {
        zbDirectory directory(path.CastToCharPtr());
        const int error = directory.GetError();
        if (error && error != ENOENT && error != ENOTDIR)
            unlisted = zbReportSystemError(path.CastToCharPtr(), error);
    }
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
            find.Find(name.CastToCharPtr(), static_cast<size_t>(name.Length()));
    status = 0;
    const char* sources[2] = {namesFile ? namesFile->CastToCharPtr() : nullptr,
                              fromStdin ? "-" : nullptr};
    for (const char* source : sources)
    {
        if (!source)
            continue;
        const char* file = zbsvcInputName(source);
        char* buffer = nullptr;
        unsigned int size = 0;
        if (!file)
            status = 1;
        else if (zbMMap(file, 0, buffer, size, 0) != 0)
            status = zbReportLastError(source);
        // A line holding a NUL byte or longer than a path can be is no name:
        // reported with its line and left out.
        int number = 0;
        for (char* line = buffer; line && line < buffer + size;)
        {
            char* end = static_cast<char*>(
                std::memchr(line, '\n', static_cast<size_t>(buffer + size - line)));
            if (!end)
                end = buffer + size;
            const size_t length = static_cast<size_t>(end - line);
            ++number;
            if (length > PATH_MAX || std::memchr(line, 0, length))
            {
                find.Flush();
                zbsvcFlushOutput();
                status = zbReportMessage(
                    "zbsvc.find.BadNameLine",
                    {QORUnicodeString(source), QORUnicodeString(std::to_string(number).c_str())});
            }
            else if (length > 0)
                find.Find(line, length);
            line = end + 1;
        }
        std::free(buffer);
    }
    find.Flush();
    return status || unlisted || damaged || find._NotFound ? 1 : 0;
}
