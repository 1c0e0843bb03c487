// zbsvc run [-engine local|slurm] [-partition P] [-j N] [-k] [-seq] [-time]
// [-f FILE] [--] [COMMAND ...]: one shell command per argument (and per
// non-empty line of FILE, "-" for standard input), run with N at a time
// (default: the number of processors), each command's output printed whole
// when it ends.  -engine slurm runs each command as a job step of the
// cluster srun finds (N is then the number of jobs kept in the cluster at
// once) after one check that the cluster answers; -partition names its
// partition.  -seq
// runs them one after the other as a script, stopping at the first failure
// unless -k.  -time prints the global timing block at the end.
//
// Status 0 when every command succeeded, else the report "N of M actions
// failed" and 1.  On a terminal, standard error carries one status line
// "[finished/total, failed F, running R]", redrawn in place below the
// outputs and erased at the end; never when it is not a terminal.

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
#include "zbInstruction.h"
#include "zbMultiProcessing.h"
#include "zbOFStream.h"
#include "zbProcess.h"
#include "zbReport.h"
#include "zbRunMonitor.h"
#include "zbScript.h"
#include "zbShellAction.h"
#include "zbSlurmAction.h"
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

// How a finished command's captured output is printed: through the trace
// manager when there is an XML trace (it gets the text too), else copied
// byte for byte.
void PrintCaptured(zbProcess& ioProcess)
{
    if (zbExtContext.GetXml())
        ioProcess.FlushTempIO(0);
    else
        ioProcess.FlushTempIOToStream();
}

// One step of a sequential run: the command to its end, output captured
// and printed as in a parallel run; its result is the command's status.
class SequentialStep : public zbActionIntf
{
  public:
    SequentialStep(zbActionIntf* iCommand, zbRunMonitor* iMonitor, zbRunMonitor::Counts& ioCounts)
        : _Command(iCommand), _Monitor(iMonitor), _Counts(ioCounts)
    {
    }
    int Start(int& ProcessHandle, int Verbose) override
    {
        ProcessHandle = 0;
        zbProcess process;
        process.SetTempIO(zbExtContext.GetTempPath(), "zbOutErr");
        ++_Counts._Running;
        if (_Monitor)
            _Monitor->Progress(_Counts);
        int status = process.Create(_Command, Verbose);
        if (status == 0)
            process.Wait(status, 0);
        if (_Monitor)
            _Monitor->BeforeOutput();
        PrintCaptured(process);
        --_Counts._Running;
        ++_Counts._Finished;
        _Counts._Failed += status != 0;
        if (_Monitor)
        {
            _Monitor->AfterOutput(process.GetStdoutTmpIO());
            _Monitor->Progress(_Counts);
        }
        return status;
    }
    void SetStdoutFile(const char*) override {}
    void SetStderrFile(const char*) override {}

  protected:
    ~SequentialStep() override = default;

  private:
    zbActionIntf* _Command;
    zbRunMonitor* _Monitor;
    zbRunMonitor::Counts& _Counts;
};

int RunSequentially(const QORListPtrzbActionIntf& iCommands, int iKeepGoing, zbRunMonitor* iMonitor)
{
    zbRunMonitor::Counts counts;
    counts._Total = iCommands.Size();
    std::vector<SequentialStep*> steps;
    std::vector<zbInstruction*> instructions;
    zbScript script;
    if (iKeepGoing)
        script.SetContinueOnError();
    for (zbActionIntf* command : iCommands)
    {
        steps.push_back(new SequentialStep(command, iMonitor, counts));
        instructions.push_back(new zbInstruction(*steps.back(), nullptr, nullptr));
        steps.back()->Release(); // the instruction holds it
        script.AppendInstruction(*instructions.back());
    }
    int failures = script.Execute(zbExtContext._Verbose);
    for (zbInstruction* instruction : instructions)
        delete instruction;
    return failures;
}

