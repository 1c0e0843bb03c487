#include "zbFileOperations.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "zbContext.h"
#include "zbErrorCodeManager.h"
#include "zbPathSeparators.h"
#include "zbTraceManager.h"

namespace
{
// Shared by the removal, copy, move and existence tests (one thread only).
struct stat64 gStat;

int Record(int iErrno)
{
    zbExtLastError.SetErrno(iErrno);
    return 1;
}

void Report(const char* iName)
{
    zbExtContext.GetTraceMngr()->Print(MSG_KEY_systError, stderr,
                                       QORUnicodeString(iName ? iName : ""),
                                       zbExtLastError.GetMsgError());
}

// The argument-vector forms need their first iCount arguments.
bool HasArgs(char* const* iArgs, int iCount)
{
    if (!iArgs)
        return false;
    for (int i = 0; i < iCount; ++i)
        if (!iArgs[i])
            return false;
    return true;
}

// Writes all of iCount bytes; 0 or the errno of the failure.
int WriteAll(int iFd, const char* iData, size_t iCount)
{
    while (iCount > 0)
    {
        ssize_t n = ::write(iFd, iData, iCount);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return errno;
        }
        iData += n;
        iCount -= static_cast<size_t>(n);
    }
    return 0;
}

// Copies iIn to iOut from their current offsets to the end of iIn: in the
// kernel when the file systems allow it, else through a buffer.  0 or errno.
int CopyData(int iIn, int iOut, long long iSize)
{
    if (iSize > 0)
    {
        for (;;)
        {
            ssize_t n = ::copy_file_range(iIn, nullptr, iOut, nullptr, 1 << 30, 0);
            if (n > 0)
                continue;
            if (n == 0)
                return 0;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
                errno != EPERM && errno != EBADF)
                return errno;
            break; // not offered here: go on through a buffer
        }
    }
    const size_t blockSize = 1 << 17;
    char* block = static_cast<char*>(std::malloc(blockSize));
    if (!block)
        return ENOMEM;
    int result = 0;
    for (;;)
    {
        ssize_t n = ::read(iIn, block, blockSize);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            result = errno;
            break;
        }
        if (n == 0)
            break;
        if ((result = WriteAll(iOut, block, static_cast<size_t>(n))) != 0)
            break;
    }
    std::free(block);
    return result;
}

// Removes what lstat64 found at iName (gStat): a link is unlinked, a
// directory refused.  0 or 1 (recorded).
int RemoveFound(const char* iName)
{
    if (S_ISDIR(gStat.st_mode))
        return Record(EISDIR);
    int failed = S_ISLNK(gStat.st_mode) ? ::unlink(iName) : std::remove(iName);
    return failed ? Record(errno) : 0;
}
} // namespace

int zbAccessFile(const char* iName)
{
    if (!iName)
    {
        Record(EINVAL);
        return -1;
    }
    int result = ::stat64(iName, &gStat);
    if (result != 0)
        Record(errno);
    return result;
}

int zbRemoveFile(const char* iName, const int& /*iFlags*/)
{
    if (!iName)
        return Record(EINVAL);
    if (::lstat64(iName, &gStat) != 0)
        return 0;
    return RemoveFound(iName);
}

int zbRemoveFile(const char* /*iCommand*/, char* const* iArgs)
{
    if (!HasArgs(iArgs, 1))
    {
        Record(EINVAL);
        Report(nullptr);
        return 1;
    }
    if (zbRemoveFile(iArgs[0], 0) == 0)
        return 0;
    Report(iArgs[0]);
    return 1;
}

int zbCopyFile(const char* iSource, const char* iTarget)
{
    if (!iSource || !iTarget || !*iSource || !*iTarget)
        return Record(EINVAL);
    // The source is checked before anything happens to the target.
    struct stat64 source;
    if (::stat64(iSource, &source) != 0)
        return Record(errno);
    if (S_ISDIR(source.st_mode))
        return Record(EISDIR);
    if (!S_ISREG(source.st_mode))
        return Record(EINVAL);
    if (::lstat64(iTarget, &gStat) == 0 && S_ISDIR(gStat.st_mode))
        return Record(EISDIR);

    int in = ::open64(iSource, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Record(errno);

    // The copy is written beside the target under a short private name and
    // renamed over it once complete (a link at the target is replaced, not
    // followed).
    const char* slash = std::strrchr(iTarget, zbPathSeparator[0]);
    size_t dirLength = slash ? static_cast<size_t>(slash - iTarget) + 1 : 0;
    static unsigned int counter = 0;
    char* temporary = static_cast<char*>(std::malloc(dirLength + 64));
    if (!temporary)
    {
        ::close(in);
        return Record(ENOMEM);
    }
    std::memcpy(temporary, iTarget, dirLength);
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt)
    {
        std::snprintf(temporary + dirLength, 64, ".zbcp%ld.%u", static_cast<long>(::getpid()),
                      ++counter);
        out = ::open64(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out < 0 && errno != EEXIST)
            break;
    }
    if (out < 0)
    {
        int error = errno;
        ::close(in);
        std::free(temporary);
        return Record(error);
    }
    int error = CopyData(in, out, static_cast<long long>(source.st_size));
    ::close(in);
    if (::close(out) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary, iTarget) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary);
    std::free(temporary);
    return error ? Record(error) : 0;
}

int zbCopyFile(const char* /*iCommand*/, char* const* iArgs)
{
    if (!HasArgs(iArgs, 2))
    {
        Record(EINVAL);
        Report(HasArgs(iArgs, 1) ? iArgs[0] : nullptr);
        return 1;
    }
    if (zbCopyFile(iArgs[0], iArgs[1]) == 0)
        return 0;
    Report(iArgs[0]);
    return 1;
}

