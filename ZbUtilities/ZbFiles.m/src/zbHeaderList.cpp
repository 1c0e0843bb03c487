#include "zbHeaderList.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbFileOperations.h"
#include "zbOFStream.h"
#include "zbReport.h"
#include "zbTraceManager.h"

const char zbHeaderList::Magic[] = "!<zbhl> v2.0.1";

namespace
{
const unsigned int kMagicLength = sizeof zbHeaderList::Magic - 1;

} // namespace

zbHeaderList::zbHeaderList() : _Valid(0), _Bufsize(0)
{
}

zbHeaderList::~zbHeaderList()
{
    _Directories.ApplyDelete();
}

void zbHeaderList::Reset()
{
    _Directories.ApplyDelete();
    _Valid = 0;
    _Bufsize = 0;
}

int zbHeaderList::ListDirectories(const QORListValQORString& iDirs, const int iIsSubdir)
{
    _Valid = 1;
    for (const QORString& name : iDirs)
    {
        zbHeaderDirectory* directory = new zbHeaderDirectory;
        if (directory->ListDirectory(name, iIsSubdir) == 0)
        {
            delete directory;
            continue;
        }
        _Directories.Append(directory);
        _Bufsize += directory->GetBufsize();
    }
    return _Directories.Size();
}

int zbHeaderList::WriteFile(const QORString& iFileName)
{
    // The list takes the place of the file once complete.
    const char* name = iFileName.CastToCharPtr();
    zbFileReplacer out(name, 0666);
    if (int error = out.Open())
        return zbReportSystemError(name, error);
    // The blocks of directories read from a file may be shorter than their
    // recorded sizes (normalised names): the size written is counted.
    char* buffer =
        static_cast<char*>(std::malloc(static_cast<size_t>(_Bufsize) + kMagicLength + 2));
    if (!buffer)
        return zbReportSystemError(name, ENOMEM);
    std::memcpy(buffer, Magic, kMagicLength);
    buffer[kMagicLength] = '\n';
    char* p = buffer + kMagicLength + 1;
    for (zbHeaderDirectory* directory : _Directories)
        if (directory->GetBufsize() > 0)
            p += directory->Writebuf(p);
    size_t total = static_cast<size_t>(p - buffer);

    out.Write(buffer, total);
    std::free(buffer);
    if (int error = out.Commit())
        return zbReportSystemError(name, error);
    return 0;
}

char* zbHeaderList::OpenListFile(const QORString& iFileName, unsigned int& oSize, char*& oBuffer)
{
    oSize = 0;
    oBuffer = nullptr;
    _Valid = 0;
    char* buffer = nullptr;
    unsigned int size = 0;
    // Read as bytes: the readers of lists say where a NUL byte is.
    if (zbMMap(iFileName.CastToCharPtr(), 0, buffer, size, 0) != 0)
        return nullptr;
    char* lineEnd =
        buffer && size > 1 ? static_cast<char*>(std::memchr(buffer, '\n', size)) : nullptr;
    if (!lineEnd || static_cast<unsigned int>(lineEnd - buffer) != kMagicLength ||
        std::memcmp(buffer, Magic, kMagicLength) != 0)
    {
        std::free(buffer);
        zbExtLastError.SetErrno(EBADF);
        return nullptr;
    }
    *lineEnd = 0;
    _Valid = 1;
    oSize = size;
    oBuffer = buffer;
    return lineEnd + 1;
}

const char* zbHeaderList::FindDamage(const char* iText, const char* iEnd)
{
    // The first NUL byte is looked for once: every line before its own is
    // free of them.
    const char* nul =
        static_cast<const char*>(std::memchr(iText, 0, static_cast<size_t>(iEnd - iText)));
    for (const char* line = iText; line < iEnd;)
    {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(iEnd - line)));
        if (!lineEnd || (line == iText && *line != '@') || lineEnd - line > PATH_MAX ||
            (nul && nul < lineEnd))
            return line;
        line = lineEnd + 1;
    }
    return nullptr;
}

int zbHeaderList::LineNumber(const char* iText, const char* iAt)
{
    int line = 2;
    for (const char* p = iText; p < iAt; ++p)
        line += *p == '\n';
    return line;
}

int zbHeaderList::ReadFile(const QORString& iFileName)
{
    unsigned int size = 0;
    char* buffer = nullptr;
    char* text = OpenListFile(iFileName, size, buffer);
    if (!text)
        return 1;
    // The text ends where FindDamage finds damage: the block reader stops
    // there, as every reader of lists does.
    if (const char* damage = FindDamage(text, buffer + size))
        buffer[damage - buffer] = 0;
    int result = 0;
    unsigned int position = kMagicLength + 1;
    while (position < size)
    {
        // Every byte after the magic line belongs to a block: anything else
        // (a NUL, a stray line, a cut line) is damage.
        zbHeaderDirectory* directory = new zbHeaderDirectory;
        int consumed = buffer[position] == '@' ? directory->Readbuf(buffer + position) : 0;
        if (consumed == 0)
        {
            delete directory;
            result = 1;
            break;
        }
        _Directories.Append(directory);
        _Bufsize += directory->GetBufsize();
        position += static_cast<unsigned int>(consumed);
    }
    if (result)
        zbExtLastError.SetErrno(EBADF);
    std::free(buffer);
    return result;
}

bool zbHeaderList::operator==(const zbHeaderList& iOther) const
{
    if (!_Valid || !iOther._Valid || _Directories.Size() != iOther._Directories.Size())
        return false;
    for (int i = 1; i <= _Directories.Size(); ++i)
        if (*_Directories[i] != *iOther._Directories[i])
            return false;
    return true;
}
