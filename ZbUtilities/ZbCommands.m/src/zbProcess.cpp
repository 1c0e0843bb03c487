#include "zbProcess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "zbActionIntf.h"
#include "zbCatFile.h"
#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbInternalError.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
const char kSource[] = "ZbUtilities/ZbCommands.m/src/zbProcess";

// Removes a temporary file; one that no longer exists is no error.
void RemoveTemporary(const char* iName)
{
    if (iName && ::unlink(iName) != 0 && errno != ENOENT)
        zbRecordErrno(errno);
}

void FlushThroughTraceManager(const char* iName, FILE* iStream, int iToConsole)
{
    QORUnicodeString text;
    if (zbCatFileToUnicodeStringForMsg(iName, text))
    {
        zbReportLastError(iName);
        return;
    }
    if (iToConsole)
        ConvertToConsole(text);
    zbExtContext.GetTraceMngr()->Print(iStream, text);
}
} // namespace

int zbExitStatusOf(int iWaitStatus)
{
    if (WIFSIGNALED(iWaitStatus))
        return 128 + WTERMSIG(iWaitStatus);
    return (iWaitStatus >> 8) & 0xFF;
}

zbProcess::~zbProcess()
{
    Reset();
    ResetTempIO();
}

void zbProcess::SetTempIO(const char* PathName, const char* PrefixString)
{
    ResetTempIO();
    if (!PathName || !PrefixString)
        return;
    if ((_StdoutTmpIO = ::tempnam(PathName, PrefixString)) == nullptr)
        zbInternalError("( _StdoutTmpIO = tempnam( PathName, PrefixString ) ) != NULL", kSource,
                        __LINE__, 1);
    _StderrTmpIO = _StdoutTmpIO;
}

void zbProcess::SetTempIO(const char* PathName, const char* StdoutPrefixString,
                          const char* StderrPrefixString)
{
    ResetTempIO();
    if (!PathName)
        return;
    if (StdoutPrefixString && (_StdoutTmpIO = ::tempnam(PathName, StdoutPrefixString)) == nullptr)
        zbInternalError("( _StdoutTmpIO = tempnam( PathName, StdoutPrefixString ) ) != NULL",
                        kSource, __LINE__, 1);
    if (StderrPrefixString && (_StderrTmpIO = ::tempnam(PathName, StderrPrefixString)) == nullptr)
        zbInternalError("( _StderrTmpIO = tempnam( PathName, StderrPrefixString ) ) != NULL",
                        kSource, __LINE__, 1);
}

void zbProcess::FlushTempIOToStream()
{
    if (_StdoutTmpIO)
    {
        zbStdout.CatFile(_StdoutTmpIO, 8);
        zbExtLastError.SetErrno(zbStdout.GetErrno());
    }
    if (_StderrTmpIO && _StderrTmpIO != _StdoutTmpIO)
    {
        zbStderr.CatFile(_StderrTmpIO, 8);
        zbExtLastError.SetErrno(zbStderr.GetErrno());
    }
}

void zbProcess::FlushTempIO(const int ToConsole)
{
    if (_StdoutTmpIO)
        FlushThroughTraceManager(_StdoutTmpIO, stdout, ToConsole);
    if (_StderrTmpIO && _StderrTmpIO != _StdoutTmpIO)
        FlushThroughTraceManager(_StderrTmpIO, stderr, ToConsole);
}

int zbProcess::Create(zbActionIntf* Action, const int Verbose)
{
    if (_Active)
        return -1;
    _ExitStatus = -1;
    if (!Action)
        return -1;
    _ProcessHandle = 0;
    if (_StdoutTmpIO)
        Action->SetStdoutFile(_StdoutTmpIO);
    if (_StderrTmpIO)
        Action->SetStderrFile(_StderrTmpIO);
    int result = Action->Start(_ProcessHandle, Verbose);
    _ExitStatus = result;
    if (result != 0)
        return result;
    if (_ProcessHandle >= 1)
        _Active = 1;
    return 0;
}

int* zbProcess::GetProcessHandle()
{
    return &_ProcessHandle;
}

int zbProcess::StillActive(int& Status, int Options)
{
    if (_Active)
    {
        int st = 0;
        pid_t reaped;
        // An interrupted wait says nothing about the child: ask again.
        while ((reaped = ::waitpid(_ProcessHandle, &st, Options)) < 0 && errno == EINTR)
            ;
        if (reaped < 0)
        {
            _ExitStatus = -1;
            _Active = 0;
            _ProcessHandle = 0;
        }
        else if (reaped == _ProcessHandle)
        {
            _Active = 0;
            _ProcessHandle = 0;
            _ExitStatus = zbExitStatusOf(st);
        }
    }
    Status = _ExitStatus;
    return _Active;
}

int zbProcess::Wait(int& Status, int Options)
{
    return StillActive(Status, Options);
}

void zbProcess::Reset()
{
    _Active = 0;
    _ExitStatus = -1;
    _ProcessHandle = 0;
}

void zbProcess::ResetTempIO()
{
    RemoveTemporary(_StdoutTmpIO);
    if (_StderrTmpIO && _StderrTmpIO != _StdoutTmpIO)
    {
        RemoveTemporary(_StderrTmpIO);
        std::free(_StderrTmpIO);
    }
    std::free(_StdoutTmpIO);
    _StdoutTmpIO = nullptr;
    _StderrTmpIO = nullptr;
}