// The commands: the arguments, then the non-empty lines of the file.
int AddFileLines(const char* iFile, std::vector<std::string>& ioCommands)
{
    std::string content;
    int rc = zbReadFile(iFile, content);
    if (rc)
        return zbsvcReportSystemError(iFile, rc);
    size_t start = 0;
    while (start < content.size())
    {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        if (end > start)
            ioCommands.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}

int Usage(const zbsvcOptions& iOptions, const char* iProblem)
{
    return zbsvcUsageError(iOptions, iProblem);
}
} // namespace

int zbsvcRun(int argc, char** argv)
{
    // "--" ends the switches; "-f -" names standard input (the option
    // parser takes no value that starts with '-').
    std::vector<char*> switches;
    std::vector<std::string> commands;
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
    zbsvcOptions options("zbsvc run");
    options.DeclareValue("engine", "E", "local (default) or slurm: where the commands run");
    options.DeclareValue("partition", "P", "with -engine slurm, the cluster's partition");
    options.DeclareValue("j", "N", "number of commands run at a time (default: processors)");
    options.DeclareSwitch("k", "with -seq, go on after a failure");
    options.DeclareSwitch("seq", "one command after the other, as a script");
    options.DeclareSwitch("time", "print the global timing block at the end");
    options.DeclareValue("f", "FILE", "file of commands, one per line (- for standard input)");
    int status = zbsvcAnalyze(options, static_cast<int>(switches.size()), switches.data(), 0, -1);
    if (status >= 0)
        return status;

    long jobs = ::sysconf(_SC_NPROCESSORS_ONLN);
    if (QORString* value = options.GetSwitchValue("j"))
    {
        char* end = nullptr;
        jobs = std::strtol(value->CastToCharPtr(), &end, 10);
        if (!value->Length() || *end || jobs < 1 || jobs > 4096)
            return Usage(options, "-j expects a number from 1 to 4096");
    }
    if (QORListValQORString* values = options.GetAllLineValues())
        for (const QORString& value : *values)
            commands.push_back(value.Std());
    for (int i = first; i < argc; ++i)
        commands.push_back(argv[i]);
    if (QORString* file = options.GetSwitchValue("f"))
        if (AddFileLines(file->CastToCharPtr(), commands))
            return 1;
    if (commands.empty() && !options.GetSwitchValue("f"))
        return Usage(options, "no command to run");
    bool slurm = false;
    if (QORString* engine = options.GetSwitchValue("engine"))
    {
        slurm = engine->Std() == "slurm";
        if (!slurm && engine->Std() != "local")
            return Usage(options, "-engine expects local or slurm");
    }
    QORString* partition = options.GetSwitchValue("partition");
    if (partition && !slurm)
        return Usage(options, "-partition needs -engine slurm");

    std::vector<zbShellAction*> owned;
    QORListPtrzbActionIntf actions;
    for (const std::string& command : commands)
    {
        zbSlurmAction* onCluster = slurm ? new zbSlurmAction() : nullptr;
        if (onCluster && partition)
            onCluster->SetPartition(partition->CastToCharPtr());
        owned.push_back(onCluster ? onCluster : new zbShellAction());
        owned.back()->SetCommand(command.c_str());
        actions.Append(owned.back());
    }
    // A cluster that does not answer is one failure, before any action.
    if (slurm && !commands.empty() &&
        zbSlurmAction::CheckCluster(static_cast<zbSlurmAction*>(owned.front())->GetPartition(), 15))
    {
        for (zbShellAction* action : owned)
            action->Release();
        return 1;
    }
    StatusLine statusLine;
    zbRunMonitor* monitor = ::isatty(2) ? &statusLine : nullptr;
    int failures = 0;
    if (options.GetSwitchStatus("seq"))
        failures = RunSequentially(actions, options.GetSwitchStatus("k"), monitor);
    else
    {
        zbMultiProcessingOptions run;
        run._ThroughTraceManager = zbExtContext.GetXml();
        run._Monitor = monitor;
        failures = zbMultiProcessing(actions, static_cast<unsigned int>(jobs), run);
    }
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
    if (options.GetSwitchStatus("time"))
        zbStopWatchStarter.ClockOut(zbClock::Global, "", "");
    if (std::fflush(stdout) != 0)
        return 1;
    return failures ? 1 : 0;
}
