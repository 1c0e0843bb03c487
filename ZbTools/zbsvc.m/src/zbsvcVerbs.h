#ifndef zbsvcVerbs_H
#define zbsvcVerbs_H
// The verbs of zbsvc.  Each takes the arguments after the verb name (argv[0]
// is the verb) and returns the exit status: 0 success, 1 a failure reported
// through the trace manager, 2 a usage error.  How a verb declares its
// switches: see the note at the top of zbsvc.cpp.

class zbGetopts;
class zbPPMacLev;

struct zbsvcVerb
{
    const char* _Name;
    int (*_Run)(int argc, char** argv);
    const char* _Summary;
};

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

// Reporting for the verbs, through the library's reporting: the message
// under "zbzbError"; a system error of iObject ("systError", iErrno stored in
// zbExtLastError, EIO when it is 0).  Both return 1, the failure status.
class QORUnicodeString;
int zbsvcReportError(const QORUnicodeString& iMessage);
int zbsvcReportSystemError(const char* iObject, int iErrno);

// The table, in the order the usage lists them; ends with a null name.
extern const zbsvcVerb zbsvcVerbs[];

// Analyses the arguments of a verb (argv[0] is the verb, replaced by the
// name given to ioOptions) against the switches declared in ioOptions, after
// declaring -h and --help.  iArguments names the line values for the usage
// ("IN OUT"); between iMinValues and iMaxValues of them are expected
// (iMaxValues < 0: no limit).  Returns -1 when the verb goes on, otherwise
// the exit status: 0 after printing the usage for -h, 2 after a bad command
// line (the parser's diagnostic, then the usage on standard error).
int zbsvcAnalyze(zbGetopts& ioOptions, int argc, char** argv, const char* iArguments,
                 int iMinValues, int iMaxValues);

// Loads a level file for the preprocessor (pp, macros -level); 0, or 1
// after a report.
int zbsvcLoadLevels(zbPPMacLev& ioLevels, const char* iLevelFile);

#endif
