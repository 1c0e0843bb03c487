// Where the includes of a source lead.  Each include directory of the
// workspace a run needs is listed once into a header list; each distinct
// include path (the directories of a module, in order) becomes a header map
// of those lists, loaded into a path finder: the first directory of the
// path that holds a name wins, as for the compiler.  The compiler looks in
// the including file's own directory first for an include written with
// quotes; that directory, and the directories of the path for a name with
// a directory part, are asked through lazy path finders.
//
// The include lines of a file are read once per run: "#include" at the
// start of a line (blanks allowed around the '#') followed by a quoted or
// bracketed name.  Conditionals are not evaluated, so an include that the
// compiler skips is still a dependency: a rebuild too many, never one too
// few.  A name found in none of the directories (a system header) is not
// followed.

#include <cstring>

#include "QORListPtr.h"
#include "zbDirectories.h"
#include "zbFileBuffer.h"
#include "zbFileName.h"
#include "zbHeaderList.h"
#include "zbHeaderListIntoWS.h"
#include "zbHeaderMap.h"
#include "zbPathFinder.h"
#include "zbPathFinderAccess.h"
#include "zbReport.h"
#include "wsbuild.h"

namespace
{
struct Include
{
    std::string _Name;
    bool _Quoted;
};

const char* SkipBlanks(const char* iAt, const char* iEnd)
{
    while (iAt < iEnd && (*iAt == ' ' || *iAt == '\t'))
        ++iAt;
    return iAt;
}

void ScanIncludes(const char* iText, size_t iLength, std::vector<Include>& oIncludes)
{
    const char* end = iText + iLength;
    for (const char* line = iText; line < end;)
    {
        const char* eol = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (!eol)
            eol = end;
        const char* at = SkipBlanks(line, eol);
        if (at < eol && *at == '#')
        {
            at = SkipBlanks(at + 1, eol);
            if (eol - at > 7 && std::memcmp(at, "include", 7) == 0)
            {
                at = SkipBlanks(at + 7, eol);
                if (at < eol && (*at == '"' || *at == '<'))
                {
                    const char close = *at == '"' ? '"' : '>';
                    const char* name = at + 1;
                    const char* stop =
                        static_cast<const char*>(std::memchr(name, close, eol - name));
                    if (stop && stop > name)
                        oIncludes.push_back({std::string(name, stop), close == '"'});
                }
            }
        }
        line = eol + 1;
    }
}

std::string Dirname(const std::string& iPath)
{
    const size_t slash = iPath.rfind('/');
    return slash == std::string::npos ? std::string(".") : iPath.substr(0, slash);
}
} // namespace

struct Includes::Impl
{
    // An include path: the map of its directories, and what each file's
    // includes lead to through it.
    struct Path
    {
        std::vector<std::string> _Dirs;
        zbPathFinder _Map;
        std::unordered_map<int, std::vector<int>> _Direct;
        int _Broken = 0;
    };

    Files& _Files;
    std::string _StateDir;
    std::unordered_map<int, std::vector<Include>> _Names;
    std::unordered_map<int, int> _Unreadable;
    std::unordered_map<std::string, std::string> _Lists;
    std::unordered_map<std::string, std::unique_ptr<Path>> _Paths;
    std::unordered_map<std::string, std::unique_ptr<zbPathFinderAccess>> _DirFinders;
    int _Maps = 0;
    std::vector<unsigned int> _Marks;
    unsigned int _Walks = 0;
    int _Ready = 0;

    Impl(Files& ioFiles, const std::string& iStateDir) : _Files(ioFiles), _StateDir(iStateDir) {}

    const std::vector<Include>* Names(int iFile);
    const std::string* ListOf(const std::string& iDir);
    Path& PathOf(const Module& iModule);
    int BuildMap(const Module& iModule, Path& ioPath);
    zbPathFinderAccess& DirFinder(const std::string& iDir);
    int Found(zbPathFinderAccess& iFinder, const std::string& iName);
    int Resolve(Path& ioPath, int iFrom, const Include& iInclude);
    const std::vector<int>& Direct(Path& ioPath, int iFile);
};

// The include lines of a file, read once; null when it cannot be read.
const std::vector<Include>* Includes::Impl::Names(int iFile)
{
    auto found = _Names.find(iFile);
    if (found != _Names.end())
        return &found->second;
    if (_Unreadable.count(iFile))
        return nullptr;
    zbFileBuffer buffer;
    const std::string path = _Files.Absolute(iFile);
    if (buffer.ReadFromFile(path.c_str(), 4) != 0)
    {
        zbReportLastError(path.c_str());
        _Unreadable[iFile] = 1;
        return nullptr;
    }
    std::vector<Include>& names = _Names[iFile];
    if (buffer.GetBuffer())
        ScanIncludes(buffer.GetBuffer(), buffer.GetBufferLength(), names);
    return &names;
}

// The header list of a directory, written once per run; null after a report.
const std::string* Includes::Impl::ListOf(const std::string& iDir)
{
    auto found = _Lists.find(iDir);
    if (found != _Lists.end())
        return &found->second;
    const std::string file = _StateDir + "/HeaderLists/" + std::to_string(_Lists.size()) + ".hl";
    zbHeaderList list;
    QORListValQORString dirs;
    dirs.Append(QORString((_Files.Root() + "/./" + iDir).c_str()));
    list.ListDirectories(dirs, 0);
    if (list.WriteFile(QORString(file.c_str())) != 0)
        return nullptr;
    return &(_Lists[iDir] = file);
}

