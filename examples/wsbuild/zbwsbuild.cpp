// zbwsbuild [-j N] [-engine local|slurm] [-level FILE] [-o OUT] WS: builds
// the objects of every module of the workspace WS, then, with -o, installs
// them into OUT as the frameworks' runtime views say (see Installation.cpp).
//
// A module's objects are FW/NAME.m/Objects/SOURCE.o, compiled in WS with
// the command its description gives (see Workspace.cpp).  What a run
// learnt, the description files, include directories, commands and the
// files each object depends on with their stamps, is kept in
// WS/Objects/zbwsbuild.blk (see Record.cpp) beside the header lists and
// maps of the workspace (WS/Objects/HeaderLists, HeaderMaps).  The next run
// starts only the compilations whose command or inputs changed.
//
// -level FILE: the level file of the descriptions' conditionals (default
// WS/TALVEXV5Level.lvl when there is one).  -j N: compilations at a time
// (default: the processors).  -engine slurm: each compilation is a job step
// of the cluster.  Exit status: 0 success, 1 a failure (reported: each
// failed compilation is named), 2 usage; a signal ends the run with its
// number, the block of the run before left as it was.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unistd.h>

#include "zbContext.h"
#include "zbDirectories.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "wsbuild.h"

namespace
{
int Usage(zbGetopts& iOptions, int iStatus)
{
    zbOFStream& stream = iStatus ? zbStderr : zbStdout;
    iOptions.Usage(stream);
    stream.Print("   arguments: WS (the workspace)\n");
    return iStatus;
}

// Compares a module with what the last run learnt of it and says which of
// its objects to build: those that are new, whose command changed, whose
// object or inputs changed, or whose inputs are no longer the same files.
int Plan(Workspace& ioWorkspace, Files& ioFiles, Record& ioRecord, Includes& ioIncludes,
         Module& ioModule)
{
    const auto entry = ioRecord._Modules.find(ioModule._Dir);
    ModuleRecord* known = entry == ioRecord._Modules.end() ? nullptr : &entry->second;
    auto same = [&](int iId) { return ioRecord.Same(iId, ioFiles); };
    auto allSame = [&](const std::vector<int>& iIds)
    { return std::all_of(iIds.begin(), iIds.end(), same); };
    // What the block says of the module's objects, by object (when its
    // description was read again): those it vouches for.
    std::unordered_map<int, const Object*> before;
    const bool reused = known && !known->_Descriptions.empty() &&
                        known->_Descriptions[0] == ioWorkspace.FirstDescription(ioModule) &&
                        allSame(known->_Descriptions);
    if (reused)
    {
        ioModule._Descriptions = std::move(known->_Descriptions);
        ioModule._Includes = std::move(known->_Includes);
        ioModule._Command = known->_Command;
        ioModule._Directories = known->_Directories;
        ioModule._Objects = std::move(known->_Objects);
    }
    else if (ioModule._Changed = 1, ioWorkspace.ReadDescription(ioModule) != 0)
        return (ioModule._Broken = 1);
    else if (known)
        for (const Object& object : known->_Objects)
            if (!object._Build)
                before[object._Object] = &object;
    const bool commandSame = known && known->_Command == ioModule._Command;
    const bool dirsSame =
        known && known->_Directories == ioModule._Directories && allSame(ioModule._Directories);
    for (Object& object : ioModule._Objects)
    {
        const auto found = before.find(object._Object);
        const Object* old = reused ? (object._Build ? nullptr : &object)
                                   : (found == before.end() ? nullptr : found->second);
        object._Build = 0;
        const bool inputsSame =
            old && old->_Source == object._Source && same(object._Object) && allSame(old->_Inputs);
        if (inputsSame && commandSame && dirsSame)
        {
            if (old != &object)
                object._Inputs = old->_Inputs;
            continue;
        }
        const std::vector<int> previous = old ? old->_Inputs : std::vector<int>();
        // A source that cannot be read is reported; its compilation says more.
        ioModule._Changed = 1;
        if (ioIncludes.Find(ioModule, object) != 0)
            object._Inputs.assign(1, object._Source);
        object._Build = inputsSame && commandSame && object._Inputs == previous ? 0 : 1;
        // The stamps of the inputs as they are before any compilation.
        for (int id : object._Inputs)
            ioFiles.Current(id);
    }
    return 0;
}

// The absolute form of a path given on the command line.
std::string Absolute(const char* iPath)
{
    if (iPath[0] == '/')
        return iPath;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + iPath : std::string(iPath);
}

// The switches: 0, or the status of a usage error.
int Switches(zbGetopts& ioOptions, Engine& oEngine, std::string& oLevel, std::string& oOut)
{
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    oEngine._Jobs = processors > 0 ? static_cast<unsigned int>(processors) : 1;
    if (QORString* jobs = ioOptions.GetSwitchValue("j"))
    {
        char* end = nullptr;
        const long value = std::strtol(jobs->CastToCharPtr(), &end, 10);
        if (*end || value < 1 || value > 4096)
            return Usage(ioOptions, 2);
        oEngine._Jobs = static_cast<unsigned int>(value);
    }
    if (QORString* engine = ioOptions.GetSwitchValue("engine"))
    {
        const std::string name = engine->CastToCharPtr();
        if (name != "local" && name != "slurm")
            return Usage(ioOptions, 2);
        oEngine._Slurm = name == "slurm";
    }
    if (QORString* level = ioOptions.GetSwitchValue("level"))
        oLevel = Absolute(level->CastToCharPtr());
    if (QORString* out = ioOptions.GetSwitchValue("o"))
        oOut = Absolute(out->CastToCharPtr());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    zbGetopts options("zbwsbuild");
    options.AddSimpleSwitch("h", "print this help", 0);
    options.AddValuedSwitch("j", "compilations at a time (default: the processors)", 1);
    options.AddValuedSwitch("engine", "local, or slurm: each compilation a job step", 1);
    options.AddValuedSwitch("level", "the level file (default WS/TALVEXV5Level.lvl)", 1);
    options.AddValuedSwitch("o", "install the objects into this directory", 1);
    if (options.AnalyzeCommandLine(argc, const_cast<const char**>(argv), 0) != 0)
        return Usage(options, 2);
    if (options.GetSwitchStatus("h"))
        return Usage(options, 0);
    QORListValQORString* values = options.GetAllLineValues();
    Engine engine;
    std::string level, out;
    if (!values || values->Size() != 1)
        return Usage(options, 2);
    if (int status = Switches(options, engine, level, out))
        return status;
    char resolved[PATH_MAX];
    const char* ws = (*values)[1].CastToCharPtr();
    if (!realpath(ws, resolved))
        return zbReportSystemError(ws, errno);
    Files files(resolved);
    if (level.empty() && access((files.Root() + "/TALVEXV5Level.lvl").c_str(), F_OK) == 0)
        level = files.Root() + "/TALVEXV5Level.lvl";
    Workspace workspace(files, level, zbExtContext.OSBuildtime().CastToCharPtr());
    if (workspace.Discover() != 0)
        return 1;

    const std::string stateDir = files.Root() + "/Objects";
    const std::string blockPath = stateDir + "/zbwsbuild.blk";
    Record record;
    ReadRecord(blockPath, files, record);
    Includes includes(files, stateDir);
    int status = 0;
    for (Module& module : workspace.Modules())
        status |= Plan(workspace, files, record, includes, module);
    const int failed = Compile(workspace.Modules(), files, engine);
    status |= failed ? 1 : 0;
    // The block is written again when it would say something else: a
    // module that is new, gone, read again or looked at again.
    bool changed = record._Modules.size() != workspace.Modules().size();
    for (const Module& module : workspace.Modules())
        changed = changed || module._Changed;
    if (changed && (zbCreateDirectory(stateDir.c_str()) != 0 ||
                    WriteRecord(blockPath, RecordText(workspace.Modules(), files)) != 0))
        status = 1;
    std::vector<int> built;
    int objects = 0;
    for (const Module& module : workspace.Modules())
        for (const Object& object : module._Objects)
        {
            ++objects;
            if (object._Build == 2)
                built.push_back(object._Object);
        }
    zbStdout << "zbwsbuild: " << objects << " objects, " << static_cast<int>(built.size())
             << " compiled, " << failed << " failed\n";
    if (!out.empty() && Install(workspace, files, out, built) != 0)
        status = 1;
    if (zbStdout.Flush() != 0)
        status = 1;
    return status;
}
