// zbsvc: the command-line front end of the services library, one verb per
// everyday job of the tool family.
//
// Switches of a verb.  A verb names a zbGetopts after itself, declares its
// switches on it, and hands its arguments to zbsvcAnalyze, which adds -h,
// reports a bad command line (exit 2) and answers -h (exit 0):
//
//     int zbsvcFoo(int argc, char** argv)
//     {
//         zbGetopts options("zbsvc foo");
//         options.AddSimpleSwitch("all", "list everything", 1);
//         options.AddValuedSwitch("o", "output file", 1);
//         int status = zbsvcAnalyze(options, argc, argv, "FILE...", 1, -1);
//         if (status >= 0)
//             return status;
//         ... options.GetSwitchStatus("all"), options.GetSwitchValue("o"),
//         ... options.GetLineValue(index) for index from 1
//     }
//
// Converting a verb that parses by hand touches only its own file: its row
// in the table below stays as it is.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbGetopts.h"
#include "zbOFStream.h"
#include "zbsvcVerbs.h"

const zbsvcVerb zbsvcVerbs[] = {
    {"context", zbsvcContext, "print the build context"},
    {"ls", zbsvcLs, "list directories, recursively with -r (-f files, -d directories)"},
    {"wschain", zbsvcWschain, "print the workspace chain of a workspace"},
    {"block", zbsvcBlock, "check, pack and unpack versioned block files"},
    {"msg", zbsvcMsg, "print a catalog message under an outer key"},
    {"crc", zbsvcCrc, "print the CRC-32, size and name of files"},
    {"pp", zbsvcPp, "preprocess a description file (-level, -nocheck, -I, -expand)"},
    {"hlist", zbsvcHlist, "write the header-list file of include directories of a workspace"},
    {"hmap", zbsvcHmap, "build a header map from header-list files"},
    {"find", zbsvcFind, "print where names are found along directories and a header map"},
    {"rtv", zbsvcRtv, "merge runtime-view data files, list their elements"},
    {"macros", zbsvcMacros, "read description files into a macro set and print it"},
    {"version", zbsvcVersion, "compute and print the version of the product"},
    {"mdf", zbsvcMdf, "print the values of sections of an MDF V4 file"},
    {"shm", zbsvcShm, "publish files as blocks in shared memory, list and get them"},
    {"treediff", zbsvcTreediff, "compare two file trees (-q: status 1 when they differ)"},
    {"copytree", zbsvcCopytree, "copy a file tree, times, modes and links kept"},
    {"patterns", zbsvcPatterns,
     "print the pattern list of a filter and flags, optionally substituted"},
    {"run", zbsvcRun, "run shell commands N at a time, each output printed whole"},
    {nullptr, nullptr, nullptr},
};

namespace
{
void PrintUsage(zbOFStream& oStream, const zbGetopts& iOptions, const char* iArguments)
{
    iOptions.Usage(oStream);
    if (iArguments && *iArguments)
        oStream.Print("   arguments: %s\n", iArguments);
}

// Analyses argv[0..argc) with the program name iOptions was given in place
// of argv[0].
int Analyze(zbGetopts& ioOptions, int argc, char** argv)
{
    std::string name = ioOptions.GetArgv0();
    std::vector<const char*> args(argv, argv + argc);
    args[0] = name.c_str();
    return ioOptions.AnalyzeCommandLine(argc, args.data(), 0);
}

void DeclareHelp(zbGetopts& ioOptions)
{
    ioOptions.AddSimpleSwitch("h", "print this help", 0);
    ioOptions.AddSimpleSwitch("--help", "print this help", 0);
}
} // namespace