int Includes::Impl::BuildMap(const Module& iModule, Path& ioPath)
{
    QORListPtrzbHeaderListIntoWS lists;
    int failed = 0;
    for (const std::string& dir : iModule._Includes)
        if (const std::string* file = ListOf(dir))
        {
            const bool own =
                dir.compare(0, iModule._Framework.size() + 1, iModule._Framework + "/") == 0;
            lists.Append(new zbHeaderListIntoWS(QORString(_Files.Root().c_str()),
                                                QORString(file->c_str()), own ? 1 : 0));
        }
        else
            failed = 1;
    const std::string map = _StateDir + "/HeaderMaps/" + std::to_string(_Maps++) + ".hmap";
    zbHeaderMap builder;
    if (!failed && builder.BuildFromListOfHeaderLists(QORString(map.c_str()), lists) != 0)
        failed = 1;
    for (zbHeaderListIntoWS* list : lists)
        delete list;
    if (!failed && ioPath._Map.SetHeaderMap(QORString(map.c_str())) != 0)
        failed = zbReportText(QORUnicodeString(("zbwsbuild: cannot load " + map).c_str()));
    return failed;
}

Includes::Impl::Path& Includes::Impl::PathOf(const Module& iModule)
{
    std::string key = iModule._Framework;
    for (const std::string& dir : iModule._Includes)
        key += "\n" + dir;
    std::unique_ptr<Path>& path = _Paths[key];
    if (!path)
    {
        path = std::make_unique<Path>();
        path->_Dirs = iModule._Includes;
        path->_Broken = BuildMap(iModule, *path);
    }
    return *path;
}

zbPathFinderAccess& Includes::Impl::DirFinder(const std::string& iDir)
{
    std::unique_ptr<zbPathFinderAccess>& finder = _DirFinders[iDir];
    if (!finder)
    {
        finder = std::make_unique<zbPathFinderAccess>();
        QORListValQORString dirs;
        dirs.Append(QORString((_Files.Root() + "/" + iDir).c_str()));
        finder->SetListOfPath(dirs);
    }
    return *finder;
}

// The file iFinder finds under iName, or -1.
int Includes::Impl::Found(zbPathFinderAccess& iFinder, const std::string& iName)
{
    zbFileName file;
    if (!iFinder.SearchFor(QORString(iName.c_str()), file))
        return -1;
    return _Files.Id(_Files.Relative(file.GetPtrToFullname()));
}

int Includes::Impl::Resolve(Path& ioPath, int iFrom, const Include& iInclude)
{
    const std::string& name = iInclude._Name;
    std::string dir;
    int found = -1;
    if (name.find('/') == std::string::npos)
    {
        zbFileName file;
        if (ioPath._Map.SearchFor(QORString(name.c_str()), file))
        {
            found = _Files.Id(file.GetPtrToNameIntoWS());
            dir = Dirname(_Files.Path(found));
        }
    }
    else
        for (const std::string& along : ioPath._Dirs)
            if ((found = Found(DirFinder(along), name)) >= 0)
            {
                dir = along;
                break;
            }
    const std::string from = Dirname(_Files.Path(iFrom));
    if (iInclude._Quoted && dir != from)
    {
        const int own = Found(DirFinder(from), name);
        if (own >= 0)
            return own;
    }
    return found;
}

const std::vector<int>& Includes::Impl::Direct(Path& ioPath, int iFile)
{
    auto found = ioPath._Direct.find(iFile);
    if (found != ioPath._Direct.end())
        return found->second;
    std::vector<int>& direct = ioPath._Direct[iFile];
    if (const std::vector<Include>* names = Names(iFile))
        for (const Include& include : *names)
        {
            const int file = Resolve(ioPath, iFile, include);
            if (file >= 0)
                direct.push_back(file);
        }
    return direct;
}

Includes::Includes(Files& ioFiles, const std::string& iStateDir)
    : _Impl(std::make_unique<Impl>(ioFiles, iStateDir))
{
}

Includes::~Includes() = default;

int Includes::Find(const Module& iModule, Object& ioObject)
{
    // The lists and maps of the run before go: each run numbers its own.
    if (!_Impl->_Ready++)
        for (const char* kind : {"/HeaderLists", "/HeaderMaps"})
        {
            const std::string dir = _Impl->_StateDir + kind;
            if (zbRemoveDirectory(dir.c_str(), 0) != 0 || zbCreateDirectory(dir.c_str()) != 0)
                return zbReportLastError(dir.c_str());
        }
    Impl::Path& path = _Impl->PathOf(iModule);
    if (path._Broken || !_Impl->Names(ioObject._Source))
        return 1;
    // Files met are marked with the number of this walk.
    std::vector<unsigned int>& marks = _Impl->_Marks;
    const unsigned int walk = ++_Impl->_Walks;
    auto first = [&](int iFile)
    {
        if (marks.size() <= static_cast<size_t>(iFile))
            marks.resize(static_cast<size_t>(iFile) * 2 + 64, 0);
        return marks[static_cast<size_t>(iFile)] != walk &&
               (marks[static_cast<size_t>(iFile)] = walk);
    };
    ioObject._Inputs.assign(1, ioObject._Source);
    first(ioObject._Source);
    for (size_t next = 0; next < ioObject._Inputs.size(); ++next)
        for (int file : _Impl->Direct(path, ioObject._Inputs[next]))
            if (first(file))
                ioObject._Inputs.push_back(file);
    return 0;
}
