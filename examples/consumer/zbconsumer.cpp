// zbconsumer [-xml TRACE] -o FILE TEXT: a small tool built against the
// installed library, the way another project of the family uses it.  It
// parses its switches with the option parser, reports through the trace
// manager (also into the XML trace TRACE with -xml), and runs two actions:
// a shell command line that writes TEXT into FILE, then a program that
// prints FILE.  Exit status: 0 success, 1 a reported failure, 2 usage.

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "zbContext.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbReport.h"

extern char** environ;

namespace
{
// One action of a run: what it is called in reports and the program it
// runs with its arguments.  A shell action runs its line through /bin/sh.
struct Action
{
    const char* _Name;
    std::vector<std::string> _Argv;
};

// Runs an action as a child process and waits for it; 0 when it ends with
// status 0, else 1, reported.
int RunAction(const Action& iAction)
{
    std::vector<char*> argv;
    for (const std::string& word : iAction._Argv)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error)
        return zbReportSystemError(argv[0], error);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return zbReportSystemError(argv[0], errno);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return 0;
    std::string text = std::string("zbconsumer: action ") + iAction._Name + " failed (" +
                       (WIFEXITED(status) ? "status " + std::to_string(WEXITSTATUS(status))
                                          : "signal " + std::to_string(WTERMSIG(status))) +
                       ")";
    return zbReportText(QORUnicodeString(text.c_str()));
}

int Usage(zbGetopts& iOptions, int iStatus)
{
    zbOFStream& stream = iStatus ? zbStderr : zbStdout;
    iOptions.Usage(stream);
    stream.Print("   arguments: TEXT\n");
    return iStatus;
}
} // namespace

int main(int argc, char** argv)
{
    zbGetopts options("zbconsumer");
    options.AddSimpleSwitch("h", "print this help", 0);
    options.AddValuedSwitch("xml", "also write every report to the XML trace file", 1);
    options.AddValuedSwitch("o", "file the first action writes and the second prints", 1);
    if (options.AnalyzeCommandLine(argc, const_cast<const char**>(argv), 0) != 0)
        return Usage(options, 2);
    if (options.GetSwitchStatus("h"))
        return Usage(options, 0);
    QORString* output = options.GetSwitchValue("o");
    QORListValQORString* values = options.GetAllLineValues();
    if (!output || !values || values->Size() != 1)
        return Usage(options, 2);
    if (QORString* trace = options.GetSwitchValue("xml"))
    {
        zbExtContext.TrapSignals();
        if (!zbExtContext.SetXmlFileName(trace, "zbconsumer", 0))
            return 1;
    }

    const std::string text = (*values)[1].CastToCharPtr();
    const std::string file = output->CastToCharPtr();
    const Action actions[] = {
        {"write", {"/bin/sh", "-c", "printf '%s\\n' \"$1\" >\"$2\"", "sh", text, file}},
        {"print", {"cat", file}},
    };
    for (const Action& action : actions)
        if (RunAction(action))
            return 1;
    return 0;
}
