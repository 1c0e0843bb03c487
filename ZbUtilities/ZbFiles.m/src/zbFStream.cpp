#include "zbFStream.h"

#include <cerrno>

#include "zbDescriptor.h"

zbFStream::zbFStream(FILE* iFile)
{
    if (iFile)
    {
        _Borrowed = 1;
        _Errno = 0;
        _File = iFile;
    }
}

zbFStream::~zbFStream()
{
    if (_File && !_Borrowed && std::fclose(_File) != 0)
        _Errno = errno;
    _File = nullptr;
}

int zbFStream::_Open(const char* iName, const int& iMode, int iForReading)
{
    const char* mode;
    bool text = (iMode & 8) != 0;
    if (iForReading)
        mode = text ? "r" : "rb";
    else if (iMode & 2)
        mode = text ? "a" : "ab";
    else
        mode = text ? "w" : "wb";
    return _Open(iName, mode);
}

int zbFStream::_Open(const char* iName, const char* iFopenMode)
{
    if (!iName || !iFopenMode)
    {
        _Errno = 22;
        return 1;
    }
    errno = 0;
    FILE* file = zbOpenStream(iName, iFopenMode);
    if (!file)
    {
        _Errno = errno ? errno : 22;
        return 1;
    }
    _File = file;
    _Borrowed = 0;
    _Standard = 0;
    _Errno = 0;
    return 0;
}

int zbFStream::GetFileNo() const
{
    FILE* file = GetFile();
    return file ? fileno(file) : -1;
}

int zbFStream::Rewind()
{
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 1;
    }
    errno = 0;
    std::rewind(file);
    _Errno = errno;
    return _Errno ? 1 : 0;
}

int zbFStream::ReadError()
{
    FILE* file = GetFile();
    return file ? (std::ferror(file) ? 1 : 0) : 1;
}

int zbFStream::EndOfFile()
{
    FILE* file = GetFile();
    return file ? (std::feof(file) ? 1 : 0) : 1;
}

int zbFStream::ClearError()
{
    FILE* file = GetFile();
    if (!file)
        return 1;
    std::clearerr(file);
    return 0;
}

int zbFStream::Close()
{
    if (_Borrowed)
    {
        // A borrowed stream belongs to its owner: only forget it.
        _Borrowed = 0;
        _File = nullptr;
        _Standard = 0;
        return 0;
    }
    if (!_File)
    {
        _Errno = 22;
        return 1;
    }
    int failed = std::fclose(_File) != 0;
    if (failed)
        _Errno = errno;
    _File = nullptr;
    return failed ? 1 : 0;
}
