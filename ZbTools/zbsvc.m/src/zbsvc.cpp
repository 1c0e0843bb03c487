// zbsvc: the command-line front end of the services library, one verb per
// everyday job of the tool family.
//
// A verb is one row of the table below (name, function, synopsis, one-line
// summary) and one source file.  Its function names a zbsvcOptions after
// itself, declares its switches on it, and hands its arguments to
// zbsvcAnalyze, which adds -h, reports a bad command line (exit 2) and
// answers -h (exit 0) from the verb's row:
//
//     int zbsvcFoo(int argc, char** argv)
//     {
//         zbsvcOptions options("zbsvc foo");
//         options.DeclareSwitch("all", "list everything");
//         options.DeclareValue("o", "FILE", "output file");
//         int status = zbsvcAnalyze(options, argc, argv, 1, -1);
//         if (status >= 0)
//             return status;
//         ... options.GetSwitchStatus("all"), options.GetSwitchValue("o"),
//         ... options.GetLineValue(index) for index from 1
//     }
//
// The usage, `zbsvc help VERB` and the manual page (`zbsvc --man`, written
// at build time) are all printed from the rows and the declared switches.

#include <cstring>
#include <string>
#include <vector>

#include "zbContext.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbsvcVerbs.h"

// Row numbers in the comments: the order of the usage and of the manual.
const zbsvcVerb zbsvcVerbs[] = {
    /*  1 */ {"context", zbsvcContext, "[-v]", "print the build context", nullptr},
    /*  2 */
    {"version", zbsvcVersion, "[-level DIR]", "compute and print the version of the product",
     nullptr},
    /*  3 */
    {"msg", zbsvcMsg, "[-k OUTERKEY] KEY [PARAM ...]", "print a catalog message under an outer key",
     nullptr},
    /*  4 */
    {"crc", zbsvcCrc, "[-method NAME] FILE ...", "print the CRC-32, size and name of files",
     nullptr},
    /*  5 */
    {"ls", zbsvcLs, "[-r] [-f | -d] [-x PATTERN ...] DIR ...",
     "list directories, recursively with -r (-f files, -d directories)", nullptr},
    /*  6 */ {"wschain", zbsvcWschain, "WS", "print the workspace chain of a workspace", nullptr},
    /*  7 */
    {"macros", zbsvcMacros, "[-solve] [-keep] [-dump] [-I DIR ...] [-level FILE] FILE ...",
     "read description files into a macro set and print it", nullptr},
    /*  8 */
    {"pp", zbsvcPp, "[-level FILE] [-nocheck] [-I DIR ...] [-expand] FILE",
     "print a description file preprocessed", nullptr},
    /*  9 */
    {"block", zbsvcBlock, "info|pack|unpack ARGUMENTS",
     "check, pack and unpack versioned block files", zbsvcBlockVerbs},
    /* 10 */
    {"hlist", zbsvcHlist, "[-subdir] -ws WS -o LISTFILE DIR ...",
     "write the header-list file of include directories of a workspace", nullptr},
    /* 11 */
    {"hmap", zbsvcHmap, "-o MAPFILE [+]WS=LISTFILE ...",
     "build a header map from header-list files", nullptr},
    /* 12 */
    {"find", zbsvcFind, "[-i] [-map MAPFILE] [-path DIR:DIR ...] [-names FILE] [-stdin] NAME ...",
     "print where names are found along directories and a header map", nullptr},
    /* 13 */
    {"mdf", zbsvcMdf, "[-strip] [-stats] FILE [SECTION ...]",
     "print the values of sections of an MDF V4 file", nullptr},
    /* 14 */
    {"shm", zbsvcShm, "serve|get|list ARGUMENTS",
     "publish files as blocks in shared memory, list and get them", zbsvcShmVerbs},
    /* 15 */
    {"rtv", zbsvcRtv, "merge|list ARGUMENTS", "merge runtime-view data files, list their elements",
     zbsvcRtvVerbs},
    /* 16 */
    {"patterns", zbsvcPatterns,
     "[-type N] [-filter data|sources|objects|all|preq] [-data] [-tests] [-sniff] [-fw DIR ...] "
     "[-mod M ...] [-os OS ...] [FLAG ...]",
     "print the pattern list of a filter and flags, optionally substituted", nullptr},
    /* 17 */
    {"treediff", zbsvcTreediff, "[-links 0|1|2] [-modes] [-keep] [-q] [-trace] A B",
     "compare two file trees (-q: status 1 when they differ)", nullptr},
    /* 18 */
    {"copytree", zbsvcCopytree, "[-links 0|1] [-trace] SRC DSTDIR",
     "copy a file tree, times, modes and links kept", nullptr},
    /* 19 */
    {"run", zbsvcRun,
     "[-engine local|slurm] [-partition P] [-j N] [-seq [-k]] [-jobserver on|off] [-time] [-f "
     "FILE] "
     "[--] [COMMAND ...]",
     "run shell commands N at a time, each output printed whole", nullptr},
    /* 20 */
    {"rtview", zbsvcRtview, "[-os OS ...] [-mod PATTERN ...] [-o OUT] FW",
     "print or write the runtime view a framework declares (one -os: strict, counted)", nullptr},
    /* 21 */
    {"modules", zbsvcModules, "[-os OS ...] [-type MASK] [-exp MASK] FW",
     "print the element names of a framework's merged runtime view", nullptr},
    /* 22 */
    {"installtype", zbsvcInstalltype, "FW ...", "print the install type of frameworks (0, 1 or 10)",
     nullptr},
    /* 23 */
    {"rtvstat", zbsvcRtvstat, "[-root DIR] [-o OUT] FW=DATAFILE ... | -list FILE [FW]",
     "record the size and time of installed runtime-view files, or list such a record", nullptr},
    /* 24 */
    {"lsdiff", zbsvcLsdiff, "[-text] [-prefix P] [-q] OLD NEW",
     "compare two file listings (-q: status 1 when they differ)", nullptr},
    /* 25 */
    {"help", zbsvcHelp, "[VERB [SUB-VERB]]", "print the usage of zbsvc or of a verb", nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

// ---------------------------------------------------------------- switches

namespace
{
// Stands for a lone "-" while the parser reads the line (the parser takes
// "-" for a switch); put back as "-" afterwards.
const char kStandardInput[] = "\x1f-";

void DeclareMainSwitches(zbsvcOptions& ioOptions)
{
    ioOptions.DeclareValue("xml", "FILE",
                           "also write every report to the XML trace FILE (new file)");
    ioOptions.DeclareValue("xmlappend", "FILE", "the same, appending to FILE");
    ioOptions.DeclareSwitch("--version", "print the version of zbsvc");
}

void DeclareHelp(zbsvcOptions& ioOptions)
{
    ioOptions.DeclareSwitch("h", "print this help");
    ioOptions.DeclareSwitch("--help", "print this help");
}

void PutBackStandardInput(QORListValQORString& ioValues)
{
    for (QORString& value : ioValues)
        if (value == kStandardInput)
            value = "-";
}
} // namespace

void zbsvcOptions::DeclareSwitch(const char* iName, const char* iHelp)
{
    AddSimpleSwitch(iName, iHelp, 1);
}

void zbsvcOptions::DeclareValue(const char* iName, const char* iValueName, const char* iHelp,
                                Need iNeed)
{
    AddValuedSwitch(iName, iHelp, 1);
    _ValueNames.Append(QORString(iName));
    _ValueNames.Append(QORString(iValueName));
    if (iNeed == Required)
        _Required.Append(QORString(iName));
}

void zbsvcOptions::GetValues(const char* iName, QORListPtrzbString& oValues)
{
    if (QORListValQORString* values = GetSwitchAllValues(iName))
        for (const QORString& value : *values)
            oValues.Append(new zbString(value));
}

const char* zbsvcOptions::MissingRequired()
{
    for (const QORString& name : _Required)
        if (!GetSwitchValue(name.CastToCharPtr()))
            return name.CastToCharPtr();
    return nullptr;
}

const zbGetoptsSwitchBase* zbsvcOptions::GetSwitch(int iIndex) const
{
    return iIndex >= 1 && iIndex <= _ListOfSwitches.Size() ? _ListOfSwitches[iIndex] : nullptr;
}

const char* zbsvcOptions::GetValueName(const zbGetoptsSwitchBase& iSwitch) const
{
    for (int i = 1; i + 1 <= _ValueNames.Size(); i += 2)
        if (_ValueNames[i] == iSwitch.GetName())
            return _ValueNames[i + 1];
    return "VALUE";
}

int zbsvcOptions::Analyze(int argc, char** argv)
{
    std::string name = GetArgv0();
    std::vector<const char*> args;
    args.push_back(name.c_str());
    int end = 1, unknown = 0;
    for (; end < argc && std::strcmp(argv[end], "--") != 0; ++end)
    {
        // A long name is named whole (the parser would name its first
        // letter, '-').
        if (!std::strncmp(argv[end], "--", 2) && !IsASwitch(argv[end]))
        {
            zbStderr.Print("%s: unrecognized option '%s'\n", name.c_str(), argv[end]);
            unknown = 1;
            continue;
        }
        args.push_back(std::strcmp(argv[end], "-") ? argv[end] : kStandardInput);
    }
    int status = AnalyzeCommandLine(static_cast<int>(args.size()), args.data(), 0) | unknown;
    for (int i = end + 1; i < argc; ++i)
        _LineValues.Append(QORString(argv[i]));
    PutBackStandardInput(_LineValues);
    for (auto* option : _ListOfSwitches)
        if (auto* valued = dynamic_cast<zbGetoptsValuedSwitch*>(option))
            if (QORListValQORString* values = valued->GetAllValues())
                PutBackStandardInput(*values);
    return status;
}

const QORListValQORString& zbsvcOptions::LineValues()
{
    static const QORListValQORString none;
    const QORListValQORString* values = GetAllLineValues();
    return values ? *values : none;
}

int zbsvcAnalyze(zbsvcOptions& ioOptions, int argc, char** argv, int iMinValues, int iMaxValues)
{
    DeclareHelp(ioOptions);
    if (argc < 1 || !argv)
        return 2;
    if (ioOptions.Analyze(argc, argv) != 0)
        return zbsvcUsageError(ioOptions, nullptr);
    if (ioOptions.GetSwitchStatus("h") || ioOptions.GetSwitchStatus("--help"))
    {
        zbsvcPrintUsage(zbsvcOutput(), ioOptions);
        return 0;
    }
    QORListValQORString* values = ioOptions.GetAllLineValues();
    int count = values ? values->Size() : 0;
    if (count < iMinValues || (iMaxValues >= 0 && count > iMaxValues))
        return zbsvcUsageError(ioOptions, iMaxValues == 0 ? "expects no argument"
                                                          : "wrong number of arguments");
    if (const char* missing = ioOptions.MissingRequired())
        return zbsvcUsageError(ioOptions, (std::string("-") + missing + " is required").c_str());
    return -1;
}

// ---------------------------------------------------------------- main

namespace
{
// -xml FILE or -xmlappend FILE: every report of the run also goes to the
// XML trace FILE, closed with its closing lines however the run ends (at the
// end of the run, or by the handlers of the trapped signals).  -1 when the
// run goes on, else the exit status.
int StartXmlTrace(zbsvcOptions& ioOptions)
{
    QORListValQORString* create = ioOptions.GetSwitchAllValues("xml");
    QORListValQORString* append = ioOptions.GetSwitchAllValues("xmlappend");
    int count = (create ? create->Size() : 0) + (append ? append->Size() : 0);
    if (!count)
        return -1;
    if (count > 1)
        return zbsvcUsageError(ioOptions, "one XML trace file at most (-xml or -xmlappend, once)");
    zbExtContext.TrapSignals();
    int isAppend = append && append->Size() ? 1 : 0;
    QORString name = isAppend ? (*append)[1] : (*create)[1];
    // Failures (keys file, opening) are reported by the trace manager.
    return zbExtContext.SetXmlFileName(&name, "zbsvc", isAppend) ? -1 : 1;
}

const zbsvcVerb* FindVerb(const zbsvcVerb* iTable, const char* iName)
{
    for (const zbsvcVerb* verb = iTable; verb->_Name; ++verb)
        if (!std::strcmp(iName, verb->_Name))
            return verb;
    return nullptr;
}

int Run(int argc, char** argv)
{
    zbsvcOptions options("zbsvc");
    DeclareHelp(options);
    DeclareMainSwitches(options);
    // What the build writes beside zbsvc, hidden from the usage.
    if (argc == 2 && !std::strcmp(argv[1], "--man"))
        return zbsvcPrintManual(zbsvcOutput(), options);
    if (argc == 2 && !std::strcmp(argv[1], "--completion"))
        return zbsvcPrintCompletion(zbsvcOutput(), options);
    if (argc == 3 && !std::strcmp(argv[1], "--env-script"))
    {
        zbsvcPrintEnvironmentScript(zbsvcOutput(), argv[2]);
        return 0;
    }
    // The switches before the verb are zbsvc's own; a valued one takes the
    // next argument with it; "--" ends them.
    int first = 1, analyzed = -1;
    while (first < argc && argv[first][0] == '-' && std::strcmp(argv[first], "-"))
    {
        if (!std::strcmp(argv[first], "--"))
        {
            analyzed = first++;
            break;
        }
        first += options.IsASwitch(argv[first]) == 2 ? 2 : 1;
    }
    if (first > argc)
        first = argc;
    if (analyzed < 0)
        analyzed = first;
    if (options.Analyze(analyzed, argv) != 0)
        return zbsvcUsageError(options, nullptr);
    if (options.GetSwitchStatus("h") || options.GetSwitchStatus("--help"))
    {
        zbsvcPrintTableUsage(zbsvcOutput(), "zbsvc", zbsvcVerbs, &options);
        return 0;
    }
    if (options.GetSwitchStatus("--version"))
    {
        zbsvcPrint("zbsvc %s\n", ZBSVC_VERSION);
        return 0;
    }
    if (first >= argc)
        return zbsvcUsageError(options, "expects a verb");
    const zbsvcVerb* found = FindVerb(zbsvcVerbs, argv[first]);
    if (!found)
    {
        std::string text = std::string("unknown verb '") + argv[first] + "'";
        return zbsvcUsageError(options, text.c_str());
    }
    int status = StartXmlTrace(options);
    if (status >= 0)
        return status;
    return found->_Run(argc - first, argv + first);
}
} // namespace

int zbsvcRunTable(const char* iProgram, const zbsvcVerb* iTable, int argc, char** argv)
{
    zbsvcOptions options(iProgram);
    DeclareHelp(options);
    if (argc >= 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")))
    {
        zbsvcPrintTableUsage(zbsvcOutput(), iProgram, iTable, nullptr);
        return 0;
    }
    if (argc < 2)
        return zbsvcUsageError(options, "expects a sub-verb");
    if (const zbsvcVerb* found = FindVerb(iTable, argv[1]))
        return found->_Run(argc - 1, argv + 1);
    std::string text = std::string("unknown sub-verb '") + argv[1] + "'";
    return zbsvcUsageError(options, text.c_str());
}

// zbsvc help [VERB [SUB-VERB]]: the usage of zbsvc, of a verb or of a
// sub-verb, printed by the verb itself as for -h.
int zbsvcHelp(int argc, char** argv)
{
    zbsvcOptions options("zbsvc help");
    int status = zbsvcAnalyze(options, argc, argv, 0, 2);
    if (status >= 0)
        return status;
    QORListValQORString* names = options.GetAllLineValues();
    if (!names || !names->Size())
    {
        zbsvcOptions main("zbsvc");
        DeclareHelp(main);
        DeclareMainSwitches(main);
        zbsvcPrintTableUsage(zbsvcOutput(), "zbsvc", zbsvcVerbs, &main);
        return 0;
    }
    const zbsvcVerb* verb = FindVerb(zbsvcVerbs, (*names)[1]);
    const zbsvcVerb* sub = verb && verb->_SubVerbs && names->Size() == 2
                               ? FindVerb(verb->_SubVerbs, (*names)[2])
                               : nullptr;
    if (!verb || (names->Size() == 2 && !sub))
    {
        std::string text =
            std::string("no verb '") + (*names)[1].CastToCharPtr() +
            (names->Size() == 2 ? std::string(" ") + (*names)[2].CastToCharPtr() : "") + "'";
        return zbsvcUsageError(options, text.c_str());
    }
    std::vector<char*> args;
    args.push_back(const_cast<char*>(verb->_Name));
    if (sub)
        args.push_back(const_cast<char*>(sub->_Name));
    args.push_back(const_cast<char*>("-h"));
    return verb->_Run(static_cast<int>(args.size()), args.data());
}

int main(int argc, char** argv)
{
    zbsvcWatchOutput();
    return zbsvcFinish(Run(argc, argv));
}
