#include "zbDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"

namespace
{
// A batch holds hundreds of entries: one system call for most directories.
const size_t kBatchSize = 32768;

inline bool IsDotOrDotDot(const char* iName)
{
    return iName[0] == '.' && (iName[1] == 0 || (iName[1] == '.' && iName[2] == 0));
}
} // namespace

zbDirectory::zbDirectory(const char* iPath) : zbDirectory(AT_FDCWD, iPath)
{
}

zbDirectory::zbDirectory(int iDirectory, const char* iName)
    : _Error(0), _Entry(nullptr), _Fd(-1), _Batch(nullptr), _Used(0), _Next(0), _Over(false)
{
    _Fd = iName ? zbOpenFdAt(iDirectory, iName, O_RDONLY | O_DIRECTORY) : -1;
    if (_Fd >= 0)
        return;
    _Error = zbExtLastError.SetErrno(iName && errno ? errno : EINVAL);
    _Over = true;
}

zbDirectory::~zbDirectory()
{
    Close();
}

void zbDirectory::_Release()
{
    std::free(_Batch);
    _Batch = nullptr;
    _Used = _Next = 0;
}

void zbDirectory::Close()
{
    _Release();
    _Entry = nullptr;
    _Over = true;
    if (_Fd >= 0)
        ::close(_Fd);
    _Fd = -1;
}

void zbDirectory::Rewind()
{
    // Nothing read yet: already at the first entry.
    const bool read = _Batch || _Over;
    _Release();
    _Entry = nullptr;
    if (_Fd >= 0 && read && ::lseek(_Fd, 0, SEEK_SET) == 0)
        _Over = false;
}

bool zbDirectory::_Fill()
{
    if (_Over)
        return false;
    if (!_Batch && !(_Batch = static_cast<char*>(std::malloc(kBatchSize))))
    {
        _Error = zbExtLastError.SetErrno(ENOMEM);
        _Over = true;
        return false;
    }
    ssize_t got;
    do
        got = ::getdents64(_Fd, _Batch, kBatchSize);
    while (got < 0 && errno == EINTR);
    if (got <= 0)
    {
        // The end of the entries, or a failure to read them (kept).
        if (got < 0)
            _Error = zbExtLastError.SetErrno(errno);
        _Over = true;
        _Release();
        return false;
    }
    _Used = static_cast<size_t>(got);
    _Next = 0;
    return true;
}

struct dirent64* zbDirectory::FindFirstEnt()
{
    Rewind();
    return FindNextEnt();
}

struct dirent64* zbDirectory::FindNextEnt()
{
    for (;;)
    {
        if (_Next >= _Used && !_Fill())
            return _Entry = nullptr;
        // The system's records have the layout of struct dirent64.
        _Entry = reinterpret_cast<struct dirent64*>(_Batch + _Next);
        _Next += _Entry->d_reclen;
        if (!IsDotOrDotDot(_Entry->d_name))
            return _Entry;
    }
}

struct dirent64* zbDirectory::CheckEnt()
{
    if (_Entry && !IsDotOrDotDot(_Entry->d_name))
        return _Entry;
    return FindNextEnt();
}
