#include "zbShellAction.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbSpawn.h"

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
    zbSpawnRequest request;
    request._Program = iProgram;
    request._Argv = iArgv;
    request._Stdout = out.Get();
    request._Stderr = err.IsOpen() ? err.Get() : (_StderrFile.empty() ? -1 : out.Get());
    request._Directory = _Directory.c_str();
    request._OwnGroup = _OwnGroup;
    pid_t pid = 0;
    if (int rc = zbSpawn(request, pid))
        return SpawnFailed(iProgram, rc);
    ProcessHandle = static_cast<int>(pid);
    return 0;
}

int zbShellAction::SpawnFailed(const char* iProgram, int iErrno)
{
    return zbReportSystemError(iProgram, iErrno);
}
