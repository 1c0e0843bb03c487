// zbsvc run [-engine local|slurm] [-partition P] [-j N] [-seq [-k]] [-time]
// [-f FILE] [--] [COMMAND ...]: one shell command per argument (and per
// line of FILE, "-" for standard input, that is neither blank nor a "#"
// comment), run by the library's runner with N at a time (default: the
// number of processors), each command's standard output printed whole to
// standard output when it ends, its standard error to standard error.
// -engine slurm runs each command as a job step of one allocation of N
// tasks on the cluster srun finds, after one check that the cluster
// answers; -partition names its partition.  The run takes part in make's
// jobserver, or serves one to its commands (-jobserver off: neither).  -seq is
// the runner with one slot, stopping at the first failure unless -k (-k
// alone is a usage error: a parallel run always goes on).  -time prints the
// global timing block at the end.
//
// Each failed command is named in one report after its output ("Action I
// failed with status S: COMMAND"); then, when any failed, the report "N of
// M actions failed" and status 1.  On a terminal, standard error carries
// one status line "[finished/total, failed F, running R]", redrawn in
// place below the outputs and erased at the end; never when it is not a
// terminal.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "zbActionIntf.h"
#include "zbClock.h"
#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbGetopts.h"
#include "zbMultiProcessing.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbRunMonitor.h"
#include "zbShellAction.h"
#include "zbSlurmAction.h"
#include "zbSlurmAllocation.h"
#include "zbsvcVerbs.h"

namespace
{

// The status line of a terminal.  It is drawn after the outputs; when an
// output did not end its last line, the line is drawn below it so that
// erasing never takes printed text with it.
class StatusLine : public zbRunMonitor
{
  public:
    void BeforeOutput() override { Erase(); }
    void AfterOutput(const char* iCapturedFile) override
    {
        zbScopedFd fd(iCapturedFile ? zbOpenFd(iCapturedFile, O_RDONLY) : -1);
        char last = '\n';
        off_t size = fd.IsOpen() ? ::lseek(fd.Get(), 0, SEEK_END) : 0;
        if (size > 0 && ::pread(fd.Get(), &last, 1, size - 1) == 1)
            _AtLineStart = last == '\n';
    }
    void Progress(const Counts& iCounts) override
    {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\r[%d/%d, failed %d, running %d]\033[K", _AtLineStart ? "" : "\n",
                     iCounts._Finished, iCounts._Total, iCounts._Failed, iCounts._Running);
        std::fflush(stderr);
        _AtLineStart = true;
        _Shown = true;
    }
    void Erase()
    {
        if (!_Shown)
            return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        _Shown = false;
    }

