#include "zbJobserver.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbReport.h"

namespace
{
const char* const kAuthNames[] = {"--jobserver-auth=", "--jobserver-fds="};

// The value of the last jobserver option of iFlags ("" when none); what
// follows " -- " is variables, not options.
std::string AuthOf(const std::string& iFlags)
{
    const std::string options = iFlags.substr(0, iFlags.find(" -- "));
    std::string auth;
    size_t best = std::string::npos;
    for (const char* name : kAuthNames)
    {
        size_t at = options.rfind(name);
        if (at != std::string::npos && (best == std::string::npos || at > best))
        {
            best = at;
            size_t start = at + std::strlen(name);
            auth = options.substr(start, options.find(' ', start) - start);
        }
    }
    return auth;
}

// A descriptor of iFd's pipe of its own (its own flags), or -1 with errno.
int Reopen(int iFd, int iFlags)
{
    struct stat info;
    if (::fcntl(iFd, F_GETFD) < 0 || ::fstat(iFd, &info) != 0)
        return -1;
    if (!S_ISFIFO(info.st_mode))
    {
        errno = EBADF;
        return -1;
    }
    return zbOpenFd(("/proc/self/fd/" + std::to_string(iFd)).c_str(), iFlags);
}

int Inheritable(int iFd)
{
    int flags = ::fcntl(iFd, F_GETFD);
    return flags < 0 ? -1 : ::fcntl(iFd, F_SETFD, flags & ~FD_CLOEXEC);
}
} // namespace

int zbJobserver::_Open(const std::string& iAuth)
{
    if (iAuth.compare(0, 5, "fifo:") == 0)
    {
        const std::string path = iAuth.substr(5);
        struct stat info;
        if (::stat(path.c_str(), &info) != 0)
            return errno;
        if (!S_ISFIFO(info.st_mode))
            return EINVAL;
        _Read = zbOpenFd(path.c_str(), O_RDONLY | O_NONBLOCK);
        _Write = _Read < 0 ? -1 : zbOpenFd(path.c_str(), O_WRONLY);
        return _Write < 0 ? errno : 0;
    }
    char* end = nullptr;
    long read = std::strtol(iAuth.c_str(), &end, 10);
    long write = *end == ',' ? std::strtol(end + 1, &end, 10) : -1;
    if (*end || read < 0 || write < 0 || read > 1 << 20 || write > 1 << 20)
        return EINVAL;
    _Read = Reopen(static_cast<int>(read), O_RDONLY | O_NONBLOCK);
    _Write = _Read < 0 ? -1 : Reopen(static_cast<int>(write), O_WRONLY);
    return _Write < 0 ? errno : 0;
}

int zbJobserver::Join()
{
    Close();
    const char* flags = std::getenv("MAKEFLAGS");
    const std::string auth = AuthOf(flags ? flags : "");
    if (auth.empty())
        return 0;
    if (int rc = _Open(auth))
    {
        Close();
        zbReportWarning("zbJobserver.Unusable",
                        {QORUnicodeString(auth.c_str()), QORUnicodeString(std::strerror(rc))});
        return -1;
    }
    return 1;
}

int zbJobserver::Serve(const char* iDirectory, unsigned int iSlots)
{
    Close();
    std::string path;
    for (int attempt = 0; path.empty(); ++attempt)
    {
        path = std::string(iDirectory) + "/zbJobs" + std::to_string(::getpid()) + "." +
               std::to_string(attempt);
        if (::mkfifo(path.c_str(), 0600) != 0)
        {
            if (errno != EEXIST || attempt > 100)
                return zbReportSystemError(path.c_str(), errno);
            path.clear();
        }
    }
    // Our own descriptors read without blocking; the children's block, as
    // simple clients expect.
    _Read = zbOpenFd(path.c_str(), O_RDONLY | O_NONBLOCK);
    _Write = _Read < 0 ? -1 : zbOpenFd(path.c_str(), O_WRONLY);
    _ChildRead = _Write < 0 ? -1 : zbOpenFd(path.c_str(), O_RDONLY | O_NONBLOCK);
    _ChildWrite = _ChildRead < 0 ? -1 : zbOpenFd(path.c_str(), O_WRONLY);
    int rc = _ChildWrite < 0 ? errno : 0;
    ::unlink(path.c_str());
    if (!rc && (::fcntl(_ChildRead, F_SETFL, 0) != 0 || Inheritable(_ChildRead) != 0 ||
                Inheritable(_ChildWrite) != 0))
        rc = errno;
    const std::string tokens(iSlots > 1 ? iSlots - 1 : 0, '+');
    if (!rc)
        rc = zbWriteAll(_Write, tokens.data(), tokens.size());
    if (rc)
    {
        Close();
        return zbReportSystemError(path.c_str(), rc);
    }
    _Serving = true;
    const char* flags = std::getenv("MAKEFLAGS");
    _HadMakeflags = flags != nullptr;
    _SavedMakeflags = flags ? flags : "";
    // The option goes before the variables (" -- ") when there are any.
    std::string value = _SavedMakeflags;
    const std::string option = " -j" + std::to_string(iSlots) +
                               " --jobserver-auth=" + std::to_string(_ChildRead) + "," +
                               std::to_string(_ChildWrite);
    value.insert(std::min(value.find(" -- "), value.size()), option);
    ::setenv("MAKEFLAGS", value.c_str(), 1);
    return 0;
}

bool zbJobserver::Take()
{
    if (_Read < 0)
        return false;
    char token;
    ssize_t got;
    while ((got = ::read(_Read, &token, 1)) < 0 && errno == EINTR)
        ;
    if (got != 1)
        return false;
    _Tokens += token;
    return true;
}

void zbJobserver::Give()
{
    if (_Tokens.empty())
        return;
    // A pipe with room takes one byte at once; the room is there, since
    // the byte came from it.
    if (zbWriteAll(_Write, &_Tokens.back(), 1) == 0)
        _Tokens.pop_back();
}

void zbJobserver::Close()
{
    while (!_Tokens.empty() && _Write >= 0)
    {
        size_t before = _Tokens.size();
        Give();
        if (_Tokens.size() == before)
            break;
    }
    _Tokens.clear();
    for (int* fd : {&_Read, &_Write, &_ChildRead, &_ChildWrite})
    {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (_Serving)
    {
        if (_HadMakeflags)
            ::setenv("MAKEFLAGS", _SavedMakeflags.c_str(), 1);
        else
            ::unsetenv("MAKEFLAGS");
    }
    _Serving = false;
}
