#include "zbShellAction.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbOFStream.h"
#include "zbReport.h"

extern char** environ;

QOR_IMPLEMENT_CLASS(zbShellAction, zbActionIntf)

namespace
{
const char kShell[] = "/bin/sh";

// A capture file of our own: never an existing file, never through a link.
int CreateCaptureFile(const std::string& iName, zbScopedFd& oFd)
{
    oFd.Reset(zbOpenFd(iName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
    return oFd.IsOpen() ? 0 : zbReportSystemError(iName.c_str(), errno);
}

// File actions and attributes of one spawn, released on every path.
class SpawnSetup
{
  public:
    SpawnSetup()
    {
        _ActionsReady = ::posix_spawn_file_actions_init(&_Actions) == 0;
        _AttrReady = ::posix_spawnattr_init(&_Attr) == 0;
    }
    ~SpawnSetup()
    {
        if (_ActionsReady)
            ::posix_spawn_file_actions_destroy(&_Actions);
        if (_AttrReady)
            ::posix_spawnattr_destroy(&_Attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // 0, or the error number of the first step that failed.
    int Prepare(int iStdout, int iStderr, const std::string& iDirectory, int iOwnGroup)
    {
        if (!_ActionsReady || !_AttrReady)
            return ENOMEM;
        int rc = 0;
        auto step = [&rc](int iResult)
        {
            if (!rc)
                rc = iResult;
        };
        // The dup2 clears close-on-exec on the child's copy only.
        if (iStdout >= 0)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iStdout, 1));
        if (iStderr >= 0)
            step(::posix_spawn_file_actions_adddup2(&_Actions, iStderr, 2));
        if (iOwnGroup)
            step(::posix_spawn_file_actions_addopen(&_Actions, 0, "/dev/null", O_RDONLY, 0));
        if (!iDirectory.empty())
            step(::posix_spawn_file_actions_addchdir_np(&_Actions, iDirectory.c_str()));
        // The runners block some signals while they work: the command must
        // not inherit that.
        sigset_t none;
        sigemptyset(&none);
        step(::posix_spawnattr_setsigmask(&_Attr, &none));
        short flags = POSIX_SPAWN_SETSIGMASK;
        if (iOwnGroup)
        {
            flags |= POSIX_SPAWN_SETPGROUP;
            step(::posix_spawnattr_setpgroup(&_Attr, 0));
        }
        step(::posix_spawnattr_setflags(&_Attr, flags));
        return rc;
    }

    posix_spawn_file_actions_t _Actions;
    posix_spawnattr_t _Attr;

  private:
    bool _ActionsReady = false;
    bool _AttrReady = false;
};
} // namespace

zbShellAction::~zbShellAction() = default;

void zbShellAction::SetCommand(const char* iCommand)
{
    _Command.SetStaticPart(iCommand ? iCommand : "");
}

int zbShellAction::SetWorkingDirectory(const char* iDirectory)
{
    _Directory = iDirectory ? iDirectory : "";
    return 0;
}

const char* zbShellAction::GetStdoutFile() const
{
    return _StdoutFile.empty() ? nullptr : _StdoutFile.c_str();
}

const char* zbShellAction::GetStderrFile() const
{
    return _StderrFile.empty() ? nullptr : _StderrFile.c_str();
}

void zbShellAction::ResetOutputFiles()
{
    _StdoutFile.clear();
    _StderrFile.clear();
}

void zbShellAction::SetStdoutFile(const char* FileName)
{
    _StdoutFile = FileName ? FileName : "";
}

void zbShellAction::SetStderrFile(const char* FileName)
{
    _StderrFile = FileName ? FileName : "";
}

int zbShellAction::Start(int& ProcessHandle, int Verbose)
{
    ProcessHandle = 0;
    if (Verbose)
        zbStdout.Print("+ %s\n", static_cast<const char*>(_Command));
    // "--": a command that starts with "-" is not taken for an option.
    const char* argv[] = {"sh", "-c", "--", _Command, nullptr};
    return SpawnCaptured(kShell, argv, ProcessHandle);
}

int zbShellAction::SpawnCaptured(const char* iProgram, const char* const* iArgv, int& ProcessHandle)
{
    ProcessHandle = 0;
    zbScopedFd out, err;
    if (!_StdoutFile.empty() && CreateCaptureFile(_StdoutFile, out))
        return 1;
    if (!_StderrFile.empty() && _StderrFile != _StdoutFile && CreateCaptureFile(_StderrFile, err))
    {
        ::unlink(_StdoutFile.c_str()); // ours: created just now
        return 1;
    }
    int errFd = err.IsOpen() ? err.Get() : (_StderrFile.empty() ? -1 : out.Get());

    SpawnSetup setup;
    int rc = setup.Prepare(out.Get(), errFd, _Directory, _OwnGroup);
    pid_t pid = 0;
    if (!rc)
        rc = ::posix_spawnp(&pid, iProgram, &setup._Actions, &setup._Attr,
                            const_cast<char* const*>(iArgv), environ);
    if (rc)
        return SpawnFailed(iProgram, rc);
    ProcessHandle = static_cast<int>(pid);
    return 0;
}

int zbShellAction::SpawnFailed(const char* iProgram, int iErrno)
{
    return zbReportSystemError(iProgram, iErrno);
}