int zbMoveFile(const char* iSource, const char* iTarget)
{
    if (zbCopyFile(iSource, iTarget) != 0)
        return 1;
    if (::lstat64(iSource, &gStat) != 0)
        return 0;
    // A source that is now the target itself (the same name spelled
    // another way) must stay.
    struct stat64 target;
    if (::lstat64(iTarget, &target) == 0 && target.st_dev == gStat.st_dev &&
        target.st_ino == gStat.st_ino)
        return 0;
    return RemoveFound(iSource);
}

int zbMoveFile(const char* /*iCommand*/, char* const* iArgs)
{
    if (!HasArgs(iArgs, 2))
    {
        Record(EINVAL);
        Report(HasArgs(iArgs, 1) ? iArgs[0] : nullptr);
        return 1;
    }
    if (zbMoveFile(iArgs[0], iArgs[1]) == 0)
        return 0;
    Report(iArgs[0]);
    return 1;
}

int zbCompareFiles(const char* iFile1, const char* iFile2)
{
    struct stat64 st1, st2;
    if (!iFile1 || !iFile2 || ::stat64(iFile1, &st1) != 0 || ::stat64(iFile2, &st2) != 0)
        return -1;
    if (st1.st_size != st2.st_size)
        return -1;
    if (st1.st_size == 0)
        return 0;
    FILE* f1 = fopen64(iFile1, "rb");
    FILE* f2 = f1 ? fopen64(iFile2, "rb") : nullptr;
    if (!f1 || !f2)
    {
        if (f1)
            std::fclose(f1);
        return -1;
    }
    char block1[16384], block2[16384];
    int result = 0;
    for (;;)
    {
        size_t n1 = std::fread(block1, 1, sizeof block1, f1);
        size_t n2 = std::fread(block2, 1, sizeof block2, f2);
        if (std::ferror(f1) || std::ferror(f2) || n1 != n2 || std::memcmp(block1, block2, n1))
        {
            result = -1;
            break;
        }
        if (std::feof(f1))
        {
            // Both must be at their end.
            if (!std::feof(f2) && std::fgetc(f2) != EOF)
                result = -1;
            break;
        }
    }
    std::fclose(f1);
    std::fclose(f2);
    return result;
}

int zbCompareFiles(const char* /*iCommand*/, char* const* iArgs)
{
    if (!HasArgs(iArgs, 2))
        return -1;
    return zbCompareFiles(iArgs[0], iArgs[1]);
}

int zbCompareFileWithBuffer(const char* iName, const int& iMode, const char* iBuffer,
                            const unsigned int& iSize)
{
    struct stat64 st;
    if (!iBuffer || !iName || ::stat64(iName, &st) != 0)
        return -1;
    if (st.st_size == 0 && iSize == 0)
        return 0;
    FILE* file = fopen64(iName, (iMode & 8) ? "r" : "rb");
    if (!file)
        return -1;
    char block[16384];
    unsigned long long offset = 0;
    int result = 0;
    for (;;)
    {
        size_t n = std::fread(block, 1, sizeof block, file);
        if (std::ferror(file) || offset + n > iSize || std::memcmp(block, iBuffer + offset, n))
        {
            result = -1;
            break;
        }
        offset += n;
        if (n < sizeof block)
            break;
    }
    std::fclose(file);
    if (result == 0 && offset != iSize)
        result = -1;
    return result;
}

int zbMMap(const char* iName, const int& iMode, char*& oBuffer, unsigned int& oSize,
           const char iLast)
{
    oBuffer = nullptr;
    oSize = 0;
    errno = 0;
    FILE* file = iName ? fopen64(iName, (iMode & 8) ? "r" : "rb") : nullptr;
    if (!file)
        return Record(errno ? errno : EINVAL);
    struct stat64 st;
    if (::fstat64(fileno(file), &st) != 0)
    {
        Record(errno);
        std::fclose(file);
        return 1;
    }
    if (S_ISDIR(st.st_mode))
    {
        Record(EISDIR);
        std::fclose(file);
        return 1;
    }
    if (st.st_size == 0)
    {
        std::fclose(file);
        return 0;
    }
    // The size is counted in 32 bits, with room for the last character.
    if (static_cast<unsigned long long>(st.st_size) > 0xFFFFFFFDull)
    {
        Record(EFBIG);
        std::fclose(file);
        return 1;
    }
    size_t size = static_cast<size_t>(st.st_size);
    char* buffer = static_cast<char*>(std::calloc(size + 2, 1));
    if (!buffer)
    {
        Record(ENOMEM);
        std::fclose(file);
        return 1;
    }
    size_t n = std::fread(buffer, 1, size, file);
    if (std::ferror(file))
    {
        Record(errno);
        std::free(buffer);
        std::fclose(file);
        return 1;
    }
    if (iLast && (n == 0 || buffer[n - 1] != iLast))
        buffer[n++] = iLast;
    buffer[n] = 0;
    oBuffer = buffer;
    oSize = static_cast<unsigned int>(n);
    if (std::fclose(file) != 0)
        return Record(errno);
    return 0;
}

bool zbIsItAnAbsolutePath(const char* iPath)
{
    return iPath && iPath[0] == zbPathSeparator[0];
}

bool zbIsItASymbolicLink(const char* iPath)
{
    struct stat64 st;
    return iPath && ::lstat64(iPath, &st) == 0 && S_ISLNK(st.st_mode);
}
