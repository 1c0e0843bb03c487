// zbconsumer [-xml TRACE] -o FILE TEXT: a small tool built against the
// installed library, the way another project of the family uses it.  It
// parses its switches with the option parser, reports through the trace
// manager (also into the XML trace TRACE with -xml), and runs two of the
// library's shell actions: one writes TEXT into FILE, the other prints
// FILE.  Exit status: 0 success, 1 a reported failure, 2 usage.

#include <string>

#include "zbContext.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbProcess.h"
#include "zbReport.h"
#include "zbShellAction.h"

namespace
{
// One action of a run: what it is called in reports and its command line.
struct Action
{
    const char* _Name;
    std::string _Command;
};

// Runs an action as the library's shell action, waited for by a process
// object; 0 when it ends with status 0, else 1, reported.
int RunAction(const Action& iAction)
{
    zbShellAction* action = new zbShellAction();
    action->SetCommand(iAction._Command.c_str());
    zbProcess process;
    int status = 1;
    if (process.Create(action, 0) == 0)
        process.Wait(status, 0);
    action->Release();
    if (status == 0)
        return 0;
    std::string text = std::string("zbconsumer: action ") + iAction._Name + " failed (status " +
                       std::to_string(status) + ")";
    return zbReportText(QORUnicodeString(text.c_str()));
}

// A word quoted for /bin/sh.
std::string Quoted(const std::string& iWord)
{
    std::string quoted = "'";
    for (char c : iWord)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
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
        {"write", "printf '%s\\n' " + Quoted(text) + " >" + Quoted(file)},
        {"print", "cat " + Quoted(file)},
    };
    for (const Action& action : actions)
        if (RunAction(action))
            return 1;
    return 0;
}