int zbsvcAnalyze(zbGetopts& ioOptions, int argc, char** argv, const char* iArguments,
                 int iMinValues, int iMaxValues)
{
    DeclareHelp(ioOptions);
    if (argc < 1 || !argv)
        return 2;
    if (Analyze(ioOptions, argc, argv) != 0)
    {
        PrintUsage(zbStderr, ioOptions, iArguments);
        return 2;
    }
    if (ioOptions.GetSwitchStatus("h") || ioOptions.GetSwitchStatus("--help"))
    {
        PrintUsage(zbStdout, ioOptions, iArguments);
        return 0;
    }
    QORListValQORString* values = ioOptions.GetAllLineValues();
    int count = values ? values->Size() : 0;
    if (count < iMinValues || (iMaxValues >= 0 && count > iMaxValues))
    {
        zbStderr.Print("%s: expects %s%s\n", ioOptions.GetArgv0(),
                       iArguments && *iArguments ? "the arguments " : "no argument",
                       iArguments ? iArguments : "");
        PrintUsage(zbStderr, ioOptions, iArguments);
        return 2;
    }
    return -1;
}

static void Usage(zbOFStream& oStream, const zbGetopts& iOptions)
{
    PrintUsage(oStream, iOptions, "VERB [ARGUMENTS], VERB -h for the verb's own usage");
    oStream.Print("Verbs:\n");
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name; ++verb)
        oStream.Print("  %-10s %s\n", verb->_Name, verb->_Summary);
}

// -xml FILE or -xmlappend FILE: every report of the run also goes to the
// XML trace FILE, which is closed properly however the process ends (the
// context's destruction at exit, also after a fatal report or a trapped
// SIGINT or SIGTERM).  -1 when the run goes on, else the exit status.
static int StartXmlTrace(zbGetopts& ioOptions)
{
    QORListValQORString* create = ioOptions.GetSwitchAllValues("xml");
    QORListValQORString* append = ioOptions.GetSwitchAllValues("xmlappend");
    int count = (create ? create->Size() : 0) + (append ? append->Size() : 0);
    if (!count)
        return -1;
    if (count > 1)
    {
        zbStderr.Print("zbsvc: one XML trace file at most (-xml or -xmlappend, once)\n");
        Usage(zbStderr, ioOptions);
        return 2;
    }
    zbExtContext.TrapSignals();
    int isAppend = append && append->Size() ? 1 : 0;
    QORString name = isAppend ? (*append)[1] : (*create)[1];
    // Failures (keys file, opening) are reported by the trace manager.
    return zbExtContext.SetXmlFileName(&name, "zbsvc", isAppend) ? -1 : 1;
}

int main(int argc, char** argv)
{
    zbGetopts options("zbsvc");
    DeclareHelp(options);
    options.AddValuedSwitch("xml", "also write every report to the XML trace file (new file)", 1);
    options.AddValuedSwitch("xmlappend", "the same, appending to the file", 1);
    // The switches before the verb are zbsvc's own; a valued one takes the
    // next argument with it.
    int first = 1;
    while (first < argc && argv[first][0] == '-')
        first += options.IsASwitch(argv[first]) == 2 ? 2 : 1;
    if (first > argc)
        first = argc;
    if (Analyze(options, first, argv) != 0)
    {
        Usage(zbStderr, options);
        return 2;
    }
    if (options.GetSwitchStatus("h") || options.GetSwitchStatus("--help"))
    {
        Usage(zbStdout, options);
        return 0;
    }
    if (first >= argc)
    {
        Usage(zbStderr, options);
        return 2;
    }
    const zbsvcVerb* found = nullptr;
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name && !found; ++verb)
        if (!std::strcmp(argv[first], verb->_Name))
            found = verb;
    if (!found)
    {
        zbStderr.Print("zbsvc: unknown verb '%s'\n", argv[first]);
        Usage(zbStderr, options);
        return 2;
    }
    int status = StartXmlTrace(options);
    if (status >= 0)
        return status;
    return found->_Run(argc - first, argv + first);
}

int zbsvcReportError(const QORUnicodeString& iMessage)
{
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbError, stderr, iMessage);
    return 1;
}

int zbsvcReportSystemError(const char* iObject, int iErrno)
{
    zbExtLastError.SetErrno(iErrno ? iErrno : EIO);
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr, QORUnicodeString(iObject),
                                       zbExtLastError.GetMsgError());
    return 1;
}