  private:
    bool _Shown = false;
    bool _AtLineStart = true;
};

// The commands: the arguments, then the lines of the file that are
// neither blank nor comments (first non-blank "#").
int AddFileLines(const char* iFile, std::vector<std::string>& ioCommands)
{
    std::string content;
    int rc = zbReadFile(iFile, content);
    if (rc)
        return zbReportSystemError(iFile, rc);
    size_t start = 0;
    while (start < content.size())
    {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        size_t first = content.find_first_not_of(" \t\r", start);
        if (first < end && content[first] != '#')
            ioCommands.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}

int Usage(const zbsvcOptions& iOptions, const char* iProblem)
{
    return zbsvcUsageError(iOptions, iProblem);
}
// What the command line asks for.
struct Settings
{
    std::vector<std::string> _Commands;
    long _Jobs = 0;
    bool _Slurm = false;
    bool _Sequential = false;
    bool _KeepGoing = false;
    bool _Time = false;
    int _Jobserver = zbMultiProcessingOptions::JobserverJoinOrServe;
    std::string _Partition;
};

// The settings from the command line: -1, or the status to end with (2
// after a usage error, 1 after a report).
int ReadSettings(zbsvcOptions& ioOptions, int argc, char** argv, Settings& oSettings)
{
    // "--" ends the switches; "-f -" names standard input (the option
    // parser takes no value that starts with '-').
    std::vector<char*> switches;
    static char standardInput[] = "/dev/stdin";
    int first = argc;
    for (int i = 0; i < argc; ++i)
    {
        if (i > 0 && std::string(argv[i]) == "--")
        {
            first = i + 1;
            break;
        }
        bool isStdin = i > 0 && std::string(argv[i]) == "-" && std::string(argv[i - 1]) == "-f";
        switches.push_back(isStdin ? standardInput : argv[i]);
    }
    ioOptions.DeclareValue("engine", "E", "local (default) or slurm: where the commands run");
    ioOptions.DeclareValue("partition", "P", "with -engine slurm, the cluster's partition");
    ioOptions.DeclareValue("j", "N", "number of commands run at a time (default: processors)");
    ioOptions.DeclareSwitch("k", "with -seq, go on after a failure");
    ioOptions.DeclareSwitch("seq", "one command after the other, stopping at the first failure");
    ioOptions.DeclareSwitch("time", "print the global timing block at the end");
    ioOptions.DeclareValue("jobserver", "on|off",
                           "off: neither join make's jobserver nor serve one (default: on)");
    ioOptions.DeclareValue("f", "FILE", "file of commands, one per line (- for standard input)");
    int status = zbsvcAnalyze(ioOptions, static_cast<int>(switches.size()), switches.data(), 0, -1);
    if (status >= 0)
        return status;

    oSettings._Jobs = ::sysconf(_SC_NPROCESSORS_ONLN);
    if (QORString* value = ioOptions.GetSwitchValue("j"))
    {
        char* end = nullptr;
        oSettings._Jobs = std::strtol(value->CastToCharPtr(), &end, 10);
        if (!value->Length() || *end || oSettings._Jobs < 1 || oSettings._Jobs > 4096)
            return Usage(ioOptions, "-j expects a number from 1 to 4096");
    }
    std::vector<std::string>& commands = oSettings._Commands;
    if (QORListValQORString* values = ioOptions.GetAllLineValues())
        for (const QORString& value : *values)
            commands.push_back(value.Std());
    for (int i = first; i < argc; ++i)
        commands.push_back(argv[i]);
    if (QORString* file = ioOptions.GetSwitchValue("f"))
        if (AddFileLines(file->CastToCharPtr(), commands))
            return 1;
    if (commands.empty() && !ioOptions.GetSwitchValue("f"))
        return Usage(ioOptions, "no command to run");
    if (QORString* engine = ioOptions.GetSwitchValue("engine"))
    {
        oSettings._Slurm = engine->Std() == "slurm";
        if (!oSettings._Slurm && engine->Std() != "local")
            return Usage(ioOptions, "-engine expects local or slurm");
    }
    oSettings._Sequential = ioOptions.GetSwitchStatus("seq") != 0;
    oSettings._KeepGoing = ioOptions.GetSwitchStatus("k") != 0;
    oSettings._Time = ioOptions.GetSwitchStatus("time") != 0;
    if (oSettings._KeepGoing && !oSettings._Sequential)
        return Usage(ioOptions, "-k goes with -seq (a parallel run always goes on)");
    if (QORString* value = ioOptions.GetSwitchValue("jobserver"))
    {
        if (value->Std() != "on" && value->Std() != "off")
            return Usage(ioOptions, "-jobserver expects on or off");
        if (value->Std() == "off")
            oSettings._Jobserver = zbMultiProcessingOptions::JobserverOff;
    }
    if (QORString* partition = ioOptions.GetSwitchValue("partition"))
    {
        if (!oSettings._Slurm)
            return Usage(ioOptions, "-partition needs -engine slurm");
        oSettings._Partition = partition->Std();
    }
    return -1;
}
} // namespace

int zbsvcRun(int argc, char** argv)
{
    zbsvcOptions options("zbsvc run");
    Settings settings;
    if (int status = ReadSettings(options, argc, argv, settings); status >= 0)
        return status;
    const std::vector<std::string>& commands = settings._Commands;
    const bool slurm = settings._Slurm, sequential = settings._Sequential;
    const long jobs = settings._Jobs;

    std::vector<zbShellAction*> owned;
    QORListPtrzbActionIntf actions;
    for (const std::string& command : commands)
    {
        zbSlurmAction* onCluster = slurm ? new zbSlurmAction() : nullptr;
        if (onCluster && !settings._Partition.empty())
            onCluster->SetPartition(settings._Partition.c_str());
        owned.push_back(onCluster ? onCluster : new zbShellAction());
        owned.back()->SetCommand(command.c_str());
        actions.Append(owned.back());
    }
    // A cluster that does not answer is one failure, before any action;
    // then one allocation for the run, each action a step of it.
    zbSlurmAllocation allocation;
    if (slurm && !commands.empty())
    {
        const zbSlurmAction& first = *static_cast<zbSlurmAction*>(owned.front());
        const int slots = static_cast<int>(
            std::min<long>(sequential ? 1 : jobs, static_cast<long>(commands.size())));
        if (zbSlurmAction::CheckCluster(first.GetPartition(), 15) ||
            allocation.Acquire(first.GetPartition(), slots, first.GetExtraArguments()))
        {
            for (zbShellAction* action : owned)
                action->Release();
            return 1;
        }
        for (zbShellAction* action : owned)
            static_cast<zbSlurmAction*>(action)->SetAllocation(allocation.GetJobId().c_str());
    }
    StatusLine statusLine;
    zbRunMonitor* monitor = ::isatty(2) ? &statusLine : nullptr;
    // One slot for -seq: the same runner, stopping at the first failure.
    zbMultiProcessingOptions run;
    run._ThroughTraceManager = zbExtContext.GetXml();
    run._Monitor = monitor;
    run._ReportFailures = 1;
    run._SeparateStderr = 1;
    run._StopAtFirstFailure = sequential && !settings._KeepGoing;
    run._Jobserver = settings._Jobserver;
    // srun needs time to cancel its step with the controller.
    run._StopGraceMs = slurm ? 5000 : run._StopGraceMs;
    int failures =
        zbMultiProcessing(actions, sequential ? 1 : static_cast<unsigned int>(jobs), run);
    statusLine.Erase();
    for (zbShellAction* action : owned)
        action->Release();

    if (failures)
    {
        std::fflush(stdout);
        zbReportMessage("zbsvc.run.Failed",
                        {QORUnicodeString(std::to_string(failures).c_str()),
                         QORUnicodeString(std::to_string(commands.size()).c_str())});
    }
    if (settings._Time)
        zbStopWatchStarter.ClockOut(zbClock::Global, "", "");
    if (std::fflush(stdout) != 0)
        return 1;
    return failures ? 1 : 0;
}
