#include "zbOFStream.h"

#include <cerrno>
#include <cstdarg>

#include "zbDescriptor.h"

zbOFStream zbStdout(zbFStream::StandardOutput);
zbOFStream zbStderr(zbFStream::StandardError);

zbOFStream::~zbOFStream() = default;

int zbOFStream::Open(const char* iName, const int& iMode)
{
    Close();
    return _Open(iName, iMode, 0);
}

int zbOFStream::Open(const char* iName, const char* iFopenMode)
{
    Close();
    return _Open(iName, iFopenMode);
}

int zbOFStream::Finish(int iFailed)
{
    if (iFailed)
    {
        _Errno = errno;
        return 1;
    }
    if (std::fflush(GetFile()) != 0)
    {
        _Errno = errno;
        return 1;
    }
    return 0;
}

int zbOFStream::Write(const char* iBuffer, const unsigned int iCount)
{
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    if (!iBuffer || iCount == 0)
        return 0;
    return Finish(std::fwrite(iBuffer, 1, iCount, file) != iCount);
}

int zbOFStream::Print(const char* iFormat, ...)
{
    FILE* file = GetFile();
    if (!file || !iFormat)
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    va_list args;
    va_start(args, iFormat);
    int n = std::vfprintf(file, iFormat, args);
    va_end(args);
    return Finish(n < 0);
}

int zbOFStream::Putc(int iChar)
{
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    return Finish(std::fputc(iChar, file) == EOF);
}

int zbOFStream::Puts(const char* iText)
{
    FILE* file = GetFile();
    if (!file)
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    if (!iText)
        return 0;
    return Finish(std::fputs(iText, file) == EOF);
}

int zbOFStream::Flush()
{
    if (!GetFile())
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    return Finish(0);
}

int zbOFStream::CatFile(const char* iName, const int& iMode)
{
    FILE* out = GetFile();
    if (!out)
    {
        _Errno = 22;
        return 1;
    }
    _Errno = 0;
    if (!iName)
        return 0;
    FILE* in = zbOpenStream(iName, (iMode & 8) ? "r" : "rb");
    if (!in)
    {
        _Errno = errno;
        return 1;
    }
    char block[16384];
    size_t n;
    int failed = 0;
    while ((n = std::fread(block, 1, sizeof block, in)) > 0)
        if (std::fwrite(block, 1, n, out) != n)
        {
            failed = 1;
            break;
        }
    if (!failed && std::ferror(in))
        failed = 1;
    if (failed)
    {
        _Errno = errno;
        std::fflush(out);
        std::fclose(in);
        return 1;
    }
    int result = 0;
    if (std::fflush(out) != 0)
        _Errno = errno, result = 1;
    if (std::fclose(in) != 0)
        _Errno = errno, result = 1;
    return result;
}

zbOFStream& zbOFStream::operator<<(const char* iText)
{
    if (FILE* file = GetFile())
        if (iText)
            std::fputs(iText, file);
    return *this;
}

zbOFStream& zbOFStream::operator<<(unsigned char iChar)
{
    if (FILE* file = GetFile())
        std::fputc(iChar, file);
    return *this;
}

zbOFStream& zbOFStream::operator<<(char iChar)
{
    if (FILE* file = GetFile())
        std::fputc(static_cast<unsigned char>(iChar), file);
    return *this;
}

#define ZB_INSERTER(Type, Format)                                                                  \
    zbOFStream& zbOFStream::operator<<(Type iValue)                                                \
    {                                                                                              \
        if (FILE* file = GetFile())                                                                \
            std::fprintf(file, Format, iValue);                                                    \
        return *this;                                                                              \
    }

ZB_INSERTER(int, "%d")
ZB_INSERTER(long, "%ld")
ZB_INSERTER(unsigned int, "%u")
ZB_INSERTER(unsigned long, "%lu")
ZB_INSERTER(double, "%lg")
ZB_INSERTER(long double, "%Lg")
ZB_INSERTER(long long, "%lld")
ZB_INSERTER(unsigned long long, "%llu")
#undef ZB_INSERTER

zbOFStream& zbOFStream::operator<<(const void* iPointer)
{
    if (FILE* file = GetFile())
        std::fprintf(file, "0x%lx", reinterpret_cast<unsigned long>(iPointer));
    return *this;
}

zbOFStream& zbOFStream::operator<<(zbOFStream& (*iManipulator)(zbOFStream&))
{
    return iManipulator ? iManipulator(*this) : *this;
}

zbOFStream& endl(zbOFStream& ioStream)
{
    ioStream.Putc('\n');
    return ioStream;
}

zbOFStream& flush(zbOFStream& ioStream)
{
    ioStream.Flush();
    return ioStream;
}
