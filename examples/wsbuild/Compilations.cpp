// The compilations of a run: one shell action per object (a job step of
// the cluster with -engine slurm), started in the workspace root with the
// module's command, "-c SOURCE -o OBJECT" after it, and run by the
// library's parallel runner, which prints each one's output whole when it
// ends.  An object is removed before its compilation, so that it exists
// afterwards exactly when its compilation succeeded.

#include <string>

#include "zbActionFactory.h"
#include "zbDirectories.h"
#include "zbFileOperations.h"
#include "zbMultiProcessing.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbShellAction.h"
#include "zbSlurmAction.h"
#include "wsbuild.h"

namespace
{
// The one place a run meets the runner: what it is told besides the
// actions and the number of slots.
int RunActions(const QORListPtrzbActionIntf& iActions, const Engine& iEngine)
{
    zbMultiProcessingOptions options;
    return zbMultiProcessing(iActions, iEngine._Jobs, options);
}

struct Compilation
{
    Object* _Object;
    zbActionIntf* _Action;
};

// The actions of the objects to build, their objects removed and their
// directories made; the compilations are printed.  0, or 1 after a report.
int Prepare(std::vector<Module>& ioModules, Files& ioFiles, const Engine& iEngine,
            std::vector<Compilation>& oCompilations)
{
    const char* actionClass = iEngine._Slurm ? "zbSlurmAction" : "zbShellAction";
    for (Module& module : ioModules)
    {
        int made = 0;
        for (Object& object : module._Objects)
        {
            if (object._Build != 1)
                continue;
            const std::string objectPath = ioFiles.Absolute(object._Object);
            if (!made++ &&
                zbCreateDirectory((ioFiles.Root() + "/" + module._Dir + "/Objects").c_str()))
                return zbReportLastError((module._Dir + "/Objects").c_str());
            if (zbRemoveFile(objectPath.c_str(), 0) != 0)
                return zbReportLastError(objectPath.c_str());
            zbActionIntf* action = zbActionFactory(actionClass);
            zbShellAction* shell = dynamic_cast<zbShellAction*>(action);
            if (!shell)
                return 1;
            oCompilations.push_back({&object, action});
            const std::string& source = ioFiles.Path(object._Source);
            shell->SetCommand(
                (module._Command + " -c " + source + " -o " + ioFiles.Path(object._Object))
                    .c_str());
            if (shell->SetWorkingDirectory(ioFiles.Root().c_str()) != 0)
                return 1;
            zbStdout << "compile " << source.c_str() << '\n';
        }
    }
    return 0;
}
} // namespace

int Compile(std::vector<Module>& ioModules, Files& ioFiles, const Engine& iEngine)
{
    int wanted = 0;
    for (const Module& module : ioModules)
        for (const Object& object : module._Objects)
            wanted += object._Build == 1;
    if (!wanted)
        return 0;
    if (iEngine._Slurm && zbSlurmAction::CheckCluster("", 30) != 0)
        return wanted;
    std::vector<Compilation> compilations;
    const int prepared = Prepare(ioModules, ioFiles, iEngine, compilations);
    QORListPtrzbActionIntf actions;
    for (const Compilation& compilation : compilations)
        actions.Append(compilation._Action);
    zbStdout.Flush();
    if (prepared == 0)
        RunActions(actions, iEngine);
    int failed = 0;
    for (const Compilation& compilation : compilations)
    {
        compilation._Action->Release();
        Object& object = *compilation._Object;
        ioFiles.Forget(object._Object);
        object._Build = prepared == 0 && ioFiles.Current(object._Object)._Time >= 0 ? 2 : 3;
        if (object._Build == 3 && prepared == 0)
        {
            ++failed;
            zbReportText(QORUnicodeString(
                ("zbwsbuild: " + ioFiles.Path(object._Source) + ": compilation failed").c_str()));
        }
    }
    if (prepared != 0)
        return wanted;
    if (failed)
        zbReportText(QORUnicodeString(("zbwsbuild: " + std::to_string(failed) + " of " +
                                       std::to_string(wanted) + " compilations failed")
                                          .c_str()));
    return failed;
}
