#include "zbIFStream.h"

#include <cerrno>
#include <cstring>

#include "zbNewString.h"

zbIFStream::~zbIFStream() = default;

int zbIFStream::Open(const char* iName, const int& iMode)
{
    Close();
    return _Open(iName, iMode, 1);
}

int zbIFStream::Open(const char* iName, const char* iFopenMode)
{
    Close();
    return _Open(iName, iFopenMode);
}

int zbIFStream::Read(char* oBuffer, const unsigned int iCount)
{
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 0;
    }
    std::clearerr(file);
    if (!oBuffer || iCount == 0)
        return 0;
    oBuffer[0] = 0;
    errno = 0;
    size_t n = std::fread(oBuffer, 1, iCount, file);
    _Errno = std::ferror(file) ? errno : 0;
    return static_cast<int>(n);
}

int zbIFStream::Getline(char* oBuffer, const unsigned int iSize, const int iDelimiter)
{
    if (!oBuffer)
    {
        _Errno = 22;
        return 1;
    }
    std::memset(oBuffer, 0, iSize);
    FILE* file = GetFile();
    if (!file || iSize < 2)
    {
        _Errno = 22;
        return 1;
    }
    errno = 0;
    unsigned int stored = 0;
    int consumed = 0;
    while (stored < iSize - 1)
    {
        int c = getc(file);
        if (c == EOF)
            break;
        consumed = 1;
        if (c == iDelimiter)
            break;
        oBuffer[stored++] = static_cast<char>(c);
    }
    if (std::ferror(file))
    {
        _Errno = errno;
        return 1;
    }
    _Errno = 0;
    return consumed ? 0 : 1;
}

int zbIFStream::Getline(zbNewString& oLine, const int iDelimiter, const int iSkipEmpty)
{
    oLine.Reset();
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 1;
    }
    char chunk[4096];
    for (;;)
    {
        int consumed = 0;
        int ended = 0;
        while (!ended)
        {
            unsigned int n = 0;
            int c = 0;
            while (n < sizeof chunk - 1 && (c = getc(file)) != EOF)
            {
                consumed = 1;
                if (c == iDelimiter)
                {
                    ended = 1;
                    break;
                }
                chunk[n++] = static_cast<char>(c);
            }
            chunk[n] = 0;
            if (n)
                oLine.Append(chunk, static_cast<int>(n));
            if (c == EOF)
                ended = 1;
        }
        if (!consumed)
        {
            if (std::ferror(file))
                _Errno = errno;
            return 1;
        }
        if (!oLine.IsNull() || !iSkipEmpty)
            return 0;
    }
}
