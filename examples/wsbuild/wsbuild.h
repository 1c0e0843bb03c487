#ifndef wsbuild_H
#define wsbuild_H
// zbwsbuild: the pieces of the builder and what they share.
//
// A run reads the workspace's modules (their descriptions through the
// preprocessor and a macro set), compares them with what the last run
// learnt (the dependency block), finds the dependencies of the objects it
// must look at again through header lists, header maps and path finders,
// compiles what changed with the library's parallel runner, keeps what it
// learnt, and installs the objects as the frameworks' runtime views say.

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class zbPPMacLev;

// What the builder knows of a file: its modification time in nanoseconds
// and its size; a time of -1 for a file that is not there.
struct Stamp
{
    long long _Time = -1;
    long long _Size = -1;
    bool operator==(const Stamp& iOther) const
    {
        return _Time == iOther._Time && _Size == iOther._Size;
    }
    bool operator!=(const Stamp& iOther) const { return !(*this == iOther); }
};

// Every file a run looks at, by its path relative to the workspace root (or
// absolute, outside it), numbered in order of first mention; each one is
// looked at once per run unless told to look again.
class Files
{
  public:
    explicit Files(const std::string& iRoot);
    ~Files();
    Files(const Files&) = delete;
    Files& operator=(const Files&) = delete;

    const std::string& Root() const { return _Root; }
    int Id(std::string_view iPath);
    const std::string& Path(int iId) const { return _Paths[static_cast<size_t>(iId)]; }
    std::string Absolute(int iId) const;
    // The path relative to the root when iPath lies below it, else iPath.
    std::string Relative(const std::string& iPath) const;
    const Stamp& Current(int iId);
    // The next Current of iId looks at the file again.
    void Forget(int iId) { _Known[static_cast<size_t>(iId)] = 0; }

  private:
    std::string _Root;
    int _RootFd;
    std::unordered_map<std::string_view, int> _Ids; // into _Paths
    std::deque<std::string> _Paths;
    std::vector<Stamp> _Stamps;
    std::vector<char> _Known;
};

struct Object
{
    int _Source = -1;
    int _Object = -1;
    // The source first, then every workspace header it reaches.
    std::vector<int> _Inputs;
    int _Build = 0;
};

// A module as this run sees it.
struct Module
{
    std::string _Framework;             // "Fw003"
    std::string _Dir;                   // "Fw003/Mod02.m"
    std::vector<int> _Descriptions;     // Imakefile.mk, what it includes, the level file
    std::vector<std::string> _Includes; // include directories, in order
    std::string _Command;               // the compile command before "-c SOURCE -o OBJECT"
    std::vector<int> _Directories;      // whose entries decide where includes are found
    std::vector<Object> _Objects;
    int _Broken = 0;  // its description could not be used
    int _Changed = 0; // not as the block says (read again, looked at again)
};

// What the last run learnt of a module.
struct ModuleRecord
{
    std::vector<int> _Descriptions;
    std::vector<std::string> _Includes;
    std::string _Command;
    std::vector<int> _Directories;
    std::vector<Object> _Objects;
};

// The dependency block: the stamps of the files it names as the last run
// saw them (by file id), and its modules by directory.
struct Record
{
    std::vector<Stamp> _Stamps;
    std::unordered_map<std::string, ModuleRecord> _Modules;
    // The file is as the last run saw it.
    bool Same(int iId, Files& ioFiles) const;
};

// The workspace, its frameworks and modules (Workspace.cpp).
class Workspace
{
  public:
    Workspace(Files& ioFiles, const std::string& iLevelFile, const std::string& iOS);
    ~Workspace();
    // Finds the frameworks (directories holding an IdentityCard) and their
    // modules (directories NAME.m holding an Imakefile.mk), sorted.
    int Discover();
    std::vector<Module>& Modules() { return _Modules; }
    const std::vector<std::string>& Frameworks() const { return _Frameworks; }
    const std::string& OS() const { return _OS; }
    // What a module's first description file must be: the level file when
    // there is one, else its Imakefile.mk.
    int FirstDescription(const Module& iModule);
    // Reads the module's description: 0, or 1 after a report.
    int ReadDescription(Module& ioModule);

  private:
    int LoadLevels();
    Files& _Files;
    std::string _LevelFile;
    std::string _OS;
    std::unique_ptr<zbPPMacLev> _Levels;
    int _LevelsLoaded = 0;
    std::vector<std::string> _Frameworks;
    std::vector<Module> _Modules;
};

// The dependency block (Record.cpp): read, and written from the modules of
// a run.
int ReadRecord(const std::string& iPath, Files& ioFiles, Record& oRecord);
std::string RecordText(const std::vector<Module>& iModules, Files& ioFiles);
int WriteRecord(const std::string& iPath, const std::string& iText);

// Where the includes of the sources lead (Includes.cpp).
class Includes
{
  public:
    Includes(Files& ioFiles, const std::string& iStateDir);
    ~Includes();
    // The inputs of the object: its source and every workspace header the
    // source reaches through the module's include directories.  0, or 1
    // after a report (a source that cannot be read).
    int Find(const Module& iModule, Object& ioObject);

  private:
    struct Impl;
    std::unique_ptr<Impl> _Impl;
};

// The compilations of a run (Compilations.cpp): printed, run in parallel,
// each object's result known afterwards.  The number that failed.
struct Engine
{
    unsigned int _Jobs = 1;
    int _Slurm = 0;
};
int Compile(std::vector<Module>& ioModules, Files& ioFiles, const Engine& iEngine);

// The installation (Installation.cpp): the objects of every framework's
// runtime view copied into iOut, the views, the statistics and the listing
// written, what changed told.  0, or 1 after a report.
int Install(Workspace& iWorkspace, Files& ioFiles, const std::string& iOut,
            const std::vector<int>& iBuilt);

#endif
