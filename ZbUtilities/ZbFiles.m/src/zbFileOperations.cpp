#include "zbFileOperations.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "zbContext.h"
#include "zbDescriptor.h"
#include "zbErrorCodeManager.h"
#include "zbPathSeparators.h"
#include "zbReport.h"
#include "zbTraceManager.h"

namespace
{
// Shared by the removal, copy, move and existence tests (one thread only).
struct stat64 gStat;

// A buffer of iSize bytes for a whole file, released with free.  Memory
// fresh from the system costs a page fault per page on first touch, and a
// file read whole touches every page: a large buffer starts on a huge-page
// boundary and its whole huge pages are asked for as such, one fault (and
// one zeroing) per 2 MB instead of 512.  The tail beyond the last whole
// huge page stays in small pages, so the buffer uses no more memory than
// its size.  Where huge pages cannot be had the advice changes nothing.
char* zbNewFileBuffer(size_t iSize)
{
    const size_t huge = size_t(1) << 21;
    if (iSize < huge)
        return static_cast<char*>(std::malloc(iSize));
    void* buffer = nullptr;
    if (::posix_memalign(&buffer, huge, iSize) != 0)
        return nullptr;
    ::madvise(buffer, iSize & ~(huge - 1), MADV_HUGEPAGE);
    return static_cast<char*>(buffer);
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

// Copies iIn to iOut from their current offsets to the end of iIn: in the
// kernel when the file systems allow it, else through a buffer.  0 or errno,
// with oFailed set to iInName or iOutName.
int CopyData(int iIn, int iOut, long long iSize, const char*& oFailed, const char* iInName,
             const char* iOutName)
{
    oFailed = iOutName;
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
        size_t n = 0;
        if ((result = zbReadAll(iIn, block, blockSize, n)) != 0)
            oFailed = iInName;
        if (result != 0 || n == 0)
            break;
        if ((result = zbWriteAll(iOut, block, n)) != 0 || n < blockSize)
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
        return zbRecordErrno(EISDIR);
    int failed = S_ISLNK(gStat.st_mode) ? ::unlink(iName) : std::remove(iName);
    return failed ? zbRecordErrno(errno) : 0;
}
} // namespace

int zbAccessFile(const char* iName)
{
    if (!iName)
    {
        zbRecordErrno(EINVAL);
        return -1;
    }
    int result = ::stat64(iName, &gStat);
    if (result != 0)
        zbRecordErrno(errno);
    return result;
}

int zbRemoveFile(const char* iName, const int& /*iFlags*/)
{
    if (!iName)
        return zbRecordErrno(EINVAL);
    if (::lstat64(iName, &gStat) != 0)
        return 0;
    return RemoveFound(iName);
}

int zbRemoveFile(const char* /*iCommand*/, char* const* iArgs)
{
    if (!HasArgs(iArgs, 1))
    {
        zbRecordErrno(EINVAL);
        zbReportLastError(nullptr);
        return 1;
    }
    if (zbRemoveFile(iArgs[0], 0) == 0)
        return 0;
    zbReportLastError(iArgs[0]);
    return 1;
}

namespace
{
// The copy and the move; oFailed names the file a failure is about.
int Copy(const char* iSource, const char* iTarget, const char*& oFailed)
{
    oFailed = iSource;
    if (!iSource || !iTarget || !*iSource || !*iTarget)
        return zbRecordErrno(EINVAL);
    // The source is checked before anything happens to the target.
    struct stat64 source;
    if (::stat64(iSource, &source) != 0)
        return zbRecordErrno(errno);
    if (S_ISDIR(source.st_mode))
        return zbRecordErrno(EISDIR);
    if (!S_ISREG(source.st_mode))
        return zbRecordErrno(EINVAL);
    oFailed = iTarget;
    if (::lstat64(iTarget, &gStat) == 0 && S_ISDIR(gStat.st_mode))
        return zbRecordErrno(EISDIR);

    zbScopedFd in(zbOpenFd(iSource, O_RDONLY));
    if (!in.IsOpen())
    {
        oFailed = iSource;
        return zbRecordErrno(errno);
    }

    // The copy takes the target's place once complete, as if the target had
    // been removed first: a link there is replaced, not followed, and the
    // mode is a new file's.  Like any copy of many files it is not synced.
    zbFileReplacer out(iTarget, 0666, zbFileReplacer::Fresh);
    if (int error = out.Open())
        return zbRecordErrno(error);
    if (int error = CopyData(in.Get(), out.Fd(), static_cast<long long>(source.st_size), oFailed,
                             iSource, iTarget))
        return zbRecordErrno(error);
    if (int error = out.Commit())
        return zbRecordErrno(error);
    return 0;
}

int Move(const char* iSource, const char* iTarget, const char*& oFailed)
{
    if (Copy(iSource, iTarget, oFailed) != 0)
        return 1;
    oFailed = iSource;
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

// The argument-vector forms of the copy and the move: Args[0] to Args[1]; a
// failure is reported on the file it is about.
int OnArguments(char* const* iArgs, int (*iOperation)(const char*, const char*, const char*&))
{
    if (!HasArgs(iArgs, 2))
    {
        zbRecordErrno(EINVAL);
        return zbReportLastError(HasArgs(iArgs, 1) ? iArgs[0] : nullptr);
    }
    const char* failed = iArgs[0];
    if (iOperation(iArgs[0], iArgs[1], failed) == 0)
        return 0;
    return zbReportLastError(failed);
}
} // namespace

int zbCopyFile(const char* iSource, const char* iTarget)
{
    const char* failed;
    return Copy(iSource, iTarget, failed);
}

int zbCopyFileAt(int iSourceDirectory, const char* iSource, int iTargetDirectory,
                 const char* iTarget, const FileStat& iStat)
{
    if (!iSource || !iTarget || !*iSource || !*iTarget)
        return zbRecordErrno(EINVAL);
    // Opened without waiting (something else than a file may have taken the
    // name since iStat was read), then checked.
    zbScopedFd in(zbOpenFdAt(iSourceDirectory, iSource, O_RDONLY | O_NONBLOCK));
    if (!in.IsOpen())
        return zbRecordErrno(errno);
    struct stat64 source;
    if (::fstat64(in.Get(), &source) != 0)
        return zbRecordErrno(errno);
    if (!S_ISREG(source.st_mode))
        return zbRecordErrno(S_ISDIR(source.st_mode) ? EISDIR : EINVAL);
    zbFileReplacer out(iTargetDirectory, iTarget, static_cast<mode_t>(iStat._Mode & 07777));
    if (int error = out.Open())
        return zbRecordErrno(error);
    const char* failed;
    if (int error = CopyData(in.Get(), out.Fd(), static_cast<long long>(source.st_size), failed,
                             iSource, iTarget))
        return zbRecordErrno(error);
    const struct timespec times[2] = {{static_cast<time_t>(iStat._AccessTime), 0},
                                      {static_cast<time_t>(iStat._ModificationTime), 0}};
    if (::futimens(out.Fd(), times) != 0)
        return zbRecordErrno(errno);
    if (int error = out.Commit())
        return zbRecordErrno(error);
    return 0;
}

int zbCopyFile(const char* /*iCommand*/, char* const* iArgs)
{
    return OnArguments(iArgs, Copy);
}

int zbMoveFile(const char* iSource, const char* iTarget)
{
    const char* failed;
    return Move(iSource, iTarget, failed);
}

int zbMoveFile(const char* /*iCommand*/, char* const* iArgs)
{
    return OnArguments(iArgs, Move);
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
    FILE* f1 = zbOpenStream(iFile1, "rb");
    FILE* f2 = f1 ? zbOpenStream(iFile2, "rb") : nullptr;
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
    FILE* file = zbOpenStream(iName, (iMode & 8) ? "r" : "rb");
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
    zbScopedFd file(iName ? zbOpenFd(iName, O_RDONLY) : -1);
    if (!file.IsOpen())
        return zbRecordErrno(errno ? errno : EINVAL);
    struct stat64 st;
    if (::fstat64(file.Get(), &st) != 0)
        return zbRecordErrno(errno);
    if (S_ISDIR(st.st_mode))
        return zbRecordErrno(EISDIR);
    if (st.st_size == 0)
        return 0;
    // The size is counted in 32 bits, with room for the last character.
    if (static_cast<unsigned long long>(st.st_size) > 0xFFFFFFFDull)
        return zbRecordErrno(EFBIG);
    size_t size = static_cast<size_t>(st.st_size);
    char* buffer = zbNewFileBuffer(size + 2);
    if (!buffer)
        return zbRecordErrno(ENOMEM);
    size_t n = 0;
    int error = zbReadAll(file.Get(), buffer, size, n);
    if (!error && (iMode & 8) && std::memchr(buffer, 0, n))
        error = zbErrnoNulByte;
    // A close that fails may report a read that went wrong.  On any
    // failure nothing is handed out, and the buffer goes.
    if (!error)
        error = file.Close();
    if (error)
    {
        std::free(buffer);
        return zbRecordErrno(error);
    }
    if (iLast && (n == 0 || buffer[n - 1] != iLast))
        buffer[n++] = iLast;
    buffer[n] = 0;
    oBuffer = buffer;
    oSize = static_cast<unsigned int>(n);
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
