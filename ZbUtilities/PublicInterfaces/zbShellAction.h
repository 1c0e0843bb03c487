#ifndef zbShellAction_H
#define zbShellAction_H
// The action the library ships: a shell command, run as "/bin/sh -c
// COMMAND" in a child process.  Registered with the component model under
// its class name, so zbActionFactory("zbShellAction") creates one.
//
// A command the shell would only split into words and start (nothing but
// letters, digits, blanks and "%+,-./:@_", "=" past the first word; a
// first word that is no reserved word or builtin of the shell; no working
// directory asked for, PWD naming the current one) runs without it: its
// first word is searched in PATH as the shell would.  When that program
// cannot be started (not found, not executable, a script without "#!"),
// the shell runs the command after all and gives its own message and
// status (127 for a command not found).
//
// The child's standard output and error go to the files named by
// SetStdoutFile and SetStderrFile (one descriptor for both when the names
// are equal).  Those files must not exist yet: they are created with
// O_EXCL|O_NOFOLLOW and mode 0600, so a file or symbolic link planted at a
// temporary name makes the start fail with a report instead of being
// written through.  The child is started by zbSpawn (zbSpawn.h): the
// signal mask of the process before a runner blocked its signals, and no
// descriptor of the library (every one is close-on-exec).

#include <string>

#include "zbActionIntf.h"
#include "zbActionLine.h"

class zbShellAction : public zbActionIntf
{
    QOR_DECLARE_CLASS(zbShellAction)

  public:
    zbShellAction() = default;

    // The command: its whole form (static and dynamic parts) is what runs.
    zbActionLine& GetCommandLine() { return _Command; }
    void SetCommand(const char* iCommand);

    // Spawns the child; 0 with its pid in ProcessHandle, or 1 after a
    // report (an output file that cannot be created, a failed spawn).  With
    // Verbose the command is printed first as "+ COMMAND".
    int Start(int& ProcessHandle, int Verbose) override;
    const char* GetDescription() const override { return _Command; }
    int SetWorkingDirectory(const char* iDirectory) override;
    void SetOwnProcessGroup(const int iOwn) override { _OwnGroup = iOwn; }
    const char* GetStdoutFile() const override;
    const char* GetStderrFile() const override;
    void ResetOutputFiles() override;
    void SetStdoutFile(const char* FileName) override;
    void SetStderrFile(const char* FileName) override;

  protected:
    ~zbShellAction() override;

    // What Start does once the command line is known: creates the capture
    // files, spawns iProgram (searched in PATH when it has no '/') with the
    // null-terminated iArgv, the working directory and process group asked
    // for; when that fails and iShellArgv is given, /bin/sh with iShellArgv
    // instead.  0 with the pid in ProcessHandle, or 1 after a report (a
    // failed spawn is reported by SpawnFailed).
    int SpawnCaptured(const char* iProgram, const char* const* iArgv, int& ProcessHandle,
                      const char* const* iShellArgv = nullptr);
    // The report of a spawn that failed with iErrno (1).
    virtual int SpawnFailed(const char* iProgram, int iErrno);

  private:
    zbActionLine _Command;
    std::string _StdoutFile;
    std::string _StderrFile;
    std::string _Directory;
    int _OwnGroup = 0;
};

#endif
