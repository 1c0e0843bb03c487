#ifndef zbTestSupport_H
#define zbTestSupport_H
// Helpers shared by the suites: temporary directories, files, capture of a
// standard stream, and programs run as children with a chosen environment.
// It also brings in the test framework and the standard and system headers
// the suites use, so that each suite includes only what it tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace zbtest
{
// A fresh directory under /tmp, removed with everything in it at destruction.
class TempDir
{
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return _Path; }
    std::string operator/(const std::string& iName) const { return _Path + "/" + iName; }

  private:
    std::string _Path;
};

// A TempDir that is TMPDIR too while it lives, so that the temporary names
// of the code under test land in it (tempnam prefers TMPDIR to the
// directory it is given).  Entries() lists what is left in it, one a line.
// Entries(iDir): the names in a directory, hidden ones included, sorted.
std::string Entries(const std::string& iDir);
struct TmpDirScope : TempDir
{
    TmpDirScope() { ::setenv("TMPDIR", Path().c_str(), 1); }
    ~TmpDirScope() { ::unsetenv("TMPDIR"); }
    std::string Entries() const { return zbtest::Entries(Path()); }
};

// Writes iContent at iPath, making the missing directories above it first.
void WriteFile(const std::string& iPath, const std::string& iContent);
// mkdir -p: every directory of iPath that is missing.
void MakeDirs(const std::string& iPath);
std::string ReadFile(const std::string& iPath);

// Redirects a standard stream (1 or 2) into a temporary file until Stop().
class Capture
{
  public:
    explicit Capture(int iFd);
    ~Capture();
    std::string Stop();

  private:
    int _Fd;
    int _Saved;
    std::string _File;
    bool _Active;
};

struct ChildResult
{
    int _Exited = 0;   // 1 when the child exited normally
    int _Status = -1;  // exit status when it exited
    int _Signal = 0;   // signal number when it was killed
    int _TimedOut = 0; // 1 when it outlived its time and was killed (SIGKILL)
    std::string _Out;  // standard output
    std::string _Err;  // standard error
};

// Environment changes for a child: a value sets the variable; an entry in
// the unset list removes it.
struct ChildEnvironment
{
    std::map<std::string, std::string> _Set;
    std::vector<std::string> _Unset;
};

// Runs iArgv (iArgv[0] is the program path) with the test's environment
// changed by iEnv, optional standard input, optional working directory;
// waits for it and collects its output.  iKillAfterMs > 0 sends iSignal to
// the child after that many milliseconds.  A child still running after
// iTimeoutMs is killed with SIGKILL and marked _TimedOut: a hang fails the
// test that ran it instead of the whole program.
ChildResult Run(const std::vector<std::string>& iArgv, const ChildEnvironment& iEnv = {},
                const std::string& iStdin = "", const std::string& iWorkDir = "",
                int iKillAfterMs = 0, int iSignal = 0, int iTimeoutMs = 120000);

// Runs iArgv as Run does, in a process group of its own; once iReady()
// answers true (asked every millisecond or so), sends iSignal to the child,
// or to its whole group when iToGroup (as a terminal sends ^C), then
// collects it.  A child that ends first is collected without a signal.
ChildResult RunSignalledWhenReady(const std::vector<std::string>& iArgv,
                                  const ChildEnvironment& iEnv, const std::function<bool()>& iReady,
                                  int iSignal, bool iToGroup = false, int iTimeoutMs = 120000);

// The whole outcome of a child as one text, for one comparison: the exit
// status (or "signal N", or "timed out"), then "|" and the standard output, then "|" and the
// standard error.
std::string Outcome(const ChildResult& iResult);

// Runs the built zbsvc with iArgs, optional environment changes and standard input.
ChildResult Zbsvc(const std::vector<std::string>& iArgs, const ChildEnvironment& iEnv = {},
                  const std::string& iStdin = "");

// Sets (or with null, unsets) an environment variable of this process for
// one scope; the old value comes back at its end.
class ScopedEnv
{
  public:
    ScopedEnv(const char* iName, const char* iValue);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string _Name, _Old;
    bool _Had = false;
};

// Number of System V shared-memory segments created by process iCreator
// that still exist (also those removed but still attached somewhere).
int SegmentsCreatedBy(int iCreator);

// The configuration of a Slurm cluster that answers: SLURM_CONF, else the
// one of scripts/slurm-local.sh; "" when there is none or its node is not
// up (busy is fine: the local cluster's partition is oversubscribed).
std::string LocalSlurmConf();

std::string Program(const std::string& iName);
std::string SourcePath(const std::string& iRelative);
} // namespace zbtest

#endif
