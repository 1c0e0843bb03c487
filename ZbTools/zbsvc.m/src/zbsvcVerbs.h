#ifndef zbsvcVerbs_H
#define zbsvcVerbs_H
// The verbs of zbsvc.  Each takes the arguments after the verb name (argv[0]
// is the verb) and returns the exit status: 0 success, 1 a failure reported
// through the library's reporting, 2 a usage error.  How a verb declares its
// switches: see the note at the top of zbsvc.cpp.

#include <cstdio>
#include <string>

#include "zbGetopts.h"
#include "zbString.h"

// The project's version, given by the build.
#ifndef ZBSVC_VERSION
#define ZBSVC_VERSION "0.0.0"
#endif

class zbFileElement;
class zbOFStream;
class zbPPMacLev;
class QORUnicodeString;

// One row of a verb table: the name, what runs it, the synopsis of its
// arguments (values named FILE, DIR, A.B.C...), and what it does in one
// line.  A verb made of sub-verbs (block info|pack|unpack) has its own table
// of the same shape in _SubVerbs.  The usage, `zbsvc help` and the manual
// page are printed from the rows: a verb's texts live there only.
struct zbsvcVerb
{
    const char* _Name;
    int (*_Run)(int argc, char** argv);
    const char* _Synopsis;
    const char* _Summary;
    const zbsvcVerb* _SubVerbs;
};

// The table of zbsvc's verbs, in the order the usage lists them; the block
// sub-verbs.  Both end with a row whose name is null.
extern const zbsvcVerb zbsvcVerbs[];
extern const zbsvcVerb zbsvcBlockVerbs[];
extern const zbsvcVerb zbsvcShmVerbs[];
extern const zbsvcVerb zbsvcRtvVerbs[];

int zbsvcContext(int argc, char** argv);
int zbsvcMacros(int argc, char** argv);
int zbsvcLs(int argc, char** argv);
int zbsvcWschain(int argc, char** argv);
int zbsvcBlock(int argc, char** argv);
int zbsvcMsg(int argc, char** argv);
int zbsvcCrc(int argc, char** argv);
int zbsvcVersion(int argc, char** argv);
int zbsvcPp(int argc, char** argv);
int zbsvcHlist(int argc, char** argv);
int zbsvcHmap(int argc, char** argv);
int zbsvcFind(int argc, char** argv);
int zbsvcMdf(int argc, char** argv);
int zbsvcShm(int argc, char** argv);
int zbsvcRtv(int argc, char** argv);
int zbsvcPatterns(int argc, char** argv);
int zbsvcTreediff(int argc, char** argv);
int zbsvcCopytree(int argc, char** argv);
int zbsvcRun(int argc, char** argv);
int zbsvcRtview(int argc, char** argv);
int zbsvcModules(int argc, char** argv);
int zbsvcInstalltype(int argc, char** argv);
int zbsvcRtvstat(int argc, char** argv);
int zbsvcLsdiff(int argc, char** argv);
int zbsvcHelp(int argc, char** argv);

// The switches of a verb, declared on the library's option parser, with
// the name of each switch's value for the usage ("-level FILE").
class zbsvcOptions : public zbGetopts
{
  public:
    explicit zbsvcOptions(const char* iProgramName) : zbGetopts(iProgramName) {}
    void DeclareSwitch(const char* iName, const char* iHelp);
    // A valued switch; a required one missing is a usage error
    // ("-o is required"), said by zbsvcAnalyze.
    enum Need
    {
        Optional,
        Required
    };
    void DeclareValue(const char* iName, const char* iValueName, const char* iHelp,
                      Need iNeed = Optional);

