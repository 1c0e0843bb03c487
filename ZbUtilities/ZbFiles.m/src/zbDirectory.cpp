#include "zbDirectory.h"

#include <cerrno>

#include "zbErrorCodeManager.h"

namespace
{
inline bool IsDotOrDotDot(const char* iName)
{
    return iName[0] == '.' && (iName[1] == 0 || (iName[1] == '.' && iName[2] == 0));
}
} // namespace

zbDirectory::zbDirectory(const char* iPath) : _Error(0), _Entry(nullptr), _Dir(nullptr)
{
    _Dir = iPath ? ::opendir(iPath) : nullptr;
    if (!_Dir)
        _Error = zbExtLastError.SetErrno(iPath && errno ? errno : EINVAL);
}

zbDirectory::~zbDirectory()
{
    if (_Dir)
        ::closedir(_Dir);
}

void zbDirectory::Rewind()
{
    _Entry = nullptr;
    if (_Dir)
        ::rewinddir(_Dir);
}

struct dirent64* zbDirectory::FindFirstEnt()
{
    Rewind();
    return FindNextEnt();
}

struct dirent64* zbDirectory::FindNextEnt()
{
    if (!_Dir)
        return nullptr;
    // The end of the entries and a failure to read them both give null:
    // errno tells them apart.
    do
    {
        errno = 0;
        _Entry = ::readdir64(_Dir);
    } while (_Entry && IsDotOrDotDot(_Entry->d_name));
    if (!_Entry && errno)
        _Error = zbExtLastError.SetErrno(errno);
    return _Entry;
}

struct dirent64* zbDirectory::CheckEnt()
{
    if (_Entry && !IsDotOrDotDot(_Entry->d_name))
        return _Entry;
    return FindNextEnt();
}

int zbDirectory::GetFd() const
{
    return _Dir ? ::dirfd(_Dir) : -1;
}
