// The writer of standard output, standard input named "-", and the end of
// every run: a run whose output or trace was lost did not succeed.

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbMsgManager.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbTraceManager.h"
#include "zbsvcVerbs.h"

namespace
{
int sOutputErrno = 0; // first failure of a write to standard output
// The one buffer of standard output, of stdio's size: a library printer
// that builds its own pieces (64 KB) sends most of each on without a copy.  A
// static array: stdio may still send it while the process exits.
char sOutputBuffer[BUFSIZ];

// Standard output's writes, through which every writer goes (the verbs'
// calls, the library's zbStdout, the trace manager's console lines): the
// first failure is kept with its errno, which stdio itself forgets.
ssize_t WriteOutput(void*, const char* iData, size_t iCount)
{
    int error = zbWriteAll(1, iData, iCount);
    if (!error)
        return static_cast<ssize_t>(iCount);
    if (!sOutputErrno)
        sOutputErrno = error;
    errno = error;
    return -1;
}

// The writes of the library's stream of standard output (zbsvcOutput):
// into standard output's buffer, so that a printer of the library, which
// flushes its stream at each call, costs no write of its own.
ssize_t PassOutput(void*, const char* iData, size_t iCount)
{
    fwrite_unlocked(iData, 1, iCount, stdout);
    if (!ferror_unlocked(stdout))
        return static_cast<ssize_t>(iCount);
    errno = zbsvcOutputError();
    return -1;
}

// Standard error's writes: what standard output holds goes first, so that
// a report follows the lines printed before it.
ssize_t WriteError(void*, const char* iData, size_t iCount)
{
    std::fflush(stdout);
    if (int error = zbWriteAll(2, iData, iCount))
    {
        errno = error;
        return -1;
    }
    return static_cast<ssize_t>(iCount);
}

// Standard input copied once into an anonymous file, which every reader
// of the library can open, stat and map like any file.
int CopyStandardInput(std::string& oName)
{
    zbScopedFd copy(::memfd_create("standard input", MFD_CLOEXEC));
    if (!copy.IsOpen())
        return errno;
    char buffer[1 << 16];
    for (;;)
    {
        size_t count = 0;
        if (int error = zbReadAll(0, buffer, sizeof buffer, count))
            return error;
        if (count == 0)
            break;
        if (int error = zbWriteAll(copy.Get(), buffer, count))
            return error;
    }
    oName = "/proc/self/fd/" + std::to_string(copy.Release());
    return 0;
}
} // namespace

const char* zbsvcInputName(const char* iArgument)
{
    if (std::strcmp(iArgument, "-") != 0)
        return iArgument;
    static std::string name;
    static int error = -1;
    if (error < 0)
        error = CopyStandardInput(name);
    if (error)
    {
        zbReportSystemError("standard input", error);
        return nullptr;
    }
    return name.c_str();
}

void zbsvcWatchOutput()
{
    // Without them, the plain streams, whose failures say less.
    cookie_io_functions_t output = {nullptr, WriteOutput, nullptr, nullptr};
    cookie_io_functions_t error = {nullptr, WriteError, nullptr, nullptr};
    if (FILE* stream = ::fopencookie(nullptr, "w", output))
    {
        std::setvbuf(stream, sOutputBuffer, ::isatty(1) ? _IOLBF : _IOFBF, sizeof sOutputBuffer);
        stdout = stream;
    }
    if (FILE* stream = ::fopencookie(nullptr, "w", error))
    {
        std::setvbuf(stream, nullptr, _IONBF, 0);
        stderr = stream;
    }
}

int zbsvcOutputError()
{
    return sOutputErrno ? sOutputErrno : std::ferror(stdout) ? EIO : 0;
}

void zbsvcPrint(const char* iFormat, ...)
{
    va_list args;
    va_start(args, iFormat);
    std::vfprintf(stdout, iFormat, args);
    va_end(args);
}

zbOFStream& zbsvcOutput()
{
    static FILE* const pass = []
    {
        cookie_io_functions_t functions = {nullptr, PassOutput, nullptr, nullptr};
        FILE* stream = ::fopencookie(nullptr, "w", functions);
        if (stream)
            std::setvbuf(stream, nullptr, _IONBF, 0);
        return stream;
    }();
    static zbOFStream output(pass);
    return pass ? output : zbStdout;
}

int zbsvcFlushOutput()
{
    std::fflush(stdout);
    return zbsvcOutputError();
}

int zbsvcFinish(int iStatus)
{
    int status = iStatus;
    if (int error = zbsvcFlushOutput())
    {
        std::string text = std::string("zbsvc: standard output: ") + std::strerror(error);
        std::fprintf(stderr, "%s\n", text.c_str());
        zbExtContext.GetTraceMngr()->Print(MSG_KEY_zbzbError, nullptr,
                                           QORUnicodeString(text.c_str()));
        status = 1;
    }
    // The trace is closed here rather than at exit, so that a write that
    // failed or came short (a full device, a file-size limit) is reported.
    zbTraceManager* trace = zbExtContext.GetTraceMngr();
    if (trace->GetXmlFd() >= 0)
    {
        QORString name = trace->GetXmlFileName();
        int closeFailed = trace->CloseXmlFile();
        int error = trace->GetWriteError();
        if (error || closeFailed)
        {
            zbReportSystemError(name.CastToCharPtr(), error ? error : zbExtLastError.GetErrno());
            status = 1;
        }
    }
    // Reports made without their catalog said nothing of what happened
    // (the catalog's failure is on standard error).
    if (zbExtContext.GetMsgMngr()->CatalogFailed())
        status = 1;
    if (std::fflush(stderr) != 0 || std::ferror(stderr))
        status = 1;
    return status;
}