    // Switch number iIndex (from 1) in declaration order, null past the last.
    const zbGetoptsSwitchBase* GetSwitch(int iIndex) const;
    // The value name of a valued switch ("VALUE" when none was given).
    const char* GetValueName(const zbGetoptsSwitchBase& iSwitch) const;
    static bool IsValued(const zbGetoptsSwitchBase& iSwitch)
    {
        return dynamic_cast<const zbGetoptsValuedSwitch*>(&iSwitch) != nullptr;
    }
    // Analyses argv[0..argc) (argv[0] replaced by the program name); the
    // arguments after a "--" are line values, never switches.
    int Analyze(int argc, char** argv);
    // The line values, an empty list when there are none.
    const QORListValQORString& LineValues();
    // The values of a valued switch, a list of new strings (the caller
    // deletes them), empty when it was not given.
    void GetValues(const char* iName, QORListPtrzbString& oValues);
    // The first required valued switch not given, or null.
    const char* MissingRequired();

  private:
    QORListValQORString _ValueNames; // switch name, value name, ...
    QORListValQORString _Required;
};

// Analyses the arguments of a verb (argv[0] is the verb) against the
// switches declared in ioOptions, after declaring -h and --help; between
// iMinValues and iMaxValues line values are expected (iMaxValues < 0: no
// limit), and every required switch.  Returns -1 when the verb goes on,
// otherwise the exit status: 0 after printing the usage for -h, 2 after a
// bad command line.
int zbsvcAnalyze(zbsvcOptions& ioOptions, int argc, char** argv, int iMinValues, int iMaxValues);
// The same for a verb that selects runtime-view elements: -type MASK and
// -exp MASK declared, then read (each a number, or tag codes and names
// joined by commas; every tag when not given).
int zbsvcAnalyzeMasks(zbsvcOptions& ioOptions, int argc, char** argv, int iMinValues,
                      int iMaxValues, int& oTypeMask, int& oExposureMask);

// A usage error: "PROGRAM: iText" (when given: the option parser has
// said what was wrong otherwise), then "Try 'zbsvc help VERB'.", on
// standard error; returns 2.  Every usage error of zbsvc goes through here.
int zbsvcUsageError(const zbsvcOptions& iOptions, const char* iText);

// The usage of the verb that iOptions was made for (its row is found by the
// program name, "zbsvc block pack"), or of a verb table.
void zbsvcPrintUsage(zbOFStream& oStream, const zbsvcOptions& iOptions);
void zbsvcPrintTableUsage(zbOFStream& oStream, const char* iProgram, const zbsvcVerb* iTable,
                          const zbsvcOptions* iOptions);
// Runs the row of iTable named by argv[1] with the arguments after it
// (argv[0] is the verb whose table it is); -h, --help and a missing or
// unknown name are answered from the table.
int zbsvcRunTable(const char* iProgram, const zbsvcVerb* iTable, int argc, char** argv);

// The manual page of zbsvc (roff) and its bash completion, from the tables
// and each verb's switches: every verb and sub-verb is run with -h while
// a row printer takes what its usage would print.
int zbsvcPrintManual(zbOFStream& oStream, const zbsvcOptions& iMainOptions);
int zbsvcPrintCompletion(zbOFStream& oStream, const zbsvcOptions& iMainOptions);
using zbsvcRowPrinter = void (*)(zbOFStream& oStream, const std::string& iPath,
                                 const zbsvcVerb& iRow, const zbsvcOptions& iOptions);
void zbsvcForEachVerb(zbsvcRowPrinter iPrinter);

// The environment variables the library reads, for the usage of zbsvc and
// for the manual page; the environment script of a tree installed in
// iPrefix (PREFIX/share/zbzb/env.sh), which sets the mandatory ones.
void zbsvcPrintEnvironment(zbOFStream& oStream);
void zbsvcPrintManualEnvironment(zbOFStream& oStream);
void zbsvcPrintEnvironmentScript(zbOFStream& oStream, const char* iPrefix);

// Verbs report through zbReport.h, the library's one way.
// The outcome of reading a file whose first line is a magic (one of
// zbRTViewData::ReadResult): 0, or 1 after the report; iKind names
// the catalog keys KIND.EmptyFile, KIND.BadFirstLine and KIND.LongRecord
// ("zbRTViewData").
int zbsvcCheckRead(int iResult, const char* iPath, const char* iKind, const char* iMagic);

