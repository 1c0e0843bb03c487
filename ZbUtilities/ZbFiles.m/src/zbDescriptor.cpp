#include "zbDescriptor.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

zbScopedFd& zbScopedFd::operator=(zbScopedFd&& ioOther) noexcept
{
    if (this != &ioOther)
        Reset(ioOther.Release());
    return *this;
}

int zbScopedFd::Release()
{
    int fd = _Fd;
    _Fd = -1;
    return fd;
}

int zbScopedFd::Close()
{
    if (_Fd < 0)
        return 0;
    // close is not retried on EINTR: on Linux the descriptor is gone anyway.
    int result = ::close(_Fd) == 0 ? 0 : errno;
    _Fd = -1;
    return result == EINTR ? 0 : result;
}

void zbScopedFd::Reset(int iFd)
{
    Close();
    _Fd = iFd;
}

int zbOpenFd(const char* iName, int iFlags, mode_t iMode)
{
    return zbOpenFdAt(AT_FDCWD, iName, iFlags, iMode);
}

int zbOpenFdAt(int iDirectory, const char* iName, int iFlags, mode_t iMode)
{
    if (!iName)
    {
        errno = EINVAL;
        return -1;
    }
    int fd;
    do
        fd = ::openat64(iDirectory, iName, iFlags | O_CLOEXEC, iMode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

FILE* zbOpenStream(const char* iName, const char* iMode)
{
    if (!iName || !iMode)
    {
        errno = EINVAL;
        return nullptr;
    }
    char mode[16];
    size_t length = std::strlen(iMode);
    if (length + 2 > sizeof mode)
    {
        errno = EINVAL;
        return nullptr;
    }
    std::memcpy(mode, iMode, length);
    mode[length] = 'e';
    mode[length + 1] = '\0';
    FILE* stream;
    do
        stream = ::fopen64(iName, mode);
    while (!stream && errno == EINTR);
    return stream;
}

int zbPipe(int oFds[2], int iFlags)
{
    return ::pipe2(oFds, O_CLOEXEC | iFlags) == 0 ? 0 : errno;
}

int zbReadAll(int iFd, void* oBuffer, size_t iCount, size_t& oRead)
{
    char* buffer = static_cast<char*>(oBuffer);
    oRead = 0;
    while (oRead < iCount)
    {
        ssize_t n = ::read(iFd, buffer + oRead, iCount - oRead);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        oRead += static_cast<size_t>(n);
    }
    return 0;
}

namespace
{
// Writes all of iCount bytes, at *ioOffset when given (pwrite).
int WriteFully(int iFd, const void* iData, size_t iCount, off64_t* ioOffset)
{
    const char* data = static_cast<const char*>(iData);
    while (iCount > 0)
    {
        ssize_t n =
            ioOffset ? ::pwrite64(iFd, data, iCount, *ioOffset) : ::write(iFd, data, iCount);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        iCount -= static_cast<size_t>(n);
        if (ioOffset)
            *ioOffset += n;
    }
    return 0;
}
} // namespace

int zbWriteAll(int iFd, const void* iData, size_t iCount)
{
    return WriteFully(iFd, iData, iCount, nullptr);
}

int zbWriteAllAt(int iFd, const void* iData, size_t iCount, off64_t iOffset)
{
    return WriteFully(iFd, iData, iCount, &iOffset);
}

int zbReadFile(const char* iName, std::string& oContent)
{
    oContent.clear();
    zbScopedFd fd(zbOpenFd(iName, O_RDONLY));
    if (!fd.IsOpen())
        return errno;
    struct stat64 st;
    if (::fstat64(fd.Get(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    size_t chunk = S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1
                                                         : size_t(1) << 16;
    for (;;)
    {
        size_t used = oContent.size();
        oContent.resize(used + chunk);
        size_t got = 0;
        int error = zbReadAll(fd.Get(), &oContent[used], chunk, got);
        oContent.resize(used + got);
        if (error)
            return error;
        if (got < chunk)
            return 0;
        chunk = size_t(1) << 16;
    }
}

namespace
{
std::string DirectoryOf(const std::string& iPath)
{
    size_t slash = iPath.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : iPath.substr(0, slash);
}

// A name beside iTarget that nobody else uses now.
std::string TemporaryName(const std::string& iTarget, unsigned iTry)
{
    static unsigned counter = 0;
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".zbtmp%ld.%u.%u", static_cast<long>(::getpid()),
                  ++counter, iTry ^ static_cast<unsigned>(std::time(nullptr)));
    return iTarget + suffix;
}

// fsync, retried when a signal interrupts it (some file systems let one).
int SyncFd(int iFd)
{
    while (::fsync(iFd) != 0)
        if (errno != EINTR)
            return errno;
    return 0;
}

mode_t CurrentUmask()
{
    mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
}
} // namespace

zbFileReplacer::zbFileReplacer(const char* iTarget, mode_t iMode, int iHow)
    : _Target(iTarget ? iTarget : ""), _Mode(iMode), _How(iHow), _Directory(AT_FDCWD)
{
}

zbFileReplacer::zbFileReplacer(int iDirectory, const char* iName, mode_t iMode, int iHow)
    : _Target(iName ? iName : ""), _Mode(iMode), _How(iHow), _Directory(iDirectory), _New(true)
{
}

zbFileReplacer::~zbFileReplacer()
{
    Abandon();
}

int zbFileReplacer::Open()
{
    Abandon();
    _Error = 0;
    if (_Target.empty())
        return _Error = ENOENT;
    if (_New)
        return _OpenNew();
    const bool fresh = (_How & Fresh) != 0;
    struct stat64 st;
    bool exists = (fresh ? ::lstat64(_Target.c_str(), &st) : ::stat64(_Target.c_str(), &st)) == 0;
    if (!exists && errno != ENOENT)
        return _Error = errno;
    // A link taken over as if removed first is simply renamed over.
    const bool link = exists && fresh && S_ISLNK(st.st_mode);
    if (exists && S_ISDIR(st.st_mode))
        return _Error = EISDIR;
    if (exists && !S_ISREG(st.st_mode) && !link)
    {
        _Through = true;
        _Fd.Reset(zbOpenFd(_Target.c_str(), O_WRONLY | O_TRUNC));
        return _Fd.IsOpen() ? 0 : (_Error = errno);
    }
    // A link keeps being a link: the file it names is the one replaced.
    struct stat64 lst;
    if (!fresh && ::lstat64(_Target.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode))
    {
        char* real = ::realpath(_Target.c_str(), nullptr);
        if (real)
        {
            _Target = real;
            std::free(real);
        }
        else
        {
            // A link to a file still to be made: that file is written.
            if (errno != ENOENT)
                return _Error = errno;
            char text[PATH_MAX];
            ssize_t length = ::readlink(_Target.c_str(), text, sizeof text - 1);
            if (length < 0)
                return _Error = errno;
            text[length] = '\0';
            _Target = text[0] == '/' ? std::string(text) : DirectoryOf(_Target) + "/" + text;
        }
    }
    mode_t mode = exists && !fresh ? (st.st_mode & 07777) : (_Mode & ~CurrentUmask());
    return _OpenTemporary(AT_FDCWD, DirectoryOf(_Target).c_str(), mode);
}

int zbFileReplacer::_OpenNew()
{
    return _OpenTemporary(_Directory, ".", _Mode);
}

int zbFileReplacer::_OpenTemporary(int iAt, const char* iDirectory, mode_t iMode)
{
    // Without a name until it is complete where the file system allows it,
    // so that a process killed midway leaves nothing behind; else under a
    // free temporary name beside the target (both relative to iAt).
    _Fd.Reset(zbOpenFdAt(iAt, iDirectory, O_TMPFILE | O_WRONLY, 0600));
    if (_Fd.IsOpen())
        _Anonymous = true;
    else
        for (unsigned attempt = 0; !_Fd.IsOpen() && attempt < 100; ++attempt)
        {
            _TempName = TemporaryName(_Target, attempt);
            _Fd.Reset(
                zbOpenFdAt(iAt, _TempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
            if (!_Fd.IsOpen() && errno != EEXIST)
                break;
        }
    if (!_Fd.IsOpen())
    {
        _Error = errno;
        _TempName.clear();
        return _Error;
    }
    if (::fchmod(_Fd.Get(), iMode) != 0)
    {
        int error = errno;
        Abandon();
        return _Error = error;
    }
    return 0;
}

int zbFileReplacer::_CommitNew()
{
    // A link fails on a name in use: nothing is ever replaced.
    if (_Anonymous)
    {
        char proc[64];
        std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", _Fd.Get());
        if (::linkat(AT_FDCWD, proc, _Directory, _Target.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return errno;
        _Anonymous = false;
        return 0;
    }
    if (::linkat(_Directory, _TempName.c_str(), _Directory, _Target.c_str(), 0) != 0)
        return errno;
    ::unlinkat(_Directory, _TempName.c_str(), 0);
    _TempName.clear();
    return 0;
}

int zbFileReplacer::Write(const void* iData, size_t iCount)
{
    if (_Error)
        return _Error;
    if (!_Fd.IsOpen())
        return _Error = EBADF;
    return _Error = zbWriteAll(_Fd.Get(), iData, iCount);
}

int zbFileReplacer::_Link()
{
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", _Fd.Get());
    for (unsigned attempt = 0; attempt < 100; ++attempt)
    {
        _TempName = TemporaryName(_Target, attempt);
        if (::linkat(AT_FDCWD, proc, AT_FDCWD, _TempName.c_str(), AT_SYMLINK_FOLLOW) == 0)
        {
            _Anonymous = false;
            return 0;
        }
        if (errno != EEXIST)
            break;
    }
    int error = errno;
    _TempName.clear();
    return error;
}

int zbFileReplacer::Commit()
{
    if (!_Fd.IsOpen() && !_Error)
        _Error = EBADF;
    if (_Through)
    {
        int error = _Fd.Close();
        _Through = false;
        if (!_Error)
            _Error = error;
        return _Error;
    }
    if (!_Error && (_How & Sync))
        _Error = SyncFd(_Fd.Get());
    // The new file is closed before it takes the target's name: a failing
    // close may mean content lost on its way to the disk, and then the
    // target stays as it was.  A file without a name is named through its
    // descriptor first; a new one is linked as it is, and unlinked again
    // when the close fails (nothing had its name).
    if (_New && _Anonymous)
    {
        if (!_Error)
            _Error = _CommitNew();
        if (!_Error && (_Error = _Fd.Close()) != 0)
            ::unlinkat(_Directory, _Target.c_str(), 0);
    }
    else
    {
        // Named, closed and renamed in system calls one after the other:
        // that is the only moment a process killed here leaves a file beside
        // the target.
        if (!_Error && _Anonymous)
            _Error = _Link();
        if (!_Error)
            _Error = _Fd.Close();
        if (!_Error)
            _Error = _New ? _CommitNew()
                          : (::rename(_TempName.c_str(), _Target.c_str()) == 0 ? 0 : errno);
    }
    int error = _Error;
    if (error)
        Abandon();
    else
        _TempName.clear();
    _Error = error;
    return error;
}

void zbFileReplacer::Abandon()
{
    _Fd.Close();
    if (!_TempName.empty())
        ::unlinkat(_Directory, _TempName.c_str(), 0);
    _TempName.clear();
    _Anonymous = false;
    _Through = false;
}

int zbReplaceFile(const char* iTarget, const void* iData, size_t iCount, mode_t iMode, int iHow)
{
    zbFileReplacer file(iTarget, iMode, iHow);
    int error = file.Open();
    if (!error)
        error = file.Write(iData, iCount);
    if (!error)
        error = file.Commit();
    return error;
}

int zbReplaceWithLink(const char* iText, const char* iTarget)
{
    if (!iText || !iTarget || !*iTarget)
        return EINVAL;
    const std::string target = iTarget;
    std::string name;
    for (unsigned attempt = 0;; ++attempt)
    {
        name = TemporaryName(target, attempt);
        if (::symlink(iText, name.c_str()) == 0)
            break;
        if (errno != EEXIST || attempt == 99)
            return errno;
    }
    if (::rename(name.c_str(), iTarget) != 0)
    {
        int error = errno;
        ::unlink(name.c_str());
        return error;
    }
    return 0;
}
