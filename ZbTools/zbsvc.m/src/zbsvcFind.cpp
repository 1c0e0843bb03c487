// zbsvc find [-i] [-map MAPFILE] [-path DIR:DIR ...] [-names FILE] [-stdin] NAME ...:
// the full path of each name through a path finder, one per line.  The
// directories of -path are scanned first (in order), then the header map is
// merged in (a name already known keeps its directory).  -names FILE reads
// further names from FILE, one per line, after those of the command line;
// -stdin then reads more from standard input.  A name not found is reported
// and makes the status 1.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbGetopts.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbPathFinder.h"
#include "zbPathSeparators.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

namespace
{
// The whole of standard input, NUL-terminated; null on a read error.
char* ReadStandardInput(unsigned int& oSize)
{
    size_t size = 0, capacity = 1 << 16;
    char* buffer = static_cast<char*>(std::malloc(capacity + 1));
    while (buffer)
    {
        size_t n = std::fread(buffer + size, 1, capacity - size, stdin);
        size += n;
        if (n == 0)
            break;
        if (size == capacity)
        {
            capacity *= 2;
            char* larger = static_cast<char*>(std::realloc(buffer, capacity + 1));
            if (!larger)
                std::free(buffer);
            buffer = larger;
        }
    }
    if (!buffer || std::ferror(stdin))
    {
        std::free(buffer);
        return nullptr;
    }
    buffer[size] = 0;
    oSize = static_cast<unsigned int>(size);
    return buffer;
}

class Finder
{
  public:
    explicit Finder(zbPathFinder& iFinder) : _Finder(iFinder) {}
    void Find(const char* iName, size_t iLength)
    {
        _Name.Reset();
        _Name.Append(iName, iLength);
        if (_Finder.SearchFor(_Name, _File))
        {
            fwrite_unlocked(_File.GetPtrToFullname(), 1, _File.GetFullnameLength(), stdout);
            putc_unlocked('\n', stdout);
            return;
        }
        std::fflush(stdout);
        zbExtContext.GetTraceMngr()->Print(
            MSG_KEY_zbzbError, stderr,
            zbExtContext.GetMsgMngr()->GetMsg("zbPathFinder.NotFound",
                                              QORUnicodeString(_Name.CastToCharPtr())));
        ++_NotFound;
    }
    int _NotFound = 0;

  private:
    zbPathFinder& _Finder;
    QORString _Name;
    zbFileName _File;
};
} // namespace

int zbsvcFind(int argc, char** argv)
{
    zbGetopts options("zbsvc find");
    options.AddSimpleSwitch("i", "compare names without regard to case", 1);
    options.AddValuedSwitch("map", "header-map file", 1);
    options.AddValuedSwitch("path", "directories to search, separated by ':'", 1);
    options.AddValuedSwitch("names", "file of names, one per line", 1);
    options.AddSimpleSwitch("stdin", "read names from standard input, one per line", 1);
    int status = zbsvcAnalyze(options, argc, argv, "NAME...", 0, -1);
    if (status >= 0)
        return status;
    QORString* namesFile = options.GetSwitchValue("names");
    bool fromStdin = options.GetSwitchStatus("stdin") != 0;
    QORListValQORString* names = options.GetAllLineValues();
    if (!namesFile && !fromStdin && (!names || names->Size() == 0))
    {
        zbStderr.Print("%s: expects names (arguments, -names FILE or -stdin)\n",
                       options.GetArgv0());
        options.Usage(zbStderr);
        return 2;
    }

    // The finder lives until the process ends: its dictionary goes back to
    // the system with the process instead of one entry at a time.
    static zbPathFinder* keptFinder = new zbPathFinder;
    zbPathFinder& finder = *keptFinder;
    if (options.GetSwitchStatus("i"))
        finder.SetNonCaseSensitive();
    QORListValQORString paths;
    if (QORListValQORString* values = options.GetSwitchAllValues("path"))
        for (const QORString& value : *values)
            zbSplitPathConcatenation(paths, value.CastToCharPtr(), zbPathConcatSeparator[0]);
    finder.SetListOfPath(paths);
    if (QORString* map = options.GetSwitchValue("map"))
        if (finder.SetHeaderMap(*map) != 0)
        {
            zbsvcReportSystemError(map->CastToCharPtr(), zbExtLastError.GetErrno());
            return 1;
        }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    Finder find(finder);
    for (int i = 1; names && i <= names->Size(); ++i)
        find.Find((*names)[i].CastToCharPtr(), static_cast<size_t>((*names)[i].Length()));
    status = 0;
    for (int source = 0; source < 2; ++source)
    {
        if (source == 0 ? !namesFile : !fromStdin)
            continue;
        char* buffer = nullptr;
        unsigned int size = 0;
        const char* what = source == 0 ? namesFile->CastToCharPtr() : "<stdin>";
        if (source == 0 ? zbMMap(what, 8, buffer, size, 0) != 0
                        : (buffer = ReadStandardInput(size)) == nullptr)
        {
            zbsvcReportSystemError(what, source == 0 ? zbExtLastError.GetErrno() : errno);
            status = 1;
        }
        for (char* line = buffer; line && line < buffer + size;)
        {
            char* end = static_cast<char*>(
                std::memchr(line, '\n', static_cast<size_t>(buffer + size - line)));
            if (!end)
                end = buffer + size;
            if (end > line)
                find.Find(line, static_cast<size_t>(end - line));
            line = end + 1;
        }
        std::free(buffer);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
    {
        zbsvcReportSystemError("<stdout>", errno);
        status = 1;
    }
    return status || find._NotFound ? 1 : 0;
}