// "-" names standard input wherever a verb reads a file: the name to open
// instead (a descriptor holding everything read from standard input, read
// once), or the argument itself.  Null after a report when standard input
// cannot be read.
const char* zbsvcInputName(const char* iArgument);
// ---------------------------------------------------------------- output
// Standard output: every verb writes through these calls, never through
// printf, fwrite or descriptor 1.  They fill one buffer (a line at a time
// on a terminal), sent when it is full, before anything is written to
// standard error (a report comes after the lines printed before it) and
// at the end of the run.  The first write that fails is kept, reported once
// at the end ("zbsvc: standard output: TEXT") and makes the status 1: a
// verb never reports it itself, and may ask zbsvcOutputError() to stop
// early.
//
//     zbsvcPuts(path);
//     zbsvcPutc('\n');
//     zbsvcPrint("%08x %llu %s\n", crc, size, name);
//     set.Dump(zbsvcOutput());   // a printer of the library
//
// zbsvcWrite, zbsvcPuts and zbsvcPutc are inline: a verb may print
// millions of lines.
inline void zbsvcWrite(const char* iData, size_t iCount)
{
    fwrite_unlocked(iData, 1, iCount, stdout);
}
inline void zbsvcPuts(const char* iText)
{
    fputs_unlocked(iText, stdout);
}
inline void zbsvcPutc(char iChar)
{
    putc_unlocked(iChar, stdout);
}
void zbsvcPrint(const char* iFormat, ...) __attribute__((format(printf, 1, 2)));
// The same output as a stream of the library, for its printers (Dump,
// Print, PrintStats), which take one: what they print goes into the same
// buffer, in order.
zbOFStream& zbsvcOutput();
// The errno of the first failed write to standard output, 0 while none.
int zbsvcOutputError();
// Sends what the buffer holds: 0, or the errno of the first failed write.
int zbsvcFlushOutput();
// Sets the writer up (first thing in main).  Standard output and standard
// error become streams of zbsvc's (fileno gives -1 for them: descriptors 1
// and 2 are still the process's, for a child process for instance).
void zbsvcWatchOutput();

// The end of every run: flushes and checks standard output and standard
// error, closes the XML trace and checks that every write to it succeeded.
// A failure is reported in one line and makes the status 1.
int zbsvcFinish(int iStatus);

// -type MASK and -exp MASK, the selection of runtime-view elements by type
// and exposure: declared on a verb's options, then read after zbsvcAnalyze
// (each a number, or tag codes and names joined by commas; every tag when
// not given).  -1 when the verb goes on, else 2 after a usage error.
void zbsvcDeclareMasks(zbsvcOptions& ioOptions);
int zbsvcGetMasks(zbsvcOptions& ioOptions, int& oTypeMask, int& oExposureMask);

// The -links switch of copytree and treediff (its values, as "0|1", and
// their help).
void zbsvcDeclareLinkSwitch(zbsvcOptions& ioOptions, const char* iLinkValues,
                            const char* iLinkHelp);
// Reads -links (0 to iMaxLinkMode, 1 when absent) into oLinkMode and makes
// file elements walk through links to directories with 0 only (otherwise
// they are kept as links).  0, or 2 after a usage error.
int zbsvcGetLinkSwitch(zbsvcOptions& ioOptions, int iMaxLinkMode, int& oLinkMode);
// Expands the tree of ioRoot (iPath on the command line) whole: 0, or 1
// after the report naming the directory that could not be read, and why.
int zbsvcExpandTree(zbFileElement& ioRoot, const char* iPath);

// Loads a level file for the preprocessor (pp, macros -level); 0, or 1
// after a report.
int zbsvcLoadLevels(zbPPMacLev& ioLevels, const char* iLevelFile);

#endif
