// The files a run looks at, and the workspace's frameworks and modules with
// their descriptions: each module's Imakefile.mk preprocessed against the
// level file (its #include "..." lines expanded along the framework and
// the workspace root) and read into a macro set, then solved.  The macros a
// module gives:
//
//   CC               the compiler (default cc)
//   CFLAGS           its flags
//   SOURCES          the sources, in the module's src directory
//   INCLUDES         include directories, relative to the workspace root
//   USED_FRAMEWORKS  frameworks whose PublicInterfaces come after them

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "QORListVal.h"
#include "zbDirectoryListing.h"
#include "zbFileBuffer.h"
#include "zbFileName.h"
#include "zbFileOperations.h"
#include "zbMacroSet.h"
#include "zbPPMacLev.h"
#include "zbPathFinderAccess.h"
#include "zbPatternSet.h"
#include "zbReport.h"
#include "wsbuild.h"

Files::Files(const std::string& iRoot)
    : _Root(iRoot), _RootFd(open(iRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    _Ids.reserve(1 << 15);
}

Files::~Files()
{
    if (_RootFd >= 0)
        close(_RootFd);
}

int Files::Id(std::string_view iPath)
{
    auto found = _Ids.find(iPath);
    if (found != _Ids.end())
        return found->second;
    const int id = static_cast<int>(_Paths.size());
    _Paths.emplace_back(iPath);
    _Ids.emplace(_Paths.back(), id);
    _Stamps.emplace_back();
    _Known.push_back(0);
    return id;
}

std::string Files::Absolute(int iId) const
{
    const std::string& path = Path(iId);
    return !path.empty() && path[0] == '/' ? path : _Root + "/" + path;
}

std::string Files::Relative(const std::string& iPath) const
{
    if (iPath.size() > _Root.size() && iPath.compare(0, _Root.size(), _Root) == 0 &&
        iPath[_Root.size()] == '/')
        return iPath.substr(_Root.size() + 1);
    return iPath;
}

const Stamp& Files::Current(int iId)
{
    const size_t at = static_cast<size_t>(iId);
    if (!_Known[at])
    {
        struct stat status;
        Stamp& stamp = _Stamps[at];
        if (fstatat(_RootFd, _Paths[at].c_str(), &status, 0) == 0)
        {
            stamp._Time = status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec;
            stamp._Size = status.st_size;
        }
        else
            stamp = Stamp();
        _Known[at] = 1;
    }
    return _Stamps[at];
}

namespace
{
// The directories directly below iDir whose name matches iPatterns (every
// one without patterns), by name, sorted.
std::vector<std::string> Directories(const std::string& iDir, const zbPatternSet* iPatterns)
{
    QORListValQORString roots;
    roots.Append(QORString(iDir.c_str()));
    zbDirectoryListing listing(roots);
    listing.SetListingMode(zbDirectoryListing::GivenDirectoriesOnly);
    listing.SetListedEntries(zbDirectoryListing::DirectoriesOnly);
    std::vector<std::string> names;
    for (const char* entry : listing)
    {
        zbFileName name(entry);
        if (!iPatterns || iPatterns->Match(name.GetPtrToBasename()) == 0)
            names.push_back(name.GetPtrToBasename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The words of a macro, appended.
void Words(const zbMacroSet& iMacros, const char* iName, std::vector<std::string>& ioWords)
{
    QORListValQORString words;
    if (iMacros.GetListOfValues(QORString(iName), words))
        for (const QORString& word : words)
            ioWords.push_back(word.CastToCharPtr());
}

std::string Text(const zbMacroSet& iMacros, const char* iName, const char* iDefault)
{
    const QORString* value = iMacros.GetValue(QORString(iName));
    return value ? value->CastToCharPtr() : iDefault;
}
} // namespace

Workspace::Workspace(Files& ioFiles, const std::string& iLevelFile, const std::string& iOS)
    : _Files(ioFiles), _LevelFile(iLevelFile), _OS(iOS)
{
}

Workspace::~Workspace() = default;

int Workspace::Discover()
{
    const std::string& root = _Files.Root();
    zbPatternSet modulePattern;
    modulePattern.AddPattern("*.m*");
    for (const std::string& framework : Directories(root, nullptr))
    {
        if (_Files.Current(_Files.Id(framework + "/IdentityCard"))._Time < 0)
            continue;
        _Frameworks.push_back(framework);
        for (const std::string& name : Directories(root + "/" + framework, &modulePattern))
        {
            Module module;
            module._Framework = framework;
            module._Dir = framework + "/" + name;
            if (_Files.Current(_Files.Id(module._Dir + "/Imakefile.mk"))._Time >= 0)
                _Modules.push_back(std::move(module));
        }
    }
    if (_Frameworks.empty())
        return zbReportText(QORUnicodeString(("zbwsbuild: no framework in " + root).c_str()));
    return 0;
}

int Workspace::LoadLevels()
{
    if (_Levels)
        return _LevelsLoaded ? 0 : 1;
    _Levels = std::make_unique<zbPPMacLev>(100);
    if (_LevelFile.empty())
        return (_LevelsLoaded = 1, 0);
    if (_Files.Current(_Files.Id(_LevelFile))._Time < 0)
        return zbReportSystemError(_LevelFile.c_str(), ENOENT);
    // The preprocessor reports what is wrong in the file.
    if (_Levels->InsertLevel(_LevelFile.c_str()) != 0)
        return 1;
    _LevelsLoaded = 1;
    return 0;
}

int Workspace::FirstDescription(const Module& iModule)
{
    return _Files.Id(_LevelFile.empty() ? iModule._Dir + "/Imakefile.mk" : _LevelFile);
}

int Workspace::ReadDescription(Module& ioModule)
{
    const std::string& root = _Files.Root();
    const std::string path = root + "/" + ioModule._Dir + "/Imakefile.mk";
    // The level file first (when there is one): a run with another level
    // file reads every description again.
    ioModule._Descriptions.clear();
    if (!_LevelFile.empty())
        ioModule._Descriptions.push_back(_Files.Id(_LevelFile));
    ioModule._Descriptions.push_back(_Files.Id(ioModule._Dir + "/Imakefile.mk"));
    if (LoadLevels())
        return 1;
    zbFileBuffer buffer;
    if (buffer.ReadFromFile(path.c_str(), 8) != 0)
        return zbReportLastError(path.c_str());
    zbPathFinderAccess finder;
    QORListValQORString along;
    along.Append(QORString((root + "/" + ioModule._Framework).c_str()));
    along.Append(QORString(root.c_str()));
    finder.SetListOfPath(along);
    QORListValzbFileName included;
    if (buffer.ExpandBuffer(*_Levels, finder, included, path.c_str()) != 0)
        return 1;
    for (const zbFileName& file : included)
        ioModule._Descriptions.push_back(_Files.Id(_Files.Relative(file.GetPtrToFullname())));
    zbMacroSet macros(500);
    if (buffer.GetBuffer() &&
        (!zbMacroSet::ParseBuffer(path.c_str(), buffer.GetBuffer()) ||
         macros.InsertBuffer(buffer.GetBuffer(), nullptr, '=', zbMacroSet::ReplaceExisting) != 0))
        return 1;
    if (macros.Solve(nullptr) != 0)
        return 1;

    std::vector<std::string> sources, used;
    Words(macros, "SOURCES", sources);
    Words(macros, "INCLUDES", ioModule._Includes);
    Words(macros, "USED_FRAMEWORKS", used);
    for (const std::string& framework : used)
        if (std::find(ioModule._Includes.begin(), ioModule._Includes.end(),
                      framework + "/PublicInterfaces") == ioModule._Includes.end())
            ioModule._Includes.push_back(framework + "/PublicInterfaces");
    ioModule._Command = Text(macros, "CC", "cc");
    const std::string flags = Text(macros, "CFLAGS", "");
    if (!flags.empty())
        ioModule._Command += " " + flags;
    ioModule._Directories.assign(1, _Files.Id(ioModule._Dir + "/src"));
    for (const std::string& dir : ioModule._Includes)
    {
        ioModule._Command += " -I" + dir;
        ioModule._Directories.push_back(_Files.Id(dir));
    }
    for (const std::string& source : sources)
    {
        Object object;
        object._Source = _Files.Id(ioModule._Dir + "/src/" + source);
        const size_t dot = source.rfind('.');
        object._Object = _Files.Id(ioModule._Dir + "/Objects/" + source.substr(0, dot) + ".o");
        ioModule._Objects.push_back(object);
    }
    return 0;
}
